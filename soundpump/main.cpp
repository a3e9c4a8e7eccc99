// SoundPump: the sound server program that the game starts at launch.
#include "soundpump/sound_server.h"

int main(int argc, char** argv) { return soundpump::runSoundPump(soundpump::runOptionsFrom(argc, argv)); }

// SoundPump: the sound server program that the game starts at launch.
#include "soundpump/sound_server.h"

int main() { return soundpump::runSoundPump(); }

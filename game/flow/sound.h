// The sound front end: KTLibPlayer's sound table, two playback channels
// (0 music, 1 effects) and one command ring per channel, and cGame's sound
// routines. Game code queues commands (playSound, the stop routines); the
// run loop services every ring once a pass (KTLibPlayer::update), which
// drives the media players. Everything runs on the game thread.
//
// Invariants: a ring holds at most 7 pending records (a full ring drops its
// oldest); nothing is queued, loaded or serviced before
// allocateChannelTables; players made ahead of time are never closed here,
// players made on demand are closed when their channel is released.
#pragma once

#include <string>

#include "runtime/array.h"

class java_io_InputStream;
class String;

namespace game {

constexpr jint kRingRecords = 7;
constexpr jint kRecordInts = 5;
constexpr jint kSoundIds = 37;

// How players are made: Manager.createPlayer by default; tests install a
// recording fake. Answers a player object (Player interface) or null.
using PlayerMaker = Object* (*)(java_io_InputStream* stream, String* type);
void setPlayerMaker(PlayerMaker maker);

namespace KTLibPlayer {
void allocateChannelTables(jint soundCount);
void loadSound(ByteArray* data, jint typeIndex, jint id, bool createNow);
bool isSoundLoaded(jint id);
void request(jint channel, jint command, jint id, jint a, jint b, jint c);
void play(jint channel, jint id, jint c, jint b, jint a);
void stop(jint channel);
void requestCommand(jint channel, jint command);
// Copies the oldest record of the channel into out[0..4] and the pending
// count before the dequeue into out[5].
void dequeue(jint channel, IntArray* out);
void update();
void service();
void stopAllChannels();
bool isChannelActive(jint channel);
jint getSoundState(jint id);
jint getChannelSound(jint channel);
void createPlayer(jint channel, jint id, jint a);
void releaseChannel(jint channel);
void playOnChannel(jint channel, jint id, jint a, jint b, jint c);
void stopChannel(jint channel);
void pauseChannel(jint channel);
void resumeChannel(jint channel);
}  // namespace KTLibPlayer

// cGame's sound routines.
void playSound(jint id);
void stopAllSounds();
void stopAllSoundsAndDisable();
bool isMusicPlaying();
bool isMusicChannelActive();
void vibrate(jint ms);
// Queue a stop on a channel (command 4, arguments -1).
void queueStop(jint channel);
void stopSound(jint id);
void stopMusic(bool keep);
// The last trace line playSound printed (for diagnostics and tests).
const std::string& lastSoundTrace();

}  // namespace game

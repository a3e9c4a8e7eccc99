// The byte-array half of com_samsung_util_AudioClip (the class itself, its
// location constructor, pause/resume/stop and the player calls live in
// javalib/lang.h): the (type, data, offset, length) constructor, which hands
// a private copy of the bytes to the media manager, and play.
//
// javax_microedition_media_Manager::createPlayer and the Player's
// setLoopCount belong to the media layer, which registers them with
// setAudioClipPlayerHooks; starting goes through the clip's own player calls
// (com_samsung_util_AudioClip::setPlayerCalls). Without the hooks a clip has
// no player (logged).
#pragma once

#include <functional>

#include "javalib/lang.h"
#include "runtime/array.h"

class String;
class java_io_InputStream;

namespace bramble::io {

// Constructor body (int type, byte[] data, int offset, int length): type 1,
// 2 or 3, else java_lang_IllegalArgumentException with pool entry 203 and
// the type; data[offset, offset + length) is copied (arraycopy's exceptions
// for a range outside the array); the player is made from a byte-array
// stream over the copy with content type pool entry 200.
void initAudioClip(com_samsung_util_AudioClip* clip, jint type, ByteArray* data, jint offset, jint length);
// new AudioClip(type, data, offset, length).
com_samsung_util_AudioClip* newAudioClip(jint type, ByteArray* data, jint offset, jint length);

// play(loop, volume): loop 0..255 (pool entry 204 otherwise), volume 0..5
// (entry 205); a loop above 1 sets the player's loop count; then the player
// starts. The volume is checked, not applied.
void playAudioClip(com_samsung_util_AudioClip* clip, jint loop, jint volume);

struct AudioClipPlayerHooks {
    // javax_microedition_media_Manager::createPlayer(stream, contentType).
    std::function<Object*(java_io_InputStream* stream, String* contentType)> createPlayer;
    // Player.setLoopCount(count).
    std::function<void(Object* player, jint count)> setLoopCount;
};
void setAudioClipPlayerHooks(AudioClipPlayerHooks hooks);

}  // namespace bramble::io

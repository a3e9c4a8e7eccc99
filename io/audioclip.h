// com_samsung_util_AudioClip: a sound clip over a player made by the media
// manager from a private copy of the clip's bytes.
//
// The player side (javax_microedition_media_Manager::createPlayer, the
// Player's setLoopCount and start) belongs to the media layer, which
// registers it with setAudioClipPlayerHooks; without it a clip has no
// player and play() does nothing (logged).
#pragma once

#include <functional>

#include "runtime/array.h"
#include "runtime/object.h"

class String;
class java_io_InputStream;

class com_samsung_util_AudioClip : public Object {
public:
    // type 1, 2 or 3, else java_lang_IllegalArgumentException with pool
    // entry 203 and the type; data[offset, offset + length) must lie in the
    // array (java_lang_ArrayIndexOutOfBoundsException otherwise).
    com_samsung_util_AudioClip(jint type, ByteArray* data, jint offset, jint length);

    // loop 0..255 (pool entry 204 otherwise), volume 0..5 (entry 205); a
    // loop above 1 sets the player's loop count, then the player starts.
    void play(jint loop, jint volume);

    Object* m_player;  // a javax_microedition_media_Player
};

namespace bramble::io {
struct AudioClipPlayerHooks {
    // javax_microedition_media_Manager::createPlayer(stream, contentType).
    std::function<Object*(java_io_InputStream* stream, String* contentType)> createPlayer;
    // Player.setLoopCount(count) and Player.start().
    std::function<void(Object* player, jint count)> setLoopCount;
    std::function<void(Object* player)> start;
};
void setAudioClipPlayerHooks(AudioClipPlayerHooks hooks);
}  // namespace bramble::io

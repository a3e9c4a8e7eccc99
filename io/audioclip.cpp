// AudioClip's byte-array constructor and play over the media manager.
#include "io/audioclip.h"

#include <mutex>
#include <string>

#include "javalib/inputstreams.h"
#include "javalib/io_support.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/system.h"

namespace bramble::io {

namespace {
std::mutex g_hookLock;
AudioClipPlayerHooks g_hooks;

AudioClipPlayerHooks hooks() {
    std::lock_guard<std::mutex> lock(g_hookLock);
    return g_hooks;
}

// IllegalArgumentException: pool entry `entry` followed by the value.
void throwIllegal(jint entry, jint value) {
    String* prefix = StaticClass::getStringConstant(entry);
    std::u16string message = prefix ? prefix->toUtf16() : std::u16string();
    for (char c : std::to_string(value)) message.push_back(static_cast<char16_t>(c));
    rt::throwNew(cid::java_lang_IllegalArgumentException, String::fromUtf16(message));
}
}  // namespace

void setAudioClipPlayerHooks(AudioClipPlayerHooks h) {
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_hooks = std::move(h);
}

void initAudioClip(com_samsung_util_AudioClip* clip, jint type, ByteArray* data, jint offset, jint length) {
    MethodScope method("com_samsung_util_AudioClip::<init>");
    if (!clip) {
        rt::logNullPointer();
        return;
    }
    if (type < 1 || type > 3) {
        throwIllegal(203, type);
        return;
    }
    ByteArray* copy = newByteArray(length < 0 ? 0 : length);
    java_lang_System::arraycopy(data, offset, copy, 0, length);
    if (javaio::pending() || !data) return;  // a null array is logged by arraycopy
    auto* stream = newObject<java_io_ByteArrayInputStream>(copy);
    const AudioClipPlayerHooks h = hooks();
    if (!h.createPlayer) {
        logPrintf("com_samsung_util_AudioClip: no media players available");
        return;
    }
    clip->m_player = h.createPlayer(stream, StaticClass::getStringConstant(200));
}

com_samsung_util_AudioClip* newAudioClip(jint type, ByteArray* data, jint offset, jint length) {
    auto* clip = newObject<com_samsung_util_AudioClip>();
    initAudioClip(clip, type, data, offset, length);
    return clip;
}

void playAudioClip(com_samsung_util_AudioClip* clip, jint loop, jint volume) {
    if (!clip) {
        rt::logNullPointer();
        return;
    }
    if (loop < 0 || loop > 255) {
        throwIllegal(204, loop);
        return;
    }
    if (volume < 0 || volume > 5) {
        throwIllegal(205, volume);
        return;
    }
    if (!clip->m_player) {
        rt::logNullPointer();
        return;
    }
    if (loop > 1) {
        const AudioClipPlayerHooks h = hooks();
        if (h.setLoopCount) h.setLoopCount(clip->m_player, loop);
        if (javaio::pending()) return;
    }
    clip->resume();  // the player's start
}

}  // namespace bramble::io

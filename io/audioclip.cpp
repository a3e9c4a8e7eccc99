// AudioClip over the media manager's player.
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

namespace {
std::mutex g_hookLock;
bramble::io::AudioClipPlayerHooks g_hooks;

bramble::io::AudioClipPlayerHooks hooks() {
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

namespace bramble::io {
void setAudioClipPlayerHooks(AudioClipPlayerHooks h) {
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_hooks = std::move(h);
}
}  // namespace bramble::io

com_samsung_util_AudioClip::com_samsung_util_AudioClip(jint type, ByteArray* data, jint offset, jint length)
    : Object(cid::com_samsung_util_AudioClip) {
    m_player = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_player});
    if (type < 1 || type > 3) {
        throwIllegal(203, type);
        return;
    }
    ByteArray* copy = newByteArray(length < 0 ? 0 : length);
    java_lang_System::arraycopy(data, offset, copy, 0, length);
    if (javaio::pending()) return;
    if (!data) return;  // logged by arraycopy
    auto* stream = newObject<java_io_ByteArrayInputStream>(copy);
    const auto h = hooks();
    if (!h.createPlayer) {
        logPrintf("com_samsung_util_AudioClip: no media players available");
        return;
    }
    m_player = h.createPlayer(stream, StaticClass::getStringConstant(200));
}

void com_samsung_util_AudioClip::play(jint loop, jint volume) {
    if (loop < 0 || loop > 255) {
        throwIllegal(204, loop);
        return;
    }
    if (volume < 0 || volume > 5) {
        throwIllegal(205, volume);
        return;
    }
    if (!m_player) {
        rt::logNullPointer();
        return;
    }
    const auto h = hooks();
    if (loop > 1 && h.setLoopCount) {
        h.setLoopCount(m_player, loop);
        if (javaio::pending()) return;
    }
    if (h.start) h.start(m_player);
}

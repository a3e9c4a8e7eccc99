// The media manager's natives and the audio clip's hooks (see manager.h).
#include "media/manager.h"

#include "io/audioclip.h"
#include "javalib/inputstreams.h"
#include "javalib/lang.h"
#include "media/dummy_player.h"
#include "media/ogg_player.h"
#include "media/soundpump_player.h"
#include "media/wave_player.h"
#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/string.h"

#include <cstring>
#include <new>
#include <vector>

namespace media {

namespace {

// Latin-1 lower case of one unit (A-Z and 0xC0-0xDE, as the runtime folds).
jchar fold(jchar c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE) ? static_cast<jchar>(c + 32) : c; }

bool startsWith(const std::uint8_t* bytes, const char* tag) { return std::memcmp(bytes, tag, 4) == 0; }

void startPlayer(Object* player) {
    if (auto* p = interfaceOf<javax_microedition_media_Player>(player, kPlayerId)) p->start();
}

void stopPlayer(Object* player) {
    if (auto* p = interfaceOf<javax_microedition_media_Player>(player, kPlayerId)) p->stop();
}

}  // namespace

bool nameIs(String* name, const char* text) {
    if (!name || !text) return false;
    const std::size_t n = std::strlen(text);
    if (static_cast<std::size_t>(name->length()) != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const jchar unit = name->charAt(static_cast<jint>(i));
        if (unit > 0xFF || fold(unit) != fold(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

PlayerKind choosePlayer(String* type, const std::uint8_t* bytes, std::size_t length) {
    if (type) {
        if (nameIs(type, "audio/x-wav")) return PlayerKind::Wave;
        if (nameIs(type, "audio/ogg")) return PlayerKind::Ogg;
        if (nameIs(type, "audio/midi")) return PlayerKind::Midi;
        if (nameIs(type, "audio/amr")) return PlayerKind::Amr;
        return PlayerKind::Dummy;
    }
    if (!bytes || length < 4) return PlayerKind::Dummy;
    if (startsWith(bytes, "RIFF")) return PlayerKind::Wave;
    if (startsWith(bytes, "OggS")) return PlayerKind::Ogg;
    if (startsWith(bytes, "MThd")) return PlayerKind::Midi;
    return PlayerKind::Dummy;
}

Object* makePlayer(PlayerKind kind, const std::uint8_t* bytes, std::size_t length) {
    switch (kind) {
    case PlayerKind::Wave: return newObject<SoundPlayerWAVE>(bytes, length);
    case PlayerKind::Ogg: return newObject<SoundPlayerOGG>(bytes, length);
    case PlayerKind::Midi: return newObject<SoundPumpPlayer>(bytes, length, "audio/midi");
    case PlayerKind::Amr: return newObject<SoundPumpPlayer>(bytes, length, "audio/amr");
    case PlayerKind::Dummy: break;
    }
    return newObject<DummyPlayer>();
}

void registerMediaHooks() {
    bramble::io::AudioClipPlayerHooks hooks;
    hooks.createPlayer = [](java_io_InputStream* stream, String* type) -> Object* {
        return javax_microedition_media_Manager::createPlayer(stream, type);
    };
    hooks.setLoopCount = [](Object* player, jint count) {
        if (auto* p = interfaceOf<javax_microedition_media_Player>(player, kPlayerId))
            p->setLoopCount(count);
        else
            rt::logNullPointer();
    };
    bramble::io::setAudioClipPlayerHooks(std::move(hooks));
    static const com_samsung_util_AudioClip::PlayerCalls calls = {&startPlayer, &stopPlayer};
    com_samsung_util_AudioClip::setPlayerCalls(&calls);
}

}  // namespace media

Object* javax_microedition_media_Manager::createPlayer(java_io_InputStream* stream, String* type) {
    MethodScope method("javax_microedition_media_Manager::createPlayer");
    if (!stream) return nullptr;
    const jint n = stream->available();
    if (Application::pendingException()) return nullptr;
    if (n <= 0) return newObject<DummyPlayer>();

    // The stream's bytes, read into native memory that is released on every
    // way out; players copy what they keep.
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        logPrintf("javax_microedition_media_Manager::createPlayer(): cannot hold %d bytes", n);
        return nullptr;
    }
    ByteArray* window = ByteArray::wrapExternal(reinterpret_cast<jbyte*>(bytes.data()), n);
    jint got = 0;
    while (got < n) {
        const jint r = stream->read(window, got, n - got);
        if (Application::pendingException()) return nullptr;
        if (r <= 0) break;
        got += r > n - got ? n - got : r;
    }
    const auto kind = media::choosePlayer(type, bytes.data(), static_cast<std::size_t>(got));
    return media::makePlayer(kind, bytes.data(), static_cast<std::size_t>(got));
}

ObjectArray* javax_microedition_media_Manager::getSupportedContentTypes(String*) {
    static const char* const kTypes[] = {"audio/x-wav", "audio/ogg", "audio/midi", "audio/amr"};
    ObjectArray* types = newObjectArray(cid::String, 4);
    for (jint i = 0; i < 4; ++i) ObjectArray::set(types, i, String::fromLatin1(kTypes[i]));
    return types;
}

ObjectArray* javax_microedition_media_Manager::getSupportedProtocols(String*) {
    ObjectArray* protocols = newObjectArray(cid::String, 1);
    ObjectArray::set(protocols, 0, String::fromLatin1("file"));
    return protocols;
}

// javax_microedition_media_Manager's natives: player creation from a stream
// and a content type, and the supported types and protocols; and the hooks
// that connect the audio clip class to the players.
//
// Player selection, with a type: "audio/x-wav" WAVE, "audio/ogg" Ogg
// Vorbis, "audio/midi" and "audio/amr" the sound server, anything else the
// silent player (the bytes are not looked at). Without a type the first
// four bytes decide: "RIFF" WAVE, "OggS" Ogg Vorbis, "MThd" the sound server
// as MIDI, anything else (or fewer bytes) the silent player. Types are
// compared whole, without regard to case. A null stream gives null, an
// empty one the silent player.
#pragma once

#include "media/player.h"

#include <cstddef>
#include <cstdint>

class java_io_InputStream;
class ObjectArray;
class String;

namespace media {

enum class PlayerKind { Dummy, Wave, Ogg, Midi, Amr };

// The selection rule over native data: `type` may be null (no type).
PlayerKind choosePlayer(String* type, const std::uint8_t* bytes, std::size_t length);

// A new player of the kind over the bytes (the player copies or writes them).
Object* makePlayer(PlayerKind kind, const std::uint8_t* bytes, std::size_t length);

// Installs the audio clip's player hooks (creation, loop count, start and
// stop through the Player interface). Call once at start, before clips exist.
void registerMediaHooks();

}  // namespace media

class javax_microedition_media_Manager {
public:
    // The player for the stream's bytes (its available() bytes, read now),
    // or null for a null stream. An exception of the stream passes through
    // (null answered).
    static Object* createPlayer(java_io_InputStream* stream, String* type);
    // {"audio/x-wav", "audio/ogg", "audio/midi", "audio/amr"}.
    static ObjectArray* getSupportedContentTypes(String* protocol);
    // {"file"}.
    static ObjectArray* getSupportedProtocols(String* contentType);
};

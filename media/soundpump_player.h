// SoundPumpPlayer: the player of MIDI and AMR sounds, which the sound server
// (the program SoundPump) plays. The sound's bytes go to the temporary file
// "\temp\sound<id + 1>.<ext>"; every command is a synchronous message to the
// server's window "RavitSoundPump", found anew for each message: copy-data
// records for open, set position and loop count, user messages (player id
// in wParam, sub-command in lParam) for the rest. The answer of a message
// is its result; only negative answers are failures.
//
// Invariants:
//  - Player ids come from one process-wide counter and are never reused.
//    The server holds 35 sounds (ids 0-34); a player whose id does not fit,
//    or whose file could not be written, sends nothing at all and stays
//    silent, like a player without a server.
//  - Without a server window every message answers 0 (taken as success);
//    a server that does not answer in time answers 0 too (logged).
//  - A message is sent inside a BlockingRegion: a Java thread waiting for
//    the server never holds up a collection.
//  - A closed player sends nothing more; closing deletes its file.
#pragma once

#include "media/player.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace media {

// The server's window: class and title.
inline constexpr const char* kSoundServerWindow = "RavitSoundPump";
// Sounds the server holds (player ids 0-34).
inline constexpr std::uint32_t kSoundServerSlots = 35;

// The copy-data record: command (u32), argument (i32), then the path as
// UTF-16 with its terminator in 200 bytes; little-endian.
inline constexpr std::size_t kCommandRecordBytes = 208;
inline constexpr std::size_t kCommandPathUnits = 100;
inline constexpr std::uint32_t kCmdSetPosition = 7;
inline constexpr std::uint32_t kCmdOpen = 13;
inline constexpr std::uint32_t kCmdSetLoopCount = 14;

// User-message sub-commands (lParam).
inline constexpr std::int64_t kMsgPlay = 2;
inline constexpr std::int64_t kMsgPause = 3;
inline constexpr std::int64_t kMsgStop = 4;
inline constexpr std::int64_t kMsgClose = 6;
inline constexpr std::int64_t kMsgGetPosition = 8;
inline constexpr std::int64_t kMsgGetState = 9;
inline constexpr std::int64_t kMsgGetDuration = 10;
inline constexpr std::int64_t kMsgGetVolume = 11;
inline constexpr std::int64_t kMsgSetVolume = 12;  // wParam: the volume, not the player id

// Volume value of a muted sound (reads back as level -100).
inline constexpr jint kMutedVolume = -10000;

// How long one message may wait for the server's answer.
inline constexpr std::chrono::milliseconds kSoundServerTimeout{10000};

// The record for a command; a path longer than 99 units is cut.
std::vector<std::uint8_t> encodeCommand(std::uint32_t command, std::int32_t argument, std::u16string_view path);

// The extension for a content type's subtype (the text after its first '/'):
// "x-wav" wav, "midi" mid, "amr" amr, "mpeg" mp3, "aac" aac, other "NULL".
const char* extensionForType(std::string_view contentType);

// Waits until the sound server's window exists, at most `timeout`: the
// program calls it after starting the server, so that the first sound does
// not go to a server that is not listening yet. True when it is there.
bool waitForSoundServer(std::chrono::milliseconds timeout);

}  // namespace media

class SoundPumpPlayer : public Object,
                        public javax_microedition_media_Player,
                        public javax_microedition_media_control_VolumeControl {
public:
    // Takes the next player id, writes the file and asks the server to open it.
    SoundPumpPlayer(const std::uint8_t* bytes, std::size_t length, const char* contentType);

    void finalize() override;  // closes, then frees the native side
    void* getInterface(jint interfaceId) override;

    // Player
    Object* getControl(String* name) override;
    ObjectArray* getControls() override { return nullptr; }
    void realize() override;
    void prefetch() override;
    void start() override;
    void stop() override;
    void deallocate() override {}
    void close() override;
    jlong setMediaTime(jlong now) override;
    jlong getMediaTime() override;
    jint getState() override;  // the server's state
    jlong getDuration() override;
    String* getContentType() override;
    void setLoopCount(jint count) override;

    // VolumeControl
    jint getLevel() override;
    jboolean isMuted() override;
    jint setLevel(jint level) override;
    void setMute(jboolean mute) override;

    // Reached by no interface: pause (state 500) and the transition test.
    void pause();
    static bool canChangeState(jint from, jint to);

    // The state kept here (getState asks the server instead).
    jint localState() const;
    std::uint32_t playerId() const;
    std::string filePath() const;  // the device path of the sound's file
    bool silent() const;           // sends nothing (id out of range, file not written)

    // For tests: the id the next player takes.
    static void setNextIdForTesting(std::uint32_t id);

private:
    struct Core;
    jint send(std::int64_t subCommand, bool finalizing = false);
    jint sendVolume(jint volume);
    jint sendRecord(std::uint32_t command, std::int32_t argument, std::uint64_t dwData);
    void closePlayer(bool finalizing);

    Core* m_core;
};

// The sound server's table of 35 playback slots and its message protocol:
// the game's copy-data commands (open, set loop count, set position) and user
// messages (play, pause, stop, play again, close, state), each answered as
// the game expects, and the end-of-stream handling that plays loops.
// Invariants: one thread (the server's loop) calls every method, so a graph
// is never used by two threads; ids of 35 or more and commands for an empty
// or closed slot answer -1 and change nothing; a record is checked for its
// size and its path's terminator before the path is read.
#pragma once

#include "platform/audio/media_graph.h"
#include "platform/ipc/window_registry.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace soundpump {

inline constexpr const char* kServerWindow = "RavitSoundPump";  // class and title
inline constexpr const char* kGameClass = "TindrellClass";
inline constexpr const char* kGameTitle = "Tindrell - Bramble Hollow Saga";

inline constexpr int kSlots = 35;

// The copy-data record: command (u32), argument (i32), path (100 UTF-16 units).
inline constexpr std::size_t kRecordSize = 208;
inline constexpr std::size_t kPathUnits = 100;
inline constexpr std::uint32_t kCmdSetPosition = 7;
inline constexpr std::uint32_t kCmdOpen = 13;
inline constexpr std::uint32_t kCmdSetLoopCount = 14;

// Sub-commands of the user message (in lParam).
inline constexpr std::int64_t kMsgPlay = 2;
inline constexpr std::int64_t kMsgPause = 3;
inline constexpr std::int64_t kMsgStop = 4;
inline constexpr std::int64_t kMsgRun = 5;
inline constexpr std::int64_t kMsgClose = 6;
inline constexpr std::int64_t kMsgGetPosition = 8;
inline constexpr std::int64_t kMsgGetState = 9;
inline constexpr std::int64_t kMsgGetDuration = 10;
inline constexpr std::int64_t kMsgGetVolume = 11;
inline constexpr std::int64_t kMsgSetVolume = 12;

// Slot states as the game sees them.
inline constexpr int kStateClosed = 0;
inline constexpr int kStateOpened = 300;
inline constexpr int kStateRunning = 400;
inline constexpr int kStatePaused = 500;
inline constexpr int kStateStopped = 600;

// Builds a copy-data record (the game's side of the format).
std::vector<std::uint8_t> makeRecord(std::uint32_t command, std::int32_t argument, const std::u16string& path);

struct ServerOptions {
    platform::media::GraphOptions graph;
    // Device path to host path; nothing when the path is refused.
    std::function<std::optional<std::string>(const std::string&)> mapPath;
};

// The options from the environment: SOUNDPUMP_SINK, BRAMBLE_SOUNDFONT and
// the device path mapping.
ServerOptions optionsFromEnvironment();

class SoundServer {
public:
    explicit SoundServer(ServerOptions options);
    ~SoundServer();  // closes every graph
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Answers one message of the game.
    std::int64_t handle(const platform::ipc::Message& message);

    // Called from any thread when a graph has events waiting; the owner then
    // calls serviceEvents() on the server's thread.
    void setWakeup(std::function<void()> wakeup);
    // Handles the graphs' ends of stream (loops) and errors.
    void serviceEvents();

    bool closeRequested() const { return closeRequested_; }
    void closeAll();

    // For tests: the stored state and whether a loop is running.
    int storedState(int id) const;
    bool looping(int id) const;

private:
    enum class Use { Empty, Open, Closed };
    struct Slot {
        Use use = Use::Empty;
        std::unique_ptr<platform::media::MediaGraph> graph;  // null after a failed open
        int state = kStateClosed;
        int loopsLeft = 0;  // restarts still to come while looping
        bool looping = false;
        // Paused by a set-position since the last play, pause or stop: a
        // paused graph then reads as paused, not as stopped.
        bool seekPaused = false;
        std::string path;
    };

    std::int64_t copyData(const platform::ipc::Message& m);
    std::int64_t user(const platform::ipc::Message& m);
    Slot* openSlot(std::uint64_t id, const char* what);
    std::int64_t open(std::uint64_t id, const std::uint8_t* record);
    std::int64_t setLoopCount(std::uint64_t id, std::uint64_t count);
    std::int64_t setPosition(std::uint64_t id, std::int32_t argument);
    std::int64_t state(Slot& s);
    void release(Slot& s);

    ServerOptions options_;
    std::array<Slot, kSlots> slots_;
    std::function<void()> wakeup_;
    bool closeRequested_ = false;
};

// How the program watches the game.
struct RunOptions {
    int gameProcessId = 0;  // the game that started the server (0: its parent only)
    // The game's window must appear within this time after the start.
    std::chrono::milliseconds gameWindowWait{30000};
};

// The run options from the command line ("--game-pid <id>") and the
// environment (SOUNDPUMP_GAME_WAIT_MS); anything else on the command line
// is logged and left alone.
RunOptions runOptionsFrom(int argc, const char* const* argv);

// The program: registers the hidden window, serves messages and graph events
// on one thread and ends when asked to close, when the game's window is
// gone or never appeared, or when the game or the process that started it
// has ended. Answers the exit code.
int runSoundPump(const RunOptions& run = RunOptions());

}  // namespace soundpump

// SoundPump end to end: the test plays the game (its window registered under
// the game's class and title), starts the program as the game does and talks
// to it only by messages: the command sequence with the states read back, a
// loop count of 3 playing three times, refusals, a second server leaving at
// once, and the server's end on close, when the game's window goes and when
// the process that started it dies.
#include "platform/ipc/window_registry.h"
#include "soundpump/sound_server.h"
#include "tests/platform/audio/sound_fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace soundpump;
using namespace platform::ipc;
using namespace std::chrono_literals;

namespace {

constexpr std::size_t kPlayBytes = 4000;  // one play of the WAVE fixture at the sink's format

// The server program as a child process.
class ServerProcess {
public:
    // Starts SoundPump; `sinkFd` >= 0 makes the server write what it plays
    // to that descriptor (inherited as descriptor 3).
    explicit ServerProcess(int sinkFd = -1, std::vector<std::string> arguments = {},
                           std::vector<std::string> environment = {}) {
        std::vector<std::string> env = std::move(environment);
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "SOUNDPUMP_SINK=", 15) != 0) env.emplace_back(*e);
        env.emplace_back(sinkFd >= 0 ? "SOUNDPUMP_SINK=audio/x-raw,format=S16LE,channels=1,rate=8000 ! fdsink fd=3"
                                     : "SOUNDPUMP_SINK=fakesink");
        std::vector<char*> envp;
        for (std::string& s : env) envp.push_back(s.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (sinkFd >= 0) posix_spawn_file_actions_adddup2(&actions, sinkFd, 3);
        arguments.insert(arguments.begin(), "SoundPump.bin");
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, SOUNDPUMP_BIN, &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ServerProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    // Whether the server still runs, and how it ended if not (for failure reports).
    std::string describe() {
        if (auto code = waitExit(0ms)) return "the server ended with " + std::to_string(*code);
        return "the server runs";
    }
    // The exit code, or nothing when it still runs after `timeout`.
    std::optional<int> waitExit(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            int status = 0;
            pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
            std::this_thread::sleep_for(5ms);
        }
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
};

Window waitForServer() { return waitForWindow(kServerWindow, kServerWindow, 60s); }  // hang guard

// A busy machine may keep the server's first open (the sound font) long.
std::int64_t send(const Message& m) { return sendMessage(kServerWindow, kServerWindow, m, 20s).result; }
std::int64_t user(std::uint64_t id, std::int64_t command) { return send(Message::user(id, command)); }
std::int64_t open(std::uint64_t id, const std::u16string& path) {
    return send(Message::copyData(id, 1, makeRecord(kCmdOpen, 0, path)));
}

class SoundPumpProcess : public testing::Test {
protected:
    void SetUp() override {
        const std::string root = std::getenv("BRAMBLE_DEVICE_ROOT");
        std::filesystem::create_directories(root + "/Temp");
        fixtures::writeFile(root + "/Temp/Sound1.wav", fixtures::wav(8000, 2000));
        fixtures::writeFile(root + "/Temp/sound2.mid", fixtures::midi(24));
        game_ = RegisteredWindow::create(kGameClass, kGameTitle, [](const Message&) { return 0; });
        ASSERT_TRUE(game_);
    }
    std::unique_ptr<RegisteredWindow> game_;
};

}  // namespace

TEST_F(SoundPumpProcess, PlaysAsTheGameAsksAndEndsOnClose) {
    ServerProcess server;
    ASSERT_TRUE(waitForServer()) << server.describe();

    EXPECT_EQ(open(0, u"\\temp\\sound1.wav"), 0);
    EXPECT_EQ(open(1, u"\\temp\\sound2.mid"), 0);
    EXPECT_EQ(send(Message::copyData(0, 1, makeRecord(kCmdSetPosition, 0, u""))), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStatePaused);  // the seek leaves it paused
    EXPECT_EQ(user(0, kMsgPlay), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStateRunning);
    EXPECT_EQ(user(0, kMsgPause), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStatePaused);
    EXPECT_EQ(user(0, kMsgStop), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStateStopped);
    EXPECT_EQ(user(1, kMsgPlay), 0);
    EXPECT_EQ(user(1, kMsgGetState), kStateRunning);
    EXPECT_EQ(user(0, kMsgClose), 0);
    EXPECT_EQ(user(0, kMsgGetState), -1);

    // Refusals come back as answers; the server goes on.
    EXPECT_EQ(user(35, kMsgPlay), -1);
    EXPECT_EQ(send(Message::copyData(2, 1, std::vector<std::uint8_t>(100))), -1);
    EXPECT_EQ(open(2, u"\\temp\\missing.mid"), -1);
    EXPECT_EQ(user(1, kMsgGetState), kStateRunning);

    // A second server leaves at once and the first one stays.
    ServerProcess second;
    EXPECT_EQ(second.waitExit(20s), 0);
    EXPECT_EQ(user(1, kMsgGetState), kStateRunning);

    EXPECT_TRUE(sendMessage(kServerWindow, kServerWindow, Message::close()).delivered());
    EXPECT_EQ(server.waitExit(20s), 1);
    EXPECT_FALSE(findWindow(kServerWindow, kServerWindow));
}

TEST_F(SoundPumpProcess, LoopCountOfThreePlaysThreeTimes) {
    const std::string out = ::testing::TempDir() + "soundpump-loop-" + std::to_string(::getpid()) + ".raw";
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    ASSERT_GE(fd, 0);
    ServerProcess server(fd);
    ASSERT_TRUE(waitForServer()) << server.describe();
    ASSERT_EQ(open(4, u"\\temp\\sound1.wav"), 0);
    EXPECT_EQ(send(Message::copyData(4, 3, makeRecord(kCmdSetLoopCount, 0, u""))), 0);
    EXPECT_EQ(send(Message::copyData(4, 1, makeRecord(kCmdSetPosition, 0, u""))), 0);
    EXPECT_EQ(user(4, kMsgPlay), 0);
    for (int i = 0; i < 4000 && fixtures::fileSize(out) < 3 * kPlayBytes; ++i) std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(fixtures::fileSize(out), 3 * kPlayBytes);
    send(Message::close());
    EXPECT_EQ(server.waitExit(20s), 1);
    ::close(fd);
    std::remove(out.c_str());
}

TEST_F(SoundPumpProcess, EndsWhenTheGamesWindowIsGone) {
    {
        ServerProcess server;
        ASSERT_TRUE(waitForServer()) << server.describe();
        EXPECT_EQ(open(0, u"\\temp\\sound1.wav"), 0);
        game_.reset();  // the game died without a word; the server notices by itself
        EXPECT_EQ(server.waitExit(20s), 0);
    }
    // Started before the game's window exists, the server waits for it; a
    // message while the game is missing ends the server.
    ServerProcess server;
    ASSERT_TRUE(waitForServer()) << server.describe();
    EXPECT_FALSE(server.waitExit(400ms));
    EXPECT_EQ(user(0, kMsgGetState), 0);
    EXPECT_EQ(server.waitExit(20s), 0);
}

// A game that died before its server started (the server is then adopted
// at once, perhaps by a process that never ends), and a game whose window
// never appears: either way the server ends by itself.
TEST_F(SoundPumpProcess, EndsWhenTheGameDiedBeforeOrItsWindowNeverCame) {
    pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    {
        ServerProcess orphan(-1, {"--game-pid", std::to_string(gone)});
        EXPECT_EQ(orphan.waitExit(20s), 0) << "the server outlived the game that started it";
    }
    game_.reset();
    ServerProcess waiting(-1, {"--game-pid", std::to_string(::getpid())}, {"SOUNDPUMP_GAME_WAIT_MS=300"});
    EXPECT_EQ(waiting.waitExit(20s), 0) << "the server waited for ever for the game's window";
}

TEST_F(SoundPumpProcess, EndsWhenItsParentDies) {
    // The orphaned server is re-parented to this process, which can then reap it.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    pid_t parent = ::fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        pid_t child = -1;
        char* argv[] = {const_cast<char*>("SoundPump.bin"), nullptr};
        if (posix_spawn(&child, SOUNDPUMP_BIN, nullptr, nullptr, argv, environ) != 0) ::_exit(2);
        [[maybe_unused]] ssize_t n = ::write(report[1], &child, sizeof child);
        // Stay until the server has its window, then die without a word.
        for (int i = 0; i < 12000 && !findWindow(kServerWindow, kServerWindow); ++i) ::usleep(5000);  // 60 s guard
        ::_exit(0);
    }
    pid_t server = -1;
    ASSERT_EQ(::read(report[0], &server, sizeof server), static_cast<ssize_t>(sizeof server));
    int status = 0;
    ASSERT_EQ(::waitpid(parent, &status, 0), parent);
    EXPECT_TRUE(findWindow(kServerWindow, kServerWindow));
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    pid_t r = 0;
    while ((r = ::waitpid(server, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    if (r != server) {
        ::kill(server, SIGKILL);
        ::waitpid(server, &status, 0);
        FAIL() << "the server outlived its parent";
    }
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(findWindow(kServerWindow, kServerWindow));
    ::close(report[0]);
    ::close(report[1]);
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

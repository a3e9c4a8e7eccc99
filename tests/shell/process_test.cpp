// The real program in two processes: a second start finds the first window,
// brings it forward and exits 0 without starting a sound server. The
// program is copied into a folder of its own with a "SoundPump.bin" that
// notes each start and then runs the real sound server.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/ipc/window_registry.h"
#include "platform/process/process.h"

namespace {

namespace fs = std::filesystem;
namespace ipc = platform::ipc;
using namespace std::chrono_literals;

constexpr const char* kClass = "TindrellClass";
constexpr const char* kTitle = "Tindrell - Bramble Hollow Saga";
constexpr const char* kServer = "RavitSoundPump";

class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::current_path() / "program";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy_file(BRAMBLE_GAME_PATH, folder_ / "BrambleGame");
        starts_ = folder_ / "soundpump-starts.txt";
        std::ofstream script(folder_ / "SoundPump.bin");
        script << "#!/bin/sh\necho started >> \"" << starts_.string() << "\"\nexec \"" << SOUNDPUMP_PATH
               << "\" \"$@\"\n";
        script.close();
        fs::permissions(folder_ / "SoundPump.bin", fs::perms::owner_all, fs::perm_options::add);
    }
    void TearDown() override {
        for (pid_t pid : started_) {
            if (!platform::waitForChild(pid, 0)) {
                ipc::sendMessage(kClass, kTitle, ipc::Message::close(), 30s);
                if (!platform::waitForChild(pid, 60000)) ::kill(pid, SIGKILL);
            }
        }
    }

    pid_t startGame() {
        const pid_t pid = platform::startCommand({(folder_ / "BrambleGame").string()});
        if (pid > 0) started_.push_back(pid);
        return pid;
    }
    int soundServerStarts() {
        std::ifstream in(starts_);
        int n = 0;
        std::string line;
        while (std::getline(in, line)) ++n;
        return n;
    }
    static bool waitForWindow(const char* cls, const char* title, bool present, std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (static_cast<bool>(ipc::findWindow(cls, title)) != present) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }
    static int exitStatus(pid_t pid, int timeoutMs) {
        int status = 0;
        if (!platform::waitForChild(pid, timeoutMs, &status)) return -1000;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1 - WTERMSIG(status);
    }

    fs::path folder_;
    fs::path starts_;
    std::vector<pid_t> started_;
};

TEST_F(TwoProcesses, SecondStartLeavesTheFirstInFrontAndEnds) {
    const pid_t first = startGame();
    ASSERT_GT(first, 0);
    // Every limit here is a hang guard, far beyond a slow sanitizer build.
    ASSERT_TRUE(waitForWindow(kClass, kTitle, true, 120s));
    ASSERT_TRUE(waitForWindow(kServer, kServer, true, 120s));
    EXPECT_EQ(soundServerStarts(), 1);

    const pid_t second = startGame();
    ASSERT_GT(second, 0);
    EXPECT_EQ(exitStatus(second, 120000), 0);
    EXPECT_EQ(soundServerStarts(), 1);         // no second sound server
    EXPECT_FALSE(platform::waitForChild(first, 0));  // the first runs on
    EXPECT_TRUE(ipc::findWindow(kClass, kTitle));

    // Closing the first ends it, and the sound server with it.
    EXPECT_TRUE(ipc::sendMessage(kClass, kTitle, ipc::Message::close(), 60s).delivered());
    EXPECT_EQ(exitStatus(first, 120000), 0);
    EXPECT_TRUE(waitForWindow(kClass, kTitle, false, 60s));
    EXPECT_TRUE(waitForWindow(kServer, kServer, false, 60s));
}

TEST_F(TwoProcesses, SecondStartBringsTheRunningWindowForward) {
    std::atomic<int> raised{0};
    std::atomic<int> other{0};
    auto running = ipc::RegisteredWindow::create(kClass, kTitle, [&](const ipc::Message& m) -> std::int64_t {
        if (m.kind == ipc::MessageKind::BringToFront) ++raised;
        else ++other;
        return 1;
    });
    ASSERT_TRUE(running);
    const pid_t pid = startGame();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(exitStatus(pid, 20000), 0);
    EXPECT_EQ(raised.load(), 1);
    EXPECT_EQ(other.load(), 0);
    EXPECT_EQ(soundServerStarts(), 0);
    EXPECT_FALSE(ipc::findWindow(kServer, kServer));
}

}  // namespace

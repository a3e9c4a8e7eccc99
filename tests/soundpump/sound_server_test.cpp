// The sound server's protocol in process: the game's command sequence and
// the states it reads back, loops counted by the bytes the sink receives,
// the rewind of set position, and bad input (ids out of range, empty and
// closed slots, short records, paths without terminator, missing and
// non-media files) refused with -1 and a logged line.
#include "soundpump/sound_server.h"
#include "tests/platform/audio/sound_fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using namespace soundpump;
using platform::ipc::Message;
using namespace std::chrono_literals;

namespace {

// 0.25 s of 16-bit mono at 8000 frames per second: 4000 bytes per play.
constexpr std::size_t kPlayBytes = 4000;

class Server : public testing::Test {
protected:
    void SetUp() override {
        const std::string root = std::getenv("BRAMBLE_DEVICE_ROOT");
        std::filesystem::create_directories(root + "/temp");
        fixtures::writeFile(root + "/temp/sound1.wav", fixtures::wav(8000, 2000));
        fixtures::writeFile(root + "/temp/sound2.mid", fixtures::midi(24));
        fixtures::writeFile(root + "/temp/notes.txt", std::vector<std::uint8_t>(500, 'n'));
        out_ = ::testing::TempDir() + "soundpump-out-" + std::to_string(::getpid()) + ".raw";
        fd_ = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
        ASSERT_GE(fd_, 0);
        ServerOptions o;
        o.graph.sink = "audio/x-raw,format=S16LE,channels=1,rate=8000 ! fdsink fd=" + std::to_string(fd_);
        o.graph.soundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
        server_ = std::make_unique<SoundServer>(o);
        server_->setWakeup([this] { woken_ = true; });
    }
    void TearDown() override {
        server_.reset();
        ::close(fd_);
        std::remove(out_.c_str());
    }

    std::int64_t open(std::uint64_t id, const std::u16string& path) {
        return server_->handle(Message::copyData(id, 1, makeRecord(kCmdOpen, 0, path)));
    }
    std::int64_t user(std::uint64_t id, std::int64_t command) { return server_->handle(Message::user(id, command)); }
    std::int64_t loops(std::uint64_t id, std::uint64_t count) {
        return server_->handle(Message::copyData(id, count, makeRecord(kCmdSetLoopCount, 0, u"")));
    }
    std::int64_t setPosition(std::uint64_t id, std::int32_t at) {
        return server_->handle(Message::copyData(id, 1, makeRecord(kCmdSetPosition, at, u"")));
    }

    // Serves graph events as the server's loop does until the sink has
    // received `bytes` (or 20 s), then a little longer to see that no more come.
    std::size_t serveUntil(std::size_t bytes) {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (fixtures::fileSize(out_) < bytes && std::chrono::steady_clock::now() < deadline) {
            server_->serviceEvents();
            std::this_thread::sleep_for(2ms);
        }
        return serveFor(100ms);
    }

    std::size_t serveFor(std::chrono::milliseconds span) {
        const auto end = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < end) {
            server_->serviceEvents();
            std::this_thread::sleep_for(2ms);
        }
        return fixtures::fileSize(out_);
    }

    std::string out_;
    int fd_ = -1;
    std::unique_ptr<SoundServer> server_;
    std::atomic<bool> woken_{false};
};

}  // namespace

TEST_F(Server, FollowsTheGamesCommandSequence) {
    ASSERT_EQ(open(0, u"\\temp\\sound1.wav"), 0);
    EXPECT_EQ(server_->storedState(0), kStateOpened);
    EXPECT_EQ(user(0, kMsgGetState), kStateStopped);  // opened and not yet run reads as stopped
    EXPECT_EQ(setPosition(0, 0), 0);
    EXPECT_EQ(user(0, kMsgPlay), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStateRunning);
    EXPECT_EQ(serveUntil(kPlayBytes), kPlayBytes);
    EXPECT_TRUE(woken_.load());
    EXPECT_EQ(user(0, kMsgGetState), kStateRunning);  // still running at its end
    EXPECT_EQ(user(0, kMsgPause), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStatePaused);
    EXPECT_EQ(user(0, kMsgStop), 0);
    EXPECT_EQ(user(0, kMsgGetState), kStateStopped);
    // Stopped means back at the start: play again gives the whole sound again.
    EXPECT_EQ(user(0, kMsgRun), 0);
    EXPECT_EQ(serveUntil(2 * kPlayBytes), 2 * kPlayBytes);
    for (std::int64_t none : {kMsgGetPosition, kMsgGetDuration, kMsgGetVolume, kMsgSetVolume, std::int64_t{77}})
        EXPECT_EQ(user(0, none), 0);
    EXPECT_EQ(user(0, kMsgClose), 0);
    EXPECT_EQ(server_->storedState(0), kStateClosed);
    EXPECT_EQ(user(0, kMsgGetState), -1);
}

TEST_F(Server, LoopCountPlaysThatManyTimesInAll) {
    ASSERT_EQ(open(3, u"\\TEMP\\Sound1.WAV"), 0);
    EXPECT_EQ(loops(3, 3), 0);
    EXPECT_TRUE(server_->looping(3));
    EXPECT_EQ(loops(3, 50), 0);  // a loop already runs: nothing changes
    EXPECT_EQ(user(3, kMsgPlay), 0);
    EXPECT_EQ(serveUntil(3 * kPlayBytes), 3 * kPlayBytes);
    EXPECT_FALSE(server_->looping(3));
}

TEST_F(Server, LoopCountOfOneOrLessPlaysOnce) {
    ASSERT_EQ(open(1, u"\\temp\\sound1.wav"), 0);
    EXPECT_EQ(loops(1, 1), 0);
    EXPECT_EQ(loops(1, 0), 0);
    EXPECT_FALSE(server_->looping(1));
    user(1, kMsgPlay);
    EXPECT_EQ(serveUntil(kPlayBytes), kPlayBytes);
}

TEST_F(Server, SetPositionRewindsAndClosingStopsALoop) {
    ASSERT_EQ(open(2, u"\\temp\\sound1.wav"), 0);
    user(2, kMsgPlay);
    EXPECT_EQ(serveUntil(kPlayBytes), kPlayBytes);
    EXPECT_EQ(setPosition(2, 0), 0);
    EXPECT_EQ(server_->storedState(2), kStateRunning);  // the stored state is not changed
    user(2, kMsgPlay);
    EXPECT_EQ(serveUntil(2 * kPlayBytes), 2 * kPlayBytes);

    // An endless loop ends with close; nothing more reaches the sink.
    EXPECT_EQ(setPosition(2, 0), 0);
    EXPECT_EQ(loops(2, 100000), 0);
    user(2, kMsgPlay);
    serveUntil(4 * kPlayBytes);
    EXPECT_EQ(user(2, kMsgClose), 0);
    EXPECT_FALSE(server_->looping(2));
    const std::size_t after = fixtures::fileSize(out_);
    EXPECT_EQ(serveFor(150ms), after);
}

TEST_F(Server, OpenIntoAnOccupiedSlotReplacesTheSound) {
    ASSERT_EQ(open(4, u"\\temp\\sound1.wav"), 0);
    EXPECT_EQ(loops(4, 5), 0);
    ASSERT_EQ(open(4, u"\\temp\\sound1.wav"), 0);
    EXPECT_FALSE(server_->looping(4));  // the old graph and its loop are gone
    EXPECT_EQ(user(4, kMsgPlay), 0);
    EXPECT_EQ(serveUntil(kPlayBytes), kPlayBytes);
}

TEST_F(Server, MidiPlays) {
    ASSERT_EQ(open(5, u"\\temp\\sound2.mid"), 0);
    EXPECT_EQ(user(5, kMsgPlay), 0);
    EXPECT_GE(serveUntil(1000), 1000u);
    EXPECT_EQ(user(5, kMsgClose), 0);
}

TEST_F(Server, RefusesBadInput) {
    ASSERT_EQ(open(0, u"\\temp\\sound1.wav"), 0);
    std::vector<std::uint8_t> noTerminator = makeRecord(kCmdOpen, 0, u"");
    for (std::size_t i = 8; i < kRecordSize; i += 2) noTerminator[i] = 'a';
    std::vector<std::uint8_t> loneSurrogate = makeRecord(kCmdOpen, 0, u"\\temp\\x");
    loneSurrogate[8] = 0x00;
    loneSurrogate[9] = 0xD8;

    struct Case {
        const char* what;
        Message message;
        std::int64_t answer;
    };
    const Case cases[] = {
        {"open id 35", Message::copyData(35, 1, makeRecord(kCmdOpen, 0, u"\\temp\\sound1.wav")), -1},
        {"open id far out", Message::copyData(~0ull, 1, makeRecord(kCmdOpen, 0, u"\\temp\\sound1.wav")), -1},
        {"play id 35", Message::user(35, kMsgPlay), -1},
        {"state id 1000", Message::user(1000, kMsgGetState), -1},
        {"loop count id 35", Message::copyData(35, 3, makeRecord(kCmdSetLoopCount, 0, u"")), -1},
        {"set position id 35", Message::copyData(35, 1, makeRecord(kCmdSetPosition, 0, u"")), -1},
        {"play an empty slot", Message::user(7, kMsgPlay), -1},
        {"stop an empty slot", Message::user(7, kMsgStop), -1},
        {"close an empty slot", Message::user(7, kMsgClose), -1},
        {"loop an empty slot", Message::copyData(7, 3, makeRecord(kCmdSetLoopCount, 0, u"")), -1},
        {"short record", Message::copyData(0, 1, std::vector<std::uint8_t>(207)), -1},
        {"empty record", Message::copyData(0, 1, {}), -1},
        {"path without terminator", Message::copyData(8, 1, noTerminator), -1},
        {"path not UTF-16", Message::copyData(8, 1, loneSurrogate), -1},
        {"path leaving the device folder", Message::copyData(8, 1, makeRecord(kCmdOpen, 0, u"\\..\\x.wav")), -1},
        {"missing file", Message::copyData(9, 1, makeRecord(kCmdOpen, 0, u"\\temp\\nothere.mid")), -1},
        {"not a sound", Message::copyData(10, 1, makeRecord(kCmdOpen, 0, u"\\temp\\notes.txt")), -1},
        {"unknown command", Message::copyData(0, 1, makeRecord(99, 0, u"")), 0},
        {"other user message", Message::user(0, kMsgPlay, 1), 0},
        {"volume carries no id", Message::user(5000, kMsgSetVolume), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(server_->handle(c.message), c.answer);
    }
    // Nothing of that touched the good slot.
    EXPECT_EQ(server_->storedState(0), kStateOpened);
    EXPECT_EQ(user(0, kMsgGetState), kStateStopped);

    // A slot whose open failed keeps the stored states and plays nothing.
    EXPECT_EQ(server_->storedState(9), kStateOpened);
    EXPECT_EQ(user(9, kMsgPlay), 0);
    EXPECT_EQ(user(9, kMsgGetState), kStateRunning);
    EXPECT_EQ(setPosition(9, 0), -1);
    EXPECT_EQ(user(9, kMsgClose), 0);
    EXPECT_EQ(user(9, kMsgClose), -1);
}

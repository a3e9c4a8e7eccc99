// The end of a program whose game thread still runs: the tear-down holds
// that thread and the final sweep still finalizes every player, so a MIDI
// player's temporary file in the device's temp folder is gone afterwards.
// Leaves a held thread behind on purpose: a program of its own.
#include <atomic>

#include "media/soundpump_player.h"
#include "tests/media/media_fixture.h"

using namespace mediatest;

namespace {

const Bytes kMidi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};

struct Game {
    std::atomic<int> steps{0};
    std::atomic<bool> openPlayer{false};
};

// The game thread: opens the player and keeps it while it loops.
void gameThread(void* arg) {
    auto* game = static_cast<Game*>(arg);
    rt::GlobalRef player(newObject<SoundPumpPlayer>(kMidi.data(), kMidi.size(), "audio/midi"));
    game->openPlayer = true;
    for (;;) {
        java_lang_Thread::sleep(1);
        game->steps.fetch_add(1);
    }
}

class ProgramEnd : public MediaTest {};

TEST_F(ProgramEnd, TemporarySoundFileIsGoneWithTheGameThreadStillRunning) {
    auto* game = new Game;  // outlives the test: the held thread points at it
    auto* thread = newObject<java_lang_Thread>(newObject<Task>(&gameThread, game));
    ASSERT_GE(java_lang_Thread::start(thread), 0);
    ASSERT_TRUE(waitFor([&] { return game->steps.load() >= 3; }));
    ASSERT_TRUE(game->openPlayer.load());
    EXPECT_EQ(tempFiles().size(), 1u);
    Application::instance()->close();
    EXPECT_EQ(tempFiles(), std::vector<std::string>{});
    const int steps = game->steps.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(game->steps.load(), steps);  // held for good
}

}  // namespace

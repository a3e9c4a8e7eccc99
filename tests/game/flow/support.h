// Shared fixture of the game-flow tests: the game-data fixture (a fresh
// application with the game's statics and the demo string pool) plus the
// flow code's process-wide seams put back to their defaults, a fake clock
// and a recording media player.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "game/flow/canvas.h"
#include "media/player.h"
#include "tests/game/data/support.h"

namespace flowtest {

// A clock the test moves; sleep advances it by `sleepAdvance` ms.
class FakeClock : public game::GameClock {
public:
    jlong now() override { return m_now.load(); }
    void sleep(jint) override { m_now += m_sleepAdvance.load(); }
    void set(jlong ms) { m_now = ms; }
    void advance(jlong ms) { m_now += ms; }
    void setSleepAdvance(jlong ms) { m_sleepAdvance = ms; }

private:
    std::atomic<jlong> m_now{100000};
    std::atomic<jlong> m_sleepAdvance{0};
};

// The events every fake player records ("make 3", "start 3", "stop 3",
// "close 3", "loop 3 -1", "volume 3 100", "time 3 0"), in order.
std::vector<std::string> playerEvents();
void clearPlayerEvents();
// Installs the fake player maker; each player is named by its sound id
// (the first byte of the sound's data). setPlayerEnds(true) makes started
// players report that they have ended.
void useFakePlayers();
void setPlayersEnded(bool ended);

class FlowTest : public datatest::GameDataTest {
protected:
    void SetUp() override;
    void TearDown() override;
    FakeClock clock;
};

// An int[] from a list (a Java array).
IntArray* ints(std::initializer_list<jint> values);

// The application the flow tests run in (the game-data fixture's plus
// java.lang and java.util); closeApplication of the data fixture ends it.
void startFlowApplication(size_t objectHeap = 8 << 20, size_t dataHeap = 48 << 20);

// Fuzz input: 4 bytes of load request, a loading table, then a condition
// file. Parses, plans and evaluates whatever is accepted (loading steps
// that would reach other code do nothing).
void exerciseLoadingData(const uint8_t* data, size_t size);
// The seed corpus: the demo table and conditions, then the kit's damaged
// variants of each.
struct SeedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};
std::vector<SeedFile> loadingSeeds();

}  // namespace flowtest

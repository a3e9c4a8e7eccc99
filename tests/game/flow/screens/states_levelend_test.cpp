// Level complete, results and the end of the game, driven message by
// message with the flow stand-ins recording state requests.
#include "game/flow/screens/states_levelend.h"

#include <utility>
#include <vector>

#include "game/data/progress.h"
#include "game/flow/screens/levelend.h"
#include "game/flow/screens/progressrules.h"
#include "game/flow/screens/flowseams.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;
using Requests = std::vector<std::pair<jint, jint>>;

class LevelEnd : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        cg().progress = newByteArray(game::kProgressBytes);
        cg().difficulty = 2;
    }
    // Enters the results and confirms twice (finish the tally, then leave).
    void confirmResults() {
        screenstest::run(game::state30, 2);
        for (int i = 0; i < 3; ++i) screenstest::run(game::state30, 0);
        screenstest::setKeys(0x10000);
        screenstest::run(game::state30, 0);
        EXPECT_TRUE(cg().tallyDone);
        EXPECT_EQ(cg().tallyLine, game::kTallyLines);
        EXPECT_TRUE(screenstest::requests().empty()) << "the first press only finishes the tally";
        screenstest::run(game::state30, 0);
        screenstest::setKeys(0);
    }
};

TEST_F(LevelEnd, ResultsOnAnEarlyStageSaveAndLoadTheNextLevel) {
    cg().stage = 0;
    cg().levelStats->data()[7] = 3;
    confirmResults();
    // One request: the level load. (A pop after it would replace it and
    // unwind an empty stack.)
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 11}}));
    IntArray* load = game::loadRequest();
    EXPECT_EQ(load->data()[0], 5);
    EXPECT_EQ(load->data()[1], 1);
    EXPECT_EQ(cg().stage, 1);
    EXPECT_TRUE(game::isStageOpen(1, 2));
    EXPECT_FALSE(game::isStageOpen(1, 3));
    EXPECT_EQ(game::currentStage(2), 1);
    EXPECT_EQ(game::progressByte(191), 2);
    EXPECT_EQ(game::stateParam(), 0);
}

TEST_F(LevelEnd, ResultsOnTheLastStagePopBackToTheEnding) {
    cg().stage = 10;
    confirmResults();
    EXPECT_EQ(screenstest::requests(), (Requests{{2, -1}}));
    EXPECT_EQ(game::currentStage(2), 0) << "no stage follows the last";
}

TEST_F(LevelEnd, LevelCompleteClosesTheIrisThenRunsAShow) {
    cg().stage = 3;
    cg().fireworkPhase = 1;  // left over from an earlier show
    screenstest::run(game::state21, 2);
    EXPECT_EQ(cg().irisRadius, 176);
    int steps = 0;
    while (cg().endPhase == 0 && steps < 100) {
        screenstest::run(game::state21, 0);
        ++steps;
    }
    EXPECT_EQ(steps, 18) << "176 down by 10 to 0 or less";
    steps = 0;
    while (screenstest::requests().empty() && steps < 1000) {
        screenstest::run(game::state21, 0);
        ++steps;
    }
    EXPECT_GT(steps, 60) << "the last rocket starts on the 60th call";
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 30}}));
    EXPECT_EQ(cg().fireworks, nullptr);
    EXPECT_EQ(cg().fireworkCount, 0);
}

TEST_F(LevelEnd, AKeyEndsTheShowAfterFortyEightSteps) {
    cg().stage = 3;
    screenstest::run(game::state21, 2);
    while (cg().endPhase == 0) screenstest::run(game::state21, 0);
    screenstest::setKeys(0x10000);
    for (int i = 0; i < 47; ++i) screenstest::run(game::state21, 0);
    EXPECT_TRUE(screenstest::requests().empty());
    screenstest::run(game::state21, 0);
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 30}}));
}

TEST_F(LevelEnd, EndingPhasesPushTheirScreens) {
    cg().progress->data()[191] = 2;
    screenstest::run(game::state18, 2);
    screenstest::run(game::state18, 0);
    EXPECT_TRUE(screenstest::requests().empty()) << "waits for a key";
    screenstest::setKeys(0x20);
    screenstest::run(game::state18, 0);
    screenstest::setKeys(0);
    for (int i = 0; i < 8; ++i) screenstest::run(game::state18, 0);
    EXPECT_EQ(screenstest::requests(), (Requests{{1, 17}, {1, 30}, {1, 8}, {1, 35}, {0, 6}}));
    EXPECT_EQ(game::progressByte(192) & 4, 4) << "difficulty 2's record flag";
}

}  // namespace

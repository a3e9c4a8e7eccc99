// The start chain on the real state machine, pass by pass as the run loop
// drives it (update or in-transition frame, paint, then the pending
// change): logo, loading, second logo, loading, first notice, sound
// question. Without a data archive every load plans nothing and finishes
// on its second step.
#include <utility>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/flow/screens/states_start.h"
#include "game/flow/states.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::fl;
using screenstest::ScreensTest;

class StartChain : public ScreensTest {
protected:
    std::vector<std::pair<jint, int>> trace;  // state, updates spent in it

    void SetUp() override {
        ScreensTest::SetUp();
        game::installCoreStateHandlers();
        game::installScreenStates();
        auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
        fl().graphics = image->getGraphics();
        fl().screenGraphics = fl().graphics;
        game::requestSetState(1);
        game::applyPendingState();
    }

    void pass() {
        const jint state = cg().gameState;
        if (fl().inTransition) {
            game::gameStateDispatch(state, game::kMsgInTransition);
            fl().transitionTicks += 1;
        } else {
            game::gameStateDispatch(state, game::kMsgUpdate);
            fl().stateTicks += 1;
            if (trace.empty() || trace.back().first != state) trace.emplace_back(state, 0);
            trace.back().second += 1;
        }
        game::gameStateDispatch(cg().gameState, game::kMsgPaint);
        game::applyPendingState();
    }
};

TEST_F(StartChain, LogosLoadsAndTheFirstNotice) {
    screenstest::LogCapture quiet;
    for (int i = 0; i < 400 && cg().gameState != 24; ++i) pass();
    const std::vector<std::pair<jint, int>> expected = {{1, 50}, {11, 2}, {2, 26}, {11, 2}, {4, 97}};
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(cg().gameState, 24) << "the sound question over the notice";
    EXPECT_EQ(game::questionMenuId(), 5);
}

}  // namespace

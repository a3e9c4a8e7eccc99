// The start chain on the real state machine, pass by pass as the run loop
// drives it (update or in-transition frame, paint, then the pending
// change): logo, loading, second logo, loading, first notice, sound
// question. Without a data archive every load plans nothing and finishes
// on its second step.
#include <utility>
#include "game/flow/screens/states_menu.h"
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/states_start.h"
#include "game/flow/loading.h"
#include "game/flow/states.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;

class StartChain : public ScreensTest {
protected:
    std::vector<std::pair<jint, int>> trace;  // state, updates spent in it

    void SetUp() override {
        ScreensTest::SetUp();
        game::installCoreStateHandlers();
        game::installScreenStates();
        auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
        cg().graphics = image->getGraphics();
        cg().screenGraphics = cg().graphics;
        game::requestSetState(1);
        game::applyPendingState();
    }

    void pass() {
        const jint state = cg().gameState;
        if (cg().inTransition) {
            game::gameStateDispatch(state, game::kMsgInTransition);
            cg().transitionTicks += 1;
        } else {
            game::gameStateDispatch(state, game::kMsgUpdate);
            cg().stateTicks += 1;
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

namespace {

// From boot to the results of stage 0 and the load of stage 1, with the
// player's input scripted by screen: every question confirmed, the game
// menu's last row (a new game), the middle difficulty, the level ended by
// request bit 4 as a level script would, the tally finished and confirmed.
TEST_F(StartChain, BootToResultsAndTheNextLevel) {
    screenstest::LogCapture quiet;
    cg().progress = newByteArray(game::kProgressBytes);
    cg().progress->data()[191] = 2;
    cg().progress->data()[198] = 6;
    std::vector<jint> states;
    bool levelEnded = false, sawResults = false;
    for (int i = 0; i < 3000; ++i) {
        const jint s = cg().gameState;
        if (states.empty() || states.back() != s) states.push_back(s);
        if (sawResults && s == 11) break;
        sawResults |= s == 30;
        jint keys = 0;
        const bool edge = i % 3 == 0;
        switch (s) {
        case 24: case 3: case 29: case 33: case 30: keys = edge ? 0x10000 : 0; break;
        case 6: {
            // Down to the row that opens the game menu, then confirm.
            IntArray* row = game::listedEntryInts(cg().menuCursor);
            const jint id = row ? row->data()[0] : -1;
            keys = edge ? (id == 0x10001 || id == 0x10008 ? 0x10000 : 0x8000) : 0;
            break;
        }
        case 7: keys = edge ? (cg().menuCursor < 2 ? 0x8000 : 0x10000) : 0; break;
        case 14:
            if (!levelEnded) cg().flags |= 4;
            levelEnded = true;
            break;
        default: break;
        }
        screenstest::setKeys(keys);
        pass();
    }
    const std::vector<jint> expected = {1, 11, 2, 11, 4, 24, 3, 6, 7, 29, 11, 33, 14, 21, 30, 11};
    EXPECT_EQ(states, expected);
    // Saved: stage 1 open for difficulty 2, current stage 1, last difficulty 2.
    EXPECT_EQ(cg().progress->data()[198 + 1] & 4, 4);
    EXPECT_EQ(cg().progress->data()[62 + 10], 1);
    EXPECT_EQ(cg().progress->data()[191], 2);
    EXPECT_EQ(IntArray::at(cg().loadRequest, 0), 5);
    EXPECT_EQ(IntArray::at(cg().loadRequest, 1), 1);
}

}  // namespace

namespace {

class FromPlay : public StartChain {
protected:
    std::vector<jint> states;
    // Starts in play on a stage, as a finished level load leaves it.
    void startPlaying(jint stage) {
        cg().progress = newByteArray(game::kProgressBytes);
        cg().progress->data()[191] = 2;
        cg().progress->data()[198] = 6;
        cg().stage = cg().nextStage = stage;
        cg().difficulty = 2;
        game::clearLoadRequest();
        cg().loadRequest->data()[0] = 5;
        cg().inLevel = 1;
        game::requestSetState(14);
        game::applyPendingState();
    }
    // Runs until the main menu shows, pressing keysFor(state, passes in
    // it so far).
    template <typename Keys>
    void runToMainMenu(Keys keysFor) {
        int inState = 0;
        for (int i = 0; i < 5000; ++i) {
            const jint s = cg().gameState;
            if (states.empty() || states.back() != s) {
                states.push_back(s);
                inState = 0;
            }
            if (s == 6) break;
            screenstest::setKeys(keysFor(s, ++inState));
            pass();
        }
    }
};

TEST_F(FromPlay, LastStageEndsThroughTheEndingScreens) {
    screenstest::LogCapture quiet;
    startPlaying(10);
    cg().flags |= 4;
    runToMainMenu([](jint s, int n) {
        switch (s) {
        case 18: case 17: case 30: return n % 3 == 0 ? 0x10000 : 0;
        // The ending lies below: the left soft key goes back (one press; a
        // press during the opening restarts it).
        case 8: case 35: return n == 1 ? 0x40000 : 0;
        default: return 0;
        }
    });
    const std::vector<jint> expected = {14, 18, 17, 18, 30, 18, 8, 18, 35, 18, 11, 6};
    EXPECT_EQ(states, expected);
    EXPECT_EQ(cg().progress->data()[192] & 4, 4) << "the ending marks difficulty 2";
}

TEST_F(FromPlay, DeathWithoutLivesEndsAtTheMainMenu) {
    screenstest::LogCapture quiet;
    startPlaying(3);
    game::requestSetState(22);  // the hero died
    runToMainMenu([](jint s, int n) {
        if (s != 24 || n % 3 != 0) return 0;
        // The question's second row: back to the menus.
        return cg().menuCursor == 0 ? 0x8000 : 0x10000;
    });
    const std::vector<jint> expected = {14, 22, 19, 24, 11, 6};
    EXPECT_EQ(states, expected);
}

}  // namespace

#include <algorithm>

namespace {

// The program's statics list (which the real program and other test
// programs use) carries the screens' fields.
}  // namespace

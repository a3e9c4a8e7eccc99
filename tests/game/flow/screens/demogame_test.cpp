// The whole game on the kit's demo archive, headless: the program's own
// start-up and run loop, pass by pass on a fake clock, key codes through
// the canvas callbacks, and a paint of the current state after every
// logic step (as the screen's repaint would). Golden images are the canvas
// reduced to one pixel per 8 x 8 block (60 x 100) to stay small.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_start.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "runtime/objectmanager.h"
#include "tests/game/flow/support.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_game.h"
#include "tools/kit/level.h"

namespace {

using game::cg;
using game::cg;

constexpr jint kFire = -5, kDown = -2, kRightSoft = -7;
constexpr jint kSample = 8;

class DemoGame : public flowtest::FlowTest {
protected:
    void SetUp() override {
        // Record stores are kept under the process's first device root:
        // every run starts from a device without a saved game.
        static const std::string base = [] {
            const char* r = std::getenv("BRAMBLE_DEVICE_ROOT");
            return std::string(r ? r : "");
        }();
        if (!base.empty()) std::filesystem::remove_all(base);
        FlowTest::SetUp();
        for (const kit::DemoEntry& e : kit::demoEntries()) datatest::files()[e.name] = e.make();
        flowtest::useFakePlayers();
        game::installCoreStateHandlers();
        game::installScreenStates();
        screen = new spritetest::Screen(480, 800);
        // The run loop collects: the screen's image and Graphics stay rooted.
        pins.emplace_back(std::make_unique<rt::GlobalRef>(screen->image));
        pins.emplace_back(std::make_unique<rt::GlobalRef>(screen->g));
        auto* midlet = newObject<RavitBHSG>();
        midlet->startApp();
        cGame::runStart();
    }
    void TearDown() override {
        pins.clear();
        delete screen;
        FlowTest::TearDown();
    }

    // One pass 45 ms on; with a logic step the current state is painted.
    void pass() {
        const jint before = cGame::stepsRun();
        clock.advance(45);
        ASSERT_TRUE(cGame::runPass());
        ASSERT_EQ(Application::pendingException(), nullptr);
        if (cGame::stepsRun() != before) paint();
        const jint s = cg().gameState;
        if (trace.empty() || trace.back() != s) trace.push_back(s);
    }
    void paint() {
        // Each paint gets the screen's Graphics afresh (full clip, origin).
        screen->resetGraphics();
        if (auto* canvas = static_cast<cGame*>(cg().instance)) canvas->paint(screen->g);
    }
    // Presses and releases a key over two passes.
    void press(jint code) {
        auto* canvas = static_cast<cGame*>(cg().instance);
        canvas->keyPressed(code);
        pass();
        canvas->keyReleased(code);
        pass();
    }
    // Passes until the state is reached (bounded).
    bool runUntil(jint state, int passes = 600) {
        for (int i = 0; i < passes && cg().gameState != state; ++i) pass();
        return cg().gameState == state;
    }
    // Presses fire every few passes until the state is reached (bounded).
    bool confirmUntil(jint state, int presses = 60) {
        for (int i = 0; i < presses && cg().gameState != state; ++i) {
            press(kFire);
            for (int k = 0; k < 3 && cg().gameState != state; ++k) pass();
        }
        return cg().gameState == state;
    }
    // The main menu's cursor moved to the row with that id, then chosen.
    void chooseRow(jint id) {
        for (int i = 0; i < 12; ++i) {
            IntArray* row = game::listedEntryInts(cg().menuCursor);
            if (row && row->data()[0] == id) break;
            press(kDown);
        }
        press(kFire);
    }
    // The canvas sampled every 8th pixel against golden/<name>.txt.
    void expectScreen(const std::string& name) {
        spritetest::Screen small(480 / kSample, 800 / kSample);
        IntArray* row = newIntArray(small.width);
        for (jint y = 0; y < small.height; ++y) {
            for (jint x = 0; x < small.width; ++x) {
                // The block's first pixel that differs from its corner, so
                // that thin text survives the reduction.
                uint16_t v = screen->at(x * kSample, y * kSample);
                for (jint k = 0; k < kSample * kSample; ++k) {
                    const uint16_t u = screen->at(x * kSample + k % kSample, y * kSample + k / kSample);
                    if (u != v) {
                        v = u;
                        break;
                    }
                }
                const jint r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                row->data()[x] = static_cast<jint>(0xFF000000u | (r << 19 | (r >> 2) << 16) | (g << 10 | (g >> 4) << 8) |
                                                   (b << 3 | b >> 2));
            }
            small.g->drawRGB(row, 0, small.width, 0, y, small.width, 1, false);
        }
        spritetest::expectGolden(name, small, 0, 0, small.width, small.height, "tests/game/flow/screens/golden");
    }

    // The states passed so far, for failure messages.
    std::string where() const {
        std::string t = "trace:";
        for (jint s : trace) t += " " + std::to_string(s);
        return t + "; question menu " + std::to_string(cg().questionMenuParam);
    }

    spritetest::Screen* screen = nullptr;
    std::vector<std::unique_ptr<rt::GlobalRef>> pins;
    std::vector<jint> trace;
};

// Boot to the title, the main menu, a new game on the middle difficulty,
// stage 0's intro and play; the level ends by request bit 4 as a level
// script would; the results count up, are confirmed twice, the progress is
// saved and stage 1 loads.
TEST_F(DemoGame, BootToResultsAndTheNextStage) {
    ASSERT_TRUE(runUntil(24)) << where();
    ASSERT_TRUE(confirmUntil(3)) << where();  // sound on
    for (int i = 0; i < 6; ++i) pass();
    expectScreen("demo_title");
    ASSERT_TRUE(confirmUntil(6)) << where();
    for (int i = 0; i < 16; ++i) pass();
    expectScreen("demo_main_menu");
    chooseRow(game::hasProgress() ? 0x10008 : 0x10001);
    ASSERT_TRUE(runUntil(7)) << where();
    for (int i = 0; i < 16; ++i) pass();
    chooseRow(0x10007);  // a new game on a chosen difficulty
    ASSERT_TRUE(runUntil(29)) << where();
    for (int i = 0; i < 16; ++i) pass();
    press(kFire);  // the middle difficulty is the first row
    ASSERT_TRUE(runUntil(33, 2000)) << where();
    for (int i = 0; i < 8; ++i) pass();
    expectScreen("demo_stage0_intro");
    // The special item (the level's item sprite: the demo's coin, 0xF0C030)
    // turns above its count at (391, 387).
    int coin = 0;
    for (jint cx = 140; cx < 180; ++cx)
        for (jint cy = 370; cy < 410; ++cy) coin += screen->at(cx, cy) == 0xF606;
    EXPECT_GT(coin, 20) << "no special item on the intro";
    const jint frameBefore = game::cg().introAnimFrame;
    for (int i = 0; i < 4; ++i) pass();
    EXPECT_NE(game::cg().introAnimFrame, frameBefore) << "the special item does not turn";
    press(kFire);
    ASSERT_TRUE(runUntil(14)) << where();
    pass();
    cg().flags |= 4;
    ASSERT_TRUE(runUntil(30, 3000)) << where();
    for (int i = 0; i < 400 && !game::cg().tallyDone; ++i) pass();
    for (int i = 0; i < 4; ++i) pass();
    expectScreen("demo_results");
    for (int i = 0; i < 4 && cg().gameState == 30; ++i) press(kFire);
    ASSERT_TRUE(runUntil(11)) << where();
    const std::vector<jint> expected = {1, 11, 2, 11, 4, 24, 3, 6, 7, 29, 11, 33, 14, 21, 30, 11};
    EXPECT_EQ(trace, expected);
    ByteArray* p = cg().progress;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->data()[198 + 1] & 4, 4) << "stage 1 open on difficulty 2";
    EXPECT_EQ(p->data()[62 + 10], 1) << "current stage of difficulty 2";
    EXPECT_EQ(IntArray::at(cg().loadRequest, 1), 1);
}

// From stage 0's results on, each stage's results lead into the next stage,
// loaded through the loading table (its own level and music), and open it
// in the saved progress.
TEST_F(DemoGame, ResultsLeadIntoTheJoinedStages) {
    ASSERT_TRUE(runUntil(24)) << where();
    ASSERT_TRUE(confirmUntil(3)) << where();
    ASSERT_TRUE(confirmUntil(6)) << where();
    for (int i = 0; i < 16; ++i) pass();
    chooseRow(game::hasProgress() ? 0x10008 : 0x10001);
    ASSERT_TRUE(runUntil(7)) << where();
    for (int i = 0; i < 16; ++i) pass();
    chooseRow(0x10007);
    ASSERT_TRUE(runUntil(29)) << where();
    for (int i = 0; i < 16; ++i) pass();
    press(kFire);
    ASSERT_TRUE(runUntil(33, 2000)) << where();
    for (const kit::DemoStage* d : {static_cast<const kit::DemoStage*>(nullptr), &kit::demoStages()[0]}) {
        const jint stage = d ? d->stage : 0;
        SCOPED_TRACE("stage " + std::to_string(stage));
        ASSERT_TRUE(confirmUntil(14)) << where();
        EXPECT_EQ(cg().stage, stage);
        if (d) {
            const kit::LevelModel m = kit::parseLevelDescription(d->level);
            EXPECT_EQ(cg().collisionWidth, m.layers[4]->width);
            EXPECT_EQ(cg().levelMusic, d->music);
        }
        pass();
        cg().flags |= 4;
        ASSERT_TRUE(runUntil(30, 3000)) << where();
        for (int i = 0; i < 400 && !game::cg().tallyDone; ++i) pass();
        for (int i = 0; i < 4 && cg().gameState == 30; ++i) press(kFire);
        ASSERT_TRUE(runUntil(33, 3000)) << where();
        EXPECT_EQ(cg().stage, stage + 1);
        ByteArray* p = cg().progress;
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->data()[198 + stage + 1] & 4, 4) << "stage open on difficulty 2";
        EXPECT_EQ(p->data()[62 + 10], stage + 1) << "current stage of difficulty 2";
    }
}

// The menu-data load's progress bar at a fixed step of the load after the
// sound question (kind 4 with the bar is the return from the promotion
// screen: forced here).
TEST_F(DemoGame, MenuLoadBarAtAFixedStep) {
    ASSERT_TRUE(runUntil(24)) << where();
    ASSERT_TRUE(confirmUntil(3)) << where();
    game::requestLoad(4, 0, 3, 6);
    ASSERT_TRUE(runUntil(11)) << where();
    for (int i = 0; i < 5 && cg().gameState == 11; ++i) pass();
    ASSERT_EQ(cg().gameState, 11);
    EXPECT_GT(cg().loadStepsTotal, 0);
    expectScreen("demo_menu_load_bar");
    ASSERT_TRUE(runUntil(6)) << where();
}

}  // namespace

// The whole game played by touches alone, headless from the first logo: the
// sound question answered by a tap on its row, the title tapped, the main
// menu, the game menu and the difficulty menu each chosen by a tap on the
// painted row, the level intro tapped, stage 0 walked to its exit with the
// on-screen pad, and the results tapped through. A row's tap point is
// worked out from the menu's header as a player sees the screen: rows of
// the header's height stacked around its y in the landscape view, the view
// turned a quarter onto the 480 x 800 canvas (view (x, y) at canvas
// (480 - y, x)). Checked: the state sequence, the row each tap chose, and
// a tap on the list's lower scroll arrow moving the cursor by one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/screens.h"
#include "game/flow/states.h"
#include "tests/support/gamedriver.h"

namespace {

constexpr int32_t kQuestion = 24, kTitle = 3, kMainMenu = 6, kGameMenu = 7, kDifficulty = 29, kLoading = 11,
                  kIntro = 33, kPlay = 14, kLevelComplete = 21, kResults = 30;

using Kind = stepdriver::InputEvent::Kind;

struct Point {
    int32_t x, y;
};

class TouchPlay : public testing::Test {
protected:
    void SetUp() override {
        gamedriver::Options o;
        o.folder = std::filesystem::current_path().string() + "/touch-play";
        o.seed = 22;
        std::string error;
        ASSERT_TRUE(d.boot(o, error)) << error;
    }
    std::string states() const {
        std::string t = "states:";
        for (int32_t s : d.states()) t += " " + std::to_string(s);
        return t;
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) d.step();
    }
    // A finger put down and lifted at one canvas point before the next step.
    void tap(Point p) {
        d.addInput({{0, Kind::Touch, 0, p.x, p.y}, {0, Kind::Lift, 0, p.x, p.y}}, d.stepIndex());
        d.step();
    }
    // Taps every fourth step until the state is reached.
    bool tapUntil(Point p, int32_t state, int limit) {
        for (int i = 0; i < limit && d.gameState() != state && !d.ended(); ++i) {
            if (i % 4 == 0)
                tap(p);
            else
                d.step();
        }
        return d.gameState() == state;
    }
    // The open menu's listed rows by id, top to bottom.
    static std::vector<jint> rows() {
        std::vector<jint> ids;
        for (jint i = 0; i < game::cg().menuMetricA; ++i) ids.push_back(game::listedEntryInts(i)->data()[0]);
        return ids;
    }
    // Where a row with that id is painted: the header's x, y, row height,
    // rows shown and alignment; the rows stand in steps from the aligned y
    // down the view, the whole list shown while it fits its rows.
    static Point rowPoint(jint id) {
        IntArray* h = game::cg().menuAttrs;
        const std::vector<jint> ids = rows();
        const int n = static_cast<int>(ids.size());
        const int x = h->data()[3], step = h->data()[5], shown = std::min(n, h->data()[6]);
        int y = h->data()[4];
        if (h->data()[7] & 2) y -= shown * step / 2;
        int k = -1;
        for (int i = 0; i < n; ++i)
            if (ids[i] == id) k = i;
        EXPECT_GE(k, 0) << "row " << std::hex << id << " is not listed";
        EXPECT_LT(k, shown) << "row " << std::hex << id << " is not shown";
        const int viewY = y + step / 2 + k * step;
        return {480 - viewY, x};
    }
    // Chooses the row by tapping it; true when the menu took it.
    void chooseRow(jint id, int32_t nextState) {
        const Point p = rowPoint(id);
        ASSERT_TRUE(tapUntil(p, nextState, 80)) << "a tap at canvas (" << p.x << ", " << p.y << ") on row " << std::hex
                                               << id << " did not lead on; " << states();
    }

    gamedriver::GameDriver d;
};

TEST_F(TouchPlay, FromTheFirstLogoIntoPlayAndThroughTheResultsByTouchesAlone) {
    const Point anywhere{240, 400};
    ASSERT_TRUE(d.stepUntil(kQuestion, 2000)) << states();
    steps(12);
    // The sound question: "yes" is its first row; a tap on it turns the
    // sound on and goes on to the title.
    EXPECT_EQ(rows(), (std::vector<jint>{13, 16}));
    chooseRow(13, kTitle);
    EXPECT_TRUE(game::cg().soundOn) << "the tap chose the other row";
    ASSERT_TRUE(tapUntil(anywhere, kMainMenu, 800)) << states();
    steps(20);

    // The main menu's play row leads to the game menu, its new-game row to
    // the difficulty menu, whose first row starts stage 0 on difficulty 2.
    chooseRow(0x10008, kGameMenu);
    steps(20);
    chooseRow(0x10007, kDifficulty);
    steps(20);
    EXPECT_EQ(rows(), (std::vector<jint>{0x10015, 0x10016}));
    chooseRow(0x10015, kLoading);
    EXPECT_EQ(game::cg().difficulty, 2);
    ASSERT_TRUE(d.stepUntil(kIntro, 2000)) << states();
    steps(12);
    ASSERT_TRUE(tapUntil(anywhere, kPlay, 200)) << states();
    EXPECT_EQ(game::cg().stage, 0);

    // Stage 0 walked to its exit with the pad, as the key walk does it:
    // right is the pad's right cell, '3' (a jump to the right) its upper
    // right cell, '2' (a jump) its upper cell. Where the keys change at
    // once the finger slides to the next cell; where they pause it lifts.
    const Point right{130, 242}, jumpRight{227, 227}, jump{242, 130};
    const int start = d.stepIndex();
    std::vector<stepdriver::InputEvent> events = {
        {110, Kind::Touch, 0, right.x, right.y},         {150, Kind::Drag, 0, jumpRight.x, jumpRight.y},
        {154, Kind::Lift, 0, jumpRight.x, jumpRight.y},  {162, Kind::Touch, 0, right.x, right.y},
        {202, Kind::Lift, 0, right.x, right.y},          {207, Kind::Touch, 0, jump.x, jump.y},
        {209, Kind::Lift, 0, jump.x, jump.y},            {217, Kind::Touch, 0, right.x, right.y},
        {235, Kind::Drag, 0, jumpRight.x, jumpRight.y},  {253, Kind::Drag, 0, right.x, right.y},
        {290, Kind::Drag, 0, jumpRight.x, jumpRight.y},  {306, Kind::Drag, 0, right.x, right.y},
        {328, Kind::Drag, 0, jumpRight.x, jumpRight.y},  {344, Kind::Drag, 0, right.x, right.y},
    };
    d.addInput(events, start);
    for (int i = 0; i < 700 && d.gameState() == kPlay; ++i) d.step();
    ASSERT_EQ(d.gameState(), kLevelComplete) << "the exit was not reached by the pad; " << states();
    d.addInput({{0, Kind::Lift, 0, right.x, right.y}}, d.stepIndex());
    ASSERT_TRUE(d.stepUntil(kResults, 600)) << states();
    steps(8);
    // The results: a tap finishes the count, the next saves and loads the
    // next stage.
    ASSERT_TRUE(tapUntil(anywhere, kLoading, 200)) << states();

    const std::vector<int32_t> want = {1, 11, 2, 11, 4, 24, 3, 6, 7, 29, 11, 33, 14, 21, 30, 11};
    std::vector<int32_t> got(d.states().begin(), d.states().end());
    EXPECT_EQ(got, want) << states();
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

// A long list shows its scroll arrows; a tap on the lower one moves the
// cursor down by one row, and a tap on a row makes it the cursor.
TEST_F(TouchPlay, ScrollArrowAndRowTapsMoveTheCursor) {
    ASSERT_TRUE(d.stepUntil(kQuestion, 2000)) << states();
    steps(12);
    chooseRow(16, kTitle);
    const Point anywhere{240, 400};
    ASSERT_TRUE(tapUntil(anywhere, kMainMenu, 800)) << states();
    steps(20);
    ASSERT_GT(game::cg().menuMetricA, 4) << "the main menu needs five rows for its arrows";
    ObjectArray* arrows = game::cg().listArrowZones;
    ASSERT_NE(arrows, nullptr) << "the painter registered no arrow zones";
    IntArray* next = static_cast<IntArray*>(arrows->data()[0]);
    const Point onNext{next->data()[0] + next->data()[2] / 2, next->data()[1] + next->data()[3] / 2};
    // The next arrow's zone lies below the rows in the view (canvas x small).
    IntArray* h = game::cg().menuAttrs;
    const int shown = std::min(game::cg().menuMetricA, h->data()[6]);
    const int listBottom = h->data()[4] + shown * h->data()[5] / 2;
    EXPECT_GE(480 - onNext.x, listBottom - 10) << "the next arrow's zone is not below the list";
    const jint before = game::cg().menuCursor;
    tap(onNext);
    steps(2);
    EXPECT_EQ(game::cg().menuCursor, before + 1);
    // A finger on the third row makes it the cursor, without a lift.
    const std::vector<jint> ids = rows();
    const Point third = rowPoint(ids[2]);
    d.addInput({{0, Kind::Touch, 0, third.x, third.y}}, d.stepIndex());
    steps(2);
    EXPECT_EQ(game::cg().menuCursor, 2);
    EXPECT_EQ(d.gameState(), kMainMenu) << "a finger held down chooses nothing";
}

// A key pressed and released between two steps (a quick tap) moves the
// menu's cursor once; so does one pressed in the first steps after the
// menu's screen came up.
TEST_F(TouchPlay, QuickKeyTapsAreKept) {
    ASSERT_TRUE(d.stepUntil(kQuestion, 2000)) << states();
    steps(12);
    chooseRow(16, kTitle);
    ASSERT_TRUE(tapUntil({240, 400}, kMainMenu, 800)) << states();
    steps(20);
    // Between two steps of the settled menu.
    for (int i = 0; i < 3; ++i) {
        game::setMenuCursor(0);
        d.step();
        d.keyDown(-2);
        d.keyUp(-2);
        steps(3);
        EXPECT_EQ(game::cg().menuCursor, 1) << "a quick tap between two steps";
    }
    // While the menu comes in again (its in-transition from the start),
    // at each of its steps: the press is taken once it has come in.
    for (int after = 0; after < 16; ++after) {
        game::setMenuCursor(0);
        game::cg().inTransition = true;
        game::cg().transitionTicks = 0;
        steps(after);
        d.keyDown(-2);
        d.keyUp(-2);
        steps(20);
        EXPECT_FALSE(game::cg().inTransition);
        EXPECT_EQ(game::cg().menuCursor, 1) << "a quick tap " << after << " steps after the menu came up";
    }
}

// A tap on a row while the menu is still coming in chooses that row once
// the menu is in (the touch is kept, as a key press is).
TEST_F(TouchPlay, ATapWhileAMenuComesInIsKept) {
    ASSERT_TRUE(d.stepUntil(kQuestion, 2000)) << states();
    for (int after = 0; after < 10; ++after) {
        game::setMenuCursor(1);
        game::cg().inTransition = true;
        game::cg().transitionTicks = 0;
        steps(after);
        const Point yes = rowPoint(13);
        tap(yes);
        for (int i = 0; i < 40 && d.gameState() == kQuestion; ++i) d.step();
        ASSERT_EQ(d.gameState(), kTitle) << "a tap " << after << " steps after the question came up; " << states();
        EXPECT_TRUE(game::cg().soundOn) << after;
        // Back to the question for the next round.
        game::cg().soundOn = 0;
        game::pushQuestionMenu(5, 1);
        steps(2);
        ASSERT_TRUE(d.stepUntil(kQuestion, 100)) << states();
    }
}

}  // namespace

// The cross-promotion screen inside the whole program, stepped headless from
// the first logo (tests/support/gamedriver.h): the main menu's promotion row
// opens game state 9; the screen, set up by the game without a canvas,
// draws its two soft keys (turned onto the portrait screen with the rest of
// its 800 x 480 picture) and answers a touch on them; a touch on the right
// one leaves the screen and the game goes back to its menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "game/showcase/showcase.h"
#include "tests/support/gamedriver.h"

namespace {

using stepdriver::InputEvent;

constexpr int32_t kMainMenu = 6, kPromotion = 9;
constexpr jint kPromotionRow = 0x1000F;
constexpr int32_t kDown = -2, kFire = -5;

// The demo's soft-key button (image slot 12) and its pressed form (13) as
// the screen shows them (RGB565).
constexpr uint16_t kSoftKey = 0x3294, kSoftKeyPressed = 0x501E;

std::string states(const gamedriver::GameDriver& d) {
    std::string t = "states:";
    for (int32_t s : d.states()) t += " " + std::to_string(s);
    return t;
}

// A key held over two steps, then released over two.
void tap(gamedriver::GameDriver& d, int32_t code) {
    d.keyDown(code);
    d.step();
    d.step();
    d.keyUp(code);
    d.step();
    d.step();
}

// Pixels of one colour in a rectangle of the portrait screen.
int count(const gamedriver::GameDriver& d, uint16_t colour, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += d.screen()[size_t(y) * 480 + size_t(x)] == colour;
    return n;
}

// The screen's picture (800 x 480) is turned a quarter onto the portrait
// screen: its point (X, Y) lies at (479 - Y, X). Its soft keys sit in its
// bottom corners, 72 x 40 each: on the portrait screen along the left edge,
// at its top (left key) and bottom (right key).
int leftKey(const gamedriver::GameDriver& d, uint16_t colour) { return count(d, colour, 0, 0, 48, 80); }
int rightKey(const gamedriver::GameDriver& d, uint16_t colour) { return count(d, colour, 0, 720, 48, 80); }

TEST(ShowcaseInTheProgram, SoftKeysAreDrawnAndATouchOnTheRightOneLeaves) {
    gamedriver::Options o;
    o.folder = std::filesystem::current_path().string() + "/showcase-program";
    o.seed = 9;
    gamedriver::GameDriver d;
    std::string error;
    ASSERT_TRUE(d.boot(o, error)) << error;
    ASSERT_TRUE(d.pressUntil(kFire, kMainMenu, 3000)) << states(d);

    // The main menu's cursor down to the promotion row, then confirm.
    bool onRow = false;
    for (int i = 0; i < 60 && !onRow && d.gameState() == kMainMenu; ++i) {
        IntArray* row = game::listedEntryInts(game::cg().menuCursor);
        onRow = row && row->data()[0] == kPromotionRow;
        if (!onRow) tap(d, kDown);
    }
    ASSERT_TRUE(onRow) << "the main menu offers no promotion row; " << states(d);
    for (int i = 0; i < 20 && d.gameState() != kPromotion; ++i) tap(d, kFire);
    ASSERT_EQ(d.gameState(), kPromotion) << states(d);

    // Set up by the game without a canvas: no Commands, the soft keys are
    // the screen's own.
    game::ShowcaseStatics* s = game::showcaseStatics();
    EXPECT_EQ(s->useCommands, 0);
    EXPECT_EQ(s->canvas, nullptr);
    for (int i = 0; i < 200 && s->screenState != game::kShowPage; ++i) d.step();
    ASSERT_EQ(s->screenState, game::kShowPage) << "the screen never finished loading";
    d.step();
    EXPECT_GT(leftKey(d, kSoftKey), 2000) << "the left soft key is not painted";
    EXPECT_GT(rightKey(d, kSoftKey), 2000) << "the right soft key is not painted";
    EXPECT_EQ(rightKey(d, kSoftKeyPressed), 0);

    // The right soft key's zone on the screen's own picture, and the same
    // point as the portrait screen's touch: (790, 470) lies at (10, 790).
    EXPECT_EQ(game::Showcase::hitTest(790, 470), game::kActBack);
    EXPECT_EQ(game::Showcase::hitTest(40, 470), game::kActSelect);
    s->softKeyHeld = 0;  // the left key's test holds it
    d.addInput({InputEvent{0, InputEvent::Kind::Touch, 0, 10, 790}}, d.stepIndex());
    d.step();
    EXPECT_EQ(s->pressedAction, game::kActBack);
    EXPECT_GT(rightKey(d, kSoftKeyPressed), 2000) << "the pressed right key is not shown";
    EXPECT_GT(leftKey(d, kSoftKey), 2000);
    d.addInput({InputEvent{0, InputEvent::Kind::Lift, 0, 10, 790}}, d.stepIndex());
    d.step();
    EXPECT_EQ(s->lastAction, game::kActBack);
    EXPECT_EQ(s->screenState, game::kShowLeave);
    EXPECT_EQ(s->pressedAction, 0);

    // State 4 closes at the next action: the game leaves state 9 for its menu.
    for (int i = 0; i < 4 && d.gameState() == kPromotion; ++i) d.step();
    EXPECT_NE(d.gameState(), kPromotion) << states(d);
    EXPECT_EQ(s->visible, 0);
    EXPECT_TRUE(d.stepUntil(kMainMenu, 400)) << states(d);
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

}  // namespace

// The screens painted whole, played headless from the first logo on the
// kit's demo archive: the sound question covers the notice before it, a
// menu with a back control shows its soft-key label, play shows the
// heads-up display's pieces (portrait, health pips, the counter's icon and
// text after a change, the corner touch buttons), the level's end closes
// its iris step by step, the results carry their separator, and the
// game-over screen shows the falling hero. Each screen's hash is kept in
// golden/screens_paint.frames (rewritten with BRAMBLE_UPDATE_GOLDEN=1);
// each also asserts what the screen must show, on its pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/flow_statics.h"
#include "display/lcdui/graphics.h"
#include "game/actor/screencalls.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screen.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "tests/support/gamedriver.h"

namespace {

constexpr int32_t kNotice = 4, kQuestion = 24, kTitle = 3, kMainMenu = 6, kOptions = 31, kPlay = 14,
                  kLevelComplete = 21, kResults = 30, kGameOver = 19;
constexpr int32_t kFire = -5, kDown = -2;
constexpr uint16_t kMarker = 0xF81F;  // magenta

uint16_t rgb565(uint32_t rgb) {
    return static_cast<uint16_t>(((rgb >> 19) & 31) << 11 | ((rgb >> 10) & 63) << 5 | ((rgb >> 3) & 31));
}

std::string sourcePath(const std::string& rel) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    return std::string(root ? root : ".") + "/" + rel;
}

// A box of the 800 x 480 view on the canvas: view (x, y) is canvas
// (480 - 1 - y, x).
struct ViewBox {
    int x, y, w, h;
};

class ScreensPaint : public testing::Test {
protected:
    void boot(const std::string& name) {
        gamedriver::Options o;
        o.folder = std::filesystem::current_path().string() + "/" + name;
        o.seed = 7;
        std::string error;
        ASSERT_TRUE(d.boot(o, error)) << error;
    }
    uint16_t at(int cx, int cy) const { return d.screen()[static_cast<size_t>(cy) * 480 + static_cast<size_t>(cx)]; }
    uint16_t atView(int vx, int vy) const { return at(479 - vy, vx); }
    // Pixels of the view box with that colour.
    int countIn(const ViewBox& b, uint16_t colour) const {
        int n = 0;
        for (int vy = b.y; vy < b.y + b.h; ++vy)
            for (int vx = b.x; vx < b.x + b.w; ++vx) n += atView(vx, vy) == colour;
        return n;
    }
    // Pixels of the view box that differ between two screens.
    static int differIn(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, const ViewBox& box) {
        int n = 0;
        for (int vy = box.y; vy < box.y + box.h; ++vy)
            for (int vx = box.x; vx < box.x + box.w; ++vx) {
                const size_t i = static_cast<size_t>(vx) * 480 + static_cast<size_t>(479 - vy);
                n += a[i] != b[i];
            }
        return n;
    }
    int litIn(const ViewBox& b) const { return b.w * b.h - countIn(b, 0); }
    int countNot(uint16_t colour) const {
        int n = 0;
        for (uint16_t p : d.screen()) n += p != colour;
        return n;
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) d.step();
    }
    void press(int32_t code) {
        d.keyDown(code);
        d.step();
        d.keyUp(code);
        d.step();
    }
    // The cursor moved to the listed row with that id, then chosen.
    void chooseRow(jint id) {
        for (int i = 0; i < 12; ++i) {
            IntArray* row = game::listedEntryInts(game::cg().menuCursor);
            if (row && row->data()[0] == id) break;
            press(kDown);
        }
        press(kFire);
    }
    void frame(const std::string& what) {
        char line[96];
        std::snprintf(line, sizeof line, "%s state=%d hash=0x%08X", what.c_str(), d.gameState(), d.frameHash());
        frames.push_back(line);
    }
    void expectGoldenFrames(const std::string& name) {
        const std::string path = sourcePath("tests/game/e2e/golden/" + name);
        if (const char* u = std::getenv("BRAMBLE_UPDATE_GOLDEN"); u && *u == '1') {
            ASSERT_TRUE(stepdriver::writeLines(path, frames)) << path;
            return;
        }
        std::vector<std::string> want;
        ASSERT_TRUE(stepdriver::readLines(path, want)) << path << " (BRAMBLE_UPDATE_GOLDEN=1 writes it)";
        EXPECT_EQ(want, frames) << name;
    }
    std::string states() const {
        std::string t = "states:";
        for (int32_t s : d.states()) t += " " + std::to_string(s);
        return t;
    }
    // From the first logo to the main menu, the sound question answered.
    void toMainMenu() {
        ASSERT_TRUE(d.stepUntil(kQuestion, 2000)) << states();
        ASSERT_TRUE(d.pressUntil(kFire, kTitle, 400)) << states();
        ASSERT_TRUE(d.pressUntil(kFire, kMainMenu, 800)) << states();
        steps(20);
    }
    // Quick play: stage 0 without its intro.
    void toPlay() {
        toMainMenu();
        chooseRow(0x10004);
        ASSERT_TRUE(d.stepUntil(kPlay, 2000)) << states();
        steps(24);
    }

    gamedriver::GameDriver d;
    std::vector<std::string> frames;
};

// The sound question stands on black: a marker left on the screen before
// its paint is covered everywhere, and the question's texts are lit.
TEST_F(ScreensPaint, MenuScreensCoverTheScreenBefore) {
    boot("screens-menus");
    ASSERT_TRUE(d.stepUntil(kNotice, 2000)) << states();
    ASSERT_TRUE(d.stepUntil(kQuestion, 400)) << states();
    steps(12);
    d.markScreen(kMarker);
    d.step();
    ASSERT_EQ(d.gameState(), kQuestion);
    EXPECT_EQ(countNot(kMarker), 480 * 800) << "a pixel of the screen before survives the sound question";
    const int lit = countNot(0);
    EXPECT_GT(lit, 100) << "the question's texts";
    EXPECT_LT(lit, 480 * 800 / 20) << "the question stands on black";
    frame("sound question");

    // The main menu and the options menu share their background; only the
    // options menu has a back control, so only it shows the soft-key label
    // (right-aligned in the box of frame 13 of sprite 107, bottom at 455).
    ASSERT_TRUE(d.pressUntil(kFire, kTitle, 400)) << states();
    ASSERT_TRUE(d.pressUntil(kFire, kMainMenu, 800)) << states();
    steps(20);
    d.markScreen(kMarker);
    d.step();
    EXPECT_EQ(countNot(kMarker), 480 * 800) << "a pixel of the screen before survives the main menu";
    frame("main menu");
    const std::vector<uint16_t> mainMenu = d.screen();
    chooseRow(0x10002);
    ASSERT_TRUE(d.stepUntil(kOptions, 200)) << states();
    steps(20);
    frame("options");
    const ViewBox softKey{680, 420, 120, 40};
    EXPECT_GT(differIn(mainMenu, d.screen(), softKey), 20) << "no soft-key label on the options menu";
    const ViewBox farLeft{0, 420, 120, 40};
    EXPECT_EQ(differIn(mainMenu, d.screen(), farLeft), 0) << "the left soft key shows nothing";
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
    expectGoldenFrames("screens_paint_menus.frames");
}

// Play: the corner buttons are drawn where their images go (painted again
// without them, only those boxes change); the portrait and the health
// pips stand in the panel's strip; a change of the collect counter shows
// its text at (610, 37) for the panel's 20 paints.
TEST_F(ScreensPaint, PlayShowsTheHeadsUpDisplay) {
    boot("screens-play");
    toPlay();
    frame("play");
    BSprite* buttons = game::spriteAt(112);
    ASSERT_NE(buttons, nullptr);
    ASSERT_GE(buttons->getFrameCount(), 4);
    const std::vector<uint16_t> with = d.screen();
    game::cg().touchButtons = false;
    d.repaint();
    const std::vector<uint16_t> without = d.screen();
    game::cg().touchButtons = true;
    // The images' canvas boxes, as view boxes: the pad at canvas (34, 34),
    // the right corner's pair at (34, 766 - w), the action button at
    // (446 - w, 766 - h).
    auto box = [&](int cx, int cy, int f) {
        const int w = buttons->getFrameWidth(f), h = buttons->getFrameHeight(f);
        // Canvas w x h at (cx, cy) is view x cy .. cy + w, y 480 - cx - h ..
        return ViewBox{cy, 480 - cx - h, w, h};
    };
    const int w1 = buttons->getFrameWidth(1), w2 = buttons->getFrameWidth(2), h2 = buttons->getFrameHeight(2);
    const ViewBox images[3] = {box(34, 34, 0), box(34, 766 - w1, 1), box(446 - w2, 766 - h2, 2)};
    int inside = 0;
    for (const ViewBox& b : images) {
        const int n = differIn(with, without, b);
        EXPECT_GT(n, b.w * b.h / 4) << "button image at view (" << b.x << ", " << b.y << ") not drawn";
        inside += n;
    }
    EXPECT_EQ(differIn(with, without, ViewBox{0, 0, 800, 480}), inside) << "button pixels outside their boxes";

    // The portrait in the panel's strip (the demo's face: skin 0xE0B080),
    // the first health pip at view (74, 28) full (0xE03040).
    EXPECT_GT(countIn(ViewBox{0, 0, 70, 64}, rgb565(0xE0B080)), 200) << "no portrait";
    EXPECT_EQ(atView(74, 28), rgb565(0xE03040)) << "first pip";
    EXPECT_EQ(atView(74 + 24, 28), rgb565(0xE03040)) << "second pip";

    // The collect counter changes (as a pickup changes it): the panel shows
    // the counter's text from its anchor (610, 37) on. The play view marks
    // every variable changed (-1) before the side panel is painted, so the
    // panel's item icon (the demo's coin, right of the text) does not start
    // its 20 paints in a frame with the play view.
    const ViewBox counter{600, 0, 100, 60};
    const std::vector<uint16_t> before = d.screen();
    game::setVariable(0, game::getVariable(0) + 1, true);
    d.step();
    frame("counter changed");
    EXPECT_GT(differIn(before, d.screen(), counter), 3) << "no counter text after the change";
    EXPECT_EQ(game::cg().variableChangedMask, 0) << "the panel's paint clears the changed mask";
    EXPECT_EQ(countIn(ViewBox{655, 0, 45, 45}, rgb565(0xF0C030)), 0) << "item icon started under the play view";
    steps(24);
    EXPECT_EQ(countIn(ViewBox{655, 0, 45, 45}, rgb565(0xF0C030)), 0) << "the counter's icon shows later";
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
    expectGoldenFrames("screens_paint_play.frames");
}

// The level's end: the play view captured, then the iris closes over it
// around the hero, a smaller lit area at every step; the results carry the
// separator above the total (a fill of 0xFDFFA2 and a line of 0x00DA00 at
// canvas x 132-135 from row 134 down).
TEST_F(ScreensPaint, LevelEndIrisAndResults) {
    boot("screens-levelend");
    toPlay();
    // The level ends as its closing script's request would end it.
    game::cg().flags |= 4;
    ASSERT_TRUE(d.stepUntil(kLevelComplete, 200)) << states();
    std::vector<int> lit;
    std::vector<jint> radii;
    for (int i = 0; i < 200 && game::cg().endPhase == 0; ++i) {
        d.step();
        if (d.gameState() != kLevelComplete || game::cg().endPhase != 0) break;
        if (!game::heroAnimationEnded() || game::cg().irisRadius <= 0) continue;
        lit.push_back(countNot(0));
        radii.push_back(game::cg().irisRadius);
        if (radii.size() == 1 || game::cg().irisRadius == 46) frame("iris radius " + std::to_string(radii.back()));
    }
    ASSERT_GE(lit.size(), 5u) << "the iris was painted in too few steps";
    EXPECT_EQ(radii.front(), 176 - 10);
    for (size_t i = 1; i < lit.size(); ++i)
        EXPECT_LT(lit[i], lit[i - 1]) << "the lit area did not shrink from radius " << radii[i - 1] << " to " << radii[i];
    EXPECT_LT(lit.back(), lit.front() / 5);
    // The iris's circle bounds what is lit (radius r, so at most (2r + 2)
    // wide in any direction), the hero's effect aside.
    EXPECT_LT(lit.back(), 4 * (radii.back() + 1) * (radii.back() + 1) + 2000);

    ASSERT_TRUE(d.pressUntil(kFire, kResults, 800)) << states();
    for (int i = 0; i < 200 && !game::cg().tallyDone && game::cg().tallyLine < 6; ++i) d.step();
    steps(4);
    frame("results");
    for (int y : {140, 300, 500, 660}) {
        EXPECT_EQ(at(133, y), rgb565(0xFDFFA2)) << "separator fill at row " << y;
        EXPECT_EQ(at(134, y), rgb565(0x00DA00)) << "separator line at row " << y;
    }
    EXPECT_EQ(at(134, 134), rgb565(0xFDFFA2)) << "the line starts a row below the fill";
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
    expectGoldenFrames("screens_paint_levelend.frames");
}

// Game over: with the last life lost the game-over screen shows its text
// and the hero (its animation 51 for a hero of type 0) under it; then the
// question to try again stands on the menus' background.
TEST_F(ScreensPaint, GameOverShowsTheHero) {
    boot("screens-gameover");
    toPlay();
    ASSERT_NE(game::cg().hero, nullptr);
    game::setVariable(5, 0, true);
    game::behaviour::kill(game::cg().hero);
    ASSERT_TRUE(d.stepUntil(kGameOver, 600)) << states();
    steps(10);
    frame("game over");
    // The demo hero: a 33 x 85 body of 0x3070D0 standing on (400, 360).
    EXPECT_GT(countIn(ViewBox{380, 270, 40, 92}, rgb565(0x3070D0)), 33 * 85 / 2) << "no hero on the game-over screen";
    EXPECT_GT(countIn(ViewBox{300, 110, 200, 40}, 0) , 0);
    EXPECT_LT(countIn(ViewBox{300, 110, 200, 40}, 0), 200 * 40) << "no text over the hero";
    // After 80 steps the question "try again?" comes over the menus'
    // background (the captured level, darkened): nothing of the game-over
    // screen shows through it.
    ASSERT_TRUE(d.stepUntil(kQuestion, 200)) << states();
    steps(20);
    d.markScreen(kMarker);
    d.step();
    EXPECT_EQ(countNot(kMarker), 480 * 800) << "a pixel of the screen before survives the question";
    EXPECT_EQ(countIn(ViewBox{380, 270, 40, 92}, rgb565(0x3070D0)), 0) << "the game-over hero shows through";
    frame("try again");
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
    expectGoldenFrames("screens_paint_gameover.frames");
}

// The loads switch the loading screen's buttons (on after the menu data,
// off after a level) and a level load zeroes the hint counters; play
// gives the loading picture its whole 540 x 864 clip back and shows the
// soft keys' labels from its first update on.
TEST_F(ScreensPaint, LoadsAndPlaySetTheirScreenState) {
    boot("screens-loads");
    toMainMenu();
    auto active = [](jint element) {
        auto* e = static_cast<IntArray*>(game::cg().screenLayoutA->data()[element]);
        return e->data()[0];
    };
    EXPECT_EQ(active(1), 0);
    EXPECT_EQ(active(2), 1);
    EXPECT_EQ(active(3), 1);
    game::cg().hintCount = 5;
    game::cg().hintTimer = 9;
    chooseRow(0x10004);
    ASSERT_TRUE(d.stepUntil(kPlay, 2000)) << states();
    EXPECT_EQ(active(1), 0);
    EXPECT_EQ(active(2), 0);
    EXPECT_EQ(active(3), 0);
    EXPECT_EQ(game::cg().hintCount, 0);
    EXPECT_EQ(game::cg().hintTimer, 0);
    d.step();
    EXPECT_EQ(game::cg().displayState, 1);
    // The pause menu captures the play view into the loading picture (its
    // clip the screen's); back in play the clip is the picture's again.
    game::requestSetState(20);
    ASSERT_TRUE(d.stepUntil(20, 100)) << states();
    steps(20);
    ASSERT_NE(game::cg().overlayGraphics, nullptr);
    EXPECT_EQ(game::cg().overlayGraphics->getClipWidth(), 480);
    game::requestSetState(kPlay);
    ASSERT_TRUE(d.stepUntil(kPlay, 100)) << states();
    EXPECT_EQ(game::cg().overlayGraphics->getClipWidth(), 540);
    EXPECT_EQ(game::cg().overlayGraphics->getClipHeight(), 864);
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

// The notice of the next difficulty (state 17) stands on black with its
// title, its two lines and the prompt; the closing iris of state 13 lights
// less of the screen at every step; the message screen (25) shows its
// left soft key.
TEST_F(ScreensPaint, NoticeIrisAndMessageScreens) {
    boot("screens-notice");
    toMainMenu();
    const std::vector<uint16_t> mainMenu = d.screen();
    game::cg().messageTextId = 0x10064;
    game::requestPushState(25);
    ASSERT_TRUE(d.stepUntil(25, 100)) << states();
    steps(4);
    EXPECT_GT(differIn(mainMenu, d.screen(), ViewBox{0, 420, 120, 40}), 10) << "no left soft-key label (OK)";
    game::requestPopState();
    ASSERT_TRUE(d.stepUntil(kMainMenu, 100)) << states();

    game::requestPushState(17);
    ASSERT_TRUE(d.stepUntil(17, 100)) << states();
    steps(4);
    d.markScreen(kMarker);
    steps(12);  // the prompt blinks: one of these paints shows it
    EXPECT_EQ(countNot(kMarker), 480 * 800) << "a pixel of the screen before survives the notice";
    frame("difficulty notice");
    EXPECT_GT(litIn(ViewBox{200, 38, 400, 20}), 20) << "no title at (400, 40)";
    EXPECT_GT(litIn(ViewBox{0, 233, 800, 20}), 20) << "no line at 235";
    EXPECT_GT(litIn(ViewBox{0, 273, 800, 20}), 20) << "no line at 275";
    EXPECT_EQ(countIn(ViewBox{0, 310, 800, 130}, 0), 800 * 130) << "black between the lines and the prompt";
    game::requestPopState();
    ASSERT_TRUE(d.stepUntil(kMainMenu, 100)) << states();
    steps(20);

    game::requestSetState(13);
    ASSERT_TRUE(d.stepUntil(13, 100)) << states();
    std::vector<int> lit;
    for (int i = 0; i < 30 && d.gameState() == 13; ++i) {
        lit.push_back(countNot(0));
        d.step();
    }
    ASSERT_GE(lit.size(), 10u) << states();
    for (size_t i = 2; i < lit.size(); ++i) EXPECT_LE(lit[i], lit[i - 1]) << "step " << i;
    EXPECT_LT(lit.back(), lit[1] / 4);
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

// In play, a speech dialog (mode 2) blinks its hint at (400, 40) with the
// state's frame counter; the panel's fade covers its box with the fading
// tile (the first steps nearly black, the rest of the canvas untouched).
TEST_F(ScreensPaint, SpeechHintAndFadeTiles) {
    boot("screens-overlays");
    toPlay();
    game::openDialog(0x10053, -1, 0, 2);
    ASSERT_TRUE(game::isDialogActive());
    const ViewBox hint{250, 28, 300, 26};
    int shown = 0, hidden = 0;
    for (int i = 0; i < 20; ++i) {
        d.step();
        game::cg().dialogRedraw = 1;
        d.repaint();
        const std::vector<uint16_t> with = d.screen();
        game::cg().dialogRedraw = 0;
        d.repaint();
        game::cg().dialogRedraw = 1;
        (differIn(with, d.screen(), hint) > 10 ? shown : hidden) += 1;
    }
    EXPECT_GT(shown, 3) << "the hint never showed";
    EXPECT_GT(hidden, 3) << "the hint never blinked off";
    game::closeDialog();

    game::cg().panelFadeMode = 1;
    game::cg().panelFadeStep = 0;
    game::cg().panelPosition = 240;
    game::cg().panelOffset = 0;
    steps(4);
    ASSERT_EQ(game::cg().panelFadeMode, 1);
    const std::vector<uint16_t> faded = d.screen();
    game::cg().panelFadeMode = 0;
    game::cg().panelPosition = 0;
    d.repaint();
    const std::vector<uint16_t> open = d.screen();
    auto brightness = [](const std::vector<uint16_t>& px, int x0, int x1) {
        long sum = 0;
        for (int y = 0; y < 800; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint16_t p = px[static_cast<size_t>(y) * 480 + static_cast<size_t>(x)];
                sum += (p >> 11) + ((p >> 5) & 63) / 2 + (p & 31);
            }
        return sum;
    };
    EXPECT_LT(brightness(faded, 240, 480) * 2, brightness(open, 240, 480)) << "the tile's box is not darkened";
    EXPECT_EQ(brightness(faded, 0, 240), brightness(open, 0, 240)) << "the fade reached outside its box";
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

// A dialog page shows its lines: the text's pixels (the screen painted
// with and without the dialog) stand in as many bands of view rows as the
// page has lines, and the next page shows other lines. A finger held on
// the screen turns no page; its release turns exactly one.
TEST_F(ScreensPaint, DialogPageShowsItsLinesAndTurnsOnARelease) {
    boot("screens-dialog");
    toPlay();
    // A dialog of the bottom style (two lines a page) over a text of four
    // lines of the demo's font: the first text that opens, its text then
    // replaced by four lines of words.
    jint id = -1;
    for (jint t = 0x10000; t < 0x10100 && id == -1; ++t) {
        game::openDialog(t, -1, 1, 0);
        if (game::isDialogActive()) id = t;
        game::closeDialog();
    }
    ASSERT_NE(id, -1) << "no text opens a dialog";
    auto open = [&] {
        game::openDialog(id, -1, 1, 0);
        ASSERT_TRUE(game::isDialogActive());
        String* fourLines = String::fromUtf16(u"THE FIRST LINE OF WORDS\nTHE SECOND LINE OF WORDS\nTHE THIRD LINE OF "
                                              u"WORDS\nTHE FOURTH LINE OF WORDS|");
        game::cg().dialogText = fourLines;
        game::cg().dialogLineCount = 4;
        game::cg().dialogFirstLine = 0;
    };
    open();
    auto textRows = [&](std::vector<uint16_t>& pixels) {
        d.repaint();
        const std::vector<uint16_t> with = d.screen();
        String* text = game::cg().dialogText;
        game::cg().dialogText = nullptr;
        d.repaint();
        game::cg().dialogText = text;
        pixels.clear();
        int bands = 0;
        bool lit = false;
        for (int vy = 0; vy < 480; ++vy) {
            bool row = false;
            for (int vx = 0; vx < 800; ++vx) {
                const size_t i = static_cast<size_t>(vx) * 480 + static_cast<size_t>(479 - vy);
                if (with[i] != d.screen()[i]) {
                    row = true;
                    pixels.push_back(with[i]);
                }
            }
            bands += row && !lit;
            lit = row;
        }
        return bands;
    };
    std::vector<uint16_t> first, second;
    const jint pageOne = game::dialogPageSize();
    EXPECT_EQ(textRows(first), pageOne) << "page 1 of text " << std::hex << id;
    EXPECT_GT(first.size(), 100u * static_cast<size_t>(pageOne)) << "page 1 shows a glyph or two, not its lines";
    game::nextDialogPage();
    ASSERT_TRUE(game::isDialogActive());
    EXPECT_EQ(game::cg().dialogFirstLine, pageOne);
    EXPECT_EQ(textRows(second), game::dialogPageSize()) << "page 2";
    EXPECT_NE(first, second) << "page 2 shows page 1's lines again";

    // A finger held four steps turns nothing; lifted, one page.
    game::closeDialog();
    open();
    using Kind = stepdriver::InputEvent::Kind;
    d.addInput({{0, Kind::Touch, 0, 240, 300}}, d.stepIndex());
    steps(4);
    ASSERT_TRUE(game::isDialogActive());
    EXPECT_EQ(game::cg().dialogFirstLine, 0) << "a held finger ran through the pages";
    d.addInput({{0, Kind::Lift, 0, 240, 300}}, d.stepIndex());
    steps(4);
    EXPECT_EQ(game::cg().dialogFirstLine, pageOne) << "the release turned not exactly one page";
    game::closeDialog();
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

// The in-game right soft key's label (display value 1): right-aligned at
// the view's right edge (centred in the key's frame, which the demo's
// sprite does not draw), its bottom at 455, not where the key's frame is
// anchored (787, 480).
TEST_F(ScreensPaint, InGameRightSoftKeyLabel) {
    boot("screens-softkey");
    toPlay();
    IntArray* values = game::cg().displayValues;
    ASSERT_NE(values, nullptr);
    values->data()[1] = -1;
    d.repaint();
    const std::vector<uint16_t> none = d.screen();
    values->data()[1] = 18;
    d.repaint();
    const std::vector<uint16_t> label = d.screen();
    values->data()[1] = -1;
    const int all = differIn(none, label, ViewBox{0, 0, 800, 480});
    EXPECT_GT(all, 20) << "no label drawn";
    EXPECT_EQ(differIn(none, label, ViewBox{700, 425, 100, 31}), all) << "label pixels outside the box ending at (800, 455)";
    EXPECT_GT(differIn(none, label, ViewBox{780, 425, 20, 31}), 0) << "the label does not reach the right edge";
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

}  // namespace

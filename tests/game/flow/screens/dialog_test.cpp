// Dialog paging, the self-scrolling style, range checks and the panel.
#include "game/flow/screens/dialog.h"

#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/flow/screens/playpaint.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;

// Text n of slot 0 has n lines, with the terminator; text 0 is absent.
void loadLineTexts() {
    std::vector<std::string> texts{""};
    for (int n = 1; n <= 8; ++n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += (i ? "\n" : "") + std::string("line");
        texts.push_back(s + "|");
    }
    screenstest::setTexts(0, texts);
}

class Dialogs : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        loadLineTexts();
    }
    // What a paint does: the page's lines become the lines shown.
    std::vector<jint> pages() {
        std::vector<jint> shown;
        for (int i = 0; i < 20 && game::isDialogActive(); ++i) {
            cg().dialogPageLines = game::dialogPageSize();
            shown.push_back(cg().dialogPageLines);
            game::nextDialogPage();
        }
        return shown;
    }
};

TEST_F(Dialogs, PagesNeverEndOnASingleLine) {
    struct Case {
        jint lines, mode;
        std::vector<jint> pages;
    };
    const Case cases[] = {
        {5, 0, {2, 1, 2}},  // two a page: a page of 2 would leave 1
        {4, 0, {2, 2}},
        {1, 0, {1}},
        {3, 0, {1, 2}},
        {7, 1, {3, 2, 2}},  // three a page
        {4, 1, {2, 2}},
    };
    for (const Case& c : cases) {
        game::openDialog(c.lines, -1, 0, c.mode);
        ASSERT_TRUE(game::isDialogActive());
        EXPECT_EQ(cg().dialogLineCount, c.lines);
        EXPECT_EQ(pages(), c.pages) << c.lines << " lines, style " << c.mode;
        EXPECT_FALSE(game::isDialogActive());
    }
}

TEST_F(Dialogs, AOneLineStyleStillAdvances) {
    // A style of one line a page would show 0 lines when two are left.
    IntArray* style = static_cast<IntArray*>(cg().panelButtons->data()[0]);
    style->data()[game::kStyleLines] = 1;
    game::openDialog(4, -1, 0, 0);
    EXPECT_EQ(pages(), (std::vector<jint>{1, 1, 1, 1}));
}

TEST_F(Dialogs, BadStylesSpeakersAndTextsAreRefused) {
    screenstest::LogCapture log;
    game::openDialog(3, -1, 0, 4);
    EXPECT_FALSE(game::isDialogActive());
    EXPECT_TRUE(log.contains("style 4"));
    game::openDialog(3, -1, 0, -1);
    EXPECT_FALSE(game::isDialogActive());
    game::openDialog(3, 14, 0, 2);
    EXPECT_TRUE(game::isDialogActive());
    EXPECT_EQ(cg().dialogParam, -1) << "an unknown speaker has no portrait";
    EXPECT_TRUE(log.contains("speaker 14"));
    game::closeDialog();
    EXPECT_EQ(cg().variableChangedMask, -1) << "closing a speech panel redraws the display";
    game::openDialog(0, -1, 0, 3);
    EXPECT_FALSE(game::isDialogActive()) << "an absent text opens nothing";
    EXPECT_EQ(cg().panelPosition, 0);
}

TEST_F(Dialogs, HoldAndUpdateResult) {
    game::openDialog(2, -1, 0, 0);
    EXPECT_TRUE(game::updateDialog()) << "hold below 1 holds the game";
    game::openDialog(2, -1, 1, 0);
    EXPECT_FALSE(game::updateDialog());
    EXPECT_TRUE(game::isDialogActive());
}

TEST_F(Dialogs, ModeThreeScrollsByItselfAndEnds) {
    game::openDialog(2, -1, 0, 3);
    ASSERT_TRUE(game::isDialogActive());
    EXPECT_EQ(cg().panelPosition, 480) << "the screen is blacked out at once";
    EXPECT_EQ(cg().dialogScrollSpeed, 3);
    // Without keys the speed stays at 3 (it only rises while below 2).
    game::updateDialog();
    EXPECT_EQ(cg().dialogScroll, -3);
    // A negative speed at the top keeps the scroll at its start.
    cg().dialogScroll = 0;
    cg().dialogScrollSpeed = -5;
    game::updateDialog();
    EXPECT_EQ(cg().dialogScroll, 0);
    EXPECT_EQ(cg().dialogScrollSpeed, -4);
    // Speeds below 2 climb back one a step.
    for (int i = 0; i < 10; ++i) game::updateDialog();
    EXPECT_EQ(cg().dialogScrollSpeed, 2);
    // Scrolled out of the screen: the dialog ends and the panel opens. (A
    // paint of this style draws every line.)
    cg().dialogPageLines = cg().dialogLineCount;
    int steps = 0;
    while (game::isDialogActive() && steps < 1000) {
        game::updateDialog();
        ++steps;
    }
    EXPECT_FALSE(game::isDialogActive());
    EXPECT_LE(cg().dialogScroll + game::cg().dialogScrollBase, 80);
    EXPECT_EQ(cg().panelPosition, 0);
    EXPECT_EQ(cg().panelOffset, 0);
}

TEST_F(Dialogs, PanelSlidesTenPixelsAStepAndFades) {
    cg().panelPosition = 0;
    cg().panelOffset = 25;
    std::vector<jint> seen;
    while (game::isPanelSliding() && seen.size() < 10) {
        game::updatePanel();
        seen.push_back(cg().panelPosition);
    }
    EXPECT_EQ(seen, (std::vector<jint>{10, 20, 25}));
    cg().variableChangedMask = 0;
    cg().panelOffset = 0;
    game::updatePanel();
    EXPECT_EQ(cg().panelPosition, 15);
    EXPECT_EQ(cg().variableChangedMask, -1) << "a closing panel redraws the display";

    cg().panelFadeMode = 1;
    cg().panelFadeStep = 0;
    int steps = 0;
    while (game::isPanelSliding() && steps < 40) {
        game::updatePanel();
        ++steps;
    }
    EXPECT_EQ(steps, 17);
    EXPECT_EQ(cg().panelFadeMode, 0);
    ASSERT_NE(cg().fadeTile, nullptr);
    EXPECT_EQ(cg().fadeTile->length(), 200 * 60);
    EXPECT_EQ(static_cast<uint32_t>(cg().fadeTile->data()[0]) >> 24, 0u) << "the last step is clear";
    game::fadeTileStep(4, 16);
    EXPECT_EQ(static_cast<uint32_t>(cg().fadeTile->data()[0]) >> 24, static_cast<uint32_t>(255 - 4 * 255 / 16));
    game::fadeTileStep(3, 0);  // no steps: guarded, clear
    EXPECT_EQ(static_cast<uint32_t>(cg().fadeTile->data()[0]) >> 24, 0u);
}

}  // namespace

namespace {

using game::cg;
using game::cg;

TEST_F(Dialogs, SpeechPanelStripAndPanelBars) {
    auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
    auto* g = image->getGraphics();
    game::cg().graphics = g;
    g->setColor(0xFFFFFF);
    g->fillRect(0, 0, 480, 800);
    game::openDialog(3, 20, 0, 2);  // speaker 20: none, logged
    game::paintDialog();
    auto pixel = [&](jint x, jint y) {
        IntArray* px = newIntArray(1);
        image->getRGB(px, 0, 1, x, y, 1, 1);
        return px->data()[0] & 0xFFFFFF;
    };
    // The line colour as this screen stores it.
    g->setClip(0, 0, 480, 800);
    g->setColor(0x8DC63F);
    g->fillRect(300, 700, 1, 1);
    const jint green = pixel(300, 700);
    EXPECT_EQ(pixel(40, 400), 0);
    EXPECT_EQ(pixel(79, 400), green);
    EXPECT_EQ(pixel(2, 400), green);
    EXPECT_EQ(pixel(200, 400), 0xFFFFFF);
    // The panel: bars of its position along both long edges.
    cg().panelPosition = cg().panelOffset = 30;
    game::paintPanel();
    EXPECT_EQ(pixel(29 + 100, 10), 0xFFFFFF);
    EXPECT_EQ(pixel(470, 10), 0);
    EXPECT_EQ(pixel(449, 10), 0xFFFFFF);
    EXPECT_EQ(cg().panelPainted, 30);
}

}  // namespace

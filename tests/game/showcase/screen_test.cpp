// The screen's state machine, its touch zones and the pointer handlers.
#include "tests/game/showcase/support.h"

#include <functional>

#include "display/lcdui/display.h"

namespace showcasetest {
namespace {

using game::Showcase;
using game::ShowcaseStatics;
using game::showcaseStatics;

class ScreenTest : public ShowcaseTest {
public:
    void SetUp() override {
        World world;
        world.pack = kit::encodeShowcase(kit::demoShowcase());
        start(world);
        setupScreen();
        enterAndLoad();
        s = showcaseStatics();
        ASSERT_EQ(s->screenState, game::kShowPage);
    }
    void showSlot(jint slot) {
        s->currentEntry = slot;
        s->listTop = s->listSelection = 0;
        Showcase::resetPage();
    }
    ShowcaseStatics* s = nullptr;
};

// Demo slots: 0-2 catalogue, 3 more, 4 and 5 the sub-lists (2 and 3 rows), 6 the last slot; 7 disabled.
TEST_F(ScreenTest, DoActionTable) {
    struct Case {
        const char* name;
        std::function<void(ScreenTest&)> setup;
        jint state, action;
        jint wantState, wantEntry, wantSelection, wantTop;
        bool wantResult;
    };
    auto at = [](jint slot) { return [slot](ScreenTest& t) { t.showSlot(slot); }; };
    auto list = [](jint slot, jint sel, jint top, jint visible) {
        return [=](ScreenTest& t) {
            t.showSlot(slot);
            t.s->listSelection = sel;
            t.s->listTop = top;
            t.s->listVisibleRows = visible;
        };
    };
    const Case cases[] = {
        {"next", at(0), 1, 24, 1, 1, 0, 0, false},
        {"previous wraps from 0 to the last enabled slot", at(0), 1, 23, 1, 6, 0, 0, false},
        {"next wraps from the last enabled slot", at(6), 1, 24, 1, 0, 0, 0, false},
        {"previous skips disabled slots",
         [](ScreenTest& t) {
             ByteArray::set(t.s->entryEnabled, 1, 0);
             t.showSlot(2);
         },
         1, 23, 1, 0, 0, 0, false},
        {"next while moved back only resets the page",
         [](ScreenTest& t) {
             t.showSlot(5);
             t.s->movedBack = 1;
             t.s->listSelection = 2;
             t.s->listTop = 1;
         },
         1, 24, 1, 5, 0, 0, false},
        {"one enabled entry does not move",
         [](ScreenTest& t) {
             t.showSlot(2);
             t.s->enabledCount = 1;
         },
         1, 24, 1, 2, 0, 0, false},
        {"row down", list(5, 0, 0, 2), 1, 32, 1, 5, 1, 0, false},
        {"row down scrolls", list(5, 1, 0, 2), 1, 32, 1, 5, 2, 1, false},
        {"row down at the last row", list(5, 2, 1, 2), 1, 32, 1, 5, 2, 1, false},
        {"row up scrolls", list(5, 1, 1, 2), 1, 21, 1, 5, 0, 0, false},
        {"row up at the first row", list(5, 0, 0, 2), 1, 21, 1, 5, 0, 0, false},
        {"rows outside list mode do nothing", at(1), 1, 32, 1, 1, 0, 0, false},
        {"select", at(1), 1, 25, 6, 1, 0, 0, false},
        {"action button", at(1), 1, 27, 6, 1, 0, 0, false},
        {"back", at(1), 1, 26, 4, 1, 0, 0, false},
        {"unknown action", at(1), 1, 28, 1, 1, 0, 0, false},
        {"leave closes", at(1), 4, 0, 4, 1, 0, 0, true},
        {"promotion state waits", at(1), 7, 24, 7, 1, 0, 0, false},
        {"entry link without a link goes back to the page",
         [](ScreenTest& t) {
             t.showSlot(1);
             ObjectArray::set(t.s->entryLinks, 1, nullptr);
         },
         6, 0, 1, 1, 0, 0, false},
        {"swallowed action performs the touch release",
         [](ScreenTest& t) {
             t.showSlot(1);
             t.s->swallowAction = 1;
             t.s->lastAction = 26;
         },
         1, 24, 4, 1, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s->movedBack = s->movedForward = 0;
        s->enabledCount = Showcase::getEntryCount();
        s->swallowAction = 0;
        s->pendingUrl = nullptr;
        for (jint i = 0; i < 7; ++i) ByteArray::set(s->entryEnabled, i, 1);
        c.setup(*this);
        s->screenState = c.state;
        EXPECT_EQ(Showcase::doAction(c.action), c.wantResult);
        EXPECT_EQ(s->screenState, c.wantState);
        EXPECT_EQ(s->currentEntry, c.wantEntry);
        EXPECT_EQ(s->listSelection, c.wantSelection);
        EXPECT_EQ(s->listTop, c.wantTop);
    }
}

TEST_F(ScreenTest, EntryLinkCarriesTheLanguageWhenAsked) {
    struct Case { const char* link; bool insert; const char* want; };
    const Case cases[] = {
        {"http://a/?lang=&x=1", true, "http://a/?lang=EN&x=1"},
        {"http://a/", true, "http://a/lang=EN"},
        {"http://a/?lang=", false, "http://a/?lang="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        showSlot(0);
        ObjectArray::set(s->entryLinks, 0, String::fromUtf8(c.link));
        s->insertLanguage = c.insert;
        s->screenState = game::kShowEntryLink;
        EXPECT_FALSE(Showcase::doAction(0));
        EXPECT_EQ(s->screenState, game::kShowEntryLink);
        EXPECT_EQ(utf8(s->pendingUrl), c.want);
    }
    // A list row's link.
    showSlot(5);
    s->insertLanguage = 0;
    s->listSelection = 1;
    s->screenState = game::kShowEntryLink;
    Showcase::doAction(0);
    EXPECT_EQ(utf8(s->pendingUrl), "http://promo.example.com/shop");
}

TEST_F(ScreenTest, LinkRequestAndUnusableScreenClose) {
    s->linkRequested = 1;
    s->linkReady = 0;
    EXPECT_TRUE(Showcase::doAction(0));
    s->linkReady = 1;
    s->screenState = game::kShowPromoLink;
    EXPECT_FALSE(Showcase::doAction(0));
    s->screenState = game::kShowLeave;
    EXPECT_TRUE(Showcase::doAction(0));
    s->linkRequested = 0;
    s->usable = 0;
    EXPECT_TRUE(Showcase::doAction(24));
}

TEST_F(ScreenTest, HitTestPoints) {
    showSlot(1);
    struct Case { jint x, y, want; };
    // Arrows 24 x 48, soft keys 72 x 40, button (280, 374) 240 x 43.
    const Case cases[] = {
        {0, 240, 0}, {10, 0, 0},
        {47, 240, 23}, {48, 240, 0}, {20, 193, 23}, {20, 192, 0}, {20, 287, 23}, {20, 288, 0},
        {753, 240, 24}, {752, 240, 0}, {799, 240, 24},
        {281, 375, 27}, {280, 375, 0}, {519, 416, 27}, {520, 400, 0}, {400, 374, 0}, {400, 417, 0},
        {2, 400, 25}, {146, 479, 25}, {147, 450, 0}, {2, 399, 0},
        {654, 450, 26}, {798, 480, 26}, {799, 450, 0}, {653, 450, 0},
        {400, 100, 0},
    };
    for (const Case& c : cases) {
        s->softKeyHeld = 0;
        EXPECT_EQ(Showcase::hitTest(c.x, c.y), c.want) << c.x << "," << c.y;
        EXPECT_EQ(s->softKeyHeld, c.want == 25) << c.x << "," << c.y;
    }
    s->screenState = game::kShowLoading;
    EXPECT_EQ(Showcase::hitTest(301, 375), 0);
    s->screenState = game::kShowPage;
    s->visible = 0;
    EXPECT_EQ(Showcase::hitTest(301, 375), 0);
}

TEST_F(ScreenTest, MissingImagesMeasureNothingAndAreSkipped) {
    showSlot(1);
    for (jint slot : {4, 5, 6, 7, 12, 13}) ObjectArray::set(s->images, slot, nullptr);
    ObjectArray::set(s->pageImages, 1, nullptr);
    EXPECT_EQ(Showcase::hitTest(10, 240), 0);
    EXPECT_EQ(Showcase::hitTest(790, 240), 0);
    EXPECT_EQ(Showcase::hitTest(2, 480), 25);  // a zone of no width: only its edge
    EXPECT_EQ(Showcase::hitTest(20, 470), 0);
    EXPECT_EQ(Showcase::hitTest(281, 375), 27);
    Screen screen;
    Showcase::paint(screen.g);
    EXPECT_EQ(screen.at(400, 5), 0xFFFF);  // the page was painted around the gaps
}

TEST_F(ScreenTest, HitTestListRowsAndArrows) {
    showSlot(5);  // three rows
    const jint left = s->listLeft + 3 * (800 / 100), right = s->listLeft + s->listWidth - 3 * (800 / 100);
    const jint row0 = s->listTopY + 1, row1 = s->listTopY + s->listRowHeight + 1;
    EXPECT_EQ(Showcase::hitTest(301, 375), 0);  // no button in list mode
    EXPECT_EQ(Showcase::hitTest(left, row0), 25);  // the selected row
    EXPECT_EQ(Showcase::hitTest(right, row1), 0);  // another row: only selects it
    EXPECT_EQ(s->listSelection, 1);
    EXPECT_EQ(Showcase::hitTest(left + 1, row1), 25);
    EXPECT_EQ(Showcase::hitTest(left - 1, row1), 0);
    // Arrows only while the list scrolls.
    EXPECT_EQ(Showcase::hitTest(400, s->listUpY), 0);
    s->listVisibleRows = 1;
    s->listTop = 1;
    EXPECT_EQ(Showcase::hitTest(400, s->listUpY), 21);
    EXPECT_EQ(Showcase::hitTest(400, s->listUpY - s->listRowHeight / 2 - 1), 0);
    EXPECT_EQ(Showcase::hitTest(400, s->listDownY), 32);
    s->listSelection = 2;
    s->listTop = 2;
    EXPECT_EQ(Showcase::hitTest(400, s->listDownY), 0);  // at the last row
    s->listSelection = 0;
    s->listTop = 0;
    EXPECT_EQ(Showcase::hitTest(400, s->listUpY), 0);  // at the first row
}

TEST_F(ScreenTest, PointerPressDragAndRelease) {
    showSlot(1);
    Showcase::pointerPressed(301, 375);
    EXPECT_EQ(s->pressedAction, 27);
    Showcase::pointerDragged(400, 100);
    EXPECT_EQ(s->pressedAction, 0);
    Showcase::pointerDragged(2, 450);
    EXPECT_EQ(s->pressedAction, 25);
    EXPECT_EQ(s->softKeyHeld, 1);
    Showcase::pointerReleased(700, 450);
    EXPECT_EQ(s->pressedAction, 0);
    EXPECT_EQ(s->softKeyHeld, 0);
    EXPECT_EQ(s->swallowAction, 1);
    // The release is performed at the next step whatever key that step brings.
    EXPECT_FALSE(Showcase::doAction(24));
    EXPECT_EQ(s->screenState, game::kShowLeave);
    EXPECT_TRUE(Showcase::doAction(0));
    EXPECT_EQ(s->visible, 0);
}

TEST_F(ScreenTest, EnteringStartsLoadingAtTheFirstEntry) {
    s->screenState = game::kShowPage;
    Showcase::open(nullptr, 9);  // no such language: nothing happens
    EXPECT_EQ(s->screenState, game::kShowPage);
    ByteArray::set(s->entryEnabled, 0, 0);
    Showcase::enter(nullptr, 1);
    EXPECT_EQ(s->screenState, game::kShowLoading);
    EXPECT_EQ(s->loadStepIndex, -1);
    EXPECT_EQ(s->currentEntry, 1);
    EXPECT_EQ(s->languageIndex, 1);
    EXPECT_EQ(s->swallowAction, 1);
    // One loading step per action; the progress reaches the count, then the page.
    jint steps = 0;
    while (s->screenState == game::kShowLoading && steps < 100) {
        Showcase::doAction(0);
        ++steps;
    }
    EXPECT_EQ(steps, s->loadStepCount + 2);  // steps -1 .. count - 1, then the page
    EXPECT_EQ(s->pageEntry, 1);
}

}  // namespace
}  // namespace showcasetest

namespace showcasetest {
namespace {

using CommandsTest = ShowcaseTest;

// With a canvas the soft keys are Commands: made at the text step, answered
// by commandAction, not drawn or touched on the screen.
TEST_F(CommandsTest, CanvasGivesSoftKeyCommands) {
    World world;
    world.pack = kit::encodeShowcase(kit::demoShowcase());
    start(world);
    Object* canvas = String::fromUtf8("canvas");
    game::Showcase::setup(midlet(), nullptr, 800, 480, canvas);
    game::ShowcaseStatics* s = game::showcaseStatics();
    ASSERT_TRUE(s->useCommands);
    ASSERT_NE(s->listener, nullptr);
    enterAndLoad();
    auto* ok = static_cast<javax_microedition_lcdui_Command*>(s->okCommand);
    auto* back = static_cast<javax_microedition_lcdui_Command*>(s->backCommand);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(utf8(ok->getLabel()), "OK");
    EXPECT_EQ(utf8(back->getLabel()), "BACK");
    EXPECT_EQ(game::Showcase::hitTest(2, 450), 0);  // no soft keys on the screen
    s->listener->commandAction(String::fromUtf8("other"), nullptr);
    EXPECT_EQ(s->screenState, game::kShowPage);
    s->listener->commandAction(back, nullptr);
    EXPECT_EQ(s->screenState, game::kShowLeave);
    EXPECT_TRUE(game::Showcase::doAction(0));
    EXPECT_EQ(s->okCommand, nullptr);  // removed on leaving
    EXPECT_EQ(s->backCommand, nullptr);
    // A second set-up keeps the first MIDlet and its entry list.
    game::Showcase::setup(nullptr, nullptr, 400, 240, nullptr);
    EXPECT_EQ(s->screenWidth, 400);
    EXPECT_EQ(s->midlet, midlet());
}

TEST_F(CommandsTest, NullMidletLeavesTheScreenUnset) {
    World world;
    world.pack = kit::encodeShowcase(kit::demoShowcase());
    start(world);
    game::Showcase::setup(nullptr, nullptr, 800, 480, nullptr);
    EXPECT_EQ(game::showcaseStatics()->midlet, nullptr);
    EXPECT_FALSE(game::Showcase::hasEntries());
    EXPECT_TRUE(game::Showcase::doAction(0));
}

}  // namespace
}  // namespace showcasetest

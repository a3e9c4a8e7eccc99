// The list box: expansion of repeated entries, opening, cursor moves,
// confirmation, the paint window, value texts and step timers.
#include "game/flow/screens/menus.h"

#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "game/data/progress.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;

using Menus = ScreensTest;

std::vector<jint> ids(ObjectArray* menu) {
    std::vector<jint> out;
    for (jint e = 4; e < menu->length(); ++e) out.push_back(game::menuEntryInts(menu, e)->data()[0]);
    return out;
}

std::vector<jint> listedIds() {
    std::vector<jint> out;
    for (jint i = 0; i < cg().menuMetricA; ++i) out.push_back(game::listedEntryInts(i)->data()[0]);
    return out;
}

// A menu of n entries with the given header flags; entry ids 100, 101, ...
ObjectArray* makeMenu(jint n, jint flags, const std::vector<jint>& hidden = {}) {
    ObjectArray* m = newObjectArray(cid::ObjectArray, 4 + n);
    auto part = [](std::initializer_list<jint> v) {
        ObjectArray* a = newObjectArray(cid::IntArray, 1);
        IntArray* ints = newIntArray(static_cast<jint>(v.size()));
        a->data()[0] = ints;
        jint i = 0;
        for (jint x : v) ints->data()[i++] = x;
        return a;
    };
    ObjectArray* p = part({flags, 0x7777, 1, 400, 240, 85, 5, 2, 1, 17, 18});
    m->data()[0] = p;
    p = part({0, 0});
    m->data()[1] = p;
    p = part({});
    m->data()[2] = p;
    p = part({});
    m->data()[3] = p;
    for (jint i = 0; i < n; ++i) {
        bool hide = false;
        for (jint h : hidden) hide |= h == i;
        p = part({100 + i, 0, 0, 1, hide ? 0 : 1});
        m->data()[4 + i] = p;
    }
    return m;
}

TEST_F(Menus, RepeatedEntriesExpandIntoIdsCountingUp) {
    ObjectArray* main = game::expandMenu(cg().mainMenu);
    EXPECT_EQ(ids(main), (std::vector<jint>{0x10004, 0x10008, 0x10001, 0x1000F, 0x1000E, 0x10002, 0x10003}));
    ObjectArray* gameMenu = game::expandMenu(cg().gameMenu);
    EXPECT_EQ(ids(gameMenu), (std::vector<jint>{0x10005, 0x10006, 0x10007}));
    ObjectArray* stages = game::expandMenu(cg().stageMenu);
    std::vector<jint> stageIds;
    for (jint id = 0x10022; id <= 0x1002C; ++id) stageIds.push_back(id);
    EXPECT_EQ(ids(stages), stageIds);
    ObjectArray* pause = game::expandMenu(cg().pauseMenu);
    EXPECT_EQ(ids(pause), (std::vector<jint>{2, 3, 9, 0x1000A, 0x10000, 0x10003}));
    // Copies have their own arrays; the source no longer repeats.
    IntArray* first = game::menuEntryInts(stages, 4);
    IntArray* copy = game::menuEntryInts(stages, 5);
    EXPECT_NE(first, copy);
    EXPECT_EQ(first->data()[5], 0);
    copy->data()[4] = 0;
    EXPECT_EQ(first->data()[4], 1);
    EXPECT_EQ(game::expandMenu(cg().stageMenu), cg().stageMenu) << "nothing left to repeat";
}

TEST_F(Menus, OpeningListsTheShownEntriesOnly) {
    ObjectArray* m = makeMenu(5, 0, {1, 3});
    game::openTextBox(m);
    EXPECT_EQ(cg().textBox, m);
    EXPECT_EQ(listedIds(), (std::vector<jint>{100, 102, 104}));
    EXPECT_TRUE(game::setEntryListed(m, 101, true));
    EXPECT_FALSE(game::setEntryListed(m, 999, true));
    cg().textBox = nullptr;
    game::openTextBox(m);
    EXPECT_EQ(listedIds(), (std::vector<jint>{100, 101, 102, 104}));
}

TEST_F(Menus, AListHoldsThirtyTwoEntriesAndLogsTheRest) {
    screenstest::LogCapture log;
    ObjectArray* m = makeMenu(40, 0);
    game::openTextBox(m);
    EXPECT_EQ(cg().menuMetricA, 32);
    EXPECT_TRUE(log.contains("8 listed entries"));
    // The cursor still runs over the 32 held entries.
    game::setMenuCursor(31);
    screenstest::setKeys(0x8000);
    game::updateMenu(m);
    EXPECT_EQ(game::cg().menuCursor, 31);
}

TEST_F(Menus, CursorMovesTable) {
    struct Case {
        const char* what;
        jint entries, flags;
        std::vector<jint> hidden;
        jint start, keys, expected;
    };
    const Case cases[] = {
        {"down", 4, 0, {}, 1, 0x8000, 2},
        {"'8' down", 4, 0, {}, 1, 0x100, 2},
        {"up", 4, 0, {}, 1, 0x4000, 0},
        {"'2' up", 4, 0, {}, 1, 0x4, 0},
        {"stops at the end", 4, 0, {}, 3, 0x8000, 3},
        {"stops at the start", 4, 0, {}, 0, 0x4000, 0},
        {"cyclic wraps forward", 4, 16, {}, 3, 0x8000, 0},
        {"cyclic wraps back", 4, 16, {}, 0, 0x4000, 3},
        {"horizontal right", 4, 32, {}, 1, 0x2000, 2},
        {"horizontal left", 4, 32, {}, 1, 0x10, 0},
        {"horizontal ignores down", 4, 32, {}, 1, 0x8000, 1},
        {"vertical ignores right", 4, 0, {}, 1, 0x2000, 1},
        {"hidden entries are skipped", 4, 0, {1, 2}, 0, 0x8000, 1},
        {"passive takes no input", 4, 64, {}, 1, 0x8000, 1},
        {"no listed entry", 2, 0, {0, 1}, 0, 0x8000, 0},
        {"cyclic with no listed entry", 2, 16, {0, 1}, 0, 0x8000, 0},
    };
    for (const Case& c : cases) {
        ObjectArray* m = makeMenu(c.entries, c.flags, c.hidden);
        game::openTextBox(m);
        game::setMenuCursor(c.start);
        screenstest::setKeys(c.keys);
        game::updateMenu(m);
        EXPECT_EQ(game::cg().menuCursor, c.expected) << c.what;
        screenstest::setKeys(0);
        EXPECT_EQ(game::getMenuAction(), -1) << c.what;
    }
}

TEST_F(Menus, ConfirmNeedsAStableSelectableCursor) {
    ObjectArray* m = makeMenu(3, 0);
    game::openTextBox(m);
    screenstest::setKeys(0x10000);
    game::updateMenu(m);
    EXPECT_EQ(game::getMenuAction(), 100);
    EXPECT_EQ(game::getMenuSelectedId(m), 100);
    // Moving this step: not stable.
    screenstest::setKeys(0x10000 | 0x8000);
    game::updateMenu(m);
    EXPECT_EQ(game::getMenuAction(), -1);
    // Greyed entry.
    game::listedEntryInts(1)->data()[3] = 0;
    screenstest::setKeys(0x20);
    game::updateMenu(m);
    EXPECT_EQ(game::getMenuAction(), -1);
    EXPECT_FALSE(game::isEntrySelectable());
}

TEST_F(Menus, DelayedConfirmCountsTenSteps) {
    ObjectArray* m = makeMenu(3, 0);
    game::openTextBox(m);
    game::updateMenu(m);
    cg().menuAnimTicks = 10;
    screenstest::setKeys(0x10000);
    EXPECT_EQ(game::getMenuActionDelayed(), -1);
    screenstest::setKeys(0);
    int steps = 1;
    jint id = -1;
    while (id == -1 && steps < 20) {
        id = game::getMenuActionDelayed();
        ++steps;
    }
    EXPECT_EQ(id, 100);
    EXPECT_EQ(steps, 10);
    EXPECT_EQ(cg().menuAnimTicks, 10);
    EXPECT_EQ(game::getMenuActionDelayed(), -1) << "idle again";
}

TEST_F(Menus, PaintWindowTable) {
    struct Case {
        jint cursor, visible, count;
        bool cyclic;
        jint first, last;
    };
    const Case cases[] = {
        {0, 5, 11, false, 0, 4},   {5, 5, 11, false, 3, 7},  {10, 5, 11, false, 6, 10},
        {9, 5, 11, false, 6, 10},  {1, 5, 3, false, 0, 2},   {0, 5, 3, false, 0, 2},
        {2, 3, 3, false, 0, 2},    {0, 5, 11, true, -3, 3},  {0, 5, 0, false, 0, -1},
    };
    for (const Case& c : cases) {
        const game::MenuWindow w = game::menuWindow(c.cursor, c.visible, c.count, c.cyclic);
        EXPECT_EQ(w.first, c.first) << c.cursor << "/" << c.count;
        EXPECT_EQ(w.last, c.last) << c.cursor << "/" << c.count;
    }
}

TEST_F(Menus, RecordValuesAndReplacedTexts) {
    if (!cg().progress) cg().progress = newByteArray(game::kProgressBytes);
    cg().difficulty = 2;
    game::writeSaveInt(62 + 12 + 5 * 3, 4567);
    String* v = game::getMenuValueText(0x10009, 0x10017 + 3);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->toUtf8(), "4,567");
    game::cg().levelScore = 99;
    EXPECT_EQ(game::getMenuValueText(0x10009, 0x10016)->toUtf8(), "99");
    EXPECT_EQ(game::getMenuValueText(0x10008, 0x10017), nullptr);
    cg().difficulty = 7;  // no slot: logged, 0
    screenstest::LogCapture log;
    EXPECT_EQ(game::getMenuValueText(0x10009, 0x10017)->toUtf8(), "0");
    EXPECT_TRUE(log.contains("records row"));

    String* text = String::fromUtf8("a<b>c<b>|");
    EXPECT_EQ(game::replaceText(text, String::fromUtf8("<b>|"), String::fromUtf8("--|"))->toUtf8(), "a--c--|");
    EXPECT_EQ(game::replaceText(text, String::fromUtf8("|"), String::fromUtf8("x|")), text);
    EXPECT_EQ(game::replaceText(text, String::fromUtf8("zz|"), String::fromUtf8("x|")), text);
}

TEST_F(Menus, StepTimers) {
    game::setTimer(3, 2);
    EXPECT_FALSE(game::isTimerDone(3));
    game::tickTimers();
    game::tickTimers();
    EXPECT_TRUE(game::isTimerDone(3));
    game::setTimer(4, 0);
    game::tickTimers();
    EXPECT_EQ(static_cast<IntArray*>(cg().timers->data()[4])->data()[1], 0) << "a zero duration does not tick";
    game::setTimer(5, 100);
    game::finishTimer(5);
    EXPECT_TRUE(game::isTimerDone(5));
    EXPECT_FALSE(game::isTimerDone(16));
    game::setTimer(-1, 3);  // outside the table: nothing
}

}  // namespace

#include "display/lcdui/image.h"
#include "game/flow/screen.h"
#include "game/sprite/sprite.h"
#include "tools/kit/demo.h"
#include "game/data/textpack.h"
#include "tools/kit/describe.h"
#include "tools/kit/font.h"

namespace {

using game::cg;

// A cursor label wider than its box waits, then scrolls a pixel a paint
// and comes back from the right once it has left; a narrower one stays.
TEST_F(Menus, MarqueeOfAnOverlongCursorLabel) {
    BSprite* font = spritetest::loadFont(kit::parseFontDescription(kit::kDemoFont));
    game::cg().fonts = newObjectArray(cid::Object, 3);
    game::cg().fonts->data()[0] = font;
    auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
    game::cg().graphics = image->getGraphics();
    game::cg().screenGraphics = game::cg().graphics;
    const std::string wide(80, '1'), narrow(10, '1');
    screenstest::setTexts(1, {wide + "\x03", narrow + "\x03"});
    ObjectArray* layout = newObjectArray(cid::Object, 2);
    IntArray* label = IntArray::fill(newIntArray(9), {1, 256, 400, 240, 0, 3, 0, 0, 0});
    layout->data()[1] = label;
    game::cg().menuFlags = game::kMenuPassive;
    game::cg().menuEntryIsCursor = true;
    game::cg().menuEntrySelectable = true;
    game::cg().menuEntryTextId = 0x10000;
    const jint width = font->getStringWidth(game::getString(0x10000));
    ASSERT_GE(width, 251);
    game::cg().marqueeOffset = 0;
    cg().menuMetricC = 2;
    std::vector<jint> offsets;
    for (int i = 0; i < 5; ++i) {
        game::paintMenuList(layout, 0, 0, true);
        offsets.push_back(game::cg().marqueeOffset);
    }
    EXPECT_EQ(offsets, (std::vector<jint>{0, 0, -1, -2, -3}));
    game::cg().marqueeOffset = -(width + 5);
    game::paintMenuList(layout, 0, 0, true);
    EXPECT_EQ(game::cg().marqueeOffset, 255);
    // Without the clip flag (or for a short label) nothing scrolls.
    game::paintMenuList(layout, 0, 0, false);
    EXPECT_EQ(game::cg().marqueeOffset, 255);
    game::cg().menuEntryTextId = 0x10001;
    game::cg().marqueeOffset = 0;
    game::paintMenuList(layout, 0, 0, true);
    EXPECT_EQ(game::cg().marqueeOffset, 0);
    // The saved clip comes back.
    EXPECT_EQ(game::cg().screenGraphics->getClipWidth(), 480);
}

// A box element: opaque, a fill of its canvas rectangle; see-through, a
// blend over the view box turned onto the canvas (480 - h - y, x, h, w).
TEST_F(Menus, BoxesOpaqueAndSeeThrough) {
    spritetest::Screen screen(480, 800);
    game::cg().graphics = screen.g;
    game::cg().screenGraphics = screen.g;
    screen.clear(0);
    ObjectArray* layout = newObjectArray(cid::Object, 3);
    IntArray* opaque = IntArray::fill(newIntArray(8), {1, 3, 10, 20, 0, 30, 40, static_cast<jint>(0xFF00FF00)});
    layout->data()[1] = opaque;
    IntArray* glass = IntArray::fill(newIntArray(8), {1, 3, 100, 200, 0, 60, 20, static_cast<jint>(0x80FF0000)});
    layout->data()[2] = glass;
    game::paintMenuList(layout, 0, 0, false);
    EXPECT_EQ(screen.at(10, 20), 0x07E0);
    EXPECT_EQ(screen.at(39, 59), 0x07E0);
    EXPECT_EQ(screen.at(40, 20), 0);
    // The see-through box: canvas (260, 100, 20, 60), half red over black.
    const uint16_t inside = screen.at(265, 130);
    EXPECT_GT(inside >> 11, 8);
    EXPECT_LT(inside >> 11, 24);
    EXPECT_EQ(inside & 0x7FF, 0);
    EXPECT_EQ(screen.at(259, 130), 0);
    EXPECT_EQ(screen.at(265, 99), 0);
}

// The default layouts take each row's frames as the row is painted: row
// plates alternate by index, the side piece marks the first and last rows.
TEST_F(Menus, DefaultLayoutFramesFollowTheRow) {
    spritetest::Screen screen(480, 800);
    game::cg().graphics = screen.g;
    game::cg().screenGraphics = screen.g;
    ObjectArray* menu = makeMenu(3, 0);
    game::openTextBox(menu);
    auto anim = [](ObjectArray* layout, jint element) {
        return static_cast<IntArray*>(layout->data()[element])->data()[7];
    };
    game::setMenuCursor(0);
    game::paintMenu(400, 100, 85, 5);
    // The last row painted (index 2): even plate, last side piece.
    EXPECT_EQ(anim(cg().screenLayoutB, 1), 2);
    EXPECT_EQ(anim(cg().screenLayoutD, 1), 3);
    EXPECT_EQ(anim(cg().screenLayoutD, 2), 6);
    ObjectArray* two = makeMenu(2, 0);
    game::openTextBox(two);
    game::paintMenu(400, 100, 85, 5);
    EXPECT_EQ(anim(cg().screenLayoutB, 1), 1);
    EXPECT_EQ(anim(cg().screenLayoutD, 1), 4);
    EXPECT_EQ(anim(cg().screenLayoutD, 2), 6);
    EXPECT_EQ(screen.g->getClipWidth(), 480) << "the band's clip is lifted after the list";
    EXPECT_EQ(screen.g->getClipHeight(), 800);
}

}  // namespace

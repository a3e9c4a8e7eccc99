// Keys and touch: codes to bits, one key at a time, taps seen only as
// releases, hold ticks, typed sequences, the showcase key, zone edges,
// drags, the showcase rotation, list row zones and arrows, the pad.
#include "game/flow/input.h"

#include "game/showcase/showcase.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/states.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;

class InputTest : public FlowTest {};

TEST_F(InputTest, KeyCodesToBits) {
    const jint cases[][2] = {{'0', 0x1},      {'9', 0x200},   {'#', 0x400},    {'*', 0x800},   {-3, 0x1000},
                             {3, 0x1000},     {-4, 0x2000},   {4, 0x2000},     {-1, 0x4000},   {1, 0x4000},
                             {-2, 0x8000},    {2, 0x8000},    {-5, 0x10000},   {5, 0x10000},   {-7, 0x20000},
                             {-6, 0x40000},   {6, 0},         {7, 0},          {'a', 0},       {-8, 0}};
    for (const auto& c : cases) EXPECT_EQ(keyCodeToGameKey(c[0]), c[1]) << c[0];
}

TEST_F(InputTest, SecondKeyReleasesTheFirstAndShortTapIsKeptForOneStep) {
    // A second key releases the first one once a step has seen the first.
    keyPressed('1');
    updateKeys();
    keyPressed('2');
    EXPECT_TRUE(isKeyReleased(0x2));
    EXPECT_FALSE(isKeyHeld(0x2));
    EXPECT_TRUE(isKeyHeld(0x4));
    updateKeys();
    resetKeys();
    // Pressed and released before a step: the step sees the press (and the
    // key held); the release comes after it, for the next step.
    keyPressed(-5);
    keyReleased(-5);
    refoldKeys();  // the second fold of a pass keeps what no step has seen
    EXPECT_TRUE(isKeyPressed(0x10000));
    EXPECT_TRUE(isKeyHeld(0x10000));
    EXPECT_FALSE(isKeyReleased(0x10000));
    updateKeys();  // the step's fold
    EXPECT_FALSE(isKeyPressed(0x10000));
    EXPECT_FALSE(isKeyHeld(0x10000));
    EXPECT_TRUE(isKeyReleased(0x10000));
    refoldKeys();
    EXPECT_TRUE(isKeyReleased(0x10000)) << "the release waits for a step too";
    updateKeys();
    EXPECT_FALSE(isKeyReleased(0x10000));
    // Two quick keys before one step: both are seen by it.
    keyPressed('1');
    keyPressed('2');
    EXPECT_TRUE(isKeyPressed(0x2));
    EXPECT_TRUE(isKeyPressed(0x4));
    updateKeys();
    EXPECT_FALSE(isKeyHeld(0x2)) << "the first key's release came after the step";
    EXPECT_TRUE(isKeyReleased(0x2));
    EXPECT_TRUE(isKeyHeld(0x4));
}

TEST_F(InputTest, SoftKeysCountForPressedButNotForHeld) {
    keyPressed(-6);
    EXPECT_TRUE(isAnyKeyPressed());
    EXPECT_FALSE(isAnyKeyHeld());
    updateKeys();
    EXPECT_FALSE(isAnyKeyHeld());
}

TEST_F(InputTest, HoldTicks) {
    keyPressed('5');
    updateKeys();
    EXPECT_EQ(cg().keyHoldTicks, -1);
    updateKeys();
    updateKeys();
    EXPECT_EQ(cg().keyHoldTicks, 1);
    keyPressed('6');  // a change of key
    updateKeys();
    EXPECT_EQ(cg().keyHoldTicks, -1);
    updateKeys();
    EXPECT_EQ(cg().keyHoldTicks, 0);
    keyReleased('6');
    updateKeys();
    EXPECT_EQ(cg().keyHoldTicks, -1);
    updateKeys();
    EXPECT_EQ(cg().keyHoldTicks, -1);
}

TEST_F(InputTest, SequencesDoneAndBroken) {
    auto type = [](jint bit) {
        for (jint code = '0'; code <= '9'; ++code)
            if (keyCodeToGameKey(code) == bit) keyPressed(code);
        if (bit == 0x800) keyPressed('*');
        if (bit == 0x400) keyPressed('#');
        matchKeySequence();
        updateKeys();
    };
    IntArray* seq = static_cast<IntArray*>(cg().keySequences->data()[2]);
    cg().flags = 0;
    for (jint k = 0; k < 8; ++k) type(seq->data()[k]);
    EXPECT_EQ(cg().flags, 1 << 2);
    EXPECT_EQ(cg().sequenceIndex, -1);
    // A wrong key restarts from nothing.
    cg().flags = 0;
    type(seq->data()[0]);
    type(seq->data()[1]);
    EXPECT_NE(cg().sequenceIndex, -1);
    type(0x400);
    EXPECT_EQ(cg().sequenceIndex, -1);
    EXPECT_EQ(cg().sequenceStep, 0);
    for (jint k = 2; k < 8; ++k) type(seq->data()[k]);
    EXPECT_EQ(cg().flags, 0);
}

TEST_F(InputTest, ShowcaseKey) {
    const jint cases[][2] = {{-7, 26}, {-6, 25}, {-5, 25}, {'5', 25}, {-1, 21}, {'2', 21}, {-2, 32},
                             {'8', 32}, {-3, 23}, {'4', 23}, {-4, 24}, {'6', 24}, {'1', 0}};
    for (const auto& c : cases) {
        resetKeys();
        keyPressed(c[0]);
        EXPECT_EQ(getShowcaseKey(), c[1]) << c[0];
        keyReleased(c[0]);
    }
}

TEST_F(InputTest, TapIsSeenTheFrameAfterRelease) {
    pointerPressed(100, 200);
    pointerReleased(100, 200);
    EXPECT_FALSE(tapInRect(90, 190, 20, 20));
    endTouchFrame();
    EXPECT_TRUE(tapInRect(90, 190, 20, 20));
    EXPECT_EQ(cg().touchX, -1);
    endTouchFrame();
    EXPECT_FALSE(tapInRect(90, 190, 20, 20));
}

TEST_F(InputTest, ZoneEdgesAreInside) {
    IntArray* zone = flowtest::ints({10, 20, 30, 40});
    const jint cases[][3] = {{10, 20, 1}, {40, 60, 1}, {41, 60, 0}, {40, 61, 0}, {9, 20, 0}, {25, 19, 0}};
    for (const auto& c : cases) {
        pointerPressed(c[0], c[1]);
        EXPECT_EQ(isTouchInRect(zone), c[2] != 0) << c[0] << "," << c[1];
    }
    pointerReleased(0, 0);
    endTouchFrame();
    EXPECT_FALSE(isTouchInRect(zone));  // -1, -1 after the frame
}

TEST_F(InputTest, DragStartsAtSixPixels) {
    pointerPressed(100, 100);
    pointerDragged(105, 95);
    EXPECT_FALSE(cg().touchDragging);
    pointerDragged(106, 100);
    EXPECT_TRUE(cg().touchDragging);
    pointerReleased(106, 100);
    EXPECT_FALSE(cg().touchDragging);
}

TEST_F(InputTest, ShowcaseGetsRotatedPoints) {
    // The promotion screen's own hit test over the turned point: its soft
    // keys' corners (the right one at the bottom right of its 800 x 480).
    cg().gameState = 9;
    showcaseStatics()->screenWidth = 800;
    showcaseStatics()->screenHeight = 480;
    pointerPressed(100, 300);
    EXPECT_EQ(cg().pressX, 300);
    EXPECT_EQ(cg().pressY, 380);
    EXPECT_EQ(showcaseStatics()->pressedAction, Showcase::hitTest(300, 380));
    pointerReleased(10, 790);  // turned: (790, 470)
    EXPECT_EQ(cg().releaseX, 790);
    EXPECT_EQ(cg().releaseY, 470);
    EXPECT_EQ(showcaseStatics()->pressedAction, 0) << "the release lets go of the drawn press";
    if (const jint action = Showcase::hitTest(790, 470); action != 0) {
        EXPECT_EQ(showcaseStatics()->lastAction, action);
    }
}

TEST_F(InputTest, RowZonesAreTheViewRowsTurnedOntoTheCanvas) {
    // Three rows of 60 around view (400, 240): view rows 150-210, 210-270,
    // 270-330, each 600 wide; view (x, y) lies at canvas (480 - y, x).
    cg().listWindowRows = 4;
    setTouchMenu(3, 60, 400, 240);
    buildListRowZones();
    ASSERT_EQ(cg().listRowZones->length(), 3);
    const jint want[3][4] = {{270, 100, 60, 600}, {210, 100, 60, 600}, {150, 100, 60, 600}};
    for (jint i = 0; i < 3; ++i) {
        auto* z = static_cast<IntArray*>(cg().listRowZones->data()[i]);
        for (jint k = 0; k < 4; ++k) EXPECT_EQ(z->data()[k], want[i][k]) << i << "/" << k;
    }
    // No more rows than the window holds.
    cg().listWindowRows = 2;
    buildListRowZones();
    EXPECT_EQ(cg().listRowZones->length(), 2);
}

TEST_F(InputTest, ListArrowsNeedFiveEntries) {
    ObjectArray* zones = newObjectArray(cid::IntArray, 2);
    zones->data()[0] = flowtest::ints({0, 0, 50, 50});
    zones->data()[1] = flowtest::ints({100, 0, 50, 50});
    cg().listArrowZones = zones;
    cg().listWindowRows = 4;
    for (jint entries : {4, 5}) {
        setTouchMenu(entries, 60, 400, 240);
        resetTouchList(1);
        pointerPressed(10, 10);
        pointerReleased(10, 10);
        endTouchFrame();
        updateListArrows();
        EXPECT_EQ(cg().menuCursor, entries >= 5 ? 2 : 1) << entries;
    }
}

TEST_F(InputTest, PadZones) {
    buildPadZones();
    auto zone = [](jint j) { return static_cast<IntArray*>(cg().padZones->data()[j]); };
    const jint want[][4] = {{174, 0, 87, 87}, {174, 87, 137, 87}, {174, 174, 107, 107}, {87, 0, 87, 87},
                            {87, 174, 87, 137}, {0, 0, 87, 87},   {0, 87, 87, 87},     {0, 174, 87, 87},
                            {24, 566, 120, 120}, {114, 666, 120, 120}};
    for (jint j = 0; j < 10; ++j)
        for (jint k = 0; k < 4; ++k) EXPECT_EQ(zone(j)->data()[k], want[j][k]) << j << "/" << k;
}

}  // namespace

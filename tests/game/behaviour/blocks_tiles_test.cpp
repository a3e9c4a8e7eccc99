// Tile blocks: layout and collision stamp, refused sizes, cells remembered
// across streaming (32 cells at most, also past 256 cells), the tracked
// list's capacity, and the hero's cell tests.
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/world/map.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;

class BlockLayout : public BlocksTest {};

struct LayoutCase {
    int columns, rows, x, y;
    int endX, endY;
    int box[4];
};

TEST_F(BlockLayout, PositionAndBoxFromTheTopLeftCell) {
    emptyLevel();
    const LayoutCase cases[] = {
        {3, 2, 100, 200, 136, 236, {82, 164, 190, 236}},  // the crate of the demo level
        {1, 1, 100, 200, 100, 200, {82, 164, 118, 200}},  // one cell keeps its position
        {1, 4, 400, 324, 400, 432, {382, 288, 418, 432}}, // the wall
        {6, 1, 600, 300, 690, 300, {582, 264, 798, 300}},
    };
    int id = 40;
    for (const LayoutCase& c : cases) {
        cActor* a = block(kit::kDemoCrateSubtype, id++, c.x, c.y, {1, 12, 0, int16_t(c.columns), int16_t(c.rows)});
        ASSERT_NE(a, nullptr);
        SCOPED_TRACE(testing::Message() << c.columns << "x" << c.rows);
        EXPECT_EQ(a->posX, c.endX);
        EXPECT_EQ(a->posY, c.endY);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(a->box->data()[i], c.box[i]) << i;
        EXPECT_EQ(b::tileBlockColumns(a), c.columns);
        EXPECT_EQ(b::tileBlockRows(a), c.rows);
        for (int col = 0; col < c.columns; ++col)
            for (int row = 0; row < c.rows; ++row) EXPECT_EQ(b::tileBlockCell(a, col, row), b::kCellIntact);
    }
}

TEST_F(BlockLayout, SolidBlocksStampTheirIdAndOthersOnlyGetCells) {
    emptyLevel();
    cActor* solid = block(kit::kDemoCrateSubtype, 50, 100, 200, {1, 12, 0, 3, 2});
    cActor* ghost = block(kit::kDemoCrateSubtype, 51, 400, 200, {0, 12, 0, 3, 2});
    ASSERT_TRUE(solid && ghost);
    // Box {82, 164, 190, 236}: cells 2..5 x 5..6 (edges rounded to the nearest cell edge).
    EXPECT_EQ(cell(3, 5), solid->uniqueId | 0x2000);
    EXPECT_EQ(cell(4, 6), solid->uniqueId | 0x2000);
    EXPECT_EQ(b::tileBlockColumns(ghost), 3);
    EXPECT_EQ(cell(11, 5), -1);
    b::stampCollisionTiles(solid, 0);  // taken out: -1 over the box
    EXPECT_EQ(cell(3, 5), -1);
}

TEST_F(BlockLayout, CellSizesThatCannotDivideAreRefusedAtSetUp) {
    emptyLevel();
    LogCapture log;
    cActor* a = block(kit::kDemoCrateSubtype, 60, 100, 200, {1, 12, 0, 3, 2});
    ASSERT_NE(a, nullptr);
    for (int size : {0, -36}) {
        a->setTypeParam(6, size);
        a->tileBlock = nullptr;
        b::stampCollisionTiles(a, 1);
        EXPECT_EQ(a->tileBlock, nullptr);
        // With no cells nothing hits, breaks, settles or paints.
        EXPECT_FALSE(b::hitTileBlockCell(a, hero, 3, 5));
        b::updateType4(a);
        b::updateType4(a);
        b::paintType4(a, 0, 0);
    }
    EXPECT_TRUE(log.contains("cell size not positive"));
    a->setTypeParam(6, 36);
}

TEST_F(BlockLayout, BlocksBeyondTheCellLimitAreRefused) {
    emptyLevel();
    LogCapture log;
    cActor* a = block(kit::kDemoCrateSubtype, 61, 100, 200, {1, 12, 0, 200, 200});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->tileBlock, nullptr);
    EXPECT_TRUE(log.contains("too many cells"));
    // Cells so wide the block leaves the box's short range: refused too.
    cActor* wide = block(kit::kDemoCrateSubtype, 62, 100, 200, {1, 12, 0, 1000, 1});
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->tileBlock, nullptr);
    EXPECT_TRUE(log.contains("too large for its box"));
}

class TrackedCells : public BlocksTest {};

TEST_F(TrackedCells, StruckAndGoneCellsComeBackGoneAfterStreaming) {
    emptyLevel();
    cActor* a = block(kit::kDemoCrateSubtype, 70, 100, 200, {1, 12, 0, 3, 2});
    ASSERT_NE(a, nullptr);
    ASSERT_GE(b::findTrackedIndex(a->uniqueId), 0);
    b::setTileBlockCell(a, 1, 0, b::kCellStruck);
    b::setTileBlockCell(a, 2, 1, b::kCellGone);
    game::removeActor(a, true);  // release saves the mask
    const jint i = b::findTrackedIndex(70);
    // Cells count column by column: (1, 0) is cell 2, (2, 1) cell 5.
    EXPECT_EQ(game::ca().trackedCellMasks->data()[i], (1 << 2) | (1 << 5));
    cActor* again = block(kit::kDemoCrateSubtype, 70, 100, 200, {1, 12, 0, 3, 2});
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(b::tileBlockCell(again, 1, 0), b::kCellGone);
    EXPECT_EQ(b::tileBlockCell(again, 2, 1), b::kCellGone);
    EXPECT_EQ(b::tileBlockCell(again, 0, 0), b::kCellIntact);
    // Their collision cells hold the gone value (type parameter 12: -1).
    EXPECT_EQ(cell(3, 4 + 1), -1);
    EXPECT_EQ(cell(2, 5), again->uniqueId | 0x2000);
}

TEST_F(TrackedCells, OnlyTheFirst32CellsAreRememberedAlsoPastACounterOf256) {
    emptyLevel(60, 14);
    cActor* a = block(kit::kDemoCrateSubtype, 71, 40, 36, {0, 12, 0, 20, 15});  // 300 cells
    ASSERT_NE(a, nullptr);
    // Cell 33 (column 2, row 3) and cell 256 (column 17, row 1): neither has a
    // bit; a byte-wide counter would give cell 256 the bit of cell 0.
    b::setTileBlockCell(a, 2, 3, b::kCellStruck);
    b::setTileBlockCell(a, 17, 1, b::kCellStruck);
    b::setTileBlockCell(a, 2, 1, b::kCellStruck);  // cell 31
    game::removeActor(a, true);
    cActor* again = block(kit::kDemoCrateSubtype, 71, 40, 36, {0, 12, 0, 20, 15});
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(b::tileBlockCell(again, 2, 1), b::kCellGone);
    EXPECT_EQ(b::tileBlockCell(again, 2, 3), b::kCellIntact);
    EXPECT_EQ(b::tileBlockCell(again, 17, 1), b::kCellIntact);
    EXPECT_EQ(b::tileBlockCell(again, 0, 0), b::kCellIntact);
}

TEST_F(TrackedCells, AnUntrackedActorSavesAndRestoresNothing) {
    emptyLevel();
    cActor* a = block(kit::kDemoCrateSubtype, 72, 100, 200, {1, 12, 0, 3, 2});
    ASSERT_NE(a, nullptr);
    a->uniqueId = 999;  // never tracked
    b::setTileBlockCell(a, 0, 0, b::kCellStruck);
    b::saveTrackedCells(a);
    EXPECT_LT(b::findTrackedIndex(999), 0);
    b::setTileBlockCell(a, 0, 0, b::kCellIntact);
    b::restoreTrackedCells(a);
    EXPECT_EQ(b::tileBlockCell(a, 0, 0), b::kCellIntact);
}

TEST_F(TrackedCells, AFullListLeavesFurtherBlocksUntrackedWithOneLogLine) {
    emptyLevel();
    LogCapture log;
    const jint cap = game::ca().trackedIds ? game::ca().trackedIds->length() : 64;
    for (jint id = 1000; id < 1000 + cap; ++id) EXPECT_GE(b::addTrackedValue(id), 0);
    EXPECT_EQ(b::addTrackedValue(5000), -1);
    EXPECT_EQ(b::addTrackedValue(5001), -1);
    EXPECT_EQ(game::ca().trackedCount, cap);
    EXPECT_EQ(b::addTrackedValue(1000), 0);  // a tracked id is found, not added
    size_t lines = 0;
    for (const std::string& l : log.lines()) lines += l.find("tracked list full") != std::string::npos;
    EXPECT_EQ(lines, 1u);
}

class HeroCellTests : public BlocksTest {};

TEST_F(HeroCellTests, StandingOnAndBelowACell) {
    emptyLevel();
    cActor* a = block(kit::kDemoCrateSubtype, 80, 100, 200, {1, 12, 0, 3, 2});
    ASSERT_NE(a, nullptr);
    ShortArray* top = newShortArray(4);
    ShortArray* cellBox = newShortArray(4);
    cActor::setBox(cellBox, 82, 164, 118, 200);
    cActor::setBox(top, 90, 100, 110, 164);  // bottom on the cell's top
    EXPECT_TRUE(b::isStandingOn(top, cellBox));
    cActor::setBox(top, 90, 100, 110, 170);  // sunk into it
    EXPECT_FALSE(b::isStandingOn(top, cellBox));
    // Rising into cell (0, 1) from below: moving up only.
    cActor::setBox(hero->box, 90, 236, 110, 300);
    hero->motion->data()[3] = -512;
    EXPECT_TRUE(b::isHeroBelowBlockCell(a, 0, 1));
    hero->motion->data()[3] = 512;
    EXPECT_FALSE(b::isHeroBelowBlockCell(a, 0, 1));
    // Beside the cell, brought under it by the horizontal speed.
    cActor::setBox(hero->box, 122, 236, 142, 300);
    hero->motion->data()[3] = -512;
    EXPECT_FALSE(b::isHeroBelowBlockCell(a, 0, 1));
    hero->motion->data()[2] = -10 << 8;
    EXPECT_TRUE(b::isHeroBelowBlockCell(a, 0, 1));
}

}  // namespace

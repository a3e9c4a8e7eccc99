// Cell hits and breaks: the hit rules by hit bit and hero state, damage
// frames from the block's counter, gone and outside cells, the ram that
// starts the chain; the break with its sound delay, piece, collision cells
// and hidden item; settling and the chain state of the type-4 routine.
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/world/hero/state.h"
#include "game/world/map.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;

class CellHits : public BlocksTest {
protected:
    // The wall of the demo level: one column of four 36-px cells with its
    // box {382, 288, 418, 432}, hit bits `bits`, damage frames from 14.
    cActor* wall(int bits, int hits = 0) {
        emptyLevel();
        cActor* a = block(kit::kDemoWallSubtype, 90, 400, 324, {int16_t(bits), 14, 0, 1, 4});
        b::hitCount(a) = hits;
        return a;
    }
    void heroAt(int x, int y, int vy, int state) {
        hero->posX = x;
        hero->posY = y;
        cActor::setBox(hero->box, x - 17, y - 85, x + 17, y);
        hero->motion->data()[2] = 0;
        hero->motion->data()[3] = vy;
        game::ca().heroState = state;
    }
    // Collision cell (10, 10) is block cell (0, 2): y 360 .. 396, middle 378.
    static constexpr int kColumn = 10, kRow = 10;
};

TEST_F(CellHits, HitBitsDecideByHeroStateAndSide) {
    struct Case {
        int bits, state, heroY, vy;
        bool broke;
        const char* what;
    };
    const Case cases[] = {
        // Bit 1: the hero below the cell's middle (y > 378) takes the hit.
        {1, game::HeroState::FLY, 400, 0, true, "bit 1 below the middle"},
        {1, game::HeroState::FLY, 370, 0, false, "bit 1 above the middle"},
        {1, game::HeroState::STAND, 400, 0, false, "bit 1 not touchable in STAND"},
        // Bit 2: rising into the cell from below.
        {2, game::HeroState::JUMP, 490, -512, true, "bit 2 rising"},
        {2, game::HeroState::JUMP, 490, 512, false, "bit 2 falling"},
        // Bit 4: STOMP.
        {4, game::HeroState::STOMP, 300, 0, true, "bit 4 stomp"},
        {4, game::HeroState::JUMP, 300, 0, false, "bit 4 without stomp"},
        // Bit 16: POWER_RUN on the ground.
        {16, game::HeroState::POWER_RUN, 400, 0, true, "bit 16 power run"},
        {16, game::HeroState::WALK, 400, 0, false, "bit 16 walking"},
        // Bit 32: POWER_RUN rising from below.
        {32, game::HeroState::POWER_RUN, 490, -512, true, "bit 32 rising power run"},
        {0, game::HeroState::STOMP, 300, 0, false, "no bits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cActor* a = wall(c.bits);
        heroAt(400, c.heroY, c.vy, c.state);
        EXPECT_EQ(b::hitTileBlockCell(a, hero, kColumn, kRow), c.broke);
        EXPECT_EQ(b::tileBlockCell(a, 0, 2), c.broke ? b::kCellStruck : b::kCellIntact);
        TearDown();
        SetUp();
    }
}

TEST_F(CellHits, StompRecordsTheStruckBlockAndDashMarksTheHero) {
    cActor* a = wall(1 | 4);
    heroAt(360, 300, 0, game::HeroState::STOMP);
    EXPECT_TRUE(b::hitTileBlockCell(a, hero, kColumn, kRow));
    EXPECT_EQ(b::struckBlockId(), a->uniqueId);
    // Power run through a bit-16 wall: the hero's contact bit 1 and flag 64.
    cActor* w = block(kit::kDemoWallSubtype, 91, 600, 324, {16, 14, 0, 1, 4});
    heroAt(560, 400, 0, game::HeroState::POWER_RUN);
    b::contactFlags(hero) = 0;
    hero->flags &= ~64;
    EXPECT_TRUE(b::hitTileBlockCell(w, hero, 16, kRow));
    EXPECT_EQ(b::contactFlags(hero) & 1, 1);
    EXPECT_TRUE(hero->flags & 64);
}

TEST_F(CellHits, ADashingHeroBreaksThroughABit1Cell) {
    cActor* a = wall(1);
    heroAt(400, 400, 0, game::HeroState::DASH);  // attacking: the hero may touch blocks
    b::contactFlags(hero) = 0;
    hero->flags &= ~64;
    EXPECT_TRUE(b::hitTileBlockCell(a, hero, kColumn, kRow));
    EXPECT_EQ(b::contactFlags(hero) & 1, 1);
    EXPECT_TRUE(hero->flags & 64);
}

TEST_F(CellHits, DamageFramesCountDownTheBlocksHitsThenEveryHitBreaks) {
    cActor* a = wall(4, 3);
    heroAt(360, 300, 0, game::HeroState::STOMP);
    // params[1] = 14, three hits: frames 14 - 2, 14 - 1, then the break.
    EXPECT_FALSE(b::hitTileBlockCell(a, hero, kColumn, kRow));
    EXPECT_EQ(a->anim, 12);
    EXPECT_FALSE(b::hitTileBlockCell(a, hero, kColumn, kRow));
    EXPECT_EQ(a->anim, 13);
    EXPECT_TRUE(b::hitTileBlockCell(a, hero, kColumn, kRow));
    EXPECT_EQ(b::tileBlockCell(a, 0, 2), b::kCellStruck);
    // The counter is the block's: the next cell breaks at the first hit.
    EXPECT_TRUE(b::hitTileBlockCell(a, hero, kColumn, kRow - 1));
    EXPECT_EQ(b::hitCount(a), -1);
}

TEST_F(CellHits, GoneCellsAnswerTrueAndCellsOutsideTheBlockHold) {
    cActor* a = wall(4, 5);
    heroAt(360, 300, 0, game::HeroState::STOMP);
    b::setTileBlockCell(a, 0, 2, b::kCellGone);
    EXPECT_TRUE(b::hitTileBlockCell(a, hero, kColumn, kRow));
    EXPECT_EQ(b::hitCount(a), 5);
    // Column 12 lies right of the one-column block, row 14 below it.
    EXPECT_FALSE(b::hitTileBlockCell(a, hero, 12, kRow));
    EXPECT_FALSE(b::hitTileBlockCell(a, hero, kColumn, 14));
    EXPECT_FALSE(b::hitTileBlockCell(a, hero, 9, kRow));
    EXPECT_EQ(b::hitCount(a), 5);
}

TEST_F(CellHits, ActorsHitBySubtype) {
    struct Case {
        int subtype, aiState, bits, blockAnim;
        bool broke;
    };
    const Case cases[] = {
        {13, 5, 8, 0, true}, {13, 4, 8, 0, false}, {14, 5, 0, 0, false}, {112, 5, 8, 0, true},
        {92, 0, 0, 0, true}, {147, 3, 0, 0, true}, {199, 0, 0, 0, true},
        {20, 0, 0, 4, true}, {20, 0, 0, 3, false}, {150, 5, 8, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subtype);
        cActor* a = wall(c.bits);
        a->anim = c.blockAnim;
        cActor* other = worldtest::spawnRecord(kit::levelActorRecord(c.subtype, 95, 300, 400, 0, 160, {0, 0, 0, 0}));
        ASSERT_NE(other, nullptr);
        other->aiState = c.aiState;
        EXPECT_EQ(b::hitTileBlockCell(a, other, kColumn, kRow), c.broke);
        TearDown();
        SetUp();
    }
}

TEST_F(CellHits, ARamBreaksTheCellStartsTheChainAndIsBrokenItself) {
    cActor* a = wall(8);
    cActor* ram = worldtest::spawnRecord(kit::levelActorRecord(kit::kDemoRamSubtype, 96, 360, 400, 0, 160, {0, 0, 0, 0}));
    ASSERT_NE(ram, nullptr);
    EXPECT_FALSE(b::hitTileBlockCell(a, ram, kColumn, kRow));
    EXPECT_EQ(b::tileBlockCell(a, 0, 2), b::kCellStruck);
    EXPECT_EQ(a->aiState, 6);
    EXPECT_EQ(a->flags & 0xA0000, 0xA0000);
    // A second run into a broken cell: nothing more breaks.
    EXPECT_FALSE(b::hitTileBlockCell(a, ram, kColumn, kRow));
    // Neighbour requests outside the block are ignored.
    b::breakNeighbourCell(a, -1, 0);
    b::breakNeighbourCell(a, 1, 0);
    b::breakNeighbourCell(a, 0, 4);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(b::tileBlockCell(a, 0, r), r == 2 ? b::kCellStruck : b::kCellIntact);
}

class CellBreak : public BlocksTest {};

TEST_F(CellBreak, OneSoundForCellsBrokenTogetherThenAgainAfterSixFrames) {
    emptyLevel();
    cActor* a = block(kit::kDemoCrateSubtype, 100, 100, 200, {1, 12, 0, 3, 2});
    b::breakSoundDelay() = 0;
    b::breakTileBlockCell(a, 0, 0, -1);
    EXPECT_EQ(b::breakSoundDelay(), 6);
    b::breakSoundDelay() = 3;
    b::breakTileBlockCell(a, 1, 0, 15);
    EXPECT_EQ(b::breakSoundDelay(), 3);
    // The type-4 routine counts the delay down once a frame.
    a->aiState = 2;
    for (int f = 0; f < 3; ++f) {
        game::cg().playFrames += 1;
        b::updateType4(a);
        b::updateType4(a);  // a second block in the same frame: no second step
    }
    EXPECT_EQ(b::breakSoundDelay(), 0);
}

TEST_F(CellBreak, TheCellsCollisionAndByteChangeAndAPieceFalls) {
    emptyLevel();
    cActor* a = block(kit::kDemoCrateSubtype, 101, 100, 200, {1, 12, 0, 3, 2});
    const jint effectsBefore = game::ca().effectCount;
    b::breakTileBlockCell(a, 1, 1, 15);
    EXPECT_EQ(b::tileBlockCell(a, 1, 1), b::kCellStruck);
    EXPECT_EQ(cell(3, 6), -1);                     // the gone value under it
    EXPECT_EQ(cell(2, 6), a->uniqueId | 0x2000);  // its neighbour still solid
    EXPECT_GE(game::ca().effectCount, effectsBefore + 1);
    // An already broken cell breaks again (pieces, collision) but releases nothing.
    b::breakTileBlockCell(a, 1, 1, -1);
    EXPECT_EQ(b::tileBlockCell(a, 1, 1), b::kCellStruck);
}

TEST_F(CellBreak, AHiddenItemComesOutOnceAndBadIndicesAreSkipped) {
    emptyLevel(40, 14, "item 500 118 432 0 2 0 1 0 0 0\n");
    cActor* a = block(kit::kDemoCrateSubtype, 102, 100, 200, {1, 12, 0, 3, 2});
    ASSERT_EQ(game::ca().itemCount, 1);
    b::setTileBlockCell(a, 0, 0, 0);   // item row 0
    b::setTileBlockCell(a, 1, 0, 7);   // no such item row
    const jint before = game::cg().actorCount;
    LogCapture log;
    b::breakTileBlockCell(a, 0, 0, -1);
    ASSERT_EQ(game::cg().actorCount, before + 1);
    cActor* item = game::poolActor(before);
    EXPECT_EQ(item->subtype, 2);
    EXPECT_EQ(item->recordIndex, 0x2000000);
    EXPECT_EQ(item->posX, 100);
    EXPECT_EQ(item->posY, 200);
    b::breakTileBlockCell(a, 1, 0, -1);
    EXPECT_EQ(game::cg().actorCount, before + 1);
    EXPECT_TRUE(log.contains("hidden item 7 not released"));
    // A record marked taken stays hidden although its cell breaks.
    game::cg().tileAttributes->data()[0] = 1;
    b::setTileBlockCell(a, 2, 0, 0);
    b::breakTileBlockCell(a, 2, 0, -1);
    EXPECT_EQ(game::cg().actorCount, before + 1);
    EXPECT_EQ(b::tileBlockCell(a, 2, 0), b::kCellStruck);
}

TEST_F(CellBreak, UnknownTemplatesAndAFullPoolLeaveTheItemHidden) {
    emptyLevel(40, 14, "item 500 118 432 0 999 0 1 0 0 0\nitem 501 118 432 0 2 0 1 0 0 0\n");
    cActor* a = block(kit::kDemoCrateSubtype, 103, 100, 200, {1, 12, 0, 3, 2});
    b::setTileBlockCell(a, 0, 0, 0);  // template 999: none
    b::setTileBlockCell(a, 1, 0, 1);
    LogCapture log;
    const jint before = game::cg().actorCount;
    b::breakTileBlockCell(a, 0, 0, -1);
    EXPECT_EQ(game::cg().actorCount, before);
    EXPECT_TRUE(log.contains("template 999 not made"));
    while (game::cg().actorCount < game::kActorPoolSize)
        if (!worldtest::spawnRecord(kit::levelActorRecord(10, 0, 600, 100, 0, 160, {0}))) break;
    ASSERT_EQ(game::cg().actorCount, game::kActorPoolSize);
    b::breakTileBlockCell(a, 1, 0, -1);  // the pool is full: skipped
    EXPECT_EQ(game::cg().actorCount, game::kActorPoolSize);
    EXPECT_EQ(b::tileBlockCell(a, 1, 0), b::kCellStruck);
}

class BlockRoutine : public BlocksTest {
protected:
    cActor* crate(int columns, int rows) {
        emptyLevel();
        cActor* a = block(kit::kDemoCrateSubtype, 110, 100, 100, {1, 12, 0, int16_t(columns), int16_t(rows)});
        b::updateType4(a);  // state 0 -> 2
        hero->posX = 700;
        cActor::setBox(hero->box, 683, 347, 717, 432);
        return a;
    }
};

TEST_F(BlockRoutine, CellsAboveAStruckCellSettleOneRowAFrame) {
    cActor* a = crate(1, 3);
    ASSERT_EQ(a->aiState, 2);
    b::setTileBlockCell(a, 0, 2, b::kCellStruck);
    const jint before = game::cg().actorCount;
    b::updateType4(a);
    EXPECT_EQ(b::tileBlockCell(a, 0, 1), b::kCellStruck);
    EXPECT_EQ(b::tileBlockCell(a, 0, 0), b::kCellIntact);  // tested against the row below only
    EXPECT_EQ(game::cg().actorCount, before + 1);        // the falling cell (template 11)
    b::updateType4(a);
    EXPECT_EQ(b::tileBlockCell(a, 0, 0), b::kCellStruck);
}

TEST_F(BlockRoutine, HiddenItemsAndTheHerosPlaceHoldCells) {
    cActor* a = crate(2, 2);
    b::setTileBlockCell(a, 0, 1, b::kCellStruck);
    b::setTileBlockCell(a, 1, 1, b::kCellStruck);
    b::setTileBlockCell(a, 0, 0, 3);  // hides item 3
    // The hero stands on cell (1, 0): box {118, 64, 154, 100}.
    cActor::setBox(hero->box, 120, -21, 150, 64);
    b::updateType4(a);
    EXPECT_EQ(b::tileBlockCell(a, 0, 0), 3);
    EXPECT_EQ(b::tileBlockCell(a, 1, 0), b::kCellIntact);
    // Below it (the cell above the hero's head) also holds.
    cActor::setBox(hero->box, 120, 140, 150, 225);
    b::updateType4(a);
    EXPECT_EQ(b::tileBlockCell(a, 1, 0), b::kCellIntact);
    cActor::setBox(hero->box, 683, 347, 717, 432);
    b::updateType4(a);
    EXPECT_EQ(b::tileBlockCell(a, 1, 0), b::kCellStruck);
}

TEST_F(BlockRoutine, TheChainBreaksNeighboursOfGoneCellsThenSettles) {
    cActor* a = crate(3, 1);
    b::setTileBlockCell(a, 1, 0, b::kCellGone);  // a restored cell
    a->aiState = 6;
    a->flags |= 0xA0000;
    b::updateType4(a);  // breaks (0, 0) and (2, 0): written as struck, not gone
    EXPECT_EQ(b::tileBlockCell(a, 0, 0), b::kCellStruck);
    EXPECT_EQ(b::tileBlockCell(a, 2, 0), b::kCellStruck);
    EXPECT_EQ(a->aiState, 6);
    b::updateType4(a);  // a pass that broke nothing ends the chain
    EXPECT_EQ(a->aiState, 2);
    EXPECT_EQ(a->flags & 0xA0000, 0);
    EXPECT_EQ(b::tileBlockCell(a, 1, 0), b::kCellGone);
}

TEST_F(BlockRoutine, ABlockWithoutColumnsLeavesTheChainAtOnce) {
    cActor* a = crate(0, 2);
    a->aiState = 6;
    a->flags |= 0xA0000;
    b::updateType4(a);
    EXPECT_EQ(a->aiState, 2);
    EXPECT_EQ(a->flags & 0xA0000, 0);
    b::updateType4(a);  // settling does nothing
}

TEST_F(BlockRoutine, Subtype181TakesItsHitCountFromParameter8) {
    emptyLevel();
    cActor* a = block(181, 111, 100, 100, {1, 12, 0, 1, 1, 0, -1, 0, 4});
    ASSERT_NE(a, nullptr);
    a->type = 4;
    a->aiState = 0;
    b::updateType4(a);
    EXPECT_EQ(b::hitCount(a), 4);
}

}  // namespace

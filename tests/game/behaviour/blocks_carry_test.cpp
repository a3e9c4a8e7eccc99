// Carrying and pushers: which carriers take the hero as rider, carryable
// actors put on the hero's path, the held item collected; pusher walls
// shoving the hero, two closing pushers, the stroke's limit and timing.
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;

class Carrying : public BlocksTest {
protected:
    void SetUp() override {
        BlocksTest::SetUp();
        emptyLevel();
    }
    cActor* carrier(int type, int subState, int flags) {
        cActor* c = worldtest::spawnRecord(kit::levelActorRecord(10, 40, 300, 400, 0, 160, {0, 0, 0, 0}));
        c->type = type;
        c->aiState = subState;
        c->flags |= flags;
        b::carried(c) = nullptr;
        return c;
    }
};

TEST_F(Carrying, Type8TakesTheHeroExceptInSubStates9_13_14) {
    struct Case {
        int subState, flags;
        bool rides, marked;
        int anim;
    };
    const Case cases[] = {
        {2, 0x2000000, true, true, 6}, {3, 0x10000, true, true, -1}, {2, 0, true, false, -1},
        {4, 0x2000000, true, false, -1}, {9, 0, false, false, -1},  {13, 0, false, false, -1},
        {14, 0, false, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subState);
        cActor* k = carrier(8, c.subState, c.flags);
        b::animBase(k) = 5;
        k->anim = -1;
        hero->flags &= ~0x10000000;
        EXPECT_EQ(b::tryCarryHero(k), c.rides);
        EXPECT_EQ((hero->flags & 0x10000000) != 0, c.rides);
        EXPECT_EQ((k->aiState & int(0x80000000u)) != 0, c.marked);
        EXPECT_EQ(k->anim, c.anim);
    }
}

TEST_F(Carrying, RidersStayAndTargetSubtype255Refuses) {
    cActor* k = carrier(8, 2, 0);
    cActor* other = carrier(8, 2, 0);
    b::carried(k) = other;
    EXPECT_FALSE(b::tryCarryHero(k));
    EXPECT_EQ(b::carried(k), other);
    b::carried(k) = hero;
    EXPECT_TRUE(b::tryCarryHero(k));
    cActor* target = carrier(0, 0, 0);
    target->subtype = 255;
    game::cg().targetActor = target;
    EXPECT_FALSE(b::tryCarryHero(k));  // even with the hero riding
    game::cg().targetActor = nullptr;
    // No carrier may take the hero while collision bit 0x100000 is set.
    cActor* free = carrier(8, 2, 0);
    b::collisionResult() = 0x100000;
    EXPECT_FALSE(b::tryCarryHero(free));
    b::collisionResult() = 0;
    // A pusher takes the hero in every sub-state.
    cActor* pusher = carrier(88, 13, 0);
    EXPECT_TRUE(b::tryCarryHero(pusher));
}

TEST_F(Carrying, CarryablesGoOnTheHerosPath) {
    cActor* a = carrier(45, 0, 0);
    a->subtype = 33;
    b::physicsFlags(a) = 3;
    b::interactHeroType45(a, hero);
    EXPECT_EQ(b::pickupOriginX(), 300);
    EXPECT_EQ(a->aiState, 6);
    EXPECT_EQ(b::physicsFlags(a), 2);
    EXPECT_TRUE(game::cg().progressBits & 2);
    EXPECT_EQ(game::ca().stepTable, game::cg().carryOffsetsB);
    EXPECT_EQ(a->anim, 11);
    // Raised by 55 px above a hero of subtype 0.
    EXPECT_EQ(a->posY, hero->posY - 55);
    EXPECT_EQ(a->posX, hero->posX);
}

TEST_F(Carrying, CollectingWithoutAHeldItemStillMarksProgress) {
    cActor* a = carrier(45, 0, 0);
    b::heldItem() = nullptr;
    game::cg().progressBits = 0;
    b::collectHeldItem(a);
    EXPECT_EQ(game::cg().progressBits & 1, 1);
    EXPECT_EQ(a->anim, 1);
    EXPECT_EQ(a->aiState, 6);
    cActor* held = carrier(2, 0, 0);
    b::contactFlags(held) = 0x40;
    b::heldItem() = held;
    b::collectedMask() = 0;
    b::collectHeldItem(a);
    EXPECT_EQ(b::collectedMask() & 0x40, 0x40);
    EXPECT_EQ(b::heldItem(), nullptr);
    EXPECT_EQ(held->flags, 0x1040);
}

class Pushers : public BlocksTest {
protected:
    void SetUp() override {
        BlocksTest::SetUp();
        emptyLevel();
    }
    cActor* pusher(int id, int x, std::vector<int16_t> params) {
        cActor* p = worldtest::spawnRecord(kit::levelActorRecord(kit::kDemoPusherSubtype, id, x, 432, 0, 160, params));
        b::updateType88(p);  // set-up
        return p;
    }
    void step(cActor* p) {
        b::updateType88(p);
        // The framework's motion: x moves by vx.
        cActor::moveBy(p, p->motion->data()[2], 0);
        cActor::setBox(p->box, p->posX - 36, 360, p->posX + 36, 432);
    }
};

TEST_F(Pushers, StrokeOutAndBackOnTheCycleStoppingAtTheRangesEnd) {
    cActor* p = pusher(50, 300, {120, 5, 60, 1});
    ASSERT_EQ(p->aiState, 2);
    jint maxX = p->posX;
    for (int f = 0; f < 121; ++f) {
        step(p);
        maxX = std::max(maxX, p->posX);
    }
    // 4 px a frame from frame 5: the end (300 + 168) is reached and held
    // until frame 60, then the way home, where it stops again.
    EXPECT_LE(maxX, 300 + 168 + 4);
    EXPECT_GE(maxX, 300 + 168);
    EXPECT_LE(p->posX, 300);
    EXPECT_GE(p->posX, 300 - 4);
    EXPECT_EQ(b::counter(p), 0);  // the cycle ended and started again
}

TEST_F(Pushers, EqualStartAndReturnFramesNeverStrokeOut) {
    cActor* p = pusher(51, 300, {40, 5, 5, 1});
    for (int f = 0; f < 40; ++f) step(p);
    EXPECT_LE(p->posX, 300);
}

TEST_F(Pushers, OneShovesTheHeroTwoClosingStopTheOneThatFoundTheOther) {
    cActor* left = pusher(52, 170, {40, 0, 30, 1});
    cActor* right = pusher(53, 230, {40, 0, 30, -1});
    b::carried(left) = hero;
    b::carried(right) = hero;
    step(left);  // frame 0: overlapping the hero from its left, then the stroke starts
    EXPECT_EQ(b::blks().pusherLeftOfHero, left);
    EXPECT_EQ(left->motion->data()[2], 1024);
    step(right);
    EXPECT_EQ(b::blks().pusherRightOfHero, right);
    // Frame 1: each finds the other beside the hero and stops.
    step(left);
    EXPECT_EQ(left->motion->data()[2], 0);
    step(right);
    EXPECT_EQ(right->motion->data()[2], 0);
    // Apart from the hero a pusher drops out of both statics.
    right->posX = 900;
    cActor::setBox(right->box, 864, 360, 936, 432);
    b::updateType88(right);
    EXPECT_EQ(b::blks().pusherRightOfHero, nullptr);
}

TEST_F(Pushers, ASingleShoveNeverHurtsTwoClosingDo) {
    game::initLevelVariables();
    game::setVariable(9, 10, false);
    game::setVariable(3, 5, false);
    cActor* left = pusher(54, 170, {40, 0, 30, 1});
    b::carried(left) = hero;
    const jint x0 = hero->posX;
    for (int f = 0; f < 5; ++f) step(left);
    EXPECT_GT(hero->posX, x0);  // shoved along
    EXPECT_EQ(game::getVariable(3), 5);
    cActor* right = pusher(55, hero->posX + 30, {40, 0, 30, -1});
    b::carried(right) = hero;
    step(right);
    step(left);
    EXPECT_LT(game::getVariable(3), 5);  // caught between the two
}

}  // namespace

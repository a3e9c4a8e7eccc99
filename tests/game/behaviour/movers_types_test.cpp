// The small type behaviours and per-type routines: the holder's settling
// angle, the timed animation, the slow-down pickup's extra frame, the
// attack cycle of type 89, the delayed trap, the out-and-back projectile,
// the boss helper's arrival and pattern wait, the rising zone, the spinner
// and the carrying platform's set-up.
#include <gtest/gtest.h>

#include "game/actor/pool.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/fields_enemies.h"
#include "game/behaviour/movers.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;

class SmallTypes : public behaviourtest::BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        behaviourtest::loadLevel("layer 4 2 2\n..\n..\n");
        hero = behaviourtest::makeHero(100, 200);
    }
    cActor* actor(jint type, jint x, jint y, std::vector<int16_t> params = {}) {
        std::vector<int16_t> r = {182, static_cast<int16_t>(next++), static_cast<int16_t>(x), static_cast<int16_t>(y),
                                  7, 0, 160};
        r.insert(r.end(), params.begin(), params.end());
        cActor* a = behaviourtest::spawnRecord(r);
        a->type = type;
        a->aiState = 0;
        if (!a->motion) a->allocMotionState();
        cActor::moveTo(a, x * 256, y * 256);
        return a;
    }
    bool live(cActor* a) {
        for (jint i = 0; i < game::cg().actorCount; ++i)
            if (game::poolActor(i) == a) return true;
        return false;
    }
    cActor* hero = nullptr;
    int next = 300;
};

TEST_F(SmallTypes, HolderAngleSettlesByItsSquareRoot) {
    const std::pair<jint, jint> cases[] = {{1, 0}, {-1, 0}, {10, 7}, {-10, -7}, {0, 0}, {100, 90}};
    for (auto [before, after] : cases) {
        cActor* a = actor(41, 2000, 200);
        a->angle = before;
        counter(a) = 5;
        updateType41(a);
        EXPECT_EQ(a->angle, after) << before;
        EXPECT_EQ(counter(a), 4);
    }
    cActor* held = actor(41, 2000, 200);
    held->angle = 10;
    heroState() = 30;
    heroHoldActor() = held;
    updateType41(held);
    EXPECT_EQ(held->angle, 10) << "held by the hero: no settling";
    heroHoldActor() = nullptr;
}

TEST_F(SmallTypes, TimedAnimationEndsAfterItsMillisecondsOrNever) {
    cActor* a = actor(72, 2000, 200, {500});
    updateType72(a);
    EXPECT_EQ(a->aiState, 2);
    updateType72(a);
    EXPECT_EQ(a->aiState, 2) << "waits for another routine";
    a->aiState = 6;
    for (int i = 0; i < 7; ++i) updateType72(a);
    EXPECT_EQ(a->aiState, 6);
    EXPECT_EQ(a->anim, 2);
    updateType72(a);  // (500 * 16 + 500) / 1000 = 8 frames
    EXPECT_EQ(a->aiState, 2);
    EXPECT_EQ(a->anim, 0);

    cActor* forever = actor(72, 2000, 200, {-1});
    forever->aiState = 6;
    for (int i = 0; i < 200; ++i) updateType72(forever);
    EXPECT_EQ(forever->aiState, 6);
}

TEST_F(SmallTypes, SlowDownPickupNeedsAFrameInStateTwo) {
    cActor* a = actor(65, 100, 200);
    runSpeedFactor() = 256;
    updateType65(a);
    EXPECT_EQ(a->aiState, 2);
    EXPECT_EQ(runSpeedFactor(), 256) << "not active in the frame it leaves state 0";
    updateType65(a);
    EXPECT_EQ(a->aiState, 6);
    EXPECT_EQ(runSpeedFactor(), 153);
    EXPECT_EQ(heroSpeedTimer(), 128);
    updateType65(a);
    EXPECT_FALSE(live(a));
}

TEST_F(SmallTypes, AttackCycleOf56Frames) {
    cActor* a = actor(89, 2000, 200, {20, 20, -10, -20});
    updateType89(a);
    updateType89(a);
    ASSERT_EQ(a->aiState, 6);
    ASSERT_NE(a->attackBox, nullptr);
    std::vector<jint> anims;
    for (int f = 1; f <= 56 + 1; ++f) {
        updateType89(a);
        if (f == 13 || f == 18 || f == 57) anims.push_back(a->anim);
    }
    EXPECT_EQ(anims, (std::vector<jint>{3, 1, 2})) << "13: 3, 18: 1, and a new cycle starts at 0 with 2";
    EXPECT_EQ(cycleTicks(a), 1);
}

TEST_F(SmallTypes, AttackCycleHurtsOnlyOnFramesNineToTwelve) {
    cActor* a = actor(89, 100, 200, {20, 20, -10, -20});
    updateType89(a);
    updateType89(a);
    std::vector<int> hurt;
    for (int f = 1; f <= 56; ++f) {
        hero->timer = 0;  // no invulnerability between frames
        game::setVariable(3, 3, false);
        const jint before = game::getVariable(3);
        updateType89(a);
        if (game::getVariable(3) < before) hurt.push_back(f);
    }
    EXPECT_EQ(hurt, (std::vector<int>{9, 10, 11, 12}));
}

TEST_F(SmallTypes, ContactHazardHurtsWhileTouching) {
    cActor* a = actor(87, 100, 200);
    updateType87(a);
    EXPECT_EQ(a->aiState, 2);
    game::setVariable(3, 3, false);
    const jint before = game::getVariable(3);
    hero->timer = 0;
    updateType87(a);
    EXPECT_LT(game::getVariable(3), before);
    const jint after = game::getVariable(3);
    updateType87(a);
    EXPECT_EQ(game::getVariable(3), after) << "the hero's invulnerability limits the damage";
}

TEST_F(SmallTypes, DelayedTrapStrikesAfterItsDelay) {
    cActor* a = actor(79, 2000, 200, {3});
    updateType79(a);
    EXPECT_EQ(a->timer, 3);
    int frames = 0;
    while (a->aiState == 2 && frames < 10) {
        updateType79(a);
        ++frames;
    }
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(a->anim, 12);
    // Animation 12 done: back to waiting with animation 11.
    a->animPasses = 1;
    a->frame = a->frameTick = 0;
    updateType79(a);
    EXPECT_EQ(a->aiState, 0);
    EXPECT_EQ(a->anim, 11);
}

TEST_F(SmallTypes, ProjectileFliesOutAndBack) {
    cActor* target = actor(0, 50, 50);
    game::cg().targetActor = target;
    cActor* a = actor(99, 2000, 200);
    ObjectArray* l = newObjectArray(cid::cActor, 1);
    setLinked(target, l);
    ObjectArray::set(linked(target), 0, a);
    a->timer = 10;
    counter(a) = 4;
    a->motion->data()[2] = 600;
    int out = 0, back = 0;
    while (live(a) && out + back < 50) {
        const jint before = a->motion->data()[2];
        updateType99(a);
        if (before > 0 && a->motion->data()[2] > 0) ++out;
        else ++back;
    }
    EXPECT_EQ(out, 6) << "T - C frames out";
    EXPECT_EQ(back, 5) << "the turn, C - 1 frames back, then the removal frame";
    EXPECT_FALSE(live(a));
    EXPECT_EQ(linked(target)->data()[0], nullptr);
}

TEST_F(SmallTypes, BossHelperLeavesWhenItsTargetIsDefeated) {
    cActor* target = actor(0, 50, 50);
    target->parts = newIntArray(3);
    game::cg().targetActor = target;
    cActor* a = actor(103, 2000, 200);
    a->parts = newIntArray(2);
    a->parts->data()[0] = 2000 * 256;
    a->parts->data()[1] = 200 * 256;
    a->aiState = 3;
    nextState(a) = 9;
    updateType103(a);
    EXPECT_FALSE(live(a)) << "arrived after the target's last hit point";

    target->parts->data()[2] = 2;
    cActor* b = actor(103, 2000, 200);
    b->parts = newIntArray(2);
    b->parts->data()[0] = 2000 * 256;
    b->parts->data()[1] = 200 * 256;
    b->aiState = 3;
    nextState(b) = 6;
    updateType103(b);
    EXPECT_EQ(b->aiState, 6);
}

TEST_F(SmallTypes, BossHelperWaitsForPatternCodesEightAndTwenty) {
    IntArray* pattern = bossPattern();
    ASSERT_NE(pattern, nullptr);
    auto indexOf = [&](jint code) {
        for (jint i = 0; i < pattern->length(); ++i)
            if (pattern->data()[i] == code) return i;
        return -1;
    };
    cActor* a = actor(103, 2000, 200);
    updateType103(a);
    ASSERT_EQ(a->aiState, 6);
    bossStep() = indexOf(3);
    updateType103(a);
    EXPECT_EQ(a->aiState, 6) << "other codes leave it waiting";
    bossStep() = indexOf(8);
    step(a) = 4;
    updateType103(a);
    EXPECT_EQ(a->aiState, 20);
    EXPECT_EQ(step(a), 0);
    a->aiState = 6;
    bossStep() = indexOf(20);
    updateType103(a);
    EXPECT_EQ(a->aiState, 10);
    a->aiState = 6;
    bossStep() = 1000;
    updateType103(a);
    EXPECT_EQ(a->aiState, 6) << "a step past the pattern reads nothing";
}

TEST_F(SmallTypes, RisingZoneTouchesTheHeroEvenWithoutHeight) {
    // Zone: 100 wide from x - 50, bottom at y + 0 + (-100)... top rises 2 a frame.
    cActor* a = actor(76, 100, 300, {100, 0, -50, -100, 2});
    updateType76(a);
    EXPECT_EQ(originX(a), 50);
    EXPECT_EQ(spanRight(a), 150);
    EXPECT_EQ(originY(a), 200);
    EXPECT_EQ(a->posY, 200);
    EXPECT_EQ(a->box->data()[1], a->box->data()[3]) << "no height yet";
    hero->physicsFlags |= 1;
    hero->motion->data()[2] = 500;
    updateType76(a);
    EXPECT_EQ(hero->physicsFlags & 1, 0);
    EXPECT_EQ(hero->motion->data()[2], 0);

    cActor* far = actor(76, 2000, 300, {100, 0, -50, -100, 2});
    updateType76(far);
    for (int i = 0; i < 60; ++i) updateType76(far);
    EXPECT_EQ(far->posY, 100) << "rises by 2 a frame to its top, then stays";
}

TEST_F(SmallTypes, SpinnerSpinsDownUnlessRidden) {
    spinDecay() = 3;
    spinStep() = 10;
    cActor* a = actor(101, 2000, 200, {0, 0, 0, 0, 7});
    updateType101(a);
    EXPECT_EQ(a->getParam(4), 4);
    EXPECT_EQ(a->angle, 40);
    updateType101(a);
    updateType101(a);
    EXPECT_EQ(a->getParam(4), 0);
    EXPECT_EQ(a->angle, 50);
    EXPECT_EQ(a->box->data()[2] - a->box->data()[0], 80);
    a->setParam(4, 9);
    carried(a) = hero;
    updateType101(a);
    EXPECT_EQ(a->getParam(4), 9) << "a rider keeps the spin";
    carried(a) = nullptr;
}

TEST_F(SmallTypes, MarkerSetsItsBoxAndParts) {
    cActor* a = actor(50, 500, 300, {0, 0, 0, 0, 0, 0, 0, 0, 0, 42});
    updateType50(a);
    EXPECT_EQ(a->aiState, 2);
    ASSERT_NE(a->parts, nullptr);
    EXPECT_EQ(a->parts->data()[1], 42);
    EXPECT_EQ(a->box->data()[0], 475);
    EXPECT_EQ(a->box->data()[3], 325);
    a->parts = nullptr;
    updateType50(a);
    EXPECT_EQ(a->parts, nullptr) << "only in state 0";
}

TEST_F(SmallTypes, PlatformRestsAndReturnsToItsBaseAnimation) {
    cActor* a = actor(9, 2000, 200);
    a->anim = 4;
    updateType9(a);
    EXPECT_EQ(a->aiState, 2);
    EXPECT_EQ(baseAnim(a), 4);
    EXPECT_EQ(a->physicsFlags, 0x1100200);
    a->setAnim(5);
    a->animPasses = 1;
    updateType9(a);
    EXPECT_EQ(a->anim, 4);
    a->aiState = 27;
    updateType9(a);
    EXPECT_EQ(a->aiState, 28);
    game::ca().collisionResult = 0x100000;
    const jint y = a->posY;
    updateType9(a);
    EXPECT_EQ(a->aiState, 2);
    EXPECT_EQ(a->posY, y - 1);
    game::ca().collisionResult = 0;
}

}  // namespace

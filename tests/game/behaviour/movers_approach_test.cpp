// Approach and contact routines: steering with a braking curve (the
// leading axis turned toward the target, the fixed push within one step,
// the refused wrap of t x t), arrival facing the hero, the camera limits,
// a type-8 contact and the fall as type 11.
#include <gtest/gtest.h>

#include "game/actor/pool.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/fields.h"
#include "game/flow/variables.h"
#include "game/world/hero/machine.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;

class Approach : public behaviourtest::BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        behaviourtest::loadLevel("layer 4 2 2\n..\n..\n");
        hero = behaviourtest::makeHero(100, 200);
    }
    cActor* mover(jint x, jint y, jint tx256, jint ty256) {
        cActor* a = behaviourtest::spawnRecord({182, static_cast<int16_t>(next++), static_cast<int16_t>(x),
                                                static_cast<int16_t>(y), 7, 0, 160});
        if (!a->motion) a->allocMotionState();
        cActor::moveTo(a, x * 256, y * 256);
        a->parts = newIntArray(2);
        a->parts->data()[0] = tx256;
        a->parts->data()[1] = ty256;
        return a;
    }
    bool live(cActor* a) {
        for (jint i = 0; i < game::cg().actorCount; ++i)
            if (game::poolActor(i) == a) return true;
        return false;
    }
    cActor* hero = nullptr;
    int next = 400;
};

TEST_F(Approach, ZeroLeadingVelocityChangesNothing) {
    cActor* a = mover(100, 100, 200 * 256, 50 * 256);
    a->motion->data()[1] = 77;
    approachSteerX(a);
    EXPECT_EQ(a->motion->data()[1], 77);
    a->motion->data()[0] = 55;
    approachSteerY(a);
    EXPECT_EQ(a->motion->data()[0], 55);
}

TEST_F(Approach, LeadingVelocityTurnsTowardTheTargetAndTheOtherAxisBrakes) {
    cActor* a = mover(100, 100, 200 * 256, 60 * 256);
    jint* m = a->motion->data();
    m[2] = -512;  // pointing away
    approachSteerX(a);
    EXPECT_EQ(m[2], 512);
    // t = 25600 / 512 = 50 frames; ay = 2 * (-10240 - 0) / 2500.
    EXPECT_EQ(m[1], 2 * (60 * 256 - 100 * 256) / 2500);

    cActor* b = mover(100, 100, 60 * 256, 200 * 256);
    b->motion->data()[3] = 1024;
    approachSteerY(b);
    EXPECT_EQ(b->motion->data()[0], 2 * (60 * 256 - 100 * 256) / (25 * 25));
}

TEST_F(Approach, WithinOneStepTheOtherAxisGetsAFixedPush) {
    cActor* a = mover(100, 100, 100 * 256 + 100, 120 * 256);
    jint* m = a->motion->data();
    m[2] = 512;
    approachSteerX(a);
    EXPECT_EQ(m[1], 512);
    EXPECT_EQ(m[2], 100) << "the step is shortened to end on the target";

    cActor* b = mover(100, 100, 100 * 256 + 100, 80 * 256);
    b->motion->data()[2] = 512;
    approachSteerX(b);
    EXPECT_EQ(b->motion->data()[1], -512);
}

TEST_F(Approach, FramesLeftWhoseSquareWrapsAreRefused) {
    // t = 65536: t x t wraps to 0 in 32 bits.
    cActor* a = mover(0, 0, 0, 0);
    a->parts->data()[0] = 65536;
    a->motion->data()[2] = 1;
    a->motion->data()[1] = 33;
    approachSteerX(a);
    EXPECT_EQ(a->motion->data()[1], 33) << "refused: nothing changes";
}

TEST_F(Approach, ArrivalTurnsTowardTheHero) {
    cActor* a = mover(300, 200, 300 * 256, 200 * 256);
    bossStep() = 4;
    EXPECT_NE(arriveAndFaceHero(a), 0);
    EXPECT_EQ(a->aiState, 6);
    EXPECT_EQ(a->anim, 11);
    EXPECT_EQ(bossStep(), 5);
    EXPECT_EQ(a->facing, 0) << "the hero is to the left";

    cActor* b = mover(300, 200, 400 * 256, 200 * 256);
    b->motion->data()[2] = 256;
    EXPECT_EQ(arriveAndFaceHero(b), 0);
    EXPECT_EQ(b->facing, 1);
}

TEST_F(Approach, CameraLimitsIncludeTheirEdges) {
    IntArray* limits = newIntArray(4);
    game::cg().cameraLimits = limits;
    jint* l = game::cg().cameraLimits->data();
    l[0] = 0;
    l[1] = 0;
    l[2] = 1000;
    l[3] = 500;
    cActor* edge = mover(1000, 500, 0, 0);
    EXPECT_EQ(leaveCameraLimits(edge), 0);
    EXPECT_TRUE(live(edge));
    cActor* out = mover(1001, 500, 0, 0);
    EXPECT_EQ(leaveCameraLimits(out), 1);
    EXPECT_FALSE(live(out));
    EXPECT_EQ(out->aiState, 30);
}

TEST_F(Approach, HazardContactByDamageAndSubtype) {
    game::setVariable(3, 3, false);
    game::hero::setHeroState(hero, 0);
    const jint health = game::getVariable(3);
    cActor* plain = behaviourtest::spawnRecord({182, 450, 100, 200, 7, 0, 160, 0, 0, 0, 0});
    hazardContact(plain);  // damage 0, not subtype 49: nothing
    EXPECT_EQ(game::getVariable(3), health);
    EXPECT_EQ(heroState(), 0);

    cActor* pusher = behaviourtest::spawnRecord({49, 451, 100, 200, 7, 0, 160, 0, 0, 0, 0});
    hazardContact(pusher);  // subtype 49, damage 0: pushed back without damage
    EXPECT_EQ(game::getVariable(3), health);
    EXPECT_NE(heroState(), 0);

    cActor* never = behaviourtest::spawnRecord({182, 452, 100, 200, 7, 0, 160, 0, 0, 0, -1});
    hero->timer = 0;
    hazardContact(never);
    EXPECT_EQ(game::getVariable(3), health) << "negative damage: nothing";
}

TEST_F(Approach, TypeEightContactMarksATypeSixAndFallsForTheHero) {
    cActor* platform = mover(300, 200, 0, 0);
    cActor* other = mover(400, 200, 0, 0);
    other->type = 6;
    other->contactFlags = 0;
    contactType8(platform, other);
    EXPECT_EQ(other->contactFlags, 8);
    EXPECT_NE(platform->type, 11);

    platform->type = 8;
    carried(platform) = hero;
    hero->flags |= 0x10000000;
    animBase(platform) = 20;
    contactType8(platform, hero);
    EXPECT_EQ(platform->type, 11);
    EXPECT_EQ(carried(platform), nullptr) << "it drops the hero before it falls";
    EXPECT_EQ(hero->flags & 0x10000000, 0);
    EXPECT_EQ(platform->anim, 23);
    EXPECT_EQ(platform->physicsFlags, 0);
}

}  // namespace

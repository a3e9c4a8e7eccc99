// The common enemy AI: set-up values, the lifetimes of the timed types,
// leaving the view, the vanish signal, the type-73 set-up frames, the
// spawner children's drops, LEAVE's generator bookkeeping and the defeat
// entry.
#include <gtest/gtest.h>

#include "game/actor/pool.h"
#include "game/behaviour/enemies.h"
#include "game/behaviour/fields.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"
#include "tools/kit/demo_movers.h"

namespace game::behaviour {
void updateEnemy(cActor* self);
}

namespace {

using namespace game::behaviour;

class CommonEnemy : public behaviourtest::BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        behaviourtest::loadLevel("layer 4 2 2\n..\n..\n");
        hero = behaviourtest::makeHero(100, 200);
        game::cg().cameraX = 400;
    }

    // A common enemy of `type` far from the hero, its physics off so only
    // the routine moves it; set up when `setUp` is true.
    cActor* enemy(jint type, jint x = 3000, bool setUp = true) {
        cActor* a = behaviourtest::spawnRecord({131, static_cast<int16_t>(next++), static_cast<int16_t>(x), 200, 7, 9,
                                                160, 16, 16, -8, -16, 0});
        a->type = type;
        a->aiState = kEnemySetup;
        if (setUp) step(a);
        return a;
    }
    void step(cActor* a) {
        game::ca().collisionResult = 0;
        updateEnemy(a);
        a->physicsFlags &= ~0x1000000;
    }
    bool live(cActor* a) {
        for (jint i = 0; i < game::cg().actorCount; ++i)
            if (game::poolActor(i) == a) return true;
        return false;
    }
    static void finishAnim(cActor* a) {
        a->animPasses = 1;
        a->frame = 0;
        a->frameTick = 0;
    }

    cActor* hero = nullptr;
    int next = 100;
};

TEST_F(CommonEnemy, TimedTypesLeaveAfter57FramesActive) {
    for (jint type : {36, 51, 69, 84, 105, 96, 82}) {
        cActor* a = enemy(type, 3000, type != 96);
        a->aiState = kEnemyActive;
        a->timer = 56;
        int frames = 0;
        while (a->aiState == kEnemyActive && frames < 100) {
            step(a);
            ++frames;
        }
        EXPECT_EQ(frames, 57) << "type " << type;
        EXPECT_EQ(a->aiState, kEnemyLeave) << "type " << type;
        EXPECT_TRUE(live(a)) << "removed only on the frame LEAVE is handled";
        step(a);
        EXPECT_FALSE(live(a)) << "type " << type;
    }
}

TEST_F(CommonEnemy, SetUpStoresTheLifetimes) {
    struct Case {
        jint type, timer, state;
    };
    const Case cases[] = {{14, 40, kEnemyActive}, {36, 56, kEnemyActive}, {51, 56, kEnemyActive},
                          {69, 56, kEnemyActive}, {84, 24, kEnemyActive}, {100, 56, kEnemyActive},
                          {105, 16, kEnemyActive}, {82, 16, kEnemyActive}, {85, -1, kEnemyActive},
                          {86, -1, kEnemyActive}, {104, -1, kEnemyApproach}, {18, -1, kEnemyIdle}};
    for (const Case& c : cases) {
        cActor* a = enemy(c.type, 3000, false);
        a->timer = 0;
        step(a);
        EXPECT_EQ(a->aiState, c.state) << "type " << c.type;
        if (c.timer != -1 || c.type == 85 || c.type == 86) { EXPECT_EQ(a->timer, c.timer) << "type " << c.type; }
        EXPECT_NE(a->physicsFlags & 0x2, 0) << "physics flags set up, type " << c.type;
    }
}

TEST_F(CommonEnemy, ThrownShotFliesByItsFacing) {
    cActor* a = enemy(84, 3000, false);
    a->facing = 0;
    step(a);
    EXPECT_EQ(a->motion->data()[2], -3072);
    EXPECT_EQ(a->motion->data()[0], -76);
    EXPECT_EQ(a->posX, 3000 - 46);
    EXPECT_EQ(a->getParam(4), 0) << "the has-hit mark is cleared";
}

TEST_F(CommonEnemy, Type85LeavesWhenItsLifeTicksReach39) {
    cActor* a = enemy(85);
    int frames = 0;
    while (a->aiState == kEnemyActive && frames < 100) {
        step(a);
        ++frames;
    }
    EXPECT_EQ(frames, 39);
    EXPECT_EQ(lifeTicks(a), 39);
    EXPECT_EQ(a->aiState, kEnemyLeave);
}

TEST_F(CommonEnemy, ShotsLeaveMoreThan800PixelsFromTheCameraTheWayTheyMove) {
    for (jint type : {34, 60}) {
        cActor* right = enemy(type, 1200);
        right->motion->data()[2] = 100;
        step(right);
        EXPECT_EQ(right->aiState, kEnemyActive) << "800 px right is still in";
        cActor::moveBy(right, 256, 0);
        right->motion->data()[2] = 0;
        step(right);
        EXPECT_EQ(right->aiState, kEnemyLeave) << "type " << type;

        cActor* left = enemy(type, -401);
        left->motion->data()[2] = -100;
        step(left);
        EXPECT_EQ(left->aiState, kEnemyLeave) << "type " << type;
        cActor* back = enemy(type, -401);
        back->motion->data()[2] = 100;
        step(back);
        EXPECT_EQ(back->aiState, kEnemyActive) << "moving right, far left is fine";
    }
}

TEST_F(CommonEnemy, VanishSignalTurnsAnyStateIntoAnEffect) {
    for (jint state : {0, 2, 6, 11, 9}) {
        cActor* a = enemy(36, 3000, false);
        a->aiState = state;
        worldFlags() = 16;
        step(a);
        worldFlags() = 0;
        EXPECT_EQ(a->type, 3) << "state " << state;
        EXPECT_EQ(a->anim, 7);
        EXPECT_EQ(a->physicsFlags, 0);
        EXPECT_NE(a->flags & 0x20000, 0);
    }
}

TEST_F(CommonEnemy, Type73RepeatsItsSetUpUntilItsLimit) {
    launchLimits() = newIntArray(6);  // half its length: 3
    for (jint limit : {2, 9}) {
        cActor* a = enemy(73, 3000, false);
        counter(a) = 0;
        counterLimit(a) = limit;
        int frames = 0;
        while (a->aiState == kEnemySetup && frames < 20) {
            step(a);
            ++frames;
            if (a->aiState == kEnemySetup) { EXPECT_EQ(a->anim, 2); }
        }
        EXPECT_EQ(frames, std::min(limit, 3)) << "limit " << limit;
        EXPECT_EQ(a->anim, 3);
        EXPECT_EQ(a->motion->data()[2], 5888);
        EXPECT_EQ(a->timer, 56);
    }
}

// A spawner's child (types 16, 26, 35 with parts[6] = 1) drops for its
// target when its own defeat animation ends, whether that goes on to
// animation 26 (16: 38, 35: 25) or ends the actor (26: 42); three drops at
// most per target.
TEST_F(CommonEnemy, SpawnerChildrenDropAtMostThreeActors) {
    struct Case {
        jint type, defeatAnim;
        bool staysFor26;
    };
    const Case cases[] = {{16, 38, true}, {26, 42, false}, {35, 25, true}};
    jint id = 90;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        cActor* target = behaviourtest::spawnRecord({131, static_cast<int16_t>(id++), 50, 50, 7, 0, 160});
        ASSERT_NE(target, nullptr);
        target->parts = newIntArray(11);
        game::cg().targetActor = target;
        const jint before = game::cg().actorCount;
        jint children = 0;
        for (int i = 0; i < 5; ++i) {
            cActor* a = enemy(c.type, 3000 + 40 * i, false);
            a->parts = newIntArray(7);
            a->parts->data()[6] = 1;
            a->aiState = kEnemyDefeated;
            step(a);
            EXPECT_EQ(a->anim, c.defeatAnim) << "started by type";
            finishAnim(a);
            step(a);
            // A child that ends leaves its pool slot, which the drop may take.
            if (c.staysFor26) {
                EXPECT_TRUE(live(a));
                EXPECT_EQ(a->anim, 26);
                ++children;
            } else {
                EXPECT_FALSE(live(a) && a->type == c.type) << "the child left";
            }
            if (i == 0) {
                EXPECT_EQ(target->parts->data()[10], 1) << "the first child dropped";
            }
        }
        EXPECT_EQ(target->parts->data()[10], 3);
        EXPECT_EQ(game::cg().actorCount - before, children + 3) << "the children left and three drops";
        while (game::cg().actorCount > before) game::removeActor(game::poolActor(game::cg().actorCount - 1), false);
    }
}

TEST_F(CommonEnemy, DefeatedDropperStartsItsAnimationAndLeavesWhenDone) {
    cActor* a = enemy(15, 3000, false);
    a->aiState = kEnemyDefeated;
    step(a);
    EXPECT_EQ(a->anim, 3);
    finishAnim(a);
    step(a);
    EXPECT_FALSE(live(a));
}

TEST_F(CommonEnemy, LeaveCountsDownTheGeneratorsChildren) {
    cActor* owner = behaviourtest::spawnRecord({131, 91, 50, 50, 7, 0, 160});
    owner->parts = newIntArray(7);
    owner->parts->data()[6] = 2;
    owner->contactFlags = 0;
    for (int k = 0; k < 2; ++k) {
        cActor* a = enemy(36);
        ObjectArray* l = newObjectArray(cid::cActor, 1);
        setLinked(a, l);
        ObjectArray::set(linked(a), 0, owner);
        a->aiState = kEnemyLeave;
        step(a);
        EXPECT_FALSE(live(a));
    }
    EXPECT_EQ(owner->parts->data()[6], 0);
    EXPECT_NE(owner->contactFlags & 0x80000, 0);
}

TEST_F(CommonEnemy, DefeatEntry) {
    cActor* owner = behaviourtest::spawnRecord({131, 92, 50, 50, 7, 0, 160});
    owner->contactFlags = 0;
    tileOwner() = owner;
    cActor* a = enemy(18);
    a->anim = 1;
    a->flags |= 0x800;
    defeatEnemy(a, 0);
    EXPECT_EQ(a->aiState, kEnemyDefeated);
    EXPECT_EQ(a->anim, 2);
    EXPECT_NE(owner->contactFlags & 0x10000, 0);
    EXPECT_EQ(a->flags & 0x800, 0);

    cActor* b = enemy(18);
    b->anim = 1;
    defeatEnemy(b, 1);
    EXPECT_EQ(b->aiState, kEnemyLeave);

    cActor* c = enemy(18);
    c->anim = 4;
    defeatEnemy(c, 0);
    EXPECT_EQ(c->anim, 8);
    tileOwner() = nullptr;
}

TEST_F(CommonEnemy, LaunchTowardAPointSetsUpFirst) {
    cActor* a = enemy(36, 3000, false);
    EXPECT_TRUE(launchEnemyToward(a, 3100, 200, 256, 1024));
    EXPECT_EQ(a->aiState, kEnemyActive);
    EXPECT_EQ(a->timer, 56) << "the set-up ran once";
    EXPECT_GT(a->motion->data()[0], 0);
    EXPECT_EQ(a->motion->data()[2], 0);
    EXPECT_FALSE(launchEnemyToward(nullptr, 0, 0, 0, 0));
}

TEST_F(CommonEnemy, InvulnerableHeroStillMakesContactTypesLeave) {
    game::setVariable(3, 3, false);
    const jint health = game::getVariable(3);
    hero->timer = 20;  // invulnerable
    for (jint type : {16, 34, 35, 60, 15, 90}) {
        cActor* a = enemy(type, 100);
        step(a);
        EXPECT_EQ(a->aiState, kEnemyLeave) << "type " << type;
    }
    cActor* guarded = enemy(36, 100);
    cActor::moveTo(guarded, 100 * 256, 200 * 256);
    step(guarded);
    EXPECT_EQ(guarded->aiState, kEnemyActive) << "unguarded paths do nothing";
    EXPECT_EQ(game::getVariable(3), health);
    hero->timer = 0;
    step(guarded);
    EXPECT_EQ(guarded->aiState, kEnemyLeave);
    EXPECT_EQ(guarded->getParam(4), 1) << "marked as having hit";
    EXPECT_LT(game::getVariable(3), health);
}

TEST_F(CommonEnemy, MissingBossKeepsBossHelpersWaiting) {
    game::cg().boss = nullptr;
    cActor* a = enemy(95);
    EXPECT_EQ(a->aiState, kEnemySetup);
    a->aiState = kEnemyActive;
    step(a);
    EXPECT_EQ(a->aiState, kEnemyActive) << "inert without a boss";
}

}  // namespace

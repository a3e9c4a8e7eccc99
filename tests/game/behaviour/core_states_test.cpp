// Breaking, type 11, respawn, the phase entries and the small state
// entries; the kill and loseLife paths of the hero's death.
#include "game/behaviour/death.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/states.h"
#include "game/behaviour/types.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

class CoreStates : public BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        hero = behaviourtest::makeHero(300, 300);
        ASSERT_NE(hero, nullptr);
        game::setVariable(3, 10, false);
        actor = behaviourtest::spawnRecord({1, 50, 400, 300, 0, 3, 0xA0, 0, 0, 20});
        ASSERT_NE(actor, nullptr);
        actor->allocMotionState();
        actor->setRespawnInfo(400, 300, 3);
    }
    cActor* hero = nullptr;
    cActor* actor = nullptr;
};

TEST_F(CoreStates, BreakPlaysAsTypeElevenAndRespawnsFromTheRecord) {
    actor->subtype = 33;
    const jint ownType = actor->type;
    actor->motion->data()[2] = 500;
    breakActor(actor);
    EXPECT_EQ(actor->type, 11);
    EXPECT_EQ(actor->anim, 12);
    EXPECT_EQ(actor->physicsFlags, 0);
    EXPECT_NE(actor->flags & 0x20000, 0);
    EXPECT_EQ(actor->motion->data()[2], 0);
    EXPECT_EQ(actor->respawnRecord->data()[0], 20);  // parameter 2 + the (empty) animation's duration
    EXPECT_EQ(updateFor(11), &updateType11);
    actor->animPasses = 1;  // animation done
    updateType11(actor);
    EXPECT_EQ(actor->type, ownType);
    EXPECT_EQ(actor->flags & 0xA0, 0);
    cActor::moveTo(actor, 10 << 8, 10 << 8);
    respawn(actor);
    EXPECT_EQ(actor->posX, 400);
    EXPECT_EQ(actor->anim, 3);
    EXPECT_EQ(actor->respawnRecord->data()[0], -1);
    EXPECT_EQ(actor->flags & 0xA0, 0xA0);
}

TEST_F(CoreStates, RespawnWithoutPlaceOnlyShows) {
    hideForRespawn(actor, 30);
    EXPECT_EQ(actor->respawnRecord->data()[0], 30);
    EXPECT_EQ(actor->flags & 0xA0, 0);
    cActor::moveTo(actor, 10 << 8, 10 << 8);
    actor->aiState = 7;
    respawn(actor);
    EXPECT_EQ(actor->posX, 10);
    EXPECT_EQ(actor->aiState, 7);
    EXPECT_EQ(actor->flags & 0xA0, 0xA0);
    EXPECT_EQ(actor->respawnRecord->data()[0], -1);
}

TEST_F(CoreStates, OtherSubtypesDoNotBreak) {
    actor->subtype = 1;
    const jint type = actor->type;
    breakActor(actor);
    EXPECT_EQ(actor->type, type);
    actor->subtype = 14;
    breakActor(actor);
    EXPECT_EQ(actor->type, 3);
    EXPECT_EQ(actor->anim, 5);
}

TEST_F(CoreStates, PhaseEntries) {
    actor->parts = newIntArray(11);
    actor->parts->data()[9] = 100;
    enterPhase47(actor);
    EXPECT_EQ(actor->aiState, 47);
    EXPECT_EQ(actor->nextState, 48);
    EXPECT_EQ(actor->anim, 172);
    EXPECT_EQ(counter(actor), 1);
    enterPhase51(actor, 1);
    EXPECT_EQ(actor->nextState, 51);
    EXPECT_EQ(actor->anim, 154);
    EXPECT_EQ(counter(actor), 2);
    actor->contactFlags = 0x2004;
    enterPhase52(actor, 7, 3);
    EXPECT_EQ(actor->contactFlags, 1);
    EXPECT_EQ(actor->anim, 107);
    cActor* other = behaviourtest::spawnRecord({1, 52, 200, 200, 0, 0, 0xA0});
    enterGrabPhase(actor, other, 0);
    EXPECT_EQ(actor->timer, 48);
    EXPECT_EQ(other->aiState, 47);
    EXPECT_EQ(other->posX, actor->posX);
    enterGrabPhase(actor, other, 1);
    EXPECT_EQ(actor->timer, 13);
    EXPECT_EQ(other->aiState, 51);
}

TEST_F(CoreStates, PartsCycleKeepsTheRemainderSign) {
    actor->parts = newIntArray(11);
    actor->parts->data()[9] = 2;
    actor->parts->data()[10] = -3;  // remainder -1: no entry
    actor->aiState = 9;
    updatePartsCycle(actor);
    EXPECT_EQ(actor->aiState, 9);
    EXPECT_EQ(actor->parts->data()[10], 0);
    updatePartsCycle(actor);  // 0: phase 51
    EXPECT_EQ(actor->nextState, 51);
    EXPECT_EQ(actor->parts->data()[10], 1);
}

TEST_F(CoreStates, DefeatByHitNeedsAPendingHit) {
    hero->attackBox = newShortArray(4);
    cActor::setBox(hero->attackBox, 0, 0, 1000, 1000);
    partnerMode() = 10;
    actor->contactFlags = 0;
    EXPECT_FALSE(tryDefeatByHit(actor));
    EXPECT_EQ(partnerMode(), 1);
    EXPECT_EQ(partnerActor(), actor);
    actor->contactFlags = 0x200000;
    EXPECT_TRUE(tryDefeatByHit(actor));
    EXPECT_EQ(actor->type, 3);
    EXPECT_EQ(actor->anim, 7);
}

TEST_F(CoreStates, TypeTwoQueueStoresOnlyBelowItsLength) {
    type2QueueCount() = 0;
    const jint n = type2Queue()->length();
    for (jint i = 0; i < n + 3; ++i) queueType2Value(actor, i + 1);
    EXPECT_EQ(type2QueueCount(), n);
    EXPECT_EQ(type2Queue()->data()[n - 1], n);
    EXPECT_EQ(type2Countdown(), 48);
    EXPECT_EQ(type2Actor(), actor);
}

TEST_F(CoreStates, DespawnRemovesWhatItCarries) {
    cActor* other = behaviourtest::spawnRecord({1, 53, 200, 200, 0, 0, 0xA0});
    actor->carried = other;
    despawnActor(actor);
    EXPECT_EQ(actor->aiState, 2);
    EXPECT_EQ(actor->carried, nullptr);
}

TEST_F(CoreStates, KillOnceEmptiesEnergyAndEntersDeath) {
    grabMode() = 3;
    cActor* held = behaviourtest::spawnRecord({1, 54, 200, 200, 0, 0, 0xA0});
    grabbedActor() = held;
    game::cg().currentMusic = 4;
    kill(hero);
    EXPECT_EQ(game::getVariable(3), 0);
    EXPECT_EQ(heroState(), 23);
    EXPECT_EQ(hero->timer, 53);
    EXPECT_EQ(actionNextState(), 0x1000016);
    EXPECT_EQ(grabMode(), 10);
    EXPECT_EQ(grabbedActor(), nullptr);
    EXPECT_NEAR(held->box->data()[2] - held->box->data()[0], 33, 1);  // the box rule rounds the width
    EXPECT_EQ(game::cg().currentMusic, -1);
    EXPECT_EQ(game::cg().cameraFlags, 9);
    EXPECT_NE(worldFlags() & 2, 0);
    hero->timer = 7;
    kill(hero);  // already dead: nothing
    EXPECT_EQ(hero->timer, 7);
}

TEST_F(CoreStates, LoseLifeOfAnotherActorOnlyParksIt) {
    loseLife(actor);
    EXPECT_EQ(actor->aiState, 1);
    EXPECT_EQ(game::getVariable(3), 10);
}

}  // namespace

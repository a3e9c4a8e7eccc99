// Actor messages: each message's effect and result, the hit rules of
// message 28, the checked array entries of messages 8, 12 and 43, and
// unlisted numbers doing nothing.
#include "game/behaviour/fields.h"
#include "game/behaviour/messages.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

class CoreMessages : public BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        hero = behaviourtest::makeHero(300, 300);
        ASSERT_NE(hero, nullptr);
        game::setVariable(3, 10, false);
        heroState() = 0;
        actor = behaviourtest::spawnRecord({1, 50, 400, 300, 0, 0, 0xA0, 0, 0, 0, 0, 0});
        ASSERT_NE(actor, nullptr);
        actor->allocMotionState();
        actor->parts = newIntArray(9);
        actor->parts->data()[2] = 3;
    }
    jint send(jint message, jint parameter, jint flags = 0) { return onMessage(actor, flags, message, parameter); }
    cActor* hero = nullptr;
    cActor* actor = nullptr;
};

TEST_F(CoreMessages, UnlistedNumbersDoNothing) {
    const jint flags = actor->flags, state = actor->aiState;
    for (jint n : {0, 1, 15, 20, 24, 26, 27, 30, 31, 32, 33, 36, 37, 39, 40, 41, 42, 62, 63, -5, 1000}) {
        EXPECT_EQ(send(n, 123), 63) << n;
        EXPECT_EQ(actor->flags, flags) << n;
        EXPECT_EQ(actor->aiState, state) << n;
    }
}

TEST_F(CoreMessages, FacingMessages) {
    EXPECT_EQ(send(5, 0), 63);
    EXPECT_EQ(actor->facing, 0);  // the hero is to the left
    send(6, 0);
    EXPECT_EQ(actor->facing, 1);
}

TEST_F(CoreMessages, MotionAndFlagMessages) {
    EXPECT_EQ(send(23, 0x0001FFFF), 63);
    EXPECT_EQ(actor->motion->data()[2], 1);
    EXPECT_EQ(actor->motion->data()[3], 65535);
    EXPECT_EQ(actor->motion->data()[8], 65535);
    send(10, 0);
    EXPECT_EQ(actor->physicsFlags, 0x1000107);
    send(47, 0);
    EXPECT_EQ(actor->physicsFlags, 0x1000103);
    send(46, 0);
    EXPECT_EQ(actor->physicsFlags, 0x1000107);
    send(11, 17);
    EXPECT_EQ(game::cg().shakeTimer, 17);
    send(13, 4);
    EXPECT_EQ(actor->anim, 4);
}

TEST_F(CoreMessages, TimerAndPartsMessageTouchesOnlyExistingEntries) {
    send(12, 40);
    EXPECT_EQ(actor->timer, 40);
    send(12, (1 << 16) | 41);
    EXPECT_EQ(actor->parts->data()[8], 41);
    actor->parts->data()[4] = 99;
    send(12, 0x8004);
    EXPECT_EQ(actor->timer, 99);
    send(12, 0x8000 | 500);  // parts[500] does not exist: nothing changes
    EXPECT_EQ(actor->timer, 99);
    actor->parts = newIntArray(1);
    send(12, (1 << 16) | 5);  // no parts[8]
    send(8, 0);               // no parts[0..1]... parts[0] only
    EXPECT_EQ(actor->parts->data()[0], hero->posX);
    EXPECT_EQ(send(43, 0), 63);  // no linked array
}

TEST_F(CoreMessages, ImmunityAndLinkResult) {
    hitImmune(actor) = 1;
    actor->linkIndex = -1;
    EXPECT_EQ(send(55, 0), 2);
    EXPECT_EQ(hitImmune(actor), 0);
}

TEST_F(CoreMessages, LookAheadMessages) {
    send(44, 0);
    EXPECT_EQ(game::cg().lookMode, 1);
    EXPECT_EQ(game::cg().lookAheadForcedX, 75);
    send(45, 0);
    EXPECT_EQ(game::cg().lookMode, 66);
    EXPECT_EQ(game::cg().lookAheadForcedX, 30001);
    game::cg().lookMode = 0;
    send(45, 0);
    EXPECT_EQ(game::cg().lookMode, 0);
}

TEST_F(CoreMessages, TouchHurtsUnlessTheHeroAttacks) {
    hero->timer = 0;
    EXPECT_EQ(send(4, 2 << 8), 63);
    EXPECT_LT(game::getVariable(3), 10);
    heroState() = 5;  // attacking
    actor->subtype = 41;
    EXPECT_EQ(send(4, 0), 1);
    EXPECT_EQ(actor->anim, 8);
    EXPECT_EQ(actor->nextAnim, 9);
    actor->subtype = 1;  // no death animation: still 1
    EXPECT_EQ(send(4, 0), 1);
    heroState() = 12;
    EXPECT_EQ(send(4, 0), 63);  // hit points left
}

TEST_F(CoreMessages, HitRulesOfMessage28) {
    actor->subtype = 41;
    heroState() = 0;
    EXPECT_EQ(send(28, 0, 2048), 63);  // not attacking
    heroState() = 5;
    hero->facing = 0;  // the actor is to the right: facing 0 looks at it
    EXPECT_EQ(send(28, 0), 1);
    EXPECT_EQ(actor->anim, 8);
    hero->facing = 1;
    EXPECT_EQ(send(28, 0), 63);  // looking away
    hero->facing = 0;
    hitImmune(actor) = 1;
    EXPECT_EQ(send(28, 0), 63);
    hitImmune(actor) = 0;
    actor->subtype = 202;
    actor->aiState = 3;
    EXPECT_EQ(send(28, 0), 63);
    actor->aiState = 10;
    EXPECT_EQ(send(28, 0), 1);
}

TEST_F(CoreMessages, ThrowHitTakesPointsThenStunsOrKills) {
    actor->subtype = 97;
    heroState() = 12;
    hero->facing = 0;
    EXPECT_EQ(send(28, 0, 0), 63);  // without 2048
    actor->aiState = 6;
    const jint x = actor->posX;
    EXPECT_EQ(send(28, 0, 2048), 9);
    EXPECT_EQ(actor->parts->data()[2], 2);
    EXPECT_EQ(actor->timer, 32);
    EXPECT_EQ(actor->posX, x + 15);
    EXPECT_EQ(actor->anim, 7);
    actor->aiState = 2;
    EXPECT_EQ(send(28, 0, 2048), 63);
    EXPECT_EQ(send(28, 0, 2048), 1);
    EXPECT_EQ(actor->anim, 8);
}

TEST_F(CoreMessages, SpawnMessagesMarkAndSkipUnknownTemplates) {
    // Template 192 is not in the demo tables' templates: nothing spawns, no crash.
    actor->flags &= ~0x20000;
    EXPECT_EQ(send(57, 0), 63);
    EXPECT_NE(actor->flags & 0x20000, 0);
    EXPECT_EQ(send(7, 31999), 63);
}

}  // namespace

// Actor messages: each message's effect and result, the hit rules of
// message 28, the checked array entries of messages 8, 12 and 43, and
// unlisted numbers doing nothing.
#include "game/actor/pool.h"
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

// Messages 22 and 60: one hit point a message, the subtype's hurt
// animation while points are left; at the last point the hero's facing and
// the death animation, and the dying state as the result.
TEST_F(CoreMessages, HitBySubtypeTakesAPointAndPlaysTheSubtypesAnimations) {
    struct Case {
        jint subtype, hurt, hurtThen, death, deathThen;
    };
    const Case cases[] = {{119, 7, 7, 8, 9},    {59, 5, 6, 7, 8},   {155, 5, 6, 7, 8}, {172, 5, 6, 7, 8},
                          {188, 5, 6, 7, 8},    {218, 43, 44, 45, 46}, {58, 3, 1, 3, 3}, {29, 8, 4, 9, 10},
                          {41, 7, 0, 8, 9}};
    hero->facing = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "subtype " << c.subtype);
        actor->subtype = c.subtype;
        actor->facing = 0;
        actor->setAnim(0);
        actor->parts->data()[2] = 2;
        EXPECT_EQ(send(22, 0), 63);
        EXPECT_EQ(actor->parts->data()[2], 1);
        EXPECT_EQ(actor->anim, c.hurt);
        EXPECT_EQ(actor->nextAnim, c.hurtThen);
        EXPECT_EQ(actor->facing, 0);
        EXPECT_EQ(send(22, 0), 1);
        EXPECT_EQ(actor->parts->data()[2], 0);
        EXPECT_EQ(actor->anim, c.death);
        EXPECT_EQ(actor->nextAnim, c.deathThen);
        EXPECT_EQ(actor->facing, 1) << "the hero's facing";
    }
    // Without a parts array the first hit kills.
    actor->parts = nullptr;
    EXPECT_EQ(send(22, 0), 1);
}

// Message 60 marks the actor spawned and takes it out of the level before
// its hit: hurt (63) with a point left, dying (1) at the last.
TEST_F(CoreMessages, Message60LeavesTheLevelThenTakesTheHit) {
    struct Case {
        jint points, result, anim;
    };
    const Case cases[] = {{2, 63, 5}, {1, 1, 7}};
    int16_t id = 60;
    for (const Case& c : cases) {
        cActor* a = behaviourtest::spawnRecord({1, id++, 400, 300, 0, 0, 0xA0, 0, 0, 0, 0, 0});
        ASSERT_NE(a, nullptr);
        a->subtype = 155;
        a->parts = newIntArray(9);
        a->parts->data()[2] = c.points;
        a->flags &= ~0x20000;
        const jint uid = a->uniqueId;
        EXPECT_EQ(onMessage(a, 0, 60, 0), c.result) << c.points;
        EXPECT_EQ(a->parts->data()[2], c.points - 1);
        EXPECT_EQ(a->anim, c.anim);
        EXPECT_NE(a->flags & 0x20000, 0);
        EXPECT_EQ(game::getActorById(uid), nullptr) << "out of the level";
    }
}

// A rule program that sends message 22 hands its hit result to the rule
// runner: hurt goes on to the rule's next state, the last point ends in
// the dying state.
TEST_F(CoreMessages, RuleSendingMessage22ReportsTheDyingState) {
    ObjectArray* program = newObjectArray(cid::IntArray, 1);
    IntArray* rules = newIntArray(2);
    rules->data()[0] = (1 << 12) | (22 << 6) | 0;  // condition bit 1, message 22, next state 0
    rules->data()[1] = 0;
    program->data()[0] = rules;
    actor->aiState = 0;
    actor->subtype = 29;
    actor->parts->data()[2] = 2;
    EXPECT_EQ(runRules(actor, program, 1), 0);
    EXPECT_EQ(actor->anim, 8);
    EXPECT_EQ(runRules(actor, program, 1), 1);
    EXPECT_EQ(actor->anim, 9);
}

TEST_F(CoreMessages, SpawnMessagesMarkAndSkipUnknownTemplates) {
    // Template 192 is not in the demo tables' templates: nothing spawns, no crash.
    actor->flags &= ~0x20000;
    EXPECT_EQ(send(57, 0), 63);
    EXPECT_NE(actor->flags & 0x20000, 0);
    EXPECT_EQ(send(7, 31999), 63);
}

}  // namespace

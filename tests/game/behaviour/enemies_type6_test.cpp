// The rule-driven enemy: program selection by subtype, the first matching
// pair then the unconditional chain, 63 fall-through, states outside their
// program, short animation rows, the first step on a link row, link
// following with waits, the charge of subtype 225, dying with corpse and
// fade, the grab offer.
#include <gtest/gtest.h>

#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/enemies.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/messages.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"

namespace game::behaviour {
void updateType6(cActor* self);
}

namespace {

using namespace game::behaviour;

constexpr jint rule(jint mask, jint message, jint next) { return (mask << 12) | (message << 6) | next; }
// A message no routine answers (it returns 63 and changes nothing).
constexpr jint kQuiet = 15;

class RuleEnemy : public behaviourtest::BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        behaviourtest::loadLevel("layer 4 2 2\n..\n..\n"
                                 "link 11 300 200 12 0 0\nlink 12 600 200 11 0 1000\n"
                                 "link 13 300 300 14 0 0\nlink 14 600 300 0 0 1000\n");
        hero = behaviourtest::makeHero(100, 200);
        game::cg().cameraX = 400;
    }

    // A 12-state program with the given rows (others empty).
    static ObjectArray* program(std::initializer_list<std::pair<int, std::vector<jint>>> rows) {
        ObjectArray* p = newObjectArray(cid::IntArray, 12);
        for (jint s = 0; s < 12; ++s) ObjectArray::set(p, s, newIntArray(0));
        for (const auto& [state, ints] : rows) {
            IntArray* r = newIntArray(static_cast<jint>(ints.size()));
            for (size_t i = 0; i < ints.size(); ++i) r->data()[i] = ints[i];
            ObjectArray::set(p, state, r);
        }
        return p;
    }

    cActor* enemy(jint subtype, jint x, jint link, jint state) {
        cActor* a = behaviourtest::spawnRecord({static_cast<int16_t>(subtype), static_cast<int16_t>(next++),
                                                static_cast<int16_t>(x), 200, 7, 0, 160,
                                                static_cast<int16_t>(link), 24, 24, -12, -24});
        a->type = 6;
        if (!a->motion) a->allocMotionState();
        a->aiState = state;
        a->linkIndex = -1;
        return a;
    }
    void step(cActor* a) {
        game::ca().collisionResult = 0;
        updateType6(a);
    }

    cActor* hero = nullptr;
    int next = 100;
};

TEST_F(RuleEnemy, FirstMatchThenTheChainWhateverItsConditions) {
    // Pair 1 matches on bit 0x80 (timer running), decides nothing; pair 2's
    // mask matches nothing, yet it runs and decides state 7.
    rules55() = program({{4, {rule(0x80, kQuiet, 63), 0, rule(0x400000, kQuiet, 7), 0, rule(1, kQuiet, 9), 0}}});
    cActor* a = enemy(55, 2000, -1, 4);
    a->timer = 10;
    step(a);
    EXPECT_EQ(a->aiState, 7);
}

TEST_F(RuleEnemy, NoMatchingPairKeepsTheState) {
    rules55() = program({{4, {rule(0x400000, kQuiet, 7), 0}}});
    cActor* a = enemy(55, 2000, -1, 4);
    step(a);
    EXPECT_EQ(a->aiState, 4);
}

TEST_F(RuleEnemy, AChainThatNeverDecidesKeepsTheState) {
    rules55() = program({{4, {rule(1, kQuiet, 63), 0, rule(1, kQuiet, 63), 0}}});
    cActor* a = enemy(55, 2000, -1, 4);
    step(a);
    EXPECT_EQ(a->aiState, 4);
}

TEST_F(RuleEnemy, StateOutsideItsProgramHasNoRules) {
    rules55() = program({{4, {rule(1, kQuiet, 7), 0}}});
    cActor* a = enemy(55, 2000, -1, 20);
    step(a);
    EXPECT_EQ(a->aiState, 20);
    EXPECT_EQ(runRules(a, rules55(), 1), -1);
    EXPECT_EQ(runRules(a, nullptr, 1), -1);
}

TEST_F(RuleEnemy, UnlistedSubtypeIsInert) {
    cActor* a = enemy(30, 2000, 11, 0);
    a->anim = 5;
    a->motion->data()[2] = 300;
    step(a);
    EXPECT_EQ(a->aiState, 0);
    EXPECT_EQ(a->anim, 5);
    EXPECT_EQ(a->motion->data()[2], 300);
    EXPECT_EQ(selectRules(a).row, -1);
}

TEST_F(RuleEnemy, SubtypesSelectTheirProgramAndRow) {
    struct Case {
        jint subtype, row;
        ObjectArray* (*program)();
    };
    const Case cases[] = {{27, 0, [] { return rules27(); }},   {71, 1, [] { return rules41(); }},
                          {269, 2, [] { return rules55(); }},  {150, 4, [] { return rules97(); }},
                          {148, 8, [] { return rules148(); }}, {231, 18, [] { return rules64(); }},
                          {229, 17, [] { return rules229(); }}, {225, 16, [] { return rules225(); }}};
    for (const Case& c : cases) {
        cActor* a = enemy(c.subtype, 2000, -1, 2);
        const RuleSelection s = selectRules(a);
        EXPECT_EQ(s.row, c.row) << c.subtype;
        EXPECT_EQ(s.program, c.program()) << c.subtype;
    }
    cActor* immune = enemy(86, 2000, -1, 2);
    hitImmune(immune) = 1;
    EXPECT_EQ(selectRules(immune).program, rules86Immune());
    EXPECT_EQ(selectRules(immune).row, 3);
    hitImmune(immune) = 0;
    EXPECT_EQ(selectRules(immune).program, rules86());
    EXPECT_EQ(selectRules(immune).row, 2);
}

TEST_F(RuleEnemy, ShortOrMissingAnimationRowsReadMinusOne) {
    EXPECT_EQ(stateAnimation(0, 11), 2);    // a row of 12
    EXPECT_EQ(stateAnimation(0, 12), -1);   // past its end
    EXPECT_EQ(stateAnimation(0, -1), -1);
    EXPECT_EQ(stateAnimation(19, 3), -1);   // no such row
    EXPECT_EQ(stateAnimation(2, 3), 1);
}

TEST_F(RuleEnemy, FirstStepPlacesTheActorOnItsLinkRow) {
    rules55() = program({});
    cActor* a = enemy(55, 2000, 11, 0);
    step(a);
    EXPECT_EQ(a->aiState, 3);
    EXPECT_EQ(a->posX, 300) << "placed on row 11";
    EXPECT_EQ(a->linkIndex, game::findTableIndex(12)) << "standing on row 11, it heads on for row 12";
    EXPECT_EQ(a->anim, 1) << "row 2's animation for state 3";
    EXPECT_EQ(a->physicsFlags & 0x1000004, 0x1000004);

    cActor* b = enemy(55, 2000, -1, 0);
    step(b);
    EXPECT_EQ(b->aiState, 2);
    EXPECT_EQ(b->physicsFlags & 0x1000000, 0) << "no link: no physics";
}

TEST_F(RuleEnemy, FollowsItsLoopWithoutStopping) {
    rules55() = program({});
    cActor* a = enemy(55, 300, 11, 0);
    step(a);
    ASSERT_EQ(a->aiState, 3);
    a->physicsFlags &= ~0x1000000;  // no tiles here: plain motion
    EXPECT_EQ(a->linkIndex, game::findTableIndex(12)) << "standing on row 11, it heads on for row 12";
    EXPECT_GT(a->motion->data()[0], 0) << "accelerating right toward row 12";
    int frames = 0;
    while (a->linkIndex == game::findTableIndex(12) && frames < 400) {
        a->update();
        ++frames;
    }
    EXPECT_EQ(a->aiState, 3) << "a row with a wait inside a loop is passed";
    EXPECT_EQ(a->linkIndex, game::findTableIndex(11)) << "back to A";
    EXPECT_LT(a->motion->data()[0], 0);
}

TEST_F(RuleEnemy, WaitsAtTheEndOfItsChain) {
    rules55() = program({});
    cActor* a = enemy(55, 300, 13, 0);
    step(a);
    ASSERT_EQ(a->aiState, 3);
    a->physicsFlags &= ~0x1000000;
    int frames = 0;
    while (a->aiState == 3 && frames < 400) {
        a->update();
        ++frames;
    }
    EXPECT_EQ(a->aiState, 5) << "the last row's 1000 ms";
    EXPECT_EQ(a->timer, 16);
    EXPECT_EQ(a->linkIndex, -1);
    EXPECT_NEAR(a->posX, 600, 2);
}

TEST_F(RuleEnemy, ChargeOfSubtype225ThatTouchesTheHeroStopsInStateThree) {
    // State 2 decides state 9, whose row-16 animation is 8: the charge.
    rules225() = program({{2, {rule(1, kQuiet, 9), 0}}});
    cActor* a = enemy(225, 100, -1, 2);
    a->facing = 1;
    step(a);
    EXPECT_EQ(a->aiState, 3);
    EXPECT_EQ(a->anim, 8);
    EXPECT_EQ(a->motion->data()[2], 0);

    cActor* far = enemy(225, 2000, -1, 2);
    far->facing = 0;
    step(far);
    EXPECT_EQ(far->aiState, 9);
    EXPECT_EQ(far->motion->data()[2], -1920);
    EXPECT_EQ(far->anim, 8);
}

TEST_F(RuleEnemy, DyingActorFadesAndIsRemovedOrStaysAsACorpse) {
    rules55() = program({{4, {rule(1, kQuiet, 1), 0}}});
    cActor* a = enemy(55, 2000, -1, 4);
    fade(a) = 30;
    a->anim = 2;
    step(a);
    ASSERT_EQ(a->aiState, 1);
    // Without a sprite the animation ends by its passes.
    a->animPasses = 1;
    a->frame = 0;
    a->frameTick = 0;
    step(a);
    EXPECT_EQ(fade(a), 15);
    const jint count = game::cg().actorCount;
    step(a);
    EXPECT_EQ(game::cg().actorCount, count - 1) << "faded out: removed";

    cActor* corpse = enemy(55, 500, -1, 4);
    corpse->flags |= static_cast<jint>(0x80000000u);
    step(corpse);
    ASSERT_EQ(corpse->aiState, 1);
    corpse->animPasses = 1;
    corpse->frame = 0;
    corpse->frameTick = 0;
    corpse->viewRating = 0;
    const jint before = game::cg().actorCount;
    step(corpse);
    step(corpse);
    EXPECT_EQ(game::cg().actorCount, before) << "a corpse in view stays";
    corpse->viewRating = 3;
    step(corpse);
    EXPECT_EQ(game::cg().actorCount, before - 1) << "out of view it goes";
}

// The demo walker's program as the kit writes it (subtype 55, program 3).
TEST_F(RuleEnemy, DemoWalkerShootsOnItsTimerHurtsOnTouchAndDiesOnAHit) {
    cActor* a = enemy(55, 2000, 11, 0);
    game::cg().randomSeed = 1;
    const jint pool = game::cg().actorCount;
    step(a);
    ASSERT_EQ(a->aiState, 3);
    EXPECT_EQ(game::cg().actorCount, pool + 1) << "the timer ran out: one shot";
    cActor* shot = game::poolActor(game::cg().actorCount - 1);
    EXPECT_EQ(shot->subtype, 192);
    EXPECT_EQ(shot->type, 84);
    EXPECT_EQ(a->timer, 40) << "and the timer rewound";
    step(a);
    EXPECT_EQ(game::cg().actorCount, pool + 1) << "no shot while the timer runs";

    // Touching the hero hurts it.
    game::setVariable(3, 3, false);
    const jint health = game::getVariable(3);
    hero->timer = 0;
    cActor::moveTo(a, 100 * 256, 200 * 256);
    step(a);
    EXPECT_LT(game::getVariable(3), health);

    // A hit by the attacking hero facing it kills it (death animation 2 then 3).
    cActor::moveTo(a, 130 * 256, 200 * 256);
    hero->facing = 0;
    heroState() = 5;
    a->contactFlags |= 0x4;
    step(a);
    EXPECT_EQ(a->aiState, 1);
    EXPECT_EQ(a->anim, 2);
    EXPECT_EQ(a->nextAnim, 3);
}

TEST_F(RuleEnemy, ContactWordIsOneAfterEveryStep) {
    rules55() = program({});
    cActor* a = enemy(55, 2000, -1, 4);
    a->contactFlags = 0x40;
    step(a);
    EXPECT_EQ(a->contactFlags, 1);
}

TEST_F(RuleEnemy, HeroAttackBoxOffersTheGrab) {
    rules55() = program({});
    cActor* a = enemy(55, 100, -1, 4);
    hero->attackBox = newShortArray(4);
    cActor::setBox(hero->attackBox, 80, 150, 120, 200);
    partnerMode() = 2;
    partnerActor() = nullptr;
    step(a);
    EXPECT_EQ(partnerMode(), 1);
    EXPECT_EQ(partnerActor(), a);
}

}  // namespace

// The three-phase melee boss (type 97): close attacks A, A, B; distance
// attacks by damage phase (throws, charges, both in turn from a throw); at
// most two hits per reaction; B first after a charge; the bounce of a hero
// standing on it; the returning projectile; one defeat script.
#include <gtest/gtest.h>

#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/bosses_support.h"

namespace {

using namespace bossestest;
namespace b = game::behaviour;

class MeleeBossTest : public BossTest {
protected:
    void SetUp() override {
        BossTest::SetUp();
        game::setVariable(3, 50, false);
        boss = arena(97, 120);
        ASSERT_NE(boss, nullptr);
        step();
        ASSERT_EQ(boss->aiState, 45);
    }
    // The states chosen after each lead-in (47), in order, until n are seen.
    std::vector<jint> attacks(size_t n, int limit = 4000) {
        std::vector<jint> seen;
        jint last = boss->aiState;
        for (int i = 0; i < limit && seen.size() < n; ++i) {
            step();
            if (boss->aiState == 47 && last != 47) seen.push_back(b::nextState(boss));
            last = boss->aiState;
        }
        return seen;
    }
    void moveHero(jint x) {
        cActor::moveTo(hero, x << 8, hero->posY << 8);
        cActor::setBox(hero->box, x - 17, hero->posY - 85, x + 17, hero->posY);
    }
    cActor* boss = nullptr;
};

TEST_F(MeleeBossTest, CloseAttacksRunAAB) {
    moveHero(boss->posX - 40);
    EXPECT_EQ(attacks(6), (std::vector<jint>{49, 49, 50, 49, 49, 50}));
}

TEST_F(MeleeBossTest, DistanceAttacksFollowThePhase) {
    // The hero floats above the arena, out of reach of close attacks.
    cActor::moveTo(hero, 436 << 8, 100 << 8);
    cActor::setBox(hero->box, 419, 15, 453, 100);
    struct Case {
        jint phase;
        std::vector<jint> attacks;
    } cases[] = {{0, {51, 51, 51}}, {1, {48, 48, 48}}, {2, {51, 48, 51, 48}}};
    for (const Case& c : cases) {
        boss->parts->data()[9] = c.phase;
        boss->parts->data()[10] = 0;
        // The attack chosen from idle (a throw series shows one entry).
        std::vector<jint> got;
        jint last = boss->aiState;
        for (int i = 0; i < 4000 && got.size() < c.attacks.size(); ++i) {
            step();
            if (last == 45 && boss->aiState == 47) got.push_back(b::nextState(boss));
            last = boss->aiState;
        }
        EXPECT_EQ(got, c.attacks) << "phase " << c.phase;
        EXPECT_EQ(boss->parts->data()[9], c.phase);
    }
}

TEST_F(MeleeBossTest, AReactionTakesAtMostTwoHits) {
    b::enterPhase52(boss, 60, 45);
    const jint before = boss->parts->data()[2];
    for (int i = 0; i < 12 && boss->aiState != 54; ++i) {
        hit(boss);
        step();
    }
    EXPECT_EQ(boss->aiState, 54);
    EXPECT_EQ(before - boss->parts->data()[2], 2);
    // Bits still pending are wiped when the next recovery begins.
    b::enterPhase52(boss, 60, 45);
    EXPECT_EQ(boss->contactFlags, 1);
}

TEST_F(MeleeBossTest, PhaseStepsOneAtATime) {
    boss->parts->data()[2] = 7;  // at or below 12 and above 6
    b::enterPhase52(boss, 60, 45);
    hit(boss);
    stepUntil([&] { return boss->aiState == 54; }, 20);
    EXPECT_EQ(boss->parts->data()[9], 1);
    EXPECT_EQ(boss->parts->data()[10], 0);
    boss->parts->data()[2] = 3;
    boss->aiState = 45;
    b::enterPhase52(boss, 60, 45);
    hit(boss);
    stepUntil([&] { return boss->aiState == 54; }, 20);
    EXPECT_EQ(boss->parts->data()[9], 2);
}

TEST_F(MeleeBossTest, TheFirstCloseAttackAfterAChargeIsB) {
    boss->parts->data()[9] = 1;
    boss->parts->data()[10] = 0;
    std::vector<jint> a = attacks(1);
    ASSERT_EQ(a, std::vector<jint>{48});
    stepUntil([&] { return boss->aiState == 45; }, 400);
    EXPECT_EQ(b::counterLimit(boss), 5);
    moveHero(boss->posX - 40);
    EXPECT_EQ(attacks(1), std::vector<jint>{50});
}

TEST_F(MeleeBossTest, TheThrowMakesAReturningProjectile) {
    std::vector<jint> a = attacks(1);
    ASSERT_EQ(a, std::vector<jint>{51});
    stepUntil([&] { return b::bossutil::linkedAt(boss, 0) != nullptr; }, 50);
    cActor* p = b::bossutil::linkedAt(boss, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->type, 99);
    EXPECT_EQ(p->motion->data()[2], boss->facing == 1 ? 1792 : -1792);
    const jint x0 = p->posX;
    steps(36);
    EXPECT_EQ(p->posX, x0 + (boss->facing == 1 ? 1 : -1) * 7 * 36);
    // It turns on the next step and leaves 35 steps later.
    step();
    EXPECT_EQ(p->motion->data()[2], boss->facing == 1 ? -1792 : 1792);
    EXPECT_EQ(stepUntil([&] { return p->aiState == 30; }, 60), 35);
    EXPECT_NE(b::bossutil::linkedAt(boss, 0), p);
}

TEST_F(MeleeBossTest, AHeroStandingOnItIsBouncedAwayFromTheLimitWithoutDamage) {
    const jint health = game::getVariable(3);
    struct Case {
        jint heroX, direction;
    } cases[] = {{boss->posX + 10, 1}, {boss->posX - 10, -1}};
    for (const Case& c : cases) {
        moveHero(c.heroX);
        cActor::moveTo(hero, c.heroX << 8, (boss->posY - 90) << 8);
        cActor::setBox(hero->box, c.heroX - 17, boss->posY - 90 - 85, c.heroX + 17, boss->posY - 88);
        hero->timer = 0;
        boss->aiState = 54;
        boss->setAnim(63);
        step();
        ASSERT_NE(hero->motion, nullptr);
        EXPECT_EQ(hero->motion->data()[2] > 0 ? 1 : -1, c.direction) << c.heroX;
    }
    EXPECT_EQ(game::getVariable(3), health);
}

TEST_F(MeleeBossTest, DefeatStartsItsScriptOnce) {
    boss->parts->data()[2] = 1;
    b::enterPhase52(boss, 60, 45);
    hit(boss);
    stepUntil([&] { return boss->aiState == 30; }, 40);
    EXPECT_EQ(boss->aiState, 30);
    EXPECT_EQ(boss->anim, 93);
    EXPECT_TRUE(game::world::isAnyScriptActive());
    game::world::runLevelScripts();
    steps(20);
    game::world::runLevelScripts();
    EXPECT_EQ(levelEnds(), 1);
}

TEST_F(MeleeBossTest, NoScriptStartsWhileAnotherRuns) {
    game::world::startScript(game::world::findScriptById(2));
    ASSERT_TRUE(game::world::isAnyScriptActive());
    boss->parts->data()[2] = 1;
    b::enterPhase52(boss, 60, 45);
    hit(boss);
    // The boss is held while the script targets it? Script 2 targets none.
    stepUntil([&] { return boss->aiState == 30; }, 40);
    EXPECT_EQ(boss->aiState, 30);
    // Only script 2 runs: the defeat script did not start.
    game::world::runLevelScripts();
    EXPECT_EQ(levelEnds(), 0);
}

TEST_F(MeleeBossTest, ALastHitInAReactionIsNotLostWhenItsAnimationEnds) {
    // The reaction's animation ends on the very step a second hit takes the
    // last hit point: the boss is defeated, not sent on to state 54.
    boss->parts->data()[2] = 2;
    b::enterPhase52(boss, 60, 45);
    hit(boss);
    step();
    ASSERT_EQ(boss->aiState, 53);
    ASSERT_EQ(boss->parts->data()[2], 1);
    steps(1);
    hit(boss);
    step();
    EXPECT_EQ(boss->parts->data()[2], 0);
    EXPECT_EQ(boss->aiState, 1);
    stepUntil([&] { return boss->aiState == 30; }, 20);
    EXPECT_EQ(boss->aiState, 30);
}

TEST_F(MeleeBossTest, WhileAScriptTargetsItTheBossNeitherRunsNorHurts) {
    moveHero(boss->posX - 20);
    const jint t = b::timer(boss), health = game::getVariable(3);
    game::world::startScript(game::world::findScriptById(3));
    ASSERT_TRUE(game::world::isScriptTargetId(boss->uniqueId));
    for (int i = 0; i < 10; ++i) {
        game::world::runLevelScripts();
        step();
    }
    EXPECT_EQ(b::timer(boss), t);
    EXPECT_EQ(boss->aiState, 45);
    EXPECT_EQ(game::getVariable(3), health);
}

TEST_F(MeleeBossTest, NoScriptStartsWhenTheIdNamesNone) {
    boss->setParam(5, 77);
    boss->parts->data()[2] = 1;
    b::enterPhase52(boss, 60, 45);
    hit(boss);
    stepUntil([&] { return boss->aiState == 30; }, 40);
    EXPECT_EQ(boss->aiState, 30);
    EXPECT_FALSE(game::world::isAnyScriptActive());
}

}  // namespace

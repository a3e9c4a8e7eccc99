// Hero damage: the hurtHero gate (script lock in level 3, HURLED, dead,
// invulnerable unless forced), the knockback parameter sets, contact damage
// with and without an amount, and the decided meanings of the five-value
// calls.
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

class CoreDamage : public BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        hero = behaviourtest::makeHero(400, 300);
        ASSERT_NE(hero, nullptr);
        game::setVariable(3, 10, false);
        game::setVariable(6, 0, false);
        hero->timer = 0;
        heroState() = 0;
        enemy = behaviourtest::spawnRecord({1, 50, 500, 300, 0, 0, 0xA0});
        ASSERT_NE(enemy, nullptr);
    }
    jint health() { return game::getVariable(3); }
    jint m(jint i) { return hero->motion->data()[i]; }
    cActor* hero = nullptr;
    cActor* enemy = nullptr;
};

TEST_F(CoreDamage, GateRefusesHurledDeadAndInvulnerableUnlessForced) {
    struct Case {
        const char* name;
        jint state, health, timer;
        bool force;
        jint expected;
    };
    const Case cases[] = {
        {"plain hit", 0, 10, 0, false, 1},
        {"hurled", 10, 10, 0, true, 0},
        {"dead", 0, 0, 0, true, 0},
        {"invulnerable", 0, 10, 1, false, 0},
        {"invulnerable, forced", 0, 10, 1, true, 1},
    };
    for (const Case& c : cases) {
        heroState() = c.state;
        game::setVariable(3, c.health, false);
        hero->timer = c.timer;
        EXPECT_EQ(hurtHero(hero, 0, 1, c.force), c.expected) << c.name;
        if (c.expected) { EXPECT_EQ(hero->timer, 53) << c.name; }
    }
}

TEST_F(CoreDamage, AcceptedHitLowersHealthAndAltModePushesVertically) {
    heroAltMode() = 1;
    hero->motion->data()[5] = 300 << 8;
    EXPECT_EQ(hurtHero(hero, -512, 2, false), 1);
    EXPECT_LT(health(), 10);
    EXPECT_EQ(heroStateVars()->data()[1], 34);
    EXPECT_EQ(heroStateVars()->data()[2], 14);
    EXPECT_EQ(heroStateVars()->data()[3], (300 << 8) - 512);
    heroAltMode() = 0;
}

TEST_F(CoreDamage, FiveValueCallIsPushZeroAmountOneForced) {
    // hurtHero(hero, 0, 0, 1, 1) of the pushers and traps: pushY 0, amount 1, forced.
    hero->timer = 20;
    const jint before = health();
    EXPECT_EQ(hurtHero(hero, 0, 1, true), 1);
    EXPECT_LT(health(), before);
}

TEST_F(CoreDamage, ContactDamageWithoutAmountPushesEvenWhileInvulnerable) {
    hero->timer = 30;
    contactDamage(enemy, 0);
    EXPECT_EQ(health(), 10);
    EXPECT_EQ(heroState(), 11);
    EXPECT_EQ(heroStateVars()->data()[0], 16);
    EXPECT_EQ(m(2), -1536);  // the enemy is to the right: pushed left
    EXPECT_EQ(m(3), -5376);
    EXPECT_EQ(m(1), 1024);
}

TEST_F(CoreDamage, ContactDamageInKnockbackDamagesWithoutNewKnockback) {
    heroState() = 11;
    heroStateVars()->data()[0] = 77;
    contactDamage(enemy, 1);
    EXPECT_LT(health(), 10);
    EXPECT_EQ(heroStateVars()->data()[0], 77);
}

TEST_F(CoreDamage, ContactDamageFromIsSourceThenAmount) {
    // contactDamageFrom(a, b, 1) of the callers is source a, amount 1.
    contactDamageFrom(enemy, 1);
    EXPECT_LT(health(), 10);
    EXPECT_EQ(heroState(), 11);
    EXPECT_EQ(heroStateVars()->data()[0], 9);
    EXPECT_EQ(m(2), -2048);
    EXPECT_EQ(m(0), 128);
    hero->timer = 5;
    const jint h = health();
    contactDamageFrom(enemy, 1);
    EXPECT_EQ(health(), h);
}

TEST_F(CoreDamage, NoKnockbackWhenDeadOrFlying) {
    game::setVariable(3, 0, false);
    knockbackWeak(hero, 1);
    EXPECT_NE(heroState(), 11);
    game::setVariable(3, 5, false);
    heroState() = 38;
    knockbackWeak(hero, 1);
    EXPECT_EQ(heroState(), 38);
}

TEST_F(CoreDamage, WeakKnockbackNinetyNineGoesAgainstTheFacing) {
    hero->facing = 1;
    knockbackWeak(hero, 99);
    EXPECT_EQ(m(2), -2048);
    EXPECT_EQ(m(3), -8601);
    EXPECT_EQ(heroStateVars()->data()[0], 19);
}

TEST_F(CoreDamage, InvulnerableFromCountOneOrStatSix) {
    hero->timer = 1;
    EXPECT_TRUE(isHeroInvulnerable());
    hero->timer = 0;
    EXPECT_FALSE(isHeroInvulnerable());
    game::setVariable(6, 1, false);
    EXPECT_TRUE(isHeroInvulnerable());
}

}  // namespace

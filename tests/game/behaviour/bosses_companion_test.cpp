// The companion-throwing boss (type 94) and its companion (type 111):
// rallies of 2, 3 and 4 by stage, fast throws 2, 4, 4 from 4 hit points
// with one stage step at a time, the input lock on every step, the first
// throw catchable, a full pool, the bounce off the hero and one defeat.
#include <gtest/gtest.h>

#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/bosses_support.h"
#include "tools/kit/demo_bosses.h"

namespace {

using namespace bossestest;
namespace b = game::behaviour;

class CompanionBossTest : public BossTest {
protected:
    void SetUp() override {
        BossTest::SetUp();
        game::setVariable(3, 50, false);
        boss = arena(94, 120);
        ASSERT_NE(boss, nullptr);
    }
    // The companion waiting beside the boss (walked in from the right limit).
    cActor* waitingCompanion() {
        cActor* c = nullptr;
        stepUntil(
            [&] {
                c = b::bossutil::linkedAt(boss, 0);
                return c && c->aiState == 45;
            },
            200);
        return c;
    }
    // What the hero's catch does: stop, move to the hero, its facing, held.
    void heroCatches(cActor* c) {
        cActor::stopMotion(c);
        cActor::moveTo(c, hero->posX << 8, c->posY << 8);
        cActor::setFacing(c, 0);  // the hero looks right, toward the boss
        c->aiState = 48;
    }
    cActor* boss = nullptr;
};

TEST_F(CompanionBossTest, TheFirstThrowIsCatchable) {
    step();
    EXPECT_EQ(boss->aiState, 45);
    cActor* c = waitingCompanion();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->subtype, kit::kSubtypeCompanion);
    EXPECT_LE(c->posX, boss->posX);
    stepUntil([&] { return c->aiState == 49 || c->aiState == 52; }, 50);
    EXPECT_EQ(c->aiState, 49);
    // Facing 1 moves toward smaller x: at the hero, at speed (0 + 2) x 1024.
    EXPECT_EQ(c->facing, 1);
    EXPECT_EQ(c->motion->data()[2], -2048);
}

TEST_F(CompanionBossTest, RalliesTwoThreeAndFourByStage) {
    step();
    for (jint stage : {0, 1, 2}) {
        b::bossStage(boss) = stage;
        cActor* c = waitingCompanion();
        ASSERT_NE(c, nullptr) << stage;
        int rallies = 0;
        jint last = c->aiState;
        for (int i = 0; i < 3000 && boss->aiState != 46; ++i) {
            if (c->aiState == 49) heroCatches(c);
            step();
            if (last == 50 && c->aiState == 47) ++rallies;
            last = c->aiState;
        }
        EXPECT_EQ(boss->aiState, 46) << stage;
        EXPECT_EQ(rallies, stage + 2) << "stage " << stage;
        // Each rally throws one step (1024) faster.
        EXPECT_EQ(b::timer(c), rallies);
        boss->parts->data()[2] = 4;
        stepUntil([&] { return boss->aiState == 45; }, 20);
        b::counter(boss) = 0;
        stepUntil([&] { return c->aiState == 30 || !b::bossutil::isLive(c); }, 300);
    }
}

TEST_F(CompanionBossTest, FastThrowsAfterHurtsRunTwoFourFour) {
    step();
    boss->parts->data()[2] = 4;
    std::vector<jint> fast, stages;
    for (int hurt = 0; hurt < 3; ++hurt) {
        boss->decrementPartsCounter(1);
        boss->aiState = 46;
        boss->setAnim(-1);
        jint stageBefore = b::bossStage(boss);
        stepUntil([&] { return boss->aiState == 45; }, 20);
        fast.push_back(b::counter(boss));
        stages.push_back(b::bossStage(boss));
        EXPECT_LE(b::bossStage(boss) - stageBefore, 1);
    }
    EXPECT_EQ(fast, (std::vector<jint>{2, 4, 4}));
    EXPECT_EQ(stages, (std::vector<jint>{1, 1, 2}));
}

TEST_F(CompanionBossTest, FastThrowsFlyAtFourThousandAndHurtOnly) {
    step();
    b::counter(boss) = 1;
    cActor* c = waitingCompanion();
    ASSERT_NE(c, nullptr);
    stepUntil([&] { return c->aiState == 52; }, 50);
    EXPECT_EQ(c->motion->data()[2], -4096);
    EXPECT_EQ(b::timer(boss) <= 13, true);
}

TEST_F(CompanionBossTest, AFastCompanionIsOfferedAsPartner) {
    step();
    b::counter(boss) = 1;
    cActor* c = waitingCompanion();
    ASSERT_NE(c, nullptr);
    stepUntil([&] { return c->aiState == 52; }, 50);
    ASSERT_EQ(c->aiState, 52);
    if (!hero->attackBox) hero->attackBox = newShortArray(4);
    cActor::setBox(hero->attackBox, c->posX - 10, c->posY - 50, c->posX + 10, c->posY + 10);
    game::ca().partnerMode = 9;
    step();
    EXPECT_EQ(game::ca().partnerMode, 8);
    EXPECT_EQ(game::ca().partnerActor, c);
}

TEST_F(CompanionBossTest, TheInputLockIsAppliedOnEveryStepInEveryState) {
    for (jint s : {0, 45, 47, 1, 30}) {
        boss->aiState = s;
        game::ca().heroInputLock = 0;
        step();
        EXPECT_EQ(game::ca().heroInputLock & 0x7FF7FF7B, 0x7FF7FF7B) << "state " << s;
        EXPECT_EQ(game::ca().heroInputLock & 0x80084, 0) << "state " << s;
    }
}

TEST_F(CompanionBossTest, AFullPoolLeavesTheBossWaiting) {
    step();
    while (game::cg().actorCount < game::kActorPoolSize)
        game::spawnActorAt(kit::kSubtypeSecondBoss, 2000, 2000, 0, 0, false);
    steps(60);
    EXPECT_EQ(boss->aiState, 45);
    EXPECT_EQ(b::bossutil::linkedAt(boss, 0), nullptr);
}

TEST_F(CompanionBossTest, ACompanionBouncesOffAnInvulnerableHero) {
    step();
    cActor* c = waitingCompanion();
    ASSERT_NE(c, nullptr);
    hero->timer = 40;  // invulnerable
    const jint health = game::getVariable(3);
    stepUntil([&] { return c->aiState == 1; }, 200);
    EXPECT_EQ(c->aiState, 1);
    EXPECT_EQ(game::getVariable(3), health);
}

TEST_F(CompanionBossTest, DefeatStartsItsScriptOnce) {
    step();
    boss->parts->data()[2] = 1;
    cActor* c = waitingCompanion();
    ASSERT_NE(c, nullptr);
    stepUntil([&] { return c->aiState == 49; }, 50);
    // Thrown back at once with the rally count used up.
    b::counterLimit(boss) = 0;
    heroCatches(c);
    stepUntil([&] { return boss->aiState == 30; }, 300);
    EXPECT_EQ(boss->aiState, 30);
    EXPECT_EQ(boss->anim, 106);
    game::world::runLevelScripts();
    steps(10);
    game::world::runLevelScripts();
    EXPECT_EQ(levelEnds(), 1);
}

}  // namespace

// The pattern boss (type 102): its waits, skips, spots and crossings read
// from the 68-code pattern, the bounds of that pattern, the summons and the
// throw with missing actors, and the defeat that starts its script once.
#include <gtest/gtest.h>

#include <set>

#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/data/statics.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/bosses_support.h"
#include "tools/kit/demo_bosses.h"

namespace {

using namespace bossestest;
namespace b = game::behaviour;

jint code(jint i) { return IntArray::at(game::mordle().stepTable, i); }

class PatternBossTest : public BossTest {
protected:
    void SetUp() override {
        BossTest::SetUp();
        boss = arena(102, 300);
        ASSERT_NE(boss, nullptr);
    }
    // Puts the boss at pattern index i in state s with the move's step 0.
    void at(jint i, jint s) {
        b::bossStep() = i;
        boss->aiState = s;
        b::step(boss) = 0;
    }
    cActor* boss = nullptr;
};

TEST_F(PatternBossTest, TheTableIsThePartsTable) {
    ASSERT_EQ(game::mordle().stepTable->length(), 68);
    EXPECT_EQ(code(58), 23);
    EXPECT_EQ(code(62), 22);  // code 50's "bossStep 62" branch cannot fire
    EXPECT_EQ(code(4), 10);
    EXPECT_EQ(code(41), 14);
}

TEST_F(PatternBossTest, SetUpWaitsForTheHeroThenStartsAtStepOne) {
    step();
    EXPECT_EQ(boss->aiState, 2);
    EXPECT_EQ(game::cg().targetActor, boss);
    // The hero stands inside the 600 x 200 box around the boss.
    step();
    EXPECT_EQ(boss->aiState != 2, true);
    EXPECT_EQ(b::bossStep(), 1);
    EXPECT_NE(game::cg().hero->flags & 2, 0);
}

TEST_F(PatternBossTest, WaitsOfCodes23And10Last21And33Steps) {
    struct Case {
        jint index, frames;
    } cases[] = {{58, 21}, {4, 33}};
    for (const Case& c : cases) {
        at(c.index, 36);
        step();  // step 0: animation 45, counter set
        int n = stepUntil([&] { return boss->aiState == 6; }, 100);
        EXPECT_EQ(n, c.frames) << "code " << code(c.index);
        EXPECT_EQ(b::bossStep(), c.index + 1);
        EXPECT_EQ(boss->anim, 11);
    }
}

TEST_F(PatternBossTest, CodeFourteenSkipsToTheNextSixteen) {
    at(41, 4);
    game::cg().bossCounter = 0;
    b::timer(boss) = 1;
    stepUntil([&] { return boss->aiState == 6; }, 100);
    EXPECT_EQ(b::bossStep(), 47);
    EXPECT_EQ(code(47), 16);
}

TEST_F(PatternBossTest, SkipsAndHitWalksStopAtTheTableEnd) {
    // No code 16 after index 48: the walk stops at the end, which reads as
    // "no code": the boss stands in state 6.
    b::bossStep() = 48;
    boss->aiState = 4;
    b::step(boss) = 1;
    b::bossWaitCode14(boss);
    EXPECT_EQ(b::bossStep(), 68);
    boss->aiState = 6;
    steps(5);
    EXPECT_EQ(boss->aiState, 6);
    EXPECT_EQ(b::bossStep(), 68);
}

TEST_F(PatternBossTest, CodeSevenIsSkippedWhileItsMinionLives) {
    cActor* minion = spawn(kit::levelActorRecord(kit::kSubtypeSecondBoss, 300, 500, 431, 0, 160));
    game::addActiveActor(minion);
    minion->aiState = 6;
    game::cg().bossMinionB = minion;
    at(13, 6);
    b::bossTakeHit(boss, 7);
    step();
    EXPECT_EQ(b::bossStep(), 14);
    EXPECT_EQ(boss->aiState, 6);

    game::cg().bossMinionB = nullptr;
    at(13, 6);
    step();
    EXPECT_EQ(boss->aiState, 10);
    EXPECT_EQ(b::bossStep(), 13);
}

TEST_F(PatternBossTest, CodeSevenSummonsItsSecondBossAtLeftPlus270) {
    at(13, 10);
    stepUntil([&] { return boss->aiState == 6; }, 50);
    ASSERT_NE(game::cg().bossMinionB, nullptr);
    EXPECT_EQ(game::cg().bossMinionB->posX, 36 + 270);
    EXPECT_EQ(game::cg().bossMinionB->subtype, 256);
    EXPECT_EQ(b::bossStep(), 14);
}

TEST_F(PatternBossTest, CodeSixteenPlacesItsActorAtOneOfThreeSpots) {
    std::set<jint> seen;
    for (int round = 0; round < 40; ++round) {
        at(47, 24);
        jint before = game::cg().actorCount;
        stepUntil([&] { return boss->aiState == 6; }, 20);
        ASSERT_EQ(b::bossStep(), 48);
        ASSERT_EQ(game::cg().actorCount, before + 1);
        cActor* made = game::poolActor(before);
        EXPECT_EQ(made->subtype, 262);
        EXPECT_EQ(made->posY, b::bossFloorY());
        seen.insert(made->posX - 36);
        game::removeActor(made, true);
    }
    EXPECT_EQ(seen, (std::set<jint>{100, 150, 200}));
}

TEST_F(PatternBossTest, CodeThreeShowsAnimationFifteenForOneStep) {
    at(3, 24);
    std::vector<jint> anims;
    for (int i = 0; i < 12 && boss->aiState == 24; ++i) {
        step();
        anims.push_back(boss->anim);
    }
    ASSERT_GE(anims.size(), 3u);
    EXPECT_EQ(anims[anims.size() - 2], 15);
    EXPECT_EQ(anims.back(), 11);
    EXPECT_EQ(std::count(anims.begin(), anims.end(), 15), 1);
    EXPECT_EQ(b::bossStep(), 4);
}

TEST_F(PatternBossTest, CrossingEndsAtTheSideTheFlagNames) {
    struct Case {
        bool side;
        jint target;
    } cases[] = {{true, 836 - 140}, {false, 36 + 140}};
    for (const Case& c : cases) {
        at(59, 24);  // code 21
        b::bossSide() = c.side;
        const jint x0 = boss->posX;
        steps(3);  // step 0, then the lead-in animation ends
        step();
        ASSERT_EQ(b::step(boss), 2);
        // (target - x) x 0.1 x 256 in double, truncated.
        EXPECT_EQ(boss->motion->data()[2], static_cast<jint>(static_cast<double>(c.target - x0) * 0.1 * 256.0));
        stepUntil([&] { return b::step(boss) == 3; }, 40);
        EXPECT_EQ(boss->posX, c.target);
        EXPECT_EQ(b::bossSide(), !c.side);
        stepUntil([&] { return boss->aiState == 6; }, 10);
        EXPECT_EQ(b::bossStep(), 60);
        boss->posX = 436;
        cActor::moveTo(boss, 436 << 8, boss->posY << 8);
    }
}

TEST_F(PatternBossTest, CodeNineteenCrossesToTheLeftInTenSteps) {
    at(49, 24);  // code 19
    const bool side = b::bossSide();
    const jint x0 = boss->posX;
    stepUntil([&] { return b::step(boss) == 2; }, 10);
    EXPECT_EQ(boss->motion->data()[2], static_cast<jint>(static_cast<double>(36 + 140 - x0) * 0.1 * 256.0));
    EXPECT_EQ(b::bossSide(), !side);
    stepUntil([&] { return boss->aiState == 6; }, 40);
    EXPECT_EQ(boss->posX, 36 + 140);
    EXPECT_EQ(b::bossStep(), 50);
    EXPECT_EQ(boss->anim, 18);
}

// Hits land in codes 3, 10, 17, 23 and in 14 while the AI state is 4; the
// shield is down then and in codes 6, 9 and 11, whatever the AI state.
TEST_F(PatternBossTest, HitsLandOnlyInTheCodesThatOpenIt) {
    struct Case {
        jint index, state;
        bool hurt, shielded;
    } cases[] = {{3, 24, true, false},  {4, 36, true, false},  {6, 4, true, false},   {58, 36, true, false},
                 {41, 4, true, false},  {41, 6, false, true},  {1, 3, false, true},   {9, 19, false, true},
                 {12, 5, false, false}, {11, 2, false, false}, {24, 19, false, false}, {1, 6, false, true}};
    for (const Case& c : cases) {
        b::bossStep() = c.index;
        boss->aiState = c.state;
        boss->parts->data()[2] = 8;
        hit(boss);
        b::bossTakeHit(boss, code(c.index));
        EXPECT_EQ(boss->parts->data()[2] < 8, c.hurt) << "index " << c.index << " state " << c.state;
        EXPECT_EQ(game::ca().bossShielded != 0, c.shielded) << "code " << code(c.index) << " state " << c.state;
        EXPECT_EQ(boss->contactFlags & 0x200000, 0);
    }
}

// A code-2 jump that misses the platform is held 5 px above the floor line
// each step it reaches it, and stays in its falling sub-step.
TEST_F(PatternBossTest, CodeTwoJumpMissingThePlatformHoldsAboveTheFloor) {
    ASSERT_EQ(code(2), 2);
    at(2, 19);
    game::cg().arenaActor = nullptr;  // nothing to land on
    const jint floor = boss->posY - 30;
    b::bossFloorY() = floor;
    int held = 0;
    for (int i = 0; i < 120; ++i) {
        step();
        ASSERT_EQ(boss->aiState, 19);
        if (b::step(boss) != 3) continue;
        EXPECT_LT(boss->posY, floor) << "step " << i;
        held += boss->posY == floor - 5;
    }
    EXPECT_EQ(b::step(boss), 3);
    EXPECT_GT(held, 0);
}

TEST_F(PatternBossTest, CodeFiftyBranchesOnHitsTaken) {
    // Class value 8 for subtype 238.
    struct Case {
        jint index, hitPoints, next;
    } cases[] = {{36, 8, 1}, {36, 6, 1}, {36, 5, 37}, {52, 4, 37}, {52, 3, 53}};
    for (const Case& c : cases) {
        at(c.index, 6);
        boss->parts->data()[2] = c.hitPoints;
        step();
        EXPECT_EQ(b::bossStep(), c.next) << c.index << " " << c.hitPoints;
    }
}

TEST_F(PatternBossTest, SummonWithAFullPoolLeavesTheMinionEmptyAndGoesOn) {
    while (game::cg().actorCount < game::kActorPoolSize)
        game::spawnActorAt(kit::kSubtypeSecondBoss, 2000, 2000, 0, 0, false);
    at(11, 10);  // code 6
    game::cg().bossMinion = nullptr;
    stepUntil([&] { return boss->aiState == 6; }, 20);
    EXPECT_EQ(game::cg().bossMinion, nullptr);
    EXPECT_EQ(b::bossStep(), 12);
}

TEST_F(PatternBossTest, SummonedMinionTurnsIntoARuleEnemyAfterTenSteps) {
    at(11, 10);  // code 6: subtype 218
    game::cg().bossMinion = nullptr;
    stepUntil([&] { return game::cg().bossMinion != nullptr; }, 20);
    cActor* m = game::cg().bossMinion;
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->subtype, 218);
    EXPECT_EQ(m->type, 7);
    // The hero stands left of the camera centre: side 0, at right - 38.
    EXPECT_EQ(m->getParamOr(0), 23);
    EXPECT_EQ(m->posX, 836 - 38);
    EXPECT_EQ(m->getParamOr(1), 160);
    stepUntil([&] { return boss->aiState == 6; }, 20);
    EXPECT_EQ(m->type, 6);
    EXPECT_EQ(m->flags, 0x15000B0);
    EXPECT_EQ(b::bossStep(), 12);
}

TEST_F(PatternBossTest, ThrowWaitsForTheMinionAndTakesAMissingOneAsDone) {
    cActor* minion = spawn(kit::levelActorRecord(218, 300, 500, 431, 0, 160));
    game::cg().bossMinion = minion;
    at(12, 5);  // code 11
    steps(12);
    EXPECT_EQ(boss->aiState, 5);
    EXPECT_EQ(b::step(boss), 3);
    minion->aiState = 1;
    step();
    EXPECT_EQ(boss->aiState, 6);
    EXPECT_EQ(b::bossStep(), 13);

    game::cg().bossMinion = nullptr;
    at(12, 5);
    stepUntil([&] { return boss->aiState == 6; }, 20);
    EXPECT_EQ(b::bossStep(), 13);
}

TEST_F(PatternBossTest, DefeatStartsItsScriptOnce) {
    boss->parts->data()[2] = 0;
    boss->aiState = 21;
    boss->setAnim(50);
    stepUntil([&] { return boss->aiState != 21; }, 10);
    EXPECT_EQ(boss->aiState, 30);
    EXPECT_TRUE(game::world::isAnyScriptActive());
    game::world::runLevelScripts();
    EXPECT_EQ(levelEnds(), 1);
    steps(5);
    game::world::runLevelScripts();
    EXPECT_EQ(levelEnds(), 1);
}

}  // namespace

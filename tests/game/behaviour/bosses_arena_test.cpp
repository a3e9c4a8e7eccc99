// The arena boss (type 92): guarded outside code 9, the fall and the
// resumption one code before the next 8 (never past the table), the rush's
// slot renewal, the pair drop's waits with missing actors, and the defeat.
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

jint code(jint i) { return IntArray::at(game::magician().stepTable, i); }

class ArenaBossTest : public BossTest {
protected:
    void SetUp() override {
        BossTest::SetUp();
        boss = arena(92, 300);
        ASSERT_NE(boss, nullptr);
        step();  // set-up: floor and target
        ASSERT_EQ(boss->aiState, 2);
    }
    cActor* boss = nullptr;
};

TEST_F(ArenaBossTest, SetUpFindsTheFloorAndCatchesTheHero) {
    EXPECT_EQ(b::arenaFloorY(), 432 - 5);
    EXPECT_EQ(game::cg().targetActor, boss);
    step();  // the hero is inside the attack box
    EXPECT_EQ(boss->aiState, 6);
    EXPECT_EQ(b::bossEventCount(), 1);
    EXPECT_EQ(b::counterLimit(boss), -1);
}

TEST_F(ArenaBossTest, GuardedOutsideCodeNine) {
    // Index 2 is code 5: a pending hit is wiped, the hero pushed away.
    struct Case {
        jint index;
        bool guarded;
    } cases[] = {{2, true}, {4, true}, {12, true}, {5, false}};
    for (const Case& c : cases) {
        b::bossEventCount() = static_cast<jbyte>(c.index);
        boss->aiState = 6;
        boss->contactFlags = 0x200000 | 0x8;
        b::type92Contact(boss);
        EXPECT_EQ(b::bossGuarded(), c.guarded ? 1 : 0) << "code " << code(c.index);
        if (c.guarded) { EXPECT_EQ(boss->contactFlags, 0) << "code " << code(c.index); }
    }
}

TEST_F(ArenaBossTest, CodeOneStartsAwayFromATargetOnTheRight) {
    cActor::moveTo(boss, 60 << 8, boss->posY << 8);
    b::bossEventCount() = 1;
    boss->aiState = 6;
    b::type92Contact(boss);
    // The target (L + 127) is right of the boss: vx -1536, side 1, facing 1.
    game::behaviour::updateType92(boss);
    EXPECT_EQ(boss->aiState, 3);
    EXPECT_EQ(boss->parts->data()[0], (36 + 127) << 8);
    EXPECT_EQ(boss->parts->data()[1], (0 + 143) << 8);
    EXPECT_TRUE(b::bossGoesRightB());
    EXPECT_EQ(boss->facing, 1);
}

TEST_F(ArenaBossTest, FallResumesOneCodeBeforeTheNextEight) {
    struct Case {
        jint from, resumes;
    } cases[] = {{5, 6}, {9, 13}, {20, 23}, {38, 38}, {40, 40}};
    for (const Case& c : cases) {
        b::bossEventCount() = static_cast<jbyte>(c.from);
        boss->aiState = 21;
        boss->parts->data()[2] = 5;
        b::timer(boss) = 48;
        cActor::moveTo(boss, boss->posX << 8, b::arenaFloorY() << 8);
        stepUntil([&] { return boss->aiState != 21; }, 100);
        EXPECT_EQ(b::bossEventCount(), c.resumes) << "from " << c.from;
        EXPECT_EQ(boss->aiState, 6);
    }
}

TEST_F(ArenaBossTest, RushOfCodeSeventeenRenewsOnlySlotsNotInStateOne) {
    cActor* kept = spawn(kit::levelActorRecord(253, 300, 279, 112, 0, 160));
    kept->aiState = 1;
    cActor* stale = spawn(kit::levelActorRecord(253, 301, 602, 112, 0, 160));
    stale->aiState = 27;
    game::cg().bossSlotL = kept;
    game::cg().bossSlotR = stale;
    b::bossEventCount() = 11;  // code 17
    boss->aiState = 24;
    b::stepB(boss) = 0;
    b::bossGoesRightB() = true;
    stepUntil([&] { return boss->aiState == 6; }, 200);
    EXPECT_EQ(game::cg().bossSlotL, kept);
    // Template 13 makes the new right slot (when its row is there).
    EXPECT_NE(game::cg().bossSlotR, stale);
    EXPECT_EQ(game::cg().shakeTimer > 0, true);
    EXPECT_EQ(b::counter(boss), 64);
    EXPECT_EQ(b::bossEventCount(), 12);
    EXPECT_EQ(boss->posX, 836 - 16);
}

TEST_F(ArenaBossTest, DropPairWaitsForItsActorAndTakesAMissingOneAsDone) {
    b::bossEventCount() = 10;  // code 10
    boss->aiState = 24;
    b::stepB(boss) = 0;
    step();
    cActor* first = game::cg().bossSpawnA;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->posX, 36 + 86);
    EXPECT_EQ(first->subtype, 252);
    steps(10);
    EXPECT_EQ(b::stepB(boss), 1);
    first->aiState = 1;
    step();
    EXPECT_EQ(b::stepB(boss), 2);
    EXPECT_EQ(game::cg().bossSpawnA->posX, 36 + 326);

    // A full pool: the pair is never made and the drop goes on.
    while (game::cg().actorCount < game::kActorPoolSize)
        game::spawnActorAt(253, 2000, 2000, 0, 0, false);
    game::cg().bossSpawnA->aiState = 1;
    EXPECT_EQ(stepUntil([&] { return boss->aiState == 6; }, 10), 3);
    EXPECT_EQ(game::cg().bossSpawnA, nullptr);
    EXPECT_EQ(b::bossEventCount(), 11);
}

TEST_F(ArenaBossTest, DefeatStartsItsScriptOnce) {
    b::bossEventCount() = 5;
    boss->aiState = 21;
    boss->parts->data()[2] = 0;
    game::setVariable(3, 5, false);
    b::timer(boss) = 48;
    cActor::moveTo(boss, boss->posX << 8, b::arenaFloorY() << 8);
    step();
    EXPECT_EQ(boss->aiState, 30);
    EXPECT_TRUE(game::world::isAnyScriptActive());
    game::world::runLevelScripts();
    steps(3);
    game::world::runLevelScripts();
    EXPECT_EQ(levelEnds(), 1);
}

TEST_F(ArenaBossTest, CodeNineOpensForTheStepCountAfterARushAndAHitMakesItFall) {
    step();  // caught: hit count -1
    ASSERT_EQ(b::counterLimit(boss), -1);
    // Index 5 is code 9, after the rush of code 2 left 48 steps.
    b::bossEventCount() = 5;
    b::counter(boss) = 48;
    boss->aiState = 6;
    EXPECT_EQ(stepUntil([&] { return b::bossEventCount() != 5; }, 100), 49);

    b::bossEventCount() = 5;
    b::counter(boss) = 48;
    boss->aiState = 6;
    const jint hp = boss->parts->data()[2];
    steps(10);
    EXPECT_EQ(b::bossEventCount(), 5);
    hit(boss);
    step();
    EXPECT_EQ(boss->aiState, 21);
    EXPECT_EQ(boss->parts->data()[2], hp - 1);
    EXPECT_EQ(b::counter(boss), -1);
}

TEST_F(ArenaBossTest, PastTheTableTheBossStands) {
    b::bossEventCount() = 41;
    boss->aiState = 6;
    steps(5);
    EXPECT_EQ(boss->aiState, 6);
    EXPECT_EQ(b::bossEventCount(), 41);
}

}  // namespace

// The anchor-hopping mini-bosses: rounds of 2, 3 and 4 attacks by phase,
// hops to the anchors of their link chain, the bounded random placements,
// the waypoint boss's patrol, attacks and refused script id.
#include <gtest/gtest.h>

#include <set>

#include "game/actor/paint.h"
#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/sprite.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/bosses_support.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/demo_bosses.h"

namespace {

using namespace bossestest;
namespace b = game::behaviour;

class MiniBossTest : public BossTest {};

// Attacks (entries into state 20) until the round ends in state 2.
int roundLength(BossTest* t, cActor* boss) {
    int attacks = 0;
    jint last = boss->aiState;
    for (int i = 0; i < 3000 && boss->aiState != 2; ++i) {
        t->step();
        if (boss->aiState == 20 && last != 20) ++attacks;
        last = boss->aiState;
    }
    return boss->aiState == 2 ? attacks : -1;
}

TEST_F(MiniBossTest, AnchorBossLoadsItsAnchorsAndRisesAtThem) {
    cActor* boss = arena(33, 120);
    ASSERT_NE(boss, nullptr);
    step();
    EXPECT_EQ(boss->aiState, 42);
    EXPECT_EQ(boss->parts->data()[9], 3);
    EXPECT_EQ(boss->parts->data()[11], (200 << 16) + 380);
    EXPECT_EQ(boss->parts->data()[13], (672 << 16) + 380);
    std::set<jint> xs;
    for (int i = 0; i < 3000 && xs.size() < 3; ++i) {
        step();
        if (boss->aiState == 4) xs.insert(boss->posX);
    }
    EXPECT_EQ(xs, (std::set<jint>{200, 436, 672}));
}

// The hop to an anchor is marked near the top of the view over the anchor,
// wherever the camera stands, for 32 steps.
TEST_F(MiniBossTest, HopMarkerStandsInTheViewForThirtyTwoSteps) {
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 12, 20));
    kit::SpriteFrame f;
    f.modules = {{0, -6, -20, 0, 0}};
    m.frames = {f};
    kit::SpriteAnim an;
    an.frames = {{0, 1}};
    m.anims = {an};
    BSprite* marker = spritetest::loadSprite(m);
    ObjectArray* index = newObjectArray(cid::IntArray, 32);
    game::cg().spriteIndex = index;
    IntArray* group = newIntArray(32);
    ObjectArray::set(game::cg().spriteIndex, 18, group);
    static_cast<IntArray*>(game::cg().spriteIndex->data()[18])->data()[10] = 1;
    ObjectArray* sprites = newObjectArray(cid::Object, 2);
    game::cg().sprites = sprites;
    ObjectArray::set(game::cg().sprites, 1, marker);

    cActor* boss = arena(33, 120);
    ASSERT_NE(boss, nullptr);
    step();
    ASSERT_EQ(boss->aiState, 42);
    game::cg().cameraY = 1000;
    ASSERT_GE(stepUntil([&] { return boss->aiState == 3; }, 400), 0);
    cActor* mark = nullptr;
    for (jint i = 0; i < game::ca().effectCount; ++i) {
        auto* e = static_cast<cActor*>(game::ca().effectPool->data()[i]);
        if (e && e->sprite == marker && !(e->flags & 0x40)) mark = e;
    }
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->layer, 12);
    EXPECT_EQ(mark->posX, boss->parts->data()[0] >> 8) << "over the anchor";
    const jint viewY = mark->posY - game::cg().cameraY + 240;
    EXPECT_EQ(viewY, 50 + 20 + 5) << "inside the 480-px view";
    EXPECT_EQ(mark->timer, 32);
    for (int i = 0; i < 31; ++i) game::updateEffectPool();
    EXPECT_EQ(mark->flags & 0x40, 0);
    game::updateEffectPool();
    EXPECT_NE(mark->flags & 0x40, 0) << "gone after 32 steps";
}

TEST_F(MiniBossTest, RoundsLastTwoThreeAndFourAttacksByPhase) {
    // Class 12: 12 hit points is phase 0, 8 phase 1, 4 phase 2.
    struct Case {
        jint hitPoints, attacks;
    } cases[] = {{12, 2}, {8, 3}, {4, 4}};
    for (const Case& c : cases) {
        cActor* boss = arena(33, 120);
        ASSERT_NE(boss, nullptr);
        step();
        boss->parts->data()[2] = c.hitPoints;
        EXPECT_EQ(roundLength(this, boss), c.attacks) << c.hitPoints;
        EXPECT_EQ(boss->parts->data()[26], 0);
    }
}

TEST_F(MiniBossTest, TheSecondLastAttackOfARoundIsOfKindTwo) {
    cActor* boss = arena(33, 120);
    step();
    boss->parts->data()[2] = 4;  // phase 2: four attacks, the third of kind 2
    std::vector<jint> kinds;
    jint last = boss->aiState;
    for (int i = 0; i < 3000 && boss->aiState != 2; ++i) {
        step();
        if (boss->aiState == 20 && last != 20) kinds.push_back(boss->parts->data()[27]);
        last = boss->aiState;
    }
    EXPECT_EQ(kinds, (std::vector<jint>{1, 1, 2, 1}));
}

TEST_F(MiniBossTest, KindTwoOfTypeThirtyThreeDropsThreeActorsApart) {
    cActor* boss = arena(33, 120);
    step();
    const jint before = game::cg().actorCount;
    boss->parts->data()[27] = 2;
    boss->setAnim(5);
    boss->aiState = 20;
    stepUntil([&] { return boss->aiState != 20; }, 20);
    ASSERT_EQ(game::cg().actorCount - before, 3);
    std::vector<jint> xs;
    for (jint i = before; i < game::cg().actorCount; ++i) {
        cActor* a = game::poolActor(i);
        EXPECT_EQ(a->subtype, 131);
        EXPECT_LE(std::abs(a->posX - 436), 375);
        xs.push_back(a->posX);
    }
    for (size_t i = 0; i < xs.size(); ++i)
        for (size_t j = 0; j < i; ++j) EXPECT_GE(std::abs(xs[i] - xs[j]), 70);
}

TEST_F(MiniBossTest, PlacementsThatCannotKeepTheirGapArePlacedAfterBoundedTries) {
    cActor* boss = arena(21, 120);
    step();
    // A drop range of 10 px cannot hold three drops 80 px apart.
    boss->parts->data()[5] = 400;
    boss->parts->data()[6] = 410;
    boss->parts->data()[2] = 4;
    boss->parts->data()[27] = 1;
    boss->parts->data()[29] = -1;
    boss->aiState = 4;
    b::timer(boss) = 0;
    const jint before = game::cg().actorCount;
    steps(2);
    EXPECT_EQ(boss->aiState, 4);
    ASSERT_EQ(game::cg().actorCount - before, 3);
    for (jint i = before; i < game::cg().actorCount; ++i) {
        EXPECT_GE(game::poolActor(i)->posX, 405);
        EXPECT_LE(game::poolActor(i)->posX, 405);
    }
}

TEST_F(MiniBossTest, WaypointBossRefusesAScriptIdNamingNone) {
    cActor* boss = arena(21, 120);
    boss->setParam(5, 77);
    step();
    EXPECT_EQ(boss->getParamOr(5), -1);
    EXPECT_EQ(boss->aiState, 2);
    EXPECT_EQ(boss->parts->data()[5], 36);
    EXPECT_EQ(boss->parts->data()[6], 836);
}

TEST_F(MiniBossTest, WaypointBossWalksItsChainThenAttacks) {
    cActor* boss = arena(21, 120);
    step();
    EXPECT_EQ(boss->getParamOr(5), game::world::findScriptById(9));
    // Waypoints 200, 436, 672 in turn; the attack starts at the last.
    std::vector<jint> targets;
    for (int i = 0; i < 3000 && boss->aiState != 4; ++i) {
        jint target = boss->parts->data()[0] >> 8;
        if (boss->aiState == 3 && (targets.empty() || targets.back() != target)) targets.push_back(target);
        step();
    }
    EXPECT_EQ(targets, (std::vector<jint>{200, 436, 672}));
    EXPECT_EQ(boss->aiState, 4);
    EXPECT_EQ(boss->posX, 672);
}

TEST_F(MiniBossTest, WaypointBossThrowsSevenInPhaseOneThenChases) {
    cActor* boss = arena(21, 120);
    step();
    boss->parts->data()[2] = 8;  // four hits taken: phase 1
    boss->aiState = 4;
    b::timer(boss) = 0;
    step();
    EXPECT_EQ(boss->aiState, 20);
    EXPECT_EQ(boss->parts->data()[28], 7);
    EXPECT_EQ(boss->anim, 3);
    stepUntil([&] { return boss->aiState != 20; }, 200);
    EXPECT_EQ(boss->aiState, 4);
    EXPECT_EQ(boss->parts->data()[28], 0);
    // The throw series runs once; phase 1 chases from then on.
    b::timer(boss) = 0;
    step();
    EXPECT_EQ(boss->aiState, 7);
}

TEST_F(MiniBossTest, WaypointBossDropsInPhaseTwoAtLeast80PxApart) {
    cActor* boss = arena(21, 120);
    step();
    boss->parts->data()[2] = 4;  // phase 2
    boss->parts->data()[27] = 1;  // the throw series is done
    boss->parts->data()[29] = -1;
    boss->aiState = 4;
    b::timer(boss) = 0;
    jint before = game::cg().actorCount;
    step();
    EXPECT_EQ(boss->aiState, 20);
    EXPECT_EQ(boss->parts->data()[29], 1);
    step();
    EXPECT_EQ(boss->aiState, 4);
    ASSERT_EQ(game::cg().actorCount - before, 3);
    std::vector<jint> xs;
    for (jint i = before; i < game::cg().actorCount; ++i) xs.push_back(game::poolActor(i)->posX);
    for (size_t i = 0; i < xs.size(); ++i) {
        EXPECT_GE(xs[i], 36 + 5);
        EXPECT_LE(xs[i], 836 - 5);
        for (size_t j = 0; j < i; ++j) EXPECT_GE(std::abs(xs[i] - xs[j]), 80);
    }
}

TEST_F(MiniBossTest, NothingRunsWhileAScriptRuns) {
    cActor* boss = arena(24, 120);
    step();
    jint s = boss->aiState, t = b::timer(boss);
    game::world::startScript(game::world::findScriptById(9));
    steps(5);
    EXPECT_EQ(boss->aiState, s);
    EXPECT_EQ(b::timer(boss), t);
}

}  // namespace

// Bad data against the movers' and enemies' routines: actors of every type
// of the family with random short records, parts, states, timers and link
// rows (loops, speed rows naming each other, rows past the table) stepped
// for 300 steps from a fixed seed. Nothing may crash, hang or grow the pool
// past its size; the refusals log and leave the actor as it was.
#include <gtest/gtest.h>

#include <random>

#include "game/actor/pool.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/enemies.h"
#include "game/behaviour/linkpath.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;

class MoversRobustness : public behaviourtest::BehaviourTest {};

TEST_F(MoversRobustness, RandomActorsOfTheFamilyStepWithoutHarm) {
    behaviourtest::loadLevel(
        "layer 4 20 8\n"
        "6..................6\n6..................6\n6..................6\n6..................6\n"
        "6..................6\n6..................6\n66666666666666666666\n66666666666666666666\n"
        "link 1 100 100 2 10 3\nlink 2 200 100 1 10 0\nlink 3 300 150 3 9 4\nlink 4 300 150 5 0 30000\n"
        "link 5 -30000 30000 4 0 -7\n");
    cActor* hero = behaviourtest::makeHero(200, 216);
    ASSERT_NE(hero, nullptr);
    std::mt19937 rng(1234);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<jint> types(std::begin(kCommonEnemyTypes), std::end(kCommonEnemyTypes));
    for (jint t : {6, 9, 41, 50, 65, 72, 76, 79, 87, 89, 99, 101, 103}) types.push_back(t);
    const jint subtypes[] = {27, 41, 55, 58, 64, 86, 87, 93, 188, 218, 225, 229, 231, 11, 38, 94, 185, 30};
    for (int round = 0; round < 4; ++round) {
        for (jint type : types) {
            std::vector<int16_t> r = {static_cast<int16_t>(subtypes[pick(0, std::size(subtypes) - 1)]),
                                      static_cast<int16_t>(500 + pick(0, 9000)), static_cast<int16_t>(pick(0, 700)),
                                      static_cast<int16_t>(pick(0, 250)), 7, static_cast<int16_t>(pick(-1, 12)), 160};
            const int extra = pick(0, 12);
            for (int k = 0; k < extra; ++k) r.push_back(static_cast<int16_t>(pick(-3, 6)));
            cActor* a = behaviourtest::spawnRecord(r);
            if (!a) continue;
            a->type = type;
            a->aiState = pick(0, 3) == 0 ? pick(-5, 70) : 0;
            a->timer = pick(-3, 60);
            a->linkIndex = pick(-2, 7);
            if (pick(0, 1)) a->parts = newIntArray(pick(0, 12));
            if (pick(0, 2) == 0 && !a->motion) a->allocMotionState();
            game::addActiveActor(a);
        }
        for (int step = 0; step < 300; ++step) {
            for (jint i = 0; i < game::cg().activeActorCount; ++i) {
                cActor* a = game::activeActor(i);
                if (a && a != hero) a->update();
            }
            ASSERT_LE(game::cg().actorCount, game::kActorPoolSize);
        }
        game::removeAllActors(false);
        hero = behaviourtest::makeHero(200, 216);
    }
}

TEST_F(MoversRobustness, LinkWalksStayBoundedOnLoopsAndBadRows) {
    behaviourtest::loadLevel("layer 4 2 2\n..\n..\n"
                             "link 1 0 0 2 10 3\nlink 2 50 0 1 10 4\nlink 3 10 10 3 0 0\n");
    cActor* a = behaviourtest::spawnRecord({182, 600, 0, 0, 7, 0, 160, 3, 3, 3});
    if (!a->motion) a->allocMotionState();
    a->parts = newIntArray(100);
    loadLinkChain(a, 1, 0);  // a row naming itself: one point
    EXPECT_EQ(a->parts->data()[0], 1);
    a->linkIndex = 0;
    moveToLinkRow(a, 0, 2);  // speed rows naming each other: one followed
    moveToLinkRow(a, 99, 2);
    moveToLinkRow(a, -7, 2);
    loadLinkChain(a, -3, 200);
    loadLinkChain(a, 98, 99);
    EXPECT_EQ(snapToLinkLine(0, a, 5), a->posY);
}

}  // namespace

// A seeded random soak over the hero's step: random input bits, physics
// results, cells and forced states, with and without the actors the states
// act on. Every step leaves a state with a handler, and one seed gives one
// history of states, twice.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "runtime/log.h"
#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

std::vector<jint> soak(uint32_t seed, int steps) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    Fake f;
    f.curve = {-4000, -3000, -2000, -1000, 0, 1000};
    moveTo(f.h(), 200 * 256, 360 * 256);
    for (jint c = 0; c < 12; ++c) {
        f.world.cls[{c, 10}] = pick(3) == 0 ? pick(32) : 8;
        f.world.tileFlags[{c, 10}] = 8;
    }
    FakeActor& other = f.spawn();
    other.params = {3, pick(2), 0, 0, 0, 0, 0, 0, 0};
    other.parts = {pick(1024), 0, 0, 0, 23040, 0, 0, 23040, 0, 0, 23040};
    other.subtype = pick(2) ? 112 : 32;
    const jint results[] = {0, 1, 4, 8, 0x100008, 0x100000, 20, 64 | 8};
    f.enter(HeroState::STAND);
    std::vector<jint> history;
    for (int i = 0; i < steps; ++i) {
        f.actionMask = static_cast<jint>(rng()) & 0x1FFFFF;
        f.collisionResult = results[pick(8)];
        f.world.slope = pick(4) == 0 ? 0x30003 : 0;
        f.world.feetFlags = pick(6) == 0 ? 0x1000000 : 0;
        f.hero.animDone = pick(3) == 0;
        f.hero.frame = pick(5);
        f.physicsDy = pick(4) == 0 ? 256 : 0;
        f.grabbed = pick(3) == 0 ? A(other) : nullptr;
        f.partner = pick(3) == 0 ? A(other) : nullptr;
        f.partnerMode = pick(10);
        f.statics.heroChain = pick(2) ? A(other) : nullptr;
        f.statics.heroHoldActor = pick(2) ? A(other) : nullptr;
        f.statics.nextOrbitActor = pick(2) ? A(other) : nullptr;
        f.statics.carryTicks = pick(40) - 5;
        f.heroDead = pick(50) == 0;
        if (pick(10) == 0) {
            jint s = pick(41);
            if (s != 24) f.enter(s);
        }
        if (pick(2)) f.accelerate(f.hero);
        updateHero(f.h());
        EXPECT_TRUE(isHeroState(f.heroState)) << "seed " << seed << " step " << i << " state " << f.heroState;
        history.push_back(f.heroState);
    }
    return history;
}

TEST(HeroSoak, EveryStepEndsInAStateWithAHandlerAndRepeats) {
    jint logged = 0;
    rt::setLogSink([&](std::string_view) { ++logged; });
    auto start = std::chrono::steady_clock::now();
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::vector<jint> a = soak(seed, 400);
        std::vector<jint> b = soak(seed, 400);
        EXPECT_EQ(a, b) << "seed " << seed;
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60)) << "hang guard";
    }
    rt::setLogSink(nullptr);
    EXPECT_GT(logged, 0) << "states entered without their actor were logged";
}

}  // namespace
}  // namespace herotest

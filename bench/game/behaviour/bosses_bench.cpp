// Boss arena benchmark:
//  - BM_BossArenaStep: one logic step of every actor of the pattern boss's
//    arena (the boss with its platform, the second boss, two minions and
//    150 contact hazards, hero hits every fifth step); counters: the step
//    time and C++ allocations per step after warm-up.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/common/alloc_counter.h"
#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "tests/game/behaviour/core_support.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/describe.h"
#include "tools/kit/level.h"

namespace {

std::string spriteText() {
    std::string s =
        "sprite\npalette-format 6505\npixel-format 64F0\npalette 00000000 FF305020\n"
        "module fill FFFF0000 8 8\nframe\nfm 0 0 0\n";
    for (int a = 0; a < 128; ++a) s += "anim\naf 0 1\naf 0 1\naf 0 1\n";
    return s;
}

struct Arena {
    cActor* boss = nullptr;
    cActor* hero = nullptr;
    BSprite* sprite = nullptr;
};

Arena& arena() {
    static Arena a = [] {
        Arena r;
        behaviourtest::startApplication();
        r.sprite = spritetest::loadSprite(kit::parseSpriteDescription(spriteText()));
        ObjectArray::set(game::cg().levelSprites, 0, r.sprite);
        const std::string text = kit::bossArenaLevel(102);
        behaviourtest::loadLevel(text);
        r.hero = behaviourtest::makeHero(300, 431);
        game::setVariable(3, 1000000, false);
        game::world::setCameraLimits(36, 0, 836, 432);
        game::cg().cameraX = 436;
        for (const kit::LevelRecord& rec : kit::parseLevelDescription(text).objects) {
            if (rec.values.empty() || rec.values[0] == 0 || (rec.values[0] >= 2000 && rec.values[0] <= 2002)) continue;
            cActor* x = behaviourtest::spawnRecord(rec.values);
            if (x && rec.values[1] == 100) r.boss = x;
        }
        game::spawnActorAt(kit::kSubtypeSecondBoss, 600, 431, 0, 0, false);
        game::spawnActorAt(218, 200, 420, 0, 0, false);
        game::spawnActorAt(202, 700, 420, 0, 0, false);
        for (int i = 0; i < 150; ++i) {
            cActor* h = game::spawnActorAt(257, 60 + (i % 50) * 16, 100 + (i / 50) * 40, 0, 0, false);
            if (h) h->type = 87;
        }
        return r;
    }();
    return a;
}

void stepAll(Arena& a, int t) {
    if (t % 5 == 0 && a.boss) a.boss->contactFlags |= 0x200000;
    for (jint i = 0; i < game::cg().actorCount; ++i) {
        cActor* x = game::poolActor(i);
        if (x == a.hero) continue;
        if (!x->sprite) x->sprite = a.sprite;
        x->update();
    }
    // Keep the fight going: a defeated boss stands again with full points.
    if (a.boss && a.boss->parts && a.boss->parts->data()[2] < 1) a.boss->parts->data()[2] = 8;
}

void BM_BossArenaStep(benchmark::State& state) {
    Arena& a = arena();
    int t = 0;
    for (int i = 0; i < 200; ++i) stepAll(a, t++);
    const uint64_t before = bench::cxxAllocations();
    int64_t steps = 0;
    for (auto _ : state) {
        stepAll(a, t++);
        ++steps;
    }
    state.counters["cxx_allocs_per_step"] =
        benchmark::Counter(static_cast<double>(bench::cxxAllocations() - before) / static_cast<double>(steps));
    state.counters["actors"] = static_cast<double>(game::cg().actorCount);
}
BENCHMARK(BM_BossArenaStep);

}  // namespace

BENCHMARK_MAIN();

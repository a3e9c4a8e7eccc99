// A full pool of 200 level actors stepped through the behaviour library:
// the in-game actor passes, contact classification, pending hits, a message
// and a rule program per actor each step. Reports the time per logic step
// (the budget is one 62 ms step) and the C++ and Java allocations per step
// after warm-up.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/common/alloc_counter.h"
#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/messages.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/streaming.h"
#include "runtime/application.h"
#include "tests/game/behaviour/core_support.h"

namespace {

struct Scene {
    cActor* hero = nullptr;
    void build() {
        behaviourtest::startApplication();
        hero = worldtest::makeHero(400, 300);
        game::setVariable(3, 10, false);
        const int16_t subtypes[] = {2, 3, 5, 41, 86, 27, 13, 33};
        for (int i = 0; game::cg().actorCount < 200 && i < 400; ++i)
            worldtest::spawnRecord({subtypes[i % 8], static_cast<int16_t>(100 + i), static_cast<int16_t>(20 + (i * 37) % 760),
                                    static_cast<int16_t>(60 + (i * 53) % 400), 0, 0, 0xA0, 0, 10, 10, 0, 0});
    }
    void step(int n) {
        game::cg().hero = hero;
        game::world::updateAllActors();
        game::world::updateHeroFrame();
        for (jint i = 0; i < game::cg().actorCount; ++i) {
            cActor* a = game::poolActor(i);
            if (!a || a == hero) continue;
            game::behaviour::classifyHeroContact(a);
            game::behaviour::applyPendingHits(a, (n + i) & 1);
            game::behaviour::onMessage(a, 0, 5 + (i % 2), 0);
            game::behaviour::runRules(a, game::aiProgram(2), 1);
        }
        if (game::getVariable(3) < 1) game::setVariable(3, 10, false);
    }
};

Scene& scene() {
    static Scene s = [] {
        Scene built;
        built.build();
        return built;
    }();
    return s;
}

void BM_BehaviourStep(benchmark::State& state) {
    Scene& s = scene();
    int n = 0;
    for (int i = 0; i < 50; ++i) s.step(n++);  // warm-up
    Application* app = Application::instance();
    const uint64_t cxx = bench::cxxAllocations();
    const size_t objects = app->objects().objectCount();
    constexpr int kSteps = 200;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kSteps; ++i) s.step(n++);
    const double step = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / kSteps;
    const uint64_t cxxUsed = bench::cxxAllocations() - cxx;
    const size_t objectsUsed = app->objects().objectCount() - objects;
    for (auto _ : state) s.step(n++);
    state.counters["actors"] = static_cast<double>(game::cg().actorCount);
    state.counters["step_ms"] = step * 1000.0;
    state.counters["of_62ms_budget"] = step / 0.062;
    state.counters["cxx_allocs_per_step"] = static_cast<double>(cxxUsed) / kSteps;
    state.counters["java_objects_per_step"] = static_cast<double>(objectsUsed) / kSteps;
}
BENCHMARK(BM_BehaviourStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

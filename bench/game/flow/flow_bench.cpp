// Game-flow benchmarks. Allocation counters: Java objects made per
// iteration (the object manager's count; the collector is held off by the
// heap's size) and C++ heap allocations per iteration.
#include <benchmark/benchmark.h>

#include "bench/common/alloc_counter.h"
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/loading.h"
#include "game/flow/program.h"
#include "game/flow/screen.h"
#include "game/flow/states.h"
#include "runtime/objectmanager.h"
#include "tests/game/flow/support.h"
#include "tools/kit/demo.h"

namespace {

using namespace game;

flowtest::FakeClock g_clock;

// The demo content loaded to the title, once per process.
void startGame() {
    static bool started = false;
    if (started) return;
    started = true;
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    flowtest::startFlowApplication(64 << 20, 256 << 20);
    for (const kit::DemoEntry& e : kit::demoEntries()) datatest::files()[e.name] = e.make();
    datatest::serveFromMemory();
    setGameClock(&g_clock);
    registerGameProgram();
    RavitBHSG::setStartsThread(false);
    RavitBHSG* midlet = newObject<RavitBHSG>();
    midlet->startApp();
    cGame::runStart();
    for (int i = 0; i < 400 && cg().gameState != 3; ++i) {
        g_clock.advance(45);
        cGame::runPass();
    }
}

struct Counts {
    uint64_t cxx;
    size_t objects;
    static Counts now() { return {bench::cxxAllocations(), ObjectManager::instance()->objectCount()}; }
};

void report(benchmark::State& state, const Counts& before) {
    const Counts after = Counts::now();
    const double n = static_cast<double>(state.iterations());
    state.counters["cxx_allocs_per_iter"] = static_cast<double>(after.cxx - before.cxx) / n;
    state.counters["objects_per_iter"] = (static_cast<double>(after.objects) - static_cast<double>(before.objects)) / n;
}

void BM_RunLoopPassWithStep(benchmark::State& state) {
    startGame();
    const Counts before = Counts::now();
    for (auto _ : state) {
        g_clock.advance(41);
        benchmark::DoNotOptimize(cGame::runPass());
    }
    report(state, before);
}
BENCHMARK(BM_RunLoopPassWithStep);

void BM_PlanLoadSteps(benchmark::State& state) {
    startGame();
    cg().loadRequest->data()[0] = 4;
    const Counts before = Counts::now();
    for (auto _ : state) planLoadSteps();
    report(state, before);
}
BENCHMARK(BM_PlanLoadSteps);

void BM_FormatText(benchmark::State& state) {
    startGame();
    String* text = String::fromLatin1("Score \\d of \\d, bonus \\s!|");
    addIntParam(1234);
    addIntParam(99);
    addIntParam(7);
    const Counts before = Counts::now();
    for (auto _ : state) benchmark::DoNotOptimize(formatText(nullptr, text));
    report(state, before);
}
BENCHMARK(BM_FormatText);

void BM_FormatNumber(benchmark::State& state) {
    startGame();
    String* sep = String::fromLatin1("'");
    const Counts before = Counts::now();
    for (auto _ : state) benchmark::DoNotOptimize(formatNumber(1234567, 0, sep));
    report(state, before);
}
BENCHMARK(BM_FormatNumber);

void BM_TitleFrame(benchmark::State& state) {
    startGame();
    auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
    auto* g = image->getGraphics();
    cg().graphics = g;
    cg().screenGraphics = g;
    for (int i = 0; i < 3; ++i) gameStateDispatch(3, kMsgPaint);
    const Counts before = Counts::now();
    for (auto _ : state) gameStateDispatch(cg().gameState, kMsgPaint);
    report(state, before);
}
BENCHMARK(BM_TitleFrame);

}  // namespace

BENCHMARK_MAIN();

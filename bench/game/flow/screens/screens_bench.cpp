// Screens benchmarks. Per frame: time, Java objects made (the object
// manager's count; the heap is large enough that the collector stays off)
// and C++ heap allocations.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/flow/screens.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/firework.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/playpaint.h"
#include "runtime/objectmanager.h"
#include "tests/game/flow/screens/support.h"

namespace {
std::atomic<uint64_t> g_cxxAllocations{0};
}

void* operator new(size_t size) {
    g_cxxAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

class Host : public screenstest::ScreensTest {
public:
    void TestBody() override {}
    void start() { SetUp(); }
};

void startOnce() {
    static bool started = false;
    if (started) return;
    started = true;
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    static Host host;
    host.start();
    auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
    game::cg().graphics = image->getGraphics();
    game::cg().screenGraphics = game::cg().graphics;
}

struct Counts {
    uint64_t cxx;
    size_t objects;
    static Counts now() { return {g_cxxAllocations.load(), ObjectManager::instance()->objectCount()}; }
};

void report(benchmark::State& state, const Counts& before) {
    const Counts after = Counts::now();
    const double n = static_cast<double>(state.iterations());
    state.counters["cxx_allocs_per_frame"] = static_cast<double>(after.cxx - before.cxx) / n;
    state.counters["objects_per_frame"] = (static_cast<double>(after.objects) - static_cast<double>(before.objects)) / n;
}

void BM_MenuScreenFrame(benchmark::State& state) {
    startOnce();
    game::cg().mainMenu = game::expandMenu(game::cg().mainMenu);
    game::paintScreen(game::cg().mainMenu);  // warm-up: opens the menu
    const Counts before = Counts::now();
    for (auto _ : state) game::paintScreen(game::cg().mainMenu);
    report(state, before);
}
BENCHMARK(BM_MenuScreenFrame);

void BM_InGameOverlays(benchmark::State& state) {
    startOnce();
    game::cg().fireworksOn = true;
    game::cg().fireworkPhase = 0;
    game::cg().panelPosition = game::cg().panelOffset = 40;
    game::paintGameplay();  // the show's set-up
    for (int i = 0; i < 120; ++i) game::paintGameplay();  // every rocket has burst
    const Counts before = Counts::now();
    for (auto _ : state) {
        game::paintGameplay();
        game::paintPanel();
        game::paintDialog();
    }
    report(state, before);
}
BENCHMARK(BM_InGameOverlays);

// The heads-up display over play: the corner buttons (images built at the
// warm-up), the counter text, the fade overlay covering the canvas, the
// soft keys and the caption; 0 objects and allocations after the warm-up.
void BM_HeadsUpDisplay(benchmark::State& state) {
    startOnce();
    game::cg().panelOffset = 1;
    game::cg().checkpointTimer = 1 << 30;
    game::startFadeOverlay(2);
    for (int i = 0; i < 100; ++i) game::paintFadeOverlay();  // the wipe has covered the canvas
    game::paintSidePanelButtons();
    game::paintCaption();
    const Counts before = Counts::now();
    for (auto _ : state) {
        game::paintSidePanelButtons();
        game::paintFadeOverlay();
        game::paintCaption();
        game::paintInGameSoftKeys();
    }
    report(state, before);
}
BENCHMARK(BM_HeadsUpDisplay);

}  // namespace

BENCHMARK_MAIN();

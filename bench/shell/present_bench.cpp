// Presenting the 480x800 RGB565 back buffer to the main window on SDL's
// offscreen video driver (set here unless the environment names another):
// both screen drivers, one to one and scaled, upright and turned a quarter
// back into a landscape window as the game's window is, presented on the window thread
// (copy, conversion and display in the call), and from a game thread to the
// moment the window thread has shown the frame.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/window/window.h"
#include "shell/screen_driver.h"

namespace {

enum Kind { kGdi, kDdraw };

struct Setup {
    std::shared_ptr<platform::Window> window;
    std::unique_ptr<ScreenDriver> driver;

    Setup(Kind kind, int hostWidth, int hostHeight, bool turned = false) {
        platform::WindowSettings settings;
        settings.turned = turned;
        settings.className = "TindrellClass";
        settings.title = "Tindrell - Bramble Hollow Saga";
        settings.hostWidth = hostWidth;
        settings.hostHeight = hostHeight;
        window = platform::Window::create(settings, [](platform::Window&, uint32_t, uintptr_t, intptr_t) -> intptr_t {
            return 0;
        });
        if (!window) return;
        if (kind == kGdi) driver = std::make_unique<GdiScreen>(480, 800, 480, 800);
        else driver = std::make_unique<DirectDrawScreen>(480, 800, 480, 800);
        if (!driver->open(window.get())) {
            driver.reset();
            return;
        }
        uint16_t* p = driver->backBuffer();
        for (int i = 0; i < 480 * 800; ++i) p[i] = uint16_t(i * 2654435761u >> 16);
    }
    ~Setup() {
        driver.reset();
        if (window) window->destroy();
    }
    bool ok() const { return window && driver; }
};

// Presented on the window thread: the frame is on the window when it returns.
// hostWidth is the window's size across the screen's width (480: one to
// one); turned windows are as wide as the screen is high.
void BM_PresentOnWindowThread(benchmark::State& state) {
    const int across = int(state.range(1)), along = across * 800 / 480;
    const bool turned = state.range(2) != 0;
    Setup s(Kind(state.range(0)), turned ? along : across, turned ? across : along, turned);
    if (!s.ok()) {
        state.SkipWithError("no window or presenter");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(s.driver->present());
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * 480 * 800 * 2);
}
BENCHMARK(BM_PresentOnWindowThread)
    ->ArgNames({"ddraw", "hostWidth", "turned"})
    ->Args({kGdi, 480, 0})
    ->Args({kGdi, 240, 0})
    ->Args({kDdraw, 480, 0})
    ->Args({kDdraw, 240, 0})
    ->Args({kGdi, 480, 1})
    ->Args({kGdi, 240, 1})
    ->Args({kDdraw, 480, 1})
    ->Args({kDdraw, 240, 1})
    ->Unit(benchmark::kMicrosecond);

// Presented on a game thread while the window thread sleeps in its loop:
// from the call until the window thread has shown that frame.
void BM_PresentFromGameThread(benchmark::State& state) {
    Setup s(Kind(state.range(0)), 480, 800);
    if (!s.ok()) {
        state.SkipWithError("no window or presenter");
        return;
    }
    std::atomic<bool> done{false};
    std::thread game([&] {
        for (auto _ : state) {
            s.driver->present();
            const uint64_t frame = s.window->shownFrame() + 1;
            s.window->waitUntilShown(frame, 1000);
        }
        done = true;
    });
    while (!done) s.window->sleep(5);
    game.join();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PresentFromGameThread)->ArgNames({"ddraw"})->Arg(kGdi)->Arg(kDdraw)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// One whole in-game frame of the busiest demo level, as the game thread runs
// it: the keys, the in-game update (level-object streaming, the hero, every
// live actor, the camera), the sound queue, the paint of every layer, the
// actors and the HUD into the screen image that lies over the screen
// driver's back buffer, and the present of that buffer to the main window
// on SDL's offscreen driver. The level is picked at start among the game's
// stages (loaded as the game loads them): of those whose frames show a
// picture, the one with the most live actors over a short walk. Reports the time per frame, C++
// allocations and Java objects per frame after warm-up, the share of the
// screen drawn, and the pause of a forced full collection over the live heap
// the level leaves.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/alloc_counter.h"
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "platform/window/window.h"
#include "runtime/application.h"
#include "runtime/objectmanager.h"
#include "shell/screen_driver.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_game.h"

namespace {


struct Candidate {
    std::string name;
    std::string level;  // a step-driver level name
};

// The game's stages, each loaded as the game loads it (the loading table
// over the demo archive: its tiles, actor sprites and level pack).
std::vector<Candidate> candidates() {
    std::vector<Candidate> out = {{"stage 0", "stage:0"}};
    for (const kit::DemoStage& d : kit::demoStages())
        out.push_back({"stage " + std::to_string(d.stage), "stage:" + std::to_string(d.stage)});
    return out;
}

struct Scene {
    std::unique_ptr<stepdriver::StepDriver> driver;
    std::shared_ptr<platform::Window> window;
    std::unique_ptr<ScreenDriver> screen;
    std::string name;
    int actors = 0;
    bool ok = false;

    Scene() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        platform::WindowSettings settings;
        settings.className = "TindrellClass";
        settings.title = "Tindrell - Bramble Hollow Saga";
        window = platform::Window::create(settings, [](platform::Window&, uint32_t, uintptr_t, intptr_t) -> intptr_t {
            return 0;
        });
        if (!window) return;
        screen = std::make_unique<GdiScreen>(480, 800, 480, 800);
        if (!screen->open(window.get())) return;

        // The busiest level among those whose frames show a picture (the
        // fixture levels lack some of the stage's sprites and may draw
        // nothing): most live actors over a short walk.
        Candidate best;
        for (const Candidate& c : candidates()) {
            if (!load(c.level)) continue;
            int most = 0;
            for (int i = 0; i < 150; ++i) {
                frame();
                most = std::max<int>(most, game::cg().actorCount);
            }
            if (drawnShare() > 0.01 && (best.level.empty() || most > actors)) {
                best = c;
                actors = most;
            }
            driver.reset();
        }
        ok = !best.level.empty() && load(best.level);
        name = best.name;
        frameIndex = 0;
    }
    ~Scene() {
        game::setGameClock(nullptr);
        driver.reset();
        screen.reset();
        if (window) window->destroy();
    }
    // A fresh application with the level in place, painting into the
    // screen image over the driver's back buffer (as the program does).
    bool load(const std::string& level) {
        driver.reset();
        driver = std::make_unique<stepdriver::StepDriver>();
        stepdriver::Options o;
        o.level = level;
        o.seed = 7;
        std::string error;
        if (!driver->load(o, error) || !game::cg().hero) {
            driver.reset();
            return false;
        }
        auto* image = javax_microedition_lcdui_Image::createScreenImage(480, 800, screen->backBuffer());
        Application::instance()->setRoot(Application::kScreenImage, image);
        auto* g = image->getGraphics();
        game::cg().graphics = g;
        game::cg().screenGraphics = g;
        game::setGameClock(&clock);
        frameIndex = 0;
        return true;
    }
    // Share of the back buffer not in the colour of its first pixel.
    double drawnShare() const {
        const uint16_t* px = screen->backBuffer();
        size_t drawn = 0;
        for (int i = 0; i < 480 * 800; ++i) drawn += px[i] != px[0];
        return double(drawn) / (480.0 * 800.0);
    }
    // The game thread's pass with a logic step, as the in-game state runs
    // it: this frame's keys, the update, the sound queue, the key fold,
    // the paint of the current state, the pending state change, then the
    // present. (The driver's own step also writes its trace: kept out.)
    void frame() {
        keys(frameIndex++);
        clock.time += 62;
        game::cg().gameClock += 62;
        game::gameStateDispatch(game::cg().gameState, game::kMsgUpdate);
        game::cg().stateTicks += 1;
        game::KTLibPlayer::update();
        game::updateKeys();
        game::gameStateDispatch(game::cg().gameState, game::kMsgPaint);
        game::endTouchFrame();
        game::applyPendingState();
        screen->present();
    }
    // Right with a jump, then as far left: the hero stays about its start.
    static void keys(int n) {
        switch (n % 60) {
        case 0: game::keyPressed(-4); break;
        case 10: game::keyPressed(-1); break;
        case 14: game::keyReleased(-1); game::keyPressed(-4); break;
        case 30: game::keyReleased(-4); game::keyPressed(-3); break;
        case 59: game::keyReleased(-3); break;
        default: break;
        }
    }
    struct Clock : game::GameClock {
        jlong time = 1000000;
        jlong now() override { return time; }
        void sleep(jint) override {}
    } clock;
    int frameIndex = 0;
};

Scene& scene() {
    static Scene* s = new Scene;  // lives to the end of the program
    return *s;
}

void BM_InGameFrame(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ok) {
        state.SkipWithError("no demo level could be loaded");
        return;
    }
    for (int i = 0; i < 100; ++i) s.frame();  // warm-up: caches, streamed objects
    ObjectManager& objects = Application::instance()->objects();
    constexpr int kFrames = 300;
    const uint64_t cxx = bench::cxxAllocations();
    const size_t javaBefore = objects.objectCount();
    const uint64_t collectionsBefore = objects.collections();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) s.frame();
    const double frame = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / kFrames;
    const uint64_t cxxUsed = bench::cxxAllocations() - cxx;
    const double javaUsed = double(objects.objectCount()) - double(javaBefore);
    const bool collected = objects.collections() != collectionsBefore;
    for (auto _ : state) s.frame();
    state.SetLabel(s.name + (collected ? " (a collection ran: Java count is net)" : ""));
    // How much of the back buffer the frame covers (the paint lands in the
    // presented buffer).
    state.counters["drawn_pct"] = 100.0 * s.drawnShare();
    state.counters["actors"] = s.actors;
    state.counters["frame_ms"] = frame * 1000.0;
    state.counters["of_62ms_step"] = frame / 0.062;
    state.counters["cxx_allocs_per_frame"] = double(cxxUsed) / kFrames;
    state.counters["java_objects_per_frame"] = javaUsed / kFrames;
}
BENCHMARK(BM_InGameFrame)->Unit(benchmark::kMicrosecond);

// A forced full collection over the live heap the level leaves (statics,
// the level's tables, sprites and actors): the pause the game thread sees.
void BM_FullCollection(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ok) {
        state.SkipWithError("no demo level could be loaded");
        return;
    }
    ObjectManager& objects = Application::instance()->objects();
    for (auto _ : state) objects.gc(ObjectManager::kForced);
    state.SetLabel(s.name);
    state.counters["live_objects"] = double(objects.objectCount());
}
BENCHMARK(BM_FullCollection)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

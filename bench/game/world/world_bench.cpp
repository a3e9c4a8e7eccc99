// World benchmarks:
//  - BM_CacheScroll: layers 0 and 1 over the 800 x 480 view through the
//    tile cache while the view scrolls a few pixels a frame; counters: the
//    frame time over a plain blit's, C++ and Java allocations per frame
//    (0 after warm-up).
//  - BM_CacheDirty: the same with the cache redrawn whole every frame.
//  - BM_PlainBlit: one drawImage of a 480 x 800 image, the floor.
//  - BM_Streaming: the level-object pass over 2,000 records while the
//    camera walks the map.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/common/alloc_counter.h"
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/flow/flow_statics.h"
#include "game/world/camera.h"
#include "game/world/paint.h"
#include "game/world/streaming.h"
#include "tests/game/world/support.h"
#include "tools/kit/describe.h"

namespace {

const char* const kTiles = R"(sprite
palette-format 6505
pixel-format 64F0
palette 00000000 FF305020
module fill FFFF0000 36 36
module fill FF00FF00 36 36
module fill FF0000FF 36 36
module fill FFFFFFFF 6 6
frame
fm 0 0 0
fm 3 0 0
frame
fm 1 0 0
fm 3 0 0
frame
fm 2 0 0
fm 3 0 0
)";

struct Scene {
    std::unique_ptr<spritetest::Screen> screen;
    javax_microedition_lcdui_Image* plain = nullptr;
    IntArray* layers = nullptr;
};

Scene& scene() {
    static Scene s = [] {
        Scene sc;
        worldtest::startApplication();
        std::string d = "layer 0 80 40\n";
        for (int r = 0; r < 40; ++r) {
            for (int c = 0; c < 80; ++c) d += std::to_string((c + r) % 3) + " ";
            d += "\n";
        }
        d += "layer 1 80 40\n";
        for (int r = 0; r < 40; ++r) {
            for (int c = 0; c < 80; ++c) d += (c % 3 ? std::string(".") : std::to_string(r % 3)) + " ";
            d += "\n";
        }
        d += "layer 4 80 40\n";
        for (int r = 0; r < 40; ++r) d += std::string(80, '.') + "\n";
        for (int i = 0; i < 2000; ++i)
            d += "object 1 " + std::to_string(100 + i) + " " + std::to_string((i * 37) % 2880) + " " +
                 std::to_string((i * 53) % 1440) + " 1 0 160 4 4\n";
        worldtest::loadLevel(d);
        worldtest::makeHero(400, 400);
        BSprite* tiles = spritetest::loadSprite(kit::parseSpriteDescription(kTiles));
        ObjectArray::set(game::cg().levelSprites, 0, tiles);
        ObjectArray::set(game::cg().levelSprites, 1, tiles);
        sc.screen = std::make_unique<spritetest::Screen>();
        game::cg().graphics = sc.screen->g;
        sc.plain = javax_microedition_lcdui_Image::createImage(480, 800);
        sc.layers = IntArray::fill(newIntArray(2), {0, 1});
        ObjectManager::instance()->addRoot(reinterpret_cast<Object**>(&sc.plain));
        ObjectManager::instance()->addRoot(reinterpret_cast<Object**>(&sc.layers));
        game::world::createTileCache();
        return sc;
    }();
    return s;
}

jint g_x = 0, g_y = 0;
void step() {
    g_x = (g_x + 5) % 1900;
    g_y = (g_y + 1) % 900;
}

double plainFrameSeconds() {
    Scene& s = scene();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) s.screen->g->drawImage(s.plain, 0, 0, 20);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / 200;
}

void cacheBench(benchmark::State& state, bool dirty) {
    Scene& s = scene();
    for (int i = 0; i < 50; ++i) step(), game::world::paintMapLayer(s.layers, g_x, g_y);  // warm-up
    Application* app = Application::instance();
    const uint64_t cxx = bench::cxxAllocations();
    const size_t objects = app->objects().objectCount();
    constexpr int kFrames = 200;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) {
        step();
        if (dirty) game::cg().tileCacheDirty = 1;
        game::world::paintMapLayer(s.layers, g_x, g_y);
    }
    const double frame = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / kFrames;
    const uint64_t cxxUsed = bench::cxxAllocations() - cxx;
    const size_t objectsUsed = app->objects().objectCount() - objects;
    for (auto _ : state) {
        step();
        if (dirty) game::cg().tileCacheDirty = 1;
        game::world::paintMapLayer(s.layers, g_x, g_y);
    }
    state.counters["over_plain_blit"] = frame / plainFrameSeconds();
    state.counters["cxx_allocs_per_frame"] = static_cast<double>(cxxUsed) / kFrames;
    state.counters["java_objects_per_frame"] = static_cast<double>(objectsUsed) / kFrames;
}

void BM_CacheScroll(benchmark::State& state) { cacheBench(state, false); }
BENCHMARK(BM_CacheScroll)->Unit(benchmark::kMicrosecond);

void BM_CacheDirty(benchmark::State& state) { cacheBench(state, true); }
BENCHMARK(BM_CacheDirty)->Unit(benchmark::kMicrosecond);

void BM_PlainBlit(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) s.screen->g->drawImage(s.plain, 0, 0, 20);
}
BENCHMARK(BM_PlainBlit)->Unit(benchmark::kMicrosecond);

void BM_Streaming(benchmark::State& state) {
    scene();
    jint x = 400;
    for (auto _ : state) {
        x = x >= 2400 ? 400 : x + 7;
        game::cg().cameraX = x;
        game::cg().cameraY = 700;
        game::world::updateLevelObjects();
    }
    state.counters["records"] = game::world::recordCount();
}
BENCHMARK(BM_Streaming)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// One play frame of the actor framework: 200 live level actors of mixed
// types (sprites of 4 to 8 modules, moving carriers with riders, a bouncer,
// zones, repeated and plain sprites) and 64 effects, updated and painted
// layer by layer. Reports the frame time and the heap allocations per
// frame, which must be 0 once warm: C++ allocations through a counting
// operator new, Java objects and bytes from the heaps.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "game/actor/paint.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/sprite.h"
#include "tests/game/actor/support.h"

namespace {
std::atomic<uint64_t> g_cxxAllocations{0};
}  // namespace

void* operator new(size_t size) {
    g_cxxAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

using namespace game;

BSprite* sprite(int modules, uint32_t colour) {
    kit::SpriteModel m;
    kit::SpriteFrame f;
    for (int i = 0; i < modules; ++i) {
        m.modules.push_back(kit::SpriteModule::fillRect(colour + static_cast<uint32_t>(i) * 0x1020, 8 + i, 6 + i));
        f.modules.push_back({i, -12 + 3 * i, -20 + 2 * i, 0, 0});
    }
    m.frames = {f, f};
    kit::SpriteAnim a;
    a.frames = {{0, 2}, {1, 3}};
    m.anims.assign(10, a);
    return spritetest::loadSprite(m);
}

struct Frame {
    spritetest::Screen* screen = nullptr;
    BSprite* sprites[5] = {};

    void build() {
        actortest::startApplication();
        screen = new spritetest::Screen();
        cg().graphics = screen->g;
        createActorPool();
        actortest::centreCamera();
        // The sprites live in the game's sprite table (a collector root):
        // this struct is not scanned.
        cg().sprites = newObjectArray(cid::BSprite, 5);
        for (int i = 0; i < 5; ++i) {
            sprites[i] = sprite(4 + i, 0xFF204060u + static_cast<uint32_t>(i) * 0x300000u);
            cg().sprites->data()[i] = sprites[i];
        }
        actortest::makeHero(400, 300);
        const jint types[] = {5, 7, 19, 112, 80, 74, 20, 22};
        for (int i = 0; i < 200; ++i) {
            jint x = 20 + (i * 37) % 760, y = 60 + (i * 53) % 400;
            cActor* a = actortest::spawn(6, 100 + i, x, y, 0xA0, {5, 50, 50, 10, -40});
            a->type = types[i % 8];
            a->layer = i % 5;
            a->sprite = sprites[i % 5];
            a->setAnim(i % 10);
            if (i % 10 == 0) {
                // A carrier moving back and forth with a rider.
                a->allocMotionState();
                a->setVelocityLimitsX(-512, 512);
                a->motion->data()[2] = i % 20 ? 300 : -300;
                a->physicsFlags = 0;
            }
        }
        for (int i = 0; i + 1 < 200; i += 10) poolActor(i)->carried = poolActor(i + 1);
        for (int i = 0; i < 64; ++i) cActor::spawnEffect(sprites[i % 5], i % 10, (i * 13) % 800, (i * 29) % 480, i % 5, 0);
    }

    void step() {
        // The frame's active list, then update and paint.
        cg().activeActorCount = 0;
        for (jint i = 0; i < cg().actorCount; ++i) addActiveActor(poolActor(i));
        updateActiveActors();
        updateEffectPool();
        // Carriers turn round at the view's edges; effects that ended start again.
        for (jint i = 0; i < cg().actorCount; i += 10) {
            cActor* a = poolActor(i);
            if (a->motion && (a->posX < 40 || a->posX > 760)) a->motion->data()[2] = -a->motion->data()[2];
        }
        for (jint i = 0; i < ca().effectCount; ++i) {
            auto* e = static_cast<cActor*>(ca().effectPool->data()[i]);
            if (e->flags & 0x40) cActor::spawnEffect(sprites[i % 5], (i + 1) % 10, e->posX, e->posY, i % 5, 0);
        }
        paintField(0, 4);
    }
};

Frame& frame() {
    static Frame* f = [] {
        auto* fr = new Frame();
        fr->build();
        return fr;
    }();
    return *f;
}

struct HeapCounts {
    uint64_t cxx;
    size_t objects, objectBytes, dataBytes;
    static HeapCounts now() {
        Application* app = Application::instance();
        return {g_cxxAllocations.load(), app->objects().objectCount(), app->objectHeap().bytesInUse(),
                app->dataHeap().bytesInUse()};
    }
};

void BM_PlayFrame(benchmark::State& state) {
    Frame& f = frame();
    for (int i = 0; i < 10; ++i) f.step();  // warm-up: caches, buffers, effect slots
    const HeapCounts before = HeapCounts::now();
    int64_t frames = 0;
    for (auto _ : state) {
        f.step();
        ++frames;
    }
    const HeapCounts after = HeapCounts::now();
    const double n = static_cast<double>(frames);
    state.counters["cxx_allocs_per_frame"] = static_cast<double>(after.cxx - before.cxx) / n;
    state.counters["java_objects_per_frame"] = (static_cast<double>(after.objects) - static_cast<double>(before.objects)) / n;
    state.counters["java_bytes_per_frame"] =
        (static_cast<double>(after.objectBytes + after.dataBytes) - static_cast<double>(before.objectBytes + before.dataBytes)) / n;
    state.counters["active"] = cg().activeActorCount;
    state.SetItemsProcessed(frames);
    if (after.cxx != before.cxx || after.objects != before.objects || after.objectBytes != before.objectBytes ||
        after.dataBytes != before.dataBytes)
        state.SkipWithError(("the frame allocated after warm-up: " + std::to_string(after.cxx - before.cxx) + " C++, " +
                             std::to_string(after.objects - before.objects) + " objects")
                                .c_str());
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

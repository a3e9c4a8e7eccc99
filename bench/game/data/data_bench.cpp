// Game-data benchmarks:
//  - BM_LoadPlain / BM_LoadLzma: one 1 MiB entry loaded through the pack
//    layer (bytes per second of decoded payload);
//  - BM_RandomSelect: random entries over four sub-packs; the counter
//    reopens_per_select tells how often the forward-only stream reopens;
//  - BM_GetStringCached: a text of a cached slot; its allocations (C++ and
//    Java) per fetch must be 0.
#include "bench/common/alloc_counter.h"
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <random>

#include "display/lcdui/lcdui.h"
#include "game/data/pack.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/sprite/statics.h"
#include "io/statics.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"
#include "tools/kit/demo.h"
#include "tools/kit/gamedata.h"


namespace {

std::map<std::string, kit::Bytes>& files() {
    static std::map<std::string, kit::Bytes> f;
    return f;
}

void addPack(const std::string& name, const kit::PackFiles& p) {
    files()[name] = p.header;
    for (size_t k = 0; k < p.subPacks.size(); ++k) files()[name + "." + std::to_string(k + 1)] = p.subPacks[k];
}

kit::Bytes payload(size_t n, bool compressible) {
    kit::Bytes b(n);
    std::mt19937 rng(3);
    for (size_t i = 0; i < n; ++i) b[i] = compressible ? static_cast<uint8_t>("bramble hollow "[i % 15] ^ (rng() % 4 == 0)) : static_cast<uint8_t>(rng());
    return b;
}

void loadBench(benchmark::State& state, bool lzma) {
    const size_t n = 1 << 20;
    addPack("pack40", kit::buildPack({{.payload = payload(n, true), .compress = lzma}}));
    game::closePack();
    game::cg().packName = nullptr;
    game::readPackHeader(String::fromUtf8("pack40"));
    for (auto _ : state) {
        ByteArray* a = game::loadResource(0);
        if (!a || static_cast<size_t>(a->length()) != n) {
            state.SkipWithError("entry not loaded");
            return;
        }
        benchmark::DoNotOptimize(a);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}

void BM_LoadPlain(benchmark::State& state) { loadBench(state, false); }
void BM_LoadLzma(benchmark::State& state) { loadBench(state, true); }
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLzma)->Unit(benchmark::kMillisecond);

void BM_RandomSelect(benchmark::State& state) {
    std::vector<kit::PackEntry> entries;
    for (int i = 0; i < 200; ++i) entries.push_back({.payload = payload(512 + static_cast<size_t>(i) * 7, false)});
    addPack("pack41", kit::buildPack(entries, {0, 50, 100, 150}));
    game::closePack();
    game::cg().packName = nullptr;
    game::readPackHeader(String::fromUtf8("pack41"));
    std::mt19937 rng(11);
    const jint before = game::cg().packOpens;
    for (auto _ : state) benchmark::DoNotOptimize(game::selectPack(static_cast<jint>(rng() % 200)));
    state.counters["reopens_per_select"] =
        static_cast<double>(game::cg().packOpens - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RandomSelect);

void BM_GetStringCached(benchmark::State& state) {
    std::vector<std::string> texts;
    for (int i = 0; i < 200; ++i) texts.push_back("TEXT NUMBER " + std::to_string(i));
    addPack("pack42", kit::buildPack({{.payload = kit::buildTextPack(1, texts)}}));
    game::loadTextPackResource(String::fromUtf8("pack42"), 0);
    // Allocations are counted over a plain loop of fetches (the benchmark
    // loop's own bookkeeping stays out of the count).
    Application* app = Application::instance();
    constexpr int kFetches = 20000;
    const uint64_t cxx = bench::cxxAllocations();
    const size_t objects = app->objects().objectCount();
    for (int k = 0; k < kFetches; ++k) benchmark::DoNotOptimize(game::getString(65536 + k % 200));
    const uint64_t cxxUsed = bench::cxxAllocations() - cxx;
    const size_t objectsUsed = app->objects().objectCount() - objects;
    jint i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(game::getString(65536 + i));
        i = (i + 1) % 200;
    }
    state.counters["cxx_allocs_per_fetch"] = static_cast<double>(cxxUsed) / kFetches;
    state.counters["java_objects_per_fetch"] = static_cast<double>(objectsUsed) / kFetches;
    if (cxxUsed || objectsUsed)
        state.SkipWithError(("fetching a cached text allocated: " + std::to_string(cxxUsed) + " C++, " +
                             std::to_string(objectsUsed) + " objects")
                                .c_str());
}
BENCHMARK(BM_GetStringCached);

void loadPool(StaticClass& statics) {
    const kit::Bytes pool = kit::encodeStringPool(kit::demoStringPool());
    rt::loadStringPool(statics, pool.data(), pool.size());
}

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    std::vector<const StaticsContribution*> statics;
    for (const StaticsContribution* c : bramble::io::staticsContributions()) statics.push_back(c);
    statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(statics);
    game::appendGameStatics(statics);
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 128 << 20;
    config.statics = &statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    game::setResourceOpener([](String* name) -> java_io_InputStream* {
        auto it = files().find(toUtf8(name));
        if (it == files().end()) return nullptr;
        ByteArray* a = newByteArray(static_cast<jint>(it->second.size()));
        std::copy(it->second.begin(), it->second.end(), reinterpret_cast<uint8_t*>(a->data()));
        return newObject<java_io_ByteArrayInputStream>(a);
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    game::setResourceOpener(nullptr);
    Application::instance()->close();
    return 0;
}

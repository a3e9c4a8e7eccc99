// Runtime benchmarks: object and array allocation against malloc of the same
// sizes, full-collection pause over 10,000 and 100,000 live objects, and the
// conservative stack look-up (bitmap search, not a list walk).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

class Node : public Object {
public:
    Node() : Object(cid::java_util_HashtableEntry) { StaticClass::setRefFieldOffsets(this, {&m_next}); }
    Object* m_next;
    jint m_value;
};

struct App {
    explicit App(size_t objectHeap = size_t(64) << 20, size_t dataHeap = size_t(64) << 20) {
        static std::vector<const StaticsContribution*> none;
        Application::Config config;
        config.objectHeapSize = objectHeap;
        config.dataHeapSize = dataHeap;
        config.statics = &none;
        app = Application::init(config);
    }
    ~App() { app->close(); }
    Application* app;
};

constexpr int kBatch = 1000;

void BM_AllocObject(benchmark::State& state) {
    App app;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(newObject<Node>());
        state.PauseTiming();
        app.app->objects().gc(ObjectManager::kForced);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_AllocObject);

void BM_MallocSameSize(benchmark::State& state) {
    std::vector<void*> blocks(kBatch);
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = std::calloc(1, sizeof(Node));
            benchmark::DoNotOptimize(blocks[i]);
        }
        state.PauseTiming();
        for (void* p : blocks) std::free(p);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_MallocSameSize);

void BM_AllocIntArray64(benchmark::State& state) {
    App app;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(newIntArray(64));
        state.PauseTiming();
        app.app->objects().gc(ObjectManager::kForced);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_AllocIntArray64);

void BM_MallocIntArray64(benchmark::State& state) {
    std::vector<void*> objects(kBatch), elements(kBatch);
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            objects[i] = std::calloc(1, sizeof(IntArray));
            elements[i] = std::calloc(64, sizeof(jint));
            benchmark::DoNotOptimize(elements[i]);
        }
        state.PauseTiming();
        for (int i = 0; i < kBatch; ++i) {
            std::free(objects[i]);
            std::free(elements[i]);
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_MallocIntArray64);

// Pause of a forced collection with n live objects reachable from a root
// (a mix of chained nodes and arrays) and n / 10 dead ones to sweep.
void BM_FullCollection(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    App app;
    ObjectArray* table = newObjectArray(cid::Object, n / 10 + 1);
    rt::GlobalRef root(table);
    for (int i = 0; i < n; ++i) {
        // Each bucket: an IntArray at the end of a chain of nine nodes.
        Object* made = (i % 10 == 0) ? static_cast<Object*>(newIntArray(8)) : newObject<Node>();
        if (i % 10 != 0) static_cast<Node*>(made)->m_next = table->data()[i / 10];
        table->data()[i / 10] = made;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < n / 10; ++i) newObject<Node>();
        state.ResumeTiming();
        app.app->objects().gc(ObjectManager::kForced);
    }
    state.counters["live"] = static_cast<double>(app.app->objects().objectCount());
}
BENCHMARK(BM_FullCollection)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Look-up of stack words (inside, at the start of, or outside objects)
// among n live objects.
void BM_ConservativeLookup(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    App app;
    ObjectArray* table = newObjectArray(cid::Object, n);
    rt::GlobalRef root(table);
    for (int i = 0; i < n; ++i) table->data()[i] = newObject<Node>();
    std::vector<const void*> words;
    for (int i = 0; i < 1024; ++i) {
        auto* node = reinterpret_cast<char*>(table->data()[(i * 7919) % n]);
        words.push_back(node + (i % 3) * 8);
        words.push_back(reinterpret_cast<const void*>(static_cast<uintptr_t>(i) * 4096));
    }
    ObjectManager& om = app.app->objects();
    for (auto _ : state) {
        size_t found = 0;
        for (const void* w : words) found += om.findObject(w) != nullptr;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(words.size()));
}
BENCHMARK(BM_ConservativeLookup)->Arg(10000)->Arg(100000);

// Prints the allocation ratios against malloc after the runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) m_time[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("BM_AllocObject", "BM_MallocSameSize");
        ratio("BM_AllocIntArray64", "BM_MallocIntArray64");
    }

private:
    void ratio(const std::string& ours, const std::string& theirs) {
        if (!m_time.count(ours) || !m_time.count(theirs) || m_time[theirs] <= 0) return;
        printf("ratio %s / %s = %.2f\n", ours.c_str(), theirs.c_str(), m_time[ours] / m_time[theirs]);
    }
    std::map<std::string, double> m_time;
};

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

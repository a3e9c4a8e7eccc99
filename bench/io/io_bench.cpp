// Resource access on a large archive: opening an entry near its end (the
// archive position is reached by a seek, not by reading the bytes before
// it), reading entries whole and through the data-stream decoders, and the
// first look-up that reads the index. The archive is built by the content
// kit in a private device root.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "io/resource.h"
#include "io/statics.h"
#include "javalib/inputstreams.h"
#include "platform/fs/fs.h"
#include "runtime/runtime.h"
#include "tools/kit/archive.h"

namespace {

constexpr int kEntries = 4000;
constexpr size_t kEntryBytes = 16 * 1024;  // 64 MB of entry data in all

std::string entryName(int i) { return "data/entry" + std::to_string(i) + ".bin"; }

struct World {
    std::string root;
    std::vector<const StaticsContribution*> statics;

    World() {
        root = (std::filesystem::temp_directory_path() / ("bramble-io-bench-" + std::to_string(::getpid()))).string();
        setenv("BRAMBLE_DEVICE_ROOT", root.c_str(), 1);
        platform::fs::reloadDeviceRoot();
        kit::ArchiveWriter archive;
        for (int i = 0; i < kEntries; ++i) archive.add(entryName(i), kit::Bytes(kEntryBytes, static_cast<uint8_t>(i)));
        archive.writeTo(*platform::fs::hostPath(std::string(platform::fs::kAppFolder) + "\\data.bar"));
        statics.assign(bramble::io::staticsContributions().begin(), bramble::io::staticsContributions().end());
        start();
    }
    ~World() {
        if (Application::instance()) Application::instance()->close();
        std::filesystem::remove_all(root);
    }
    void start() {
        Application::Config config;
        config.statics = &statics;
        Application::init(config);
    }
    void restart() {
        Application::instance()->close();
        start();
    }
};

World& world() {
    static World w;
    return w;
}

void BM_OpenEntryNearTheEnd(benchmark::State& state) {
    World& w = world();
    String* name = String::fromUtf8(entryName(kEntries - 2));
    javax_microedition_io_ResourceInputStream::openFromArchive(name)->close();  // index loaded
    for (auto _ : state) {
        auto* in = javax_microedition_io_ResourceInputStream::openFromArchive(name);
        benchmark::DoNotOptimize(in->read());
        in->close();
    }
    (void)w;
}
BENCHMARK(BM_OpenEntryNearTheEnd);

void BM_OpenAndReadEntryNearTheEnd(benchmark::State& state) {
    world();
    String* name = String::fromUtf8(entryName(kEntries - 1));
    ByteArray* buffer = newByteArray(static_cast<jint>(kEntryBytes));
    for (auto _ : state) {
        auto* in = newObject<java_io_DataInputStream>(javax_microedition_io_ResourceInputStream::openFromArchive(name));
        in->readFully(buffer);
        in->close();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kEntryBytes);
}
BENCHMARK(BM_OpenAndReadEntryNearTheEnd);

void BM_ReadEntryByInts(benchmark::State& state) {
    world();
    String* name = String::fromUtf8(entryName(kEntries / 2));
    for (auto _ : state) {
        auto* in = newObject<java_io_DataInputStream>(javax_microedition_io_ResourceInputStream::openFromArchive(name));
        jint sum = 0;
        for (size_t i = 0; i < kEntryBytes / 4; ++i) sum = java::iadd(sum, in->readInt());
        benchmark::DoNotOptimize(sum);
        in->close();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kEntryBytes);
}
BENCHMARK(BM_ReadEntryByInts);

void BM_FirstLookupReadsTheIndex(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        state.PauseTiming();
        w.restart();
        String* name = String::fromUtf8(entryName(kEntries - 1));
        state.ResumeTiming();
        auto* in = javax_microedition_io_ResourceInputStream::openFromArchive(name);
        benchmark::DoNotOptimize(in);
        in->close();
    }
}
BENCHMARK(BM_FirstLookupReadsTheIndex)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

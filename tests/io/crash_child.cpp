// Crash-test child: saves records into the store "crash" in an endless
// loop (adds, replacements and deletions with self-checking contents)
// until the test kills it. argv[1] seeds the choice of operations; one
// byte on standard output says that the saving starts, another that the
// first save is complete.
#include <cstdlib>
#include <cstring>
#include <random>
#include <unistd.h>

#include "io/recordstore.h"
#include "io/statics.h"
#include "runtime/runtime.h"
#include "tests/io/crash_payload.h"
#include "tools/kit/demo.h"

namespace {
ByteArray* bytes(const std::vector<uint8_t>& data) {
    ByteArray* a = newByteArray(static_cast<jint>(data.size()));
    std::memcpy(a->data(), data.data(), data.size());
    return a;
}
}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    std::vector<const StaticsContribution*> statics(bramble::io::staticsContributions().begin(),
                                                    bramble::io::staticsContributions().end());
    Application::Config config;
    config.objectHeapSize = 2 << 20;
    config.dataHeapSize = 8 << 20;
    config.statics = &statics;
    config.loadConstants = [](StaticClass& s) {
        const kit::StringPool pool = kit::demoStringPool();
        ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
        s.m_stringPool = array;
        for (size_t i = 0; i < pool.size(); ++i) array->data()[i] = String::fromUtf16(pool[i]);
    };
    Application::init(config);
    std::mt19937 rng(argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 1u);
    auto* store = javax_microedition_rms_RecordStore::openRecordStoreByName(String::fromLatin1(crashtest::kStoreName), 1);
    if (!store) return 2;
    // Tell the test that saving starts now.
    if (::write(STDOUT_FILENO, "R", 1) != 1) return 4;
    for (uint32_t generation = 1;; ++generation) {
        const jint count = store->getNumRecords();
        const uint32_t pick = rng() % 10;
        if (count < 3 || pick == 0) {
            const jint id = store->getNextRecordID();
            store->addRecord(bytes(crashtest::payload(id, generation)), 0,
                             static_cast<jint>(crashtest::payload(id, generation).size()));
        } else if (pick == 1) {
            store->deleteRecord(store->idAt(static_cast<jint>(rng() % static_cast<uint32_t>(count))));
        } else {
            const jint id = store->idAt(static_cast<jint>(rng() % static_cast<uint32_t>(count)));
            const std::vector<uint8_t> data = crashtest::payload(id, generation);
            store->setRecord(id, bytes(data), 0, static_cast<jint>(data.size()));
        }
        if (Application::pendingException()) return 3;
        // And once, that a save is complete.
        if (generation == 1 && ::write(STDOUT_FILENO, "S", 1) != 1) return 4;
    }
}

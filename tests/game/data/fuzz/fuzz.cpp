// libFuzzer target over one game-data reader (DATA_FUZZ_TARGET names it).
#include <cstddef>
#include <cstdint>

#include "tests/game/data/fuzz/targets.h"
#include "tests/game/data/support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    datatest::startApplication(16 << 20, 96 << 20);
    datatest::serveFromMemory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    datafuzz::exercise(datafuzz::Target::DATA_FUZZ_TARGET, data, size);
    static unsigned runs = 0;
    if (++runs % 64 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}

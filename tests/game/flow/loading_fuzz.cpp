// libFuzzer target: arbitrary bytes as a load request, a loading table and
// a condition file, through the set-up checks, the planner and the
// condition interpreter.
#include <cstddef>
#include <cstdint>

#include "runtime/objectmanager.h"
#include "tests/game/flow/support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    flowtest::startFlowApplication(16 << 20, 64 << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    flowtest::exerciseLoadingData(data, size);
    static unsigned runs = 0;
    if (++runs % 64 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}

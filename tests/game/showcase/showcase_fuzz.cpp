// libFuzzer target: arbitrary bytes as the cross-promotion pack, through
// the header, the entry list, every loading step, the text layout and the
// paint of every page.
#include <cstddef>
#include <cstdint>

#include "tests/game/showcase/exercise.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    showcasetest::startFuzzWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    showcasetest::exercisePack(data, size);
    static unsigned runs = 0;
    if (++runs % 64 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}

// libFuzzer target: arbitrary bytes as a sprite file, through the loader
// and, when it accepts them, through everything the engine offers.
#include <cstddef>
#include <cstdint>

#include "tests/game/sprite/exercise.h"
#include "tests/game/sprite/support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    spritetest::startApplication(16 << 20, 64 << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    spritetest::exerciseSpriteFile(data, size);
    // Each input's objects become garbage; collect now and then.
    static unsigned runs = 0;
    if (++runs % 64 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}

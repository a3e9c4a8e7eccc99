// libFuzzer entry of the behaviour level fuzz input (core_fuzz_body.h).
#include "tests/game/behaviour/core_fuzz_body.h"
#include "tests/game/behaviour/core_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = [] {
        behaviourtest::startApplication();
        return true;
    }();
    (void)started;
    behaviourtest::runBehaviourFuzzInput(data, size);
    return 0;
}

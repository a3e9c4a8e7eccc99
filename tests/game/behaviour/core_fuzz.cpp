// libFuzzer entry of the behaviour level fuzz input (core_fuzz_body.h). The
// application starts once, from the driver's set-up call, so the recorded
// stack top lies above every frame the fuzzing loop runs in (the collector
// scans from there).
#include "runtime/application.h"
#include "tests/game/behaviour/core_fuzz_body.h"
#include "tests/game/behaviour/core_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    behaviourtest::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    behaviourtest::runBehaviourFuzzInput(data, size);
    return 0;
}

// libFuzzer entry: iofuzz::descriptor.
#include <cstdlib>

#include "tests/io/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    iofuzz::quietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!iofuzz::descriptor(data, size)) std::abort();
    return 0;
}

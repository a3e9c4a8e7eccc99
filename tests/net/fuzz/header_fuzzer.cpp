// libFuzzer entry for HTTP response-header parsing.
#include "tests/net/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return bramble::test::fuzzResponseHeaders(data, size);
}

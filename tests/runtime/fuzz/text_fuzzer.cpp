// libFuzzer program over the byte decoders and number parsers.
#include "tests/runtime/fuzz/text_fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bramble::test::fuzzTextAndNumbers(data, size);
    return 0;
}

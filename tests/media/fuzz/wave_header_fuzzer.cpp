// libFuzzer entry of the WAVE header target (clang builds).
#include "tests/media/fuzz/wave_fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mediafuzz::waveHeaderTarget(data, size);
    return 0;
}

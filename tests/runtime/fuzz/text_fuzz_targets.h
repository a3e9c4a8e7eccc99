// Fuzz entry for the byte decoders and number parsers: runs every decoder
// and parser over the input and aborts when an invariant breaks. Shared by
// the libFuzzer program and the corpus replay that ctest runs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bramble::test {
void fuzzTextAndNumbers(const uint8_t* data, size_t size);
}

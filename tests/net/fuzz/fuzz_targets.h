// Fuzz targets of the connectivity core's parsers. Each takes arbitrary bytes,
// runs them through the parsers as UTF-16 and as one-byte text, and aborts
// when an invariant of the result does not hold. Driven by libFuzzer in clang
// builds and replayed over a fixed corpus by the test suite.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bramble::test {

int fuzzConnectionUrl(const uint8_t* data, size_t size);
int fuzzResponseHeaders(const uint8_t* data, size_t size);

}  // namespace bramble::test

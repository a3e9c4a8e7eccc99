// Invariants checked on every input:
//  - no decoder writes more units than there are bytes, nor reads past them
//    (exact-size buffers, so the sanitizers see any overrun);
//  - a decoder answers the same units for the same bytes, and a prefix of
//    the input decodes to a prefix of the units (decoders never look ahead
//    past a finished sequence);
//  - the UTF-8 encoder's output is valid modified UTF-8 and decodes back to
//    the units through both UTF-8 readers;
//  - integer parsing equals strtoll clamped to 32 bits; double parsing
//    equals strtod wherever both read a plain decimal number.
#include "tests/runtime/fuzz/text_fuzz_targets.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/numbers.h"
#include "runtime/textcodec.h"

namespace bramble::test {

namespace {

using java::jchar;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "text fuzz invariant broken: %s\n", what);
    std::abort();
}
void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

using Decoder = size_t (*)(const uint8_t*, size_t, jchar*);

void checkDecoder(Decoder decode, const uint8_t* data, size_t size, const char* name) {
    // Exact-size copies of input and output: any overrun is a heap overflow.
    std::unique_ptr<uint8_t[]> in(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(in.get(), data, size);
    std::unique_ptr<jchar[]> out(new jchar[size ? size : 1]);
    const size_t n = decode(in.get(), size, out.get());
    check(n <= size, name);
    if (size == 0) return;
    std::unique_ptr<jchar[]> again(new jchar[size]);
    check(decode(in.get(), size, again.get()) == n && std::memcmp(out.get(), again.get(), n * sizeof(jchar)) == 0, name);
    const size_t cut = size / 2;
    std::unique_ptr<jchar[]> prefix(new jchar[cut ? cut : 1]);
    const size_t m = decode(in.get(), cut, prefix.get());
    check(m <= n && std::memcmp(prefix.get(), out.get(), m * sizeof(jchar)) == 0, name);
}

void checkEncoderRoundTrip(const uint8_t* data, size_t size) {
    const size_t units = size / 2;
    std::unique_ptr<jchar[]> text(new jchar[units ? units : 1]);
    for (size_t i = 0; i < units; ++i) text[i] = static_cast<jchar>(data[2 * i] | (data[2 * i + 1] << 8));
    const size_t bytes = rt::text::utf8EncodedLength(text.get(), units);
    check(bytes >= units && bytes <= 3 * units, "encoded length");
    std::unique_ptr<uint8_t[]> encoded(new uint8_t[bytes ? bytes : 1]);
    check(rt::text::encodeUtf8(text.get(), units, encoded.get()) == bytes, "encoder count");
    std::unique_ptr<jchar[]> back(new jchar[bytes ? bytes : 1]);
    size_t m = 0;
    check(rt::text::decodeModifiedUtf8(encoded.get(), bytes, back.get(), &m), "encoder output is modified UTF-8");
    check(m == units && std::memcmp(back.get(), text.get(), units * sizeof(jchar)) == 0, "modified UTF-8 round trip");
    check(rt::text::decodeUtf8(encoded.get(), bytes, back.get()) == units &&
              std::memcmp(back.get(), text.get(), units * sizeof(jchar)) == 0,
          "UTF-8 round trip");
}

void checkModifiedUtf8(const uint8_t* data, size_t size) {
    std::unique_ptr<jchar[]> out(new jchar[size ? size : 1]);
    size_t m = 0;
    const bool ok = rt::text::decodeModifiedUtf8(data, size, out.get(), &m);
    check(m <= size, "modified UTF-8 count");
    if (!ok) return;
    // Well-formed input re-encodes to bytes that decode to the same units.
    const size_t bytes = rt::text::utf8EncodedLength(out.get(), m);
    std::unique_ptr<uint8_t[]> encoded(new uint8_t[bytes ? bytes : 1]);
    rt::text::encodeUtf8(out.get(), m, encoded.get());
    std::unique_ptr<jchar[]> back(new jchar[bytes ? bytes : 1]);
    size_t k = 0;
    check(rt::text::decodeModifiedUtf8(encoded.get(), bytes, back.get(), &k) && k == m &&
              std::memcmp(back.get(), out.get(), m * sizeof(jchar)) == 0,
          "modified UTF-8 re-encoding");
}

void checkNumbers(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const java::jint value = rt::num::parseInt(std::string_view(text));
    (void)rt::num::parseDouble(std::string_view(text));
    // The C library reads a NUL-terminated text: compare on the part before
    // the first zero byte.
    const std::string c(text.c_str());
    const java::jint cValue = rt::num::parseInt(std::string_view(c));
    if (c.size() == text.size()) check(cValue == value, "parseInt stops at the end");
    errno = 0;
    long long reference = std::strtoll(c.c_str(), nullptr, 10);
    if (reference > java::kIntMax) reference = java::kIntMax;
    if (reference < java::kIntMin) reference = java::kIntMin;
    check(cValue == reference, "parseInt matches strtoll clamped");

    size_t i = 0;
    while (i < c.size() && (c[i] == ' ' || (c[i] >= '\t' && c[i] <= '\r'))) ++i;
    if (i < c.size() && (c[i] == '+' || c[i] == '-')) ++i;
    const bool plainDecimal = i < c.size() && ((c[i] >= '0' && c[i] <= '9') || c[i] == '.') &&
                              !(c[i] == '0' && i + 1 < c.size() && (c[i + 1] == 'x' || c[i + 1] == 'X'));
    if (!plainDecimal) return;
    const double ours = rt::num::parseDouble(std::string_view(c));
    errno = 0;
    const double theirs = std::strtod(c.c_str(), nullptr);
    if (errno == ERANGE) {
        // Out of range: both infinite with one sign, or both tiny.
        if (std::isinf(theirs)) check(ours == theirs, "parseDouble overflow");
        else check(std::fabs(ours) <= std::fabs(theirs) * 2 + 1e-300, "parseDouble underflow");
    } else {
        check(ours == theirs || (std::isnan(ours) && std::isnan(theirs)), "parseDouble matches strtod");
    }
}

}  // namespace

void fuzzTextAndNumbers(const uint8_t* data, size_t size) {
    checkDecoder(rt::text::decodeLatin1, data, size, "latin-1 decoder");
    checkDecoder(rt::text::decodeUtf8, data, size, "UTF-8 decoder");
    checkDecoder(rt::text::decodeSjis, data, size, "SJIS decoder");
    checkModifiedUtf8(data, size);
    checkEncoderRoundTrip(data, size);
    checkNumbers(data, size);
}

}  // namespace bramble::test

// Replays the decoder and number-parser fuzz target over hand-picked seeds
// and a fixed, generated corpus, so every run of the suite exercises it (a
// broken invariant aborts the program).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/runtime/fuzz/text_fuzz_targets.h"

namespace {

const std::vector<std::string> kTokens = {
    "0", "1", "9", "-", "+", ".", "e", "E", "e-", "e+", " ", "\t", "\n", "2147483647", "2147483648",
    "-2147483649", "999999999999999999999", "1e308", "1e309", "1e-320", "0x", "inf", "nan",
    "\xC3\xA9", "\xC0\x80", "\xE2\x82\xAC", "\xC3", "\xE2\x82", "\xB5", "\xF0\x9F\x98\x80", "\x80", "\xFF",
    "\x82\xA0", "\x9F", "\xE0", std::string(1, '\0'), "a", "Z"};

std::vector<std::string> corpus() {
    std::vector<std::string> inputs = {
        "", "12abc", "  -17", "1.5e3", ".5", "1e999", "-1e-999", "0.0000001e-400", "\xC3\xA9\xC0\x80",
        "a\xE2\x82", "\xB0\xBF\xF0\xFF", "\x82\xA0\x41\xE0", std::string(300, '9'), std::string(64, '\xE2')};
    std::mt19937 random(20240612);
    for (int i = 0; i < 20000; ++i) {
        std::string input;
        const int count = static_cast<int>(random() % 10);
        for (int k = 0; k < count; ++k) input += kTokens[random() % kTokens.size()];
        if (random() % 4 == 0) {  // some raw random bytes too
            const int raw = static_cast<int>(random() % 16);
            for (int k = 0; k < raw; ++k) input.push_back(static_cast<char>(random() & 0xFF));
        }
        inputs.push_back(std::move(input));
    }
    return inputs;
}

}  // namespace

TEST(TextFuzzReplay, DecoderAndParserInvariantsHold) {
    for (const std::string& input : corpus())
        bramble::test::fuzzTextAndNumbers(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    SUCCEED();
}

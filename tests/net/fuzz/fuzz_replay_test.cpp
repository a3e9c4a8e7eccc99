// Replays the parser fuzz targets over hand-picked seeds and a fixed,
// generated corpus of URL- and header-like inputs, so every run of the suite
// exercises them (a failed invariant aborts the program).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/net/fuzz/fuzz_targets.h"

namespace {

const std::vector<std::string> kTokens = {
    "http", "https", "socket", "sms", "file", "://", ":", "/", "?", "#", "@", "[", "]", "0", "80", "-1",
    "2147483648", "99999999999", "h", "example.test", ".", " ", "\r\n", "\n", "\r", "HTTP/1.0 ", "200", "OK",
    "Content-Length", ": ", "-5", "\xC3\xA9", "\xFF", std::string(1, '\0'), "Location", "X-", "a:b"};

std::vector<std::string> corpus() {
    std::vector<std::string> inputs = {
        "", "://", "http://", "http://h:8080/a/b?x=1", "http://h/a:b", "http:x", "socket://10.0.0.1:5000",
        "http://[::1]:80/", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n", "HTTP/1.0\r\n", ":\n:\r\n",
        "HTTP/1.0 200 OK\r\nA:" + std::string(300, 'v') + "\r\nB: 1\r\n\r\n"};
    std::mt19937 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        std::string input;
        int count = static_cast<int>(random() % 12);
        for (int k = 0; k < count; ++k) input += kTokens[random() % kTokens.size()];
        inputs.push_back(std::move(input));
    }
    return inputs;
}

}  // namespace

TEST(ParserFuzzReplay, UrlAndHeaderInvariantsHold) {
    for (const std::string& input : corpus()) {
        auto* data = reinterpret_cast<const uint8_t*>(input.data());
        bramble::test::fuzzConnectionUrl(data, input.size());
        bramble::test::fuzzResponseHeaders(data, input.size());
    }
    SUCCEED();
}

// Invariants checked on every input:
// - URL: the parts put back together give the URL; the path starts with '/',
//   the query with '?'; a parsed port is the port text's value; a cracked host
//   is a non-empty part of the URL.
// - Headers: a valid status is 0..999, an invalid one -1 with no text; names
//   hold no ':' and no line break, values no line break; the request block
//   built from any headers stays within its limit and holds only whole
//   "name:value" CR LF lines; an accepted Content-Length is within its limit.
#include "tests/net/fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/http_client.h"
#include "net/url.h"

namespace bramble::test {

namespace {

#define FUZZ_CHECK(condition)                                                   \
    do {                                                                        \
        if (!(condition)) {                                                     \
            std::fprintf(stderr, "fuzz invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                       \
        }                                                                       \
    } while (0)

std::u16string asUtf16(const uint8_t* data, size_t size) {
    std::u16string out;
    for (size_t i = 0; i + 1 < size; i += 2) out.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    if (size % 2) out.push_back(data[size - 1]);
    return out;
}

std::u16string asBytes(const uint8_t* data, size_t size) { return std::u16string(data, data + size); }

void checkUrl(const std::u16string& url) {
    using namespace bramble::net;
    UrlParseResult r = ParseConnectionURL(url);
    size_t s = url.find(u"://");
    FUZZ_CHECK((s == std::u16string::npos) == (r.status == UrlParseStatus::NoSchemeSeparator));
    if (r.status != UrlParseStatus::NoSchemeSeparator) {
        const ConnectionUrl& p = r.parts;
        std::u16string tail = p.path + p.query.value_or(u"");
        std::u16string plain = p.scheme + u"://" + p.host + tail;
        std::u16string withPort = p.scheme + u"://" + p.host + u":" + r.portText + tail;
        FUZZ_CHECK(url == plain || url == withPort);
        FUZZ_CHECK(p.path.empty() || p.path.front() == u'/');
        FUZZ_CHECK(p.path.find(u'?') == std::u16string::npos);
        FUZZ_CHECK(!p.query || (!p.query->empty() && p.query->front() == u'?'));
        FUZZ_CHECK(p.host.find_first_of(u"/?") == std::u16string::npos);
        FUZZ_CHECK(!p.reference);
        if (r.status == UrlParseStatus::Ok && url != plain) FUZZ_CHECK(parseDecimalInt(r.portText) == p.port);
        if (r.status == UrlParseStatus::BadPort) FUZZ_CHECK(!parseDecimalInt(r.portText) && p.port == 0);
    }
    if (std::optional<std::u16string> host = crackUrlHost(url)) {
        FUZZ_CHECK(!host->empty());
        FUZZ_CHECK(url.find(*host) != std::u16string::npos);
    }
    (void)connectionKindOf(url);
    (void)isHttpsUrl(url);
}

void checkHeaders(const std::u16string& raw) {
    using namespace bramble::net;
    ResponseHead head = parseResponseHeaders(raw);
    if (head.valid) {
        FUZZ_CHECK(head.statusCode >= 0 && head.statusCode <= 999);
    } else {
        FUZZ_CHECK(head.statusCode == -1 && head.statusText.empty());
    }
    for (const auto& [name, value] : head.headers) {
        FUZZ_CHECK(name.find_first_of(u":\n") == std::u16string::npos);
        FUZZ_CHECK(value.find(u'\n') == std::u16string::npos);
        if (std::optional<uint32_t> length = parseContentLength(value)) FUZZ_CHECK(*length <= kMaxContentLength);
    }
    // The response's headers as request headers: the block keeps its shape.
    std::u16string block = buildRequestHeaderBlock(head.headers);
    FUZZ_CHECK(block.size() <= kMaxRequestHeaderBlock);
    for (size_t pos = 0; pos < block.size();) {
        size_t end = block.find(u"\r\n", pos);
        FUZZ_CHECK(end != std::u16string::npos);
        std::u16string_view line(block.data() + pos, end - pos);
        FUZZ_CHECK(line.find(u':') != std::u16string_view::npos);
        FUZZ_CHECK(line.find_first_of(u"\r\n") == std::u16string_view::npos);
        pos = end + 2;
    }
}

}  // namespace

int fuzzConnectionUrl(const uint8_t* data, size_t size) {
    checkUrl(asUtf16(data, size));
    checkUrl(asBytes(data, size));
    return 0;
}

int fuzzResponseHeaders(const uint8_t* data, size_t size) {
    checkHeaders(asUtf16(data, size));
    checkHeaders(asBytes(data, size));
    return 0;
}

}  // namespace bramble::test

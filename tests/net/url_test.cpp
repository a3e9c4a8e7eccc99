// Connection names: the connection kind by prefix and the URL parts, as tables
// of ordinary and odd inputs.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "net/hooks.h"
#include "net/url.h"

using namespace bramble::net;

namespace {

std::string narrow(std::u16string_view s) { return toUtf8(s); }

}  // namespace

TEST(ConnectionUrl, ConnectionKindByCaseSensitivePrefix) {
    const std::pair<std::u16string, ConnectionKind> table[] = {
        {u"http://h/", ConnectionKind::Http},        {u"https://h/", ConnectionKind::Http},
        {u"HTTP://h/", ConnectionKind::None},        {u"ftp://h/", ConnectionKind::None},
        {u"socket://1.2.3.4:5", ConnectionKind::Socket}, {u"sms://+15550100", ConnectionKind::Sms},
        {u"file:///a/b", ConnectionKind::File},      {u"", ConnectionKind::None},
        {u"htt", ConnectionKind::None},              {u" http://h", ConnectionKind::None},
    };
    for (const auto& [name, kind] : table) EXPECT_EQ(connectionKindOf(name), kind) << narrow(name);
}

TEST(ConnectionUrl, PartsOfOrdinaryAndOddUrls) {
    struct Case {
        std::u16string url;
        UrlParseStatus status;
        std::u16string scheme, host;
        int32_t port;
        std::u16string path;
        std::optional<std::u16string> query;
    };
    using S = UrlParseStatus;
    const Case table[] = {
        {u"http://h:8080/a/b?x=1", S::Ok, u"http", u"h", 8080, u"/a/b", u"?x=1"},
        {u"http://example.com", S::Ok, u"http", u"example.com", 0, u"", std::nullopt},
        {u"socket://10.0.0.1:5000", S::Ok, u"socket", u"10.0.0.1", 5000, u"", std::nullopt},
        {u"http://h:8080", S::Ok, u"http", u"h", 8080, u"", std::nullopt},
        {u"HTTP://h/", S::Ok, u"HTTP", u"h", 0, u"/", std::nullopt},
        {u"http://h/?", S::Ok, u"http", u"h", 0, u"/", u"?"},
        {u"http://h//double", S::Ok, u"http", u"h", 0, u"//double", std::nullopt},
        // A '#' is not split off.
        {u"http://h/p?q#frag", S::Ok, u"http", u"h", 0, u"/p", u"?q#frag"},
        {u"http://h/p#frag", S::Ok, u"http", u"h", 0, u"/p#frag", std::nullopt},
        // Only a ':' before the path separates a port.
        {u"http://h/a:b/c", S::Ok, u"http", u"h", 0, u"/a:b/c", std::nullopt},
        {u"http://h/a?x=1:2", S::Ok, u"http", u"h", 0, u"/a", u"?x=1:2"},
        // A query straight after the host or port.
        {u"http://h?x=1", S::Ok, u"http", u"h", 0, u"", u"?x=1"},
        {u"http://h:80?x", S::Ok, u"http", u"h", 80, u"", u"?x"},
        {u"http://h:-1/", S::Ok, u"http", u"h", -1, u"/", std::nullopt},
        // Ports that are not decimal ints.
        {u"http://h:/x", S::BadPort, u"http", u"h", 0, u"/x", std::nullopt},
        {u"http://h:abc/x", S::BadPort, u"http", u"h", 0, u"/x", std::nullopt},
        {u"http://h:99999999999/", S::BadPort, u"http", u"h", 0, u"/", std::nullopt},
        {u"http://[::1]:80/", S::BadPort, u"http", u"[", 0, u"/", std::nullopt},
        // Empty parts.
        {u"http://", S::Ok, u"http", u"", 0, u"", std::nullopt},
        {u"http:///path", S::Ok, u"http", u"", 0, u"/path", std::nullopt},
        {u"://h:1/p", S::Ok, u"", u"h", 1, u"/p", std::nullopt},
        {u"sms://+15550100", S::Ok, u"sms", u"+15550100", 0, u"", std::nullopt},
        // No "://" at all.
        {u"", S::NoSchemeSeparator, u"", u"", 0, u"", std::nullopt},
        {u"http:example.com/x", S::NoSchemeSeparator, u"", u"", 0, u"", std::nullopt},
        {u"localhost:80/x", S::NoSchemeSeparator, u"", u"", 0, u"", std::nullopt},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(narrow(c.url));
        UrlParseResult r = ParseConnectionURL(c.url);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.parts.scheme, c.scheme);
        EXPECT_EQ(r.parts.host, c.host);
        EXPECT_EQ(r.parts.port, c.port);
        EXPECT_EQ(r.parts.path, c.path);
        EXPECT_EQ(r.parts.query, c.query);
        EXPECT_EQ(r.parts.reference, std::nullopt);
    }
    EXPECT_EQ(ParseConnectionURL(u"http://h:abc/x").portText, u"abc");
}

TEST(ConnectionUrl, DecimalIntsAsIntegerParseIntReadsThem) {
    const std::pair<std::u16string, std::optional<int32_t>> table[] = {
        {u"0", 0},
        {u"8080", 8080},
        {u"-1", -1},
        {u"007", 7},
        {u"2147483647", 2147483647},
        {u"-2147483648", INT32_MIN},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
        {u"+1", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"1a", std::nullopt},
        {u" 1", std::nullopt},
        {u"\u0661", std::nullopt},  // a non-ASCII digit
    };
    for (const auto& [text, value] : table) EXPECT_EQ(parseDecimalInt(text), value) << narrow(text);
}

TEST(ConnectionUrl, HostNameAsTheInternetLibraryCracksIt) {
    const std::pair<std::u16string, std::optional<std::u16string>> table[] = {
        {u"http://h/x", u"h"},
        {u"https://user:pw@h.test:8080/x", u"h.test"},
        {u"http://h?x", u"h"},
        {u"http://h#f", u"h"},
        {u"http://[::1]:80/", u"[::1]"},
        {u"http://[::1", std::nullopt},
        {u"http:///x", std::nullopt},
        {u"http://@/", std::nullopt},
        {u"h/x", std::nullopt},
    };
    for (const auto& [url, host] : table) EXPECT_EQ(crackUrlHost(url), host) << narrow(url);

    EXPECT_TRUE(isHttpsUrl(u"https://h/"));
    EXPECT_TRUE(isHttpsUrl(u"HTTPS://h/"));
    EXPECT_FALSE(isHttpsUrl(u"http://h/"));
    EXPECT_FALSE(isHttpsUrl(u"httpsx://h/"));
    EXPECT_FALSE(isHttpsUrl(u"https:h"));
}

// WinInetHttpClient against a loopback HTTP peer (port 80 redirected to it):
// the request exactly as sent, the response as read, and servers that lie
// about lengths, never stop sending headers or hang up.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "net/hooks.h"
#include "net/http_client.h"
#include "platform/net/internet.h"
#include "platform/net/testing.h"
#include "tests/net/support/loopback_server.h"

using namespace bramble::net;
using bramble::test::HttpTestServer;
using bramble::test::writeAll;

namespace {

class HttpClient : public ::testing::Test {
protected:
    void SetUp() override {
        setLogHook([this](std::string_view line) {
            std::lock_guard lock(m_mutex);
            m_log.emplace_back(line);
        });
    }
    void TearDown() override {
        setLogHook(nullptr);
        bramble::platform::net::testing::redirectHttpToLoopback(0);
    }

    // A client connected to `url`, whose port-80 traffic reaches `server`.
    void connect(WinInetHttpClient& client, const HttpTestServer& server, std::u16string_view url = u"http://example.test/") {
        bramble::platform::net::testing::redirectHttpToLoopback(server.port());
        ASSERT_TRUE(client.Connect(url));
    }

    bool logged(std::string_view part) {
        std::lock_guard lock(m_mutex);
        for (const std::string& line : m_log)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    std::mutex m_mutex;
    std::vector<std::string> m_log;
};

// A server that answers every request with `response`.
HttpTestServer answering(std::string response) {
    return HttpTestServer([response](int fd, const std::string&, size_t) { writeAll(fd, response); });
}

std::string body(const WinInetHttpClient& client) {
    return std::string(client.content().begin(), client.content().end());
}

}  // namespace

TEST_F(HttpClient, SendsTheRequestLineAndHeadersExactly) {
    HttpTestServer server = answering("HTTP/1.0 204 No Content\r\n\r\n");
    WinInetHttpClient client;
    connect(client, server, u"http://example.test:8080/ignored");  // the port is always 80
    client.AddRequestHeader(u"X-B", u"2");
    client.AddRequestHeader(u"Accept", u"text/html");
    client.AddRequestHeader(u"X-A", u"first");
    client.AddRequestHeader(u"X-A", u"1");  // replaces
    client.AddRequestHeader(u"X-Empty", u"");
    client.AddRequestHeader(u"x-a", u"lower");  // names are case-sensitive
    ASSERT_EQ(client.SendByGet(u"/path/file", u"?q=1&r=2"), 204);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              "GET /path/file?q=1&r=2 HTTP/1.0\r\n"
              "Host: example.test\r\n"
              "User-Agent: CeHttp\r\n"
              "Accept: text/html\r\n"
              "Pragma: no-cache\r\n"
              "X-A:1\r\n"
              "X-B:2\r\n"
              "X-Empty:\r\n"
              "x-a:lower\r\n"
              "\r\n");
    // The accept type was taken out of the request headers.
    EXPECT_EQ(client.requestHeader(u"Accept"), nullptr);
    ASSERT_NE(client.requestHeader(u"X-B"), nullptr);
}

TEST_F(HttpClient, HeaderBlockDropsWholeLinesThatDoNotFit) {
    HttpTestServer server = answering("HTTP/1.0 204 No Content\r\n\r\n");
    WinInetHttpClient client;
    connect(client, server);
    client.AddRequestHeader(u"A1", std::u16string(100, u'a'));  // 105 characters as a line
    client.AddRequestHeader(u"B2", std::u16string(200, u'b'));  // would pass 255
    client.AddRequestHeader(u"C3", u"small");
    client.AddRequestHeader(u"D4", u"x\r\nInjected: 1");  // never sent
    ASSERT_EQ(client.SendByGet(u"/", u""), 204);
    std::string request = server.requests()[0];
    EXPECT_NE(request.find("A1:" + std::string(100, 'a') + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("C3:small\r\n"), std::string::npos);
    EXPECT_EQ(request.find("B2"), std::string::npos);
    EXPECT_EQ(request.find("Injected"), std::string::npos);
    EXPECT_TRUE(logged("request header \"B2\" left out"));
    EXPECT_TRUE(logged("request header \"D4\" left out"));
}

TEST_F(HttpClient, RequestHeaderBlockLimits) {
    // "name:value\r\n": a 255-character block fits, 256 does not.
    HeaderMap exact{{u"N", std::u16string(251, u'v')}};
    EXPECT_EQ(buildRequestHeaderBlock(exact).size(), 255u);
    HeaderMap over{{u"N", std::u16string(252, u'v')}};
    std::vector<std::u16string> dropped;
    EXPECT_EQ(buildRequestHeaderBlock(over, kMaxRequestHeaderBlock, &dropped), u"");
    EXPECT_EQ(dropped, std::vector<std::u16string>{u"N"});
    HeaderMap ordered{{u"b", u"2"}, {u"a", u"1"}, {u"B", u"3"}};
    EXPECT_EQ(buildRequestHeaderBlock(ordered), u"B:3\r\na:1\r\nb:2\r\n");
    EXPECT_EQ(buildRequestHeaderBlock({}), u"");
}

TEST_F(HttpClient, ReadsStatusHeadersAndBody) {
    const std::string head =
        "HTTP/1.0 200 OK Fine\r\nContent-Type: text/plain\r\nContent-Length: 5\r\n"
        "X-Dup: first\r\nX-Dup: second\r\nX-Empty:\r\n\r\n";
    HttpTestServer server = answering(head + "hello");
    WinInetHttpClient client;
    connect(client, server);
    ASSERT_EQ(client.SendByGet(u"/", u""), 200);
    EXPECT_EQ(client.GetStatusCode(), 200);
    EXPECT_EQ(client.statusText(), u"OK Fine");
    EXPECT_EQ(client.rawHeaders(), std::u16string(head.begin(), head.end()));

    char16_t value[64];
    ASSERT_TRUE(client.GetResponseHeader(u"Content-Type", value, 64));
    EXPECT_EQ(std::u16string(value), u"text/plain");
    EXPECT_FALSE(client.GetResponseHeader(u"content-type", value, 64));  // case-sensitive names
    ASSERT_TRUE(client.GetResponseHeader(u"X-Dup", value, 64));
    EXPECT_EQ(std::u16string(value), u"first");
    ASSERT_TRUE(client.GetResponseHeader(u"X-Empty", value, 64));
    EXPECT_EQ(std::u16string(value), u"");

    EXPECT_EQ(client.GetContentLength(), 5u);
    EXPECT_EQ(body(client), "hello");
    uint8_t bytes[5] = {};
    EXPECT_FALSE(client.GetContent(bytes, 4));
    ASSERT_TRUE(client.GetContent(bytes, 5));
    EXPECT_EQ(std::string(bytes, bytes + 5), "hello");
}

TEST_F(HttpClient, BodiesWithAndWithoutAnnouncedLength) {
    struct Case {
        const char* name;
        std::string response;
        int status;
        std::string body;
        bool truncated;
    };
    const Case cases[] = {
        {"no length: no body", "HTTP/1.0 200 OK\r\n\r\nunannounced", 200, "", false},
        {"chunked: no length, no body",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 200, "", false},
        {"zero length", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", 200, "", false},
        {"not found", "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", 404, "not found", false},
        {"more than announced", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", 200, "hello", false},
        {"less than announced", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789", 200, "0123456789", true},
        {"blanks around the length", "HTTP/1.0 200 OK\r\nContent-Length:   3  \r\n\r\nabc", 200, "abc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server = answering(c.response);
        WinInetHttpClient client;
        connect(client, server);
        EXPECT_EQ(client.SendByGet(u"/", u""), c.status);
        EXPECT_EQ(body(client), c.body);
        EXPECT_EQ(client.GetContentLength(), c.body.size());
        EXPECT_EQ(client.contentTruncated(), c.truncated);
        EXPECT_TRUE(client.GetContent(nullptr, 0) == c.body.empty());
    }
    EXPECT_TRUE(logged("body ended after 10 of 100 announced bytes"));
}

TEST_F(HttpClient, UntrustedContentLengthsFailTheRequest) {
    for (const char* length : {"-5", "99999999999", "4294967296", "16777217", "12abc", "0x10", "+5", ""}) {
        SCOPED_TRACE(length);
        HttpTestServer server = answering(std::string("HTTP/1.0 200 OK\r\nContent-Length: ") + length +
                                          "\r\n\r\n0123456789");
        WinInetHttpClient client;
        connect(client, server);
        EXPECT_EQ(client.SendByGet(u"/", u""), -1);
        EXPECT_EQ(client.GetStatusCode(), -1);
        EXPECT_EQ(client.GetContentLength(), 0u);
        EXPECT_FALSE(client.isConnected());
        EXPECT_EQ(client.lastError(), bramble::platform::net::internet_error::kInvalidServerResponse);
    }
    // (curl itself already turns away a negative or empty length.)
    EXPECT_TRUE(logged("Content-Length \"99999999999\" refused"));
}

TEST_F(HttpClient, ContentLengthReading) {
    const std::pair<std::u16string, std::optional<uint32_t>> table[] = {
        {u"0", 0u},
        {u"1234", 1234u},
        {u" 7 ", 7u},
        {u"16777216", 16777216u},
        {u"16777217", std::nullopt},
        {u"4294967295", std::nullopt},
        {u"184467440737095516160", std::nullopt},
        {u"-1", std::nullopt},
        {u"+1", std::nullopt},
        {u"1 2", std::nullopt},
        {u"", std::nullopt},
        {u"  ", std::nullopt},
    };
    for (const auto& [text, value] : table) EXPECT_EQ(parseContentLength(text), value) << toUtf8(text);
}

TEST_F(HttpClient, LongHeaderValuesAreTerminatedOrRefused) {
    std::string longValue(10000, 'v');
    HttpTestServer server = answering("HTTP/1.0 200 OK\r\nX-Long: " + longValue + "\r\n\r\n");
    WinInetHttpClient client;
    connect(client, server);
    ASSERT_EQ(client.SendByGet(u"/", u""), 200);
    ASSERT_NE(client.responseHeader(u"X-Long"), nullptr);
    EXPECT_EQ(client.responseHeader(u"X-Long")->size(), 10000u);

    std::vector<char16_t> buffer(10001, u'#');
    EXPECT_FALSE(client.GetResponseHeader(u"X-Long", buffer.data(), 8192));
    EXPECT_FALSE(client.GetResponseHeader(u"X-Long", buffer.data(), 10000));  // no room for the terminator
    EXPECT_EQ(buffer[0], u'#');
    ASSERT_TRUE(client.GetResponseHeader(u"X-Long", buffer.data(), 10001));
    EXPECT_EQ(buffer[9999], u'v');
    EXPECT_EQ(buffer[10000], u'\0');

    char16_t text[3];
    EXPECT_FALSE(client.GetStatusText(text, 2));  // "OK" and its terminator need 3
    ASSERT_TRUE(client.GetStatusText(text, 3));
    EXPECT_EQ(std::u16string(text), u"OK");
    EXPECT_FALSE(client.GetStatusText(nullptr, 3));
    EXPECT_FALSE(client.GetRawHeaders(buffer.data(), 100));
    EXPECT_FALSE(client.GetResponseHeader(u"Absent", buffer.data(), buffer.size()));
}

TEST_F(HttpClient, HostileServersFailCleanlyAndLeaveTheClientClosed) {
    struct Case {
        const char* name;
        std::function<void(int)> serve;
    };
    const Case cases[] = {
        {"hangs up", [](int) {}},
        {"endless header",
         [](int fd) {
             writeAll(fd, "HTTP/1.0 200 OK\r\n");
             std::string line = "X-Pad: " + std::string(500, 'p') + "\r\n";
             for (int i = 0; i < 100000 && writeAll(fd, line); ++i) {
             }
         }},
        {"status line without a code", [](int fd) { writeAll(fd, "HTTP/1.0\r\n\r\n"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server([&](int fd, const std::string&, size_t) { c.serve(fd); });
        WinInetHttpClient client;
        connect(client, server);
        EXPECT_EQ(client.SendByGet(u"/", u""), -1);
        EXPECT_EQ(client.GetStatusCode(), -1);
        EXPECT_NE(client.lastError(), 0u);
        EXPECT_FALSE(client.isConnected());
        // Later requests answer -1 without going out again.
        EXPECT_EQ(client.SendByGet(u"/", u""), -1);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST_F(HttpClient, RedirectsEndAtTheFinalResponse) {
    HttpTestServer server([](int fd, const std::string& request, size_t) {
        if (HttpTestServer::requestLine(request) == "GET /old HTTP/1.0")
            writeAll(fd, "HTTP/1.0 302 Found\r\nLocation: /new\r\n\r\n");
        else
            writeAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nnew");
    });
    WinInetHttpClient client;
    connect(client, server);
    ASSERT_EQ(client.SendByGet(u"/old", u""), 200);
    EXPECT_EQ(client.rawHeaders(), u"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n");
    EXPECT_EQ(body(client), "new");
    EXPECT_EQ(client.responseHeader(u"Location"), nullptr);
}

TEST_F(HttpClient, ListenerFollowsTheBody) {
    struct Recorder : HttpProgressListener {
        std::vector<std::pair<uint32_t, uint32_t>> calls;
        void onProgress(uint32_t read, uint32_t expected) override { calls.emplace_back(read, expected); }
    } recorder;
    std::string payload(300000, 'z');
    HttpTestServer server = answering("HTTP/1.0 200 OK\r\nContent-Length: 300000\r\n\r\n" + payload);
    WinInetHttpClient client;
    connect(client, server);
    client.setListener(&recorder);
    ASSERT_EQ(client.SendByGet(u"/", u""), 200);
    ASSERT_FALSE(recorder.calls.empty());
    for (size_t i = 1; i < recorder.calls.size(); ++i) EXPECT_GT(recorder.calls[i].first, recorder.calls[i - 1].first);
    EXPECT_EQ(recorder.calls.back(), std::make_pair(300000u, 300000u));
    EXPECT_TRUE(body(client) == payload);
}

TEST_F(HttpClient, ConnectTakesTheHostAndLogsHttpsInClear) {
    WinInetHttpClient client;
    EXPECT_FALSE(client.Connect(u"http:///nohost"));
    EXPECT_FALSE(client.Connect(u"no scheme at all"));
    EXPECT_TRUE(logged("no host name"));
    EXPECT_FALSE(client.isConnected());

    HttpTestServer server = answering("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    connect(client, server, u"https://secure.test/account");
    EXPECT_TRUE(logged("https URL for secure.test goes out unencrypted on port 80"));
    ASSERT_EQ(client.SendByGet(u"/account", u""), 200);
    EXPECT_EQ(HttpTestServer::requestLine(server.requests()[0]), "GET /account HTTP/1.0");
}

TEST_F(HttpClient, ResetAndClearResponse) {
    HttpTestServer server = answering("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    WinInetHttpClient client;
    connect(client, server);
    client.AddRequestHeader(u"X", u"1");
    ASSERT_EQ(client.SendByGet(u"/", u""), 200);
    EXPECT_EQ(client.ClearResponse(), -1);
    EXPECT_EQ(client.GetStatusCode(), -1);
    EXPECT_TRUE(client.content().empty());
    EXPECT_TRUE(client.rawHeaders().empty());
    EXPECT_NE(client.requestHeader(u"X"), nullptr);
    client.Reset();
    EXPECT_EQ(client.requestHeader(u"X"), nullptr);
    EXPECT_TRUE(client.isConnected());
    // Still usable: a second request on the same client.
    EXPECT_EQ(client.SendByGet(u"/again", u""), 200);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(ResponseHeaders, ParsingTable) {
    struct Case {
        std::u16string raw;
        bool valid;
        int status;
        std::u16string text;
        HeaderMap headers;
    };
    const Case cases[] = {
        {u"HTTP/1.0 200 OK\r\nA: 1\r\n\r\n", true, 200, u"OK", {{u"A", u"1"}}},
        {u"HTTP/1.0  200   Multi  Word \r\n\r\n", true, 200, u"Multi Word", {}},
        {u"HTTP/1.0 201 Created\nX: y\n\n", true, 201, u"Created", {{u"X", u"y"}}},
        {u"HTTP/1.0 204\r\n\r\n", true, 204, u"", {}},
        {u"HTTP/1.0 200 OK\r\nNoColon\r\n:nameless\r\nA:tight\r\nB:  two\r\nC: x:y\r\nA: again\r\n\r\n",
         true,
         200,
         u"OK",
         {{u"", u"nameless"}, {u"A", u"tight"}, {u"B", u" two"}, {u"C", u"x:y"}}},
        {u"HTTP/1.0\r\nA: 1\r\n", false, -1, u"", {{u"A", u"1"}}},
        {u"HTTP/1.0 abc OK\r\n", false, -1, u"", {}},
        {u"HTTP/1.0 2000 OK\r\n", false, -1, u"", {}},
        {u"", false, -1, u"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(toUtf8(c.raw));
        ResponseHead head = parseResponseHeaders(c.raw);
        EXPECT_EQ(head.valid, c.valid);
        EXPECT_EQ(head.statusCode, c.status);
        EXPECT_EQ(head.statusText, c.text);
        EXPECT_EQ(head.headers, c.headers);
    }
}

// HTTP requests of the platform layer against a loopback peer: the exact bytes
// of the request, redirects, body streaming, and hostile or vanishing peers.
#include <gtest/gtest.h>

#include <string>

#include "platform/net/internet.h"
#include "platform/net/testing.h"
#include "tests/net/support/loopback_server.h"

namespace pnet = bramble::platform::net;
using bramble::test::HttpTestServer;
using bramble::test::writeAll;

namespace {

struct Exchange {
    bool sent = false;
    uint32_t error = 0;
    std::u16string rawHeaders;
    std::string body;
    bool endedEarly = false;
};

// One GET to host:80 (redirected to the loopback peer) with the given lines.
Exchange get(uint16_t loopbackPort, std::u16string_view host, std::u16string_view object,
             const std::optional<std::u16string>& accept = std::nullopt, std::u16string_view lines = u"") {
    pnet::testing::redirectHttpToLoopback(loopbackPort);
    Exchange out;
    auto session = pnet::InternetSession::open(u"CeHttp");
    auto connection = pnet::InternetConnection::connect(*session, host, 80);
    auto request = pnet::HttpRequest::open(*connection, u"GET", object, u"HTTP/1.0", accept, {.pragmaNoCache = true});
    EXPECT_NE(request, nullptr);
    if (!request) return out;
    out.sent = request->send(lines);
    if (!out.sent) {
        out.error = pnet::lastInternetError();
        return out;
    }
    out.rawHeaders = request->rawHeaders();
    char buffer[10000];
    for (;;) {
        size_t available = 0;
        if (!request->queryDataAvailable(available)) {
            out.error = pnet::lastInternetError();
            break;
        }
        if (available == 0) break;
        size_t n = request->read(buffer, sizeof buffer);
        out.body.append(buffer, n);
    }
    out.endedEarly = request->endedEarly();
    return out;
}

void reply(int fd, std::string_view text) { writeAll(fd, text); }

}  // namespace

TEST(PlatformHttp, SendsExactlyTheRequestLineAndHeaders) {
    HttpTestServer server([](int fd, const std::string&, size_t) {
        reply(fd, "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });
    Exchange e = get(server.port(), u"example.test", u"/a/b?x=1", u"text/plain", u"X-One:1\r\nX-Two:two words\r\n");
    ASSERT_TRUE(e.sent);
    EXPECT_EQ(e.body, "ok");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              "GET /a/b?x=1 HTTP/1.0\r\n"
              "Host: example.test\r\n"
              "User-Agent: CeHttp\r\n"
              "Accept: text/plain\r\n"
              "Pragma: no-cache\r\n"
              "X-One:1\r\n"
              "X-Two:two words\r\n"
              "\r\n");
}

TEST(PlatformHttp, AddsNothingOfItsOwnAndEscapesTheTarget) {
    HttpTestServer server([](int fd, const std::string&, size_t) { reply(fd, "HTTP/1.0 204 No Content\r\n\r\n"); });
    // No accept type, an empty object name, then a target with a blank and a
    // non-ASCII letter; an empty header value still goes out.
    ASSERT_TRUE(get(server.port(), u"h.test", u"").sent);
    ASSERT_TRUE(get(server.port(), u"h.test", u"/a b/\u00e9?q=1 2", std::nullopt, u"X-Empty:\r\n").sent);
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "GET / HTTP/1.0\r\nHost: h.test\r\nUser-Agent: CeHttp\r\nPragma: no-cache\r\n\r\n");
    EXPECT_EQ(requests[1],
              "GET /a%20b/%C3%A9?q=1%202 HTTP/1.0\r\nHost: h.test\r\nUser-Agent: CeHttp\r\nPragma: no-cache\r\n"
              "X-Empty:\r\n\r\n");
}

TEST(PlatformHttp, CallerLinesReplaceOwnLinesOfTheSameName) {
    HttpTestServer server([](int fd, const std::string&, size_t) { reply(fd, "HTTP/1.0 204 No Content\r\n\r\n"); });
    ASSERT_TRUE(get(server.port(), u"h.test", u"/", std::nullopt, u"User-Agent:Other\r\nHost:v.test\r\n").sent);
    EXPECT_EQ(server.requests()[0],
              "GET / HTTP/1.0\r\nHost:v.test\r\nPragma: no-cache\r\nUser-Agent:Other\r\n\r\n");
}

TEST(PlatformHttp, FollowsRedirectsAndKeepsTheFinalHeaderBlock) {
    HttpTestServer server([](int fd, const std::string& request, size_t) {
        std::string line = HttpTestServer::requestLine(request);
        if (line == "GET /start HTTP/1.0")
            reply(fd, "HTTP/1.0 302 Found\r\nLocation: next?a=1\r\nX-Hop: 1\r\nContent-Length: 5\r\n\r\nmoved");
        else if (line == "GET /next?a=1 HTTP/1.0")
            reply(fd, "HTTP/1.0 301 Moved\r\nLocation: http://other.test:8080/final\r\n\r\n");
        else
            reply(fd, "HTTP/1.0 200 OK\r\nX-Final: yes\r\nContent-Length: 4\r\n\r\ndone");
    });
    Exchange e = get(server.port(), u"first.test", u"/start", std::nullopt, u"X-Mine:1\r\n");
    ASSERT_TRUE(e.sent);
    EXPECT_EQ(e.rawHeaders, u"HTTP/1.0 200 OK\r\nX-Final: yes\r\nContent-Length: 4\r\n\r\n");
    EXPECT_EQ(e.body, "done");
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1],
              "GET /next?a=1 HTTP/1.0\r\nHost: first.test\r\nUser-Agent: CeHttp\r\nPragma: no-cache\r\nX-Mine:1\r\n\r\n");
    EXPECT_EQ(requests[2],
              "GET /final HTTP/1.0\r\nHost: other.test:8080\r\nUser-Agent: CeHttp\r\nPragma: no-cache\r\nX-Mine:1\r\n\r\n");
}

TEST(PlatformHttp, RedirectLoopsAndOtherSchemesFail) {
    HttpTestServer server([](int fd, const std::string& request, size_t) {
        if (HttpTestServer::requestLine(request) == "GET /secure HTTP/1.0")
            reply(fd, "HTTP/1.0 302 Found\r\nLocation: https://h.test/\r\n\r\n");
        else
            reply(fd, "HTTP/1.0 302 Found\r\nLocation: /loop\r\n\r\n");
    });
    Exchange loop = get(server.port(), u"h.test", u"/loop");
    EXPECT_FALSE(loop.sent);
    EXPECT_EQ(loop.error, pnet::internet_error::kRedirectFailed);
    EXPECT_EQ(server.requests().size(), 11u);  // the request and ten redirects
    Exchange secure = get(server.port(), u"h.test", u"/secure");
    EXPECT_FALSE(secure.sent);
    EXPECT_EQ(secure.error, pnet::internet_error::kRedirectFailed);
}

TEST(PlatformHttp, StreamsALargeBodyInOrder) {
    std::string body(3 << 20, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + i / 4096);
    HttpTestServer server([&](int fd, const std::string&, size_t) {
        reply(fd, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n");
        reply(fd, body);
    });
    Exchange e = get(server.port(), u"h.test", u"/big");
    ASSERT_TRUE(e.sent);
    EXPECT_FALSE(e.endedEarly);
    EXPECT_TRUE(e.body == body);
}

TEST(PlatformHttp, BodyCutShortByTheServerEndsEarly) {
    HttpTestServer server([](int fd, const std::string&, size_t) {
        reply(fd, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
    });
    Exchange e = get(server.port(), u"h.test", u"/");
    ASSERT_TRUE(e.sent);
    EXPECT_EQ(e.error, 0u);
    EXPECT_EQ(e.body, "0123456789");
    EXPECT_TRUE(e.endedEarly);
}

TEST(PlatformHttp, HostilePeersFailTheSend) {
    struct Case {
        const char* name;
        std::function<void(int)> serve;
        uint32_t error;
    };
    const Case cases[] = {
        {"closes without answering", [](int) {}, pnet::internet_error::kConnectionReset},
        {"endless header",
         [](int fd) {
             reply(fd, "HTTP/1.0 200 OK\r\n");
             std::string line = "X-Pad: " + std::string(1000, 'a') + "\r\n";
             for (int i = 0; i < 100000 && writeAll(fd, line); ++i) {
             }
         },
         pnet::internet_error::kInvalidServerResponse},
        {"endless single header line",
         [](int fd) {
             reply(fd, "HTTP/1.0 200 OK\r\nX-Long: ");
             std::string chunk(4096, 'b');
             for (int i = 0; i < 10000 && writeAll(fd, chunk); ++i) {
             }
         },
         pnet::internet_error::kInvalidServerResponse},
        {"not HTTP", [](int fd) { reply(fd, "hello there\r\n\r\n"); }, pnet::internet_error::kInvalidServerResponse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server([&](int fd, const std::string&, size_t) { c.serve(fd); });
        Exchange e = get(server.port(), u"h.test", u"/");
        EXPECT_FALSE(e.sent);
        EXPECT_EQ(e.error, c.error);
    }
}

TEST(PlatformHttp, RefusedConnectionIsReported) {
    Exchange e = get(bramble::test::unusedLoopbackPort(), u"h.test", u"/");
    EXPECT_FALSE(e.sent);
    EXPECT_EQ(e.error, pnet::internet_error::kCannotConnect);
}

TEST(PlatformHttp, RequestIsSentOnceAndNeedsValidArguments) {
    HttpTestServer server([](int fd, const std::string&, size_t) { reply(fd, "HTTP/1.0 204 No Content\r\n\r\n"); });
    pnet::testing::redirectHttpToLoopback(server.port());
    auto session = pnet::InternetSession::open(u"CeHttp");
    auto connection = pnet::InternetConnection::connect(*session, u"h.test", 80);
    EXPECT_EQ(pnet::InternetConnection::connect(*session, u"", 80), nullptr);
    EXPECT_EQ(pnet::HttpRequest::open(*connection, u"POST", u"/", u"HTTP/1.0", std::nullopt, {}), nullptr);
    EXPECT_EQ(pnet::lastInternetError(), pnet::internet_error::kInvalidParameter);
    auto request = pnet::HttpRequest::open(*connection, u"GET", u"/", u"HTTP/1.0", std::nullopt, {});
    size_t available = 0;
    EXPECT_FALSE(request->queryDataAvailable(available));  // not sent yet
    EXPECT_TRUE(request->send(u""));
    EXPECT_FALSE(request->send(u""));
    EXPECT_EQ(pnet::lastInternetError(), pnet::internet_error::kIncorrectHandleState);
    EXPECT_EQ(server.requests().size(), 1u);
}

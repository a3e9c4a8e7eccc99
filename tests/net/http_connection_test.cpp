// HttpConnectionImpl end to end against a loopback HTTP server (the client's
// fixed port 80 is redirected to it): the exact request, lazy sending, the
// response getters and streams, hostile servers, the wait animation, and a
// collection while another Java thread waits in a request.
#include "tests/net/java_fixture.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "net/wait_animation.h"
#include "platform/net/testing.h"
#include "tests/net/support/loopback_server.h"

using namespace bramble::test;
using namespace std::chrono_literals;

namespace {

class HttpConnection : public JavaNetTest {
protected:
    void TearDown() override {
        bramble::platform::net::testing::redirectHttpToLoopback(0);
        JavaNetTest::TearDown();
    }

    // An HTTP connection for `url` whose port-80 traffic reaches `server`.
    javax_microedition_io_HttpConnection* connect(const HttpTestServer& server,
                                                  const char* url = "http://example.test/") {
        bramble::platform::net::testing::redirectHttpToLoopback(server.port());
        Object* connection = open(url);
        EXPECT_NE(connection, nullptr);
        return http(connection);
    }
};

HttpTestServer answering(std::string response) {
    return HttpTestServer([response](int fd, const std::string&, size_t) { writeAll(fd, response); });
}

TEST_F(HttpConnection, SendsOneExactRequestAndReadsTheResponse) {
    const std::string head =
        "HTTP/1.0 200 OK Fine\r\nContent-Type: text/plain\r\ncontent-type: text/lower\r\n"
        "Content-Length: 11\r\nX-Empty:\r\n\r\n";
    HttpTestServer server = answering(head + "hello world");
    javax_microedition_io_HttpConnection* c = connect(server, "http://example.test:8080/dir/file?q=1&r=2#top");
    c->setRequestProperty(jstr("X-Game"), jstr("Bramble"));
    c->setRequestProperty(jstr("Accept"), jstr("text/plain"));
    EXPECT_TRUE(server.requests().empty());  // nothing goes out before a response getter

    EXPECT_EQ(c->getResponseCode(), 200);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              "GET /dir/file?q=1&r=2#top HTTP/1.0\r\n"
              "Host: example.test\r\n"
              "User-Agent: CeHttp\r\n"
              "Accept: text/plain\r\n"
              "Pragma: no-cache\r\n"
              "X-Game:Bramble\r\n"
              "\r\n");
    EXPECT_EQ(text(c->getResponseMessage()), "OK Fine");
    EXPECT_EQ(text(c->getHeaderField(jstr("Content-Length"))), "11");
    EXPECT_EQ(text(c->getHeaderField(jstr("X-Empty"))), "");
    EXPECT_EQ(text(c->getType()), "text/lower");  // the lower-case key, case-sensitively
    EXPECT_EQ(c->getLength(), 11);

    java_io_InputStream* in = c->openInputStream();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->classId(), cid::java_io_ByteArrayInputStream);
    EXPECT_EQ(readAll(in), "hello world");

    java_io_DataInputStream* data = c->openDataInputStream();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->readInt(), ('h' << 24) | ('e' << 16) | ('l' << 8) | 'l');
    EXPECT_EQ(takeException(), 0);

    // All of that was one request.
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(HttpConnection, ChangesMakeTheRequestPendingAgain) {
    HttpTestServer server([](int fd, const std::string&, size_t index) {
        writeAll(fd, "HTTP/1.0 200 OK\r\nX-Index: " + std::to_string(index) + "\r\n\r\n");
    });
    javax_microedition_io_HttpConnection* c = connect(server);
    EXPECT_EQ(c->getResponseCode(), 200);
    EXPECT_EQ(c->getResponseCode(), 200);
    EXPECT_EQ(server.requests().size(), 1u);

    c->setRequestProperty(jstr("X-A"), jstr("1"));
    EXPECT_EQ(text(c->getHeaderField(jstr("X-Index"))), "1");
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_NE(server.requests()[1].find("X-A:1\r\n"), std::string::npos);

    // Another method sends nothing and leaves the empty response.
    c->setRequestMethod(jstr("POST"));
    EXPECT_EQ(text(c->getRequestMethod()), "POST");
    EXPECT_EQ(c->getResponseCode(), 200);  // the last response is still held
    c->setRequestProperty(jstr("X-B"), jstr("2"));
    EXPECT_EQ(server.requests().size(), 2u);
    // GET in any case sends again, with the same client.
    c->setRequestMethod(jstr("get"));
    EXPECT_EQ(text(c->getHeaderField(jstr("X-Index"))), "2");
    EXPECT_EQ(server.requests().size(), 3u);
    c->setRequestMethod(nullptr);
    c->setRequestProperty(nullptr, jstr("v"));  // logged, changes nothing
    EXPECT_TRUE(m_log.contains("NullPointer"));
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(HttpConnection, NonGetMethodsNeverSend) {
    HttpTestServer server = answering("HTTP/1.0 200 OK\r\n\r\n");
    javax_microedition_io_HttpConnection* c = connect(server);
    c->setRequestMethod(jstr("POST"));
    EXPECT_EQ(c->getResponseCode(), -1);
    EXPECT_EQ(c->getLength(), 0);
    EXPECT_EQ(c->getResponseMessage(), nullptr);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    EXPECT_EQ(c->openInputStream(), nullptr);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpConnection, BodiesStatusesAndMissingHeaders) {
    struct Case {
        const char* name;
        std::string response;
        jint status;
        const char* body;  // null: openInputStream raises IOException
        const char* message;
    };
    const Case cases[] = {
        {"no length: an empty body", "HTTP/1.0 200 OK\r\n\r\nunannounced", 200, "", "OK"},
        {"zero length", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", 200, "", "OK"},
        {"less than announced", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789", 200, "0123456789", "OK"},
        {"not found", "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", 404, nullptr, "Not Found"},
        {"no reason phrase", "HTTP/1.0 204\r\n\r\n", 204, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server = answering(c.response);
        javax_microedition_io_HttpConnection* connection = connect(server);
        EXPECT_EQ(connection->getResponseCode(), c.status);
        EXPECT_EQ(text(connection->getResponseMessage()), c.message);
        // The server's "Content-Type" is not the "content-type" getType asks for.
        EXPECT_EQ(connection->getType(), nullptr);
        EXPECT_EQ(takeException(), cid::java_io_IOException);
        java_io_InputStream* in = connection->openInputStream();
        if (c.body) {
            ASSERT_NE(in, nullptr);
            EXPECT_EQ(readAll(in), c.body);
            EXPECT_EQ(connection->getLength(), static_cast<jlong>(std::strlen(c.body)));
        } else {
            EXPECT_EQ(in, nullptr);
            EXPECT_EQ(takeException(), cid::java_io_IOException);
            EXPECT_EQ(connection->openDataInputStream()->m_in, nullptr);
            EXPECT_EQ(takeException(), cid::java_io_IOException);
        }
    }
}

TEST_F(HttpConnection, HostileServersGiveNoResponseAndNoCrash) {
    struct Case {
        const char* name;
        std::function<void(int)> serve;
    };
    const Case cases[] = {
        {"huge Content-Length",
         [](int fd) { writeAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 99999999999\r\n\r\nabc"); }},
        {"Content-Length past the limit",
         [](int fd) { writeAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 4294967296\r\n\r\nabc"); }},
        {"negative Content-Length", [](int fd) { writeAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nabc"); }},
        {"closed at once", [](int) {}},
        {"closed inside the head", [](int fd) { writeAll(fd, "HTTP/1.0 200 OK\r\nX-Half: "); }},
        {"endless header",
         [](int fd) {
             writeAll(fd, "HTTP/1.0 200 OK\r\n");
             std::string line = "X-Pad: " + std::string(500, 'p') + "\r\n";
             for (int i = 0; i < 100000 && writeAll(fd, line); ++i) {
             }
         }},
        {"garbage", [](int fd) { writeAll(fd, std::string(300, '\xff') + "\r\n\r\n"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server([&](int fd, const std::string&, size_t) { c.serve(fd); });
        javax_microedition_io_HttpConnection* connection = connect(server);
        EXPECT_EQ(connection->getResponseCode(), -1);
        EXPECT_EQ(connection->getLength(), 0);
        EXPECT_EQ(connection->getHeaderField(jstr("Content-Length")), nullptr);
        EXPECT_EQ(takeException(), cid::java_io_IOException);
        EXPECT_EQ(connection->openInputStream(), nullptr);
        EXPECT_EQ(takeException(), cid::java_io_IOException);
        // The client stays closed: a new request through this object answers
        // -1 without going out.
        connection->setRequestProperty(jstr("X-Again"), jstr("1"));
        EXPECT_EQ(connection->getResponseCode(), -1);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST_F(HttpConnection, LongHeaderValuesFailCleanly) {
    const std::string fits(8191, 'v');   // with its terminator: 8,192 characters
    const std::string tooLong(8192, 'w');
    const std::string reason(1100, 'r');
    HttpTestServer server = answering("HTTP/1.0 200 " + reason + "\r\nX-Fits: " + fits + "\r\nX-Long: " + tooLong +
                                      "\r\n\r\n");
    javax_microedition_io_HttpConnection* c = connect(server);
    EXPECT_EQ(c->getResponseCode(), 200);
    EXPECT_EQ(text(c->getHeaderField(jstr("X-Fits"))), fits);
    EXPECT_EQ(c->getHeaderField(jstr("X-Long")), nullptr);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    EXPECT_EQ(c->getResponseMessage(), nullptr);  // 1,100 characters do not fit 1,024
    EXPECT_EQ(takeException(), cid::java_io_IOException);
}

TEST_F(HttpConnection, RequestHeaderBlockDropsWholeLines) {
    HttpTestServer server = answering("HTTP/1.0 204 No Content\r\n\r\n");
    javax_microedition_io_HttpConnection* c = connect(server);
    c->setRequestProperty(jstr("A1"), String::fromUtf8(std::string(100, 'a')));
    c->setRequestProperty(jstr("B2"), String::fromUtf8(std::string(200, 'b')));  // would pass 255
    c->setRequestProperty(jstr("C3"), jstr("small"));
    c->setRequestProperty(jstr("D4"), jstr("x\r\nInjected: 1"));
    EXPECT_EQ(c->getResponseCode(), 204);
    const std::string request = server.requests().at(0);
    EXPECT_NE(request.find("A1:" + std::string(100, 'a') + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("C3:small\r\n"), std::string::npos);
    EXPECT_EQ(request.find("B2"), std::string::npos);
    EXPECT_EQ(request.find("Injected"), std::string::npos);
    EXPECT_TRUE(m_log.contains("request header \"B2\" left out"));
}

TEST_F(HttpConnection, HttpsGoesOutInClearAndIsLogged) {
    HttpTestServer server = answering("HTTP/1.0 200 OK\r\n\r\n");
    javax_microedition_io_HttpConnection* c = connect(server, "https://secure.test/x");
    EXPECT_TRUE(m_log.contains("https URL for secure.test goes out unencrypted"));
    EXPECT_EQ(text(c->getProtocol()), "http");
    EXPECT_EQ(c->getResponseCode(), 200);
    EXPECT_EQ(HttpTestServer::requestLine(server.requests().at(0)), "GET /x HTTP/1.0");
}

TEST_F(HttpConnection, CloseDropsTheResponse) {
    HttpTestServer server = answering("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nhi");
    javax_microedition_io_HttpConnection* c = connect(server);
    EXPECT_EQ(c->getResponseCode(), 200);
    c->close();
    EXPECT_EQ(c->getResponseCode(), -1);
    EXPECT_EQ(c->openInputStream(), nullptr);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    c->close();  // twice is harmless
}

// A fake screen for the wait animation.
struct AnimationRecorder {
    AnimationRecorder() {
        bramble::net::ScreenOverlay::setDrawText([this](int x, int y, std::u16string_view text, uint32_t rgb) {
            std::lock_guard lock(mutex);
            frames.push_back({x, y, std::u16string(text), rgb});
        });
    }
    ~AnimationRecorder() { bramble::net::ScreenOverlay::setDrawText(nullptr); }
    size_t count() {
        std::lock_guard lock(mutex);
        return frames.size();
    }
    struct Frame {
        int x, y;
        std::u16string text;
        uint32_t rgb;
    };
    std::mutex mutex;
    std::vector<Frame> frames;
};

TEST_F(HttpConnection, TheWaitAnimationRunsOnlyWhileTheRequestDoes) {
    AnimationRecorder screen;
    std::atomic<bool> drawnDuringRequest{false};
    HttpTestServer server([&](int fd, const std::string&, size_t) {
        for (int i = 0; i < 20000 && screen.count() == 0; ++i) std::this_thread::sleep_for(1ms);
        drawnDuringRequest = screen.count() > 0;
        writeAll(fd, "HTTP/1.0 200 OK\r\n\r\n");
    });
    javax_microedition_io_HttpConnection* c = connect(server);
    EXPECT_EQ(c->getResponseCode(), 200);
    EXPECT_TRUE(drawnDuringRequest.load());
    size_t drawn = screen.count();
    ASSERT_GE(drawn, 1u);
    EXPECT_EQ(screen.frames[0].x, 75);
    EXPECT_EQ(screen.frames[0].y, 240);
    EXPECT_EQ(screen.frames[0].text, u"    . . . . . . .    ");
    EXPECT_EQ(screen.frames[0].rgb, 0xFFFFFFu);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(screen.count(), drawn);  // stopped with the request
    c->getResponseCode();              // no request: no animation
    EXPECT_EQ(screen.count(), drawn);
}

// A Java thread waiting in a request does not hold up a collection.
struct RequestState {
    std::atomic<bool> collected{false};
    std::atomic<bool> serverWaited{false};
    std::atomic<jint> status{0};
    std::string body;
};
RequestState* g_request = nullptr;

void requestOnJavaThread(void*) {
    Object* connection = bramble::net::openConnection(String::fromUtf8("http://example.test/slow"), 3, 0);
    auto* c = http(connection);
    g_request->status = c->getResponseCode();
    java_io_InputStream* in = c->openInputStream();
    if (in) g_request->body = readAll(in);
}

TEST_F(HttpConnection, ACollectionNeverWaitsForARequest) {
    RequestState state;
    g_request = &state;
    HttpTestServer server([&](int fd, const std::string&, size_t) {
        // Answers once the collection is over (or after 60 s, which fails the test).
        for (int i = 0; i < 60000 && !state.collected; ++i) std::this_thread::sleep_for(1ms);
        state.serverWaited = !state.collected;
        writeAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nbody");
    });
    bramble::platform::net::testing::redirectHttpToLoopback(server.port());
    auto* thread = newObject<java_lang_Thread>(newObject<Task>(&requestOnJavaThread, nullptr));
    ASSERT_GE(java_lang_Thread::start(thread), 0);
    ASSERT_TRUE(waitFor([&] { return server.requests().size() == 1; }));
    collect();
    collect();
    state.collected = true;
    ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(thread); }));
    EXPECT_FALSE(state.serverWaited.load());
    EXPECT_EQ(state.status.load(), 200);
    EXPECT_EQ(state.body, "body");
    g_request = nullptr;
}

}  // namespace

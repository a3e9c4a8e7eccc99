// SocketConnectionImpl end to end against loopback peers: sending and
// receiving through the streams, line reading, no byte lost between single
// and bulk reads, refused connections (their error box, headless), close
// while a read blocks, descriptors never closed twice, and a collection while
// another Java thread blocks in a socket read.
#include "tests/net/java_fixture.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "tests/net/support/loopback_server.h"

using namespace bramble::test;
using namespace std::chrono_literals;

namespace {

class SocketConnection : public JavaNetTest {
protected:
    javax_microedition_io_SocketConnection* connectTo(uint16_t port) {
        std::string url = "socket://127.0.0.1:" + std::to_string(port);
        Object* connection = open(url.c_str());
        EXPECT_NE(connection, nullptr);
        return socketView(connection);
    }
};

// A peer that runs `script` on each connection it accepts.
using Script = std::function<void(int fd)>;

// Reads exactly n bytes (or less when the peer closes or 5 s pass).
std::string readBytes(int fd, size_t n) {
    std::string data;
    char buffer[4096];
    while (data.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        ssize_t got = ::recv(fd, buffer, std::min(sizeof buffer, n - data.size()), 0);
        if (got <= 0) break;
        data.append(buffer, static_cast<size_t>(got));
    }
    return data;
}

// Waits until the other end has closed or 5 s pass.
void waitClosed(int fd) {
    char c;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 5000) > 0) ::recv(fd, &c, 1, MSG_PEEK);
}

TEST_F(SocketConnection, SendsAndReceivesThroughItsStreams) {
    std::string received;
    LoopbackServer peer([&](int fd) {
        received = readBytes(fd, 12);
        writeAll(fd, std::string("\x00\x00\x01\x02", 4) + std::string("\x00\x03", 2) + "abc" + "tail");
    });
    javax_microedition_io_SocketConnection* c = connectTo(peer.port());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->getPort(), peer.port());
    EXPECT_EQ(c->getLocalPort(), 0);
    EXPECT_EQ(c->getAddress(), nullptr);
    EXPECT_EQ(c->getLocalAddress(), nullptr);
    EXPECT_EQ(c->getSocketOption(1), 0);
    EXPECT_TRUE(PlatformLogCapture::boxes().empty());

    auto* out = static_cast<javax_microedition_io_OutputConnection*>(c)->openDataOutputStream();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->m_out->classId(), cid::java_io_ByteArrayOutputStream);
    out->writeInt(0x01020304);
    out->writeUTF(jstr("hi"));
    ByteArray* bytes = ByteArray::fill(newByteArray(5), 5, 'x', 'h', 'e', 'y', 'x');
    out->write(bytes, 1, 3);
    out->m_out->write(jint('!'));
    EXPECT_EQ(takeException(), 0);

    java_io_DataInputStream* in = c->openDataInputStream();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->m_in->classId(), cid::java_io_ByteArrayInputStream);
    EXPECT_EQ(in->readInt(), 0x102);
    EXPECT_EQ(text(in->readUTF()), "abc");
    EXPECT_EQ(readAll(in), "tail");
    EXPECT_EQ(in->read(), -1);  // the peer has closed
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(received, std::string("\x01\x02\x03\x04\x00\x02hihey!", 12));
    c->close();
}

TEST_F(SocketConnection, NothingReceivedIsLostBetweenSingleAndBulkReads) {
    std::atomic<int> step{0};
    LoopbackServer peer([&](int fd) {
        writeAll(fd, "abcdef");
        while (step.load() < 1) std::this_thread::sleep_for(1ms);
        writeAll(fd, "ghij");
        while (step.load() < 2) std::this_thread::sleep_for(1ms);
        writeAll(fd, "klm");
    });
    javax_microedition_io_SocketConnection* c = connectTo(peer.port());
    java_io_InputStream* in = c->openInputStream();
    ByteArray* buffer = newByteArray(16);

    // A bulk read on a fresh socket answers what arrives, not -1.
    jint n = in->read(buffer, 0, 2);
    ASSERT_GT(n, 0);
    std::string got = bytesOf(buffer, n);
    while (got.size() < 6) {  // "abcdef" may come in pieces
        jint c1 = in->read();
        ASSERT_GE(c1, 0);
        got.push_back(static_cast<char>(c1));
    }
    EXPECT_EQ(got, "abcdef");
    EXPECT_EQ(in->available(), 0);

    step = 1;
    EXPECT_EQ(in->read(), 'g');  // receives "ghij" (or its start) and keeps the rest
    got = "g";
    while (got.size() < 4) {
        n = in->read(buffer, 0, 16);
        ASSERT_GT(n, 0);
        got += bytesOf(buffer, n);
    }
    EXPECT_EQ(got, "ghij");

    step = 2;
    got.clear();
    while (got.size() < 3) {
        jlong skipped = got.empty() ? in->skip(1) : 0;
        if (skipped == 1) got = "k";
        n = in->read(buffer, 0, 16);
        ASSERT_GT(n, 0);
        got += bytesOf(buffer, n);
    }
    EXPECT_EQ(got, "klm");
    EXPECT_EQ(in->read(buffer, 0, 16), -1);
    EXPECT_EQ(in->read(buffer, 0, 0), 0);
    // Ranges are checked before anything is received.
    EXPECT_EQ(in->read(buffer, 10, 7), 0);
    EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
    EXPECT_EQ(in->read(nullptr, 0, 1), 0);
    EXPECT_EQ(takeException(), cid::java_lang_NullPointerException);
    EXPECT_EQ(in->markSupported(), 0);
}

TEST_F(SocketConnection, LinesReadByteByByteLeaveTheRestUnread) {
    LoopbackServer peer([](int fd) { writeAll(fd, "ab\r\ncd"); });
    javax_microedition_io_SocketConnection* c = connectTo(peer.port());
    java_io_InputStream* in = c->openInputStream();
    std::string line;
    for (jint b = in->read(); b != '\n'; b = in->read()) {
        ASSERT_GE(b, 0);
        if (b != '\r') line.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(line, "ab");
    // A second stream of the same connection shares what was received.
    EXPECT_EQ(readAll(c->openInputStream()), "cd");
}

TEST_F(SocketConnection, RefusedAndInvalidAddressesShowTheirBoxes) {
    const uint16_t port = unusedLoopbackPort();
    javax_microedition_io_SocketConnection* c = connectTo(port);
    ASSERT_NE(c, nullptr);  // made all the same; only the box tells
    EXPECT_EQ(PlatformLogCapture::boxes(),
              std::vector<std::string>{"WinSocketClient::Connect|Unable to connect: 274D / 10061"});
    java_io_InputStream* in = c->openInputStream();
    EXPECT_EQ(in->read(), 0);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    java_io_OutputStream* out = static_cast<javax_microedition_io_OutputConnection*>(c)->openOutputStream();
    out->write(jint(1));
    EXPECT_EQ(takeException(), cid::java_io_IOException);

    PlatformLogCapture::clear();
    EXPECT_NE(open("socket://255.255.255.255:80"), nullptr);
    EXPECT_EQ(PlatformLogCapture::boxes(), std::vector<std::string>{"WinSocketClient::Connect-> Invalid address|"});

    // A URL without a port: port 0 cannot be connected to.
    PlatformLogCapture::clear();
    EXPECT_NE(open("socket://127.0.0.1"), nullptr);
    EXPECT_EQ(PlatformLogCapture::boxes(),
              std::vector<std::string>{"WinSocketClient::Connect|Unable to connect: 2741 / 10049"});
}

// Opens a connection and both streams, closes it and checks that the streams
// fail; every object is garbage when the thread ends.
void openUseAndClose(void* portArg) {
    std::string url = "socket://127.0.0.1:" + std::to_string(*static_cast<uint16_t*>(portArg));
    auto* c = socketView(bramble::net::openConnection(String::fromUtf8(url), 3, 0));
    java_io_InputStream* in = c->openInputStream();
    java_io_OutputStream* out = static_cast<javax_microedition_io_OutputConnection*>(c)->openOutputStream();
    c->close();
    EXPECT_EQ(in->read(), 0);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    out->write(jint('x'));
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    c->close();  // twice is harmless
}

TEST_F(SocketConnection, ClosedStreamsFailAndTheDescriptorIsNeverClosedTwice) {
    LoopbackServer peer([](int fd) { waitClosed(fd); });
    uint16_t port = peer.port();
    collect();
    size_t before = Application::instance()->objects().objectCount();
    runOnJavaThread(&openUseAndClose, &port);
    // The freed descriptor number goes to a file of ours; finalizing the
    // connection and its streams must leave it alone.
    int file = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(file, 0);
    collect();
    // The connection, its streams and their buffers were swept (the ended
    // Thread and its Task, or a stray copy, may stay on this stack).
    EXPECT_LE(Application::instance()->objects().objectCount(), before + 3);
    EXPECT_NE(::fcntl(file, F_GETFD), -1);
    ::close(file);
}

// A Java thread blocked in a socket read.
struct ReaderState {
    uint16_t port = 0;
    std::atomic<bool> blocked{false};
    std::atomic<jint> first{-2};
    std::string rest;
    std::atomic<bool> failed{false};
    Object* connection = nullptr;
};
ReaderState* g_reader = nullptr;

void blockingReader(void*) {
    std::string url = "socket://127.0.0.1:" + std::to_string(g_reader->port);
    Object* connection = bramble::net::openConnection(String::fromUtf8(url), 3, 0);
    g_reader->connection = connection;
    java_io_InputStream* in = socketView(connection)->openInputStream();
    g_reader->blocked = true;
    g_reader->first = in->read();
    if (Application::pendingException()) {
        Application::clearPendingException();
        g_reader->failed = true;
        return;
    }
    g_reader->rest = readAll(in);
}

bool parked(java_lang_Thread* thread) {
    rt::ThreadContext* context = Application::instance()->threads().contextOf(thread);
    std::lock_guard lock(Application::instance()->threads().lock());
    return context && context->parked;
}

TEST_F(SocketConnection, ACollectionNeverWaitsForABlockedRead) {
    ReaderState state;
    g_reader = &state;
    std::atomic<bool> collected{false};
    std::atomic<bool> peerWaited{false};
    LoopbackServer peer([&](int fd) {
        // Sends once the collection is over (or after 60 s, which fails the test).
        for (int i = 0; i < 60000 && !collected; ++i) std::this_thread::sleep_for(1ms);
        peerWaited = !collected;
        writeAll(fd, "xyz");
    });
    state.port = peer.port();
    auto* thread = newObject<java_lang_Thread>(newObject<Task>(&blockingReader, nullptr));
    ASSERT_GE(java_lang_Thread::start(thread), 0);
    ASSERT_TRUE(waitFor([&] { return state.blocked.load() && parked(thread); }));
    // Garbage to sweep, while the reader's connection and stream live only
    // on its stack.
    for (int i = 0; i < 100; ++i) String::fromUtf8("garbage");
    collect();
    collect();
    collected = true;
    ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(thread); }));
    EXPECT_FALSE(peerWaited.load());
    EXPECT_FALSE(state.failed.load());
    EXPECT_EQ(state.first.load(), 'x');
    EXPECT_EQ(state.rest, "yz");
    g_reader = nullptr;
}

TEST_F(SocketConnection, CloseWakesABlockedRead) {
    ReaderState state;
    g_reader = &state;
    std::atomic<bool> done{false};
    LoopbackServer peer([&](int fd) {
        while (!done) std::this_thread::sleep_for(1ms);  // never sends
    });
    struct Release {
        std::atomic<bool>& flag;
        ~Release() { flag = true; }
    } release{done};  // before the peer is destroyed, whatever happens
    state.port = peer.port();
    rt::GlobalRef keep;
    auto* thread = newObject<java_lang_Thread>(newObject<Task>(&blockingReader, nullptr));
    ASSERT_GE(java_lang_Thread::start(thread), 0);
    ASSERT_TRUE(waitFor([&] { return state.blocked.load() && parked(thread); }));
    keep.set(state.connection);
    socketView(state.connection)->close();
    EXPECT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(thread); }));
    // The read ended with the end of the stream or an IOException.
    EXPECT_TRUE(state.failed.load() || state.first.load() == -1);
    g_reader = nullptr;
}

}  // namespace

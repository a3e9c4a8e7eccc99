// WinSocketClient and the socket input buffer against loopback peers: sending,
// receiving, line reading, the error boxes of failed connections, and no byte
// lost between single-byte and bulk reads.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>

#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/hooks.h"
#include "net/socket_client.h"
#include "tests/net/support/loopback_server.h"

using namespace bramble::net;
namespace pnet = bramble::platform::net;
using bramble::test::LoopbackServer;
using bramble::test::writeAll;

namespace {

struct Box {
    std::u16string text;
    std::u16string caption;
    bool operator==(const Box&) const = default;
};

class SocketClient : public ::testing::Test {
protected:
    void SetUp() override {
        setErrorBoxHook([this](std::u16string_view text, std::u16string_view caption) {
            std::lock_guard lock(m_mutex);
            m_boxes.push_back({std::u16string(text), std::u16string(caption)});
        });
    }
    void TearDown() override { setErrorBoxHook(nullptr); }

    std::vector<Box> boxes() {
        std::lock_guard lock(m_mutex);
        return m_boxes;
    }

    // A created client connected to 127.0.0.1:port.
    static void connectTo(WinSocketClient& client, uint16_t port) {
        ASSERT_TRUE(client.Create());
        ASSERT_TRUE(client.Connect("127.0.0.1", port));
    }

    std::mutex m_mutex;
    std::vector<Box> m_boxes;
};

bool isOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

// A peer that sends `chunks` one after another with a short pause between
// them (so each tends to arrive on its own), then closes.
LoopbackServer sendingPeer(std::vector<std::string> chunks) {
    return LoopbackServer([chunks](int fd) {
        for (const std::string& chunk : chunks) {
            writeAll(fd, chunk);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
}

}  // namespace

TEST_F(SocketClient, SendsAndReceives) {
    std::promise<std::string> received;
    LoopbackServer peer([&](int fd) {
        writeAll(fd, "welcome");
        received.set_value(bramble::test::readUntilClosed(fd));
    });
    std::string big(512 * 1024, 'b');
    {
        WinSocketClient client;
        connectTo(client, peer.port());
        char greeting[16] = {};
        EXPECT_EQ(client.Receive(greeting, 7, 0), 7);
        EXPECT_STREQ(greeting, "welcome");
        EXPECT_EQ(client.Send("hello ", 6, 0), 6);
        EXPECT_EQ(client.SendString("world"), 5);
        EXPECT_EQ(client.Send("", 0, 0), 0);
        EXPECT_EQ(client.Send(nullptr, 3, 0), -1);
        EXPECT_EQ(client.Send("x", -1, 0), -1);
        EXPECT_EQ(client.Receive(nullptr, 3, 0), -1);
        EXPECT_EQ(client.Send(big.data(), static_cast<int32_t>(big.size()), 0), static_cast<int32_t>(big.size()));
        EXPECT_TRUE(client.Shutdown(pnet::kShutdownSend));
    }
    EXPECT_EQ(received.get_future().get(), "hello world" + big);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SocketClient, ReceiveLineReadsOneLineAndLeavesTheRest) {
    LoopbackServer peer = sendingPeer({"ab\r\ncd", "\r\n", "abcdef\n", "xy"});
    WinSocketClient client;
    connectTo(client, peer.port());
    char line[81];
    EXPECT_EQ(client.ReceiveLine(line, 80, false), 2);
    EXPECT_STREQ(line, "ab");
    char rest[3] = {};
    EXPECT_EQ(client.Receive(rest, 2, 0), 2);
    EXPECT_STREQ(rest, "cd");
    EXPECT_EQ(client.ReceiveLine(line, 80, false), 1);  // an empty line
    EXPECT_STREQ(line, "");
    char small[4];
    EXPECT_EQ(client.ReceiveLine(small, 3, false), 3);  // stops at max, terminated
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(client.ReceiveLine(line, 80, false), 3);
    EXPECT_STREQ(line, "def");
    EXPECT_EQ(client.ReceiveLine(line, 80, false), 0);  // "xy", then the peer closed
    EXPECT_STREQ(line, "xy");
    EXPECT_EQ(client.ReceiveLine(nullptr, 80, false), -1);
}

TEST_F(SocketClient, ReceiveLineEchoes) {
    std::promise<std::string> echoed;
    LoopbackServer peer([&](int fd) {
        writeAll(fd, "hi\n");
        ::shutdown(fd, SHUT_WR);
        echoed.set_value(bramble::test::readUntilClosed(fd));
    });
    {
        WinSocketClient client;
        connectTo(client, peer.port());
        char line[16];
        EXPECT_EQ(client.ReceiveLine(line, 15, true), 2);
    }
    EXPECT_EQ(echoed.get_future().get(), "hi\n");
}

TEST_F(SocketClient, StreamLosesNothingBetweenSingleAndBulkReads) {
    LoopbackServer peer = sendingPeer({"ABCDEFGH", "ijkl", "MNOPQRSTUVWXYZ"});
    WinSocketClient client;
    connectTo(client, peer.port());
    SocketInputStream in(client);
    std::string got;
    got += static_cast<char>(in.read());  // one byte of the first block...
    uint8_t bulk[64];
    int32_t n = in.read(bulk, sizeof bulk);  // ...then the rest of what arrived
    ASSERT_GT(n, 0);
    got.append(bulk, bulk + n);
    for (;;) {
        int32_t c = in.read();
        if (c == SocketInputStream::kEndOfStream) break;
        ASSERT_GE(c, 0);
        got += static_cast<char>(c);
        n = in.read(bulk, 3);
        if (n == SocketInputStream::kEndOfStream) break;
        ASSERT_GE(n, 0);
        got.append(bulk, bulk + n);
    }
    EXPECT_EQ(got, "ABCDEFGHijklMNOPQRSTUVWXYZ");
    EXPECT_EQ(in.read(), SocketInputStream::kEndOfStream);
    EXPECT_EQ(in.read(bulk, 4), SocketInputStream::kEndOfStream);
    EXPECT_EQ(in.read(bulk, 0), 0);
}

TEST_F(SocketClient, BulkReadOnAFreshStreamWaitsForData) {
    LoopbackServer peer = sendingPeer({"hello"});
    WinSocketClient client;
    connectTo(client, peer.port());
    SocketInputStream in(client);
    EXPECT_TRUE(in.bufferUsedUp());
    EXPECT_EQ(in.available(), 0);
    uint8_t bulk[16];
    ASSERT_EQ(in.read(bulk, 16), 5);
    EXPECT_EQ(std::string(bulk, bulk + 5), "hello");
}

TEST_F(SocketClient, FillReceivesOnlyWhenTheBufferIsUsedUp) {
    // The peer sends "two" only after the client has asked for it.
    LoopbackServer peer([](int fd) {
        writeAll(fd, "one");
        char go;
        if (::recv(fd, &go, 1, 0) == 1) writeAll(fd, "two");
    });
    WinSocketClient client;
    connectTo(client, peer.port());
    SocketInputStream in(client);
    ASSERT_EQ(in.fill(), 3);
    client.Send("g", 1, 0);
    EXPECT_EQ(in.fill(), 3);  // still "one" unread: nothing received
    uint8_t bytes[8];
    EXPECT_EQ(in.take(bytes, 2), 2);
    EXPECT_EQ(in.available(), 1);
    EXPECT_EQ(in.take(bytes + 2, 8), 1);
    EXPECT_EQ(std::string(bytes, bytes + 3), "one");
    EXPECT_EQ(in.take(bytes, 8), 0);  // take never receives
    EXPECT_EQ(in.fill(), 3);
    EXPECT_EQ(in.take(bytes, 8), 3);
    EXPECT_EQ(std::string(bytes, bytes + 3), "two");
}

TEST_F(SocketClient, ReadingAClosedClientFails) {
    LoopbackServer peer = sendingPeer({"x"});
    WinSocketClient client;
    connectTo(client, peer.port());
    SocketInputStream in(client);
    client.Close();
    EXPECT_EQ(in.read(), SocketInputStream::kReadFailed);
    uint8_t b[4];
    EXPECT_EQ(in.read(b, 4), SocketInputStream::kReadFailed);
}

TEST_F(SocketClient, CloseInvalidatesTheHandle) {
    int stale;
    {
        WinSocketClient client;
        ASSERT_TRUE(client.Create());
        stale = client.handle();
        EXPECT_TRUE(client.Close());
        EXPECT_EQ(client.handle(), pnet::kInvalidSocket);
        EXPECT_FALSE(client.Close());
        // The descriptor number goes to someone else...
        int other = pnet::socketCreate();
        ASSERT_EQ(other, stale);
        // ...and the client's destruction leaves it alone.
    }
    EXPECT_TRUE(isOpen(stale));
    pnet::socketClose(stale);
}

TEST_F(SocketClient, FailedConnectionsShowTheirMessages) {
    WinSocketClient refused;
    ASSERT_TRUE(refused.Create());
    EXPECT_FALSE(refused.Connect("127.0.0.1", bramble::test::unusedLoopbackPort()));
    WinSocketClient invalid;
    ASSERT_TRUE(invalid.Create());
    EXPECT_FALSE(invalid.Connect("255.255.255.255", 80));
    EXPECT_FALSE(invalid.Connect(nullptr, 80));
    WinSocketClient badPort;
    ASSERT_TRUE(badPort.Create());
    EXPECT_FALSE(badPort.Connect("127.0.0.1", 70000));
    WinSocketClient never;  // no socket made
    EXPECT_FALSE(never.Connect("127.0.0.1", bramble::test::unusedLoopbackPort()));
    WinSocketClient quiet;
    quiet.setMessagesEnabled(false);
    ASSERT_TRUE(quiet.Create());
    EXPECT_FALSE(quiet.Connect("255.255.255.255", 80));

    const std::vector<Box> expected = {
        {u"Unable to connect: 274D / 10061", u"WinSocketClient::Connect"},
        {u"", u"WinSocketClient::Connect-> Invalid address"},
        {u"", u"WinSocketClient::Connect-> Invalid address"},
        {u"Unable to connect: 2741 / 10049", u"WinSocketClient::Connect"},
        {u"Unable to connect: 2736 / 10038", u"WinSocketClient::Connect"},
    };
    EXPECT_EQ(boxes(), expected);
}

TEST_F(SocketClient, ConnectsByAddressOrNameWithoutMessages) {
    LoopbackServer peer([](int) {});
    WinSocketClient byAddress;
    connectTo(byAddress, peer.port());
    WinSocketClient byName;
    ASSERT_TRUE(byName.Create());
    EXPECT_TRUE(byName.Connect("localhost", peer.port()));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SocketClient, ServesAsWellAsConnects) {
    WinSocketClient server;
    ASSERT_TRUE(server.Create());
    ASSERT_TRUE(server.Bind(0));
    ASSERT_TRUE(server.Listen(2));
    EXPECT_FALSE(server.Bind(-1));
    uint16_t port = pnet::socketLocalPort(server.handle());
    ASSERT_NE(port, 0);

    std::thread caller([port] {
        WinSocketClient client;
        ASSERT_TRUE(client.Create());
        ASSERT_TRUE(client.Connect("127.0.0.1", port));
        client.SendString("knock");
    });
    WinSocketClient accepted;
    ASSERT_TRUE(accepted.Create());  // a socket of its own, replaced by the accepted one
    int own = accepted.handle();
    ASSERT_TRUE(server.Accept(&accepted));
    EXPECT_NE(accepted.handle(), own);
    char word[6] = {};
    EXPECT_EQ(accepted.Receive(word, 5, 0), 5);
    EXPECT_STREQ(word, "knock");
    caller.join();
    EXPECT_FALSE(server.Accept(nullptr));
}

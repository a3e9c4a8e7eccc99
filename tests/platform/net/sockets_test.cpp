// Socket calls of the platform layer: WinSock error numbers, address reading,
// and a loopback exchange including a peer that goes away mid-conversation.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "platform/net/sockets.h"
#include "tests/net/support/loopback_server.h"

namespace pnet = bramble::platform::net;

TEST(PlatformSockets, ErrnoMapsToWinSockNumbers) {
    const std::pair<int, int> table[] = {
        {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},  {EHOSTUNREACH, 10065}, {ENETUNREACH, 10051},
        {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049}, {ECONNRESET, 10054}, {ECONNABORTED, 10053},
        {ENOTCONN, 10057},     {EPIPE, 10058},      {EBADF, 10038},        {ENOTSOCK, 10038},
        {EINVAL, 10022},       {EACCES, 10013},     {EAGAIN, 10035},       {EINPROGRESS, 10036},
        {EMFILE, 10024},       {ENOBUFS, 10055},    {EINTR, 10004},        {ENOENT, 10107},
    };
    for (auto [e, wsa] : table) EXPECT_EQ(pnet::winsockErrorFromErrno(e), wsa) << std::strerror(e);
}

TEST(PlatformSockets, ReadsAddressesAndNames) {
    EXPECT_EQ(pnet::parseDottedAddress("127.0.0.1"), inet_addr("127.0.0.1"));
    EXPECT_EQ(pnet::parseDottedAddress("10.0.0.1"), inet_addr("10.0.0.1"));
    EXPECT_EQ(pnet::parseDottedAddress("255.255.255.255"), std::nullopt);
    EXPECT_EQ(pnet::parseDottedAddress("no.such"), std::nullopt);
    EXPECT_EQ(pnet::parseDottedAddress(""), std::nullopt);
    EXPECT_EQ(pnet::parseDottedAddress(nullptr), std::nullopt);

    EXPECT_EQ(pnet::lookupHostName("localhost"), inet_addr("127.0.0.1"));
    // Numeric texts are addresses, not names.
    EXPECT_EQ(pnet::lookupHostName("127.0.0.1"), std::nullopt);
    EXPECT_EQ(pnet::lastSocketError(), pnet::wsa::kHOST_NOT_FOUND);
    EXPECT_EQ(pnet::lookupHostName("255.255.255.255"), std::nullopt);
    EXPECT_EQ(pnet::lookupHostName(nullptr), std::nullopt);
}

TEST(PlatformSockets, RefusedConnectionAnswersWinSockRefused) {
    pnet::SocketHandle s = pnet::socketCreate();
    ASSERT_NE(s, pnet::kInvalidSocket);
    EXPECT_FALSE(pnet::socketConnect(s, inet_addr("127.0.0.1"), bramble::test::unusedLoopbackPort()));
    EXPECT_EQ(pnet::lastSocketError(), pnet::wsa::kECONNREFUSED);
    EXPECT_TRUE(pnet::socketClose(s));
    EXPECT_FALSE(pnet::socketClose(s));
    EXPECT_EQ(pnet::lastSocketError(), pnet::wsa::kENOTSOCK);
}

TEST(PlatformSockets, ServesAndTalksOverLoopback) {
    pnet::SocketHandle listener = pnet::socketCreate();
    ASSERT_TRUE(pnet::socketBind(listener, 0));
    ASSERT_TRUE(pnet::socketListen(listener, 4));
    uint16_t port = pnet::socketLocalPort(listener);
    ASSERT_NE(port, 0);

    std::thread peer([port] {
        pnet::SocketHandle c = pnet::socketCreate();
        ASSERT_TRUE(pnet::socketConnect(c, inet_addr("127.0.0.1"), port));
        EXPECT_EQ(pnet::socketSend(c, "ping", 4, 0), 4);
        char answer[8] = {};
        EXPECT_EQ(pnet::socketReceive(c, answer, sizeof answer, 0), 4);
        EXPECT_STREQ(answer, "pong");
        pnet::socketClose(c);
    });
    pnet::SocketHandle server = pnet::socketAccept(listener);
    ASSERT_NE(server, pnet::kInvalidSocket);
    char got[8] = {};
    EXPECT_EQ(pnet::socketReceive(server, got, 2, pnet::kMsgPeek), 2);  // peeking leaves the bytes
    EXPECT_EQ(pnet::socketReceive(server, got, 4, 0), 4);
    EXPECT_STREQ(got, "ping");
    EXPECT_EQ(pnet::socketSend(server, "pong", 4, 0), 4);
    EXPECT_EQ(pnet::socketReceive(server, got, sizeof got, 0), 0);  // peer closed
    peer.join();

    EXPECT_FALSE(pnet::socketShutdown(server, 7));
    EXPECT_EQ(pnet::lastSocketError(), pnet::wsa::kEINVAL);
    pnet::socketClose(server);
    pnet::socketClose(listener);
}

TEST(PlatformSockets, SendingToAVanishedPeerFailsWithoutSignal) {
    bramble::test::LoopbackServer server([](int) {});  // accepts and closes at once
    pnet::SocketHandle s = pnet::socketCreate();
    ASSERT_TRUE(pnet::socketConnect(s, inet_addr("127.0.0.1"), server.port()));
    char byte;
    EXPECT_EQ(pnet::socketReceive(s, &byte, 1, 0), 0);  // the peer's close
    std::string block(64 * 1024, 'x');
    long result = 0;
    for (int i = 0; i < 50 && result >= 0; ++i) result = pnet::socketSend(s, block.data(), block.size(), 0);
    EXPECT_EQ(result, -1);  // and the process is still here: no SIGPIPE
    int error = pnet::lastSocketError();
    EXPECT_TRUE(error == pnet::wsa::kESHUTDOWN || error == pnet::wsa::kECONNRESET) << error;
    pnet::socketClose(s);
}

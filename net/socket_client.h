// WinSocketClient: the native TCP client (and server) of a socket connection,
// reporting its failures in error boxes while its message switch is on; and
// SocketInputStream, the buffered reader behind a socket connection's input
// stream.
//
// Invariants: a client owns at most one socket; Close, Accept into a client
// that already has one, and destruction close it exactly once and leave the
// handle invalid, so no later call ever reaches a descriptor that has since
// been given to someone else. The input stream receives only when everything
// it received before has been read, so no received byte is lost.
//
// Blocking calls (Connect, Accept, Send, Receive, ReceiveLine,
// SocketInputStream::fill) touch only memory the caller hands in or the
// stream owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/net/sockets.h"

namespace bramble::net {

class WinSocketClient {
public:
    WinSocketClient() = default;
    ~WinSocketClient();
    WinSocketClient(const WinSocketClient&) = delete;
    WinSocketClient& operator=(const WinSocketClient&) = delete;

    // A new TCP socket (an earlier one is closed first).
    bool Create();
    // Blocking. Host name, else dotted address; port 1..65535.
    bool Connect(const char* host, int32_t port);
    // Any local address; port 0..65535.
    bool Bind(int32_t port);
    // Blocking. The accepted socket goes into `client`.
    bool Accept(WinSocketClient* client);
    bool Listen(int32_t backlog);
    // Blocking. Sends all `length` bytes: answers length, or -1.
    int32_t Send(const void* buffer, int32_t length, int32_t flags);
    int32_t SendString(const char* text);
    // Blocking. Bytes received, 0 when the peer has closed, -1 on failure.
    int32_t Receive(void* buffer, int32_t length, int32_t flags);
    // Blocking. Reads one byte at a time up to '\n' or `max` stored characters;
    // '\r' and '\n' are not stored; `buffer` holds max + 1 bytes and is always
    // terminated. Answers the count stored, 1 for an empty line, or the 0 / -1
    // of a receive that ended it early. With `echo` each byte is sent back.
    int32_t ReceiveLine(char* buffer, int32_t max, bool echo);
    bool Shutdown(int32_t how);
    bool Close();

    void setMessagesEnabled(bool on) { m_messages = on; }
    platform::net::SocketHandle handle() const { return m_socket; }

private:
    void message(std::u16string_view text, std::u16string_view caption) const;

    platform::net::SocketHandle m_socket = platform::net::kInvalidSocket;
    bool m_messages = true;
};

// What a socket input stream reads from: a buffer that is refilled by one
// receive of up to kBufferSize bytes whenever it has been read to its end.
class SocketInputStream {
public:
    static constexpr size_t kBufferSize = 1 << 20;
    static constexpr int32_t kEndOfStream = -1;
    static constexpr int32_t kReadFailed = -2;

    explicit SocketInputStream(WinSocketClient& client) : m_client(&client) {}

    // Nothing received is left unread.
    bool bufferUsedUp() const { return m_position >= m_count; }
    int32_t available() const { return static_cast<int32_t>(m_count - m_position); }

    // Blocking. One receive into the used-up buffer: the bytes received,
    // 0 at the end of the stream, kReadFailed on a receive error. Does nothing
    // (answers available()) while bytes are left.
    int32_t fill();

    // Without blocking: copies up to `length` buffered bytes; answers the count.
    int32_t take(uint8_t* buffer, int32_t length);

    // One byte 0..255, kEndOfStream or kReadFailed; fills when used up.
    int32_t read();
    // Up to `length` bytes: what is buffered, else what one fill brings.
    // Answers the count, kEndOfStream, kReadFailed, or 0 for length <= 0.
    int32_t read(uint8_t* buffer, int32_t length);

private:
    WinSocketClient* m_client;
    std::vector<uint8_t> m_buffer;
    size_t m_position = 0;
    size_t m_count = 0;
};

}  // namespace bramble::net

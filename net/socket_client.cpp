// WinSocketClient and the socket input buffer over the platform's sockets.
#include "net/socket_client.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/hooks.h"

namespace bramble::net {

namespace pnet = platform::net;

namespace {

std::u16string widen(const char* text) {
    std::u16string out;
    for (; *text; ++text) out.push_back(static_cast<unsigned char>(*text));
    return out;
}

}  // namespace

WinSocketClient::~WinSocketClient() { Close(); }

void WinSocketClient::message(std::u16string_view text, std::u16string_view caption) const {
    if (m_messages) showErrorBox(text, caption);
}

bool WinSocketClient::Create() {
    Close();
    m_socket = pnet::socketCreate();
    if (m_socket == pnet::kInvalidSocket) {
        message(u"", u"WinSocketClient::Create Failed");
        return false;
    }
    return true;
}

bool WinSocketClient::Connect(const char* host, int32_t port) {
    std::optional<uint32_t> address = host ? pnet::lookupHostName(host) : std::nullopt;
    if (!address && host) address = pnet::parseDottedAddress(host);
    if (!address) {
        message(u"", u"WinSocketClient::Connect-> Invalid address");
        return false;
    }
    int error = 0;
    if (port < 1 || port > 65535) {
        error = pnet::wsa::kEADDRNOTAVAIL;
    } else if (!pnet::socketConnect(m_socket, *address, static_cast<uint16_t>(port))) {
        error = pnet::lastSocketError();
    }
    if (error == 0) return true;
    char text[64];
    std::snprintf(text, sizeof text, "Unable to connect: %X / %d", static_cast<unsigned>(error), error);
    message(widen(text), u"WinSocketClient::Connect");
    return false;
}

bool WinSocketClient::Bind(int32_t port) {
    if (port < 0 || port > 65535) return false;
    return pnet::socketBind(m_socket, static_cast<uint16_t>(port));
}

bool WinSocketClient::Accept(WinSocketClient* client) {
    if (!client) return false;
    pnet::SocketHandle accepted = pnet::socketAccept(m_socket);
    if (accepted == pnet::kInvalidSocket) return false;
    client->Close();
    client->m_socket = accepted;
    return true;
}

bool WinSocketClient::Listen(int32_t backlog) { return pnet::socketListen(m_socket, backlog); }

int32_t WinSocketClient::Send(const void* buffer, int32_t length, int32_t flags) {
    if (length < 0 || (length > 0 && !buffer)) return -1;
    return static_cast<int32_t>(pnet::socketSend(m_socket, buffer, static_cast<size_t>(length), flags));
}

int32_t WinSocketClient::SendString(const char* text) {
    if (!text) return -1;
    size_t length = std::strlen(text);
    return Send(text, static_cast<int32_t>(std::min<size_t>(length, INT32_MAX)), 0);
}

int32_t WinSocketClient::Receive(void* buffer, int32_t length, int32_t flags) {
    if (length < 0 || (length > 0 && !buffer)) return -1;
    return static_cast<int32_t>(pnet::socketReceive(m_socket, buffer, static_cast<size_t>(length), flags));
}

int32_t WinSocketClient::ReceiveLine(char* buffer, int32_t max, bool echo) {
    if (!buffer || max < 0) return -1;
    int32_t stored = 0;
    while (stored < max) {
        char byte = 0;
        int32_t received = Receive(&byte, 1, 0);
        if (received <= 0) {
            buffer[stored] = '\0';
            return received;
        }
        if (echo) Send(&byte, 1, 0);
        if (byte == '\n') break;
        if (byte != '\r') buffer[stored++] = byte;
    }
    buffer[stored] = '\0';
    return stored > 0 ? stored : 1;
}

bool WinSocketClient::Shutdown(int32_t how) { return pnet::socketShutdown(m_socket, how); }

bool WinSocketClient::Close() {
    if (m_socket == pnet::kInvalidSocket) return false;
    pnet::SocketHandle socket = m_socket;
    m_socket = pnet::kInvalidSocket;
    return pnet::socketClose(socket);
}

// --- input stream ---------------------------------------------------------

int32_t SocketInputStream::fill() {
    if (!bufferUsedUp()) return available();
    if (m_buffer.empty()) m_buffer.resize(kBufferSize);
    m_position = m_count = 0;
    int32_t received = m_client->Receive(m_buffer.data(), static_cast<int32_t>(m_buffer.size()), 0);
    if (received < 0) return kReadFailed;
    m_count = static_cast<size_t>(received);
    return received;
}

int32_t SocketInputStream::take(uint8_t* buffer, int32_t length) {
    if (!buffer || length <= 0) return 0;
    size_t n = std::min(static_cast<size_t>(length), m_count - m_position);
    if (n == 0) return 0;
    std::memcpy(buffer, m_buffer.data() + m_position, n);
    m_position += n;
    return static_cast<int32_t>(n);
}

int32_t SocketInputStream::read() {
    if (bufferUsedUp()) {
        int32_t received = fill();
        if (received == kReadFailed) return kReadFailed;
        if (received == 0) return kEndOfStream;
    }
    return m_buffer[m_position++];
}

int32_t SocketInputStream::read(uint8_t* buffer, int32_t length) {
    if (length <= 0) return 0;
    if (bufferUsedUp()) {
        int32_t received = fill();
        if (received == kReadFailed) return kReadFailed;
        if (received == 0) return kEndOfStream;
    }
    return take(buffer, length);
}

}  // namespace bramble::net

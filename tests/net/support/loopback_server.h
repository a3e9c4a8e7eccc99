// Test peers on the loopback interface: a TCP server on 127.0.0.1 with a port
// of its own, serving connections one after the other on its own thread, and
// an HTTP flavour of it that records each request's bytes before handing the
// connection to the test's responder. Header-only; used by the network tests.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace bramble::test {

inline bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Reads until the end of an HTTP request head ("\r\n\r\n"), the peer's close,
// or 5 seconds of silence.
inline std::string readRequestHead(int fd) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < (1 << 20)) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
    }
    return head;
}

// Reads whatever arrives until the peer closes or 5 seconds pass.
inline std::string readUntilClosed(int fd) {
    std::string data;
    char buffer[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        data.append(buffer, static_cast<size_t>(n));
    }
    return data;
}

// A port on 127.0.0.1 where nobody listens (bound once, then released).
inline uint16_t unusedLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t size = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(fd);
    return ntohs(a.sin_port);
}

class LoopbackServer {
public:
    // handler(fd) serves one connection; the server closes fd afterwards.
    explicit LoopbackServer(std::function<void(int)> handler) : m_handler(std::move(handler)) {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(m_listener, 16) != 0)
            throw std::runtime_error("loopback server: cannot listen");
        socklen_t size = sizeof a;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { run(); });
    }

    ~LoopbackServer() {
        m_stop = true;
        m_thread.join();
        ::close(m_listener);
    }

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t port() const { return m_port; }

private:
    void run() {
        while (!m_stop) {
            pollfd p{m_listener, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            int fd = ::accept(m_listener, nullptr, nullptr);
            if (fd < 0) continue;
            m_handler(fd);
            ::close(fd);
        }
    }

    std::function<void(int)> m_handler;
    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// An HTTP peer: reads each request head, records it, and lets the responder
// answer on the connection (request head and connection number given).
class HttpTestServer {
public:
    using Responder = std::function<void(int fd, const std::string& request, size_t index)>;

    explicit HttpTestServer(Responder responder)
        : m_responder(std::move(responder)), m_server([this](int fd) { serve(fd); }) {}

    uint16_t port() const { return m_server.port(); }

    std::vector<std::string> requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    // The request line of a recorded request head.
    static std::string requestLine(const std::string& head) { return head.substr(0, head.find("\r\n")); }

private:
    void serve(int fd) {
        std::string head = readRequestHead(fd);
        size_t index;
        {
            std::lock_guard lock(m_mutex);
            index = m_requests.size();
            m_requests.push_back(head);
        }
        m_responder(fd, head, index);
    }

    Responder m_responder;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    LoopbackServer m_server;  // last: its thread starts after the rest exists
};

}  // namespace bramble::test

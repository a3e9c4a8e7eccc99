// Internet calls of the HTTP client, over libcurl: a session that carries the
// agent name, a connection to one host and port, and GET requests on it. A
// request sends exactly the request line and header lines it is given (curl's
// own Accept, Expect and friends are suppressed), follows redirects itself and
// keeps the header block of the final response, then hands out the body in
// chunks as it arrives, never holding more than a bounded amount in memory.
// The data-connection calls of the phone are granted at once: the machine's own
// network is always there.
//
// Blocking calls are single calls that touch only memory owned by this layer
// (HttpRequest::send, HttpRequest::queryDataAvailable), so a caller can wrap
// each one as it needs. Objects are not shared between threads. A failing call
// leaves its error number in lastInternetError() of the calling thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace bramble::platform::net {

// Error numbers of the internet calls (the values the phone's internet
// library uses, so logs read the same).
namespace internet_error {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kInvalidParameter = 87;
inline constexpr uint32_t kTimeout = 12002;
inline constexpr uint32_t kInternalError = 12004;
inline constexpr uint32_t kInvalidUrl = 12005;
inline constexpr uint32_t kNameNotResolved = 12007;
inline constexpr uint32_t kIncorrectHandleState = 12019;
inline constexpr uint32_t kCannotConnect = 12029;
inline constexpr uint32_t kConnectionAborted = 12030;
inline constexpr uint32_t kConnectionReset = 12031;
inline constexpr uint32_t kInvalidServerResponse = 12152;
inline constexpr uint32_t kRedirectFailed = 12156;
}  // namespace internet_error

// Error number of the last failing internet call on this thread.
uint32_t lastInternetError();

// A granted data connection (the phone's connection manager). Releasing it
// (destruction) does nothing here.
class DataConnection {
public:
    // Asks for a connection to the internet; waits at most `timeout`. Always
    // granted at once on this platform.
    static std::unique_ptr<DataConnection> establish(std::chrono::milliseconds timeout);
    ~DataConnection();

private:
    DataConnection() = default;
};

// The internet session: holds the agent name sent as "User-Agent".
class InternetSession {
public:
    static std::unique_ptr<InternetSession> open(std::u16string_view agent);
    ~InternetSession();
    const std::string& agent() const { return m_agent; }

private:
    explicit InternetSession(std::string agent) : m_agent(std::move(agent)) {}
    std::string m_agent;
};

// A connection to one server. Nothing goes over the network until a request
// on it is sent.
class InternetConnection {
public:
    static std::unique_ptr<InternetConnection> connect(const InternetSession& session,
                                                       std::u16string_view host, uint16_t port);
    ~InternetConnection();
    const std::string& agent() const { return m_agent; }
    const std::string& host() const { return m_host; }
    uint16_t port() const { return m_port; }

private:
    InternetConnection(std::string agent, std::string host, uint16_t port)
        : m_agent(std::move(agent)), m_host(std::move(host)), m_port(port) {}
    std::string m_agent;
    std::string m_host;
    uint16_t m_port;
};

struct HttpRequestOptions {
    bool pragmaNoCache = false;  // send "Pragma: no-cache"
};

// One request. The request sent is, byte for byte:
//   GET <object name> HTTP/1.0        (an object name not starting with '/'
//                                      gets one; bytes outside printable ASCII
//                                      are %-escaped, UTF-8 for non-ASCII)
//   Host: <host>[:<port> unless 80]
//   User-Agent: <agent>
//   Accept: <accept type>              only when one is given
//   Pragma: no-cache                   only with pragmaNoCache
//   <the caller's header lines, in their order>
//   <empty line>
// A caller's line whose name is one of Host, User-Agent, Accept or Pragma
// replaces the line above. Redirects (301, 302, 303, 307, 308 with a
// Location) are followed with the same lines, up to 10 of them, to http
// URLs only.
class HttpRequest {
public:
    // verb must be "GET" and version "HTTP/1.0" or "HTTP/1.1"; anything else
    // fails with kInvalidParameter. Sends nothing yet.
    static std::unique_ptr<HttpRequest> open(const InternetConnection& connection,
                                             std::u16string_view verb,
                                             std::u16string_view objectName,
                                             std::u16string_view version,
                                             const std::optional<std::u16string>& acceptType,
                                             HttpRequestOptions options);
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // Blocking. Sends the request with the extra header block (lines ending
    // in CR LF; characters above 0xFF go out as '?') and waits until the
    // final response's header block is in. A request is sent once.
    bool send(std::u16string_view headers);

    // The final response's header block as the server sent it: status line
    // and header lines, each ending in CR LF, then the empty line. Bytes are
    // widened one to one.
    const std::u16string& rawHeaders() const;

    // Blocking. Waits until body bytes are at hand or the body has ended;
    // `bytes` is the count at hand, 0 at the end. A connection closed before
    // the body's announced length ends the body early (see endedEarly()).
    bool queryDataAvailable(size_t& bytes);

    // Copies up to `length` bytes at hand; answers the count (0 when none).
    size_t read(void* buffer, size_t length);

    // The server closed the connection before the length it announced.
    bool endedEarly() const;

    struct Transfer;

private:
    explicit HttpRequest(std::unique_ptr<Transfer> transfer);
    std::unique_ptr<Transfer> m_transfer;
};

}  // namespace bramble::platform::net

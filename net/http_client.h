// WinInetHttpClient: the native HTTP/1.0 client of an HTTP connection. It
// connects (host name only; the port is always 80), sends one GET with its
// request headers, and reads the whole response (status line, headers, body)
// into memory, where the getters answer from.
//
// Invariants kept against a hostile server or caller:
// - the request header block is at most kMaxRequestHeaderBlock characters;
//   lines that do not fit are dropped whole, lines carrying CR or LF never go;
// - a getter that copies into the caller's buffer always terminates the text
//   and fails when text and terminator do not fit, instead of cutting it;
// - the announced Content-Length is read without overflow; a value that is
//   not a plain decimal, or above kMaxContentLength, fails the request; the
//   body holds what actually arrived, never more than announced.
//
// SendByGet is the one blocking call; it touches only the client's own
// memory. One thread uses a client at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bramble::platform::net {
class DataConnection;
class InternetConnection;
class InternetSession;
class HttpRequest;
}  // namespace bramble::platform::net

namespace bramble::net {

// Told the body bytes read so far and the announced total after each chunk.
class HttpProgressListener {
public:
    virtual ~HttpProgressListener() = default;
    virtual void onProgress(uint32_t bytesRead, uint32_t bytesExpected) = 0;
};

using HeaderMap = std::map<std::u16string, std::u16string>;  // case-sensitive names, in key order

struct ResponseHead {
    bool valid = false;  // the first line has a protocol word and a 1-3 digit status code
    int32_t statusCode = -1;
    std::u16string statusText;
    HeaderMap headers;  // first value of each name wins
};

// Splits a raw header block (lines ending in LF, a CR before it dropped):
// status line words split at blanks, code = second word, text = the rest
// joined by single blanks; every later line with a ':' is a header, its value
// less one leading blank.
ResponseHead parseResponseHeaders(std::u16string_view raw);

inline constexpr size_t kMaxRequestHeaderBlock = 255;

// "name:value" CR LF for each header in key order, within `limit` characters;
// a line that does not fit, or whose name or value holds CR or LF, is left out
// and its name added to `dropped`.
std::u16string buildRequestHeaderBlock(const HeaderMap& headers, size_t limit = kMaxRequestHeaderBlock,
                                       std::vector<std::u16string>* dropped = nullptr);

inline constexpr uint32_t kMaxContentLength = 16u << 20;  // 16 MiB

// A Content-Length value: optional blanks around one or more ASCII digits, at
// most `limit`. Anything else (sign, garbage, too big) answers nothing.
std::optional<uint32_t> parseContentLength(std::u16string_view value, uint32_t limit = kMaxContentLength);

class WinInetHttpClient {
public:
    WinInetHttpClient();
    ~WinInetHttpClient();
    WinInetHttpClient(const WinInetHttpClient&) = delete;
    WinInetHttpClient& operator=(const WinInetHttpClient&) = delete;

    void setListener(HttpProgressListener* listener) { m_listener = listener; }
    void clearListener() { m_listener = nullptr; }

    // Drops any earlier connection, takes the URL's host name and opens the
    // session ("CeHttp") and a connection to that host on port 80. An https
    // URL is logged: it goes out unencrypted.
    bool Connect(std::u16string_view url);
    // Reset, then releases the connection, session and data connection.
    void Close();
    // Clears the error, the request headers and the response.
    void Reset();

    // Blocking. GET path + query; answers the status code, or -1 after a
    // failure (the client is then closed). An "Accept" request header is
    // taken out of the headers and sent as the accept type.
    int32_t SendByGet(std::u16string_view path, std::u16string_view query);
    // Drops the response; answers -1.
    int32_t ClearResponse();

    // Sets (replaces) one request header.
    void AddRequestHeader(std::u16string_view name, std::u16string_view value);

    // Copy getters: copy the text and a terminating 0 into buffer[0..length)
    // and answer true; false when the buffer is null, the text absent, or
    // text and terminator do not fit.
    bool GetRequestHeader(std::u16string_view name, char16_t* buffer, size_t length) const;
    bool GetStatusText(char16_t* buffer, size_t length) const;
    bool GetRawHeaders(char16_t* buffer, size_t length) const;
    bool GetResponseHeader(std::u16string_view name, char16_t* buffer, size_t length) const;
    // Copies the body when `length` holds all of it.
    bool GetContent(uint8_t* buffer, size_t length) const;

    int32_t GetStatusCode() const { return m_statusCode; }
    uint32_t GetContentLength() const { return m_responseContentBufferSize; }

    // The same data without copying.
    const std::u16string* requestHeader(std::u16string_view name) const;
    const std::u16string* responseHeader(std::u16string_view name) const;
    const std::u16string& statusText() const { return m_statusText; }
    const std::u16string& rawHeaders() const { return m_rawHeaders; }
    const std::vector<uint8_t>& content() const { return m_content; }

    bool isConnected() const { return m_connection != nullptr; }
    // Platform error number of the last failure (0 when none).
    uint32_t lastError() const { return m_lastError; }
    // True when the last body ended before its announced length.
    bool contentTruncated() const { return m_contentTruncated; }

private:
    bool OpenConnMgr();
    bool ReadResponseHeader(platform::net::HttpRequest& request);
    bool ParseResponseHeaders();
    bool ReadResponseContent(platform::net::HttpRequest& request);

    HttpProgressListener* m_listener = nullptr;
    std::unique_ptr<platform::net::DataConnection> m_dataConnection;
    std::unique_ptr<platform::net::InternetSession> m_session;
    std::unique_ptr<platform::net::InternetConnection> m_connection;
    std::u16string m_host;
    uint16_t m_port = 80;
    HeaderMap m_requestHeaders;
    HeaderMap m_responseHeaders;
    std::u16string m_rawHeaders;
    uint32_t m_responseContentBufferSize = 0;
    std::vector<uint8_t> m_content;
    std::u16string m_statusText;
    int32_t m_statusCode = -1;
    uint32_t m_lastError = 0;
    bool m_contentTruncated = false;
};

}  // namespace bramble::net

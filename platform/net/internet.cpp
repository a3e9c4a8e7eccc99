// HTTP requests over libcurl's multi interface. Each request owns one easy
// handle per hop (redirects are followed here, not by curl, so that every hop
// carries exactly our lines); the body is pulled as the caller asks for it,
// with at most kMaxBuffered bytes held before the transfer is paused.
#include "platform/net/internet.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/net/testing.h"
#include "platform/net/text_codec.h"

namespace bramble::platform::net {

namespace {

thread_local uint32_t t_lastError = internet_error::kNone;

void fail(uint32_t error) { t_lastError = error; }

std::atomic<uint16_t> g_loopbackPort{0};

bool ensureCurl() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ok;
}

constexpr size_t kMaxHeaderBlock = 64 * 1024;  // one response's status line and headers
constexpr size_t kMaxBuffered = 256 * 1024;    // body bytes held before pausing
constexpr int kMaxRedirects = 10;
constexpr long kConnectTimeoutMs = 30000;
constexpr long kStallSeconds = 60;  // no byte for this long ends the transfer

uint32_t errorFromCurl(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST: return internet_error::kNameNotResolved;
        case CURLE_COULDNT_CONNECT: return internet_error::kCannotConnect;
        case CURLE_OPERATION_TIMEDOUT: return internet_error::kTimeout;
        case CURLE_SEND_ERROR: return internet_error::kConnectionAborted;
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING: return internet_error::kConnectionReset;
        case CURLE_URL_MALFORMAT: return internet_error::kInvalidUrl;
        case CURLE_OUT_OF_MEMORY:
        case CURLE_FAILED_INIT: return internet_error::kInternalError;
        default: return internet_error::kInvalidServerResponse;
    }
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
           });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// Name of a header line ("Name: value"), empty when it has no ':'.
std::string_view headerName(std::string_view line) {
    size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view{} : trim(line.substr(0, colon));
}

// Status code of a header block's status line ("HTTP/1.0 200 OK"), -1 when
// the line is not one.
int statusOfBlock(std::string_view block) {
    if (!block.starts_with("HTTP/")) return -1;
    size_t sp = block.find(' ');
    if (sp == std::string_view::npos || block.size() < sp + 4) return -1;
    int code = 0;
    for (size_t i = sp + 1; i < sp + 4; ++i) {
        if (block[i] < '0' || block[i] > '9') return -1;
        code = code * 10 + (block[i] - '0');
    }
    return code;
}

std::optional<std::string> headerValue(std::string_view block, std::string_view name) {
    size_t pos = block.find('\n');
    while (pos != std::string_view::npos && pos + 1 < block.size()) {
        size_t next = block.find('\n', pos + 1);
        std::string_view line = block.substr(pos + 1, next == std::string_view::npos ? next : next - pos - 1);
        size_t colon = line.find(':');
        if (colon != std::string_view::npos && equalsIgnoreCase(trim(line.substr(0, colon)), name))
            return std::string(trim(line.substr(colon + 1)));
        pos = next;
    }
    return std::nullopt;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Owns a CURLU handle.
struct UrlHandle {
    CURLU* u = curl_url();
    ~UrlHandle() { curl_url_cleanup(u); }
    std::optional<std::string> get(CURLUPart part, unsigned flags = 0) const {
        char* s = nullptr;
        if (!u || curl_url_get(u, part, &s, flags) != CURLUE_OK) return std::nullopt;
        std::string out(s);
        curl_free(s);
        return out;
    }
};

std::optional<std::string> serverUrl(const std::string& host, uint16_t port) {
    UrlHandle url;
    if (!url.u || curl_url_set(url.u, CURLUPART_SCHEME, "http", 0) != CURLUE_OK ||
        curl_url_set(url.u, CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
        curl_url_set(url.u, CURLUPART_PORT, std::to_string(port).c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    return url.get(CURLUPART_URL);
}

}  // namespace

uint32_t lastInternetError() { return t_lastError; }

namespace testing {
void redirectHttpToLoopback(uint16_t port) { g_loopbackPort.store(port); }
}  // namespace testing

// --- data connection -----------------------------------------------------

std::unique_ptr<DataConnection> DataConnection::establish(std::chrono::milliseconds) {
    return std::unique_ptr<DataConnection>(new DataConnection());
}

DataConnection::~DataConnection() = default;

// --- session and connection ------------------------------------------------

std::unique_ptr<InternetSession> InternetSession::open(std::u16string_view agent) {
    if (!ensureCurl()) {
        fail(internet_error::kInternalError);
        return nullptr;
    }
    return std::unique_ptr<InternetSession>(new InternetSession(latin1FromUtf16(agent)));
}

InternetSession::~InternetSession() = default;

std::unique_ptr<InternetConnection> InternetConnection::connect(const InternetSession& session,
                                                                std::u16string_view host, uint16_t port) {
    if (host.empty() || port == 0) {
        fail(internet_error::kInvalidParameter);
        return nullptr;
    }
    return std::unique_ptr<InternetConnection>(
        new InternetConnection(session.agent(), utf8FromUtf16(host), port));
}

InternetConnection::~InternetConnection() = default;

// --- request -------------------------------------------------------------

struct HttpRequest::Transfer {
    // What every hop sends.
    std::string agent;
    std::optional<std::string> accept;
    bool pragmaNoCache = false;
    long httpVersion = CURL_HTTP_VERSION_1_0;
    std::vector<std::string> callerLines;
    // Where the current hop goes.
    std::string host;
    uint16_t port = 80;
    std::string target;

    bool sent = false;
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    curl_slist* connectTo = nullptr;

    std::string block;  // header block of the response being received
    bool headersDone = false;
    bool headerOverflow = false;
    std::string pending;  // body bytes at hand, from pendingPos on
    size_t pendingPos = 0;
    bool paused = false;
    bool done = false;
    CURLcode result = CURLE_OK;
    std::u16string rawHeaders;
    bool endedEarly = false;

    ~Transfer() {
        stopHop();
        if (multi) curl_multi_cleanup(multi);
    }

    size_t buffered() const { return pending.size() - pendingPos; }

    void stopHop() {
        if (easy) {
            curl_multi_remove_handle(multi, easy);
            curl_easy_cleanup(easy);
            easy = nullptr;
        }
        curl_slist_free_all(headerList);
        headerList = nullptr;
        curl_slist_free_all(connectTo);
        connectTo = nullptr;
    }

    bool append(curl_slist*& list, const std::string& line) {
        curl_slist* grown = curl_slist_append(list, line.c_str());
        if (!grown) return false;
        list = grown;
        return true;
    }

    bool callerHas(std::string_view name) const {
        return std::any_of(callerLines.begin(), callerLines.end(),
                           [&](const std::string& line) { return equalsIgnoreCase(headerName(line), name); });
    }

    bool buildHeaderList() {
        std::string hostLine = "Host: " + host;
        if (port != 80) hostLine += ":" + std::to_string(port);
        if (!callerHas("Host") && !append(headerList, hostLine)) return false;
        if (!callerHas("User-Agent") && !append(headerList, "User-Agent: " + agent)) return false;
        if (!callerHas("Accept")) {
            // "Accept:" with nothing after it keeps curl from adding its own.
            if (!append(headerList, accept ? "Accept: " + *accept : std::string("Accept:"))) return false;
        }
        if (pragmaNoCache && !callerHas("Pragma") && !append(headerList, "Pragma: no-cache")) return false;
        for (const std::string& line : callerLines) {
            // curl drops "Name:" with an empty value; "Name;" makes it send "Name:".
            std::string_view value = std::string_view(line).substr(line.find(':') + 1);
            bool empty = trim(value).empty();
            if (!append(headerList, empty ? line.substr(0, line.find(':')) + ";" : line)) return false;
        }
        return true;
    }

    bool startHop() {
        stopHop();
        block.clear();
        headersDone = headerOverflow = paused = done = false;
        result = CURLE_OK;
        pending.clear();
        pendingPos = 0;

        std::optional<std::string> url = serverUrl(host, port);
        if (!url) {
            fail(internet_error::kInvalidUrl);
            return false;
        }
        easy = curl_easy_init();
        if (!easy || !buildHeaderList()) {
            fail(internet_error::kInternalError);
            return false;
        }
        if (uint16_t loopback = g_loopbackPort.load()) {
            if (!append(connectTo, "::127.0.0.1:" + std::to_string(loopback))) {
                fail(internet_error::kInternalError);
                return false;
            }
            curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo);
        }
        curl_easy_setopt(easy, CURLOPT_URL, url->c_str());
        curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, target.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, httpVersion);
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headerList);
        curl_easy_setopt(easy, CURLOPT_PROXY, "");  // never a proxy from the environment
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
        if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
            fail(internet_error::kInternalError);
            return false;
        }
        return true;
    }

    // Runs the transfer until `ready` holds or it is over.
    void pump(const std::function<bool()>& ready) {
        while (!ready() && !done) {
            int running = 0;
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                done = true;
                result = CURLE_OUT_OF_MEMORY;
                break;
            }
            int queued = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
                if (msg->msg == CURLMSG_DONE) {
                    done = true;
                    result = msg->data.result;
                }
            }
            if (ready() || done) break;
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }

    // Next hop from a Location value, relative to the current one.
    bool followLocation(const std::string& location) {
        UrlHandle url;
        std::string base = "http://" + host + ":" + std::to_string(port) + target;
        const unsigned flags = CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE;
        if (!url.u || curl_url_set(url.u, CURLUPART_URL, base.c_str(), flags) != CURLUE_OK ||
            curl_url_set(url.u, CURLUPART_URL, location.c_str(), flags) != CURLUE_OK)
            return false;
        std::optional<std::string> scheme = url.get(CURLUPART_SCHEME);
        std::optional<std::string> newHost = url.get(CURLUPART_HOST);
        std::optional<std::string> newPort = url.get(CURLUPART_PORT, CURLU_DEFAULT_PORT);
        std::optional<std::string> path = url.get(CURLUPART_PATH);
        std::optional<std::string> query = url.get(CURLUPART_QUERY);
        if (!scheme || !equalsIgnoreCase(*scheme, "http") || !newHost || newHost->empty() || !newPort)
            return false;
        long portNumber = std::strtol(newPort->c_str(), nullptr, 10);
        if (portNumber <= 0 || portNumber > 65535) return false;
        host = *newHost;
        port = static_cast<uint16_t>(portNumber);
        target = escapeRequestTargetBytes(path && !path->empty() ? *path : "/");
        if (query) target += "?" + escapeRequestTargetBytes(*query);
        return true;
    }

    static size_t onHeader(char* data, size_t size, size_t count, void* user) {
        auto* t = static_cast<Transfer*>(user);
        size_t length = size * count;
        if (t->headersDone) return length;  // trailers after a chunked body
        std::string_view line(data, length);
        if (line.starts_with("HTTP/")) t->block.clear();  // a new response (after a 1xx)
        if (t->block.size() + length > kMaxHeaderBlock) {
            t->headerOverflow = true;
            return 0;  // aborts the transfer
        }
        t->block.append(line);
        if (line == "\r\n" || line == "\n") {
            int status = statusOfBlock(t->block);
            if (status < 100 || status >= 200) t->headersDone = true;
        }
        return length;
    }

    static size_t onBody(char* data, size_t size, size_t count, void* user) {
        auto* t = static_cast<Transfer*>(user);
        size_t length = size * count;
        if (t->buffered() >= kMaxBuffered) {
            t->paused = true;
            return CURL_WRITEFUNC_PAUSE;  // curl keeps the chunk and offers it again
        }
        if (t->pendingPos > 0 && t->pendingPos >= t->pending.size() / 2) {
            t->pending.erase(0, t->pendingPos);
            t->pendingPos = 0;
        }
        t->pending.append(data, length);
        return length;
    }
};

HttpRequest::HttpRequest(std::unique_ptr<Transfer> transfer) : m_transfer(std::move(transfer)) {}

HttpRequest::~HttpRequest() = default;

std::unique_ptr<HttpRequest> HttpRequest::open(const InternetConnection& connection, std::u16string_view verb,
                                               std::u16string_view objectName, std::u16string_view version,
                                               const std::optional<std::u16string>& acceptType,
                                               HttpRequestOptions options) {
    long httpVersion;
    if (version == u"HTTP/1.0") {
        httpVersion = CURL_HTTP_VERSION_1_0;
    } else if (version == u"HTTP/1.1") {
        httpVersion = CURL_HTTP_VERSION_1_1;
    } else {
        fail(internet_error::kInvalidParameter);
        return nullptr;
    }
    if (verb != u"GET") {
        fail(internet_error::kInvalidParameter);
        return nullptr;
    }
    auto transfer = std::make_unique<Transfer>();
    transfer->multi = curl_multi_init();
    if (!transfer->multi) {
        fail(internet_error::kInternalError);
        return nullptr;
    }
    transfer->agent = connection.agent();
    transfer->host = connection.host();
    transfer->port = connection.port();
    transfer->target = escapeRequestTarget(objectName);
    if (transfer->target.empty() || transfer->target.front() != '/') transfer->target.insert(0, "/");
    if (acceptType) transfer->accept = latin1FromUtf16(*acceptType);
    transfer->pragmaNoCache = options.pragmaNoCache;
    transfer->httpVersion = httpVersion;
    return std::unique_ptr<HttpRequest>(new HttpRequest(std::move(transfer)));
}

bool HttpRequest::send(std::u16string_view headers) {
    Transfer& t = *m_transfer;
    if (t.sent) {
        fail(internet_error::kIncorrectHandleState);
        return false;
    }
    t.sent = true;
    std::string block = latin1FromUtf16(headers);
    for (size_t pos = 0; pos < block.size();) {
        size_t end = block.find('\n', pos);
        if (end == std::string::npos) end = block.size();
        std::string line(trim(std::string_view(block).substr(pos, end - pos)));
        if (!headerName(line).empty()) t.callerLines.push_back(std::move(line));
        pos = end + 1;
    }

    for (int redirects = 0;; ++redirects) {
        if (!t.startHop()) return false;
        t.pump([&] { return t.headersDone; });
        if (!t.headersDone) {
            // curl answers a header line beyond its own limit as out of memory.
            bool oversized = t.headerOverflow || t.result == CURLE_OUT_OF_MEMORY;
            fail(oversized || t.result == CURLE_OK ? internet_error::kInvalidServerResponse
                                                   : errorFromCurl(t.result));
            t.stopHop();
            return false;
        }
        std::optional<std::string> location = headerValue(t.block, "Location");
        if (isRedirect(statusOfBlock(t.block)) && location && !location->empty()) {
            if (redirects == kMaxRedirects || !t.followLocation(*location)) {
                fail(internet_error::kRedirectFailed);
                t.stopHop();
                return false;
            }
            continue;
        }
        t.rawHeaders = utf16FromLatin1(t.block);
        return true;
    }
}

const std::u16string& HttpRequest::rawHeaders() const { return m_transfer->rawHeaders; }

bool HttpRequest::queryDataAvailable(size_t& bytes) {
    Transfer& t = *m_transfer;
    bytes = 0;
    if (!t.sent || !t.easy || !t.headersDone) {
        fail(internet_error::kIncorrectHandleState);
        return false;
    }
    if (t.buffered() == 0 && t.paused) {
        t.paused = false;
        curl_easy_pause(t.easy, CURLPAUSE_CONT);
    }
    t.pump([&] { return t.buffered() > 0; });
    bytes = t.buffered();
    if (bytes > 0 || t.result == CURLE_OK) return true;
    if (t.result == CURLE_PARTIAL_FILE) {
        t.endedEarly = true;
        return true;
    }
    fail(errorFromCurl(t.result));
    return false;
}

size_t HttpRequest::read(void* buffer, size_t length) {
    Transfer& t = *m_transfer;
    size_t n = std::min(length, t.buffered());
    if (n == 0 || !buffer) return 0;
    std::memcpy(buffer, t.pending.data() + t.pendingPos, n);
    t.pendingPos += n;
    return n;
}

bool HttpRequest::endedEarly() const { return m_transfer->endedEarly; }

}  // namespace bramble::platform::net

// WinInetHttpClient over the platform's internet calls.
#include "net/http_client.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "net/hooks.h"
#include "net/url.h"
#include "platform/net/internet.h"

namespace bramble::net {

namespace pnet = platform::net;

namespace {

constexpr char16_t kAgent[] = u"CeHttp";
constexpr std::chrono::milliseconds kConnectionWait{10000};
constexpr size_t kReadChunk = 64 * 1024;

bool holdsLineBreak(std::u16string_view text) { return text.find_first_of(u"\r\n") != std::u16string_view::npos; }

bool copyText(const std::u16string* text, char16_t* buffer, size_t length) {
    if (!text || !buffer || length == 0 || text->size() + 1 > length) return false;
    std::copy(text->begin(), text->end(), buffer);
    buffer[text->size()] = u'\0';
    return true;
}

template <typename Map>
const std::u16string* find(const Map& map, std::u16string_view name) {
    auto it = map.find(std::u16string(name));
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

// --- response header parsing ----------------------------------------------

ResponseHead parseResponseHeaders(std::u16string_view raw) {
    ResponseHead head;
    bool first = true;
    for (size_t pos = 0; pos <= raw.size();) {
        size_t end = raw.find(u'\n', pos);
        if (end == std::u16string_view::npos) end = raw.size();
        std::u16string_view line = raw.substr(pos, end - pos);
        if (line.ends_with(u'\r')) line.remove_suffix(1);
        pos = end + 1;

        if (first) {
            first = false;
            std::vector<std::u16string_view> words;
            for (size_t w = 0; w < line.size();) {
                size_t next = line.find(u' ', w);
                if (next == std::u16string_view::npos) next = line.size();
                if (next > w) words.push_back(line.substr(w, next - w));
                w = next + 1;
            }
            if (words.size() >= 2 && words[1].size() <= 3 &&
                std::all_of(words[1].begin(), words[1].end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
                head.valid = true;
                head.statusCode = 0;
                for (char16_t c : words[1]) head.statusCode = head.statusCode * 10 + (c - u'0');
                for (size_t i = 2; i < words.size(); ++i) {
                    if (i > 2) head.statusText += u' ';
                    head.statusText += words[i];
                }
            }
            continue;
        }
        size_t colon = line.find(u':');
        if (colon == std::u16string_view::npos) continue;
        std::u16string_view value = line.substr(colon + 1);
        if (value.starts_with(u' ')) value.remove_prefix(1);
        head.headers.emplace(std::u16string(line.substr(0, colon)), std::u16string(value));
    }
    return head;
}

std::u16string buildRequestHeaderBlock(const HeaderMap& headers, size_t limit,
                                       std::vector<std::u16string>* dropped) {
    std::u16string block;
    for (const auto& [name, value] : headers) {
        size_t lineLength = name.size() + 1 + value.size() + 2;
        if (holdsLineBreak(name) || holdsLineBreak(value) || block.size() + lineLength > limit) {
            if (dropped) dropped->push_back(name);
            continue;
        }
        block += name;
        block += u':';
        block += value;
        block += u"\r\n";
    }
    return block;
}

std::optional<uint32_t> parseContentLength(std::u16string_view value, uint32_t limit) {
    while (!value.empty() && (value.front() == u' ' || value.front() == u'\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == u' ' || value.back() == u'\t' || value.back() == u'\r'))
        value.remove_suffix(1);
    if (value.empty()) return std::nullopt;
    uint64_t length = 0;
    for (char16_t c : value) {
        if (c < u'0' || c > u'9') return std::nullopt;
        length = length * 10 + (c - u'0');
        if (length > limit) return std::nullopt;
    }
    return static_cast<uint32_t>(length);
}

// --- client ---------------------------------------------------------------

WinInetHttpClient::WinInetHttpClient() = default;

WinInetHttpClient::~WinInetHttpClient() { Close(); }

bool WinInetHttpClient::Connect(std::u16string_view url) {
    Close();
    std::optional<std::u16string> host = crackUrlHost(url);
    if (!host) {
        m_lastError = pnet::internet_error::kInvalidUrl;
        logf("WinInetHttpClient::Connect: no host name in \"%s\"", toUtf8(url.substr(0, 200)).c_str());
        return false;
    }
    m_host = std::move(*host);
    if (isHttpsUrl(url))
        logf("WinInetHttpClient::Connect: https URL for %s goes out unencrypted on port 80",
             toUtf8(m_host).c_str());
    if (!OpenConnMgr()) return false;
    m_port = 80;
    m_session = pnet::InternetSession::open(kAgent);
    if (!m_session) {
        m_lastError = pnet::lastInternetError();
        logf("WinInetHttpClient::Connect: InternetOpen failed (%u)", m_lastError);
        return false;
    }
    m_connection = pnet::InternetConnection::connect(*m_session, m_host, m_port);
    if (!m_connection) {
        m_lastError = pnet::lastInternetError();
        logf("WinInetHttpClient::Connect: InternetConnect failed (%u)", m_lastError);
        return false;
    }
    return true;
}

bool WinInetHttpClient::OpenConnMgr() {
    if (m_dataConnection) return true;
    m_dataConnection = pnet::DataConnection::establish(kConnectionWait);
    if (!m_dataConnection) {
        m_lastError = pnet::lastInternetError();
        logf("WinInetHttpClient::OpenConnMgr: no data connection (%u)", m_lastError);
        return false;
    }
    return true;
}

void WinInetHttpClient::Close() {
    Reset();
    m_host.clear();
    m_connection.reset();
    m_session.reset();
    m_dataConnection.reset();
}

void WinInetHttpClient::Reset() {
    m_lastError = 0;
    m_requestHeaders.clear();
    ClearResponse();
}

int32_t WinInetHttpClient::ClearResponse() {
    m_responseHeaders.clear();
    m_rawHeaders.clear();
    m_statusText.clear();
    m_statusCode = -1;
    m_content.clear();
    m_content.shrink_to_fit();
    m_responseContentBufferSize = 0;
    m_contentTruncated = false;
    return -1;
}

void WinInetHttpClient::AddRequestHeader(std::u16string_view name, std::u16string_view value) {
    m_requestHeaders.insert_or_assign(std::u16string(name), std::u16string(value));
}

int32_t WinInetHttpClient::SendByGet(std::u16string_view path, std::u16string_view query) {
    ClearResponse();
    if (!m_connection) {
        logLine("WinInetHttpClient::SendByGet: not connected");
        return -1;
    }
    // A failure closes the client; the error number outlives that for the log.
    auto failed = [this](const char* step) {
        uint32_t error = m_lastError;
        logf("WinInetHttpClient::SendByGet: %s failed (%u)", step, error);
        Close();
        m_lastError = error;
        return -1;
    };

    std::optional<std::u16string> accept;
    if (auto it = m_requestHeaders.find(u"Accept"); it != m_requestHeaders.end()) {
        accept = std::move(it->second);
        m_requestHeaders.erase(it);
        if (holdsLineBreak(*accept)) {
            logLine("WinInetHttpClient::SendByGet: accept type with a line break left out");
            accept.reset();
        }
    }
    std::u16string objectName(path);
    objectName += query;

    std::unique_ptr<pnet::HttpRequest> request =
        pnet::HttpRequest::open(*m_connection, u"GET", objectName, u"HTTP/1.0", accept, {.pragmaNoCache = true});
    if (!request) {
        m_lastError = pnet::lastInternetError();
        return failed("HttpOpenRequest");
    }

    std::vector<std::u16string> dropped;
    std::u16string block = buildRequestHeaderBlock(m_requestHeaders, kMaxRequestHeaderBlock, &dropped);
    for (const std::u16string& name : dropped)
        logf("WinInetHttpClient::SendByGet: request header \"%s\" left out", toUtf8(name).c_str());

    if (!request->send(block)) {
        m_lastError = pnet::lastInternetError();
        return failed("HttpSendRequest");
    }
    if (!ReadResponseHeader(*request)) return failed("ReadResponseHeader");
    if (!ParseResponseHeaders()) return failed("ParseResponseHeaders");
    if (!ReadResponseContent(*request)) return failed("ReadResponseContent");
    return m_statusCode;
}

bool WinInetHttpClient::ReadResponseHeader(pnet::HttpRequest& request) {
    m_rawHeaders = request.rawHeaders();
    if (m_rawHeaders.empty()) {
        m_lastError = pnet::internet_error::kInvalidServerResponse;
        return false;
    }
    return true;
}

bool WinInetHttpClient::ParseResponseHeaders() {
    ResponseHead head = parseResponseHeaders(m_rawHeaders);
    if (!head.valid) {
        m_lastError = pnet::internet_error::kInvalidServerResponse;
        return false;
    }
    m_statusCode = head.statusCode;
    m_statusText = std::move(head.statusText);
    m_responseHeaders = std::move(head.headers);
    return true;
}

bool WinInetHttpClient::ReadResponseContent(pnet::HttpRequest& request) {
    m_responseContentBufferSize = 0;
    m_content.clear();
    const std::u16string* announcedText = find(m_responseHeaders, u"Content-Length");
    if (!announcedText) return true;  // no length announced: no body is read
    std::optional<uint32_t> announced = parseContentLength(*announcedText);
    if (!announced) {
        m_lastError = pnet::internet_error::kInvalidServerResponse;
        logf("WinInetHttpClient::ReadResponseContent: Content-Length \"%s\" refused",
             toUtf8(announcedText->substr(0, 40)).c_str());
        return false;
    }
    if (*announced == 0) return true;

    m_content.reserve(std::min<size_t>(*announced, kReadChunk));
    std::vector<uint8_t> chunk(std::min<size_t>(*announced, kReadChunk));
    while (m_content.size() < *announced) {
        size_t available = 0;
        if (!request.queryDataAvailable(available)) {
            m_lastError = pnet::lastInternetError();
            m_content.clear();
            return false;
        }
        if (available == 0) break;
        size_t want = std::min({available, chunk.size(), size_t{*announced} - m_content.size()});
        size_t got = request.read(chunk.data(), want);
        if (got == 0) break;
        m_content.insert(m_content.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(got));
        if (m_listener) m_listener->onProgress(static_cast<uint32_t>(m_content.size()), *announced);
    }
    if (m_content.size() < *announced) {
        m_contentTruncated = true;
        logf("WinInetHttpClient::ReadResponseContent: body ended after %zu of %u announced bytes",
             m_content.size(), *announced);
    }
    m_responseContentBufferSize = static_cast<uint32_t>(m_content.size());
    return true;
}

// --- getters --------------------------------------------------------------

const std::u16string* WinInetHttpClient::requestHeader(std::u16string_view name) const {
    return find(m_requestHeaders, name);
}

const std::u16string* WinInetHttpClient::responseHeader(std::u16string_view name) const {
    return find(m_responseHeaders, name);
}

bool WinInetHttpClient::GetRequestHeader(std::u16string_view name, char16_t* buffer, size_t length) const {
    return copyText(requestHeader(name), buffer, length);
}

bool WinInetHttpClient::GetStatusText(char16_t* buffer, size_t length) const {
    return copyText(m_statusCode == -1 ? nullptr : &m_statusText, buffer, length);
}

bool WinInetHttpClient::GetRawHeaders(char16_t* buffer, size_t length) const {
    return copyText(m_rawHeaders.empty() ? nullptr : &m_rawHeaders, buffer, length);
}

bool WinInetHttpClient::GetResponseHeader(std::u16string_view name, char16_t* buffer, size_t length) const {
    return copyText(responseHeader(name), buffer, length);
}

bool WinInetHttpClient::GetContent(uint8_t* buffer, size_t length) const {
    if (length < m_content.size()) return false;
    if (m_content.empty()) return true;
    if (!buffer) return false;
    std::memcpy(buffer, m_content.data(), m_content.size());
    return true;
}

}  // namespace bramble::net

// URL splitting of the connector.
#include "net/url.h"

namespace bramble::net {

ConnectionKind connectionKindOf(std::u16string_view name) {
    if (name.starts_with(u"http")) return ConnectionKind::Http;
    if (name.starts_with(u"socket")) return ConnectionKind::Socket;
    if (name.starts_with(u"sms")) return ConnectionKind::Sms;
    if (name.starts_with(u"file")) return ConnectionKind::File;
    return ConnectionKind::None;
}

std::optional<int32_t> parseDecimalInt(std::u16string_view text) {
    bool negative = !text.empty() && text.front() == u'-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > int64_t{2147483648}) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

UrlParseResult ParseConnectionURL(std::u16string_view url) {
    UrlParseResult result;
    size_t s = url.find(u"://");
    if (s == std::u16string_view::npos) {
        result.status = UrlParseStatus::NoSchemeSeparator;
        return result;
    }
    ConnectionUrl& parts = result.parts;
    size_t start = s + 3;
    size_t p = url.find_first_of(u"/?", start);
    if (p == std::u16string_view::npos) p = url.size();
    size_t hostEnd = p;
    size_t c = url.find(u':', start);
    if (c != std::u16string_view::npos && c < p) {
        hostEnd = c;
        result.portText = url.substr(c + 1, p - c - 1);
        if (std::optional<int32_t> port = parseDecimalInt(result.portText)) {
            parts.port = *port;
        } else {
            result.status = UrlParseStatus::BadPort;
        }
    }
    parts.scheme = url.substr(0, s);
    parts.host = url.substr(start, hostEnd - start);
    if (p < url.size() && url[p] == u'/') {
        size_t q = url.find(u'?', p + 1);
        size_t pathEnd = q == std::u16string_view::npos ? url.size() : q;
        parts.path = url.substr(p, pathEnd - p);
        if (q != std::u16string_view::npos) parts.query = std::u16string(url.substr(q));
    } else if (p < url.size()) {
        parts.query = std::u16string(url.substr(p));
    }
    return result;
}

std::optional<std::u16string> crackUrlHost(std::u16string_view url) {
    size_t s = url.find(u"://");
    if (s == std::u16string_view::npos) return std::nullopt;
    std::u16string_view authority = url.substr(s + 3);
    authority = authority.substr(0, authority.find_first_of(u"/?#"));
    if (size_t at = authority.rfind(u'@'); at != std::u16string_view::npos) authority.remove_prefix(at + 1);
    std::u16string_view host;
    if (authority.starts_with(u'[')) {
        size_t close = authority.find(u']');
        if (close == std::u16string_view::npos) return std::nullopt;
        host = authority.substr(0, close + 1);
    } else {
        host = authority.substr(0, authority.find(u':'));
    }
    if (host.empty()) return std::nullopt;
    return std::u16string(host);
}

bool isHttpsUrl(std::u16string_view url) {
    size_t s = url.find(u"://");
    if (s != 5) return false;
    const char16_t* https = u"https";
    for (size_t i = 0; i < 5; ++i) {
        char16_t c = url[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        if (c != https[i]) return false;
    }
    return true;
}

}  // namespace bramble::net

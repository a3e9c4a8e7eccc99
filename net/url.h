// Connection names: which connection a name opens (by its case-sensitive
// prefix) and the parts of a URL as the HTTP and socket connections keep them.
// Pure functions over UTF-16 text; no input makes them fail other than by
// their answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bramble::net {

enum class ConnectionKind { None, Http, Socket, Sms, File };

// "http" (so "https" too), "socket", "sms", "file", tested in that order
// against the start of the name, case-sensitively.
ConnectionKind connectionKindOf(std::u16string_view name);

struct ConnectionUrl {
    std::u16string scheme;
    std::u16string host;
    int32_t port = 0;  // 0 when the URL names none
    std::u16string path;  // from the '/' after the host (included), or empty
    std::optional<std::u16string> query;  // from the '?' (included), or none
    std::optional<std::u16string> reference;  // never set: a '#' stays in the path or query
};

enum class UrlParseStatus {
    Ok,
    NoSchemeSeparator,  // no "://": every part is empty, port 0, no query
    BadPort,            // the port text is not a decimal int: the other parts are set, port 0
};

struct UrlParseResult {
    UrlParseStatus status = UrlParseStatus::Ok;
    ConnectionUrl parts;
    std::u16string portText;  // the text that was read as the port
};

// scheme = text before "://"; the host runs from after it to the first '/' or
// '?' (a ':' before that separates the port); the path runs from that '/' to
// the next '?'; the query from the '?' to the end.
UrlParseResult ParseConnectionURL(std::u16string_view url);

// Integer.parseInt in radix 10: an optional '-', then one or more ASCII
// digits, within the int range.
std::optional<int32_t> parseDecimalInt(std::u16string_view text);

// The host name of a URL as the internet library cracks it: the authority
// after "://" less user information and port (an IPv6 literal keeps its
// brackets); nothing when there is no "://" or no host.
std::optional<std::u16string> crackUrlHost(std::u16string_view url);

// The URL's scheme is "https" (in any case).
bool isHttpsUrl(std::u16string_view url);

}  // namespace bramble::net

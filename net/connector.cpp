// Connector.open's dispatch by scheme prefix and the URL splitting over Java
// Strings.
#include "net/connector.h"

#include "io/connection.h"
#include "net/http_connection.h"
#include "net/message_connection.h"
#include "net/socket_connection.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/string.h"

namespace bramble::net {

namespace {

// The object when its constructor left no new exception pending, else null.
template <typename T>
Object* constructed(T* object, Object* pendingBefore) {
    return Application::pendingException() != pendingBefore ? nullptr : object;
}

}  // namespace

Object* openConnection(String* name, jint mode, jboolean timeouts) {
    MethodScope method("javax_microedition_io_Connector::open");
    if (!name) {
        rt::logNullPointer();
        return nullptr;
    }
    Object* pending = Application::pendingException();
    switch (connectionKindOf(name->toUtf16())) {
    case ConnectionKind::Http:
        return constructed(newObject<HttpConnectionImpl>(name, mode, timeouts), pending);
    case ConnectionKind::Socket:
        return constructed(newObject<SocketConnectionImpl>(name, mode, timeouts), pending);
    case ConnectionKind::Sms:
        return constructed(newObject<javax_wireless_messaging_MessageConnectionImpl>(name), pending);
    case ConnectionKind::File:
        return constructed(javax_microedition_io_file_FileConnectionImpl::open(name, mode, timeouts), pending);
    case ConnectionKind::None:
        break;
    }
    return nullptr;
}

bool parseConnectionUrl(String* url, ConnectionUrl& parts) {
    parts = ConnectionUrl();
    if (!url) {
        rt::logWithStackTrace("ParseConnectionURL");
        return false;
    }
    UrlParseResult result = ParseConnectionURL(url->toUtf16());
    parts = std::move(result.parts);
    switch (result.status) {
    case UrlParseStatus::Ok:
        return true;
    case UrlParseStatus::NoSchemeSeparator:
        rt::logWithStackTrace("ParseConnectionURL");
        return false;
    case UrlParseStatus::BadPort:
        rt::throwNew(cid::java_lang_NumberFormatException, String::fromUtf16(result.portText));
        return false;
    }
    return false;
}

}  // namespace bramble::net

bool ParseConnectionURL(String* url, String** scheme, String** host, jint* port, String** path, String** query,
                        String** reference) {
    bramble::net::ConnectionUrl parts;
    bool ok = bramble::net::parseConnectionUrl(url, parts);
    // Each String goes straight into its out slot, where the caller keeps it.
    if (scheme) *scheme = String::fromUtf16(parts.scheme);
    if (host) *host = String::fromUtf16(parts.host);
    if (port) *port = parts.port;
    if (path) *path = String::fromUtf16(parts.path);
    if (query) *query = parts.query ? String::fromUtf16(*parts.query) : nullptr;
    if (reference) *reference = nullptr;
    return ok;
}

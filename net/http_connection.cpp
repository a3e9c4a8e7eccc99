// HttpConnectionImpl over WinInetHttpClient.
#include "net/http_connection.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "javalib/inputstreams.h"
#include "javalib/outputstreams.h"
#include "net/connector.h"
#include "net/http_client.h"
#include "net/lock.h"
#include "net/wait_animation.h"
#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/string.h"
#include "runtime/threads.h"

namespace bramble::net {

struct HttpConnectionState {
    std::u16string url;
    ConnectionUrl parts;
    std::optional<std::u16string> method;  // none after setRequestMethod(null)
    WinInetHttpClient client;
    std::mutex lock;  // held while the client is used
};

}  // namespace bramble::net

namespace {

using bramble::net::HttpConnectionState;
using bramble::net::lockParked;

constexpr size_t kStatusTextBuffer = 1024;
constexpr size_t kHeaderValueBuffer = 8192;

String* stringOf(const std::u16string& text) { return String::fromUtf16(text); }

bool isGet(const std::optional<std::u16string>& method) {
    if (!method || method->size() != 3) return false;
    static constexpr char16_t kGet[] = u"GET";
    for (size_t i = 0; i < 3; ++i) {
        char16_t c = (*method)[i];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        if (c != kGet[i]) return false;
    }
    return true;
}

// Sends the pending request with the lock held: blocking region, wait
// animation beside it.
void sendRequest(HttpConnectionState& state) {
    std::u16string path = state.parts.path;
    std::u16string query = state.parts.query.value_or(std::u16string());
    bramble::net::WaitAnimation animation;
    animation.start();
    {
        BlockingRegion blocking;
        state.client.SendByGet(path, query);
    }
    animation.stop();
}

// A copy getter's text into a native buffer of `size` characters; null when
// the getter fails.
template <typename Getter>
std::optional<std::u16string> copied(size_t size, Getter getter) {
    std::vector<char16_t> buffer(size);
    if (!getter(buffer.data(), buffer.size())) return std::nullopt;
    return std::u16string(buffer.data());
}

}  // namespace

HttpConnectionImpl::HttpConnectionImpl(String* name, jint mode, jboolean timeouts) : Object(cid::Object) {
    m_mode = mode;
    m_timeouts = timeouts;
    m_state = new HttpConnectionState();
    m_state->method = u"GET";
    if (name) m_state->url = name->toUtf16();
    Object* pending = Application::pendingException();
    bramble::net::parseConnectionUrl(name, m_state->parts);
    if (Application::pendingException() != pending) return;  // a bad port: no connection
    std::u16string url = m_state->url;
    HttpConnectionState* state = m_state;
    BlockingRegion blocking;  // result not looked at: a failed connect shows as status -1
    state->client.Connect(url);
}

void HttpConnectionImpl::finalize() {
    if (m_state) {
        close();
        delete m_state;
        m_state = nullptr;
    }
    Object::finalize();
}

void* HttpConnectionImpl::getInterface(jint interfaceId) {
    switch (interfaceId) {
    case cid::javax_microedition_io_Connection:
        return static_cast<javax_microedition_io_Connection*>(static_cast<javax_microedition_io_InputConnection*>(this));
    case cid::javax_microedition_io_InputConnection:
        return static_cast<javax_microedition_io_InputConnection*>(this);
    case cid::javax_microedition_io_ContentConnection:
        return static_cast<javax_microedition_io_ContentConnection*>(this);
    case cid::javax_microedition_io_HttpConnection:
        return static_cast<javax_microedition_io_HttpConnection*>(this);
    case cid::javax_microedition_io_OutputConnection:
        return static_cast<javax_microedition_io_OutputConnection*>(this);
    default:
        return nullptr;
    }
}

void HttpConnectionImpl::run() {
    if (!m_state) return;
    std::unique_lock lock = lockParked(m_state->lock);
    if (m_requestDone || !isGet(m_state->method)) return;
    sendRequest(*m_state);
    m_requestDone = 1;
}

void HttpConnectionImpl::close() {
    if (!m_state) return;
    std::unique_lock lock = lockParked(m_state->lock);
    m_state->client.Close();
}

java_io_InputStream* HttpConnectionImpl::openInputStream() {
    MethodScope method("HttpConnectionImpl::openInputStream");
    run();
    if (!m_state) return nullptr;
    ByteArray* body;
    {
        std::unique_lock lock = lockParked(m_state->lock);
        bramble::net::WinInetHttpClient& client = m_state->client;
        if (client.GetStatusCode() != 200) {
            lock.unlock();
            rt::throwNewDefault(cid::java_io_IOException);
            return nullptr;
        }
        uint32_t length = client.GetContentLength();
        if (length > static_cast<uint32_t>(INT32_MAX)) {
            lock.unlock();
            rt::throwNewDefault(cid::java_io_IOException);
            return nullptr;
        }
        body = newByteArray(static_cast<jint>(length));
        // Element pointer read after the allocation, used before the next one.
        bool copied = body->length() == static_cast<jint>(length) &&
                      client.GetContent(reinterpret_cast<uint8_t*>(body->data()), length);
        if (!copied) {
            lock.unlock();
            rt::throwNewDefault(cid::java_io_IOException);
            return nullptr;
        }
    }
    return newObject<java_io_ByteArrayInputStream>(body);
}

java_io_DataInputStream* HttpConnectionImpl::openDataInputStream() {
    java_io_InputStream* in = openInputStream();
    return newObject<java_io_DataInputStream>(in);
}

java_io_DataOutputStream* HttpConnectionImpl::openDataOutputStream() {
    return newObject<java_io_DataOutputStream>(openOutputStream());
}

String* HttpConnectionImpl::getType() {
    String* name = String::fromLatin1("content-type");
    return getHeaderField(name);
}

jlong HttpConnectionImpl::getLength() {
    run();
    if (!m_state) return 0;
    std::unique_lock lock = lockParked(m_state->lock);
    return m_state->client.GetContentLength();
}

String* HttpConnectionImpl::getURL() { return m_state ? stringOf(m_state->url) : nullptr; }

String* HttpConnectionImpl::getProtocol() { return String::fromLatin1("http"); }

String* HttpConnectionImpl::getHost() { return m_state ? stringOf(m_state->parts.host) : nullptr; }

String* HttpConnectionImpl::getFile() { return m_state ? stringOf(m_state->parts.path) : nullptr; }

String* HttpConnectionImpl::getQuery() {
    return m_state && m_state->parts.query ? stringOf(*m_state->parts.query) : nullptr;
}

jint HttpConnectionImpl::getPort() { return m_state ? m_state->parts.port : 0; }

String* HttpConnectionImpl::getRequestMethod() {
    return m_state && m_state->method ? stringOf(*m_state->method) : nullptr;
}

void HttpConnectionImpl::setRequestMethod(String* method) {
    if (!m_state) return;
    std::optional<std::u16string> text;
    if (method) text = method->toUtf16();
    std::unique_lock lock = lockParked(m_state->lock);
    m_state->method = std::move(text);
    m_requestDone = 0;
}

void HttpConnectionImpl::setRequestProperty(String* key, String* value) {
    MethodScope method("HttpConnectionImpl::setRequestProperty");
    if (!m_state) return;
    std::optional<std::u16string> name, text;
    if (key && value) {
        name = key->toUtf16();
        text = value->toUtf16();
    } else {
        rt::logNullPointer();
    }
    std::unique_lock lock = lockParked(m_state->lock);
    m_requestDone = 0;
    if (name) m_state->client.AddRequestHeader(*name, *text);
}

jint HttpConnectionImpl::getResponseCode() {
    run();
    if (!m_state) return -1;
    std::unique_lock lock = lockParked(m_state->lock);
    return m_state->client.GetStatusCode();
}

String* HttpConnectionImpl::getResponseMessage() {
    MethodScope method("HttpConnectionImpl::getResponseMessage");
    run();
    std::optional<std::u16string> text;
    if (m_state) {
        std::unique_lock lock = lockParked(m_state->lock);
        const bramble::net::WinInetHttpClient& client = m_state->client;
        text = copied(kStatusTextBuffer, [&](char16_t* b, size_t n) { return client.GetStatusText(b, n); });
    }
    if (!text) {
        rt::throwNewDefault(cid::java_io_IOException);
        return nullptr;
    }
    return stringOf(*text);
}

String* HttpConnectionImpl::getHeaderField(String* name) {
    MethodScope method("HttpConnectionImpl::getHeaderField");
    if (!name) {
        rt::logNullPointer();
        return nullptr;
    }
    std::u16string key = name->toUtf16();
    run();
    std::optional<std::u16string> value;
    if (m_state) {
        std::unique_lock lock = lockParked(m_state->lock);
        const bramble::net::WinInetHttpClient& client = m_state->client;
        value = copied(kHeaderValueBuffer,
                       [&](char16_t* b, size_t n) { return client.GetResponseHeader(key, b, n); });
    }
    if (!value) {
        rt::throwNewDefault(cid::java_io_IOException);
        return nullptr;
    }
    return stringOf(*value);
}

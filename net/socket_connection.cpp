// SocketConnectionImpl, its shared channel and its streams.
#include "net/socket_connection.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "javalib/inputstreams.h"
#include "javalib/io_support.h"
#include "javalib/outputstreams.h"
#include "net/connector.h"
#include "net/socket_client.h"
#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "runtime/threads.h"

namespace bramble::net {

// What a socket connection and its streams share.
class SocketChannel {
public:
    SocketChannel() : m_input(m_client) {}

    WinSocketClient& client() { return m_client; }
    SocketInputStream& input() { return m_input; }
    std::mutex& readLock() { return m_readLock; }
    std::mutex& writeLock() { return m_writeLock; }

    // A call in flight; false once the channel is closed.
    bool begin() {
        std::lock_guard lock(m_mutex);
        if (m_closed) return false;
        ++m_inFlight;
        return true;
    }
    void end() {
        std::lock_guard lock(m_mutex);
        if (--m_inFlight == 0 && m_closed) m_client.Close();
    }
    void close() {
        std::lock_guard lock(m_mutex);
        if (m_closed) return;
        m_closed = true;
        if (m_inFlight > 0)
            m_client.Shutdown(platform::net::kShutdownBoth);  // wakes them; the last one closes
        else
            m_client.Close();
    }

    class Use {
    public:
        explicit Use(SocketChannel* channel) : m_channel(channel && channel->begin() ? channel : nullptr) {}
        ~Use() {
            if (m_channel) m_channel->end();
        }
        explicit operator bool() const { return m_channel != nullptr; }
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        SocketChannel* m_channel;
    };

private:
    WinSocketClient m_client;
    SocketInputStream m_input;
    std::mutex m_readLock;   // one reader of the receive buffer at a time
    std::mutex m_writeLock;  // whole writes never interleave
    std::mutex m_mutex;      // guards the two below; never held across a blocking call
    int m_inFlight = 0;
    bool m_closed = false;
};

using ChannelRef = std::shared_ptr<SocketChannel>;

struct SocketConnectionState {
    std::u16string url;
    ConnectionUrl parts;
    ChannelRef channel;
};

}  // namespace bramble::net

namespace {

using bramble::net::ChannelRef;
using bramble::net::SocketChannel;
using bramble::net::SocketInputStream;

void ioException() { rt::throwNewDefault(cid::java_io_IOException); }

// The input stream: a ByteArrayInputStream whose every operation reads the
// socket through the channel's buffer.
class SocketInputStreamImpl final : public java_io_ByteArrayInputStream {
public:
    explicit SocketInputStreamImpl(ChannelRef channel)
        : java_io_ByteArrayInputStream(newByteArray(0)), m_channel(new ChannelRef(std::move(channel))) {}

    void finalize() override {
        delete m_channel;
        m_channel = nullptr;
        java_io_ByteArrayInputStream::finalize();
    }

    jint read() override {
        MethodScope method("SocketInputStream::read");
        SocketChannel* channel = get();
        SocketChannel::Use use(channel);
        if (!use) return failed();
        int32_t result;
        {
            BlockingRegion blocking;
            std::lock_guard lock(channel->readLock());
            result = channel->input().read();
        }
        if (result == SocketInputStream::kReadFailed) return failed();
        return result;  // 0-255, or -1 at the end
    }

    jint read(ByteArray* b, jint off, jint len) override {
        MethodScope method("SocketInputStream::read");
        if (!javaio::checkRange(b, off, len)) return 0;
        if (len == 0) return 0;
        SocketChannel* channel = get();
        SocketChannel::Use use(channel);
        if (!use) return failed();
        std::unique_lock<std::mutex> lock;
        int32_t filled;
        {
            BlockingRegion blocking;
            lock = std::unique_lock(channel->readLock());
            filled = channel->input().fill();
        }
        if (filled == SocketInputStream::kReadFailed) return failed();
        if (filled == 0) return -1;
        // The element pointer is read now, after the blocking region.
        return channel->input().take(reinterpret_cast<uint8_t*>(b->data()) + off, len);
    }

    using java_io_ByteArrayInputStream::read;

    // What one fill brings, at most n; never more than is at hand or arrives.
    jlong skip(jlong n) override {
        if (n <= 0) return 0;
        SocketChannel* channel = get();
        SocketChannel::Use use(channel);
        if (!use) return failed();
        std::unique_lock<std::mutex> lock;
        int32_t filled;
        {
            BlockingRegion blocking;
            lock = std::unique_lock(channel->readLock());
            filled = channel->input().fill();
        }
        if (filled == SocketInputStream::kReadFailed) return failed();
        jlong skipped = 0;
        uint8_t scratch[4096];
        while (skipped < n) {
            int32_t want = static_cast<int32_t>(std::min<jlong>(n - skipped, sizeof scratch));
            int32_t got = channel->input().take(scratch, want);
            if (got <= 0) break;
            skipped += got;
        }
        return skipped;
    }

    // The bytes received and not yet read; never blocks (0 while another
    // thread is inside a read).
    jint available() override {
        SocketChannel* channel = get();
        if (!channel) return 0;
        std::unique_lock lock(channel->readLock(), std::try_to_lock);
        return lock.owns_lock() ? channel->input().available() : 0;
    }

    void close() override {}
    void mark(jint) override {}
    void reset() override { ioException(); }
    jboolean markSupported() override { return 0; }

private:
    SocketChannel* get() const { return m_channel ? m_channel->get() : nullptr; }
    static jint failed() {
        ioException();
        return 0;
    }

    ChannelRef* m_channel;
};

// The output stream: a ByteArrayOutputStream whose writes go to the socket.
class SocketOutputStreamImpl final : public java_io_ByteArrayOutputStream {
public:
    explicit SocketOutputStreamImpl(ChannelRef channel)
        : java_io_ByteArrayOutputStream(0), m_channel(new ChannelRef(std::move(channel))) {}

    void finalize() override {
        delete m_channel;
        m_channel = nullptr;
        java_io_ByteArrayOutputStream::finalize();
    }

    void close() override {}
    void flush() override {}

    void write(jint b) override {
        uint8_t byte = static_cast<uint8_t>(b);
        send(&byte, 1);
    }

    void write(ByteArray* b, jint off, jint len) override {
        if (!javaio::checkRange(b, off, len)) return;
        if (len == 0) return;
        const auto* from = reinterpret_cast<const uint8_t*>(b->data()) + off;
        std::vector<uint8_t> bytes(from, from + len);
        send(bytes.data(), len);
    }

    void write(ByteArray* b) override {
        if (!b) {
            rt::throwNewDefault(cid::java_lang_NullPointerException);
            return;
        }
        write(b, 0, b->length());
    }

private:
    void send(const uint8_t* bytes, jint length) {
        MethodScope method("SocketOutputStream::write");
        SocketChannel* channel = m_channel ? m_channel->get() : nullptr;
        SocketChannel::Use use(channel);
        if (!use) {
            ioException();
            return;
        }
        int32_t sent;
        {
            BlockingRegion blocking;
            std::lock_guard lock(channel->writeLock());
            sent = channel->client().Send(bytes, length, 0);
        }
        if (sent < 0) ioException();
    }

    ChannelRef* m_channel;
};

}  // namespace

SocketConnectionImpl::SocketConnectionImpl(String* name, jint mode, jboolean timeouts) : Object(cid::Object) {
    m_mode = mode;
    m_timeouts = timeouts;
    m_state = new bramble::net::SocketConnectionState();
    m_state->channel = std::make_shared<SocketChannel>();
    if (name) m_state->url = name->toUtf16();
    Object* pending = Application::pendingException();
    bramble::net::parseConnectionUrl(name, m_state->parts);
    if (Application::pendingException() != pending) return;  // a bad port: no socket

    // The host as 8-bit text, one byte per character.
    std::string host;
    for (char16_t c : m_state->parts.host) host.push_back(static_cast<char>(c & 0xFF));
    int32_t port = m_state->parts.port;
    SocketChannel* channel = m_state->channel.get();
    BlockingRegion blocking;  // name look-up, connect, and an error box when they fail
    if (channel->client().Create()) channel->client().Connect(host.c_str(), port);
}

void SocketConnectionImpl::finalize() {
    if (m_state) {
        close();
        delete m_state;
        m_state = nullptr;
    }
    Object::finalize();
}

void* SocketConnectionImpl::getInterface(jint interfaceId) {
    switch (interfaceId) {
    case cid::javax_microedition_io_Connection:
        return static_cast<javax_microedition_io_Connection*>(static_cast<javax_microedition_io_InputConnection*>(this));
    case cid::javax_microedition_io_InputConnection:
        return static_cast<javax_microedition_io_InputConnection*>(this);
    case cid::javax_microedition_io_SocketConnection:
        return static_cast<javax_microedition_io_SocketConnection*>(this);
    case cid::javax_microedition_io_StreamConnection:
        return static_cast<javax_microedition_io_StreamConnection*>(this);
    case cid::javax_microedition_io_OutputConnection:
        return static_cast<javax_microedition_io_OutputConnection*>(this);
    default:
        return nullptr;
    }
}

void SocketConnectionImpl::close() {
    if (m_state) m_state->channel->close();
}

java_io_InputStream* SocketConnectionImpl::openInputStream() {
    if (!m_state) return nullptr;
    return newObject<SocketInputStreamImpl>(m_state->channel);
}

java_io_DataInputStream* SocketConnectionImpl::openDataInputStream() {
    return newObject<java_io_DataInputStream>(openInputStream());
}

java_io_OutputStream* SocketConnectionImpl::openOutputStream() {
    if (!m_state) return nullptr;
    return newObject<SocketOutputStreamImpl>(m_state->channel);
}

java_io_DataOutputStream* SocketConnectionImpl::openDataOutputStream() {
    return newObject<java_io_DataOutputStream>(openOutputStream());
}

jint SocketConnectionImpl::getPort() { return m_state ? m_state->parts.port : 0; }

// Fixture of the connection-class tests: a fresh application per test with a
// string pool holding the message-type names, the connection natives
// installed (log lines into the runtime log, error boxes through the
// platform's headless message boxes), and capture of both logs.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "javalib/inputstreams.h"
#include "javalib/outputstreams.h"
#include "net/connection_interfaces.h"
#include "net/connector.h"
#include "net/hooks.h"
#include "net/natives.h"
#include "platform/log/log.h"
#include "runtime/runtime.h"
#include "tests/runtime/fixture.h"

namespace bramble::test {

// Lines of the platform log (where headless message boxes are reported).
class PlatformLogCapture {
public:
    PlatformLogCapture() {
        clear();
        m_previous = ::platform::setLogSink(&sink);
    }
    ~PlatformLogCapture() { ::platform::setLogSink(m_previous); }

    static std::vector<std::string> lines() {
        std::lock_guard lock(mutex());
        return store();
    }
    static void clear() {
        std::lock_guard lock(mutex());
        store().clear();
    }
    // The headless message boxes, as "caption|text".
    static std::vector<std::string> boxes() {
        std::vector<std::string> out;
        for (const std::string& line : lines()) {
            static constexpr std::string_view kStart = "message box \"";
            if (line.rfind(kStart, 0) != 0) continue;
            size_t captionEnd = line.find("\": ", kStart.size());
            size_t textEnd = line.rfind(" (answered ");
            if (captionEnd == std::string::npos || textEnd == std::string::npos || textEnd < captionEnd) continue;
            out.push_back(line.substr(kStart.size(), captionEnd - kStart.size()) + "|" +
                          line.substr(captionEnd + 3, textEnd - captionEnd - 3));
        }
        return out;
    }

private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<std::string>& store() {
        static std::vector<std::string> lines;
        return lines;
    }
    static void sink(::platform::LogLevel, const char* message) {
        std::lock_guard lock(mutex());
        store().emplace_back(message);
    }

    ::platform::LogSink m_previous = nullptr;
};

// The pending exception's class id (0 when none), cleared.
inline jint takeException() {
    Object* e = Application::pendingException();
    Application::clearPendingException();
    return e ? e->classId() : 0;
}

inline String* jstr(const char* utf8) { return String::fromUtf8(utf8); }

inline std::string text(String* s) { return s ? s->toUtf8() : std::string("<null>"); }

inline std::string bytesOf(const ByteArray* a, jint count) {
    return a ? std::string(reinterpret_cast<const char*>(a->data()), static_cast<size_t>(count)) : std::string();
}

// Interface views.
template <typename I>
I* view(Object* object, jint id) {
    return interfaceOf<I>(object, id);
}
inline javax_microedition_io_HttpConnection* http(Object* c) {
    return view<javax_microedition_io_HttpConnection>(c, cid::javax_microedition_io_HttpConnection);
}
inline javax_microedition_io_SocketConnection* socketView(Object* c) {
    return view<javax_microedition_io_SocketConnection>(c, cid::javax_microedition_io_SocketConnection);
}
inline javax_microedition_io_OutputConnection* output(Object* c) {
    return view<javax_microedition_io_OutputConnection>(c, cid::javax_microedition_io_OutputConnection);
}

// Reads everything a stream gives until -1 (bulk reads of `chunk` bytes).
inline std::string readAll(java_io_InputStream* in, jint chunk = 64) {
    std::string out;
    ByteArray* buffer = newByteArray(chunk);
    for (;;) {
        jint n = in->read(buffer, 0, chunk);
        if (Application::pendingException() || n < 0) break;
        out += bytesOf(buffer, n);
    }
    return out;
}

class JavaNetTest : public testing::Test {
protected:
    static constexpr jint kTextTypeEntry = 89;

    void SetUp() override {
        Application::Config config;
        config.objectHeapSize = 2 << 20;
        config.dataHeapSize = 8 << 20;
        config.statics = &m_noStatics;
        config.loadConstants = [](StaticClass& statics) {
            const std::vector<std::pair<int, const char*>> texts = {
                {1, ""}, {89, "text"}, {90, "binary"}, {91, "multipart"}};
            ObjectArray* pool = newObjectArray(cid::String, 100);
            statics.m_stringPool = pool;
            for (jint i = 0; i < pool->length(); ++i) {
                String* s = String::empty();
                for (const auto& t : texts)
                    if (t.first == i) s = String::fromUtf8(t.second);
                pool->data()[i] = s;
            }
        };
        Application::init(config);
        bramble::net::installConnectionNatives();
    }

    void TearDown() override {
        Application::clearPendingException();
        if (Application::instance()) Application::instance()->close();
        bramble::net::setLogHook(nullptr);
        bramble::net::setErrorBoxHook(nullptr);
    }

    void collect() { Application::instance()->objects().gc(ObjectManager::kForced); }

    Object* open(const char* name, jint mode = 3) { return bramble::net::openConnection(jstr(name), mode, 0); }

    LogCapture m_log;
    PlatformLogCapture m_platformLog;
    std::vector<const StaticsContribution*> m_noStatics;
};

}  // namespace bramble::test

// Debug log: formatting, thread ids and the one output lock.
#include "runtime/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace rt {
namespace {
std::mutex g_logLock;
LogSink g_sink;
std::atomic<uint32_t> g_nextThreadId{1};
}  // namespace

uint32_t currentThreadId() {
    thread_local uint32_t id = g_nextThreadId.fetch_add(1, std::memory_order_relaxed);
    return id;
}

void setLogSink(LogSink sink) {
    std::lock_guard<std::mutex> lock(g_logLock);
    g_sink = std::move(sink);
}

}  // namespace rt

void logPrintf(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) text[0] = '\0';
    char line[1024 + 16];
    int len = snprintf(line, sizeof line, "<%X> %s\n", rt::currentThreadId(), text);
    if (len < 0) return;
    if (static_cast<size_t>(len) >= sizeof line) len = sizeof line - 1;
    std::lock_guard<std::mutex> lock(rt::g_logLock);
    if (rt::g_sink) {
        rt::g_sink(std::string_view(line, static_cast<size_t>(len)));
    } else {
        fwrite(line, 1, static_cast<size_t>(len), stdout);
        fflush(stdout);
    }
}

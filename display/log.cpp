// Default log sink and the fault logger of the display natives.
#include "display/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <thread>

namespace display {
namespace {

void defaultSink(const char* message) {
    auto id = static_cast<unsigned>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    std::printf("<%X> %s\n", id, message);
    std::fflush(stdout);
}

std::atomic<LogSink> g_sink{&defaultSink};
std::atomic<StackTraceHook> g_trace{nullptr};

}  // namespace

void setLogSink(LogSink sink) { g_sink.store(sink ? sink : &defaultSink); }
void setStackTraceHook(StackTraceHook hook) { g_trace.store(hook); }

void logLine(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    g_sink.load()(buffer);
}

void logFault(const char* message) {
    g_sink.load()(message);
    if (StackTraceHook hook = g_trace.load()) hook();
}

}  // namespace display

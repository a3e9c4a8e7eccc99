// The platform log sink: one atomic function pointer, formatting on the caller's
// stack, never allocates.
#include "platform/log/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace platform {
namespace {

void stderrSink(LogLevel level, const char* message) {
  const char* tag = level == LogLevel::Error ? "error: " : level == LogLevel::Warning ? "warning: " : "";
  std::fprintf(stderr, "platform: %s%s\n", tag, message);
}

std::atomic<LogSink> g_sink{&stderrSink};

}  // namespace

LogSink setLogSink(LogSink sink) {
  return g_sink.exchange(sink ? sink : &stderrSink);
}

void platformLog(LogLevel level, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_sink.load()(level, text);
}

}  // namespace platform

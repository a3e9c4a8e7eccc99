// The runtime's debug log. Every line is "<%X> %s\n": the calling thread's
// runtime thread id in upper-case hexadecimal, then the message. Lines are
// written whole under one lock, so lines of different threads never mix.
// Tests can route lines to a sink of their own.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

// printf-style; the text is cut to 1,023 bytes.
void logPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace rt {

// Small stable id of the calling thread (1 for the first thread that asks,
// then 2, 3, ...). Used in log lines and thread-table diagnostics.
uint32_t currentThreadId();

// Receives each finished line (with its "<id> " prefix and trailing '\n').
// Null restores standard output. Installing a sink is not thread-safe
// against concurrent logging; tests install it before starting threads.
using LogSink = std::function<void(std::string_view line)>;
void setLogSink(LogSink sink);

}  // namespace rt

// The platform layer's log sink: every diagnostic of platform/ goes through
// platformLog. The sink defaults to standard error; the runtime redirects it to
// its own debug log at start-up. Changing the sink is safe from any thread.
#pragma once

namespace platform {

enum class LogLevel { Info, Warning, Error };

// Receives one finished message (no trailing newline). Must be thread-safe.
using LogSink = void (*)(LogLevel level, const char* message);

// Installs a sink; nullptr restores the default (standard error). Returns the
// sink that was installed before.
LogSink setLogSink(LogSink sink);

// printf-style; the text is cut to 1023 bytes.
void platformLog(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace platform

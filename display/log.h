// Log lines of the display natives. Every message goes through logLine, whose
// sink defaults to "<thread id> message" on standard output; the runtime points
// the sink at its own logger and installs the hook that prints the calling
// Java thread's stack trace after an argument fault.
#pragma once

namespace display {

using LogSink = void (*)(const char* message);
using StackTraceHook = void (*)();

// nullptr restores the default sink / no stack trace.
void setLogSink(LogSink sink);
void setStackTraceHook(StackTraceHook hook);

// One log line (printf-style formatting, no trailing newline needed).
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// An argument fault of a drawing or image call: the message, then the stack
// trace of the caller when a hook is installed. The call then returns
// without effect.
void logFault(const char* message);

}  // namespace display

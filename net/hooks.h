// Where the connection classes report to: the debug log and the user's
// message boxes. The program installs its own log and message boxes at start;
// until then lines go to standard output and boxes are logged. Safe to call
// from any thread.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace bramble::net {

using LogHook = std::function<void(std::string_view line)>;
// An error box (no owner, stop icon) with its text and caption.
using ErrorBoxHook = std::function<void(std::u16string_view text, std::u16string_view caption)>;

// An empty hook restores the default.
void setLogHook(LogHook hook);
void setErrorBoxHook(ErrorBoxHook hook);

void logLine(std::string_view line);
// printf-style.
void logf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void showErrorBox(std::u16string_view text, std::u16string_view caption);

// UTF-8 of a UTF-16 text, for log lines.
std::string toUtf8(std::u16string_view text);

}  // namespace bramble::net

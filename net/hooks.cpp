// Log and message-box hooks of the connection classes.
#include "net/hooks.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/net/text_codec.h"

namespace bramble::net {

namespace {

std::mutex g_mutex;
LogHook g_log;
ErrorBoxHook g_errorBox;

}  // namespace

void setLogHook(LogHook hook) {
    std::lock_guard lock(g_mutex);
    g_log = std::move(hook);
}

void setErrorBoxHook(ErrorBoxHook hook) {
    std::lock_guard lock(g_mutex);
    g_errorBox = std::move(hook);
}

void logLine(std::string_view line) {
    LogHook hook;
    {
        std::lock_guard lock(g_mutex);
        hook = g_log;
    }
    if (hook) {
        hook(line);
        return;
    }
    std::string out(line);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

void logf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) + 1 : 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    logLine(std::string_view(buffer.data(), size > 0 ? static_cast<size_t>(size) : 0));
}

void showErrorBox(std::u16string_view text, std::u16string_view caption) {
    ErrorBoxHook hook;
    {
        std::lock_guard lock(g_mutex);
        hook = g_errorBox;
    }
    if (hook) {
        hook(text, caption);
        return;
    }
    logLine("MessageBox [" + toUtf8(caption) + "] " + toUtf8(text));
}

std::string toUtf8(std::u16string_view text) { return platform::net::utf8FromUtf16(text); }

}  // namespace bramble::net

// Text-message outbox: spool files written under a temporary name, flushed to
// disk and renamed into place.
#include "platform/net/sms.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/net/text_codec.h"

namespace bramble::platform::net {

namespace {

// The folder that stands for the phone's file system: BRAMBLE_DEVICE_ROOT, else
// the per-user default. Read here directly until the device path layer
// (platform/fs) offers the root; this one function is then to ask that layer.
std::filesystem::path deviceRootFolder() {
    if (const char* root = std::getenv("BRAMBLE_DEVICE_ROOT"); root && *root) return root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::filesystem::path(data) / "bramble-hollow" / "device";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "bramble-hollow" / "device";
    return {};
}

std::atomic<uint64_t> g_sequence{0};

std::error_code lastErrno() { return {errno, std::generic_category()}; }

// A name no other message of any process has: time, process id, sequence.
std::string uniqueName(std::string_view prefix) {
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                  std::chrono::system_clock::now().time_since_epoch())
                  .count();
    char name[96];
    std::snprintf(name, sizeof name, "%.*s-%020lld-%d-%llu", static_cast<int>(prefix.size()), prefix.data(),
                  static_cast<long long>(ns), static_cast<int>(::getpid()),
                  static_cast<unsigned long long>(g_sequence.fetch_add(1)));
    return name;
}

bool writeAll(int fd, std::string_view data, std::error_code& error) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            error = lastErrno();
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Writes `content` to folder/name so that the name appears only with the whole
// content behind it.
bool writeAtomically(const std::filesystem::path& folder, const std::string& name, std::string_view content,
                     std::error_code& error) {
    std::filesystem::path temporary = folder / ("." + name + ".tmp");
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = lastErrno();
        return false;
    }
    bool ok = writeAll(fd, content, error);
    if (ok && ::fsync(fd) != 0) {
        error = lastErrno();
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = lastErrno();
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), (folder / name).c_str()) != 0) {
        error = lastErrno();
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);  // makes the rename itself durable; best effort
        ::close(dir);
    }
    return true;
}

}  // namespace

std::filesystem::path SmsService::outboxFolder() {
    std::filesystem::path root = deviceRootFolder();
    return root.empty() ? root : root / "sms-outbox";
}

std::unique_ptr<SmsService> SmsService::open(std::error_code& error) {
    error.clear();
    std::filesystem::path folder = outboxFolder();
    if (folder.empty()) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return nullptr;
    }
    std::filesystem::create_directories(folder, error);
    if (error) return nullptr;
    // The folder exists; prove that a file can be made in it.
    std::filesystem::path probe = folder / ("." + uniqueName("probe") + ".tmp");
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = lastErrno();
        return nullptr;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return std::unique_ptr<SmsService>(new SmsService(std::move(folder)));
}

SmsService::~SmsService() = default;

bool SmsService::send(const SmsMessage& message, std::error_code& error) {
    error.clear();
    for (char16_t c : message.address) {
        if (c == u'\r' || c == u'\n') {
            error = std::make_error_code(std::errc::invalid_argument);
            return false;
        }
    }
    std::string text = utf8FromUtf16(message.text);
    std::string content;
    content.reserve(text.size() + message.address.size() + 80);
    content += "address: " + utf8FromUtf16(message.address) + "\n";
    content += "class: " + std::to_string(message.messageClass) + "\n";
    content += "encoding: optimal\n";
    content += "length: " + std::to_string(text.size()) + "\n";
    content += "\n";
    content += text;
    return writeAtomically(m_folder, uniqueName("sms") + ".txt", content, error);
}

}  // namespace bramble::platform::net

// Device paths to host paths and the file operations over them. The root is
// read once (or on reloadDeviceRoot) under a lock; resolution walks the host
// folders component by component and never produces a path outside the root.
#include "platform/fs/fs.h"

#include "platform/log/log.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::fs {
namespace {

std::string printable(std::string_view s) {
  std::string out;
  for (unsigned char c : s.substr(0, 300)) {
    if (c < 0x20 || c == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += char(c);
    }
  }
  return out;
}

bool isValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = s[i];
    size_t extra;
    uint32_t cp;
    if (c < 0x80) { ++i; continue; }
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
    else return false;
    if (i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char d = s[i + k];
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string latin1ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (unsigned char c : s) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

struct RootState {
  std::mutex mutex;
  std::string root;
  bool ready = false;
};

RootState& rootState() {
  static RootState* state = new RootState;
  return *state;
}

std::string absolute(std::string path) {
  if (!path.empty() && path[0] != '/') {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd)) path = std::string(cwd) + "/" + path;
  }
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string rootFromEnvironment() {
  if (const char* r = std::getenv("BRAMBLE_DEVICE_ROOT"); r && *r) return absolute(r);
  std::string data;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && x[0] == '/') {
    data = x;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    data = std::string(home) + "/.local/share";
  } else {
    data = "/tmp";
  }
  return absolute(data + "/bramble-hollow/device");
}

bool makeHostFolders(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos == path.size() || path[pos] == '/') {
      const std::string prefix = path.substr(0, pos);
      if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
        platformLog(LogLevel::Error, "fs: cannot create folder %s: %s", prefix.c_str(), std::strerror(errno));
        return false;
      }
    }
  }
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string currentRoot();

// The entry of `folder` whose name folds like `component`; the smallest such
// name when several do, nothing when none does.
std::optional<std::string> findNoCase(const std::string& folder, const std::string& component) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return std::nullopt;
  const std::string wanted = foldCase(component);
  std::optional<std::string> best;
  while (dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    if (foldCase(name) == wanted && (!best || name < *best)) best = std::string(name);
  }
  ::closedir(dir);
  return best;
}

std::optional<std::string> resolve(std::string_view devicePath, const std::string& root) {
  if (devicePath.find('\0') != std::string_view::npos) {
    platformLog(LogLevel::Error, "fs: refused path \"%s\": it holds a NUL byte", printable(devicePath).c_str());
    return std::nullopt;
  }
  std::string path = isValidUtf8(devicePath) ? std::string(devicePath) : latin1ToUtf8(devicePath);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path == root || path.compare(0, root.size() + 1, root + "/") == 0) {
    platformLog(LogLevel::Error, "fs: refused path \"%s\": a host path, not a device path", printable(path).c_str());
    return std::nullopt;
  }

  std::vector<std::string> components;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string c = path.substr(start, end - start);
    start = end + 1;
    if (c.empty() || c == ".") continue;
    if (c == "..") {
      platformLog(LogLevel::Error, "fs: refused path \"%s\": \"..\" would leave the device", printable(path).c_str());
      return std::nullopt;
    }
    if (components.empty() && c.find(':') != std::string::npos) {
      platformLog(LogLevel::Error, "fs: refused path \"%s\": drive or scheme prefix", printable(path).c_str());
      return std::nullopt;
    }
    components.push_back(std::move(c));
  }

  // A symbolic link inside the device could lead anywhere on the host: no
  // component may be one.
  auto isLink = [](const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  };
  std::string host = root;
  bool parentExists = true;
  for (const std::string& c : components) {
    if (parentExists) {
      std::string exact = host + "/" + c;
      struct stat st;
      if (::lstat(exact.c_str(), &st) == 0) {
        host = std::move(exact);
      } else if (std::optional<std::string> match = findNoCase(host, c)) {
        host += "/" + *match;
      } else {
        parentExists = false;
        host += "/" + c;
        continue;
      }
      if (isLink(host)) {
        platformLog(LogLevel::Error, "fs: refused path \"%s\": \"%s\" is a symbolic link", printable(path).c_str(),
                    printable(host).c_str());
        return std::nullopt;
      }
      continue;
    }
    host += "/" + c;
  }
  return host;
}

void createStandardFolders(const std::string& root) {
  if (!makeHostFolders(root)) return;
  for (std::string_view folder : {kAppFolder, kTempFolder}) {
    if (std::optional<std::string> host = resolve(folder, root)) makeHostFolders(*host);
  }
}

std::string currentRoot() {
  RootState& s = rootState();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (!s.ready) {
    s.root = rootFromEnvironment();
    createStandardFolders(s.root);
    s.ready = true;
  }
  return s.root;
}

std::optional<std::string> resolveLogged(std::string_view devicePath) {
  return resolve(devicePath, currentRoot());
}

bool syncFolderOf(const std::string& hostFile) {
  const std::string folder = hostFile.substr(0, hostFile.rfind('/'));
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

std::string foldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      out += (c >= 'A' && c <= 'Z') ? char(c + 32) : char(c);
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0 && i + 1 < s.size() && (s[i + 1] & 0xC0) == 0x80) {
      uint32_t cp = ((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu);
      if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) cp += 32;
      appendUtf8(out, cp);
      i += 2;
      continue;
    }
    out += char(c);  // other sequences compare byte for byte
    ++i;
  }
  return out;
}

std::string deviceRoot() { return currentRoot(); }

void reloadDeviceRoot() {
  RootState& s = rootState();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.root = rootFromEnvironment();
  createStandardFolders(s.root);
  s.ready = true;
}

std::optional<std::string> hostPath(std::string_view devicePath) { return resolveLogged(devicePath); }

// ---- File ----

File::File(File&& other) noexcept : file_(other.file_) { other.file_ = nullptr; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    file_ = other.file_;
    other.file_ = nullptr;
  }
  return *this;
}

File::~File() { close(); }

File File::open(std::string_view devicePath, OpenMode mode) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  if (!host) return File();
  const char* fmode = "rbe";
  switch (mode) {
    case OpenMode::Read: fmode = "rbe"; break;
    case OpenMode::Write: fmode = "w+be"; break;
    case OpenMode::Update: fmode = "r+be"; break;
    case OpenMode::Append: fmode = "abe"; break;
  }
  std::FILE* f = std::fopen(host->c_str(), fmode);
  if (!f) {
    if (!(errno == ENOENT && (mode == OpenMode::Read || mode == OpenMode::Update))) {
      platformLog(LogLevel::Error, "fs: cannot open %s: %s", host->c_str(), std::strerror(errno));
    }
    return File();
  }
  struct stat st;
  if (::fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return File();
  }
  return File(f);
}

size_t File::read(void* buffer, size_t size) {
  if (!file_ || size == 0) return 0;
  return std::fread(buffer, 1, size, file_);
}

namespace {
std::atomic<bool> g_deviceFull{false};
}  // namespace

void setDeviceFullForTesting(bool full) { g_deviceFull.store(full); }

bool File::write(const void* data, size_t size) {
  if (!file_) return false;
  if (size == 0) return true;
  if (g_deviceFull.load()) return false;
  return std::fwrite(data, 1, size, file_) == size;
}

bool File::seek(int64_t offset, SeekFrom from) {
  if (!file_) return false;
  const int whence = from == SeekFrom::Start ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
  return ::fseeko(file_, off_t(offset), whence) == 0;
}

int64_t File::position() { return file_ ? int64_t(::ftello(file_)) : -1; }

int64_t File::size() {
  if (!file_ || std::fflush(file_) != 0) return -1;
  struct stat st;
  return ::fstat(fileno(file_), &st) == 0 ? int64_t(st.st_size) : -1;
}

bool File::flush() { return file_ && std::fflush(file_) == 0 && !g_deviceFull.load(); }

bool File::sync() { return flush() && ::fsync(fileno(file_)) == 0; }

bool File::truncate(int64_t length) {
  return length >= 0 && flush() && ::ftruncate(fileno(file_), off_t(length)) == 0;
}

bool File::close() {
  if (!file_) return true;
  const bool flushed = std::fflush(file_) == 0;
  const bool clean = !std::ferror(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && clean && closed && !g_deviceFull.load();
}

// ---- AtomicFile ----

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::begin(std::string_view devicePath) {
  discard();
  failed_ = false;
  const std::optional<std::string> host = resolveLogged(devicePath);
  if (!host) {
    failed_ = true;
    return false;
  }
  target_ = *host;
  const size_t slash = target_.rfind('/');
  const std::string folder = target_.substr(0, slash);
  const std::string name = target_.substr(slash + 1);
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[64];
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::snprintf(suffix, sizeof suffix, ".%d.%u.%llx.tmp", int(::getpid()), counter++,
                  static_cast<unsigned long long>(ticks) & 0xFFFFFFu);
    temp_ = folder + "/." + name.substr(0, 180) + suffix;
    const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      file_ = ::fdopen(fd, "wb");
      if (file_) return true;
      ::close(fd);
      ::unlink(temp_.c_str());
      break;
    }
    if (errno != EEXIST) break;
  }
  platformLog(LogLevel::Error, "fs: cannot create a temporary file beside %s: %s", target_.c_str(),
              std::strerror(errno));
  temp_.clear();
  failed_ = true;
  return false;
}

bool AtomicFile::write(const void* data, size_t size) {
  if (!file_ || failed_) return false;
  if (size != 0 && (g_deviceFull.load() || std::fwrite(data, 1, size, file_) != size)) {
    platformLog(LogLevel::Error, "fs: writing %s failed: %s", target_.c_str(), std::strerror(errno));
    failed_ = true;
  }
  return !failed_;
}

bool AtomicFile::commit() {
  if (!file_ || failed_) {
    discard();
    return false;
  }
  const int fd = fileno(file_);
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  if (ok && ::fsync(fd) != 0) ok = false;
  const int savedErrno = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok || !closed) {
    platformLog(LogLevel::Error, "fs: writing %s failed: %s", target_.c_str(), std::strerror(ok ? errno : savedErrno));
    discard();
    return false;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    platformLog(LogLevel::Error, "fs: cannot replace %s: %s", target_.c_str(), std::strerror(errno));
    discard();
    return false;
  }
  temp_.clear();
  if (!syncFolderOf(target_)) {
    platformLog(LogLevel::Warning, "fs: cannot sync the folder of %s: %s", target_.c_str(), std::strerror(errno));
  }
  return true;
}

void AtomicFile::discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool replaceFile(std::string_view devicePath, const void* data, size_t size) {
  AtomicFile file;
  return file.begin(devicePath) && file.write(data, size) && file.commit();
}

namespace {

// "." + at most 180 characters of a name + ".<pid>.<counter>.<hex>.tmp":
// the writer's process id, or 0 when `entry` is not of that shape or does
// not start with "." + prefix.
int temporaryWriter(const std::string& entry, const std::string& prefix) {
  if (entry.size() < 2 || entry[0] != '.' || entry.compare(1, prefix.size(), prefix) != 0) return 0;
  static const std::string kTail = ".tmp";
  if (entry.size() < kTail.size() || entry.compare(entry.size() - kTail.size(), kTail.size(), kTail) != 0) return 0;
  // Three dot-separated fields before ".tmp": pid (decimal), counter (decimal), ticks (hex).
  size_t end = entry.size() - kTail.size();
  std::string fields[3];
  for (int i = 2; i >= 0; --i) {
    const size_t dot = entry.rfind('.', end - 1);
    if (dot == std::string::npos || dot == 0 || dot + 1 >= end) return 0;
    fields[i] = entry.substr(dot + 1, end - dot - 1);
    end = dot;
  }
  if (end < 1 + prefix.size()) return 0;
  auto all = [](const std::string& s, const char* digits) { return s.find_first_not_of(digits) == std::string::npos; };
  if (!all(fields[0], "0123456789") || !all(fields[1], "0123456789") || !all(fields[2], "0123456789abcdef") ||
      fields[0].size() > 9)
    return 0;
  return std::atoi(fields[0].c_str());
}

bool processGone(int pid) {
  const std::string proc = "/proc/" + std::to_string(pid);
  return pid > 0 && ::access(proc.c_str(), F_OK) != 0 && errno == ENOENT;
}

}  // namespace

int removeStaleTemporaries(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  if (!host) return 0;
  const size_t slash = host->rfind('/');
  const std::string folder = host->substr(0, slash);
  const std::string prefix = host->substr(slash + 1).substr(0, 180);
  if (prefix.empty()) return 0;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  std::vector<std::string> stale;
  while (const dirent* e = ::readdir(dir)) {
    const std::string entry = e->d_name;
    const int pid = temporaryWriter(entry, prefix);
    if (pid && pid != ::getpid() && processGone(pid)) stale.push_back(folder + "/" + entry);
  }
  ::closedir(dir);
  int removed = 0;
  for (const std::string& path : stale)
    if (::unlink(path.c_str()) == 0) ++removed;
  if (removed) platformLog(LogLevel::Info, "fs: removed %d stale temporary file(s) beside %s", removed, host->c_str());
  return removed;
}

// ---- whole-file operations ----

bool exists(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  struct stat st;
  return host && ::stat(host->c_str(), &st) == 0;
}

bool isFolder(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  struct stat st;
  return host && ::stat(host->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t fileSize(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  struct stat st;
  if (!host || ::stat(host->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return int64_t(st.st_size);
}

bool remove(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  if (!host || *host == currentRoot()) return false;
  return ::remove(host->c_str()) == 0;
}

bool rename(std::string_view fromPath, std::string_view toPath) {
  const std::optional<std::string> from = resolveLogged(fromPath);
  const std::optional<std::string> to = resolveLogged(toPath);
  const std::string root = currentRoot();
  if (!from || !to || *from == root || *to == root) return false;
  if (::rename(from->c_str(), to->c_str()) != 0) return false;
  syncFolderOf(*to);
  return true;
}

bool truncate(std::string_view devicePath, int64_t length) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  return host && length >= 0 && ::truncate(host->c_str(), off_t(length)) == 0;
}

bool makeFolder(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  if (!host) return false;
  if (::mkdir(host->c_str(), 0777) == 0) return true;
  struct stat st;
  return errno == EEXIST && ::stat(host->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  return host && makeHostFolders(*host);
}

std::optional<std::vector<std::string>> listFolder(std::string_view devicePath) {
  const std::optional<std::string> host = resolveLogged(devicePath);
  if (!host) return std::nullopt;
  DIR* dir = ::opendir(host->c_str());
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform::fs

// Child processes: posix_spawn with the caller's argv (no shell), one detached
// waiter thread per child that records its exit status in a table.
#include "platform/process/process.h"

#include "platform/log/log.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

struct ChildTable {
  std::mutex mutex;
  std::condition_variable ended;
  std::map<pid_t, int> statuses;  // ended children
};

ChildTable& children() {
  static ChildTable* table = new ChildTable;  // outlives the waiter threads
  return *table;
}

void watchChild(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    pid_t r;
    do {
      r = ::waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    ChildTable& table = children();
    std::lock_guard<std::mutex> lock(table.mutex);
    table.statuses[pid] = r == pid ? status : -1;
    table.ended.notify_all();
  }).detach();
}

pid_t spawn(const std::string& path, const std::vector<std::string>& argv, bool searchPath) {
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // The child starts with default signal handling whatever this process set.
  sigset_t all;
  sigfillset(&all);
  posix_spawnattr_setsigdefault(&attr, &all);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  pid_t pid = -1;
  const int rc = searchPath ? ::posix_spawnp(&pid, path.c_str(), nullptr, &attr, args.data(), environ)
                            : ::posix_spawn(&pid, path.c_str(), nullptr, &attr, args.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    platformLog(LogLevel::Error, "process: cannot start %s: %s", path.c_str(), std::strerror(rc));
    return -1;
  }
  watchChild(pid);
  return pid;
}

bool isHttpLink(std::string_view url) {
  auto startsNoCase = [&](std::string_view prefix) {
    if (url.size() <= prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
      char c = url[i];
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
      if (c != prefix[i]) return false;
    }
    return true;
  };
  if (!startsNoCase("http://") && !startsNoCase("https://")) return false;
  for (unsigned char c : url) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

const std::string& programFolder() {
  static const std::string folder = [] {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string("./");
    std::string path(buffer, size_t(n));
    return path.substr(0, path.rfind('/') + 1);
  }();
  return folder;
}

pid_t startProgram(std::string_view name, const std::vector<std::string>& arguments) {
  if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") {
    platformLog(LogLevel::Error, "process: refused program name \"%.*s\"", int(name.size()), name.data());
    return -1;
  }
  const std::string path = programFolder() + std::string(name);
  if (::access(path.c_str(), X_OK) != 0) {
    platformLog(LogLevel::Error, "process: cannot start %s: %s", path.c_str(), std::strerror(errno));
    return -1;
  }
  std::vector<std::string> argv;
  argv.push_back(path);
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return spawn(path, argv, false);
}

pid_t startCommand(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) {
    platformLog(LogLevel::Error, "process: empty command");
    return -1;
  }
  return spawn(argv[0], argv, argv[0].find('/') == std::string::npos);
}

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else if (c == '\'') {
      inWord = true;
      for (++i; i < line.size() && line[i] != '\''; ++i) word += line[i];
    } else if (c == '"') {
      inWord = true;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        word += line[i];
      }
    } else if (c == '\\' && i + 1 < line.size()) {
      inWord = true;
      word += line[++i];
    } else {
      inWord = true;
      word += c;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

bool openUrl(std::string_view url) {
  if (!isHttpLink(url)) {
    platformLog(LogLevel::Error, "process: refused to open link \"%.*s\" (only http and https links open)",
                int(url.size() > 200 ? 200 : url.size()), url.data());
    return false;
  }
  std::vector<std::string> argv;
  const char* browser = std::getenv("BRAMBLE_BROWSER");
  if (browser && *browser) argv = splitCommandLine(browser);
  if (argv.empty()) argv.push_back("xdg-open");
  argv.emplace_back(url);
  return startCommand(argv) > 0;
}

bool waitForChild(pid_t pid, int timeoutMs, int* status) {
  ChildTable& table = children();
  std::unique_lock<std::mutex> lock(table.mutex);
  auto done = [&] { return table.statuses.count(pid) != 0; };
  if (timeoutMs < 0) {
    table.ended.wait(lock, done);
  } else if (!table.ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), done)) {
    return false;
  }
  if (status) *status = table.statuses[pid];
  return true;
}

}  // namespace platform

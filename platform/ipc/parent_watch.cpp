// Parent-process watch over getppid() and /proc: re-parenting, or the end of
// the named process, marks the parent's end.
#include "platform/ipc/parent_watch.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace platform::ipc {

bool processRunning(int id) {
    if (id <= 0) return false;
    const std::string path = "/proc/" + std::to_string(id) + "/stat";
    std::FILE* f = std::fopen(path.c_str(), "re");
    if (!f) return false;
    char line[512];
    const size_t n = std::fread(line, 1, sizeof line - 1, f);
    std::fclose(f);
    line[n] = '\0';
    // "<pid> (<name>) <state> ...": the name may hold anything, the state
    // follows the last ')'.
    const char* close = std::strrchr(line, ')');
    if (!close || close[1] != ' ') return true;
    const char state = close[2];
    return state != 'Z' && state != 'X' && state != 'x';
}

int currentProcessId() { return static_cast<int>(::getpid()); }

ParentWatch::ParentWatch(int watchedId) : parent_(static_cast<int>(getppid())), watched_(watchedId) {}

bool ParentWatch::parentGone() const {
    if (watched_ > 0 && !processRunning(watched_)) return true;
    if (parent_ <= 1) return false;
    return static_cast<int>(getppid()) != parent_;
}

}  // namespace platform::ipc

// Taking a native lock from a Java thread: a thread that has to wait for it
// waits inside a blocking region, so a collection never waits for a thread
// that waits for another one (which may itself be blocked in I/O). An
// uncontended lock is taken at once without entering a region, which also
// makes it usable from finalizers (they run inside a collection, where no
// thread may enter a region).
#pragma once

#include <mutex>

#include "runtime/threads.h"

namespace bramble::net {

[[nodiscard]] inline std::unique_lock<std::mutex> lockParked(std::mutex& mutex) {
    rt::lockAtSafePoint(mutex);
    return std::unique_lock<std::mutex>(mutex, std::adopt_lock);
}

}  // namespace bramble::net

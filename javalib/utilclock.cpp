// Tick count for java.util: the monotonic clock (since boot) in
// milliseconds, cut to 32 bits as the device tick counter is.
#include "javalib/utilclock.h"

#include <chrono>

namespace utilclock {

java::jlong tickMillis() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<java::jlong>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}

}  // namespace utilclock

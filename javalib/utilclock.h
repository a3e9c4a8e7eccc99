// The two clocks of java.util: the device tick count (milliseconds since
// the system started, 32 bits zero-extended to 64, as
// java_lang_System::currentTimeMillis answers it) for Date(), Random() and
// the timers, and the wall clock for the Calendar.
#pragma once

#include "runtime/jint.h"

namespace utilclock {

// Monotonic milliseconds, low 32 bits, high word 0.
java::jlong tickMillis();

}  // namespace utilclock

// The calling thread's stack as the system reserved it: its highest address
// (the base of a downward-growing stack), for collectors that scan a whole
// thread stack conservatively.
#pragma once

namespace platform {

// One past the highest byte of the calling thread's stack, or null when the
// system cannot tell.
void* currentStackBase();

}  // namespace platform

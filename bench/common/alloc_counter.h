// C++ heap allocations of a benchmark program, counted by replacing the
// global operator new (link bench/common/alloc_counter.cpp into the
// program): benchmarks that must not allocate once warm read the count
// before and after.
#pragma once

#include <cstdint>

namespace bench {
uint64_t cxxAllocations();
}  // namespace bench

// The replaced global allocation functions behind bench::cxxAllocations.
#include "bench/common/alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<uint64_t> g_cxxAllocations{0};
}  // namespace

void* operator new(size_t size) {
    g_cxxAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace bench {
uint64_t cxxAllocations() { return g_cxxAllocations.load(std::memory_order_relaxed); }
}  // namespace bench

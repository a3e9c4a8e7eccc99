// Block heap: best fit over an address-ordered free list, split, coalesce,
// and the two compaction strategies of the movable heap.
#include "runtime/heap.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/log.h"

namespace {

inline int64_t& sizeWord(char* b) { return *reinterpret_cast<int64_t*>(b); }
inline int64_t sizeWord(const char* b) { return *reinterpret_cast<const int64_t*>(b); }
inline char*& prevFree(char* b) { return reinterpret_cast<char**>(b)[1]; }
inline char*& nextFree(char* b) { return reinterpret_cast<char**>(b)[2]; }
inline char* nextFree(const char* b) { return reinterpret_cast<char* const*>(b)[2]; }
inline void**& ownerWord(char* b) { return reinterpret_cast<void***>(b)[1]; }
inline void** ownerWord(const char* b) { return reinterpret_cast<void** const*>(b)[1]; }
inline size_t mag(const char* b) {
    int64_t s = sizeWord(b);
    return static_cast<size_t>(s < 0 ? -s : s);
}
inline bool isFree(const char* b) { return sizeWord(b) > 0; }

}  // namespace

MemoryManager::MemoryManager(size_t size, bool movable)
    : m_movable(movable), m_header(movable ? 2 * kWord : kWord) {
    m_size = size / kWord * kWord;
    if (m_size < kMinBlock) m_size = kMinBlock;
    m_base = static_cast<char*>(std::malloc(m_size));
    if (!m_base) throw std::bad_alloc();
    sizeWord(m_base) = static_cast<int64_t>(m_size);
    prevFree(m_base) = nullptr;
    nextFree(m_base) = nullptr;
    m_head = m_tail = m_base;
    m_blockCount = 1;
    m_freeCount = 1;
}

MemoryManager::~MemoryManager() { std::free(m_base); }

void MemoryManager::logShortage(size_t need) const {
    logPrintf("totalFragmentSizeNeeded=%zu m_heapUsed=%zu m_heapSize=%zu", need, m_inUse, m_size);
}

void* MemoryManager::allocNoCollect(size_t bytes) {
    if (bytes > m_size) return nullptr;
    std::lock_guard<std::mutex> lock(m_lock);
    return allocLocked(needFor(bytes));
}

void* MemoryManager::allocLocked(size_t need) {
    char* block = bestFit(need);
    return block ? carve(block, need) : nullptr;
}

void* MemoryManager::alloc(size_t bytes) {
    if (bytes > m_size) {
        logShortage(bytes);
        return nullptr;
    }
    const size_t need = needFor(bytes);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (void* p = allocLocked(need)) return p;
    }
    if (m_handler) m_handler->collectForShortage();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (void* p = allocLocked(need)) return p;
        if (!m_movable || m_inUse + need >= m_size) {
            logShortage(need);
            return nullptr;
        }
    }
    void* result = nullptr;
    auto compact = [&] {
        std::lock_guard<std::mutex> lock(m_lock);
        if (void* p = allocLocked(need)) {  // another thread may have freed room
            result = p;
            return;
        }
        char* block = static_cast<char*>(compactByGapsLocked(need));
        if (!block) block = static_cast<char*>(compactBySlidingLocked(need));
        if (block) result = carve(block, need);
        else logShortage(need);
    };
    if (m_handler) m_handler->runWithWorldStopped(compact);
    else compact();
    return result;
}

char* MemoryManager::bestFit(size_t need, const char* exclude1, const char* exclude2) const {
    char* best = nullptr;
    size_t bestSize = 0;
    for (char* b = m_head; b; b = nextFree(b)) {
        size_t s = mag(b);
        if (s == 0) break;
        if (b == exclude1 || b == exclude2 || s < need) continue;
        if (!best || s < bestSize) {
            best = b;
            bestSize = s;
            if (s == need) break;
        }
    }
    return best;
}

void MemoryManager::unlink(char* b) {
    char* p = prevFree(b);
    char* n = nextFree(b);
    if (p) nextFree(p) = n; else m_head = n;
    if (n) prevFree(n) = p; else m_tail = p;
}

void MemoryManager::linkAfter(char* prev, char* b) {
    char* n = prev ? nextFree(prev) : m_head;
    prevFree(b) = prev;
    nextFree(b) = n;
    if (prev) nextFree(prev) = b; else m_head = b;
    if (n) prevFree(n) = b; else m_tail = b;
}

void MemoryManager::replaceInList(char* old, char* with) {
    char* p = prevFree(old);
    char* n = nextFree(old);
    prevFree(with) = p;
    nextFree(with) = n;
    if (p) nextFree(p) = with; else m_head = with;
    if (n) prevFree(n) = with; else m_tail = with;
}

void* MemoryManager::carve(char* block, size_t need) {
    const size_t size = mag(block);
    size_t taken;
    if (size - need <= m_header + kSplitSlack) {
        unlink(block);
        taken = size;
        --m_freeCount;
    } else {
        char* rest = block + need;
        sizeWord(rest) = static_cast<int64_t>(size - need);
        replaceInList(block, rest);
        taken = need;
        ++m_blockCount;
    }
    sizeWord(block) = -static_cast<int64_t>(taken);
    if (m_movable) ownerWord(block) = nullptr;
    m_inUse += taken;
    if (m_inUse > m_peak) m_peak = m_inUse;
    return block + m_header;
}

bool MemoryManager::free(void* user) {
    if (!owns(user)) return false;
    std::lock_guard<std::mutex> lock(m_lock);
    char* block = static_cast<char*>(user) - m_header;
    if (isFree(block)) {
        logPrintf("MemoryManager::free(): block %p is already free", user);
        return true;
    }
    freeBlock(block);
    return true;
}

void MemoryManager::freeBlock(char* block) {
    const size_t size = mag(block);
    sizeWord(block) = static_cast<int64_t>(size);
    m_inUse -= size;
    ++m_freeCount;

    // Find the first free block above this one: its physical neighbours
    // usually answer at once (a sweep frees runs of neighbours); else the
    // list is walked.
    char* const end = m_base + m_size;
    char* next = nullptr;
    char* p = block + size;
    int steps = 0;
    while (p < end && steps < 64) {
        if (isFree(p)) {
            next = p;
            break;
        }
        p += mag(p);
        ++steps;
    }
    if (!next && p < end) {
        for (char* f = m_head; f; f = nextFree(f)) {
            if (f > block) {
                next = f;
                break;
            }
        }
    }
    linkAfter(next ? prevFree(next) : m_tail, block);

    char* prev = prevFree(block);
    if (prev && prev + mag(prev) == block) {
        sizeWord(prev) += static_cast<int64_t>(mag(block));
        unlink(block);
        --m_blockCount;
        --m_freeCount;
        block = prev;
    }
    char* after = nextFree(block);
    if (after && block + mag(block) == after) {
        sizeWord(block) += static_cast<int64_t>(mag(after));
        unlink(after);
        --m_blockCount;
        --m_freeCount;
    }
}

char* MemoryManager::takeBuffer(size_t bytes, size_t& taken) {
    taken = 0;
    if (m_movable || bytes > m_size) return nullptr;  // split blocks have one-word headers
    std::lock_guard<std::mutex> lock(m_lock);
    char* user = static_cast<char*>(allocLocked(needFor(bytes)));
    if (!user) return nullptr;
    char* block = user - m_header;
    taken = mag(block);
    return block;
}

void MemoryManager::returnBuffer(char* cur, char* end, size_t added) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_blockCount += added;
    if (cur && cur < end) {
        sizeWord(cur) = -static_cast<int64_t>(end - cur);
        freeBlock(cur);
    }
}

size_t MemoryManager::blockSize(const void* user) const {
    if (!owns(user)) return 0;
    const char* block = static_cast<const char*>(user) - m_header;
    return mag(block) - m_header;
}

void MemoryManager::registerOwnerSlot(void* user, void** slot) {
    if (!m_movable || !owns(user)) return;
    ownerWord(static_cast<char*>(user) - m_header) = slot;
}

void** MemoryManager::ownerSlot(const void* user) const {
    if (!m_movable || !owns(user)) return nullptr;
    return ownerWord(static_cast<const char*>(user) - m_header);
}

size_t MemoryManager::largestFreeBlock() const {
    std::lock_guard<std::mutex> lock(m_lock);
    size_t best = 0;
    for (char* b = m_head; b; b = nextFree(b)) best = mag(b) > best ? mag(b) : best;
    return best;
}

// --- compaction -----------------------------------------------------------

bool MemoryManager::runMovable(const char* from, const char* to) const {
    for (const char* b = from; b < to; b += mag(b)) {
        if (isFree(b) || !ownerWord(b)) return false;
    }
    return true;
}

void MemoryManager::moveRun(char* from, size_t length, char* target) {
    carve(target, length);
    const size_t taken = mag(target);
    std::memmove(target, from, length);
    char* last = target;
    for (char* b = target; b < target + length; b += mag(b)) {
        last = b;
        void** slot = ownerWord(b);
        void* oldUser = from + (b - target) + m_header;
        if (slot && *slot == oldUser) *slot = b + m_header;
    }
    sizeWord(last) = -static_cast<int64_t>(mag(last) + (taken - length));
    // The old place becomes one used block of the run's length (its k blocks
    // collapse into one, as the copy split the target into k), then is freed
    // so that it coalesces with its neighbours.
    sizeWord(from) = -static_cast<int64_t>(length);
    freeBlock(from);
}

void* MemoryManager::compactByGaps(size_t need) {
    std::lock_guard<std::mutex> lock(m_lock);
    return compactByGapsLocked(need);
}

void* MemoryManager::compactBySliding(size_t need) {
    std::lock_guard<std::mutex> lock(m_lock);
    return compactBySlidingLocked(need);
}

void* MemoryManager::compactByGapsLocked(size_t need) {
    if (!m_movable) return nullptr;
    for (int pass = 0; pass < kCompactionPasses; ++pass) {
        char* bestA = nullptr;
        char* bestTarget = nullptr;
        int64_t bestScore = 0;
        for (char* a = m_head; a && nextFree(a); a = nextFree(a)) {
            char* b = nextFree(a);
            char* gap = a + mag(a);
            size_t gapLen = static_cast<size_t>(b - gap);
            if (gapLen == 0 || !runMovable(gap, b)) continue;
            char* target = bestFit(gapLen, a, b);
            if (!target) continue;
            int64_t score = static_cast<int64_t>(mag(a) + mag(b)) - static_cast<int64_t>(gapLen);
            if (!bestA || score > bestScore) {
                bestA = a;
                bestTarget = target;
                bestScore = score;
            }
        }
        if (!bestA) return nullptr;
        char* gap = bestA + mag(bestA);
        moveRun(gap, static_cast<size_t>(nextFree(bestA) - gap), bestTarget);
        if (mag(bestA) >= need) return bestA;
    }
    return nullptr;
}

void* MemoryManager::compactBySlidingLocked(size_t need) {
    if (!m_movable) return nullptr;
    char* const end = m_base + m_size;
    for (int pass = 0; pass < kCompactionPasses; ++pass) {
        char* f = nullptr;
        for (char* b = m_head; b; b = nextFree(b)) {
            if (static_cast<size_t>(end - b) <= need) break;
            if (!f || mag(b) > mag(f)) f = b;
        }
        if (!f) return nullptr;
        if (mag(f) >= need) return f;
        bool moved = false;
        for (;;) {
            char* u = f + mag(f);
            if (u >= end || isFree(u) || !ownerWord(u)) break;
            const size_t usize = mag(u);
            char* target = bestFit(usize, f);
            if (!target) break;
            moveRun(u, usize, target);
            moved = true;
            if (mag(f) >= need) return f;
        }
        if (!moved) return nullptr;
    }
    return nullptr;
}

bool MemoryManager::checkConsistency() const {
    std::lock_guard<std::mutex> lock(m_lock);
    const char* end = m_base + m_size;
    size_t blocks = 0, frees = 0, used = 0;
    bool prevWasFree = false;
    const char* expectFree = m_head;
    const char* lastFree = nullptr;
    for (const char* b = m_base; b < end; b += mag(b)) {
        if (mag(b) < kMinBlock || mag(b) % kWord != 0) {
            logPrintf("heap check: bad block size %zu at offset %td", mag(b), b - m_base);
            return false;
        }
        ++blocks;
        if (isFree(b)) {
            if (prevWasFree) {
                logPrintf("heap check: adjacent free blocks at offset %td", b - m_base);
                return false;
            }
            if (b != expectFree) {
                logPrintf("heap check: free list out of order at offset %td", b - m_base);
                return false;
            }
            if (reinterpret_cast<char* const*>(b)[1] != lastFree) {
                logPrintf("heap check: broken back link at offset %td", b - m_base);
                return false;
            }
            lastFree = b;
            expectFree = nextFree(b);
            ++frees;
            prevWasFree = true;
        } else {
            used += mag(b);
            prevWasFree = false;
        }
    }
    bool ok = blocks == m_blockCount && frees == m_freeCount && used == m_inUse && expectFree == nullptr &&
              lastFree == m_tail;
    if (!ok) {
        logPrintf("heap check: counters blocks %zu/%zu free %zu/%zu used %zu/%zu", blocks, m_blockCount, frees,
                  m_freeCount, used, m_inUse);
    }
    return ok;
}

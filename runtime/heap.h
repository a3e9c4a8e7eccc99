// Block heaps: a fixed region carved from the C heap once, tiled by blocks
// that carry their size in their first word (positive = free, negative =
// used), with an address-ordered doubly linked free list, best-fit
// allocation, splitting and coalescing.
//
// The object heap never moves a block. The data heap (movable) gives every
// used block a second header word, its owner slot: the one pointer variable
// (a field of an object on the object heap) that holds the block's user
// address. Compaction moves only blocks that have an owner slot, rewrites
// the slot, and runs only while every other thread is stopped.
//
// Thread buffers (object heap): a thread takes one used block and splits it
// into object blocks on its own, without the lock. Each split writes the
// remainder's header before the new block's (release stores), so the tiling
// stays walkable at every moment; the block count catches up when the buffer
// is returned (its unused remainder is then freed like any block).
// A walk over the tiling that may step into another thread's live buffer
// (the free path's look for the next free block, the consistency check)
// holds the lock and reads every size word with an acquire load, paired
// with those release stores: a header it reads is never older than the
// headers the split wrote before it. Every other header access happens
// under the lock on blocks no buffer holds, on the caller's own blocks, or
// while the other threads are stopped.
//
// All sizes are in bytes and multiples of the machine word; user pointers
// are word aligned.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

class MemoryManager {
public:
    // What a heap asks of the collector when a request does not fit.
    struct ShortageHandler {
        virtual ~ShortageHandler() = default;
        // A forced collection that keeps the most recently registered object.
        virtual void collectForShortage() = 0;
        // Runs fn while every other thread is stopped (compaction).
        virtual void runWithWorldStopped(const std::function<void()>& fn) = 0;
    };

    static constexpr size_t kWord = sizeof(void*);
    static constexpr size_t kMinBlock = 3 * kWord;       // size, prev, next
    static constexpr size_t kSplitSlack = 32;            // remainder kept inside a block
    static constexpr int kCompactionPasses = 20;

    MemoryManager(size_t size, bool movable);
    ~MemoryManager();
    MemoryManager(const MemoryManager&) = delete;
    MemoryManager& operator=(const MemoryManager&) = delete;

    void setShortageHandler(ShortageHandler* handler) { m_handler = handler; }

    // A user block of at least bytes, or null (after collection and, in the
    // movable heap, compaction). Contents are not cleared.
    void* alloc(size_t bytes);
    // As alloc, but never collects or compacts (used during a collection).
    void* allocNoCollect(size_t bytes);
    // False when the pointer does not lie inside this heap.
    bool free(void* user);
    bool owns(const void* p) const { return p >= m_base && p < m_base + m_size; }
    // Usable bytes of a used block (block size minus header); 0 outside.
    size_t blockSize(const void* user) const;
    // Movable heap only: slot holds the block's user address from now on.
    void registerOwnerSlot(void* user, void** slot);
    void** ownerSlot(const void* user) const;

    bool movable() const { return m_movable; }
    size_t headerSize() const { return m_header; }
    size_t heapSize() const { return m_size; }
    size_t blockCount() const { return m_blockCount; }
    size_t freeBlockCount() const { return m_freeCount; }
    size_t bytesInUse() const { return m_inUse; }
    size_t peakBytesInUse() const { return m_peak; }
    size_t largestFreeBlock() const;
    const char* base() const { return m_base; }

    // Compaction strategies (the allocator uses them on shortage; tests call
    // them directly). Each answers a free block of at least need bytes
    // (block size including header) or null. Caller holds no lock and has
    // the other threads stopped.
    void* compactByGaps(size_t need);
    void* compactBySliding(size_t need);

    // Thread buffers. takeBuffer: a used block of at least bytes (never
    // collects), its start (the header's address) or null; `taken` is its
    // whole size. splitBuffer: cuts a block of need bytes from the front of
    // the buffer's remainder [cur, end) and answers its user address; a
    // remainder too small to stay a block goes with it (need grows). Counts
    // the blocks it adds in `added`. returnBuffer: settles the added blocks
    // and frees the remainder [cur, end) when not empty.
    char* takeBuffer(size_t bytes, size_t& taken);
    static void* splitBuffer(char*& cur, char* end, size_t need, size_t& added) {
        char* block = cur;
        const size_t rest = static_cast<size_t>(end - block) - need;
        if (rest < kMinBlock) {
            need += rest;
        } else {
            // The remainder first: a walker that reads the old header still
            // steps over the whole remainder.
            std::atomic_ref<int64_t>(*reinterpret_cast<int64_t*>(block + need))
                .store(-static_cast<int64_t>(rest), std::memory_order_release);
            ++added;
        }
        std::atomic_ref<int64_t>(*reinterpret_cast<int64_t*>(block))
            .store(-static_cast<int64_t>(need), std::memory_order_release);
        cur = block + need;
        return block + kWord;
    }
    void returnBuffer(char* cur, char* end, size_t added);

    // Walks every block and the free list; false (and a log line) when the
    // tiling, the counters or the list order are broken. The block count is
    // exact only while no thread buffer is out (a collection returns them).
    // Bytes in use count a buffer's unused remainder until it is returned.
    bool checkConsistency() const;

    // The block size (header included) a request of bytes takes.
    size_t needFor(size_t bytes) const {
        const size_t need = (bytes + kWord - 1) / kWord * kWord + m_header;
        return need < kMinBlock ? kMinBlock : need;
    }

private:
    char* bestFit(size_t need, const char* exclude1 = nullptr, const char* exclude2 = nullptr) const;
    void* carve(char* block, size_t need);
    void freeBlock(char* block);
    void unlink(char* block);
    void linkAfter(char* prev, char* block);
    void replaceInList(char* old, char* with);
    bool runMovable(const char* from, const char* to) const;
    void moveRun(char* from, size_t length, char* target);
    void* compactByGapsLocked(size_t need);
    void* compactBySlidingLocked(size_t need);
    void* allocLocked(size_t need);
    void logShortage(size_t need) const;

    char* m_base = nullptr;
    char* m_head = nullptr;
    char* m_tail = nullptr;
    size_t m_size = 0;
    size_t m_blockCount = 0;
    size_t m_freeCount = 0;
    size_t m_inUse = 0;
    size_t m_peak = 0;
    bool m_movable = false;
    size_t m_header = 0;
    mutable std::mutex m_lock;
    ShortageHandler* m_handler = nullptr;
};

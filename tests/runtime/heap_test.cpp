// Block heaps: best fit, splitting, coalescing, counters, and both
// compaction strategies with owner slots rewritten.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/heap.h"
#include "tests/runtime/fixture.h"

namespace {

constexpr size_t W = sizeof(void*);

TEST(BlockHeap, SmallRequestTakesMinimumBlockAndSmallRemaindersStayInside) {
    MemoryManager heap(4096, false);
    void* p = heap.alloc(1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(heap.needFor(1), MemoryManager::kMinBlock);
    EXPECT_EQ(heap.blockSize(p), MemoryManager::kMinBlock - heap.headerSize());
    EXPECT_EQ(heap.blockCount(), 2u);

    // A request that leaves header + 32 bytes or less takes the whole block.
    MemoryManager small(256, false);
    const size_t need = 256 - (small.headerSize() + MemoryManager::kSplitSlack);
    void* q = small.alloc(need - small.headerSize());
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(small.blockCount(), 1u);
    EXPECT_EQ(small.freeBlockCount(), 0u);
    EXPECT_EQ(small.blockSize(q), 256 - small.headerSize());
    EXPECT_TRUE(small.checkConsistency());
}

TEST(BlockHeap, BestFitPrefersSmallestSufficientBlock) {
    MemoryManager heap(8192, false);
    // Carve holes of 200, 96 and 128 bytes separated by used blocks.
    void* a = heap.alloc(200 - W);
    void* s1 = heap.alloc(16);
    void* b = heap.alloc(96 - W);
    void* s2 = heap.alloc(16);
    void* c = heap.alloc(128 - W);
    void* s3 = heap.alloc(16);
    ASSERT_TRUE(a && b && c && s1 && s2 && s3);
    heap.free(a);
    heap.free(b);
    heap.free(c);
    EXPECT_EQ(heap.alloc(96 - W), b);   // exact fit
    EXPECT_EQ(heap.alloc(100 - W), c);  // smallest that holds it
    EXPECT_TRUE(heap.checkConsistency());
}

TEST(BlockHeap, FreeingNeighboursInEitherOrderCoalesces) {
    for (int order = 0; order < 2; ++order) {
        SCOPED_TRACE(order);
        MemoryManager heap(4096, false);
        void* a = heap.alloc(100);
        void* b = heap.alloc(100);
        void* guard = heap.alloc(100);
        ASSERT_TRUE(a && b && guard);
        heap.free(order ? b : a);
        heap.free(order ? a : b);
        EXPECT_TRUE(heap.checkConsistency());
        EXPECT_EQ(heap.freeBlockCount(), 2u);  // a+b, and the tail after guard
        heap.free(guard);
        EXPECT_EQ(heap.freeBlockCount(), 1u);
        EXPECT_EQ(heap.blockCount(), 1u);
        EXPECT_EQ(heap.bytesInUse(), 0u);
        EXPECT_GT(heap.peakBytesInUse(), 300u);
    }
}

TEST(BlockHeap, ForeignPointersAreRefusedAndFullHeapAnswersNull) {
    MemoryManager heap(1024, false);
    int local = 0;
    EXPECT_FALSE(heap.free(&local));
    EXPECT_EQ(heap.blockSize(&local), 0u);
    EXPECT_EQ(heap.alloc(4096), nullptr);
    std::vector<void*> blocks;
    while (void* p = heap.alloc(64)) blocks.push_back(p);
    EXPECT_FALSE(blocks.empty());
    EXPECT_TRUE(heap.checkConsistency());
}

// A movable heap with a pattern of owned blocks: each owner slot lives in
// the owners vector (standing in for object fields).
struct OwnedHeap {
    explicit OwnedHeap(size_t size) : heap(size, true) {}
    void* add(size_t bytes, unsigned char fill) {
        void* p = heap.alloc(bytes);
        if (!p) return nullptr;
        std::memset(p, fill, bytes);
        owners.push_back(new void*(p));
        heap.registerOwnerSlot(p, owners.back());
        fills.push_back(fill);
        sizes.push_back(bytes);
        return p;
    }
    void drop(size_t i) {
        heap.free(*owners[i]);
        *owners[i] = nullptr;
    }
    void expectContentsIntact() {
        for (size_t i = 0; i < owners.size(); ++i) {
            if (!*owners[i]) continue;
            const auto* p = static_cast<const unsigned char*>(*owners[i]);
            for (size_t k = 0; k < sizes[i]; ++k) ASSERT_EQ(p[k], fills[i]) << "block " << i;
        }
    }
    ~OwnedHeap() {
        for (void** o : owners) delete o;
    }
    MemoryManager heap;
    std::vector<void**> owners;
    std::vector<unsigned char> fills;
    std::vector<size_t> sizes;
};

TEST(BlockHeap, CompactionByGapsMovesTheRunBetweenTwoHoles) {
    OwnedHeap h(4096);
    // [A 256 free][g1 used][B 256 free][used ...][T 200 free][rest used]
    h.add(240, 1);  // 0: becomes hole A
    h.add(80, 2);   // 1: the gap
    h.add(240, 3);  // 2: becomes hole B
    h.add(400, 4);  // 3
    h.add(184, 5);  // 4: becomes target T
    h.add(40, 6);   // 5
    while (h.add(200, 7)) {}
    h.drop(0);
    h.drop(2);
    h.drop(4);
    ASSERT_TRUE(h.heap.checkConsistency());
    void* oldGap = *h.owners[1];
    const size_t need = h.heap.needFor(560);
    char* block = static_cast<char*>(h.heap.compactByGaps(need));
    ASSERT_NE(block, nullptr);
    EXPECT_NE(*h.owners[1], oldGap);
    EXPECT_TRUE(h.heap.checkConsistency());
    h.expectContentsIntact();
}

TEST(BlockHeap, CompactionBySlidingGrowsTheLargestHole) {
    OwnedHeap h(4096);
    for (int i = 0; i < 12; ++i) h.add(120, static_cast<unsigned char>(10 + i));
    while (h.add(64, 99)) {}
    // Holes at 0, 3, 6, 9: sliding moves the blocks after the largest hole
    // into the other holes one by one.
    h.drop(0);
    h.drop(3);
    h.drop(6);
    h.drop(9);
    ASSERT_TRUE(h.heap.checkConsistency());
    const size_t need = h.heap.needFor(300);
    void* block = h.heap.compactBySliding(need);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(h.heap.checkConsistency());
    h.expectContentsIntact();
}

TEST(BlockHeap, BlocksWithoutOwnerNeverMove) {
    OwnedHeap h(2048);
    h.add(100, 1);
    void* pinned = h.heap.alloc(100);  // no owner slot
    std::memset(pinned, 0x55, 100);
    h.add(100, 2);
    while (h.add(100, 3)) {}
    h.drop(0);
    h.drop(1);
    EXPECT_EQ(h.heap.compactByGaps(h.heap.needFor(350)), nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(pinned)[99], 0x55);
    EXPECT_TRUE(h.heap.checkConsistency());
}

// Through the allocator: a data-heap request that fits only after
// compaction succeeds, and every moved array and String still reads its
// contents.
class DataHeapCompaction : public RuntimeTest {
protected:
    void SetUp() override { startApp(1 << 20, 64 * 1024); }
};

TEST_F(DataHeapCompaction, MovedArraysAndStringsKeepTheirContents) {
    std::vector<IntArray*> keep;
    std::vector<String*> texts;
    ObjectArray* holder = newObjectArray(cid::Object, 400);
    rt::GlobalRef root(holder);
    int n = 0;
    for (;; ++n) {
        IntArray* a = newIntArray(60);
        if (!m_app->dataHeap().owns(a->data())) break;  // data heap full: C-heap fallback
        for (jint i = 0; i < 60; ++i) a->data()[i] = n * 1000 + i;
        holder->data()[n % 400] = a;
        if (n % 3 == 0) {
            String* s = String::fromUtf8("a text long enough for the data heap #" + std::to_string(n));
            holder->data()[(n + 200) % 400] = s;
        }
        if (n > 390) break;
    }
    // Drop every other array so that free space is fragmented.
    for (int i = 0; i < 400; i += 2) holder->data()[i] = nullptr;
    collect();
    MemoryManager& heap = m_app->dataHeap();
    const size_t largest = heap.largestFreeBlock();
    const size_t freeBytes = heap.heapSize() - heap.bytesInUse();
    ASSERT_GT(freeBytes, largest + 256);
    std::vector<void*> before;
    for (int i = 0; i < 400; ++i) {
        Object* o = holder->data()[i];
        before.push_back(o && o->classId() == cid::IntArray ? static_cast<IntArray*>(o)->data() : nullptr);
    }
    IntArray* big = newIntArray(static_cast<jint>(largest / sizeof(jint)) + 8);  // fits no hole
    EXPECT_TRUE(heap.owns(big->data()));
    EXPECT_TRUE(heap.checkConsistency());
    int moved = 0;
    for (int i = 0; i < 400; ++i) {
        Object* o = holder->data()[i];
        if (o && o->classId() == cid::IntArray && static_cast<IntArray*>(o)->data() != before[i]) ++moved;
    }
    EXPECT_GT(moved, 0);
    for (int i = 0; i < 400; ++i) {
        Object* o = holder->data()[i];
        if (!o) continue;
        if (o->classId() == cid::IntArray) {
            auto* a = static_cast<IntArray*>(o);
            const jint base = a->data()[0];
            for (jint k = 0; k < 60; ++k) ASSERT_EQ(a->data()[k], base + k);
        } else {
            auto* s = static_cast<String*>(o);
            EXPECT_EQ(s->toUtf8().rfind("a text long enough", 0), 0u);
        }
    }
}

}  // namespace

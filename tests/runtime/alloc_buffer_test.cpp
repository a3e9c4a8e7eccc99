// Thread object buffers: objects split off a thread's buffer are registered,
// counted and found by the conservative look-up at once; collections take
// every buffer back (pending objects join the list, remainders go back to
// the heap); a thread leaving the table returns its own; large objects take
// the locked path; the heap's split and return keep the block tiling.
#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/heap.h"
#include "tests/runtime/fixture.h"

namespace {

std::atomic<int> g_finalized{0};

class Cell : public Object {
public:
    Cell() : Object(cid::java_util_HashtableEntry) { StaticClass::setRefFieldOffsets(this, {&m_next}); }
    void finalize() override {
        g_finalized.fetch_add(1);
        Object::finalize();
    }
    Object* m_next;
    jint m_value;
};

// An object too large for a buffer (the locked path).
class Bulky : public Object {
public:
    Bulky() : Object(cid::java_util_Random) {}
    void finalize() override {
        g_finalized.fetch_add(1);
        Object::finalize();
    }
    jint m_words[2048];
};

class AllocBuffers : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        g_finalized = 0;
    }
    MemoryManager& heap() { return m_app->objectHeap(); }
};

// Not instrumented: the junk must lie on the real stack, not a sanitizer's
// stand-in frame.
[[gnu::noinline]] __attribute__((no_sanitize_address)) void scrubStack() {
    volatile char junk[16384];
    for (size_t i = 0; i < sizeof junk; ++i) junk[i] = 0;
}

TEST_F(AllocBuffers, ObjectsAreRegisteredCountedAndFoundAtOnce) {
    ASSERT_GT(om().bufferObjectLimit(), sizeof(Cell));
    ObjectArray* keep = newObjectArray(cid::Object, 300);
    rt::GlobalRef root(keep);
    const size_t before = om().objectCount();
    // More than one hand-over batch, and more than one buffer.
    for (jint i = 0; i < 300; ++i) {
        auto* c = newObject<Cell>();
        c->m_value = i;
        keep->data()[i] = c;
        ASSERT_TRUE(om().isRegistered(c)) << i;
        EXPECT_EQ(om().findObject(reinterpret_cast<char*>(c) + sizeof(Cell) - 1), c) << i;
    }
    EXPECT_EQ(om().objectCount(), before + 300);
    // Past the newest object lies the buffer's unused remainder: no object.
    auto* last = reinterpret_cast<char*>(keep->data()[299]);
    EXPECT_EQ(om().findObject(last + heap().blockSize(last) + sizeof(void*)), nullptr);
    // Neighbours in the buffer are distinct blocks of the heap.
    auto* a = reinterpret_cast<char*>(keep->data()[10]);
    auto* b = reinterpret_cast<char*>(keep->data()[11]);
    EXPECT_GE(static_cast<size_t>(std::abs(b - a)), heap().blockSize(a));
    collect();
    EXPECT_EQ(g_finalized.load(), 0);
    EXPECT_EQ(om().objectCount(), before + 300);
    for (jint i = 0; i < 300; ++i) EXPECT_EQ(static_cast<Cell*>(keep->data()[i])->m_value, i);
    EXPECT_TRUE(heap().checkConsistency());
}

TEST_F(AllocBuffers, CollectionTakesEveryBufferBackAndSweepsItsGarbage) {
    const size_t usedAtStart = (collect(), heap().bytesInUse());
    for (int i = 0; i < 500; ++i) newObject<Cell>();
    for (int i = 0; i < 3; ++i) newObject<Bulky>();
    EXPECT_GT(heap().bytesInUse(), usedAtStart);
    scrubStack();
    collect();
    EXPECT_GE(g_finalized.load(), 500);  // conservative: a stale word may keep one
    EXPECT_TRUE(heap().checkConsistency());
    // Nothing of the buffer stays reserved: the heap is back where it was,
    // give or take what a stale stack word keeps.
    EXPECT_LE(heap().bytesInUse(), usedAtStart + 2 * sizeof(Bulky));
}

TEST_F(AllocBuffers, LargeObjectsTakeTheLockedPathAndAreSeenToo) {
    auto* big = newObject<Bulky>();
    rt::GlobalRef root(big);
    EXPECT_GT(sizeof(Bulky), om().bufferObjectLimit());
    EXPECT_TRUE(om().isRegistered(big));
    EXPECT_EQ(om().findObject(&big->m_words[2000]), big);
    // A buffer object made next is still found beside it.
    auto* small = newObject<Cell>();
    EXPECT_EQ(om().findObject(&small->m_value), small);
    collect();
    EXPECT_TRUE(om().isRegistered(big));
}

struct Made {
    ObjectArray* keep;
};

void makeSomeAndLeave(void* arg) {
    auto* made = static_cast<Made*>(arg);
    for (jint i = 0; i < 40; ++i) {
        auto* c = newObject<Cell>();
        c->m_value = i;
        made->keep->data()[i] = c;
    }
}

TEST_F(AllocBuffers, AThreadThatEndsHandsItsObjectsAndBufferBack) {
    Made made;
    made.keep = newObjectArray(cid::Object, 40);
    rt::GlobalRef root(made.keep);
    const size_t before = om().objectCount();
    runOnJavaThread(&makeSomeAndLeave, &made);
    // Its 40 objects are in the list, not lost with its slot.
    EXPECT_GE(om().objectCount(), before + 40);
    for (jint i = 0; i < 40; ++i) {
        auto* c = static_cast<Cell*>(made.keep->data()[i]);
        ASSERT_TRUE(om().isRegistered(c));
        EXPECT_EQ(c->m_value, i);
    }
    EXPECT_EQ(g_finalized.load(), 0);
    // Once unreferenced they are swept (and finalized) like any others.
    for (jint i = 0; i < 40; ++i) made.keep->data()[i] = nullptr;
    scrubStack();
    collect();
    EXPECT_GE(g_finalized.load(), 38);  // conservative: a stale word may keep one
    EXPECT_TRUE(heap().checkConsistency());
}

#ifdef BRAMBLE_GC_STRESS
constexpr jint kChain = 150;  // every allocation collects
#else
constexpr jint kChain = 1500;
#endif

struct Busy {
    ObjectArray* lists[4];
    std::atomic<int> next{0};
    std::atomic<int> done{0};
};
Busy* g_busy = nullptr;

// Chains of cells per thread, every second one dropped, while the main
// thread collects.
void buildChains(void*) {
    const int me = g_busy->next.fetch_add(1);
    ObjectArray* list = g_busy->lists[me];
    for (jint i = 0; i < list->length(); ++i) {
        auto* kept = newObject<Cell>();
        kept->m_value = me * 100000 + i;
        newObject<Cell>()->m_value = -1;  // garbage
        kept->m_next = newIntArray(3);
        list->data()[i] = kept;
        if (i % 256 == 0) java_lang_Thread::yield();
    }
    g_busy->done.fetch_add(1);
}

TEST_F(AllocBuffers, ObjectsOfSeveralThreadsSurviveCollectionsRunningMeanwhile) {
    Busy busy;
    g_busy = &busy;
    std::vector<std::unique_ptr<rt::GlobalRef>> roots;
    for (auto*& list : busy.lists) {
        list = newObjectArray(cid::Object, kChain);
        roots.push_back(std::make_unique<rt::GlobalRef>(list));
    }
    for (int t = 0; t < 4; ++t) {
        auto* thread = newObject<java_lang_Thread>(newObject<Task>(&buildChains, nullptr));
        ASSERT_GE(java_lang_Thread::start(thread), 0);
    }
    ASSERT_TRUE(waitFor([&] {
        collect();
        return busy.done.load() == 4;
    }));
    ASSERT_TRUE(waitFor([&] { return m_app->threads().javaThreadCount() == 1; }));
    scrubStack();
    collect();
    EXPECT_TRUE(heap().checkConsistency());
    std::vector<bool> seen(4, false);
    for (int t = 0; t < 4; ++t) {
        ObjectArray* list = busy.lists[t];
        const jint owner = static_cast<Cell*>(list->data()[0])->m_value / 100000;
        ASSERT_TRUE(owner >= 0 && owner < 4);
        seen[static_cast<size_t>(owner)] = true;
        for (jint i = 0; i < list->length(); ++i) {
            auto* c = static_cast<Cell*>(list->data()[i]);
            ASSERT_TRUE(om().isRegistered(c));
            EXPECT_EQ(c->m_value % 100000, i);
            ASSERT_TRUE(c->m_next && om().isRegistered(c->m_next));
            EXPECT_EQ(c->m_next->classId(), cid::IntArray);
        }
    }
    EXPECT_GE(g_finalized.load(), 4 * kChain - 8);
    g_busy = nullptr;
}

// A finalizer that makes an object while the sweep runs: the object is
// listed (the collection holds the list) and lives until the next one.
class Parent : public Object {
public:
    static constexpr int kMany = 20;
    Parent() : Object(cid::java_util_Random) {}
    void finalize() override {
        auto* child = newObject<Cell>();
        child->m_value = 77;
        if (s_count < kMany) s_made[s_count++] = child;  // not a root
        Object::finalize();
    }
    static inline Object* s_made[kMany] = {};
    static inline int s_count = 0;
};

TEST_F(AllocBuffers, AFinalizerMayMakeAnObject) {
    static ObjectArray* parents;
    parents = newObjectArray(cid::Object, Parent::kMany);
    rt::GlobalRef root(parents);
    runOnJavaThread([](void*) {
        for (jint i = 0; i < Parent::kMany; ++i) parents->data()[i] = newObject<Parent>();
    });
    // The parents are dropped and collected on a thread of their own, so
    // that no stack keeps the objects their finalizers make.
    static int listed;
    listed = 0;
    runOnJavaThread([](void*) {
        for (jint i = 0; i < Parent::kMany; ++i) parents->data()[i] = nullptr;
        Parent::s_count = 0;
        ObjectManager::instance()->gc(ObjectManager::kForced);
        for (int i = 0; i < Parent::s_count; ++i) {
            auto* child = static_cast<Cell*>(Parent::s_made[i]);
            listed += ObjectManager::instance()->isRegistered(child) && child->m_value == 77;
        }
    });
    EXPECT_EQ(Parent::s_count, Parent::kMany);
    EXPECT_EQ(listed, Parent::s_count);
    const int finalizedBefore = g_finalized.load();
    for (Object*& made : Parent::s_made) made = nullptr;
    scrubStack();
    collect();
    // Unreferenced now, they go (a stale word may keep one or two).
    EXPECT_GE(g_finalized.load(), finalizedBefore + Parent::s_count - 2);
    EXPECT_TRUE(heap().checkConsistency());
}

// The newest object's address, inverted, so that no scanned word keeps it.
uintptr_t g_newestHidden = 0;

template <typename T>
[[gnu::noinline]] uintptr_t madeHidden() {
    return ~reinterpret_cast<uintptr_t>(newObject<T>());
}

[[gnu::noinline]] void makeCellThenMaybeBulky(bool bulky) {
    g_newestHidden = madeHidden<Cell>();
    if (bulky) g_newestHidden = madeHidden<Bulky>();
}

struct ShortageRun {
    bool bulky;
    bool newestKept;
};

// On its own thread, so that nothing of it stays on a stack afterwards.
void collectForShortageAfterMaking(void* arg) {
    auto* run = static_cast<ShortageRun*>(arg);
    makeCellThenMaybeBulky(run->bulky);
    scrubStack();
    ObjectManager::instance()->gc(ObjectManager::kForced | ObjectManager::kKeepNewest);
    run->newestKept = ObjectManager::instance()->isRegistered(reinterpret_cast<Object*>(~g_newestHidden));
}

TEST_F(AllocBuffers, ShortageCollectionKeepsTheCallersNewestObject) {
    for (bool bulky : {false, true}) {
        SCOPED_TRACE(bulky ? "a large object last" : "a buffer object last");
        ShortageRun run{bulky, false};
        runOnJavaThread(&collectForShortageAfterMaking, &run);
        // Nothing else refers to it: kept only as the caller's newest (the
        // large object goes to the list before the cell's batch does).
        EXPECT_TRUE(run.newestKept);
    }
}

// --- the heap's side ---------------------------------------------------------

TEST(HeapBuffers, SplittingAndReturningKeepTheTiling) {
    constexpr size_t W = sizeof(void*);
    MemoryManager heap(8192, false);
    void* before = heap.alloc(40);
    size_t taken = 0;
    char* buffer = heap.takeBuffer(1024 - W, taken);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(taken, 1024u);
    void* after = heap.alloc(40);
    ASSERT_TRUE(before && after);
    char* cur = buffer;
    char* end = buffer + taken;
    size_t added = 0;
    std::vector<void*> objects;
    // Blocks of 48 bytes; the last one takes a remainder too small to stay
    // a block.
    while (static_cast<size_t>(end - cur) >= 48) objects.push_back(MemoryManager::splitBuffer(cur, end, 48, added));
    EXPECT_EQ(cur, end);
    EXPECT_EQ(objects.size(), 1024u / 48);
    EXPECT_EQ(heap.blockSize(objects.back()), 48 + 1024 % 48 - W);
    EXPECT_EQ(added, objects.size() - 1);
    heap.returnBuffer(cur, end, added);
    EXPECT_TRUE(heap.checkConsistency());
    for (void* p : objects) EXPECT_TRUE(heap.free(p));
    EXPECT_TRUE(heap.checkConsistency());

    // A partly used buffer: its remainder goes back and coalesces.
    char* second = heap.takeBuffer(1024 - W, taken);
    ASSERT_NE(second, nullptr);
    cur = second;
    end = second + taken;
    added = 0;
    void* one = MemoryManager::splitBuffer(cur, end, 48, added);
    EXPECT_EQ(added, 1u);
    heap.returnBuffer(cur, end, added);
    EXPECT_TRUE(heap.checkConsistency());
    EXPECT_EQ(heap.blockSize(one), 48 - W);
    EXPECT_TRUE(heap.free(one));
    heap.free(before);
    heap.free(after);
    EXPECT_TRUE(heap.checkConsistency());
    EXPECT_EQ(heap.blockCount(), 1u);
    EXPECT_EQ(heap.bytesInUse(), 0u);
}

// The free path looks for the next free block by walking the blocks above
// the freed one, and that walk crosses a buffer whose owner splits it
// without the lock at the same moment. Here one thread keeps freeing and
// taking back the block just below the buffers while this one fills,
// returns and empties buffers right above it; the walk must step over the
// owner's fresh headers, never into an object.
TEST(HeapBuffers, FreeingBelowABufferWhileItsOwnerSplitsKeepsTheTiling) {
    constexpr size_t W = sizeof(void*);
    constexpr size_t kObject = 48;
    MemoryManager heap(64 * 1024, false);
    void* below = heap.alloc(40);
    ASSERT_NE(below, nullptr);
    std::atomic<bool> done{false};
    std::atomic<bool> broken{false};
    std::atomic<long> frees{0};
    std::thread freer([&] {
        while (!done.load()) {
            if (!heap.free(below) || !(below = heap.alloc(40))) {
                broken = true;
                return;
            }
            frees.fetch_add(1);
            std::this_thread::yield();
        }
    });
    auto stopFreer = [&] {
        done = true;
        if (freer.joinable()) freer.join();
    };
    // The rounds start once the freer runs.
    while (!broken.load() && frees.load() == 0) std::this_thread::yield();
    bool ok = true;
    std::vector<void*> objects;
    for (int round = 0; ok && round < 300; ++round) {
        size_t taken = 0;
        char* buffer = heap.takeBuffer(1024 - W, taken);
        ok = buffer != nullptr;
        if (!ok) break;
        char* cur = buffer;
        char* end = buffer + taken;
        size_t added = 0;
        objects.clear();
        while (static_cast<size_t>(end - cur) >= kObject) {
            objects.push_back(MemoryManager::splitBuffer(cur, end, kObject, added));
            if (objects.size() % 4 == 0) std::this_thread::yield();
        }
        heap.returnBuffer(cur, end, added);
        for (void* p : objects) ok = heap.free(p) && ok;
    }
    stopFreer();
    ASSERT_TRUE(ok);
    ASSERT_FALSE(broken.load());
    EXPECT_TRUE(heap.checkConsistency());
    heap.free(below);
    EXPECT_TRUE(heap.checkConsistency());
    EXPECT_EQ(heap.blockCount(), 1u);
    EXPECT_EQ(heap.bytesInUse(), 0u);
}

TEST(HeapBuffers, TheMovableHeapHandsOutNoBuffers) {
    MemoryManager data(8192, true);
    size_t taken = 1;
    EXPECT_EQ(data.takeBuffer(1024, taken), nullptr);
    EXPECT_EQ(taken, 0u);
}

}  // namespace

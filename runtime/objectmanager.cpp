// Object list, allocation entry points and the mark-and-sweep collector.
#include "runtime/objectmanager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/javathread.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/threads.h"

namespace {

thread_local bool t_inCollection = false;
// The collecting thread holds the list lock for the mark and the sweep; an
// object a finalizer makes is listed under that hold.
thread_local bool t_holdsList = false;

uint32_t defaultTick() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}
uint32_t (*g_tickSource)() = defaultTick;

void defaultFatal(const char* message) {
    logPrintf("FATAL: %s", message);
    fflush(stdout);
    std::_Exit(3);
}
rt::FatalHandler g_fatal = defaultFatal;

constexpr size_t kWord = sizeof(void*);
constexpr size_t kBufferBytes = 16384;
constexpr size_t kMinBufferBytes = 512;
constexpr size_t kBitmapSpan = 64 * kWord;  // heap bytes one start-bitmap word covers

}  // namespace

void ObjectManager::setTickSource(uint32_t (*source)()) { g_tickSource = source ? source : defaultTick; }
uint32_t ObjectManager::tickMs() { return g_tickSource(); }

ObjectManager::ObjectManager(Application* app)
    : m_app(app), m_heap(&app->objectHeap()), m_threads(&app->threads()) {
    m_starts.assign(m_heap->heapSize() / kWord / 64 + 1, 0);
    m_objects.reserve(4096);
    m_markStack.reserve(1024);
    // Buffers of 16 KB, 1/64 of a smaller heap, so that a full thread table
    // keeps at most a quarter of the heap in buffers; none below 512 bytes.
    m_bufferBytes = std::min<size_t>(kBufferBytes, m_heap->heapSize() / 64) / kWord * kWord;
    if (m_bufferBytes < kMinBufferBytes) m_bufferBytes = 0;
    m_bufferObjectLimit = m_bufferBytes / 4;
    // Buffer objects are found by the look-up window like any other.
    if (m_bufferObjectLimit) m_maxObjectBlock = m_heap->needFor(m_bufferObjectLimit) + MemoryManager::kMinBlock;
    app->threads().setLeaveHook(&ObjectManager::leaveTable, this);
}

ObjectManager::~ObjectManager() { m_app->threads().setLeaveHook(nullptr, nullptr); }

ObjectManager* ObjectManager::instance() {
    Application* app = Application::instance();
    return app ? &app->objects() : nullptr;
}

// Slow-path registration may share a bitmap word with a thread buffer's
// objects, whose owner sets bits without the list lock.
void ObjectManager::setStartShared(const void* p) {
    size_t g = static_cast<size_t>(static_cast<const char*>(p) - m_heap->base()) / kWord;
    std::atomic_ref<uint64_t>(m_starts[g / 64]).fetch_or(uint64_t(1) << (g % 64), std::memory_order_relaxed);
}

// Plain writes: a stopped world (sweep) or a word no other thread writes.
void ObjectManager::setStart(const void* p, bool on) {
    size_t g = static_cast<size_t>(static_cast<const char*>(p) - m_heap->base()) / kWord;
    if (on) m_starts[g / 64] |= uint64_t(1) << (g % 64);
    else m_starts[g / 64] &= ~(uint64_t(1) << (g % 64));
}

bool ObjectManager::testStart(const void* p) const {
    if (!m_heap->owns(p)) return false;
    size_t off = static_cast<size_t>(static_cast<const char*>(p) - m_heap->base());
    if (off % kWord) return false;
    size_t g = off / kWord;
    return (m_starts[g / 64] >> (g % 64)) & 1;
}

bool ObjectManager::isRegistered(const Object* object) const { return testStart(object); }

Object* ObjectManager::findObject(const void* p) const {
    if (!m_heap->owns(p)) return nullptr;
    const char* base = m_heap->base();
    size_t g = static_cast<size_t>(static_cast<const char*>(p) - base) / kWord;
    size_t window = m_maxObjectBlock / kWord + 1;
    size_t lowest = g >= window ? g - window : 0;
    size_t w = g / 64;
    unsigned b = g % 64;
    uint64_t bits = m_starts[w] & (b == 63 ? ~uint64_t(0) : ((uint64_t(1) << (b + 1)) - 1));
    for (;;) {
        if (bits) {
            size_t s = w * 64 + 63 - static_cast<size_t>(__builtin_clzll(bits));
            if (s < lowest) return nullptr;
            const char* obj = base + s * kWord;
            if (static_cast<const char*>(p) < obj + m_heap->blockSize(obj))
                return reinterpret_cast<Object*>(const_cast<char*>(obj));
            return nullptr;
        }
        if (w == 0 || w * 64 < lowest) return nullptr;
        --w;
        bits = m_starts[w];
    }
}

void ObjectManager::registerObject(Object* object, size_t blockBytes) {
    std::unique_lock<std::mutex> lock(m_listLock, std::defer_lock);
    if (!t_holdsList) lock.lock();
    m_objects.push_back(object);
    setStartShared(object);
    if (blockBytes > m_maxObjectBlock) m_maxObjectBlock = blockBytes;
}

size_t ObjectManager::objectCount() const {
    std::lock_guard<std::mutex> lock(m_listLock);
    size_t n = m_objects.size();
    rt::ThreadTable& table = m_app->threads();
    std::lock_guard<std::mutex> tableLock(table.lock());
    table.forEachUsed([&](rt::ThreadContext& c) {
        n += std::atomic_ref<uint32_t>(c.alloc.pendingCount).load(std::memory_order_relaxed);
    });
    return n;
}

void* ObjectManager::allocObject(size_t size, bool untracked) {
#ifndef BRAMBLE_GC_STRESS
    // The common case first: room in the calling thread's buffer.
    if (!untracked && size <= m_bufferObjectLimit) {
        rt::ThreadContext* c = rt::currentContext();
        if (c && c->table == m_threads && !t_inCollection && !m_threads->stopRequested()) {
            rt::AllocBuffer& b = c->alloc;
            const size_t need = m_heap->needFor(size);
            if (static_cast<size_t>(b.end - b.cur) >= need && b.pendingCount < rt::AllocBuffer::kPending)
                return splitFromBuffer(b, need);
        }
    }
#endif
    return allocObjectSlow(size, untracked);
}

void* ObjectManager::allocObjectSlow(size_t size, bool untracked) {
    if (untracked) return rt::allocDataBuffer(size);
    if (!t_inCollection) {
        if (m_app->threads().stopRequested()) {
            BlockingRegion region;  // safe point: park while a collection runs
        }
#ifdef BRAMBLE_GC_STRESS
        gc(kForced);
#endif
        if (size <= m_bufferObjectLimit) {
            rt::ThreadContext* c = rt::currentContext();
            if (c && c->table == &m_app->threads()) {
                if (void* p = allocFromBuffer(*c, size)) return p;
            }
        }
    }
    return allocSlow(size);
}

void* ObjectManager::allocSlow(size_t size) {
    void* p = t_inCollection ? m_heap->allocNoCollect(size) : m_heap->alloc(size);
    if (!p) {
        char message[96];
        snprintf(message, sizeof message, "object heap exhausted (%zu bytes requested)", size);
        rt::fatal(message);
    }
    std::memset(p, 0, size);
    registerObject(static_cast<Object*>(p), m_heap->blockSize(p));
    rt::ThreadContext* c = rt::currentContext();
    if (c && c->table == m_threads) c->alloc.newest = static_cast<Object*>(p);
    return p;
}

// The owner's fast path: no lock, no clearing (the buffer was zeroed when
// taken, and a split writes only the next block's header, never into a
// user area).
void* ObjectManager::allocFromBuffer(rt::ThreadContext& c, size_t size) {
    rt::AllocBuffer& b = c.alloc;
    const size_t need = m_heap->needFor(size);
    if (static_cast<size_t>(b.end - b.cur) < need || b.pendingCount == rt::AllocBuffer::kPending) {
        if (!refillBuffer(c, need)) return nullptr;
    }
    return splitFromBuffer(b, need);
}

inline void* ObjectManager::splitFromBuffer(rt::AllocBuffer& b, size_t need) {
    void* p = MemoryManager::splitBuffer(b.cur, b.end, need, b.addedBlocks);
    const size_t g = static_cast<size_t>(static_cast<char*>(p) - m_heap->base()) / kWord;
    const size_t w = g / 64;
    const uint64_t bit = uint64_t(1) << (g % 64);
    if (w >= b.ownWordLo && w < b.ownWordHi) m_starts[w] |= bit;
    else std::atomic_ref<uint64_t>(m_starts[w]).fetch_or(bit, std::memory_order_relaxed);
    b.newest = static_cast<Object*>(p);
    b.pending[b.pendingCount] = static_cast<Object*>(p);
    std::atomic_ref<uint32_t>(b.pendingCount).store(b.pendingCount + 1, std::memory_order_relaxed);
    return p;
}

bool ObjectManager::refillBuffer(rt::ThreadContext& c, size_t need) {
    rt::AllocBuffer& b = c.alloc;
    if (b.pendingCount == rt::AllocBuffer::kPending) {
        std::lock_guard<std::mutex> lock(m_listLock);
        takePendingLocked(b);
    }
    if (static_cast<size_t>(b.end - b.cur) >= need) return true;
    releaseBlock(b);
    size_t taken = 0;
    char* block = m_heap->takeBuffer(m_bufferBytes - kWord, taken);
    if (!block) return false;  // the locked path collects and tries again
    std::memset(block + kWord, 0, taken - kWord);
    b.cur = block;
    b.end = block + taken;
    const size_t lo = static_cast<size_t>(block - m_heap->base());
    b.ownWordLo = (lo + kBitmapSpan - 1) / kBitmapSpan;
    b.ownWordHi = (lo + taken) / kBitmapSpan;
    return true;
}

void ObjectManager::takePendingLocked(rt::AllocBuffer& b) {
    m_objects.insert(m_objects.end(), b.pending, b.pending + b.pendingCount);
    std::atomic_ref<uint32_t>(b.pendingCount).store(0, std::memory_order_relaxed);
}

void ObjectManager::releaseBlock(rt::AllocBuffer& b) {
    m_heap->returnBuffer(b.cur, b.end, b.addedBlocks);
    b.cur = b.end = nullptr;
    b.addedBlocks = 0;
    b.ownWordLo = b.ownWordHi = 0;
}

void ObjectManager::returnBuffer(rt::AllocBuffer& b) {
    if (b.pendingCount) {
        std::lock_guard<std::mutex> lock(m_listLock);
        takePendingLocked(b);
    }
    releaseBlock(b);
    b.newest = nullptr;
}

void ObjectManager::takeBackBuffers() {
    rt::ThreadContext* self = rt::currentContext();
    auto takeBack = [&](rt::AllocBuffer& b) {
        takePendingLocked(b);
        releaseBlock(b);
    };
    rt::ThreadTable& table = m_app->threads();
    table.forEachUsed([&](rt::ThreadContext& c) {
        if (&c != self) takeBack(c.alloc);
    });
    // The caller's objects last: the newest registered object is its own.
    if (self && self->table == &table) takeBack(self->alloc);
}

void ObjectManager::leaveTable(void* self, rt::ThreadContext& c) {
    static_cast<ObjectManager*>(self)->returnBuffer(c.alloc);
}

void ObjectManager::freeObject(void* p) {
    if (!p) return;
    if (m_app->dataHeap().free(p)) return;
    if (m_heap->free(p)) return;
    std::free(p);
}

void ObjectManager::addRoot(Object** slot) {
    std::lock_guard<std::mutex> lock(m_rootLock);
    m_extraRoots.push_back(slot);
}

void ObjectManager::removeRoot(Object** slot) {
    std::lock_guard<std::mutex> lock(m_rootLock);
    auto it = std::find(m_extraRoots.begin(), m_extraRoots.end(), slot);
    if (it != m_extraRoots.end()) m_extraRoots.erase(it);
}

void ObjectManager::collectForShortage() { gc(kForced | kKeepNewest); }

void ObjectManager::runWithWorldStopped(const std::function<void()>& fn) {
    if (t_inCollection) {
        fn();
        return;
    }
    rt::lockAtSafePoint(m_gcLock);
    t_inCollection = true;
    m_app->threads().stopOthers();
    fn();
    m_app->threads().resumeOthers();
    t_inCollection = false;
    m_gcLock.unlock();
}

void ObjectManager::holdOtherThreads() {
    rt::lockAtSafePoint(m_gcLock);  // parked while another collection runs
    m_app->threads().holdOthers();
    m_gcLock.unlock();
}

// --- collection -------------------------------------------------------------

void ObjectManager::gc(int flags) {
    if (t_inCollection) return;  // a finalizer allocating during a sweep
    MethodScope method("ObjectManager::gc()");
    rt::lockAtSafePoint(m_gcLock);  // parked while another collection runs
    const uint32_t now = tickMs();
    if (flags == kThrottled && m_everCollected && now - m_lastGcTick < kThrottleMs) {
        m_gcLock.unlock();
        return;
    }
    m_lastGcTick = now;
    m_everCollected = true;
    t_inCollection = true;
    m_app->threads().stopOthers();
    {
        std::lock_guard<std::mutex> lock(m_listLock);
        t_holdsList = true;
        takeBackBuffers();
        for (Object* o : m_objects) o->setMarked(false);
        if (flags & kFinal) {
            for (Object* o : m_objects) o->setCollectable(true);
        } else {
            markRoots(flags);
        }
        sweep();
        t_holdsList = false;
    }
    ++m_collections;
    m_lastGcTick = tickMs();
    m_app->threads().resumeOthers();
    t_inCollection = false;
    m_gcLock.unlock();
}

void ObjectManager::mark(Object* object) {
    markCandidate(object);
    drainMarkStack();
}

void ObjectManager::markCandidate(const void* p) {
    if (!p) return;
    Object* o = testStart(p) ? reinterpret_cast<Object*>(const_cast<void*>(p)) : findObject(p);
    if (!o || o->isMarked()) return;
    o->setMarked(true);
    if (o->classId() == cid::ObjectArray) {
        m_markStack.push_back(o);
        return;
    }
    if (o->classId() < cid::kCount) {
        const Class* record = m_app->statics().classById(o->classId());
        if (record && record->m_refCount > 0) m_markStack.push_back(o);
    }
}

void ObjectManager::drainMarkStack() {
    while (!m_markStack.empty()) {
        Object* o = m_markStack.back();
        m_markStack.pop_back();
        if (o->classId() == cid::ObjectArray) {
            // Read through the base: an array still being constructed (its
            // elements being allocated) is not yet an ObjectArray.
            auto* array = static_cast<ArrayBase*>(o);
            auto** elements = static_cast<Object**>(array->rawElements());
            for (jint i = 0; elements && i < array->length(); ++i) markCandidate(elements[i]);
            continue;
        }
        const Class* record = m_app->statics().classById(o->classId());
        const char* base = reinterpret_cast<const char*>(o);
        for (jint i = 0; i < record->m_refCount; ++i) {
            void* field;
            std::memcpy(&field, base + record->m_refOffsets[i], sizeof field);
            markCandidate(field);
        }
    }
}

__attribute__((no_sanitize_address)) void ObjectManager::scanRange(const void* from, const void* to) {
    uintptr_t lo = (reinterpret_cast<uintptr_t>(from) + kWord - 1) & ~(kWord - 1);
    uintptr_t hi = reinterpret_cast<uintptr_t>(to);
    for (uintptr_t a = lo; a + kWord <= hi; a += kWord) {
        const void* word = *reinterpret_cast<const void* const*>(a);
        if (m_heap->owns(word)) markCandidate(word);
    }
    drainMarkStack();
}

void ObjectManager::scanThreadStacks() {
    rt::ThreadContext* self = rt::currentContext();
    rt::SpilledRegisters spill;
    rt::spillRegisters(spill);
    m_app->threads().forEachUsed([&](rt::ThreadContext& c) {
        if (!c.started || !c.stackTop) return;
        const void* low = &c == self ? spill.sp : c.savedSp;
        if (low && low < c.stackTop) scanRange(low, c.stackTop);
    });
    if (self) scanRange(&spill, &spill + 1);
}

void ObjectManager::markRoots(int flags) {
    StaticClass& statics = m_app->statics();
    for (Object** slot : statics.rootSlots()) {
        if (slot) markCandidate(*slot);
    }
    markCandidate(statics.m_stringPool);
    for (int i = 0; i < Application::kRootSlots; ++i) markCandidate(m_app->rootSlots()[i]);
    {
        std::lock_guard<std::mutex> lock(m_rootLock);
        for (Object** slot : m_extraRoots) markCandidate(*slot);
    }
    m_app->threads().forEachUsed([&](rt::ThreadContext& c) {
        markCandidate(c.thread);
        markCandidate(c.pending);
    });
    drainMarkStack();
    scanThreadStacks();
    if (flags & kKeepNewest) {
        // The object the caller was building when its heap ran short: its
        // own newest (the list's order mixes threads and buffer batches).
        rt::ThreadContext* self = rt::currentContext();
        if (self && self->table == m_threads && self->alloc.newest) markCandidate(self->alloc.newest);
        else if (!m_objects.empty()) markCandidate(m_objects.back());
    }
    drainMarkStack();
}

void ObjectManager::sweep() {
    m_dead.clear();
    for (size_t i = m_objects.size(); i-- > 0;) {
        Object* o = m_objects[i];
        if (o->isMarked() || !o->isCollectable()) continue;
        m_dead.push_back(o);
        m_objects[i] = m_objects.back();
        m_objects.pop_back();
    }
    // Every finalizer runs before any block is freed.
    rt::MonitorTable& monitors = m_app->monitors();
    for (Object* o : m_dead) {
        void* vptr;
        std::memcpy(&vptr, static_cast<const void*>(o), sizeof vptr);
        if (vptr) o->finalize();
        if (o->hasMonitor()) monitors.release(o);
    }
    for (Object* o : m_dead) {
        o->markFreed();
        setStart(o, false);
        if (!m_heap->free(o)) std::free(o);
    }
    m_lastSwept = m_dead.size();
    m_dead.clear();
}

// --- data buffers and helpers --------------------------------------------

namespace rt {

void* allocDataBuffer(size_t bytes) {
    Application* app = Application::instance();
    void* p = nullptr;
    if (app) {
        if (app->threads().stopRequested() && !t_inCollection) {
            BlockingRegion region;
        }
#ifdef BRAMBLE_GC_STRESS
        if (!t_inCollection) app->objects().gc(ObjectManager::kForced);
#endif
        MemoryManager& heap = app->dataHeap();
        p = t_inCollection ? heap.allocNoCollect(bytes) : heap.alloc(bytes);
    }
    if (p) {
        std::memset(p, 0, bytes);
        return p;
    }
    return std::calloc(bytes ? bytes : 1, 1);
}

void freeDataBuffer(void* p) {
    if (!p) return;
    if (Application* app = Application::instance()) {
        if (app->dataHeap().free(p)) return;
        if (app->objectHeap().free(p)) return;
    }
    std::free(p);
}

void registerOwner(void** slot) {
    if (!slot || !*slot) return;
    if (Application* app = Application::instance()) app->dataHeap().registerOwnerSlot(*slot, slot);
}

void fatal(const char* message) {
    g_fatal(message);
    std::_Exit(3);  // a handler that returns still stops the program
}

void setFatalHandler(FatalHandler handler) { g_fatal = handler ? handler : defaultFatal; }

GlobalRef::GlobalRef(Object* object) : m_object(object) {
    if (ObjectManager* om = ObjectManager::instance()) {
        om->addRoot(&m_object);
        m_registered = true;
    }
}

GlobalRef::~GlobalRef() {
    if (!m_registered) return;
    if (ObjectManager* om = ObjectManager::instance()) om->removeRoot(&m_object);
}

}  // namespace rt

void* rt::allocObjectBlock(size_t bytes) {
    ObjectManager* om = ObjectManager::instance();
    if (!om) rt::fatal("object allocated without an application");
    return om->allocObject(bytes);
}

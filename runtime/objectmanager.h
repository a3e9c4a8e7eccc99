// Object manager: the list of every collectable object and the stop-the-
// world mark-and-sweep collector.
//
// Roots: precise for the statics block's root slots, the string pool, the
// application's object slots, roots that native code registered, every
// thread's Thread object and pending exception; conservative for the
// stacks (and spilled registers) of every attached thread. A stack word
// that points anywhere inside a registered object keeps it alive; the
// look-up goes through a bitmap of object starts, never a list search.
// The stack scan races on purpose with non-reference words a parked thread
// (or a native object on its stack) may still be writing; it is outside
// the sanitizers' watch (scanRange).
//
// The sweep finalizes every unreachable object first and frees the blocks
// afterwards; the monitor entry of every swept object is released.
//
// Allocation: a thread in the table splits small objects off its own object
// buffer (rt::AllocBuffer, carved from the object heap and zeroed when
// taken) without a lock, sets the object's start bit at once, and hands the
// object to the list in batches. Every collection takes all buffers back
// (their pending objects join the list, their remainders return to the
// heap) while the other threads are stopped, so the mark and the sweep see
// one list and a heap without buffers; a thread leaving the table returns
// its own. Larger objects, threads outside the table and allocations during
// a collection take the locked path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "runtime/heap.h"
#include "runtime/object.h"
#include "runtime/threads.h"

class Application;

class ObjectManager : public MemoryManager::ShortageHandler {
public:
    enum GcFlags : int {
        kThrottled = 0,    // skipped within kThrottleMs of the last collection
        kForced = 1,
        kFinal = 2,        // sweep every registered object (application close)
        kRequested = 4,    // forced, asked for by the application
        kKeepNewest = 8,   // also keep the caller's most recently made object
    };
    static constexpr uint32_t kThrottleMs = 2000;

    explicit ObjectManager(Application* app);
    ~ObjectManager() override;
    ObjectManager(const ObjectManager&) = delete;
    ObjectManager& operator=(const ObjectManager&) = delete;

    static ObjectManager* instance();

    // untracked = false: zeroed object-heap block, registered (never null:
    // an exhausted object heap stops the program). untracked = true: zeroed
    // data buffer from the data heap or the C heap, not registered.
    void* allocObject(size_t size, bool untracked = false);
    // Returns a block to whichever heap owns it, else to the C heap.
    void freeObject(void* p);

    void gc(int flags);
    // Tear-down: stops every other thread for good (see
    // ThreadTable::holdOthers). Takes the collector's lock first, as a
    // collection does, so the two never wait for each other.
    void holdOtherThreads();
    // Marks object and everything reachable from it (collection only).
    void mark(Object* object);
    // Conservative scan of [from, to).
    void scanRange(const void* from, const void* to);
    // The registered object whose block contains p, or null.
    Object* findObject(const void* p) const;
    bool isRegistered(const Object* object) const;

    // Native code that keeps Java objects in C++ state registers the slot.
    void addRoot(Object** slot);
    void removeRoot(Object** slot);

    // Registered objects, those still pending in thread buffers included.
    size_t objectCount() const;
    // Thread-buffer sizing (object heap bytes per buffer, largest object
    // taken from a buffer).
    size_t bufferBytes() const { return m_bufferBytes; }
    size_t bufferObjectLimit() const { return m_bufferObjectLimit; }
    uint64_t collections() const { return m_collections; }
    size_t lastSweptCount() const { return m_lastSwept; }

    // MemoryManager::ShortageHandler
    void collectForShortage() override;
    void runWithWorldStopped(const std::function<void()>& fn) override;

    // Time source (milliseconds) for the throttle; tests install their own.
    static void setTickSource(uint32_t (*source)());
    static uint32_t tickMs();

private:
    void registerObject(Object* object, size_t size);
    [[gnu::noinline]] void* allocObjectSlow(size_t size, bool untracked);
    void* allocSlow(size_t size);
    void* splitFromBuffer(rt::AllocBuffer& b, size_t need);
    void* allocFromBuffer(rt::ThreadContext& c, size_t size);
    bool refillBuffer(rt::ThreadContext& c, size_t need);
    // Caller holds m_listLock.
    void takePendingLocked(rt::AllocBuffer& b);
    // The buffer's remainder back to the heap (pending objects stay).
    void releaseBlock(rt::AllocBuffer& b);
    void returnBuffer(rt::AllocBuffer& b);
    // World stopped, m_listLock held: every thread's buffer, the caller's last.
    void takeBackBuffers();
    static void leaveTable(void* self, rt::ThreadContext& c);
    void markRoots(int flags);
    void markCandidate(const void* p);
    void drainMarkStack();
    void sweep();
    void scanThreadStacks();
    void setStart(const void* p, bool on);
    void setStartShared(const void* p);
    bool testStart(const void* p) const;

    Application* m_app;
    MemoryManager* m_heap;   // the object heap
    rt::ThreadTable* m_threads;
    std::vector<Object*> m_objects;
    std::vector<uint64_t> m_starts;    // one bit per word of the object heap
    size_t m_maxObjectBlock = 0;
    size_t m_bufferBytes = 0;
    size_t m_bufferObjectLimit = 0;
    std::vector<Object*> m_markStack;
    std::vector<Object*> m_dead;
    std::vector<Object**> m_extraRoots;
    mutable std::mutex m_listLock;
    std::mutex m_gcLock;
    std::mutex m_rootLock;
    uint32_t m_lastGcTick = 0;
    bool m_everCollected = false;
    uint64_t m_collections = 0;
    size_t m_lastSwept = 0;
};

namespace rt {
// A zeroed buffer from the data heap, else from the C heap. The caller
// registers an owner slot when the block lies in the data heap
// (registerOwner), or the block is never moved.
void* allocDataBuffer(size_t bytes);
void freeDataBuffer(void* p);
// Records slot as the owner of the data-heap block it points at (nothing
// for other blocks).
void registerOwner(void** slot);
// Exhausted object heap: the log line, then the fatal handler.
[[noreturn]] void fatal(const char* message);
using FatalHandler = void (*)(const char* message);
// The default handler flushes the log and ends the process with status 3.
void setFatalHandler(FatalHandler handler);

// Keeps a Java object alive while a native C++ structure refers to it.
class GlobalRef {
public:
    explicit GlobalRef(Object* object = nullptr);
    ~GlobalRef();
    GlobalRef(const GlobalRef&) = delete;
    GlobalRef& operator=(const GlobalRef&) = delete;
    Object* get() const { return m_object; }
    void set(Object* object) { m_object = object; }

private:
    Object* m_object;
    bool m_registered = false;
};
}  // namespace rt

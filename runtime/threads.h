// Threads: the thread table (at most 8 Java threads plus attached native
// threads), per-thread runtime state, and the stop-the-world protocol.
//
// Stopping the world: a collecting thread sets the stop-requested flag and
// waits until every other registered thread is parked. Threads park only at
// safe points: inside a BlockingRegion (sleep, monitor enter and wait, every
// blocking native call), and at allocation when a stop is requested. On
// entering a region a thread spills its callee-saved registers into its own
// frame and publishes its stack pointer, so the collector scans
// [saved stack pointer, stack top) of a parked thread and sees every
// reference it holds. On leaving, the thread waits while a collection runs.
// A parked thread keeps running native code but must not touch Java objects
// (nor hold array element or string character pointers) until it leaves.
//
// Native threads that are not Java threads (audio callbacks, helpers) touch
// Java objects only inside an AttachScope.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "runtime/object.h"

class java_lang_Thread;

namespace rt {

// Callee-saved registers and the stack pointer, captured in the frame of the
// function that parks (the capture must be inlined into that frame).
struct SpilledRegisters {
    uintptr_t regs[8];
    void* sp;
};

[[gnu::always_inline]] inline void spillRegisters(SpilledRegisters& s) {
#if defined(__x86_64__)
    asm volatile(
        "movq %%rbx, 0(%0)\n\t"
        "movq %%rbp, 8(%0)\n\t"
        "movq %%r12, 16(%0)\n\t"
        "movq %%r13, 24(%0)\n\t"
        "movq %%r14, 32(%0)\n\t"
        "movq %%r15, 40(%0)\n\t"
        "movq %%rsp, 48(%0)\n\t"
        :
        : "r"(s.regs)
        : "memory");
    s.sp = reinterpret_cast<void*>(s.regs[6]);
#elif defined(__aarch64__)
    asm volatile(
        "stp x19, x20, [%0, #0]\n\t"
        "stp x21, x22, [%0, #16]\n\t"
        "stp x23, x24, [%0, #32]\n\t"
        "stp x25, x26, [%0, #48]\n\t"
        :
        : "r"(s.regs)
        : "memory");
    void* sp;
    asm volatile("mov %0, sp" : "=r"(sp));
    s.sp = sp;
#else
    __builtin_unwind_init();
    s.sp = __builtin_frame_address(0);
#endif
}

class ThreadTable;

// The thread's object buffer: a block of the object heap it splits into
// objects without locks (ObjectManager), and the objects it made there that
// the object list has not taken in yet. Only the owning thread touches it,
// except a collector while the owner is stopped; the pending count is read
// by other threads (object counts) through an atomic view.
struct AllocBuffer {
    static constexpr uint32_t kPending = 64;
    char* cur = nullptr;          // header of the unused remainder
    char* end = nullptr;
    size_t addedBlocks = 0;       // blocks split off since the buffer was taken
    size_t ownWordLo = 0;         // start-bitmap words [lo, hi) that lie wholly
    size_t ownWordHi = 0;         // inside the buffer
    uint32_t pendingCount = 0;
    Object* pending[kPending] = {};
    Object* newest = nullptr;     // the thread's last object, either path (kept on shortage)
};

// Everything the runtime keeps per thread.
struct ThreadContext {
    static constexpr int kMethodStack = 256;

    java_lang_Thread* thread = nullptr;  // Java thread object (null for attached natives)
    ThreadTable* table = nullptr;        // the table this slot belongs to
    bool java = false;                   // counts as one of the 8 Java threads
    uint32_t id = 0;                     // runtime thread id (log lines)
    int nativePriority = 3;              // guarded by the table lock

    // Collector view (guarded by the table lock).
    void* stackTop = nullptr;            // highest address to scan
    void* savedSp = nullptr;             // lowest address to scan while parked
    bool started = false;                // false: nothing on its stack yet
    bool parked = false;
    int blockDepth = 0;                  // nesting of blocking regions

    // Exception state of this thread.
    Object* pending = nullptr;
    jint pendingSite = 0;
    const char* methods[kMethodStack] = {};
    uint32_t methodDepth = 0;            // may exceed kMethodStack; names beyond are not kept

    AllocBuffer alloc;                   // object buffer (returned before the slot is freed)

    void reset() { *this = ThreadContext(); }
};

// The calling thread's context, or null when it is not attached (read on
// every allocation, hence inline).
extern constinit thread_local ThreadContext* t_currentContext;
inline ThreadContext* currentContext() { return t_currentContext; }
void setCurrentContext(ThreadContext* context);

class ThreadTable {
public:
    static constexpr int kMaxJavaThreads = 8;
    static constexpr int kMaxAttached = 8;
    static constexpr int kSlots = kMaxJavaThreads + kMaxAttached;

    ThreadTable() = default;
    ThreadTable(const ThreadTable&) = delete;
    ThreadTable& operator=(const ThreadTable&) = delete;

    // Enters the calling thread (running, stack top given). Java threads take
    // one of the 8 Java slots. Null when no slot is free.
    ThreadContext* attachCurrent(void* stackTop, bool java, java_lang_Thread* thread);
    // Removes the calling thread; waits while a collection runs.
    void detachCurrent();

    // A slot for a Java thread about to be started (parked, not started),
    // with its native priority.
    ThreadContext* reserveJava(java_lang_Thread* thread, int nativePriority);
    void releaseReserved(ThreadContext* context);
    // Run by the new thread itself before it touches Java objects.
    void startRunning(ThreadContext* context, void* stackTop);
    // Run by a Java thread after its run() returned: frees its slot.
    void finishRunning(ThreadContext* context);

    int slotOf(const java_lang_Thread* thread);
    int indexOf(const ThreadContext* context) const { return static_cast<int>(context - m_slots); }
    ThreadContext* contextOf(const java_lang_Thread* thread);
    // The native priority of thread's slot, written and read under the lock
    // (the slot may end or be taken by another thread at any moment);
    // false / -1 when the thread holds no slot.
    bool setNativePriority(const java_lang_Thread* thread, int value);
    int nativePriorityOf(const java_lang_Thread* thread);
    int javaThreadCount();

    // Safe points.
    void park(ThreadContext* context, void* sp);
    void unpark(ThreadContext* context);
    bool tryUnpark(ThreadContext* context);
    bool stopRequested() const { return m_stopRequested.load(std::memory_order_acquire); }

    // Collector side: the caller (attached or not) stops every other thread.
    void stopOthers();
    void resumeOthers();
    // Application tear-down: stops every other thread and keeps those
    // threads stopped for good, whatever becomes of the application; later
    // collections stop and resume the world around them without waking
    // them. Threads attached afterwards are not held. The caller holds the
    // collector's lock (ObjectManager::holdOtherThreads), so a collection
    // running on another thread is never waited for while it waits for us.
    void holdOthers();
    // True when a thread other than the caller holds a slot.
    bool othersInUse();
    // Called by a thread that leaves the table (detach, end of run) before
    // it parks for the last time: the object manager takes back its buffer.
    using LeaveHook = void (*)(void* arg, ThreadContext& context);
    void setLeaveHook(LeaveHook hook, void* arg) {
        m_leaveHook = hook;
        m_leaveArg = arg;
    }
    bool isHeld(const ThreadContext* context) const { return m_held[context - m_slots]; }
    uint64_t generation() const { return m_generation; }

    // Calls fn(context) for each used slot; only while the world is stopped
    // or under lock().
    template <typename F>
    void forEachUsed(F&& fn) {
        for (int i = 0; i < kSlots; ++i)
            if (m_used[i]) fn(m_slots[i]);
    }
    std::mutex& lock() { return m_lock; }

private:
    ThreadContext* takeSlot(bool java);
    // Under m_lock: the thread must stay parked (a stop runs, or it is held).
    bool mustWait(const ThreadContext* c) const {
        return m_stopRequested.load() || (c && m_held[c - m_slots]);
    }

    std::mutex m_lock;
    std::condition_variable m_parkedCv;
    std::condition_variable m_resumeCv;
    std::atomic<bool> m_stopRequested{false};
    uint64_t m_generation = 0;
    ThreadContext m_slots[kSlots];
    bool m_used[kSlots] = {};
    bool m_held[kSlots] = {};
    LeaveHook m_leaveHook = nullptr;
    void* m_leaveArg = nullptr;
};

// Out-of-line halves of BlockingRegion. enterBlocking(spill) is the
// runtime's own entry: on x86-64 it captures the callee-saved registers and
// the caller's stack pointer into `spill` itself, at the call boundary, so
// no reference can sit in a register that the capture missed; elsewhere the
// caller captures them first (captureAndEnterBlocking).
void enterBlocking(SpilledRegisters& spill);
// Parks with registers already captured in `spill`.
void enterBlockingSpilled(const SpilledRegisters& spill);
[[gnu::always_inline]] inline void captureAndEnterBlocking(SpilledRegisters& spill) {
#if !defined(__x86_64__)
    spillRegisters(spill);
#endif
    enterBlocking(spill);
}
void leaveBlocking();
// Leaves the region unless the thread must stay parked (a collection runs,
// or the thread is held); false: still inside the region.
bool tryLeaveBlocking();

}  // namespace rt

// Wrap every call that may block (I/O, waits, message boxes, sleeps):
//   { BlockingRegion blocking; n = ::read(fd, buffer, size); }
// Inside, the collector may run: touch no Java object and hold no element or
// character pointer across it (read into a native buffer, copy afterwards).
class BlockingRegion {
public:
    [[gnu::always_inline]] BlockingRegion() {
        rt::captureAndEnterBlocking(m_spill);
    }
    ~BlockingRegion() { rt::leaveBlocking(); }
    BlockingRegion(const BlockingRegion&) = delete;
    BlockingRegion& operator=(const BlockingRegion&) = delete;

private:
    rt::SpilledRegisters m_spill;
};

namespace rt {
// Takes `mutex` at a safe point. A thread that has to wait for it waits
// inside a blocking region, and never comes out of that region holding it
// while it must stay parked: then it lets go, waits, and tries again. So a
// thread held for good at tear-down, or stopped for a collection, never
// keeps a lock that the tear-down or the collecting thread needs.
template <typename Mutex>
[[gnu::noinline]] void lockAtSafePoint(Mutex& mutex) {
    if (mutex.try_lock()) return;
    for (;;) {
        SpilledRegisters spill;
        captureAndEnterBlocking(spill);
        mutex.lock();
        if (tryLeaveBlocking()) return;
        mutex.unlock();
        leaveBlocking();
    }
}
}  // namespace rt

// A native thread that is not a Java thread (audio callback, helper thread)
// wraps its use of Java objects in an AttachScope. Nothing is attached when
// the calling thread already is, or when there is no application.
class AttachScope {
public:
    [[gnu::always_inline]] AttachScope() { attach(__builtin_frame_address(0)); }
    ~AttachScope();
    bool attached() const { return m_attached; }
    AttachScope(const AttachScope&) = delete;
    AttachScope& operator=(const AttachScope&) = delete;

private:
    void attach(void* stackTop);
    bool m_attached = false;
};

// Safe point for long loops that neither allocate nor block.
void safepoint();

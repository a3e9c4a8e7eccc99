// Thread table, safe points and the stop-the-world handshake.
#include "runtime/threads.h"

#include <cstddef>

#include "runtime/application.h"
#include "runtime/javathread.h"
#include "runtime/log.h"

namespace rt {

constinit thread_local ThreadContext* t_currentContext = nullptr;

void setCurrentContext(ThreadContext* context) { t_currentContext = context; }

ThreadContext* ThreadTable::takeSlot(bool java) {
    int javaUsed = 0;
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && m_slots[i].java) ++javaUsed;
    int attachedUsed = 0;
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && !m_slots[i].java) ++attachedUsed;
    if (java ? javaUsed >= kMaxJavaThreads : attachedUsed >= kMaxAttached) return nullptr;
    for (int i = 0; i < kSlots; ++i) {
        if (!m_used[i]) {
            m_used[i] = true;
            m_slots[i].reset();
            m_slots[i].java = java;
            m_slots[i].table = this;
            return &m_slots[i];
        }
    }
    return nullptr;
}

ThreadContext* ThreadTable::attachCurrent(void* stackTop, bool java, java_lang_Thread* thread) {
    std::unique_lock<std::mutex> lock(m_lock);
    while (m_stopRequested.load()) m_resumeCv.wait(lock);
    ThreadContext* c = takeSlot(java);
    if (!c) return nullptr;
    c->thread = thread;
    c->id = currentThreadId();
    c->stackTop = stackTop;
    c->started = true;
    c->parked = false;
    setCurrentContext(c);
    return c;
}

void ThreadTable::detachCurrent() {
    ThreadContext* c = currentContext();
    if (!c) return;
    if (m_leaveHook) m_leaveHook(m_leaveArg, *c);
    std::unique_lock<std::mutex> lock(m_lock);
    // A collection may be scanning this stack: leave only when none runs.
    c->parked = true;
    m_parkedCv.notify_all();
    while (mustWait(c)) m_resumeCv.wait(lock);
    m_used[c - m_slots] = false;
    c->reset();
    setCurrentContext(nullptr);
    m_parkedCv.notify_all();
}

ThreadContext* ThreadTable::reserveJava(java_lang_Thread* thread, int nativePriority) {
    std::lock_guard<std::mutex> lock(m_lock);
    ThreadContext* c = takeSlot(true);
    if (!c) return nullptr;
    c->thread = thread;
    c->nativePriority = nativePriority;
    c->started = false;
    c->parked = true;  // nothing to stop or scan until it runs
    return c;
}

void ThreadTable::releaseReserved(ThreadContext* c) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_used[c - m_slots] = false;
    c->reset();
    m_parkedCv.notify_all();
}

void ThreadTable::startRunning(ThreadContext* c, void* stackTop) {
    std::unique_lock<std::mutex> lock(m_lock);
    while (mustWait(c)) m_resumeCv.wait(lock);
    c->id = currentThreadId();
    c->stackTop = stackTop;
    c->started = true;
    c->parked = false;
    setCurrentContext(c);
}

void ThreadTable::finishRunning(ThreadContext* c) {
    if (m_leaveHook) m_leaveHook(m_leaveArg, *c);
    SpilledRegisters spill;
    spillRegisters(spill);
    std::unique_lock<std::mutex> lock(m_lock);
    c->savedSp = spill.sp;
    c->parked = true;
    m_parkedCv.notify_all();
    while (mustWait(c)) m_resumeCv.wait(lock);
    if (c->thread) c->thread->setCollectable(true);
    m_used[c - m_slots] = false;
    c->reset();
    setCurrentContext(nullptr);
    m_parkedCv.notify_all();
}

int ThreadTable::slotOf(const java_lang_Thread* thread) {
    if (!thread) return -1;
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && m_slots[i].java && m_slots[i].thread == thread) return i;
    return -1;
}

ThreadContext* ThreadTable::contextOf(const java_lang_Thread* thread) {
    int i = slotOf(thread);
    return i < 0 ? nullptr : &m_slots[i];
}

bool ThreadTable::setNativePriority(const java_lang_Thread* thread, int value) {
    if (!thread) return false;
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 0; i < kSlots; ++i) {
        if (m_used[i] && m_slots[i].java && m_slots[i].thread == thread) {
            m_slots[i].nativePriority = value;
            return true;
        }
    }
    return false;
}

int ThreadTable::nativePriorityOf(const java_lang_Thread* thread) {
    if (!thread) return -1;
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && m_slots[i].java && m_slots[i].thread == thread) return m_slots[i].nativePriority;
    return -1;
}

int ThreadTable::javaThreadCount() {
    std::lock_guard<std::mutex> lock(m_lock);
    int n = 0;
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && m_slots[i].java) ++n;
    return n;
}

void ThreadTable::park(ThreadContext* c, void* sp) {
    std::lock_guard<std::mutex> lock(m_lock);
    c->savedSp = sp;
    c->parked = true;
    m_parkedCv.notify_all();
}

void ThreadTable::unpark(ThreadContext* c) {
    std::unique_lock<std::mutex> lock(m_lock);
    while (mustWait(c)) m_resumeCv.wait(lock);
    c->parked = false;
}

bool ThreadTable::tryUnpark(ThreadContext* c) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (mustWait(c)) return false;
    c->parked = false;
    return true;
}

void ThreadTable::stopOthers() {
    ThreadContext* self = currentContext();
    std::unique_lock<std::mutex> lock(m_lock);
    m_stopRequested.store(true, std::memory_order_release);
    for (;;) {
        bool allParked = true;
        for (int i = 0; i < kSlots; ++i) {
            const ThreadContext& c = m_slots[i];
            if (m_used[i] && &c != self && c.started && !c.parked) allParked = false;
        }
        if (allParked) break;
        m_parkedCv.wait(lock);
    }
}

void ThreadTable::holdOthers() {
    stopOthers();
    ThreadContext* self = currentContext();
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && &m_slots[i] != self) m_held[i] = true;
    // The world runs on without them.
    ++m_generation;
    m_stopRequested.store(false, std::memory_order_release);
    m_resumeCv.notify_all();
}

bool ThreadTable::othersInUse() {
    ThreadContext* self = currentContext();
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 0; i < kSlots; ++i)
        if (m_used[i] && &m_slots[i] != self) return true;
    return false;
}

void ThreadTable::resumeOthers() {
    std::lock_guard<std::mutex> lock(m_lock);
    ++m_generation;
    m_stopRequested.store(false, std::memory_order_release);
    m_resumeCv.notify_all();
}

// Both halves go through the thread's own table, not the application: a
// thread held at tear-down stays parked in unpark even once the application
// is gone.
void enterBlockingSpilled(const SpilledRegisters& spill) {
    ThreadContext* c = currentContext();
    if (!c || !c->table) return;
    if (c->blockDepth++ > 0) return;
    c->table->park(c, spill.sp);
}

void leaveBlocking() {
    ThreadContext* c = currentContext();
    if (!c || !c->table) return;
    if (--c->blockDepth > 0) return;
    c->table->unpark(c);
}

bool tryLeaveBlocking() {
    ThreadContext* c = currentContext();
    if (!c || !c->table) return true;
    if (c->blockDepth > 1) {
        --c->blockDepth;
        return true;
    }
    if (!c->table->tryUnpark(c)) return false;
    c->blockDepth = 0;
    return true;
}

#if !defined(__x86_64__)
void enterBlocking(SpilledRegisters& spill) { enterBlockingSpilled(spill); }
#endif

}  // namespace rt

#if defined(__x86_64__)
static_assert(offsetof(rt::SpilledRegisters, sp) == 64, "the entry below stores the stack pointer at offset 64");
extern "C" void bramble_enter_blocking_spilled(const rt::SpilledRegisters* spill) { rt::enterBlockingSpilled(*spill); }
// rt::enterBlocking(SpilledRegisters&): stores rbx, rbp and r12-r15 as the
// caller left them and the caller's stack pointer (above the return
// address), then continues in enterBlockingSpilled with the same argument.
asm(R"(
    .text
    .globl _ZN2rt13enterBlockingERNS_16SpilledRegistersE
    .type _ZN2rt13enterBlockingERNS_16SpilledRegistersE, @function
    .p2align 4
_ZN2rt13enterBlockingERNS_16SpilledRegistersE:
    .cfi_startproc
    endbr64
    movq %rbx, 0(%rdi)
    movq %rbp, 8(%rdi)
    movq %r12, 16(%rdi)
    movq %r13, 24(%rdi)
    movq %r14, 32(%rdi)
    movq %r15, 40(%rdi)
    leaq 8(%rsp), %rax
    movq %rax, 48(%rdi)
    movq %rax, 64(%rdi)
    jmp bramble_enter_blocking_spilled@PLT
    .cfi_endproc
    .size _ZN2rt13enterBlockingERNS_16SpilledRegistersE, .-_ZN2rt13enterBlockingERNS_16SpilledRegistersE
)");
#endif

void AttachScope::attach(void* stackTop) {
    Application* app = Application::instance();
    if (!app || rt::currentContext()) return;
    if (!app->threads().attachCurrent(stackTop, false, nullptr)) {
        logPrintf("AttachScope: no free thread slot for native thread 0x%X", rt::currentThreadId());
        return;
    }
    m_attached = true;
}

AttachScope::~AttachScope() {
    if (!m_attached) return;
    if (rt::ThreadContext* c = rt::currentContext(); c && c->table) c->table->detachCurrent();
}

void safepoint() {
    Application* app = Application::instance();
    if (!app || !app->threads().stopRequested()) return;
    BlockingRegion region;
}

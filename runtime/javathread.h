// java.lang.Runnable and java.lang.Thread: Java threads are real threads,
// entered in the thread table before they run and removed when run()
// returns. A Thread object is not collectable while its thread runs, and
// the thread table keeps it (and so its target) reachable.
#pragma once

#include "runtime/object.h"

// Interface 48. getInterface(cid::java_lang_Runnable) answers a pointer to
// this base inside the implementing object.
class java_lang_Runnable {
public:
    virtual void run() = 0;  // interface slot 0

protected:
    ~java_lang_Runnable() = default;
};

class java_lang_Thread : public Object, public java_lang_Runnable {
public:
    explicit java_lang_Thread(Object* target = nullptr, uint16_t classId = cid::java_lang_Thread);

    // Slot 3: "Thread[" hash ", " priority "]" built from pool entries 188,
    // 111 and 189 when the pool has them.
    String* toString() override;
    // Slot 5: 48 answers the Runnable view.
    void* getInterface(jint interfaceId) override;
    // Slot 6: java_lang_Thread::start(this).
    virtual jint startThread() { return start(this); }
    // Slot 7.
    virtual jint getPriority() { return m_priority; }
    // Runnable: the target's run(), nothing without a target.
    void run() override;

    // 1..10 stores the priority and passes it to the native; otherwise
    // throws java_lang_IllegalArgumentException and changes nothing.
    void setPriority(jint p);

    // --- natives ---------------------------------------------------------------
    // Starts the thread (once): its slot index, -1 when the table is full.
    static jint start(java_lang_Thread* thread);
    static java_lang_Thread* currentThread();
    static jboolean isAlive(java_lang_Thread* thread);
    static jint activeCount();
    // -1 without a slot; else maps the Java priority to a native one.
    static jint setPriority(java_lang_Thread* thread, jint p);
    static jint nativePriorityFor(jint javaPriority);
    static void sleep(jlong ms);
    static void yield() { sleep(0); }
    // Waits (yielding) until the thread has ended; answers at once for the
    // current thread.
    void join();

    jint m_priority;
    Object* m_target;
};

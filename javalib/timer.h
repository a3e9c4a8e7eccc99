// java.util.Timer (69), TimerTask (70), TaskQueue (68) and TimerThread (71):
// tasks run one at a time on the timer's own Java thread in the order of
// their due times (tick-count milliseconds), kept in a 1-based binary
// min-heap.
//
// Locking: the queue's monitor guards the heap and newTasksMayBeScheduled;
// a task's lock object guards its state and times; the queue's monitor is
// always taken first. Task code runs with no monitor held. An exception
// left by a task's run is logged and cleared; the thread goes on.
#pragma once

#include "runtime/array.h"
#include "runtime/javathread.h"
#include "runtime/object.h"

class java_util_Date;

class java_util_TimerTask : public Object, public java_lang_Runnable {
public:
    enum State : jint { kVirgin = 0, kScheduled = 1, kExecuted = 2, kCancelled = 3 };

    // Subclasses pass their own class id and register their own reference
    // fields, the lock included, with StaticClass::extendRefFieldOffsets.
    explicit java_util_TimerTask(uint16_t classId = cid::java_util_TimerTask);

    void* getInterface(jint interfaceId) override;  // Runnable
    // run() is the subclass's.

    // True when the task was scheduled and had not run (or been cancelled);
    // the task is cancelled afterwards in every case.
    jboolean cancel();
    // The planned time of the latest run.
    jlong scheduledExecutionTime();

    Object* m_lock;
    jint m_state;
    jlong m_nextExecutionTime;
    jlong m_period;  // 0 once, > 0 fixed rate, < 0 fixed delay (negated)
};

class java_util_TaskQueue : public Object {
public:
    java_util_TaskQueue();

    virtual jboolean isEmpty();  // slot 6
    virtual void clear();        // slot 7

    void add(java_util_TimerTask* task);
    java_util_TimerTask* getMin();
    void removeMin();
    void rescheduleMin(jlong newTime);

    jint capacity() const { return m_queue->length(); }

    ObjectArray* m_queue;  // element 0 unused
    jint m_size;

private:
    java_util_TimerTask* at(jint i) { return static_cast<java_util_TimerTask*>(m_queue->data()[i]); }
    void swap(jint i, jint j);
    void fixUp(jint k);
    void fixDown(jint k);
};

class java_util_TimerThread : public java_lang_Thread {
public:
    // Takes the creating thread's priority; one outside 1-10 raises
    // IllegalArgumentException and leaves the thread unusable.
    explicit java_util_TimerThread(java_util_TaskQueue* queue);

    void run() override;

    jboolean m_newTasksMayBeScheduled;
    java_util_TaskQueue* m_queue;

private:
    // One turn of the loop; false when the thread is to end.
    bool mainLoopTurn();
};

class java_util_Timer : public Object {
public:
    // Creates the queue and starts the thread.
    java_util_Timer();

    // delay < 0: IllegalArgumentException (pool 156); period <= 0: (157).
    // The Date forms carry their own names: a literal 0 delay would
    // otherwise be taken for a null Date.
    void schedule(java_util_TimerTask* task, jlong delay);
    void scheduleAt(java_util_TimerTask* task, java_util_Date* time);
    void schedule(java_util_TimerTask* task, jlong delay, jlong period);
    void scheduleAt(java_util_TimerTask* task, java_util_Date* firstTime, jlong period);
    void scheduleAtFixedRate(java_util_TimerTask* task, jlong delay, jlong period);
    void scheduleAtFixedRateFrom(java_util_TimerTask* task, java_util_Date* firstTime, jlong period);
    // No more scheduling; the queue is emptied and the thread ends.
    void cancel();

    java_util_TaskQueue* m_queue;
    java_util_TimerThread* m_thread;

private:
    // The one way into the queue. time < 0: IllegalArgumentException (158);
    // a cancelled timer (159) or a task scheduled before (160):
    // IllegalStateException.
    void sched(java_util_TimerTask* task, jlong time, jlong period);
};

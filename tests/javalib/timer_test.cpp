// Timer: tasks run in due-time order on the timer's own thread with no
// monitor held, heap growth, periodic tasks, cancellation, the exception
// cases, a task that throws, replacement of a dead timer thread, and the
// timer thread's priority.
#include <atomic>
#include <mutex>

#include "javalib/calendar.h"
#include "javalib/timer.h"
#include "runtime/system.h"
#include "tests/javalib/util_fixture.h"

using namespace utiltest;

namespace {

struct Recorder {
    std::mutex lock;
    std::vector<int> ids;
    std::vector<java_lang_Thread*> threads;
    std::vector<bool> heldQueue;
    std::vector<jlong> times;
    java_util_TaskQueue* queue = nullptr;
    std::atomic<int> runs{0};

    size_t count() {
        std::lock_guard<std::mutex> g(lock);
        return ids.size();
    }
};

class RecordingTask : public java_util_TimerTask {
public:
    RecordingTask(Recorder* recorder, int id, bool throws = false)
        : java_util_TimerTask(), m_recorder(recorder), m_id(id), m_throws(throws) {}
    void run() override {
        const bool held = m_recorder->queue && Application::instance()->monitors().ownedByCaller(m_recorder->queue);
        {
            std::lock_guard<std::mutex> g(m_recorder->lock);
            m_recorder->ids.push_back(m_id);
            m_recorder->threads.push_back(java_lang_Thread::currentThread());
            m_recorder->heldQueue.push_back(held);
            m_recorder->times.push_back(java_lang_System::currentTimeMillis());
        }
        ++m_recorder->runs;
        if (m_throws) rt::throwNewDefault(cid::java_lang_IllegalStateException);
    }
    Recorder* m_recorder;
    int m_id;
    bool m_throws;
};

template <typename P>
bool waitUntil(P pred) {
    for (int i = 0; i < 5000; ++i) {
        if (pred()) return true;
        java_lang_Thread::sleep(1);
    }
    return false;
}

class TimerTest : public UtilTest {
protected:
    java_util_Timer* newTimer(Recorder& r) {
        auto* t = newObject<java_util_Timer>();
        m_keep = t;
        r.queue = t->m_queue;
        return t;
    }
    // Cancels and waits for the thread to end (the application cannot close
    // while it runs).
    void finish(java_util_Timer* t) {
        t->cancel();
        ASSERT_TRUE(waitUntil([&] { return !java_lang_Thread::isAlive(t->m_thread); }));
    }
    RecordingTask* task(Recorder& r, int id, bool throws = false) { return newObject<RecordingTask>(&r, id, throws); }
    void expectRaised(jint exception, const char* message, java_util_Timer* t) {
        EXPECT_EQ(pendingMessage(), message);
        EXPECT_EQ(takeException(), exception) << message;
        EXPECT_FALSE(m_app->monitors().ownedByCaller(t->m_queue)) << message;
    }
};

TEST_F(TimerTest, TasksRunInDueTimeOrderOnTheTimerThread) {
    Recorder r;
    auto* timer = newTimer(r);
    EXPECT_TRUE(java_lang_Thread::isAlive(timer->m_thread));
    EXPECT_EQ(timer->m_thread->getPriority(), 6);  // the creating (main) thread's
    const jint offsets[] = {50, 10, 40, 0, 30, 20};
    const jlong base = java_lang_System::currentTimeMillis() + 150;
    // The queue is held while the tasks go in: on a busy machine the first
    // ones may be due before the last is scheduled, and none may run early.
    Object::monitorEnter(timer->m_queue);
    for (int i = 0; i < 6; ++i) {
        // One Date per call: all Dates share the Calendar's time.
        timer->scheduleAt(task(r, i), newObject<java_util_Date>(base + offsets[i]));
    }
    EXPECT_EQ(timer->m_queue->m_size, 6);
    Object::monitorExit(timer->m_queue);
    EXPECT_EQ(timer->m_queue->capacity(), 8);
    ASSERT_TRUE(waitUntil([&] { return r.count() == 6; }));
    EXPECT_EQ(r.ids, (std::vector<int>{3, 1, 5, 4, 2, 0}));
    for (size_t i = 0; i < r.ids.size(); ++i) {
        EXPECT_EQ(r.threads[i], timer->m_thread);
        EXPECT_FALSE(r.heldQueue[i]);
        EXPECT_GE(r.times[i], base + offsets[r.ids[i]]);
    }
    finish(timer);
}

TEST_F(TimerTest, HeapGrowsAfterThreeTasksAndKeepsTheEarliestOnTop) {
    Recorder r;
    auto* timer = newTimer(r);
    const jlong far = 3600000;
    // Seconds apart: each delay counts from its own call.
    const jlong delays[] = {far + 30000, far + 10000, far + 20000, far + 5000};
    java_util_TaskQueue* q = timer->m_queue;
    EXPECT_EQ(q->capacity(), 4);
    for (int i = 0; i < 4; ++i) {
        timer->schedule(task(r, i), delays[i]);
        EXPECT_EQ(q->capacity(), i < 3 ? 4 : 8);
    }
    EXPECT_EQ(static_cast<RecordingTask*>(q->getMin())->m_id, 3);
    collect();
    Object::monitorEnter(q);
    std::vector<int> order;
    while (!q->isEmpty()) {
        order.push_back(static_cast<RecordingTask*>(q->getMin())->m_id);
        q->removeMin();
    }
    Object::monitorExit(q);
    EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 0}));
    finish(timer);
    EXPECT_EQ(r.count(), 0u);
}

TEST_F(TimerTest, ExceptionCases) {
    Recorder r;
    auto* timer = newTimer(r);
    RecordingTask* t = task(r, 1);
    timer->schedule(t, -1);
    expectRaised(cid::java_lang_IllegalArgumentException, "#156", timer);
    timer->schedule(t, 0, 0);
    expectRaised(cid::java_lang_IllegalArgumentException, "#157", timer);
    timer->scheduleAt(t, newObject<java_util_Date>(5), -2);
    expectRaised(cid::java_lang_IllegalArgumentException, "#157", timer);
    timer->schedule(t, -1, 5);
    expectRaised(cid::java_lang_IllegalArgumentException, "#156", timer);
    timer->scheduleAtFixedRate(t, 1, -1);
    expectRaised(cid::java_lang_IllegalArgumentException, "#157", timer);
    timer->scheduleAtFixedRateFrom(t, newObject<java_util_Date>(0), 0);
    expectRaised(cid::java_lang_IllegalArgumentException, "#157", timer);
    timer->scheduleAt(t, newObject<java_util_Date>(-1));
    expectRaised(cid::java_lang_IllegalArgumentException, "#158", timer);
    EXPECT_EQ(t->m_state, java_util_TimerTask::kVirgin);

    // Twice: refused while scheduled, after running and after cancelling.
    timer->schedule(t, 0);
    EXPECT_EQ(takeException(), 0);
    timer->schedule(t, 0);
    expectRaised(cid::java_lang_IllegalStateException, "#160", timer);
    ASSERT_TRUE(waitUntil([&] { return r.count() == 1; }));
    EXPECT_EQ(t->m_state, java_util_TimerTask::kExecuted);
    timer->schedule(t, 0);
    expectRaised(cid::java_lang_IllegalStateException, "#160", timer);
    RecordingTask* cancelled = task(r, 2);
    EXPECT_FALSE(cancelled->cancel());
    timer->schedule(cancelled, 0);
    expectRaised(cid::java_lang_IllegalStateException, "#160", timer);

    finish(timer);
    timer->schedule(task(r, 3), 0);
    expectRaised(cid::java_lang_IllegalStateException, "#159", timer);
    EXPECT_TRUE(timer->m_queue->isEmpty());
    EXPECT_EQ(r.count(), 1u);
}

TEST_F(TimerTest, CancelledTasksAreSkipped) {
    Recorder r;
    auto* timer = newTimer(r);
    RecordingTask* skipped = task(r, 1);
    // Held queue: the timer cannot take the task before it is cancelled,
    // however late this thread gets there.
    Object::monitorEnter(timer->m_queue);
    timer->schedule(skipped, 20);
    timer->schedule(task(r, 2), 40);
    EXPECT_TRUE(skipped->cancel());
    EXPECT_FALSE(skipped->cancel());
    Object::monitorExit(timer->m_queue);
    ASSERT_TRUE(waitUntil([&] { return r.count() == 1; }));
    EXPECT_EQ(r.ids, std::vector<int>{2});
    EXPECT_TRUE(timer->m_queue->isEmpty());
    finish(timer);
}

TEST_F(TimerTest, PeriodicTasksRepeatUntilCancelled) {
    Recorder rate, delay;
    auto* timer = newTimer(rate);
    delay.queue = timer->m_queue;
    RecordingTask* fixedRate = task(rate, 1);
    RecordingTask* fixedDelay = task(delay, 2);
    // A first time of its own: "now" read here may be a millisecond or more
    // before the timer's own reading inside a call with a delay.
    const jlong start = java_lang_System::currentTimeMillis();
    timer->scheduleAtFixedRateFrom(fixedRate, newObject<java_util_Date>(start), 3);
    timer->schedule(fixedDelay, 1, 4);
    EXPECT_EQ(fixedDelay->m_period, -4);
    ASSERT_TRUE(waitUntil([&] { return rate.count() >= 4 && delay.count() >= 4; }));
    {
        // Both read under the task's lock: the timer may run it again
        // between two reads.
        Object::monitorEnter(fixedRate->m_lock);
        const jlong next = fixedRate->m_nextExecutionTime;
        const jlong planned = fixedRate->scheduledExecutionTime();
        Object::monitorExit(fixedRate->m_lock);
        // Fixed rate counts from the planned time: start + k * 3.
        EXPECT_EQ((next - planned), 3);
        EXPECT_EQ((planned - start) % 3, 0);
    }
    EXPECT_TRUE(fixedRate->cancel());
    EXPECT_TRUE(fixedDelay->cancel());
    const size_t rateRuns = rate.count();
    // A last one-shot task: once it has run, both periodic tasks have left
    // the queue (a run in flight at cancel time may still be counted).
    Recorder last;
    timer->schedule(task(last, 3), 10);
    ASSERT_TRUE(waitUntil([&] { return last.count() == 1; }));
    EXPECT_LE(rate.count(), rateRuns + 1);
    EXPECT_TRUE(timer->m_queue->isEmpty());
    finish(timer);
}

TEST_F(TimerTest, ExceptionInTaskIsClearedAndTheThreadGoesOn) {
    Recorder r;
    auto* timer = newTimer(r);
    timer->schedule(task(r, 1, true), 0);
    timer->schedule(task(r, 2), 5);
    ASSERT_TRUE(waitUntil([&] { return r.count() == 2; }));
    EXPECT_EQ(r.ids, (std::vector<int>{1, 2}));
    EXPECT_TRUE(java_lang_Thread::isAlive(timer->m_thread));
    finish(timer);
}

TEST_F(TimerTest, DeadThreadIsReplacedAtTheNextScheduling) {
    Recorder r;
    auto* timer = newTimer(r);
    java_util_TimerThread* first = timer->m_thread;
    // Let the thread end as if it had died, then re-open the flag.
    Object::monitorEnter(timer->m_queue);
    first->m_newTasksMayBeScheduled = 0;
    Object::notifyAll(timer->m_queue);
    Object::monitorExit(timer->m_queue);
    ASSERT_TRUE(waitUntil([&] { return !java_lang_Thread::isAlive(first); }));
    first->m_newTasksMayBeScheduled = 1;

    timer->schedule(task(r, 1), 0);
    EXPECT_EQ(takeException(), 0);
    EXPECT_NE(timer->m_thread, first);
    ASSERT_TRUE(waitUntil([&] { return r.count() == 1; }));
    EXPECT_EQ(r.threads[0], timer->m_thread);
    finish(timer);
}

struct PriorityProbe {
    jint priority;
    jint timerThreadPriority = -1;
    jint exception = -1;
    java_util_Timer* timer = nullptr;
};

class ProbeRunner : public Object, public java_lang_Runnable {
public:
    explicit ProbeRunner(PriorityProbe* p) : Object(cid::Object), m_probe(p) {}
    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }
    void run() override {
        java_lang_Thread::currentThread()->m_priority = m_probe->priority;
        auto* timer = newObject<java_util_Timer>();
        Object* e = Application::pendingException();
        m_probe->exception = e ? e->classId() : 0;
        Application::clearPendingException();
        if (timer->m_thread) {
            m_probe->timerThreadPriority = timer->m_thread->getPriority();
            timer->cancel();
            while (java_lang_Thread::isAlive(timer->m_thread)) java_lang_Thread::sleep(1);
        }
    }
    PriorityProbe* m_probe;
};

TEST_F(TimerTest, TimerThreadTakesItsCreatorsPriority) {
    for (jint priority : {7, 0, 11}) {
        PriorityProbe probe{priority};
        auto* thread = newObject<java_lang_Thread>(newObject<ProbeRunner>(&probe));
        ASSERT_GE(java_lang_Thread::start(thread), 0);
        ASSERT_TRUE(waitUntil([&] { return !java_lang_Thread::isAlive(thread); }));
        if (priority == 7) {
            EXPECT_EQ(probe.exception, 0);
            EXPECT_EQ(probe.timerThreadPriority, 7);
        } else {
            EXPECT_EQ(probe.exception, cid::java_lang_IllegalArgumentException) << priority;
            EXPECT_EQ(probe.timerThreadPriority, -1);
        }
    }
}

}  // namespace

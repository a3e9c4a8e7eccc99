// Java threads, monitors and the stop-the-world protocol between real
// threads: references held only by a thread that sleeps, waits on a
// monitor or sits in a blocking call survive; a running thread's Thread
// object survives unreferenced; wait/notify/notifyAll.
#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include "tests/runtime/fixture.h"

namespace {

std::atomic<int> g_finalized{0};
std::atomic<jint> g_lastFinalizedValue{0};

class Tracked : public Object {
public:
    Tracked() : Object(cid::java_util_HashtableEntry) {}
    void finalize() override {
        g_finalized.fetch_add(1);
        g_lastFinalizedValue = m_value;
        Object::finalize();
    }
    jint m_value;
};

class TrackedThread : public java_lang_Thread {
public:
    using java_lang_Thread::java_lang_Thread;
    void finalize() override {
        g_finalized.fetch_add(1000);
        java_lang_Thread::finalize();
    }
};

enum class Hold { Sleep, MonitorWait, Blocking };

struct HoldState {
    Hold how;
    std::atomic<bool> ready{false};
    std::atomic<bool> release{false};
    std::atomic<int> valueSeen{-1};
    Object* lock = nullptr;
};

[[gnu::noinline]] void holdReference(void* arg) {
    auto* s = static_cast<HoldState*>(arg);
    Tracked* mine = newObject<Tracked>();
    mine->m_value = 4242 + static_cast<jint>(s->how);
    switch (s->how) {
    case Hold::Sleep:
        s->ready = true;
        while (!s->release) java_lang_Thread::sleep(2);
        break;
    case Hold::MonitorWait:
        Object::monitorEnter(s->lock);
        s->ready = true;
        while (!s->release) Object::wait(s->lock, 0);
        Object::monitorExit(s->lock);
        break;
    case Hold::Blocking: {
        s->ready = true;
        BlockingRegion blocking;
        while (!s->release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        break;
    }
    }
    s->valueSeen = mine->m_value;
}

class Threads : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        g_finalized = 0;
    }
};

TEST_F(Threads, ReferenceOnlyOnAnotherThreadsStackSurvives) {
    for (Hold how : {Hold::Sleep, Hold::MonitorWait, Hold::Blocking}) {
        SCOPED_TRACE(static_cast<int>(how));
        g_lastFinalizedValue = 0;
        HoldState state;
        state.how = how;
        rt::GlobalRef lock(newObject<Object>(cid::Object));
        state.lock = lock.get();
        auto* thread = newObject<java_lang_Thread>(newObject<Task>(&holdReference, &state));
        ASSERT_GE(java_lang_Thread::start(thread), 0);
        ASSERT_TRUE(waitFor([&] { return state.ready.load(); }));
        if (how == Hold::MonitorWait) {  // the worker is really inside wait()
            Object::monitorEnter(state.lock);
            Object::monitorExit(state.lock);
        }
        for (int i = 0; i < 3; ++i) collect();
        EXPECT_NE(g_lastFinalizedValue.load(), 4242 + static_cast<jint>(how));
        state.release = true;
        if (how == Hold::MonitorWait) {
            Object::monitorEnter(state.lock);
            Object::notifyAll(state.lock);
            Object::monitorExit(state.lock);
        }
        ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(thread); }));
        EXPECT_EQ(state.valueSeen.load(), 4242 + static_cast<jint>(how));
    }
}

void waitForRelease(void* arg) {
    auto* release = static_cast<std::atomic<bool>*>(arg);
    while (!*release) java_lang_Thread::sleep(2);
}

struct Detached {
    std::atomic<bool> release{false};
    std::atomic<uintptr_t> hidden{0};  // the Thread's address, not a reference
};

void startDetachedThread(void* arg) {
    auto* d = static_cast<Detached*>(arg);
    auto* thread = newObject<TrackedThread>(newObject<Task>(&waitForRelease, &d->release));
    d->hidden = ~reinterpret_cast<uintptr_t>(thread);
    java_lang_Thread::start(thread);
}

TEST_F(Threads, RunningThreadSurvivesUnreferencedAndIsSweptAfterItEnds) {
    Detached d;
    runOnJavaThread(&startDetachedThread, &d);  // nothing else refers to it
    EXPECT_EQ(java_lang_Thread::activeCount(), 2);
    collect();
    EXPECT_EQ(g_finalized.load(), 0);
    auto* thread = reinterpret_cast<Object*>(~d.hidden.load());
    EXPECT_FALSE(thread->isCollectable());
    d.release = true;
    ASSERT_TRUE(waitFor([] { return java_lang_Thread::activeCount() == 1; }));
    EXPECT_TRUE(thread->isCollectable());  // ended: an ordinary object again
    thread = nullptr;
    collect();
    EXPECT_LE(g_finalized.load(), 1000);
}

TEST_F(Threads, ThreadTableLimitsAndQueries) {
    EXPECT_NE(java_lang_Thread::currentThread(), nullptr);
    EXPECT_TRUE(java_lang_Thread::isAlive(java_lang_Thread::currentThread()));
    std::atomic<bool> release{false};
    std::vector<java_lang_Thread*> started;
    rt::GlobalRef keep(newObjectArray(cid::Object, 16));
    for (int i = 0; i < 7; ++i) {
        auto* t = newObject<java_lang_Thread>(newObject<Task>(&waitForRelease, &release));
        static_cast<ObjectArray*>(keep.get())->data()[i] = t;
        ASSERT_GE(java_lang_Thread::start(t), 0);
        EXPECT_EQ(java_lang_Thread::start(t), java_lang_Thread::start(t));  // a second start is ignored
        started.push_back(t);
    }
    auto* extra = newObject<java_lang_Thread>(newObject<Task>(&waitForRelease, &release));
    EXPECT_EQ(java_lang_Thread::start(extra), -1);
    EXPECT_EQ(java_lang_Thread::activeCount(), 8);
    EXPECT_EQ(java_lang_Thread::setPriority(started[0], 5), 1);
    EXPECT_EQ(java_lang_Thread::setPriority(extra, 5), -1);
    EXPECT_EQ(java_lang_Thread::nativePriorityFor(5), 3);
    EXPECT_EQ(java_lang_Thread::nativePriorityFor(12), 12);
    release = true;
    ASSERT_TRUE(waitFor([] { return java_lang_Thread::activeCount() == 1; }));

    std::atomic<bool> nativeSaw{true};
    std::thread([&] { nativeSaw = java_lang_Thread::currentThread() != nullptr; }).join();
    EXPECT_FALSE(nativeSaw.load());
}

TEST_F(Threads, SleepWithNegativeCountReturnsAtOnce) {
    auto start = std::chrono::steady_clock::now();
    java_lang_Thread::sleep(-5000);
    // Far shorter than the 5 s the count names, however busy the machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

struct WaitState {
    Object* lock;
    std::atomic<int> waiting{0};
    std::atomic<int> woken{0};
};

void waiter(void* arg) {
    auto* s = static_cast<WaitState*>(arg);
    Object::monitorEnter(s->lock);
    s->waiting.fetch_add(1);
    Object::wait(s->lock, 0);
    s->woken.fetch_add(1);
    Object::monitorExit(s->lock);
}

TEST_F(Threads, NotifyWakesOneAndNotifyAllWakesEveryWaiter) {
    rt::GlobalRef lock(newObject<Object>(cid::Object));
    WaitState state;
    state.lock = lock.get();
    for (int i = 0; i < 3; ++i)
        ASSERT_GE(java_lang_Thread::start(newObject<java_lang_Thread>(newObject<Task>(&waiter, &state))), 0);
    ASSERT_TRUE(waitFor([&] { return state.waiting.load() == 3; }));
    // Owning the monitor means every waiter has released it inside wait().
    Object::monitorEnter(state.lock);
    Object::notify(state.lock, 1);
    Object::monitorExit(state.lock);
    ASSERT_TRUE(waitFor([&] { return state.woken.load() == 1; }));
    java_lang_Thread::sleep(20);
    EXPECT_EQ(state.woken.load(), 1);
    Object::monitorEnter(state.lock);
    Object::notifyAll(state.lock);
    Object::monitorExit(state.lock);
    ASSERT_TRUE(waitFor([&] { return state.woken.load() == 3; }));
    ASSERT_TRUE(waitFor([] { return java_lang_Thread::activeCount() == 1; }));
}

struct TimedWaitState {
    Object* lock;
    jlong ms = 0;
    std::atomic<int> waiting{0};
    std::atomic<int> woken{0};
};

void timedWaiter(void* arg) {
    auto* s = static_cast<TimedWaitState*>(arg);
    Object::monitorEnter(s->lock);
    s->waiting = 1;
    Object::wait(s->lock, s->ms);
    s->woken = 1;
    Object::monitorExit(s->lock);
}

// A wait of any count lasts until its notify (or, for a short count, its
// time): counts too large for the clock wait untimed, never not at all.
TEST_F(Threads, TimedWaitsOfEveryCountLastUntilNotified) {
    const jlong counts[] = {0, 1, jlong(1) << 31, jlong(1) << 40, jlong(1) << 62, 9223372036854LL,
                            std::numeric_limits<jlong>::max()};
    for (jlong ms : counts) {
        SCOPED_TRACE(ms);
        rt::GlobalRef lock(newObject<Object>(cid::Object));
        TimedWaitState state;
        state.lock = lock.get();
        state.ms = ms;
        ASSERT_GE(java_lang_Thread::start(newObject<java_lang_Thread>(newObject<Task>(&timedWaiter, &state))), 0);
        ASSERT_TRUE(waitFor([&] { return state.waiting.load() == 1; }));
        Object::monitorEnter(state.lock);  // the waiter is inside wait()
        Object::monitorExit(state.lock);
        java_lang_Thread::sleep(30);
        if (ms != 1) {
            EXPECT_EQ(state.woken.load(), 0);
        }
        Object::monitorEnter(state.lock);
        Object::notify(state.lock, 1);
        Object::monitorExit(state.lock);
        ASSERT_TRUE(waitFor([&] { return state.woken.load() == 1; }));
        ASSERT_TRUE(waitFor([] { return java_lang_Thread::activeCount() == 1; }));
    }
}

struct CountState {
    Object* lock;
    jint counter = 0;
};

void countUnderMonitor(void* arg) {
    auto* s = static_cast<CountState*>(arg);
    for (int i = 0; i < 2000; ++i) {
        Object::monitorEnter(s->lock);
        Object::monitorEnter(s->lock);  // nests
        s->counter = java::iadd(s->counter, 1);
        Object::monitorExit(s->lock);
        Object::monitorExit(s->lock);
        if (i % 100 == 0) newObject<Tracked>();  // allocation: a safe point
    }
}

TEST_F(Threads, MonitorsExcludeAndNestWhileCollectionsRun) {
    rt::GlobalRef lock(newObject<Object>(cid::Object));
    CountState state;
    state.lock = lock.get();
    for (int i = 0; i < 3; ++i)
        ASSERT_GE(java_lang_Thread::start(newObject<java_lang_Thread>(newObject<Task>(&countUnderMonitor, &state))), 0);
    for (int i = 0; i < 5; ++i) collect();
    ASSERT_TRUE(waitFor([] { return java_lang_Thread::activeCount() == 1; }));
    EXPECT_EQ(state.counter, 6000);
}

TEST_F(Threads, TimedWaitEndsWhenItsTimePasses) {
    Object* lock = newObject<Object>(cid::Object);
    Object::monitorEnter(lock);
    auto start = std::chrono::steady_clock::now();
    Object::wait(lock, 30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
    EXPECT_TRUE(m_app->monitors().ownedByCaller(lock));
    Object::monitorExit(lock);
    Object::notify(lock, -1);  // not owned: IllegalMonitorStateException
    EXPECT_NE(Application::pendingException(), nullptr);
    Application::clearPendingException();
}

void attachedNative(Application* app, std::atomic<bool>* ok) {
    AttachScope scope;
    Object* o = newObject<Tracked>();
    app->objects().gc(ObjectManager::kForced);
    *ok = scope.attached() && app->objects().isRegistered(o);
}

TEST_F(Threads, AttachedNativeThreadsMayAllocateAndCollect) {
    std::atomic<bool> ok{false};
    std::thread t;
    {
        BlockingRegion blocking;  // the native thread's collection need not wait for us
        t = std::thread(attachedNative, m_app, &ok);
        t.join();
    }
    EXPECT_TRUE(ok.load());
}

void uncaught(void*) { rt::throwNew(cid::java_lang_IllegalStateException); }

TEST_F(Threads, PendingExceptionIsPerThreadAndDrainedWhenAThreadEnds) {
    ASSERT_GE(java_lang_Thread::start(newObject<java_lang_Thread>(newObject<Task>(&uncaught, nullptr))), 0);
    ASSERT_TRUE(waitFor([] { return java_lang_Thread::activeCount() == 1; }));
    EXPECT_EQ(Application::checkException(0), 0);
    EXPECT_TRUE(m_log.contains("uncaught exception java_lang_IllegalStateException"));
}

}  // namespace

// Collector: roots, conservative stack scan with interior pointers, deep
// structures, throttle, sweep order, monitor release, final collection.
#include <atomic>
#include <cstring>

#include "tests/runtime/fixture.h"

namespace {

std::atomic<int> g_finalized{0};

class Tracked : public Object {
public:
    Tracked() : Object(cid::java_util_HashtableEntry) { StaticClass::setRefFieldOffsets(this, {&m_next}); }
    void finalize() override {
        g_finalized.fetch_add(1);
        Object::finalize();
    }
    Object* m_next;
    jint m_value;
};

// Keeps no monitor release in its finalizer on purpose.
class Selfish : public Object {
public:
    Selfish() : Object(cid::java_util_Random) {}
    void finalize() override { g_finalized.fetch_add(1); }
};

class Collector : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        g_finalized = 0;
    }
};

[[gnu::noinline]] void scrubStack() {
    volatile char junk[16384];
    for (size_t i = 0; i < sizeof junk; ++i) junk[i] = 0;
}

void makeGarbage(void*) {
    for (int i = 0; i < 50; ++i) newObject<Tracked>();
}

TEST_F(Collector, UnreachableObjectsAreSweptAndRootsKeepTheirGraphs) {
    runOnJavaThread(&makeGarbage);
    Tracked* viaRef = newObject<Tracked>();
    rt::GlobalRef ref(viaRef);
    viaRef->m_next = newObject<Tracked>();
    m_app->setRoot(Application::kMidlet, newObject<Tracked>());
    scrubStack();
    const size_t before = om().objectCount();
    collect();
    EXPECT_GE(g_finalized.load(), 45);  // conservative: a stale word may keep one
    EXPECT_LE(om().objectCount(), before - 45);
    EXPECT_TRUE(om().isRegistered(viaRef));
    EXPECT_TRUE(om().isRegistered(static_cast<Tracked*>(ref.get())->m_next));
    EXPECT_TRUE(om().isRegistered(m_app->root(Application::kMidlet)));
}

TEST_F(Collector, ChainsDeeperThanAnyFixedMarkStackAreMarked) {
    Tracked* head = newObject<Tracked>();
    rt::GlobalRef ref(head);
    Tracked* tail = head;
    for (int i = 0; i < 5000; ++i) {
        auto* t = newObject<Tracked>();
        t->m_value = i;
        tail->m_next = t;
        tail = t;
    }
    ObjectArray* nested = newObjectArray(cid::Object, 1);
    tail->m_next = nested;
    for (int i = 0; i < 2000; ++i) {
        ObjectArray* inner = newObjectArray(cid::Object, 1);
        nested->data()[0] = inner;
        nested = inner;
    }
    tail = nullptr;
    nested = nullptr;
    scrubStack();
    collect();
    EXPECT_EQ(g_finalized.load(), 0);
    int n = 0;
    for (Object* o = head; o && o->classId() != cid::ObjectArray; o = static_cast<Tracked*>(o)->m_next) ++n;
    EXPECT_EQ(n, 5001);
}

[[gnu::noinline]] java_lang_Runnable* hideBehindInterface(java_lang_Thread* t) { return t; }

TEST_F(Collector, InteriorPointerOnTheStackKeepsTheObject) {
    struct Probe : java_lang_Thread {
        void finalize() override { g_finalized.fetch_add(100); }
    };
    java_lang_Runnable* view = hideBehindInterface(newObject<Probe>());
    auto* object = static_cast<java_lang_Thread*>(view);
    object->setCollectable(true);  // not started: let the stack alone decide
    EXPECT_NE(static_cast<void*>(view), static_cast<void*>(object));
    object = nullptr;
    collect();
    EXPECT_EQ(g_finalized.load(), 0);
    EXPECT_NE(om().findObject(view), nullptr);
    asm volatile("" : : "r"(view) : "memory");
}

TEST_F(Collector, ThrottleSkipsRequestsWithinTwoSecondsButNotForcedOnes) {
    static uint32_t now = 100000;
    ObjectManager::setTickSource([] { return now; });
    collect();
    const uint64_t base = om().collections();
    now += 1000;
    om().gc(ObjectManager::kThrottled);
    EXPECT_EQ(om().collections(), base);
    om().gc(ObjectManager::kForced);
    EXPECT_EQ(om().collections(), base + 1);
    now += 1999;
    om().gc(ObjectManager::kThrottled);
    EXPECT_EQ(om().collections(), base + 1);
    now += 1;
    om().gc(ObjectManager::kThrottled);
    EXPECT_EQ(om().collections(), base + 2);
    ObjectManager::setTickSource(nullptr);
}

// Finalizers of dead objects may read each other: no block is freed before
// every finalizer of the sweep has run.
class Reader : public Object {
public:
    Reader() : Object(cid::java_util_Hashtable) { StaticClass::setRefFieldOffsets(this, {&m_other}); }
    void finalize() override {
        s_read += m_other ? static_cast<Tracked*>(m_other)->m_value : 0;
        ++s_runs;
        Object::finalize();
    }
    Object* m_other;
    static inline jint s_read = 0;
    static inline jint s_runs = 0;
};

void makeReadersOfEachOther(void*) {
    for (int i = 0; i < 40; ++i) {
        auto* target = newObject<Tracked>();
        target->m_value = 7;
        auto* reader = newObject<Reader>();
        reader->m_other = target;
    }
}

TEST_F(Collector, SweepFinalizesEverythingBeforeFreeingAnything) {
    Reader::s_read = 0;
    Reader::s_runs = 0;
    runOnJavaThread(&makeReadersOfEachOther);
    collect();
    // A stale stack word may keep the odd object (the scan is conservative);
    // every finalizer that ran read its partner intact.
    EXPECT_GE(Reader::s_runs, 35);
    EXPECT_EQ(Reader::s_read, 7 * Reader::s_runs);
}

void lockAndDrop(void*) {
    for (int i = 0; i < 10; ++i) {
        Object* o = newObject<Selfish>();
        Object::monitorEnter(o);
        Object::monitorExit(o);
    }
}

TEST_F(Collector, MonitorEntriesOfSweptObjectsAreReleasedWhateverTheFinalizer) {
    runOnJavaThread(&lockAndDrop);
    collect();
    EXPECT_GE(g_finalized.load(), 8);
    EXPECT_EQ(m_app->monitors().entriesInUse(), 10 - g_finalized.load());
}

void lockMany(void*) {
    for (int i = 0; i < rt::MonitorTable::kEntries + 20; ++i) {
        Object* o = newObject<Selfish>();
        Object::monitorEnter(o);
        Object::monitorExit(o);
    }
}

TEST_F(Collector, FullMonitorTableCollectsAndRetries) {
    runOnJavaThread(&lockMany);
    EXPECT_FALSE(m_log.contains("monitor table full"));
    EXPECT_LE(m_app->monitors().entriesInUse(), rt::MonitorTable::kEntries);
}

[[gnu::noinline]] void throwUnreferenced() {
    rt::throwNew(cid::java_lang_IllegalStateException, String::fromUtf8("kept"));
}


TEST_F(Collector, PendingExceptionSurvivesCollection) {
    throwUnreferenced();
    scrubStack();
    collect();
    Object* e = Application::pendingException();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(om().isRegistered(e));
    EXPECT_EQ(toUtf8(static_cast<java_lang_Throwable*>(e)->getMessage()), "kept");
    Application::clearPendingException();
}

TEST_F(Collector, FinalCollectionSweepsNonCollectableObjectsToo) {
    Object* pinned = newObject<Tracked>();
    pinned->setCollectable(false);
    rt::GlobalRef ref(newObject<Tracked>());
    collect();
    EXPECT_EQ(g_finalized.load(), 0);
    m_app->close();
    EXPECT_EQ(g_finalized.load(), 2);
}

TEST(CollectorExhaustion, ExhaustedObjectHeapStopsInOrder) {
    EXPECT_EXIT(
        {
            Application::Config config;
            config.objectHeapSize = 64 * 1024;
            config.dataHeapSize = 64 * 1024;
            Application::init(config);
            ObjectArray* keep = newObjectArray(cid::Object, 4000);
            for (int i = 0;; ++i) keep->data()[i % 4000] = newObject<Tracked>();
        },
        testing::ExitedWithCode(3), "");
}

}  // namespace

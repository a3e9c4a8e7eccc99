// Closing the application while other Java threads still run: they are held
// at their safe points for good (also once the application is gone), the
// final sweep runs every finalizer with them held, and holding never
// deadlocks with a collection started on another thread. Leaves held
// threads behind on purpose: a program of its own.
#include <atomic>
#include <chrono>
#include <thread>

#include "tests/runtime/fixture.h"

namespace {

using namespace std::chrono_literals;

std::atomic<int> g_finalized{0};

class Counted : public Object {
public:
    Counted() : Object(cid::java_util_HashtableEntry) {}
    void finalize() override {
        g_finalized.fetch_add(1);
        Object::finalize();
    }
};

struct Worker {
    enum Kind { Sleeper, Allocator, Collector } kind;
    std::atomic<int> rounds{0};
};

// The game thread's shapes: a loop that sleeps, one that allocates at a
// high rate, one that collects after every round (as a paint does).
void work(void* arg) {
    auto* w = static_cast<Worker*>(arg);
    rt::GlobalRef keep(newObject<Counted>());  // reachable from this thread only
    for (;;) {
        switch (w->kind) {
        case Worker::Sleeper:
            java_lang_Thread::sleep(1);
            break;
        case Worker::Allocator:
            for (int i = 0; i < 50; ++i) newObject<Counted>();
            break;
        case Worker::Collector:
            newObject<Counted>();
            Application::instance()->objects().gc(ObjectManager::kForced);
            break;
        }
        w->rounds.fetch_add(1);
    }
}

Application* startApp() {
    Application::Config config;
    config.objectHeapSize = 1 << 20;
    config.dataHeapSize = 1 << 20;
    static std::vector<const StaticsContribution*> none;
    config.statics = &none;
    return Application::init(config);
}

bool waitUntil(const std::function<bool()>& pred) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;  // hang guard
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        java_lang_Thread::sleep(1);
    }
    return true;
}

// Each round: a fresh application with one worker, closed while it runs.
// The worker never takes another step, nothing is allocated without an
// application, and every object (also the one only the held thread refers
// to) was finalized.
TEST(Close, HeldThreadsStayHeldAndEveryFinalizerRuns) {
    LogCapture log;
    for (Worker::Kind kind : {Worker::Sleeper, Worker::Allocator, Worker::Collector}) {
        for (int round = 0; round < 8; ++round) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " round " << round);
            auto* w = new Worker{kind};  // outlives the round: the held thread points at it
            Application* app = startApp();
            ASSERT_NE(app, nullptr);
            g_finalized = 0;
            for (int i = 0; i < 20; ++i) newObject<Counted>();
            auto* thread = newObject<java_lang_Thread>(newObject<Task>(&work, w));
            ASSERT_GE(java_lang_Thread::start(thread), 0);
            ASSERT_TRUE(waitUntil([&] { return w->rounds.load() >= 3; }));
            const int before = g_finalized.load();
            app->close();
            EXPECT_EQ(Application::instance(), nullptr);
            EXPECT_GT(g_finalized.load(), before);
            const int finalizedAtClose = g_finalized.load();
            const int rounds = w->rounds.load();
            std::this_thread::sleep_for(5ms);
            EXPECT_EQ(w->rounds.load(), rounds);
            EXPECT_EQ(g_finalized.load(), finalizedAtClose);
        }
    }
    EXPECT_FALSE(log.contains("without an application"));
    EXPECT_TRUE(log.contains("Application::close(): 1 Java thread(s) still running; they stay stopped"));
}

// The finalizer of an object that only the held thread refers to still
// runs: it releases native resources like any other.
TEST(Close, ObjectOnlyAHeldThreadRefersToIsFinalized) {
    Application* app = startApp();
    auto* w = new Worker{Worker::Sleeper};
    g_finalized = 0;
    auto* thread = newObject<java_lang_Thread>(newObject<Task>(&work, w));
    ASSERT_GE(java_lang_Thread::start(thread), 0);
    ASSERT_TRUE(waitUntil([&] { return w->rounds.load() >= 2; }));
    app->objects().gc(ObjectManager::kForced);
    EXPECT_EQ(g_finalized.load(), 0);  // alive while its thread runs
    app->close();
    EXPECT_EQ(g_finalized.load(), 1);
}

}  // namespace

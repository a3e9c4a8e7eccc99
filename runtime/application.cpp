// Application set-up and tear-down.
#include "runtime/application.h"

#include <atomic>

#include "runtime/javathread.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/statics.h"

namespace {
std::atomic<Application*> g_application{nullptr};
std::atomic<void*> g_mainStackTop{nullptr};
}  // namespace

namespace rt {
void recordMainStackTop(void* top) { g_mainStackTop.store(top); }
void* mainStackTop() { return g_mainStackTop.load(); }
}  // namespace rt

Application* Application::instance() { return g_application.load(std::memory_order_acquire); }

Application* Application::init(const Config& config) {
    if (instance()) {
        logPrintf("Application::init(): an application already exists");
        return instance();
    }
    void* stackTop = config.stackTop ? config.stackTop : rt::mainStackTop();
    if (!stackTop) {
        logPrintf("Application::init(): no main stack top recorded; scanning from here");
        stackTop = __builtin_frame_address(0);
    }

    auto* app = new Application();
    app->m_threads = new rt::ThreadTable();
    app->m_monitors = std::make_unique<rt::MonitorTable>();
    app->m_threads->attachCurrent(stackTop, true, nullptr);

    logPrintf("new MemoryManagers");
    app->m_objectHeap = std::make_unique<MemoryManager>(config.objectHeapSize, false);
    app->m_dataHeap = std::make_unique<MemoryManager>(config.dataHeapSize, true);
    logPrintf("new ObjectManager");
    app->m_objects = std::make_unique<ObjectManager>(app);
    app->m_objectHeap->setShortageHandler(app->m_objects.get());
    app->m_dataHeap->setShortageHandler(app->m_objects.get());
    logPrintf("new StaticClass");
    app->m_statics = new StaticClass(config.statics ? *config.statics : StaticClass::registered());
    app->m_statics->initClassTable();
    g_application.store(app, std::memory_order_release);

    // Thread 0: the calling thread's Thread object (not collectable).
    auto* mainThread = newObject<java_lang_Thread>();
    mainThread->m_priority = 6;  // 9 minus the normal platform priority (3)
    rt::currentContext()->thread = mainThread;

    logPrintf("Application::init");
    app->m_statics->initialize(config.loadConstants, config.runClassInitialisers);
    return app;
}

void Application::close() {
    logPrintf("Application::close");
    if (onClose) onClose(*this);
    rt::ThreadContext* self = rt::currentContext();
    int others = 0;
    {
        std::lock_guard<std::mutex> lock(m_threads->lock());
        m_threads->forEachUsed([&](rt::ThreadContext& c) {
            if (&c != self && c.java) ++others;
        });
    }
    if (others) {
        // They cannot be ended from here: they stay parked at their safe
        // points for good. The final sweep runs with them held, so every
        // finalizer still runs.
        logPrintf("Application::close(): %d Java thread(s) still running; they stay stopped", others);
    }
    m_objects->holdOtherThreads();
    // Held or attached threads wait inside the thread table (and may still
    // point into the heaps): those stay in place when any is left.
    const bool keep = m_threads->othersInUse();
    for (Object*& r : m_roots) r = nullptr;
    m_statics->m_stringPool = nullptr;
    if (self) {
        self->pending = nullptr;
        self->thread = nullptr;
    }
    m_objects->gc(ObjectManager::kFinal);
    g_application.store(nullptr, std::memory_order_release);
    if (self) {
        std::lock_guard<std::mutex> lock(m_threads->lock());
        self->reset();
        rt::setCurrentContext(nullptr);
    }
    if (!keep) delete this;
}

Application::~Application() {
    delete m_statics;
    m_objects.reset();
    m_objectHeap.reset();
    m_dataHeap.reset();
    delete m_threads;
}

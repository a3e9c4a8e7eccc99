// Thread natives: start, thread entry, sleep, priorities, current thread.
#include "runtime/javathread.h"

#include <chrono>
#include <string>
#include <system_error>
#include <thread>

#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/threads.h"

java_lang_Thread::java_lang_Thread(Object* target, uint16_t classId) : Object(classId) {
    m_priority = 0;
    m_target = target;
    StaticClass::setRefFieldOffsets(this, {&m_target});
}

void* java_lang_Thread::getInterface(jint interfaceId) {
    return interfaceId == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
}

void java_lang_Thread::run() {
    if (!m_target) return;
    if (auto* runnable = interfaceOf<java_lang_Runnable>(m_target, cid::java_lang_Runnable)) runnable->run();
}

String* java_lang_Thread::toString() {
    StaticClass* statics = StaticClass::instance();
    auto entry = [&](jint n) {
        return statics && statics->m_stringPool ? toUtf8(StaticClass::getStringConstant(n)) : std::string();
    };
    std::string text = entry(188) + std::to_string(hashCode()) + entry(111) + std::to_string(getPriority()) + entry(189);
    return String::fromUtf8(text);
}

void java_lang_Thread::setPriority(jint p) {
    if (p < 1 || p > 10) {
        rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
        return;
    }
    m_priority = p;
    setPriority(this, p);
}

jint java_lang_Thread::nativePriorityFor(jint p) {
    switch (p) {
    case 0: return 6;
    case 1: case 2: return 5;
    case 3: case 4: return 4;
    case 5: case 6: return 3;
    case 7: case 8: return 2;
    case 9: case 10: return 1;
    default: return p;
    }
}

jint java_lang_Thread::setPriority(java_lang_Thread* thread, jint p) {
    Application* app = Application::instance();
    // Threads share one scheduling class here; the native value is kept
    // for diagnostics only, written under the table lock (the thread may
    // end and its slot go to another thread meanwhile).
    return app && app->threads().setNativePriority(thread, nativePriorityFor(p)) ? 1 : -1;
}

namespace {

void threadMain(Application* app, rt::ThreadContext* context) {
    app->threads().startRunning(context, __builtin_frame_address(0));
    java_lang_Thread* thread = context->thread;
    Object* target = thread->m_target ? thread->m_target : thread;
    if (auto* runnable = interfaceOf<java_lang_Runnable>(target, cid::java_lang_Runnable)) {
        runnable->run();
    } else {
        rt::logWithStackTrace("java_lang_Thread::threadMain(): target is not Runnable");
    }
    Application::drainPendingException("java_lang_Thread::threadMain()");
    app->threads().finishRunning(context);
}

}  // namespace

jint java_lang_Thread::start(java_lang_Thread* thread) {
    if (!thread) {
        rt::logNullPointer();
        return -1;
    }
    Application* app = Application::instance();
    if (!app) return -1;
    rt::ThreadTable& table = app->threads();
    int existing = table.slotOf(thread);
    if (existing >= 0) return existing;
    rt::ThreadContext* context = table.reserveJava(thread, nativePriorityFor(thread->m_priority));
    if (!context) {
        rt::logWithStackTrace("java_lang_Thread::start(): no free thread slot");
        return -1;
    }
    thread->setCollectable(false);
    const int slot = table.indexOf(context);  // the thread may end before start() returns
    try {
        std::thread(threadMain, app, context).detach();
    } catch (const std::system_error& e) {
        logPrintf("java_lang_Thread::start(): cannot create a thread: %s", e.what());
        table.releaseReserved(context);
        return -1;
    }
    return slot;
}

java_lang_Thread* java_lang_Thread::currentThread() {
    rt::ThreadContext* c = rt::currentContext();
    return c && c->java ? c->thread : nullptr;
}

jboolean java_lang_Thread::isAlive(java_lang_Thread* thread) {
    Application* app = Application::instance();
    return app && app->threads().slotOf(thread) >= 0 ? 1 : 0;
}

jint java_lang_Thread::activeCount() {
    Application* app = Application::instance();
    return app ? app->threads().javaThreadCount() : 0;
}

void java_lang_Thread::sleep(jlong ms) {
    if (ms < 0) return;
    Application* app = Application::instance();
    const bool stopping = app && app->threads().stopRequested();
    const uint32_t id = rt::currentThreadId();
    if (stopping) logPrintf("java_lang_Thread::sleep(): thread 0x%X suspending...", id);
    {
        BlockingRegion blocking;
        if (ms == 0) std::this_thread::yield();
        else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    if (stopping) logPrintf("java_lang_Thread::sleep(): thread 0x%X is awake", id);
}

void java_lang_Thread::join() {
    if (currentThread() == this) return;
    while (isAlive(this)) sleep(1);
}

// java.util.Timer, TimerTask, TaskQueue and TimerThread.
#include "javalib/timer.h"

#include "javalib/calendar.h"
#include "javalib/synchronized.h"
#include "runtime/system.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/statics.h"

namespace {

void throwIllegalArgument(jint poolIndex) {
    rt::throwNew(cid::java_lang_IllegalArgumentException, StaticClass::getStringConstant(poolIndex));
}

void throwIllegalState(jint poolIndex) {
    rt::throwNew(cid::java_lang_IllegalStateException, StaticClass::getStringConstant(poolIndex));
}

}  // namespace

// --- TimerTask --------------------------------------------------------------

java_util_TimerTask::java_util_TimerTask(uint16_t classId) : Object(classId) {
    m_lock = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_lock});
    m_state = kVirgin;
    m_nextExecutionTime = 0;
    m_period = 0;
    Object* lock = newObject<Object>(cid::Object);
    m_lock = lock;
}

void* java_util_TimerTask::getInterface(jint interfaceId) {
    return interfaceId == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
}

jboolean java_util_TimerTask::cancel() {
    JavaMonitorScope lock(m_lock);
    const jboolean result = m_state == kScheduled ? 1 : 0;
    m_state = kCancelled;
    return result;
}

jlong java_util_TimerTask::scheduledExecutionTime() {
    JavaMonitorScope lock(m_lock);
    return m_period < 0 ? java::ladd(m_nextExecutionTime, m_period) : java::lsub(m_nextExecutionTime, m_period);
}

// --- TaskQueue --------------------------------------------------------------

java_util_TaskQueue::java_util_TaskQueue() : Object(cid::java_util_TaskQueue) {
    m_queue = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_queue});
    m_size = 0;
    m_queue = newObjectArray(cid::java_util_TimerTask, 4);
}

jboolean java_util_TaskQueue::isEmpty() { return m_size == 0 ? 1 : 0; }

void java_util_TaskQueue::clear() {
    for (jint i = 1; i <= m_size; ++i) m_queue->data()[i] = nullptr;
    m_size = 0;
}

void java_util_TaskQueue::add(java_util_TimerTask* task) {
    ++m_size;
    if (m_size == m_queue->length()) {
        ObjectArray* bigger = newObjectArray(cid::java_util_TimerTask, java::imul(m_queue->length(), 2));
        for (jint i = 0; i < m_size; ++i) bigger->data()[i] = m_queue->data()[i];
        m_queue = bigger;
    }
    m_queue->data()[m_size] = task;
    fixUp(m_size);
}

java_util_TimerTask* java_util_TaskQueue::getMin() { return m_size > 0 ? at(1) : nullptr; }

void java_util_TaskQueue::removeMin() {
    if (m_size == 0) return;
    m_queue->data()[1] = m_queue->data()[m_size];
    m_queue->data()[m_size] = nullptr;
    --m_size;
    fixDown(1);
}

void java_util_TaskQueue::rescheduleMin(jlong newTime) {
    if (m_size == 0) return;
    at(1)->m_nextExecutionTime = newTime;
    fixDown(1);
}

void java_util_TaskQueue::swap(jint i, jint j) {
    Object** elements = m_queue->data();
    Object* t = elements[i];
    elements[i] = elements[j];
    elements[j] = t;
}

void java_util_TaskQueue::fixUp(jint k) {
    while (k > 1) {
        const jint j = k / 2;
        if (at(j)->m_nextExecutionTime <= at(k)->m_nextExecutionTime) break;
        swap(j, k);
        k = j;
    }
}

void java_util_TaskQueue::fixDown(jint k) {
    for (;;) {
        jint j = 2 * k;
        if (j > m_size || j <= 0) break;
        if (j < m_size && at(j)->m_nextExecutionTime > at(j + 1)->m_nextExecutionTime) ++j;
        if (at(k)->m_nextExecutionTime <= at(j)->m_nextExecutionTime) break;
        swap(k, j);
        k = j;
    }
}

// --- TimerThread ------------------------------------------------------------

java_util_TimerThread::java_util_TimerThread(java_util_TaskQueue* queue)
    : java_lang_Thread(nullptr, cid::java_util_TimerThread) {
    StaticClass::extendRefFieldOffsets(this, {&m_target, &m_queue});
    m_newTasksMayBeScheduled = 0;
    m_queue = nullptr;
    // The creating thread's priority (a native thread without a Java thread
    // gives the normal priority 5).
    java_lang_Thread* creator = java_lang_Thread::currentThread();
    const jint priority = creator ? creator->getPriority() : 5;
    m_priority = priority;
    m_target = nullptr;
    setPriority(priority);
    if (Application::checkException(0)) return;
    m_newTasksMayBeScheduled = 1;
    m_queue = queue;
}

void java_util_TimerThread::run() {
    if (!m_queue) return;
    while (mainLoopTurn()) {
    }
}

bool java_util_TimerThread::mainLoopTurn() {
    java_util_TimerTask* task = nullptr;
    bool fired = false;
    {
        JavaMonitorScope queueLock(m_queue);
        while (m_queue->isEmpty() && m_newTasksMayBeScheduled) {
            Object::wait(m_queue, 30000);
            if (Application::drainPendingException("java_util_TimerThread::run()")) return false;
        }
        if (m_queue->isEmpty()) return false;  // cancelled
        task = m_queue->getMin();
        jlong now = 0, executionTime = 0;
        {
            JavaMonitorScope taskLock(task->m_lock);
            if (task->m_state == java_util_TimerTask::kCancelled) {
                m_queue->removeMin();
                return true;
            }
            now = java_lang_System::currentTimeMillis();
            executionTime = task->m_nextExecutionTime;
            fired = executionTime <= now;
            if (fired) {
                if (task->m_period == 0) {
                    m_queue->removeMin();
                    task->m_state = java_util_TimerTask::kExecuted;
                } else {
                    m_queue->rescheduleMin(task->m_period < 0 ? java::lsub(now, task->m_period)
                                                              : java::ladd(executionTime, task->m_period));
                }
            }
        }
        if (!fired) {
            Object::wait(m_queue, java::lsub(executionTime, now));
            if (Application::drainPendingException("java_util_TimerThread::run()")) return false;
        }
    }
    if (fired) {
        task->run();
        Application::drainPendingException("java_util_TimerThread::run()");
    }
    return true;
}

// --- Timer --------------------------------------------------------------------

java_util_Timer::java_util_Timer() : Object(cid::java_util_Timer) {
    m_queue = nullptr;
    m_thread = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_queue, &m_thread});
    java_util_TaskQueue* queue = newObject<java_util_TaskQueue>();
    m_queue = queue;
    java_util_TimerThread* thread = newObject<java_util_TimerThread>(queue);
    if (Application::checkException(0)) return;
    m_thread = thread;
    java_lang_Thread::start(thread);
}

void java_util_Timer::schedule(java_util_TimerTask* task, jlong delay) {
    if (delay < 0) {
        throwIllegalArgument(156);
        return;
    }
    sched(task, java::ladd(java_lang_System::currentTimeMillis(), delay), 0);
}

void java_util_Timer::scheduleAt(java_util_TimerTask* task, java_util_Date* time) {
    if (!time) {
        rt::logNullPointer();
        return;
    }
    sched(task, time->getTime(), 0);
}

void java_util_Timer::schedule(java_util_TimerTask* task, jlong delay, jlong period) {
    if (delay < 0) {
        throwIllegalArgument(156);
        return;
    }
    if (period <= 0) {
        throwIllegalArgument(157);
        return;
    }
    sched(task, java::ladd(java_lang_System::currentTimeMillis(), delay), java::lneg(period));
}

void java_util_Timer::scheduleAt(java_util_TimerTask* task, java_util_Date* firstTime, jlong period) {
    if (period <= 0) {
        throwIllegalArgument(157);
        return;
    }
    if (!firstTime) {
        rt::logNullPointer();
        return;
    }
    sched(task, firstTime->getTime(), java::lneg(period));
}

void java_util_Timer::scheduleAtFixedRate(java_util_TimerTask* task, jlong delay, jlong period) {
    if (delay < 0) {
        throwIllegalArgument(156);
        return;
    }
    if (period <= 0) {
        throwIllegalArgument(157);
        return;
    }
    sched(task, java::ladd(java_lang_System::currentTimeMillis(), delay), period);
}

void java_util_Timer::scheduleAtFixedRateFrom(java_util_TimerTask* task, java_util_Date* firstTime, jlong period) {
    if (period <= 0) {
        throwIllegalArgument(157);
        return;
    }
    if (!firstTime) {
        rt::logNullPointer();
        return;
    }
    sched(task, firstTime->getTime(), period);
}

void java_util_Timer::sched(java_util_TimerTask* task, jlong time, jlong period) {
    if (time < 0) {
        throwIllegalArgument(158);
        return;
    }
    if (!task || !m_queue) {
        rt::logNullPointer();
        return;
    }
    JavaMonitorScope queueLock(m_queue);
    if (!m_thread || !m_thread->m_newTasksMayBeScheduled) {
        throwIllegalState(159);
        return;
    }
    if (!java_lang_Thread::isAlive(m_thread)) {
        java_util_TimerThread* thread = newObject<java_util_TimerThread>(m_queue);
        if (Application::checkException(0)) return;
        m_thread = thread;
        java_lang_Thread::start(thread);
    }
    {
        JavaMonitorScope taskLock(task->m_lock);
        if (task->m_state != java_util_TimerTask::kVirgin) {
            throwIllegalState(160);
            return;
        }
        task->m_nextExecutionTime = time;
        task->m_period = period;
        task->m_state = java_util_TimerTask::kScheduled;
    }
    m_queue->add(task);
    if (m_queue->getMin() == task) Object::notify(m_queue, 1);
}

void java_util_Timer::cancel() {
    if (!m_queue) return;
    JavaMonitorScope queueLock(m_queue);
    if (m_thread) m_thread->m_newTasksMayBeScheduled = 0;
    m_queue->clear();
    Object::notify(m_queue, 1);
}

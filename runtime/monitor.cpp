// Monitor table: entry creation and release, enter/exit, wait and notify.
#include "runtime/monitor.h"

#include <chrono>
#include <optional>

#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/threads.h"

namespace rt {

namespace {

// The end of a wait of `ms` milliseconds on the steady clock; none when it
// lies beyond the clock's range (such a wait is untimed).
std::optional<std::chrono::steady_clock::time_point> deadlineAfter(jlong ms) {
    using namespace std::chrono;
    const steady_clock::time_point now = steady_clock::now();
    const jlong room = duration_cast<milliseconds>(steady_clock::time_point::max() - now).count();
    if (ms >= room) return std::nullopt;
    return now + milliseconds(ms);
}

}  // namespace

int MonitorTable::lookup(Object* object) {
    for (int i = 0; i < kEntries; ++i)
        if (m_entries[i].object == object) return i;
    return -1;
}

int MonitorTable::find(Object* object, bool create) {
    if (!object) return -1;
    std::lock_guard<std::mutex> lock(m_tableLock);
    int i = lookup(object);
    if (i >= 0 || !create) return i;
    for (int k = 0; k < kEntries; ++k) {
        Entry& e = m_entries[k];
        if (!e.object) {
            e.object = object;
            e.owner = 0;
            e.count = 0;
            for (Waiter*& w : e.waiters) w = nullptr;
            object->setHasMonitor(true);
            return k;
        }
    }
    return -1;
}

void MonitorTable::release(Object* object) {
    std::lock_guard<std::mutex> lock(m_tableLock);
    int i = lookup(object);
    if (i < 0) return;
    Entry& e = m_entries[i];
    e.object = nullptr;
    e.owner = 0;
    e.count = 0;
    for (Waiter*& w : e.waiters) w = nullptr;
    object->setHasMonitor(false);
}

int MonitorTable::entriesInUse() {
    std::lock_guard<std::mutex> lock(m_tableLock);
    int n = 0;
    for (Entry& e : m_entries)
        if (e.object) ++n;
    return n;
}

void MonitorTable::acquire(Entry& e, uint32_t self, int count) {
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(e.lock);
            if (e.owner == 0 || e.owner == self) {
                e.owner = self;
                e.count += count;
                return;
            }
        }
        BlockingRegion blocking;
        std::unique_lock<std::mutex> lock(e.lock);
        e.entryCv.wait(lock, [&] { return e.owner == 0; });
    }
}

bool MonitorTable::enter(Object* object) {
    if (!object) {
        logNullPointer();
        return false;
    }
    int i = find(object, true);
    if (i < 0) {
        // Entries of dead objects are released by a collection.
        if (ObjectManager* om = ObjectManager::instance()) om->gc(ObjectManager::kForced);
        i = find(object, true);
    }
    if (i < 0) {
        logWithStackTrace("Object::monitorEnter(): monitor table full");
        return false;
    }
    acquire(m_entries[i], currentThreadId(), 1);
    return true;
}

void MonitorTable::exit(Object* object) {
    if (!object) {
        logNullPointer();
        return;
    }
    int i = find(object, false);
    if (i < 0) return;
    Entry& e = m_entries[i];
    std::lock_guard<std::mutex> lock(e.lock);
    if (e.owner != currentThreadId()) {
        logWithStackTrace("Object::monitorExit(): monitor not owned by this thread");
        return;
    }
    if (--e.count == 0) {
        e.owner = 0;
        e.entryCv.notify_one();
    }
}

bool MonitorTable::ownedByCaller(Object* object) {
    int i = find(object, false);
    if (i < 0) return false;
    std::lock_guard<std::mutex> lock(m_entries[i].lock);
    return m_entries[i].owner == currentThreadId();
}

void MonitorTable::wait(Object* object, jlong ms) {
    if (!object) {
        logNullPointer();
        return;
    }
    const uint32_t self = currentThreadId();
    int i = find(object, false);
    if (i < 0 || !ownedByCaller(object)) {
        throwNew(cid::java_lang_IllegalMonitorStateException);
        return;
    }
    Entry& e = m_entries[i];
    Waiter me;
    int saved;
    {
        std::lock_guard<std::mutex> lock(e.lock);
        int slot = -1;
        for (int k = 0; k < kWaiters; ++k) {
            if (!e.waiters[k]) {
                slot = k;
                break;
            }
        }
        if (slot < 0) {
            // All waiter positions taken: a spurious wake-up, as Java allows.
            logPrintf("Object::wait(): more than %d waiters on one monitor", kWaiters);
            return;
        }
        e.waiters[slot] = &me;
        saved = e.count;
        e.count = 0;
        e.owner = 0;
        e.entryCv.notify_one();
    }
    {
        BlockingRegion blocking;
        std::unique_lock<std::mutex> lock(e.lock);
        auto notified = [&] { return me.notified; };
        const auto deadline = ms > 0 ? deadlineAfter(ms) : std::nullopt;
        if (deadline) e.waitCv.wait_until(lock, *deadline, notified);
        else e.waitCv.wait(lock, notified);
        for (Waiter*& w : e.waiters)
            if (w == &me) w = nullptr;
    }
    acquire(e, self, saved);
}

void MonitorTable::notify(Object* object, jint n) {
    if (!object) {
        logNullPointer();
        return;
    }
    int i = find(object, false);
    if (i < 0 || !ownedByCaller(object)) {
        throwNew(cid::java_lang_IllegalMonitorStateException);
        return;
    }
    Entry& e = m_entries[i];
    std::lock_guard<std::mutex> lock(e.lock);
    int woken = 0;
    for (Waiter*& w : e.waiters) {
        if (n >= 0 && woken >= n) break;
        if (w && !w->notified) {
            w->notified = true;
            w = nullptr;
            ++woken;
        }
    }
    if (woken) e.waitCv.notify_all();
}

}  // namespace rt

void Object::monitorEnter(Object* object) {
    if (Application* app = Application::instance()) app->monitors().enter(object);
}
void Object::monitorExit(Object* object) {
    if (Application* app = Application::instance()) app->monitors().exit(object);
}
void Object::wait(Object* object, jlong ms) {
    if (Application* app = Application::instance()) app->monitors().wait(object, ms);
}
void Object::notify(Object* object, jint n) {
    if (Application* app = Application::instance()) app->monitors().notify(object, n);
}

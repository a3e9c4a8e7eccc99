// Java monitors: a table of 128 entries, one per object that has been
// synchronised on, each a re-entrant lock with up to 8 waiters.
//
// Invariants: an entry's object key is set and cleared under the table
// lock, so two threads creating the entry of one object end with one entry.
// Blocking (entering a held monitor, wait) happens inside a BlockingRegion,
// so a thread waiting for a monitor never holds up a collection. The entry
// of a swept object is released by the collector whatever its finalizer
// does. When the table is full a collection runs and the look-up is
// retried before the request fails.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "runtime/object.h"

namespace rt {

class MonitorTable {
public:
    static constexpr int kEntries = 128;
    static constexpr int kWaiters = 8;

    // Index of the object's entry; creates one when asked. -1 when there is
    // none (and none may be created) or the table is full.
    int find(Object* object, bool create);
    // Collector side: frees the entry of a dead object (no lock waits: the
    // other threads are stopped and none can hold it).
    void release(Object* object);
    int entriesInUse();

    // True when the monitor was taken; false (logged) when no entry could
    // be had.
    bool enter(Object* object);
    void exit(Object* object);
    void wait(Object* object, jlong ms);
    void notify(Object* object, jint n);
    // The calling thread owns the object's monitor.
    bool ownedByCaller(Object* object);

private:
    struct Waiter {
        bool notified = false;
    };
    struct Entry {
        Object* object = nullptr;
        std::mutex lock;                 // guards the fields below
        std::condition_variable entryCv; // owner left
        std::condition_variable waitCv;  // a waiter was notified
        uint32_t owner = 0;              // runtime thread id, 0 = free
        int count = 0;
        Waiter* waiters[kWaiters] = {};
    };

    int lookup(Object* object);
    void acquire(Entry& e, uint32_t self, int count);

    std::mutex m_tableLock;
    Entry m_entries[kEntries];
};

}  // namespace rt

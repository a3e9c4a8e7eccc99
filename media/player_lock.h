// The lock that serialises one player's operations. A Java thread that has
// to wait for it waits inside a BlockingRegion, so a player busy in a long
// operation (decoding, talking to the sound server) never holds up a
// collection. Re-entrant: start may realize and prefetch under one lock.
#pragma once

#include "runtime/threads.h"

#include <mutex>

namespace media {

class PlayerLock {
public:
    explicit PlayerLock(std::recursive_mutex& mutex) : m_mutex(mutex) { rt::lockAtSafePoint(m_mutex); }
    ~PlayerLock() { m_mutex.unlock(); }
    PlayerLock(const PlayerLock&) = delete;
    PlayerLock& operator=(const PlayerLock&) = delete;

private:
    std::recursive_mutex& m_mutex;
};

}  // namespace media

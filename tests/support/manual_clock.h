// The clock the drivers give the game: it moves only when a driver steps,
// from a fixed start, and never sleeps.
#pragma once

#include "game/flow/canvas.h"

namespace stepdriver {

class ManualClock final : public game::GameClock {
public:
    static constexpr jlong kStart = 1000000;
    jlong now() override { return m_now; }
    void sleep(jint) override {}
    void advance(jlong ms) { m_now += ms; }
    void reset() { m_now = kStart; }

private:
    jlong m_now = kStart;
};

}  // namespace stepdriver

// Hero run traces (see trace.h).
#include "tests/game/world/hero/trace.h"

#include <cstdio>

namespace herotest {

const std::vector<const char*>& traceFieldNames() {
    static const std::vector<const char*> names = {"game", "state", "ticks", "x", "y", "vx", "vy", "ax",
                                                    "ay", "result", "facing", "anim", "camX", "camY",
                                                    "health", "actors"};
    return names;
}

std::vector<int32_t> traceValues(const TraceLine& l) {
    return {l.gameState, l.heroState, l.ticks, l.x, l.y, l.vx, l.vy, l.ax,
            l.ay, l.collisionResult, l.facing, l.anim, l.cameraX, l.cameraY, l.health, l.liveActors};
}

std::string formatTraceLine(int step, const TraceLine& l) {
    std::string s = std::to_string(step);
    const auto& names = traceFieldNames();
    std::vector<int32_t> v = traceValues(l);
    for (size_t i = 0; i < v.size(); ++i) {
        char buf[48];
        if (std::string(names[i]) == "result")
            std::snprintf(buf, sizeof buf, " %s=0x%X", names[i], static_cast<unsigned>(v[i]));
        else
            std::snprintf(buf, sizeof buf, " %s=%d", names[i], v[i]);
        s += buf;
    }
    return s;
}

std::optional<Divergence> firstDivergence(const std::vector<TraceLine>& expected,
                                          const std::vector<TraceLine>& actual) {
    const size_t n = expected.size() < actual.size() ? expected.size() : actual.size();
    for (size_t step = 0; step < n; ++step) {
        std::vector<int32_t> e = traceValues(expected[step]), a = traceValues(actual[step]);
        for (size_t f = 0; f < e.size(); ++f)
            if (e[f] != a[f]) return Divergence{static_cast<int>(step), traceFieldNames()[f], e[f], a[f]};
    }
    if (expected.size() != actual.size())
        return Divergence{static_cast<int>(n), "length", static_cast<int32_t>(expected.size()),
                          static_cast<int32_t>(actual.size())};
    return std::nullopt;
}

std::string describe(const Divergence& d) {
    return "step " + std::to_string(d.step) + ": " + d.field + " expected " + std::to_string(d.expected) + ", got " +
           std::to_string(d.actual);
}

}  // namespace herotest

// One line per step of a hero run, and the first place two runs differ.
// A line holds the game state, the hero's state, ticks, position, motion,
// the physics result, facing, animation, camera centre, health and the
// number of live actors, in that order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace herotest {

struct TraceLine {
    int32_t gameState = 0, heroState = 0, ticks = 0;
    int32_t x = 0, y = 0, vx = 0, vy = 0, ax = 0, ay = 0;
    int32_t collisionResult = 0, facing = 0, anim = 0;
    int32_t cameraX = 0, cameraY = 0, health = 0, liveActors = 0;
};

// The field names, in line order.
const std::vector<const char*>& traceFieldNames();
std::vector<int32_t> traceValues(const TraceLine& l);
std::string formatTraceLine(int step, const TraceLine& l);

struct Divergence {
    int step;
    std::string field;
    int32_t expected, actual;
};
// The first step and field where the runs differ; a run that ends early
// differs at its end with the field "length".
std::optional<Divergence> firstDivergence(const std::vector<TraceLine>& expected,
                                          const std::vector<TraceLine>& actual);
std::string describe(const Divergence& d);

}  // namespace herotest

// The world's demo stage (see demo_world.cpp).
#pragma once

#include "tools/kit/demo.h"
#include "tools/kit/loading.h"

#include <vector>

namespace kit {

extern const char* const kDemoStage;
void addDemoWorld(std::vector<DemoEntry>& out);

// The demo stage in the loading path: stage kDemoStageNumber's level load
// (request kind 5) runs the records from kDemoStageFirstRecord on, in
// group kDemoStageGroup: the hero's sprite (0, 19), the effect sprites
// (1, 2, 4, 8, 10, 11, 28 of pack 18; 3 of pack 20), the tiles of layers 0-3, the level pack's
// layers, objects, scripts and regions, the fixed actors, the play state.
inline constexpr int kDemoStageNumber = 0;
inline constexpr int kDemoStagePack = 4;
inline constexpr int kDemoStageGroup = 3;
inline constexpr int kDemoStageFirstRecord = 221;  // the level data records, 221-257
void addDemoStageLoading(LoadTable& table);
Bytes demoStageCondition();
// Points the other demo entries at the stage: the loading table and the
// condition file gain the stage's records and group, pack 19 holds the
// kit's hero sprite, pack 18 its effect sprites, pack 20 sprite (3, 20).
void amendDemoForWorld(std::vector<DemoEntry>& entries);

}  // namespace kit

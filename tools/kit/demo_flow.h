// The game flow's demo content: the loading table and the group conditions
// that load the demo data for the logo load (kind 2) and the menu-data load
// (kind 4), the sound pack (entry k holds sound id k: the MIDI title music
// 0, the MIDI jingles 1-3, the stages' MIDI music 4-9 and the WAVE
// effects 10-36), and the flow code's pool texts.
#pragma once

#include <vector>

#include "tools/kit/demo.h"
#include "tools/kit/loading.h"

namespace kit {

inline constexpr int kDemoSoundIds = 37;
// Sound ids by use: 0 the title music; 1 the level-end fanfare, 2 the
// hero's death, 3 the results (jingles on the music channel); 4-9 the
// stages' music; 10-36 effects (the effect channel). The title, the
// jingles and the effects load with the menu data from record
// kDemoSoundFirstRecord on; each stage's music with its level.
inline constexpr int kDemoFirstJingle = 1, kDemoLastJingle = 3;
inline constexpr int kDemoFirstMusic = 4, kDemoLastMusic = 9;
inline constexpr int kDemoFirstEffect = 10;
inline constexpr int kDemoSoundFirstRecord = 60;
// The music sound id of a stage (neighbouring stages never share one).
constexpr int demoStageMusic(int stage) { return kDemoFirstMusic + stage % (kDemoLastMusic - kDemoFirstMusic + 1); }

// Record 413 runs at the first start-up step, 414 at the second logo.
LoadTable demoLoadingTable();
std::vector<Bytes> demoConditionPrograms();

void addDemoFlow(std::vector<DemoEntry>& entries);
void addDemoFlowPool(StringPool& pool);

}  // namespace kit

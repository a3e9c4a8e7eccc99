// The game flow's demo content: the loading table and the group conditions
// that load the demo data for the logo load (kind 2) and the menu-data load
// (kind 4), a sound pack with a MIDI title music and a WAVE effect, and the
// flow code's pool texts.
#pragma once

#include <vector>

#include "tools/kit/demo.h"
#include "tools/kit/loading.h"

namespace kit {

// Record 413 runs at the first start-up step, 414 at the second logo.
LoadTable demoLoadingTable();
std::vector<Bytes> demoConditionPrograms();

void addDemoFlow(std::vector<DemoEntry>& entries);
void addDemoFlowPool(StringPool& pool);

}  // namespace kit

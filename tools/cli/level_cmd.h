// bramble-kit's level commands: compile a level description into the level
// pack's entries, and inspect the object, script and region entries.
#pragma once

#include "tools/kit/damage.h"

#include <string>
#include <vector>

namespace kitcli {

// level IN.txt OUTDIR: OUTDIR/NN.bin for every entry of the level.
int levelCommand(const std::vector<std::string>& args);
// inspect level-objects|level-scripts|regions FILE; false for other kinds.
bool inspectLevelEntry(kit::FileKind kind, const kit::Bytes& data);

}  // namespace kitcli

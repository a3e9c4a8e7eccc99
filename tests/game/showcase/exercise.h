// Runs one pack through everything the screen does with it: the header,
// the entry list, every loading step, the text layout and one paint of the
// page (and of a list page). Used by the fuzz target and its replay test.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/kit/showcase.h"

namespace showcasetest {

// The pack's device path for exercisePack (a ".bar" name is read as a file
// at every opening, so each input is seen afresh).
inline constexpr const char* kFuzzPackPath = "\\temp\\showcase.bar";

// Starts an application whose pool names kFuzzPackPath as the pack.
void startFuzzWorld();
// True when the pack gave a usable screen.
bool exercisePack(const uint8_t* data, size_t size);

// The seed corpus: the demo pack, its option and variant forms, and every
// damaged variant the kit makes of them.
std::vector<kit::DamagedFile> packSeeds();

}  // namespace showcasetest

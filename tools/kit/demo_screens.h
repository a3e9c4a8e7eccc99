// The screens' demo content: the string-pool formats and markers they
// draw (each ending in the text terminator) and the texts of text-pack
// slots 0 and 1 that the screens name.
#pragma once

#include <string>
#include <vector>

#include "tools/kit/stringpool.h"

namespace kit {

void addDemoScreensPool(StringPool& pool);
// Slot 0 (small ids: prompts, labels, level-end texts) or slot 1 (menu
// rows, screens, stage names), index by index; unnamed indices hold
// "TEXT n".
std::vector<std::string> screenTexts(int slot);

}  // namespace kit

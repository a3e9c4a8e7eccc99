// The screens' demo content: the string-pool formats and markers they
// draw (each ending in the text terminator) and the text pack with slots 0
// and 1 in two languages, every text the screens name.
#pragma once

#include <string>
#include <vector>

#include "tools/kit/demo.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/stringpool.h"

namespace kit {

// The screens' text pack: entries 0 and 1 are slots 0 and 1 in English,
// 2 and 3 the same slots in German (the loading table loads the first two).
// Its German form, "de/pack5", holds the German slots first: the resource
// layer serves it for "pack5" when the launcher's language is German.
inline constexpr const char* kScreenTextPack = "pack5";
inline constexpr const char* kScreenTextPackGerman = "de/pack5";
inline constexpr int kScreenTextPackNumber = 5;

void addDemoScreensPool(StringPool& pool);
// Slot 0 (small ids: prompts, labels, level-end texts) or slot 1 (menu
// rows, screens, stage names), index by index, each ending in the text
// terminator; unnamed indices are empty.
std::vector<std::string> screenTexts(int slot, bool german = false);
std::vector<PackEntry> screenTextPackEntries();
// The same entries with the German slots first (entries 0 and 1).
std::vector<PackEntry> localizedScreenTextPackEntries();
void addDemoScreens(std::vector<DemoEntry>& entries);

}  // namespace kit

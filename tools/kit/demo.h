// The demo device root that `make run` starts the program with:
//   <dir>/device/Program Files/Tindrell/Bramble Hollow Saga/data.bar
//   <dir>/device/temp/
// The archive's entries come from one table (demoEntries), so content in
// the game's own formats is added there as those formats are built.
#pragma once

#include "tools/kit/archive.h"
#include "tools/kit/stringpool.h"

#include <functional>
#include <string>
#include <vector>

namespace kit {

inline constexpr const char* kAppFolder = "Program Files/Tindrell/Bramble Hollow Saga";
inline constexpr const char* kTempFolder = "temp";

struct DemoEntry {
    std::string name;             // archive entry name
    std::function<Bytes()> make;  // builds its bytes
};

// The string pool the runtime loads: the texts the runtime library takes
// from the pool (exception messages, record-store file naming, the sprite
// remap marker, day and month names ...) at their entry numbers, empty
// entries elsewhere, then a few demo texts.
StringPool demoStringPool();
// Hand-written descriptions in the kit's text format.
extern const char* const kDemoHeroSprite;
extern const char* const kDemoTilesSprite;
extern const char* const kDemoFont;

std::vector<DemoEntry> demoEntries();
// Each area's demo entries (tools/kit/demo_<area>.cpp).
void addDemoActor(std::vector<DemoEntry>& entries);
Bytes buildDemoArchive();
// Writes the device root under dir; answers the path of data.bar.
std::string buildDemoRoot(const std::string& dir);

}  // namespace kit

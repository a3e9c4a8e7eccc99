// The game data of the demo device root: resource packs (fonts with the
// character map, texts in two languages, sprites for the fixed sprite
// slots, a screen picture), the math tables, a small level pack, the sound
// content types, and the string-pool texts the data code reads.
//
//   pack0   0-2 fonts, 3 character map, 4 sprite + 5 its picture (screen
//           sprite); sub-pack pack0.1: 6 English texts (slot 1, LZMA),
//           7 German texts (slot 1)
//   pack1   0 quarter-wave sine table (513 ints, 16384 = 1), 1 extra table
//   pack2   a level: layers 0, 1 and 4 (three entries each), 15-17 raw
//   pack18  sprites 0-12 (the fixed sprite references of group 18)
//   pack19  sprite 0
//   types.bin  sound content types
#pragma once

#include <vector>

#include "tools/kit/demo.h"
#include "tools/kit/gamedata.h"

namespace kit {

// Pool texts of the data code: 13, 48, 52, 76, 108, 133, 137, 138 (entries
// 1 and 111 are the runtime's "" and ","). Throws KitError when an entry
// already holds another text.
void addDemoDataPool(StringPool& pool);
void addDemoData(std::vector<DemoEntry>& entries);

// Pieces the tests use as well.
std::vector<std::string> demoTexts(bool german);
DataNode demoSineNode();
std::array<std::optional<LayerGrid>, 5> demoLevelLayers();

}  // namespace kit

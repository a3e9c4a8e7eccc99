// The block family's demo content: the subtype rows of its demo actors,
// a numbered-animation sprite for blocks and items, and two levels:
// *blocks* (a 3x2 crate hiding an item, a wall with hit bits 1/2/4/16,
// rows of subtypes 82 and 151, a subtype-33 actor launched into the wall)
// and *items* (items of kinds 0/1/3/5 with flags 1 and 8, two pushers, a
// carrier dropping along a path once script command 105 runs).
#pragma once

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

#include <string>
#include <vector>

namespace kit {

// Subtypes of the demo actors.
inline constexpr int kDemoCrateSubtype = 60;    // type 4, 36 x 36 cells
inline constexpr int kDemoWallSubtype = 61;     // type 4, hit bits in params[0]
inline constexpr int kDemoWaveSubtype = 82;     // type 4 strip, the wave
inline constexpr int kDemoGapSubtype = 151;     // type 4 strip with gap edges
inline constexpr int kDemoRamSubtype = 33;      // breaks a cell and starts the chain
inline constexpr int kDemoItemSubtypes[4] = {89, 90, 91, 92};  // kinds 0, 1, 3, 5
inline constexpr int kDemoPusherSubtype = 95;   // type 88
inline constexpr int kDemoCarrierSubtype = 96;  // type 17

// Writes the demo rows of the block family into the tables.
void addDemoBlockRows(ActorTables& tables);

// Sprite description: animation 0 has four frames (the wave), every other
// animation k one frame of its own colour, so a picture names its animation.
extern const char* const kDemoBlocksSprite;

extern const char* const kDemoBlocksLevel;
extern const char* const kDemoItemsLevel;

// Levels that break the block family's rules, for fuzz seeds and the
// robustness tests: a zero cell size, blocks of 33 and 300 cells and one
// too big to accept, negative counts, short parameter lists, hidden-item
// chains that loop or point nowhere, bad and short drop paths, pushers with
// empty cycles.
inline constexpr int kDemoBadCellSubtype = 62;  // type 4 with cell width 0
struct NamedLevel {
    std::string name;
    std::string text;
};
std::vector<NamedLevel> damagedBlockLevels();

// Archive entries "blocks.spr", "level_blocks.txt" and "level_items.txt".
void addDemoBlocks(std::vector<DemoEntry>& out);

}  // namespace kit

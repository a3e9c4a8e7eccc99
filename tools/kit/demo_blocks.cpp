// The block family's demo content (see demo_blocks.h).
#include "tools/kit/demo_blocks.h"

#include "tools/kit/describe.h"
#include "tools/kit/sprite.h"

namespace kit {

const char* const kDemoBlocksSprite = R"(sprite
palette-format 6505
pixel-format 64F0
palette 00000000 FFFFFFFF
module fill FFE04040 34 34
module fill FF40E040 34 34
module fill FF4040E0 34 34
module fill FFE0E040 34 34
module fill FFE040E0 34 34
module fill FF40E0E0 34 34
module fill FFA06020 34 34
module fill FF2060A0 34 34
module fill FF808080 34 34
module fill FFF0F0F0 34 34
module fill FF604080 34 34
module fill FF80C040 34 34
module fill FFC08040 34 34
module fill FF4080C0 34 34
module fill FFC04080 34 34
module fill FF40C080 34 34
module fill FF806040 34 34
module fill FF406080 34 34
module fill FF608040 34 34
module fill FFA0A0FF 34 34
module fill FFFFA0A0 34 34
module fill FFA0FFA0 34 34
module fill FF000000 4 4
frame
fm 0 -17 -34
frame
fm 1 -17 -34
fm 22 -15 -32
frame
fm 2 -17 -34
fm 22 -9 -32
frame
fm 3 -17 -34
fm 22 -15 -32
fm 22 -9 -32
frame
fm 4 -17 -34
fm 22 -3 -32
frame
fm 5 -17 -34
fm 22 -15 -32
fm 22 -3 -32
frame
fm 6 -17 -34
fm 22 -9 -32
fm 22 -3 -32
frame
fm 7 -17 -34
fm 22 -15 -32
fm 22 -9 -32
fm 22 -3 -32
frame
fm 8 -17 -34
fm 22 3 -32
frame
fm 9 -17 -34
fm 22 -15 -32
fm 22 3 -32
frame
fm 10 -17 -34
fm 22 -9 -32
fm 22 3 -32
frame
fm 11 -17 -34
fm 22 -15 -32
fm 22 -9 -32
fm 22 3 -32
frame
fm 12 -17 -34
fm 22 -3 -32
fm 22 3 -32
frame
fm 13 -17 -34
fm 22 -15 -32
fm 22 -3 -32
fm 22 3 -32
frame
fm 14 -17 -34
fm 22 -9 -32
fm 22 -3 -32
fm 22 3 -32
frame
fm 15 -17 -34
fm 22 -15 -32
fm 22 -9 -32
fm 22 -3 -32
fm 22 3 -32
frame
fm 16 -17 -34
fm 22 9 -32
frame
fm 17 -17 -34
fm 22 -15 -32
fm 22 9 -32
frame
fm 18 -17 -34
fm 22 -9 -32
fm 22 9 -32
frame
fm 19 -17 -34
fm 22 -15 -32
fm 22 -9 -32
fm 22 9 -32
frame
fm 20 -17 -34
fm 22 -3 -32
fm 22 9 -32
frame
fm 21 -17 -34
fm 22 -15 -32
fm 22 -3 -32
fm 22 9 -32
anim
af 0 1
af 1 1
af 2 1
af 3 1
anim
af 4 1
anim
af 5 1
anim
af 6 1
anim
af 7 1
anim
af 8 1
anim
af 9 1
anim
af 10 1
anim
af 11 1
anim
af 12 1
anim
af 13 1
anim
af 14 1
anim
af 15 1
anim
af 16 1
anim
af 17 1
anim
af 18 1
anim
af 19 1
anim
af 20 1
anim
af 21 1
)";

const char* const kDemoBlocksLevel = R"(# Tile blocks: a crate hiding an item, a wall of hit bits 1/2/4/16,
# the two strip subtypes and a ram that starts a chain break.
layer 4 40 14
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6666666666666666666666666666666666666666
6666666666666666666666666666666666666666
object 0 1 200 432 7 0 160 2 -1 -1 -1 -1
# The crate: 3 x 2 cells, solid, damage frames from animation 12, one hidden item.
object 60 10 100 396 7 0 160 1 12 0 3 2 500 -1 0 0 -1
item 500 118 380 0 2 0 1 0 0 0
# The wall: one column of four cells, hit bits 1, 2, 4 and 16, two hits a cell.
object 61 11 400 324 7 0 160 23 14 0 1 4 0 -1 0 0 -1
# Strips: the wave (82) and the gapped row (151), six cells each.
object 82 12 600 300 7 0 160 1 12 0 6 1 0 -1 0 0 -1
object 151 13 900 300 7 0 160 1 12 0 6 1 0 -1 0 0 -1
# The ram: launched into the wall, it breaks a cell and starts the chain.
object 33 14 300 432 7 0 160 0 0 0 0 0 0 0
)";

const char* const kDemoItemsLevel = R"(# Items of kinds 0/1/3/5 with flags 1 and 8, two pushers and a carrier
# that drops along its path once script command 105 wakes it.
layer 4 40 14
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6......................................6
6666666666666666666666666666666666666666
6666666666666666666666666666666666666666
object 0 1 100 432 7 0 160 2 -1 -1 -1 -1
# Items of kinds 0, 1, 3 and 5: amount, pickup flags, respawn countdown.
object 89 20 160 432 7 0 160 1 1 16
object 90 21 200 432 7 3 160 1 0 0
object 91 22 240 432 7 0 160 2 8 0
object 92 23 280 432 7 0 160 1 0 0
# Two pushers closing on the gap between them: cycle 40, out at 5, back at 25.
object 95 30 400 432 7 0 160 40 5 25 1
object 95 31 640 432 7 0 160 40 5 25 -1
# The carrier: speed 512, climb 256, drop path 0, follows the hero.
object 96 32 800 200 7 0 160 512 256 0 0 -1
script 3
  target none
    key 0
      op 105 32
)";

void addDemoBlockRows(ActorTables& t) {
    auto row = [&](int subtype, std::vector<int32_t> values) {
        if (subtype >= 0 && subtype < static_cast<int>(t.rows.size())) t.rows[static_cast<size_t>(subtype)].values = values;
    };
    // {far x, far y, sprite ref, group, palette, type, width, height, flags,
    //  layer, -, piece layer, gone cell value / pickup kind, effect animation}
    row(kDemoCrateSubtype, {400, 240, -1, 18, 0, 4, 36, 36, 160, 10, -1, 10, -1, -1});
    row(kDemoWallSubtype, {400, 240, -1, 18, 0, 4, 36, 36, 160, 10, -1, 10, -1, -1});
    row(kDemoWaveSubtype, {400, 240, -1, 18, 0, 4, 36, 36, 160, 10, -1, 10, -1, -1});
    row(kDemoGapSubtype, {400, 240, -1, 18, 0, 4, 36, 36, 160, 10, -1, 10, -1, -1});
    row(kDemoRamSubtype, {400, 240, -1, 18, 0, 45, 30, 30, 160, 10, -1, 10, 4, -1});
    const int kinds[4] = {0, 1, 3, 5};
    for (int i = 0; i < 4; ++i)
        row(kDemoItemSubtypes[i], {400, 240, -1, 18, 0, 2, 24, 24, 160, 10, -1, 10, kinds[i], i == 0 ? -1 : 5});
    row(kDemoPusherSubtype, {400, 240, -1, 18, 0, 88, 72, 72, 160, 10, -1, 10, 0, -1});
    // Damaged content: a block whose cells are 0 pixels wide (row of 12).
    row(kDemoBadCellSubtype, {400, 240, -1, 18, 0, 4, 0, 36, 160, 10, -1, 10});
    row(kDemoCarrierSubtype, {400, 240, -1, 18, 0, 17, 64, 48, 160, 10, -1, 10, 0, -1});
}

std::vector<NamedLevel> damagedBlockLevels() {
    std::string floor = "layer 4 40 14\n";
    for (int r = 0; r < 14; ++r) floor += (r >= 12 ? std::string(40, '6') : "6" + std::string(38, '.') + "6") + "\n";
    floor += "object 0 1 200 432 7 0 160 2 -1 -1 -1 -1\n";
    return {
        {"zero-cell-size", floor + "object 62 10 100 396 7 0 160 1 12 0 3 2 0 -1 0 0 -1\n"},
        {"block-33-cells", floor + "object 60 10 100 36 7 0 160 1 12 0 3 11 0 -1 0 0 -1\n"},
        {"block-300-cells", floor + "object 60 10 40 36 7 0 160 1 12 0 20 15 0 -1 0 0 -1\n"},
        {"block-too-big", floor + "object 60 10 40 36 7 0 160 1 12 0 30000 30000 0 -1 0 0 -1\n"},
        {"block-negative", floor + "object 60 10 100 200 7 0 160 1 12 0 -3 -2 0 -1 0 0 -1\n"},
        {"block-short-params", floor + "object 60 10 100 200 7 0 160 1\nobject 82 11 300 200 7 0 160\n"},
        {"item-chain-loop", floor + "object 60 10 100 396 7 0 160 1 12 0 3 2 500 -1 0 0 -1\n"
                                     "item 500 118 380 500 2 0 1 0 0 0\n"},
        {"item-chain-nowhere", floor + "object 60 10 100 396 7 0 160 1 12 0 3 2 777 -1 0 0 -1\n"
                                        "item 500 5000 -400 501 999 0 1 0 0 0\n"},
        {"drop-path-missing", floor + "object 96 32 300 200 7 0 160 512 256 99 0 -1\n"
                                       "script 3\n  target none\n    key 0\n      op 105 32\n"},
        {"drop-path-short", floor + "object 96 32 300 200 7 0 160 512\n"
                                     "script 3\n  target none\n    key 0\n      op 105 32\n"},
        {"pusher-empty-cycle", floor + "object 95 30 300 432 7 0 160 0 0 0 1\nobject 95 31 360 432 7 0 160 -5 9 9 -1\n"},
        {"pusher-short", floor + "object 95 30 300 432 7 0 160\n"},
    };
}

void addDemoBlocks(std::vector<DemoEntry>& out) {
    out.push_back({"blocks.spr", [] { return encodeSprite(parseSpriteDescription(kDemoBlocksSprite)); }});
    out.push_back({"level_blocks.txt", [] { return Bytes(kDemoBlocksLevel, kDemoBlocksLevel + std::char_traits<char>::length(kDemoBlocksLevel)); }});
    out.push_back({"level_items.txt", [] { return Bytes(kDemoItemsLevel, kDemoItemsLevel + std::char_traits<char>::length(kDemoItemsLevel)); }});
}

}  // namespace kit

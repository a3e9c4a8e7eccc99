// Seed tables for the world tests and fuzzers.
#include "tests/game/world/seeds.h"

namespace worldtest {

const char* const kSeedLevel = R"(
layer 4 8 4
........
..22....
.0<1..6..
66666666
object 0 1 100 200 7 0 0 5 -1 -1 0 0
object 12 2 300 250 7 1 128 4
rect 10 0 0 720 480
link 11 1 2 3 4 5
item 12 1 2 3 4 5 6 7 8 9
object 40 3 500 100 1 0 0
script 5
  target none
    key 0
      op 37 0
      op 116 3 1000
  target camera
    key 5
      op 11 -1 100
    key 9
      op 12 400 300
  target actor 2
    key 3
      op 13 1 10 -5
      op 22 4
      op 23 0x80
      op 35 2 1 2
      op 102 1 0x20001 500
      op 115 1 0x20001 500 2
script 6
  target actor 3
    key 0
      op 24 1
      op 38 2 3
      op 125
regions
region 2 3 4 2 2 1
  5 6<
region 10 0 3 3 1 2
  .
  7%
)";

std::vector<SeedFile> tableSeeds(kit::FileKind kind) {
    kit::LevelModel m = kit::parseLevelDescription(kSeedLevel);
    kit::Bytes valid;
    switch (kind) {
    case kit::FileKind::LevelObjects: valid = kit::encodeLevelObjects(m.objects); break;
    case kit::FileKind::LevelScripts: valid = kit::encodeLevelScripts(*m.scripts); break;
    case kit::FileKind::Regions: valid = kit::encodeMapRegions(*m.regions); break;
    default: throw kit::KitError("not a level table");
    }
    std::vector<SeedFile> out{{"valid", valid, true}};
    for (kit::DamagedFile& d : kit::damageFile(kind, valid)) out.push_back({d.name, std::move(d.bytes), false});
    return out;
}

}  // namespace worldtest

// The demo stage of the world: a level of about 120 x 20 cells with walls,
// a quarter-slope ramp, a ledge of class 22, a conveyor, a pit, a low wall,
// two parallax layers, a region, the hero's record, items, a checkpoint
// marker, a path platform, a sinking platform, a crusher, a container, an
// intro script that pans the camera and takes the checkpoint at its end,
// and the level-end script (id 1) that the exit trigger near the right end
// starts. Walking right and jumping reaches the trigger. Its entries form
// the level pack "pack4".
#include "tools/kit/demo_world.h"

#include "tools/kit/gamedata.h"
#include "tools/kit/hero_sprite.h"
#include "tools/kit/level.h"
#include "tools/kit/loading.h"

#include <algorithm>

namespace kit {

const char* const kDemoStage = R"(
# The demo stage: walls, a ramp, a ledge of class 22, a conveyor, a pit, a
# low wall, a half step and the exit trigger near the right end.
layer 0 60 10
6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9
7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6
8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7
9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8
6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9
7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6
8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7
9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8
6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9
7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6 7 8 9 6< 7 8 9 6 7 8 9< 6 7 8 9 6 7 8< 9 6 7 8 9 6 7< 8 9 6
layer 1 90 15
. 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11
13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14
10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11
13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 .
. 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11
13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14
10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11
13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 .
. 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11
13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14
10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11
13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 .
. 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11
13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14
10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11 . 15 14 13 . 11 10 15 . 13 12 11
layer 2 120 20
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . 2 2 2 2 2 2 2 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1 1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 . . . . . . . . . 5 5 5 5 1 1 1 1 1 1 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 3 3 3 3 3 3 3 3 3 . . . . . . . . . . . 1 1 . . . . . . . . 4 4 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . 1
1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 . . . 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1
1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 . . . 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1
layer 4 120 20
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6.......................mmmmmmm........................................................................................6
6......................................................................................................................6
6......................................................................................................................6
6.....................................................................66...............................................6
6.........3<2<1<0<666666..............................ooooooooo...........66........77.....................................6
666666666666666666666666666666666666666666...666666666666666666666666666666666666666666666666666666666666666666666666666
666666666666666666666666666666666666666666fff666666666666666666666666666666666666666666666666666666666666666666666666666
object 0 1 120 648 7 0 160 2 -1 -1 -1 -1
rect 10 0 0 4320 720
# Two items (subtype 198, type 2) on the ledge.
object 198 40 900 468 7 0 160 0 0 0
object 198 41 1040 468 7 0 160 0 0 0
# The checkpoint marker (193) past the pit: the hero walks through it (its
# record leaves out the solid flag 128).
object 193 42 1760 648 7 0 32
# A path platform (194) between links 81 and 82 above the floor, waiting
# a second at each end.
link 81 2700 450 82 0 1000
link 82 3000 450 81 0 1000
object 194 43 2700 450 7 0 160 2 81 0 0 0
# A sinking platform (195) above the floor, out of the walking line.
object 195 44 3300 520 7 0 160 0 -1 0 0 0
# A crusher (196) high on the right, period 24 steps.
object 196 45 3500 400 7 0 160 24
# A container (203) behind the hero's start, holding item 600: an item of
# template 198.
item 600 60 560 -1 198 0 1 0 0 0
object 203 46 60 648 7 0 160 600 60 60 -30 -60
# The exit: a trigger zone (204) over x 3960-4140, y 468-648, that starts
# script 1 (the level's end) as soon as the hero is inside.
object 204 47 3960 468 7 0 32 180 180 0 1 -1 0
regions
region 60 8 6 3 2 1
  5 5<
script 1
  target none
    key 0
      op 37 0
script 2
  target none
    key 0
      op 37 6
      op 118 0
    key 70
      op 37 7
  target camera
    key 0
      op 12 600 400
    key 30
      op 12 2400 400
    key 60
      op 11 -1 -1
)";

void addDemoWorld(std::vector<DemoEntry>& out) {
    out.push_back({"pack4", [] {
                       const std::map<int, Bytes> entries = levelEntries(parseLevelDescription(kDemoStage));
                       std::vector<PackEntry> pack;
                       for (int e = 0; e <= kLevelRegionsEntry; ++e) {
                           auto it = entries.find(e);
                           PackEntry p;
                           if (it == entries.end() || it->second.empty()) p.empty = true;
                           else p.payload = it->second;
                           pack.push_back(std::move(p));
                       }
                       return buildPack(pack).header;
                   }});
}

namespace {

DemoEntry* findEntry(std::vector<DemoEntry>& entries, const std::string& name) {
    auto it = std::find_if(entries.begin(), entries.end(), [&](const DemoEntry& e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

// A one-file pack's entries, payloads decoded.
std::vector<PackEntry> decodePackEntries(const Bytes& header) {
    const ParsedPack parsed = parsePackFile(header);
    std::vector<PackEntry> out;
    for (const ParsedPackEntry& e : parsed.entries) {
        PackEntry p;
        if (e.type < 0) {
            p.empty = true;
        } else {
            p.payload = packEntryPayload(header, e);
            p.type = e.type;
            p.compress = e.compressed;
        }
        out.push_back(std::move(p));
    }
    return out;
}

LoadRecord levelRecord(int opcode, int slot, int32_t param, int pack, int resource) {
    return LoadRecord{opcode, slot, kDemoStageGroup, param, pack, resource};
}

}  // namespace

void addDemoStageLoading(LoadTable& table) {
    int i = kDemoStageFirstRecord;
    // The hero's sprite (0, 19) and the effect sprites of its states.
    table[size_t(i++)] = levelRecord(1, 100, 1, 19, 0);
    table[size_t(i++)] = levelRecord(1, 101, 1, 18, 1);
    table[size_t(i++)] = levelRecord(1, 102, 1, 18, 8);
    table[size_t(i++)] = levelRecord(1, 103, 1, 18, 10);
    table[size_t(i++)] = levelRecord(1, 104, 1, 18, 11);
    table[size_t(i++)] = levelRecord(1, 105, 1, 20, 3);
    table[size_t(i++)] = levelRecord(1, 106, 1, 18, 2);
    table[size_t(i++)] = levelRecord(1, 108, 1, 18, 4);
    table[size_t(i++)] = levelRecord(1, 109, 1, 18, 28);
    // The stage's tile sprites for layers 0-3 (the demo tiles of pack 0).
    for (int l = 0; l < 4; ++l) table[size_t(i++)] = levelRecord(15, 0, l, 0, 4);
    // The level pack: layers (the record names itself for its pack),
    // objects, scripts, regions; then the fixed actors and the play state.
    table[size_t(i)] = levelRecord(12, 0, 0, kDemoStagePack, i);
    ++i;
    table[size_t(i++)] = levelRecord(9, 0, 0, kDemoStagePack, 15);
    table[size_t(i++)] = levelRecord(10, 0, 0, kDemoStagePack, 16);
    table[size_t(i++)] = levelRecord(11, 0, 0, kDemoStagePack, 17);
    table[size_t(i++)] = levelRecord(13, 0, 0, 255, 0);
    table[size_t(i++)] = levelRecord(14, 0, 0, 255, 0);
}

Bytes demoStageCondition() {
    return assembleCondition("req 0; push 5; eq; req 1; push " + std::to_string(kDemoStageNumber) + "; eq; and");
}

void amendDemoForWorld(std::vector<DemoEntry>& entries) {
    if (DemoEntry* e = findEntry(entries, "loading.bin")) {
        auto base = e->make;
        e->make = [base] {
            LoadTable t = parseLoadingTable(base());
            addDemoStageLoading(t);
            return encodeLoadingTable(t);
        };
    }
    if (DemoEntry* e = findEntry(entries, "groups.bin")) {
        auto base = e->make;
        e->make = [base] {
            std::vector<Bytes> programs = parseConditionFile(base());
            if (programs.size() > size_t(kDemoStageGroup)) programs[size_t(kDemoStageGroup)] = demoStageCondition();
            return encodeConditionFile(programs);
        };
    }
    // The hero's sprite with every animation its states play, and the
    // effect sprites 8, 10, 11 and 28 of pack 18 (entries 0-7, 9 and 12 stay).
    if (DemoEntry* e = findEntry(entries, "pack19"))
        e->make = [] { return buildPack({{.payload = encodeSprite(heroSprite())}}).header; };
    // Pack 20: sprite (3, 20), which the actor painter looks for.
    if (!findEntry(entries, "pack20"))
        entries.push_back({"pack20", [] {
                               std::vector<PackEntry> pack(4);
                               for (int i = 0; i < 3; ++i) pack[size_t(i)].empty = true;
                               pack[3].payload = encodeSprite(heroEffectSprite(8));
                               return buildPack(pack).header;
                           }});
    if (DemoEntry* e = findEntry(entries, "pack18")) {
        auto base = e->make;
        e->make = [base] {
            std::vector<PackEntry> pack = decodePackEntries(base());
            for (int id : {8, 10, 11})
                if (size_t(id) < pack.size()) pack[size_t(id)] = {.payload = encodeSprite(heroEffectSprite(id))};
            // Entry 28 (an effect sprite the actors use); the ones between stay empty.
            while (pack.size() < 28) pack.push_back(PackEntry{.empty = true});
            if (pack.size() == 28) pack.push_back({.payload = encodeSprite(heroEffectSprite(8))});
            return buildPack(pack).header;
        };
    }
}

}  // namespace kit

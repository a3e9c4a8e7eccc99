// The hazard family's demo content (see demo_hazards.h): subtype rows and
// the *hazards*, *chase* and *run* test levels, authored here as level text.
#include "tools/kit/demo_hazards.h"
#include "tools/kit/level_builder.h"

#include "tools/kit/behaviour_source.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"

#include <map>

namespace kit {

namespace {

namespace st = hazard_subtypes;

using levelbuild::link;
using levelbuild::object;
using levelbuild::roomMap;
using levelbuild::Wall;
using levelbuild::levelPack;

}  // namespace

// The demo hazard actors' rows in the behaviour source form: no sprite,
// drawn and active (flags 0xA0), the type and body size.
const char* const kDemoHazardRows = R"(# hazards, generators, traps, pads, fly-bys
row 160: type 31 width 16 height 16 flags 0xA0 spritePack -1
row 161: type 32 width 24 height 40 flags 0xA0 spritePack -1
row 162: type 40 width 36 height 36 flags 0xA0 spritePack -1
row 163: type 57 width 24 height 24 flags 0xA0 spritePack -1
row 189: type 38 width 12 height 12 flags 0xA0 spritePack -1
row 166: type 46 width 40 height 16 flags 0xA0 spritePack -1
row 167: type 47 width 30 height 30 flags 0xA0 spritePack -1
row 168: type 37 width 48 height 48 flags 0xA0 spritePack -1
row 169: type 81 width 40 height 40 flags 0xA0 spritePack -1
row 170: type 83 width 40 height 40 flags 0xA0 spritePack -1
row 171: type 27 width 36 height 36 flags 0xA0 spritePack -1
row 174: type 66 width 36 height 12 flags 0xA0 spritePack -1
row 176: type 71 width 60 height 30 flags 0xA0 spritePack -1
row 177: type 63 width 72 height 18 flags 0xA0 spritePack -1
row 178: type 91 width 36 height 36 flags 0xA0 spritePack -1
row 179: type 109 width 120 height 120 flags 0xA0 spritePack -1
row 180: type 43 width 10 height 10 flags 0xA0 spritePack -1
# the run-speed pickup: drawn (0x20), not solid (no 0x80), so the hero
# runs into it
row 157: type 59 width 32 height 32 flags 0x20 spritePack -1
# the part fields
row 143: type 28 width 8 height 8 flags 0xA0 spritePack -1
row 106: type 28 width 8 height 8 flags 0xA0 spritePack -1
# curve generators (130, 128) and their movers (subtype + 1)
row 130: type 48 width 20 height 20 flags 0xA0 spritePack -1
row 131: type 49 width 16 height 16 flags 0xA0 spritePack -1
row 128: type 77 width 20 height 20 flags 0xA0 spritePack -1
row 129: type 78 width 24 height 24 flags 0xA0 spritePack -1
# what the hazards make: the hatch's item and the shots (the fly-by's drops,
# template 192, are the movers' type-84 shot)
row 126: type 110 width 24 height 24 flags 0xA0 spritePack -1
row 206: type 38 width 12 height 12 flags 0xA0 spritePack -1
row 221: type 38 width 12 height 12 flags 0xA0 spritePack -1
)";

void addDemoHazardRows(ActorTables& tables) { applyBehaviourSource(tables, kDemoHazardRows); }

std::string demoHazardsLevel() {
    std::string s = "# The hazards test level: one of each hazard along a flat floor (y 648);\n"
                    "# the fly-by starts once the hero passes x 3640.\n";
    s += roomMap(120, 20, {});
    s += "rect 20 0 0 10 10\n";                 // index 0: never a ball's area
    s += "rect 21 880 420 1040 640\n";           // the ball's area
    // A closed loop whose legs move at least a whole pixel a step on each
    // axis they use (the physics step moves by whole pixels).
    s += link(31, 1300, 500, 32) + link(32, 1420, 380, 33) + link(33, 1540, 500, 31);
    s += link(41, 1800, 600, 42) + link(42, 1900, 450, 43) + link(43, 2000, 600, -1);
    s += link(51, 2150, 640, 52) + link(52, 2250, 500, 53) + link(53, 2350, 640, -1);
    s += link(61, 3400, 560, 62, 0, 500) + link(62, 3600, 560, 61, 0, 250);
    s += link(71, 3750, 600, 72) + link(72, 3950, 500, -1);
    s += object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    s += object(st::kField, 2, 0, 0, 0);
    s += object(st::kChain, 10, 400, 560, 0, {40, 4, 4, 4});
    s += object(st::kFlame, 11, 600, 648, 0, {20, 12, 0});
    s += object(st::kTrap4, 12, 760, 648, 0, {30, 20, 0});
    s += object(st::kBall, 13, 950, 500, 0, {4, 21});
    s += object(st::kShot, 14, 1150, 300, 9);
    s += object(st::kLinkMover, 15, 1300, 500, 0, {31, -1, 3, 1});
    s += object(st::kGaze, 16, 1600, 600, 0, {300, 200, -150, -150, 20});
    s += object(st::kLobGenerator, 17, 1800, 600, 0, {41, 30, 40});
    s += object(st::kColumnGenerator, 18, 2150, 640, 0, {51, 24, 50});
    s += object(st::kHatch, 19, 2500, 648, 10, {80, 60, -40, -60, 8, 40});
    s += object(st::kTurret81, 20, 2700, 600, 4, {300, 200, -150, -150});
    s += object(st::kTurret83, 21, 2900, 600, 0, {0, 300, 200, -150, -150, 30});
    s += object(st::kSpringTrap, 22, 3100, 660, 0, {3, 2000});
    s += object(st::kPad, 23, 3250, 648, 0);
    s += object(st::kLinkPlatform, 24, 3400, 560, 0, {3, 61});
    s += object(st::kContact, 25, 3700, 648, 0);
    s += object(st::kSegment, 26, 3800, 600, 0, {71});
    s += object(st::kFlyBy, 27, 4440, 100, 0);
    s += "rect 10 0 0 4320 720\n";
    return s;
}

std::string demoChaseLevel() {
    std::string s = "# The chase test level: the hero auto-runs right, the chaser follows;\n"
                    "# a wall at column 30 with a gap in rows 14-15, a speed pad at x 1400.\n"
                    "# The chaser's attack box lies 600 px ahead of it: it sprints until that\n"
                    "# reaches the view's right edge, then runs.\n";
    s += roomMap(90, 20, {{30, 0, 13}, {30, 16, 17}});
    s += object(0, 1, 600, 648, 0, {2, -1, -1, -1, -1});
    s += object(st::kChaser, 30, 200, 648, 0, {5, 200, 160, 600, -160});
    s += object(st::kPad, 31, 1400, 648, 0);
    s += "rect 10 0 0 3240 720\n";
    s += "script 5\n  target none\n    key 0\n";
    return s;
}

std::string demoRunLevel() {
    std::string s = "# The auto-run course: a flat floor (y 648) from wall to wall, no gaps, so\n"
                    "# the running hero crosses it without a jump. The hero's start script\n"
                    "# puts it into the run (command 131) and lasts two steps; the chaser\n"
                    "# starts behind it; the run-speed pickup floats at hop height over the\n"
                    "# run line: a hop takes it and the hero lands into the faster run, a\n"
                    "# hero on the ground runs under it at the normal pace.\n";
    s += roomMap(120, 20, {{0, 0, 17}, {119, 0, 17}});
    s += object(0, 1, 600, 648, 0, {kRunStartScript, -1, -1, -1, -1});
    s += object(st::kChaser, 30, 200, 648, 0, {5, 200, 160, 600, -160});
    // The pickup's record flags leave out 0x80 (solid): the hero runs through
    // it. It floats 88 px up: taken on the ground the camera would take the
    // faster pace at once while the hero's stride keeps the old one until it
    // next leaves the ground.
    s += "object " + std::to_string(st::kRunBoost) + " " + std::to_string(kRunBoostId) + " " +
         std::to_string(kRunBoostX) + " 560 7 0 32\n";
    s += "rect 10 0 0 4320 720\n";
    s += "script " + std::to_string(kRunStartScript) + "\n  target none\n    key 0\n      op 131\n    key 2\n";
    s += "script 5\n  target none\n    key 0\n";
    return s;
}

std::vector<DamagedLevel> damagedHazardLevels() {
    const std::string base = roomMap(60, 20, {}) + object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    const std::string loop = link(31, 300, 500, 32) + link(32, 400, 460, 33) + link(33, 350, 560, 31);
    const std::string two = link(41, 300, 600, 42) + link(42, 400, 450, -1);
    const std::string three = link(51, 300, 600, 52) + link(52, 400, 450, 53) + link(53, 500, 600, -1);
    const std::string same = link(61, 300, 600, 62) + link(62, 300, 600, 63) + link(63, 300, 600, -1);
    std::vector<DamagedLevel> out = {
        {"chain without slots", base + object(st::kChain, 10, 200, 560, 0, {40, 4, 2, -2})},
        {"chain of no balls", base + object(st::kChain, 10, 200, 560, 0, {40, 4, 0, 0})},
        {"chain of 32767 balls", base + object(st::kChain, 10, 200, 560, 0, {40, 4, 32767, 0})},
        {"chain of negative balls", base + object(st::kChain, 10, 200, 560, 0, {40, 4, -5, 9})},
        {"flame with a zero cycle", base + object(st::kFlame, 11, 150, 648, 0, {0, 0, 3})},
        {"flame with cancelling times", base + object(st::kFlame, 11, 150, 648, 0, {-7, 7, 3})},
        {"trap with a zero cycle", base + object(st::kTrap4, 12, 150, 648, 0, {0, 0, 0})},
        {"turret with cycle 0", base + object(st::kTurret83, 21, 150, 600, 0, {0, 300, 200, -150, -150, 0})},
        {"turret with a negative cycle", base + object(st::kTurret83, 21, 150, 600, 0, {0, 300, 200, -150, -150, -3})},
        {"generator with two points", base + two + object(st::kLobGenerator, 17, 300, 600, 0, {41, 30, 5})},
        {"generator with one missing", base + object(st::kColumnGenerator, 18, 300, 600, 0, {99, 30, 5})},
        {"generator with 0 steps", base + three + object(st::kLobGenerator, 17, 300, 600, 0, {51, 0, 5})},
        {"generator with 500 steps", base + three + object(st::kColumnGenerator, 18, 300, 600, 0, {51, 500, 5})},
        {"generator on one point", base + same + object(st::kColumnGenerator, 18, 300, 600, 0, {61, 30, 5})},
        {"generator on a loop", base + loop + object(st::kLobGenerator, 17, 300, 600, 0, {31, 30, 0})},
        {"mover riding itself on a loop", base + loop + object(st::kLinkMover, 15, 300, 500, 0, {31, 15, 3, 1})},
        {"mover on a missing link", base + object(st::kLinkMover, 15, 300, 500, 0, {77, 99, 3, 1})},
        {"platform on a loop without waits", base + loop + object(st::kLinkPlatform, 24, 300, 500, 0, {0, 31})},
        {"platform with a huge wait", base + link(71, 300, 500, 72, 0, 32767) + link(72, 400, 500, 71, 0, -32768) +
                                           object(st::kLinkPlatform, 24, 300, 500, 0, {3, 71})},
        {"hatch opening at once", base + object(st::kHatch, 19, 120, 648, 10, {80, 60, -40, -60, 0, -5})},
        {"trap with no hidden time", base + object(st::kSpringTrap, 22, 125, 660, 0, {3, 0})},
        {"segment owner without links", base + object(st::kSegment, 26, 200, 600, 0, {99})},
        {"segment owners beyond three", base + link(81, 100, 600, 82) + link(82, 100, 400, -1) +
                                             object(st::kSegment, 26, 200, 600, 0, {81}) +
                                             object(st::kSegment, 27, 210, 600, 0, {81}) +
                                             object(st::kSegment, 28, 220, 600, 0, {81}) +
                                             object(st::kSegment, 29, 230, 600, 0, {81})},
        {"ball without an area", base + object(st::kBall, 13, 300, 500, 0, {32767, 99})},
        {"gaze with no range", base + object(st::kGaze, 16, 150, 600, 0, {0, 0, 0, 0, -32768})},
        {"chaser without its script", base + object(st::kChaser, 30, 50, 648, 0, {99, 200, 160, 600, -160})},
        {"short records", base + object(st::kChain, 10, 200, 560, 0) + object(st::kTurret83, 21, 150, 600, 0) +
                              object(st::kLinkMover, 15, 300, 500, 0) + object(st::kChaser, 30, 50, 648, 0)},
    };
    for (DamagedLevel& d : out) d.text = "# damaged: " + d.name + "\n" + d.text;
    return out;
}

void addDemoHazards(std::vector<DemoEntry>& out) {
    out.push_back({"pack_hazards", [] { return levelPack(demoHazardsLevel()); }});
    out.push_back({"pack_chase", [] { return levelPack(demoChaseLevel()); }});
    out.push_back({"pack_run", [] { return levelPack(demoRunLevel()); }});
}

}  // namespace kit

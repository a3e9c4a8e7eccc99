// The platform family's demo content (see demo_platforms.h): subtype rows
// and the *carriers* and *platform items* test levels, authored as level
// text. Every row written here keeps its row length.
#include "tools/kit/demo_platforms.h"
#include "tools/kit/level_builder.h"

#include "tools/kit/behaviour_source.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"

#include <map>

namespace kit {

namespace {

namespace st = platform_subtypes;

using levelbuild::link;
using levelbuild::object;
using levelbuild::roomMap;
using levelbuild::Wall;
using levelbuild::levelPack;

// A platform actor's record: active (flag 0x20); the test levels leave out
// the drawn flag 0x80 (their actors animate only when drawn, and the
// levels' traces were recorded so), the joined game's stages set it.
std::string carrier(int subtype, int id, int x, int y, const std::vector<int>& params, bool drawn = false) {
    std::string s = "object " + std::to_string(subtype) + " " + std::to_string(id) + " " + std::to_string(x) + " " +
                    std::to_string(y) + (drawn ? " 7 0 160" : " 7 0 32");
    for (int p : params) s += " " + std::to_string(p);
    return s + "\n";
}

}  // namespace

// The demo platform actors' rows in the behaviour source form (the path
// platforms, type 8, also with the record height and width their streaming
// box reads: parameters 12 and 13): no sprite,
// drawn (0x20), solid where the hero must not pass (0x80: platforms,
// which also move (0x400000, a motion state),
// crusher, container; the sinking platform adds 0x10000, the
// timed drop 0x2000000), the type and body size.
const char* const kDemoPlatformRows = R"(# checkpoint marker, path and sinking platforms, crusher, trigger zone
row 193: type 12 width 36 height 72 flags 0x20 spritePack -1
row 194: type 8 width 96 height 18 flags 0x4000A0 spritePack -1 param12 18 param13 96
row 195: type 8 width 96 height 18 flags 0x4100A0 spritePack -1 param12 18 param13 96
row 196: type 55 width 72 height 72 flags 0xA0 spritePack -1
row 204: type 10 width 36 height 36 flags 0x20 spritePack -1
# items and the container (drawn with the numbered animations of sprite (8, 18))
row 198: type 2 width 24 height 24 flags 0x20 spritePack -1
row 112: type 2 width 24 height 24 flags 0x20 spritePack 8 spriteIndex 18
row 203: type 44 width 48 height 48 flags 0xA0 spritePack 8 spriteIndex 18
row 214: type 58 width 24 height 24 flags 0x20 spritePack -1
row 216: type 39 width 24 height 24 flags 0x20 spritePack -1
row 217: type 45 width 36 height 36 flags 0x20 spritePack -1
# chains, the push zone, the hero drivers, the timed drop
row 205: type 52 width 24 height 24 flags 0x20 spritePack -1
row 201: type 52 width 24 height 24 flags 0x20 spritePack -1
row 207: type 53 width 144 height 144 flags 0x20 spritePack -1
row 208: type 8 width 96 height 18 flags 0x24000A0 spritePack -1 param12 18 param13 96
row 211: type 61 width 36 height 18 flags 0x20 spritePack -1
row 212: type 64 width 96 height 36 flags 0x20 spritePack -1
row 213: type 75 width 36 height 18 flags 0x20 spritePack -1
)";

void addDemoPlatformRows(ActorTables& tables) { applyBehaviourSource(tables, kDemoPlatformRows); }

std::string demoCarriersObjects(int dx, int floorY, int idBase, bool drawn) {
    const int dy = floorY - 648;
    auto at = [&](int subtype, int id, int x, int y, const std::vector<int>& params) {
        return carrier(subtype, idBase + id, x + dx, y + dy, params, drawn);
    };
    // Chains: links, swing speed (0 turns), mode (0 for plain chains).
    std::string s = at(st::kChain, 10, 500, 250, {9, 0, 0});
    s += at(st::kChain, 11, 900, 300, {10, 5, 0});
    s += at(st::kChainMode, 12, 1400, 300, {10, 5, 1});
    // Bar and rider: segments of 36 px; the rider's exit jump kind 3. The
    // bar's record comes before the push zone's: the bar takes the lifted
    // hero before the zone holds it again.
    s += at(st::kBar, 13, 2950, 440, {4});
    s += at(st::kRider, 14, 1800, 500, {6, 3});
    // The ramp stays undrawn: drawn, its animation holds a sliding hero.
    s += carrier(st::kRamp, idBase + 15, 2500 + dx, 570 + dy, {}, false);
    s += at(st::kPushZone, 16, 3000, 648, {0});
    return s;
}

std::string demoCarriersLevel() {
    std::string s =
        "# The carriers test level, along a flat floor (y 648): a turning chain\n"
        "# out of reach, a swinging chain and a mode-1 chain the hero catches by\n"
        "# jumping, a rider (type 75) and a bar (type 61) it hangs from, a ramp\n"
        "# (type 64) that launches it and a push zone (type 53) under the bar\n"
        "# that lifts it there. The carriers leave out the solid flag 128.\n";
    s += roomMap(100, 20, {});
    s += object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    s += demoCarriersObjects(0, 648, 0, false);
    s += "rect 10 0 0 3600 720\n";
    return s;
}

std::string demoPlatformItemsObjects(int dx, int floorY, int idBase, bool drawn) {
    const int dy = floorY - 648;
    auto at = [&](int subtype, int id, int x, int y, const std::vector<int>& params) {
        return carrier(subtype, idBase + id, x + dx, y + dy, params, drawn);
    };
    std::string s = at(st::kScaleItem, 21, 500, 648, {150, 2000});
    s += at(st::kHolder, 22, 900, 648, {1000});
    s += at(st::kHeavy, 23, 1300, 648, {2000, 3, 1, 80, 80, -40, -80});
    s += at(st::kBreakingItem, 24, 1700, 648, {0, 0, 0});
    s += at(st::kItem, 25, 2100, 400, {0, 0, -1});
    s += "item 700 " + std::to_string(2500 + dx) + " " + std::to_string(560 + dy) + " -1 2 8 1 0 0 0\n";
    s += object(st::kContainer, idBase + 20, 2500 + dx, 648 + dy, 0, {700, 80, 80, -40, -80});
    return s;
}

std::string demoPlatformItemsLevel() {
    std::string s =
        "# The platform items test level, along a flat floor (y 648): a scale\n"
        "# item (type 39), a flying holder (type 58), a heavy item (type 45), a\n"
        "# carryable item (type 2, subtype 112) to throw, one that starts dropped, and a\n"
        "# container (type 44) at the far end holding item 700 (template 2,\n"
        "# sub-kind 8: released at scale 150).\n";
    s += roomMap(80, 20, {});
    s += object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    s += demoPlatformItemsObjects(0, 648, 0, false);
    s += "rect 10 0 0 2880 720\n";
    return s;
}

std::string demoSinkingPlatformsLevel() {
    std::string s = "# Sinking platforms: one that sinks after the hero lands on it and rises\n"
                    "# back, one that drops a second after (subtype 208, 1000 ms).\n";
    s += roomMap(40, 20, {});
    s += object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    s += object(st::kSinkPlatform, 10, 400, 600, 0, {0, -1, 0, 0, 0});
    s += object(st::kDropPlatform, 11, 800, 600, 0, {0, -1, 1000, 0, 0});
    s += "rect 10 0 0 1440 720\n";
    return s;
}

std::vector<DamagedLevel> damagedPlatformLevels() {
    const std::string base = roomMap(60, 20, {}) + object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    const std::string loop = link(81, 300, 450, 82) + link(82, 500, 450, 81);
    std::vector<DamagedLevel> out = {
        {"chain of no links", base + carrier(st::kChain, 10, 300, 300, {0, 5})},
        {"chain of negative links", base + carrier(st::kChain, 10, 300, 300, {-3, 5})},
        {"chain of 32767 links", base + carrier(st::kChain, 10, 300, 300, {32767, 5})},
        {"mode chain of 65 links", base + carrier(st::kChainMode, 10, 300, 300, {65, 5, 1})},
        {"chain without parameters", base + carrier(st::kChain, 10, 300, 300, {})},
        {"bar of negative segments", base + carrier(st::kBar, 11, 300, 600, {-20})},
        {"bar of 32767 segments", base + carrier(st::kBar, 11, 300, 600, {32767})},
        {"rider of no segments", base + carrier(st::kRider, 12, 300, 600, {0, 0})},
        {"push zone of direction 9", base + carrier(st::kPushZone, 13, 300, 648, {9})},
        {"holder of -32768 ms", base + carrier(st::kHolder, 14, 300, 648, {-32768})},
        {"holder of 32767 ms", base + carrier(st::kHolder, 14, 300, 648, {32767})},
        {"scale item of 0 percent for -32768 ms", base + carrier(st::kScaleItem, 15, 300, 648, {0, -32768})},
        {"scale item of 32767 percent", base + carrier(st::kScaleItem, 15, 300, 648, {32767, 32767})},
        {"heavy item of negative time", base + carrier(st::kHeavy, 16, 300, 648, {-32768, -1, 0, 80, 80, -40, -80})},
        {"container of a missing item", base + object(st::kContainer, 17, 300, 648, 0, {999, 80, 80, -40, -80})},
        {"container of an item of template 32767",
         base + "item 700 300 560 -1 32767 8 1 0 0 0\n" + object(st::kContainer, 17, 300, 648, 0, {700, 80, 80, -40, -80})},
        {"path platform on a missing link", base + object(st::kPathPlatform, 18, 300, 450, 0, {2, 99, 0, 0, 0})},
        {"path platform on a loop without waits", base + loop + object(st::kPathPlatform, 18, 300, 450, 0, {2, 81, 0, 0, 0})},
        {"path platform of speed 32767", base + loop + object(st::kPathPlatform, 18, 300, 450, 0, {32767, 81, 0, 0, 0})},
        {"timed drop of -32768 ms", base + object(st::kDropPlatform, 19, 300, 560, 0, {0, -1, -32768, 0, 0})},
        {"crusher of period 0", base + object(st::kCrusher, 20, 300, 648, 0, {0})},
        {"crusher of period -5", base + object(st::kCrusher, 20, 300, 648, 0, {-5})},
        {"trigger without its script", base + carrier(st::kTrigger, 21, 250, 500, {200, 148, 0, 77, 0, 0})},
        {"trigger of condition 99", base + carrier(st::kTrigger, 21, 250, 500, {200, 148, 99, 77, -1, 0})},
        {"short records", base + carrier(st::kBar, 11, 300, 600, {}) + carrier(st::kRider, 12, 400, 600, {}) +
                              carrier(st::kHolder, 14, 500, 648, {}) + carrier(st::kScaleItem, 15, 600, 648, {}) +
                              object(st::kContainer, 17, 700, 648, 0, {}) + carrier(st::kTrigger, 21, 800, 500, {})},
    };
    for (DamagedLevel& d : out) d.text = "# damaged: " + d.name + "\n" + d.text;
    return out;
}

void addDemoPlatforms(std::vector<DemoEntry>& out) {
    out.push_back({"pack_carriers", [] { return levelPack(demoCarriersLevel()); }});
    out.push_back({"pack_platform_items", [] { return levelPack(demoPlatformItemsLevel()); }});
}

}  // namespace kit

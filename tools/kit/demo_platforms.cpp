// The platform family's demo content (see demo_platforms.h): subtype rows
// and the *carriers* and *platform items* test levels, authored as level
// text. Every row written here keeps its row length.
#include "tools/kit/demo_platforms.h"

#include "tools/kit/behaviour_source.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"

#include <map>

namespace kit {

namespace {

namespace st = platform_subtypes;

std::string object(int subtype, int id, int x, int y, int anim, const std::vector<int>& params = {}) {
    std::string s = "object " + std::to_string(subtype) + " " + std::to_string(id) + " " + std::to_string(x) + " " +
                    std::to_string(y) + " 7 " + std::to_string(anim) + " 160";
    for (int p : params) s += " " + std::to_string(p);
    return s + "\n";
}

std::string link(int id, int x, int y, int next, int code = 0, int arg = 0) {
    return "link " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
           std::to_string(next) + " " + std::to_string(code) + " " + std::to_string(arg) + "\n";
}

// A map of columns x rows cells, floor in the last two rows; steps lists
// extra solid cells as (column, first row, last row).
struct Wall {
    int column, first, last;
};
std::string roomMap(int columns, int rows, const std::vector<Wall>& walls) {
    std::string s = "layer 2 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) s += c ? " ." : ".";
        s += "\n";
    }
    s += "layer 4 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) {
        std::string line(static_cast<size_t>(columns), r >= rows - 2 ? '6' : '.');
        for (const Wall& w : walls)
            if (r >= w.first && r <= w.last && w.column >= 0 && w.column < columns) line[static_cast<size_t>(w.column)] = '6';
        s += line + "\n";
    }
    return s;
}

Bytes levelPack(const std::string& text) {
    const std::map<int, Bytes> entries = levelEntries(parseLevelDescription(text));
    std::vector<PackEntry> pack;
    for (int e = 0; e <= kLevelRegionsEntry; ++e) {
        auto it = entries.find(e);
        PackEntry p;
        if (it == entries.end() || it->second.empty()) p.empty = true;
        else p.payload = it->second;
        pack.push_back(std::move(p));
    }
    return buildPack(pack).header;
}

}  // namespace

// The demo platform actors' rows in the behaviour source form: no sprite,
// drawn and solid (flags 0xA0; the checkpoint marker and the
// trigger zone are passed through: 0x20; the sinking platform adds 0x10000, the
// timed drop 0x2000000), the type and body size.
const char* const kDemoPlatformRows = R"(# checkpoint marker, path and sinking platforms, crusher, trigger zone
row 193: type 12 width 36 height 72 flags 0x20 spritePack -1
row 194: type 8 width 96 height 18 flags 0xA0 spritePack -1
row 195: type 8 width 96 height 18 flags 0x100A0 spritePack -1
row 196: type 55 width 72 height 72 flags 0xA0 spritePack -1
row 204: type 10 width 36 height 36 flags 0x20 spritePack -1
# items and the container
row 198: type 2 width 24 height 24 flags 0xA0 spritePack -1
row 203: type 44 width 48 height 48 flags 0xA0 spritePack -1
row 214: type 58 width 24 height 24 flags 0xA0 spritePack -1
row 216: type 39 width 24 height 24 flags 0xA0 spritePack -1
row 217: type 45 width 36 height 36 flags 0xA0 spritePack -1
# chains, the push zone, the hero drivers, the timed drop
row 205: type 52 width 24 height 24 flags 0xA0 spritePack -1
row 201: type 52 width 24 height 24 flags 0xA0 spritePack -1
row 207: type 53 width 144 height 144 flags 0xA0 spritePack -1
row 208: type 8 width 96 height 18 flags 0x20000A0 spritePack -1
row 211: type 61 width 144 height 18 flags 0xA0 spritePack -1
row 212: type 64 width 96 height 36 flags 0xA0 spritePack -1
row 213: type 75 width 144 height 18 flags 0xA0 spritePack -1
)";

void addDemoPlatformRows(ActorTables& tables) { applyBehaviourSource(tables, kDemoPlatformRows); }

std::string demoCarriersLevel() {
    std::string s = "# The carriers test level.\n";
    s += roomMap(80, 20, {});
    s += object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    s += "rect 10 0 0 2880 720\n";
    return s;
}

std::string demoPlatformItemsLevel() {
    std::string s = "# The platform items test level.\n";
    s += roomMap(80, 20, {});
    s += object(0, 1, 120, 648, 0, {2, -1, -1, -1, -1});
    s += "rect 10 0 0 2880 720\n";
    return s;
}

std::vector<DamagedLevel> damagedPlatformLevels() { return {}; }

void addDemoPlatforms(std::vector<DemoEntry>& out) {
    out.push_back({"pack_carriers", [] { return levelPack(demoCarriersLevel()); }});
    out.push_back({"pack_platform_items", [] { return levelPack(demoPlatformItemsLevel()); }});
}

}  // namespace kit

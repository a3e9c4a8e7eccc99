// The bosses' demo content (see demo_bosses.h): rows and minion programs
// for the demo actor tables, and the seven arena levels. Every arena is 30
// x 14 cells: the floor's top at y 432, camera
// limits from rectangle 50 ({36, 0} to {836, 432}), the hero at x 120,
// script 2 setting the limits and script 9 ending the level.
#include "tools/kit/demo_bosses.h"
#include "tools/kit/level_builder.h"

#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace kit {

namespace {

constexpr int kArenaColumns = 30, kArenaWidth = kArenaColumns * 36;
constexpr int kGateColumn = 23;
constexpr int kOpenWayScript = 6, kSecondArenaScript = 7;

// A row of the parameter table: margins, no sprite, the type, the box, drawn
// and active, layer 10, no attached effect; a row of 13 ints carries a
// record height, one of 14 a width too (the row keeps its length).
std::vector<int32_t> rowFor(size_t length, int type, int w, int h) {
    std::vector<int32_t> v = {400, 240, -1, 18, 0, type, w, h, 0xA0, 10, -1, 10};
    if (length > 12) v.push_back(h);
    if (length > 13) v.push_back(w);
    return v;
}

int rowOfSubtype(int subtype) {
    if (subtype < 273) return subtype;
    return subtype == 3003 ? 273 : subtype == 3010 ? 274 : subtype == 3013 ? 275 : -1;
}

// Rule word: condition mask, message, next state (63: go on).
int32_t rule(int32_t mask, int message, int next) {
    return static_cast<int32_t>((static_cast<uint32_t>(mask) << 12) | (static_cast<uint32_t>(message) << 6) |
                                static_cast<uint32_t>(next));
}

// The summoned minions' rules, written over the first pairs of states 2
// (idle) and 3 (on the link path) of their programs, which keep the shape
// the demo tables give them: hit (0x2000) -> dying (1); a touch hurts the
// hero (message 4, one point of damage); otherwise the state stays.
void writeMinionRules(std::vector<std::vector<int32_t>>& program) {
    const int32_t hit = 0x2000, touch = 0x4 | 0x8 | 0x10, always = 0x1;
    for (int s : {2, 3}) {
        if (static_cast<int>(program.size()) <= s) program.resize(static_cast<size_t>(s) + 1);
        std::vector<int32_t> rules = {rule(hit, 0, 1), 0, rule(touch, 4, s), 0x100, rule(always, 0, s), 0};
        std::vector<int32_t>& state = program[static_cast<size_t>(s)];
        if (state.size() < rules.size()) state.resize(rules.size());
        std::copy(rules.begin(), rules.end(), state.begin());
    }
}

std::string collisionLayer() {
    std::ostringstream s;
    s << "layer 4 30 14\n";
    for (int r = 0; r < 14; ++r) {
        for (int c = 0; c < 30; ++c) s << (r >= 12 ? '6' : '.');
        s << '\n';
    }
    return s.str();
}

const char* const kArenaScripts = R"(rect 50 36 0 800 432
script 2
  target none
    key 0
      op 111 50
script 9
  target none
    key 0
      op 37 0
)";

// The boss of an arena (and its platform, links and script), moved dx
// pixels right, its record ids from idBase (the boss idBase, its platform
// idBase + 1), its defeat script `defeat`.
std::string arenaBody(int bossType, int dx, int idBase, int defeat) {
    const std::string boss = std::to_string(idBase), d = std::to_string(defeat);
    auto x = [&](int v) { return std::to_string(v + dx); };
    // Anchors (and waypoints) 1 -> 2 -> 3 above the floor.
    auto anchors = [&] {
        return "link 1 " + x(200) + " 380 2 0 0\nlink 2 " + x(436) + " 380 3 0 0\nlink 3 " + x(672) + " 380 0 0 0\n";
    };
    switch (bossType) {
    case 97:
        // Attack box 120 x 90 around the boss; defeat script 9; script 3
        // holds the boss (its target) for 40 steps.
        return "object 246 " + boss + " " + x(600) + " 431 7 0 160 0 120 90 -60 -90 " + d + "\n" +
               "script 3\n  target actor " + boss + "\n    key 0\n    key 40\n";
    case 94:
        return "object 241 " + boss + " " + x(700) + " 431 7 0 160 0 160 160 -80 -160 " + d + "\n";
    case 102:
        // The fight starts when the hero enters the 600 x 200 box; the
        // defeat script is also the one the boss's freeze restarts; the
        // platform (type 8) in the middle, link rows 22 and 23 for the minions.
        return "object 238 " + boss + " " + x(436) + " 431 7 0 160 0 600 200 -300 -150 " + d + " " + d + "\n" +
               "object 140 " + std::to_string(idBase + 1) + " " + x(436) + " 400 7 0 160 0 0 0 0 0\n" +
               "link 22 " + x(76) + " 420 0 0 0\nlink 23 " + x(796) + " 420 0 0 0\n";
    case 92:
        // The defeat script is also the one the boss's freeze restarts.
        return "object 255 " + boss + " " + x(436) + " 300 7 0 160 0 500 300 -250 -150 " + d + " " + d + "\n";
    case 24: return "object 20 " + boss + " " + x(436) + " 431 7 0 160 1 0 0 0 0 0 " + d + "\n" + anchors();
    case 33: return "object 122 " + boss + " " + x(436) + " 431 7 0 160 1 0 0 0 0 0 " + d + "\n" + anchors();
    case 21: return "object 3003 " + boss + " " + x(436) + " 431 7 0 160 1 0 0 0 0 " + d + "\n" + anchors();
    default: return {};
    }
}

}  // namespace

void addDemoBossRows(ActorTables& t) {
    struct Row {
        int subtype, type, w, h;
    };
    static const Row kRows[] = {
        {kSubtypeMeleeBoss, 97, 68, 90},    {kSubtypeThrowerBoss, 94, 68, 140}, {kSubtypeCompanion, 111, 40, 40},
        {kSubtypeProjectile, 99, 24, 24},   {kSubtypePatternBoss, 102, 68, 90}, {kSubtypeSecondBoss, 103, 60, 80},
        {kSubtypeArenaBoss, 92, 30, 90},    {kSubtypeAnchorBoss, 24, 60, 80},  {kSubtypeAnchorBossB, 33, 60, 80},
        {kSubtypeAnchorBossC, 56, 60, 80},  {kSubtypeWaypointBoss, 21, 60, 80}, {kSubtypeArenaPlatform, 8, 720, 20},
        // Minions, shots, pairs and the companion of type 92: passive type
        // 110 moved by their own motion; the two summoned minions are type 6.
        // (Templates 13, 38, 123, 131, 197 and 3013 keep the rows their own
        // families give them.)
        {218, 6, 40, 48},  {202, 6, 40, 48},  {257, 110, 24, 24}, {258, 110, 24, 24}, {261, 110, 24, 24},
        {262, 110, 24, 24}, {263, 110, 24, 24}, {252, 110, 32, 32}, {253, 110, 32, 32},
    };
    for (const Row& r : kRows) {
        int row = rowOfSubtype(r.subtype);
        if (row < 0 || row >= static_cast<int>(t.rows.size())) continue;
        std::vector<int32_t>& values = t.rows[static_cast<size_t>(row)].values;
        // The arena platform (type 8) is boxed by its record height and
        // width (constants 12 and 13) while it streams.
        values = rowFor(r.subtype == kSubtypeArenaPlatform ? 14 : values.size(), r.type, r.w, r.h);
    }
    if (t.programs.size() >= 21) {
        writeMinionRules(t.programs[19]);  // subtype 202
        writeMinionRules(t.programs[20]);  // subtype 218
    }
}

std::vector<int> bossArenaTypes() { return {97, 94, 102, 92, 24, 33, 21}; }

std::string bossArenaLevel(int bossType) {
    std::string body = arenaBody(bossType, 0, 100, kBossDefeatScript);
    if (body.empty()) return {};
    std::string text = "# Arena of the type-" + std::to_string(bossType) + " boss.\n";
    text += collisionLayer();
    text += "object 0 1 120 431 7 0 160 2 -1 -1 -1 -1\n";
    text += body;
    text += kArenaScripts;
    return text;
}

std::string bossArenaPairLevel(int firstType, int secondType) {
    const std::string first = arenaBody(firstType, 0, 100, kFirstBossDefeatScript);
    const std::string second = arenaBody(secondType, kArenaWidth, 200, kBossDefeatScript);
    if (first.empty() || second.empty() || firstType == secondType) return {};
    // Two arenas side by side, the first closed on the right by a gate
    // (column 23, inside the first arena's view).
    std::ostringstream map;
    map << "layer 4 " << 2 * kArenaColumns << " 14\n";
    for (int r = 0; r < 14; ++r) {
        for (int c = 0; c < 2 * kArenaColumns; ++c) map << (r >= 12 || c == kGateColumn ? '6' : '.');
        map << '\n';
    }
    const int gateX = kGateColumn * 36, second0 = kArenaWidth;
    std::string text = "# Arenas of the type-" + std::to_string(firstType) + " and type-" + std::to_string(secondType) +
                       " bosses, one after the other.\n";
    text += map.str();
    text += "object 0 1 120 431 7 0 160 2 -1 -1 -1 -1\n";
    text += first + second;
    // The first arena's limits; the way on (the first arena and the way
    // between, ending short of the second arena: its boss comes into play
    // only when the camera turns to it); the second arena's; the gate.
    text += "rect 50 36 0 800 432\n";
    text += "rect 51 36 0 " + std::to_string(kArenaWidth - 72) + " 432\n";
    text += "rect 52 " + std::to_string(second0 + 36) + " 0 800 432\n";
    text += "rect 53 " + std::to_string(gateX) + " 0 36 432\n";
    // Zones that hand the camera over: the way between the arenas (the way
    // on) and, from where the way on's view ends (a hero kept inside the
    // camera limits still reaches it), the second arena's first cells (its
    // limits).
    const int wayX = gateX + 36, handOver = second0 - 90, wayW = handOver - wayX;
    text += "object 1 300 " + std::to_string(wayX) + " 0 7 0 160 " + std::to_string(wayW) + " 432 0 " +
            std::to_string(kOpenWayScript) + " 0 0\n";
    text += "object 1 301 " + std::to_string(handOver) + " 0 7 0 160 234 432 0 " +
            std::to_string(kSecondArenaScript) + " 0 0\n";
    text += "script 2\n  target none\n    key 0\n      op 111 50\n";
    // The first boss's defeat opens the gate (collision and painted cells)
    // and lets the camera follow the hero on.
    text += "script " + std::to_string(kFirstBossDefeatScript) +
            "\n  target none\n    key 0\n      op 100 53 4\n      op 100 53 2\n      op 111 51\n";
    text += "script " + std::to_string(kOpenWayScript) + "\n  target none\n    key 0\n      op 111 51\n";
    text += "script " + std::to_string(kSecondArenaScript) + "\n  target none\n    key 0\n      op 111 52\n";
    text += "script 9\n  target none\n    key 0\n      op 37 0\n";
    return text;
}

std::vector<DamagedArena> damagedBossArenas() {
    std::vector<DamagedArena> out;
    auto lines = [](const std::string& text) {
        std::vector<std::string> v;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) v.push_back(l);
        return v;
    };
    auto join = [](const std::vector<std::string>& v) {
        std::string s;
        for (const std::string& l : v) s += l + "\n";
        return s;
    };
    for (int type : bossArenaTypes()) {
        const std::vector<std::string> base = lines(bossArenaLevel(type));
        const std::string t = std::to_string(type);
        std::vector<std::string> v;
        // No link rows: no anchors, waypoints or minion paths.
        for (const std::string& l : base)
            if (l.rfind("link ", 0) != 0) v.push_back(l);
        out.push_back({"arena" + t + "-no-links", join(v)});
        // No defeat script: the script block from "script 9" on is dropped.
        v.clear();
        for (const std::string& l : base) {
            if (l == "script 9") break;
            v.push_back(l);
        }
        out.push_back({"arena" + t + "-no-defeat-script", join(v)});
        // The boss record without parameters.
        v.clear();
        for (const std::string& l : base) {
            if (l.rfind("object ", 0) == 0 && l.find(" 100 ") != std::string::npos) {
                std::istringstream in(l);
                std::string w, cut;
                for (int k = 0; k < 8 && in >> w; ++k) cut += (k ? " " : "") + w;
                v.push_back(cut);
            } else {
                v.push_back(l);
            }
        }
        out.push_back({"arena" + t + "-no-params", join(v)});
        // A defeat script id naming no script.
        std::vector<std::string> w;
        for (const std::string& l : base) {
            const bool bossRecord = l.rfind("object ", 0) == 0 && l.find(" 100 ") != std::string::npos;
            if (bossRecord && l.size() > 4 && l.compare(l.size() - 4, 4, " 9 9") == 0)
                w.push_back(l.substr(0, l.size() - 4) + " 77 77");
            else if (bossRecord && l.size() > 2 && l.compare(l.size() - 2, 2, " 9") == 0)
                w.push_back(l.substr(0, l.size() - 2) + " 77");
            else
                w.push_back(l);
        }
        out.push_back({"arena" + t + "-unknown-script", join(w)});
        if (type == 102) {
            v.clear();
            for (const std::string& l : base)
                if (l.rfind("object 140 ", 0) != 0) v.push_back(l);
            out.push_back({"arena102-no-platform", join(v)});
        }
    }
    return out;
}

void addDemoBosses(std::vector<DemoEntry>& entries) {
    for (int type : bossArenaTypes()) {
        entries.push_back({"arena" + std::to_string(type), [type] { return levelbuild::levelPack(bossArenaLevel(type)); }});
    }
}

}  // namespace kit

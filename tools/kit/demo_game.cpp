// The demo joined into one game (demo_game.h): the stages' level packs, their
// loading records and group programs, their music.
#include "tools/kit/demo_game.h"
#include "tools/kit/level_builder.h"

#include "tools/kit/demo_art.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/demo_flow.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/demo_movers.h"
#include "tools/kit/demo_platforms.h"
#include "tools/kit/demo_world.h"
#include "tools/kit/actortables.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/hero_sprite.h"
#include "tools/kit/sprite.h"
#include "tools/kit/level.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace kit {

namespace {

constexpr int kTriggerSubtype = 1;     // type 10: a zone that starts a script
constexpr int kEndScriptId = 90;       // the level-end script every trigger stage gains
constexpr int kTriggerId = 900;        // the trigger's record id
constexpr int kSoundPack = 3;
constexpr int kTilesPack = 0, kTilesEntry = 4;
constexpr int kRecordsPerStage = 10;
// Stage n's level pack is "pack<40 + n>": pack numbers up to 26 name the
// sprite groups the game looks sprites up in (pack 22 holds a boss's
// effect), so level packs stay above them.
constexpr int kFirstStagePack = 40;
constexpr int kFirstStageRecord = 260;
// The falling hero of the game-over screen: sprite (8, 1), the hero's own
// sprite (animation 10), loaded with every level.
constexpr int kFallingHeroPack = 1, kFallingHeroEntry = 8, kFallingHeroSlot = 110, kFallingHeroRecord = 258;
// Sprites the flow's screens name, loaded with every level: the level end's
// fireworks (22, 18), the show's glow (12, 1) and the boss gauge's
// portraits (18, 18).
struct NamedSprite {
    int pack, entry;
};
constexpr NamedSprite kFireworks{18, 22}, kShowGlow{1, 12}, kBossPortraits{18, 18};
// And what the play of a level names besides: the hero's scale change
// (8, 20), the arena boss's burst (3, 22), its shot (7, 18, the screens'
// effects sprite) and the bonus screen's picture (9, 18).
constexpr NamedSprite kScaleGlow{20, 8}, kArenaBurst{22, 3}, kArenaShot{18, 7}, kBonusPicture{18, 9};
// The chains' links (pack 19 after the actor looks), which the chain rows draw with.
constexpr NamedSprite kChainLinks{19, 7};
// The screen marks (10, 18) over the mini-bosses' anchors and drops.
constexpr NamedSprite kScreenMarks{18, 10};
// The speed-up effect (50, 20) that level-script command 130 shows.
constexpr NamedSprite kSpeedStreaks{20, 50};
constexpr NamedSprite kLevelSprites[] = {kFireworks,    kShowGlow,     kBossPortraits, kScaleGlow,   kArenaBurst,
                                         kArenaShot,    kBonusPicture, kChainLinks,    kScreenMarks, kSpeedStreaks};
// Loading records from here on (after every stage's own records, so a
// level's object list can still ask for them): the named sprites, then the
// sprites the stages' object lists ask for, in a group no load request
// selects (they load only when asked for).
constexpr int kFirstExtraRecord = 360, kLastExtraRecord = 412;
constexpr int kOnRequestGroup = 30;
// The level-object scan's resource ranges (the game's constant table): a
// record's value 7 + k below bound r names entry value - bound(r - 1) of
// group r + 17.
constexpr int kResourceRanges[] = {0, 36, 37, 105, 108};

// The end of a trigger stage: a zone 72 x 144 standing on the floor at x
// that runs the level-end script (named by its id; the set-up finds it).
std::string triggerEnd(int x, int floorY) {
    const int w = 72, h = 144;
    std::string s = "# The stage's end: a trigger zone running the level-end script.\n";
    s += "object " + std::to_string(kTriggerSubtype) + " " + std::to_string(kTriggerId) + " " + std::to_string(x - w / 2) +
         " " + std::to_string(floorY - h) + " 7 0 160 " + std::to_string(w) + " " + std::to_string(h) + " 0 " +
         std::to_string(kEndScriptId) + " -1 0\n";
    s += "script " + std::to_string(kEndScriptId) + "\n  target none\n    key 0\n      op 37 0\n";
    return s;
}

DemoStage triggerStage(int stage, const char* family, const std::string& level, int x, int floorY) {
    DemoStage d{};
    d.stage = stage;
    d.family = family;
    d.level = level + triggerEnd(x, floorY);
    d.endX = x;
    d.endY = floorY - 1;
    return d;
}

// A family's level text in a room of `columns` columns: its own room (side
// walls and a floor of two rows) and camera rectangle give way to a wider
// one of the same height.
std::string widenedRoom(const std::string& text, int columns) {
    std::istringstream in(text);
    std::string rest, line;
    int rows = 0;
    while (std::getline(in, line)) {
        int w = 0, h = 0;
        if (std::sscanf(line.c_str(), "layer 4 %d %d", &w, &h) == 2) {
            rows = h;
            for (int r = 0; r < h && std::getline(in, line); ++r) {
            }
            continue;
        }
        if (line.rfind("rect 10 ", 0) == 0) continue;
        rest += line + "\n";
    }
    if (rows < 3) throw KitError("widenedRoom: the level has no collision room");
    return levelbuild::roomMap(columns, rows, {{0, 0, rows - 1}, {columns - 1, 0, rows - 1}}) + rest + "rect 10 0 0 " +
           std::to_string(columns * kTileSize) + " " + std::to_string(rows * kTileSize) + "\n";
}

// A trigger stage that plays a second family after its own: the family's
// room widened to `columns`, the second family's actors after its own.
DemoStage foldedStage(int stage, const char* family, const std::string& level, const char* folded,
                      const std::string& foldedActors, int columns, int floorY) {
    DemoStage d = triggerStage(stage, family, widenedRoom(level, columns) + foldedActors,
                               columns * kTileSize - 156, floorY);
    d.folded = folded;
    return d;
}

const char* arenaName(int bossType) {
    static const std::map<int, const char*> kNames = {{97, "arena97"}, {94, "arena94"}, {24, "arena24"},
                                                      {33, "arena33"}, {102, "arena102"}, {92, "arena92"},
                                                      {21, "arena21"}};
    return kNames.at(bossType);
}

DemoStage bossStage(int stage, int bossType) {
    DemoStage d{};
    d.stage = stage;
    d.family = arenaName(bossType);
    d.level = bossArenaLevel(bossType);
    d.bossEnd = true;
    return d;
}

// A boss stage of two arenas: the first boss's, then the stage's own.
DemoStage twoArenaStage(int stage, int firstType, int bossType) {
    DemoStage d = bossStage(stage, bossType);
    d.folded = arenaName(firstType);
    d.level = bossArenaPairLevel(firstType, bossType);
    return d;
}

// Ids of the folded families' records: above the stage family's own.
constexpr int kFoldedIdBase = 100;

std::vector<DemoStage> makeStages() {
    std::vector<DemoStage> v = {
        triggerStage(1, "level_blocks.txt", kDemoBlocksLevel, 1320, 432),
        // The hazards' open floor, walked.
        triggerStage(2, "pack_hazards", demoHazardsLevel(), 4200, 648),
        // The items, then the platform items on the same floor.
        foldedStage(3, "level_items.txt", kDemoItemsLevel, "pack_platform_items",
                    demoPlatformItemsObjects(600, 432, kFoldedIdBase, true), 96, 432),
        // The movers, then the carriers.
        foldedStage(4, "level_movers", kDemoMovers, "pack_carriers", demoCarriersObjects(1500, 432, kFoldedIdBase, true), 136,
                    432),
        triggerStage(5, "level_enemies", kDemoEnemies, 2040, 432),
        twoArenaStage(6, 102, 24),
        // Stage 7 is the game's auto-run stage: the run course, the chaser
        // behind the hero and the run-speed pickup on its way. Its end zone
        // reaches the right wall (x 4284): a hero that hops over the zone
        // still ends the stage against the wall.
        triggerStage(7, "pack_run", demoRunLevel(), 4248, 648),
        twoArenaStage(8, 92, 33),
        twoArenaStage(9, 21, 94),
        bossStage(10, 97),
    };
    for (DemoStage& d : v) {
        d.pack = kFirstStagePack + d.stage;
        d.group = kDemoAnyLevelGroup + d.stage;
        d.firstRecord = kFirstStageRecord + kRecordsPerStage * (d.stage - 1);
        d.music = demoStageMusic(d.stage);
    }
    return v;
}

// The painted cell over a collision cell: slopes keep their mirror bits,
// the top of solid ground grows grass, water and empty cells stay open.
uint16_t artOver(const TileLayer& map, int c, int r) {
    const uint16_t v = map.at(c, r);
    if (v == kCellEmpty) return kCellEmpty;
    const int cls = v & 0x1FFF;
    const uint16_t mirror = v & (kCellMirrorH | kCellMirrorV);
    auto solid = [&](int rr) {
        if (rr < 0) return false;
        const uint16_t a = map.at(c, rr);
        return a != kCellEmpty && ((a & 0x1FFF) == 6 || (a & 0x1FFF) == 7 || (a & 0x1FFF) == 8);
    };
    if (cls <= 5) return static_cast<uint16_t>(kTileSlope | mirror);
    if (cls == 6 || cls == 7 || cls == 8) return solid(r - 1) ? uint16_t(kTileWall) : uint16_t(kTileGround);
    if (cls >= 9 && cls <= 13) return kCellEmpty;
    if (cls == 15 || cls == 16) return kTileHazard;
    if (cls == 21 || cls == 22 || cls == 23 || cls == 30) return kTileLedge;
    if (cls == 24) return static_cast<uint16_t>(kTileConveyor | mirror);
    return kTileWall;
}

// A level without painted layers gains them: layer 2 drawn over its
// collision cells, layer 0 a far backdrop of hills.
LevelModel withArt(LevelModel m) {
    if (!m.layers[4]) return m;
    const TileLayer& map = *m.layers[4];
    const bool painted = m.layers[2] && std::any_of(m.layers[2]->cells.begin(), m.layers[2]->cells.end(),
                                                    [](uint16_t v) { return v != kCellEmpty; });
    if (!painted) {
        TileLayer art{map.width, map.height, {}};
        for (int r = 0; r < map.height; ++r)
            for (int c = 0; c < map.width; ++c) art.cells.push_back(artOver(map, c, r));
        m.layers[2] = art;
    }
    if (!m.layers[0]) {
        TileLayer far{map.width / 2 + 12, map.height / 2 + 8, {}};
        for (int r = 0; r < far.height; ++r)
            for (int c = 0; c < far.width; ++c)
                far.cells.push_back(r < far.height / 2 ? uint16_t(kTileSky)
                                                       : static_cast<uint16_t>(kTileFarHillA + (c + r) % 4));
        m.layers[0] = far;
    }
    return m;
}

// The level pack of a stage's description, with art where it has none.
Bytes levelPack(const std::string& text) { return levelbuild::levelPack(withArt(parseLevelDescription(text))); }

// The arenas' bosses and their companions and minions play animations whose
// ends move them on (a defeat waits for its fall to end): they are drawn
// with the hero's sprite (0, 19), which every level loads and which holds
// every animation number they play.
constexpr int kArenaActorSubtypes[] = {kSubtypeMeleeBoss,  kSubtypeThrowerBoss, kSubtypeCompanion,  kSubtypeProjectile,
                                       kSubtypePatternBoss, kSubtypeSecondBoss,  kSubtypeArenaBoss,  kSubtypeAnchorBoss,
                                       kSubtypeAnchorBossB, kSubtypeAnchorBossC, kSubtypeWaypointBoss, 218, 202};
constexpr int kArenaSpriteId = 1, kArenaSpriteGroup = 19;
// The actor looks follow the arena sprite in pack 19 (entries 2-6), loaded
// into the sprite slots below the hero's.
constexpr int kActorSpritePack = 19, kFirstLookEntry = 2, kFirstActorSlot = 93;

// The look an actor type is drawn with when its row names no sprite.
ActorLook typeLook(int type) {
    switch (type) {
    case 21: case 24: case 33: case 56: case 92: case 94: case 97: case 102: case 103: case 111:
        return ActorLook::Boss;
    case 2: case 39: case 45: case 59: case 65:
        return ActorLook::Item;
    case 4: case 8: case 9: case 12: case 44: case 52: case 53: case 55: case 58: case 61: case 64: case 75:
        return ActorLook::Platform;
    case 14: case 16: case 28: case 36: case 38: case 48: case 49: case 70: case 71: case 73: case 76: case 77:
    case 78: case 84: case 85: case 99: case 101: case 110:
        return ActorLook::Hazard;
    default:
        return ActorLook::Enemy;
    }
}

DemoEntry* findEntry(std::vector<DemoEntry>& entries, const std::string& name) {
    auto it = std::find_if(entries.begin(), entries.end(), [&](const DemoEntry& e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

// The row of a subtype in the tables (-1: none).
const ActorTables::Row* rowOf(const ActorTables& t, int subtype) {
    for (const ActorTables::Row& r : t.rows)
        if (r.subtype == subtype) return &r;
    return nullptr;
}

int rowValue(const ActorTables& t, int subtype, size_t i) {
    const ActorTables::Row* r = rowOf(t, subtype);
    return r && i < r->values.size() ? r->values[i] : 0;
}

// What the level-object scan asks for over a level's list, as {group, entry}.
void addObjectRequests(const ActorTables& t, const LevelModel& m, std::set<std::pair<int, int>>& out) {
    for (const LevelRecord& rec : m.objects) {
        const std::vector<int16_t>& v = rec.values;
        if (v.empty()) continue;
        const int type = v[0];
        if (type >= 2000 && type <= 2002) continue;
        if (type == 15) {
            out.insert({rowValue(t, type, 3), 13});
        } else if (type != 2 && type != 82 && type != 83 && type != 84) {
            const int sprite = rowValue(t, type, 2);
            if (sprite >= 0) out.insert({rowValue(t, type, 3), sprite});
        }
        const size_t k = type == 82 ? 7 : type == 2 ? 2 : 0;
        if (7 + k >= v.size() || v[7 + k] < 0) continue;
        const int value = v[7 + k];
        for (size_t r = 1; r < std::size(kResourceRanges); ++r)
            if (value < kResourceRanges[r]) {
                out.insert({static_cast<int>(r) + 17, value - kResourceRanges[r - 1]});
                break;
            }
    }
}

// Every {group, entry} the stages' object lists ask for, stage 0 included.
const std::set<std::pair<int, int>>& objectRequests() {
    static const std::set<std::pair<int, int>> requests = [] {
        ActorTables t = demoActorTables();
        addDemoGameActorSprites(t);
        std::set<std::pair<int, int>> out;
        addObjectRequests(t, parseLevelDescription(kDemoStage), out);
        for (const DemoStage& d : demoStages()) addObjectRequests(t, parseLevelDescription(d.level), out);
        return out;
    }();
    return requests;
}

// The sprites a pack must hold beyond its own: the named ones and those
// the object lists ask for.
std::vector<int> extraEntriesOfPack(int pack) {
    std::vector<int> v;
    for (const NamedSprite& n : kLevelSprites)
        if (n.pack == pack) v.push_back(n.entry);
    for (const auto& [group, entry] : objectRequests())
        if (group == pack) v.push_back(entry);
    return v;
}

// The payload of an extra entry: the named sprites' art, else a small token
// (entries asked for by a record's value that no actor draws).
Bytes extraSprite(int pack, int entry) {
    if (pack == kFireworks.pack && entry == kFireworks.entry) return encodeSprite(demoFireworkSprite());
    if (pack == kShowGlow.pack && entry == kShowGlow.entry) return encodeSprite(demoShowGlowSprite());
    if (pack == kBossPortraits.pack && entry == kBossPortraits.entry) return encodeSprite(demoBossPortraitSprite());
    if (pack == kScaleGlow.pack && entry == kScaleGlow.entry) return encodeSprite(demoShowGlowSprite());
    if (pack == kArenaBurst.pack && entry == kArenaBurst.entry) return encodeSprite(demoFireworkSprite());
    if (pack == kChainLinks.pack && entry == kChainLinks.entry) return encodeSprite(demoChainLinkSprite());
    if (pack == kSpeedStreaks.pack && entry == kSpeedStreaks.entry) return encodeSprite(demoSpeedStreakSprite());
    return encodeSprite(demoActorSprite(ActorLook::Item));
}

// A pack's entries with its extra sprites in place of empty or missing
// entries (entries holding anything else stay as they are).
Bytes withExtraSprites(int pack, const Bytes& header) {
    std::vector<PackEntry> entries = decodePackEntries(header);
    for (int e : extraEntriesOfPack(pack)) {
        while (entries.size() <= size_t(e)) entries.push_back(PackEntry{.empty = true});
        if (entries[size_t(e)].empty) entries[size_t(e)] = {.payload = extraSprite(pack, e)};
    }
    return buildPack(entries).header;
}

// Adds an op-1 record for each sprite no record loads yet: a free sprite
// slot, a record from kFirstExtraRecord on.
void addExtraSpriteRecords(LoadTable& table) {
    std::set<int> usedSlots;
    for (const LoadRecord& r : table)
        if (r.opcode == 1) usedSlots.insert(r.slot);
    int record = kFirstExtraRecord, slot = 92;
    // A sprite a level's play names loads with every level (into the slot
    // another group loads it to, if one does); one the object lists ask
    // for loads when asked for, unless some record loads it already.
    auto add = [&](int pack, int entry, int group) {
        int into = -1;
        for (const LoadRecord& r : table)
            if (r.opcode == 1 && r.pack == pack && r.resource == entry) {
                if (group == kOnRequestGroup || r.group == group) return;
                into = r.slot;
            }
        if (into < 0) {
            while (slot >= 0 && usedSlots.count(slot)) --slot;
            into = slot;
        }
        while (record <= kLastExtraRecord && !(table[size_t(record)].opcode == 3 && table[size_t(record)].pack == 255))
            ++record;
        if (into < 0 || record > kLastExtraRecord) throw KitError("demo loading table: no room for the sprite of entry " +
                                                                  std::to_string(entry) + " of pack " + std::to_string(pack));
        table[size_t(record)] = LoadRecord{1, into, group, 1, pack, entry};
        usedSlots.insert(into);
    };
    for (const NamedSprite& n : kLevelSprites) add(n.pack, n.entry, kDemoAnyLevelGroup);
    for (const auto& [group, entry] : objectRequests()) add(group, entry, kOnRequestGroup);
}

}  // namespace

ActorLook lookOfType(int type) { return typeLook(type); }

bool unseenHazard(int type) {
    return typeLook(type) == ActorLook::Hazard && type != 28 && type != 38 && type != 48 && type != 71 && type != 77;
}

LevelModel demoStageLevel(const DemoStage& stage) { return withArt(parseLevelDescription(stage.level)); }

const std::vector<DemoStage>& demoStages() {
    static const std::vector<DemoStage> stages = makeStages();
    return stages;
}

void addDemoGameLoading(LoadTable& table) {
    // Stage 0's sprites (the hero's, the effects') serve every stage.
    for (int i = kDemoStageFirstRecord; i <= 257; ++i) {
        LoadRecord& r = table[size_t(i)];
        if (r.opcode == 1 && r.group == kDemoStageGroup) r.group = kDemoAnyLevelGroup;
    }
    // Stage 0's music: the first free record after its level records.
    for (int i = kDemoStageFirstRecord; i <= 257; ++i)
        if (table[size_t(i)].opcode == 3 && table[size_t(i)].pack == 255) {
            table[size_t(i)] = LoadRecord{19, demoStageMusic(0), kDemoStageGroup, 0x3, kSoundPack, demoStageMusic(0)};
            break;
        }
    // The arena sprite and the actor looks, for every stage, after stage 0's
    // own records.
    for (int k = 0, i = kDemoStageFirstRecord; k <= kDemoActorLooks && i <= 257; ++i)
        if (table[size_t(i)].opcode == 3 && table[size_t(i)].pack == 255) {
            table[size_t(i)] = LoadRecord{1, kFirstActorSlot + k, kDemoAnyLevelGroup, 1, kActorSpritePack, kArenaSpriteId + k};
            ++k;
        }
    // Mode 1: its module images are built, so the falling hero is drawn.
    table[size_t(kFallingHeroRecord)] =
        LoadRecord{1, kFallingHeroSlot, kDemoAnyLevelGroup, 1, kFallingHeroPack, kFallingHeroEntry};
    for (const DemoStage& d : demoStages()) {
        int i = d.firstRecord;
        auto put = [&](int op, int slot, int32_t param, int pack, int resource) {
            table[size_t(i)] = LoadRecord{op, slot, d.group, param, pack, resource};
            ++i;
        };
        // The tiles of layer 2, the level pack's layers (the record names
        // itself for its pack), objects, scripts, regions, the music, then
        // the fixed actors and the play state.
        put(15, 0, 0, kTilesPack, kTilesEntry);
        put(15, 0, 2, kTilesPack, kTilesEntry);
        put(12, 0, 0, d.pack, i);
        put(9, 0, 0, d.pack, 15);
        const LevelModel m = parseLevelDescription(d.level);
        if (m.scripts) put(10, 0, 0, d.pack, 16);
        if (m.regions) put(11, 0, 0, d.pack, 17);
        put(19, d.music, 0x3, kSoundPack, d.music);
        put(13, 0, 0, 255, 0);
        put(14, 0, 0, 255, 0);
    }
    addExtraSpriteRecords(table);
}

void addDemoGameActorSprites(ActorTables& tables) {
    // Rows without a sprite (past the fixed first rows; trigger zones, type
    // 10, stay unseen) draw with the look of their type. The thrown and
    // spawned hazards stay without one: with a sprite their animations
    // gain lengths, and those lengths steer them (the auto-run stage's
    // run then ends otherwise); the hazards the levels place are drawn.
    for (size_t r = 6; r < tables.rows.size(); ++r) {
        std::vector<int32_t>& v = tables.rows[r].values;
        if (v.size() < 6 || v[2] != -1 || v[5] == 10 || unseenHazard(v[5])) continue;
        v[2] = kFirstLookEntry + static_cast<int>(typeLook(v[5]));
        v[3] = kActorSpritePack;
        v[4] = 0;
    }
    // Chains (type 52) draw a link per segment at a frame by its angle.
    for (ActorTables::Row& row : tables.rows) {
        std::vector<int32_t>& v = row.values;
        if (v.size() < 6 || v[5] != 52) continue;
        v[2] = kChainLinks.entry;
        v[3] = kChainLinks.pack;
        v[4] = 0;
    }
    for (int subtype : kArenaActorSubtypes) {
        auto row = std::find_if(tables.rows.begin(), tables.rows.end(),
                                [&](const ActorTables::Row& r) { return r.subtype == subtype; });
        if (row == tables.rows.end() || row->values.size() < 5) continue;
        row->values[2] = kArenaSpriteId;
        row->values[3] = kArenaSpriteGroup;
        row->values[4] = 0;
    }
}

Bytes demoGameActorTables() {
    ActorTables t = demoActorTables();
    addDemoGameActorSprites(t);
    return encodeActorTables(t);
}

void addDemoGameConditions(std::vector<Bytes>& programs) {
    if (programs.size() > size_t(kDemoAnyLevelGroup))
        programs[size_t(kDemoAnyLevelGroup)] = assembleCondition("req 0; push 5; eq");
    for (const DemoStage& d : demoStages())
        if (programs.size() > size_t(d.group))
            programs[size_t(d.group)] = assembleCondition("req 0; push 5; eq; req 1; push " + std::to_string(d.stage) +
                                                          "; eq; and");
}

void addDemoGame(std::vector<DemoEntry>& entries) {
    for (const DemoStage& d : demoStages()) {
        const std::string text = d.level;
        entries.push_back({"pack" + std::to_string(d.pack), [text] { return levelPack(text); }});
    }
    if (DemoEntry* e = findEntry(entries, kActorTablesEntry)) e->make = demoGameActorTables;
    if (DemoEntry* e = findEntry(entries, "pack" + std::to_string(kActorSpritePack))) {
        auto base = e->make;
        e->make = [base] {
            std::vector<PackEntry> pack = decodePackEntries(base());
            pack.resize(1);
            pack.push_back({.payload = encodeSprite(demoArenaSprite())});
            for (int k = 0; k < kDemoActorLooks; ++k) pack.push_back({.payload = encodeSprite(demoActorSprite(ActorLook(k)))});
            return buildPack(pack).header;
        };
    }
    if (DemoEntry* e = findEntry(entries, "pack" + std::to_string(kFallingHeroPack))) {
        auto base = e->make;
        e->make = [base] {
            std::vector<PackEntry> pack = decodePackEntries(base());
            while (pack.size() < size_t(kFallingHeroEntry)) pack.push_back(PackEntry{.empty = true});
            if (pack.size() == size_t(kFallingHeroEntry)) pack.push_back({.payload = encodeSprite(heroSprite())});
            return buildPack(pack).header;
        };
    }
    // The sprite packs gain the sprites the screens name and the object
    // lists ask for.
    std::set<int> packs;
    for (const NamedSprite& n : kLevelSprites) packs.insert(n.pack);
    for (const auto& request : objectRequests()) packs.insert(request.first);
    for (int pack : packs) {
        DemoEntry* e = findEntry(entries, "pack" + std::to_string(pack));
        if (!e) {
            // A sprite pack of its own (pack 22: the arena boss's burst).
            entries.push_back({"pack" + std::to_string(pack), [] { return buildPack({PackEntry{.empty = true}}).header; }});
            e = &entries.back();
        }
        auto base = e->make;
        e->make = [base, pack] { return withExtraSprites(pack, base()); };
    }
    if (DemoEntry* e = findEntry(entries, "loading.bin")) {
        auto base = e->make;
        e->make = [base] {
            LoadTable t = parseLoadingTable(base());
            addDemoGameLoading(t);
            return encodeLoadingTable(t);
        };
    }
    if (DemoEntry* e = findEntry(entries, "groups.bin")) {
        auto base = e->make;
        e->make = [base] {
            std::vector<Bytes> programs = parseConditionFile(base());
            addDemoGameConditions(programs);
            return encodeConditionFile(programs);
        };
    }
}

}  // namespace kit

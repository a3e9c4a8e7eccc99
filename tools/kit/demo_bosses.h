// The bosses' demo content: the subtype rows of the bosses, their
// companions, minions, shots and platforms, the rule programs of the two
// summoned minions (subtypes 218 and 202), and one arena level per boss
// (camera limits from rectangle 50, a floor, anchors or waypoints as link
// rows, a defeat script (id 9) that ends the level).
#pragma once

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

#include <string>
#include <vector>

namespace kit {

// Subtypes of the boss actors in the demo tables.
inline constexpr int kSubtypeMeleeBoss = 246;      // type 97, 18 hit points
inline constexpr int kSubtypeThrowerBoss = 241;    // type 94, 4 hit points
inline constexpr int kSubtypeCompanion = 271;      // type 111 (template 271)
inline constexpr int kSubtypeProjectile = 251;     // type 99 (template 251)
inline constexpr int kSubtypePatternBoss = 238;    // type 102, 8 hit points
inline constexpr int kSubtypeSecondBoss = 256;     // type 103 (summoned by code 7)
inline constexpr int kSubtypeArenaBoss = 255;      // type 92, 10 hit points
inline constexpr int kSubtypeAnchorBoss = 20;      // type 24, 12 hit points
inline constexpr int kSubtypeAnchorBossB = 122;    // type 33, 12 hit points
inline constexpr int kSubtypeAnchorBossC = 104;    // type 56, 12 hit points
inline constexpr int kSubtypeWaypointBoss = 3003;  // type 21, 12 hit points
inline constexpr int kSubtypeArenaPlatform = 140;  // type 8
inline constexpr int kBossDefeatScript = 9;
inline constexpr int kFirstBossDefeatScript = 8;  // the first of two arenas
inline constexpr int kBossArenaRect = 50;

// Writes the boss rows and the two minion programs into demo tables.
void addDemoBossRows(ActorTables& tables);

// The boss types that have an arena: 97, 94, 102, 92, 24, 33, 21.
std::vector<int> bossArenaTypes();
// The arena level description of a boss type (level.h format); empty for
// a type without one.
std::string bossArenaLevel(int bossType);

// Two arenas one after the other (60 x 14 cells): the first boss (record
// 100) in cells 0-29 behind a gate (column 23) with the first arena's
// camera limits (rectangle 50) from script 2; its defeat script (8) opens
// the gate and lets the camera follow the hero on (rectangle 51, up to 36
// px short of the second arena, so the second boss comes into play only
// once the camera turns to it); trigger zones hand the camera to the
// second arena (rectangle 52) as the hero enters it and back on the way
// between; the second boss (record 200) in cells 30-59, its defeat script 9
// ending the level.
// Empty for a type without an arena or the same type twice.
std::string bossArenaPairLevel(int firstType, int secondType);

// Damaged arenas for robustness tests and fuzz seeds: for each boss type
// its arena without link rows (no anchors or waypoints), without the
// defeat script, with the boss record cut to its first 7 values (no
// parameters), with a defeat script id naming no script, and (type 102)
// without its platform. Each is {name, level description}.
struct DamagedArena {
    std::string name;
    std::string level;
};
std::vector<DamagedArena> damagedBossArenas();

// The arenas as level packs "arena<type>".
void addDemoBosses(std::vector<DemoEntry>& entries);

}  // namespace kit

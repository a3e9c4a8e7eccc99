// The actor tables file of the data archive ("/actortables.bin"): the 276
// per-subtype parameter rows, the 22 behaviour programs and the 19
// state-animation rows, read once at set-up. The file is checked whole
// before anything is stored: a missing or damaged file is logged once and
// leaves no rows (no actor can be made; everything else still works).
//
// Layout, big-endian: "ATBL", u16 version 1, u16 rows (276), each row
// {s32 subtype, u8 n in 12..14, n x s32}; u16 programs (22), each
// {u8 states in 10..12, each state {u16 n even, n x s32}}; u16 animation
// rows (19), each {u8 n of 12 or 14, n x s32}; nothing after. Row r holds
// subtype r for r < 273, then 3003, 3010, 3013.
#pragma once

#include <cstdint>
#include <span>

namespace game {

inline constexpr const char* kActorTablesResource = "/actortables.bin";

// Checks bytes and, when they are a whole valid file, stores the tables in
// cActor's static fields (replacing any earlier ones) and answers true.
// Otherwise logs one line naming the fault, clears the tables, answers false.
bool loadActorTables(std::span<const uint8_t> bytes);
// Reads the resource and loads it; a missing resource is logged. After
// every successful load the behaviours refuse the rule programs they
// cannot run (behaviour::refuseBadRulePrograms).
bool loadActorTablesResource();
// True while tables are loaded.
bool actorTablesLoaded();

}  // namespace game

// The actor tables file ("actortables.bin" in the data archive): the
// per-subtype parameter rows, the behaviour programs of the common enemy AI
// and the state-animation rows, with a writer, a strict reader, a text
// description for `inspect`, deterministic damaged variants, the demo
// tables and the level actor record builder (7 + n shorts).
//
// Layout, big-endian like java.io.DataOutputStream:
//   "ATBL"                      4 bytes
//   u16 version                 1
//   u16 rowCount                276
//   rowCount x { s32 subtype, u8 n (12..14), n x s32 }
//   u16 programCount            22
//   programCount x { u8 states (10..12), states x { u16 n (even), n x s32 } }
//   u16 animRowCount            19
//   animRowCount x { u8 n (12 or 14), n x s32 }
// and nothing after. Rows run in subtype order 0..272, then 3003, 3010, 3013
// (rows 273..275); a program state is its rules as {rule word, argument}
// pairs, an empty state has n = 0.
#pragma once

#include "tools/kit/bytes.h"
#include "tools/kit/damage.h"

#include <string>
#include <vector>

namespace kit {

inline constexpr const char* kActorTablesEntry = "actortables.bin";

struct ActorTables {
    struct Row {
        int32_t subtype = 0;
        std::vector<int32_t> values;
    };
    std::vector<Row> rows;
    std::vector<std::vector<std::vector<int32_t>>> programs;  // [program][state] rule ints
    std::vector<std::vector<int32_t>> stateAnims;             // [kind][state]
};

// Shape limits the reader enforces.
inline constexpr int kActorTableRows = 276;
inline constexpr int kActorPrograms = 22;
inline constexpr int kActorAnimRows = 19;
// Subtype of row r (0..272 itself; 273..275 are 3003, 3010, 3013).
int32_t actorRowSubtype(int row);

// Throws KitError for a model outside the shape limits.
Bytes encodeActorTables(const ActorTables& tables);
// Strict reader (same rules as the game's); throws KitError naming the fault.
ActorTables parseActorTables(ByteSpan bytes);
std::string describeActorTables(const ActorTables& tables);

// Damaged variants of a valid tables file: every section truncated, bad
// magic and version, wrong counts, row lengths 11 and 15, a duplicate and an
// out-of-order subtype, 9 and 13 states, an odd rule count, animation rows
// of 13, trailing bytes, a few seeded byte flips.
std::vector<DamagedFile> damageActorTables(ByteSpan valid, uint64_t seed = 0x6163746f72ull);

// The demo tables: the fixed rows 0..5, the two full programs, every
// program in its ints-per-state shape, the 19 animation rows, and rows for
// the demo levels' actors; 205 rows of 12 ints, 21 of 13, 50 of 14 (3,433 ints).
ActorTables demoActorTables();

// A level actor record: {subtype, id, x, y, 0, animation, flags, params...}.
std::vector<int16_t> levelActorRecord(int subtype, int id, int x, int y, int animation, int flags,
                                      const std::vector<int16_t>& params = {});

}  // namespace kit

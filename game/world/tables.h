// Whole-table validation of a level's object list, script table and
// map-region table, run before any of them is turned into the level's
// arrays: a table that fails is refused with one log line and the level
// goes on without it; a table that passes can be walked without any
// further bounds question (every count, record and operand lies inside
// the bytes).
//
// Object list: records of 1-24 values, at least 7 for objects and 6 / 7 /
// 11 for settings records 2000 / 2001 / 2002, each record inside the
// bytes, at most 32,767 object values in all (record starts are shorts).
// Script table: no negative count, every record inside the table, no
// opcode 132-255, every operation 13 naming a record of its own script.
// Region table: every record inside the table, no grid of 0 columns or
// rows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace game {

using ByteView = std::span<const uint8_t>;

inline constexpr int kMaxRecordValues = 24;
inline constexpr int kMaxObjectValues = 32767;

struct ObjectListShape {
    int objectRecords = 0;   // records other than 2000-2002
    int settingsRecords = 0;
    int objectValues = 0;    // values of the object records, types included
};

// One command record of the script table as the loader copies it.
struct ScriptRecordShape {
    int start = 0;        // offset of the kind byte in the table
    int length = 0;       // bytes from the kind byte to the record's end
    int kind = 0;
    int target = 0;       // kind 2 only
    int firstKeyframe = 0;  // 6 for kind 2, else 4
};
struct ScriptShape {
    int id = 0;
    std::vector<ScriptRecordShape> records;
};

// Operand bytes of a script operation, -1 for opcodes outside the format.
int scriptOperandBytes(int opcode);
extern const int kScriptCommandLengths[32];

// Each answers true for a sound table (filling the shape when given), or
// false with the reason in *error.
bool checkLevelObjects(ByteView bytes, ObjectListShape* shape, std::string* error);
bool checkScriptTable(ByteView bytes, std::vector<ScriptShape>* shape, std::string* error);
bool checkRegionTable(ByteView bytes, int* regionCount, std::string* error);

}  // namespace game

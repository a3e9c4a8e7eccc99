// A level's data in the kit: the five tile layers, the object list, the
// script table and the map-region table, with writers for the level pack's
// entries (layers at 3l .. 3l + 2, objects 15, scripts 16, regions 17),
// strict readers that give back the model and the file layout (for inspect
// and damage), and the text description they are compiled from
// (format below, parseLevelDescription).
//
// Invariants: tile layer and object and script numbers are little-endian,
// the region table is big-endian; a script record of kind 2 carries a
// target id, kinds 0 and 1 (and any other) do not; every operation's
// operand bytes are sized by the operation tables (scriptOperandLength).
#pragma once

#include "tools/kit/bytes.h"
#include "tools/kit/sprite.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// Cell bits of every map layer.
inline constexpr uint16_t kCellEmpty = 0xFFFF;
inline constexpr uint16_t kCellMirrorH = 0x4000;
inline constexpr uint16_t kCellMirrorV = 0x8000;
inline constexpr uint16_t kCellDynamic = 0x2000;

// Pack entry numbers of a level.
inline constexpr int kLevelObjectsEntry = 15;
inline constexpr int kLevelScriptsEntry = 16;
inline constexpr int kLevelRegionsEntry = 17;

struct TileLayer {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> cells;  // row after row
    uint16_t at(int c, int r) const { return cells[static_cast<size_t>(c + width * r)]; }
};

struct LevelRecord {
    std::vector<int16_t> values;  // [0] the type (2000-2002: settings)
};

struct ScriptOp {
    int opcode = 0;
    Bytes operands;
};
struct ScriptKeyframe {
    int16_t frame = 0;
    std::vector<ScriptOp> ops;
};
struct ScriptRecord {
    int kind = 0;          // 0 none, 1 camera, 2 actor (others act as 0)
    uint16_t target = 0;   // kind 2 only
    std::vector<ScriptKeyframe> keyframes;
};
struct LevelScript {
    int16_t id = 0;
    std::vector<ScriptRecord> records;
};

struct MapRegion {
    int x = 0, y = 0, w = 0, h = 0;   // cells
    int columns = 0, rows = 0;         // grid
    std::vector<uint16_t> cells;       // columns * rows, row after row
};

struct LevelModel {
    std::array<std::optional<TileLayer>, 5> layers;
    std::vector<LevelRecord> objects;
    std::optional<std::vector<LevelScript>> scripts;  // absent: no entry 16
    std::optional<std::vector<MapRegion>> regions;    // absent: no entry 17
};

// Operand bytes of an operation: the fixed lengths of the target
// operations, the global command table for 100-131, 0 for operations
// without operands; -1 for opcodes outside the format (132-255).
int scriptOperandLength(int opcode);
// Operand layout of an opcode for the text form: 'b' a byte, 'h' a 16-bit
// value, 'i' a 32-bit value (text ids of 102 and 115, flags of 23/24).
std::string scriptOperandShape(int opcode);
// The operand bytes of global commands 100-131.
extern const std::array<int, 32> kScriptCommandLengths;

// Tile layer l as its three entries: cell indices, header with the tile
// table, mirror flag bytes. Throws when the layer needs more than 255
// distinct tile values.
std::array<Bytes, 3> encodeTileLayer(const TileLayer& layer);
TileLayer decodeTileLayer(ByteSpan cells, ByteSpan header, ByteSpan flags);

Bytes encodeLevelObjects(const std::vector<LevelRecord>& records, FileLayout* layout = nullptr);
Bytes encodeLevelScripts(const std::vector<LevelScript>& scripts, FileLayout* layout = nullptr);
Bytes encodeMapRegions(const std::vector<MapRegion>& regions, FileLayout* layout = nullptr);

// Strict readers: everything the counts announce must be there, records
// within the loader's limits, opcodes known, op-13 record indices inside
// their script, region grids not empty, nothing left over.
std::vector<LevelRecord> parseLevelObjects(ByteSpan data, FileLayout* layout = nullptr);
std::vector<LevelScript> parseLevelScripts(ByteSpan data, FileLayout* layout = nullptr);
std::vector<MapRegion> parseMapRegions(ByteSpan data, FileLayout* layout = nullptr);

std::string describeLevelObjects(const std::vector<LevelRecord>& records);
std::string describeLevelScripts(const std::vector<LevelScript>& scripts);
std::string describeMapRegions(const std::vector<MapRegion>& regions);

// Level description text, one directive a line, '#' starts a comment:
//
//   layer L WIDTH HEIGHT          then HEIGHT lines of cells, for
//                                 L 0-3 tokens "N" (frame), "." (empty),
//                                 for L 4 (collision) one character a
//                                 class: '.' void, '0'-'9' classes 0-9,
//                                 'a'-'v' classes 10-31; either may be
//                                 followed by a mirror mark: '<'
//                                 horizontal, '^' vertical, '%' both
//   object TYPE ID X Y MASK ANIM FLAGS [P7 ...]     an object record
//   rect ID LEFT TOP WIDTH HEIGHT                   settings record 2000
//   link ID A B C D E                               settings record 2001
//   item ID V2 ... V10                              settings record 2002
//   record V0 V1 ...                                any record as it is
//   script ID                     starts a script
//     target none|camera|actor ID  starts a command record
//     key FRAME                    starts a keyframe
//     op OPCODE [OPERAND ...]      an operation; operands are 16-bit
//                                  values except: 13 "K DX DY" (K one
//                                  byte), 22/32/42 one byte, 23/24/43/44
//                                  one 32-bit value, 102 "W0 TEXT W3",
//                                  115 "W0 TEXT W3 W4" (TEXT 32-bit)
//   regions                       an empty region table
//   region X Y W H COLUMNS ROWS   then ROWS lines of COLUMNS tokens as
//                                 for layers 0-3
//
// Throws KitError with the line number on any error.
LevelModel parseLevelDescription(std::string_view text);

// The level pack's entries by number (absent layers and tables left out).
std::map<int, Bytes> levelEntries(const LevelModel& model);

}  // namespace kit

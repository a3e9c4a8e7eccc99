// The collision map and its queries over cGame's layer fields: cells of
// 36 px, layer 4 the collision map (class in bits 0-12, 0x2000 a dynamic
// cell owned by a level object, 0x4000 / 0x8000 mirrored, -1 void).
//
// Invariants: no query reads outside a layer's array; outside the map the
// answers are fixed (sideways wall, above void, up to 108 rows below void,
// further below wall); a missing collision map reads void inside the map;
// writers clip to the layer and ignore a missing one.
#pragma once

#include "runtime/array.h"

namespace game::world {

constexpr jint kCell = 36;
constexpr jint kVoid = -1;
constexpr jint kWall = 6;
constexpr jint kRowsBelowMap = 108;

// Class masks (over 1 << class).
constexpr jint kQuarterSlopes = 0x1E00000F;
constexpr jint kHalfSlopes = 0x000C0030;
constexpr jint kGroundClasses = 0x1F0C01BF;
constexpr jint kSlopedOrHalf = 0x1E0C00BF;
constexpr jint kStandableClasses = 0x5EEF81FF;

// The raw cell (column, row) of the collision map; -1 outside the array or
// without a map.
jint collisionCell(jint column, jint row);
// The cell is inside the map, >= 1 and has 0x2000.
bool testTileFlag(jint column, jint row);
// Class answer of a cell with the outside rules; mode 1: dynamic cells are
// walls; mode 2: void cells are walls. Sets tileMirrored for a non-void
// cell read inside the map.
jint getTile(jint column, jint row, jint mode);
// The flags of a tile class (not a dynamic cell); hero: class 15 blocks
// from above too.
jint classFlags(jint tileClass, bool hero);
// Ground surface y at pixel (x, y) or -1; slope contact bits (64 / 128,
// 0x100) are ORed into *contact.
jint groundY(jint x, jint y, jint* contact);
// Class of the cell at pixel (x, y) in the mask (outside and dynamic
// cells count as class 6, void as none).
bool hasTileClassAt(jint x, jint y, jint classMask);
// Cells of the rectangle {left, top, right, bottom} (px, rounded to the
// nearest cell edge, end exclusive) of map layer 0-4 become value;
// clipped to the layer; a missing layer or one outside 0-4 is ignored.
void fillTileRect(jint layer, jint value, ShortArray* box);
void fillTileRect(jint layer, jint value, jint left, jint top, jint right, jint bottom);

// Attribute bytes of level-object records: id with 0x1000000 indexes the
// alternative table; index = id with its top 8 bits cleared. Outside a
// table: 0 and one log line, nothing written.
jint getTileAttribute(jint id, jint mask);
void setTileAttribute(jint id, jint value, bool both);

// A map layer's cell array and size (null / 0 when absent).
ShortArray* layerCells(jint layer);
jint layerWidth(jint layer);
jint layerHeight(jint layer);

}  // namespace game::world

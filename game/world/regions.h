// Map regions (rectangles of cells with a grid of their own and a state
// byte) and the activation area's 64-bit sector mask.
//
// Invariants: the region arrays are replaced only by a table that passed
// the whole-table check; a refused table leaves empty arrays (one log
// line); region grids have at least one column and row.
#pragma once

#include "runtime/array.h"

namespace game::world {

constexpr jint kSectorWidth = 3200;
constexpr jint kSectorHeight = 1440;

void loadMapRegions(ByteArray* bytes);
void clearMapRegions();
jint regionCount();
void setRegionStateInRect(jint state, ShortArray* rect);
void setRegionStateInRect(jint state, jint left, jint top, jint right, jint bottom);
bool isRegionFlagSet(jint level);
// Clamps rect {left, top, right, bottom} in place to the map.
jlong regionSectorMask(ShortArray* rect);
jlong setActivationArea();
// Sector columns a map row holds, and whether more than 64 sectors exist
// (such a map streams without the sector filter).
jint sectorColumns();
bool sectorsOverflow();

bool rectsIntersect(jint l1, jint t1, jint r1, jint b1, jint l2, jint t2, jint r2, jint b2);

}  // namespace game::world

// The block family's routines: tile-block actors (type 4: layout, collision
// stamp, per-cell state, cells remembered across streaming, paint, settle
// and chain), the cell hit rules and the cell break with its hidden item,
// pickups and their effects, carrying, pusher walls (type 88), the carrier
// with its path dropper (type 17) and the chain and multi-copy painters of
// types 8, 31 and 52.
//
// Invariants: a tile block whose cell size is not positive, or whose cell
// count is beyond kMaxBlockCells, is refused at set-up (one log line) and
// has no cell array afterwards; every routine here treats such a block, and
// any cell outside its array, as absent. Only cells 0..31 (column by
// column) are ever remembered; the tracked list never grows past its
// capacity.
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// Cell bytes of a tile block.
inline constexpr jint kCellIntact = -1;  // 255
inline constexpr jint kCellStruck = -2;  // 254
inline constexpr jint kCellGone = -3;    // 253
// Largest block (columns x rows) set-up accepts.
inline constexpr jint kMaxBlockCells = 4096;

// --- tile blocks -----------------------------------------------------------
void stampCollisionTiles(cActor* self, jint place);
jint addTrackedValue(jint id);
jint findTrackedIndex(jint id);
void saveTrackedCells(cActor* self);
void restoreTrackedCells(cActor* self);
void replaceBlockCell(cActor* self, jint column, jint row);
bool isStandingOn(ShortArray* a, ShortArray* b);
bool heroMayTouchBlock();
bool isHeroBelowBlockCell(cActor* self, jint column, jint row);
bool isBoxUnderHeroSweep(ShortArray* box);
void paintType4(cActor* self, jint dx, jint dy);
void updateType4(cActor* self);
// The cell byte (kCellIntact for a cell hiding nothing), or 0x100 when the
// block has no such cell.
inline constexpr jint kNoCell = 0x100;
jint tileBlockCell(cActor* self, jint column, jint row);
void setTileBlockCell(cActor* self, jint column, jint row, jint value);
jint tileBlockColumns(cActor* self);
jint tileBlockRows(cActor* self);

// --- cell hits and breaks --------------------------------------------------
bool hitTileBlockCell(cActor* block, cActor* actor, jint column, jint row);
void breakNeighbourCell(cActor* block, jint column, jint row);
void breakTileBlockCell(cActor* self, jint column, jint row, jint debrisAnim);

// --- pickups ---------------------------------------------------------------
void checkPickup(cActor* item, jint fromRoutine);
void applyPickup(cActor* item, jint kind, jint amount);

// --- carrying and pushers ----------------------------------------------------
bool tryCarryHero(cActor* carrier);
void interactHeroType45(cActor* self, cActor* hero);
void collectHeldItem(cActor* self);
void updateType88(cActor* self);

// --- the carrier and the path dropper ---------------------------------------
void updateType17(cActor* self);
void dropCarriedActor(cActor* self, jint pathIndex);
void activateDropper(cActor* self);
void updateDropper(cActor* self, jint path);
// The x of drop point `counter` of the path (from the view's left edge);
// *ok false when the path or the pair is missing.
jint getPathPointX(cActor* self, jint path, bool* ok = nullptr);

// --- painters ----------------------------------------------------------------
void paintType31(cActor* self);
void paintType52(cActor* self);
void paintType8(cActor* self);
// The type-8 chain from anchor down to self; answers the links drawn.
jint paintChainFrom(cActor* self, cActor* anchor);
// The rotation frame of a type-52 link at angle (1/256 degree).
jint chainLinkFrame(jint angle256);

}  // namespace game::behaviour

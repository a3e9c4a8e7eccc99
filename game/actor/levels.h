// Level tables filled from special level objects (rectangles, items,
// links), their look-ups and the link-chain box, the item grid, and the
// level bit words.
#pragma once

#include "game/actor/actor.h"

namespace game {

// cGame.setLevelObjectFlags / clearLevelObjectFlags: the bits set in (or
// cleared from) the flags of the actor with that unique id, when it lives;
// for a level object (id below 9999) whose record is found, the change is
// also kept in the record's pending byte (low nibble: bits 4-7 to set,
// high nibble: to clear) until a checkpoint commits it.
void setLevelObjectFlags(jint id, jint bits);
void clearLevelObjectFlags(jint id, jint bits);
// cGame.sprites[n]: the game's sprite number n, or null.
BSprite* getSpriteByNumber(jint n);

// Each add answers the new row's index, or -1 (logged) when the table is full.
jint addLevelRect(jint a, jint b, jint c, jint d, jint id);
jint addLevelItem(const jint values[9], jint id);
jint addLevelLink(const jint values[5], jint id);
// Row of id, -1 when id < 1, the table is empty or the id is absent.
jint findRectIndex(jint id);
jint findItemIndex(jint id);
jint findTableIndex(jint id);
void loadRectRow(jint n);
jint getRectField(jint n, jint i);
jint getItemField(jint n, jint i);
void loadLinkRow(jint n);
jint getLinkX(jint n);
jint getLinkY(jint n);
jint getLinkRowNext();
bool isLinkIndexValid(jint n);
bool setLinkIndex(cActor* a, jint n);
void buildLinkChain(jint id, jint x, jint y);
// Writes the row index of every item of the actor's chain into the
// grid cell (ObjectArray of byte columns) under it; cells outside the grid
// are skipped, a cell size of 0 or less fills nothing.
void fillItemGrid(cActor* a, ObjectArray* grid);
bool isHeroDead(IntArray* heroStatus);
bool isStateBitClear(jint m);
void setStateBits(jint m);
bool isProgressBitClear(jint m);
void setProgressBits(jint m);

}  // namespace game

// Level data loading: sprites prepared for drawing in one of eight modes,
// screen sprites with a PNG picture, the five tile layers of a level, the
// math tables, the level-state reset and the level's fixed actors.
//
// Invariants: a damaged layer (size below 1, cell or flag entry shorter
// than the grid, a cell naming no tile) is refused with one log line and
// leaves that layer as it was; a missing layer entry makes the layer
// absent. Table slots outside their table are refused (logged). At most
// three characters are spawned; a level object of a type the actor
// constants lack is skipped (logged).
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

class BSprite;

namespace game {

// loadSprite flag bits.
constexpr jint kSpriteModeMask = 0xF;
constexpr jint kSpritePaletteMask = 0xFFFF0;
constexpr jint kSpriteKeepData = 1 << 20;
constexpr jint kSpriteAlphaPalette = 1 << 21;

void loadSprite(ObjectArray* table, jint r, jint slot, jint flags);
BSprite* createSprite(jint r, bool buildImages, bool keepData, jint palette);
void loadLevelLayers(jint stage, jint layerMask);
void loadLevelLayer(jint firstEntry, jint layer);
// The level's tile layers dropped: the five layer maps null with sizes
// 0 x 0, and the collision layer's map and size with them (the undo of
// the loading step that loaded them).
void dropLevelLayers();
void loadMathTables(String* packName, jint a, jint b);
void resetPlayState();
void spawnLevelActors();

}  // namespace game

// Map painting: one cell with its mirror bits, the map regions over the
// view (or their coverage bits), the map layers through the wrap-around
// tile cache, and the four-corner gradient.
//
// The tile cache holds 24 x 15 cells (864 x 540 px of the landscape view),
// stored as a 540 x 864 portrait image: its Graphics is translated by 60 px
// so that the sprite engine's quarter turn (made for the 480-px-wide
// screen) lands the cache's 540 rows inside the image. Cell (c, r) lives at
// ((c mod 24) * 36, (r mod 15) * 36) of the view space. Only newly exposed
// columns and rows are drawn; an exposed block is cleared before its first
// layer, so the cache always equals a full redraw at the same position.
#pragma once

#include <initializer_list>

#include "runtime/array.h"

class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class BSprite;

namespace game::world {

constexpr jint kCacheColumns = 24;
constexpr jint kCacheRows = 15;
constexpr jint kCacheWidth = kCacheColumns * 36;   // 864, view space
constexpr jint kCacheHeight = kCacheRows * 36;     // 540

void drawTileImage(javax_microedition_lcdui_Graphics* g, Object* sprite, jint x, jint y, jint frame, jint mirrorBits);
void drawBackgroundLayers(jint draw);

// Creates the cache image and its Graphics when missing (the offscreen
// set-up); marks the cache dirty.
void createTileCache();
void paintMapLayer(IntArray* layers, jint x, jint y);
void paintMapLayers(std::initializer_list<jint> layers, jint x, jint y);
// One layer through the tile cache at its own scroll position (a parallax
// layer moves by its table row); (x, y) shifts that view.
void paintLayerView(jint layer, jint x, jint y);
void drawMapCells(jint layer, jint firstColumn, jint firstRow, jint lastColumn, jint lastRow);
// Copies the 800 x 480 view at (x, y) from the cache to cGame.graphics in
// one to four pieces; answers the number of pieces.
jint blitTileCache(jint x, jint y);

void fillGradient(IntArray* buffer, jint stride, jint topLeft, jint topRight, jint bottomLeft, jint bottomRight, jint x,
                  jint y, jint width, jint height, bool quadraticLeft, bool quadraticRight);

}  // namespace game::world

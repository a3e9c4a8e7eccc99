// Static fields of the sprite engine's classes, contributed to the statics
// block: those of ASprite (text statics, work buffers, measure state) and
// of BitmapFont (size filter, list mode, the off-screen image of the
// rotated path). registerSpriteStatics() adds them (and the built-in host's
// own) before Application::init; every reference field is a collector root.
#pragma once

#include <cstddef>

#include "runtime/array.h"
#include "runtime/statics.h"

class javax_microedition_lcdui_Image;
class javax_microedition_lcdui_Graphics;

namespace sprite {

// Order keys of the class initialisers among the game's.
constexpr int kClinitASprite = kClinitGame + 4;
constexpr int kClinitBitmapFont = kClinitGame + 7;

// Smallest size of the two work buffers; they grow to the largest module or
// frame they must hold.
constexpr jint kWorkPixels = 19200;
// Entries of lineBreaks: the line count, then (end, width) per line.
constexpr jint kLineBreakShorts = 256;
constexpr jint kMaxLines = (kLineBreakShorts - 1) / 2;  // 127
// Side of the off-screen image of the rotated path.
constexpr jint kOffscreenSide = 128;

struct ASpriteStatics {
    // Text statics.
    jint savedPalette;
    jint textWidth;
    jint textHeight;
    jint substringStart;  // -1: from 0
    jint substringEnd;    // -1: to the end
    ShortArray* lineBreaks;
    jchar separator;      // 124, the vertical bar
    // Work buffers.
    IntArray* workPixels;
    IntArray* workPixels2;
    // Measure state.
    jint measureMode;
    jint boundsMinX;
    jint boundsMinY;
    jint boundsMaxX;
    jint boundsMaxY;
    IntArray* workRect;
    jboolean collectOnLoad;
    jboolean frameImageHasAlpha;
    // Set while frames are rendered into images in game orientation (the
    // frame builders): the module painter then skips the quarter turn.
    jboolean gameOrientation;
};

struct BitmapFontStatics {
    jboolean flag0;
    IntArray* waveTable;
    ObjectArray* textParams;
    jint minWidth;
    jint maxWidth;
    jint minHeight;
    jint maxHeight;
    IntArray* listRect;
    jboolean flag1;
    javax_microedition_lcdui_Image* offscreenImage;
    IntArray* rotateRect;
    // A Graphics on the off-screen image, made once (not a field of the
    // original class: it keeps the rotated path free of allocation).
    javax_microedition_lcdui_Graphics* offscreenGraphics;
    jint textParamIndex;
    jint textParamCount;
    // List mode of the module painter.
    jboolean listMode;
    IntArray* listOutput;
    jint listCount;
    // The id of the last glyph font made (ids count from 1).
    jint lastId;
};

extern StaticsContribution g_ASpriteStatics;
extern StaticsContribution g_BitmapFontStatics;

inline ASpriteStatics& as() { return *statics<ASpriteStatics>(g_ASpriteStatics); }
inline BitmapFontStatics& bf() { return *statics<BitmapFontStatics>(g_BitmapFontStatics); }

// Adds the engine's contributions (idempotent); call before Application::init.
void registerSpriteStatics();
// The contributions, for an application configured with an explicit list.
void appendSpriteStatics(std::vector<const StaticsContribution*>& list);

// Both work buffers hold at least n ints afterwards (false when they cannot
// be had). Growth allocates; once warmed up nothing does.
bool ensureWorkBuffers(jint n);

}  // namespace sprite

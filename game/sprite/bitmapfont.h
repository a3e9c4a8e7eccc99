// BitmapFont (class id 126): static fields (statics.h), the rectangle-list
// operations that actor code uses for hit areas (the explicit frame
// rectangles of a frame or an animation frame, and the boxes of the modules
// a frame paints: list mode of the module painter, filtered by the size
// filter), and a packed-bitmap glyph font whose objects decode glyphs of 1,
// 2, 4 or 8 bits per pixel into ARGB pixels (the game makes none; the class
// stands ready for a font of that kind).
//
// Every writer stops when its output array is full; each answers the number
// of rectangles written, four ints each (left, top, right, bottom).
//
// Glyph invariants: a glyph is decoded only when its number, its offset and
// every byte it reads lie inside the font's arrays and the pixel buffer
// holds width x height ints; otherwise nothing is written (logged).
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class ASprite;
class BSprite;

class javax_microedition_lcdui_Graphics;

class BitmapFont : public Object {
public:
    BitmapFont();

    jint id;
    jint glyphHeight;
    jint color;
    jint color2;
    jint reserved;
    jboolean twoColor;
    jboolean flag2;
    Object* ref0;
    String* charMap;
    IntArray* glyphPixels;
    ByteArray* glyphWidths;
    ByteArray* glyphData;
    IntArray* glyphOffsets;
    jint byteShift;
    jint pixelMask;
    jint valueMask;
    jint bitShift;
    jint loaded;
    jint user;

    // Every field 0, false or null (the reference fields registered).
    void resetFields();
    void setColor(jint rgb) { color = rgb | static_cast<jint>(0xFF000000u); }
    void setColor2(jint rgb) {
        twoColor = 1;
        color2 = rgb | static_cast<jint>(0xFF000000u);
    }
    void setUserValue(jint v) { user = v; }
    jint indexOfChar(jchar ch);
    // Glyph number glyph into pixels (row by row, width x glyphHeight).
    void decodeGlyph(jint glyph, IntArray* pixels);
    // Draws ch at (x, y) through the Graphics RGB drawing; its width, or 0
    // when the font is not loaded or lacks the character.
    jint drawChar(javax_microedition_lcdui_Graphics* g, jchar ch, jint x, jint y);

    static jint getFrameRectList(BSprite* sprite, IntArray* out, jint frame, jint x, jint y, jint flags);
    static jint getAFrameRectList(BSprite* sprite, IntArray* out, jint anim, jint aframe, jint x, jint y, jint flags);
    static jint collectFrameModuleRects(BSprite* sprite, IntArray* out, jint frame, jint x, jint y, jint flags);
    static jint collectAFrameModuleRects(BSprite* sprite, IntArray* out, jint anim, jint aframe, jint x, jint y,
                                         jint flags);
    // The size filter: (-2^31, 2^31 - 1) for widths and heights.
    static void resetMeasureBounds();
    static void setMeasureBounds(jint minWidth, jint maxWidth, jint minHeight, jint maxHeight);
};

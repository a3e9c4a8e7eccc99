// BitmapFont (class id 126): no object of it is ever made; it contributes
// static fields (statics.h) and the rectangle-list operations that actor
// code uses for hit areas: the explicit frame rectangles of a frame or an
// animation frame, and the boxes of the modules a frame paints (list mode
// of the module painter, filtered by the size filter).
//
// Every writer stops when its output array is full; each answers the number
// of rectangles written, four ints each (left, top, right, bottom).
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class ASprite;
class BSprite;

class BitmapFont {
public:
    static jint getFrameRectList(BSprite* sprite, IntArray* out, jint frame, jint x, jint y, jint flags);
    static jint getAFrameRectList(BSprite* sprite, IntArray* out, jint anim, jint aframe, jint x, jint y, jint flags);
    static jint collectFrameModuleRects(BSprite* sprite, IntArray* out, jint frame, jint x, jint y, jint flags);
    static jint collectAFrameModuleRects(BSprite* sprite, IntArray* out, jint anim, jint aframe, jint x, jint y,
                                         jint flags);
    // The size filter: (-2^31, 2^31 - 1) for widths and heights.
    static void resetMeasureBounds();
    static void setMeasureBounds(jint minWidth, jint maxWidth, jint minHeight, jint maxHeight);
};

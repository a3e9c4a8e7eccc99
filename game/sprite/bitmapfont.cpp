// BitmapFont's rectangle lists over sprites.
#include "game/sprite/bitmapfont.h"

#include "game/sprite/sprite.h"

using namespace sprite;

namespace {

// Appends (x + rx, y + ry, x + rx + w, y + ry + h) of the rectangle in
// listRect; false when out is full.
bool append(IntArray* out, jint count, jint x, jint y) {
    if (!out || int64_t{count} * 4 + 4 > out->length()) return false;
    const jint* r = bf().listRect->data();
    jint* o = out->data() + count * 4;
    o[0] = java::iadd(x, r[0]);
    o[1] = java::iadd(y, r[1]);
    o[2] = java::iadd(o[0], r[2]);
    o[3] = java::iadd(o[1], r[3]);
    return true;
}

// List mode around a paint pass without a Graphics.
template <typename Paint>
jint collect(IntArray* out, Paint paint) {
    ASpriteStatics& s = as();
    BitmapFontStatics& b = bf();
    const jint savedMeasure = s.measureMode;
    s.measureMode = 1;
    b.listCount = 0;
    b.listMode = 1;
    b.listOutput = out;
    paint();
    b.listMode = 0;
    b.listOutput = nullptr;
    s.measureMode = savedMeasure;
    BitmapFont::resetMeasureBounds();
    return b.listCount;
}

}  // namespace

jint BitmapFont::getFrameRectList(BSprite* sprite, IntArray* out, jint frame, jint x, jint y, jint flags) {
    if (!sprite || !bf().listRect) return 0;
    const jint n = sprite->getFrameRectCount(frame);
    jint count = 0;
    for (jint i = 0; i < n; ++i) {
        sprite->getFrameRectAt(frame, i, bf().listRect, flags);
        if (!append(out, count, x, y)) break;
        ++count;
    }
    return count;
}

jint BitmapFont::getAFrameRectList(BSprite* sprite, IntArray* out, jint anim, jint aframe, jint x, jint y, jint flags) {
    if (!sprite || !bf().listRect) return 0;
    jint count = 0;
    for (;; ++count) {
        sprite->getAFrameRectAt(anim, aframe, count, bf().listRect, flags, true);
        const jint* r = bf().listRect->data();
        if (r[2] == 0 || r[3] == 0 || !append(out, count, x, y)) break;
    }
    return count;
}

jint BitmapFont::collectFrameModuleRects(BSprite* sprite, IntArray* out, jint frame, jint x, jint y, jint flags) {
    if (!sprite) return 0;
    return collect(out, [&] { sprite->paintFrame(nullptr, frame, x, y, flags, 0, 0); });
}

jint BitmapFont::collectAFrameModuleRects(BSprite* sprite, IntArray* out, jint anim, jint aframe, jint x, jint y,
                                          jint flags) {
    if (!sprite) return 0;
    return collect(out, [&] { sprite->paintAFrame(nullptr, anim, aframe, x, y, flags, 0, 0); });
}

void BitmapFont::resetMeasureBounds() { setMeasureBounds(java::kIntMin, java::kIntMax, java::kIntMin, java::kIntMax); }

void BitmapFont::setMeasureBounds(jint minWidth, jint maxWidth, jint minHeight, jint maxHeight) {
    BitmapFontStatics& b = bf();
    b.minWidth = minWidth;
    b.maxWidth = maxWidth;
    b.minHeight = minHeight;
    b.maxHeight = maxHeight;
}

// BitmapFont's rectangle lists over sprites.
#include "game/sprite/bitmapfont.h"

#include "game/sprite/gfx.h"
#include "game/sprite/sprite.h"
#include "runtime/log.h"
#include "runtime/string.h"

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

// --- the glyph font ------------------------------------------------------------

BitmapFont::BitmapFont() : Object(cid::BitmapFont) {
    resetFields();
    flag2 = 0;
    loaded = 0;
    id = ++bf().lastId;
}

void BitmapFont::resetFields() {
    id = glyphHeight = color = color2 = reserved = 0;
    twoColor = flag2 = 0;
    ref0 = nullptr;
    charMap = nullptr;
    glyphPixels = nullptr;
    glyphWidths = nullptr;
    glyphData = nullptr;
    glyphOffsets = nullptr;
    byteShift = pixelMask = valueMask = bitShift = loaded = user = 0;
    StaticClass::setRefFieldOffsets(this, {&ref0, &charMap, &glyphPixels, &glyphWidths, &glyphData, &glyphOffsets});
}

jint BitmapFont::indexOfChar(jchar ch) {
    if (!charMap) return -1;
    return String::indexOfChar(charMap, ch, 0);
}

void BitmapFont::decodeGlyph(jint glyph, IntArray* pixels) {
    if (!glyphWidths || !glyphOffsets || !glyphData || !pixels || glyph < 0 || glyph >= glyphWidths->length() ||
        glyph >= glyphOffsets->length()) {
        logPrintf("BitmapFont::decodeGlyph: glyph %d outside the font", glyph);
        return;
    }
    // Widths are signed bytes: 0x80 and above give no pixels.
    const int64_t n = int64_t{glyphWidths->data()[glyph]} * glyphHeight;
    if (n <= 0) return;
    const jint first = glyphOffsets->data()[glyph];
    const int64_t last = first + ((n - 1) >> (byteShift & 31));
    if (n > pixels->length() || first < 0 || last >= glyphData->length()) {
        logPrintf("BitmapFont::decodeGlyph: glyph %d (%lld pixels) runs past its arrays", glyph,
                  static_cast<long long>(n));
        return;
    }
    const jbyte* data = glyphData->data();
    jint* out = pixels->data();
    for (jint p = static_cast<jint>(n) - 1; p >= 0; --p) {
        const jint bit = bitShift >= 32 ? 0 : static_cast<jbyte>(java::ishl(p & pixelMask, bitShift));
        const jint b = data[first + java::ishr(p, byteShift)];
        const jint v = valueMask & java::ishr(b, bit);
        if (v == 1)
            out[p] = color | 0x0F000000;
        else if (v >= 2 && twoColor)
            out[p] = color2 | 0x0F000000;
        else
            out[p] = 0;
    }
}

jint BitmapFont::drawChar(javax_microedition_lcdui_Graphics* g, jchar ch, jint x, jint y) {
    if (!loaded || !g) return 0;
    const jint glyph = indexOfChar(ch);
    if (glyph < 0 || !glyphWidths || glyph >= glyphWidths->length()) return 0;
    // The width as stored (a signed byte; a negative one draws nothing).
    const jint w = glyphWidths->data()[glyph];
    decodeGlyph(glyph, glyphPixels);
    if (w > 0 && glyphHeight > 0 && glyphPixels && int64_t{w} * glyphHeight <= glyphPixels->length())
        gfx::drawRGB(g, glyphPixels, 0, w, x, y, w, glyphHeight, true);
    return w;
}

// Frame and module painting: animation frames, frames, frame modules and
// modules with their transforms, the quarter turn from the 800x480 play
// space onto the 480x800 portrait screen, primitives, and image modules
// from fresh decoding or the per-palette caches. The same pass measures
// (no Graphics, measure mode) and lists module rectangles (list mode).
//
// Orientation: paintModule turns every module to the device unless frames
// are being rendered into images in game orientation (the frame builders
// set as().gameOrientation). Module Images stored turned a quarter
// (moduleImagesRotated) are drawn through kTurnedSource, so every path
// shows the same pixels.
#include <algorithm>

#include "game/sprite/bitmapfont.h"
#include "game/sprite/gfx.h"
#include "game/sprite/host.h"
#include "game/sprite/internal.h"
#include "game/sprite/sprite.h"

using namespace sprite;
using java::iadd;

// --- animation frames and frames ------------------------------------------------------

void BSprite::paintAFrame(gfx::Graphics* g, jint anim, jint aframe, jint x, jint y, jint flags, jint p1, jint p2) {
    if (!validAnim(anim) || aframe < 0 || aframe >= getAFrameCount(anim)) return;
    const bool scaling = rotation != 0 || scale != 100;
    if (scaling) {
        scaleCenterX = x;
        scaleCenterY = y;
        scalingFromAFrame = 1;
    }
    const jint k = animFirstAFrame->data()[anim] + aframe;
    const jint frame = aframeFrame->data()[k];
    jint ox = aframeOffsetX->data()[k], oy = aframeOffsetY->data()[k];
    jint f = aframeFlags->data()[k] & 15;
    if (flags & kMirror) {
        f = withTable(kComposeMirror, f);
        ox = -ox;
    }
    if (flags & kFlip) {
        f = withTable(kComposeFlip, f);
        oy = -oy;
    }
    if (flags & kTurn) {
        f = withTable(kComposeTurn, f);
        const jint t = ox;
        ox = -oy;
        oy = t;
    }
    paintFrame(g, frame, iadd(x, ox), iadd(y, oy), f, p1, p2);
    if (scaling) scalingFromAFrame = 0;
}

void BSprite::paintFrame(gfx::Graphics* g, jint frame, jint x, jint y, jint flags, jint p1, jint p2) {
    if (!validFrame(frame)) return;
    if (!g || scaledPaintBusy) {
        paintFrameModules(g, frame, x, y, flags, p1, p2);
        return;
    }
    if (rotation == 0 && scale == 100) {
        if (!pixelData && !moduleImageCache && frameIndexImages && frame < frameIndexImages->length() &&
            frameIndexImages->data()[frame]) {
            paintFrameFromIndexImage(g, frame, x, y, flags, p1, p2);
            return;
        }
        if (palettes || alpha >= 255) {
            paintFrameModules(g, frame, x, y, flags, p1, p2);
            return;
        }
    }
    paintRotated(g, frame, x, y, flags);
    scale = 100;
    rotation = 0;
    scaledPaintBusy = 0;
}

void BSprite::paintFrameModules(gfx::Graphics* g, jint frame, jint x, jint y, jint flags, jint p1, jint p2) {
    if (!validFrame(frame)) return;
    if (g && !as().measureMode && paintFrameFromCache(g, frame, x, y, flags)) return;
    const jint n = static_cast<uint8_t>(frameFModuleCount->data()[frame]);
    for (jint i = 0; i < n; ++i) paintFModule(g, frame, i, x, y, flags, p1, p2);
}

void ASprite::paintFModule(gfx::Graphics* g, jint frame, jint i, jint x, jint y, jint flags, jint p1, jint p2) {
    if (!validFrame(frame) || i < 0 || i >= getFModuleCount(frame)) return;
    const jint k = frameFirstFModule->data()[frame] + i;
    jint f = static_cast<uint8_t>(fmoduleFlags->data()[k]);
    const jint m = fmoduleModule->data()[k];
    if (fmodulePalette && (spriteFlags & kFlagFModulePalette)) currentPalette = static_cast<uint8_t>(fmodulePalette->data()[k]);
    jint w = 0, h = 0;
    if (!(f & kNestedFrame)) {
        const jint mm = remapModule(m);
        w = moduleWidthAt(mm);
        h = moduleHeightAt(mm);
    }
    if (f & kTurn) std::swap(w, h);
    jint fx = fmoduleX->data()[k], fy = fmoduleY->data()[k];
    if (flags & kMirror) {
        f = withTable(kComposeMirror, f);
        fx = -(fx + w);
    }
    if (flags & kFlip) {
        f = withTable(kComposeFlip, f);
        fy = -(fy + h);
    }
    if (flags & kTurn) {
        f = withTable(kComposeTurn, f);
        const jint t = fx;
        fx = -(fy + h);
        fy = t;
    }
    if (f & kNestedFrame) self()->paintFrame(g, m, iadd(x, fx), iadd(y, fy), f & 15, p1, p2);
    else self()->paintModule(g, m, iadd(x, fx), iadd(y, fy), f & 15);
}

// --- modules ------------------------------------------------------------------------------

void BSprite::paintModule(gfx::Graphics* g, jint module, jint x, jint y, jint flags) {
    if (module < 0 || module >= moduleCount) return;
    if (!g || as().gameOrientation) {
        paintModuleRaw(g, module, x, y, flags);
        return;
    }
    // The quarter turn: game (x, y) of a module whose on-screen extent is e
    // goes to device (480 - e - y, x).
    const jint m = remapModule(module);
    const jint e = (flags & kTurn) ? moduleWidthAt(m) : moduleHeightAt(m);
    paintModuleRaw(g, module, java::isub(java::isub(kDeviceWidth, e), y), x, withTable(kComposeTurn, flags));
}

void BSprite::paintModuleRaw(gfx::Graphics* g, jint module, jint x, jint y, jint flags) {
    ASpriteStatics& s = as();
    BitmapFontStatics& list = bf();
    if (list.listMode) {
        s.boundsMinX = s.boundsMinY = java::kIntMax;
        s.boundsMaxX = s.boundsMaxY = java::kIntMin;
    }
    const jint m = remapModule(module);
    if (m < 0 || m >= moduleCount) return;
    const jint type = moduleType->data()[m];
    jint w = moduleWidthAt(m), h = moduleHeightAt(m);
    if (flags & kTurn) std::swap(w, h);
    if (s.measureMode) {
        s.boundsMinX = std::min(s.boundsMinX, x);
        s.boundsMinY = std::min(s.boundsMinY, y);
        s.boundsMaxX = std::max(s.boundsMaxX, iadd(x, w));
        s.boundsMaxY = std::max(s.boundsMaxY, iadd(y, h));
        if (list.listMode) {
            const int64_t bw = int64_t{s.boundsMaxX} - s.boundsMinX, bh = int64_t{s.boundsMaxY} - s.boundsMinY;
            IntArray* out = list.listOutput;
            if (bw >= list.minWidth && bw <= list.maxWidth && bh >= list.minHeight && bh <= list.maxHeight && out &&
                int64_t{list.listCount} * 4 + 4 <= out->length()) {
                jint* o = out->data() + list.listCount * 4;
                o[0] = s.boundsMinX;
                o[1] = s.boundsMinY;
                o[2] = s.boundsMaxX;
                o[3] = s.boundsMaxY;
                ++list.listCount;
            }
        }
        return;
    }
    if (!g) return;
    if (type != kImage) {
        paintPrimitive(g, m, type, x, y, w, h, flags);
        return;
    }
    if (w < 1 || h < 1) return;
    const int64_t cx = gfx::getClipX(g), cy = gfx::getClipY(g);
    if (int64_t{x} + w < cx || int64_t{y} + h < cy || x >= cx + gfx::getClipWidth(g) || y >= cy + gfx::getClipHeight(g))
        return;
    drawModulePixels(g, m, x, y, w, h, flags);
}

void BSprite::drawModulePixels(gfx::Graphics* g, jint m, jint x, jint y, jint w, jint h, jint flags) {
    const jint mw = moduleWidthAt(m), mh = moduleHeightAt(m);
    IntArray* argb = nullptr;
    gfx::Image* image = nullptr;
    if (spriteFlags & (kFlagCacheWithoutImages | kFlagImages)) {
        if (cacheFlags & 1) argb = cacheEntry<IntArray>(moduleRGBCache, currentPalette, m);
        else image = cacheEntry<gfx::Image>(moduleImageCache, currentPalette, m);
    }
    if (image) {
        // Images built by buildModuleImages are stored turned a quarter
        // when moduleImagesRotated says so.
        const jint t = moduleImagesRotated ? kTurnedSource[static_cast<size_t>(flags & 7)] : (flags & 7);
        if (host().imageEffectActive()) {
            const jint iw = gfx::imageWidth(image), ih = gfx::imageHeight(image);
            if (!ensureWorkBuffers(iw * ih)) return;
            IntArray* pixels = as().workPixels;
            gfx::getRGB(image, pixels, 0, iw, 0, 0, iw, ih);
            EffectResult r = host().applyImageEffect(g, pixels, x, y, iw, ih, t, true);
            if (r.pixels) drawRGBTransformed(g, r.pixels, 0, r.width, x, y, r.width, r.height, r.alpha, 0);
            return;
        }
        const jint midp = kTransformToMidp[static_cast<size_t>(t)];
        if (midp != 0) gfx::drawRegion(g, image, 0, 0, gfx::imageWidth(image), gfx::imageHeight(image), midp, x, y, 0);
        else gfx::drawImage(g, image, x, y, 0);
        return;
    }
    if (!argb) argb = decodeModule(m);
    if (!argb) return;
    if (host().imageEffectActive()) {
        EffectResult r = host().applyImageEffect(g, argb, x, y, mw, mh, flags, hasTransparency);
        if (r.pixels) drawRGBTransformed(g, r.pixels, 0, r.width, x, y, r.width, r.height, r.alpha, 0);
        return;
    }
    drawRGBTransformed(g, argb, 0, mw, x, y, mw, mh, hasTransparency, flags);
}

// --- primitives ------------------------------------------------------------------------------

namespace {

// Draws the arc start a over b degrees, normalised so that the start lies in
// [0, 360) and the angle is positive; an arc across 0 degrees is drawn in
// two parts and a full turn stays a full ellipse.
void arcNormalised(gfx::Graphics* g, bool fill, jint x, jint y, jint w, jint h, int64_t a, int64_t b) {
    if (b < 0) {
        a += b;
        b = -b;
    }
    if (b == 0) return;
    auto draw = [&](jint start, jint angle) {
        if (fill) gfx::fillArc(g, x, y, w, h, start, angle);
        else gfx::drawArc(g, x, y, w, h, start, angle);
    };
    if (b >= 360) {
        draw(0, 360);
        return;
    }
    a %= 360;
    if (a < 0) a += 360;
    if (a + b <= 360) {
        draw(static_cast<jint>(a), static_cast<jint>(b));
    } else {
        draw(static_cast<jint>(a), static_cast<jint>(360 - a));
        draw(0, static_cast<jint>(a + b - 360));
    }
}

}  // namespace

void BSprite::paintPrimitive(gfx::Graphics* g, jint m, jint type, jint x, jint y, jint w, jint h, jint flags) {
    const jint colour = moduleColor->data()[m];
    const jint pi = findModuleParams(m);
    auto param = [&](jint i) -> jint { return moduleParams->data()[pi + i]; };
    const bool needsParams = type == kArc || type == kFillArc || type == kTriangle || type == kFillTriangle ||
                             type == kGradient;
    if (needsParams && pi < 0) return;
    gfx::setColor(g, colour);
    switch (type) {
    case kRect: gfx::drawRect(g, x, y, w - 1, h - 1); break;
    case kFillRect: {
        const uint32_t a = static_cast<uint32_t>(colour) >> 24;
        if (a != 0xFF && a != 0) {
            host().setAlphaFillColor(colour);
            host().drawTiledRect(g, x, y, w, h);
        } else {
            gfx::fillRect(g, x, y, w, h);
        }
        break;
    }
    case kArc:
    case kFillArc: {
        int64_t a = param(0), b = param(1);
        // Angles count counter-clockwise from 3 o'clock: a mirror reflects
        // them about 90 degrees, a flip about 0, a clockwise quarter turn
        // takes 90 off.
        if (flags & kMirror) a = 180 - a - b;
        if (flags & kFlip) a = -a - b;
        if (flags & kTurn) a -= 90;
        arcNormalised(g, type == kFillArc, x, y, w, h, a, b);
        break;
    }
    case kTriangle:
    case kFillTriangle: {
        // Vertex offsets follow the transform, the turn to the device
        // included.
        jint px[3] = {0, param(0), param(2)}, py[3] = {0, param(1), param(3)};
        for (int i = 1; i < 3; ++i) {
            if (flags & kMirror) px[i] = -px[i];
            if (flags & kFlip) py[i] = -py[i];
            if (flags & kTurn) {
                const jint t = px[i];
                px[i] = -py[i];
                py[i] = t;
            }
        }
        if (type == kFillTriangle) {
            gfx::fillTriangle(g, x, y, iadd(x, px[1]), iadd(y, py[1]), iadd(x, px[2]), iadd(y, py[2]));
        } else {
            gfx::drawLine(g, x, y, iadd(x, px[1]), iadd(y, py[1]));
            gfx::drawLine(g, iadd(x, px[1]), iadd(y, py[1]), iadd(x, px[2]), iadd(y, py[2]));
            gfx::drawLine(g, x, y, iadd(x, px[2]), iadd(y, py[2]));
        }
        break;
    }
    case kLine: {
        jint x1 = iadd(x, (flags & kMirror) ? w : 0), y1 = iadd(y, (flags & kFlip) ? h : 0);
        jint x2 = iadd(x, (flags & kMirror) ? 0 : w), y2 = iadd(y, (flags & kFlip) ? 0 : h);
        if (flags & kTurn) std::swap(x1, x2);
        gfx::drawLine(g, x1, y1, x2, y2);
        break;
    }
    case kGradient: {
        jint c1 = colour, c2 = (param(0) & 0xFFFF) | java::ishl(param(1), 16);
        const jint code = param(2);
        jint direction = code == 0 ? 4 : code == 1 ? 8 : code == 2 ? 16 : 32;
        if ((flags & kMirror) && code < 2) std::swap(c1, c2);
        if ((flags & kFlip) && code > 1) std::swap(c1, c2);
        if (flags & kTurn) direction = direction == 4 ? 16 : direction == 8 ? 32 : direction == 16 ? 8 : 4;
        fillGradientOn(g, x, y, w, h, c1, c2, direction);
        break;
    }
    default: break;  // type 5: size only
    }
}

// Per-palette image caches (module ARGB arrays or Images, frame ARGB arrays
// or Images), painting a frame from its cache or its palette-index image,
// and the one-shot rotated or scaled painting of a frame by inverse
// mapping.
//
// Orientation of the caches: module ARGB arrays and every frame picture are
// stored in game orientation and turned to the device when drawn, exactly
// like a freshly decoded module; module Images are stored turned a quarter
// once moduleImagesRotated is set (the game-data loader turns them after
// buildModuleImages). Every frame picture comes with its box in frameBoxes.
#include <algorithm>
#include <cmath>

#include "game/sprite/bitmapfont.h"
#include "game/sprite/gfx.h"
#include "game/sprite/host.h"
#include "game/sprite/internal.h"
#include "game/sprite/sprite.h"
#include "runtime/objectmanager.h"

using namespace sprite;

namespace {

// The row of a palette in a two-level cache, created with `rows` rows and
// `entries` entries when missing.
ObjectArray* cacheRow(ObjectArray*& cache, jint rows, jint palette, jint entries) {
    if (!cache) cache = newObjectArray(cid::ObjectArray, std::max(rows, palette + 1));
    if (palette >= cache->length()) return nullptr;
    auto* row = static_cast<ObjectArray*>(cache->data()[palette]);
    if (!row) {
        row = newObjectArray(cid::Object, entries);
        cache->data()[palette] = row;
    }
    return row;
}


// Placement of a frame picture of w x h (box at (left, top) when painted at
// the origin without flags) painted at (x, y) with flags: the position and
// transform code on the target, which is the device unless frames are
// being rendered in game orientation.
struct Placement {
    jint x, y, t;
};
Placement placeFrame(jint w, jint h, jint left, jint top, jint x, jint y, jint flags) {
    jint ox = left, oy = top;
    if (flags & kMirror) ox = -(ox + w);
    if (flags & kFlip) oy = -(oy + h);
    if (flags & kTurn) {
        const jint t = ox;
        ox = -(oy + h);
        oy = t;
    }
    const jint gx = java::iadd(x, ox), gy = java::iadd(y, oy);
    if (as().gameOrientation) return {gx, gy, flags & 7};
    const jint e = (flags & kTurn) ? w : h;
    return {java::isub(java::isub(kDeviceWidth, e), gy), gx, withTable(kComposeTurn, flags) & 7};
}

bool outsideClip(gfx::Graphics* g, const Placement& p, jint w, jint h) {
    const jint pw = (p.t & kTurn) ? h : w, ph = (p.t & kTurn) ? w : h;
    const int64_t cx = gfx::getClipX(g), cy = gfx::getClipY(g);
    return int64_t{p.x} + pw <= cx || int64_t{p.y} + ph <= cy || p.x >= cx + gfx::getClipWidth(g) ||
           p.y >= cy + gfx::getClipHeight(g);
}

}  // namespace

void ASprite::setImageCacheEnabled(ASprite* sprite, bool on) {
    if (!sprite) {
        rt::logNullPointer();
        return;
    }
    sprite->cacheFlags = on ? (sprite->cacheFlags | 1) : (sprite->cacheFlags & ~1);
}

// --- frame boxes ------------------------------------------------------------------------

namespace {

// The recorded box of a frame picture, measured and recorded when missing.
bool frameBox(BSprite* s, jint frame, jint* left, jint* top, jint* w, jint* h) {
    if (s->frameBoxes && frame * 4 + 3 < s->frameBoxes->length()) {
        const jint* b = s->frameBoxes->data() + frame * 4;
        if (b[2] > 0 && b[3] > 0) {
            *left = b[0];
            *top = b[1];
            *w = b[2];
            *h = b[3];
            return true;
        }
    }
    const Box b = s->measureFrame(frame, 0, 0, 0);
    if (!boxSize(b, w, h)) return false;
    *left = b.minX;
    *top = b.minY;
    return true;
}

}  // namespace

void sprite::recordFrameBox(ASprite* s, jint frame, jint left, jint top, jint w, jint h) {
    const jint frames = s->getFrameCount();
    if (frame < 0 || frame >= frames) return;
    if (!s->frameBoxes || s->frameBoxes->length() < frames * 4) {
        IntArray* boxes = newIntArray(frames * 4);
        s->frameBoxes = boxes;
    }
    jint* b = s->frameBoxes->data() + frame * 4;
    b[0] = left;
    b[1] = top;
    b[2] = w;
    b[3] = h;
}

// --- module images ------------------------------------------------------------------------

void BSprite::buildModuleImages(jint palette, jint first, jint last, jint sourcePalette) {
    moduleImagesRotated = 1;
    const bool argbCache = cacheFlags & 1;
    const jint rows = std::max<jint>(paletteCount, 1);
    if (palette < 0 || palette >= std::max(rows, kSlots)) return;
    ObjectArray* row = argbCache ? cacheRow(moduleRGBCache, rows, palette, moduleCount)
                                 : cacheRow(moduleImageCache, rows, palette, moduleCount);
    if (!row || moduleCount < 1) return;
    if (last == -1 || last >= moduleCount) last = moduleCount - 1;
    first = std::max<jint>(first, 0);
    if (!(spriteFlags & (kFlagCacheWithoutImages | kFlagImages))) return;
    if (sourcePalette >= 0) {
        ObjectArray* cache = argbCache ? moduleRGBCache : moduleImageCache;
        auto* source = sourcePalette < cache->length() ? static_cast<ObjectArray*>(cache->data()[sourcePalette]) : nullptr;
        if (!source) return;
        for (jint m = first; m <= last && m < source->length() && m < row->length(); ++m) row->data()[m] = source->data()[m];
        return;
    }
    collectIfAsked();
    const jint saved = currentPalette;
    currentPalette = palette;
    for (jint m = first; m <= last; ++m) {
        if (moduleType->data()[m] != kImage) continue;
        const jint w = moduleWidthAt(m), h = moduleHeightAt(m);
        if (w < 1 || h < 1) continue;
        if (!decodeModule(m)) continue;
        if (argbCache) {
            auto* existing = static_cast<IntArray*>(row->data()[m]);
            IntArray* copy = existing && existing->length() == w * h ? existing : newIntArray(w * h);
            // Decoded pixels re-read after the allocation.
            std::copy_n(as().workPixels->data(), w * h, copy->data());
            row = static_cast<ObjectArray*>(moduleRGBCache->data()[palette]);
            row->data()[m] = copy;
        } else {
            const jint* p = as().workPixels->data();
            const bool alphaSeen = std::any_of(p, p + w * h, [](jint c) { return static_cast<uint32_t>(c) < 0xFF000000u; });
            gfx::Image* image = gfx::createRGBImage(as().workPixels, w, h, alphaSeen);
            row = static_cast<ObjectArray*>(moduleImageCache->data()[palette]);
            row->data()[m] = image;
        }
    }
    currentPalette = saved;
    collectIfAsked();
}

// --- frame images ---------------------------------------------------------------------------

void BSprite::cacheFrameImages(jint palette, jint first, jint last) {
    const jint frames = getFrameCount();
    if (frames < 1 || palette < 0 || palette >= std::max<jint>(paletteCount, 1)) return;
    if (last < 0 || last >= frames) last = frames - 1;
    first = std::max<jint>(first, 0);
    const bool argbCache = cacheFlags & 1;
    const jint rows = std::max<jint>(paletteCount, 1);
    if (!(argbCache ? cacheRow(frameRGBCache, rows, palette, frames) : cacheRow(frameImageCache, rows, palette, frames)))
        return;
    for (jint f = first; f <= last; ++f) {
        Object* built;
        if (argbCache) {
            if (cacheEntry<IntArray>(frameRGBCache, palette, f)) continue;
            built = buildFrameImage(f, palette, nullptr);
        } else {
            if (cacheEntry<gfx::Image>(frameImageCache, palette, f)) continue;
            built = buildFrameImageAsImage(f, palette);
        }
        if (!built) continue;
        auto* row = static_cast<ObjectArray*>((argbCache ? frameRGBCache : frameImageCache)->data()[palette]);
        row->data()[f] = built;
    }
}

void BSprite::cacheAnimImages(jint palette, jint anim) {
    if ((spriteFlags & kFlagNoAnimCache) || !validAnim(anim)) return;
    const jint first = animFirstAFrame->data()[anim], n = getAFrameCount(anim);
    for (jint i = 0; i < n; ++i) {
        const jint k = first + i;
        // The frame's byte form, with two more bits from the flags.
        const jint frame = (aframeFrame->data()[k] & 0xFF) | ((aframeFlags->data()[k] & 0xC0) << 2);
        if (frame < getFrameCount()) cacheFrameImages(palette, frame, frame);
    }
}

bool BSprite::paintFrameFromCache(gfx::Graphics* g, jint frame, jint x, jint y, jint flags) {
    IntArray* argb = cacheEntry<IntArray>(frameRGBCache, currentPalette, frame);
    gfx::Image* image = cacheEntry<gfx::Image>(frameImageCache, currentPalette, frame);
    if (!argb && !image) return false;
    if (cacheFlags & 1) {
        if (argb) image = nullptr;
    } else if (image) {
        argb = nullptr;
    }
    jint left, top, w, h;
    if (!frameBox(this, frame, &left, &top, &w, &h)) return true;
    const Placement p = placeFrame(w, h, left, top, x, y, flags);
    if (outsideClip(g, p, w, h)) return true;
    if (host().imageEffectActive()) {
        // The image-effect step on the frame's pixels (read into a work
        // buffer for an Image).
        IntArray* pixels = argb;
        if (!pixels) {
            if (!ensureWorkBuffers(w * h)) return true;
            pixels = as().workPixels;
            gfx::getRGB(image, pixels, 0, w, 0, 0, w, h);
        }
        EffectResult r = host().applyImageEffect(g, pixels, p.x, p.y, w, h, p.t, hasTransparency);
        if (r.pixels) drawRGBTransformed(g, r.pixels, 0, r.width, p.x, p.y, r.width, r.height, r.alpha, 0);
        return true;
    }
    if (argb) {
        drawRGBTransformed(g, argb, 0, w, p.x, p.y, w, h, true, p.t);
    } else {
        const jint midp = kTransformToMidp[static_cast<size_t>(p.t)];
        if (midp != 0) gfx::drawRegion(g, image, 0, 0, w, h, midp, p.x, p.y, 0);
        else gfx::drawImage(g, image, p.x, p.y, 0);
    }
    return true;
}

// The frame-cache step: the index image goes through the current palette
// into the game's pixel buffer, which is lent to frameRGBCache[palette]
// [frame] (the cache is created, palettes x frames with cacheFlags bit 0,
// when the sprite has none) while the frame modules step paints the frame
// from the cache; the slot then gets back what it held, so a frame cached
// before keeps its entry. Without a slot for the frame (a cache row that is
// too short) the pixels are drawn directly, in the same place.
void BSprite::paintFrameFromIndexImage(gfx::Graphics* g, jint frame, jint x, jint y, jint flags, jint p1, jint p2) {
    const jint palette = currentPalette;
    if (!frameRGBCache) {
        const jint rows = std::max<jint>(paletteCount, 1);
        frameRGBCache = newObjectArray(cid::ObjectArray, rows);
        cacheFlags |= 1;
    }
    ObjectArray* row =
        palette >= 0 && palette < frameRGBCache->length() ? cacheRow(frameRGBCache, 0, palette, getFrameCount()) : nullptr;
    if (row && frame >= row->length()) row = nullptr;
    jint left, top, w, h;
    IntArray* colours = paletteArray(palette);
    if (!colours || !frameBox(this, frame, &left, &top, &w, &h)) return;
    const Placement p = placeFrame(w, h, left, top, x, y, flags);
    if (outsideClip(g, p, w, h)) return;
    IntArray* buffer = host().pixelBuffer(w * h);
    auto* indices = static_cast<ByteArray*>(frameIndexImages->data()[frame]);
    if (!buffer || !indices || indices->length() < w * h) return;
    colours = paletteArray(palette);
    const jint background = frameIndexBackground ? frameIndexBackground->data()[frame] : -1;
    const jint count = colours->length();
    const jint* c = colours->data();
    const uint8_t* in = reinterpret_cast<const uint8_t*>(indices->data());
    jint* out = buffer->data();
    for (jint i = 0; i < w * h; ++i) {
        const jint index = in[i];
        out[i] = index == background || index >= count ? 0 : c[index];
    }
    if (!row) {
        drawRGBTransformed(g, buffer, 0, w, p.x, p.y, w, h, true, p.t);
        return;
    }
    Object* held = row->data()[frame];
    row->data()[frame] = buffer;
    paintFrameModules(g, frame, x, y, flags, p1, p2);
    // The row is reachable from the sprite, and objects never move; only
    // the element pointer is read afresh.
    if (row->data()[frame] == buffer) row->data()[frame] = held;
}

// --- rotated and scaled frames ------------------------------------------------------------------

namespace {

// The frame's pixels placed with flags, in game orientation, w x h from the
// box's top left: from the caches or the index image when they hold the
// frame, else painted into the off-screen image. Null when the frame cannot
// be had this way (too large for the off-screen image).
IntArray* placedFramePixels(BSprite* s, jint frame, jint flags, const Box& box, jint x, jint y) {
    jint w, h;
    if (!boxSize(box, &w, &h)) return nullptr;
    const jint t = flags & 7;
    const jint ow = (t & kTurn) ? h : w, oh = (t & kTurn) ? w : h;  // unflagged size
    if (!ensureWorkBuffers(w * h)) return nullptr;
    const jint cp = s->currentPalette;
    if (IntArray* argb = cacheEntry<IntArray>(s->frameRGBCache, cp, frame); argb && argb->length() >= w * h)
        return ASprite::transformRGB(argb, w, h, t);
    IntArray* palette = s->paletteCount > cp && s->palettes ? static_cast<IntArray*>(s->palettes->data()[cp]) : nullptr;
    if (s->frameIndexImages && frame < s->frameIndexImages->length() && s->frameIndexImages->data()[frame] && palette) {
        auto* indices = static_cast<ByteArray*>(s->frameIndexImages->data()[frame]);
        if (indices->length() >= w * h) {
            const jint background = s->frameIndexBackground ? s->frameIndexBackground->data()[frame] : -1;
            const uint8_t* in = reinterpret_cast<const uint8_t*>(indices->data());
            jint* out = as().workPixels2->data();
            for (jint i = 0; i < w * h; ++i)
                out[i] = in[i] == background || in[i] >= palette->length() ? 0 : palette->data()[in[i]];
            return t ? ASprite::transformRGB(as().workPixels2, w, h, t) : as().workPixels2;
        }
    }
    if (auto* image = cacheEntry<gfx::Image>(s->frameImageCache, cp, frame)) {
        gfx::getRGB(image, as().workPixels2, 0, ow, 0, 0, ow, oh);
        return t ? ASprite::transformRGB(as().workPixels2, w, h, t) : as().workPixels2;
    }
    if (w > kOffscreenSide || h > kOffscreenSide || !bf().offscreenGraphics) return nullptr;
    gfx::Graphics* og = bf().offscreenGraphics;
    gfx::setClip(og, 0, 0, kOffscreenSide, kOffscreenSide);
    gfx::setColor(og, 0xFF00FF);
    gfx::fillRect(og, 0, 0, w, h);
    const jboolean savedOrientation = as().gameOrientation;
    as().gameOrientation = 1;
    s->paintFrameModules(og, frame, java::isub(x, box.minX), java::isub(y, box.minY), flags, 0, 0);
    as().gameOrientation = savedOrientation;
    gfx::getRGB(bf().offscreenImage, as().workPixels2, 0, w, 0, 0, w, h);
    const jint key = gfx::getDisplayColor(0xFF00FF) & 0xFFFFFF;
    const uint32_t alphaByte = static_cast<uint32_t>(std::clamp<jint>(s->alpha, 0, 255)) << 24;
    jint* px = as().workPixels2->data();
    for (jint i = 0; i < w * h; ++i) {
        if ((px[i] & 0xFFFFFF) == key) px[i] = 0;
        else if (s->alpha < 255) px[i] = static_cast<jint>((static_cast<uint32_t>(px[i]) & 0xFFFFFF) | alphaByte);
    }
    return as().workPixels2;
}

}  // namespace

void BSprite::paintRotated(gfx::Graphics* g, jint frame, jint x, jint y, jint flags) {
    scaledPaintBusy = 1;
    const jint px = scalingFromAFrame ? scaleCenterX : x, py = scalingFromAFrame ? scaleCenterY : y;
    const Box box = measureFrame(frame, x, y, flags);
    jint w0, h0;
    if (!boxSize(box, &w0, &h0) || scale <= 0) return;

    // The rotated and scaled box in 14-bit fixed point around the pivot.
    SpriteHost& h = host();
    const int64_t sv = h.sin(rotation), cv = h.sin(h.quarterCircle() - rotation);
    const int64_t s14 = sv * scale / 100, c14 = cv * scale / 100;
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    for (int corner = 0; corner < 4; ++corner) {
        const int64_t dx = ((corner & 1) ? box.maxX : box.minX) - int64_t{px};
        const int64_t dy = ((corner & 2) ? box.maxY : box.minY) - int64_t{py};
        const int64_t X = dx * c14 - dy * s14, Y = dx * s14 + dy * c14;
        minX = std::min(minX, X);
        maxX = std::max(maxX, X);
        minY = std::min(minY, Y);
        maxY = std::max(maxY, Y);
    }
    const int64_t bx1 = px + (minX >> 14), by1 = py + (minY >> 14);
    const int64_t bx2 = px + ((maxX + 16383) >> 14), by2 = py + ((maxY + 16383) >> 14);
    if (bx1 > kGameWidth || by1 > kGameHeight || bx2 < 0 || by2 < 0) return;
    // Only the part on the game screen is computed.
    const int64_t x1 = std::max<int64_t>(bx1, 0), y1 = std::max<int64_t>(by1, 0);
    const int64_t x2 = std::min<int64_t>(bx2, kGameWidth), y2 = std::min<int64_t>(by2, kGameHeight);
    const jint bw = static_cast<jint>(x2 - x1), bh = static_cast<jint>(y2 - y1);
    if (bw < 1 || bh < 1) return;

    IntArray* src = placedFramePixels(this, frame, flags, box, x, y);
    if (!src) {
        // Too large for the off-screen image: the plain painting.
        paintFrameModules(g, frame, x, y, flags, 0, 0);
        return;
    }
    // The destination is asked for at the size of the largest box any angle
    // gives this frame at this scale, so that turning it does not grow it
    // again frame after frame.
    int64_t radius2 = 0;
    for (int corner = 0; corner < 4; ++corner) {
        const int64_t dx = ((corner & 1) ? box.maxX : box.minX) - int64_t{px};
        const int64_t dy = ((corner & 2) ? box.maxY : box.minY) - int64_t{py};
        radius2 = std::max(radius2, dx * dx + dy * dy);
    }
    const int64_t side = 2 * static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(radius2)) * scale / 100)) + 3;
    const int64_t largest = std::min<int64_t>(side, kGameWidth) * std::min<int64_t>(side, kGameHeight);
    IntArray* dest = h.rotationBuffer(static_cast<jint>(std::max<int64_t>(largest, int64_t{bw} * bh)));
    if (!dest) return;
    // The source may have been a work buffer: the destination is the
    // host's, so nothing here allocates any more.
    const jint* in = src->data();
    jint* out = dest->data();
    const int64_t ic = cv * 400 / scale, is = sv * 400 / scale;  // inverse, 16.16
    const int64_t sw = int64_t{w0} << 16, sh = int64_t{h0} << 16;
    const bool game = as().gameOrientation;
    // Destination rows: device rows are game columns (from the left), and
    // along a device row the game row runs from the bottom up.
    const jint rows = game ? bh : bw, cols = game ? bw : bh;
    for (jint r = 0; r < rows; ++r) {
        const int64_t gx = game ? x1 : x1 + r, gy = game ? y1 + r : y2 - 1;
        const int64_t rx = ((gx - px) << 16) + 32768, ry = ((gy - py) << 16) + 32768;
        int64_t sx = ((rx * ic + ry * is) >> 16) + ((int64_t{px} - box.minX) << 16);
        int64_t sy = ((-rx * is + ry * ic) >> 16) + ((int64_t{py} - box.minY) << 16);
        const int64_t stepX = game ? ic : -is, stepY = game ? -is : -ic;
        auto inside = [&](jint c) {
            const int64_t X = sx + stepX * c, Y = sy + stepY * c;
            return X >= 0 && X < sw && Y >= 0 && Y < sh;
        };
        jint first = 0, last = cols - 1;
        while (first < cols && !inside(first)) ++first;
        while (last >= first && !inside(last)) --last;
        jint* row = out + static_cast<int64_t>(r) * cols;
        std::fill(row, row + first, 0);
        for (jint c = first; c <= last; ++c) {
            const int64_t X = (sx + stepX * c) >> 16, Y = (sy + stepY * c) >> 16;
            row[c] = X >= 0 && X < w0 && Y >= 0 && Y < h0 ? in[Y * w0 + X] : 0;
        }
        std::fill(row + last + 1, row + cols, 0);
    }
    if (game) gfx::drawRGB(g, dest, 0, bw, static_cast<jint>(x1), static_cast<jint>(y1), bw, bh, true);
    else gfx::drawRGB(g, dest, 0, bh, static_cast<jint>(kDeviceWidth - y2), static_cast<jint>(x1), bh, bw, true);
}

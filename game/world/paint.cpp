// Cell drawing, region painting, the tile cache and the gradient (see
// paint.h).
#include "game/world/paint.h"

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "game/world/map.h"
#include "game/world/regions.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/jint.h"

namespace game::world {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

namespace {

// Java's modulo made non-negative (cell coordinates of a wrapping layer).
jint wrap(jint v, jint n) {
    jint m = java::irem(v, n);
    return m < 0 ? m + n : m;
}

// The Graphics all game painting goes to: the one the canvas hands its
// paint (or a caller that paints into a picture of its own).
Graphics* gameGraphics() { return cg().graphics; }

BSprite* asSprite(Object* o) { return o && o->classId() == cid::BSprite ? static_cast<BSprite*>(o) : nullptr; }

Object* levelSprite(jint i) {
    ObjectArray* s = cg().levelSprites;
    return s && s->inBounds(i) ? s->data()[i] : nullptr;
}

}  // namespace

void drawTileImage(Graphics* g, Object* spriteObject, jint x, jint y, jint frame, jint mirrorBits) {
    if (frame > 255) frame = -1;
    BSprite* sprite = asSprite(spriteObject);
    if (!g || !sprite || frame == -1) return;
    if (sprite->getFrameCount() > 0) {
        jint transform = 0;
        if (mirrorBits & 0x4000) transform |= 1, x += 36;
        if (mirrorBits & 0x8000) transform |= 2, y += 36;
        sprite->paintFrame(g, frame, x, y, transform, 0, 0);
    } else {
        sprite->paintModule(g, frame, x, y, mirrorBits != 0 ? 1 : 0);
    }
}

void drawBackgroundLayers(jint draw) {
    cGameStatics& g = cg();
    if (!g.regionStates || !g.regionRects || !g.regionSizes || !g.regionCells) return;
    if (isRegionFlagSet(g.stage)) return;
    const jint left = getLayerX(3) - 400;
    const jint top = getLayerViewTop(3, true);
    const jint c0 = left / 36, c1 = (left + 799) / 36, r0 = top / 36, r1 = (top + 479) / 36;
    if (draw && gameGraphics()) gameGraphics()->setClip(0, 0, 480, 800);
    Object* sprite = nullptr;
    if (draw && g.layerSettings && g.layerSettings->inBounds(g.stage)) sprite = levelSprite(g.layerSettings->data()[g.stage]);
    const jint n = regionCount();
    for (jint i = 0; i < n; ++i) {
        if (cg().regionStates->data()[i] == 1) continue;
        ShortArray* rect = static_cast<ShortArray*>(cg().regionRects->data()[i]);
        ShortArray* size = static_cast<ShortArray*>(cg().regionSizes->data()[i]);
        ShortArray* cells = static_cast<ShortArray*>(cg().regionCells->data()[i]);
        if (!rect || !size || !cells || rect->length() < 4 || size->length() < 2) continue;
        const jint rl = rect->data()[0], rt = rect->data()[1];
        const jint fc = rl / 36, lc = rect->data()[2] / 36, fr = rt / 36, lr = rect->data()[3] / 36;
        if (lc < c0 || fc > c1 || lr < r0 || fr > r1) continue;
        const jint w = size->data()[0], h = size->data()[1];
        if (w <= 0 || h <= 0 || cells->length() < w * h) continue;  // the loader refuses such grids
        const jint ox = wrap(fc, w), oy = wrap(fr, h);
        for (jint c = fc; c <= lc; ++c) {
            const jint sx = rl - left + 36 * (c - fc);
            if (sx > 800 || sx < -36) continue;
            for (jint r = fr; r <= lr; ++r) {
                const jint v = cells->data()[wrap(c - ox, w) + wrap(r - oy, h) * w];
                if (draw) {
                    if (v != -1) drawTileImage(gameGraphics(), sprite, sx, rt - top + 36 * (r - fr), v & 0x1FFF, v & 0xC000);
                } else {
                    const jint vc = c - c0, vr = r - r0;
                    IntArray* cover = cg().regionCoverage;
                    if (vc >= 0 && vc < 32 && vr >= 0 && vr < 32 && cover && cover->inBounds(vr))
                        cover->data()[vr] |= jint(1u << vc);
                }
            }
        }
    }
}

// --- the tile cache ---------------------------------------------------------

void createTileCache() {
    cGameStatics& g = cg();
    if (!g.tileCacheImage) g.tileCacheImage = Image::createImage(kCacheHeight, kCacheWidth);
    if (!g.tileCacheGraphics && g.tileCacheImage) {
        g.tileCacheGraphics = g.tileCacheImage->getGraphics();
        if (g.tileCacheGraphics) g.tileCacheGraphics->translate(kCacheHeight - 480, 0);
    }
    g.tileCacheDirty = 1;
}

namespace {

// Clears the cache cells of a block (bounds inclusive) before its first
// layer is drawn.
void clearCells(jint fc, jint fr, jint lc, jint lr) {
    Graphics* g = cg().tileCacheGraphics;
    if (!g) return;
    g->setClip(-(kCacheHeight - 480), 0, kCacheHeight, kCacheWidth);
    g->setColor(0);
    for (jint r = fr; r <= lr; ++r)
        for (jint c = fc; c <= lc; ++c) {
            const jint gx = wrap(c, kCacheColumns) * 36, gy = wrap(r, kCacheRows) * 36;
            g->fillRect(480 - 36 - gy, gx, 36, 36);  // the view cell turned onto the portrait image
        }
}

void drawBlock(jint layer, bool first, jint fc, jint fr, jint lc, jint lr) {
    if (fc > lc || fr > lr) return;
    if (first) clearCells(fc, fr, lc, lr);
    drawMapCells(layer, fc, fr, lc, lr);
}

}  // namespace

void drawMapCells(jint layer, jint fc, jint fr, jint lc, jint lr) {
    ShortArray* cells = layerCells(layer);
    Graphics* g = cg().tileCacheGraphics;
    const jint w = layerWidth(layer), h = layerHeight(layer);
    if (!cells || !g || w <= 0 || h <= 0) return;
    Object* sprite = levelSprite(layer);
    g->setClip(-(kCacheHeight - 480), 0, kCacheHeight, kCacheWidth);
    const bool wraps = lc >= w || lr >= h || fc < 0 || fr < 0;
    for (jint r = fr; r <= lr; ++r)
        for (jint c = fc; c <= lc; ++c) {
            jlong index = wraps ? jlong{wrap(c, w)} + jlong{w} * wrap(r, h) : jlong{c} + jlong{w} * r;
            if (index < 0 || index >= cells->length()) continue;
            const jint v = static_cast<uint16_t>(cells->data()[index]);
            const jint frame = v == 65535 ? -1 : (v & 0x1FFF);
            drawTileImage(g, sprite, wrap(c, kCacheColumns) * 36, wrap(r, kCacheRows) * 36, frame, v & 0xC000);
        }
}

void paintMapLayer(IntArray* layers, jint x, jint y) {
    cGameStatics& g = cg();
    if (!g.tileCacheGraphics) createTileCache();
    if (!g.tileCacheRange || g.tileCacheRange->length() < 4) {
        g.tileCacheRange = newIntArray(4);
        cg().tileCacheDirty = 1;
    }
    const jint c0 = x / 36, c1 = (x + 799) / 36, r0 = y / 36, r1 = (y + 479) / 36;
    const jint* p = cg().tileCacheRange->data();
    const jint pc0 = p[0], pr0 = p[1], pc1 = p[2], pr1 = p[3];
    const jint n = layers ? layers->length() : 0;
    for (jint k = 0; k < n; ++k) {
        const jint layer = layers->data()[k];
        const bool first = k == 0;
        jint sc0 = c0, sc1 = c1;  // column span of the row pass
        if (!cg().tileCacheDirty && (c0 != pc0 || c1 != pc1)) {
            if (c1 >= pc0 && c0 <= pc1) {
                if (c0 < pc0) drawBlock(layer, first, c0, r0, pc0 - 1, r1), sc0 = pc0;
                if (c1 > pc1) drawBlock(layer, first, pc1 + 1, r0, c1, r1), sc1 = pc1;
            } else {
                cg().tileCacheDirty = 1;
            }
        }
        if (!cg().tileCacheDirty && (r0 != pr0 || r1 != pr1)) {
            if (r1 >= pr0 && r0 <= pr1) {
                if (r0 < pr0) drawBlock(layer, first, sc0, r0, sc1, pr0 - 1);
                else if (r1 > pr1) drawBlock(layer, first, sc0, pr1 + 1, sc1, r1);
            } else {
                cg().tileCacheDirty = 1;
            }
        }
        if (cg().tileCacheDirty) drawBlock(layer, first, c0, r0, c1, r1);
    }
    cg().tileCacheDirty = 0;
    IntArray::fill(cg().tileCacheRange, {c0, r0, c1, r1});
    blitTileCache(x, y);
}

void paintMapLayers(std::initializer_list<jint> layers, jint x, jint y) {
    // One list array kept for the paint of every frame.
    IntArray* list = cg().layerList;
    if (!list || list->length() != static_cast<jint>(layers.size())) {
        list = newIntArray(static_cast<jint>(layers.size()));
        cg().layerList = list;
    }
    IntArray::fill(list, layers);
    paintMapLayer(list, x, y);
}

jint blitTileCache(jint x, jint y) {
    Graphics* g = gameGraphics();
    Image* cache = cg().tileCacheImage;
    if (!g || !cache) return 0;
    const jint ax = wrap(x, kCacheWidth), ax2 = wrap(x + 800, kCacheWidth);
    const jint ay = wrap(y, kCacheHeight), ay2 = wrap(y + 480, kCacheHeight);
    const bool seamX = ax2 <= ax, seamY = ay2 <= ay;
    // Cache row cy of the view space is column 539 - cy of the portrait
    // image, view row vy is screen column 479 - vy: rows ay .. 539 shift
    // by ay - 60, the wrapped rows 0 .. ay2 - 1 by 540 less. Cache column
    // cx is image row cx: shifts -ax and, past the seam, 800 - ax2.
    const jint pieceX[2] = {ay - (kCacheHeight - 480), ay - (kCacheHeight - 480) - kCacheHeight};
    const jint pieceY[2] = {-ax, 800 - ax2};
    jint pieces = 0;
    for (jint j = 0; j < (seamX ? 2 : 1); ++j)
        for (jint i = 0; i < (seamY ? 2 : 1); ++i) {
            g->setClip(0, 0, 480, 800);
            g->drawImage(cache, pieceX[i], j == 0 ? pieceY[0] : pieceY[1], 20);
            ++pieces;
        }
    return pieces;
}

// --- gradient -------------------------------------------------------------------

namespace {

// The game's colour interpolation, each channel (a(n - t) + bt) / n; an
// empty span keeps the first colour.
jint lerpArgb(jint from, jint to, jint t, jint n) { return n == 0 ? from : lerpColor(from, to, t, 0, n); }

}  // namespace

void fillGradient(IntArray* buffer, jint stride, jint tl, jint tr, jint bl, jint br, jint x, jint y, jint width, jint height,
                  bool quadraticLeft, bool quadraticRight) {
    if (!buffer || width <= 0 || height <= 0) return;
    jlong index = jlong{x} + jlong{stride} * y;
    for (jint i = 0; i < height; ++i) {
        const jint left = quadraticLeft ? lerpArgb(tl, bl, java::imul(i, i), java::imul(height, height)) : lerpArgb(tl, bl, i, height);
        const jint right = quadraticRight ? lerpArgb(tr, br, java::imul(i, i), java::imul(height, height)) : lerpArgb(tr, br, i, height);
        for (jint j = 0; j < width; ++j, ++index)
            if (index >= 0 && index < buffer->length()) buffer->data()[index] = lerpArgb(left, right, j, width);
        index += stride - width;
    }
}

void paintLayerView(jint layer, jint x, jint y) {
    paintMapLayers({layer}, java::iadd(getLayerX(layer) - 400, x), java::iadd(getLayerViewTop(layer, true), y));
}

}  // namespace game::world

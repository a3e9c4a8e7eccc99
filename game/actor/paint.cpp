// Painting the play field (see paint.h).
#include "game/actor/paint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "display/lcdui/graphics.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/behaviour/types.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/screen.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "game/world/paint.h"
#include "runtime/log.h"

using namespace game;

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

constexpr jint kCell = 36;

Graphics* gfx() { return cg().graphics; }

void draw(cActor* a, jint anim, jint frame, jint x, jint y, jint flags) {
    drawSpriteFrame(a->sprite, anim, frame, x, y, flags, a->scale, a->angle);
}

// --- draws cut to the view ---------------------------------------------------------
//
// Strips, grids and the parallax repeat can ask for tens of thousands of
// draws (32767 x 32767 grid cells from damaged data); only those whose
// drawing can reach the 800 x 480 view are made, so the pixels are those
// of drawing them all. What one draw can touch is measured once, widened to
// hold whatever the sprite engine paints beyond the measured module boxes.

constexpr int64_t kViewWidth = 800, kViewHeight = 480;

// A box relative to a draw's position, in 64 bits; empty when it paints
// nothing.
struct Extent {
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    bool empty() const { return maxX < minX || maxY < minY; }
    void add(const Extent& o) {
        minX = std::min(minX, o.minX);
        minY = std::min(minY, o.minY);
        maxX = std::max(maxX, o.maxX);
        maxY = std::max(maxY, o.maxY);
    }
};

// How far a triangle module's corners can lie from its position (the
// measure counts modules by their width and height only).
int64_t triangleReach(BSprite* s) {
    ShortArray* pairs = s->moduleParamIndex;
    ShortArray* params = s->moduleParams;
    ByteArray* types = s->moduleType;
    if (!pairs || !params || !types) return 0;
    int64_t reach = 0;
    for (jint k = 0; k + 1 < pairs->length(); k += 2) {
        const jint m = pairs->data()[k], at = pairs->data()[k + 1];
        if (m < 0 || m >= types->length() || at < 0) continue;
        const jint type = types->data()[m];
        if (type != sprite::kTriangle && type != sprite::kFillTriangle) continue;
        for (jint i = 0; i < 4 && at + i < params->length(); ++i)
            reach = std::max<int64_t>(reach, std::abs(int64_t{params->data()[at + i]}));
    }
    return reach;
}

// What one draw of (anim, frame) (anim -1: frame alone) with flags and the
// actor's scale and angle can touch around its position.
Extent drawExtent(cActor* a, jint anim, jint frame, jint flags) {
    BSprite* s = a->sprite;
    Extent e;
    // Measuring walks the frame's modules, which may switch the palette.
    const jint palette = s->currentPalette;
    const sprite::Box b = anim == -1 ? s->measureFrame(frame, 0, 0, flags) : s->measureAFrame(anim, frame, 0, 0, flags);
    s->currentPalette = palette;
    if (b.maxX < b.minX || b.maxY < b.minY) return e;
    const int64_t reach = triangleReach(s) + 2;
    e.minX = int64_t{b.minX} - reach;
    e.minY = int64_t{b.minY} - reach;
    e.maxX = int64_t{b.maxX} + reach;
    e.maxY = int64_t{b.maxY} + reach;
    if (a->scale != 100 || a->angle != 0) {
        // Turned and scaled about the position: within the circle through
        // the farthest corner, scaled (the plain drawing stays possible).
        double r2 = 0;
        for (const int64_t cx : {e.minX, e.maxX})
            for (const int64_t cy : {e.minY, e.maxY}) r2 = std::max(r2, double(cx) * double(cx) + double(cy) * double(cy));
        const double scaled = std::ceil(std::sqrt(r2) * std::abs(double(a->scale)) / 100.0);
        const int64_t r = static_cast<int64_t>(std::min(scaled, 4294967296.0)) + 2;
        e.add({-r, -r, r, r});
    }
    return e;
}

// The indices i in [0, n) whose draw at p + i * d, touching [p + i * d +
// e0, p + i * d + e1], can meet [0, limit); lo > hi when none.
struct Run {
    int64_t lo, hi;
};
int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }
Run visibleRun(int64_t p, int64_t d, int64_t n, int64_t e0, int64_t e1, int64_t limit) {
    Run r{0, n - 1};
    if (d > 0) {
        r.lo = std::max<int64_t>(r.lo, ceilDiv(-e1 - p, d));
        r.hi = std::min<int64_t>(r.hi, floorDiv(limit - 1 - e0 - p, d));
    } else if (d < 0) {
        r.lo = std::max<int64_t>(r.lo, ceilDiv(p + e0 - limit + 1, -d));
        r.hi = std::min<int64_t>(r.hi, floorDiv(p + e1, -d));
    } else if (p + e1 < 0 || p + e0 > limit - 1) {
        r.hi = -1;
    }
    return r;
}

// The draws paintSprite makes for an actor: cols x rows cells, column by
// column, (dx, dy) apart; the first and the last draw of a strip may take
// other animations (a one-segment strip takes the first).
struct Layout {
    jint cols = 1, rows = 1;
    int64_t dx = 0, dy = 0;
    jint anim = 0, frame = 0;  // anim -1: frame alone
    bool firstCap = false, lastCap = false;
    jint firstAnim = 0, lastAnim = 0;
    bool grid = false;
    bool stripValue = false;  // the strip parameter is noted for others
};

Layout strip(jint n, bool across, bool firstCap, jint firstAnim, bool lastCap, jint lastAnim) {
    Layout l;
    (across ? l.cols : l.rows) = n;
    (across ? l.dx : l.dy) = kCell;
    l.firstCap = firstCap;
    l.firstAnim = firstAnim;
    l.lastCap = lastCap;
    l.lastAnim = lastAnim;
    return l;
}

Layout layoutOf(cActor* a, jint flags) {
    const bool mirrored = flags & 1;
    const jint p1 = a->getParamOr(1), anim = a->anim;
    Layout l;
    if (a->sprite == getSpriteById(4, 18) && anim == 1) {
        l.anim = 1;
        l.frame = a->frame;
        return l;
    }
    if (a->sprite == getSpriteById(28, 18)) {
        l = strip(a->getParamOr(0), false, p1 & 2, anim + 1, (p1 & 6) == 6, anim - 1);
        l.stripValue = true;
    } else if (a->subtype == 182 || a->subtype == 183) {
        if (a->getParamOr(3) == 0)
            l = strip(a->getParamOr(0), true, p1 & 4, anim + 1, (p1 & 5) == 5, anim - 1);
        else
            l = strip(a->getParamOr(2), false, p1 & 2, anim + 1, (p1 & 6) == 6, anim - 1);
    } else if (a->subtype == 134) {
        l.cols = a->getParamOr(0);
        l.rows = a->getParamOr(1);
        l.dx = a->getTypeParam(6);
        l.dy = a->getTypeParam(7);
        l.grid = true;
    } else if (a->subtype == 175) {
        l = strip(a->getParamOr(0), true, p1 & 4, mirrored ? anim - 1 : anim + 1, (p1 & 5) == 5,
                  mirrored ? anim + 1 : anim - 1);
    } else if (a->subtype == 57) {
        const jint p3 = a->getParamOr(3);
        l = strip(a->getParamOr(2), true, p3 & 4, mirrored ? anim + 4 : anim - 4, (p3 & 5) == 5,
                  mirrored ? anim - 4 : anim + 4);
    } else if (a->subtype == 83 || a->subtype == 84) {
        // anim holds a frame number for these subtypes.
        l.anim = -1;
        l.frame = anim;
        return l;
    }
    l.anim = anim;
    l.frame = a->frame;
    return l;
}

// What one cell of the layout can touch (every animation it may take).
Extent cellExtent(cActor* a, const Layout& l, jint flags) {
    Extent e = drawExtent(a, l.anim, l.frame, flags);
    if (l.firstCap) e.add(drawExtent(a, l.firstAnim, l.frame, flags));
    if (l.lastCap) e.add(drawExtent(a, l.lastAnim, l.frame, flags));
    return e;
}

// What the whole layout can touch around its position.
Extent layoutExtent(cActor* a, const Layout& l, jint flags) {
    if (l.cols <= 0 || l.rows <= 0) return {};
    Extent e = cellExtent(a, l, flags);
    if (e.empty()) return e;
    const int64_t spanX = (l.cols - 1) * l.dx, spanY = (l.rows - 1) * l.dy;
    e.minX += std::min<int64_t>(spanX, 0);
    e.maxX += std::max<int64_t>(spanX, 0);
    e.minY += std::min<int64_t>(spanY, 0);
    e.maxY += std::max<int64_t>(spanY, 0);
    return e;
}

void logOnceForSubtype(cActor* a, const char* what);

// The layout's draws at (x, y) that can meet the view, in their order.
void drawLayout(cActor* a, const Layout& l, jint x, jint y, jint flags) {
    if (l.cols <= 0 || l.rows <= 0) return;
    if (l.cols == 1 && l.rows == 1) {
        draw(a, l.firstCap ? l.firstAnim : (l.lastCap ? l.lastAnim : l.anim), l.frame, x, y, flags);
        return;
    }
    const Extent e = cellExtent(a, l, flags);
    if (e.empty()) return;
    Run cols = visibleRun(x, l.dx, l.cols, e.minX, e.maxX, kViewWidth);
    Run rows = visibleRun(y, l.dy, l.rows, e.minY, e.maxY, kViewHeight);
    if (cols.lo > cols.hi || rows.lo > rows.hi) return;
    if (l.grid && ((l.dx == 0 && l.cols > 1) || (l.dy == 0 && l.rows > 1))) {
        // Cells of size 0 lie on each other: one draw shows them.
        logOnceForSubtype(a, "grid cell size 0, its cells drawn once");
        if (l.dx == 0) cols.hi = cols.lo;
        if (l.dy == 0) rows.hi = rows.lo;
    }
    const int64_t last = int64_t{l.cols} * l.rows - 1;
    for (int64_t c = cols.lo; c <= cols.hi; ++c) {
        for (int64_t r = rows.lo; r <= rows.hi; ++r) {
            const int64_t i = c * l.rows + r;
            jint anim = l.anim;
            if (i == 0 && l.firstCap) anim = l.firstAnim;
            else if (i == last && l.lastCap) anim = l.lastAnim;
            const int64_t px = x + c * l.dx, py = y + r * l.dy;
            if (px != static_cast<jint>(px) || py != static_cast<jint>(py)) continue;
            draw(a, anim, l.frame, static_cast<jint>(px), static_cast<jint>(py), flags);
        }
    }
}

// The placement of an actor on a moving structure: false when it lies
// behind the structure (or there is no point on it).
bool structurePlacement(cActor* a, jint& x, jint& y) {
    IntArray* slot = findSlotForValue(x);
    if (a->flags & 0x4) {
        x = slot->data()[2] + cg().cameraX;
        y = slot->data()[3] + cg().cameraY;
        return true;
    }
    IntArray* point = game::behaviour::pointOnSegment(-1, x, y);
    if (!point || point->length() < 3) return false;
    jint t = point->data()[0] - slot->data()[1];
    IntArray* orbit = getOrbitPosition(t);
    jint ox = orbit && orbit->length() >= 2 ? orbit->data()[0] : 0;
    jint oy = orbit && orbit->length() >= 2 ? orbit->data()[1] : 0;
    x = cg().cameraX - point->data()[1] + slot->data()[2] + ox;
    y = cg().cameraY - point->data()[2] + slot->data()[8] + oy;
    jint angle = java::irem((t >> 8) + 3600, 360);
    return !(angle >= 91 && angle <= 269);
}

void logOnceForSubtype(cActor* a, const char* what) {
    BoolArray* marks = cg().subtypeLogged;
    jint row = subtypeRow(a->subtype);
    if (marks && row >= 0) {
        if (marks->data()[row]) return;
        marks->data()[row] = 1;
    }
    logPrintf("Actor subtype %d: %s", a->subtype, what);
}

constexpr jint kOverlayAnims[] = {0,  2,  3,  4,  5,  6,  11, 13, 14, 15, 30, 31, 32, 33, 34, 35, 36,
                                  38, 39, 40, 41, 42, 43, 55, 59, 60, 63, 65, 66, 67, 68, 69, 70};

}  // namespace

IntArray* game::findSlotForValue(jint v) {
    ObjectArray* segs = ca().segments;
    for (jint i = 0; segs && i < segs->length(); ++i) {
        auto* s = static_cast<IntArray*>(segs->data()[i]);
        if (s && s->length() >= 9 && s->data()[0] != 0 && s->data()[4] <= v && v <= s->data()[6]) return s;
    }
    IntArray* scratch = ca().segmentScratch;
    for (jint i = 0; i < scratch->length(); ++i) scratch->data()[i] = 0;
    return scratch;
}

void game::paintField(jint first, jint last) {
    for (jint layer = first; layer <= last; ++layer) {
        paintTileLayer(layer);
        paintEffectLayer(layer);
        paintLayerActors(layer);
    }
}

void game::paintTileLayer(jint layer) {
    ObjectArray* maps = cg().layerMaps;
    ObjectArray* sizes = cg().layerSizes;
    if (!maps || !sizes || !maps->inBounds(layer) || !sizes->inBounds(layer)) return;
    auto* map = static_cast<ShortArray*>(maps->data()[layer]);
    auto* size = static_cast<ShortArray*>(sizes->data()[layer]);
    if (!map || !size || size->length() < 2) return;
    jint width = size->data()[0], height = size->data()[1];
    if (width <= 0) {
        logPrintf("Tile layer %d has width %d, not painted", layer, width);
        return;
    }
    jint lx = game::world::getLayerX(layer);
    jint left = lx - 400, top = game::world::getLayerViewTop(layer, true);
    jint firstCol = left / kCell, lastCol = (lx + 399) / kCell, firstRow = top / kCell, lastRow = (top + 479) / kCell;
    Object* tiles = cg().levelSprites && cg().levelSprites->inBounds(layer) ? cg().levelSprites->data()[layer] : nullptr;
    IntArray* offsets = cg().regionCoverage;
    for (jint row = firstRow; row <= lastRow && row < height; ++row) {
        for (jint col = firstCol; col <= lastCol; ++col) {
            if (layer != 0 && layer != 1 && col >= width) break;
            jint index = row * width + java::irem(col, width);
            if (index < 0 || index >= map->length()) continue;
            if (layer == 3 && offsets && offsets->inBounds(row - firstRow) && col - firstCol < 32 &&
                (offsets->data()[row - firstRow] & (1 << (col - firstCol))))
                continue;
            jint cell = map->data()[index];
            if (cell == -1) continue;
            game::world::drawTileImage(gfx(), tiles && tiles->classId() == cid::BSprite ? static_cast<BSprite*>(tiles) : nullptr,
                                col * kCell - left, row * kCell - top, cell & 0x1FFF, cell & 0xC000);
        }
    }
}

void game::paintLayerActors(jint layer) {
    for (jint i = 0; i < cg().activeActorCount; ++i) {
        cActor* a = activeActor(i);
        if (a && (a->flags & 0x80) && (layer < 0 || a->layer == layer)) paintActor(a);
    }
}

void game::paintActor(cActor* a) {
    if (!a) return;
    if (a->sprite) a->sprite->setAlpha(a->fade);
    jint savedAnim = a->anim;
    jint x = a->posX, y = a->posY;
    bool painted = true;
    if ((a->flags & 0x4) || (a->flags & 0x2000)) painted = structurePlacement(a, x, y);
    if (painted) {
        if (a->type == 8) game::behaviour::paintType(8, a, 0, 0);
        switch (a->type) {
        case 28:
        case 76: game::behaviour::paintType(a->type, a, 0, 0); break;
        case 29: paintWrapped(a); break;
        case 13: {
            if (a->getTypeParam(6) == 0 && a->getTypeParam(7) == 0 && a->sprite) {
                IntArray* r = ca().frameRect;
                a->sprite->getAFrameRect(r, a->anim, a->frame, 0, 0, 0);
                a->setTypeParam(6, r->data()[2] - r->data()[0]);
                a->setTypeParam(7, r->data()[3] - r->data()[1]);
            }
            jint step = a->getParam(0), num = a->getParam(1), den = a->getParam(2);
            if (step <= 0 || den == 0) {
                logOnceForSubtype(a, "repeat step or divisor 0, nothing painted");
                break;
            }
            jint half = a->getTypeParam(6) >> 1;
            jint x0 = java::irem(x - java::idiv(java::imul(num, cg().cameraX - 400), den), step);
            jint vy = y - cg().cameraY + 240;
            // Copies at sx = x0, x0 + step, ... below half + 800 from -half on;
            // only those whose drawing can meet the view are painted.
            if (!a->sprite) break;
            const Extent e = layoutExtent(a, layoutOf(a, a->paintFlags), a->paintFlags);
            if (e.empty() || vy + e.maxY < 0 || vy + e.minY > kViewHeight - 1) break;
            const int64_t from = std::max<int64_t>(-int64_t{half}, -e.maxX);
            const int64_t to = std::min<int64_t>(int64_t{half} + 799, kViewWidth - 1 - e.minX);
            for (int64_t k = std::max<int64_t>(0, ceilDiv(from - x0, step)), sx = x0 + k * step; sx <= to; sx += step)
                paintSprite(a, static_cast<jint>(sx), vy, a->paintFlags);
            break;
        }
        default: {
            if (a->viewRating >= 1 || !(a->flags & 0x80)) break;
            if (!a->sprite || a->type == 52 || a->type == 31 || a->type == 30) {
                if (a->sprite && (a->type == 52 || a->type == 31)) game::behaviour::paintType(a->type, a, 0, 0);
                painted = false;
                break;
            }
            if (a->flags & 0x800) cActor::moveBy(a, java::ishl(cg().cameraOffsetX, 8), 0);
            jint vx = x, vy = y;
            if (!(a->flags & 0x400)) {
                vx = x - game::world::getLayerX(a->layer) + 400;
                vy = y - game::world::getLayerY(a->layer) + 240;
            }
            if (a->flags & 0x100000) vy += cg().shakeOffset;
            if (a->flags & 0x40000) {
                // Rated on x alone, drawn half its current frame lower (x kept).
                IntArray* r = ca().frameRect;
                a->sprite->getAFrameRect(r, a->anim, a->frame, 0, 0, 0);
                if (r->data()[3] >= r->data()[1]) vy = java::iadd(vy, java::isub(r->data()[3], r->data()[1]) / 2);
            }
            jint c4 = a->getTypeParam(4);
            jint p = a->palette < 0 ? (c4 & 255) : a->palette;
            if (p != -1) a->sprite->setPalette(p);
            // Constant 4's second byte would be the sprite's second palette;
            // our sprite engine keeps one palette, so it has nowhere to go.
            if (a->type == 4 || a->type == 61 || a->type == 75 || a->type == 78) {
                game::behaviour::paintType(a->type, a, vx - a->posX, vy - a->posY);
            } else {
                paintSprite(a, vx, vy, a->paintFlags);
            }
            if (a == cg().hero && ca().heroState == 37 && gfx()) {
                Graphics* g = gfx();
                jint r = ca().ringRadius >> 8;
                jint start = java::irem(java::imul(cg().playFrames, 2000) >> 8, 360);
                for (int k = 0; k < 5; ++k) {
                    g->setColor(0xFF0000);
                    g->drawArc(vx - r, vy - r - 99, 2 * r - 1, 2 * r - 1, start, 27);
                    g->setColor((cg().playFrames & 1) == 0 ? 0xFFFF00 : 0x00FF00);
                    g->drawArc(vx - r, vy - r - 99, 2 * r - 1, 2 * r - 1, start + 27, 45);
                    start += 72;
                }
            }
            break;
        }
        }
        if (painted && a->sprite && a->sprite == getSpriteById(3, 20)) {
            bool overlay = false;
            for (jint k : kOverlayAnims) overlay |= a->anim == k;
            if (overlay) {
                jint ox = a->posX - cg().cameraX + 400, oy = a->posY - cg().cameraY + 240;
                jint t = 0;
                ObjectArray* table = cg().stateTable;
                if (table && table->inBounds(cg().gameState))
                    if (auto* row = static_cast<IntArray*>(table->data()[cg().gameState]); row && row->length() > 0)
                        t = row->data()[0];
                drawAnimFrame(getSpriteByNumber(111), 0, t, ox, oy, 0);
                if (ox >= 1 && ox <= 799 && oy >= 1 && oy <= 479 && a->auxFlag4) {
                    playSound(17);
                    a->auxFlag4 = 0;
                }
            }
        }
    }
    a->anim = savedAnim;
}

void game::paintSprite(cActor* a, jint x, jint y, jint flags) {
    if (!a || !a->sprite) return;
    const Layout l = layoutOf(a, flags);
    if (l.stripValue) ca().stripValue = a->getParamOr(2);
    drawLayout(a, l, x, y, flags);
}

void game::paintWrapped(cActor* a) {
    if (a->posX == 0) {
        logOnceForSubtype(a, "repeat period 0, nothing painted");
        return;
    }
    jint r = java::irem(cg().mapPixelWidth - game::world::getLayerX(0) - 400, a->posX);
    jint vy = a->posY - game::world::getLayerY(0);
    paintSprite(a, r, vy, 0);
    paintSprite(a, r - a->posX, vy, 0);
}

void game::paintRelativeToCamera(cActor* a, bool relative) {
    if (!a || !a->sprite) return;
    jint x = a->posX, y = a->posY;
    if (relative) {
        if ((a->flags & 0x2000) && !structurePlacement(a, x, y)) return;
        x = x - game::world::getLayerX(a->layer) + 400;
        y = y - game::world::getLayerY(a->layer) + 240;
    }
    if (a->flags & 0x100000) y += cg().shakeOffset;
    paintSprite(a, x, y, a->paintFlags);
}

void game::paintEffectLayer(jint layer) {
    for (jint i = 0; i < ca().effectCount; ++i) {
        auto* e = static_cast<cActor*>(ca().effectPool->data()[i]);
        if (e && e->layer == layer) paintPooledEffect(e);
    }
}

void game::paintPooledEffect(cActor* e) {
    if (!e || (e->flags & 0x40)) return;
    e->paintFlags = (e->paintFlags & ~1) | (e->facing ? 1 : 0);
    if (e->isAnimDone() && (e->paintFlags & 0x2000)) return;
    Graphics* g = gfx();
    bool clip = (e->paintFlags & 0x40000) && g && e->sprite;
    if (clip) {
        IntArray* r = ca().frameRect;
        e->sprite->getAFrameRect(r, e->anim, e->frame, 0, 0, 0);
        if (r->data()[2] < r->data()[0] || r->data()[3] < r->data()[1]) {
            // An empty frame measures as an inverted box: nothing shows.
            g->setClip(0, 0, 0, 0);
        } else {
            const jint w = java::isub(r->data()[2], r->data()[0]), h = java::isub(r->data()[3], r->data()[1]);
            // The frame's own box around the position (mirrored with the
            // effect), as the view box (x, y, w, h) on the portrait canvas.
            // For a frame standing on its bottom centre this is (x - w / 2,
            // y - h); a box assumed there would hide every frame drawn away
            // from its anchor (the panel's portrait stands at view (0, 0)).
            const jint bx = java::iadd(e->posX, (e->paintFlags & 1) ? java::ineg(r->data()[2]) : r->data()[0]);
            const jint by = java::iadd(e->posY, r->data()[1]);
            g->setClip(java::isub(java::isub(480, by), h), bx, h, java::iadd(w, 1));
        }
    }
    bool relative = !(e->paintFlags & 0x20000) && !(e->flags & 0x400);
    if (e->flags & 0x800) cActor::moveBy(e, java::ishl(cg().cameraOffsetX, 8), 0);
    if (e->sprite) {
        e->sprite->setPalette(e->palette);
        paintRelativeToCamera(e, relative);
    }
    if (clip) g->setClip(0, 0, 480, 800);
}

void game::paintEffect(cActor* a, bool relative) {
    if (!a || (a->flags & 0x40)) return;
    a->paintFlags = (a->paintFlags & ~1) | (a->facing ? 1 : 0);
    if (a->sprite) a->sprite->setPalette(a->palette);
    paintRelativeToCamera(a, relative);
    if (!(a->isAnimDone() && (a->paintFlags & 0x2000))) paintRelativeToCamera(a, relative);
}

void game::updateEffectPool() {
    for (jint i = 0; i < ca().effectCount; ++i) cActor::updateEffect(static_cast<cActor*>(ca().effectPool->data()[i]));
}

void game::resetEffectPool() {
    for (jint i = 0; i < ca().effectCount; ++i) {
        auto* e = static_cast<cActor*>(ca().effectPool->data()[i]);
        if (!e) continue;
        e->deactivate();
        e->flags &= ~0x1000;
    }
}

cActor* game::spawnEffectAt(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint paintFlags, jint contactFlags) {
    cActor* e = cActor::spawnEffect(sprite, anim, x, y, layer, paintFlags);
    e->contactFlags = contactFlags;
    return e;
}

cActor* game::spawnScreenEffect(jint x, jint y, jint lifetime, bool inView) {
    BSprite* sprite = getSpriteById(10, 18);
    if (!sprite) return nullptr;
    IntArray* r = ca().frameRect;
    sprite->getAFrameRect(r, 0, 0, 0, 0, 0);
    // An empty frame measures inverted: it stands 0 px high.
    const jint h = r->data()[3] >= r->data()[1] ? java::isub(r->data()[3], r->data()[1]) : 0;
    jint vy = java::iadd(java::iadd(y, h), 5);
    jint vx = x;
    if (inView) vx = java::iadd(java::isub(x, cg().cameraX), 400);
    else vy = java::isub(java::iadd(cg().cameraY, vy), 240);
    cActor* e = spawnEffectAt(sprite, 0, vx, vy, 12, 0, 0);
    if (inView) e->flags |= 0x400;
    e->timer = lifetime;
    return e;
}

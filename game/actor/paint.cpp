// Painting the play field (see paint.h).
#include "game/actor/paint.h"

#include "game/actor/defaults.h"
#include "game/actor/levels.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/actor/pool.h"
#include "game/data/hooks.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screen.h"
#include "game/sprite/sprite.h"
#include "display/lcdui/graphics.h"
#include "runtime/log.h"

using namespace game;

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

constexpr jint kCell = 36;

Graphics* gfx() { return fl().graphics; }

void draw(cActor* a, jint anim, jint frame, jint x, jint y, jint flags) {
    drawSpriteFrame(a->sprite, anim, frame, x, y, flags, a->scale, a->angle);
}

// A strip of n segments from (x, y) in steps (dx, dy): the first and last
// segments may take other animations (a one-segment strip takes the first).
void strip(cActor* a, jint n, jint x, jint y, jint dx, jint dy, jint flags, bool firstCap, jint firstAnim,
           bool lastCap, jint lastAnim) {
    for (jint i = 0; i < n; ++i) {
        jint anim = a->anim;
        if (i == 0 && firstCap) anim = firstAnim;
        else if (i == n - 1 && lastCap) anim = lastAnim;
        draw(a, anim, a->frame, x + dx * i, y + dy * i, flags);
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
    IntArray* point = behaviourHooks().pointOnSegment(-1, x, y);
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
    BoolArray* marks = stores().subtypeLogged;
    jint row = subtypeRow(a->subtype);
    if (marks && row >= 0) {
        if (marks->data()[row]) return;
        marks->data()[row] = 1;
    }
    logPrintf("Actor subtype %d: %s, nothing painted", a->subtype, what);
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
    WorldHooks& world = worldHooks();
    jint lx = world.getLayerX(layer);
    jint left = lx - 400, top = world.getLayerViewTop(layer, true);
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
            world.drawTileImage(gfx(), tiles && tiles->classId() == cid::BSprite ? static_cast<BSprite*>(tiles) : nullptr,
                                col * kCell - left, row * kCell - top, cell & 0x1FFF, cell & 0xC000);
        }
    }
}

void game::paintLayerActors(jint layer) {
    for (jint i = 0; i < stores().activeActorCount; ++i) {
        cActor* a = activeActor(i);
        if (a && (a->flags & 0x80) && (layer < 0 || a->layer == layer)) paintActor(a);
    }
}

void game::paintActor(cActor* a) {
    if (!a) return;
    if (a->sprite) a->sprite->setAlpha(a->alpha);
    jint savedAnim = a->anim;
    jint x = a->posX, y = a->posY;
    BehaviourHooks& behaviours = behaviourHooks();
    bool painted = true;
    if ((a->flags & 0x4) || (a->flags & 0x2000)) painted = structurePlacement(a, x, y);
    if (painted) {
        if (a->type == 8) behaviours.paintType(8, a, 0, 0);
        switch (a->type) {
        case 28:
        case 76: behaviours.paintType(a->type, a, 0, 0); break;
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
                logOnceForSubtype(a, "repeat step or divisor 0");
                break;
            }
            jint half = a->getTypeParam(6) >> 1;
            jint x0 = java::irem(x - java::idiv(java::imul(num, cg().cameraX - 400), den), step);
            jint vy = y - cg().cameraY + 240;
            for (jint sx = x0; sx < half + 800; sx += step)
                if (sx + half >= 0) paintSprite(a, sx, vy, a->paintFlags);
            break;
        }
        default: {
            if (a->viewRating >= 1 || !(a->flags & 0x80)) break;
            if (!a->sprite || a->type == 52 || a->type == 31 || a->type == 30) {
                if (a->sprite && (a->type == 52 || a->type == 31)) behaviours.paintType(a->type, a, 0, 0);
                painted = false;
                break;
            }
            if (a->flags & 0x800) cActor::moveBy(a, java::ishl(cg().cameraOffsetX, 8), 0);
            jint vx = x, vy = y;
            if (!(a->flags & 0x400)) {
                vx = x - worldHooks().getLayerX(a->layer) + 400;
                vy = y - worldHooks().getLayerY(a->layer) + 240;
            }
            if (a->flags & 0x100000) vy += cg().shakeOffset;
            jint c4 = a->getTypeParam(4);
            jint p = a->palette < 0 ? (c4 & 255) : a->palette;
            if (p != -1) a->sprite->setPalette(p);
            if (a->type == 4 || a->type == 61 || a->type == 75 || a->type == 78) {
                behaviours.paintType(a->type, a, vx - a->posX, vy - a->posY);
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
    bool mirrored = flags & 1;
    jint p1 = a->getParamOr(1), anim = a->anim;
    if (a->sprite == getSpriteById(4, 18) && anim == 1) {
        draw(a, 1, a->frame, x, y, flags);
    } else if (a->sprite == getSpriteById(28, 18)) {
        ca().stripValue = a->getParamOr(2);
        strip(a, a->getParamOr(0), x, y, 0, kCell, flags, p1 & 2, anim + 1, (p1 & 6) == 6, anim - 1);
    } else if (a->subtype == 182 || a->subtype == 183) {
        if (a->getParamOr(3) == 0)
            strip(a, a->getParamOr(0), x, y, kCell, 0, flags, p1 & 4, anim + 1, (p1 & 5) == 5, anim - 1);
        else
            strip(a, a->getParamOr(2), x, y, 0, kCell, flags, p1 & 2, anim + 1, (p1 & 6) == 6, anim - 1);
    } else if (a->subtype == 134) {
        jint w = a->getTypeParam(6), h = a->getTypeParam(7);
        for (jint c = 0; c < a->getParamOr(0); ++c)
            for (jint r = 0; r < a->getParamOr(1); ++r) draw(a, anim, a->frame, x + c * w, y + r * h, flags);
    } else if (a->subtype == 175) {
        strip(a, a->getParamOr(0), x, y, kCell, 0, flags, p1 & 4, mirrored ? anim - 1 : anim + 1, (p1 & 5) == 5,
              mirrored ? anim + 1 : anim - 1);
    } else if (a->subtype == 57) {
        jint p3 = a->getParamOr(3);
        strip(a, a->getParamOr(2), x, y, kCell, 0, flags, p3 & 4, mirrored ? anim + 4 : anim - 4, (p3 & 5) == 5,
              mirrored ? anim - 4 : anim + 4);
    } else if (a->subtype == 83 || a->subtype == 84) {
        draw(a, -1, anim, x, y, flags);
    } else {
        draw(a, anim, a->frame, x, y, flags);
    }
}

void game::paintWrapped(cActor* a) {
    if (a->posX == 0) {
        logOnceForSubtype(a, "repeat period 0");
        return;
    }
    jint r = java::irem(cg().mapPixelWidth - worldHooks().getLayerX(0) - 400, a->posX);
    jint vy = a->posY - worldHooks().getLayerY(0);
    paintSprite(a, r, vy, 0);
    paintSprite(a, r - a->posX, vy, 0);
}

void game::paintRelativeToCamera(cActor* a, bool relative) {
    if (!a || !a->sprite) return;
    jint x = a->posX, y = a->posY;
    if (relative) {
        if ((a->flags & 0x2000) && !structurePlacement(a, x, y)) return;
        x = x - worldHooks().getLayerX(a->layer) + 400;
        y = y - worldHooks().getLayerY(a->layer) + 240;
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

cActor* game::spawnEffectAt(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint paintFlags, jint hitFlags) {
    cActor* e = cActor::spawnEffect(sprite, anim, x, y, layer, paintFlags);
    e->hitFlags = hitFlags;
    return e;
}

void ActorWorldDefaults::drawTileImage(Graphics*, BSprite* tileSet, jint x, jint y, jint tile, jint transform) {
    BSprite* s = tileSet;
    if (!s || tile < 0 || tile >= s->getFrameCount()) return;
    jint flags = ((transform & 0x4000) ? 1 : 0) | ((transform & 0x8000) ? 2 : 0);
    drawSpriteFrame(s, -1, tile, x, y, flags, 100, 0);
}

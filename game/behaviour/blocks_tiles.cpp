// Tile-block actors (type 4): layout over equal cells, the collision stamp,
// the per-cell bytes, gone cells remembered across streaming in the
// tracked list, the hero's cell tests, the block paint and the per-frame
// settle and chain routine.
//
// Invariants: a block's cell array exists only after a set-up that
// accepted its sizes (cell width and height >= 1, at most kMaxBlockCells
// cells); cell numbering for the tracked masks counts column by column in
// a plain int, so only cells 0..31 ever own a bit, however many cells the
// block has; the tracked list never grows past its arrays.
#include <algorithm>

#include "game/actor/actor.h"
#include "game/actor/levels.h"
#include "game/actor/paint.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "game/world/map.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace blk;

namespace {

ObjectArray* cellColumns(cActor* a) {
    if (!a || !a->tileBlock) return nullptr;
    return static_cast<ObjectArray*>(a->tileBlock);
}

ByteArray* cellColumn(cActor* a, jint c) {
    ObjectArray* cols = cellColumns(a);
    if (!cols || c < 0 || c >= cols->length()) return nullptr;
    return static_cast<ByteArray*>(cols->data()[c]);
}

void logBlockOnce(cActor* a, const char* what) {
    // One line per block actor and fault: the unique id marks it.
    static jint lastId = -1;
    static const char* lastWhat = nullptr;
    if (a && (a->uniqueId != lastId || what != lastWhat)) {
        lastId = a->uniqueId;
        lastWhat = what;
        logPrintf("Tile block %d (subtype %d): %s", a->uniqueId, a->subtype, what);
    }
}

}  // namespace

// --- cell access -----------------------------------------------------------

jint tileBlockColumns(cActor* a) {
    ObjectArray* cols = cellColumns(a);
    return cols ? cols->length() : 0;
}

jint tileBlockRows(cActor* a) {
    ByteArray* c = cellColumn(a, 0);
    return c ? c->length() : 0;
}

jint tileBlockCell(cActor* a, jint column, jint row) {
    ByteArray* c = cellColumn(a, column);
    if (!c || row < 0 || row >= c->length()) return kNoCell;
    return c->data()[row];
}

void setTileBlockCell(cActor* a, jint column, jint row, jint value) {
    ByteArray* c = cellColumn(a, column);
    if (c && row >= 0 && row < c->length()) c->data()[row] = java::i2b(value);
}

// --- layout and collision stamp ---------------------------------------------

void stampCollisionTiles(cActor* a, jint place) {
    if (!a || !hasBox(a)) return;
    const jint w = typeParam(a, 6), h = typeParam(a, 7);
    const jint cols = param(a, 3), rows = std::max<jint>(param(a, 4), 0);
    if (w < 1 || h < 1) {
        logBlockOnce(a, "cell size not positive, block refused");
        a->tileBlock = nullptr;
        return;
    }
    // The body box is short[4]: a block wider or taller than that range cannot be laid out.
    if (static_cast<int64_t>(w) * std::max<jint>(cols, 1) > 0x7FFF || static_cast<int64_t>(h) * std::max<jint>(rows, 1) > 0x7FFF) {
        logBlockOnce(a, "too large for its box, block refused");
        a->tileBlock = nullptr;
        return;
    }
    if (cols > 0 && static_cast<int64_t>(cols) * rows > kMaxBlockCells) {
        logBlockOnce(a, "too many cells, block refused");
        a->tileBlock = nullptr;
        return;
    }
    const jint halfWidth = java::ishr(java::imul(w, cols), 1);
    if (place) {
        // Entry position: the bottom centre of the top-left cell.
        a->posX = java::isub(java::iadd(a->posX, halfWidth), java::ishr(w, 1));
        a->posY = java::iadd(java::isub(a->posY, h), java::imul(h, rows));
        cActor::setBox(a->box, java::isub(a->posX, halfWidth), java::isub(a->posY, java::imul(h, rows)),
                       java::iadd(a->posX, halfWidth), a->posY);
        if (a->motion) {
            a->motion->data()[4] = java::ishl(a->posX, 8);
            a->motion->data()[5] = java::ishl(a->posY, 8);
        }
        if (param(a, 0) != 0) world::fillTileRect(4, a->uniqueId | 0x2000, a->box);
        if (cols < 1) {
            a->tileBlock = newObjectArray(cid::ByteArray, 0);
        } else {
            ObjectArray* grid = newObjectArray(cid::ByteArray, cols);
            a->tileBlock = grid;
            for (jint c = 0; c < cols; ++c) {
                ByteArray* column = newByteArray(rows);
                for (jint r = 0; r < rows; ++r) column->data()[r] = -1;
                static_cast<ObjectArray*>(a->tileBlock)->data()[c] = column;
            }
        }
        // Items of the chain that starts at params[5] hide in the cells under them.
        if (len(a->params) > 5 && param(a, 5) > 0) fillItemGrid(a, static_cast<ObjectArray*>(a->tileBlock));
        addTrackedValue(a->uniqueId);
    } else {
        world::fillTileRect(4, -1, a->box);
    }
}

// --- the tracked list ----------------------------------------------------------

jint findTrackedIndex(jint id) {
    ShortArray* ids = ca().trackedIds;
    if (!ids) return -1;
    const jint n = std::min(ca().trackedCount, ids->length());
    for (jint i = 0; i < n; ++i)
        if (ids->data()[i] == java::i2s(id)) return i;
    return -1;
}

jint addTrackedValue(jint id) {
    jint i = findTrackedIndex(id);
    if (i >= 0) return i;
    if (!ca().trackedIds || !ca().trackedCellMasks) initTrackedLists();  // it also zeroes the count
    ShortArray* ids = ca().trackedIds;
    IntArray* masks = ca().trackedCellMasks;
    const jint cap = std::min(ids->length(), masks->length());
    if (ca().trackedCount < 0) ca().trackedCount = 0;
    if (ca().trackedCount >= cap) {
        if (!blks().trackedFullLogged) {
            blks().trackedFullLogged = true;
            logPrintf("Tile blocks: tracked list full (%d), block %d not tracked", cap, id);
        }
        return -1;
    }
    i = ca().trackedCount;
    ids->data()[i] = java::i2s(id);
    masks->data()[i] = 0;
    ca().trackedCount = i + 1;
    return i;
}

void saveTrackedCells(cActor* a) {
    if (!a) return;
    const jint i = findTrackedIndex(a->uniqueId);
    if (i < 0 || !ca().trackedCellMasks || i >= ca().trackedCellMasks->length()) return;
    jint mask = 0, k = 0;
    const jint cols = tileBlockColumns(a);
    for (jint c = 0; c < cols && k < 32; ++c) {
        ByteArray* column = cellColumn(a, c);
        const jint rows = column ? column->length() : 0;
        for (jint r = 0; r < rows && k < 32; ++r, ++k) {
            const jint v = column->data()[r];
            if (v == kCellStruck || v == kCellGone) mask |= java::ishl(1, k);
        }
    }
    ca().trackedCellMasks->data()[i] = mask;
}

void restoreTrackedCells(cActor* a) {
    if (!a) return;
    const jint i = findTrackedIndex(a->uniqueId);
    if (i < 0 || !ca().trackedCellMasks || i >= ca().trackedCellMasks->length()) return;
    const jint mask = ca().trackedCellMasks->data()[i];
    jint k = 0;
    const jint cols = tileBlockColumns(a);
    for (jint c = 0; c < cols && k < 32; ++c) {
        const jint rows = cellColumn(a, c) ? cellColumn(a, c)->length() : 0;
        for (jint r = 0; r < rows && k < 32; ++r, ++k) {
            if (!(mask & java::ishl(1, k))) continue;
            setTileBlockCell(a, c, r, kCellGone);
            replaceBlockCell(a, c, r);
        }
    }
}

void replaceBlockCell(cActor* a, jint column, jint row) {
    if (!hasBox(a)) return;
    const jint w = typeParam(a, 6), h = typeParam(a, 7);
    const jint l = boxAt(a, 0) + java::imul(w, column), t = boxAt(a, 1) + java::imul(h, row);
    world::fillTileRect(4, typeParam(a, 12), l, t, l + w, t + h);
}

// --- tests on the hero ------------------------------------------------------------

bool isStandingOn(ShortArray* a, ShortArray* b) {
    if (len(a) < 4 || len(b) < 4) return false;
    return cActor::rectsIntersect(a, b) && a->data()[3] <= b->data()[1];
}

bool isHeroBelowBlockCell(cActor* block, jint column, jint row) {
    cActor* h = hero();
    if (!hasBox(block) || !hasBox(h)) return false;
    ShortArray*& cell = scratchBox();
    ShortArray*& moved = scratchBox2();
    if (len(cell) < 4) cell = newShortArray(4);
    if (len(moved) < 4) moved = newShortArray(4);
    const jint w = typeParam(block, 6), hh = typeParam(block, 7);
    const jint l = boxAt(block, 0) + java::imul(w, column), t = boxAt(block, 1) + java::imul(hh, row);
    cActor::setBox(cell, l, t, l + w, t + hh);
    const jint vy = motionAt(h, 3);
    if (cActor::isBelowOverlapping(h->box, cell) && vy < 0) return true;
    const jint dx = java::ishr(motionAt(h, 2), 8);
    cActor::setBox(moved, boxAt(h, 0) + dx, boxAt(h, 1), boxAt(h, 2) + dx, boxAt(h, 3));
    return cActor::isBelowOverlapping(moved, cell) && vy < 0;
}

bool heroMayTouchBlock() { return isHeroHittable() || heroState() == 38; }

bool isBoxUnderHeroSweep(ShortArray* box) {
    cActor* h = hero();
    ShortArray* swept = sweptBox();
    if (!h || len(box) < 4 || len(swept) < 4) return false;
    return cActor::rectsIntersect(box, swept) && h->posY <= box->data()[1];
}

// --- paint ----------------------------------------------------------------------

void paintType4(cActor* a, jint dx, jint dy) {
    if (!hasBox(a) || !a->sprite || !a->tileBlock) return;
    const jint w = typeParam(a, 6), h = typeParam(a, 7);
    if (w < 1 || h < 1) return;
    ShortArray* box = a->box;
    box->data()[0] = java::i2s(box->data()[0] + dx);
    box->data()[1] = java::i2s(box->data()[1] + dy);
    const jint savedAnim = a->anim, savedFrame = a->frame;
    const jint st = a->subtype;

    const jint viewLeft = game::world::getLayerX(3) - 400;
    jint viewTop = game::world::getLayerY(3) - 240 - quakeOffset();
    viewTop = std::max<jint>(0, std::min<jint>(viewTop, cg().mapPixelHeight - 480));

    jint cols = tileBlockColumns(a);
    const jint rows = tileBlockRows(a);
    jint firstCol = 0, firstRow = 0;
    jint d = box->data()[0] - viewLeft;
    if (d < 0) {
        firstCol = -java::idiv(d, w);
        d = java::irem(d, w);
    }
    const jint right = box->data()[2] - viewLeft;
    if (right > 800) cols -= java::idiv(right - 800, w);
    jint e = box->data()[1] - viewTop;
    const bool strip = st == 82 || st == 151;
    if (e < 0 && !strip) {
        firstRow = -java::idiv(e, h);
        e = java::irem(e, h);
    }
    const jint topAnim = len(a->params) > 6 ? param(a, 6) : -1;
    const jint lastRow = strip && st == 82 ? std::min<jint>(rows, 1) : rows;
    const jint frameCount = std::max<jint>(1, a->sprite->getAFrameCount(topAnim != -1 ? topAnim : savedAnim));
    jint waveFrame = savedFrame;
    ShortArray*& cellBox = scratchBox();
    if (len(cellBox) < 4) cellBox = newShortArray(4);
    cActor* hr = hero();

    for (jint c = firstCol; c < cols; ++c) {
        const jint sx = d + java::ishr(w, 1) + java::imul(w, c - firstCol);
        for (jint r = firstRow; r < lastRow; ++r) {
            const jint v = tileBlockCell(a, c, r);
            if (v == kNoCell || v < kCellIntact) continue;
            const jint sy = e + h + java::imul(h, r - firstRow);
            jint anim = r == 0 && topAnim != -1 ? topAnim : savedAnim;
            if (st == 82) {
                cActor::setBox(cellBox, box->data()[0] + java::imul(w, c), box->data()[1],
                               box->data()[0] + java::imul(w, c) + w, box->data()[3]);
                if (hasBox(hr) && isStandingOn(hr->box, cellBox)) {
                    a->setAnim(2);
                    a->frame = 0;
                    paintSprite(a, sx, sy, a->paintFlags);
                    continue;
                }
                a->setAnim(anim);
                a->frame = waveFrame;
            } else {
                a->setAnim(anim);
            }
            paintSprite(a, sx, sy, a->paintFlags);
        }
        if (st == 82) waveFrame = java::irem(waveFrame + 3, frameCount);
    }
    if (st == 151 && rows > 0) {
        const jint allCols = tileBlockColumns(a);
        auto present = [&](jint c) {
            const jint v = tileBlockCell(a, c, 0);
            return v != kNoCell && v >= kCellIntact;
        };
        for (jint c = firstCol; c < cols; ++c) {
            const jint v = tileBlockCell(a, c, 0);
            if (v == kNoCell || v >= kCellIntact) continue;
            const jint sx = d + java::ishr(w, 1) + java::imul(w, c - firstCol);
            const jint sy = e + h;
            if (c == 0 || present(c - 1)) {
                a->setAnim(5);
                paintSprite(a, sx, sy, a->paintFlags);
            }
            if (c == allCols - 1 || present(c + 1)) {
                a->setAnim(6);
                paintSprite(a, sx, sy, a->paintFlags);
            }
        }
    }
    a->setAnim(savedAnim);
    if (st == 82) a->frame = savedFrame;
    box->data()[0] = java::i2s(box->data()[0] - dx);
    box->data()[1] = java::i2s(box->data()[1] - dy);
}

}  // namespace game::behaviour

// Visibility against the view, respawn and timed state, and the level
// tables of rectangles, items and links that special level objects fill.
//
// Invariants: the counts never pass the tables' sizes (32 rectangles, 64
// items, 256 links; extra rows are refused with a log line); the item
// grid is written only inside its columns; chain walks end.
#include "game/actor/levels.h"

#include "game/actor/paint.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "runtime/log.h"

#include <cstdlib>

using namespace game;


namespace {

constexpr jint kMaxRects = 32, kMaxItems = 64, kMaxLinks = 256;

// The next free row of a level table, or -1 (logged) when it is full.
jint claimRow(jint count, jint max, const char* what, jint id) {
    if (count < max) return count;
    logPrintf("Level %s %d refused: table full (%d)", what, id, max);
    return -1;
}

// The box moved so that its bottom centre lies on the moving structure under
// it, in a scratch box re-zeroed for each call (read only by the caller);
// null when the structure gives no point.
ShortArray* boxOnStructure(cActor* a, ShortArray* box) {
    const jshort* b = box->data();
    jint cx = (b[0] + b[2]) / 2, bottom = b[3];
    IntArray* slot = findSlotForValue(cx);
    jint tx, ty;
    if (a->flags & 0x4) {
        tx = slot->data()[2] + cg().cameraX;
        ty = slot->data()[3] + cg().cameraY;
    } else {
        IntArray* point = game::behaviour::pointOnSegment(-1, cx, bottom);
        if (!point || point->length() < 3) return nullptr;
        IntArray* orbit = getOrbitPosition(point->data()[0] - slot->data()[1]);
        jint ox = orbit && orbit->length() >= 2 ? orbit->data()[0] : 0;
        jint oy = orbit && orbit->length() >= 2 ? orbit->data()[1] : 0;
        tx = cg().cameraX - point->data()[1] + slot->data()[2] + ox;
        ty = cg().cameraY - point->data()[2] + slot->data()[8] + oy;
    }
    ShortArray* moved = ca().screenBoxScratch;
    jint dx = tx - cx, dy = ty - bottom;
    cActor::setBox(moved, b[0] + dx, b[1] + dy, b[2] + dx, b[3] + dy);
    return moved;
}

}  // namespace

void cActor::updateScreenBox(cActor* a) {
    if (!a || !a->box) return;
    const jshort* b = a->box->data();
    if (a->flags & 0x400) {
        jint half = (b[2] - b[0]) >> 1;
        bool near = a->posX + half >= 1 && a->posX - half <= 799 && a->posY >= 1 && a->posY - (b[3] - b[1]) <= 479;
        a->viewRating = near ? 0 : 3;
        return;
    }
    ShortArray* tested = a->type == 6 && a->attackBox ? a->attackBox : a->box;
    // Only an actor placed on a structure (0x2000) is rated where the
    // structure carries it; 0x4 picks the structure's fixed offset.
    if (a->flags & 0x2000) tested = boxOnStructure(a, tested);
    if (!tested) {
        a->viewRating = 3;
        return;
    }
    b = tested->data();
    jint l = b[0], t = b[1], r = b[2], bt = b[3];
    jint halfW = (r - l) >> 1, halfH = (bt - t) >> 1;
    jint ex = std::abs(game::world::getLayerX(a->layer) - (l + halfW));
    jint ey = std::abs(game::world::getLayerY(a->layer) - t - halfH);
    bool near = ex < halfW + 800 && ((a->flags & 0x40000) || ey < halfH + 480);
    a->viewRating = near ? 0 : 3;
}

jint cActor::isRecordInView(jint subtype, ShortArray* box, jint flags, jint layer) {
    const jshort* b = box->data();
    jint halfW = (b[2] - b[0]) >> 1, h = b[3] - b[1];
    jint cx = b[0] + halfW, cy = b[1] + (h >> 1);
    jint ex = std::abs(game::world::getLayerX(layer) - cx) - halfW;
    jint ey = std::abs(game::world::getLayerY(layer) - cy) - (h >> 1);
    jint rx = getSubtypeParam(subtype, 0), ry = getSubtypeParam(subtype, 1);
    bool ignoreY = (flags & 0x40000) != 0;
    if (ex >= rx + 800 || (!ignoreY && ey >= ry + 480)) return 3;
    bool far = ex >= rx || (!ignoreY && ey >= ry);
    if (ex < 800 && (ignoreY || ey < 480)) return 0;
    return far ? 2 : 1;
}

void cActor::updateRespawn(cActor* a) {
    if (!a || !a->respawnRecord) return;
    jint* r = a->respawnRecord->data();
    if (r[0] < 0) return;
    r[0] -= 1;
    if (r[0] >= 1) return;
    jint w = getWidth(a), h = getHeight(a);
    if (std::abs(cg().cameraX - r[1]) <= w / 2 + 400 && std::abs(cg().cameraY - r[2]) <= h / 2 + 480 &&
        a->subtype != 208) {
        r[0] += 1;
        return;
    }
    game::behaviour::respawn(a);
}

void cActor::updateStateTimer(cActor* a) {
    if (!a || a->type == 6 || a->aiState != 8) return;
    a->timer -= 1;
    if (a->timer < 1) a->aiState = a->nextState;
}

bool game::isHeroDead(IntArray* heroStatus) { return heroStatus && heroStatus->length() > 3 && heroStatus->data()[3] < 1; }

jint game::addLevelRect(jint a, jint b, jint c, jint d, jint id) {
    cActorStatics& s = ca();
    jint n = claimRow(s.rectCount, kMaxRects, "rectangle", id);
    if (n < 0) return -1;
    jshort* row = s.rects->data() + n * 4;
    row[0] = java::i2s(a);
    row[1] = java::i2s(b);
    row[2] = java::i2s(c);
    row[3] = java::i2s(d);
    s.rectIds->data()[n] = id;
    s.rectCount = n + 1;
    return n;
}

jint game::addLevelItem(const jint values[9], jint id) {
    cActorStatics& s = ca();
    jint n = claimRow(s.itemCount, kMaxItems, "item", id);
    if (n < 0) return -1;
    jshort* row = s.items->data() + n * 9;
    for (jint i = 0; i < 9; ++i) row[i] = java::i2s(values[i]);
    s.itemIds->data()[n] = id;
    s.itemCount = n + 1;
    jint kind = values[3], sub = values[4];
    if (kind == 2) {
        if (sub == 8) cg().itemsTotal += 10;
        else if (sub == 4) s.item4Id = values[5];
        else cg().itemsTotal += 1;
    } else if (kind == 6) {
        cg().specialsTotal += 1;
    } else if (kind == 19) {
        cg().secretsTotal += 1;
    }
    return n;
}

jint game::addLevelLink(const jint values[5], jint id) {
    cActorStatics& s = ca();
    jint n = claimRow(s.linkCount, kMaxLinks, "link", id);
    if (n < 0) return -1;
    jint* row = s.links->data() + n * 5;
    for (jint i = 0; i < 5; ++i) row[i] = values[i];
    s.linkIds->data()[n] = id;
    s.linkCount = n + 1;
    return n;
}

namespace {

jint findIn(IntArray* ids, jint count, jint id) {
    if (id < 1 || count <= 0) return -1;
    for (jint i = 0; i < count && i < ids->length(); ++i)
        if (ids->data()[i] == id) return i;
    return -1;
}

}  // namespace

jint game::findRectIndex(jint id) { return findIn(ca().rectIds, ca().rectCount, id); }
jint game::findItemIndex(jint id) { return findIn(ca().itemIds, ca().itemCount, id); }
jint game::findTableIndex(jint id) { return findIn(ca().linkIds, ca().linkCount, id); }

void game::loadRectRow(jint n) {
    if (n < 0 || n >= kMaxRects) return;
    for (jint i = 0; i < 4; ++i) ca().rectRow->data()[i] = ca().rects->data()[n * 4 + i];
}

jint game::getRectField(jint n, jint i) {
    loadRectRow(n);
    return ca().rectRow->data()[i & 3];
}

jint game::getItemField(jint n, jint i) {
    if (n < 0 || n >= kMaxItems || i < 0 || i > 8) return 0;
    return ca().items->data()[n * 9 + i];
}

void game::loadLinkRow(jint n) {
    if (n < 0 || n >= kMaxLinks) return;
    for (jint i = 0; i < 5; ++i) ca().linkRow->data()[i] = ca().links->data()[n * 5 + i];
}

jint game::getLinkX(jint n) {
    loadLinkRow(n);
    return ca().linkRow->data()[0];
}

jint game::getLinkY(jint n) {
    loadLinkRow(n);
    return ca().linkRow->data()[1];
}

jint game::getLinkRowNext() { return ca().linkRow->data()[2]; }
bool game::isLinkIndexValid(jint n) { return n >= 0 && n < ca().linkCount; }

bool game::setLinkIndex(cActor* a, jint n) {
    bool ok = isLinkIndexValid(n);
    a->linkIndex = ok ? n : -1;
    return ok;
}

void game::buildLinkChain(jint id, jint x, jint y) {
    ShortArray* box = cg().boxScratch;
    cActor::setBox(box, x, y, x, y);
    for (jint k = 0; k < 2; ++k) {
        jint row = findTableIndex(id);
        if (!isLinkIndexValid(row)) return;
        loadLinkRow(row);
        const jint* l = ca().linkRow->data();
        jshort* b = box->data();
        if (l[0] < x) b[0] = java::i2s(l[0]);
        else if (l[0] > x) b[2] = java::i2s(l[0]);
        if (l[1] < y) b[1] = java::i2s(l[1]);
        else if (l[1] > y) b[3] = java::i2s(l[1]);
        id = l[2];
    }
}

void game::fillItemGrid(cActor* a, ObjectArray* grid) {
    if (!a || !grid) return;
    jint cellW = a->getTypeParam(6), cellH = a->getTypeParam(7);
    if (cellW <= 0 || cellH <= 0) {
        logPrintf("Actor %d: item grid cell %dx%d, nothing filled", a->uniqueId, cellW, cellH);
        return;
    }
    jint index = findItemIndex(a->getParam(5));
    // A chain can visit at most every item once; a loop in the data ends here.
    for (jint steps = 0; index >= 0 && steps < ca().itemCount; ++steps) {
        jint x = getItemField(index, 0), y = getItemField(index, 1);
        jint dx = x - a->box->data()[0], dy = y - a->box->data()[1];
        if (dx >= 0 && dy >= 0) {
            jint col = dx / cellW, row = dy / cellH;
            if (col < grid->length()) {
                auto* column = static_cast<ByteArray*>(grid->data()[col]);
                if (column && row < column->length()) column->data()[row] = java::i2b(index);
            }
        }
        index = findItemIndex(getItemField(index, 2));
    }
}

bool game::isStateBitClear(jint m) { return (ca().stateBits & m) == 0; }
void game::setStateBits(jint m) { ca().stateBits |= m; }
bool game::isProgressBitClear(jint m) { return (cg().progressBits & m) == 0; }
void game::setProgressBits(jint m) { cg().progressBits |= m; }

// --- level-object flags -------------------------------------------------------

namespace {

jint recordIndexOf(jint id) {
    ShortArray* ids = cg().recordIds;
    for (jint i = 0; ids && i < ids->length(); ++i)
        if (ids->data()[i] == id) return i;
    return -1;
}

// The record's pending byte after a change of flag bits 4-7 (n): set marks
// the low nibble and unmarks the high one, clear the reverse.
void notePendingChange(jint id, jint bits, bool set) {
    if (id >= 9999) return;
    const jint k = recordIndexOf(id);
    ByteArray* pending = cg().recordPendingFlags;
    if (k < 0 || !pending || !pending->inBounds(k)) return;
    const jint n = (bits >> 4) & 15;
    const jint b = pending->data()[k] & 0xFF;
    pending->data()[k] = java::i2b(set ? ((b | n) & ~(n << 4)) : ((b & ~n) | (n << 4)));
}

}  // namespace

void game::setLevelObjectFlags(jint id, jint bits) {
    if (cActor* a = getActorById(id)) a->flags |= bits;
    notePendingChange(id, bits, true);
}

void game::clearLevelObjectFlags(jint id, jint bits) {
    if (cActor* a = getActorById(id)) a->flags &= ~bits;
    notePendingChange(id, bits, false);
}

BSprite* game::getSpriteByNumber(jint n) {
    ObjectArray* s = cg().sprites;
    return s && s->inBounds(n) ? static_cast<BSprite*>(s->data()[n]) : nullptr;
}

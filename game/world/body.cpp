// Actor-side tile queries, the physics step and stepping (see body.h).
#include "game/world/body.h"

#include <algorithm>
#include <cstdlib>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/contact.h"
#include "game/data/statics.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/log.h"

namespace game::world {

namespace {

bool inMask(jint c, jint mask) { return c >= 0 && c < 32 && ((mask >> c) & 1); }

const jshort* boxOf(const cActor* a) { return a && a->box && a->box->length() >= 4 ? a->box->data() : nullptr; }

ShortArray* scratch(ShortArray*& field) {
    if (!field || field->length() < 4) field = newShortArray(4);
    return field;
}

}  // namespace


cActor* hero() { return cg().hero; }
bool isHero(cActor* a) { return a && a == hero(); }

void resetHeroState() {
    if (cActor* h = hero()) hero::resetHeroState(h);
}

// --- records ---------------------------------------------------------------------

jint findRecordIndex(jint id) {
    ShortArray* ids = cg().recordIds;
    if (!ids) return -1;
    for (jint i = 0; i < ids->length(); ++i)
        if (ids->data()[i] == id) return i;
    return -1;
}

jint applyRecordFlagNibbles(jint index, jint flags) {
    ByteArray* p = cg().recordPendingFlags;
    if (!p || !p->inBounds(index)) return flags;
    const jint b = p->data()[index] & 0xFF;
    return (flags | ((b & 15) << 4)) & ~(b & 0xF0);
}

// --- tile flags ------------------------------------------------------------------

jint getTileFlags(cActor* actor, jint column, jint row) {
    const bool heroActor = isHero(actor);
    const jint mode = heroActor && (ca().heroAltMode || ca().heroMireMode) ? 3 : 1;
    const jint c = getTile(column, row, mode);
    const jint bit = (c & 0xFF) < 32 ? jint(1u << (c & 31)) : 0;
    if (testTileFlag(column, row) && bit >= 1) return getTileValue(actor, column, row);
    return classFlags(c, heroActor);
}

cActor* getOrSpawnObject(jint id) {
    if (id <= 0) return nullptr;
    if (cActor* a = getActorById(id)) return a;
    const jint k = findRecordIndex(id);
    ShortArray* starts = cg().recordStarts;
    if (k < 0 || !starts || !starts->inBounds(k + 1) || !cg().recordValues) return nullptr;
    const jint start = starts->data()[k], length = starts->data()[k + 1] - start;
    cActor* a = spawnActor(cg().recordValues, length, start);
    if (a) a->flags = applyRecordFlagNibbles(k, a->flags) | 0x80000;
    return a;
}

jint getTileValue(cActor* actor, jint column, jint row) {
    const jint id = getTile(column, row, 0);
    cActor* owner = getOrSpawnObject(id);
    ca().tileOwner = owner;
    if (!owner || owner->type != 4) return 12;  // an owner that cannot be found stays solid
    if (actor) actor->physicsFlags |= 0x8000;
    return owner->subtype == 151 ? 0x12C000C : 0x2C000C;
}

bool hitDynamicCell(cActor* actor, jint column, jint row) {
    cActor* owner = getActorById(getTile(column, row, 0));
    if (!owner || !(owner->flags & 0x20)) return true;
    return behaviour::hitTileBlockCell(owner, actor, column, row);
}

jint getSolidTile(cActor* actor, jint edge, jint rowMode) {
    if (!boxOf(actor)) return kVoid;
    return getTile(actor->getTileColumn(edge), actor->getTileRow(rowMode), 1);
}

jint getTileFlagsAtFeet(cActor* actor, jint edge) {
    const jshort* b = boxOf(actor);
    if (!b) return 0;
    return getTileFlags(actor, actor->getTileColumn(edge), b[3] / kCell);
}

bool isNearLedge(cActor* a) {
    const jshort* b = boxOf(a);
    if (!b || (a->flags & 0x10000000)) return false;
    if (hasTileClassAt(a->posX, a->posY, kStandableClasses)) return false;
    return !(hasTileClassAt(b[0], a->posY, kStandableClasses) && hasTileClassAt(b[2], a->posY, kStandableClasses));
}

bool isAtLedgeToward(cActor* a, jint direction) {
    const jshort* b = boxOf(a);
    if (!b || (a->flags & 0x10000000)) return false;
    if (hasTileClassAt(a->posX, a->posY, kSlopedOrHalf)) return false;
    const bool l = hasTileClassAt(b[0], a->posY, kStandableClasses);
    const bool r = hasTileClassAt(b[2], a->posY, kStandableClasses);
    if (!l && !r) return false;
    return (direction < 0 && !l) || (direction > 0 && !r);
}

bool isRowAllClass22(cActor* a) {
    const jshort* b = boxOf(a);
    if (!b) return false;
    const jint row = b[3] / kCell;
    const jint c0 = (b[0] + 1) / kCell, c1 = (b[2] - 1) / kCell;
    const cGameStatics& g = cg();
    for (jint c = c0; c <= c1; ++c) {
        if (c < 0 || c >= g.collisionWidth) return false;
        if (row >= g.collisionHeight && row - g.collisionHeight > kRowsBelowMap) return false;
        if (row < 0 || row >= g.collisionHeight) continue;
        if (testTileFlag(c, row)) return false;
        const jint v = collisionCell(c, row);
        if (v == -1) continue;
        if ((v & 0x1FFF) != 22) return false;
    }
    return true;
}

jint probeSlopeGround(cActor* a) {
    if (!(ca().collisionResult & (64 | 128))) return 0;
    const jint c = getSolidTile(a, 0, 2);
    if (c >= 0 && c <= 3) return 0x10001;
    if (c == 4 || c == 5) return 0x30002;
    if (c >= 25 && c <= 28) return 0x30003;
    if (c == 18 || c == 19) return 0x30004;
    return 0;
}

jint getGroundY(jint x, jint y) { return groundY(x, y, &ca().collisionResult); }

jint scanTileColumn(cActor* actor, jint x, jint y, jint mask) {
    const jint column = x / kCell;
    jint row = y / kCell;
    const jint height = cg().collisionHeight;
    while (row < height) {
        if (getTileFlags(actor, column, row) & mask) break;
        ++row;
    }
    jint result = row * kCell;
    if (mask == 8) {
        const jint g = getGroundY(column * kCell, result);
        if (g != -1) result = g;
    }
    return result;
}

// --- the box sweeps -------------------------------------------------------------------

namespace {
// Column of a pixel x for the horizontal sweep: left of the map it is a
// negative column (the wall outside), where truncation would answer column 0
// and let a box edge slip up to 35 px out of the map unchecked.
jint sweepColumn(jint x) { return x >= 0 ? x / kCell : -((kCell - 1 - x) / kCell); }
}  // namespace

jint sweepTiles(cActor* actor, ShortArray* oldBoxArray, ShortArray* newBoxArray, jint xEdge, jint yEdge) {
    if (!actor || !oldBoxArray || !newBoxArray || oldBoxArray->length() < 4 || newBoxArray->length() < 4) return 0;
    if (actor->type == 46) return 0;
    const jshort* o = oldBoxArray->data();
    jshort* n = newBoxArray->data();
    if (o[xEdge] == n[xEdge] && o[yEdge] == n[yEdge]) return 0;
    jint result = 0;
    cActorStatics& w = ca();
    if (w.worldBoundsOn && w.worldBounds && w.worldBounds->length() >= 4) {
        const jshort* wb = w.worldBounds->data();
        if (n[xEdge] < wb[0] || n[xEdge] > wb[2]) n[xEdge] = wb[xEdge], result |= 4;
        if (n[yEdge] < wb[1] || n[yEdge] > wb[3]) n[yEdge] = wb[yEdge], result |= 8;
    }
    const jint vy = actor->motion && actor->motion->length() > 3 ? actor->motion->data()[3] : 0;
    const jint physics = actor->physicsFlags;
    // Vertical: the rows between the old and the new leading y edge, over
    // the columns the box covers before the move.
    if (o[yEdge] != n[yEdge]) {
        const bool down = yEdge == 3;
        const jint from = down ? (o[3] - 1) / kCell : o[1] / kCell;
        const jint to = down ? (n[3] - 1) / kCell : n[1] / kCell;
        const jint step = down ? 1 : -1;
        const jint c0 = o[0] / kCell, c1 = (o[2] - 1) / kCell;
        bool stopped = false;
        for (jint r = from + step; !stopped && (down ? r <= to : r >= to); r += step) {
            for (jint c = c0; c <= c1; ++c) {
                jint f = getTileFlags(actor, c, r);
                if (vy < 0 && (f & 0x40000000)) f &= ~8;
                if (f & 0x2000000) result |= 0x2000000;
                if (!(f & 8)) continue;
                if ((f & 0x80000) && (physics & 0x8000)) {
                    if (!hitDynamicCell(actor, c, r)) continue;
                    result |= 0x80000;
                    if (vy < 0) result |= 8;
                } else {
                    result |= 8;
                }
                stopped = true;
            }
            if (stopped) n[yEdge] = static_cast<jshort>(down ? r * kCell : (r + 1) * kCell);
        }
    }
    // Horizontal: the columns between the old and the new leading x edge,
    // over the rows of the box after the vertical move.
    if (o[xEdge] != n[xEdge]) {
        const bool right = xEdge == 2;
        const jint from = right ? sweepColumn(o[2] - 1) : sweepColumn(o[0]);
        const jint to = right ? sweepColumn(n[2] - 1) : sweepColumn(n[0]);
        const jint step = right ? 1 : -1;
        const jint r0 = n[1] / kCell, r1 = (n[3] - 1) / kCell;
        const bool passes = actor->type == 2 && actor->getTypeParam(12) == 4;
        bool stopped = false;
        for (jint c = from + step; !stopped && (right ? c <= to : c >= to); c += step) {
            for (jint r = r0; r <= r1 && !stopped; ++r) {
                const jint f = getTileFlags(actor, c, r);
                if (f & 0x2000000) result |= 0x2000000;
                if (!(f & 4) || passes) continue;
                if ((f & 0x40000) && (physics & 0x8000) && hitDynamicCell(actor, c, r)) {
                    result |= 0x40000;
                    continue;
                }
                result |= 4;
                stopped = true;
            }
            if (stopped) n[xEdge] = static_cast<jshort>(right ? c * kCell : (c + 1) * kCell);
        }
    }
    return result;
}

namespace {

jint contactKind(cActor* mover, cActor* other, ShortArray* newBox) {
    if (!(other->flags & 128)) return 0;
    const jint special = behaviour::contactKindOf(mover, other, newBox);
    if (special >= 0) return special;
    switch (other->type) {
    case 8: case 18: case 41: case 46: case 50: case 88: return 0;
    case 6: case 21: case 24: case 25: case 33: case 92: case 102:
        ca().mountActor = other;
        if (isHero(mover)) behaviour::classifyHeroTouch(other);
        return 1072;
    default:
        ca().mountActor = other;
        return 1072;
    }
}

}  // namespace

jint sweepActors(cActor* actor, ShortArray* oldBox, ShortArray* newBox, jint xEdge, jint yEdge) {
    cActorStatics& w = ca();
    w.blockerSubtype = -1;
    w.standOnId = -1;
    if (!actor || !oldBox || !newBox || oldBox->length() < 4 || newBox->length() < 4) return 0;
    const jshort* o = oldBox->data();
    jshort* n = newBox->data();
    const bool movedX = o[xEdge] != n[xEdge], movedY = o[yEdge] != n[yEdge];
    if (!movedX && !movedY && !(actor->physicsFlags & 0x100000)) return 0;
    jint result = 0;
    auto visit = [&](cActor* other) {
        if (!other || other == actor || !other->box || other->box->length() < 4) return;
        const jshort* ob = other->box->data();
        if (!(n[0] <= ob[2] && ob[0] <= n[2] && n[1] <= ob[3] && ob[1] <= n[3])) {
            // A carrier the hero's sweep no longer meets lets its rider go;
            // kept, it would pull the hero back onto its top every step.
            if (isHero(actor) && (other->type == 8 || other->type == 88) && other->carried) other->clearRider();
            return;
        }
        const jint k = contactKind(actor, other, newBox);
        if (k & 0x400) {
            if ((k & 32) && movedY) {
                const jint face = ob[yEdge == 3 ? 1 : 3];
                if (yEdge == 3 ? (face >= o[3] && face <= n[3]) : (face <= o[1] && face >= n[1])) {
                    n[yEdge] = static_cast<jshort>(face);
                    result |= 40;
                    ca().standOnId = other->uniqueId;
                    return;
                }
            }
            if ((k & 16) && movedX && other->uniqueId != ca().standOnId) {
                const jint face = ob[xEdge == 2 ? 0 : 2];
                if (xEdge == 2 ? (face >= o[2] && face <= n[2]) : (face <= o[0] && face >= n[0])) {
                    n[xEdge] = static_cast<jshort>(face);
                    result |= 20;
                    ca().blockerSubtype = other->subtype;
                }
            }
        } else if (k & 0x200) {
            result |= 0x200;
            ca().blockerSubtype = other->subtype;
        }
    };
    const jint count = cg().activeActorCount;
    for (jint i = 0; i < count; ++i) {
        cActor* other = activeActor(i);
        if (other != hero()) visit(other);
    }
    visit(hero());  // the hero is asked last
    return result;
}

// --- the physics step -------------------------------------------------------------------

void heroPhysics(cActor* a) {
    cActorStatics& s = ca();
    s.collisionResult = 0;
    if (!a || !a->savedBox || a->savedBox->length() < 4 || !a->motion || a->motion->length() < 4) return;
    ShortArray* box = a->savedBox;
    const jshort* b = box->data();
    if (b[0] == b[2] || b[1] == b[3]) return;
    jint* m = a->motion->data();
    jint vx = m[2], vy = m[3];
    if (vy >= 0 && (a->physicsFlags & 1) && !isScriptTargetId(a->uniqueId)) {
        vy = 6912;
        m[3] = vy;
        s.collisionResult |= 1;
    }
    const jint xEdge = vx < 0 ? 0 : 2, yEdge = vy < 0 ? 1 : 3;
    const jint ax = java::iabs(vx) >> 8, ay = java::iabs(vy) >> 8;
    ShortArray* swept = scratch(ca().sweptBox);
    b = box->data();
    jshort* n = swept->data();
    for (int i = 0; i < 4; ++i) n[i] = b[i];
    n[xEdge] = static_cast<jshort>(xEdge == 0 ? b[0] - ax : b[2] + ax);
    n[yEdge] = static_cast<jshort>(yEdge == 1 ? b[1] - ay : b[3] + ay);
    s.collisionResult |= sweepTiles(a, box, swept, xEdge, yEdge);
    if (a->physicsFlags & (0x100 | 0x200)) s.collisionResult |= sweepActors(a, box, swept, xEdge, yEdge);
    b = box->data();
    n = swept->data();
    jint dx = n[xEdge] - b[xEdge], dy = n[yEdge] - b[yEdge];
    if ((s.collisionResult & 0x2000000) && !(s.collisionResult & 4)) dx += cg().tileMirrored ? -5 : 5;
    if (s.collisionResult & 1) {
        if (dy != (vy >> 8)) {
            s.collisionResult &= ~1;
        } else if (a->physicsFlags & 8) {
            dx = dy = 0;
            s.collisionResult = (s.collisionResult & ~3) | 2;
        }
    }
    if (m[3] >= 0) {
        const jint y1 = a->posY + dy;
        const jint g = getGroundY(a->posX + dx, y1);
        if (g >= 0 && ((a->physicsFlags & 1) || g < y1)) {
            dy += g - y1;
            s.collisionResult |= 8;
        }
    }
    if (a->physicsFlags != 0) {
        s.physicsDx = java::ishl(dx, 8);
        s.physicsDy = java::ishl(dy, 8);
    }
    if ((s.collisionResult & 8) && vy > 0) s.collisionResult |= 0x100000;
}

namespace {

// The forced-move core of moveHeroBy and pushOutOfTiles: the physics step
// for (dx, dy) without stick or actor sweep; answers the allowed move.
void forcedStep(cActor* a, jint& dx, jint& dy) {
    cActorStatics& s = ca();
    const jint savedResult = s.collisionResult, savedFlags = a->physicsFlags;
    jint* m = a->motion ? a->motion->data() : nullptr;
    const jint savedVx = m ? m[2] : 0, savedVy = m ? m[3] : 0;
    a->physicsFlags &= ~0x201;
    auto atLeastOne = [](jint v) { return v != 0 && v > -256 && v < 256 ? (v < 0 ? -256 : 256) : v; };
    ca().carriedMove = 0;
    s.mountActor = nullptr;
    ca().tileOwner = nullptr;
    s.physicsDx = s.physicsDy = 0;
    dx = atLeastOne(dx);
    dy = atLeastOne(dy);
    if (m && (savedFlags & 0x1000000)) {
        m[2] = dx;
        m[3] = dy;
        if (!a->savedBox || a->savedBox->length() < 4) a->savedBox = newShortArray(4);
        a->getBounds(a->savedBox);
        heroPhysics(a);
        if (s.collisionResult & 4) dx = s.physicsDx;
        if (s.collisionResult & 8) dy = s.physicsDy;
    }
    s.collisionResult = savedResult;
    a->physicsFlags = savedFlags;
    if (IntArray* mo = a->motion) mo->data()[2] = savedVx, mo->data()[3] = savedVy;
}

}  // namespace

void moveHeroBy(cActor* a, jint dx, jint dy) {
    if (!a) return;
    forcedStep(a, dx, dy);
    cActor::moveBy(a, dx, dy);
}

void pushOutOfTiles(cActor* a, jint dx, jint dy) {
    if (!a || !(a->physicsFlags & 0x1000000)) return;
    jint ax = dx, ay = dy;
    forcedStep(a, ax, ay);
    cActor::moveBy(a, ax - dx, ay - dy);
}

void setBoxSize(cActor* a, jint w, jint h) {
    if (!a || !a->box || a->box->length() < 4) return;
    const jint w2 = java::idiv(java::imul(a->scale, w), 100), h2 = java::idiv(java::imul(a->scale, h), 100);
    const jshort* b = a->box->data();
    const jint dw = w2 + java::irem(w2, 2) - (b[2] - b[0]);
    const jint dh = h2 - (b[3] - b[1]);
    if (a->type == 0 && b[0] != b[2] && b[1] != b[3]) {
        if (dw >= 1) {
            const jint half = (dw & ~1) << 7;
            const jint up = dh > 0 ? -(dh << 8) : 0;
            pushOutOfTiles(a, half, up);
            pushOutOfTiles(a, -half, up);
        } else if (dh > 0) {
            pushOutOfTiles(a, 0, -(dh << 8));
        }
    }
    jshort* q = a->box->data();
    q[0] = static_cast<jshort>(q[0] - (dw >> 1));
    q[2] = static_cast<jshort>(q[2] + (dw >> 1));
    q[1] = static_cast<jshort>(q[1] - dh);
}

void setBoxShape(cActor* a, jint shape) {
    if (!a) return;
    static const jint kHero[6][2] = {{33, 85}, {33, 50}, {50, 42}, {100, 42}, {64, 26}, {36, 85}};
    static const jint kSmall[5][2] = {{35, 50}, {50, 33}, {69, 32}, {69, 32}, {64, 26}};
    const jint st = a->subtype;
    if (st == 3010) {
        setBoxSize(a, a->getTypeParam(6), a->getTypeParam(7));
    } else if (st == 0 || st == 242 || st == 50 || st == 215) {
        if (shape >= 0 && shape < 6) setBoxSize(a, kHero[shape][0], kHero[shape][1]);
    } else if (st == 113 || st == 237) {
        if (shape >= 0 && shape < 5) setBoxSize(a, kSmall[shape][0], kSmall[shape][1]);
    }
}

// --- stepping -----------------------------------------------------------------------

namespace {

// Whole-cell steps while keepGoing(class) holds, at most map height + 110
// steps (a walk with no ending cell stops there, logged).
template <typename Pred>
void stepCells(cActor* a, jint dx, jint dy, jint rowMode, Pred keepGoing) {
    const jint limit = cg().collisionHeight + 110;
    jint steps = 0;
    while (keepGoing(getSolidTile(a, 0, rowMode))) {
        if (++steps > limit) {
            logPrintf("tile stepping of actor %d ended after %d cells without an ending cell", a->uniqueId, limit);
            break;
        }
        cActor::moveBy(a, dx * 9216, dy * 9216);
    }
}

void setY(cActor* a, jint y) { cActor::moveBy(a, 0, java::ishl(y - a->posY, 8)); }

}  // namespace

void stepTilesWhileClass(cActor* a, jint dx, jint dy, jint classMask) {
    if (!boxOf(a)) return;
    stepCells(a, dx, dy, 2, [&](jint c) { return inMask(c, classMask); });
    setY(a, (a->box->data()[3] / kCell) * kCell + 35);
}

void stepTilesUntilClass(cActor* a, jint dx, jint dy, jint classMask) {
    if (!boxOf(a)) return;
    stepCells(a, dx, dy, 0, [&](jint c) { return !inMask(c, classMask); });
    setY(a, (a->box->data()[3] / kCell) * kCell - 32);
}

void snapToGround(cActor* a) {
    const jshort* b = boxOf(a);
    if (!b) return;
    const jint g = scanTileColumn(a, a->posX, a->posY - (b[3] - b[1]) / 2, static_cast<jint>(0x81800008u));
    if (std::abs(g - a->posY) < 4) cActor::moveBy(a, 0, java::ishl(g - a->posY, 8));
}

void setRespawnAtGround(cActor* a) {
    if (!a || a->type != 0) return;
    jint y = a->posY;
    if (ca().heroState != 38) {
        ca().checkpointKeepsY = 0;
        y = scanTileColumn(a, a->posX, a->posY, 8);
    } else {
        ca().checkpointKeepsY = 1;
    }
    a->setRespawnInfo(a->posX, y, 0);
}

// The chain walk ends after this many links: a reused effect can close a loop.
constexpr jint kMaxChain = 64;

void syncAttachedChain(cActor* owner, jint rating) {
    jint guard = 0;
    for (cActor* a = owner; a && guard < kMaxChain; ++guard) {
        if (rating > 1 && !(a->flags & (0x10 | 0x20000))) {
            a->releaseChild();
            return;
        }
        if (!a->child) {
            // The actor's own effect kind: attached while it is drawn and idle.
            const jint e = subtypeRow(a->subtype) >= 0 ? a->getTypeParam(10) : -1;
            if (e != -1 && (a->flags & 128) && a->aiState == 0) {
                const jint layer = a->getTypeParam(11);
                if (!(a->flags & 8))
                    cActor::attachEffect(a, e, layer, 0);
                else
                    cActor::attachEffectAt(a, e, a->posX, scanTileColumn(a, a->posX, a->posY, 8), layer, 16384);
            }
            if (!a->child) return;
        }
        cActor* link = a->child;
        const jint own = link->paintFlags;
        if ((link->flags & 4096) && !(own & 0x80000)) {
            a->releaseChild();
            return;
        }
        if (!(own & 16384)) {
            link->posX = a->posX;
            if (!(own & 0x100000)) link->posY = a->posY;
            if (!(own & 0x400000)) {
                link->facing = a->facing;
                link->paintFlags = (link->paintFlags & ~1) | (a->facing ? 1 : 0);
            }
            if (own & 0x800000) link->scale = a->scale;
        }
        a = link;
    }
}

namespace {

jint bossConstant2() {
    IntArray* t = mordle().valueTriple;
    return t && t->length() > 2 ? t->data()[2] : 0;
}

void arenaCommon(cActor* boss) {
    boss->facing = 0;
    cActor::stopMotion(boss);
    boss->timer = 0;
}

void arenaBoxAndScript(cActor* boss) {
    boss->setAttackBox(boss->getParamOr(3), boss->getParamOr(4), boss->getParamOr(1), boss->getParamOr(2));
    cg().currentScriptId = findScriptById(boss->getParamOr(5));
    cg().targetActor = boss;
}

}  // namespace

void dropToGroundType102(cActor* boss) {
    if (!boss) return;
    arenaCommon(boss);
    cg().bossCounter = bossConstant2();
    ca().bossFloorY = scanTileColumn(boss, boss->posX, boss->posY, 8);
    arenaBoxAndScript(boss);
}

void dropToGroundType92(cActor* boss) {
    if (!boss) return;
    arenaCommon(boss);
    ca().bossGuarded = 0;
    cg().bossSlotL = nullptr;
    cg().bossSlotR = nullptr;
    ca().arenaFloorY = scanTileColumn(boss, boss->posX, boss->posY, 8) - 5;
    arenaBoxAndScript(boss);
    cg().bossActor = boss;
    boss->aiState = 2;
}

void runPhysicsOnly(cActor* a) {
    ca().carriedMove = 0;
    if (!a || !(a->physicsFlags & 0x1000000)) return;
    ca().mountActor = nullptr;
    ca().tileOwner = nullptr;
    ca().physicsDx = ca().physicsDy = 0;
    if (!a->savedBox || a->savedBox->length() < 4) a->savedBox = newShortArray(4);
    a->getBounds(a->savedBox);
    heroPhysics(a);
}

}  // namespace game::world

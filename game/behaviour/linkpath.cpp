// Link-path movers: legs toward link points at a fixed speed, waits, the
// drop, sink and rise motions, the link line, whole chains packed into an
// actor's work array, the actor a link parameter names, link-row legs with
// their row codes and the three-point curve paths.
//
// Invariants: no walk over the link table reads outside it or runs longer
// than the table has rows; a chain is never written past the end of the
// actor's parts; divisions whose divisor comes from level data are checked
// first, and a call that would divide by zero is refused with a log line
// and leaves the actor as it was. Only the low 24 bits of aiState are
// set here.
#include "game/behaviour/linkpath.h"

#include "game/behaviour/approach.h"

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

void setSubState(cActor* a, jint s) { a->aiState = (a->aiState & static_cast<jint>(0xFF000000u)) | (s & 0xFFFFFF); }

// The raw link row n (5 ints) in place, or null outside the table.
const jint* linkRowAt(jint n) {
    if (!isLinkIndexValid(n) || !ca().links) return nullptr;
    if (java::imul(n + 1, 5) > ca().links->length()) return nullptr;
    return ca().links->data() + n * 5;
}

jint paramOr(cActor* a, jint i) { return a->getParamOr(i); }

// Sum of two squares in 64 bits, or -1 when it leaves the root's range.
jlong squaresOrFail(jlong a, jlong b) {
    const jlong limit = jlong(1) << 62;
    const uint64_t aa = static_cast<uint64_t>(a < 0 ? -a : a);
    const uint64_t bb = static_cast<uint64_t>(b < 0 ? -b : b);
    if (aa >= (uint64_t(1) << 31) + 1 || bb >= (uint64_t(1) << 31) + 1) return -1;
    const uint64_t s = aa * aa + bb * bb;
    return s >= static_cast<uint64_t>(limit) ? -1 : static_cast<jlong>(s);
}

// Whether row `row` is among the first `count` rows of the chain from
// `start` (a walk of at most count steps).
bool visitedInChain(jint start, jint row, jint count) {
    jint r = start;
    for (jint i = 0; i < count && isLinkIndexValid(r); ++i) {
        if (r == row) return true;
        const jint* x = linkRowAt(r);
        if (!x) return false;
        r = findTableIndex(x[2]);
    }
    return false;
}

}  // namespace

bool approachAxis(cActor* self, jint target, jint velocityIndex, jint positionIndex) {
    if (!self || !self->motion || (velocityIndex != 2 && velocityIndex != 3) ||
        (positionIndex != 4 && positionIndex != 5))
        return true;
    jint* m = self->motion->data();
    const jint accelIndex = velocityIndex - 2;
    const jint pos = m[positionIndex];
    const jint next = java::iadd(java::iadd(pos, m[velocityIndex]), m[accelIndex]);
    if ((next < target && target < pos) || (pos < target && target < next))
        m[velocityIndex] = java::isub(java::isub(target, pos), m[accelIndex]);
    if (pos == target) {
        m[velocityIndex] = 0;
        m[accelIndex] = 0;
    }
    return (pos >> 8) == (target >> 8);
}

bool arriveAt(cActor* self, jint tx, jint ty) {
    if (!self || !self->motion) return false;
    bool x = approachAxis(self, tx, 2, 4);
    bool y = approachAxis(self, ty, 3, 5);
    return x && y;
}

void setAiStateByLink(cActor* self) {
    if (self) self->aiState = isLinkIndexValid(self->linkIndex) ? 3 : 2;
}

bool isLinkPointAhead(cActor* self, jint row) {
    if (!self || !linkRowAt(row)) return false;
    loadLinkRow(row);
    const jint* r = ca().linkRow->data();
    return cActor::isAnchorReachable(self, java::imul(r[0], 256), java::imul(r[1], 256));
}

void startLinkLeg(cActor* self) {
    if (!self) return;
    cActor::stopMotion(self);
    const jint* row = linkRowAt(self->linkIndex);
    if (!row || !self->motion) {
        setSubState(self, 2);
        return;
    }
    loadLinkRow(self->linkIndex);
    const jint* r = ca().linkRow->data();
    const jint tx = r[0], ty = r[1], keep = r[4];
    const jint v = java::imul(paramOr(self, 0), 256);
    self->setVelocityLimitsX(java::ineg(v), v);
    self->setVelocityLimitsY(java::ineg(v), v);
    accelerateToward(self, tx, ty, 256, v);
    if (keep == 0) {
        jint* m = self->motion->data();
        const jint ax = m[0], ay = m[1];
        const jint n = isqrt32(java::iadd(java::imul(ax, ax), java::imul(ay, ay)));
        if (n != 0) {
            m[2] = java::l2i(java::ldivide(java::lmul(v, ax), n));
            m[3] = java::l2i(java::ldivide(java::lmul(v, ay), n));
            m[0] = m[1] = 0;
        }
    }
    setSubState(self, 3);
}

void waitThenStartLinkLeg(cActor* self, jint n) {
    if (!self) return;
    if (n < 1) {
        startLinkLeg(self);
        return;
    }
    self->timer = n;
    setSubState(self, 4);
}

void enterDropState(cActor* self) {
    if (!self) return;
    self->physicsFlags = 0x1000107;
    self->setVelocityLimitsY(-2560, 2560);
    cActor::stopMotion(self);
    setSubState(self, 9);
    self->flags |= 0x20000;
}

void enterSinkState(cActor* self) {
    if (!self) return;
    const jint base = self->getPart(0);
    self->setAnimThen(base + 1, base + 3, 0);
    cActor::stopMotion(self);
    self->physicsFlags = 68;
    self->setVelocityLimitsY(-5120, 5120);
    self->setVelocityLimitsX(0, 0);
    if (self->motion) {
        self->motion->data()[3] = 1536;
        self->motion->data()[1] = -64;
    }
    setSubState(self, 13);
    originY(self) = self->posY;
}

void enterRiseState(cActor* self) {
    if (!self) return;
    cActor::stopMotion(self);
    self->physicsFlags = 64;
    self->setVelocityLimitsY(-1024, 1024);
    self->setVelocityLimitsX(0, 0);
    if (self->motion) {
        self->motion->data()[3] = -1024;
        self->motion->data()[1] = -1024;
    }
    setSubState(self, 14);
}

jint snapToLinkLine(jint /*ignored*/, cActor* actor, jint x) {
    if (!actor) return 0;
    const jint* a = linkRowAt(findTableIndex(paramOr(actor, 1)));
    const jint* b = a ? linkRowAt(findTableIndex(a[2])) : nullptr;
    if (!a || !b) {
        logPrintf("Actor %d: link line of link %d has no second point", actor->uniqueId, paramOr(actor, 1));
        return actor->posY;
    }
    const jint x1 = a[0], y1 = a[1], x2 = b[0], y2 = b[1];
    if (x2 == x1) {
        logPrintf("Actor %d: link line of link %d is vertical, not followed", actor->uniqueId, paramOr(actor, 1));
        return actor->posY;
    }
    const jint yy = java::iadd(y1, java::idiv(java::imul(java::isub(y2, y1), java::isub(x, x1)), java::isub(x2, x1)));
    cActor::moveBy(actor, 0, java::imul(java::isub(yy, actor->posY), 256));
    return actor->posY;
}

void loadLinkChain(cActor* self, jint first, jint countSlot) {
    if (!self) return;
    jint index = findTableIndex(paramOr(self, 0));
    self->linkIndex = isLinkIndexValid(index) ? index : -1;
    jint k = 0;
    IntArray* parts = self->parts;
    const jint length = parts ? parts->length() : 0;
    const jint start = self->linkIndex;
    while (isLinkIndexValid(self->linkIndex)) {
        if (first < 0 || first + k >= length) {
            logPrintf("Actor %d: link chain longer than its %d parts, cut at %d points", self->uniqueId, length, k);
            break;
        }
        const jint* row = linkRowAt(self->linkIndex);
        if (!row) break;
        const jint packed = java::iadd(java::ishl(row[0], 16), row[1]);
        loadLinkRow(self->linkIndex);
        parts->data()[first + k] = packed;
        ++k;
        const jint next = findTableIndex(ca().linkRow->data()[2]);
        if (!isLinkIndexValid(next)) break;
        if (visitedInChain(start, next, k)) {
            logPrintf("Actor %d: link chain from link %d closes a loop, cut at %d points", self->uniqueId,
                      paramOr(self, 0), k);
            break;
        }
        self->linkIndex = next;
    }
    if (parts && countSlot >= 0 && countSlot < length) parts->data()[countSlot] = k;
    else if (countSlot >= 0) logPrintf("Actor %d: link chain count slot %d outside its parts", self->uniqueId, countSlot);
}

cActor* findLinkedActor(cActor* self) {
    if (!self) return nullptr;
    const jint p = paramOr(self, 1);
    if (isLinkIndexValid(p)) return nullptr;
    for (jint i = 0; i < cg().actorCount; ++i) {
        cActor* a = poolActor(i);
        if (a && a->uniqueId == p) return a;
    }
    return nullptr;
}

bool containsHeroTop(cActor* self) {
    cActor* hero = cg().hero;
    if (!self || !self->box || !hero || !hero->box) return false;
    if (!savedBox(self)) savedBox(self) = newShortArray(4);
    cActor::copyBox(self->box, savedBox(self));
    return cActor::boxContains(savedBox(self), hero->posX, hero->box->data()[1]);
}

jint vectorLength(jint dx, jint dy) {
    const jlong s = squaresOrFail(dx, dy);
    return s < 0 ? 0 : java::l2i(isqrt(s));
}

void moveToLinkRow(cActor* self, jint n, jint s) {
    if (!self || !self->motion) return;
    const jint* row = linkRowAt(n);
    if (!row) {
        logPrintf("Actor %d: link row %d outside the table, no leg", self->uniqueId, n);
        return;
    }
    bool followed = false;
    for (;;) {
        const jint code = row[3];
        if (code == 9) {
            self->setAnim(row[4]);
            break;
        }
        if (code != 10) break;
        if (followed) {
            // The row after a code-10 row is never another code-10 row in good data.
            logPrintf("Actor %d: two speed rows in a row at link row %d, second one ignored", self->uniqueId, n);
            break;
        }
        followed = true;
        self->setParam(2, row[4]);
        s = java::i2s(row[4]);
        const jint* at = linkRowAt(self->linkIndex);
        const jint* next = at ? linkRowAt(findTableIndex(at[2])) : nullptr;
        if (!next) {
            logPrintf("Actor %d: speed row %d has no row after it", self->uniqueId, n);
            break;
        }
        row = next;
    }
    const jint x = row[0], y = row[1];
    const jint lim = java::imul(s, 256);
    self->setVelocityLimitsX(java::ineg(lim), lim);
    self->setVelocityLimitsY(java::ineg(lim), lim);
    jint* m = self->motion->data();
    jint vx = java::imul(java::isub(x, self->posX), 256);
    jint vy = java::imul(java::isub(y, self->posY), 256);
    m[2] = vx;
    m[3] = vy;
    const jlong sq = squaresOrFail(vx, vy);
    if (sq < 0) {
        logPrintf("Actor %d: link row %d too far away, no leg", self->uniqueId, n);
        m[2] = m[3] = 0;
        return;
    }
    const jint d = java::l2i(isqrt(sq));
    if (d == 0) return;
    m[2] = java::l2i(java::ldivide(java::lmul(java::imul(vx, s), 256), d));
    m[3] = java::l2i(java::ldivide(java::lmul(java::imul(vy, s), 256), d));
}

IntArray* buildCurvePath(jint x0, jint y0, jint x1, jint y1, jint x2, jint y2, jint steps) {
    if (steps < 1 || steps > 181) {
        logPrintf("Curve path: %d steps outside 1-181, no path", steps);
        return nullptr;
    }
    const jlong T = jlong(steps) * 256;
    const jint dx1 = java::isub(x1, x0), dy1 = java::isub(y1, y0);
    const jint dx2 = java::isub(x2, x1), dy2 = java::isub(y2, y1);
    const jint ex = java::isub(x2, x0), ey = java::isub(y2, y0);
    const jlong s1 = squaresOrFail(dx1, dy1), s2 = squaresOrFail(dx2, dy2);
    if (s1 < 0 || s2 < 0) {
        logPrintf("Curve path: points too far apart, no path");
        return nullptr;
    }
    const jlong d1 = isqrt(s1), d2 = isqrt(s2);
    if (d2 < 1) {
        logPrintf("Curve path: last two points coincide, no path");
        return nullptr;
    }
    const jlong tm = java::ldivide(java::lmul(T, d1), d1 + d2);
    if (tm < 1) {
        logPrintf("Curve path: middle point too near the start, no path");
        return nullptr;
    }
    const jlong Q = java::lmul(java::lmul(T, tm), T - tm);
    const jlong q = Q >> 8;
    if (q < 1) {
        logPrintf("Curve path: degenerate timing, no path");
        return nullptr;
    }
    const jint ax = java::l2i(java::ldivide(java::lshl(java::lmul(tm, ex) - java::lmul(T, dx1), 9), q));
    const jint ay = java::l2i(java::ldivide(java::lshl(java::lmul(tm, ey) - java::lmul(T, dy1), 9), q));
    const jlong T2 = java::imul(static_cast<jint>(T), static_cast<jint>(T));
    const jlong tm2 = java::lmul(tm, tm);
    const jint vx = java::l2i(java::ldivide(java::lmul(T2, dx1) - java::lmul(tm2, ex), q));
    const jint vy = java::l2i(java::ldivide(java::lmul(T2, dy1) - java::lmul(tm2, ey), q));
    IntArray* path = newIntArray(8);
    jint* p = path->data();
    p[0] = x0;
    p[1] = y0;
    p[2] = vx;
    p[3] = vy;
    p[4] = ax;
    p[5] = ay;
    p[6] = x2;
    p[7] = y2;
    return path;
}

}  // namespace game::behaviour

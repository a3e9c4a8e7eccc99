// Hazards and projectiles: the rotating ball chain (31), the two-phase
// flame (32), the four-phase trap (40), the bouncing ball (57), the
// straight projectile (38), the link mover (46), the gaze creature (47)
// and the lobbed projectile (49).
//
// Invariants: the timed hazards take their phase from the global frame
// clock, so equal parameters run in step; their cycle lengths and the
// chain's ball count were checked on the first update (a zero cycle or
// slot count is refused, never divided by); every array index below is
// covered by the type's needs row or checked where it is not.
#include <cstdlib>

#include "game/actor/contact.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_core.h"
#include "game/behaviour/hazards_fields.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/world/scripts.h"
#include "game/sprite/sprite.h"

namespace game::behaviour {

namespace {

using hz::hero;

jint param(cActor* a, jint i) { return a->getParamOr(i); }

// First update of a type that keeps its base animation in parts[0].
void keepBaseAnim(cActor* a) {
    if (!a->parts || a->parts->length() < 1) {
        IntArray* p = newIntArray(1);
        a->parts = p;
    }
    a->parts->data()[0] = a->anim;
}

jint storedBaseAnim(cActor* a) { return a->parts && a->parts->length() >= 1 ? a->parts->data()[0] : a->anim; }

jint* motionOf(cActor* a) {
    if (!a->motion) a->allocMotionState();
    return a->motion->data();
}

void setVelocityLimits(cActor* a, jint x, jint y) {
    motionOf(a);
    a->setVelocityLimitsX(-x, x);
    a->setVelocityLimitsY(-y, y);
}

}  // namespace

// --- rotating chain (31) ------------------------------------------------------------

void computeChainBalls(IntArray* parts, jint angle, jint r, jint n, jint empty) {
    if (!parts || n < 1 || parts->length() < 2 * n) return;
    const jint slots = java::iadd(n, empty);
    if (slots == 0) return;
    const jint d = java::idiv(360, slots);
    const jint cosD = fixedSin(java::iadd(d, 90)), sinD = fixedSin(d);
    jint bx = java::imul(fixedSin(java::iadd(angle, 90)), r);
    jint by = java::imul(fixedSin(angle), r);
    for (jint i = 0; i < n; ++i) {
        if (i > 0) {
            const jlong nx = (static_cast<jlong>(bx) * cosD - static_cast<jlong>(by) * sinD) >> 14;
            const jlong ny = (static_cast<jlong>(by) * cosD + static_cast<jlong>(bx) * sinD) >> 14;
            bx = static_cast<jint>(nx);
            by = static_cast<jint>(ny);
        }
        jint* p = parts->data();
        p[2 * i] = bx >> 14;
        p[2 * i + 1] = by >> 14;
    }
}

void updateType31(cActor* self) {
    if (isRefused(self)) return;
    // Checked every frame, so no state change from outside skips the check.
    const jint n = param(self, 2), empty = param(self, 3);
    if (n < 1 || n > kMaxPieces) return refuseHazard(self, "ball count outside 1-64");
    if (java::iadd(n, empty) == 0) return refuseHazard(self, "ball and empty slot count add up to 0");
    if (self->aiState == 0) self->aiState = 2;
    self->angle = java::irem(java::imul(hf::frameTick(), param(self, 1)), 360);
    if (!self->parts || self->parts->length() < 2 * n) {
        IntArray* p = newIntArray(2 * n);
        self->parts = p;
    }
    computeChainBalls(self->parts, self->angle, param(self, 0), n, empty);
    cActor* h = hero();
    if (!self->box) return;
    const jint w = self->getTypeParam(6), hgt = self->getTypeParam(7);
    for (jint i = 0; i < n; ++i) {
        const jint bx = self->parts->data()[2 * i], by = self->parts->data()[2 * i + 1];
        const jint left = self->posX - w / 2 + bx, top = self->posY - hgt + by;
        cActor::setBox(self->box, left, top, left + w, top + hgt);
        if (h && h->box && cActor::rectsIntersect(self->box, h->box)) {
            playSound(22);
            hz::knockbackHero(h, self, 1, 0);
            break;
        }
    }
}

// --- two-phase flame (32) -------------------------------------------------------------

void updateType32(cActor* self) {
    if (isRefused(self)) return;
    const jint off = param(self, 0), on = param(self, 1);
    if (java::iadd(off, on) == 0) return refuseHazard(self, "off and on times add up to 0");
    if (self->aiState == 0) {
        keepBaseAnim(self);
        self->aiState = 2;
    }
    const jint b = storedBaseAnim(self);
    const jint phase = java::irem(java::iadd(hf::frameTick(), param(self, 2)), java::iadd(off, on));
    self->setAnim(phase < off ? b : b + 1);
    hz::boxFromFrameRect(self);
    if (self->anim == 21 && hf::animTicks(self) < 8) return;
    if (hz::heroMeetsBox(self)) hz::knockbackHero(hero(), self, 1, 0);
}

// --- four-phase trap (40) ----------------------------------------------------------------

void updateType40(cActor* self) {
    if (isRefused(self)) return;
    const jint active = param(self, 0), safe = param(self, 1);
    if (java::iadd(active, safe) == 0) return refuseHazard(self, "active and safe parts add up to 0");
    if (self->aiState == 0) {
        keepBaseAnim(self);
        self->aiState = 2;
    }
    const jint b = storedBaseAnim(self);
    const jint d1 = hz::animDuration(self, b + 1), d3 = hz::animDuration(self, b + 3);
    const jint idle = active - d1 - d3;
    const jint phase = java::irem(java::iadd(hf::frameTick(), param(self, 2)), java::iadd(active, safe));
    bool harmless = false;
    if (phase < safe) {
        setAnimAndSkip(self, b + 2, phase);
        harmless = true;
    } else {
        const jint p = phase - safe;
        if (p < d3) setAnimAndSkip(self, b + 3, p);
        else if (p < d3 + idle) setAnimAndSkip(self, b, p - d3);
        else setAnimAndSkip(self, b + 1, p - d3 - idle);
    }
    hz::boxFromFrameRect(self);
    if (!harmless && hz::heroMeetsBox(self)) hz::knockbackHero(hero(), self, 2, 0);
}

// --- bouncing ball (57) ---------------------------------------------------------------------

jint bounceAxis(jint ox, jint oy) {
    if (!(ox > 0 || oy >= 1)) return 0;
    return ox > oy ? 1 : 2;
}

void updateType57(cActor* self) {
    if (isRefused(self) || world::isAnyScriptActive()) return;
    const jint s = param(self, 0);
    jint* m = motionOf(self);
    switch (self->aiState) {
    case 0: {
        cActor::stopMotion(self);
        setVelocityLimits(self, java::imul(s, 256), java::imul(s, 256));
        m = self->motion->data();
        m[2] = java::imul(s, 256);
        m[3] = java::ineg(java::imul(s, 256));
        // Any rectangle of the level can be the area, the first (index 0)
        // included; without one the ball does not bounce.
        const jint rect = findRectIndex(param(self, 1));
        if (rect >= 0) {
            loadRectRow(rect);
            const jshort* r = ca().rectRow->data();
            if (!self->attackBox) {
                ShortArray* box = newShortArray(4);
                self->attackBox = box;
            }
            cActor::setBox(self->attackBox, r[0], r[1], r[2], r[3]);
        }
        hf::originX(self) = self->posX;
        hf::originY(self) = self->posY;
        self->flags |= 0x20000;
        self->aiState = 3;
        break;
    }
    case 3: {
        if (hz::heroMeetsBox(self)) hz::knockbackHero(hero(), self, 1, 0);
        if (!self->attackBox || !self->box) break;
        const jshort* b = self->box->data();
        const jshort* area = self->attackBox->data();
        const jint ox = m[2] >= 0 ? b[2] - area[2] : area[0] - b[0];
        const jint oy = m[3] >= 0 ? b[3] - area[3] : area[1] - b[1];
        const jint axis = bounceAxis(ox, oy);
        if (axis == 1) m[2] = java::ineg(m[2]);
        else if (axis == 2) m[3] = java::ineg(m[3]);
        break;
    }
    case 42:
        hf::timer(self) -= 1;
        if (hf::timer(self) < 0) {
            m[2] = java::imul(s, 256);
            m[3] = java::ineg(java::imul(s, 256));
            self->flags |= 128;
            self->setAnim(0);
            cActor::moveTo(self, java::ishl(hf::originX(self), 8), java::ishl(hf::originY(self), 8));
            self->aiState = 3;
        }
        break;
    case 43:
        if (self->isAnimDone()) {
            self->aiState = 2;
            self->flags &= ~128;
        }
        break;
    default:
        break;
    }
}

// --- straight projectile (38) ------------------------------------------------------------------

void updateType38(cActor* self) {
    if (isRefused(self)) return;
    if (self->aiState == 0) keepBaseAnim(self);
    const jint b = storedBaseAnim(self);
    if (hf::worldFlags() & 16) {
        self->flags |= 0x20000;
        self->setAnim(b + 1);
        self->type = 3;
        hf::physicsFlags(self) = 0;
        return;
    }
    if (self->aiState == 0) {
        hf::physicsFlags(self) |= 0x1000002;
        setVelocityLimits(self, 25600, 25600);
        jint* m = self->motion->data();
        m[2] = m[3] = 0;
        if (self->anim == 9) m[3] = 4352;
        else if (self->anim == 14) m[2] = 4352;
        else if (self->anim == 19) m[2] = -4352;
        m[0] = m[1] = 0;
        self->aiState = 9;
        return;
    }
    if (self->aiState != 9) return;
    const bool metHero = hz::heroMeetsBox(self);
    if (!metHero && !(ca().collisionResult & (0x100000 | 4))) return;
    cActor::stopMotion(self);
    hz::switchToType3(self, self->anim + 1);
    if (metHero) hz::knockbackHero(hero(), self, 1, 0);
    cActor* target = cg().targetActor;
    if (target && self->parts && self->parts->length() >= 7 && self->parts->data()[6] == 1 && target->parts &&
        target->parts->length() >= 11 && target->parts->data()[10] < 3) {
        target->parts->data()[10] += 1;
        spawnFromTemplate(8, self->posX, self->posY);
    }
}

// --- link mover (46) ----------------------------------------------------------------------------

namespace {

// Shifts every row of the loop through row by (dx, dy): each row once,
// however the next ids run.
void shiftLinkLoop(jint row, jint dx, jint dy) {
    const jint count = ca().linkCount;
    if (!isLinkIndexValid(row) || count <= 0) return;
    BoolArray* seen = newBoolArray(count);
    IntArray* links = ca().links;
    for (jint r = row; isLinkIndexValid(r) && !seen->data()[r];) {
        seen->data()[r] = 1;
        jint* e = links->data() + 5 * r;
        e[0] = java::iadd(e[0], dx);
        e[1] = java::iadd(e[1], dy);
        r = findTableIndex(e[2]);
    }
}

}  // namespace

void updateType46(cActor* self) {
    if (isRefused(self)) return;
    const jint rideId = param(self, 1);
    if (self->aiState == 0) {
        self->linkIndex = findTableIndex(param(self, 0));
        if (rideId != -1 && !self->parts) {
            if (cActor* ride = getActorById(rideId)) {
                IntArray* p = IntArray::fill(newIntArray(2), 2, ride->posX, ride->posY);
                self->parts = p;
            }
        }
        if (self->subtype != 146) hf::physicsFlags(self) = 0x1000004;
        motionOf(self);
        if (isLinkIndexValid(self->linkIndex)) hz::moveToLinkRow(self, self->linkIndex, param(self, 2));
        self->aiState = 2;
    }
    if (self->aiState != 2) return;
    if (rideId != -1 && self->parts && self->parts->length() >= 2) {
        if (cActor* ride = getActorById(rideId)) {
            const jint dx = ride->posX - self->parts->data()[0], dy = ride->posY - self->parts->data()[1];
            if (dx != 0 || dy != 0) {
                cActor::moveBy(self, java::ishl(dx, 8), java::ishl(dy, 8));
                shiftLinkLoop(self->linkIndex, dx, dy);
                self->parts->data()[0] = ride->posX;
                self->parts->data()[1] = ride->posY;
            }
        }
    }
    const bool ended = self->linkIndex == -1;
    if (isLinkIndexValid(self->linkIndex) && hz::isLinkPointAhead(self, self->linkIndex)) {
        self->linkIndex = findTableIndex(ca().links->data()[5 * self->linkIndex + 2]);
        if (self->linkIndex != -1) hz::moveToLinkRow(self, self->linkIndex, param(self, 2));
    }
    if (self->subtype == 4 && hz::tryDefeatByHit(self)) return;
    if (hz::heroMeetsBox(self)) {
        const jint damage = self->subtype == 272 ? param(self, 3) : ended ? 1 : param(self, 3);
        hz::knockbackHero(hero(), self, damage, damage >= hz::gameVariable(9) ? 1 : 0);
    }
    if (self->subtype == 147 && self->anim == 1 && self->frame == 0) hf::quakeFrames() = 1;
    if (self->subtype == 149) {
        cActor::updateBoxFromFrameBounds(self);
        self->facing = self->motion && self->motion->data()[2] >= 1 ? 1 : 0;
    }
}

// --- gaze creature (47) ---------------------------------------------------------------------------

void updateType47(cActor* self) {
    if (isRefused(self)) return;
    jint* m = motionOf(self);
    if (self->aiState == 0) {
        setVelocityLimits(self, 1000000, 1000000);
        self->aiState = 2;
    }
    m = self->motion->data();
    self->setAttackBox(param(self, 2), param(self, 3), param(self, 0), param(self, 1));
    const jint a = java::idiv(java::imul(param(self, 4), 256), 10);
    const jlong sq = static_cast<jlong>(m[2]) * m[2] + static_cast<jlong>(m[3]) * m[3];
    const jint speed = static_cast<jint>(isqrt(sq));
    if (speed > 1024) {
        m[2] = static_cast<jint>((static_cast<jlong>(m[2]) << 10) / speed);
        m[3] = static_cast<jint>((static_cast<jlong>(m[3]) << 10) / speed);
    }
    if (m[2] != 0) self->facing = m[2] > 0 ? 1 : 0;
    cActor* h = hero();
    const bool backTurned =
        h && ((h->facing == 0 && h->posX < self->posX) || (h->facing == 1 && h->posX > self->posX));
    if (h && !backTurned && hz::heroMeetsAttackBox(self)) {
        self->setAnim(0);
        const jint dx = java::imul(h->posX - self->posX, 256), dy = java::imul(h->posY - self->posY, 256);
        const jint len = static_cast<jint>(isqrt(static_cast<jlong>(dx) * dx + static_cast<jlong>(dy) * dy));
        if (len > 0) {
            m[0] = static_cast<jint>(static_cast<jlong>(dx) * a / len);
            m[1] = static_cast<jint>(static_cast<jlong>(dy) * a / len);
        } else {
            m[0] = m[1] = 0;
        }
    } else {
        self->setAnim(1);
        m[0] = m[1] = m[2] = m[3] = 0;
    }
    if (hz::heroMeetsBox(self)) hz::knockbackHero(h, self, 1, 0);
}

// --- lobbed projectile (49) -------------------------------------------------------------------------

void updateType49(cActor* self) {
    if (isRefused(self)) return;
    if (self->sprite) cActor::updateBoxFromSprite(self);
    const bool kind217 = self->subtype == 217;
    if (kind217 && self->aiState != 0 && self->aiState != 1 && self->aiState != 21 &&
        (hf::contactFlags(self) & 0x2000)) {
        hf::contactFlags(self) &= ~0x2000;
        playSound(27);
        self->aiState = 21;
    }
    IntArray* path = self->parts;
    if (!path || path->length() < 8) return refuseHazard(self, "no launch path");
    jint* m = motionOf(self);
    switch (self->aiState) {
    case 0:
        self->setAnim(1);
        self->angle = java::iadd(atan2(path->data()[2], path->data()[3]), 90);
        hf::physicsFlags(self) |= 0x204;
        self->aiState = 2;
        break;
    case 2:
        if (self->isAnimDone()) {
            self->setAnim(0);
            self->aiState = 9;
            cActor::moveTo(self, path->data()[0], path->data()[1]);
            m = self->motion->data();
            const jint* p = path->data();
            m[2] = p[2];
            m[3] = p[3];
            m[0] = p[4];
            m[1] = p[5];
        }
        break;
    case 9:
        if (!kind217) self->angle = java::iadd(atan2(m[2], m[3]), 90);
        if (hz::heroMeetsBox(self)) hz::knockbackHero(hero(), self, 1, 0);
        m = self->motion->data();
        if (java::isub(java::imul(self->posY, 256), path->data()[7]) >= 1 && m[3] >= 1) {
            if (!kind217) self->angle = java::iadd(self->angle, 180);
            cActor::stopMotion(self);
            hz::switchToType3(self, 2);
        }
        break;
    case 21:
        cActor::stopMotion(self);
        hz::switchToType3(self, 16);
        break;
    default:
        break;
    }
}

}  // namespace game::behaviour

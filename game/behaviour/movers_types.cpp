// Small per-type routines: the carrying platform (9), the swinging holder
// (41), the set-up-only marker (50), the slow-down pickup (65), the timed
// animation (72), the rising deadly zone (76) and the spinner (101).
//
// Invariants: the needs table guarantees params of 10 shorts for type 50,
// 5 for types 76 and 101 and 1 for type 72; a routine that needs a motion
// state creates it first; a missing hero leaves every routine idle.
#include "game/behaviour/movers.h"

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/pool.h"
#include "game/behaviour/death.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/world/body.h"
#include "game/world/hero/seam.h"
#include "game/world/scripts.h"
#include "runtime/jint.h"

namespace game::behaviour {

namespace {

cActor* hero() { return cg().hero; }
bool boxesMeet(ShortArray* a, ShortArray* b) { return a && b && cActor::rectsIntersect(a, b); }

void placeAt(cActor* a, jint x, jint y) {
    if (a->motion) cActor::moveTo(a, java::imul(x, 256), java::imul(y, 256));
    else cActor::moveBy(a, java::imul(java::isub(x, a->posX), 256), java::imul(java::isub(y, a->posY), 256));
}

}  // namespace

void updateType9(cActor* self) {
    if (!self) return;
    switch (self->aiState) {
    case 0:
        world::snapToGround(self);
        if (!self->motion) self->allocMotionState();
        baseAnim(self) = self->anim;
        self->physicsFlags = 0x1100200;
        self->aiState = 2;
        break;
    case 2: {
        if (world::isScriptTargetId(self->uniqueId)) break;
        cActor* h = hero();
        bool taken = false;
        if (h && h->posY <= self->posY && h->anim != 7 && boxesMeet(h->box, self->box) &&
            (!h->motion || h->motion->data()[3] >= 0)) {
            IntArray* offsets = rideOffsets();
            if (self->subtype == 185 && offsets && offsets->length() > 0) {
                placeAt(h, h->posX, java::iadd(self->posY, offsets->data()[0]));
                carryRider(self, h, offsets->length());
            } else {
                carryRider(self, h, 0);
            }
            taken = true;
        }
        cActor* m = mountActor();
        if (!taken && m && m->type == 2 && m->getTypeParam(12) == 4) carryRider(self, m, 0);
        break;
    }
    case 27:
        if (!self->motion) self->allocMotionState();
        self->physicsFlags |= 1;
        self->aiState = 28;
        break;
    case 28:
        if (collisionResult() & 0x100000) {
            cActor::stopMotion(self);
            cActor::moveBy(self, 0, -256);
            self->physicsFlags &= ~1;
            self->aiState = 2;
        }
        break;
    default: break;
    }
    if (self->anim == baseAnim(self) + 1 && self->isAnimDone()) self->setAnim(baseAnim(self));
}

void updateType41(cActor* self) {
    if (!self) return;
    counter(self) = java::isub(counter(self), 1);
    if (heroState() == 30 && heroHoldActor() == self) return;
    if (self->angle > 0) self->angle -= isqrt32(self->angle);
    else if (self->angle < 0) self->angle += isqrt32(java::ineg(self->angle));
}

void updateType50(cActor* self) {
    if (!self || self->aiState != 0) return;
    self->aiState = 2;
    IntArray* p = newIntArray(2);
    p->data()[1] = self->getParamOr(9);
    self->parts = p;
    hero::setMappedAnimThen(self, 0, 0, 0);
    if (self->box)
        cActor::setBox(self->box, self->posX - 25, self->posY - 25, self->posX + 25, self->posY + 25);
}

void updateType65(cActor* self) {
    if (!self) return;
    switch (self->aiState) {
    case 0: self->aiState = 2; break;
    case 2:
        if (hero() && boxesMeet(self->box, hero()->box)) {
            runSpeedFactor() = 153;
            heroSpeedTimer() = 128;
            self->aiState = 6;
        }
        break;
    case 6: removeActor(self, true); break;
    default: break;
    }
}

void updateType72(cActor* self) {
    if (!self) return;
    const jint p = self->getParamOr(0);
    switch (self->aiState) {
    case 0: self->aiState = 2; break;
    case 6:
        self->setAnim(2);
        counter(self) = java::iadd(counter(self), 1);
        if (p != -1 && counter(self) == java::idiv(java::iadd(java::imul(p, 16), 500), 1000)) {
            self->setAnim(0);
            self->aiState = 2;
        }
        break;
    default: break;
    }
}

void updateType76(cActor* self) {
    if (!self) return;
    const jint w = self->getParamOr(0), dy = self->getParamOr(1), dx = self->getParamOr(2);
    const jint top = self->getParamOr(3), rise = self->getParamOr(4);
    switch (self->aiState) {
    case 0:
        originX(self) = java::iadd(self->posX, dx);
        spanRight(self) = java::iadd(originX(self), w);
        originY(self) = java::iadd(java::iadd(self->posY, dy), top);
        placeAt(self, originX(self), originY(self));
        if (self->box) cActor::setBox(self->box, originX(self), self->posY, spanRight(self), self->posY);
        self->aiState = 6;
        break;
    case 6: {
        if (self->box) cActor::setBox(self->box, originX(self), self->posY, spanRight(self), originY(self));
        cActor* h = hero();
        if (h && boxesMeet(self->box, h->box)) {
            h->physicsFlags &= ~1;
            cActor::stopMotion(h);
            kill(h);
        } else if (self->posY > java::iadd(originY(self), top)) {
            cActor::moveBy(self, 0, java::imul(java::ineg(rise), 256));
        }
        break;
    }
    default: break;
    }
}

void updateType101(cActor* self) {
    if (!self) return;
    self->setBoxAround();
    if (carried(self)) return;
    jint s = java::isub(self->getParamOr(4), spinDecay());
    if (s < 0) s = 0;
    if (s > 0) self->angle = java::iadd(self->angle, java::imul(spinStep(), s));
    self->setParam(4, s);
}

}  // namespace game::behaviour

// Small type behaviours: a contact hazard (87), a hazard with a timed
// attack cycle (89), a delayed trap (79), a projectile that flies out and
// back (99) and the state switch of a boss helper (103), each a small
// machine on aiState.
//
// Invariants: params of at least 4 shorts for types 79 and 89 (the needs
// table), parts of at least 2 ints for type 103; nothing here reads the
// boss pattern outside its table.
#include "game/behaviour/movers.h"

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/helpers.h"
#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/fields_enemies.h"
#include "game/behaviour/linkpath.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "runtime/jint.h"

namespace game::behaviour {

namespace {

cActor* hero() { return cg().hero; }
bool boxesMeet(ShortArray* a, ShortArray* b) { return a && b && cActor::rectsIntersect(a, b); }
bool bodyMeetsHero(cActor* a) { return hero() && boxesMeet(hero()->box, a->box); }

jint bossPatternAt(jint i) {
    IntArray* p = bossPattern();
    return p && i >= 0 && i < p->length() ? p->data()[i] : -1;
}

}  // namespace

void updateType87(cActor* self) {
    if (!self) return;
    switch (self->aiState) {
    case 0:
        cActor::stopMotion(self);
        self->aiState = 2;
        break;
    case 2:
        if (bodyMeetsHero(self)) contactDamageFrom(self, 1);
        break;
    default: break;
    }
}

void updateType89(cActor* self) {
    if (!self) return;
    switch (self->aiState) {
    case 0:
        cActor::stopMotion(self);
        self->setAttackBox(self->getParamOr(2), self->getParamOr(3), self->getParamOr(0), self->getParamOr(1));
        self->aiState = 2;
        break;
    case 2: self->aiState = 6; break;
    case 6: {
        const jint c = cycleTicks(self) = java::iadd(cycleTicks(self), 1);
        if (c == 0) self->setAnim(2);
        else if (c >= 9 && c <= 12) {
            if (bodyMeetsHero(self)) contactDamageFrom(self, 1);
        } else if (c == 13) self->setAnim(3);
        else if (c == 18) self->setAnim(1);
        else if (c == 55) cycleTicks(self) = -1;
        break;
    }
    default: break;
    }
}

void updateType79(cActor* self) {
    if (!self) return;
    switch (self->aiState) {
    case 0:
        self->timer = self->getParamOr(0);
        self->aiState = 2;
        break;
    case 2:
        if (self->timer > 0) self->timer -= 1;
        if (self->timer <= 0) {
            self->setAnim(12);
            if (isNearView(self)) playSound(14);
            self->aiState = 6;
        }
        break;
    case 6: {
        if (self->anim == 12 && self->isAnimDone()) {
            self->aiState = 0;
            self->setAnim(11);
            return;
        }
        cActor::updateBoxFromSprite(self);
        cActor* h = hero();
        if (h && h->anim != 7 && partsIntersect(self, h, true, true)) knockbackHero(h, self, 1, 0);
        break;
    }
    default: break;
    }
}

void updateType99(cActor* self) {
    if (!self || self->aiState == 30) return;
    self->setAnim(94);
    cActor* h = hero();
    if (h && boxesMeet(self->box, h->box)) knockbackHero(h, self, 1, 0);
    if (self->timer <= counter(self)) {
        if (counter(self) != 0) {
            if (self->motion) self->motion->data()[2] = java::ineg(self->motion->data()[2]);
            counter(self) = 0;
        } else {
            if (self->motion) self->motion->data()[2] = 0;
            self->aiState = 30;
            if (cActor* t = cg().targetActor) {
                ObjectArray* l = linked(t);
                if (l && l->length() > 0 && l->data()[0] == self) ObjectArray::set(l, 0, nullptr);
            }
            removeActor(self, true);
            return;
        }
    }
    self->timer = java::isub(self->timer, 1);
}

void updateType103(cActor* self) {
    if (!self) return;
    switch (self->aiState) {
    case 0:
        cActor::stopMotion(self);
        self->timer = 0;
        self->aiState = 6;
        break;
    case 3: {
        if (arriveAt(self, self->getPart(0), self->getPart(1))) {
            cActor* t = cg().targetActor;
            if (!t || !t->parts || t->parts->length() < 3 || t->parts->data()[2] < 1) {
                removeActor(self, true);
                return;
            }
            self->aiState = nextState(self);
        }
        const jint vx = self->motion ? self->motion->data()[2] : 0;
        if (vx < 0) self->facing = 0;
        else if (vx > 0) self->facing = 1;
        break;
    }
    case 6: {
        const jint p = bossPatternAt(bossStep());
        if (p == 8) {
            step(self) = 0;
            self->aiState = 20;
        } else if (p == 20) {
            step(self) = 0;
            self->aiState = 10;
        }
        break;
    }
    case 9: bossSweep(self); break;
    case 10: bossChargeTarget(self); break;
    case 20: bossCharge(self); break;
    default: break;
    }
}

}  // namespace game::behaviour

// The three-phase melee boss (type 97): idle, walk back, close attacks
// A, A, B, the distance attack of its damage phase (throw series, charge or
// both in turn), recovery windows in which it can be hit, hit reactions and
// the defeat that starts its level script once.
//
// Invariants: every animation but the defeat pair is offset by the damage
// phase parts[9] (0..2), which only ever rises by one per phase step; the
// projectile it watches is linked[0] and a missing one counts as back.
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"

namespace game::behaviour {

using namespace bossutil;

namespace {

bool projectileOut(cActor* self) {
    cActor* p = linkedAt(self, 0);
    return p && p->aiState != 30;
}

// Phase 0 -> 1 at 12 hit points or less, 1 -> 2 at 6 or less; one step at most.
void phaseStep(cActor* self) {
    jint phase = part(self, 9), hp = part(self, 2);
    jint next = phase;
    if (phase == 0 && hp <= 12) next = 1;
    else if (phase == 1 && hp <= 6) next = 2;
    if (next != phase) {
        setPart(self, 9, next);
        setPart(self, 10, 0);
    }
}

void contactType97(cActor* self, cActor* h) {
    if (!bodyMeetsHero(self)) return;
    jint s = self->aiState;
    if (s >= 48 && s <= 51) {
        if (!isHeroInvulnerable()) knockback(h, h->facing == 1 ? 1 : -1, 9, 512, 4352, 0, 512);
        knockbackHero(h, self, 1, 0);
        return;
    }
    if (h->posY > ShortArray::at(self->box, 1)) return;  // not standing on it
    jint d;
    if (h->posX <= limit(0) + 36) d = 1;
    else if (h->posX >= limit(2) - 36) d = -1;
    else d = h->posX > self->posX ? 1 : -1;
    knockback(h, d, 16, 1536, 4352, 0, 512);
}

void throwProjectile(cActor* self) {
    jint px = ShortArray::at(self->box, self->facing == 0 ? 0 : 2);
    cActor* p = spawnFromTemplate(251, px, self->posY + 20);
    if (!p) return;  // pool full: no projectile, the recovery goes on
    p->aiState = 2;
    limitsX(p, -1792, 1792);
    cActor::setFacing(p, self->facing);
    setVx(p, self->facing == 1 ? 1792 : -1792);
    timer(p) = 71;
    counter(p) = 35;
    setLinkedAt(self, 0, p);
}

// State 47 ended: the next state and its animation.
void endLeadIn(cActor* self) {
    self->aiState = nextState(self);
    jint k = getAnimForState(self);
    if (k >= 0) setAnimOffset(self, k);
    if (self->aiState == 45) timer(self) = 48;
}

}  // namespace

void placeBodyBox(cActor* self) {
    if (!self->box) self->box = newShortArray(4);
    jint x = self->posX, y = self->posY;
    switch (self->aiState) {
    case 48:
        if (self->facing == 1) cActor::setBox(self->box, x - 20, y - 70, x + 50, y);
        else cActor::setBox(self->box, x - 50, y - 70, x + 20, y);
        break;
    case 49:
    case 50:
        if (self->facing == 1) cActor::setBox(self->box, x - 26, y - 90, x + 94, y);
        else cActor::setBox(self->box, x - 94, y - 90, x + 26, y);
        break;
    default: cActor::setBox(self->box, x - 34, y - 90, x + 34, y); break;
    }
}

void updateType97(cActor* self) {
    cActor* h = hero();
    if (!h) return;
    if (world::isScriptTargetId(self->uniqueId)) return;
    lookMode() = self->aiState == 30 ? 66 : (self->posX > h->posX ? 1 : -1);
    self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
    contactType97(self, h);
    timer(self) -= 1;

    bool placeBox = true;
    switch (self->aiState) {
    case 0:
        targetActor() = self;
        physicsFlags(self) = 0x1000006;
        limitsX(self, -3072, 3072);
        setPart(self, 9, 0);
        cActor::setFacing(self, self->posX < h->posX ? 1 : 0);
        enterPhase45(self);
        timer(self) = 0;
        counter(self) = 0;
        counterLimit(self) = 0;
        placeBox = false;
        break;
    case 1:
        if (self->anim != 92 || !self->isAnimDone()) {
            self->setAnim(92);
            break;
        }
        self->setAnim(93);
        self->aiState = 30;
        if (cActor* p = linkedAt(self, 0)) {
            timer(p) = 0;
            counter(p) = 0;
        }
        if (world::isAnyScriptActive()) placeBox = false;
        else startDefeatScript(param(self, 5));
        break;
    case 45: {
        const jint cx = cg().cameraX;
        if (self->posX > cx + 400 || self->posX < cx - 400) {
            self->aiState = 46;
            counter(self) = 7;
            cActor::setFacing(self, self->posX > cx + 400 ? 0 : 1);
            break;
        }
        cActor::setFacing(self, self->posX < h->posX ? 1 : 0);
        setAnimOffset(self, 33);
        if (!(ca().collisionResult & 0x100000)) setVy(self, 9216);
        if (boxesMeet(self->attackBox, h->box)) {
            if (counterLimit(self) >= 2) {
                enterPhase47Then50(self);
                counterLimit(self) = 0;
            } else {
                enterPhase47Then49(self);
                counterLimit(self) += 1;
            }
        } else if (timer(self) < 0) {
            updatePartsCycle(self);
        }
        break;
    }
    case 46:
        if (counter(self) > 0) {
            setVx(self, self->facing == 1 ? 1536 : -1536);
            setAnimOffset(self, 36);
            counter(self) -= 1;
        } else {
            setVx(self, 0);
            self->aiState = 45;
        }
        break;
    case 47:
        if (self->isAnimDone()) endLeadIn(self);
        break;
    case 48:
        if (counter(self) > 0) {
            jint l = ShortArray::at(self->box, 0), r = ShortArray::at(self->box, 2);
            if ((l <= limit(0) && self->facing == 0) || (r >= limit(2) && self->facing == 1)) {
                cActor::setFacing(self, self->facing ^ 1);
                counter(self) -= 1;
                counterLimit(self) = 6;
                quakeFrames() = 4;
            }
            if (counterLimit(self) > 0) {
                setVx(self, 0);
                counterLimit(self) -= 1;
            } else {
                setVx(self, self->facing == 1 ? 3072 : -3072);
            }
            setAnimOffset(self, 75);
        } else {
            setVx(self, 0);
            enterPhase52(self, 78, 45);
        }
        break;
    case 49:
        setAnimOffset(self, 42);
        if (self->isAnimDone()) enterPhase45(self);
        break;
    case 50:
        setAnimOffset(self, 48);
        if (self->isAnimDone()) enterPhase52(self, 51, 45);
        break;
    case 51:
        if (self->isAnimDone()) {
            counter(self) -= 1;
            enterPhase52(self, 60, counter(self) > 0 ? 57 : 45);
            throwProjectile(self);
        }
        break;
    case 52:
        if (!self->isAnimDone()) {
            takeHitType97(self, 1);
        } else {
            self->aiState = nextState(self);
            if (self->aiState == 45) timer(self) = 48;
        }
        break;
    case 53:
        if (counter(self) > 1) takeHitType97(self, 0);
        if (self->aiState == 53 && self->isAnimDone()) {
            phaseStep(self);
            self->aiState = 54;
            setAnimOffset(self, 63);
        }
        break;
    case 54:
        if (self->isAnimDone()) enterPhase45(self);
        break;
    case 55:
        if (counter(self) > 1) takeHitType97(self, 0);
        if (self->aiState == 55 && self->isAnimDone()) {
            phaseStep(self);
            if (projectileOut(self)) {
                self->aiState = 56;
                setAnimOffset(self, 66);
            } else {
                enterPhase45(self);
            }
        }
        break;
    case 56:
        if (projectileOut(self)) {
            if (self->isAnimDone()) setAnimOffset(self, 69);
        } else {
            enterPhase45(self);
        }
        break;
    case 57: enterPhase51(self, 0); break;
    default: break;
    }
    if (placeBox) placeBodyBox(self);
}

}  // namespace game::behaviour

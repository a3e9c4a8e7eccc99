// The second pattern boss's moves (type 103's states 20, 10 and 9): the
// charge that stops beside the hero and drops a shot, the same charge
// repeated while the fight's target still has hit points, and the sweep
// to one side that drops a minion.
//
// Invariants: each move is a step machine on step (0 when the boss routine
// starts it) and ends with AI state 6; a target motion saves the state as
// the next state and hands the move to state 3 until arrival; spawns that
// yield nothing are skipped (the watched minion is left empty).
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"

namespace game::behaviour {

using namespace bossutil;

namespace {

void startCharge(cActor* self) {
    if (!self->motion) self->allocMotionState();
    setVx(self, self->facing == 1 ? 2048 : -2048);
    setVy(self, 0);
    setAx(self, 0);
    setAy(self, 0);
    limitsX(self, -100000, 100000);
    limitsY(self, -100000, 100000);
}

// Facing 0 within 24..32 px left of the hero, facing 1 within 24..32 px right.
bool besideHero(cActor* self) {
    cActor* h = hero();
    if (!h) return false;
    jint x = self->posX, hx = h->posX;
    if (self->facing == 0) return hx - 32 <= x && x <= hx - 24;
    return hx + 24 <= x && x <= hx + 32;
}

cActor* dropShot(cActor* self, jint templ, jint dx, jint anim, bool withFacing) {
    jint x = self->facing == 1 ? self->posX - dx : self->posX + dx;
    cActor* s = spawnActorAt(templ, x, self->posY + 45, anim, 0x4000A0, withFacing && self->facing == 1);
    if (s) cActor::attachEffect(s, 62, 11, 0);
    return s;
}

void targetMotion(cActor* self, jint vxv, jint tx, jint ty, bool steer) {
    setPartsMotionBoss(self, vxv, 0, 0, 0, tx, ty);
    if (steer) approachSteerX(self);
    nextState(self) = self->aiState;
    self->aiState = 3;
}

}  // namespace

void bossCharge(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnimThen(1, 2, false);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        startCharge(self);
        step(self) = 2;
        break;
    case 2:
        if (self->posX < limit(0) + 30) {
            setVx(self, 2048);
            cActor::setFacing(self, 1);
        } else if (self->posX > limit(3) - 30) {
            // The fourth limit (the bottom) as the turning line, as the
            // arena data place it.
            setVx(self, -2048);
            cActor::setFacing(self, 0);
        }
        if (besideHero(self)) {
            setVx(self, 0);
            self->setAnim(6);
            step(self) = 3;
        }
        break;
    case 3:
        if (!self->isAnimDone()) break;
        playSound(22);
        dropShot(self, 257, 30, 7, true);
        self->setAnim(2);
        step(self) = 4;
        targetMotion(self, 2048, limit(0) + 170, self->posY, true);
        break;
    case 4:
        self->setAnim(3);
        step(self) = 5;
        [[fallthrough]];
    case 5:
        if (!self->isAnimDone()) break;
        self->setAnim(0);
        self->aiState = 6;
        cActor::setFacing(self, 0);
        break;
    default: break;
    }
}

void bossChargeTarget(cActor* self) {
    cActor* t = targetActor();
    if (!t || part(t, 2) <= 0) return;
    switch (step(self)) {
    case 0:
        self->setAnimThen(1, 2, false);
        stepTimer(self) = 0;
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        startCharge(self);
        step(self) = 2;
        break;
    case 2:
        if (self->posX < limit(0) + 30 || self->posX > limit(3) - 30) {
            setVx(self, -vx(self));
            cActor::setFacing(self, self->facing ^ 1);
        }
        stepTimer(self) -= 1;
        if (stepTimer(self) >= 1) break;
        if (besideHero(self)) {
            stepTimer(self) = 60;
            setVx(self, 0);
            self->setAnim(6);
            step(self) = 3;
        }
        break;
    case 3:
        if (!self->isAnimDone()) break;
        playSound(22);
        dropShot(self, 257, 30, 7, true);
        setVx(self, self->facing == 1 ? 2048 : -2048);
        self->setAnim(2);
        step(self) = 2;
        break;
    default: break;
    }
}

void bossSweep(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnimThen(1, 2, false);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        step(self) = 2;
        targetMotion(self, bossSide() ? 2048 : -2048, bossSide() ? limit(0) + 758 : limit(0) + 42, self->posY,
                     false);
        break;
    case 2: {
        cActor* h = hero();
        cActor::setFacing(self, h && self->posX <= h->posX ? 1 : 0);
        self->setAnim(6);
        setVx(self, 0);
        step(self) = 3;
        break;
    }
    case 3: step(self) = 4; break;
    case 4:
        if (!self->isAnimDone()) break;
        self->setAnim(0);
        cg().bossMinion = nullptr;
        cg().bossMinion = dropShot(self, 263, 26, 5, true);
        step(self) = 5;
        break;
    case 5:
        self->setAnim(2);
        step(self) = 6;
        break;
    case 6:
        if (!self->isAnimDone()) break;
        step(self) = 7;
        targetMotion(self, bossSide() ? 256 : 512, limit(0) + 170, bossGroundY(), true);
        break;
    case 7:
        self->setAnim(3);
        step(self) = 8;
        [[fallthrough]];
    case 8:
        if (!self->isAnimDone()) break;
        self->setAnim(0);
        self->aiState = 6;
        cActor::setFacing(self, 0);
        break;
    default: break;
    }
}

}  // namespace game::behaviour

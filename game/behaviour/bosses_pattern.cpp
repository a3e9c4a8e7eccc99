// The pattern boss (type 102): a move machine driven by the 68 codes of
// the boss pattern at bossStep, its pattern steps (jumps, crossings,
// waits), the moves of codes 3, 16 and 19, the summons and the throw, and
// the hits it takes only in the codes that open it.
//
// Invariants: the pattern is never read outside its table (past the end is
// "no code": the boss stands and waits); every move ends the same way
// (animation 11, AI state 6, bossStep + 1); a summon or throw whose spawn
// yields nothing leaves the watched static empty and the wait for it ends
// at once; code 19/21 speeds are computed in double, in the written order,
// and truncated.
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"

#include "game/flow/sound.h"

namespace game::behaviour {

using namespace bossutil;

namespace {

jint currentCode() { return mordleCode(bossStep()); }

void endMove(cActor* self) {
    self->setAnim(11);
    self->aiState = 6;
    bossStep() += 1;
}

// (target - x) x 0.1 x 256 in double, truncated toward zero.
jint crossingSpeed(jint target, jint x) {
    double v = static_cast<double>(target - x) * 0.1 * 256.0;
    return static_cast<jint>(v);
}

jint hitsTaken(cActor* self) { return getSubtypeClass(self->subtype) - part(self, 2); }

bool minionPresent(cActor* a) { return a && isLive(a) && a->aiState != 30; }

}  // namespace

void setPartsMotionBoss(cActor* self, jint vx, jint vy, jint ax, jint ay, jint tx, jint ty) {
    if (!self->motion) self->allocMotionState();
    setVx(self, vx);
    setVy(self, vy);
    setAx(self, ax);
    setAy(self, ay);
    limitsX(self, -100000, 100000);
    limitsY(self, -100000, 100000);
    setPart(self, 0, java::ishl(tx, 8));
    setPart(self, 1, java::ishl(ty, 8));
}

void dropToGroundType102(cActor* self) {
    cActor::setFacing(self, 0);
    cActor::stopMotion(self);
    timer(self) = 0;
    bossCounter() = mordleCode(2);
    bossFloorY() = world::scanTileColumn(self, self->posX, self->posY, 8);
    self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
    cg().currentScriptId = world::findScriptById(param(self, 5));
    targetActor() = self;
}

void startBossFight(cActor* self) {
    cg().bossMinionB = nullptr;
    bossStep() = 1;
    self->flags |= 2;
    if (cActor* h = hero()) h->flags |= 2;
    cActor* arena = findActiveType8Actor();
    cg().arenaActor = arena;
    if (arena && arena->box) {
        bossGroundY() = arena->posY + ShortArray::at(arena->box, 1) - ShortArray::at(arena->box, 3);
        if (!self->motion) self->allocMotionState();
        cActor::moveTo(self, java::ishl(self->posX, 8), java::ishl(bossGroundY(), 8));
    }
}

void bossTakeHit(cActor* self, jint code) {
    cActor* h = hero();
    if (heroAttackMeets(self) && partnerMode() > 1) {
        partnerMode() = 1;
        partnerActor() = self;
    }
    const jint s = self->aiState;
    bool canHurt = code == 3 || code == 10 || code == 17 || code == 23 || (code == 14 && s == 4);
    ca().bossShielded = !(canHurt || code == 6 || code == 9 || code == 11);
    // A defeated boss takes no further hits: its defeat runs once.
    if (part(self, 2) < 1) canHurt = false;
    if (!canHurt) {
        if (contactFlags(self) & 0x200000) {
            contactFlags(self) &= ~0x200000;
            if (h) knockbackWeak(h, getDirectionToHero(self));
        }
        clearHitFlags(self);
        return;
    }
    jint n = applyPendingHits(self, true);
    if (n <= 0) return;
    if (h) cActor::setFacing(self, self->posX < h->posX ? 1 : 0);
    if (self->decrementPartsCounter(n)) {
        self->setAnimThen(29, 50, false);
        playSound(16);
        self->aiState = 21;
        return;
    }
    playSound(18);
    if (code == 14) {
        self->setAnimThen(29, 50, false);
        self->aiState = 42;
        step(self) = 0;
    } else if (bossStep() < 37) {
        self->setAnim(27);
        // On to the next code 4 (at least one entry), never past the table.
        do {
            bossStep() += 1;
        } while (bossStep() < mordleLength() && mordleCode(bossStep()) != 4);
        self->aiState = 21;
    } else {
        self->setAnimThen(27, 11, false);
    }
}

// --- pattern steps -----------------------------------------------------------

void bossJump(cActor* self, jint vxv, jint vyv, jint c, jint gravity) {
    const jint code = currentCode();
    cActor* arena = cg().arenaActor;
    switch (step(self)) {
    case 0:
        self->setAnim(33);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        setPartsMotionBoss(self, vxv, vyv, c, gravity, -1, -1);
        cActor::setFacing(self, vxv >= 1 ? 1 : 0);
        self->setAnim(34);
        step(self) = 2;
        break;
    case 2:
        if (vy(self) < 0) break;
        self->setAnim(35);
        step(self) = 3;
        if (code == 4) {
            if (arena) arena->layer = 10;
            self->layer = 9;
        } else if (code == 2) {
            if (arena) arena->layer = 9;
            self->layer = 10;
        }
        break;
    case 3: {
        bool land = false;
        if (code == 2) {
            const bool reached = self->posY >= bossFloorY();
            // At the floor line the boss is held 5 px above it, landing
            // only where it meets the platform.
            if (reached && bossFloorY() != 0)
                cActor::moveTo(self, java::ishl(self->posX, 8), java::ishl(java::isub(bossFloorY(), 5), 8));
            if (reached && arena && boxesMeet(self->box, arena->box)) {
                cActor::moveTo(self, java::ishl(self->posX, 8), java::ishl(bossGroundY(), 8));
                land = true;
            }
        } else if (code == 4) {
            land = true;
        }
        if (land) {
            cActor::stopMotion(self);
            cActor* h = hero();
            cActor::setFacing(self, h && self->posX > h->posX ? 0 : 1);
            self->setAnim(36);
            step(self) = 4;
        }
        break;
    }
    case 4:
        if (self->isAnimDone()) endMove(self);
        break;
    default: break;
    }
}

void bossMoveCode12(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnim(20);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        self->setAnim(21);
        step(self) = 2;
        break;
    case 2:
        if (!self->isAnimDone()) break;
        bossCounter() = 0;
        cg().bossIntroTicks = 0;
        endMove(self);
        break;
    default: break;
    }
}

void bossMoveCode10(cActor* self) {
    if (step(self) == 0) {
        self->setAnim(45);
        counter(self) = currentCode() == 23 ? 20 : 32;
        step(self) = 1;
    } else if (step(self) == 1) {
        counter(self) -= 1;
        if (counter(self) < 0) endMove(self);
    }
}

void bossMoveCode21(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnim(16);
        step(self) = 1;
        break;
    case 1: {
        if (!self->isAnimDone()) break;
        jint target = bossSide() ? limit(2) - 140 : limit(0) + 140;
        setPartsMotionBoss(self, crossingSpeed(target, self->posX), 0, 0, 0, target, self->posY);
        self->setAnim(17);
        step(self) = 2;
        break;
    }
    case 2:
        if (cActor::approachLimit(self, part(self, 0), 2, 4, true)) {
            bossSide() = !bossSide();
            cActor::stopMotion(self);
            self->setAnim(18);
            step(self) = 3;
        }
        break;
    case 3:
        if (!self->isAnimDone()) break;
        step(self) = 0;
        endMove(self);
        break;
    default: break;
    }
}

void bossFinishCode42(cActor* self) {
    if (step(self) == 0) {
        if (bossCounter() < bossMaskCount()) {
            bossCounter() += 1;
            return;
        }
        self->setAnim(51);
        step(self) = 1;
    } else if (step(self) == 1) {
        if (!self->isAnimDone()) return;
        endMove(self);
        step(self) = 0;
    }
}

void bossWaitCode14(cActor* self) {
    if (step(self) == 0) {
        if (bossCounter() < bossMaskCount()) {
            bossCounter() += 1;
            return;
        }
        step(self) = 1;
    } else if (step(self) == 1) {
        self->setAnim(11);
        self->aiState = 6;
        // Skip to the next code 16; the walk stops at the table's end.
        do {
            bossStep() += 1;
        } while (bossStep() < mordleLength() && mordleCode(bossStep()) != 16);
        step(self) = 0;
    }
}

void bossMoveCode3(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnimThen(13, 14, false);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        spawnActorAt(258, self->facing == 1 ? self->posX + 35 : self->posX - 35, self->posY - 24, 40, 0x4000A0,
                     self->facing == 1);
        step(self) = 2;
        break;
    case 2:
        self->setAnim(15);
        step(self) = 3;
        break;
    case 3:
        self->setAnim(11);
        self->aiState = 6;
        bossStep() += 1;
        break;
    default: break;
    }
}

void bossMoveCode16(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnim(20);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        self->setAnim(22);
        step(self) = 2;
        break;
    case 2: {
        if (!self->isAnimDone()) break;
        IntArray* offsets = mordle().valueTriple;
        jint k = random(3);
        jint dx = offsets && k >= 0 && k < offsets->length() ? offsets->data()[k] : 0;
        spawnActorAt(262, limit(0) + dx, bossFloorY(), 46, 0x4000A0, self->facing == 1);
        cg().bossIntroTicks = 0;
        endMove(self);
        break;
    }
    default: break;
    }
}

void bossMoveToSide(cActor* self) {
    cActor* h = hero();
    switch (step(self)) {
    case 0:
        self->setAnim(16);
        step(self) = 1;
        break;
    case 1: {
        if (!self->isAnimDone()) break;
        jint target = limit(0) + 140;
        setPartsMotionBoss(self, crossingSpeed(target, self->posX), 0, 0, 0, target, self->posY);
        bossSide() = !bossSide();
        self->setAnim(17);
        step(self) = 2;
        break;
    }
    case 2:
        if (h && boxesMeet(self->box, h->attackBox) && !isHeroInvulnerable()) {
            knockbackHero(h, self, 1, 0);
            hero::heroDropCarried(h);
        }
        if (cActor::approachLimit(self, part(self, 0), 2, 4, true)) {
            cActor::stopMotion(self);
            if (self->isAnimDone()) {
                step(self) = 0;
                self->aiState = 6;
                self->setAnim(18);
                bossStep() += 1;
            }
        }
        break;
    case 3:
        if (!self->isAnimDone()) break;
        cg().bossIntroTicks = 0;
        endMove(self);
        break;
    default: break;
    }
}

// --- summons and the throw -------------------------------------------------------

void bossSummon(cActor* self, jint templ, jint a, jint b, jint c, jint d) {
    const jint code = currentCode();
    switch (step(self)) {
    case 0:
        self->setAnim(19);
        step(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        self->setAnim(11);
        if (code == 6 || code == 9) {
            cActor* h = hero();
            jint side = h && h->posX > cg().cameraX ? 1 : 0;
            jint x = side == 1 ? limit(0) + 38 : limit(2) - 38;
            jint y = bossFloorY() - (code == 6 ? 10 : 0);
            cActor* m = spawnActorAt(templ, x, y, 0, 0, side == 1);
            cg().bossMinion = m;
            if (m) {
                m->type = 7;
                cActor::spawnChild(m, getSpriteById(8, 18), 61, 0, m->posX, m->posY, 11, 0x2000);
                timer(m) = 10;
                m->setParams1to4(a, b, c, d);
                m->setParam(0, side == 1 ? 22 : 23);
                cActor::stopMotion(m);
            }
        } else if (code == 7) {
            cg().bossMinionB = spawnActorAt(templ, limit(0) + 270, self->posY, 0, 0x5000B0, false);
        }
        step(self) = 2;
        break;
    case 2:
        if (code != 6 && code != 9) {
            self->aiState = 6;
            bossStep() += 1;
            break;
        }
        if (cActor* m = cg().bossMinion) {
            timer(m) -= 1;
            if (timer(m) > 0) break;
            m->flags = 0x15000B0;
            m->type = 6;
        }
        self->aiState = 6;
        bossStep() += 1;
        break;
    default: break;
    }
}

void bossThrow(cActor* self) {
    switch (step(self)) {
    case 0:
        self->setAnim(42);
        step(self) = 1;
        break;
    case 1: {
        if (!self->isAnimDone()) break;
        playSound(22);
        cActor* h = hero();
        cActor* p = spawnActorAt(261, self->facing == 1 ? self->posX - 13 : self->posX + 13, self->posY - 43, 44,
                                 0x4000A0, false);
        if (p) {
            IntArray* t = newIntArray(2);  // may move element data: write through fresh pointers
            t->data()[0] = java::ishl(h ? h->posX : 0, 8);
            t->data()[1] = java::ishl(bossFloorY(), 8);
            p->parts = t;
        }
        self->setAnim(43);
        step(self) = 2;
        break;
    }
    case 2:
        if (!self->isAnimDone()) break;
        self->setAnim(11);
        step(self) = 3;
        break;
    case 3:
        if (stateOrDone(cg().bossMinion) == 1) {
            self->aiState = 6;
            bossStep() += 1;
        }
        break;
    default: break;
    }
}

// --- the boss routine ----------------------------------------------------------------

namespace {

void chooseMove102(cActor* self, jint code) {
    cActor* h = hero();
    if (h) cActor::setFacing(self, self->posX <= h->posX ? 1 : 0);
    switch (code) {
    case 1:
    case 8:
    case 18:
    case 20: {
        cActor* arena = cg().arenaActor;
        jint ax = arena ? arena->posX : cg().cameraX;
        jint tx;
        if (h && h->posX < cg().cameraX) {
            tx = ax + 130;
            bossSide() = false;
        } else {
            tx = ax - 130;
            bossSide() = true;
        }
        setPartsMotionBoss(self, 2560, 0, 0, 0, tx, self->posY);
        self->setAnim(12);
        self->aiState = 3;
        approachSteerX(self);
        break;
    }
    case 5:
        setPartsMotionBoss(self, 2560, 0, 0, 0, limit(0) + 400, self->posY);
        self->setAnim(12);
        self->aiState = 3;
        approachSteerX(self);
        break;
    case 2:
    case 4: self->aiState = 19; step(self) = 0; break;
    case 3:
    case 12:
    case 16:
    case 19:
    case 21: self->aiState = 24; step(self) = 0; break;
    case 10:
    case 23: self->aiState = 36; step(self) = 0; break;
    case 6:
    case 9: self->aiState = 10; step(self) = 0; break;
    case 7:
        if (!minionPresent(cg().bossMinionB)) {
            self->aiState = 10;
            step(self) = 0;
        } else {
            bossStep() += 1;
        }
        break;
    case 11: self->aiState = 5; step(self) = 0; break;
    case 13:
        if (cg().bossIntroTicks >= 106) bossStep() += 1;
        break;
    case 14:
        timer(self) = 20;
        self->aiState = 4;
        step(self) = 0;
        break;
    case 17:
        timer(self) = 20;
        self->aiState = 4;
        break;
    case 15: {
        IntArray* masks = mordle().maskTable;
        jint v = masks && masks->length() > 2 ? masks->data()[2] : 0;
        if (bossCounter() < v) bossStep() = 39;
        else bossStep() += 1;
        break;
    }
    case 22: bossStep() = 59; break;
    case 50: {
        jint taken = hitsTaken(self);
        jint i = bossStep();
        if (taken < 3 && i == 36) bossStep() = 1;
        else if (taken < 5 && i == 52) bossStep() = 37;
        else if (taken < 5 && i == 62) bossStep() = 53;
        else bossStep() += 1;
        break;
    }
    case 24:
        if (self->isAnimDone()) bossStep() += 1;
        break;
    case 25: self->aiState = 21; break;
    default: break;  // no code (past the table) or unknown: stand
    }
}

}  // namespace

void updateType102(cActor* self) {
    const jint code = currentCode();
    bossTakeHit(self, code);
    if (cg().bossIntroTicks < 0x7FFFFFFF) cg().bossIntroTicks += 1;
    switch (self->aiState) {
    case 0:
        dropToGroundType102(self);
        self->aiState = 2;
        break;
    case 2:
        if (hero() && boxesMeet(self->attackBox, hero()->box)) {
            startBossFight(self);
            self->aiState = 6;
        }
        break;
    case 3: arriveAndFaceHero(self); break;
    case 4:
        timer(self) -= 1;
        if (timer(self) > 0) break;
        if (code == 14) {
            bossWaitCode14(self);
        } else {
            self->aiState = 6;
            bossStep() += 1;
        }
        break;
    case 5: bossThrow(self); break;
    case 6: chooseMove102(self, code); break;
    case 10:
        if (code == 6) bossSummon(self, 218, 160, 320, -140, -160);
        else if (code == 7) bossSummon(self, 256, 0, 0, 0, 0);
        else if (code == 9) bossSummon(self, 202, 109, 71, -70, -70);
        break;
    case 19:
        if (code == 2) bossJump(self, bossSide() ? -960 : 960, -7680, 0, 1280);
        else if (code == 4) bossJump(self, self->posX < cg().cameraX ? 960 : -960, -14400, 0, 1280);
        break;
    case 21:
        if (!self->isAnimDone()) break;
        if (part(self, 2) < 1) {
            KTLibPlayer::request(0, 4, -1, -1, -1, -1);
            cg().currentMusic = -1;
            freezeForScript(self);
            self->aiState = 30;  // as the freeze leaves it: the defeat runs once
            startDefeatScript(param(self, 6));
        } else {
            self->setAnim(11);
            self->aiState = 6;
        }
        break;
    case 24:
        switch (code) {
        case 12: bossMoveCode12(self); break;
        case 3: bossMoveCode3(self); break;
        case 16: bossMoveCode16(self); break;
        case 19: bossMoveToSide(self); break;
        case 21: bossMoveCode21(self); break;
        default: break;
        }
        break;
    case 29:
        if (self->isAnimDone()) self->aiState = nextState(self);
        break;
    case 30: removeActor(self, true); break;
    case 36: bossMoveCode10(self); break;
    case 42:
        if (self->isAnimDone()) bossFinishCode42(self);
        break;
    default: break;
    }
}

}  // namespace game::behaviour

// The arena boss (type 92): moves around the camera limits on the 41 codes
// of its pattern at bossEventCount, rushes from wall to wall, drops pairs
// of actors from the ceiling, and can be hurt only while the code is 9; a
// hit makes it fall, after which the pattern resumes one code before the
// next code 8.
//
// Invariants: the pattern is never read past its table (past the end is
// "no code": the boss stands); the fall's walk to the next code 8 stops at
// the table's end; a pair spawn that yields nothing leaves bossSpawnA empty
// and the drop treats the missing actor as done.
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"

namespace game::behaviour {

using namespace bossutil;

namespace {

jint currentCode() { return magicianCode(bossEventCount()); }

void wideLimits(cActor* self) {
    limitsX(self, -100000, 100000);
    limitsY(self, -100000, 100000);
}

void setTarget(cActor* self, jint x, jint y) {
    setPart(self, 0, java::ishl(x, 8));
    setPart(self, 1, java::ishl(y, 8));
}

// A slot actor is kept while it is in AI state 1, else replaced.
cActor* renewSlot(cActor* slot, jint x, jint y) {
    if (slot && isLive(slot) && slot->aiState == 1) return slot;
    cActor* s = spawnFromTemplate(13, x, y);
    if (s) {
        cActor::stopMotion(s);
        s->aiState = 27;
    }
    return s;
}

void spawnCompanionAtHero(cActor* h) {
    ShortArray* r = newShortArray(7);
    jshort* d = r->data();
    d[0] = 253;
    d[1] = java::i2s(nextUniqueId());
    d[2] = java::i2s(h->posX);
    d[3] = java::i2s(h->posY - 35);
    d[6] = 160;
    cActor* c = spawnActor(r, 7, 0);
    cg().bossCompanion = c;
    if (!c) return;
    c->flags |= 0x80000;
    addActiveActor(c);
}

// The waits of codes 9 and 18: the phase's step counter (cActor.counter,
// 48 after a rush of code 2, 64 after code 17) runs down, and once it is
// below 0 while the hit count is negative (-1 from the catch, lower after
// hits) the pattern goes on. Counting stepB instead, which state 6 sets to
// 0 on every step, would end every window at once and the boss could never
// be hit.
void code9Window(cActor* self) {
    counter(self) -= 1;
    if (counter(self) < 0 && counterLimit(self) < 0) {
        bossEventCount() = static_cast<jbyte>(bossEventCount() + 1);
        self->setAnim(0);
    }
}

void chooseMove92(cActor* self, jint code) {
    const jint L = limit(0), T = limit(1);
    cActor* h = hero();
    const jint hx = h ? h->posX : cg().cameraX;
    switch (code) {
    case 1: {
        jint tx = L + 127;
        setTarget(self, tx, T + 143);
        self->aiState = 3;
        if (tx > self->posX) {
            setVx(self, -1536);
            bossGoesRightB() = true;
            cActor::setFacing(self, 1);
        } else {
            setVx(self, 1536);
            bossGoesRightB() = false;
            cActor::setFacing(self, 0);
        }
        setVy(self, -896);
        wideLimits(self);
        approachSteerY(self);
        break;
    }
    case 12:
        setTarget(self, L + 205, T + 50);
        self->aiState = 3;
        wideLimits(self);
        if (bossGoesRightB()) {
            setVx(self, 896);
            setVy(self, 0);
            approachSteerX(self);
        } else {
            setVx(self, -1536);
            setVy(self, -896);
            approachSteerY(self);
        }
        break;
    case 6:
        cActor::setFacing(self, 0);
        bossGoesRightB() = hx > cg().cameraX;
        setTarget(self, bossGoesRightB() ? L + 27 : L + 205, arenaFloorY() - 10);
        setVx(self, -1536);
        setVy(self, 0);
        self->aiState = 3;
        wideLimits(self);
        approachSteerX(self);
        break;
    case 15:
        cActor::setFacing(self, 1);
        wideLimits(self);
        if (hx > cg().cameraX) {
            bossGoesRightB() = true;
            setTarget(self, L + 27, T - 10);
            setVx(self, 0);
            setVy(self, 896);
            approachSteerY(self);
        } else {
            bossGoesRightB() = false;
            setTarget(self, L + 205, T - 10);
            setVx(self, 3072);
            setVy(self, 0);
            approachSteerX(self);
        }
        self->aiState = 3;
        break;
    case 7:
        if (bossGoesRightB()) {
            setTarget(self, L + 205, T - 10);
            setVx(self, 1536);
        } else {
            setTarget(self, L + 27, T - 10);
            setVx(self, -1536);
        }
        setVy(self, 0);
        self->setAnim(64);
        self->aiState = 3;
        wideLimits(self);
        break;
    case 14:
        setTarget(self, L + 16, T + 130);
        setVx(self, 4608);
        setVy(self, 7680);
        wideLimits(self);
        approachSteerX(self);
        self->setAnim(15);
        self->aiState = 3;
        break;
    case 9:
    case 18:
        stepB(self) = 0;
        code9Window(self);
        break;
    case 2:
    case 17:
        stepB(self) = 0;
        self->aiState = 24;
        wideLimits(self);
        break;
    case 10:
        self->setAnim(63);
        cActor::spawnChild(self, getSpriteById(3, 22), 1, 0, self->posX, self->posY, 11, 16384);
        stepB(self) = 0;
        self->aiState = 24;
        wideLimits(self);
        break;
    case 5:
        timer(self) += 1;
        if (timer(self) >= 32) {
            timer(self) = 0;
            bossEventCount() += 1;
        }
        break;
    case 13:
        self->setAnim(63);
        self->aiState = 24;
        heroInputLock() |= 0x7FFFFFFF;
        heroInputLock() &= ~0x80004;
        wideLimits(self);
        break;
    case 8:
        bossEventCount() = getSubtypeClass(self->subtype) - part(self, 2) < 6 ? 1 : 8;
        break;
    default: break;  // no code (past the table) or unknown: stand
    }
}

void arrive92(cActor* self, jint code) {
    if (arriveAt(self, part(self, 0), part(self, 1))) {
        bossEventCount() += 1;
        self->aiState = 6;
        if (currentCode() == 12) return;
        cActor* h = hero();
        cActor::setFacing(self, h && self->posX > h->posX ? 0 : 1);
        if (code == 7) {
            self->setAnim(0);
        } else if (code == 14) {
            heroInputLock() &= static_cast<jint>(0x80000000u);
            self->setAnim(0);
            if (cActor* c = cg().bossCompanion) {
                if (isLive(c)) removeActor(c, true);
                cg().bossCompanion = nullptr;
            }
        }
        return;
    }
    if (vx(self) > 0) cActor::setFacing(self, 1);
    else if (vx(self) < 0) cActor::setFacing(self, 0);
    if (code == 14) self->setAnim(vy(self) < 1 ? 14 : 15);
}

void fall92(cActor* self) {
    const bool spent = part(self, 2) < 1;
    if (spent) heroInputLock() |= 0x7FFFFFFF;
    if (self->posY < arenaFloorY()) return;
    const jint before = timer(self);
    timer(self) -= 1;
    if (before == 48) {
        cActor::stopMotion(self);
        cActor::moveTo(self, java::ishl(self->posX, 8), java::ishl(arenaFloorY(), 8));
        if (spent && getVariable(3) >= 1) {
            freezeForScript(self);
            self->aiState = 30;  // as the freeze leaves it: the defeat runs once
            startDefeatScript(param(self, 6));
        }
        return;
    }
    if (timer(self) >= 0 || self->aiState != 21) return;
    // On to the next code 8 (at least one entry, never past the table), then one back.
    jint i = bossEventCount();
    do {
        i += 1;
    } while (i < magicianLength() && magicianCode(i) != 8);
    bossEventCount() = i - 1;
    self->aiState = 6;
    self->setAnim(0);
}

void walkHeroToCentre(cActor* self) {
    cActor* h = hero();
    if (!h) return;
    if (!cg().bossCompanion) {
        if (ca().heroState != 0) return;  // waits for the hero to stand
        spawnCompanionAtHero(h);
    }
    const jint cx = cg().cameraX;
    if (h->posX < cx - 6) {
        cActor::moveBy(h, 2560, 0);
    } else if (h->posX > cx + 6) {
        cActor::moveBy(h, -2560, 0);
    } else {
        self->aiState = 6;
        bossEventCount() += 1;
        self->setAnim(0);
    }
    if (cActor* c = cg().bossCompanion) {
        if (!c->motion) c->allocMotionState();
        cActor::moveTo(c, java::ishl(h->posX, 8), java::ishl(c->posY, 8));
    }
}

}  // namespace

void dropToGroundType92(cActor* self) {
    cActor::setFacing(self, 0);
    cActor::stopMotion(self);
    timer(self) = 0;
    bossGuarded() = 0;
    cg().bossSlotL = nullptr;
    cg().bossSlotR = nullptr;
    arenaFloorY() = world::scanTileColumn(self, self->posX, self->posY, 8) - 5;
    self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
    cg().currentScriptId = world::findScriptById(param(self, 5));
    cg().bossActor = self;
    targetActor() = self;
    self->aiState = 2;
}

void type92Contact(cActor* self) {
    cActor* h = hero();
    if (!h) return;
    const jint code = currentCode();
    if (bodyMeetsHero(self) && (code == 2 || code == 17)) {
        if (!isHeroInvulnerable()) {
            contactDamageFrom(self, 1);
            hero::heroDropCarried(h);
        }
        return;
    }
    if (heroAttackMeets(self) && partnerMode() > 1) {
        partnerMode() = 1;
        partnerActor() = self;
    }
    if (code != 9 || self->aiState == 21) {
        bossGuarded() = 1;
        if (contactFlags(self) & 0x200000) knockbackWeak(h, getDirectionToHero(self));
        contactFlags(self) = 0;
        return;
    }
    bossGuarded() = 0;
    const jint n = applyPendingHits(self, true);
    if (n <= 0) return;
    cActor::setFacing(self, self->posX < h->posX ? 1 : 0);
    self->decrementPartsCounter(n);
    counterLimit(self) -= 1;
    if (counterLimit(self) < 1) {
        self->setAnimThen(45, 46, false);
        self->aiState = 21;
        setVx(self, 0);
        setAx(self, 0);
        setVy(self, 1280);
        setAy(self, 512);
        wideLimits(self);
        timer(self) = 48;
    } else {
        self->setAnim(43);
    }
    playSound(part(self, 2) > 0 ? 18 : 16);
    self->releaseChild();
    counter(self) = -1;
}

void bossRush(cActor* self) {
    const jint code = currentCode();
    switch (stepB(self)) {
    case 0:
        self->setAnim(66);
        cActor::spawnChild(self, getSpriteById(11, 18), 4, 0, self->posX, self->posY, 11, 0x2000);
        stepB(self) = 1;
        break;
    case 1:
        if (!self->isAnimDone()) break;
        self->setAnim(0);
        setPartsMotionBoss(self, bossGoesRightB() ? 4608 : -4608, 0, 0, 0,
                           bossGoesRightB() ? limit(2) - 16 : limit(0) + 16, self->posY);
        stepB(self) = 2;
        break;
    case 2:
        if (!cActor::approachLimit(self, part(self, 0), 2, 4, true)) break;
        self->setAnim(67);
        stepB(self) = 0;
        if (code == 17) {
            quakeFrames() = 32;
            const jint L = limit(0), T = limit(1);
            cg().bossSlotL = renewSlot(cg().bossSlotL, L + 243, T + 112);
            cg().bossSlotR = renewSlot(cg().bossSlotR, L + 566, T + 112);
            cActor::spawnChild(self, getSpriteById(7, 18), 8, 0, self->posX, self->posY, 11, 0x2000);
            counter(self) = 64;
        } else {
            counter(self) = 48;
        }
        bossEventCount() += 1;
        self->aiState = 6;
        break;
    default: break;
    }
}

void spawnPair(cActor* self, jint x1, jint x2) {
    (void)self;
    const jint L = limit(0), T = limit(1);
    for (jint k = 0; k < 2; ++k) {
        ShortArray* r = newShortArray(12);
        jshort* d = r->data();
        d[0] = 252;
        d[1] = java::i2s(nextUniqueId());
        d[2] = java::i2s(L + (k == 0 ? x1 : x2));
        d[3] = java::i2s(T);
        d[5] = 12;
        d[6] = 160;
        cActor* a = spawnActor(r, 12, 0);
        if (k == 0) cg().bossSpawnA = a;
        if (!a) continue;
        a->flags |= 0x80000;
        addActiveActor(a);
    }
}

void bossDropPair(cActor* self) {
    // A pair that was never made counts as landed.
    const bool landed = stateOrDone(cg().bossSpawnA) == 1;
    switch (stepB(self)) {
    case 0:
        spawnPair(self, 86, 466);
        playSound(22);
        stepB(self) = 1;
        break;
    case 1:
    case 3:
        if (!landed) break;
        spawnPair(self, 326, 713);
        playSound(22);
        stepB(self) += 1;
        break;
    case 2:
        if (!landed) break;
        spawnPair(self, 86, 466);
        playSound(22);
        stepB(self) = 3;
        break;
    case 4:
        if (!landed) break;
        self->aiState = 6;
        bossEventCount() += 1;
        self->releaseChild();
        self->setAnim(0);
        break;
    default: break;
    }
}

void updateType92(cActor* self) {
    type92Contact(self);
    const jint code = currentCode();
    switch (self->aiState) {
    case 0: dropToGroundType92(self); break;
    case 2:
        // A caught hero starts the pattern (the framework sets the event
        // count to 1); the hit count is marked -1 as the catch marks it, so
        // the code-9 waits time out.
        if (tryCatchHero(self)) counterLimit(self) = -1;
        break;
    case 3: arrive92(self, code); break;
    case 6: chooseMove92(self, code); break;
    case 21: fall92(self); break;
    case 24:
        if (code == 2 || code == 17) bossRush(self);
        else if (code == 10) bossDropPair(self);
        else if (code == 13 && self->isAnimDone()) walkHeroToCentre(self);
        break;
    case 30: heroInputLock() &= static_cast<jint>(0x80000000u); break;
    default: break;
    }
}

}  // namespace game::behaviour

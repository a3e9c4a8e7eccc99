// Breaking, respawn, the passive-type switches, the small state entries and
// the phase entries of multi-part enemies (see states.h). A respawn record
// that does not exist is never created here except by hideForRespawn; the
// type-2 value queue stores only below its length.
#include "game/behaviour/states.h"

#include "game/actor/contact.h"
#include "game/actor/helpers.h"
#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/core_util.h"
#include "game/behaviour/fields.h"
#include "game/flow/input.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/scripts.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace core;

namespace {

jint animDuration(cActor* a, jint anim) { return a->sprite ? a->sprite->getAnimDuration(anim) : 0; }

// Respawn countdown = level parameter 2 + the duration of the animation.
void armRespawn(cActor* a, jint anim) {
    setIntAt(a->respawnRecord, 0, java::iadd(param(a, 2), animDuration(a, anim)));
}

void breakWith(cActor* a, jint anim) {
    cActor::stopMotion(a);
    armRespawn(a, anim);
    a->flags |= 0x20000;
    a->setAnim(anim);
    a->type = 11;
    a->physicsFlags = 0;
}

// cGame.restartCurrentScript: with a current script, both channels stop
// and that script starts again.
void restartCurrentScript() {
    const jint script = cg().currentScriptId;
    if (script < 0 || script >= world::scriptCount()) return;
    queueStop(0);
    queueStop(1);
    world::startScript(script);
}

void phase(cActor* a, jint state, jint next, jint k) {
    a->aiState = state;
    if (next >= 0) a->nextState = next;
    a->setAnim(java::iadd(part(a, 9), k));
}

}  // namespace

// --- breaking and respawn ---------------------------------------------------

void breakActor(cActor* self) {
    if (!self) return;
    switch (self->subtype) {
    case 33: breakWith(self, 12); break;
    case 144:
        cActor::stopMotion(self);
        armRespawn(self, 4);
        switchToType11(self, 4);
        break;
    case 14: switchToType3(self, 5); break;
    case 32:
        cActor::stopMotion(self);
        switchToType3(self, 12);
        break;
    case 13:
    case 112: {
        world::setBoxSize(self, self->getTypeParam(6), self->getTypeParam(7));
        cActor* target = cg().targetActor;
        if (target && target->subtype == 104 && self->subtype == 13 && param(self, 2) < 0) {
            switchToType11(self, 7);
            setIntAt(self->respawnRecord, 0, -1);
        } else {
            breakWith(self, 5);
            if (target && target->subtype == 238 && self->subtype == 13) self->aiState = 1;
        }
        break;
    }
    default: break;
    }
}

void updateType11(cActor* self) {
    if (!self || !self->isAnimDone()) return;
    self->flags &= ~0xA0;
    // Without a respawn record the piece has nowhere to return: it vanishes.
    self->type = self->respawnRecord && self->respawnRecord->length() > 4 ? self->respawnRecord->data()[4] : 3;
    self->releaseChild();
}

void respawn(cActor* self) {
    if (!self) return;
    self->flags |= 0xA0;
    IntArray* r = self->respawnRecord;
    if (r && r->length() >= 7) {
        if (r->data()[1] != -1) {
            cActor::moveTo(self, java::ishl(r->data()[1], 8), java::ishl(r->data()[2], 8));
            self->setAnim(r->data()[3]);
            self->scale = r->data()[6];
            self->setFacingRaw(r->data()[5] != 0 ? 1 : 0);
            cActor::stopMotion(self);
            self->aiState = 0;
            self->physicsFlags = 0;
        }
        r->data()[0] = -1;
    }
    if (self->subtype == 7) {
        if (!self->motion) self->allocMotionState();
        self->physicsFlags = 0x1000001;
        self->aiState = 28;
    }
}

void hide(cActor* self) {
    if (!self) return;
    self->flags &= ~0xA0;
    self->releaseChild();
}

void hideForRespawn(cActor* self, jint n) {
    if (!self) return;
    self->setRespawnInfo(-1, -1, -1);
    self->flags &= ~0xA0;
    self->releaseChild();
    setIntAt(self->respawnRecord, 0, n);
}

void switchToType3(cActor* self, jint anim) { game::switchToType3(self, anim); }
void switchToType11(cActor* self, jint anim) { game::switchToType11(self, anim); }

void despawnActor(cActor* self) {
    if (!self) return;
    self->aiState = 2;
    cActor::stopMotion(self);
    if (cActor* other = self->carried) {
        self->carried = nullptr;
        removeActor(other, true);
    }
}

void removeWhenAnimDone(cActor* self) {
    if (self && self->isAnimDone()) removeActor(self, true);
}

void freezeForScript(cActor* self) {
    if (!self) return;
    worldFlags() |= 32;
    restartCurrentScript();
    cActor::stopMotion(self);
    self->aiState = 30;
}

jint startScriptIfEnabled(cActor* self, jint i) {
    if (!self || scriptsEnabled() == 0) return 0;
    return startScriptFromParam(self, i) ? 1 : 0;
}

// --- state entries ---------------------------------------------------------------

void enterState43(cActor* self) {
    self->setAnim(1);
    cActor::stopMotion(self);
    self->aiState = 43;
}

void enterState2Anim8(cActor* self) {
    hitGuard() = 0;
    clearHitFlags(self);
    self->setAnim(8);
    self->aiState = 2;
}

void enterState42(cActor* self) {
    if (!(self->contactFlags & 64)) return;
    self->contactFlags &= ~64;
    self->releaseChild();
    resetKeys();
    if (cActor* hero = theHero()) cActor::setFacing(self, hero->facing);
    self->aiState = 42;
    self->flags |= 0x20000;
    self->setAnim(5);
}

void queueType2Value(cActor* self, jint v) {
    type2Actor() = self;
    IntArray* queue = type2Queue();
    jint& count = type2QueueCount();
    if (queue && count >= 0 && count < queue->length()) {
        queue->data()[count] = v;
        count += 1;
    } else {
        logPrintf("Type-2 queue full (%d values): value %d dropped", count, v);
    }
    type2Countdown() = 48;
    type2Phase() = 0;
}

void enterState24(cActor* self, jint a, jint b, jint c, jint d, jint e) {
    throwA() = a;
    throwB() = b;
    throwC() = c;
    throwD() = d;
    counterLimit(self) = e;
    counter(self) = 0;
    resetKeys();
    self->aiState = 24;
}

bool isAnimBitInHeroStat1(cActor* self) {
    const jint a = self->anim;
    if (a < 0 || a >= 32) return false;
    return (java::ishr(getVariable(1), a) & 1) != 0;
}

// --- phase entries ---------------------------------------------------------------

void enterPhase45(cActor* self) {
    phase(self, 45, -1, 33);
    self->timer = 48;
}

void enterPhase47(cActor* self) {
    phase(self, 47, 48, 72);
    counter(self) = 1;
    counterLimit(self) = 0;
}

void enterPhase47Then49(cActor* self) { phase(self, 47, 49, 39); }

void enterPhase47Then50(cActor* self) { phase(self, 47, 50, 45); }

void enterPhase51(cActor* self, jint flag) {
    phase(self, 47, 51, 54);
    if (flag) counter(self) = 2;
}

void enterPhase52(cActor* self, jint k, jint next) {
    phase(self, 52, next, k);
    self->contactFlags = 1;
}

void enterGrabPhase(cActor* self, cActor* other, jint flag) {
    self->aiState = 47;
    self->setAnim(107);
    self->timer = flag ? 13 : 48;
    if (!other) return;
    cActor::stopMotion(other);
    cActor::moveTo(other, java::ishl(self->posX, 8), java::ishl(self->posY, 8));
    cActor::setFacing(other, self->facing);
    other->aiState = flag ? 51 : 47;
}

void type92Code9(cActor* self) {
    stepB(self) = java::isub(stepB(self), 1);
    if (stepB(self) < 0 && counterLimit(self) < 0) {
        bossEventCount() = static_cast<jbyte>(bossEventCount() + 1);
        self->setAnim(0);
    }
}

namespace {
// The hero's attack box meets self's box while a partner offer is open.
void offerPartner(cActor* self) {
    cActor* hero = theHero();
    if (hero && hero->attackBox && cActor::rectsIntersect(hero->attackBox, self->box) && partnerMode() > 1) {
        partnerMode() = 1;
        partnerActor() = self;
    }
}
}  // namespace

bool tryDefeatByHit(cActor* self) {
    offerPartner(self);
    if (applyPendingHits(self, true) < 1) return false;
    cActor::stopMotion(self);
    self->flags |= 0x20000;
    self->setAnim(7);
    self->type = 3;
    self->physicsFlags = 0;
    return true;
}

void takeHitType97(cActor* self, bool fresh) {
    offerPartner(self);
    const jint h = applyPendingHits(self, true);
    if (h < 1) return;
    if (cActor* hero = theHero()) cActor::setFacing(self, self->posX < hero->posX ? 1 : 0);
    if (self->decrementPartsCounter(h)) {
        self->aiState = 1;
        playSound(16);
        return;
    }
    const jint base = part(self, 9);
    cActor* companion = linkedAt(self, 0);
    if (self->anim == java::iadd(base, 51) || self->anim == java::iadd(base, 84)) {
        self->aiState = 53;
        setAnimOffset(self, 84);
    } else if (companion && companion->aiState != 30) {
        self->aiState = 55;
        setAnimOffset(self, 87);
    } else {
        self->aiState = 53;
        setAnimOffset(self, 81);
    }
    counter(self) = fresh ? 2 : java::isub(counter(self), 1);
}

void setAnimOffset(cActor* self, jint k) { game::setAnimOffset(self, k); }

jint getAnimForState(cActor* self) { return game::getAnimForState(self); }

void updatePartsCycle(cActor* self) {
    switch (part(self, 9)) {
    case 0: enterPhase51(self, 1); break;
    case 1: enterPhase47(self); break;
    case 2: {
        const jint r = java::irem(part(self, 10), 2);
        setPart(self, 10, r);
        if (r == 0)
            enterPhase51(self, 1);
        else if (r == 1)
            enterPhase47(self);
        break;
    }
    default: break;
    }
    setPart(self, 10, java::iadd(part(self, 10), 1));
}

}  // namespace game::behaviour

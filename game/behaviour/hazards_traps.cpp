// Traps, pads and fly-bys: the springing trap (27), the auto-run speed pad
// (66), the fly-by that drops two actors (71), the link platform that
// hurts on touch (63) and the plain contact hazard (91).
//
// Invariants: the link platform walks the link table only through valid
// row indices and waits in state 4 by counting its timer down (the next
// leg starts below 1); the fly-by drops exactly on its 20th and 36th
// frame of flight; a pad acts once.
#include <cstdlib>

#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_core.h"
#include "game/behaviour/hazards_fields.h"
#include "game/flow/sound.h"
#include "game/world/scripts.h"

namespace game::behaviour {

namespace {

using hz::hero;

jint param(cActor* a, jint i) { return a->getParamOr(i); }

jint lowState(cActor* a) { return a->aiState & 0xFFFFFF; }
void setLowState(cActor* a, jint s) { a->aiState = (a->aiState & ~0xFFFFFF) | (s & 0xFFFFFF); }

}  // namespace

// --- trap (27) ---------------------------------------------------------------------

void updateType27(cActor* self) {
    cActor* h = hero();
    switch (self->aiState) {
    case 0:
        self->aiState = 2;
        break;
    case 2:
        if (h && h->box && h->box->data()[1] < self->posY && std::abs(h->posX - self->posX) < 40 &&
            std::abs(h->posY - self->posY) < 240 && !world::isAnyScriptActive()) {
            self->setAnimThen(param(self, 0), self->anim, 0);
            self->aiState = 6;
            self->flags |= 0xA0000;
        }
        break;
    case 6:
        if (self->anim != param(self, 0)) {
            const jint n = hz::msToSteps(param(self, 1));
            if (n < 1) {
                removeActor(self, true);
                return;
            }
            self->flags &= ~0xA0000;
            self->aiState = 2;
            hz::hideForRespawn(self, n);
        }
        break;
    default:
        break;
    }
}

// --- pad (66) -------------------------------------------------------------------------

void updateType66(cActor* self) {
    switch (self->aiState) {
    case 0:
        self->aiState = 2;
        break;
    case 2:
        if (hz::heroMeetsBox(self)) {
            hf::boostFrames() = 32;
            self->aiState = 6;
        }
        break;
    case 6:
        removeActor(self, true);
        break;
    default:
        break;
    }
}

// --- fly-by (71) ------------------------------------------------------------------------

void updateType71(cActor* self) {
    cActor* h = hero();
    switch (self->aiState) {
    case 0:
        self->aiState = 2;
        break;
    case 2:
        hf::flyByFrames() = 0;
        if (h && self->posX < h->posX + 800) {
            if (!self->motion) self->allocMotionState();
            jint* m = self->motion->data();
            m[2] = -7680;
            m[3] = m[0] = m[1] = 0;
            self->setVelocityLimitsX(-7680, 7680);
            self->setAnim(11);
            self->aiState = 6;
        }
        break;
    case 6: {
        const jint ty = cg().cameraY - 210;
        // Kept at a fixed height in the view; the move keeps the motion
        // state's position in step.
        cActor::moveTo(self, self->motion ? self->motion->data()[4] : java::ishl(self->posX, 8), java::ishl(ty, 8));
        hf::flyByFrames() += 1;
        if (hf::flyByFrames() == 20 || hf::flyByFrames() == 36) {
            static const jint kDropParams[4] = {16, 16, -8, -16};
            hz::spawnRecordActor(192, self->posX, self->posY, 12, 160, 12, kDropParams, 4);
        }
        if (self->posX < cg().cameraX - 440) self->aiState = 1;
        break;
    }
    case 1:
        removeActor(self, true);
        break;
    default:
        break;
    }
}

// --- link platform (63) ---------------------------------------------------------------------

void updateType63(cActor* self) {
    // Sound 29 and the hit with 53 frames of invulnerability, unless the
    // hero is invulnerable already.
    if (hz::heroMeetsBox(self)) hz::damageHeroBy(1, 53);
    jint next = -1;
    if (isLinkIndexValid(self->linkIndex)) {
        loadLinkRow(self->linkIndex);
        next = findTableIndex(ca().linkRow->data()[2]);
    }
    if (!self->motion) self->allocMotionState();
    switch (lowState(self)) {
    case 0: {
        hf::physicsFlags(self) = 0x44;
        const jint row = findTableIndex(param(self, 1));
        cActor::stopMotion(self);
        if (isLinkIndexValid(row)) {
            self->linkIndex = row;
            hz::startLinkLeg(self);
        } else {
            setLowState(self, 2);
        }
        break;
    }
    case 2:
        hf::physicsFlags(self) |= 4;
        cActor::stopMotion(self);
        break;
    case 3:
        hf::physicsFlags(self) |= 0x100 | 0x1000000;
        if (isLinkIndexValid(self->linkIndex) && hz::isLinkPointAhead(self, self->linkIndex)) {
            cActor::stopMotion(self);
            loadLinkRow(self->linkIndex);
            const jint wait = hz::msToSteps(ca().linkRow->data()[4]);
            self->linkIndex = isLinkIndexValid(next) ? next : -1;
            if (wait > 0) {
                hf::timer(self) = wait;
                setLowState(self, 4);
            } else {
                hz::startLinkLeg(self);
            }
        } else if (!isLinkIndexValid(self->linkIndex)) {
            hz::startLinkLeg(self);
        }
        hf::physicsFlags(self) &= ~(0x100 | 0x1000000);
        break;
    case 4:
        hf::timer(self) -= 1;
        if (hf::timer(self) < 1) hz::startLinkLeg(self);
        break;
    default:
        break;
    }
}

// --- contact hazard (91) ------------------------------------------------------------------------

void updateType91(cActor* self) {
    switch (self->aiState) {
    case 0:
        if (self->motion) cActor::stopMotion(self);
        self->aiState = 2;
        break;
    case 2:
        if (hz::heroMeetsBox(self)) {
            if (!hz::isHeroInvulnerable()) hz::hurtHero(hero(), 0, 1, true);
            self->flags &= ~0x1000000;
        }
        break;
    default:
        break;
    }
}

}  // namespace game::behaviour

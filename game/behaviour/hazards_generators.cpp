// Generators and turrets: the curve generators (48, 77) that emit movers
// along one shared path, the hatch (37) that throws out an item, the
// turrets (81, 83) that fire while the hero is in range, and the type-94
// boss's companion spawn.
//
// Invariants: a generator builds its path once and hands the same array to
// every mover (a change shows in all of them); a generator without three
// link points or with a step count the path cannot use builds nothing and
// emits nothing (logged once); a turret's cycle length is never 0; a full
// pool skips a shot or mover and the cycle goes on.
#include "game/actor/contact.h"
#include "game/actor/helpers.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_core.h"
#include "game/behaviour/hazards_fields.h"
#include "game/flow/sound.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

jint param(cActor* a, jint i) { return a->getParamOr(i); }

// Link row indices of id and the next two rows along the next ids; false
// when any of the three is missing.
bool threeLinkRows(jint id, jint rows[3]) {
    jint r = findTableIndex(id);
    for (jint k = 0; k < 3; ++k) {
        if (!isLinkIndexValid(r)) return false;
        rows[k] = r;
        if (k < 2) r = findTableIndex(ca().links->data()[5 * r + 2]);
    }
    return true;
}

void updateCurveGenerator(cActor* self, bool emitsFirstAtOnce) {
    if (isRefused(self)) return;
    if (self->aiState == 0) {
        jint rows[3];
        if (!threeLinkRows(param(self, 0), rows)) {
            return refuseHazard(self, "fewer than three link points from its first; no path, nothing emitted");
        }
        const jint* l = ca().links->data();
        IntArray* path = hz::buildCurvePath(java::imul(l[5 * rows[0]], 256), java::imul(l[5 * rows[0] + 1], 256),
                                            java::imul(l[5 * rows[1]], 256), java::imul(l[5 * rows[1] + 1], 256),
                                            java::imul(l[5 * rows[2]], 256), java::imul(l[5 * rows[2] + 1], 256),
                                            param(self, 1));
        if (!path) return refuseHazard(self, "its link points and step count make no path; nothing emitted");
        self->parts = path;
        hf::counter(self) = emitsFirstAtOnce ? param(self, 2) : 0;
        self->aiState = 2;
        return;
    }
    if (self->aiState != 2) return;
    hf::counter(self) += 1;
    if (hf::counter(self) <= param(self, 2)) return;
    hf::counter(self) = 0;
    IntArray* path = self->parts;
    if (!path || path->length() < 8) return;
    cActor* mover = spawnFromTemplate(self->subtype + 1, path->data()[0] / 256, path->data()[1] / 256);
    if (mover) {
        if (!mover->motion) mover->allocMotionState();
        mover->setVelocityLimitsX(-1000000, 1000000);
        mover->setVelocityLimitsY(-1000000, 1000000);
        mover->parts = self->parts;
    }
    if (emitsFirstAtOnce && isNearView(self)) playSound(25);
}

}  // namespace

void updateType48(cActor* self) { updateCurveGenerator(self, false); }
void updateType77(cActor* self) { updateCurveGenerator(self, true); }

// --- hatch (37) -----------------------------------------------------------------------

void updateType37(cActor* self) {
    if (isRefused(self)) return;
    if (self->aiState == 0 || !self->parts || self->parts->length() < 1) {
        // The base animation is the one the hatch had when first updated.
        if (!self->parts || self->parts->length() < 1) {
            IntArray* p = newIntArray(1);
            self->parts = p;
        }
        self->parts->data()[0] = self->anim;
    }
    const jint b = self->parts->data()[0];
    switch (self->aiState) {
    case 0: {
        const jint left = self->posX + param(self, 2), top = self->posY + param(self, 3);
        if (self->box) cActor::setBox(self->box, left, top, left + param(self, 0), top + param(self, 1));
        self->aiState = 2;
        break;
    }
    case 2:
        self->setAnim(b);
        if (hz::heroMeetsBox(self)) {
            self->aiState = 23;
            hf::counter(self) = param(self, 4);
        }
        break;
    case 23:
        self->setAnim(b + 1);
        hf::counter(self) -= 1;
        // An opening time of 0 or less opens on the next step.
        if (hf::counter(self) > 0) break;
        if (cActor* item = spawnFromTemplate(126, self->posX, self->posY)) {
            item->setAnim(b + 3);
            cActor::updateBoxFromFrameBounds(item);
        }
        self->aiState = 9;
        hf::counter(self) = param(self, 5);
        break;
    case 9:
        self->setAnim(b + 2);
        hf::counter(self) -= 1;
        if (hf::counter(self) > 0) break;
        if (self->viewRating != 0) self->aiState = 2;
        break;
    default:
        break;
    }
}

// --- turrets (81, 83) ---------------------------------------------------------------------

void updateType81(cActor* self) {
    switch (self->aiState) {
    case 0:
        if (self->motion) cActor::stopMotion(self);
        self->setAttackBox(param(self, 2), param(self, 3), param(self, 0), param(self, 1));
        self->aiState = 2;
        break;
    case 2:
        if (hz::heroMeetsAttackBox(self)) {
            self->setAnim(5);
            self->aiState = 6;
        }
        break;
    case 6:
        if (!hz::heroMeetsAttackBox(self)) {
            self->setAnim(4);
            self->aiState = 2;
        }
        hf::cycleCount(self) = java::irem(hf::cycleCount(self) + 1, 60);
        if (hf::cycleCount(self) == 5) {
            self->setAnim(6);
        } else if (hf::cycleCount(self) == 7) {
            self->setAnim(5);
            hz::spawnRecordActor(206, self->posX, self->posY - 26, 7, 160, 7);
        }
        break;
    default:
        break;
    }
}

void updateType83(cActor* self) {
    if (isRefused(self)) return;
    const jint cycle = param(self, 5);
    if (cycle == 0) return refuseHazard(self, "cycle length 0");
    switch (self->aiState) {
    case 0:
        if (self->motion) cActor::stopMotion(self);
        self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
        self->aiState = 2;
        break;
    case 2:
        if (hz::heroMeetsAttackBox(self)) self->aiState = 6;
        break;
    case 6: {
        const jint c = java::irem(hf::cycleCountB(self) + 1, cycle);
        hf::cycleCountB(self) = c;
        if (c == 10) {
            self->setAnim(50);
        } else if (c == 14) {
            self->setAnim(49);
            hz::spawnRecordActor(221, self->posX + 1, self->posY + 46, 51, 160, 12);
        } else if (c > 14 && !hz::heroMeetsAttackBox(self)) {
            self->aiState = 2;
        }
        break;
    }
    default:
        break;
    }
}

// --- the type-94 boss's companion --------------------------------------------------------

cActor* spawnCompanionRight(cActor* self) {
    if (!self) return nullptr;
    IntArray* limits = cg().cameraLimits;
    const jint right = limits && limits->length() >= 3 ? limits->data()[2] : self->posX;
    cActor* c = spawnFromTemplate(271, right, self->posY);
    if (!c) return nullptr;
    c->aiState = 0;
    cActor::setFacing(c, 1);  // facing and the mirror bit together
    if (!hf::linked(self) || hf::linked(self)->length() < 1) {
        ObjectArray* made = newObjectArray(cid::cActor, 1);
        hf::setLinked(self, made);
    }
    hf::linked(self)->data()[0] = c;
    return c;
}

}  // namespace game::behaviour

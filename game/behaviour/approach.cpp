// Approach and contact routines several behaviours share: steering onto a
// target point with a braking curve, the arrival that turns toward the
// hero, leaving the camera limits, a hazard's damage contact, the contact
// of a type-8 actor and the fall of a defeated one as type 11.
//
// Invariants: a steering call whose frames-left square wraps to zero in 32
// bits is refused with a log line and changes nothing; every routine
// tolerates an actor without a motion state (it then does nothing).
#include "game/behaviour/approach.h"

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/linkpath.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

// One steering step with `lead` (velocity index 2 or 3) as the leading
// axis; the other axis's acceleration is set so both arrive together.
void approachSteer(cActor* self, bool leadX) {
    if (!self || !self->motion) return;
    jint* m = self->motion->data();
    const jint lv = leadX ? 2 : 3, ov = leadX ? 3 : 2, oa = leadX ? 1 : 0;
    if (m[lv] == 0) return;
    const jint tx = self->getPart(0), ty = self->getPart(1);
    const jint leadTarget = leadX ? tx : ty, otherTarget = leadX ? ty : tx;
    const jint leadPos = java::imul(leadX ? self->posX : self->posY, 256);
    const jint otherPos = java::imul(leadX ? self->posY : self->posX, 256);
    const jint d = java::isub(leadTarget, leadPos);
    if ((d < 0 && m[lv] > 0) || (d > 0 && m[lv] < 0)) m[lv] = java::ineg(m[lv]);
    const jint t = java::idiv(d, m[lv]);
    if (t != 0) {
        const jint tt = java::imul(t, t);
        if (tt == 0) {
            logPrintf("Actor %d: approach %d frames away, not steered", self->uniqueId, t);
            return;
        }
        const jint rest = java::isub(java::isub(otherTarget, otherPos), java::imul(m[ov], t));
        m[oa] = java::idiv(java::imul(2, rest), tt);
        return;
    }
    m[oa] = otherTarget > otherPos ? 512 : -512;
    arriveAt(self, tx, ty);
}

}  // namespace

void approachSteerX(cActor* self) { approachSteer(self, true); }
void approachSteerY(cActor* self) { approachSteer(self, false); }

jint arriveAndFaceHero(cActor* self) {
    if (!self || !self->motion) return 0;
    if (arriveAt(self, self->getPart(0), self->getPart(1))) {
        self->setAnim(11);
        bossStep() += 1;
        self->aiState = 6;
        cActor* hero = cg().hero;
        self->facing = hero && self->posX > hero->posX ? 0 : 1;
        return 1;
    }
    const jint vx = self->motion->data()[2];
    if (vx < 0) self->facing = 0;
    else if (vx > 0) self->facing = 1;
    return 0;
}

jint leaveCameraLimits(cActor* self) {
    if (!self) return 0;
    IntArray* l = cg().cameraLimits;
    if (l && l->length() >= 4) {
        const jint* b = l->data();
        if (b[0] <= self->posX && self->posX <= b[2] && b[1] <= self->posY && self->posY <= b[3]) return 0;
    }
    cActor::stopMotion(self);
    self->aiState = 30;
    removeActor(self, true);
    return 1;
}

void hazardContact(cActor* self) {
    if (!self) return;
    cActor* hero = cg().hero;
    const jint d = self->getParamOr(3);
    if (d < 0 || !hero) return;
    if (self->subtype == 49) {
        if (!isHeroInvulnerable() && d != 0) {
            playSound(29);
            applyHeroDamage(d, 53);
        }
        playSound(29);
        if (ca().heroState != 11) knockback(hero, 1, 9, 3072, 5376, 0, 512);
        return;
    }
    if (d > 0) knockbackHero(hero, self, d, 0);
}

void fallAsType11(cActor* self) {
    if (!self) return;
    if (cActor* rider = carried(self)) {
        carried(self) = nullptr;
        rider->flags &= ~0x10000000;
    }
    const jint duration = self->sprite ? self->sprite->getAnimDuration(2) : 0;
    if (self->respawnRecord && self->respawnRecord->length() > 0) self->respawnRecord->data()[0] = duration + 16;
    self->flags |= 0x20000;
    self->setAnim(animBase(self) + 3);
    self->type = 11;
    self->physicsFlags = 0;
    cActor::spawnChild(self, getSpriteById(8, 18), 6, 0, self->posX, self->posY, 11, 0xE000);
}

void contactType8(cActor* self, cActor* other) {
    if (!self || !other) return;
    if (other->type == 0) {
        if (self->flags & 0x40000000) knockbackHero(other, self, 1, 0);
        fallAsType11(self);
    } else if (other->type == 6) {
        other->contactFlags |= 8;
    }
}

}  // namespace game::behaviour

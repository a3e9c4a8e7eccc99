// The carryable item (type 2): picked up, wound up along the throw path,
// thrown, and broken when it lands, hits a wall, meets an actor or flies
// 225 px; catchers (subtypes 148 and 93) hold it, the subtype-238 target
// takes a hit from it. Landed items wait to be taken.
#include "game/actor/hero.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/platforms_util.h"
#include "game/behaviour/states.h"
#include "game/world/hero/machine.h"

#include <algorithm>

namespace game::behaviour {

namespace {

constexpr jint kThrowRange = 225;
// Ground or wall met by the last physics step, flat or sloped.
constexpr jint kSolidHit = 4 | 8 | 64 | 128;

// A contact met in flight (states 5 and 36).
void meetContact(cActor* a, cActor* other) {
    markTouchedByType2(other, a);
    if (other->subtype == 238) {
        if (other->aiState != 21) {
            other->decrementPartsCounter(1);
            other->setAnimThen(45, 46, false);
            plat::ensureMotion(other);
            jint* m = other->motion->data();
            m[0] = 0;
            m[2] = 0;
            m[3] = 1280;
            m[1] = 512;
            other->setVelocityLimitsX(-100000, 100000);
            other->setVelocityLimitsY(-100000, 100000);
            other->aiState = 21;
            other->releaseChild();
            counter(other) = -1;
            other->timer = 48;
        }
        breakActor(a);
        return;
    }
    if (other->subtype == 148 || other->subtype == 93) {
        cActor::stopMotion(a);
        cActor::moveTo(a, java::ishl(other->posX, 8), java::ishl(ShortArray::at(other->box, 1), 8));
        a->aiState = 41;
        a->setAnim(7);
        spawnFromTemplate(8, a->posX, a->posY - 60);
        return;
    }
    cg().targetActor = nullptr;
    breakActor(a);
}

void inFlight(cActor* a) {
    cActor* other = mountActor();
    if (other && other != a && other != plat::heroActor()) {
        meetContact(a, other);
        return;
    }
    const jint dx = a->posX - originX(a);
    if ((collisionResult() & kSolidHit) || dx >= kThrowRange || dx <= -kThrowRange) breakActor(a);
}

void windUp(cActor* a) {
    cActor* hero = plat::heroActor();
    IntArray* path = throwPath();
    counter(a) = java::iadd(counter(a), 1);
    const jint pairs = path ? path->length() / 2 : 0;
    const jint i = counter(a);
    if (hero && i >= 0 && i < pairs) {
        jint dx = path->data()[2 * i], dy = path->data()[2 * i + 1];
        if (hero->facing == 1) dx = -dx;
        cActor::moveTo(a, java::ishl(hero->posX + dx, 8), java::ishl(hero->posY + dy, 8));
    }
    if (i < counterLimit(a) && i < pairs - 1) return;
    originX(a) = a->posX;
    throwActor(a, throwA(), throwB(), throwC(), throwD());
}

// Falling with ground stick on: the physics step reports every grounded
// step as a landing (8 with 0x100000), so the landing is the ground contact;
// what holds it back is the item's own contact bit 0x100000 (the hero
// dashing into it), not the physics' landed bit.
void landed(cActor* a) {
    if (!(collisionResult() & 8) || (contactFlags(a) & 0x100000) || a->viewRating >= 2) return;
    checkPickup(a, 1);
    if (a->type != 2) return;  // taken
    switch (a->subtype) {
    case 7: a->aiState = 0; break;
    case 144:
        a->setAnimThen(4, 0, false);
        a->timer = 0;
        a->aiState = 0;
        break;
    case 112: break;
    case 13: breakActor(a); break;
    case 32: a->timer = 0; break;
    default:
        // Come to rest where it landed; it waits to be taken.
        cActor::stopMotion(a);
        a->aiState = 18;
        break;
    }
}

}  // namespace

void updateType2(cActor* a) {
    cActor* hero = plat::heroActor();
    switch (a->aiState & 0xFFFFFF) {
    case 0:
        if (plat::param(a, 2) < 0) a->aiState = 27;
        break;
    case 5:
    case 36: inFlight(a); break;
    case 6:
    case 7:
        if (!hero) break;
        plat::ensureMotion(a);
        a->motion->data()[2] = plat::towardSpeed(hero->posX - a->posX, 3072);
        a->motion->data()[3] = plat::towardSpeed(hero->posY - a->posY, 3072);
        checkPickup(a, 1);
        break;
    case 9:
        if (!a->isAnimDone()) break;
        cActor::moveBy(a, a->anim == 1 ? -3840 : 3840, 1280);
        a->setAnim(3);
        plat::ensureMotion(a);
        physicsFlags(a) = 0x1000001;
        a->aiState = 18;
        break;
    case 18:
        checkPickup(a, 1);
        if (a->type == 2 && a->subtype == 144) enterState42(a);
        break;
    case 19:
        if (hero && plat::flyToHero(a, hero, 1536)) a->aiState = 2;
        break;
    case 24: windUp(a); break;
    case 25:
        // Thrown off, it falls through everything until its effect has
        // played; an effect that never plays (its animation missing from
        // the sprite) must not keep it falling for good: below the map it
        // ends all the same.
        a->flags &= ~0x80;
        if (!a->isChildFinished() && a->posY <= cg().mapPixelHeight) break;
        if (a->getTypeParam(13) >= 0 && (plat::param(a, 1) & 4)) {
            physicsFlags(a) &= ~0x1000000;
            queueType2Value(a, a->getTypeParam(13));
        }
        removeActor(a, true);
        return;
    case 27:
        plat::ensureMotion(a);
        physicsFlags(a) = 0x1000001;
        a->aiState = 28;
        break;
    case 28: landed(a); break;
    case 40:
        a->setVelocityLimitsY(-10240, 10240);
        if (collisionResult() & (4 | 8)) a->aiState = 28;
        break;
    case 41:
        if (a->anim == 7 && !a->isAnimDone()) break;
        cActor::stopMotion(a);
        a->setAnim(0);
        a->aiState = 18;
        break;
    case 42:
        if (!a->isAnimDone()) break;
        a->setVelocityLimitsX(-6400, 6400);
        a->setAnim(8);
        a->aiState = 36;
        break;
    default: break;
    }
    if (a->type != 2) return;
    // After the state: a run-time item ends with a script freeze; a timed
    // item (subtype 32) breaks when its time runs out.
    if ((worldFlags() & 32) && a->uniqueId >= 9999) {
        removeActor(a, true);
        return;
    }
    if (a->subtype == 32 && a->timer > 0) {
        a->timer -= 1;
        if (a->timer == 0) breakActor(a);
    }
}

}  // namespace game::behaviour

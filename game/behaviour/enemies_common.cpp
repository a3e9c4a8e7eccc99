// The common enemy AI: one state machine on aiState shared by the 27
// thrown, falling, projectile, swooping, pickup and trap types, with the
// defeat entry and the launch toward a point.
//
// Invariants: set-up guarantees params of at least 5 shorts for these
// types (the needs table), so the attack box and the has-hit mark are
// always there; every other array (parts, linked, the boss's parts) is
// checked before it is read; the timer counts down once a call in every
// state; LEAVE removes the actor on the call that handles it.
#include "game/behaviour/enemies.h"

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/fields_enemies.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/linkpath.h"
#include "game/behaviour/messages.h"
#include "game/behaviour/states.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

jint partAt(cActor* a, jint i) {
    IntArray* p = a->parts;
    return p && i >= 0 && i < p->length() ? p->data()[i] : 0;
}

cActor* hero() { return cg().hero; }

bool boxesMeet(ShortArray* a, ShortArray* b) { return a && b && cActor::rectsIntersect(a, b); }

bool touchesHero(cActor* a) {
    cActor* h = hero();
    return h && boxesMeet(h->box, a->box);
}

bool unguarded() { return !isHeroInvulnerable(); }
bool landed() { return (ca().collisionResult & 0x100000) != 0; }
void stop(cActor* a) { cActor::stopMotion(a); }
void hitA(cActor* a) {
    if (cActor* h = hero()) knockbackHero(h, a, 1, 0);
}
void hitB(cActor* a) { contactDamageFrom(a, 1); }
void markHit(cActor* a) { a->setParam(4, 1); }
jint towardHero(cActor* a) {
    cActor* h = hero();
    return h && a->posX < h->posX ? 1 : -1;
}
jint byFacing(cActor* a) { return a->facing == 1 ? 1 : -1; }

void launch(cActor* a, jint vx, jint vy, jint ax, jint ay) {
    if (!a->motion) return;
    jint* m = a->motion->data();
    m[0] = ax;
    m[1] = ay;
    m[2] = vx;
    m[3] = vy;
}
void setVx(cActor* a, jint i, jint v) {
    if (a->motion) a->motion->data()[i] = v;
}
jint motionAt(cActor* a, jint i) { return a->motion ? a->motion->data()[i] : 0; }
void movePx(cActor* a, jint dx, jint dy) { cActor::moveBy(a, java::imul(dx, 256), java::imul(dy, 256)); }

// ACTIVE with the has-hit mark cleared.
void activeStar(cActor* a) {
    a->aiState = kEnemyActive;
    a->setParam(4, 0);
}

cActor* boss() { return bossActor(); }
bool bossExists() { return boss() != nullptr; }

jint bossPart(jint i) {
    cActor* b = boss();
    if (!b || !b->parts || i < 0 || i >= b->parts->length()) return 0;
    return b->parts->data()[i];
}

cActor* linked0(cActor* a) {
    ObjectArray* l = linked(a);
    if (!l || l->length() < 1) return nullptr;
    return static_cast<cActor*>(l->data()[0]);
}

void leave(cActor* a) {
    a->aiState = kEnemyLeave;
    stop(a);
}

void typeSeventyCatch(cActor* a) {
    a->aiState = kEnemyLeave;
    hitB(a);
    markHit(a);
    stop(a);
    if (cActor* h = hero()) hero::heroDropCarried(h);
    if (bossExists()) bossEventCount() += 1;
}

// The anchor steps of the boss's thrown helpers.
bool anchorBelowHero() {
    cActor* h = hero();
    return h && bossPart(14) > java::ishl(h->posY, 8);
}

void followAnchorSpring(cActor* a) {
    if (!a->motion || !a->parts || a->parts->length() < 2) return;
    jint* m = a->motion->data();
    const jint ax = a->parts->data()[0], ay = a->parts->data()[1];
    m[1] = java::idiv(java::imul(java::isub(java::isub(ay, java::imul(a->posY, 256)), java::imul(20, m[3])), 2), 100);
    m[2] = java::idiv(java::isub(ax, java::imul(a->posX, 256)), 20);
}

void setupBossTarget(cActor* a, jint length) {
    IntArray* p = newIntArray(length);
    a->parts = p;
    const bool below = anchorBelowHero();
    p->data()[0] = java::iadd(bossPart(11), 20480);
    p->data()[1] = java::iadd(bossPart(below ? 12 : 14), 3328);
    if (length > 2) p->data()[2] = below ? 0 : 1;
    launch(a, 3072, 256, 0, 128);
    a->aiState = kEnemyApproach;
}

void setup(cActor* a) {
    if (!a->motion) a->allocMotionState();
    if (a->subtype != 38) a->physicsFlags |= 0x1000002;
    a->setVelocityLimitsX(-25600, 25600);
    a->setVelocityLimitsY(-25600, 25600);
    const jint t = towardHero(a), f = byFacing(a);
    switch (a->type) {
    case 14:
        launch(a, 1280 * t, 25, 256 * t, 25);
        movePx(a, 55 * t, -25);
        a->timer = 40;
        activeStar(a);
        break;
    case 16:
        setVx(a, 3, a->subtype == 94 ? 1408 : 1920);
        setVx(a, 1, 89);
        activeStar(a);
        break;
    case 35:
        setVx(a, 2, 0);
        setVx(a, 3, 1536);
        setVx(a, 1, 89);
        activeStar(a);
        break;
    case 26:
    case 34:
    case 60: activeStar(a); break;
    case 15:
    case 90: {
        launch(a, 0, 2560, 0, 256);
        const jint ground = world::scanTileColumn(a, a->posX, a->posY, 8);
        cActor::attachEffectTo(a, a->posX, ground, 20);
        activeStar(a);
        break;
    }
    case 36:
        launch(a, 3072 * t, -256, 76 * t, 128);
        movePx(a, 70 * t, -38);
        a->timer = 56;
        activeStar(a);
        break;
    case 51:
    case 69:
        launch(a, 3072 * f, a->type == 51 ? -256 : 256, 76 * f, 128);
        movePx(a, 46 * f, -30);
        a->timer = 56;
        activeStar(a);
        break;
    case 84:
        launch(a, 3072 * f, 0, 76 * f, 0);
        movePx(a, 46 * f, 0);
        a->timer = 24;
        activeStar(a);
        break;
    case 70:
        if (a->anim == 9) {
            launch(a, 3072 * f, 0, 76 * f, 0);
            a->timer = 56;
            activeStar(a);
            if (unguarded() && touchesHero(a)) typeSeventyCatch(a);
        } else if (a->anim == 12) {
            launch(a, 1280, 1280, 0, 128);
            movePx(a, 5, 5);
            a->timer = 56;
            activeStar(a);
        }
        break;
    case 100:
        launch(a, 0, 1280, 0, 128);
        a->timer = 56;
        activeStar(a);
        break;
    case 85:
    case 86:
        launch(a, 0, a->type == 85 ? 1280 : 2560, 0, 0);
        lifeTicks(a) = 0;
        movePx(a, 0, a->type == 85 ? 5 : 10);
        a->timer = -1;
        activeStar(a);
        break;
    case 73: {
        counter(a) = java::iadd(counter(a), 1);
        IntArray* limits = launchLimits();
        const jint half = limits ? limits->length() / 2 : 0;
        if (counter(a) < counterLimit(a) && counter(a) < half) {
            a->setAnim(2);
            break;
        }
        a->setAnim(3);
        launch(a, 5888, 0, 0, 0);
        movePx(a, 23, 0);
        a->timer = 56;
        activeStar(a);
        break;
    }
    case 105:
        launch(a, 3200 * f, 0, 96 * f, 0);
        a->timer = 16;
        a->aiState = kEnemyActive;
        break;
    case 82:
        a->timer = 16;
        a->aiState = kEnemyActive;
        break;
    case 104:
    case 108:
        launch(a, 0, 512, 0, 204);
        a->aiState = kEnemyApproach;
        break;
    case 106:
        launch(a, 0, -3840, 0, 480);
        followAnchorSpring(a);
        a->aiState = kEnemyApproach;
        break;
    case 107:
        if (a->isAnimDone()) {
            a->setAnim(47);
            a->aiState = kEnemyApproach;
        }
        break;
    case 95:
        if (bossExists()) setupBossTarget(a, 2);
        break;
    case 96:
        if (bossExists()) setupBossTarget(a, 3);
        break;
    case 54:
        setVx(a, 3, 2560);
        a->aiState = kEnemyActive;
        break;
    default: a->aiState = kEnemyIdle; break;
    }
}

void leaveNow(cActor* a) {
    if (cActor* owner = linked0(a)) {
        IntArray* p = owner->parts;
        if (p && p->length() > 6) {
            p->data()[6] = java::isub(p->data()[6], 1);
            if (p->data()[6] == 0) owner->contactFlags |= 0x80000;
        }
    }
    removeActor(a, true);
}

void approach(cActor* a) {
    switch (a->type) {
    case 95:
    case 96: {
        if (!a->parts || a->parts->length() < 2) return;
        const bool x = approachAxis(a, a->parts->data()[0], 2, 4);
        const bool y = approachAxis(a, a->parts->data()[1], 3, 5);
        if (!(x && y)) return;
        a->aiState = kEnemyActive;
        stop(a);
        if (a->type == 95) {
            a->setAnim(18);
        } else {
            const bool side = a->parts->length() > 2 && a->parts->data()[2] != 0;
            if (side) a->setAnimThen(22, 23, 0);
            else a->setAnimThen(61, 62, 0);
            a->timer = 56;
        }
        return;
    }
    case 104:
        if (landed()) {
            playSound(23);
            stop(a);
            a->releaseChild();
            a->setAnim(8);
            a->aiState = kEnemyActive;
        }
        return;
    case 108:
        if (landed()) {
            if (cActor* m = bossMinionB()) pickupLanded(m) = 1;
            stop(a);
            a->releaseChild();
            a->aiState = kEnemyActive;
        }
        return;
    case 106: {
        counter(a) = java::iadd(counter(a), 1);
        if (!a->parts || a->parts->length() < 2) return;
        const bool x = approachAxis(a, a->parts->data()[0], 2, 4);
        const bool y = approachAxis(a, a->parts->data()[1], 3, 5);
        if (x || y) {
            stop(a);
            a->timer = 10;
            a->aiState = kEnemyActive;
        }
        return;
    }
    case 107:
        a->timer = 56;
        a->aiState = kEnemyActive;
        return;
    default: return;
    }
}

void fleeUp(cActor* a) {
    setVx(a, 0, 1024);
    setVx(a, 1, -2048);
    a->setVelocityLimitsX(0, 3072);
    a->setVelocityLimitsY(-6144, 0);
}

// Leaves once the actor is more than 800 px from the camera centre in the
// direction it moves.
void leaveWhenOutOfView(cActor* a) {
    const jint dx = java::isub(a->posX, cg().cameraX);
    const jint vx = motionAt(a, 2);
    if ((vx >= 0 && dx > 800) || (vx < 0 && dx < -800)) a->aiState = kEnemyLeave;
}

void active(cActor* a) {
    cActor* h = hero();
    switch (a->type) {
    case 14: {
        if (a->timer < 0) return leave(a);
        if (a->contactFlags & 0x800) {
            a->contactFlags &= ~0x800;
            movePx(a, a->facing == 1 ? -60 : 60, 0);
            const jint s = h && h->facing == 1 ? -1 : 1;
            launch(a, 2560 * s, 25, 384 * s, 25);
            a->setPart(0, 2);
        }
        const jint phase = a->getPart(0);
        const bool touching = touchesHero(a);
        if (phase == 0 && unguarded() && touching) {
            a->setPart(0, 1);
        } else if (phase == 1 && !touching) {
            a->aiState = kEnemyLeave;
            hitB(a);
            markHit(a);
            stop(a);
        } else if (phase == 2) {
            cActor* owner = linked0(a);
            if (owner && boxesMeet(a->box, owner->box)) {
                onMessage(owner, 53, 53, -1);
                stop(a);
                a->aiState = kEnemyLeave;
            }
        }
        if (a->aiState == kEnemyActive && landed()) {
            if (a->getPart(0) == 1) {
                hitB(a);
                markHit(a);
            }
            stop(a);
            a->aiState = kEnemyLeave;
        }
        if (a->aiState == kEnemyActive && grabbedActor() != a) checkGrabbedByHero(a);
        return;
    }
    case 16:
        if (touchesHero(a)) {
            playSound(22);
            a->aiState = kEnemyLeave;
            hitA(a);
        } else if (landed()) {
            playSound(22);
            stop(a);
            a->aiState = kEnemyDefeated;
            a->releaseChild();
        }
        return;
    case 34:
    case 60:
        if (touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitA(a);
        } else {
            leaveWhenOutOfView(a);
        }
        return;
    case 35:
        if (touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitA(a);
        } else if (landed()) {
            a->releaseChild();
            stop(a);
            a->aiState = kEnemyDefeated;
        }
        return;
    case 15:
    case 90:
        if (touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitA(a);
            hero::cancelHeroGrab();
        } else if (landed()) {
            a->releaseChild();
            stop(a);
            a->aiState = kEnemyDefeated;
        }
        return;
    case 26: {
        if (cActor* owner = linked0(a)) {
            const jint dx = java::isub(a->posX, cg().cameraX);
            if (h && owner->posX > h->posX) {
                if (dx < -400) {
                    a->aiState = kEnemyLeave;
                    return;
                }
            } else if (dx > 400) {
                a->aiState = kEnemyLeave;
                return;
            }
        } else if (landed()) {
            stop(a);
            a->aiState = kEnemyDefeated;
        }
        if (touchesHero(a)) {
            a->aiState = kEnemyDefeated;
            hitA(a);
            markHit(a);
            stop(a);
        }
        return;
    }
    case 36:
    case 51:
        if (a->timer < 0) return leave(a);
        if (unguarded() && touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitB(a);
            markHit(a);
            stop(a);
        } else if (landed()) {
            leave(a);
        }
        return;
    case 69:
    case 84:
        if (a->timer < 0) return leave(a);
        if (unguarded() && touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitA(a);
            markHit(a);
            stop(a);
        } else if (a->type == 69 ? landed() : hero::isHeroBlockedSideways()) {
            leave(a);
        }
        return;
    case 100:
        if (unguarded() && touchesHero(a)) {
            a->setAnim(24);
            a->aiState = kEnemyDefeated;
            hitB(a);
            if (h) hero::heroDropCarried(h);
            markHit(a);
            stop(a);
        } else if (landed()) {
            stop(a);
            a->setAnim(24);
            a->aiState = kEnemyDefeated;
        }
        return;
    case 70: {
        bool stays = false;
        if (a->timer >= 0) {
            if (unguarded() && touchesHero(a)) {
                typeSeventyCatch(a);
                return;
            }
            cActor::updateScreenBox(a);
            stays = a->viewRating == 0;
        }
        if (!stays) {
            a->aiState = kEnemyLeave;
            stop(a);
            if (bossExists()) bossEventCount() += 1;
        }
        if (a->anim == 12 && landed()) leave(a);
        return;
    }
    case 108:
        if (touchesHero(a)) {
            bossMinion() = nullptr;
            leave(a);
            setVariable(3, java::iadd(getVariable(3), 1), true);
        }
        return;
    case 107:
        if (a->timer < 0) {
            leave(a);
            hero::heroInputLock() &= static_cast<jint>(0x80000000u);
            if (h) h->setAnim(0);
        } else if (h && touchesHero(a) && h->anim != 111) {
            const jint col = a->posX / 36, row = a->box ? a->box->data()[3] / 36 : a->posY / 36;
            if (world::getTileFlags(a, col, row) & 8) {
                hero::heroInputLock() |= 0x7fffffff;
                cActor::stopMotion(h);
                hero::setHeroState(h, 0);
                h->setAnim(111);
            }
        }
        return;
    case 104:
        if (unguarded() && touchesHero(a)) {
            hitB(a);
            if (h) hero::heroDropCarried(h);
        }
        if (a->isAnimDone()) removeActor(a, true);
        return;
    case 106:
        if (a->timer == 0) {
            playSound(23);
            a->setAnim(52);
        }
        if (a->timer < 0) {
            if (a->isAnimDone()) removeActor(a, true);
            else if (unguarded() && touchesHero(a)) {
                hitB(a);
                if (h) hero::heroDropCarried(h);
            }
        }
        return;
    case 105:
        if (a->timer < 0) return leave(a);
        if (unguarded() && touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitB(a);
            stop(a);
            if (h) hero::heroDropCarried(h);
        }
        return;
    case 96:
        if (a->timer < 0) return leave(a);
        if (unguarded() && touchesHero(a)) {
            hitB(a);
            stop(a);
        }
        return;
    case 82:
        if (a->timer < 0) return leave(a);
        if (unguarded() && touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitB(a);
            markHit(a);
            stop(a);
            return;
        }
        a->scale = java::iadd(a->scale, 2);
        return;
    case 85:
        lifeTicks(a) = java::iadd(lifeTicks(a), 1);
        if (lifeTicks(a) > 38) return leave(a);
        if (unguarded() && touchesHero(a)) {
            a->aiState = kEnemyLeave;
            if (unguarded()) {
                playSound(29);
                applyHeroDamage(1, 53);
            }
            playSound(29);
            markHit(a);
            stop(a);
        }
        return;
    case 86:
        if (landed()) {
            launch(a, 0, 0, 0, 0);
            a->setAnimThen(2, 1, 0);
        } else if (unguarded() && touchesHero(a)) {
            a->aiState = kEnemyLeave;
            hitB(a);
            markHit(a);
            stop(a);
        }
        return;
    case 73: {
        const jint cx = cg().cameraX;
        if (a->timer < 0 || a->posX > java::iadd(cx, 800) || a->posX < java::isub(cx, 400) ||
            hero::isHeroBlockedSideways())
            return leave(a);
        cActor* m = ca().mountActor;
        if (m && (m->type == 6 || m->type == 49)) m->contactFlags |= 0x2000;
        return;
    }
    case 54:
        if (landed()) {
            stop(a);
            switchToType3(a, 0);
        }
        return;
    case 95: {
        cActor* b = boss();
        if (!b) return;
        if (b->aiState == 24) {
            a->setAnim(19);
            if (unguarded() && touchesHero(a)) {
                hitB(a);
                stop(a);
            }
        } else {
            a->aiState = kEnemyDefeated;
        }
        return;
    }
    default:
        if (landed()) defeatEnemy(a, ca().mountActor == h && h ? 1 : 0);
        return;
    }
}

bool isDropperType(jint type) { return type == 16 || type == 26 || type == 35 || type == 15 || type == 90; }

void defeated(cActor* a) {
    cActor* h = hero();
    if (isDropperType(a->type)) {
        if (unguarded() && h && boxesMeet(h->box, a->attackBox) && a->getParamOr(4) == 0 && a->anim != 26) {
            if (a->type == 15 || a->type == 90) hitA(a);
            else hitB(a);
            markHit(a);
        }
        const jint an = a->anim;
        if (an == 25 || an == 38 || an == 3 || an == 42 || an == 7) {
            if (a->isAnimDone()) {
                // A spawner's child drops for its target whichever defeat
                // animation it ended with, three at most per target (the
                // drop may take the pool slot the child leaves).
                const jint x = a->posX, y = a->posY;
                const bool drops = (a->type == 16 || a->type == 26 || a->type == 35) && partAt(a, 6) == 1;
                if (an == 42 || an == 3 || an == 7) removeActor(a, true);
                else a->setAnim(26);
                if (drops) {
                    cActor* target = cg().targetActor;
                    IntArray* tp = target ? target->parts : nullptr;
                    if (tp && tp->length() > 10 && tp->data()[10] < 3) {
                        tp->data()[10] += 1;
                        spawnFromTemplate(8, x, y);
                    }
                }
            }
        } else if (an == 26) {
            if (a->isAnimDone()) removeActor(a, true);
        } else {
            switch (a->type) {
            case 16:
                a->sprite = getSpriteById(8, 18);
                a->setAnim(38);
                break;
            case 15: a->setAnim(3); break;
            case 90: a->setAnim(7); break;
            case 26:
                a->sprite = getSpriteById(8, 18);
                a->setAnim(42);
                break;
            case 35:
                a->sprite = getSpriteById(8, 18);
                a->setAnim(25);
                break;
            default: break;
            }
        }
    } else if (a->type == 95 || a->type == 100) {
        if (a->isAnimDone()) a->aiState = kEnemyLeave;
    } else {
        stop(a);
        if (a->anim != 2 && h && boxesMeet(h->box, a->box)) hurtHero(h, 0, 1, false);
        if (a->isAnimDone()) a->aiState = kEnemyLeave;
    }
    a->physicsFlags &= ~4;
}

}  // namespace

void updateEnemy(cActor* self) {
    if (!self) return;
    if (worldFlags() & 16) {
        self->sprite = getSpriteById(8, 18);
        self->flags |= 0x20000;
        self->setAnim(7);
        self->type = 3;
        self->physicsFlags = 0;
        return;
    }
    if (self->subtype != 11)
        self->setAttackBox(self->getParamOr(2), self->getParamOr(3), self->getParamOr(0), self->getParamOr(1));
    self->timer = java::isub(self->timer, 1);
    switch (self->aiState) {
    case kEnemySetup: setup(self); break;
    case kEnemyLeave: leaveNow(self); break;
    case kEnemyApproach: approach(self); break;
    case kEnemyFleeUp: fleeUp(self); break;
    case kEnemyActive: active(self); break;
    case kEnemyDefeated: defeated(self); break;
    default: break;
    }
}

void defeatEnemy(cActor* self, jint pushHero) {
    if (!self) return;
    self->releaseChild();
    self->aiState = kEnemyDefeated;
    if (self->anim == 1) {
        if (pushHero) self->aiState = kEnemyLeave;
        else self->setAnim(2);
        if (cActor* owner = tileOwner()) owner->contactFlags |= 0x10000;
    } else {
        self->sprite = getSpriteById(8, 18);
        self->setAnim(8);
    }
    if (pushHero) {
        if (cActor* h = hero()) knockbackHero(h, self, 1, 1);
    }
    self->flags &= ~0x800;
}

bool launchEnemyToward(cActor* self, jint x, jint y, jint accel, jint maxSpeed) {
    if (!self) return false;
    if (self->aiState == kEnemySetup) updateEnemy(self);
    cActor::stopMotion(self);
    self->aiState = kEnemyActive;
    accelerateToward(self, x, y, accel, maxSpeed);
    return true;
}

}  // namespace game::behaviour

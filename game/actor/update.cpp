// The per-frame update of an actor (common head, motion with the carried,
// type dispatch, facing), level-script events, the framework's own small
// per-type routines (61, 62, 64, 74, 75, 80), the hero bounce, and the
// completion of a new actor (sprite and box).
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/behaviour/types.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"
#include "runtime/log.h"

using namespace game;


bool game::isTargetSubtype(jint subtype) {
    switch (subtype) {
    case 20: case 104: case 122: case 238: case 255: case 3003: return true;
    default: return false;
    }
}

bool game::isPickupKind5(cActor* a) { return a && a->type == 2 && a->getTypeParam(12) == 5; }

namespace {

cActor* theHero() { return cg().hero; }

bool heroBoxMeets(cActor* a) {
    cActor* h = theHero();
    return h && h->box && a->box && cActor::rectsIntersect(a->box, h->box);
}

void moveRiderAlong(cActor* a, jint dx, jint dy) {
    cActor* r = a->carried;
    if (!r) return;
    jint* m = a->motion->data();
    if (r != theHero()) {
        cActor::moveBy(r, dx, dy);
        jint tx = java::iadd(java::ishl(r->posX - a->posX, 8), m[4]);
        jint ty = java::iadd(java::ishl(r->posY - a->posY, 8), m[5]);
        jint rx = r->motion ? r->motion->data()[4] : java::ishl(r->posX, 8);
        jint ry = r->motion ? r->motion->data()[5] : java::ishl(r->posY, 8);
        if (tx != rx || ty != ry) cActor::moveBy(r, java::isub(tx, rx), java::isub(ty, ry));
        return;
    }
    game::world::moveHeroBy(r, dx, dy);
    m = a->motion->data();
    jint hx = r->motion ? r->motion->data()[4] : java::ishl(r->posX, 8);
    jint hy = r->motion ? r->motion->data()[5] : java::ishl(r->posY, 8);
    jint cx = a->type == 88 ? 0 : java::isub(java::iadd(java::ishl(r->posX - a->posX, 8), m[4]), hx);
    jint wantY = java::isub(m[5], java::ishl(cActor::getHeight(a), 8));
    if (cx != 0 || hy != wantY) game::world::moveHeroBy(r, cx, java::isub(wantY, hy));
}

void updateType3(cActor* a) {
    if (a->isAnimDone()) removeActor(a, true);
}

void updateCarrierType(cActor* a, jint excludedState) {
    if (game::world::isAnyScriptActive()) return;
    cActor* h = theHero();
    if (!h || h->anim == 7 || ca().heroState == excludedState) return;
    if (heroBoxMeets(a)) {
        (a->type == 61 ? game::behaviour::driveHeroType61(a) : game::behaviour::driveHeroType75(a));
        ca().heroInputLock |= 0x8001C;
        ca().heroInputMode = 5;
    }
}

void updateType64(cActor* a) {
    if (game::world::isAnyScriptActive()) return;
    cActor* h = theHero();
    if (!h || h->anim == 7) return;
    if (ca().heroState == 9 && !(a->posY > ca().heroStateVars->data()[3])) return;
    if (heroBoxMeets(a)) game::behaviour::launchHeroType64(a);
}

void updateType80(cActor* a) {
    if (a->aiState == 0) {
        jint l = a->posX + a->getParam(3), t = a->posY + a->getParam(4);
        cActor::setBox(a->box, l, t, l + a->getParam(1), t + a->getParam(2));
        a->aiState = 2;
    } else if (a->aiState == 2) {
        cActor* h = theHero();
        if (h && h->anim != 7 && heroBoxMeets(a)) {
            if (h->motion) h->motion->data()[3] = java::ishl(a->getParam(0), 8);
            ca().liftZoneHit = 1;
        }
    }
}

void updateType62(cActor* a) {
    if (game::world::isAnyScriptActive()) return;
    switch (a->aiState) {
    case 0: a->aiState = 2; break;
    case 2: {
        bool fire = false;
        switch (a->getParam(1)) {
        case 0:
            if (a->contactFlags & 0x10000) {
                a->contactFlags &= ~0x10000;
                fire = true;
            }
            break;
        case 2: fire = ca().heroState == 7 && heroBoxMeets(a); break;
        case 1:
            if (heroBoxMeets(a) && ca().partnerMode > 6) {
                ca().partnerActor = a;
                ca().partnerMode = 6;
            }
            break;
        default: break;
        }
        if (fire) a->aiState = 6;
        break;
    }
    case 6: {
        a->setAnim(1);
        // The level code clears the record half; the live actor is changed here.
        clearLevelObjectFlags(a->uniqueId, 0x1000000);
        a->physicsFlags = 0;
        if (cActor* t = getActorById(a->getParam(0))) {
            t->setAnimThen(3, 4, false);
            clearLevelObjectFlags(t->uniqueId, 0x1000000);
            t->physicsFlags = 0;
        }
        a->aiState = 30;
        break;
    }
    default: break;
    }
}

jint clampPower(jint v) { return v < 256 ? 256 : v > 947 ? 947 : v; }

void updateType74(cActor* a) {
    cActor* h = theHero();
    switch (a->aiState) {
    case 0:
        a->setAttackBox(a->getParam(2), a->getParam(3), a->getParam(0), a->getParam(1));
        a->counter = 0;
        a->aiState = 2;
        break;
    case 2: {
        bool falls = h && h->motion && h->motion->data()[3] > 0;
        if (falls && a->attackBox && h->box && cActor::boxContains(a->attackBox, h->posX, h->box->data()[3])) {
            ca().heroInputLock |= 0x7FFFFFFF;
            game::hero::setHeroState(h, 0);
            a->bouncePower += 256;
            a->counter = 30;
            a->setAnim(a->bouncePower + 256 < 972 ? 6 : 8);
            a->aiState = 6;
        } else {
            a->counter -= 1;
            if (a->counter <= 0) {
                a->counter = 0;
                a->bouncePower = 0;
            }
        }
        break;
    }
    case 6: {
        if (!a->isAnimDone()) break;
        jint A = clampPower(a->bouncePower + 256), B = clampPower(a->bouncePower + 460);
        if (h && a->attackBox && h->box && cActor::rectsIntersect(a->attackBox, h->box))
            bounceHero(h, a->anim == 6 ? -1 : 41, A, B);
        ca().heroInputLock &= static_cast<jint>(0x80000000u);
        a->setAnimThen(9, 5, false);
        a->aiState = 2;
        break;
    }
    default: break;
    }
}

}  // namespace

void game::bounceHero(cActor* h, jint kind, jint powerA, jint powerB) {
    ca().heroLaunched = 0;
    jint* v = ca().heroStateVars->data();
    v[0] = 0;
    v[1] = 3360;
    v[2] = 3360;
    v[3] = powerA;
    v[4] = powerB;
    v[5] = kind;
    v[6] = 0;
    playSound(19);
    game::hero::heroStateDispatch(h, ca().heroState, 2);
    if (ca().heroState != 3) {
        h->physicsFlags = 0x1000203;
        game::hero::applyHeroStateTables(h, 3);
    }
    ca().heroState = 3;
    ca().heroStateTicks = 0;
    game::hero::heroStateDispatch(h, 3, 0);
}

void cActor::update() {
    prevX = posX;
    prevY = posY;
    if (type == 0) {
        ObjectArray* hist = ca().heroHistory;
        Object* oldest = hist->data()[0];
        hist->data()[0] = hist->data()[1];
        hist->data()[1] = hist->data()[2];
        hist->data()[2] = oldest;
        jint* e = static_cast<IntArray*>(oldest)->data();
        e[0] = posX;
        e[1] = posY;
        e[2] = anim;
        e[3] = frame;
        e[4] = paintFlags;
    }
    if (cg().animationsFrozen == 0) updateAnimation();
    if (motion) {
        ca().collisionResult = 0;
        applyAcceleration(this);
        ca().hasRotatedContact = 0;
        if (physicsFlags & 0x1000000) {
            ca().mountActor = nullptr;
            ca().heroFrameBits = 0;
            ca().physicsDx = ca().physicsDy = 0;
            copyBox(box, savedBox);
            game::world::heroPhysics(this);
        }
        jint dx, dy;
        if ((physicsFlags & 0x1000000) && !(physicsFlags & 64)) {
            dx = ca().physicsDx;
            dy = ca().physicsDy;
        } else {
            dx = motion->data()[2];
            dy = motion->data()[3];
        }
        ca().physicsDx = ca().physicsDy = 0;
        jint oldX = posX, oldY = posY;
        moveBy(this, dx, dy);
        if (contactFlags & 16) dx = java::ishl(posX - oldX, 8);
        if (contactFlags & 32) dy = java::ishl(posY - oldY, 8);
        if (carried) moveRiderAlong(this, dx, dy);
    }
    switch (type) {
    case 3: updateType3(this); break;
    case 61: updateCarrierType(this, 21); break;
    case 75: updateCarrierType(this, 39); break;
    case 62: updateType62(this); break;
    case 64: updateType64(this); break;
    case 74: updateType74(this); break;
    case 80: updateType80(this); break;
    case 59: updateType59(this); break;
    case 0:
        if (!game::behaviour::updateType(0, this))
            if (HeroUpdateRoutine r = heroUpdateRoutine()) r(this);
        break;
    default:
        if (type >= 0 && type <= 111) game::behaviour::updateType(type, this);
        break;
    }
    paintFlags = (paintFlags & ~1) | (facing ? 1 : 0);
    if (carried) {
        if (type != 8 && (ca().collisionResult & 1)) return;
        if (!(flags & 0x4000000)) setFacing(carried, facing);
    }
}

void cActor::handleEvent(jint kind, jint a, jint b, jint count) {
    if (count == 1) {
        if (kind == 3) scriptHold = 0;
        else if (kind == 4) releaseChild();
    } else if (count == 2) {
        if (kind == 0) {
            scriptHold = 1;
            scriptValue = a;
            if (cActor* h = theHero()) game::hero::setHeroState(h, 29);
        }
    } else if (count == 3) {
        switch (kind) {
        case 0:
            cg().checkpointTimer = 0;
            game::hero::resetHero(this, a, b);
            break;
        case 1: startFlyAway(java::i2s(a), java::i2s(b)); break;
        case 2:
            cg().checkpointTimer = 0;
            moveBy(this, java::ishl(a, 8), java::ishl(b, 8));
            if (this == theHero()) (cg().cameraX += a, cg().cameraY += b);
            break;
        default: break;
        }
    }
}

// --- completing a new actor ---------------------------------------------------

void cActor::setupSpriteAndBox(cActor* a) {
    if (!a) return;
    jint st = a->subtype;
    if (st == 2 || st == 82 || st == 83 || st == 84) {
        jint n = st == 2 ? a->getParam(2) : st == 82 ? a->getParam(7) : a->getParam(0);
        if (n >= 0) a->sprite = getSpriteByNumber(n);
    } else if (st == 15) {
        a->sprite = getSpriteById(13, a->getTypeParam(3));
    } else if (a->getTypeParam(2) >= 0) {
        a->sprite = getSpriteById(a->getTypeParam(2), a->getTypeParam(3));
    }
    if (st == 165) {
        jint h = a->getParam(0) * getHeight(a);
        offsetDrawAndBox(a, 0, h / 2);
        game::world::setBoxSize(a, getWidth(a), h);
    } else if (a->getTypeParam(6) < 0 || a->getTypeParam(7) < 0) {
        updateBoxFromSprite(a);
    }
    updateScreenBox(a);
    switch (a->type) {
    case 4:
        game::behaviour::stampCollisionTiles(a, 1);
        game::behaviour::restoreTrackedCells(a);
        break;
    case 2:
        // Subkind 8 (the big item) shows at 150 %.
        if (a->getParam(1) & 8) a->scale = 150;
        break;
    case 61:
    case 75: setRowBox(a); break;
    default: break;
    }
}

void cActor::updateBoxFromSprite(cActor* a) {
    if (!a || !a->sprite) return;
    IntArray* r = ca().frameRect;
    if (a->subtype == 83 || a->subtype == 84) a->sprite->getFrameRect(r, a->anim, 0, 0, 0);
    else a->sprite->getAFrameRect(r, a->anim, a->frame, 0, 0, 0);
    const jint* v = r->data();
    game::world::setBoxSize(a, v[2] - v[0], v[3] - v[1]);
}

void cActor::setRowBox(cActor* a) {
    jint w = a->getTypeParam(6), h = a->getTypeParam(7);
    setBox(a->box, a->posX, a->posY - h / 2, a->posX + a->getParam(0) * w, a->posY + h / 2);
}


void cActor::startScaleTween(cActor* a, jint target, jint duration) {
    if (!a) return;
    jint w = getWidth(a), h = getHeight(a);
    jint slot = duration ? findFreeTweenSlot() : -1;
    if (duration && slot >= 0) {
        cGameStatics& g = cg();
        if (a == g.hero && a->scale != target)
            spawnChild(a, getSpriteById(8, 20), a->subtype == 0 || a->subtype == 242 ? 1 : 2, 0, a->posX, a->posY, 10,
                       0xC0A000);
        g.tweenActors->data()[slot] = a;
        g.tweenFrom->data()[slot] = a->scale;
        g.tweenTo->data()[slot] = target;
        g.tweenElapsed->data()[slot] = 0;
        g.tweenSlots->data()[slot] = duration;
        g.tweenBoxW->data()[slot] = java::idiv(java::imul(w, 100), a->scale);
        g.tweenBoxH->data()[slot] = java::idiv(java::imul(h, 100), a->scale);
        return;
    }
    // No duration, or every slot busy: the new scale at once.
    jint w100 = java::idiv(java::imul(w, 100), a->scale), h100 = java::idiv(java::imul(h, 100), a->scale);
    a->scale = target;
    game::world::setBoxSize(a, duration ? w100 : w, duration ? h100 : h);
}

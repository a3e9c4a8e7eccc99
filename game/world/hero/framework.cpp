// The hero seam's framework and flow calls bound to their owners: the hero
// predicates and the in-air control routine over the actor framework's
// statics, FLY's shot record, the level rectangles, the touch controls and
// dialogs of the game flow, and the behaviours' routines the hero states
// call.
#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/flowseams.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/death.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/states.h"
#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/hero/util.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::hero {

// --- hero predicates ------------------------------------------------------------
bool isHeroParamsNeutral() { return heroVar(1) == 4128 && heroVar(2) == 4128; }
bool isHeroActionKeyPressed(cActor* a) {
    return ca().physicsDy == 0 && (ca().heroActionMask & act::ANY_JUMP) && a->subtype != 3010;
}
bool isHeroBlockedSideways() {
    jint r = ca().collisionResult;
    if (!(r & hit::SIDE)) return false;
    cActor* m = ca().mountActor;
    return !((r & hit::ACTOR) && m && m->type == 6);
}
bool isHeroOnMount() {
    jint r = ca().collisionResult;
    cActor* m = ca().mountActor;
    return (r & 4) && (r & 16) && m && m->type == 6;
}
bool isTargetType94() { return cg().targetActor && cg().targetActor->type == 94; }

// --- in-air control (JUMP and POWER_RUN, once a step) ---------------------------
void handleHeroControls(cActor* h) {
    // A launch given a duration keeps the run counter up.
    if (ca().heroFlagA) cg().runCounter = 16;
    if (!isLevel7() && heroVar(6) == 0 && has(act::DOWN) && h->subtype != 3010) {
        setHeroState(h, HeroState::STOMP);
        return;
    }
    jint d = heroVar(0);
    jint key = d == 0 ? 0 : (d < 0 ? act::JUMP_LEFT : act::JUMP_RIGHT);
    bool held = has(key | act::STRAIGHT_JUMP) || h->anim == 9 || h->anim == 19;
    if (!airControl()) {
        jint r = ca().collisionResult;
        if ((r & 8) && !(r & hit::LANDED) && !(r & 192)) {
            setVy(h, 0);
            playSound(15);
            setAirControl(1);
        } else if (heroStateTicks() >= 5) {
            setAirControl(1);
        }
    }
    if (!held) {
        h->flightSteer = 1;
        setVx(h, d * 1920);
    }
    if (h->flightSteer && heroVar(6) == 0 && steerHeroFacing(h, 2280, 2280, true)) {
        setAx(h, 0);
        setVx(h, heroVar(0) * 1920);
        setHeroVar(0, 0);
        if (has(act::ANY_JUMP)) inputOptions() |= 1;
    }
    if (!airControl() || ca().heroLaunched) {
        steerHero(h, ca().heroLaunched || held);
        applyHeroJumpVelocity(h, held);
    } else {
        if (heroVar(0) < 0)
            limitsX(h, -heroVar(1), -480);
        else if (heroVar(0) > 0)
            limitsX(h, 480, heroVar(1));
        if (h->flightSteer) setAx(h, heroVar(0) * -640);
        setAy(h, 960);
    }
    jumpCurveIndex() += 1;
    if (vy(h) > 0 && heroVar(5) == -1) setAnim(h, 10);
    jint r = ca().collisionResult;
    if (vy(h) < 0 && (r & 8) && !(r & hit::LANDED) && !(r & 192)) {
        setVx(h, java::imul(vx(h), 352) >> 8);
        limitsY(h, 0, 25600);
    }
}

// --- framework operations -------------------------------------------------------
// A held actor's throw, handed to its behaviour (AI state 24): kind 1 flies
// ahead in the direction dir, kind 2 to the aim marker's position. The
// behaviour winds the item up for `frames` steps along its path, then throws.
void handThrow(cActor* a, jint dir, jint kind, jint frames, cActor* marker) {
    if (!a) return;
    const jint tx = marker ? marker->posX : 0, ty = marker ? marker->posY : 0;
    behaviour::enterState24(a, kind, dir, tx, ty, frames);
}
void setHeroAttackBox(cActor* h, jint w, jint hh, jint centred) { cActor::setHeroAttackBox(h, w, hh, centred); }
bool approachLimit(cActor* a, jint limit, jint vIndex, jint pIndex, jint flag) {
    return cActor::approachLimit(a, limit, vIndex, pIndex, flag != 0);
}
bool wayUpHitsType8(cActor* h) {
    ShortArray* b = ca().spareBox;
    if (!b || b->length() < 4) return false;
    jint top = boxEdge(h, 1);
    cActor::setBox(b, boxEdge(h, 0), top - (boxEdge(h, 3) - top), boxEdge(h, 2), top);
    return hitsActiveType8Actor(b);
}
bool levelRect(jint id, jint* left, jint* top, jint* width, jint* height) {
    jint n = findRectIndex(id);
    if (n < 0) return false;
    *left = getRectField(n, 0);
    *top = getRectField(n, 1);
    *width = getRectField(n, 2);
    *height = getRectField(n, 3);
    return true;
}
cActor* spawnShot(jint x, jint y) {
    ShortArray* r = newShortArray(12);
    const jint values[12] = {199, nextUniqueId(), x, y, 0, 3, 160, 16, 16, -8, -16, 0};
    for (jint i = 0; i < 12; ++i) r->data()[i] = static_cast<jshort>(values[i]);
    return spawnActor(r, 12, 0);
}
void setShotCounters(cActor* shot) {
    shot->counter = 0;
    shot->counterLimit = 3;
}
bool isLevel7() { return cg().stage == 7; }
jint levelNumber() { return cg().difficulty; }
// The scripted camera scroll runs: camera flag 64 and no transition.
bool transitionFlag64Idle() { return (cg().cameraFlags & 64) && !cg().inTransition; }
void kill(cActor* h) { game::behaviour::kill(h); }

// --- behaviours ---------------------------------------------------------------
void knockback(cActor* h, jint dir, jint anim, jint a, jint b, jint c, jint d) {
    behaviour::knockback(h, dir, anim, a, b, c, d);
}
void hurtHero(cActor* h, jint pushY, jint amount, jint force) { behaviour::hurtHero(h, pushY, amount, force != 0); }
void loseLife(cActor* h) { behaviour::loseLife(h); }
void collectHeldItem(cActor* item) {
    if (item) behaviour::collectHeldItem(item);
}
void checkPickup(cActor* item, jint how) {
    if (item) behaviour::checkPickup(item, how);
}
void summonSlotActors(cActor* item) {
    if (item) behaviour::summonSlotActors(item);
}
// The pickup notice: its flag (set by PICKUP, cleared on leaving it) and
// the level timer's value when it was given.
void notePickup() { ca().pickupNoticeTime = cg().levelTimer; }
// Items shaken out of an object count as level items.
void countLevelItem() { game::addPickupCount(0, 0); }
void interactHeroType45(cActor* a, cActor* h) {
    if (a && h) behaviour::interactHeroType45(a, h);
}
jint chainMode(cActor* c) { return c ? behaviour::chainMode(c) : 0; }
jint swingSide(cActor* c) { return c ? behaviour::swingSide(c) : 0; }
jint swingBoost(cActor* c) { return c ? behaviour::swingBoost(c) : 0; }
void setSwingBoost(cActor* c, jint v) {
    if (c) behaviour::swingBoost(c) = v;
}
// cGame.climbExitDir: no routine of the game sets it, so it reads 0 and
// only the move keys take the hero off a ladder.
jint climbExitDir() { return 0; }

// --- game flow ------------------------------------------------------------------
bool touchControls() { return cg().touchActive; }
bool touchZone(jint i) { return isTouchInRect(padZone(i)); }
bool touchInZones() { return touchZone(1) || touchZone(0) || touchZone(2); }
bool dialogHoldsHero() { return game::isDialogActive() && (cg().dialogMode == 2 || cg().dialogMode == 3); }
void decrementVariable6() {
    const jint v = game::getVariable(6);
    if (v > 0) game::setVariable(6, v - 1, false);
}

}  // namespace game::hero

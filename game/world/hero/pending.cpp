// Seam calls whose owners (the actor framework's hero operations, the game
// flow's keys, touch, math and state requests, the actor behaviours) have
// not reached this library yet. The hero operations follow their own
// specification line by line; the rest answer neutrally (no key, no touch,
// no dialog, nothing done). Each moves to its owner's call when that lands,
// and this file goes away.
#include <cmath>

#include "game/actor/actor.h"
#include "game/actor/host.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/world/hero/machine.h"
#include "game/world/hero/util.h"
#include "game/world/scripts.h"
#include "game/world/statics.h"

namespace game::hero {

// --- hero-side framework operations --------------------------------------
bool isHeroSubtype(cActor* a) { return a->subtype == 0 || a->subtype == 242; }
bool isHeroParamsNeutral() { return heroVar(1) == 4128 && heroVar(2) == 4128; }
bool isHeroDead() { return game::isHeroDead(cg().heroStatus); }
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
bool isFacingPartner(cActor* a) {
    cActor* p = ca().partner;
    return p && ca().partnerMode == 1 && (a->facing == 1 ? p->posX < a->posX : p->posX > a->posX);
}
bool isTargetType94() { return stores().targetActor && stores().targetActor->type == 94; }
bool isProgressBitClear(jint bits) { return game::isProgressBitClear(bits); }
bool updateFacingFromKeys(cActor* a) {
    jint m = ca().heroActionMask;
    if (a->facing == 0 && (m & act::LEFT_DOWN)) {
        cActor::setFacing(a, 1);
        return true;
    }
    if (a->facing == 1 && (m & act::RIGHT_DOWN)) {
        cActor::setFacing(a, 0);
        return true;
    }
    return false;
}
bool tryEnterHeroState2(cActor* h) {
    jint r = ca().collisionResult;
    if ((r & 1) && !(r & 192) && !(r & hit::LANDED)) {
        setVy(h, 4800);
        setHeroState(h, HeroState::FALL);
        return true;
    }
    return false;
}
void applyHeroJumpVelocity(cActor* h, bool alt) {
    jint k = (alt || hs().jumpUseAlt) ? heroVar(4) : heroVar(3);
    IntArray* curve = hs().jumpCurve;
    jint i = hs().jumpCurveIndex;
    jint c = curve && i >= 0 && i < curve->length() ? curve->data()[i] : 0;
    setVy(h, (c * k) >> 8);
}
void applyHeroHit(cActor* h, jint kind, jint dir, bool enter) {
    setHeroVar(0, dir == 99 ? dirOf(h) : dir);
    setHeroVar(1, 5120);
    setHeroVar(2, 5120);
    setHeroVar(3, 320);
    setHeroVar(4, 320);
    setHeroVar(5, kind);
    setHeroVar(6, 0);
    playSound(19);
    if (enter) setHeroState(h, HeroState::JUMP);
}
void handleHeroControls(cActor* h) {
    if (!isLevel7() && heroVar(6) == 0 && has(act::DOWN) && h->subtype != 3010) {
        setHeroState(h, HeroState::STOMP);
        return;
    }
    jint d = heroVar(0);
    jint key = d == 0 ? 0 : (d < 0 ? act::JUMP_LEFT : act::JUMP_RIGHT);
    bool held = has(key | act::STRAIGHT_JUMP) || h->anim == 9 || h->anim == 19;
    if (!airControlFlag()) {
        jint r = ca().collisionResult;
        if ((r & 8) && !(r & hit::LANDED) && !(r & 192)) {
            setVy(h, 0);
            playSound(15);
            airControlFlag() = 1;
        } else if (heroStateTicks() >= 5) {
            airControlFlag() = 1;
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
    if (!airControlFlag() || ca().heroLaunched) {
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
    hs().jumpCurveIndex += 1;
    if (vy(h) > 0 && heroVar(5) == -1) setAnim(h, 10);
    jint r = ca().collisionResult;
    if (vy(h) < 0 && (r & 8) && !(r & hit::LANDED) && !(r & 192)) {
        setVx(h, (vx(h) * 352) >> 8);
        limitsY(h, 0, 25600);
    }
}
void setHeroMove(cActor* h, jint kind, jint param, jint mode, jint duration) {
    jint d = duration == -1 ? 130 : duration;
    ca().heroFlagA = duration != 0;
    if (kind == 0) setHeroVar(0, 0);
    if (kind == 1) setHeroVar(0, dirOf(h));
    if (kind == 2) {
        cActor::setFacing(h, 1);
        setHeroVar(0, -1);
    }
    if (kind == 3) {
        cActor::setFacing(h, 0);
        setHeroVar(0, 1);
    }
    setHeroVar(1, 4640);
    setHeroVar(2, 4640);
    jint power = static_cast<jint>(d / 74.0 * 256);
    setHeroVar(3, power);
    setHeroVar(4, power);
    bool heroKind = isHeroSubtype(h);
    setHeroVar(5, mode == 185 ? (d < 1 ? 19 : (heroKind ? 41 : -1)) : (heroKind ? 36 : -1));
    setHeroVar(6, param);
    setHeroState(h, h->subtype == 3010 ? HeroState::HOP : HeroState::JUMP);
    ca().heroLaunched = 1;
}
void resetHeroStateAfterLanding() {
    cActor* h = cg().hero;
    if (!h) return;
    if (hs().landingMode) {
        setHeroVar(0, 2048);
        setHeroState(h, HeroState::CRUISE);
    } else {
        setHeroState(h, HeroState::STAND);
    }
}
void holdHeroState() {
    jint t = heroStateTicks() + 5;
    if (heroVar(0) < t) setHeroVar(0, t);
}
jint getCarryAnim(cActor* h, jint dir) {
    bool against = (dir == 1) != (h->facing == 1);
    return ca().grabMode == 3 ? (against ? 74 : 72) : (against ? 73 : 71);
}
jint heroState37(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        h->releaseChild();
        cActor::stopMotion(h);
    } else if (phase == HeroPhase::EXIT) {
        h->releaseChild();
    }
    return 0;
}
bool tryMountAction(cActor*, jint, jint) { return false; }
void dropCarried(cActor* h) {
    if (!ca().carried) return;
    playSound(20);
    setHeroState(h, HeroState::GRAB_COMBO);
}
bool tryDropCarried(cActor* h) {
    if (!has(act::ACTION) || !ca().carried) return false;
    heroDropCarried(h);
    return true;
}
void throwCarried(cActor*, jint, jint, jint, jint) {}
void handThrow(cActor* a, jint dir, jint, jint, cActor*) { a->throwStartX = a->posX + dir; }
void interactHeroType45(cActor*, cActor*) {}
void readHeroInput() {}
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
void setMappedAnimThen(cActor* a, jint first, jint then, jint flags) { a->setAnimThen(first, then, flags != 0); }
jint chainMode(cActor*) { return 0; }
jint swingSide(cActor*) { return 0; }
jint swingBoost(cActor*) { return 0; }
void setSwingBoost(cActor*, jint) {}
void setClimbDirection(cActor*, jint dir) { hs().climbEntryDir = dir; }
jint climbExitDir() { return 0; }
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
    shot->pathPoint = 0;
    wd().counterLimit = 3;
}
cActor* spawnFromTemplate(jint templateId, jint x, jint y) { return game::spawnFromTemplate(templateId, x, y); }
void removeActor(cActor* a) { game::removeActor(a, true); }
bool isScriptTarget(jint id) { return world::isScriptTargetId(id); }
bool isLevel7() { return cg().stage == 7; }
jint levelNumber() { return cg().difficulty; }
bool transitionFlag64Idle() { return true; }
void kill(cActor* h) { actorHost().kill(h); }

// --- behaviours -------------------------------------------------------------
void knockback(cActor*, jint, jint, jint, jint, jint, jint) {}
void hurtHero(cActor*, jint, jint, jint) {}
void loseLife(cActor*) {}
void collectHeldItem(cActor*) {}
void checkPickup(cActor*, jint) {}
void summonSlotActors() {}
void notePickup() {}
void countLevelItem() {}
void switchToNextHero() {}

// --- game flow ----------------------------------------------------------------
void resetKeys() {}
bool keyPressed(jint) { return false; }
bool keyHeld(jint) { return false; }
bool keyReleased(jint) { return false; }
bool touchControls() { return false; }
bool anyKeyActive() { return false; }
bool touchZone(jint) { return false; }
bool touchInZones() { return false; }
bool dialogHoldsHero() { return false; }
bool inSegmentRange(cActor*) { return false; }
void decrementVariable6() {}
void requestGameState(jint) {}
jint fixedSin(jint degrees) {
    return static_cast<jint>(std::lround(std::sin(degrees * 3.14159265358979323846 / 180.0) * 16384));
}
jint cos256(jint degrees) { return fixedSin(degrees + 90) >> 6; }
jint sin256(jint degrees) { return fixedSin(degrees) >> 6; }
jint random(jint lo, jint hi) {
    static uint32_t state = 12345;
    state = state * 1103515245u + 12345u;
    jint span = hi - lo + 1;
    return span > 0 ? lo + static_cast<jint>((state >> 8) % static_cast<uint32_t>(span)) : lo;
}

}  // namespace game::hero

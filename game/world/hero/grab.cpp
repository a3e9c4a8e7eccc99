// States acting on another actor or playing a fixed action: GRAB_COMBO (up
// to three strikes on a held actor), SPECIAL, PICKUP, USE_OBJECT (shaking
// items out of an object), SWITCH_HERO and AIM_THROW.
#include "game/world/hero/util.h"
#include "runtime/log.h"

namespace game::hero {

namespace {

constexpr jint kStrikeAnims[3] = {25, 26, 27};
constexpr jint kStrikeEffects[3] = {-1, -1, 29};
constexpr jint kStrikeHitFrames[3] = {2, 2, 1};
// Steps PICKUP waits, holding and carrying nothing, for a released item to
// fly in: far longer than any item's flight (6 px a step over at most a few
// hundred pixels), short enough that a container that released nothing (its
// item missing or refused) does not hold the hero for good.
constexpr jint kPickupArrivalWait = 64;

jint strike() { return clampi(ca().strikeStep, 0, 2); }

void stopAll(cActor* h) {
    stopMotion(h);
    limitsX(h, 0, 0);
    limitsY(h, 0, 0);
}

bool heldObjectMissing(cActor* h, const char* state) {
    if (grabbedActor()) return false;
    logPrintf("hero: %s entered without a held object; standing", state);
    setHeroState(h, HeroState::STAND);
    return true;
}

}  // namespace

jint heroState12(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        limitsX(h, -2280, 2280);
        if (cActor* g = grabbedActor()) {
            jint dx = posX(h) < posX(g) ? boxEdge(g, 0) - boxEdge(h, 2) : boxEdge(g, 2) - boxEdge(h, 0);
            jint ty = posY(h);
            if (absi(posY(g) - posY(h)) > 2) ty = scanTileColumn(h, posX(h) + dx, boxEdge(h, 1), 8);
            if (!(flags(h) & 0x10000000)) moveHeroBy(h, dx * 256, (ty - posY(h)) * 256);
        }
        stopMotion(h);
        setAnim(h, kStrikeAnims[strike()]);
        if (kStrikeEffects[strike()] != -1) spawnChild(h, 8, kStrikeEffects[strike()], posX(h), posY(h), 2, 0x6000);
        ca().comboContinue = 0;
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setVx(h, 0);
        return 0;
    }
    cActor* t = targetActor();
    if (keyPressed(0x10020) || (t && subtype(t) == 238 && counter(t) > 0)) ca().comboContinue = 1;
    if (cActor* g = grabbedActor()) {
        if (animTicks(h) == kStrikeHitFrames[strike()] && ca().lastStrikeStep != ca().strikeStep) {
            setContactFlags(g, contactFlags(g) | 0x800);
            ca().lastStrikeStep = ca().strikeStep;
            if (!isKind113(h)) {
                if (cActor* e = spawnEffect(8, 32 + strike(), posX(g), posY(h), 11, 8192)) setFacing(e, facing(h));
            }
        }
    } else if (cActor* p = partnerActor(); p && partnerMode() == 1 &&
                                          (facing(h) == 1 ? posX(p) < posX(h) : posX(p) > posX(h))) {
        grabbedActor() = p;
        grabMode() = 1;
    }
    if (!isAnimDone(h)) return 0;
    if (ca().comboContinue && grabbedActor()) {
        ca().strikeStep += 1;
        if (ca().strikeStep < 3) {
            playSound(20 + ca().strikeStep);
            setHeroState(h, HeroState::GRAB_COMBO);
            return 0;
        }
    }
    ca().strikeStep = 0;
    ca().lastStrikeStep = -1;
    cancelHeroGrab();
    setHeroState(h, HeroState::STAND);
    return 0;
}

jint heroState18(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        stopAll(h);
        heroDropCarried(h);
        if (cActor* p = partnerActor()) {
            grabbedActor() = p;
            grabMode() = partnerMode();
        }
        quakeFrames() = 10;
        jint st = subtype(h);
        playSound(st == 0 ? 28 : (st == 113 ? 31 : (st == 242 ? 33 : 28)));
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (cActor* g = grabbedActor(); g && animTicks(h) == 3) {
        setContactFlags(g, contactFlags(g) | 64);
        cancelHeroGrab();
    }
    if (isAnimDone(h)) {
        cancelHeroGrab();
        setHeroState(h, HeroState::STAND);
    }
    return 0;
}

jint heroState19(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        stopAll(h);
        setFlags(h, flags(h) | 0x4000000);
        if (cActor* g = grabbedActor()) {
            if (cActor* e = spawnEffect(8, 34, posX(g), posY(g), 11, 8192)) setFacing(e, facing(h));
        }
        playSound(16);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setFlags(h, flags(h) & ~0x4000000);
        ca().pickupNoticed = 0;
        return 0;
    }
    if (cActor* g = grabbedActor(); g && animTicks(h) == 3) {
        collectHeldItem(g);
        cancelHeroGrab();
    }
    jint a = anim(h);
    if (a == 60) {
        if (!isAnimDone(h)) return 0;
        if (cActor* c = carried(h)) {
            if (type(c) == 2) {
                checkPickup(c, 0);
                // Refused by the pickup test (an item of no amount): it
                // would hang in the air over the hero for good; it drops
                // and lies where it lands instead.
                if (type(c) == 2 && aiState(c) == 2) setAiState(c, 27);
            } else if (type(c) == 39) {
                summonSlotActors(c);
            }
        }
        setCarried(h, nullptr);
        cancelHeroGrab();
        setHeroState(h, HeroState::STAND);
        return 0;
    }
    if ((a == 0 || a == 20 || a == 27) && isAnimDone(h)) {
        if (!ca().pickupNoticed) {
            ca().pickupNoticed = 1;
            notePickup();
        }
        setAnim(h, 0);
    }
    if (!grabbedActor() && !carried(h) && heroStateTicks() >= kPickupArrivalWait) {
        logPrintf("hero: nothing reached the pickup in %d steps; standing", kPickupArrivalWait);
        cancelHeroGrab();
        setHeroState(h, HeroState::STAND);
    }
    return 0;
}

jint heroState22(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        if (heldObjectMissing(h, "use")) return 0;
        stopAll(h);
        setAnim(h, 28);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        heroInputLock() |= 128;
        heroInputMode() = 20;
        return 0;
    }
    cActor* obj = grabbedActor();
    jint total = obj ? getParam(obj, 1) : 0;
    jint perShake = obj ? getParam(obj, 2) : 0;
    if (obj && ca().carryTicks > 0 && total > 0 && perShake >= 0 && ca().shakeDropCount < total) {
        if (ca().carryTicks < ca().shakeFastLimit) ca().carryTicks -= 1;
        if (has(act::ACTION)) {
            ca().keyRegistered = 1;
            if (ca().carryTicks == ca().shakeFastLimit) ca().carryTicks -= 1;
        }
        if (!isAnimDone(h)) return 0;
        if (!ca().keyRegistered) {
            setAnim(obj, 0);
            setAnim(h, 32);
            return 0;
        }
        setAnim(h, 80);
        setAnim(obj, 4);
        ca().keyRegistered = 0;
        for (jint k = 0; k < perShake && ca().shakeDropCount < total; ++k) {
            cActor* item = spawnFromTemplate(2, posX(obj), posY(obj));
            if (!item) break;  // the pool is full
            ensureMotionState(item);
            limitsX(item, -1280, 1280);
            limitsY(item, -8192, 0);
            setVx(item, random(-1280, 1280));
            setVy(item, random(-8192, -3072));
            setAy(item, 768);
            setAiState(item, 27);
            setTimer(item, 1);
            setParam(item, 0, 0);
            setVariable(0, getVariable(0) + 1);
            ca().shakeDropCount += 1;
            countLevelItem();
            playSound(12);
        }
        if (ca().carryTicks > 0 && ca().shakeDropCount < total) return 0;
    }
    ca().carryTicks = -1;
    ca().keyRegistered = 0;
    if (obj) removeActor(obj);
    heroDropCarried(h);
    setAnim(h, getHeroIdleAnim(h));
    setHeroState(h, HeroState::STAND);
    return 0;
}

jint heroState32(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        stopAll(h);
        cameraFlags() = 9;
        heroDropCarried(h);
        setAnim(h, 62);
        spawnChild(h, 11, 2, posX(h), posY(h), 11, 0xA000);
        return 0;
    }
    if (phase == HeroPhase::UPDATE && isAnimDone(h)) {
        setHeroState(h, HeroState::STAND);
        switchToNextHero();
    }
    return 0;
}

jint heroState35(cActor* h, jint phase) {
    cActor* g = grabbedActor();
    jint d = dirOf(h);
    if (phase == HeroPhase::ENTER) {
        if (heldObjectMissing(h, "aim")) return 0;
        stopAll(h);
        ca().aimMarker = spawnEffectPlain(8, 46, posX(g) + 100 * d, posY(g), 12);
        ca().aimAngle = 0;
        ca().aimSwing = 0;
        resetKeys();
        setAnim(h, 32);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        if (ca().aimMarker) deactivate(ca().aimMarker);
        ca().aimMarker = nullptr;
        return 0;
    }
    if (!g) {
        setHeroState(h, HeroState::STAND);
        return 0;
    }
    if ((subtype(g) == 32 || subtype(g) == 33) && isProgressBitClear(4))
        spawnEffect(10, 44, posX(h), posY(h) - 40, 11, 0x50A000);
    if (has(act::ACTION)) {
        handThrow(g, d, 2, 0, ca().aimMarker);
        setAiState(g, 24);
        resetKeys();
        playAction(h, 30, HeroState::STAND);
        setCarried(h, nullptr);
        cancelHeroGrab();
        return 0;
    }
    if (!updateFacingFromKeys(h) && has(act::HORIZONTAL)) {
        setHeroState(h, HeroState::WALK);
        return 0;
    }
    if (ca().aimSwing == 0) {
        ca().aimAngle -= 5;
        if (ca().aimAngle <= -60) ca().aimSwing = 2;
    } else {
        ca().aimAngle += 5;
        if (ca().aimAngle >= 60) ca().aimSwing = 0;
    }
    if (cActor* m = ca().aimMarker) {
        jint mx = posX(g) + d * ((fixedSin(ca().aimAngle + 90) * 100) >> 14);
        jint my = posY(g) + ((fixedSin(ca().aimAngle) * 100) >> 14);
        moveTo(m, mx * 256, my * 256);
    }
    return 0;
}

}  // namespace game::hero

// Ground states: STAND, WALK, CROUCH, SKID, ROLL and ICE, and the ground
// action tests they share (the action key, crouching, standing up).
// In every UPDATE the first test that acts ends the step.
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

constexpr jint kLedgeClasses = 0x5EEF81FF;

jint floorDiv36(jint v) { return v >= 0 ? v / 36 : -((-v + 35) / 36); }

void clearModes() {
    for (jint i = 0; i < 4; ++i) setHeroMode(i, 0);
}

void ledgeStep(cActor* h) {
    if (!isHeroSubtype(h) && !isKind113(h)) return;
    if (isNearLedge(h)) {
        jint x = posX(h);
        if (hasTileClassAtRight(h, kLedgeClasses))
            shiftHero(h, (36 * floorDiv36(x) + 36 - x) * 256, 0);
        else if (hasTileClassAtLeft(h, kLedgeClasses))
            shiftHero(h, (36 * floorDiv36(x) - x - 1) * 256, 0);
    }
    if (ca().edgeStepDone) return;
    if (facing(h) == 1 && isAtLedgeToward(h, -1)) {
        setAnim(h, getCarryAnim(h, 1));
        if (isAnimDone(h)) {
            ca().edgeStepDone = 1;
            jint left = boxEdge(h, 0);
            shiftHero(h, (36 * floorDiv36(left) + 36 - left) * 256, 0);
        }
    } else if (facing(h) == 0 && isAtLedgeToward(h, 1)) {
        setAnim(h, getCarryAnim(h, 0));
        if (isAnimDone(h)) {
            ca().edgeStepDone = 1;
            jint right = boxEdge(h, 2);
            shiftHero(h, (36 * floorDiv36(right) - right - 1) * 256, 0);
        }
    } else if (anim(h) >= 71 && anim(h) <= 74) {
        setAnim(h, getHeroIdleAnim(h));
    }
}

}  // namespace

jint heroStateIdle(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        clearModes();
        setAnim(h, getHeroIdleAnim(h));
        stopMotion(h);
        limitsX(h, 0, 0);
        limitsY(h, -25600, 25600);
        setStandingBox(h);
        ca().heroStandFlag = 1;
        ca().edgeStepDone = 0;
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (tryEnterHeroState2(h) || tryHeroAction(h) || tryEnterState16(h) || tryCrouch(h)) return 0;
    if (isHeroActionKeyPressed(h)) {
        takeOff(h, 99);
        return 0;
    }
    if (!updateFacingFromKeys(h) && has(act::HORIZONTAL)) {
        setHeroState(h, HeroState::WALK);
        return 0;
    }
    ledgeStep(h);
    jint t = heroStateTicks();
    if (anim(h) == heroStateAnim(0) && t > 0 && t % 160 == 0 && !isAnyScriptActive())
        setAnimThen(h, 1, getHeroIdleAnim(h), 0);
    return 0;
}

jint heroState1(cActor* h, jint phase) {
    bool small = subtype(h) == 3010;
    jint push = small ? 256 : 1152;
    if (phase == HeroPhase::ENTER) {
        setAx(h, push * dirOf(h));
        setVx(h, 0);
        limitsX(h, -1536, 1536);
        setAnim(h, getHeroMoveAnim(h, 0));
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (tryEnterHeroState2(h)) return 0;
    if ((inputOptions() & 2) && has(act::ANY_JUMP)) {
        takeOff(h, 99);
        return 0;
    }
    bool steered = small ? applyHeroWalkInput(h, 512, 1536, true, false) : applyHeroWalkInput(h, 2640, 4800, true, false);
    if (!steered) {
        if (heroStateTicks() >= 3) {
            if (grabMode() == 3 || absi(vx(h)) < 2881)
                setHeroState(h, HeroState::STAND);
            else
                setHeroState(h, HeroState::SKID);
        }
        return 0;
    }
    jint v = vx(h);
    if ((v > 0 && facing(h) == 1) || (v < 0 && facing(h) == 0)) {
        setAx(h, 0);
        setVx(h, 0);
    } else {
        setAx(h, java::iadd(ax(h), push * dirOf(h)));
    }
    addForcedPush(h);
    setAnim(h, getHeroMoveAnim(h, vx(h)));
    return 0;
}

jint heroState4(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        stopMotion(h);
        heroDropCarried(h);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (tryStandUp(h)) {
        resetKeys();
        return 0;
    }
    if (tryEnterState16(h) || tryMountAction(h, 0, 0)) return 0;
    if (hasHeadroom(h) && !updateFacingFromKeys(h) && has(act::HORIZONTAL)) {
        setStandingBox(h);
        playAction(h, 14, HeroState::WALK);
    }
    return 0;
}

jint heroState6(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        jint v = vx(h);
        if (v > 0) {
            setAx(h, -120);
            limitsX(h, 960, v);
        } else {
            setAx(h, 120);
            limitsX(h, v, -960);
        }
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (tryEnterHeroState2(h) || tryHeroAction(h) || tryMountAction(h, 0, 0)) return 0;
    if (has(act::ANY_JUMP)) {
        takeOff(h, 99);
        return 0;
    }
    if (!updateFacingFromKeys(h) && has(act::MOVE)) {
        setHeroState(h, HeroState::WALK);
        return 0;
    }
    if (vx(h) > 0) {
        jint a = ax(h) - 960;
        setAx(h, a < -1920 ? -1920 : a);
    } else {
        jint a = ax(h) + 960;
        setAx(h, a > 1920 ? 1920 : a);
    }
    if (absi(vx(h)) < 961 || (getTileFlags(getTileColumn(h, 1), boxEdge(h, 3) / 36) & 8) == 0)
        setHeroState(h, HeroState::STAND);
    return 0;
}

jint heroState16(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        jint r = facing(h) == 1 ? -heroVar(0) : heroVar(0);
        if (absi(r) > absi(vx(h))) setVx(h, r);
        limitsX(h, -4320, 4320);
        setLowBox(h);
        heroDropCarried(h);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        cameraDivX() = 0;
        return 0;
    }
    jint startDir = dirOf(h);
    bool headroom = hasHeadroom(h);
    bool stopTest = true;
    if (!headroom && ax(h) != 0) {
        setAx(h, 0);
        stopTest = false;
    } else {
        jint probe = probeSlopeGround(h);
        jint a;
        if (probe == 0) {
            a = -72;
        } else if (facing(h) != tileMirrored()) {
            a = -60;
        } else {
            a = (probe & 0x10000) ? 1440 : 1920;
            stopTest = false;
        }
        setAx(h, a * startDir);
    }
    if (has(act::LEFT)) {
        if (vx(h) > 0) setVx(h, -vx(h));
        setFacing(h, 1);
    } else if (has(act::RIGHT)) {
        if (vx(h) < 0) setVx(h, -vx(h));
        setFacing(h, 0);
    }
    if (stopTest && absi(vx(h)) < 960) {
        setVx(h, 0);
        setHeroState(h, headroom ? HeroState::STAND : HeroState::CROUCH);
        return 0;
    }
    if ((keyPressed(16398) || touchInZones()) && headroom && touchControls()) {
        heroActionMask() = 0;
        resetKeys();
        setVx(h, 0);
        setHeroState(h, HeroState::STAND);
        return 0;
    }
    if (isHeroBlockedSideways()) setVx(h, 0);
    return 0;
}

jint heroState28(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        limitsY(h, 0, 0);
        limitsX(h, -4800, 4800);
        setStandingBox(h);
        cameraFlags() = 9;
        heroDropCarried(h);
        setAnim(h, vx(h) != 0 ? getHeroMoveAnim(h, vx(h)) : 0);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setHeroMode(3, 0);
        return 0;
    }
    if (tryEnterHeroState2(h) || tryHeroAction(h) || tryEnterState16(h) || tryCrouch(h)) return 0;
    if (has(act::JUMP_LEFT)) {
        setHeroMode(3, 0);
        setFacing(h, 1);
        takeOff(h, -1);
        return 0;
    }
    if (has(act::JUMP_RIGHT)) {
        setHeroMode(3, 0);
        setFacing(h, 0);
        takeOff(h, 1);
        return 0;
    }
    if (has(act::ANY_JUMP)) {
        setHeroMode(3, 0);
        takeOff(h, 99);
        return 0;
    }
    if (has(act::LEFT) || has(act::RIGHT)) {
        bool left = has(act::LEFT);
        setAx(h, left ? -224 : 224);
        setFacing(h, left ? 1 : 0);
        setAnim(h, getHeroMoveAnim(h, vx(h)));
        return 0;
    }
    setAx(h, 0);
    jint v = vx(h);
    v = v > 0 ? v - 240 : (v < 0 ? v + 240 : 0);
    if (v > -240 && v < 240) v = 0;
    setVx(h, v);
    setAnim(h, 0);
    return 0;
}

jint tryStandUp(cActor* h) {
    if (!hasHeadroom(h) || !has(act::STAND_UP)) return 0;
    setStandingBox(h);
    playAction(h, 14, HeroState::STAND);
    return 1;
}

jint tryCrouch(cActor* h) {
    if (!has(act::CROUCH) || subtype(h) == 3010) return 0;
    setLowBox(h);
    heroDropCarried(h);
    playAction(h, 11, HeroState::CROUCH);
    return 1;
}

jint tryHeroAction(cActor* h) {
    if (subtype(h) == 3010) return 0;
    cActor* held = grabbedActor();
    if (held && grabMode() == 3 && (subtype(held) == 32 || subtype(held) == 33) && isProgressBitClear(4))
        spawnEffect(10, 44, posX(h), posY(h) - 40, 11, 0x50A000);
    cActor* partner = partnerActor();
    if (has(act::ACTION) && partner) {
        switch (partnerMode()) {
        case 2:
            grabMode() = 2;
            grabbedActor() = partner;
            setAnim(h, 27);
            setHeroState(h, HeroState::PICKUP);
            return 1;
        case 6:
            setAiState(partner, 6);
            setAnimThen(h, 27, 0, 0);
            heroInputLock() |= 128;
            heroInputMode() = 7;
            return 1;
        case 7:
            setAiState(partner, 6);
            grabMode() = 7;
            grabbedActor() = partner;
            setAnimThen(h, 106, 108, 0);
            heroInputLock() |= 128;
            heroInputMode() = 2;
            return 1;
        case 8:
            if (aiState(partner) != 52) {
                stopMotion(partner);
                moveTo(partner, motion(h, mo::FX), motion(h, mo::FY));
                setFacing(partner, facing(h));
                setAiState(partner, 48);
                setAnimThen(h, 97, 0, 0);
            }
            heroStateTicks() = 0;
            return 1;
        default:
            break;
        }
    }
    held = grabbedActor();
    if (!isAnyScriptActive() && held && (subtype(held) == 32 || subtype(held) == 33 || subtype(held) == 112)) {
        setHeroState(h, HeroState::AIM_THROW);
        return 1;
    }
    if (has(act::SPECIAL)) {
        setHeroState(h, HeroState::SPECIAL);
        return 1;
    }
    if (!has(act::ACTION)) return 0;
    if (held) {
        if (grabMode() == 3) {
            handThrow(held, dirOf(h), 1, 4, nullptr);
            setAiState(held, 24);
            resetKeys();
            playAction(h, 30, HeroState::STAND);
            setCarried(h, nullptr);
            cancelHeroGrab();
        } else if (grabMode() == 7) {
            playAction(h, 103, HeroState::STAND);
        }
        return 1;
    }
    partner = partnerActor();
    if (partner && partnerMode() == 3) {
        grabMode() = 3;
        grabbedActor() = partner;
        interactHeroType45(partner, h);
        setCarried(h, partner);
        stopMotion(h);
        limitsX(h, 0, 0);
        playAction(h, 28, HeroState::STAND);
        return 1;
    }
    if (partner && isFacingPartner(h)) {
        grabMode() = 1;
        grabbedActor() = partner;
        dropCarried(h);
        spawnEffect(11, 3, posX(h), posY(h), 11, 8192);
        return 1;
    }
    if (isTargetType94()) setHeroState(h, HeroState::DASH);
    return 1;
}

}  // namespace game::hero

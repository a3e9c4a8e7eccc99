// States of a speed the hero does not steer freely: DASH and POWER_RUN
// (the fixed-speed rule: both limits set to one speed), SLOPE_SLIDE,
// LAUNCHED, HURLED and KNOCKBACK.
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

// The fixed speed of this step, or a bounce of 192 against the facing when
// the dash struck something (contact bit 1).
jint dashSpeed(cActor* h, bool dash) {
    applyFixedSpeed(h);
    jint speed = motion(h, mo::MAX_VX);
    if (contactFlags(h) & 1) {
        setContactFlags(h, contactFlags(h) & ~1);
        setAnim(h, 4);
        if (dash) holdHeroState();
        speed = -192 * dirOf(h);
        setFlags(h, flags(h) & ~(dash ? (32 | 64) : 64));
    }
    return speed;
}

void applySpeed(cActor* h, jint speed) {
    limitsX(h, speed, speed);
    addForcedPush(h);
}

void storeSlideRange(cActor* h) {
    jint lo = heroVar(1), hi = heroVar(2);
    if (ca().slideDir == 1) {
        lo = -heroVar(2);
        hi = -heroVar(1);
    }
    ca().slideMinSpeed = lo;
    ca().slideMaxSpeed = hi;
    limitsX(h, lo, hi);
}

}  // namespace

jint heroState5(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        setHeroVar(0, 13);
        setContactFlags(h, contactFlags(h) & ~1);
        applyFixedSpeed(h);
        setStandingBox(h);
        cameraFlags() = 10;
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (tryEnterHeroState2(h) || tryDropCarried(h) || tryMountAction(h, 0, 0)) return 0;
    if (has(act::ACTION2) && !has(act::ACTION)) {
        setHeroState(h, HeroState::SKID);
        return 0;
    }
    if (has(act::ANY_JUMP)) {
        applyHeroHit(h, 41, 99, true);
        return 0;
    }
    if (heroStateTicks() < heroVar(0)) {
        applySpeed(h, dashSpeed(h, true));
        if (isHeroOnMount()) {
            knockback(h, facing(h) == 1 ? 1 : -1, 16, 512, 2560, 0, 512);
            quakeFrames() = 4;
        }
        return 0;
    }
    setHeroState(h, has(act::ACTION) ? HeroState::DASH : HeroState::SKID);
    return 0;
}

jint heroState20(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        setContactFlags(h, contactFlags(h) & ~1);
        applyFixedSpeed(h);
        setStandingBox(h);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setVariable(8, 0);
        ca().powerRunTimer = -1;
        return 0;
    }
    setAnim(h, 81);
    ca().powerRunTimer -= 1;
    if (ca().powerRunTimer < 1 && !ca().powerRunAirborne) {
        setHeroState(h, HeroState::SKID);
        return 0;
    }
    if (has(act::LEFT_DOWN))
        setFacing(h, 1);
    else if (has(act::RIGHT_DOWN))
        setFacing(h, 0);
    if (ca().powerRunAirborne) {
        handleHeroControls(h);
        if (heroState() != HeroState::POWER_RUN) return 0;
        bool flying = jumpCurveIndex() <= jumpCurveLength() && (vy(h) < 0 || !landed());
        if (!flying) {
            if (!landed()) {
                setVy(h, 4800);
                setAnim(h, 41);
            } else {
                attachEffect(h, 12, 11, 0xE000);
                ca().powerRunAirborne = 0;
            }
            return 0;
        }
    } else {
        if (tryDropCarried(h)) return 0;
        if (has(act::ANY_JUMP) && landed()) {
            ca().powerRunAirborne = 1;
            applyHeroHit(h, 41, 99, false);
            initJumpState(h);
            return 0;
        }
    }
    if (isHeroOnMount()) {
        if (cActor* m = mountActor()) setFacing(m, facing(h));
        quakeFrames() = 4;
    }
    applySpeed(h, dashSpeed(h, false));
    return 0;
}

jint heroState11(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        playSound(15);
        setAnim(h, heroVar(0));
        heroDropCarried(h);
        cancelHeroGrab();
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        stopMotion(h);
        return 0;
    }
    if (landed()) {
        if (isLevel7())
            setHeroState(h, HeroState::AUTO_RUN);
        else
            resetHeroStateAfterLanding();
    }
    applyRunSpeed(h);
    return 0;
}

jint heroState10(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        cancelHeroGrab();
        setPhysicsFlags(h, physicsFlags(h) & ~0x201);
        setAnim(h, heroVar(1));
        stopMotion(h);
        limitsX(h, -4096, 4096);
        limitsY(h, -4096, 4096);
        heroDropCarried(h);
        playSound(29);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setHeroVar(2, 0);
        return 0;
    }
    setVx(h, 0);
    jint v = (heroVar(3) - motion(h, mo::FY)) / 2;
    setVy(h, absi(v) < 256 ? 0 : v);
    if (flags(h) & 0x10000000) {
        setHeroVar(0, motion(h, mo::FX));
        setHeroVar(3, motion(h, mo::FY));
    }
    auto reached = [h](jint target, jint vIndex, jint pIndex, jint wallBit, jint contactBit) {
        if (approachLimit(h, target, vIndex, pIndex, 1) || (collisionResult() & wallBit)) return true;
        if (contactFlags(h) & contactBit) {
            setContactFlags(h, contactFlags(h) & ~contactBit);
            return true;
        }
        return false;
    };
    bool xDone = reached(heroVar(0), 2, 4, hit::SIDE, 16);
    bool yDone = reached(heroVar(3), 3, 5, hit::VERTICAL, 32);
    if (anyKeyActive() || (xDone && yDone && isAnimDone(h))) {
        jint next = heroVar(2);
        if (next != 0)
            setHeroState(h, next);
        else
            resetHeroStateAfterLanding();
    }
    return 0;
}

jint heroState8(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        jint along = ca().slideDir == 1 ? act::LEFT : act::RIGHT;
        if (!has(along)) playSound(24);
        ca().slideDir = tileMirrored();
        storeSlideRange(h);
        cameraFlags() = 25;
        releaseChild(h);
        spawnChild(h, 8, 27, posX(h), posY(h), 2, 0);
        cancelHeroGrab();
        heroDropCarried(h);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    jint downFacing = ca().slideDir == 1 ? 1 : 0;
    jint downBit = ca().slideDir == 1 ? act::LEFT : act::RIGHT;
    jint upBit = ca().slideDir == 1 ? act::RIGHT : act::LEFT;
    jint before = anim(h);
    if (has(act::CROUCH) && !has(upBit)) setAnim(h, 36);
    if (has(act::ACTION)) {
        setAx(h, -192 * dirOf(h));
        limitsX(h, -4800, 4800);
        ca().slideHoldTicks = 13;
    } else if (ca().slideHoldTicks < 1) {
        if (has(downBit)) {
            setFacing(h, downFacing);
            setAnim(h, 15);
            limitsX(h, ca().slideMinSpeed * 7 / 5, ca().slideMaxSpeed * 7 / 5);
        } else if (has(upBit)) {
            setFacing(h, 1 - downFacing);
            setAnim(h, getHeroMoveAnim(h, vx(h)));
            setAx(h, 192 * dirOf(h));
            limitsX(h, ca().slideMinSpeed, ca().slideMaxSpeed);
        } else {
            setFacing(h, downFacing);
            setAnim(h, 15);
            limitsX(h, ca().slideMinSpeed, ca().slideMaxSpeed);
        }
    } else {
        setAnim(h, 5);
        ca().slideHoldTicks -= 1;
    }
    if (anim(h) == 15 && before != 15) playSound(24);
    if (has(act::ANY_JUMP) && subtype(h) != 3010 && physicsDy() == 0) {
        takeOff(h, 99);
        return 0;
    }
    if (!has(upBit) && ca().slideHoldTicks < 1) {
        bool right = vx(h) != 0 ? vx(h) > 0 : ca().slideDir == 0;
        setAx(h, right ? clampi(ax(h) + heroVar(0), 0, 960) : clampi(ax(h) - heroVar(0), -960, 0));
    }
    jint probe = probeSlopeGround(h);
    if (probe != 0x30003 && probe != 0x30004) setHeroState(h, HeroState::SKID);
    return 0;
}

jint heroState9(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        ca().slideHoldTicks = 0;
        setFacing(h, ca().slideDir);
        storeSlideRange(h);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    setFacing(h, ca().slideDir);
    setAnim(h, 82);
    jint lo = ca().slideMinSpeed, hi = ca().slideMaxSpeed;
    limitsX(h, lo, hi);
    if (vx(h) > 0) {
        limitsY(h, lo / 4, hi / 4);
        setVy(h, vx(h) / 4);
        setAx(h, clampi(ax(h) + heroVar(0), 0, 960));
    } else {
        limitsY(h, -hi / 4, -lo / 4);
        setVy(h, -vx(h) / 4);
        setAx(h, clampi(ax(h) - heroVar(0), -960, 0));
    }
    if (!(boxEdge(h, 2) >= heroVar(4) && boxEdge(h, 0) <= heroVar(5))) setHeroState(h, HeroState::DASH);
    return 0;
}

}  // namespace game::hero

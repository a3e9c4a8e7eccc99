// Air states: FALL, JUMP with its start routine, FLOAT_UP, UPDRAFT and HOP,
// and the landing rule they share. The physics step applies gravity and
// collision; these handlers set accelerations, speeds and limits and decide
// the landing (the landed bit of the physics result).
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

constexpr jint kStickBit = 1;

// A vertical contact that is not a landing (a ceiling while rising).
bool ceilingContact() {
    jint r = collisionResult();
    return (r & hit::VERTICAL) && !(r & hit::LANDED) && !(r & hit::SLOPES);
}

jint toward0(jint v, jint step) {
    if (v > 0) return v > step ? v - step : 0;
    if (v < 0) return v < -step ? v + step : 0;
    return 0;
}

void landingDust(cActor* h) { attachEffect(h, 12, 11, 0xE000); }

}  // namespace

void landHero(cActor* h) {
    if (isLevel7()) {
        setHeroState(h, HeroState::AUTO_RUN);
        return;
    }
    if (!updateFacingFromKeys(h) && has(act::MOVE)) {
        setHeroState(h, HeroState::WALK);
        return;
    }
    if (vx(h) != 0) {
        setVx(h, clampi(vx(h), -480, 480));
        setHeroState(h, HeroState::SKID);
        return;
    }
    limitsX(h, 0, 0);
    setHeroState(h, HeroState::STAND);
}

void initJumpState(cActor* h) {
    ca().leapFlag = 0;
    ca().jumpHoldTicks = 0;
    limitsX(h, 0, 0);
    jint a = heroVar(5);
    if (a != -1 && a != anim(h)) setAnim(h, a);
    inputOptions() |= 1;
    ca().runUpJump = 0;
    ca().runUpBoost = 0;
    setAirControl(0);
    if (absi(vx(h)) > 3040) {
        ca().runUpJump = 1;
        ca().runUpBoost = 1;
    }
    loadJumpCurve();
    jumpCurveIndex() = 0;
    clearPhysicsBit(h, kStickBit);
    setAx(h, 0);
    setAy(h, 0);
    setStandingBox(h);
    if (isHeroParamsNeutral())
        setVx(h, heroVar(0) * 2848);
    else
        limitsX(h, -25600, 25600);
    applyHeroJumpVelocity(h, true);
    steerHero(h, true);
    jumpCurveIndex() += 1;
    if (ca().heroMovingFlag) cameraDivY() = 16;
    limitsY(h, -25600, 25600);
    cancelHeroGrab();
    heroDropCarried(h);
    applyRunSpeed(h);
    ca().jumpSpeedCarry = 0;
}

jint heroState3(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        initJumpState(h);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        ca().orbitLaunched = 0;
        cameraDivY() = 0;
        if (airControl()) inputOptions() &= ~1;
        ca().heroStandFlag = 0;
        applyRunSpeed(h);
        return 0;
    }
    handleHeroControls(h);
    if (heroState() != HeroState::JUMP) return 0;  // the controls stomped
    if (jumpCurveIndex() <= jumpCurveLength() && (vy(h) < 1 || !landed())) return 0;
    if (!landed()) {
        ca().heroMovingFlag = 1;
        setHeroState(h, HeroState::FALL);
        if (heroVar(5) != -1) setAnim(h, heroVar(5));
        return 0;
    }
    landingDust(h);
    ca().heroMovingFlag = 1;
    landHero(h);
    applyRunSpeed(h);
    return 0;
}

jint heroState2(cActor* h, jint phase) {
    bool small = subtype(h) == 3010;
    if (phase == HeroPhase::ENTER) {
        if (!small && ca().heroMovingFlag) cameraDivY() = 16;
        heroDropCarried(h);
        setStandingBox(h);
        if (small) {
            clearPhysicsBit(h, kStickBit);
            setAy(h, 256);
            setVy(h, 0);
            limitsY(h, 0, 2048);
            setAnim(h, vx(h) == 0 ? 10 : 3);
        }
        applyRunSpeed(h);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        cameraDivY() = 0;
        setVy(h, 0);
        applyRunSpeed(h);
        return 0;
    }
    if (!isLevel7() && has(act::DOWN) && !small) {
        setHeroState(h, HeroState::STOMP);
        return 0;
    }
    if (small) {
        if (applyHeroWalkInput(h, 358, 1126, false, true)) setAx(h, 153 * dirOf(h));
    } else {
        if (applyHeroWalkInput(h, 2280, 2280, false, true)) setAx(h, 360 * dirOf(h));
    }
    if (landed()) {
        landingDust(h);
        landHero(h);
    }
    applyRunSpeed(h);
    // After a landing too: the small hero shows its fall animation for this step.
    if (small) setAnim(h, vx(h) != 0 ? 3 : 10);
    return 0;
}

jint heroState13(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        clearPhysicsBit(h, kStickBit);
        setAx(h, 960 * dirOf(h));
        setAy(h, -600);
        setVx(h, 0);
        setVy(h, 0);
        limitsX(h, -1920, 1920);
        limitsY(h, -1488, -600);
        playSound(11);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setVariable(2, 0);
        ca().floatTimer = -1;
        stopMotion(h);
        limitsY(h, -25600, 25600);
        return 0;
    }
    if (has(act::LEFT))
        setFacing(h, 1);
    else if (has(act::RIGHT))
        setFacing(h, 0);
    if (has(act::MOVE)) {
        setAx(h, 960 * dirOf(h));
    } else {
        setAx(h, 0);
        setVx(h, 0);
    }
    ca().floatTimer -= 1;
    if (ca().floatTimer < 1) setHeroState(h, hasHeadroom(h) ? HeroState::STAND : HeroState::CROUCH);
    return 0;
}

jint heroState34(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        cameraDivY() = 0;
        heroDropCarried(h);
        clearPhysicsBit(h, kStickBit);
        setStandingBox(h);
        limitsX(h, -2048, 2048);
        limitsY(h, -2048, 2048);
        if (subtype(h) == 3010) setAnim(h, vx(h) != 0 ? 3 : 63);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (applyHeroWalkInput(h, 358, 1126, false, true)) setAx(h, 153 * dirOf(h));
    if (vy(h) <= 0) {
        setAx(h, toward0(ax(h), 25));
        if (ay(h) < 256) setAy(h, ay(h) + 25);
        setAnim(h, vx(h) != 0 ? 6 : 63);
    } else {
        setHeroState(h, HeroState::FALL);
    }
    return 0;
}

jint heroState36(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        cancelHeroGrab();
        inputOptions() |= 1;
        setAirControl(0);
        clearPhysicsBit(h, kStickBit);
        limitsX(h, -25600, 25600);
        limitsY(h, -25600, 25600);
        setAx(h, 0);
        jint d = heroVar(0);
        setVx(h, d > 0 ? 1126 : (d < 0 ? -1126 : 0));
        ca().jumpSpeedCarry = absi(vx(h));
        setAy(h, 256);
        setVy(h, -4096);
        setStandingBox(h);
        heroDropCarried(h);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        ca().orbitLaunched = 0;
        if (airControl()) inputOptions() &= ~1;
        return 0;
    }
    bool ceiling = ceilingContact();
    if (!airControl()) {
        if (ceiling) {
            setVy(h, 0);
            setAirControl(1);
        } else if (heroStateTicks() >= 5) {
            setAirControl(1);
        }
    }
    if (steerHeroFacing(h, 358, 1126, true)) {
        setAx(h, 153 * dirOf(h));
        setHeroVar(0, 0);
        if (has(act::ANY_JUMP)) inputOptions() |= 1;
    }
    if (vy(h) < 0 && ceiling) {
        setVx(h, java::idiv(java::imul(vx(h), 352), 256));
        limitsY(h, 0, 25600);
    }
    if (vy(h) < -511 && !landed()) {
        setAnim(h, vx(h) != 0 ? 6 : 63);
    } else if (landed()) {
        landHero(h);
    } else {
        setAnim(h, 10);
        setHeroState(h, HeroState::FALL);
        if (heroVar(5) != -1) setAnim(h, heroVar(5));
    }
    return 0;
}

}  // namespace game::hero

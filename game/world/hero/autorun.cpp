// AUTO_RUN: the hero of the auto-scrolling level runs right by itself; the
// keys sprint, slow down, jump, hop or drop through a class-22 floor. All
// speeds scale with the run speed factor (256 = 1.0).
#include "game/world/hero/util.h"

namespace game::hero {

jint heroState40(cActor* h, jint phase) {
    jint f = runSpeedFactor();
    if (phase == HeroPhase::ENTER) {
        releaseChild(h);
        stopMotion(h);
        limitsX(h, -10000, 10000);
        limitsY(h, -10000, 10000);
        setAnim(h, 5);
        setStandingBox(h);
        if (isHeroSubtype(h)) autoRunHalt() = 0;
        applyRunSpeed(h);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (autoRunHalt()) {
        stopMotion(h);
        return 0;
    }
    if (isAnyScriptActive()) {
        setVx(h, 2880 * f / 256);
        limitsX(h, -10000, 10000);
    }
    if (cActor* item = heldItem()) moveBy(item, vx(h), 0);
    jint d = posX(h) - cameraX();
    if (has(act::RIGHT) && d < 332) {
        setVx(h, 4416 * f / 256);
    } else if (has(act::LEFT) && d > -366) {
        setVx(h, 1344 * f / 256);
    } else if (has(act::JUMP_RIGHT)) {
        ca().heroMovingFlag = 0;
        applyHeroHit(h, 41, 1, true);
    } else if (has(act::STRAIGHT_JUMP)) {
        knockback(h, 1, 19, 2048, 8601, 0, 819);
    } else if (has(act::CROUCH) && isRowAllClass22(h)) {
        moveBy(h, 0, 4 * 256);
        setHeroState(h, HeroState::FALL);
        resetKeys();
        return 0;
    }
    if (scriptHoldsHero()) {
        setVx(h, 0);
        setVy(h, 0);
    }
    return 0;
}

}  // namespace game::hero

// Medium states: PADDLE (prone, always moving left between 1280 and 1920),
// MIRE (slow movement in class-20 cells) and SWIM_STROKE (one stroke).
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

void setProneBox(cActor* h, bool stroke) { setBoxByKind(h, stroke ? 100 : 50, 42, 69, 32); }

}  // namespace

void setSwimBox(cActor* h) { setProneBox(h, false); }

jint heroState25(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        setAnim(h, 33);
        clearPhysicsBit(h, 1);
        limitsX(h, -1920, -1280);
        limitsY(h, 0, 0);
        setProneBox(h, false);
        ca().paddleStrokeGap = 2;
        setVx(h, -1280);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        cameraFlags() = 9;
        updateCamera(1);
        if (cActor* item = heldItem()) deactivate(item);
        setHeldItem(nullptr);
        releaseChild(h);
        return 0;
    }
    if (!has(act::ACTION) && !has(act::SWIM_LEFT)) {
        ca().paddleIdleTicks += 1;
        if (ca().paddleIdleTicks >= ca().paddleStrokeGap) {
            jint v = vx(h);
            if (facing(h) == 1 && v < 0)
                setVx(h, v + (-v < 256 ? -v : 256));
            else if (facing(h) == 0 && v >= 1)
                setVx(h, v - (v < 256 ? v : 256));
        }
    } else {
        ca().paddleIdleTicks = 0;
        setVx(h, vx(h) + 1280 * dirOf(h));
        resetKeys();
    }
    updateSwimEffect(h);
    if (cActor* item = heldItem()) {
        moveTo(item, (posX(h) + 15) * 256, (posY(h) - 65) * 256);
    } else {
        setHeldItem(spawnEffectPlain(10, 25, posX(h) + 15, posY(h) - 65, 2));
    }
    return 0;
}

jint heroState26(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        setAx(h, 0);
        setVx(h, 0);
        clearPhysicsBit(h, 1);
        limitsX(h, -480, 480);
        limitsY(h, -720, 720);
        setProneBox(h, false);
        cameraFlags() = 9;
        heroDropCarried(h);
        setAnim(h, getHeroMoveAnim(h, vx(h)));
        ca().mireTicks = 0;
        moveTo(h, motion(h, mo::FX), motion(h, mo::FY) + 7680);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    limitsY(h, -720, 720);
    limitsX(h, -480, 480);
    if (has(act::LEFT)) {
        setFacing(h, 1);
        setAx(h, -240);
    } else if (has(act::RIGHT)) {
        setFacing(h, 0);
        setAx(h, 240);
    } else if (absi(vx(h)) < 161) {
        setAx(h, 0);
        setVx(h, 0);
    } else {
        setAx(h, vx(h) > 0 ? -(vx(h) / 10) : absi(vx(h)) / 10);
    }
    if (has(act::ANY_JUMP)) {
        setVy(h, -2400);
        setAy(h, -120);
    } else {
        setAy(h, 120);
    }
    ca().mireTicks += 1;
    if (getSolidTile(h, 0, 0) == -1 && vy(h) < 0 && has(act::ANY_JUMP) && ca().mireTicks > 10) {
        setHeroMode(1, 0);
        releaseChild(h);
        jumpFromMedium(h);
        return 0;
    }
    setAnim(h, getHeroMoveAnim(h, vx(h)));
    return 0;
}

jint heroState15(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        clearPhysicsBit(h, 1);
        setProneBox(h, true);
        cameraFlags() = 137;
        stopMotion(h);
        setVx(h, 2880 * dirOf(h));
        limitsX(h, -2880, 2880);
        limitsY(h, 0, 0);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    jint r = collisionResult();
    if ((r & hit::SIDE) && !(r & hit::ACTOR)) stopMotion(h);
    jint against = facing(h) == 1 ? act::SWIM_RIGHT : act::SWIM_LEFT;
    if (heroStateTicks() >= 16 || has(against)) setHeroState(h, HeroState::SWIM);
    return 0;
}

}  // namespace game::hero

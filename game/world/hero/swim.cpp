// SWIM: four-way movement by accelerations in water, sinking when idle,
// currents of classes 10-13, the stroke on the action key and the jump out
// at the surface.
#include "game/world/hero/util.h"

namespace game::hero {

jint heroState14(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        if (anim(h) != 33) setAnim(h, 33);
        clearPhysicsBit(h, 1);
        limitsX(h, -1680, 1680);
        limitsY(h, -1680, 1680);
        setSwimBox(h);
        cameraFlags() = 137;
        heroDropCarried(h);
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    jint c = getSolidTile(h, 0, 1);
    bool current = c >= 10 && c <= 13;
    if (!current && has(act::ACTION)) {
        playSound(20);
        setHeroState(h, HeroState::SWIM_STROKE);
        return 0;
    }
    limitsX(h, -1680, 1680);
    limitsY(h, -1680, 1680);
    if (c == 10 || c == 11) {
        limitsY(h, -3600, 3600);
        setAy(h, c == 10 ? -960 : 960);
    } else if (has(act::SWIM_DOWN)) {
        setAy(h, 480);
        setAnimThen(h, 35, 33, 0);
    } else if (has(act::SWIM_UP)) {
        setAy(h, -480);
        setAnimThen(h, 35, 33, 0);
    } else if (ax(h) != 0) {
        setAy(h, 0);
        setVy(h, 0);
    } else {
        limitsY(h, -1680, 480);
        if (ay(h) < 0) setAy(h, 0);
        setAy(h, ay(h) + 120);
    }
    if (c == 12 || c == 13) {
        limitsX(h, -3600, 3600);
        setAx(h, c == 13 ? -960 : 960);
        if (absi(vx(h)) == 3600 || !has(0xF000)) setFacing(h, vx(h) < 0 ? 1 : 0);
    } else if (has(act::SWIM_LEFT)) {
        setFacing(h, 1);
        setAx(h, -480);
        jint col = posX(h) / 36 - 1;
        if (getTile(col, getTileRow(h, 1), 1) != 9 && !has(act::JUMP_LEFT)) setAy(h, 960);
        setAnimThen(h, 35, 33, 0);
    } else if (has(act::SWIM_RIGHT)) {
        setFacing(h, 0);
        setAx(h, 480);
        if (getSolidTile(h, 1, 1) != 9 && !has(act::JUMP_RIGHT)) setAy(h, 960);
        setAnimThen(h, 35, 33, 0);
    } else if (absi(vx(h)) <= 160) {
        setVx(h, 0);
        setAx(h, 0);
    } else {
        // Slowed against the motion as in the mire, until |vx| <= 160.
        setAx(h, vx(h) > 0 ? -(vx(h) / 10) : absi(vx(h)) / 10);
    }
    updateSwimEffect(h);
    if (getSolidTile(h, 0, 0) == -1 && vy(h) <= 0 && has(act::ANY_JUMP)) {
        setHeroMode(0, 0);
        releaseChild(h);
        jumpFromMedium(h);
    }
    return 0;
}

}  // namespace game::hero

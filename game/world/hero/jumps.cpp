// Small routines the hero handlers share: headroom, jump direction, the
// three jump starts (from the ground through PLAY_ACTION, off a device, out
// of a medium), idle and move animations, the roll start, the run speed of
// the auto-scrolling level, the forced push, the carrying move and the
// fixed-speed rule of DASH and POWER_RUN.
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

void setJumpVars(jint d, jint h1, jint h2, jint power, jint anim, jint leap) {
    setHeroVar(0, d);
    setHeroVar(1, h1);
    setHeroVar(2, h2);
    setHeroVar(3, 256);
    setHeroVar(4, power);
    setHeroVar(5, anim);
    setHeroVar(6, leap);
}

bool isSolidCell(jint flags) { return (flags & 8) != 0 && (flags & 0x40000000) == 0; }

}  // namespace

bool hasHeadroom(cActor* h) {
    jint st = subtype(h);
    jint row = 0;
    if (isHeroSubtype(h) || st == 113 || st == 237) {
        jint height = isHeroSubtype(h) ? 85 : 50;
        row = (boxEdge(h, 3) - height * scale(h) / 100) / 36;
    }
    return !isSolidCell(getTileFlags(boxEdge(h, 0) / 36, row)) &&
           !isSolidCell(getTileFlags((boxEdge(h, 2) - 1) / 36, row));
}

jint getJumpDirection(cActor* h, bool useSpeed) {
    jint m = heroActionMask();
    if (m & act::JUMP_UP) return 0;
    if (m & act::JUMP2) {
        jint col = getTileColumn(h, 1);
        jint row = (boxEdge(h, 1) - 18) / 36 + 4;
        bool free = true;
        for (jint i = 0; i < 7; ++i) {
            if (getTileFlags(col, row - i) & 0x400008) {
                free = false;
                break;
            }
        }
        if (free) free = !wayUpHitsType8(h);
        if (cActor* mount = mountActor(); mount && (flags(mount) & 0x8000000)) free = false;
        if (!free && !(vx(h) != 0 && useSpeed)) return 0;
        return facing(h) == 1 ? -1 : 1;
    }
    jint d = (m & act::JUMP_LEFT) ? -1 : 1;
    setFacing(h, d < 0 ? 1 : 0);
    return d;
}

void takeOff(cActor* h, jint direction) {
    if (direction == 99) direction = getJumpDirection(h, true);
    setJumpVars(direction, 4128, 4128, isHeroSubtype(h) ? 480 : 384, -1, 0);
    playSound(19);
    playAction(h, 3, 3);
    spawnChild(h, 8, 6, posX(h), posY(h), 11, 24576);
}

void leapOff(cActor* h, jint direction, bool flag) {
    if (direction == 99) direction = getJumpDirection(h, true);
    setJumpVars(direction, 4224, 4224, isHeroSubtype(h) ? 480 : 384, 6, 1);
    playSound(19);
    setHeroState(h, HeroState::JUMP);
    ca().leapFlag = flag ? 1 : 0;
}

void jumpFromMedium(cActor* h) {
    setJumpVars(getJumpDirection(h, false), 4128, 4128, 480, -1, 0);
    playSound(19);
    setHeroState(h, HeroState::JUMP);
}

jint getHeroIdleAnim(cActor*) {
    if (grabMode() == 3) return 32;
    if (grabMode() == 7) return 108;
    return heroStateAnim(0);
}

jint getHeroMoveAnim(cActor*, jint v) {
    if (grabMode() == 3) return 31;
    if (grabMode() == 7) return 107;
    if (absi(v) > 3720) return 2;
    return heroStateAnim(1);
}

bool canEnterState16(cActor* h) {
    if (!isHeroSubtype(h)) return false;
    cActor* mount = mountActor();
    return !mount || (flags(mount) & 0x8000) == 0;
}

bool tryEnterState16(cActor* h) {
    if (!has(act::ROLL_LEFT | act::ROLL_RIGHT) || subtype(h) == 3010 || !canEnterState16(h)) return false;
    setFacing(h, has(act::ROLL_LEFT) ? 1 : 0);
    setHeroVar(0, 4320);
    setHeroState(h, HeroState::ROLL);
    return true;
}

void applyRunSpeed(cActor* h) {
    if (!isLevel7()) return;
    if (isAnyScriptActive()) {
        setVx(h, 0);
        return;
    }
    jint s = 2880 * runSpeedFactor() / 256;
    if (posX(h) > cameraX() + 366 || vx(h) < s) {
        setVx(h, s);
        setAx(h, 0);
        limitsX(h, -10000, 10000);
    }
}

void addForcedPush(cActor* h) {
    if (transitionFlag64Idle() && scrollStepX() > 0)
        setMotion(h, mo::MIN_VX, motion(h, mo::MIN_VX) + scrollStepX() * 256);
}

void shiftHero(cActor* h, jint dx, jint dy) {
    jint x0 = motion(h, mo::FX), y0 = motion(h, mo::FY);
    moveHeroBy(h, dx, dy);
    if (cActor* c = carried(h)) moveBy(c, motion(h, mo::FX) - x0, motion(h, mo::FY) - y0);
}

void applyFixedSpeed(cActor* h) {
    jint d = dirOf(h);
    jint speed = (getTileFlagsAtFeet(h, 0) & 0x1000000) ? clampi(vx(h) + 960 * d, -5376, 5376) : 5376 * d;
    limitsX(h, speed, speed);
}

}  // namespace game::hero

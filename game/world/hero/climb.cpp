// CLIMB: the hero on a ladder of class-21 cells. Whole-cell steps go
// through the world's stepping routines; the entry lock leaves only the
// jump bits open until the input countdown lifts it.
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

constexpr jint kLadder = 21;
constexpr jint kLadderMask = 0x200000;

bool ladderUnderFeet(cActor* h) { return getSolidTile(h, 0, 2) == kLadder; }
bool ladderAtHead(cActor* h) { return getSolidTile(h, 0, 0) == kLadder; }

void leaveLadder(cActor* h, jint newFacing) {
    setVy(h, 0);
    setAy(h, 0);
    setHeroMode(2, 0);
    setFacing(h, newFacing);
}

}  // namespace

jint heroState27(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        setAx(h, 0);
        setVx(h, 0);
        clearPhysicsBit(h, 1);
        stopMotion(h);
        limitsX(h, 0, 0);
        limitsY(h, -2400, 2400);
        setBoxByKind(h, 36, 85, -1, -1);
        jint x = posX(h);
        jint col = x >= 0 ? x / 36 : -((-x + 35) / 36);
        moveTo(h, (36 * col + 18) * 256, motion(h, mo::FY));
        cameraFlags() = 9;
        heroDropCarried(h);
        setAnim(h, 54);
        heroInputMode() = 3;
        heroInputLock() |= 0x7FF7FFFB;
        return 0;
    }
    if (phase != HeroPhase::UPDATE) return 0;
    if (ca().climbEntryDir != 0) {
        if (!isAnimDone(h)) return 0;
        if (ca().climbEntryDir == 1)
            stepTilesWhileClass(h, 0, -1, kLadderMask);
        else
            stepTilesUntilClass(h, 0, 1, kLadderMask);
        ca().climbEntryDir = 0;
        setVy(h, 0);
        setAy(h, 0);
    }
    if (subtype(h) == 3010) {
        if (ladderUnderFeet(h) && !ladderAtHead(h)) {
            moveBy(h, 0, -36 * 256);
            setHeroMove(h, 0, 0, 3010, -1);
            setHeroMode(2, 0);
        } else if (has(act::LEFT)) {
            setHeroMode(2, 0);
            setFacing(h, 1);
            moveBy(h, -36 * 256, 0);
            setHeroMove(h, 2, 0, 3010, -1);
        } else if (has(act::RIGHT)) {
            setHeroMode(2, 0);
            setFacing(h, 0);
            moveBy(h, 36 * 256, 0);
            setHeroMove(h, 3, 0, 3010, -1);
        } else {
            setVy(h, vy(h) - 768);
            setAy(h, ay(h) - 768);
        }
        return 0;
    }
    if (has(act::JUMP_LEFT)) {
        leaveLadder(h, 1);
        moveHeroBy(h, -36 * 256, 0);
        takeOff(h, -1);
        return 0;
    }
    if (has(act::JUMP_RIGHT)) {
        leaveLadder(h, 0);
        shiftHero(h, 9216, 0);
        takeOff(h, 1);
        return 0;
    }
    bool feet = ladderUnderFeet(h);
    if (has(act::LEFT) || (climbExitDir() == -1 && !feet)) {
        leaveLadder(h, 1);
        if (feet) shiftHero(h, -9216, 0);
        setHeroState(h, HeroState::WALK);
        return 0;
    }
    if (has(act::RIGHT) || (climbExitDir() == 1 && !feet)) {
        leaveLadder(h, 0);
        if (feet) shiftHero(h, 9216, 0);
        setHeroState(h, HeroState::WALK);
        return 0;
    }
    jint v = 0;
    if (has(act::ANY_JUMP) && feet)
        v = -2400;
    else if (has(act::CROUCH))
        v = 2400;
    setVy(h, v);
    setAy(h, v);
    if (!ladderAtHead(h)) {
        setClimbDirection(h, 1);
        setFacing(h, 0);
    } else {
        setAnim(h, v != 0 ? 53 : 54);
    }
    return 0;
}

}  // namespace game::hero

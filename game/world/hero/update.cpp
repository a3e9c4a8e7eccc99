// The hero's behaviour routine, once a logic step: counters, input, the
// death checks, the reactions to special cells under and beside the hero
// (pits, deadly and damaging cells, water, mire, ladders, ice, steep
// slopes), the pending switches, then one UPDATE of the current state.
#include <initializer_list>

#include "game/world/hero/util.h"

namespace game::hero {

namespace {

constexpr jint kPit = 15, kDeadly = 16, kDamage = 17, kMire = 20, kLadder = 21;

bool isWater(jint c) { return c >= 9 && c <= 13; }

bool stateIn(std::initializer_list<jint> states) {
    for (jint s : states)
        if (heroState() == s) return true;
    return false;
}

void fallIntoPit(cActor* h) {
    jint before = anim(h);
    setCameraLimitsToView();
    moveBy(h, 0, 4 * 256);
    forceHeroFall(h);
    resetKeys();
    if (before == 19 || before == 36) setAnim(h, before);
    ca().deathCountdown = 8;
}

}  // namespace

void tryClimbTile(cActor* h) {
    if (!(heroActionMask() & act::CROUCH)) return;
    jint front = getSolidTile(h, 1, 2), back = getSolidTile(h, -1, 2), centre = getSolidTile(h, 0, 2);
    jint target;
    if (centre == kLadder)
        target = 36 * (posX(h) / 36);
    else if (back == kLadder)
        target = 36 * getTileColumn(h, -1);
    else if (front == kLadder)
        target = 36 * getTileColumn(h, 1);
    else
        return;
    moveTo(h, target * 256, motion(h, mo::FY));
    enterHeroState27(h);
    ca().climbEntryDir = -1;
    setAnim(h, 95);
    setVy(h, 0);
    setAy(h, 0);
}

void updateHero(cActor* h) {
    setFlags(h, flags(h) & ~0x2000);
    if (inSegmentRange(h)) setFlags(h, flags(h) | 0x2000);
    worldFlags(h) = 0;
    setTimer(h, timer(h) - 1);
    decrementVariable6();
    setHeroAttackBox(h, 83, 113, 0);
    if (keyReleased(10)) inputOptions() &= ~1;
    if (heroInputMode() >= 0) {
        heroInputMode() -= 1;
        if (heroInputMode() < 0) heroInputLock() &= static_cast<jint>(0x80000000u);
    }
    readHeroInput();
    if (ca().deathCountdown > 0) {
        ca().deathCountdown -= 1;
        if (ca().deathCountdown == 0) {
            kill(h);
            return;
        }
    }
    if (!stateIn({HeroState::HURLED, HeroState::KNOCKBACK, HeroState::PLAY_ACTION}) && getVariable(3) < 1) {
        loseLife(h);
        return;
    }
    if (!isHeroDead()) {
        jint feet = getSolidTile(h, 0, 2);
        // A pit forces the fall and starts the 8-step count once. While the
        // count runs the fall goes on through the state handler: restarting
        // it at every pit cell would keep a hero falling down a deep pit
        // alive until it left the map, not kill it on the 8th step.
        if (feet == kPit && ca().deathCountdown == 0) {
            fallIntoPit(h);
            return;
        }
        if (feet == kPit) {
            tickHeroState(h);
            return;
        }
        if (feet == kDeadly) {
            kill(h);
            return;
        }
        bool vulnerable = timer(h) <= 0;
        if (feet == kDamage && vulnerable) {
            hurtHero(h, 0, levelNumber() == 3 ? 2 : 1, 1);
            knockback(h, facing(h) == 1 ? 1 : -1, 9, 512, 4352, 0, 512);
            return;
        }
        if (getSolidTile(h, 1, 1) == kDamage && vulnerable) {
            hurtHero(h, 0, levelNumber() == 3 ? 2 : 1, 1);
            return;
        }
        if (!heroMode(0) && !heroMode(1) && !heroMode(2) && !heroMode(3)) {
            jint body = getSolidTile(h, 0, 1);
            if (isWater(body) && vy(h) >= 0) {
                enterHeroState14(h);
                return;
            }
            if (body == kMire && vy(h) >= 0) {
                enterHeroState26(h);
                return;
            }
            if (!isKind113(h)) {
                jint under = getSolidTile(h, 0, 2);
                if (!tileMirrored() && under == kLadder) {
                    enterHeroState27(h);
                    if (ca().climbEntryDir == 1)
                        stepTilesWhileClass(h, 0, -1, 1 << kLadder);
                    else if (ca().climbEntryDir == -1)
                        stepTilesUntilClass(h, 0, 1, 1 << kLadder);
                    ca().climbEntryDir = 0;
                    setVy(h, 0);
                    setAy(h, 0);
                    return;
                }
                if (!tileMirrored() && getSolidTile(h, 1, 2) == kLadder) {
                    moveBy(h, (facing(h) == 1 ? -36 : 36) * 256, 0);
                    enterHeroState27(h);
                    return;
                }
            }
            tryClimbTile(h);
            if ((getTileFlagsAtFeet(h, 0) & 0x1000000) &&
                !stateIn({HeroState::JUMP, HeroState::PLAY_ACTION, HeroState::DASH, HeroState::GRAB_COMBO,
                          HeroState::CROUCH, HeroState::ROLL, HeroState::SPECIAL, HeroState::ICE})) {
                enterHeroState28(h);
                return;
            }
            jint s = probeSlopeGround(h);
            if ((s == 0x30003 || s == 0x30004) && physicsDy() == 0 &&
                !stateIn({HeroState::SLOPE_SLIDE, HeroState::JUMP, HeroState::PLAY_ACTION, HeroState::KNOCKBACK,
                          HeroState::HURLED})) {
                setHeroVar(0, 60);
                setHeroVar(1, 480);
                setHeroVar(2, s == 0x30003 ? 7200 : 6000);
                ca().slideHoldTicks = heroState() == HeroState::DASH ? 13 : 0;
                setHeroState(h, HeroState::SLOPE_SLIDE);
            } else if ((s == 0x10001 || s == 0x30002) && tileMirrored() == facing(h) &&
                       tryMountAction(h, 1, tileMirrored())) {
                return;
            }
        }
        if (heroMode(3) && !(getTileFlagsAtFeet(h, 0) & 0x1000000)) {
            setHeroMode(3, 0);
            setHeroState(h, HeroState::WALK);
        }
        if (ca().swingPending && heroState() != HeroState::SWING) {
            ca().swingPending = 0;
            setHeroState(h, HeroState::SWING);
        }
        if (ca().orbitPending) {
            ca().orbitPending = 0;
            setHeroState(h, HeroState::ORBIT);
        }
    }
    if (dialogHoldsHero()) {
        syncAttachedChain(h);
        return;
    }
    tickHeroState(h);
    syncAttachedChain(h);
}

}  // namespace game::hero

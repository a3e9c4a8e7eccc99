// TOWED and BORNE: a vehicle actor carries the hero, which only chooses
// when and how to get off. Variable [0] is the sub-phase and the animation
// played; the ride position is [5] (1/256 px) and [3] (px).
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

// Both vehicles: EXIT removes the drawing offset; UPDATE first plays [0]
// and puts the hero at the ride position. True when the phase goes on.
bool ridePhase(cActor* h, jint phase) {
    if (phase == HeroPhase::EXIT) {
        offsetDrawAndBox(h, -drawOffsetX(h), -drawOffsetY(h));
        return false;
    }
    if (phase != HeroPhase::UPDATE) return false;
    setAnim(h, heroVar(0));
    moveBy(h, (heroVar(5) / 256 - posX(h)) * 256, (heroVar(3) - posY(h)) * 256);
    return true;
}

void dismount(cActor* h, jint lift) {
    offsetDrawAndBox(h, 0, lift);
    setLowBox(h);
    setHeroState(h, HeroState::SKID);
}

void moveRide(cActor* h, jint v) {
    setVx(h, v);
    setHeroVar(5, heroVar(5) + v);
}

}  // namespace

void heroState21Step(cActor* h, jint kind, jint b, jint st) {
    ca().heroMovingFlag = 1;
    jint d = heroVar(0);
    if (kind == 0) {
        d = 0;
    } else if (kind == 1) {
        d = has(27) ? dirOf(h) : 0;
    } else if (kind == 2) {
        setFacing(h, 1);
        d = -1;
    } else if (kind == 3) {
        setFacing(h, 0);
        d = 1;
    }
    setHeroVar(0, d);
    setHeroVar(1, 2720);
    setHeroVar(2, 2720);
    setHeroVar(3, 416);
    setHeroVar(4, 416);
    setHeroVar(5, (st == 0 || st == 242) ? 36 : -1);
    setHeroVar(6, b);
    setHeroState(h, st == 3010 ? HeroState::HOP : HeroState::JUMP);
}

jint heroState21(cActor* h, jint phase) {
    if (!ridePhase(h, phase)) return 0;
    switch (heroVar(0)) {
    case 75:
    case 76:
        if (isOnLastFrame(h)) {
            setHeroVar(5, heroVar(2) * 256);
            setHeroVar(0, 77);
            offsetDrawAndBox(h, 0, -89);
        } else {
            setHeroVar(5, heroVar(5) + heroVar(6) * 256);
        }
        break;
    case 77:
        updateBoxFromSprite(h);
        if (heroVar(1) == 1) {
            setHeroVar(0, 78);
            setHeroVar(1, 0);
        } else if (heroVar(1) == 2) {
            dismount(h, 89);
        } else if (has(act::JUMP_UP)) {
            setHeroVar(1, 1);
            setHeroVar(4, 0);
        } else if (has(act::JUMP_LEFT) || (has(act::JUMP2) && facing(h) == 1)) {
            setHeroVar(1, 1);
            setHeroVar(4, 2);
        } else if (has(act::JUMP_RIGHT) || (has(act::JUMP2) && facing(h) == 0)) {
            setHeroVar(1, 1);
            setHeroVar(4, 3);
        } else if (has(act::CROUCH)) {
            setHeroVar(1, 2);
        } else if (has(act::LEFT)) {
            setFacing(h, 1);
            if (posX(h) > heroVar(7)) moveRide(h, -972);
        } else if (has(act::RIGHT)) {
            setFacing(h, 0);
            if (posX(h) < heroVar(8)) moveRide(h, 972);
        }
        break;
    case 78:
        if (isOnLastFrame(h)) {
            offsetDrawAndBox(h, 0, 89);
            moveBy(h, 0, -38400);
            heroState21Step(h, heroVar(4), 0, subtype(h));
        }
        break;
    default:
        break;
    }
    return 0;
}

jint heroState39(cActor* h, jint phase) {
    if (!ridePhase(h, phase)) return 0;
    switch (heroVar(0)) {
    case 83:
    case 86:
        if (heroVar(1) == 2) {
            setLowBox(h);
            setHeroState(h, HeroState::SKID);
            break;
        }
        setHeroVar(0, 86);
        if (has(act::STRAIGHT_JUMP)) {
            setHeroVar(0, 84);
            offsetDrawAndBox(h, 0, -50);
        } else if (!has(act::CROUCH)) {
            if (has(act::LEFT)) {
                setFacing(h, 1);
                if (posX(h) > heroVar(2) - heroVar(7) + 28) moveRide(h, -2764);
                setHeroVar(0, 83);
            } else if (has(act::RIGHT)) {
                setFacing(h, 0);
                if (posX(h) < heroVar(8) + heroVar(2) - 28) moveRide(h, 2764);
                setHeroVar(0, 83);
            } else {
                if (heroVar(4) == 0) setHeroVar(1, 2);
                setHeroVar(0, 83);
            }
        } else {
            setHeroVar(1, 2);
        }
        break;
    case 84:
        if (isAnimDone(h)) {
            setHeroVar(0, 87);
            setAnim(h, 87);
        }
        break;
    case 85:
        if (isAnimDone(h)) {
            offsetDrawAndBox(h, 0, 50);
            setHeroVar(0, 86);
            setAnim(h, 86);
        }
        break;
    case 87:
        if (!has(act::STRAIGHT_JUMP)) setHeroVar(0, 85);
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace game::hero

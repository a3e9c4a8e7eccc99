// SWING: the hero slides along the axis of a tilting actor. The position p
// runs -25600..25600 over the actor's length; the tilt pulls, the keys
// push, the ends drop the hero and the jump bits leave.
#include "game/world/hero/util.h"
#include "runtime/log.h"

namespace game::hero {

namespace {

constexpr jint kEnd = 25600;

// A take-off that skips the take-off animation.
void takeOffNow(cActor* h, jint dir) {
    takeOff(h, dir);
    setHeroState(h, HeroState::JUMP);
}

}  // namespace

jint heroState30(cActor* h, jint phase) {
    cActor* r = ca().heroHoldActor;
    if (phase == HeroPhase::EXIT) {
        setAngle(h, 0);
        return 0;
    }
    if (!r) {
        if (phase == HeroPhase::ENTER) {
            logPrintf("hero: swing entered without a ridden actor; falling");
            setVy(h, 4800);
            setHeroState(h, HeroState::FALL);
        }
        return 0;
    }
    jint a = angle(r);
    jint c = fixedSin(a + 90), s = fixedSin(a);
    jint half = getTypeParam(r, 6) / 2;
    if (phase == HeroPhase::ENTER) {
        for (jint i = 0; i < 4; ++i) setHeroMode(i, 0);
        setAnim(h, getHeroIdleAnim(h));
        stopMotion(h);
        jint along = static_cast<jint>((static_cast<int64_t>(posX(h) - posX(r)) * c +
                                        static_cast<int64_t>(posY(h) - posY(r)) * s) / 16384);
        ca().swingPos = half == 0 ? 0 : static_cast<jint>(static_cast<int64_t>(along) * kEnd / half);
        clearPhysicsBit(h, 1);
        ca().swingMode = 4;
        return 0;
    }
    jint along = static_cast<jint>(static_cast<int64_t>(ca().swingPos) * half / kEnd);
    jint lift = getTypeParam(r, 7) / 2;
    int64_t x = static_cast<int64_t>(posX(r)) * 16384 + static_cast<int64_t>(along) * c + static_cast<int64_t>(lift) * s;
    int64_t y = static_cast<int64_t>(posY(r)) * 16384 + static_cast<int64_t>(along) * s - static_cast<int64_t>(lift) * c;
    moveTo(h, static_cast<jint>(x / 64), static_cast<jint>(y / 64));
    ca().swingSpeed = a * 51;
    if (has(act::LEFT)) {
        setFacing(h, 1);
        ca().swingSpeed -= 3584;
        setAnim(h, 2);
    } else if (has(act::RIGHT)) {
        setFacing(h, 0);
        ca().swingSpeed += 3584;
        setAnim(h, 2);
    } else if (has(act::ACTION)) {
        ca().swingSpeed += 5376 * dirOf(h);
        setAnim(h, 5);
        ca().swingKickTime = frameTick();
    } else {
        setAnim(h, 0);
    }
    ca().swingPos += ca().swingSpeed;
    if (ca().swingPos < -kEnd || ca().swingPos > kEnd) {
        setVy(h, 4800);
        setHeroState(h, HeroState::FALL);
        return 0;
    }
    bool kicked = frameTick() - ca().swingKickTime < 3;
    jint side = has(act::JUMP_LEFT) ? -1 : (has(act::JUMP_RIGHT) ? 1 : 0);
    if (side != 0) {
        setFacing(h, side < 0 ? 1 : 0);
        if (kicked)
            applyHeroHit(h, 41, side, true);
        else
            takeOffNow(h, side);
        return 0;
    }
    if (has(act::STRAIGHT_JUMP)) {
        if (kicked)
            applyHeroHit(h, 41, dirOf(h), true);
        else
            takeOffNow(h, 0);
        return 0;
    }
    setCounter(r, 2);
    return 0;
}

}  // namespace game::hero

// The three steering routines: they turn left/right input into the hero's
// facing, horizontal acceleration, speed or speed window; the physics step
// moves the hero. Both groups requested at vx = 0: the left request wins.
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

struct Requests {
    bool left;
    bool right;
};

Requests directionRequests(cActor* h, bool withJumpBits) {
    jint m = heroActionMask();
    jint leftBits = withJumpBits ? (act::LEFT | act::JUMP_LEFT) : act::LEFT;
    jint rightBits = withJumpBits ? (act::RIGHT | act::JUMP_RIGHT) : act::RIGHT;
    bool l = (m & leftBits) != 0;
    bool r = (m & rightBits) != 0;
    jint v = vx(h);
    Requests q{l && !(r && v > 0), r && !(l && v < 0)};
    if (q.left && q.right) q.right = false;  // only at vx = 0
    return q;
}

}  // namespace

void steerHero(cActor* h, bool fullSpeed) {
    jint s = (fullSpeed || ca().runUpJump) ? heroVar(2) : heroVar(1);
    jint d = heroVar(0);
    if (isHeroParamsNeutral() && d != 0) {
        if (fullSpeed)
            setAx(h, 0);
        else if (vy(h) >= 0)
            setAx(h, -1440 * d);
        jint w = clampi(ca().jumpSpeedCarry + s, -5376, 5376);
        if (d < 0)
            limitsX(h, -w, -480);
        else
            limitsX(h, 480, w);
        return;
    }
    setVx(h, d * (s + ca().jumpSpeedCarry));
    setAx(h, 0);
}

bool steerHeroFacing(cActor* h, jint minSpeed, jint maxSpeed, bool withJumpBits) {
    Requests q = directionRequests(h, withJumpBits);
    jint v = vx(h);
    if (q.left) {
        setFacing(h, isLevel7() ? 0 : 1);
        if (v < -maxSpeed) return false;
        limitsX(h, -maxSpeed, v > 0 ? v : -minSpeed);
        return true;
    }
    if (q.right) {
        setFacing(h, 0);
        if (v > maxSpeed) return false;
        limitsX(h, v < 0 ? v : minSpeed, maxSpeed);
        return true;
    }
    return false;
}

bool applyHeroWalkInput(cActor* h, jint minSpeed, jint maxSpeed, bool keepOpposite, bool withJumpBits) {
    Requests q = directionRequests(h, withJumpBits);
    jint v = vx(h);
    if (q.left) {
        setFacing(h, isLevel7() ? 0 : 1);
        limitsX(h, -maxSpeed, (v > 0 && keepOpposite) ? v : -minSpeed);
        return true;
    }
    if (q.right) {
        setFacing(h, 0);
        limitsX(h, (v < 0 && keepOpposite) ? v : minSpeed, maxSpeed);
        return true;
    }
    return false;
}

}  // namespace game::hero

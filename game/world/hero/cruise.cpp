// CRUISE (a set horizontal speed the keys trim by 1/256 px) and
// SCRIPT_HOLD (held by a level script: the keys move the hero vertically).
#include "game/world/hero/util.h"

namespace game::hero {

jint heroState17(cActor* h, jint phase) {
    jint speed = heroVar(0);
    if (phase == HeroPhase::ENTER) {
        setFacing(h, speed < 0 ? 1 : 0);
        limitsX(h, speed, speed);
    } else if (phase == HeroPhase::UPDATE) {
        jint v = keyHeld(4240) ? speed - 1 : (keyHeld(8768) ? speed + 1 : speed);
        limitsX(h, v, v);
    }
    return 0;
}

jint heroState29(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        setAx(h, 0);
        setAy(h, 0);
        setVx(h, 0);
        setVy(h, 0);
        limitsX(h, 0, 0);
        limitsY(h, -512, 512);
        lookAheadX() = -31;
    } else if (phase == HeroPhase::UPDATE) {
        if (has(act::LEFT)) {
            setVy(h, 512);
            setFacing(h, 1);
        } else if (has(act::RIGHT)) {
            setVy(h, -512);
            setFacing(h, 0);
        } else {
            setVy(h, 0);
        }
        setAnim(h, vy(h) != 0 ? 2 : 0);
    }
    return 0;
}

}  // namespace game::hero

// Actors that take hold of the hero: the bar (61) and the second rider (75)
// that the hero hangs from, the ramp (64) that launches it, and the push
// zone (53). The drivers fill the hero state variables that the target
// state reads, place the hero and switch its state directly.
#include "game/actor/actor.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/platforms_util.h"
#include "game/behaviour/routines.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"

namespace game::behaviour {

namespace {

// Frames of the hero's hang-on animation; a sprite without it counts as 1
// so that the approach speed below stays a plain division.
jint hangFrames() {
    BSprite* s = getSpriteById(0, 19);
    const jint n = s ? s->getAFrameCount(75) : 0;
    return n > 0 ? n : 1;
}

void setVar(IntArray* vars, jint i, jint v) { plat::setPartAt(vars, i, v); }

// The hero moved vertically to y (whole pixels), its x fraction kept.
void moveHeroToY(cActor* hero, jint y) {
    const jint from = hero->motion ? hero->motion->data()[5] : java::ishl(hero->posY, 8);
    cActor::moveBy(hero, 0, java::isub(java::ishl(y, 8), from));
}

jint clampTarget(cActor* a, cActor* hero) {
    const jint left = ShortArray::at(a->box, 0) + 28, right = ShortArray::at(a->box, 2) - 28;
    jint t = hero->posX;
    if (t < left) t = left;
    if (t > right) t = right;
    return t;
}

}  // namespace

void driveHeroType61(cActor* a) {
    cActor* hero = plat::heroActor();
    if (!a || !hero || !a->box) return;
    const jint target = clampTarget(a, hero);
    jint anim = 76;
    if (hero->posX < target) {
        anim = 75;
        cActor::setFacing(hero, 0);
    } else if (hero->posX > target) {
        anim = 75;
        cActor::setFacing(hero, 1);
    }
    const jint frames = hangFrames();
    IntArray* v = heroStateVars();
    setVar(v, 0, anim);
    setVar(v, 1, 0);
    setVar(v, 2, target);
    setVar(v, 3, a->posY + 133);
    setVar(v, 4, 0);
    setVar(v, 5, java::ishl(hero->posX, 8));
    setVar(v, 6, java::idiv(target - hero->posX, frames));
    setVar(v, 7, ShortArray::at(a->box, 0) + 28);
    setVar(v, 8, ShortArray::at(a->box, 2) - 28);
    cActor::stopMotion(hero);
    moveHeroToY(hero, a->posY + 133);
    hero::setHeroState(hero, 21);
}

void driveHeroType75(cActor* a) {
    cActor* hero = plat::heroActor();
    if (!a || !hero || !a->box) return;
    const jint target = clampTarget(a, hero);
    const jint frames = hangFrames();
    const jint heroX = hero->posX;
    IntArray* v = heroStateVars();
    setVar(v, 0, 86);
    setVar(v, 1, 0);
    setVar(v, 2, target);
    setVar(v, 3, a->posY + 133);
    setVar(v, 4, plat::param(a, 1));
    setVar(v, 5, java::ishl(target, 8));
    setVar(v, 6, java::idiv(target - heroX, frames));
    setVar(v, 7, heroX - ShortArray::at(a->box, 0));
    setVar(v, 8, ShortArray::at(a->box, 2) - heroX);
    cActor::stopMotion(hero);
    cActor::moveTo(hero, java::ishl(target, 8), java::ishl(a->posY + 133, 8));
    hero::setHeroState(hero, 39);
}

void launchHeroType64(cActor* a) {
    cActor* hero = plat::heroActor();
    if (!a || !hero || !a->box) return;
    slideDir() = a->facing;
    const jint w = cActor::getWidth(a) >> 1;
    IntArray* v = heroStateVars();
    setVar(v, 0, 60);
    setVar(v, 1, 480);
    setVar(v, 2, 7200);
    setVar(v, 3, a->posY);
    setVar(v, 4, a->posX - w);
    setVar(v, 5, a->posX + w);
    const jint d = a->facing == 0 ? java::idiv(hero->posX - a->posX, 4) : java::idiv(a->posX - hero->posX, 4);
    moveHeroToY(hero, a->posY + 90 + d);
    if (heroState() != 9) hero::setHeroState(hero, 9);
}

void updateType53(cActor* a) {
    cActor* hero = plat::heroActor();
    if (!hero || world::isAnyScriptActive() || !plat::touchesHero(a)) return;
    if (!hero->motion) hero->allocMotionState();
    jint* m = hero->motion->data();
    switch (plat::param(a, 0)) {
    case 0: m[1] = -128; break;
    case 1: m[1] = 128; break;
    case 2: m[0] = -128; break;
    case 3: m[0] = 128; break;
    default: break;
    }
    if (heroState() != 34) hero::setHeroState(hero, 34);
}

}  // namespace game::behaviour

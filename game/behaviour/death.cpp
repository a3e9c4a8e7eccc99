// Hero death and instant kill (see death.h). A second kill in the same
// death does nothing (the energy is already 0); loseLife of any other
// actor only parks it in AI state 1.
#include "game/behaviour/death.h"

#include "game/actor/actor.h"
#include "game/behaviour/core_util.h"
#include "game/behaviour/fields.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::behaviour {

using namespace core;

namespace {

void vibrateOnDeath() {
    if (cg().vibrationOn) vibrate(400);
}

void stopChannel(jint channel) { KTLibPlayer::request(channel, 4, -1, -1, -1, -1); }

}  // namespace

void kill(cActor* self) {
    if (getVariable(3) < 1) return;
    setVariable(3, 0, true);
    vibrateOnDeath();
    loseLife(self);
}

void loseLife(cActor* self) {
    if (!self) return;
    cActor* hero = theHero();
    if (self != hero) {
        self->aiState = 1;
        return;
    }
    setVariable(3, 0, true);
    for (jint i = 6; i <= 9; ++i) setMot(hero, i, 0);
    cActor::stopMotion(hero);
    if (cActor* held = grabbedActor()) {
        if (grabMode() == 3)
            world::setBoxSize(held, 33, held->getTypeParam(7));
        else if (grabMode() == 7)
            held->aiState = 9;
        grabMode() = 10;
        grabbedActor() = nullptr;
    }
    game::ca().landingMode = 0;
    setVariable(2, 0, true);
    setVariable(8, 0, true);
    stopChannel(0);
    stopChannel(1);
    cg().currentMusic = -1;
    stopChannel(0);
    cg().currentMusic = -1;
    playSound(2);
    if (self->type == 0) {
        vibrateOnDeath();
        savedHeroAltMode() = heroAltMode();
        actionAnim() = heroAltMode() ? 34 : 7;
        actionNextState() = 0x1000016;
        hero::setHeroState(self, 23);
        self->timer = 0;
        worldFlags() |= 2;
        self->timer = 53;
        cg().scriptMusic = -1;
    }
    cg().scrollDelay = -1;
    cg().scrollStepX = 0;
    cg().scrollStepY = 0;
    cg().cameraFlags = 9;
    self->flags &= ~0x200;
    self->releaseChild();
}

}  // namespace game::behaviour

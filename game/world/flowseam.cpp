// The world's calls into the game flow and the hero code (WorldFlowSeam),
// answered by the real routines: dialogs and the side panel, sounds, state
// requests, the hero's state changes and damage, level-object flags and
// the script's actor commands. installWorld installs it; a behaviours
// library may derive from it for the two calls that are its own
// (activateDropper, and anything it overrides).
#include "game/world/flowseam.h"

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"

namespace game::world {

bool GameFlowSeam::isDialogActive() { return game::isDialogActive(); }
bool GameFlowSeam::isPanelSliding() { return game::isPanelSliding(); }
void GameFlowSeam::openDialog(jint textId, jint a, jint frames, jint kind) { game::openDialog(textId, a, frames, kind); }
void GameFlowSeam::closeDialog() { game::closeDialog(); }
void GameFlowSeam::playSound(jint id) { game::playSound(id); }
void GameFlowSeam::stopSound(jint id) { game::stopSound(id); }
void GameFlowSeam::requestLevelEnd() { game::requestLevelEnd(); }
void GameFlowSeam::requestSetState(jint state) { game::requestSetState(state); }
void GameFlowSeam::resetTransition() { game::resetTransition(); }
void GameFlowSeam::stopHeroForScript() { game::stopHeroForScript(); }
void GameFlowSeam::resetHeroState() { game::world::resetHeroState(); }
void GameFlowSeam::killHero(cActor* hero) { game::behaviour::kill(hero); }

// While the hero's invulnerability count (its state timer) runs, or the
// permanent switch (game variable 6) is set.
bool GameFlowSeam::isHeroInvulnerable() {
    cActor* h = world::hero();
    return (h && h->timer > 0) || getVariable(6) != 0;
}

// The count lands in the hero's state timer (the hit-kind field the flow's
// damage routine writes through the actor framework's sink).
void GameFlowSeam::applyHeroDamage(jint amount, jint frames) { game::applyHeroDamage(amount, frames); }

void GameFlowSeam::setLevelObjectFlags(jint id, jint bits) { game::setLevelObjectFlags(id, bits); }
void GameFlowSeam::clearLevelObjectFlags(jint id, jint bits) { game::clearLevelObjectFlags(id, bits); }

// AI state 2 and stopped; an actor it carries leaves the level pool.
void GameFlowSeam::despawnActor(cActor* actor) {
    if (!actor) return;
    actor->aiState = 2;
    cActor::stopMotion(actor);
    if (cActor* carried = actor->carried) {
        actor->carried = nullptr;
        removeActor(carried, true);
    }
}

void GameFlowSeam::stunByScript(cActor* actor, jint anim) {
    if (actor) game::stunByScript(actor, anim);
}
void GameFlowSeam::startScaleTween(cActor* actor, jint percent, jint steps) {
    if (actor) cActor::startScaleTween(actor, percent, steps);
}
void GameFlowSeam::resetHeroStateAfterLanding() {
    if (world::hero()) game::resetHeroStateAfterLanding();
}
bool GameFlowSeam::isHeroOfSubtype() { return game::isHeroSubtype(world::hero()); }

// The first of the level's sprites switches palette.
void GameFlowSeam::setPalette(jint palette) {
    ObjectArray* sprites = cg().levelSprites;
    if (!sprites || sprites->length() < 1) return;
    if (auto* s = static_cast<BSprite*>(sprites->data()[0])) s->setPalette(palette);
}

GameFlowSeam& gameFlowSeam() {
    static GameFlowSeam seam;
    return seam;
}

}  // namespace game::world

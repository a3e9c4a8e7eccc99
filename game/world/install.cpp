// The world's statics and start-up (see world.h).
#include "game/world/world.h"

#include "game/actor/defaults.h"
#include "game/actor/hero.h"
#include "game/flow/variables.h"
#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/panel.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::world {

void registerWorld() {
}

void installWorld() {
    setHeroUpdateRoutine(&hero::updateHero);
}

void uninstallWorld() {
    setHeroUpdateRoutine(nullptr);
}

void registerPlay() {
    registerActorFramework();
    registerWorld();
    installWorld();
}

}  // namespace game::world

// The actor framework's start-up (see defaults.h).
#include "game/actor/defaults.h"

#include "game/actor/actor.h"
#include "game/actor/screenhooks.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"

using namespace game;

void game::installActorServices() {
    setScreenActorHooks(&actorScreenHooks());
}

void game::registerActorFramework() {
    registerActorStatics();
    installActorServices();
}

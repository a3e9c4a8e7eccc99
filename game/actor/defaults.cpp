// The actor framework's start-up (see defaults.h).
#include "game/actor/defaults.h"

#include "game/actor/actor.h"

void game::registerActorFramework() { registerActorStatics(); }

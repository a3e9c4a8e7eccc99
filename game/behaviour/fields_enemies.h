// Names the enemy and mover routines use that the shared field map lacks:
// the boss and its pattern (held by the game's statics), the boss helpers
// the boss moves spawn and watch, and the landed mark of a boss helper.
#pragma once

#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::behaviour {

// cGame.bossActor: the running boss, or none.
inline cActor*& bossActor() { return cg().boss; }
// Constants_CstBossMordle.bossPattern: the type-102/103 pattern codes.
inline IntArray*& bossPattern() { return mordle().stepTable; }
// cGame.bossMinion / cGame.bossMinionB: the helpers the boss moves spawn
// and watch (pool actors, which are never freed, so the references stay
// valid for the life of the application).
cActor*& bossMinion();
cActor*& bossMinionB();
// cActor.pickupLanded: set on the second helper when its pickup lands.
inline jint& pickupLanded(cActor* a) { return a->aux312; }

}  // namespace game::behaviour

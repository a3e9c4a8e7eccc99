// The behaviour library's entry: fills the actor type table and installs
// its routines behind the core's BehaviourHooks.
//
//   game::behaviour::registerBehaviours();   // before Application::init (idempotent)
//   game::behaviour::appendBehaviourStatics(list);  // or this, with a statics list
//   game::behaviour::installBehaviours();    // after the actor framework and the world (idempotent)
//   game::behaviour::uninstallBehaviours();  // the framework's generic defaults again
#pragma once

#include <vector>

#include "runtime/statics.h"

namespace game::behaviour {

// Adds the behaviours' set-up step to the statics block (idempotent); their
// fields are cActor's and cGame's.
void registerBehaviours();
// The step itself, for an application configured with a list.
const StaticsContribution* behaviourStaticsContribution();

// The behaviours' contributions, for an application configured with a list.
void appendBehaviourStatics(std::vector<const StaticsContribution*>& list);

// The type table and the hooks, then the world's and the hero's seams.
void installBehaviours();
void uninstallBehaviours();
void installBehaviourSeams();
void uninstallBehaviourSeams();

}  // namespace game::behaviour

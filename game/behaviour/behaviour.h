// The behaviour library's entry: fills the actor type table and installs
// its routines behind the core's BehaviourHooks.
//
//   game::behaviour::registerBehaviours();   // before Application::init (idempotent)
//   game::behaviour::installBehaviours();    // after the actor framework and the world (idempotent)
//   game::behaviour::uninstallBehaviours();  // the framework's generic defaults again
#pragma once

#include "runtime/statics.h"

namespace game::behaviour {

// Adds the behaviour statics to the statics block (idempotent).
void registerBehaviours();
// The contribution itself, for an application configured with a list.
const StaticsContribution* behaviourStaticsContribution();

void installBehaviours();
void uninstallBehaviours();

}  // namespace game::behaviour

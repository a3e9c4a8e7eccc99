// The behaviour library's entry: fills the actor type table and installs
// its routines behind the core's BehaviourHooks.
//
//   game::behaviour::installBehaviours();    // after the actor framework and the world (idempotent)
//   game::behaviour::uninstallBehaviours();  // the framework's generic defaults again
#pragma once

namespace game::behaviour {

void installBehaviours();
void uninstallBehaviours();

}  // namespace game::behaviour

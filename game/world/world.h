// The world library's entry: installs its routines behind the core's
// WorldHooks and the actor framework's host, and registers its statics.
//
//   game::world::registerWorld();   // before Application::init
//   game::world::installWorld();    // after it (idempotent)
#pragma once

namespace game::world {

void registerWorld();
void installWorld();
void uninstallWorld();

}  // namespace game::world

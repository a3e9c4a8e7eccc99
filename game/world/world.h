// The world library's entry: installs its routines behind the core's
// WorldHooks and the actor framework's host, and registers its statics.
//
//   game::world::registerWorld();   // before Application::init
//   game::world::installWorld();    // after it (idempotent)
#pragma once

namespace game::world {

void registerWorld();
// The world's hooks, the hero's update for type 0, the flow seam of the
// scripts and the screens' actor seam.
void installWorld();
void uninstallWorld();
// The program's start-up for everything above the core (before
// Application::init, after registerGameProgram): the actor framework
// (statics, hooks, services), the world and the hero, installed.
void registerPlay();

}  // namespace game::world

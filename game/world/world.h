// The world's statics and start-up. The rest of the game calls the world's
// routines by name (its folder's headers); installWorld only answers the
// seams that remain: the hero's update for type 0, the scripts' flow seam,
// the screens' actor seam and the panel's variable sink.
//
//   game::world::registerWorld();   // before Application::init
//   game::world::installWorld();    // after it (idempotent)
#pragma once

namespace game::world {

void registerWorld();
void installWorld();
void uninstallWorld();
// The program's start-up for everything above the core (before
// Application::init, after registerGameProgram): the actor framework
// (statics and services), the world and the hero, installed.
void registerPlay();

}  // namespace game::world

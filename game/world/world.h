// The world's statics and start-up. The rest of the game calls the world's
// routines by name (its folder's headers); installWorld only answers the
// seam that remains: the hero's update for type 0.
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
// (its statics), the world and the hero, installed.
void registerPlay();

}  // namespace game::world

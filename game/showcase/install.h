// What the program calls at start to bring in the cross-promotion screen.
// The game calls the screen by name (showcase.h).
#pragma once

namespace game {

// Adds the Showcase statics (before Application::init; the game's own
// statics list holds them too).
void installShowcase();

}  // namespace game

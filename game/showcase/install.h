// What the program calls at start to bring in the cross-promotion screen.
#pragma once

namespace game {

// Adds the Showcase statics (before Application::init) and installs the
// Showcase behind showcaseHooks().
void installShowcase();

}  // namespace game

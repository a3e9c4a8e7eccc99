// The world's routines the play screens call by name: the level set-up
// after a lost life and the play view's painting order (screencalls.cpp).
#pragma once

namespace game::world {

// The level set-up after a lost life: the hero from the checkpoint, tile
// and record states restored, the regions cleared, the camera reset and
// taken from the checkpoint, the level actors removed.
void setupLevelAfterLostLife();
// The play view's layers, effects and actors in their order (layers 0,
// fields 2, 9, the sky, 10, 13, the hero, 11, fields 3, 12).
void paintPlayField();

}  // namespace game::world

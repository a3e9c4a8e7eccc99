// Simple definitions of routines that later parts of the game code own
// (see routines.h and game/flow/screens.h): each stays here only until its
// real definition is added to the library, and is then deleted from this
// file.
#include "game/data/routines.h"

#include "game/data/statics.h"
#include "game/flow/screens.h"

namespace game {

void paintScreen(ObjectArray*) {}

}  // namespace game

// Stand-ins for the platform family's hero drivers still to come (they do
// nothing). Each goes when its routine lands.
#include "game/behaviour/routines.h"

namespace game::behaviour {

void driveHeroType61(cActor*) {}
void driveHeroType75(cActor*) {}
void launchHeroType64(cActor*) {}

}  // namespace game::behaviour

// Stand-ins for the enemy family's routines still to come (they do
// nothing). Each goes when its routine lands.
#include "game/behaviour/routines.h"

namespace game::behaviour {

void updateEnemy(cActor*) {}
void updateType6(cActor*) {}

}  // namespace game::behaviour

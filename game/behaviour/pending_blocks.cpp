// Stand-ins for block-family routines still to come: nothing tracked,
// carried or stamped. Each goes when its routine lands.
#include "game/behaviour/routines.h"

namespace game::behaviour {

jint addTrackedValue(jint) { return -1; }
void restoreTrackedCells(cActor*) {}
void saveTrackedCells(cActor*) {}
void stampCollisionTiles(cActor*, jint) {}
bool tryCarryHero(cActor*) { return false; }

}  // namespace game::behaviour

// Stand-ins for routines of other families that the platform routines call
// and that have not landed on this branch: the pickup test and the heavy
// item's hold. Each goes when its routine lands.
#include "game/behaviour/blocks.h"

namespace game::behaviour {

void checkPickup(cActor*, jint) {}
void interactHeroType45(cActor*, cActor*) {}

}  // namespace game::behaviour

namespace game::behaviour {
namespace {
jint g_pickupX = -1, g_pickupY = -1;
}
jint& pickupOriginX() { return g_pickupX; }
jint& pickupOriginY() { return g_pickupY; }
}  // namespace game::behaviour

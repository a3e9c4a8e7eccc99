// Stand-ins for hazard-family routines still to come: no random launch, no
// segment objects. Each goes when its routine lands.
#include "game/behaviour/routines.h"

namespace game::behaviour {

void launchRandomly(cActor*) {}
IntArray* pointOnSegment(jint, jint, jint) { return nullptr; }
void updateSegmentObjects() {}

}  // namespace game::behaviour

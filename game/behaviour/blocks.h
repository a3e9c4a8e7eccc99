// (branch-local) declarations of the block family's routines the platform
// routines call; replaced by the block family's header at merge.
#pragma once
#include "runtime/jint.h"
using java::jint;
class cActor;
namespace game::behaviour {
void checkPickup(cActor* item, jint fromRoutine);
void interactHeroType45(cActor* self, cActor* hero);
jint& pickupOriginX();
jint& pickupOriginY();
}  // namespace game::behaviour

// Weak stand-ins for the boss moves the type-103 routine selects; the boss
// family's definitions replace them at link time. Until then the moves do
// nothing.
#include "game/behaviour/movers.h"

namespace game::behaviour {

__attribute__((weak)) void bossCharge(cActor*) {}
__attribute__((weak)) void bossChargeTarget(cActor*) {}
__attribute__((weak)) void bossSweep(cActor*) {}

}  // namespace game::behaviour

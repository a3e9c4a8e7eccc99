// The hazard family's rows: hazards, generators, traps, pads,
// projectiles, part fields, segment objects and the special painters.
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerHazardTypes() {
}

}  // namespace game::behaviour

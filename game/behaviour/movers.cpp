// The mover family's rows: small per-type routines and link movers.
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerMoverTypes() {
}

}  // namespace game::behaviour

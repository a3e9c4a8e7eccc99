// The block family's rows: tile blocks, pickups, carrying, pushers,
// the carrier with its dropper, chain and multi-copy paints.
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerBlockTypes() {
}

}  // namespace game::behaviour

// The platform family's rows: chains, hero carriers, containers,
// checkpoints and path platforms, carryable items, crushers and triggers.
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerPlatformTypes() {
}

}  // namespace game::behaviour

// The behaviours' start-up: the actor type table filled afresh.
#include "game/behaviour/behaviour.h"
#include "game/behaviour/types.h"

namespace game::behaviour {

void installBehaviours() { registerAllTypes(); }

}  // namespace game::behaviour

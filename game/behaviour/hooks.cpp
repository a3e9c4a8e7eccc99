// The behaviour library's start-up: the actor type table filled afresh and
// the world's and the hero's seams answered by the behaviours.
#include "game/behaviour/behaviour.h"
#include "game/behaviour/types.h"

namespace game::behaviour {

void installBehaviours() {
    registerAllTypes();
    installBehaviourSeams();
}

void uninstallBehaviours() { uninstallBehaviourSeams(); }

}  // namespace game::behaviour

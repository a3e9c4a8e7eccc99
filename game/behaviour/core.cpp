// The core rows: the hero (type 0) runs its own update; type 11 is the
// falling piece of a break, back to its own type when its animation ends.
#include "game/behaviour/states.h"
#include "game/behaviour/types.h"
#include "game/world/hero/machine.h"

namespace game::behaviour {

void registerCoreTypes() {
    setUpdate(0, hero::updateHero);
    setUpdate(11, updateType11);
}

}  // namespace game::behaviour

// The core rows: the hero (type 0) runs its own update.
#include "game/behaviour/types.h"
#include "game/world/hero/machine.h"

namespace game::behaviour {

void registerCoreTypes() {
    setUpdate(0, hero::updateHero);
}

}  // namespace game::behaviour

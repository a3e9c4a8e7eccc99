// The boss family's rows: the bosses, their companions and the mini-bosses.
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerBossTypes() {
}

}  // namespace game::behaviour

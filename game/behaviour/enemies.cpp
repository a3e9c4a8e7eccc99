// The enemy family's rows: the common enemy AI and the rule-driven enemy.
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerEnemyTypes() {
}

}  // namespace game::behaviour

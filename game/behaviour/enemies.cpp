// The enemy family's rows: the common enemy AI for its 27 types and the
// rule-driven enemy (type 6).
#include "game/behaviour/enemies.h"

#include "game/behaviour/routines.h"
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerEnemyTypes() {
    for (jint t : kCommonEnemyTypes) {
        setUpdate(t, updateEnemy);
        // Attack box (0-3) and the has-hit mark (4).
        setNeeds(t, {5, t == 14 ? 1 : 0, 0});
    }
    setUpdate(6, updateType6);
    // Link id (0) and the attack box (1-4).
    setNeeds(6, {5, 0, 0});
}

}  // namespace game::behaviour

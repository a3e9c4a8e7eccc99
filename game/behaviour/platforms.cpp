// The platform family's rows: chains, hero carriers, containers,
// checkpoints and path platforms, carryable items, crushers and triggers.
#include "game/behaviour/platforms.h"
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerPlatformTypes() {
    setUpdate(2, updateType2);
    setUpdate(8, updateType8);
    setUpdate(10, updateType10);
    setUpdate(12, updateType12);
    setUpdate(39, updateType39);
    setUpdate(44, updateType44);
    setUpdate(45, updateType45);
    setUpdate(52, updateType52);
    setUpdate(53, updateType53);
    setUpdate(55, updateType55);
    setUpdate(58, updateType58);
    // What the routines read without asking: params entries by type. Types
    // 8 and 39 make their own parts array (8 keeps its first animation in
    // parts[0], 39 the hero's scale) and read it through a checked look-up.
    setNeeds(2, {3, 0, 0});
    setNeeds(8, {5, 0, 0});
    // Type 10 reads params[2..5] only through getParamOr (0 when absent), so
    // its records keep their own length: no needs row.
    setNeeds(39, {2, 0, 0});
    setNeeds(44, {5, 0, 0});
    setNeeds(45, {7, 0, 0});
    setNeeds(52, {3, 0, 0});
    setNeeds(53, {1, 0, 0});
    setNeeds(55, {1, 0, 0});
    setNeeds(58, {1, 0, 0});
}

}  // namespace game::behaviour

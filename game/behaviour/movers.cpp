// The mover family's rows: the small type behaviours and the small
// per-type routines, with what each reads unconditionally.
#include "game/behaviour/movers.h"

#include "game/behaviour/types.h"

namespace game::behaviour {

void registerMoverTypes() {
    setUpdate(9, updateType9);
    setUpdate(41, updateType41);
    setUpdate(50, updateType50);
    setNeeds(50, {10, 0, 0});
    setUpdate(65, updateType65);
    setUpdate(72, updateType72);
    setNeeds(72, {1, 0, 0});
    setUpdate(76, updateType76);
    setNeeds(76, {5, 0, 0});
    setUpdate(79, updateType79);
    setNeeds(79, {1, 0, 0});
    setUpdate(87, updateType87);
    setUpdate(89, updateType89);
    setNeeds(89, {4, 0, 0});
    setUpdate(99, updateType99);
    setUpdate(101, updateType101);
    setNeeds(101, {5, 0, 0});
    setUpdate(103, updateType103);
    setNeeds(103, {0, 2, 0});
}

}  // namespace game::behaviour

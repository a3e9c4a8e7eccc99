// The boss family's rows: the bosses, their companions and the mini-bosses.
#include "game/behaviour/bosses.h"
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerBossTypes() {
    // parts: hit points at [2], phase and phase count at [9]/[10] (97),
    // anchors from [11] with attacks at [26]/[27] (24, 33, 56), waypoints
    // from [13] and the attack pattern at [28]..[30] (21).
    setUpdate(97, updateType97);
    setNeeds(97, {6, 11, 1});
    setUpdate(94, updateType94);
    setNeeds(94, {6, 3, 2});
    setUpdate(111, updateType111);
    setUpdate(102, updateType102);
    setNeeds(102, {7, 3, 0});
    setUpdate(92, updateType92);
    setNeeds(92, {7, 3, 0});
    setUpdate(24, updateType24);
    setNeeds(24, {7, 28, 0});
    setUpdate(33, updateType33);
    setNeeds(33, {7, 28, 0});
    setUpdate(56, updateType33);
    setNeeds(56, {7, 28, 0});
    setUpdate(21, updateType21);
    setNeeds(21, {6, 31, 0});
}

}  // namespace game::behaviour

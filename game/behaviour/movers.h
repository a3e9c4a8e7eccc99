// The mover family's per-type routines: the small type behaviours (79, 87,
// 89, 99, 103) and the small per-type routines (9, 41, 50, 65, 72, 76,
// 101), plus the boss moves the type-103 routine selects, which the boss
// family defines.
#pragma once

#include "runtime/jint.h"

class cActor;

namespace game::behaviour {

void updateType79(cActor* self);
void updateType87(cActor* self);
void updateType89(cActor* self);
void updateType99(cActor* self);
void updateType103(cActor* self);

void updateType9(cActor* self);
void updateType41(cActor* self);
void updateType50(cActor* self);
void updateType65(cActor* self);
void updateType72(cActor* self);
void updateType76(cActor* self);
void updateType101(cActor* self);

// The type-103 boss moves of states 20, 10 and 9 (bossCharge,
// bossChargeTarget, bossSweep) are declared in bosses.h.

}  // namespace game::behaviour

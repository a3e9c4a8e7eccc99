// The platform family: the swinging chain (52), the push zone (53) and the
// hero drivers of the bar, ramp and second rider (61, 64, 75), containers
// and flying items (44, 58), the checkpoint marker (12) and the path
// platforms (8), carryable, throwable and scale items (2, 39, 45),
// crushers (55) and trigger zones (10).
//
// Invariants: data that a routine would divide by or count with (the chain's
// link count, a frame count of 0) is checked before use; a trigger whose
// script index names no script never fires; an item removes itself only
// through the pool.
#pragma once

#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

void updateType52(cActor* self);
void updateType53(cActor* self);
void updateType44(cActor* self);
void updateType58(cActor* self);
void updateType12(cActor* self);
void updateType8(cActor* self);
void updateType2(cActor* self);
void updateType39(cActor* self);
void updateType45(cActor* self);
void updateType55(cActor* self);
void updateType10(cActor* self);

// Starts the character slots' scale change (type 39; hero state 19).
void summonSlotActors(cActor* self);
// When self's box meets the hero's: hazardContact.
void touchHazard(cActor* self);

// The largest link count a chain may have (parts of 3n + 2 ints).
constexpr jint kMaxChainLinks = 64;

}  // namespace game::behaviour

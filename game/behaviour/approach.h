// Approach and contact routines of the bosses, hazards and carriers: steering
// toward parts targets, arrival, leaving the camera limits, hazard and type-8
// contact, the type-11 fall. Steering divisors from data are checked (a
// zero divisor does nothing).
#pragma once

#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// One axis toward target (velocity index 2/3, position index 4/5); true on arrival.
bool approachAxis(cActor* self, jint target, jint velocityIndex, jint positionIndex);
void approachSteerY(cActor* self);
void approachSteerX(cActor* self);
// Non-zero when arrived (and turned toward the hero).
jint arriveAndFaceHero(cActor* self);
// 1 when the actor was removed, else 0.
jint leaveCameraLimits(cActor* self);
void hazardContact(cActor* self);
void contactType8(cActor* self, cActor* other);
// Falls as a type-11 piece (through the child effect).
void fallAsType11(cActor* self);

}  // namespace game::behaviour

// The actor fields and shared statics the hazard family reads, by the
// names its routines use, over the framework's storage; plus the family's
// own statics (the ambient sparks, the fly-by clock).
//
// Invariant: every accessor answers a reference into live storage (never
// a copy), so routines read and write through the same names.
#pragma once

#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::behaviour::hf {

inline jint& x(cActor* a) { return a->posX; }
inline jint& y(cActor* a) { return a->posY; }
inline jint& timer(cActor* a) { return a->stateTimer; }
inline jint& nextState(cActor* a) { return a->nextAiState; }
inline jint& physicsFlags(cActor* a) { return a->stateFlags; }
inline jint& contactFlags(cActor* a) { return a->hitFlags; }
inline jint& animTicks(cActor* a) { return a->animTick; }
jint& counter(cActor* a);
jint& originX(cActor* a);
jint& originY(cActor* a);
jint& spanRight(cActor* a);
jint& cycleCount(cActor* a);
jint& cycleCountB(cActor* a);
ObjectArray* linked(cActor* a);
void setLinked(cActor* a, ObjectArray* v);

// Statics shared with other subsystems.
jint frameTick();
jint& quakeFrames();
jint quakeOffset();
jint& boostFrames();
jint runSpeedFactor();
jint worldFlags();
bool ambientAnimOn();
void setAmbientAnimOn(bool on);

// The family's own statics.
// The five shared sparks (cActor.sparkTimers, sparkParts, sparkAngles).
jint* sparkTimers();
jint* sparkParts();
jint* sparkAngles();
jint& flyByFrames();
// Forgets them (a new application).
void resetHazardStatics();

}  // namespace game::behaviour::hf

// Hero contact classification and pending hits: how the hero met an actor
// becomes one bit of the actor's contact word (0x2000 invulnerable by stat,
// 0x8 from above, 0x10 from below, 0x4 side); the actor's own routine
// consumes the hit bits through applyPendingHits, one case per call.
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// ORs exactly one of 0x2000, 0x8, 0x10, 0x4 into self's contact flags.
void classifyHeroContact(cActor* self);
// The same over the two part bounds the last partsIntersect left.
void classifyPartsContact(cActor* self);
// Consumes pending hit bits (push: knock the hero back); 0, 1, 2 or 3.
jint applyPendingHits(cActor* self, bool push);
// The hero's invulnerability count is 1 or more, or stat 6 is set.
bool isHeroInvulnerable();
// Game variable 6 is non-zero.
bool isInvulnerabilityStatSet();
// Touch by a type-2 actor: 0x2000 on type 6 (148/93 take other's facing), else 0x10000; 1.
jint markTouchedByType2(cActor* self, cActor* other);
// True while the hero attacks: states 5, 12, 15, 16, or 38 playing animation 25.
bool isHeroHittable();
// The contact kind of the types that answer contact themselves (8, 18, 41,
// 46, 50, 88) as the world's collision sweep asks it; -1 for the world's
// plain rule.
jint contactKindOf(cActor* mover, cActor* other, ShortArray* newBox);
// The hero touching a plain solid actor: a target subtype is hit by the
// hero, any other is classified by its type.
void classifyHeroTouch(cActor* other);

}  // namespace game::behaviour

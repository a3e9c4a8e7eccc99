// Breaking, respawn, the passive-type switches, the small state entries of
// the per-type routines and the phase entries of multi-part enemies. A break
// plays its animation as type 11 and returns to the type kept in respawn
// entry 4; a respawn record whose entry 1 is -1 only shows the actor again.
#pragma once

#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// --- breaking and respawn ---------------------------------------------------
// Breaks a breakable actor by its subtype (13, 14, 32, 33, 112, 144).
void breakActor(cActor* self);
// Type 11: when the break animation is done, hidden and back to its type.
void updateType11(cActor* self);
// Shows the actor again at its respawn record (subtype 7 rides again).
void respawn(cActor* self);
// Clears flags 0x80 and 0x20 and releases the child.
void hide(cActor* self);
// Hidden with no respawn place; the countdown (respawn entry 0) = n.
void hideForRespawn(cActor* self, jint n);
// Flag 0x20000, animation anim (frame reset), type 3, physics flags 0.
void switchToType3(cActor* self, jint anim);
// As switchToType3 but type 11 (a falling piece).
void switchToType11(cActor* self, jint anim);
// Script command 106: AI state 2, stopped; a carried actor is removed.
void despawnActor(cActor* self);
// Removes the actor from the level pool once its animation is done.
void removeWhenAnimDone(cActor* self);
// Script freeze: world flag 32, current script restarted, stopped, AI state 30.
void freezeForScript(cActor* self);
// startScriptFromParam(self, i) while scripts are enabled, else 0.
jint startScriptIfEnabled(cActor* self, jint i);

// --- state entries of the per-type routines -----------------------------------
void enterState43(cActor* self);
void enterState2Anim8(cActor* self);
void enterState42(cActor* self);
// Queues v for the type-2 routine (stored only below the queue's length).
void queueType2Value(cActor* self, jint v);
void enterState24(cActor* self, jint a, jint b, jint c, jint d, jint e);
// Bit (current animation) of game variable 1; false from animation 32 on.
bool isAnimBitInHeroStat1(cActor* self);

// --- phase entries of multi-part enemies (animation base parts[9]) --------------
void enterPhase45(cActor* self);
void enterPhase47(cActor* self);
void enterPhase47Then49(cActor* self);
void enterPhase47Then50(cActor* self);
void enterPhase51(cActor* self, jint flag);
void enterPhase52(cActor* self, jint k, jint next);
void enterGrabPhase(cActor* self, cActor* other, jint flag);
// Type-92 code 9: step counter down; past 0 with counterLimit < 0 an event.
void type92Code9(cActor* self);
// Pending hit defeats the actor (type 3 with animation 7); false without one.
bool tryDefeatByHit(cActor* self);
// Type 97 takes the hero's hits (fresh: counter 2, else counter - 1).
void takeHitType97(cActor* self, bool fresh);
// Animation parts[9] + k (frame state reset when it changes).
void setAnimOffset(cActor* self, jint k);
// The phase animation offset of the AI state, or -1.
jint getAnimForState(cActor* self);
// By parts[9]: the next phase entry; parts[10] grows by one.
void updatePartsCycle(cActor* self);

}  // namespace game::behaviour

// The behaviour routines the rest of the game calls by name (the actor
// framework, the world, the hero's states, the flow). The convention for all behaviour code: the converted instance method
// cActor.foo(args) is game::behaviour::foo(cActor* self, args); statics
// drop the self argument.
//
// Owners: set-up, damage, contact, messages, death, respawn and phase
// entries are core routines; tracked cells and carrying belong to the
// block family; random launch and segments to the hazard family; the
// common enemy AI and the rule-driven enemy to the enemy family; the hero
// drivers to the platform family.
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

class cActor;

namespace game::behaviour {

// --- core ---------------------------------------------------------------
void initFromLevelData(cActor* self, ShortArray* table, jint length, jint offset);
jint applyPendingHits(cActor* self, bool push);
void classifyHeroContact(cActor* self);
void knockbackWeak(cActor* hero, jint direction);
void kill(cActor* self);
// The next AI state, or 63 when the caller has nothing to do.
jint onMessage(cActor* self, jint eventBits, jint test, jint argument);
void respawn(cActor* self);
void freezeForScript(cActor* self);
void enterPhase47(cActor* self);
void enterPhase51(cActor* self, jint flag);

// --- blocks and items -----------------------------------------------------
jint addTrackedValue(jint value);
void restoreTrackedCells(cActor* self);
void saveTrackedCells(cActor* self);
void stampCollisionTiles(cActor* self, jint on);
bool tryCarryHero(cActor* carrier);

// --- hazards: random launch and segment objects ----------------------------
void launchRandomly(cActor* self);
IntArray* pointOnSegment(jint slot, jint x, jint y);
void updateSegmentObjects();

// --- enemies ----------------------------------------------------------------
void updateEnemy(cActor* self);
void updateType6(cActor* self);

// --- platforms: vehicles and launchers that drive the hero ------------------
void driveHeroType61(cActor* self);
void driveHeroType75(cActor* self);
void launchHeroType64(cActor* self);

}  // namespace game::behaviour

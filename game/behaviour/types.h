// The actor type table: for each actor type 0-111 its per-frame routine,
// its own painter (when it has one) and what its routine reads without
// checking (the lengths of params, parts and linked that set-up
// guarantees). A type of 112 or more, or one without a row, runs only the
// framework's common tail and the common sprite paint.
//
// Every family of behaviours fills its rows from its own register
// function; registerAllTypes() clears the table and calls each of them, so
// the table is the same whatever ran before. Rows are written only there
// (the program fills the table at start, installBehaviours).
#pragma once

#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

using UpdateFn = void (*)(cActor* self);
using PaintFn = void (*)(cActor* self, jint dx, jint dy);

// Minimum array lengths a type's routines index unconditionally. Set-up
// pads shorter arrays with zeros (logged once per subtype).
struct TypeNeeds {
    jint params = 0;
    jint parts = 0;
    jint linked = 0;
};

constexpr jint kTypeCount = 112;

void setUpdate(jint type, UpdateFn fn);
void setPaint(jint type, PaintFn fn);
void setNeeds(jint type, TypeNeeds needs);

// nullptr / zero needs for a type without a row or outside 0-111.
UpdateFn updateFor(jint type);
PaintFn paintFor(jint type);
TypeNeeds needsFor(jint type);

// One logic frame of an actor of that type, and the type's own painter;
// false when the type has no such routine.
bool updateType(jint type, cActor* self);
bool paintType(jint type, cActor* self, jint dx, jint dy);

// One per family, each in the file named.
void registerCoreTypes();      // core.cpp: the hero (type 0)
void registerBlockTypes();     // blocks.cpp: tile blocks, pickups, carrying, pushers, the carrier, chain paints
void registerMoverTypes();     // movers.cpp: small per-type routines and link movers
void registerEnemyTypes();     // enemies.cpp: the common enemy AI and the rule-driven enemy
void registerBossTypes();      // bosses.cpp: bosses and mini-bosses
void registerHazardTypes();    // hazards.cpp: hazards, generators, traps, projectiles, part fields, segments, painters
void registerPlatformTypes();  // platforms.cpp: chains, carriers, containers, platforms, items, crushers

void registerAllTypes();

}  // namespace game::behaviour

// The hazard family's routines: timed hazards, projectiles, traps, pads,
// fly-bys, generators and turrets, the stretching curve mover, the
// auto-run chaser, the ambient part field, segment objects and the special
// painters of types 28, 61/75, 76 and 78. hazards.cpp registers them.
//
// Invariants: a record whose numbers would divide by zero, loop or size an
// array absurdly is refused when its actor is first updated (one log line,
// the actor then stays inert in kRefusedState); every other routine acts
// on what set-up guaranteed (the needs rows registered with the type).
#pragma once

#include "game/behaviour/routines.h"
#include "runtime/array.h"
#include "runtime/jint.h"

class cActor;

namespace game::behaviour {

// AI state of an actor whose record was refused: its routine does nothing.
constexpr jint kRefusedState = 0x7F;
// cGame.orbitFactor.
constexpr jint kOrbitFactor = -47360;
// Largest ball count, bar length and row / rectangle size accepted.
constexpr jint kMaxPieces = 64;

// Logs "<type> <subtype> refused: <why>" and makes the actor inert.
void refuseHazard(cActor* self, const char* why);
bool isRefused(const cActor* self);
// One log line per actor and reason kind (segment owners that lack links).
void logSegmentOnce(cActor* self, const char* why);

// The projection's scale along a segment: cActor.segmentScale, which the
// statics set-up leaves at 0, taken as the framework's speed constant
// (287232: 1122 degrees of structure turn over a segment) until set.
jint segmentProjectionScale();

// The hooks' routines of this family (launchRandomly, pointOnSegment,
// updateSegmentObjects) are declared in routines.h. pointOnSegment answers
// in projectOntoSegment's scratch array (no allocation a frame): a caller
// reads the point before it asks again, as a second call overwrites it.

// --- segments ----------------------------------------------------------------
// {along, dx, dy} in a scratch array that the next call overwrites.
IntArray* projectOntoSegment(IntArray* record, jint px, jint py);
IntArray* findSegmentSlot(jint id);
void updateType43(cActor* self);

// --- ambient part field ---------------------------------------------------------
void updateType28(cActor* self);
void paintType28(cActor* self, jint dx, jint dy);

// --- timed hazards and projectiles --------------------------------------------
void updateType31(cActor* self);
void updateType32(cActor* self);
void updateType40(cActor* self);
void updateType57(cActor* self);
void updateType38(cActor* self);
void updateType46(cActor* self);
void updateType47(cActor* self);
void updateType49(cActor* self);
// The balls of a rotating chain: n balls spaced 360 / (n + empty) degrees
// from angle, radius r; ball i into parts[2i], parts[2i + 1].
void computeChainBalls(IntArray* parts, jint angle, jint r, jint n, jint empty);
// The bouncing ball's reversal: 0 none, 1 x, 2 y (ox, oy = overshoot).
jint bounceAxis(jint ox, jint oy);

// --- traps, pads, fly-bys ---------------------------------------------------------
void updateType27(cActor* self);
void updateType66(cActor* self);
void updateType71(cActor* self);
void updateType63(cActor* self);
void updateType91(cActor* self);

// --- generators and turrets --------------------------------------------------------
void updateType37(cActor* self);
void updateType48(cActor* self);
void updateType77(cActor* self);
void updateType81(cActor* self);
void updateType83(cActor* self);
// The type-94 boss's companion, template 271 at the right camera limit,
// stored as the caller's linked[0]; null when nothing could be made.
cActor* spawnCompanionRight(cActor* self);

// --- curve mover and chaser ---------------------------------------------------------
void updateType78(cActor* self);
void updateType109(cActor* self);
// The chaser's vertical answer to a wall at (column, row): +1 down, -1 up,
// 0 no free row (or blocked on that side).
jint chaserClimbDirection(jint column, jint row, bool blockedAbove, bool blockedBelow);

// --- painters --------------------------------------------------------------------------
void paintType61(cActor* self, jint dx, jint dy);
void paintType76(cActor* self, jint dx, jint dy);
void paintType78(cActor* self, jint dx, jint dy);

}  // namespace game::behaviour

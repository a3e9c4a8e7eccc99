// The boss family's routines: the bosses of types 97, 94 (with its
// companion 111), 102 and 92, the mini-bosses 24, 33/56 and 21, and the
// moves of the second pattern boss (type 103's states 20, 10 and 9), which
// the movers' type-103 routine calls.
#pragma once

#include "runtime/jint.h"
#include "runtime/statics.h"

class cActor;

namespace game::behaviour {

using java::jint;

// --- type 103's moves (called by its routine; each ends in AI state 6) ---
void bossCharge(cActor* self);
void bossChargeTarget(cActor* self);
void bossSweep(cActor* self);

// --- type 97 ---
void updateType97(cActor* self);
void placeBodyBox(cActor* self);

// --- types 94 and 111 ---
void updateType94(cActor* self);
void updateType111(cActor* self);
// The companion itself is made by spawnCompanionRight (hazards.h).

// --- type 102 and its moves ---
void updateType102(cActor* self);
void dropToGroundType102(cActor* self);
void startBossFight(cActor* self);
void bossTakeHit(cActor* self, jint code);
void bossJump(cActor* self, jint vx, jint vy, jint c, jint gravity);
void bossMoveCode12(cActor* self);
void bossMoveCode10(cActor* self);
void bossMoveCode21(cActor* self);
void bossFinishCode42(cActor* self);
void bossWaitCode14(cActor* self);
void bossMoveCode3(cActor* self);
void bossMoveCode16(cActor* self);
void bossMoveToSide(cActor* self);
void bossSummon(cActor* self, jint templ, jint a, jint b, jint c, jint d);
void bossThrow(cActor* self);
// Velocity (vx, vy), acceleration (ax, ay), limits +-100000 on both axes,
// target (tx, ty) px into parts[0]/[1] in 1/256 px.
void setPartsMotionBoss(cActor* self, jint vx, jint vy, jint ax, jint ay, jint tx, jint ty);

// --- type 92 ---
void updateType92(cActor* self);
void type92Contact(cActor* self);
void dropToGroundType92(cActor* self);
void bossRush(cActor* self);
void bossDropPair(cActor* self);
void spawnPair(cActor* self, jint x1, jint x2);

// --- mini-bosses ---
void updateType24(cActor* self);
void updateType33(cActor* self);  // types 33 and 56
void updateType21(cActor* self);
// Target = the packed waypoint (x << 16) + y; speeds cover the distance in
// |dx| / 7 + 1 steps (below 256 in magnitude: 0); faces the waypoint.
void moveToWaypoint(cActor* self, jint packed);

}  // namespace game::behaviour

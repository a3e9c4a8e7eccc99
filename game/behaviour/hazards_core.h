// What the hazard family uses of the shared behaviour routines (damage,
// state operations, link-path movers) and small helpers of its own over
// the actor framework: hero box tests, run-time spawn records, the frame
// rectangle box.
#pragma once

#include "game/actor/actor.h"

namespace game::behaviour::hz {

// --- shared behaviour routines -------------------------------------------------
jint knockbackHero(cActor* hero, cActor* enemy, jint amount, jint force);
jint hurtHero(cActor* hero, jint pushY, jint amount, bool force);
bool isHeroInvulnerable();
// Sound 29 and damage with invulnerable frames, unless invulnerable.
void damageHeroBy(jint amount, jint frames);
void switchToType3(cActor* self, jint anim);
void hideForRespawn(cActor* self, jint frames);
bool tryDefeatByHit(cActor* self);
void startLinkLeg(cActor* self);
void moveToLinkRow(cActor* self, jint row, jint speed);
// Null when the points or the step count cannot make a path.
IntArray* buildCurvePath(jint x0, jint y0, jint x1, jint y1, jint x2, jint y2, jint steps);
bool isLinkPointAhead(cActor* self, jint row);

// --- helpers ------------------------------------------------------------------
cActor* hero();
// The body box (or attack box) meets the hero's body box.
bool heroMeetsBox(cActor* self);
bool heroMeetsAttackBox(cActor* self);
// A run-time actor from a record {template, new id, x, y, 0, anim, flags,
// extra...} of length shorts, marked spawned (0x80000) and made active;
// null when nothing could be made.
cActor* spawnRecordActor(jint templateId, jint x, jint y, jint anim, jint flags, jint length,
                         const jint* extra = nullptr, jint extraCount = 0);
// Body box = the current animation frame's rectangle at the position.
void boxFromFrameRect(cActor* self);
// Total ticks of an animation of the actor's sprite (0 without one).
jint animDuration(cActor* self, jint anim);
// The game's variable i (0 outside the table).
jint gameVariable(jint i);
// Ms to steps (16 a second, rounded).
constexpr jint msToSteps(jint ms) { return (ms * 16 + 500) / 1000; }

}  // namespace game::behaviour::hz

// Shared helpers of the boss family's files (not for other families): the
// pattern tables read with their bounds, the spawned actors the bosses
// watch, the small motion and box helpers every boss routine uses.
//
// Invariants: a pattern index outside its table reads as "no code" (-1);
// a watched actor that was never made counts as having finished (its AI
// state reads as 1) so no wait stalls on a failed spawn.
#pragma once

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/hero.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "runtime/jint.h"
#include "game/behaviour/routines.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/linkpath.h"
#include "game/behaviour/states.h"
#include "game/actor/levels.h"

namespace game::behaviour::bossutil {

using java::jint;
using namespace game::behaviour;

// linked[i], null when the array or the entry is missing.
cActor* linkedAt(cActor* a, jint i);
void setLinkedAt(cActor* a, jint i, cActor* v);

inline jint& lookMode() { return cg().lookMode; }
inline jint& quakeFrames() { return cg().shakeTimer; }
inline cActor*& targetActor() { return cg().targetActor; }
inline jint& bossCounter() { return cg().bossCounter; }
// The number of boss bit masks (17), which bounds the counting waits.
jint bossMaskCount();

// Code of the type-102/103 pattern at i, -1 past either end.
jint mordleCode(jint i);
// Code of the type-92 pattern at i, -1 past either end.
jint magicianCode(jint i);
jint mordleLength();
jint magicianLength();

inline cActor* hero() { return cg().hero; }

inline jint vx(cActor* a) { return a->motion ? a->motion->data()[2] : 0; }
inline jint vy(cActor* a) { return a->motion ? a->motion->data()[3] : 0; }
inline void setMotionAt(cActor* a, jint i, jint v) {
    if (!a->motion) a->allocMotionState();
    a->motion->data()[i] = v;
}
inline void setVx(cActor* a, jint v) { setMotionAt(a, 2, v); }
inline void setVy(cActor* a, jint v) { setMotionAt(a, 3, v); }
inline void setAx(cActor* a, jint v) { setMotionAt(a, 0, v); }
inline void setAy(cActor* a, jint v) { setMotionAt(a, 1, v); }
inline void limitsX(cActor* a, jint lo, jint hi) {
    if (!a->motion) a->allocMotionState();
    a->setVelocityLimitsX(lo, hi);
}
inline void limitsY(cActor* a, jint lo, jint hi) {
    if (!a->motion) a->allocMotionState();
    a->setVelocityLimitsY(lo, hi);
}

inline jint param(cActor* a, jint i) { return a->getParamOr(i); }
inline jint part(cActor* a, jint i) {
    return a->parts && i >= 0 && i < a->parts->length() ? a->parts->data()[i] : 0;
}
inline void setPart(cActor* a, jint i, jint v) {
    if (a->parts && i >= 0 && i < a->parts->length()) a->parts->data()[i] = v;
}

inline jint limit(jint i) { return world::cameraLimit(i); }  // 0 left, 1 top, 2 right, 3 bottom

// Boxes overlap (edges included); false when either is missing.
inline bool boxesMeet(ShortArray* a, ShortArray* b) { return a && b && cActor::rectsIntersect(a, b); }
inline bool bodyMeetsHero(cActor* a) { return hero() && boxesMeet(a->box, hero()->box); }
// The hero's attack box (when it has one) meets the actor's body box.
inline bool heroAttackMeets(cActor* a) { return hero() && boxesMeet(hero()->attackBox, a->box); }

// An actor's AI state, or 1 ("done") when there is none.
inline jint stateOrDone(cActor* a) { return a ? a->aiState : 1; }

// Starts the level script named by an id, unless one is already running or
// the id names none. Answers whether a script was started.
bool startDefeatScript(jint scriptId);

// The level actor pool still holds this actor (it may have been removed and
// its slot reused); watched statics forget actors that left.
bool isLive(cActor* a);

}  // namespace game::behaviour::bossutil

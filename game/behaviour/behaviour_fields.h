// Static fields that the behaviour routines name. They belong to two
// classes and so to two blocks: BEHAVIOUR_ACTOR_FIELDS are cActor's
// (game::ca(), game/actor/actor.h), BEHAVIOUR_GAME_FIELDS are cGame's
// (game::cg(), game/data/statics.h). All start at zero except the scratch
// boxes and small tables that cActor's initialiser makes and the scripts'
// switch that cGame's sets to 1.
#pragma once

#include "game/data/fields.h"
#include "runtime/array.h"

class cActor;

#define BEHAVIOUR_ACTOR_FIELDS(X)                                                    \
    /* bosses */                                                                     \
    X(jint, bossFloorY)  X(jboolean, bossGoesRightB)                                 \
    X(jboolean, bossSide)  X(jint, bossStep)  X(jint, bossGroundY)  X(jint, bossGuarded) \
    X(jint, arenaFloorY)  X(jboolean, bossShielded)                                  \
    /* tile blocks and pickups */                                                    \
    X(jint, breakSoundDelay)  X(jint, lastRevealedItem)  X(ShortArray*, scratchBox)  \
    X(ShortArray*, scratchBox2)  X(jint, collectedMask)                              \
    /* throws of the type-24 family */                                               \
    X(jint, throwA)  X(jint, throwB)  X(jint, throwC)  X(jint, throwD)  X(IntArray*, throwPath) \
    /* hazards, fly-bys, sparks, spinners, segments */                               \
    X(jint, flyByFrames)  X(IntArray*, sparkTimers)  X(IntArray*, sparkParts)        \
    X(IntArray*, sparkAngles)  X(jint, spinDecay)  X(jint, spinStep)  X(jint, spinMax) \
    X(jint, segmentScale)  X(jint, scaleSecondsLeft)  X(IntArray*, projectionScratch)  \
    /* platforms and launchers */                                                    \
    X(IntArray*, rideOffsets)  X(IntArray*, launchLimits)                            \
    /* messages: script event bits */                                                \
    X(jint, eventBits)

// The boss fights' watched actors (collector roots), the intro frame
// counter and the level's drop chance of the type-21 throws; the scripts'
// switch (1 from start-up); the hero's alternate mode when it died.
#define BEHAVIOUR_GAME_FIELDS(X)                                                     \
    X(cActor*, arenaActor) X(cActor*, bossActor) X(cActor*, bossMinion) X(cActor*, bossMinionB) \
    X(cActor*, bossSpawnA) X(cActor*, bossSlotL) X(cActor*, bossSlotR) X(cActor*, bossCompanion) \
    X(jint, bossIntroTicks) X(jint, levelDropChance)                                 \
    X(jint, scriptsEnabled)  X(jbyte, savedHeroAltMode)

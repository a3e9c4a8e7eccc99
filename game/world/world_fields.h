// Static fields that the world code names (tile map, physics, camera, level
// records, scripts, painting). They belong to two classes and so to two
// blocks: WORLD_GAME_FIELDS are cGame's (game::cg(), game/data/statics.h),
// WORLD_ACTOR_FIELDS are cActor's (game::ca(), game/actor/actor.h). The
// shared camera, layer, script and record fields are in cGame's own lists.
// All start at zero.
#pragma once

#include "game/data/fields.h"
#include "runtime/array.h"

class cActor;

#define WORLD_GAME_FIELDS(X)               \
    /* tile map */                         \
    X(jbyte, tileMirrored)                 \
    /* camera */                           \
    X(jint, lookAheadX)                    \
    X(jint, lookAheadY)                    \
    X(jint, cameraDivX)                    \
    X(jint, cameraDivY)                    \
    /* level records */                    \
    X(jint, levelTally4)                   \
    X(jint, sectorFilterOff)               \
    X(jboolean, heroMissingLogged)         \
    /* scripts */                          \
    X(jbyte, scriptKeepsCamera)            \
    X(jbyte, checkpointAtSceneEnd)         \
    X(jint, scriptFlagA)                   \
    X(jint, scriptFlagB)                   \
    X(jint, levelVariant)                  \
    X(jint, markedActorId)                 \
    X(jint, scriptMusic)                   \
    X(jbyte, firstLevelMode)               \
    X(jbyte, heroFallKillOff)              \
    /* painting */                         \
    X(IntArray*, tileCacheRange)           \
    X(IntArray*, layerList)                \
    X(jint, panelActorTimer)               \
    X(jint, bossCounter)                   \
    X(jint, heroTimer)

#define WORLD_ACTOR_FIELDS(X)              \
    /* tile map */                         \
    X(cActor*, tileOwner)                  \
    /* physics */                          \
    X(ShortArray*, sweptBox)               \
    X(IntArray*, sweepStartBox)            \
    X(IntArray*, sweepEndBox)              \
    X(jint, standOnId)                     \
    X(jint, blockerSubtype)                \
    X(ShortArray*, worldBounds)            \
    X(jbyte, worldBoundsOn)                \
    X(jbyte, carriedMove)                  \
    X(jbyte, heroMireMode)                 \
    X(jbyte, checkpointKeepsY)             \
    /* camera */                           \
    X(jbyte, heroSkipScroll)

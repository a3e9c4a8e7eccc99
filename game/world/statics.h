// Static fields that only the world code names and that start at zero (the
// shared camera, layer, script, record and region fields are cGame's, in
// game/data/statics.h). One struct, one contribution; game::wd() reaches
// it. registerWorldStatics() adds it before Application::init.
#pragma once

#include "game/data/fields.h"
#include "runtime/array.h"
#include "runtime/statics.h"

class cActor;

namespace game {

#define WORLD_FIELDS(X)                    \
    /* tile map */                         \
    X(jbyte, tileMirrored)                 \
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
    X(jint, lookAheadX)                    \
    X(jint, counterLimit)                  \
    X(jbyte, heroSkipScroll)               \
    X(jint, lookAheadY)                    \
    X(jint, cameraDivX)                    \
    X(jint, cameraDivY)                    \
    /* level records */                    \
    X(Long64Array*, recordRegionMasks)     \
    X(jint, collectibleTotal)              \
    X(jint, type19Total)                   \
    X(jint, type6Total)                    \
    X(jint, levelTally4)                   \
    X(jint, sectorFilterOff)               \
    X(jboolean, heroMissingLogged)         \
    /* scripts */                          \
    X(jbyte, scriptKeepsCamera)            \
    X(jbyte, checkpointAtSceneEnd)         \
    X(jint, restartScriptIndex)            \
    X(jint, scriptFlagA)                   \
    X(jint, scriptFlagB)                   \
    X(jint, levelVariant)                  \
    X(jint, markedActorId)                 \
    X(jbyte, screenFlash)                  \
    X(jint, checkpointNoticeTicks)         \
    X(jint, scriptMusic)                   \
    X(jbyte, fireworksOn)                  \
    X(jint, fireworksPhase)                \
    X(jint, fireworksLeft)                 \
    X(jbyte, firstLevelMode)               \
    X(jbyte, heroFallKillOff)              \
    /* painting */                         \
    X(IntArray*, tileCacheRange)           \
    X(IntArray*, layerList)                \
    X(jint, panelActorTimer)               \
    X(jint, bossCounter)                   \
    X(jint, panelEvents)                   \
    X(jint, heroTimer)                     \
    /* the two boss arenas */              \
    X(jint, bossFloorY)                    \
    X(jint, arenaFloorY)                   \
    X(jbyte, bossGuarded)                  \
    X(cActor*, bossSlotL)                  \
    X(cActor*, bossSlotR)                  \
    X(cActor*, bossActor)

BRAMBLE_STATICS(WorldStatics, WORLD_FIELDS)

extern StaticsContribution g_WorldStatics;
inline WorldStatics& wd() { return *statics<WorldStatics>(g_WorldStatics); }

void registerWorldStatics();

}  // namespace game

// The sound front end's KTLibPlayer class statics (KTLibPlayerStatics,
// game::ktl()). The flow code's cGame fields are in cGame's one block
// (game/flow/flow_fields.h lists them, game::cg() reaches them).
#pragma once

#include "game/data/fields.h"
#include "game/data/statics.h"
#include "runtime/array.h"

namespace game {

// KTLibPlayer: the sound front end's tables (sound.h).
#define KTLIB_FIELDS(X)                      \
    X(jint, channelCount)                    \
    X(jint, masterVolume)                    \
    X(jint, soundCount)                      \
    X(jboolean, soundEnabled)                \
    X(ObjectArray*, soundData)               \
    X(IntArray*, soundType)                  \
    X(ObjectArray*, soundPlayer)             \
    X(ObjectArray*, channelPlayer)           \
    X(IntArray*, channelSound)               \
    X(IntArray*, channelPriority)            \
    X(IntArray*, channelState)               \
    X(IntArray*, channelVolume)              \
    X(IntArray*, channelLoopCount)           \
    X(IntArray*, requestRing)                \
    X(IntArray*, requestHead)                \
    X(IntArray*, requestCount)               \
    X(IntArray*, currentRequest)             \
    X(jboolean, running)

BRAMBLE_STATICS(KTLibPlayerStatics, KTLIB_FIELDS)

extern StaticsContribution g_KTLibPlayerStatics;

inline KTLibPlayerStatics& ktl() { return *statics<KTLibPlayerStatics>(g_KTLibPlayerStatics); }

// Registered with the core library's own (registerGameStatics,
// appendGameStatics in game/data/statics.h).

}  // namespace game

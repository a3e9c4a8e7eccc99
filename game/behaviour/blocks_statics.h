// The block family's names for game state it shares with the rest of the
// game (cGame fields held by the core, the world and the flow code), and
// its own statics (BlocksStatics): the two pushers beside the hero, the
// pickup origin, the screen-wave start, the pickup event, log marks.
//
// Invariants: the pusher statics hold pool actors only (the pool never
// frees an actor); every reference here is a collector root.
#pragma once

#include "game/actor/actor.h"
#include "game/data/fields.h"
#include "game/data/statics.h"
#include "game/world/statics.h"
#include "runtime/array.h"
#include "runtime/statics.h"

namespace game::behaviour {

#define BLOCKS_FIELDS(X)                                             \
    X(cActor*, pusherLeftOfHero) X(cActor*, pusherRightOfHero)       \
    X(jint, pickupOriginX) X(jint, pickupOriginY)                    \
    X(jbyte, screenWaveOn) X(jint, screenWaveStart)                  \
    X(jint, pickupEvent) X(jint, breakSoundFrame) X(jint, badKindLogged)

BRAMBLE_STATICS(BlocksStatics, BLOCKS_FIELDS)

extern StaticsContribution g_blocksStatics;
inline BlocksStatics& blks() { return *statics<BlocksStatics>(g_blocksStatics); }
// Adds the contribution (idempotent); the contribution itself for an
// application configured with a list.
void registerBlocksStatics();
const StaticsContribution* blocksStaticsContribution();

// --- cGame state the block routines read and write ----------------------------
inline jint& pickupOriginX() { return blks().pickupOriginX; }
inline jint& pickupOriginY() { return blks().pickupOriginY; }
inline jbyte& screenWaveOn() { return blks().screenWaveOn; }
inline jint& screenWaveStart() { return blks().screenWaveStart; }
inline jint& pickupEvent() { return blks().pickupEvent; }
// The level-end fireworks: ticks left and phase (the world's fields).
inline jint& fireworksTicks() { return wd().fireworksLeft; }
inline jint& fireworksPhase() { return wd().fireworksPhase; }
// The game's event bits (life, health and counter events).
inline jint& gameEventBits() { return cg().eventMask; }
// The three pick-up paths.
inline ShortArray* carryPathA() { return cg().carryOffsetsA; }
inline ShortArray* carryPathB() { return cg().carryOffsetsB; }
inline ShortArray* carryPathC() { return cg().carryOffsetsC; }
// Drop paths (rows of (delay, x) pairs ending with -1) and the path index
// of each level.
inline ObjectArray* pathTable() { return cg().pathTables; }
inline ByteArray* levelDropPath() { return cg().dropFlags; }
// The current level number (1-based, as the save slots count it).
inline jint levelNumber() { return cg().difficulty; }
// The screen-quake offset of the view.
inline jint quakeOffset() { return cg().shakeOffset; }

// Puts the saved camera limits back (cGame.restoreCameraLimits).
void restoreCameraLimits();

}  // namespace game::behaviour

// The block family's names for game state it shares with the rest of the
// game (cGame fields held by the core, the world and the flow code), and
// its own statics (BlocksStatics): the two pushers beside the hero, the
// pickup origin, the screen-wave start, the pickup event, log marks.
//
// Invariants: the pusher statics hold pool actors of type 88 only (the
// pool never frees an actor; a reused one is checked by type).
#pragma once

#include "game/actor/actor.h"
#include "game/data/fields.h"
#include "game/data/statics.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/array.h"
#include "runtime/statics.h"

namespace game::behaviour {

// The family's own statics. They hold no reference the collector must
// keep alive (the pushers are pool actors, which are never freed) and are
// cleared whenever the type table is filled (each application start).
struct BlocksStatics {
    cActor* pusherLeftOfHero = nullptr;
    cActor* pusherRightOfHero = nullptr;
    jint pickupOriginX = 0, pickupOriginY = 0;
    jbyte screenWaveOn = 0;
    jint screenWaveStart = 0;
    jint pickupEvent = 0;
    jint breakSoundFrame = 0;
    jint badKindLogged = 0;
    bool trackedFullLogged = false;
};
BlocksStatics& blks();
void resetBlocksStatics();

// --- cGame state the block routines read and write ----------------------------
inline jint& pickupOriginX() { return blks().pickupOriginX; }
inline jint& pickupOriginY() { return blks().pickupOriginY; }
inline jbyte& screenWaveOn() { return blks().screenWaveOn; }
inline jint& screenWaveStart() { return blks().screenWaveStart; }
inline jint& pickupEvent() { return blks().pickupEvent; }
// The all-pieces show: the banner's ticks left (the banner paints the
// fireworks while it counts down) and the show's phase.
inline jint& fireworksTicks() { return cg().bannerTimer; }
inline jint& fireworksPhase() { return cg().fireworkPhase; }
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

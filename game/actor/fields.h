// cActor's instance fields by the one name each has, as accessors that
// every library of the game shares (the behaviours, the world, the hero's
// binding, the screens). Most are the field itself; a few give a typed view
// of an Object field (linked: Object[]; tileBlock: byte[]).
//
// Invariants: no two names share a slot unless they are the same thing;
// reference values stay in reference fields, so the collector sees them;
// cActor.aux112 (caught-hero mark of tryCatchHero) and cActor.auxFlag4
// (overlay sound latch of the painter) keep their framework uses and are
// not handed out here.
#pragma once

#include "game/actor/actor.h"
#include "runtime/array.h"
#include "runtime/jint.h"

namespace game::actorfields {

// --- position, box, motion (framework fields) --------------------------------
inline jint& x(cActor* a) { return a->posX; }
inline jint& y(cActor* a) { return a->posY; }
inline ShortArray*& box(cActor* a) { return a->box; }
inline ShortArray*& attackBox(cActor* a) { return a->attackBox; }
inline IntArray*& motion(cActor* a) { return a->motion; }
inline jint& scale(cActor* a) { return a->scale; }
inline jint& angle(cActor* a) { return a->angle; }
inline jint& layer(cActor* a) { return a->layer; }
inline jint& viewRating(cActor* a) { return a->viewRating; }
// cActor.savedBox: the actor's second short[4] box (its previous-box slot).
inline ShortArray*& savedBox(cActor* a) { return a->savedBox; }

// --- identity and level data ---------------------------------------------------
inline jint& type(cActor* a) { return a->type; }
inline jint& subtype(cActor* a) { return a->subtype; }
inline jint& uniqueId(cActor* a) { return a->uniqueId; }
inline jint& recordIndex(cActor* a) { return a->recordIndex; }
inline jint& flags(cActor* a) { return a->flags; }
inline jbyte& facing(cActor* a) { return a->facing; }
inline ShortArray*& params(cActor* a) { return a->params; }
inline IntArray*& parts(cActor* a) { return a->parts; }
inline jint& linkIndex(cActor* a) { return a->linkIndex; }
// cActor.linked: the Object[] of linked actors (the framework's auxRef).
inline Object*& linkedRef(cActor* a) { return a->linked; }
inline ObjectArray* linked(cActor* a) { return static_cast<ObjectArray*>(a->linked); }
inline void setLinked(cActor* a, ObjectArray* v) { a->linked = v; }
// cActor.tileBlock: a type-4 actor's cell bytes (byte[]).
inline Object*& tileBlockRef(cActor* a) { return a->tileBlock; }
inline ByteArray* tileBlock(cActor* a) { return static_cast<ByteArray*>(a->tileBlock); }
inline void setTileBlock(cActor* a, ByteArray* v) { a->tileBlock = v; }
// cActor.respawn (the field): int[7] respawn record ([0] countdown); the
// routine respawn(actor) is in states.h.
inline IntArray*& respawnRecord(cActor* a) { return a->respawnRecord; }
// cActor.stageReturns / stageFastThrows: the level actor's two int[3] tables.
inline IntArray*& stageReturns(cActor* a) { return a->stageReturns; }
inline IntArray*& stageFastThrows(cActor* a) { return a->stageFastThrows; }

// --- state, timers, contact ------------------------------------------------------
inline jint& aiState(cActor* a) { return a->aiState; }
inline jint& nextState(cActor* a) { return a->nextState; }
inline jint& timer(cActor* a) { return a->timer; }
// cActor.counter: also the path point that getPathPointX reads.
inline jint& counter(cActor* a) { return a->counter; }
inline jint& contactFlags(cActor* a) { return a->contactFlags; }
inline jint& physicsFlags(cActor* a) { return a->physicsFlags; }
// cActor.carried: the actor this one carries (its rider slot).
inline cActor*& carried(cActor* a) { return a->carried; }
// cActor.hitImmune: set from creation for subtype 86 (auxFlag3).
inline jboolean& hitImmune(cActor* a) { return a->hitImmune; }

// --- animation --------------------------------------------------------------------
inline jint& anim(cActor* a) { return a->anim; }
inline jint& nextAnim(cActor* a) { return a->nextAnim; }
// cActor.animTicks: ticks since the current pass started.
inline jint& animTicks(cActor* a) { return a->animTicks; }
inline BSprite*& sprite(cActor* a) { return a->sprite; }
// cActor.fade: the opacity handed to the sprite (255 opaque).
inline jint& fade(cActor* a) { return a->fade; }

// --- per-type working values (unnamed working fields) -----------------------------
// Type-2 throw start x; type-17 start point; type-76 zone (originX, spanRight,
// originY). originX is the framework's throw start x.
inline jint& originX(cActor* a) { return a->originX; }
inline jint& originY(cActor* a) { return a->originY; }
inline jint& spanRight(cActor* a) { return a->spanRight; }
// Type-94 boss stage 0-2.
inline jint& bossStage(cActor* a) { return a->bossStage; }
// Tile-block hits left; type-8 carrier base animation; type-9 resting animation.
inline jint& hitCount(cActor* a) { return a->hitCount; }
inline jint& animBase(cActor* a) { return a->animBase; }
inline jint& baseAnim(cActor* a) { return a->baseAnim; }
// Tile-block effect parameter (low byte of type parameter 4).
inline jint& effectParam(cActor* a) { return a->effectParam; }
// Pattern-boss move steps: step (types 102/103), stepB (type 92), stepTimer.
inline jint& step(cActor* a) { return a->step; }
inline jint& stepB(cActor* a) { return a->stepB; }
inline jint& stepTimer(cActor* a) { return a->stepTimer; }
// Firing cycles: type 81, type 83; type-89 attack cycle frames.
inline jint& cycleCount(cActor* a) { return a->cycleCount; }
inline jint& cycleCountB(cActor* a) { return a->cycleCountB; }
inline jint& cycleTicks(cActor* a) { return a->cycleTicks; }
// Types 85 and 86: frames lived in state 6.
inline jint& lifeTicks(cActor* a) { return a->lifeTicks; }
// Swinging chain (type 52): mode, pumping boost, side (byte).
inline jint& chainMode(cActor* a) { return a->chainMode; }
inline jint& swingBoost(cActor* a) { return a->swingBoost; }
inline jbyte& swingSide(cActor* a) { return a->swingSide; }
// Phase counter limit beside counter (type 73 set-up frames, multi-part
// phases, the type-24 family's fifth throw value, a strike target's 2).
inline jint& counterLimit(cActor* a) { return a->counterLimit; }
// Free for the families: aux116, aux280 (starts at 1), aux312, work232
// (starts at 1), work320 (byte), work328, work364, auxFlag, auxFlag2.

}  // namespace game::actorfields

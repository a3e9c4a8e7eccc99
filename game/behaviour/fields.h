// The behaviour routines' names for cActor's fields and statics. Each
// accessor maps one behaviour name onto its storage: a named field of the
// actor where the framework already holds the same thing, one of the
// actor's working fields (of matching width) otherwise, and for statics the
// block of the class they belong to (cActor's ca(), cGame's cg()).
//
// Invariants: no two names share a slot unless they are the same thing;
// reference values stay in reference fields, so the collector sees them;
// cActor.aux112 (caught-hero mark of tryCatchHero) and cActor.auxFlag4
// (overlay sound latch of the painter) keep their framework uses and are
// not handed out here.
#pragma once

#include "game/actor/actor.h"
#include "game/data/fields.h"
#include "game/data/statics.h"
#include "runtime/array.h"
#include "runtime/jint.h"

namespace game::behaviour {

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
inline ShortArray*& savedBox(cActor* a) { return a->prevBox; }

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
inline Object*& linkedRef(cActor* a) { return a->auxRef; }
inline ObjectArray* linked(cActor* a) { return static_cast<ObjectArray*>(a->auxRef); }
inline void setLinked(cActor* a, ObjectArray* v) { a->auxRef = v; }
// cActor.tileBlock: a type-4 actor's cell bytes (byte[]).
inline Object*& tileBlockRef(cActor* a) { return a->tileBlock; }
inline ByteArray* tileBlock(cActor* a) { return static_cast<ByteArray*>(a->tileBlock); }
inline void setTileBlock(cActor* a, ByteArray* v) { a->tileBlock = v; }
// cActor.respawn (the field): int[7] respawn record ([0] countdown); the
// routine respawn(actor) is in states.h.
inline IntArray*& respawnRecord(cActor* a) { return a->respawnRecord; }
// cActor.stageReturns / stageFastThrows: the level actor's two int[3] tables.
inline IntArray*& stageReturns(cActor* a) { return a->tuneA; }
inline IntArray*& stageFastThrows(cActor* a) { return a->tuneB; }

// --- state, timers, contact ------------------------------------------------------
inline jint& aiState(cActor* a) { return a->aiState; }
inline jint& nextState(cActor* a) { return a->nextAiState; }
inline jint& timer(cActor* a) { return a->stateTimer; }
// cActor.counter: also the path point that getPathPointX reads.
inline jint& counter(cActor* a) { return a->pathPoint; }
inline jint& contactFlags(cActor* a) { return a->hitFlags; }
inline jint& physicsFlags(cActor* a) { return a->stateFlags; }
// cActor.carried: the actor this one carries (its rider slot).
inline cActor*& carried(cActor* a) { return a->rider; }
// cActor.hitImmune: set from creation for subtype 86 (auxFlag3).
inline jboolean& hitImmune(cActor* a) { return a->auxFlag3; }

// --- animation --------------------------------------------------------------------
inline jint& anim(cActor* a) { return a->anim; }
inline jint& nextAnim(cActor* a) { return a->nextAnim; }
// cActor.animTicks: ticks since the current pass started.
inline jint& animTicks(cActor* a) { return a->animTick; }
inline BSprite*& sprite(cActor* a) { return a->sprite; }
// cActor.fade: the opacity handed to the sprite (255 opaque).
inline jint& fade(cActor* a) { return a->alpha; }

// --- per-type working values (unnamed working fields) -----------------------------
// Type-2 throw start x; type-17 start point; type-76 zone (originX, spanRight,
// originY). originX is the framework's throw start x.
inline jint& originX(cActor* a) { return a->throwStartX; }
inline jint& originY(cActor* a) { return a->work252; }
inline jint& spanRight(cActor* a) { return a->work272; }
// Type-94 boss stage 0-2.
inline jint& bossStage(cActor* a) { return a->work140; }
// Tile-block hits left; type-8 carrier base animation; type-9 resting animation.
inline jint& hitCount(cActor* a) { return a->work144; }
inline jint& animBase(cActor* a) { return a->aux164; }
inline jint& baseAnim(cActor* a) { return a->work236; }
// Tile-block effect parameter (low byte of type parameter 4).
inline jint& effectParam(cActor* a) { return a->work240; }
// Pattern-boss move steps: step (types 102/103), stepB (type 92), stepTimer.
inline jint& step(cActor* a) { return a->work276; }
inline jint& stepB(cActor* a) { return a->work284; }
inline jint& stepTimer(cActor* a) { return a->work288; }
// Firing cycles: type 81, type 83; type-89 attack cycle frames.
inline jint& cycleCount(cActor* a) { return a->work292; }
inline jint& cycleCountB(cActor* a) { return a->work308; }
inline jint& cycleTicks(cActor* a) { return a->work316; }
// Types 85 and 86: frames lived in state 6.
inline jint& lifeTicks(cActor* a) { return a->work324; }
// Swinging chain (type 52): mode, pumping boost, side (byte).
inline jint& chainMode(cActor* a) { return a->work332; }
inline jint& swingBoost(cActor* a) { return a->work336; }
inline jbyte& swingSide(cActor* a) { return a->work269; }
// Phase counter limit beside counter (type 73 set-up frames, multi-part
// phases, the type-24 family's fifth throw value, a strike target's 2).
inline jint& counterLimit(cActor* a) { return a->work244; }
// Free for the families: aux116, aux280 (starts at 1), aux312, work232
// (starts at 1), work320 (byte), work328, work364, auxFlag, auxFlag2.

// --- cActor statics held by the framework ------------------------------------------
inline jint& heroState() { return ca().heroState; }
inline jint& heroStateTicks() { return ca().heroStateTicks; }
inline IntArray*& heroStateVars() { return ca().heroVars; }
inline jint& heroInputLock() { return ca().heroLockMask; }
inline jint& actionAnim() { return ca().state23Anim; }
inline jint& actionNextState() { return ca().state23Param; }
inline jbyte& cruiseAfterLanding() { return ca().landingMode; }
inline jint& collisionResult() { return ca().collisionResult; }
inline cActor*& mountActor() { return ca().mountActor; }
inline jint& grabMode() { return ca().grabMode; }
inline cActor*& grabbedActor() { return ca().carriedActor; }
inline cActor*& partnerActor() { return ca().partnerActor; }
inline jint& partnerMode() { return ca().partnerMode; }
inline jint& orbitScale() { return ca().orbitScale; }
// The hit guard that clearHitFlags zeroes (the framework's hit latch).
inline jint& hitGuard() { return ca().hitLatch; }
// Boss event count: set to 1 by the framework's tryCatchHero (heroCaught).
inline jbyte& bossEventCount() { return ca().heroCaught; }
inline ShortArray*& trackedIds() { return ca().trackedIds; }
inline IntArray*& trackedCellMasks() { return ca().trackedValues; }
inline jint& trackedCount() { return ca().trackedCount; }
// The root-motion path: the framework's step-offset table.
inline ShortArray*& rootMotionPath() { return ca().stepTable; }
// Rule programs and state animations of the rule-driven enemy.
inline ObjectArray*& stateAnims() { return ca().aiStateAnims; }
inline ObjectArray*& rules27() { return ca().aiTable1; }
inline ObjectArray*& rules41() { return ca().aiTable2; }
inline ObjectArray*& rules55() { return ca().aiTable3; }
inline ObjectArray*& rules173() { return ca().aiTable4; }
inline ObjectArray*& rules86Immune() { return ca().aiTable5; }
inline ObjectArray*& rules86() { return ca().aiTable6; }
inline ObjectArray*& rules87() { return ca().aiTable7; }
inline ObjectArray*& rules97() { return ca().aiTable8; }
inline ObjectArray*& rules148() { return ca().aiTable9; }
inline ObjectArray*& rules64() { return ca().aiTable10; }
inline ObjectArray*& rules229() { return ca().aiTable11; }
inline ObjectArray*& rules118() { return ca().aiTable12; }
inline ObjectArray*& rules124() { return ca().aiTable13; }
inline ObjectArray*& rules119() { return ca().aiTable14; }
inline ObjectArray*& rules155() { return ca().aiTable15; }
inline ObjectArray*& rules172() { return ca().aiTable16; }
inline ObjectArray*& rules188() { return ca().aiTable17; }
inline ObjectArray*& rules29() { return ca().aiTable18; }
inline ObjectArray*& rules58() { return ca().aiTable19; }
inline ObjectArray*& rules202() { return ca().aiTable20; }
inline ObjectArray*& rules218() { return ca().aiTable21; }
inline ObjectArray*& rules225() { return ca().aiTable22; }

// --- statics held by the world and the hero ------------------------------------------
// The hero's swim mode: the framework's one swim flag.
inline jbyte& heroAltMode() { return ca().heroModeA; }
inline jbyte& heroMireMode() { return ca().heroMireMode; }
inline ShortArray*& sweptBox() { return ca().sweptBox; }
inline cActor*& tileOwner() { return ca().tileOwner; }
// One-step signals between actors; the hero's update clears it each step.
inline jint& worldFlags() { return ca().worldFlags; }
inline jint& heroClimbMode() { return ca().heroClimbMode; }
inline cActor*& heroChain() { return ca().heroChain; }
inline cActor*& heroHoldActor() { return ca().heroHoldActor; }
inline jint& heroSpeedTimer() { return ca().heroSpeedTimer; }
inline jint& boostFrames() { return ca().boostFrames; }
inline jint& carryTicks() { return ca().carryTicks; }
inline jint& powerRunAirborne() { return ca().powerRunAirborne; }
inline jint& runSpeedFactor() { return ca().runSpeedFactor; }
inline jint& slideDir() { return ca().slideDir; }
inline jint& strikeStep() { return ca().strikeStep; }
inline jint& struckBlockId() { return ca().struckBlockId; }
// The item actor that the hero holds.
inline cActor*& heldItem() { return magician().attachedEffect; }

// --- behaviour statics -----------------------------------------------------------------
inline jint& bossFloorY() { return ca().bossFloorY; }
inline jboolean& bossGoesRightB() { return ca().bossGoesRightB; }
inline jboolean& bossSide() { return ca().bossSide; }
inline jint& bossStep() { return ca().bossStep; }
inline jint& bossGroundY() { return ca().bossGroundY; }
inline jint& bossGuarded() { return ca().bossGuarded; }
inline jint& arenaFloorY() { return ca().arenaFloorY; }
inline jint& breakSoundDelay() { return ca().breakSoundDelay; }
inline jint& lastRevealedItem() { return ca().lastRevealedItem; }
inline ShortArray*& scratchBox() { return ca().scratchBox; }
inline ShortArray*& scratchBox2() { return ca().scratchBox2; }
inline jint& collectedMask() { return ca().collectedMask; }
inline cActor*& type2Actor() { return ca().type2Actor; }
inline jint& type2Countdown() { return ca().type2Countdown; }
inline jint& type2Phase() { return ca().type2Phase; }
inline IntArray*& type2Queue() { return ca().type2Queue; }
inline jint& type2QueueCount() { return ca().type2QueueCount; }
inline jint& throwA() { return ca().throwA; }
inline jint& throwB() { return ca().throwB; }
inline jint& throwC() { return ca().throwC; }
inline jint& throwD() { return ca().throwD; }
inline IntArray*& throwPath() { return ca().throwPath; }
inline jint& flyByFrames() { return ca().flyByFrames; }
inline IntArray*& sparkTimers() { return ca().sparkTimers; }
inline IntArray*& sparkParts() { return ca().sparkParts; }
inline IntArray*& sparkAngles() { return ca().sparkAngles; }
inline jint& spinDecay() { return ca().spinDecay; }
inline jint& spinStep() { return ca().spinStep; }
inline jint& spinMax() { return ca().spinMax; }
inline jint& segmentScale() { return ca().segmentScale; }
inline jint& scaleSecondsLeft() { return ca().scaleSecondsLeft; }
inline IntArray*& rideOffsets() { return ca().rideOffsets; }
inline IntArray*& launchLimits() { return ca().launchLimits; }
inline jint& eventBits() { return ca().eventBits; }
inline jint& scriptsEnabled() { return cg().scriptsEnabled; }
inline jbyte& savedHeroAltMode() { return cg().savedHeroAltMode; }

}  // namespace game::behaviour

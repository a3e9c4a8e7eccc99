// The behaviour routines' names for cActor's fields and statics. Each
// accessor maps one behaviour name onto its storage: a named field of the
// actor where the framework already holds the same thing, one of the
// actor's working fields (of matching width) otherwise, and for statics the
// owner that already holds them (cActor's, the world's, the hero's) or the
// behaviour statics below.
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
#include "game/world/hero/hero_statics.h"
#include "game/world/statics.h"
#include "runtime/array.h"
#include "runtime/jint.h"

namespace game::behaviour {

// --- behaviour statics ------------------------------------------------------
// Statics that only the behaviours name; zero at start, except the scratch
// boxes and the small tables that the class initialiser (core_statics.cpp)
// creates.
#define BEHAVIOUR_FIELDS(X)                                                          \
    /* kBehaviourStaticsMark once the class initialiser ran */                     \
    X(jint, presentMark)                                                             \
    /* bosses */                                                                     \
    X(jint, bossFloorY)  X(jboolean, bossGoesRightB)        \
    X(jboolean, bossSide)  X(jint, bossStep)  X(jint, bossGroundY)  X(jint, bossGuarded) \
    X(jint, arenaFloorY)                                                             \
    /* tile blocks and pickups */                                                    \
    X(jint, breakSoundDelay)  X(jint, lastRevealedItem)  X(ShortArray*, scratchBox)  \
    X(ShortArray*, scratchBox2)  X(jint, collectedMask)                              \
    /* carried type-2 values */                                                      \
    X(cActor*, type2Actor)  X(jint, type2Countdown)  X(jint, type2Phase)             \
    X(IntArray*, type2Queue)  X(jint, type2QueueCount)                               \
    /* throws of the type-24 family */                                               \
    X(jint, throwA)  X(jint, throwB)  X(jint, throwC)  X(jint, throwD)  X(IntArray*, throwPath) \
    /* hazards, fly-bys, sparks, spinners, segments */                               \
    X(jint, flyByFrames)  X(IntArray*, sparkTimers)  X(IntArray*, sparkParts)        \
    X(IntArray*, sparkAngles)  X(jint, spinDecay)  X(jint, spinStep)  X(jint, spinMax) \
    X(jint, segmentScale)  X(jint, scaleSecondsLeft)  X(IntArray*, projectionScratch)  \
    /* platforms and launchers */                                                    \
    X(IntArray*, rideOffsets)  X(IntArray*, launchLimits)                            \
    /* messages: script event bits and the scripts' switch (1 from start-up) */      \
    X(jint, eventBits)  X(jint, scriptsEnabled)                                      \
    /* death: the hero's alternate mode when it died */                              \
    X(jbyte, savedHeroAltMode)

BRAMBLE_STATICS(BehaviourStatics, BEHAVIOUR_FIELDS)

extern StaticsContribution g_behaviourStatics;
constexpr jint kBehaviourStaticsMark = 0x42484156;
// An application started without the behaviour statics (tests: use
// behaviourtest::startApplication, tests/game/behaviour/core_support.h) is a
// setup fault: logged, then the program stops rather than write over
// another class's statics.
[[noreturn]] void behaviourStaticsMissing();
inline BehaviourStatics& bs() {
    BehaviourStatics* s = statics<BehaviourStatics>(g_behaviourStatics);
    if (s->presentMark != kBehaviourStaticsMark) behaviourStaticsMissing();
    return *s;
}

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
inline jbyte& heroMireMode() { return wd().heroMireMode; }
inline ShortArray*& sweptBox() { return wd().sweptBox; }
inline cActor*& tileOwner() { return wd().tileOwner; }
// One-step signals between actors; the hero's update clears it each step.
inline jint& worldFlags() { return hero::hs().worldFlags; }
inline jint& heroClimbMode() { return hero::hs().heroClimbMode; }
inline cActor*& heroChain() { return hero::hs().heroChain; }
inline cActor*& heroHoldActor() { return hero::hs().heroHoldActor; }
inline jint& heroSpeedTimer() { return hero::hs().heroSpeedTimer; }
inline jint& boostFrames() { return hero::hs().boostFrames; }
inline jint& carryTicks() { return hero::hs().carryTicks; }
inline jint& powerRunAirborne() { return hero::hs().powerRunAirborne; }
inline jint& runSpeedFactor() { return hero::hs().runSpeedFactor; }
inline jint& slideDir() { return hero::hs().slideDir; }
inline jint& strikeStep() { return hero::hs().strikeStep; }
inline jint& struckBlockId() { return hero::hs().struckBlockId; }
// The item actor that the hero holds.
inline cActor*& heldItem() { return magician().attachedEffect; }

// --- behaviour statics -----------------------------------------------------------------
inline jint& bossFloorY() { return bs().bossFloorY; }
inline jboolean& bossGoesRightB() { return bs().bossGoesRightB; }
inline jboolean& bossSide() { return bs().bossSide; }
inline jint& bossStep() { return bs().bossStep; }
inline jint& bossGroundY() { return bs().bossGroundY; }
inline jint& bossGuarded() { return bs().bossGuarded; }
inline jint& arenaFloorY() { return bs().arenaFloorY; }
inline jint& breakSoundDelay() { return bs().breakSoundDelay; }
inline jint& lastRevealedItem() { return bs().lastRevealedItem; }
inline ShortArray*& scratchBox() { return bs().scratchBox; }
inline ShortArray*& scratchBox2() { return bs().scratchBox2; }
inline jint& collectedMask() { return bs().collectedMask; }
inline cActor*& type2Actor() { return bs().type2Actor; }
inline jint& type2Countdown() { return bs().type2Countdown; }
inline jint& type2Phase() { return bs().type2Phase; }
inline IntArray*& type2Queue() { return bs().type2Queue; }
inline jint& type2QueueCount() { return bs().type2QueueCount; }
inline jint& throwA() { return bs().throwA; }
inline jint& throwB() { return bs().throwB; }
inline jint& throwC() { return bs().throwC; }
inline jint& throwD() { return bs().throwD; }
inline IntArray*& throwPath() { return bs().throwPath; }
inline jint& flyByFrames() { return bs().flyByFrames; }
inline IntArray*& sparkTimers() { return bs().sparkTimers; }
inline IntArray*& sparkParts() { return bs().sparkParts; }
inline IntArray*& sparkAngles() { return bs().sparkAngles; }
inline jint& spinDecay() { return bs().spinDecay; }
inline jint& spinStep() { return bs().spinStep; }
inline jint& spinMax() { return bs().spinMax; }
inline jint& segmentScale() { return bs().segmentScale; }
inline jint& scaleSecondsLeft() { return bs().scaleSecondsLeft; }
inline IntArray*& rideOffsets() { return bs().rideOffsets; }
inline IntArray*& launchLimits() { return bs().launchLimits; }
inline jint& eventBits() { return bs().eventBits; }
inline jint& scriptsEnabled() { return bs().scriptsEnabled; }
inline jbyte& savedHeroAltMode() { return bs().savedHeroAltMode; }

}  // namespace game::behaviour

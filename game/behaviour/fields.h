// The behaviour routines' accessors of statics: each is named as the field
// it reaches in the block of the class it belongs to (cActor's ca(),
// cGame's cg()). The actor's own fields come from game/actor/fields.h.
#pragma once

#include "game/actor/actor.h"
#include "game/actor/fields.h"
#include "game/data/fields.h"
#include "game/data/statics.h"
#include "runtime/array.h"
#include "runtime/jint.h"

namespace game::behaviour {

// cActor's fields by their names, shared with the other libraries.
using namespace game::actorfields;

// --- cActor statics held by the framework ------------------------------------------
inline jint& heroState() { return ca().heroState; }
inline jint& heroStateTicks() { return ca().heroStateTicks; }
inline IntArray*& heroStateVars() { return ca().heroStateVars; }
inline jint& heroInputLock() { return ca().heroInputLock; }
inline jint& actionAnim() { return ca().actionAnim; }
inline jint& actionNextState() { return ca().actionNextState; }
inline jint& collisionResult() { return ca().collisionResult; }
inline cActor*& mountActor() { return ca().mountActor; }
inline jint& grabMode() { return ca().grabMode; }
inline cActor*& grabbedActor() { return ca().grabbedActor; }
inline cActor*& partnerActor() { return ca().partnerActor; }
inline jint& partnerMode() { return ca().partnerMode; }
inline jint& orbitScale() { return ca().orbitScale; }
// The hit guard that clearHitFlags zeroes (the framework's hit latch).
inline jint& hitGuard() { return ca().hitGuard; }
// Boss event count: set to 1 by the framework's tryCatchHero (heroCaught).
inline jbyte& bossEventCount() { return ca().bossEventCount; }
inline ShortArray*& trackedIds() { return ca().trackedIds; }
inline IntArray*& trackedCellMasks() { return ca().trackedCellMasks; }
inline jint& trackedCount() { return ca().trackedCount; }
// Rule programs and state animations of the rule-driven enemy.
inline ObjectArray*& stateAnims() { return ca().stateAnims; }
inline ObjectArray*& rules27() { return ca().rules27; }
inline ObjectArray*& rules41() { return ca().rules41; }
inline ObjectArray*& rules55() { return ca().rules55; }
inline ObjectArray*& rules173() { return ca().rules173; }
inline ObjectArray*& rules86Immune() { return ca().rules86Immune; }
inline ObjectArray*& rules86() { return ca().rules86; }
inline ObjectArray*& rules87() { return ca().rules87; }
inline ObjectArray*& rules97() { return ca().rules97; }
inline ObjectArray*& rules148() { return ca().rules148; }
inline ObjectArray*& rules64() { return ca().rules64; }
inline ObjectArray*& rules229() { return ca().rules229; }
inline ObjectArray*& rules118() { return ca().rules118; }
inline ObjectArray*& rules124() { return ca().rules124; }
inline ObjectArray*& rules119() { return ca().rules119; }
inline ObjectArray*& rules155() { return ca().rules155; }
inline ObjectArray*& rules172() { return ca().rules172; }
inline ObjectArray*& rules188() { return ca().rules188; }
inline ObjectArray*& rules29() { return ca().rules29; }
inline ObjectArray*& rules58() { return ca().rules58; }
inline ObjectArray*& rules202() { return ca().rules202; }
inline ObjectArray*& rules218() { return ca().rules218; }
inline ObjectArray*& rules225() { return ca().rules225; }

// --- statics held by the world and the hero ------------------------------------------
// The hero's swim mode: the framework's one swim flag.
inline jbyte& heroAltMode() { return ca().heroAltMode; }
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

// Static fields that only the hero's state machine and its handlers use
// (work variables of single states, pending switches, counters). Fields the
// actor framework or the world also read live with their owners and are
// reached through game/world/hero/seam.h.
#pragma once

#include "game/data/fields.h"
#include "runtime/array.h"
#include "runtime/object.h"

class cActor;

namespace game::hero {

#define HERO_FIELDS(X)            \
    X(jint, heroStandFlag)        \
    X(jint, edgeStepDone)         \
    X(jint, runUpJump)            \
    X(jint, runUpBoost)           \
    X(jint, jumpSpeedCarry)       \
    X(jint, leapFlag)             \
    X(jint, heroMovingFlag)       \
    X(jint, jumpHoldTicks)        \
    X(jint, orbitLaunched)        \
    X(jint, floatTimer)           \
    X(jint, powerRunTimer)        \
    X(jint, powerRunAirborne)     \
    X(jint, slideMinSpeed)        \
    X(jint, slideMaxSpeed)        \
    X(jint, slideDir)             \
    X(jint, slideHoldTicks)       \
    X(jint, deathCountdown)       \
    X(jint, climbEntryDir)        \
    X(jint, swingPending)         \
    X(jint, orbitPending)         \
    X(jint, mireTicks)            \
    X(jint, paddleIdleTicks)      \
    X(jint, paddleStrokeGap)      \
    X(jint, struckBlockId)        \
    X(jint, strikeStep)           \
    X(jint, lastStrikeStep)       \
    X(jint, comboContinue)        \
    X(jint, aimAngle)             \
    X(jint, aimSwing)             \
    X(cActor*, aimMarker)         \
    X(jint, carryTicks)           \
    X(jint, shakeFastLimit)       \
    X(jint, shakeDropCount)       \
    X(jint, keyRegistered)        \
    X(cActor*, orbitActor)        \
    X(cActor*, nextOrbitActor)    \
    X(jint, orbitFlightTicks)     \
    X(cActor*, heroHoldActor)     \
    X(jint, swingPos)             \
    X(jint, swingSpeed)           \
    X(jint, swingKickTime)        \
    X(jint, swingMode)            \
    X(cActor*, heroChain)         \
    X(jint, pickupNoticed)        \
    X(jint, pickupNoticeTime)     \
    X(jint, heroClimbMode)        \
    X(jint, heroIceMode)          \
    X(jint, worldFlags)           \
    /* speed and flight fields of the auto-scrolling and flying levels */ \
    X(jint, jumpCurveLength)      \
    X(jint, heroSpeedTimer)       \
    X(jint, boostFrames)          \
    X(jint, heroBumped)           \
    X(jint, autoRunHalt)          \
    X(jint, runSpeedFactor)

BRAMBLE_STATICS(HeroStatics, HERO_FIELDS)

// The hero statics (the binding places them in the statics block).
HeroStatics& hs();
// Adds the hero statics to the statics block (idempotent); the
// contribution itself, for an application configured with a list.
void registerHeroStatics();
const StaticsContribution* heroStaticsContribution();

}  // namespace game::hero

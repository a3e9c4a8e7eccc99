// cActor fields that the hero's state machine and its handlers name (work
// variables of single states, pending switches, counters, the speed and
// flight fields of the auto-scrolling and flying levels). The list is part
// of cActor's one statics block (cActorStatics, game::ca(),
// game/actor/actor.h). All start at zero except the few that
// cActor's initialiser sets (the run speed factor 1.0, idle counters -1).
#pragma once

#include "game/data/fields.h"

class cActor;

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
    /* the grab combo's strike step (also named liftCount) */ \
    X(jint, strikeStep)           \
    /* the strike step already dealt (also named carryMark) */ \
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
    /* 256 = 1.0; the camera reads it too (also named scaleParam) */ \
    X(jint, runSpeedFactor)

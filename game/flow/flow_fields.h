// cGame fields that the game flow code names: life cycle, run loop, state
// machine, keys and touch, loading plan, sprite tables, random seed and
// trigonometry work tables. The lists are part of cGame's one statics block
// (cGameStatics, game::cg(), game/data/statics.h); this header declares
// nothing else.
//
// Fields written by the main thread's callbacks and read by the game thread
// (pause, resume, suspend request, pacing reference), and the count of
// suspends the game thread has serviced (read by others), are atomics; the key
// masks and the pointer points are guarded by one small lock (input.h).
#pragma once

#include <atomic>

#include "game/data/fields.h"
#include "runtime/array.h"

class cGame;
class RavitBHSG;
class java_lang_Thread;
class java_util_Random;
class javax_microedition_lcdui_Display;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class java_util_Hashtable;

namespace game {

using AtomicInt = std::atomic<jint>;
using AtomicLong = std::atomic<jlong>;

#define FLOW_LIFE_FIELDS(X)                                  \
    X(cGame*, instance)                                      \
    X(RavitBHSG*, midlet)                                    \
    X(javax_microedition_lcdui_Display*, display)            \
    X(java_lang_Thread*, gameThread)                         \
    X(java_util_Random*, randomGenerator)                    \
    X(AtomicInt, paused)                                     \
    X(AtomicInt, resumed)                                    \
    X(AtomicInt, suspendRequest)                             \
    X(AtomicLong, lastTick)                                  \
    X(jboolean, shown)                                       \
    X(jboolean, fullRedraw)                                  \
    X(jboolean, musicOnAtSuspend)                            \
    X(jboolean, suspendedBySystem)                           \
    X(jint, musicAtSuspend)                                  \
    X(AtomicInt, suspendsServiced)                           \
    X(jlong, stepTime)                                       \
    X(jint, stepDelta)                                       \
    X(jlong, gameClock)                                      \
    X(javax_microedition_lcdui_Graphics*, graphics)          \
    X(javax_microedition_lcdui_Graphics*, screenGraphics)    \
    X(jint, altMode)                                         \
    X(IntArray*, type10Requests)

#define FLOW_STATE_FIELDS(X)                                 \
    X(jint, stateTicks)                                      \
    X(jint, stateParam)                                      \
    X(jint, pendingOp)                                       \
    X(jint, pendingState)                                    \
    X(jboolean, statePending)                                \
    X(jboolean, inTransition)                                \
    X(jboolean, outTransition)                               \
    X(jint, transitionTicks)                                 \
    X(jint, hudMode)                                         \
    X(jint, questionMenuParam)                               \
    X(jint, messageTextId)                                   \
    X(jboolean, levelFinished)                               \
    X(jint, inLevel)                                         \
    X(jint, dialogMode)                                      \
    X(jint, dialogScrollBase)                                \
    X(jboolean, dialogRedraw)                                \
    X(jboolean, soundOn)                                     \
    X(jboolean, musicOnAtPause)

#define FLOW_INPUT_FIELDS(X)                                 \
    X(jint, keysPressed)                                     \
    X(jint, keysCurrent)                                     \
    X(jint, keysHeld)                                        \
    X(jint, keysReleased)                                    \
    X(jint, keyHoldTicks)                                    \
    X(jint, foldHeld)                                        \
    X(jint, keysUnseen)                                      \
    X(jint, releasesUnseen)                                  \
    X(jint, releasesDeferred)                                \
    X(jint, lastPressedKeys)                                 \
    X(jint, ticksSincePress)                                 \
    X(jint, sequenceStep)                                    \
    X(jint, flags)                                           \
    X(java_util_Hashtable*, keyMapA)                         \
    X(java_util_Hashtable*, keyMapB)                         \
    X(jboolean, touchPressed)                                \
    X(jboolean, touchDragging)                               \
    /* also named touchControls */                        \
    X(jboolean, touchActive)                                 \
    X(ObjectArray*, listRowZones)                            \
    X(ObjectArray*, listArrowZones)                          \
    X(ObjectArray*, padZones)                                \
    X(jint, buttonBits)                                      \
    X(jint, listFirstRow)                                    \
    X(jint, listWindowRows)                                  \
    X(jint, listLastCursor)                                  \
    X(jint, listCursor)                                      \
    X(jint, listFirstShown)                                  \
    X(jint, listTouchedRow)                                  \
    X(jint, listArrowHeld)                                   \
    X(jint, touchRect2Ticks)                                 \
    X(jint, touchRect3Ticks)                                 \
    X(jint, menuCursor)                                      \
    X(jint, menuEntryCount)                                  \
    X(jint, menuRowHeight)                                   \
    X(jint, menuCentreX)                                     \
    X(jint, menuCentreY)

#define FLOW_LOAD_FIELDS(X)                                  \
    X(ByteArray*, loadingTable)                              \
    X(ObjectArray*, groupPrograms)                           \
    X(IntArray*, loadRequest)                                \
    X(IntArray*, groupValues)                                \
    X(BoolArray*, groupEvaluated)                            \
    X(BoolArray*, groupInProgress)                           \
    X(BoolArray*, stepNeeded)                                \
    X(jint, groupStackTop)                                   \
    X(jint, loadStepsDone)                                   \
    X(jint, loadCursor)                                      \
    X(jint, loadStepsTotal)                                  \
    X(jboolean, reuseLoadPlan)                               \
    X(ObjectArray*, spriteIndex)                             \
    X(jboolean, mathTablesLoaded)                            \
    X(ObjectArray*, sprites)                                 \
    X(ObjectArray*, fonts)                                   \
    X(IntArray*, soundTable)                                 \
    X(ObjectArray*, loadSlots)                               \
    X(IntArray*, offsetCurve)                                \
    X(IntArray*, rotationWork)                               \
    X(javax_microedition_lcdui_Image*, overlayImage)         \
    X(javax_microedition_lcdui_Graphics*, overlayGraphics)   \
    X(jboolean, overlayDirty)                                \
    /* the next paint fills the screen white (also named screenFlash) */ \
    X(jboolean, clearPending)                                \
    /* the in-game hint counters, zeroed by every level load */ \
    X(jint, hintCount)                                       \
    X(jint, hintTimer)

#define FLOW_MATH_FIELDS(X)                                  \
    X(jint, randomSeed)                                      \
    X(IntArray*, computedSine)                               \
    X(IntArray*, tangentTable)                               \
    X(jint, intersectX)                                      \
    X(jint, intersectY)                                      \
    X(jlong, intersectDenominator)                           \
    X(jlong, intersectNumeratorA)                            \
    X(jlong, intersectNumeratorB)                            \
    X(jint, orbitCentreX)                                    \
    X(jint, orbitCentreY)                                    \
    X(IntArray*, orbitScratch)                               \
    X(ObjectArray*, soundTraceLines)                         \
    X(jint, displayChangedMask)                              \
    X(jint, displayState)                                    \
    X(jint, contextValue)                                    \
    X(jboolean, frameLatched)                                \
    X(jint, latchedPlayFrames)                               \
    X(jint, levelScore)                                      \
    X(jint, healthOffset)

#define FLOW_FIELDS(X) \
    FLOW_LIFE_FIELDS(X) FLOW_STATE_FIELDS(X) FLOW_INPUT_FIELDS(X) FLOW_LOAD_FIELDS(X) FLOW_MATH_FIELDS(X)

}  // namespace game

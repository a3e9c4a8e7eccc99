// Static fields of the game's core classes, each declared once through a
// field list (game/data/fields.h) so every reference field is a collector
// root and tests can walk them:
//
//   game::cg()        cGame's one block: constant tables, menus, the
//                     camera, layers, hero and script fields, packs, text
//                     packs, level data, the progress record, and the fields
//                     the flow code, the screens, the world and the
//                     behaviours name (their lists are in their folders;
//                     struct cGameStatics)
//   game::util()      Util's stream reader (UtilStatics)
//   game::mordle()    Constants_CstBossMordle's tables
//   game::magician()  Constants_CstBossMagician's table and attached effect
//
// registerGameStatics() adds the contributions (idempotent) before
// Application::init; the class initialisers then run at their fixed steps
// among the game's (kClinitGame + step). cActor's one block is
// game::ca() (game/actor/actor.h).
#pragma once

#include <array>
#include <vector>

#include "game/behaviour/behaviour_fields.h"
#include "game/data/fields.h"
#include "game/flow/flow_fields.h"
#include "game/flow/screens/screens_fields.h"
#include "game/world/world_fields.h"
#include "runtime/array.h"
#include "runtime/statics.h"
#include "runtime/string.h"

class cActor;
class java_io_InputStream;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

namespace game {

// Class-initialiser order keys (set-up steps among the game's).
constexpr int kClinitBossMordle = kClinitGame + 3;
constexpr int kClinitCGame = kClinitGame + 6;
constexpr int kClinitActor = kClinitGame + 8;
constexpr int kClinitShowcase = kClinitGame + 10;
constexpr int kClinitBossMagician = kClinitGame + 11;
constexpr int kClinitSoundPlayer = kClinitGame + 12;

// Sizes the rest of the code relies on.
constexpr jint kProgressBytes = 265;
constexpr jint kTextSlots = 32;
constexpr jint kLayers = 5;
constexpr jint kCellPixels = 36;

using Int4 = std::array<jint, 4>;
using Int6 = std::array<jint, 6>;
using Int13 = std::array<jint, 13>;

// cGame: angle and view constants, constant tables and menus (set by the
// class initialiser), then the state shared across the core and the
// libraries above it.
#define CGAME_CONSTANT_FIELDS(X)                                                      \
    X(jint, canvasWidth)                                                              \
    X(jint, canvasHeight)                                                             \
    X(jint, angleSteps)                                                               \
    X(jint, quarterSteps)                                                             \
    X(jint, halfSteps)                                                                \
    X(jint, threeQuarterSteps)                                                        \
    X(jint, fullSteps)                                                                \
    X(IntArray*, identityRuns)                                                        \
    X(BoolArray*, startFlags)                                                         \
    X(Int6, effectParams)                                                             \
    X(IntArray*, colorQuadA)                                                          \
    X(IntArray*, colorQuadB)                                                          \
    X(IntArray*, cameraLimits)                                                        \
    X(IntArray*, stageOrder)                                                          \
    X(ObjectArray*, panelButtons)                                                     \
    X(IntArray*, touchRect1)                                                          \
    X(IntArray*, touchRect2)                                                          \
    X(IntArray*, touchRect3)                                                          \
    X(IntArray*, touchRect4)                                                          \
    X(IntArray*, touchRect5)                                                          \
    X(IntArray*, touchRect6)                                                          \
    X(IntArray*, touchRect7)                                                          \
    X(IntArray*, touchRect8)                                                          \
    X(IntArray*, touchRect9)                                                          \
    X(IntArray*, touchRect10)                                                         \
    X(IntArray*, touchRect11)                                                         \
    X(IntArray*, touchRect12)                                                         \
    X(IntArray*, pageIndexes)                                                         \
    X(ShortArray*, tileRowFlags)                                                      \
    X(IntArray*, scriptOperandLengths)                                                \
    X(ObjectArray*, keySequences)                                                     \
    X(ObjectArray*, stageStartPoints)                                                 \
    X(ShortArray*, countdownSteps)                                                    \
    X(IntArray*, screenTriples)                                                       \
    X(IntArray*, bonusStages)                                                         \
    X(IntArray*, splashOffsets)                                                       \
    X(IntArray*, shakeOffsets)                                                        \
    X(IntArray*, variableBounds)                                                      \
    X(ObjectArray*, digitRows)                                                        \
    X(ByteArray*, dropFlags)                                                          \
    X(ByteArray*, type33Values)                                                       \
    X(ByteArray*, levelTriples1)                                                      \
    X(ByteArray*, levelTriples2)                                                      \
    X(ObjectArray*, triangleFlags)                                                    \
    X(ObjectArray*, pathTables)                                                       \
    X(ObjectArray*, stepTables)                                                       \
    X(ShortArray*, carryOffsetsA)                                                     \
    X(ShortArray*, carryOffsetsB)                                                     \
    X(ShortArray*, carryOffsetsC)                                                     \
    X(IntArray*, levelAddTable)                                                       \
    X(IntArray*, levelMulTable)                                                       \
    X(IntArray*, tenFours)                                                            \
    X(IntArray*, resourceRanges)                                                      \
    X(IntArray*, layerSettings)                                                       \
    X(IntArray*, regionFlags)                                                         \
    X(IntArray*, layerParams)                                                         \
    X(IntArray*, menuTextsA)                                                          \
    X(IntArray*, menuTextsB)                                                          \
    X(IntArray*, menuTextsC)                                                          \
    X(IntArray*, sevenIndexes)                                                        \
    X(IntArray*, state6Values)                                                        \
    X(IntArray*, pairThirteenSixteen)                                                 \
    X(IntArray*, textIdTriple)                                                        \
    X(ObjectArray*, loadingHintLayouts)                                               \
    X(ObjectArray*, loadingHintTexts)                                                 \
    X(IntArray*, loadingHintOrder)                                                    \
    X(ObjectArray*, screenLayoutA)                                                    \
    X(ObjectArray*, screenLayoutB)                                                    \
    X(ObjectArray*, screenLayoutC)                                                    \
    X(ObjectArray*, screenLayoutD)                                                    \
    X(ObjectArray*, mainMenu)                                                         \
    X(ObjectArray*, gameMenu)                                                         \
    X(ObjectArray*, difficultyMenu)                                                   \
    X(ObjectArray*, stageMenu)                                                        \
    X(ObjectArray*, pauseMenu)                                                        \
    X(ObjectArray*, optionsMenu)                                                      \
    X(ObjectArray*, questionMenu)                                                     \
    X(ObjectArray*, textBoxMenu)                                                      \
    X(ObjectArray*, recordsMenu)                                                      \
    /* scalar starting values */                                                      \
    X(jint, levelTimer)                                                               \
    /* the script an arena restarts (also named restartScriptIndex) */             \
    X(jint, currentScriptId)                                                          \
    X(jint, portraitActorId)                                                          \
    X(jboolean, cameraSnap)                                                           \
    X(jint, touchFrameDelay)                                                          \
    X(jint, loadingHint)                                                              \
    X(jint, stateStackDepth)                                                          \
    X(jint, gameState)                                                                \
    X(jint, stateSpareA)                                                              \
    X(jint, stateSpareB)                                                              \
    X(jint, orbitRadiusX)                                                             \
    X(jint, orbitRadiusY)                                                             \
    X(jint, orbitPhase)                                                               \
    X(jint, orbitRise)                                                                \
    X(jint, scrollDelay)                                                    \
    X(jint, lookAheadForcedX)                                                              \
    X(jint, lookAheadForcedY)                                                              \
    X(jint, lookMode)                                                                 \
    X(jint, previousState)                                                            \
    X(jint, markerId)                                                                 \
    X(jint, markerParamA)                                                             \
    X(jint, markerParamB)                                                             \
    X(jint, buttonKeyColour)                                                          \
    X(jint, buttonAlphaMask)                                                          \
    X(jint, pressX)                                                                   \
    X(jint, pressY)                                                                   \
    X(jint, touchX)                                                                   \
    X(jint, touchY)                                                                   \
    X(jint, releaseX)                                                                 \
    X(jint, releaseY)                                                                 \
    X(jint, tapX)                                                                     \
    X(jint, tapY)                                                                     \
    X(jint, touchParamA)                                                              \
    X(jint, touchParamB)                                                              \
    X(jint, panelItem)                                                                \
    X(jint, panelPeriod)                                                              \
    X(jboolean, listScrollDown)                                                       \
    X(jint, displayIdA)                                                               \
    X(jint, displayIdB)                                                               \
    X(jint, contextChoiceA)                                                           \
    X(jint, contextChoiceB)                                                           \
    X(jint, contextChoiceC)                                                           \
    X(jint, contextChoiceD)                                                           \
    X(Int4, hudColors)                                                                \
    X(Int13, hudLayout)                                                               \
    X(jint, bossMaskCount)                                                            \
    X(jint, scriptWaitMode)                                                           \
    X(jint, queuedScript)                                                            \
    X(jint, sequenceIndex)                                                            \
    X(jint, lastKeyCode)                                                              \
    X(jint, scriptRestartMark)                                                        \
    X(jint, currentMusic)                                                             \
    X(jint, levelMusic)                                                               \
    X(jfloat, scaleHalf)                                                              \
    X(jfloat, scaleOne)                                                               \
    X(jfloat, scaleOneB)                                                              \
    X(jint, menuMetricA)                                                              \
    X(jint, menuMetricB)                                                              \
    X(jint, menuMetricC)                                                              \
    X(jint, menuAnimTicks)                                                            \
    /* work arrays (contents start at zero) */                                        \
    X(ObjectArray*, levelSprites)                                                     \
    X(ByteArray*, tileAttributes)                                                     \
    X(IntArray*, checkpointHeroStats)                                                      \
    X(IntArray*, pickupCounts)                                                        \
    X(IntArray*, heroStatus)                                                          \
    X(IntArray*, regionCoverage)                                                        \
    X(ObjectArray*, spareObjects)                                                     \
    X(IntArray*, levelStats)                                                          \
    X(ShortArray*, boxScratch)                                                        \
    X(ShortArray*, activationArea)                                                    \
    X(IntArray*, stateStack)                                                          \
    X(IntArray*, stateStackHudModes)                                                  \
    X(IntArray*, stateStackParams)                                                    \
    X(ObjectArray*, stateTable)                                                       \
    X(IntArray*, spareInts)                                                           \
    X(IntArray*, checkpointCameraLimits)                                                    \
    X(IntArray*, savedCameraLimits)                                                   \
    X(IntArray*, listA)                                                               \
    X(IntArray*, listB)                                                               \
    X(ObjectArray*, listObjects)                                                      \
    X(ByteArray*, scratchBytes)                                                       \
    X(ObjectArray*, effectListA)                                                      \
    X(ObjectArray*, effectListB)                                                      \
    X(ObjectArray*, tweenActors)                                                      \
    X(IntArray*, tweenFrom)                                                           \
    X(IntArray*, tweenTo)                                                             \
    X(IntArray*, tweenElapsed)                                                        \
    X(IntArray*, tweenSlots)                                                          \
    X(IntArray*, tweenBoxW)                                                           \
    X(IntArray*, tweenBoxH)                                                           \
    X(ObjectArray*, layerPositions)                                                         \
    X(IntArray*, displayValues)                                                       \
    X(IntArray*, frameCache)                                                          \
    X(ShortArray*, mapCellSizes)                                                      \
    X(BoolArray*, resourceNeeded)                                                     \
    X(ObjectArray*, layerMaps)                                                        \
    X(ObjectArray*, layerSizes)                                                       \
    X(IntArray*, frameRect)                                                           \
    X(IntArray*, groupStack)                                                          \
    X(ObjectArray*, timers)                                                           \
    X(ObjectArray*, pointPair)                                                        \
    /* pool strings */                                                                \
    X(String*, textEncoding)                                                          \
    X(ObjectArray*, poolNames)                                                        \
    X(cActor*, logoActor)

// cGame state shared by the core, the world and hero code and the actor
// framework: camera, layers, hero, scripts, level records, game variables.
#define CGAME_SHARED_FIELDS(X)                                                        \
    /* also named levelIndex */                                         \
    X(jint, stage)                                                                    \
    X(jint, nextStage)                                                                \
    /* also named levelNumber */                                        \
    X(jint, difficulty)                                                               \
    X(jint, saveSlot)                                                                 \
    X(jint, cameraX)                                                                  \
    X(jint, cameraY)                                                                  \
    X(jint, cameraOffsetX)                                                            \
    X(jint, cameraOffsetY)                                                            \
    X(jint, cameraStepX)                                                              \
    X(jint, cameraStepY)                                                              \
    X(cActor*, cameraTarget)                                                          \
    X(jint, cameraFlags)                                                              \
    X(jint, scrollStepX)                                                        \
    X(jint, scrollStepY)                                                        \
    X(jint, riseScroll)                                                         \
    X(jint, riseScrollStep)                                                           \
    /* also named quakeFrames */                                        \
    X(jint, shakeTimer)                                                               \
    X(jint, shakeOffset)                                                              \
    /* also named frameTick */                                          \
    X(jint, playFrames)                                                               \
    X(cActor*, hero)                                                                  \
    X(cActor*, checkpointActor)                                                       \
    X(cActor*, targetActor)                                                           \
    X(cActor*, boss)                                                                  \
    X(ObjectArray*, characterSlots)                                                   \
    /* the level's type-2 items (also named collectibleTotal) */                   \
    X(jint, itemsTotal)                                                               \
    X(jboolean, spawnFixedActors)                                                     \
    X(cActor*, panelActor)                                                            \
    X(cActor*, portraitActor)                                                         \
    X(jint, panelDisplayValue)                                                        \
    X(jint, panelPosition)                                                            \
    X(jint, panelOffset)                                                              \
    /* the corner touch buttons are drawn (the game runs on a touch screen) */       \
    X(jboolean, touchButtons)                                                         \
    X(jint, displayIdC)                                                               \
    X(jboolean, offscreenFlag)                                                        \
    /* the game variables' changed mask (also named panelEvents) */                \
    X(jint, variableChangedMask)                                                      \
    X(jint, eventMask)                                                                \
    X(ShortArray*, scriptStates)                                                       \
    X(ShortArray*, recordStarts)                                                      \
    X(ShortArray*, recordValues)                                                      \
    X(jint, mapPixelWidth)                                                            \
    X(jint, mapPixelHeight)                                                           \
    X(jint, collisionWidth)                                                           \
    X(jint, collisionHeight)                                                          \
    X(ShortArray*, collisionMap)                                                      \
    X(Object*, sineTable)                                                             \
    X(Object*, extraMathTable)                                                        \
    X(Object*, charMap)                                                               \
    /* level records, scripts, regions and actor passes (world and flow) */          \
    X(ByteArray*, levelObjectData)                                                    \
    X(ShortArray*, recordIds)                                                         \
    X(ByteArray*, recordPendingFlags)                                                 \
    X(ByteArray*, tileAttributesAlt)                                                  \
    X(ObjectArray*, scriptCommands)                                                   \
    X(ShortArray*, scriptIds)                                                         \
    X(ObjectArray*, scriptReadOffsets)                                                \
    X(ObjectArray*, scriptTargets)                                                    \
    X(jint, scriptWaitTicks)                                                          \
    /* a skip of the running scene was taken (also named scriptSkipping) */          \
    X(jbyte, skipCutscene)                                                            \
    /* the running scene may be skipped (also named sceneSkippable) */               \
    X(jbyte, cutsceneSkippable)                                                       \
    X(jbyte, cameraLocked)                                                            \
    X(ObjectArray*, regionRects)                                                      \
    X(ObjectArray*, regionSizes)                                                      \
    X(ObjectArray*, regionCells)                                                      \
    X(ByteArray*, regionStates)                                                       \
    X(javax_microedition_lcdui_Image*, tileCacheImage)                                \
    X(javax_microedition_lcdui_Graphics*, tileCacheGraphics)                          \
    X(jint, tileCacheDirty)                                                           \
    X(IntArray*, checkpointLevelStats)                                                \
    X(jint, checkpointCameraX)                                                        \
    X(jint, checkpointCameraY)

// Resource packs, text packs, the progress record and the fill row.
#define CGAME_RESOURCE_FIELDS(X)                                                      \
    X(String*, packName)                                                              \
    X(java_io_InputStream*, packStream)                                               \
    X(jint, packPosition)                                                             \
    X(jint, packEntryCount)                                                           \
    X(jshort, subPackCount)                                                           \
    X(ShortArray*, subPackFirstIds)                                                   \
    X(jint, currentSubPack)                                                           \
    X(IntArray*, packOffsets)                                                         \
    X(jshort, entryType)                                                              \
    X(jboolean, entryCompressed)                                                      \
    X(ByteArray*, skipBuffer)                                                         \
    X(ByteArray*, lzmaOutput)                                                         \
    X(jint, streamBytesRead)                                                          \
    X(ObjectArray*, contentTypes)                                                     \
    X(jint, packOpens)                                                                \
    X(jint, packFileLength)                                                           \
    X(jint, streamLimit)                                                              \
    X(IntArray*, textPackSlots)                                                       \
    X(ObjectArray*, textPackData)                                                     \
    X(IntArray*, textPackCounts)                                                      \
    X(ObjectArray*, textPackOffsets)                                                  \
    X(ObjectArray*, textPackStrings)                                                  \
    X(ByteArray*, progress)                                                           \
    X(jboolean, optionFlag)                                                           \
    X(jboolean, vibrationOn)                                                          \
    X(jboolean, gameCompleted)                                                        \
    X(jint, progressBits)                                                             \
    X(jint, fillColor)                                                                \
    X(IntArray*, fillRow)

// The level pool, the active list, the level's object marks and timers,
// the results totals, the script holds, the inert effect and the
// once-per-level and once-per-subtype log marks.
#define CGAME_ACTOR_FIELDS(X)                                                         \
    X(ObjectArray*, actorPool)                                                        \
    X(jint, actorCount)                                                               \
    X(ObjectArray*, activeActors)                                                     \
    X(jint, activeActorCount)                                                         \
    /* one mark per level record (also named recordRegionMasks) */                  \
    X(Long64Array*, levelObjectMarks)                                                 \
    X(jint, animationsFrozen)                                                         \
    /* frames the checkpoint caption shows (also named checkpointNoticeTicks) */     \
    X(jint, checkpointTimer)                                                          \
    /* the level timer is held (also named heroTimerMode) */                         \
    X(jint, levelTimerHold)                                                           \
    /* the level's type-6 specials (also named type6Total) */                        \
    X(jint, specialsTotal)                                                            \
    /* the level's type-19 secrets (also named type19Total) */                       \
    X(jint, secretsTotal)                                                             \
    /* bit 1: a level script holds the hero (also named scriptFlags) */              \
    X(jint, inputBlock)                                                               \
    X(jint, runCounter)                                                               \
    /* 1 while a wait mode holds all scripts (also named scriptsWaiting) */          \
    X(jint, scriptBlocked)                                                            \
    X(cActor*, inertEffect)                                                           \
    X(jboolean, inertLogged)                                                          \
    X(BoolArray*, subtypeLogged)

// One block for the class: the core's lists and those of the flow code,
// the screens, the world and the behaviours (each name in one list only).
#define CGAME_FIELDS(X)                                                               \
    CGAME_CONSTANT_FIELDS(X) CGAME_SHARED_FIELDS(X) CGAME_RESOURCE_FIELDS(X) CGAME_ACTOR_FIELDS(X) \
    FLOW_FIELDS(X) SCREENS_FIELDS(X) WORLD_GAME_FIELDS(X) BEHAVIOUR_GAME_FIELDS(X)

BRAMBLE_STATICS(cGameStatics, CGAME_FIELDS)

#define UTIL_FIELDS(X)                \
    X(java_io_InputStream*, stream)   \
    X(jint, bytesRead)

BRAMBLE_STATICS(UtilStatics, UTIL_FIELDS)

#define BOSS_MORDLE_FIELDS(X)    \
    X(IntArray*, stepTable)      \
    X(IntArray*, maskTable)      \
    X(IntArray*, valueTriple)

BRAMBLE_STATICS(BossMordleStatics, BOSS_MORDLE_FIELDS)

#define BOSS_MAGICIAN_FIELDS(X)  \
    X(IntArray*, stepTable)      \
    /* also named heldItem */    \
    X(cActor*, attachedEffect)

BRAMBLE_STATICS(BossMagicianStatics, BOSS_MAGICIAN_FIELDS)

extern StaticsContribution g_cGameStatics;
extern StaticsContribution g_UtilStatics;
extern StaticsContribution g_BossMordleStatics;
extern StaticsContribution g_BossMagicianStatics;

inline cGameStatics& cg() { return *statics<cGameStatics>(g_cGameStatics); }
inline UtilStatics& util() { return *statics<UtilStatics>(g_UtilStatics); }
inline BossMordleStatics& mordle() { return *statics<BossMordleStatics>(g_BossMordleStatics); }
inline BossMagicianStatics& magician() { return *statics<BossMagicianStatics>(g_BossMagicianStatics); }

// Adds the core library's contributions, the flow code's included
// (idempotent); call before Application::init, after the sprite engine's.
void registerGameStatics();
// The contributions, for an application configured with an explicit list.
void appendGameStatics(std::vector<const StaticsContribution*>& list);

// The class initialisers (run by the statics block at set-up).
void cGame_clinit();
void BossMordle_clinit();
void BossMagician_clinit();

// cGame.poolNames: the fifteen pool strings taken at set-up.
constexpr jint kPoolNameCount = 15;

}  // namespace game

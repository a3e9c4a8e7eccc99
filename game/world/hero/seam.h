// What the hero's state machine uses of the actor framework, the world and
// the game: the hero actor's fields, the hero-side statics the framework
// owns, the framework's hero operations, tile queries and camera fields.
// The state machine reaches all of them through these calls only, so one
// file (the binding) ties them to the real classes. Array-backed values are
// read and written by index, never through a kept element pointer.
#pragma once

#include <cstdint>

class cActor;

namespace game::hero {

using jint = int32_t;

// --- the hero actor (and any other actor) --------------------------------
jint motion(cActor* a, jint i);            // 0 when the actor has no motion state
void setMotion(cActor* a, jint i, jint v);
jint posX(cActor* a);
jint posY(cActor* a);
jint boxEdge(cActor* a, jint i);           // 0 left, 1 top, 2 right, 3 bottom
jint facing(cActor* a);
void setFacing(cActor* a, jint f);
jint subtype(cActor* a);
jint uniqueId(cActor* a);
jint type(cActor* a);
jint scale(cActor* a);
jint physicsFlags(cActor* a);
void setPhysicsFlags(cActor* a, jint v);
jint flags(cActor* a);
void setFlags(cActor* a, jint v);
jint contactFlags(cActor* a);
void setContactFlags(cActor* a, jint v);
void setAiState(cActor* a, jint s);
jint aiState(cActor* a);
jint anim(cActor* a);
jint animFrame(cActor* a);
jint animFrameCount(cActor* a);            // frames of the current animation
void setAnimFrame(cActor* a, jint frame);  // holds the animation on that frame
jint animTicks(cActor* a);                 // ticks since the current pass began
void setAnim(cActor* a, jint anim);        // frame state reset when it differs
bool setAnimThen(cActor* a, jint anim, jint next, jint rootMotion);
bool isAnimDone(cActor* a);
jint animDuration(cActor* a, jint anim);   // steps of one pass, 0 when missing
void setBoxSize(cActor* a, jint w, jint h);
jint getTypeParam(cActor* a, jint i);
jint getParam(cActor* a, jint i);
void stopMotion(cActor* a);
void moveTo(cActor* a, jint x256, jint y256);
void moveBy(cActor* a, jint dx256, jint dy256);
bool isChildFinished(cActor* a);
jint childAnim(cActor* a);                 // -1 without a child
jint childFlags(cActor* a);                // 0 without a child
void spawnChild(cActor* a, jint sprite, jint anim, jint x, jint y, jint layer, jint flags);
void releaseChild(cActor* a);
void attachEffect(cActor* a, jint anim, jint layer, jint flags);
cActor* spawnEffectPlain(jint sprite, jint anim, jint x, jint y, jint layer);
cActor* spawnEffect(jint sprite, jint anim, jint x, jint y, jint layer, jint flags);
void deactivate(cActor* a);
bool isOnLastFrame(cActor* a);
void updateBoxFromSprite(cActor* a);
void offsetDrawAndBox(cActor* a, jint dx, jint dy);
jint drawOffsetX(cActor* a);
jint drawOffsetY(cActor* a);
// Launchers and chains: parts and params with their lengths, the counter,
// the drawn angle and scale, the mapped animation pair.
jint actorPart(cActor* a, jint i);          // 0 past the array
void setActorPart(cActor* a, jint i, jint v);
jint partCount(cActor* a);
jint paramCount(cActor* a);
jint counter(cActor* a);
void setCounter(cActor* a, jint v);
jint angle(cActor* a);
void setAngle(cActor* a, jint v);
void setScale(cActor* a, jint v);
jint chainMode(cActor* chain);
jint swingSide(cActor* chain);
jint swingBoost(cActor* chain);
void setSwingBoost(cActor* chain, jint v);
void setMappedAnimThen(cActor* a, jint first, jint then, jint flags);

// --- hero-side statics of the framework --------------------------------
jint& heroState();
jint& heroStateTicks();
jint heroVar(jint i);
void setHeroVar(jint i, jint v);
jint& heroActionMask();
jint& actionAnim();
jint& actionNextState();
jint& heroInputLock();
// The countdown that lifts the input lock in the hero update: it is the
// framework's lock value, so a lock an actor routine sets with its value
// runs out just like one a hero state sets.
jint& heroInputMode();
jint& inputOptions();
jint airControl();
void setAirControl(jint v);
void setCruiseAfterLanding(jint v);
// The four mode bytes: swim, mire, climb, ice.
jint heroMode(jint i);
void setHeroMode(jint i, jint v);
cActor*& grabbedActor();
jint& grabMode();
cActor*& partnerActor();
jint& partnerMode();
cActor*& mountActor();
jint& jumpCurveIndex();
jint& jumpCurveLength();
void loadJumpCurve();                      // the level's curve into the hero's
jint& collisionResult();
jint& physicsDy();
cActor* carried(cActor* hero);
void setCarried(cActor* hero, cActor* actor);

// Per-state tables: animation by state (-1 keep), effect animation (-1
// none) and effect flags; each answers -1 (0 for flags) past its length.
jint heroStateAnimCount();
jint heroStateAnim(jint s);
jint heroStateEffect(jint s);
jint heroStateEffectFlags(jint s);

// --- framework operations on the hero ------------------------------------
bool tryEnterHeroState2(cActor* hero);
void handleHeroControls(cActor* hero);
void applyHeroJumpVelocity(cActor* hero, bool alt);
void applyHeroHit(cActor* hero, jint kind, jint dir, bool enter);
void resetHeroStateAfterLanding();
void holdHeroState();
jint getCarryAnim(cActor* hero, jint dir);
bool updateFacingFromKeys(cActor* hero);
bool isHeroActionKeyPressed(cActor* hero);
bool isHeroParamsNeutral();
bool isHeroDead();
bool isFacingPartner(cActor* hero);
bool tryMountAction(cActor* hero, jint a, jint b);
void dropCarried(cActor* hero);
void throwCarried(cActor* actor, jint kind, jint dir, jint a, jint b);
// Hands a throw to a held actor (its behaviour carries it out in AI state
// 24): direction, kind (1 ahead, 2 to the marker's position), the wind-up
// frames, the aim marker (null for a throw ahead).
void handThrow(cActor* actor, jint dir, jint kind, jint frames, cActor* marker);
void interactHeroType45(cActor* actor, cActor* hero);
bool isNearLedge(cActor* hero);
bool isAtLedgeToward(cActor* hero, jint dir);
bool hasTileClassAtLeft(cActor* hero, jint classMask);
bool hasTileClassAtRight(cActor* hero, jint classMask);
jint getTileColumn(cActor* hero, jint edge);
jint getTileFlagsAtFeet(cActor* hero, jint edge);
bool isProgressBitClear(jint bits);
bool isTargetType94();
void moveHeroBy(cActor* hero, jint dx256, jint dy256);
bool isHeroSubtype(cActor* a);
void setHeroMove(cActor* hero, jint kind, jint param, jint mode, jint duration);
bool isHeroBlockedSideways();
bool isHeroOnMount();
bool tryDropCarried(cActor* hero);
bool approachLimit(cActor* a, jint limit, jint velocityIndex, jint positionIndex, jint flag);
jint heroState37(cActor* hero, jint phase);
bool wayUpHitsType8(cActor* hero);    // scratch box above the hero meets an active type-8 actor

// --- world ---------------------------------------------------------------
jint getTileFlags(jint col, jint row);
jint scanTileColumn(cActor* hero, jint x, jint y, jint flagMask);  // row-top y of the found cell
jint getSolidTile(cActor* hero, jint dx, jint dy);  // class of a probe cell, -1 empty
jint tileMirrored();
jint getTile(jint col, jint row, jint mode);     // class of a cell, -1 void
jint getTileRow(cActor* a, jint mode);
void updateCamera(jint mode);
void stepTilesWhileClass(cActor* a, jint dx, jint dy, jint classMask);
void stepTilesUntilClass(cActor* a, jint dx, jint dy, jint classMask);
void setClimbDirection(cActor* a, jint dir);
jint climbExitDir();
jint probeSlopeGround(cActor* hero);
bool isLevel7();
bool isAnyScriptActive();
bool scriptHoldsHero();                     // input block bit value 1
bool isScriptTarget(jint uniqueId);
jint& cameraFlags();
jint& cameraDivX();
jint& cameraDivY();
jint& scrollDelay();
jint& scrollStepX();
jint& scrollStepY();
jint& quakeFrames();
jint& worldFlags(cActor* hero);
bool transitionFlag64Idle();
jint cameraX();
jint& runSpeedFactor();
jint& lookAheadX();
jint& lookAheadForcedX();
jint& lookAheadForcedY();
void clearCameraLock();
void setCameraTarget(cActor* a);
cActor* tileOwner();
// Level rectangle row by id: left, top, width, height; false when missing.
bool levelRect(jint id, jint* left, jint* top, jint* width, jint* height);
jint cos256(jint degrees);
jint sin256(jint degrees);
jint fixedSin(jint degrees);                  // 1 << 14 = 1.0
jint frameTick();
jint& heroSpeedTimer();
jint& boostFrames();
jint& heroBumped();
bool heroSkipScroll();
jint& autoRunHalt();
cActor* heldItem();
void setHeldItem(cActor* item);
bool isRowAllClass22(cActor* hero);
void resetKeys();
bool keyPressed(jint gameKeyMask);         // newly pressed this step
bool keyHeld(jint gameKeyMask);
bool touchControls();
bool anyKeyActive();
bool touchZone(jint i);                    // a touch in entry i of the touch zones                       // any key pressed or held this step
bool touchInZones();                       // a touch in zone 1, 0 or 2
cActor* targetActor();
cActor* theHero();

// --- actor behaviours ----------------------------------------------------
void knockback(cActor* hero, jint dir, jint anim, jint a, jint b, jint c, jint d);
void hurtHero(cActor* hero, jint kind, jint amount, jint force);
void kill(cActor* hero);
void loseLife(cActor* hero);

// FLY's shot: a level actor from the 12-short record {199, new id, x, y, 0,
// 3, 160, 16, 16, -8, -16, 0}; null when the pool is full.
cActor* spawnShot(jint x, jint y);
void setShotCounters(cActor* shot);          // counter 0, counter limit 3

void collectHeldItem(cActor* item);
void checkPickup(cActor* item, jint how);
void summonSlotActors(cActor* item);
void notePickup();                           // the pickup notice: game flag and level timer
// A new level actor from a template record; null when the pool is full.
cActor* spawnFromTemplate(jint templateId, jint x, jint y);
void ensureMotionState(cActor* a);
void setTimer(cActor* a, jint v);
void setParam(cActor* a, jint i, jint v);
void countLevelItem();
void removeActor(cActor* a);
void switchToNextHero();

// --- the hero's step -----------------------------------------------------
bool inSegmentRange(cActor* hero);            // inside an active segment object's range
jint timer(cActor* a);
void decrementVariable6();
void setHeroAttackBox(cActor* hero, jint w, jint h, jint centred);
bool keyReleased(jint gameKey);
void readHeroInput();
void setCameraLimitsToView();
jint levelNumber();
bool dialogHoldsHero();                       // a dialog of mode 2 or 3 is open
void syncAttachedChain(cActor* hero);

// --- game ----------------------------------------------------------------
void playSound(jint id);
void requestGameState(jint state);         // with the state's out-transition flag
void setVariable(jint i, jint value);
jint getVariable(jint i);
jint random(jint lo, jint hi);             // inclusive

}  // namespace game::hero

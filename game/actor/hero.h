// Hero-side actor operations (launching, the hero hit, the jump curve,
// state predicates) and carrying, throwing and hero actions (the action
// mask, grab, lift, throw, tumble, launcher, run-speed pickup, mount,
// climb). Hero states themselves belong to the world code.
#pragma once

#include "game/actor/actor.h"

namespace game {

// --- hero operations ---
void setHeroMove(cActor* hero, jint kind, jint param, jint mode, jint duration);
void applyHeroHit(cActor* hero, jint kind, jint direction, bool enter);
void applyHeroJumpVelocity(cActor* hero, bool alt);
jint scaleCurveValue(IntArray* curve, jint i, jint k);
void heroState37(cActor* hero, jint phase);
jint floorMod(jint a, jint b);
jint mapAnimByAngle(cActor* a, jint base);
jint getCarryAnim(cActor* hero, jint dir);
bool updateFacingFromKeys(cActor* hero);
bool isHeroBusy();
bool isStandingClear();
bool tryEnterHeroState2(cActor* hero);
bool tryEnterHeroState7(cActor* hero);
bool isFacingPartner(cActor* a);
bool isHeroSubtype(cActor* a);
bool isHeroHittable();
bool isHeroInputFree();
void faceHero(cActor* a);
jint getDirectionToHero(cActor* a);
void chaseHeroX(cActor* a);
void launchUp(cActor* a);
bool isSubtypeInHitGroup(cActor* a);
jint getSubtypeClass(jint subtype);
void stunByScript(cActor* a, jint k);
void switchToType(cActor* a, jint type, jint anim);
bool isAiState9Or13Or14(cActor* a);
bool tryCatchHero(cActor* a);
// cGame.switchToNextHero: the next filled character slot takes over the
// hero's place (70 % of its scale higher), state flags, scale and timer.
void switchToNextHero();
// Pickup states: hero state 13 (20) with game variable 2 (8) set to
// (v * 16 + 500) / 1000 and copied into markA (markB).
void pickupState13(cActor* hero, jint v);
void pickupState20(cActor* hero, jint v);
void resetHeroStateAfterLanding();
void holdHeroState();
void enterState23(cActor* hero, jint anim, jint param);
jint getHitStrength();
void addPickupCount(jint kind, jint sub);
// cActor.heroStartLevel: the hero back at its respawn point with the
// checkpoint's health, one life spent (also in the save slot's byte 6),
// the input lock down to its top bit, then state 38 (a flight start), 40
// (stage 7) or 0 through the hero's state change.
void heroStartLevel(cActor* hero);
// cGame.stopHeroForScript: the hero stands (state 14 in mode A, else 0
// unless in 38 or 40), the script runner waits (mode 6), input blocked.
void stopHeroForScript();

// --- the hero's behaviour routine ---
// Type 0's update: the actor type table's row 0 (the hero's update, filled
// by behaviour::installBehaviours); without a filled table, the routine
// registered here (installWorld registers the hero's update; the world's
// own tests register none and run the hero's routines by hand).
using HeroUpdateRoutine = void (*)(cActor* hero);
void setHeroUpdateRoutine(HeroUpdateRoutine routine);
HeroUpdateRoutine heroUpdateRoutine();

// --- carrying and actions ---
// The action bits from key tests (pressed and held by game-key mask).
jint heroActionBits(bool (*pressed)(jint), bool (*held)(jint));
// cActor.readHeroInput: builds heroActionMask from the keys; true when an
// input block cleared it.
bool readHeroInput();
bool tryDropCarried(cActor* hero);
void dropCarried(cActor* hero);
void throwActor(cActor* a, jint kind, jint direction, jint tx, jint ty);
void startTumble(cActor* a, jint options);
void carryRider(cActor* launcher, cActor* rider, jint endFrame);
void updateType59(cActor* a);
bool tryMountAction(cActor* hero, bool setFacing, jint facing);
bool dropThroughFloor(cActor* hero);
void setClimbDirection(cActor* hero, jint d);
bool setAnimAndSkip(cActor* a, jint anim, jint n);

}  // namespace game

// The hero's state machine: the handler table, the change protocol, the
// table step, the forced changes, PLAY_ACTION and the let-go routine, and
// every state handler and hero routine the families define.
// Invariant: every change of state goes through setHeroState or one of the
// forced changes, which share one five-step protocol (changeState).
#pragma once

#include "game/world/hero/seam.h"
#include "game/world/hero/state.h"

class cActor;

namespace game::hero {

using Handler = jint (*)(cActor* hero, jint phase);

// The handler of a state; null for 24 and numbers outside 0-40.
Handler handlerFor(jint state);

jint heroStateDispatch(cActor* hero, jint state, jint phase);
jint setHeroState(cActor* hero, jint state);
void tickHeroState(cActor* hero);
void resetHeroState(cActor* hero);
void resetHero(cActor* actor, jint x, jint y);
void enterHeroState14(cActor* hero);
void enterHeroState26(cActor* hero);
void enterHeroState27(cActor* hero);
void enterHeroState28(cActor* hero);
// FALL forced from outside (a pit): the five steps without a camera reset.
void forceHeroFall(cActor* hero);
void applyHeroStateTables(cActor* hero, jint state);
jint heroDropCarried(cActor* hero);
void cancelHeroGrab();
// PLAY_ACTION: store the animation and what follows, then change.
void playAction(cActor* hero, jint anim, jint next);

// Boxes by kind: the hero kinds (0, 242, 50, 215), the small kinds (113,
// 237; a negative width leaves them alone) and subtype 3010 (its type
// parameters 6 and 7); other subtypes keep their box.
void setBoxByKind(cActor* hero, jint heroW, jint heroH, jint smallW, jint smallH);
// Standing and low boxes.
void setStandingBox(cActor* hero);
void setLowBox(cActor* hero);

// Handlers.
jint heroStateIdle(cActor* h, jint phase);
jint heroState1(cActor* h, jint phase);
jint heroState2(cActor* h, jint phase);
jint heroState3(cActor* h, jint phase);
jint heroState4(cActor* h, jint phase);
jint heroState5(cActor* h, jint phase);
jint heroState6(cActor* h, jint phase);
jint heroState7(cActor* h, jint phase);
jint heroState8(cActor* h, jint phase);
jint heroState9(cActor* h, jint phase);
jint heroState10(cActor* h, jint phase);
jint heroState11(cActor* h, jint phase);
jint heroState12(cActor* h, jint phase);
jint heroState13(cActor* h, jint phase);
jint heroState14(cActor* h, jint phase);
jint heroState15(cActor* h, jint phase);
jint heroState16(cActor* h, jint phase);
jint heroState17(cActor* h, jint phase);
jint heroState18(cActor* h, jint phase);
jint heroState19(cActor* h, jint phase);
jint heroState20(cActor* h, jint phase);
jint heroState21(cActor* h, jint phase);
jint heroState22(cActor* h, jint phase);
jint heroState23(cActor* h, jint phase);
jint heroState25(cActor* h, jint phase);
jint heroState26(cActor* h, jint phase);
jint heroState27(cActor* h, jint phase);
jint heroState28(cActor* h, jint phase);
jint heroState29(cActor* h, jint phase);
jint heroState30(cActor* h, jint phase);
jint heroState31(cActor* h, jint phase);
jint heroState32(cActor* h, jint phase);
jint heroState33(cActor* h, jint phase);
jint heroState34(cActor* h, jint phase);
jint heroState35(cActor* h, jint phase);
jint heroState36(cActor* h, jint phase);
jint heroState38(cActor* h, jint phase);
jint heroState39(cActor* h, jint phase);
jint heroState40(cActor* h, jint phase);

// Ground-action tests (1 when they acted).
jint tryHeroAction(cActor* h);
jint tryCrouch(cActor* h);
jint tryStandUp(cActor* h);
// The landing rule of FALL, JUMP and HOP.
void landHero(cActor* h);
void initJumpState(cActor* h);

// Small routines shared by the handlers.
bool hasHeadroom(cActor* h);
jint getJumpDirection(cActor* h, bool useSpeed);
void takeOff(cActor* h, jint direction);
void leapOff(cActor* h, jint direction, bool flag);
void jumpFromMedium(cActor* h);
jint getHeroIdleAnim(cActor* h);
jint getHeroMoveAnim(cActor* h, jint vx);
bool canEnterState16(cActor* h);
bool tryEnterState16(cActor* h);
void applyRunSpeed(cActor* h);
void addForcedPush(cActor* h);
void shiftHero(cActor* h, jint dx, jint dy);
void applyFixedSpeed(cActor* h);

// FLY speeds: base x f >> 8 over 64 bits.
jint flySpeed(jint base, jint f);

void updateSwimEffect(cActor* h);
void setSwimBox(cActor* h);
void heroState21Step(cActor* h, jint kind, jint b, jint subtype);

// Steering.
void steerHero(cActor* h, bool fullSpeed);
bool steerHeroFacing(cActor* h, jint minSpeed, jint maxSpeed, bool withJumpBits);
bool applyHeroWalkInput(cActor* h, jint minSpeed, jint maxSpeed, bool keepOpposite, bool withJumpBits);

// The hero's behaviour routine, once a step.
void updateHero(cActor* h);
void tryClimbTile(cActor* h);

}  // namespace game::hero

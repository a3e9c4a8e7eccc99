// The game-state machine: 36 handler slots (states 1-35), the four state
// operations (set, switch, push, pop) with their messages, the deferred
// requests the run loop applies at the end of a pass, the state stack of up
// to 7 covered states, the question menu state 24 and its menu actions.
//
// Messages: 0 update, 1 paint, 2 enter, 3 exit, 5 resume, 7 in-transition
// frame, 8 out-transition frame, 9 after enter, 10 before exit.
// Invariants: the stack depth stays within 0..7 (a push onto a full stack
// and a pop of an empty one are refused and logged; a pop never makes
// state 0 current); after every message 2 the next paint redraws all.
#pragma once

#include "runtime/object.h"

namespace game {

enum StateMessage : jint {
    kMsgUpdate = 0,
    kMsgPaint = 1,
    kMsgEnter = 2,
    kMsgExit = 3,
    kMsgResume = 5,
    kMsgInTransition = 7,
    kMsgOutTransition = 8,
    kMsgAfterEnter = 9,
    kMsgBeforeExit = 10,
};

enum PendingOp : jint { kOpSet = 0, kOpPush = 1, kOpPop = 2, kOpSwitch = 3 };

constexpr jint kStateSlots = 36;
constexpr jint kStackEntries = 8;

using StateHandler = void (*)(jint message);
// Installs the handler of a state (1-35); null empties the slot.
void setStateHandler(jint state, StateHandler handler);
StateHandler stateHandler(jint state);
// Fills the slots this library owns (1, 11, 3, 24) and leaves the others.
void installCoreStateHandlers();

void gameStateDispatch(jint state, jint message);
void setState(jint s);
void switchState(jint s);
void pushState(jint s);
void popState();
void applyPendingState();
void paintUnderlyingState();
void showMessageState(jint id);

void requestSetState(jint s);
void requestPushState(jint s);
void requestPopState();
void pushQuestionMenu(jint menuId, jint param);
void requestLevelEnd();
void returnToMainMenu();
void startOutTransition();
void startInTransition();

jint getCurrentEntryValue();
bool stateHasInTransition();
bool stateHasOutTransition();
void setInTransitionFlag();
void clearInTransitionFlag();
jint getStateBelow(jint s);
jint getStackTop();

bool transitionFlag64Idle();
void stopTransitionScroll();
void resetTransition();

// Menu state 24 and the menu actions.
void stateMenu(jint message);
void onMenuAction(jint menuId, jint action);
// The id field of cGame.questionMenu (-1 when the menu is missing).
jint questionMenuId();
void setQuestionMenuId(jint id);

// The load request kinds' shared tail: clear, fill and request state 11.
void requestLoad(jint kind, jint stageIndex, jint subMode, jint nextState);

}  // namespace game

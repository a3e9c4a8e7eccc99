// The game-state machine (states.h): handler slots, the four operations,
// deferred requests, the question menu state and its actions.
#include "game/flow/states.h"

#include "game/data/progress.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/loading.h"
#include "game/flow/screens.h"
#include "game/flow/sound.h"
#include "runtime/log.h"

namespace game {

namespace {

StateHandler g_handlers[kStateSlots] = {};

constexpr jint kMaxDepth = kStackEntries - 1;

IntArray* tableEntry(jint state) {
    ObjectArray* t = cg().stateTable;
    return t && t->inBounds(state) ? static_cast<IntArray*>(t->data()[state]) : nullptr;
}

void zeroCounter(jint state) {
    if (IntArray* e = tableEntry(state)) e->data()[0] = 0;
}

jint stackAt(jint depth) { return IntArray::at(cg().stateStack, depth); }

void enter(jint s) {
    gameStateDispatch(s, kMsgEnter);
    gameStateDispatch(s, kMsgAfterEnter);
    zeroCounter(s);
}

void leave(jint s) {
    gameStateDispatch(s, kMsgBeforeExit);
    gameStateDispatch(s, kMsgExit);
}

void request(jint op, jint s) {
    cGameStatics& f = cg();
    f.pendingOp = op;
    f.pendingState = s;
    f.statePending = 1;
    f.outTransition = stateHasOutTransition();
    f.transitionTicks = 0;
}

}  // namespace

void setStateHandler(jint state, StateHandler handler) {
    if (state < 1 || state >= kStateSlots) {
        logPrintf("setStateHandler: state %d outside 1-35", state);
        return;
    }
    g_handlers[state] = handler;
}

StateHandler stateHandler(jint state) { return state >= 1 && state < kStateSlots ? g_handlers[state] : nullptr; }

void gameStateDispatch(jint state, jint message) {
    if (StateHandler h = stateHandler(state)) h(message);
    if (message == kMsgEnter) cg().fullRedraw = 1;
}

void setState(jint s) {
    cGameStatics& g = cg();
    if (g.gameState >= 0) leave(g.gameState);
    // Unwind top-down: each covered state becomes current and leaves once.
    while (g.stateStackDepth > 0) {
        g.gameState = stackAt(g.stateStackDepth);
        g.stateStackDepth -= 1;
        leave(g.gameState);
    }
    g.previousState = g.gameState;
    g.stateStackDepth = 0;
    g.gameState = s;
    g.stateTicks = 0;
    enter(s);
}

void switchState(jint s) {
    cGameStatics& g = cg();
    if (g.gameState >= 0) leave(g.gameState);
    cg().stateTicks = 0;
    g.gameState = s;
    enter(s);
}

void pushState(jint s) {
    cGameStatics& g = cg();
    if (g.stateStackDepth >= kMaxDepth) {
        logPrintf("pushState(%d): the state stack is full (%d covered states)", s, g.stateStackDepth);
        return;
    }
    if (g.stateStackDepth < 0) g.stateStackDepth = 0;
    gameStateDispatch(g.gameState, kMsgBeforeExit);
    g.stateStackDepth += 1;
    const jint d = g.stateStackDepth;
    g.stateStack->data()[d] = g.gameState;
    g.stateStackHudModes->data()[d] = g.hudMode;
    g.stateStackParams->data()[d] = g.stateParam;
    g.gameState = s;
    g.stateTicks = 0;
    enter(s);
}

void popState() {
    cGameStatics& g = cg();
    if (g.stateStackDepth <= 0) {
        logPrintf("popState: no covered state under state %d", g.gameState);
        return;
    }
    const jint old = g.gameState;
    leave(old);
    const jint d = g.stateStackDepth;
    g.gameState = g.stateStack->data()[d];
    gameStateDispatch(g.gameState, kMsgAfterEnter);
    g.hudMode = g.stateStackHudModes->data()[d];
    g.stateParam = g.stateStackParams->data()[d];
    g.stateStackDepth -= 1;
    g.stateTicks = 0;
    g.fullRedraw = 1;
    if (old == 29 && g.gameState == 24 && questionMenuId() == 7) {
        popState();
        resetMenuCursor(g.gameMenu);
    }
}

void applyPendingState() {
    cGameStatics& f = cg();
    if (!f.statePending || f.inTransition || f.outTransition) return;
    if (f.pendingOp == kOpSet) setState(f.pendingState);
    if (f.pendingOp == kOpSwitch) switchState(f.pendingState);
    if (f.pendingOp == kOpPush) pushState(f.pendingState);
    if (f.pendingOp == kOpPop) popState();
    f.inTransition = stateHasInTransition();
    f.transitionTicks = 0;
    f.statePending = 0;
}

void paintUnderlyingState() {
    cGameStatics& g = cg();
    if (g.stateStackDepth <= 0) return;
    const jint below = stackAt(g.stateStackDepth);
    if (below == -1) return;
    Object* menu = currentTextBox();
    const jint cursor = g.menuCursor, ticks = g.transitionTicks;
    gameStateDispatch(below, kMsgPaint);
    if (menu) {
        openTextBox(static_cast<ObjectArray*>(menu));
        g.menuCursor = cursor;
        g.transitionTicks = ticks;
    }
}

void showMessageState(jint id) {
    cg().messageTextId = id;
    switchState(25);
}

void requestSetState(jint s) { request(kOpSet, s); }
void requestPushState(jint s) { request(kOpPush, s); }
void requestPopState() { request(kOpPop, 0); }

namespace {
IntArray* questionMenuIds() {
    ObjectArray* menu = cg().questionMenu;
    if (!menu || menu->length() < 1) return nullptr;
    Object* head = menu->data()[0];
    if (!head || head->classId() != cid::ObjectArray) return nullptr;
    auto* h = static_cast<ObjectArray*>(head);
    if (h->length() < 2 || !h->data()[1] || h->data()[1]->classId() != cid::IntArray) return nullptr;
    auto* ids = static_cast<IntArray*>(h->data()[1]);
    return ids->length() > 9 ? ids : nullptr;
}
}  // namespace

jint questionMenuId() {
    IntArray* ids = questionMenuIds();
    return ids ? ids->data()[9] : -1;
}

void setQuestionMenuId(jint id) {
    if (IntArray* ids = questionMenuIds()) ids->data()[9] = id;
}

void pushQuestionMenu(jint menuId, jint param) {
    setQuestionMenuId(menuId);
    cg().questionMenuParam = param;
    requestPushState(24);
}

void requestLevelEnd() {
    cg().levelFinished = 1;
    cg().bossMaskCount = 17;
    requestSetState(cg().stage + 1 < 11 ? 21 : 18);
}

void requestLoad(jint kind, jint stageIndex, jint subMode, jint nextState) {
    clearLoadRequest();
    IntArray* r = cg().loadRequest;
    if (r && r->length() >= 4) {
        r->data()[0] = kind;
        r->data()[1] = stageIndex;
        r->data()[2] = subMode;
        r->data()[3] = nextState;
    }
    requestSetState(11);
}

void returnToMainMenu() {
    if (IntArray::at(cg().loadRequest, 0) == 5) {
        requestLoad(4, 0, cg().inLevel ? 1 : 0, 6);
    } else {
        requestSetState(6);
    }
}

void startOutTransition() {
    cg().outTransition = stateHasOutTransition();
    cg().transitionTicks = 0;
}

void startInTransition() {
    cg().inTransition = stateHasInTransition();
    cg().transitionTicks = 0;
}

jint getCurrentEntryValue() {
    IntArray* e = tableEntry(cg().gameState);
    return e ? e->data()[0] : 0;
}

namespace {
bool currentFlag(jint value) {
    if (cg().gameState < 0) return false;
    IntArray* e = tableEntry(cg().gameState);
    return e && (e->data()[1] & value) != 0;
}
}  // namespace

bool stateHasInTransition() { return currentFlag(1); }
bool stateHasOutTransition() { return currentFlag(2); }

void setInTransitionFlag() {
    if (IntArray* e = tableEntry(cg().gameState)) e->data()[1] |= 1;
}
void clearInTransitionFlag() {
    if (IntArray* e = tableEntry(cg().gameState)) e->data()[1] &= ~1;
}

jint getStateBelow(jint s) {
    cGameStatics& g = cg();
    const jint depth = g.stateStackDepth;
    if (s == g.gameState) return depth > 0 ? stackAt(depth) : -1;
    for (jint i = 1; i <= depth; ++i)
        if (stackAt(i) == s) return i == 1 ? 0 : stackAt(i - 1);
    return -1;
}

jint getStackTop() { return cg().stateStackDepth > 0 ? stackAt(cg().stateStackDepth) : -1; }

bool transitionFlag64Idle() { return (cg().cameraFlags & 64) != 0 && cg().scrollDelay == -1; }
void stopTransitionScroll() { cg().scrollDelay = -1; }

void resetTransition() {
    cGameStatics& g = cg();
    g.scrollDelay = -1;
    g.scrollStepX = g.scrollStepY = 0;
    g.cameraFlags = 9;
    if (cActor* h = g.hero) h->flags &= ~0x200;
}

void stateMenu(jint message) {
    switch (message) {
    case kMsgEnter:
        openTextBox(cg().questionMenu);
        setMenuCursor(cg().questionMenuParam);
        break;
    case kMsgUpdate: {
        updateListTouch();
        updateMenu(cg().questionMenu);
        const jint action = getMenuActionDelayed();
        if (action != -1) onMenuAction(questionMenuId(), action);
        break;
    }
    case kMsgPaint: {
        const bool over19 = getStateBelow(24) == 19;
        if (over19) {
            cg().inLevel = 0;
            paintUnderlyingState();
        }
        paintScreen(cg().questionMenu);
        if (over19) cg().inLevel = 1;
        break;
    }
    default: break;
    }
}

void onMenuAction(jint menuId, jint action) {
    const bool confirm = action == 13, back = action == 16;
    switch (menuId) {
    case 4:
        if (confirm) requestSetState(16);
        if (back) requestPopState();
        break;
    case 7:
        if (confirm) {
            resetProgress(false);
            saveProgress();
            loadProgress();
            saveProgress();
            requestPushState(29);
        }
        if (back) requestPopState();
        break;
    case 23:
        if (confirm) {
            resetProgress(false);
            saveProgress();
            loadProgress();
            cg().messageTextId = 0x10087;
            switchState(25);
            resetMenuCursor(cg().optionsMenu);
        }
        if (back) requestPopState();
        break;
    case 21:
        if (confirm) {
            restartLevel();
            loadProgress();
        }
        if (back) {
            if (getStateBelow(cg().gameState) == 19) {
                unloadLevel();
                returnToMainMenu();
            } else {
                requestPopState();
            }
        }
        break;
    case 6:
        if (confirm) {
            unloadLevel();
            saveProgress();
            loadProgress();
            returnToMainMenu();
        }
        if (back) requestPopState();
        break;
    case 5:
        if (confirm) {
            cg().soundOn = 1;
        } else if (back) {
            stopAllSoundsAndDisable();
        }
        requestSetState(3);
        break;
    default: break;
    }
}

}  // namespace game

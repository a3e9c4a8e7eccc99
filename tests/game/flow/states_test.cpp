// The state machine: message sequences recorded by test handlers for set,
// switch, push and pop, the deferred requests, the stack bounds, the pop
// from 29 over the question menu, getStateBelow, and the menu actions.
#include "game/flow/states.h"

#include <string>
#include <vector>

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;

std::vector<std::string> g_seen;

template <int S>
void recorder(jint message) {
    g_seen.push_back(std::to_string(S) + ":" + std::to_string(message));
}

template <int... S>
void installRecorders(std::integer_sequence<int, S...>) {
    (setStateHandler(S, &recorder<S>), ...);
}

class StatesTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        installRecorders(std::make_integer_sequence<int, kStateSlots>{});
        setStateHandler(0, nullptr);
        g_seen.clear();
    }
    std::vector<std::string> take() {
        std::vector<std::string> s = g_seen;
        g_seen.clear();
        return s;
    }
    using Seq = std::vector<std::string>;
};

TEST_F(StatesTest, SetFromNothingThenSwitch) {
    setState(6);
    EXPECT_EQ(take(), (Seq{"6:2", "6:9"}));
    EXPECT_EQ(cg().stateStackDepth, 0);
    EXPECT_EQ(cg().previousState, -1);
    switchState(8);
    EXPECT_EQ(take(), (Seq{"6:10", "6:3", "8:2", "8:9"}));
    EXPECT_EQ(cg().previousState, -1);  // switch leaves it
}

TEST_F(StatesTest, PushPopRestoresParamAndHudModeWithoutEnter) {
    setState(14);
    cg().stateParam = 7;
    cg().hudMode = 3;
    cg().stateTicks = 9;
    IntArray* entry14 = static_cast<IntArray*>(cg().stateTable->data()[14]);
    entry14->data()[0] = 40;
    take();
    pushState(20);
    EXPECT_EQ(take(), (Seq{"14:10", "20:2", "20:9"}));
    cg().stateParam = 1;
    cg().hudMode = 0;
    popState();
    EXPECT_EQ(take(), (Seq{"20:10", "20:3", "14:9"}));
    EXPECT_EQ(cg().gameState, 14);
    EXPECT_EQ(cg().stateParam, 7);
    EXPECT_EQ(cg().hudMode, 3);
    EXPECT_EQ(cg().stateTicks, 0);
    EXPECT_EQ(entry14->data()[0], 40);  // its counter keeps running
}

TEST_F(StatesTest, SetFromAPushedStateUnwindsTopDownOnce) {
    setState(14);
    pushState(20);
    pushState(24);
    take();
    setState(6);
    // 24 leaves, then each covered state once as a pop gives it, top first.
    EXPECT_EQ(take(), (Seq{"24:10", "24:3", "20:10", "20:3", "14:10", "14:3", "6:2", "6:9"}));
    EXPECT_EQ(cg().previousState, 14);
    EXPECT_EQ(cg().stateStackDepth, 0);
}

TEST_F(StatesTest, DeferredRequestsLastWinsAndPushAfterSetApplies) {
    requestSetState(6);
    requestSetState(8);
    applyPendingState();
    EXPECT_EQ(cg().gameState, 8);
    EXPECT_FALSE(cg().statePending);
    // A push requested while being entered by a set runs in the same
    // application; a set requested while entered by a push is lost.
    setStateHandler(31, [](jint m) {
        if (m == kMsgEnter) requestPushState(24);
    });
    requestSetState(31);
    applyPendingState();
    EXPECT_EQ(cg().gameState, 24);
    EXPECT_EQ(cg().stateStackDepth, 1);
    setStateHandler(29, [](jint m) {
        if (m == kMsgEnter) requestSetState(6);
    });
    requestPushState(29);
    applyPendingState();
    EXPECT_EQ(cg().gameState, 29);
    EXPECT_FALSE(cg().statePending);
}

TEST_F(StatesTest, RequestsWaitForTheTransition) {
    setState(6);
    cg().inTransition = 1;
    requestSetState(8);
    applyPendingState();
    EXPECT_EQ(cg().gameState, 6);
    cg().inTransition = 0;
    applyPendingState();
    EXPECT_EQ(cg().gameState, 8);
}

TEST_F(StatesTest, StackBoundsAreRefusedAndLogged) {
    setState(1);
    for (jint s = 2; s <= 8; ++s) pushState(s);
    EXPECT_EQ(cg().stateStackDepth, 7);
    take();
    pushState(9);
    EXPECT_EQ(cg().gameState, 8);
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(log.contains("stack is full"));
    for (int i = 0; i < 7; ++i) popState();
    EXPECT_EQ(cg().gameState, 1);
    take();
    popState();
    EXPECT_EQ(cg().gameState, 1);  // never state 0
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(log.contains("no covered state"));
}

TEST_F(StatesTest, PopFrom29OverMenu7ReturnsUnderTheMenu) {
    // The question menu's id lives at element 9 of the int[] at [0][1].
    ObjectArray* head = newObjectArray(cid::Object, 2);
    head->data()[1] = newIntArray(10);
    ObjectArray* menu = newObjectArray(cid::Object, 4);
    menu->data()[0] = head;
    cg().questionMenu = menu;
    setQuestionMenuId(7);
    setState(6);
    pushState(24);
    pushState(29);
    take();
    popState();
    EXPECT_EQ(cg().gameState, 6);
    EXPECT_EQ(cg().stateStackDepth, 0);
    setQuestionMenuId(4);
    pushState(24);
    pushState(29);
    popState();
    EXPECT_EQ(cg().gameState, 24);
}

TEST_F(StatesTest, StateBelow) {
    setState(14);
    pushState(20);
    pushState(24);
    EXPECT_EQ(getStateBelow(24), 20);
    EXPECT_EQ(getStateBelow(20), 14);
    EXPECT_EQ(getStateBelow(14), 0);  // the bottom covered state
    EXPECT_EQ(getStateBelow(3), -1);
    EXPECT_EQ(getStackTop(), 20);
}

TEST_F(StatesTest, MenuActionsRequestTheirStates) {
    struct Case {
        jint menu, action, pendingOp, pendingState;
    };
    const Case cases[] = {{4, 13, kOpSet, 16}, {4, 16, kOpPop, 0},  {5, 13, kOpSet, 3},
                          {5, 16, kOpSet, 3},  {5, 20, kOpSet, 3},  {6, 16, kOpPop, 0}};
    for (const Case& c : cases) {
        cg().statePending = 0;
        onMenuAction(c.menu, c.action);
        EXPECT_TRUE(cg().statePending) << c.menu << "/" << c.action;
        EXPECT_EQ(cg().pendingOp, c.pendingOp) << c.menu << "/" << c.action;
        EXPECT_EQ(cg().pendingState, c.pendingState) << c.menu << "/" << c.action;
    }
    cg().statePending = 0;
    onMenuAction(99, 13);
    EXPECT_FALSE(cg().statePending);
    cg().soundOn = 1;
    onMenuAction(5, 16);
    EXPECT_FALSE(cg().soundOn);
    onMenuAction(5, 13);
    EXPECT_TRUE(cg().soundOn);
}

TEST_F(StatesTest, EnterMarksFullRedrawAndInTransitionFlagStartsTransition) {
    setState(6);
    setInTransitionFlag();
    cg().fullRedraw = 0;
    requestSetState(6);
    applyPendingState();
    EXPECT_TRUE(cg().fullRedraw);
    EXPECT_TRUE(cg().inTransition);
    clearInTransitionFlag();
    EXPECT_FALSE(stateHasInTransition());
}

}  // namespace

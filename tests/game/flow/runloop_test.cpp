// The run loop and the life cycle, driven pass by pass with a fake clock:
// pacing on the 62/41 ms grid, idle while paused, no burst after resume,
// the suspend serviced once on the game thread with the music id kept, one
// canvas for two starts, callbacks from another thread through 10,000
// passes, and events between a step and its fold kept for the next step.
#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;

jint g_updates[kStateSlots];

template <int S>
void counter(jint message) {
    if (message == kMsgUpdate) g_updates[S] += 1;
}

class RunLoopTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        for (jint& u : g_updates) u = 0;
        setStateHandler(1, &counter<1>);
        setStateHandler(3, &counter<3>);
        setStateHandler(11, &counter<11>);
        setStateHandler(14, &counter<14>);
        clock.set(100000);
        midlet = newObject<RavitBHSG>();
        midlet->startApp();
        cGame::runStart();
    }
    // One pass after moving the clock by `advance` ms; answers whether a
    // logic step ran.
    bool pass(jlong advance) {
        clock.advance(advance);
        const jint before = cGame::stepsRun();
        EXPECT_TRUE(cGame::runPass());
        return cGame::stepsRun() != before;
    }
    RavitBHSG* midlet = nullptr;
};

TEST_F(RunLoopTest, FirstPassEntersState1) {
    EXPECT_FALSE(cg().paused.load());
    EXPECT_EQ(cg().gameState, -1);
    pass(50);
    EXPECT_EQ(cg().gameState, 1);
    EXPECT_EQ(cg().stateStackDepth, 0);
}

TEST_F(RunLoopTest, PacingTable) {
    struct Case {
        const char* name;
        jint state;
        jlong start;     // clock at the first pass
        jlong gap;       // ms between passes
        int passes;
        int steps;
    };
    const Case cases[] = {
        {"state 14, 20 ms apart: a step every 62 ms", 14, 99200, 20, 31, 10},
        {"state 3, 20 ms apart: a step every 41 ms", 3, 98400, 20, 41, 20},
        {"state 11 steps every pass", 11, 100000, 5, 30, 30},
        {"a 200 ms pass is one step", 3, 100000, 200, 5, 5},
    };
    pass(50);  // enters state 1, requested at start
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        switchState(c.state);
        clock.set(c.start);
        cg().lastTick = c.start;
        int steps = 0;
        for (int i = 0; i < c.passes; ++i) steps += pass(c.gap);
        EXPECT_EQ(steps, c.steps);
    }
}

TEST_F(RunLoopTest, BackwardClockGivesNoStep) {
    pass(50);
    switchState(3);
    clock.set(200000);
    cg().lastTick = 200000;
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(pass(-30));
    EXPECT_TRUE(pass(1000));
}

TEST_F(RunLoopTest, NoStepPassServicesSoundAndAdvancesTheClock) {
    pass(50);
    switchState(3);
    KTLibPlayer::allocateChannelTables(kSoundIds);
    flowtest::useFakePlayers();
    ByteArray* data = newByteArray(4);
    data->data()[0] = 12;
    KTLibPlayer::loadSound(data, 0, 12, false);
    cg().soundOn = 1;
    clock.set(300000);
    cg().lastTick = 300000;
    const jint repaints = cGame::repaintsRun();
    const jlong gameClock = cg().gameClock;
    keyPressed('5');
    playSound(12);
    EXPECT_FALSE(pass(1));
    EXPECT_EQ(cGame::repaintsRun(), repaints);
    EXPECT_TRUE(isKeyPressed(0x20));  // not folded
    EXPECT_EQ(cg().gameClock, gameClock + 62);
    EXPECT_EQ(KTLibPlayer::getChannelSound(1), 12);  // serviced
}

TEST_F(RunLoopTest, IdleWhilePausedAndNoBurstAfterResume) {
    pass(50);
    switchState(3);
    midlet->pauseApp();
    EXPECT_TRUE(cg().paused.load());
    const jint steps = cGame::stepsRun();
    const jlong gameClock = cg().gameClock;
    for (int i = 0; i < 20; ++i) pass(500);
    EXPECT_EQ(cGame::stepsRun(), steps);
    EXPECT_EQ(cg().gameClock, gameClock);
    clock.advance(60000);
    midlet->startApp();  // a later start resumes without a second canvas
    EXPECT_EQ(cGame::stepsRun(), steps);
    int burst = 0;
    for (int i = 0; i < 3; ++i) burst += pass(1);
    EXPECT_LE(burst, 1);
}

TEST_F(RunLoopTest, SecondStartKeepsTheCanvas) {
    cGame* canvas = cg().instance;
    ASSERT_NE(canvas, nullptr);
    midlet->pauseApp();
    midlet->startApp();
    EXPECT_EQ(cg().instance, canvas);
    EXPECT_FALSE(cg().paused.load());
    EXPECT_TRUE(cg().resumed.load());
}

TEST_F(RunLoopTest, SuspendStopsChannelsOnTheGameThreadOnceAndKeepsTheMusic) {
    pass(50);
    KTLibPlayer::allocateChannelTables(kSoundIds);
    flowtest::useFakePlayers();
    ByteArray* data = newByteArray(4);
    KTLibPlayer::loadSound(data, 0, 0, false);
    cg().soundOn = 1;
    playSound(0);
    pass(1);
    ASSERT_EQ(cg().currentMusic, 0);
    ASSERT_TRUE(isMusicPlaying());
    flowtest::clearPlayerEvents();
    cg().instance->hideNotify();
    EXPECT_TRUE(flowtest::playerEvents().empty());  // nothing on the calling thread
    cg().instance->suspend();                        // already paused: nothing more
    pass(1);
    pass(1);
    EXPECT_EQ(cg().suspendsServiced.load(), 1);
    EXPECT_EQ(flowtest::playerEvents(), (std::vector<std::string>{"stop 0"}));
    EXPECT_EQ(cg().currentMusic, 0);
    EXPECT_TRUE(cg().musicOnAtSuspend);
    EXPECT_FALSE(isMusicPlaying());
}

TEST_F(RunLoopTest, DestroyFromTheMainThreadTouchesNoRing) {
    KTLibPlayer::allocateChannelTables(kSoundIds);
    cg().currentMusic = 3;
    midlet->destroyApp(1);
    EXPECT_EQ(ktl().requestCount->data()[0], 0);
    EXPECT_EQ(ktl().requestCount->data()[1], 0);
    EXPECT_EQ(cg().currentMusic, -1);
}

TEST_F(RunLoopTest, PendingExceptionIsDroppedOtherThrowablesEndTheLoop) {
    pass(50);
    static jint thrown = 0;
    thrown = cid::java_lang_IllegalStateException;
    setStateHandler(3, [](jint m) {
        if (m == kMsgUpdate) rt::throwNewDefault(static_cast<uint16_t>(thrown));
    });
    switchState(3);
    EXPECT_TRUE(pass(100));
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_TRUE(pass(100));
    thrown = cid::java_lang_Error;
    clock.advance(100);
    EXPECT_FALSE(cGame::runPass());
    Application::clearPendingException();
}

// Events that reach the canvas while the game thread is between a step's
// reads and the fold after it (here: in the sleep that follows the step)
// are seen by the next step, whole: a key press, and a tap on the corner in
// play on a step that ends the touch frame.
struct StepView {
    bool keyPressed = false;
    jint touchX = -1, touchY = -1;
    bool released = false;
};
std::vector<StepView> g_views;
std::function<void()> g_afterStep;

void watcher(jint message) {
    if (message != kMsgUpdate) return;
    std::lock_guard<std::recursive_mutex> guard(inputLock());
    g_views.push_back({isKeyPressed(0x20), cg().touchX, cg().touchY, cg().touchActive != 0});
}

class AfterStepClock : public GameClock {
public:
    explicit AfterStepClock(flowtest::FakeClock& base) : m_base(base) {}
    jlong now() override { return m_base.now(); }
    void sleep(jint ms) override {
        // The first sleep after a step that saw no input delivers the events.
        if (g_afterStep && !g_views.empty()) std::exchange(g_afterStep, nullptr)();
        m_base.sleep(ms);
    }

private:
    flowtest::FakeClock& m_base;
};

TEST_F(RunLoopTest, EventsBetweenAStepAndItsFoldReachTheNextStep) {
    struct Case {
        const char* name;
        jint state;
        std::function<void(cGame*)> deliver;
        std::function<void(const StepView&)> check;
    };
    const Case cases[] = {
        {"a key press", 3, [](cGame* c) { c->keyPressed('5'); },
         [](const StepView& v) { EXPECT_TRUE(v.keyPressed); }},
        {"a tap in play", 14,
         [](cGame* c) {
             c->pointerPressed(29, 760);
             c->pointerReleased(29, 760);
         },
         [](const StepView& v) {
             EXPECT_EQ(v.touchX, 29);
             EXPECT_EQ(v.touchY, 760);
             EXPECT_TRUE(v.released);
         }},
    };
    pass(50);
    AfterStepClock afterStep(clock);
    setGameClock(&afterStep);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setStateHandler(c.state, &watcher);
        switchState(c.state);
        cg().touchFrameDelay = 0;  // this step ends the touch frame
        g_views.clear();
        cGame* canvas = cg().instance;
        g_afterStep = [&] { c.deliver(canvas); };
        EXPECT_TRUE(pass(1000));
        EXPECT_EQ(g_afterStep, nullptr) << "the events were not delivered";
        ASSERT_EQ(g_views.size(), 1u);
        EXPECT_FALSE(g_views[0].keyPressed);
        EXPECT_FALSE(g_views[0].released);
        EXPECT_TRUE(pass(1000));
        ASSERT_EQ(g_views.size(), 2u);
        c.check(g_views[1]);
    }
    setGameClock(&clock);
}

TEST_F(RunLoopTest, State16EndsTheLoop) {
    pass(50);
    switchState(16);
    EXPECT_FALSE(cGame::runPass());
}

TEST_F(RunLoopTest, CallbacksFromAnotherThreadThrough10000Passes) {
    pass(50);
    switchState(3);
    KTLibPlayer::allocateChannelTables(kSoundIds);
    std::atomic<bool> done{false};
    std::atomic<int> suspends{0};
    cGame* canvas = cg().instance;
    std::thread other([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int i = 0;
        while (!done && std::chrono::steady_clock::now() < deadline) {
            ++i;
            canvas->keyPressed('0' + i % 10);
            canvas->pointerPressed(i % 480, i % 800);
            canvas->pointerDragged(i % 480 + 7, i % 800);
            canvas->pointerReleased(i % 480, i % 800);
            canvas->keyReleased('0' + i % 10);
            if (i % 50 == 0) {
                const jint before = cg().suspendsServiced.load();
                canvas->hideNotify();
                suspends += 1;
                while (!done && cg().suspendsServiced.load() == before) std::this_thread::yield();
                canvas->showNotify();
            }
        }
    });
    for (int i = 0; i < 10000; ++i) cGame::runPass(), clock.advance(20);
    done = true;
    other.join();
    // Every suspend that was serviced stopped the channels once.
    EXPECT_GE(cg().suspendsServiced.load(), suspends.load() - 1);
    EXPECT_LE(cg().suspendsServiced.load(), suspends.load());
}

}  // namespace

// The MIDlet and the canvas (canvas.h): start-up, life cycle, the run loop
// and paint. The main thread's callbacks only record; the game thread does
// the work, pass by pass, paced by the clock interface.
#include "game/flow/canvas.h"

#include "game/data/pack.h"
#include "game/data/statics.h"
#include "game/showcase/showcase.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/screens.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "javalib/random.h"
#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/system.h"

namespace game {

jlong GameClock::now() { return java_lang_System::currentTimeMillis(); }
void GameClock::sleep(jint ms) { java_lang_Thread::sleep(ms); }

namespace {
GameClock g_systemClock;
GameClock* g_clock = &g_systemClock;
bool g_startsThread = true;
jint g_steps = 0;
jint g_repaints = 0;
// The last logic step ran while the screen was coming in.
bool g_stepCameIn = false;

constexpr jint kStepGameplay = 62;
constexpr jint kStepOther = 41;
constexpr jint kGameplayState = 14;
constexpr jint kLoadingState = 11;
constexpr jint kEndState = 16;

// A pending throwable after a sleep: a java_lang_Exception is dropped
// (true: go on); any other ends the loop (false).
bool settleException() {
    if (!Application::pendingException() || catchException()) return true;
    Application::logStackTrace();
    logPrintf("cGame.run: a throwable ends the game thread");
    return false;
}

bool sleepOne() {
    gameClock().sleep(1);
    return settleException();
}

// A suspend recorded by the main thread: the channels stop here, on the
// game thread, once per suspend, and the music id survives the stop.
void serviceSuspend() {
    cGameStatics& f = cg();
    if (f.suspendRequest.exchange(0) == 0) return;
    const jint music = cg().currentMusic;
    f.musicOnAtSuspend = isMusicPlaying();
    KTLibPlayer::stopAllChannels();
    cg().currentMusic = music;
    f.suspendsServiced.fetch_add(1);
}

void resumeWork() {
    cGameStatics& f = cg();
    const jint state = cg().gameState;
    if (f.dialogMode == 3 && state != 23 && state != 31) f.dialogScrollBase = 400;
    f.dialogRedraw = 1;
    if (state == 24) setMenuCursor(1);
    cg().menuAnimTicks = 10;
    if (cg().panelOffset == 0) gameStateDispatch(state, kMsgResume);
    f.resumed = 0;
}

void tickTimers() {
    ObjectArray* timers = cg().timers;
    for (jint i = 0; timers && i < timers->length(); ++i) {
        auto* t = static_cast<IntArray*>(timers->data()[i]);
        if (t && t->length() >= 2 && t->data()[0] > 0) t->data()[1] += 1;
    }
}

void logicStep() {
    cGameStatics& f = cg();
    const jint state = cg().gameState;
    const jlong t = gameClock().now();
    f.stepDelta = java::l2i(t - f.stepTime);
    f.stepTime = t;
    const bool comingIn = f.inTransition;
    if (f.inTransition) {
        gameStateDispatch(state, kMsgInTransition);
        if (cg().inTransition) cg().transitionTicks += 1;
    } else if (f.outTransition) {
        gameStateDispatch(state, kMsgOutTransition);
        if (cg().outTransition) cg().transitionTicks += 1;
    } else {
        gameStateDispatch(state, kMsgUpdate);
        cg().stateTicks += 1;
    }
    const jint now = cg().gameState;
    if (now >= 0) {
        ObjectArray* table = cg().stateTable;
        if (table && table->inBounds(now))
            if (auto* e = static_cast<IntArray*>(table->data()[now])) e->data()[0] += 1;
        tickTimers();
    }
    // While a screen comes in it takes no input: a press made then is kept
    // for its first update instead of being folded away (and a touch's
    // frame stays open, below).
    g_stepCameIn = comingIn;
    if (comingIn)
        refoldKeys();
    else
        updateKeys();
    g_steps += 1;
}

// Showing the canvas again: pacing reference, the resume flags, keys.
void showWork(cGame* canvas) {
    cGameStatics& f = cg();
    f.lastTick = gameClock().now();
    // Events from before the show are older than its resets below.
    applyQueuedInput();
    if (f.paused) {
        f.resumed = 1;
        cg().variableChangedMask = -1;
        if (!f.shown && f.midlet) javax_microedition_lcdui_Display::getDisplay(f.midlet)->setCurrent(canvas);
        f.shown = 1;
        {
            std::lock_guard<std::recursive_mutex> guard(inputLock());
            cg().touchX = -1;
        }
        f.fullRedraw = 1;
        f.paused = 0;
    }
    resetKeys();
}

}  // namespace

GameClock& gameClock() { return *g_clock; }
void setGameClock(GameClock* clock) { g_clock = clock ? clock : &g_systemClock; }

}  // namespace game

using namespace game;

cGame::cGame() : javax_microedition_lcdui_Canvas(cid::cGame) { discardQueuedInput(); }

void* cGame::getInterface(jint id) {
    return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
}

void cGame::sizeChanged(jint w, jint h) {
    cg().canvasWidth = w;
    cg().canvasHeight = h;
}

// The callbacks' events wait for the next logic step (input.h).
void cGame::keyPressed(jint code) { queueInputEvent(InputEventKind::KeyPressed, code); }
void cGame::keyReleased(jint code) { queueInputEvent(InputEventKind::KeyReleased, code); }
void cGame::pointerPressed(jint x, jint y) { queueInputEvent(InputEventKind::PointerPressed, x, y); }
void cGame::pointerReleased(jint x, jint y) { queueInputEvent(InputEventKind::PointerReleased, x, y); }
void cGame::pointerDragged(jint x, jint y) { queueInputEvent(InputEventKind::PointerDragged, x, y); }

void cGame::showNotify() { showWork(this); }

// The resume work; the repaint comes with the game thread's next step.
void cGame::resume() { showWork(this); }

void cGame::suspend() {
    cGameStatics& f = cg();
    if (f.paused) return;
    {
        std::lock_guard<std::recursive_mutex> guard(inputLock());
        f.suspendedBySystem = 1;
    }
    f.suspendRequest = 1;
    f.paused = 1;
}

void cGame::hideNotify() {
    if (cg().instance) cg().instance->suspend();
    cg().paused = 1;
}

void cGame::onDestroy() {
    // On the game thread (state 16) the stop commands are queued and
    // serviced; from the main thread (game thread held, sound server going
    // away) no ring is touched.
    if (cg().gameThread && java_lang_Thread::currentThread() == cg().gameThread) {
        queueStop(0);
        queueStop(1);
        KTLibPlayer::update();
    }
    cg().currentMusic = -1;
}

void cGame::initialize(cGame* canvas, javax_microedition_midlet_MIDlet* midlet,
                       javax_microedition_lcdui_Display* display, bool startThread) {
    cGameStatics& f = cg();
    f.display = display;
    if (display) display->setCurrent(canvas);
    createKeyMaps();
    buildKeyMaps();
    cg().instance = canvas;
    cg().paused = 1;
    IntArray* requests = IntArray::fill(newIntArray(4), {-1, -1, -1, -1});
    cg().type10Requests = requests;
    cg().altMode = 1;
    cg().riseScroll = 0;
    cg().riseScrollStep = 0;
    cg().vibrationOn = 1;
    Showcase::setup(midlet, nullptr, 800, 480, nullptr);
    cg().pendingOp = kOpSet;
    cg().pendingState = 1;
    cg().statePending = 1;
    cg().outTransition = stateHasOutTransition();
    cg().transitionTicks = 0;
    if (!startThread) return;
    java_lang_Thread* thread = newObject<java_lang_Thread>(canvas);
    cg().gameThread = thread;
    if (java_lang_Thread* self = java_lang_Thread::currentThread())
        java_lang_Thread::setPriority(thread, self->getPriority());
    java_lang_Thread::start(thread);
}

void cGame::runStart() {
    cGameStatics& f = cg();
    const jlong now = gameClock().now();
    f.lastTick = now;
    if (!f.randomGenerator) {
        java_util_Random* r = newObject<java_util_Random>();
        cg().randomGenerator = r;
    }
    java_util_Random* r = cg().randomGenerator;
    Object::monitorEnter(r);
    r->setSeed(now);
    Object::monitorExit(r);
}

bool cGame::runPass() {
    cGameStatics& g = cg();
    if (g.gameState == kEndState) {
        if (g.midlet) static_cast<javax_microedition_midlet_MIDlet*>(g.midlet)->destroyApp(1);
        return false;
    }
    if (!sleepOne()) return false;
    serviceSuspend();
    if (g.paused) return true;
    if (g.resumed) resumeWork();

    const jlong now = gameClock().now();
    const jlong period = g.gameState == kGameplayState ? kStepGameplay : kStepOther;
    jlong steps = now / period - g.lastTick.load() / period;
    if (steps > 4) steps = 4;
    if (steps > 1) steps = 1;
    if (g.gameState == kLoadingState) steps = 1;
    g.lastTick = now;
    const bool step = steps == 1;
    if (step) {
        applyQueuedInput();
        logicStep();
    }
    KTLibPlayer::update();
    if (!sleepOne()) return false;
    if (step) {
        refoldKeys();
        if (g.touchFrameDelay <= 0 && !g_stepCameIn) {
            endTouchFrame();
            g.touchFrameDelay = 2;
        }
        if (g.instance) {
            javax_microedition_lcdui_Canvas::repaint(g.instance);
            javax_microedition_lcdui_Canvas::serviceRepaints(g.instance);
        }
        g_repaints += 1;
    }
    if (g.gameState != kGameplayState)
        g.touchFrameDelay = 0;
    else
        g.touchFrameDelay -= 1;
    const bool pending = g.statePending;
    applyPendingState();
    // A screen that comes in keeps its touch frame open (above); a touch
    // released on the screen before, which the frame ends of the coming in
    // would have used up, is dropped now, so it cannot act on the new one.
    if (pending && !cg().statePending && cg().inTransition) dropReleasedTouch();
    g.gameClock += 62;
    return true;
}

void cGame::run() {
    runStart();
    while (runPass()) {
    }
}

jint cGame::stepsRun() { return g_steps; }
jint cGame::repaintsRun() { return g_repaints; }

void cGame::paint(javax_microedition_lcdui_Graphics* g) {
    cGameStatics& f = cg();
    f.graphics = g;
    f.screenGraphics = g;
    gameStateDispatch(cg().gameState, kMsgPaint);
    gameClock().sleep(1);
    if (Application::pendingException()) {
        Application::logStackTrace();
        catchException();
    }
}

RavitBHSG::RavitBHSG() : javax_microedition_midlet_MIDlet(cid::RavitBHSG) { cg().midlet = this; }

void RavitBHSG::setStartsThread(bool on) { g_startsThread = on; }

void RavitBHSG::startApp() {
    cGameStatics& f = cg();
    if (f.instance) {
        javax_microedition_lcdui_Display::getDisplay(this)->setCurrent(f.instance);
        f.shown = 1;
        f.instance->resume();
        return;
    }
    cGame* canvas = newObject<cGame>();
    cGame::initialize(canvas, this, nullptr, g_startsThread);
    cg().instance = canvas;
    javax_microedition_lcdui_Display::getDisplay(this)->setCurrent(canvas);
    cg().shown = 1;
    canvas->showNotify();
}

void RavitBHSG::pauseApp() {
    if (cg().instance) cg().instance->suspend();
}

void RavitBHSG::destroyApp(jboolean) {
    if (cg().instance) cg().instance->onDestroy();
    javax_microedition_midlet_MIDlet::notifyDestroyed();
}

// The game's MIDlet (RavitBHSG) and canvas (cGame: Canvas + Runnable): start
// and life cycle, the game thread's run loop with its clock-grid pacing,
// and paint. Pacing reads a small clock-and-sleep interface so tests drive
// the loop pass by pass with a fake clock.
//
// Threads: startApp, pauseApp, destroyApp and the canvas callbacks run on
// the runtime's main thread and only record (atomics, the input lock); the
// game thread does the work at its next pass, also while paused (a suspend
// request stops the sound channels there, once per suspend).
#pragma once

#include "display/lcdui/display.h"
#include "io/midlet.h"
#include "runtime/javathread.h"

namespace game {

class GameClock {
public:
    virtual ~GameClock() = default;
    virtual jlong now();
    // One pacing sleep (1 ms in the real clock); a safe point.
    virtual void sleep(jint ms);
};
GameClock& gameClock();
// Installs a clock; null restores the system one. Must outlive its use.
void setGameClock(GameClock* clock);

}  // namespace game

class cGame : public javax_microedition_lcdui_Canvas, public java_lang_Runnable {
public:
    cGame();

    void* getInterface(jint id) override;

    void sizeChanged(jint w, jint h) override;
    void keyPressed(jint code) override;
    void keyReleased(jint code) override;
    void pointerPressed(jint x, jint y) override;
    void pointerReleased(jint x, jint y) override;
    void pointerDragged(jint x, jint y) override;
    void showNotify() override;
    void hideNotify() override;
    void paint(javax_microedition_lcdui_Graphics* g) override;
    virtual void resume();
    virtual void suspend();
    virtual void onDestroy();
    void run() override;

    // One-time set-up: key maps, showcase, first state request, game thread
    // (startThread false: the caller drives the loop itself).
    static void initialize(cGame* canvas, javax_microedition_midlet_MIDlet* midlet,
                           javax_microedition_lcdui_Display* display, bool startThread = true);
    // The run loop's start (pacing reference, random generator) and one
    // pass; runPass answers false when the loop has ended.
    static void runStart();
    static bool runPass();
    // Counts for diagnostics and tests.
    static jint stepsRun();
    static jint repaintsRun();
};

class RavitBHSG : public javax_microedition_midlet_MIDlet {
public:
    RavitBHSG();
    void startApp() override;
    void pauseApp() override;
    void destroyApp(jboolean unconditional) override;

    // When false, the first startApp does not start the game thread (tests
    // drive cGame::runPass themselves).
    static void setStartsThread(bool on);
};

namespace game {
// Registers the game's statics and makes RavitBHSG the MIDlet the shell
// starts.
void registerGameMidlet();
}  // namespace game

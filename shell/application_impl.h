// ApplicationImpl: the one global object of the shell around the runtime's
// Application. It opens the screen driver, creates the application (heaps,
// statics, screen image, the MIDlet), runs the main loop on the window
// thread, paints and presents frames for the game thread, drives the MIDlet
// through pause and resume, and tears everything down once.
//
// Invariants:
//  - init, run, tick and shutdown run on the window thread, which is Java
//    thread 0; repaint runs on the game thread.
//  - The flags (running, window active, paint suspended) are shared between
//    the two threads without a lock.
//  - The tear-down stops every other Java thread first and keeps it stopped:
//    the MIDlet's destroyApp and the final collection run while it stands,
//    and nothing wakes it before the process ends. The monitor table and the
//    thread table go last, with the application itself.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/application.h"

class ScreenDriver;
class javax_microedition_lcdui_Canvas;
class javax_microedition_midlet_MIDlet;

// The screen every displayable covers: the back buffer, top-down RGB565.
inline constexpr jint kScreenWidth = 480;
inline constexpr jint kScreenHeight = 800;

// Makes the application's MIDlet (allocates it and runs its constructor);
// the program installs the game's before WinMain.
using MidletCreator = javax_microedition_midlet_MIDlet* (*)();
void setMidletCreator(MidletCreator creator);

// Runs each present of a game frame; the program installs one that holds
// the lock other screen writers (the HTTP wait animation) share. Without one
// the present runs as it is.
using PresentWrapper = void (*)(void (*present)(void* context), void* context);
void setPresentWrapper(PresentWrapper wrapper);

class ApplicationImpl {
public:
    static ApplicationImpl& instance();
    // The running application, or null.
    static Application* currentContext();

    // Chooses, creates and opens the screen driver on the main window:
    // "GDI" (software path), "DDRAW" (texture path), "AUTO" (texture path,
    // else software). 1 on success, 0 on failure or an unknown type.
    int openDisplay(std::string_view type);
    // Creates the application and starts the MIDlet; 1 (no failing path).
    int init();
    // The main loop until the running flag is cleared, then the tear-down.
    void run();
    // One main-loop pass with the given sleep (no second, Java sleep).
    void tick(int sleepMs);
    // The tear-down alone; a second call releases nothing twice.
    void shutdown();

    void volumeUp();
    void volumeDown();

    // ---- the application's operations ----
    void startApp();
    void pause();
    void resume();
    // Paints the current displayable into the back buffer (game thread).
    void paint();
    // Paints and presents when the window is active, in front and painting
    // is not suspended; otherwise the frame is dropped.
    void repaint();
    void keyPressed(jint keyCode);
    void keyReleased(jint keyCode);

    Application* application() const { return m_application; }
    javax_microedition_midlet_MIDlet* midlet() const;
    // The current displayable when it is a Canvas, else null.
    javax_microedition_lcdui_Canvas* currentCanvas() const;
    ScreenDriver* driver() const { return m_driver.get(); }
    uint16_t* backBuffer() const { return m_backBuffer; }
    bool isPaused() const;

    // Back to the state of a fresh process (a test may run the program
    // several times in one process).
    void reset();

    std::atomic<bool> paintSuspended{false};
    std::atomic<bool> windowActive{false};
    std::atomic<bool> running{true};
    std::atomic<uint64_t> loopPasses{0};  // main-loop passes begun
    bool platformIsPocketPC = false;
    void* mainStackTop = nullptr;  // highest address of the window thread's stack
    uint32_t volume = 0;
    uint32_t startTick = 0;
    // What init gives the runtime (heap sizes; tests make them smaller).
    Application::Config config;

private:
    ApplicationImpl() = default;
    void readPowerNotifications();
    void pumpMessages();
    int checkOrientation();
    void paintWaitScreen();
    void sleepServing(int milliseconds);
    void destroyMidlet();
    void platformRequest(const std::string& url);

    Application* m_application = nullptr;
    std::unique_ptr<ScreenDriver> m_driver;
    uint16_t* m_backBuffer = nullptr;
    bool m_powerRead = false;     // a power notice was read
    bool m_lastPowerOn = false;   // the last one read was "on"
};

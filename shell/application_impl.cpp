// Application set-up, the main loop with its power and orientation watch,
// painting and presenting, pause and resume, the tear-down.
#include "shell/application_impl.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <vector>

#include "display/graphics.h"
#include "display/lcdui/lcdui.h"
#include "io/midlet.h"
#include "io/resource.h"
#include "io/statics.h"
#include "javalib/lang.h"
#include "javalib/utilstatics.h"
#include "net/wait_animation.h"
#include "platform/power/power.h"
#include "platform/window/window.h"
#include "runtime/javathread.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/statics.h"
#include "runtime/system.h"
#include "runtime/threads.h"
#include "shell/input.h"
#include "shell/launcher_texts.h"
#include "shell/screen_driver.h"
#include "shell/shell.h"
#include "shell/window_proc.h"

#include "platform/audio/wave_out.h"

namespace {

std::atomic<MidletCreator> g_midletCreator{nullptr};

void repaintHook(javax_microedition_lcdui_Canvas*) { ApplicationImpl::instance().repaint(); }

// The static fields of every library class the runtime hosts; the game's
// are registered by the program before WinMain.
void registerLibraryStatics() {
    registerLangStatics();
    registerUtilStatics();
    bramble::io::registerStatics();
    lcdui::registerStatics();
}

}  // namespace

void setMidletCreator(MidletCreator creator) { g_midletCreator.store(creator); }

ApplicationImpl& ApplicationImpl::instance() {
    static ApplicationImpl* impl = new ApplicationImpl();  // lives to the end of the process
    return *impl;
}

Application* ApplicationImpl::currentContext() { return instance().m_application; }

void ApplicationImpl::reset() {
    paintSuspended = false;
    windowActive = false;
    running = true;
    loopPasses = 0;
    platformIsPocketPC = false;
    mainStackTop = nullptr;
    volume = 0;
    startTick = 0;
    m_powerRead = false;
    m_lastPowerOn = false;
}

javax_microedition_midlet_MIDlet* ApplicationImpl::midlet() const {
    return m_application ? static_cast<javax_microedition_midlet_MIDlet*>(m_application->root(Application::kMidlet))
                         : nullptr;
}

javax_microedition_lcdui_Canvas* ApplicationImpl::currentCanvas() const {
    if (!m_application) return nullptr;
    Object* current = m_application->root(Application::kCurrentDisplayable);
    if (!current || !instanceOf(current, cid::javax_microedition_lcdui_Canvas)) return nullptr;
    return static_cast<javax_microedition_lcdui_Canvas*>(current);
}

bool ApplicationImpl::isPaused() const { return m_application && m_application->paused; }

// ---- screen driver ----

int ApplicationImpl::openDisplay(std::string_view type) {
    platform::Window* window = shellState().mainWindow.get();
    const platform::ScreenSize screen = platform::screenSize();
    auto make = [&](std::string_view kind) {
        return makeScreenDriver(kind, screen.width, screen.height, kScreenWidth, kScreenHeight);
    };
    auto openAs = [&](std::string_view kind) {
        m_driver = make(kind);
        return m_driver ? m_driver->open(window) : 0;
    };
    if (type == "DDRAW") {
        const int result = openAs("DDRAW");
        logPrintf(result == 1 ? "openDisplay(DDRAW): Using DDRAW display type."
                              : "openDisplay(DDRAW): Could not create a DDRAW display type.");
        return result;
    }
    if (type == "GDI") {
        const int result = openAs("GDI");
        logPrintf(result == 1 ? "\nApplicationImpl::openDisplay(GDI): Using GDI display type.\n"
                              : "\nApplicationImpl::openDisplay(GDI): Could not create a GDI display type.\n");
        return result;
    }
    if (type == "AUTO") {
        int result = openAs("DDRAW");
        if (result == 1) {
            logPrintf("\nApplicationImpl::openDisplay(AUTO): Using DDRAW display type.\n");
            return 1;
        }
        logPrintf("\nApplicationImpl::openDisplay(AUTO): Could not create a DDRAW display type.\n");
        if (result != 0) return result;
        m_driver.reset();
        result = openAs("GDI");
        logPrintf(result == 1 ? "\nApplicationImpl::openDisplay(AUTO): Using GDI display type.\n"
                              : "\nApplicationImpl::openDisplay(AUTO): Could not create a GDI display type.\n");
        return result;
    }
    logPrintf("\nApplicationImpl::openDisplay(): Display type invalid.\n");
    return 0;
}

// ---- set-up ----

int ApplicationImpl::init() {
    platformIsPocketPC = isPocketPC();
    startTick = static_cast<uint32_t>(java_lang_System::currentTimeMillis());
    registerLibraryStatics();
    javax_microedition_lcdui_Canvas::setRepaintHandler(&repaintHook);
    bramble::io::setNotifyDestroyedHandler([] { ApplicationImpl::instance().running = false; });
    bramble::io::setPlatformRequestHandler([](const std::string& url) { instance().platformRequest(url); });
    bramble::io::installResourceReader();

    Application::Config c = config;
    if (mainStackTop) c.stackTop = mainStackTop;
    if (!c.loadConstants) c.loadConstants = &StaticClass::loadConstants;
    m_application = Application::init(c);
    m_application->onClose = [this](Application&) { destroyMidlet(); };
    m_application->collectionRequested = 0;
    m_application->paused = 0;

    // The screen: an Image over the driver's back buffer (which starts as a
    // fresh image, all pixels zero) and its Graphics.
    m_backBuffer = m_driver ? m_driver->backBuffer() : nullptr;
    if (m_backBuffer) {
        m_application->setRoot(Application::kScreenImage, javax_microedition_lcdui_Image::createScreenImage(
                                                              kScreenWidth, kScreenHeight, m_backBuffer));
    }
    logPrintf("m_screenGraphics");
    if (auto* screen = static_cast<javax_microedition_lcdui_Image*>(m_application->root(Application::kScreenImage))) {
        m_application->setRoot(Application::kScreenGraphics, javax_microedition_lcdui_Graphics::make(screen));
    }
    startApp();
    return 1;
}

void ApplicationImpl::startApp() {
    Application* app = m_application;
    if (!app) return;
    MidletCreator create = g_midletCreator.load();
    if (!create) {
        logPrintf("Application::startApp(): no MIDlet class to start");
        return;
    }
    javax_microedition_midlet_MIDlet* midlet = create();
    Application::drainPendingException("MIDlet.<init>");
    if (!midlet) return;
    app->setRoot(Application::kMidlet, midlet);
    javax_microedition_midlet_MIDlet::setRunning(midlet);
    logPrintf("Application::startApp");
    midlet->startApp();
    Application::drainPendingException("MIDlet.startApp");
}

// ---- pause and resume ----

void ApplicationImpl::pause() {
    Application* app = m_application;
    if (!app || app->paused) return;
    javax_microedition_midlet_MIDlet* m = midlet();
    javax_microedition_lcdui_Canvas* canvas = currentCanvas();
    if (!m || !canvas) return;
    m->pauseApp();
    Application::drainPendingException("MIDlet.pauseApp");
    canvas->hideNotify();
    Application::drainPendingException("Canvas.hideNotify");
    app->paused = 1;
}

void ApplicationImpl::resume() {
    Application* app = m_application;
    if (!app || !app->paused) return;
    javax_microedition_midlet_MIDlet* m = midlet();
    javax_microedition_lcdui_Canvas* canvas = currentCanvas();
    if (!m || !canvas) return;
    m->startApp();
    Application::drainPendingException("MIDlet.startApp");
    canvas->showNotify();
    Application::drainPendingException("Canvas.showNotify");
    app->paused = 0;
}

void ApplicationImpl::keyPressed(jint keyCode) {
    if (javax_microedition_lcdui_Canvas* canvas = currentCanvas()) {
        canvas->keyPressed(keyCode);
        Application::drainPendingException("Canvas.keyPressed");
    }
}

void ApplicationImpl::keyReleased(jint keyCode) {
    if (javax_microedition_lcdui_Canvas* canvas = currentCanvas()) {
        canvas->keyReleased(keyCode);
        Application::drainPendingException("Canvas.keyReleased");
    }
}

// ---- painting ----

namespace {
std::atomic<PresentWrapper> g_presentWrapper{nullptr};
}

void setPresentWrapper(PresentWrapper wrapper) { g_presentWrapper.store(wrapper); }

void ApplicationImpl::paint() {
    if (m_application) javax_microedition_lcdui_Canvas::paintCurrent();
}

void ApplicationImpl::repaint() {
    platform::Window* window = shellState().mainWindow.get();
    if (!windowActive || paintSuspended || !window || !window->isActive() || window->isMinimized()) return;
    paint();
    if (!m_driver) return;
    auto present = [](void* driver) { static_cast<ScreenDriver*>(driver)->present(); };
    if (PresentWrapper wrapper = g_presentWrapper.load()) {
        wrapper(present, m_driver.get());
    } else {
        present(m_driver.get());
    }
}

void ApplicationImpl::paintWaitScreen() {
    platform::Window* window = shellState().mainWindow.get();
    if (!window || !window->isPresenterOpen() || !m_driver) return;
    const jint w = m_driver->backBufferWidth(), h = m_driver->backBufferHeight();
    std::vector<uint16_t> pixels(size_t(w) * size_t(h), 0);  // black
    display::GraphicsState state = display::GraphicsState::forTarget(w, h);
    display::Graphics g(state, display::Surface::wrap16(pixels.data(), w, h, w * 2));
    g.setColor(0xFF0000);
    const char16_t* text = GetLauncherMessage(kLauncherPleaseWait);
    size_t length = 0;
    while (text[length]) ++length;
    g.drawString(reinterpret_cast<const jchar*>(text), length, w / 2, h / 2,
                 display::kHCenter | display::kTop);
    window->presentFrame(pixels.data(), w * 2);
}

// ---- volume ----

void ApplicationImpl::volumeUp() {
    volume = volumeStepUp(platform::audio::masterVolume());
    platform::audio::setMasterVolume(volume);
}

void ApplicationImpl::volumeDown() {
    volume = volumeStepDown(platform::audio::masterVolume());
    platform::audio::setMasterVolume(volume);
}

// ---- main loop ----

void ApplicationImpl::readPowerNotifications() {
    platform::PowerNotifications* power = shellState().power.get();
    if (!power || !power->isStarted()) return;
    while (std::optional<platform::PowerState> notice = power->read()) {
        m_powerRead = true;
        m_lastPowerOn = *notice == platform::PowerState::On;
        if (m_lastPowerOn) {
            if (isPaused()) {
                logPrintf("POWER STATE - RESUME MIDLET\n");
                resume();
            }
        } else if (m_application && !m_application->paused) {
            logPrintf("POWER STATE - PAUSE MIDLET\n");
            pause();
        }
    }
}

void ApplicationImpl::pumpMessages() {
    ShellState& s = shellState();
    platform::Window* window = s.mainWindow.get();
    if (!window) return;
    platform::Message m;
    while (window->peekMessage(m)) {
        if (m.id == platform::msg::Quit) {
            s.quitSeen = true;
            s.exitCode = int(intptr_t(m.wParam));
            running = false;
            shutdown();
            shutdownPlatform();
            exitProcess(s.exitCode);
            return;
        }
        s.inputMethodKey = 0;  // no input method stands between keys and the game
        window->translateMessage(m);
        window->dispatchMessage(m);
    }
}

int ApplicationImpl::checkOrientation() {
    ShellState& s = shellState();
    if (getOrientation() != s.requiredOrientation) {
        if (!isPaused()) pause();
        paintSuspended = true;
        paintWaitScreen();
        setOrientation(s.requiredOrientation);
        return 0;
    }
    if (isPaused() && m_powerRead && m_lastPowerOn) {
        logPrintf("RESUME MIDLET ORIENTATION CHANGE\n");
        resume();
    }
    return 1;
}

void ApplicationImpl::sleepServing(int milliseconds) {
    platform::Window* window = shellState().mainWindow.get();
    BlockingRegion blocking;  // a safe point for the collector meanwhile
    if (window) {
        window->sleep(milliseconds);
    } else {
        java_lang_Thread::sleep(milliseconds);
    }
}

void ApplicationImpl::tick(int sleepMs) {
    ++loopPasses;
    readPowerNotifications();
    pumpMessages();
    if (!running) return;
    paintSuspended = false;
    if (windowActive && shellState().orientationWatch) checkOrientation();
    sleepServing(sleepMs);
}

void ApplicationImpl::run() {
    while (running) {
        ++loopPasses;
        readPowerNotifications();
        pumpMessages();
        if (shellState().quitSeen) break;
        paintSuspended = false;
        if (windowActive && shellState().orientationWatch) checkOrientation();
        sleepServing(20);
        sleepServing(10);
    }
    shutdown();
}

// ---- the browser ----

void ApplicationImpl::platformRequest(const std::string& url) {
    platform::Window* window = shellState().mainWindow.get();
    if (window) window->minimize();
    const int answer = platform::showMessageBox(window, "Bramble Hollow Saga",
                                                launcherMessageUtf8(kLauncherConnectQuestion),
                                                platform::MessageBoxButtons::YesNo, platform::MessageBoxIcon::Question);
    if (answer == platform::answer::No) {
        if (window) window->raise();
        hideInputPanel();
        return;
    }
    if (!startBrowser(url)) {
        logPrintf("\njavax_microedition_midlet_MIDlet::platformRequest: g_CallBrowser() Error: %d", errno);
    }
}

// ---- tear-down ----

void ApplicationImpl::destroyMidlet() {
    logPrintf("Application::destoryMIDlet");
    if (javax_microedition_midlet_MIDlet* m = midlet()) {
        m->destroyApp(1);
        Application::drainPendingException("MIDlet.destroyApp");
    } else {
        logPrintf("m_midlet is already NULL.");
    }
    if (m_application) {
        m_application->setRoot(Application::kScreenImage, nullptr);
        m_application->setRoot(Application::kScreenGraphics, nullptr);
        m_application->setRoot(Application::kMidlet, nullptr);
        if (StaticClass::instance()) javax_microedition_midlet_MIDlet::setRunning(nullptr);
    }
}

void ApplicationImpl::shutdown() {
    running = false;
    if (Application* app = m_application) {
        // Every other Java thread stops here for good: destroyApp and the
        // final collection run while it stands.
        app->objects().holdOtherThreads();
        app->close();
        m_application = nullptr;
        shellState().application = nullptr;
    }
    // The wait animation draws into the back buffer and presents through the
    // driver under the screen lock: both go away under it too.
    bramble::net::ScreenOverlay::Lock screen;
    if (m_driver) {
        m_driver->close();
        m_driver.reset();
    }
    m_backBuffer = nullptr;
}

// WinMain: start-up in order, the main loop, the platform clean-up; the main
// window's creation and registration; the sound server's start and end.
#include "shell/shell.h"

#include <chrono>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>

#include "io/resource.h"
#include "platform/fs/fs.h"
#include "platform/ipc/parent_watch.h"
#include "platform/ipc/window_registry.h"
#include "platform/locale/locale.h"
#include "platform/log/log.h"
#include "platform/power/power.h"
#include "platform/process/process.h"
#include "platform/stack/stack.h"
#include "platform/window/window.h"
#include "platform/audio/wave_out.h"
#include "runtime/log.h"
#include "shell/application_impl.h"
#include "shell/launcher_texts.h"
#include "shell/window_proc.h"

namespace {

using namespace std::chrono_literals;
namespace ipc = platform::ipc;

// Bound of a message to another process, and of one marshalled onto the
// window thread (the main loop serves sent messages at least every 30 ms).
constexpr auto kPeerTimeout = 2000ms;
constexpr int kWindowSendTimeoutMs = 2000;

void platformLogToDebugLog(platform::LogLevel level, const char* message) {
    const char* tag = level == platform::LogLevel::Error ? "error: " : level == platform::LogLevel::Warning ? "warning: " : "";
    logPrintf("platform: %s%s", tag, message);
}

void outOfMemoryHandler() {
    logPrintf("ERROR: Operator new failed: out of store.\n");
    std::set_new_handler(nullptr);
    throw std::bad_alloc();
}

void openLogFile() {
    ShellState& s = shellState();
    const std::string device = std::string(platform::fs::kAppFolder) + "\\log.txt";
    const std::optional<std::string> path = platform::fs::hostPath(device);
    if (!path) return;
    if (s.logFile) {
        std::fflush(s.logFile);
        s.logFile = nullptr;
    }
    s.logFile = std::freopen(path->c_str(), "w+", stdout);
}

void closeLogFile() {
    ShellState& s = shellState();
    if (!s.logFile) return;
    std::fflush(s.logFile);
    std::fclose(s.logFile);
    s.logFile = nullptr;
}

// Starts the sound server and waits a bounded time for its window, so that
// the first sounds do not go to a server that is not listening yet.
void startSoundServer() {
    ShellState& s = shellState();
    pid_t pid;
    // The server watches this process by its id: it ends with the game even
    // when it was adopted by a process that never ends.
    const std::string self = std::to_string(ipc::currentProcessId());
    if (s.options.programFolder.empty()) {
        pid = platform::startProgram(kSoundServerProgram, {"--game-pid", self});
    } else {
        const std::string path = s.programFolder + kSoundServerProgram;
        pid = platform::startCommand({path, "--game-pid", self});
    }
    if (pid < 0) {
        logPrintf("Warning - SoundPump not started, application may not have sound\n");
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(s.options.soundServerWaitMs);
    while (!ipc::findWindow(kSoundServerWindow, kSoundServerWindow)) {
        if (platform::waitForChild(pid, 0) || std::chrono::steady_clock::now() >= deadline) {
            logPrintf("Warning - SoundPump window not found, application may not have sound\n");
            return;
        }
        std::this_thread::sleep_for(5ms);
    }
}

// Messages from other processes reach the window procedure on the window
// thread; a request to come forward raises the window.
std::int64_t onPeerMessage(platform::Window* window, const ipc::Message& m) {
    intptr_t result = 0;
    switch (m.kind) {
    case ipc::MessageKind::Close:
        window->sendMessage(platform::msg::Close, 0, 0, &result, kWindowSendTimeoutMs);
        return result;
    case ipc::MessageKind::BringToFront:
        window->raise();
        return 1;
    case ipc::MessageKind::User:
        window->sendMessage(platform::msg::User + m.userCode, uintptr_t(m.wParam), intptr_t(m.lParam), &result,
                            kWindowSendTimeoutMs);
        return result;
    case ipc::MessageKind::CopyData:
        window->sendMessage(platform::msg::CopyData, uintptr_t(m.wParam), 0, &result, kWindowSendTimeoutMs);
        return result;
    }
    return 0;
}

// The one line a second start leaves: it hands over to the running game.
void logAlreadyRunning() {
    logPrintf("BrambleGame is already running: its window is brought to the front and this start ends");
}

// Whether the run's required file is there; when not, one explanation of
// where it was looked for and how to make the demo data.
bool requiredFilePresent(const std::string& devicePath) {
    if (devicePath.empty() || platform::fs::fileSize(devicePath) >= 0) return true;
    const std::optional<std::string> host = platform::fs::hostPath(devicePath);
    const char* fromEnv = std::getenv("BRAMBLE_DEVICE_ROOT");
    logPrintf("BrambleGame: no game data: %s is missing (device root %s, %s)",
              host ? host->c_str() : devicePath.c_str(), platform::fs::deviceRoot().c_str(),
              fromEnv && *fromEnv ? "from BRAMBLE_DEVICE_ROOT" : "the default; BRAMBLE_DEVICE_ROOT names another");
    logPrintf("BrambleGame: make the demo data and play it with `make run` in the source tree, or write it with "
              "`build/tools/make-demo-data DIR` and start with BRAMBLE_DEVICE_ROOT=DIR/device");
    return false;
}

// Where this run keeps its files and which language it speaks.
void logRunSettings(uint32_t language) {
    const char* code = launcherLanguageCode(language);
    logPrintf("BrambleGame: device root %s, window folder %s, language %s (0x%X)", platform::fs::deviceRoot().c_str(),
              ipc::registryFolder().c_str(), *code ? code : "en", unsigned(language));
}

}  // namespace

ShellState& shellState() {
    static ShellState* state = new ShellState();  // lives to the end of the process
    return *state;
}

void exitProcess(int code) {
    ShellState& s = shellState();
    if (s.options.exitProcess) {
        s.options.exitProcess(code);
        return;
    }
    std::fflush(stdout);
    std::exit(code);
}

bool startBrowser(std::string_view url) { return platform::openUrl(url); }

void hideInputPanel() {}

bool isPocketPC() { return false; }

int createMainWindow() {
    ShellState& s = shellState();
    platform::WindowSettings settings;
    settings.className = kMainWindowClass;
    settings.title = kMainWindowTitle;
    const platform::ScreenSize screen = platform::screenSize();
    settings.width = s.options.screenWidth > 0 ? s.options.screenWidth : screen.width;
    settings.height = s.options.screenHeight > 0 ? s.options.screenHeight : screen.height;
    // The game draws its landscape view turned a quarter clockwise onto the
    // portrait screen, for a phone held on its side; nobody turns a monitor,
    // so the window shows the screen turned back (landscape, upright).
    // Everything the window shows turns with it, as on the phone; pointer
    // positions come back in screen coordinates.
    settings.turned = true;
    s.mainWindow = platform::Window::create(settings, &mainWindowProc);
    if (!s.mainWindow) return 0;
    platform::audio::startAudio();  // SDL's audio starts on the thread that started its video

    platform::Window* window = s.mainWindow.get();
    ipc::RegisterOptions options;
    options.unique = true;
    ipc::RegisterStatus status = ipc::RegisterStatus::Failed;
    s.registration = ipc::RegisteredWindow::create(
        kMainWindowClass, kMainWindowTitle, [window](const ipc::Message& m) { return onPeerMessage(window, m); },
        options, &status);
    if (status == ipc::RegisterStatus::AlreadyExists) {
        // Another instance started at the same moment and registered first.
        logAlreadyRunning();
        ipc::bringToFront(ipc::findWindow(kMainWindowClass, kMainWindowTitle), kPeerTimeout);
        s.mainWindow->destroy();
        s.mainWindow.reset();
        return 2;
    }
    if (!s.registration) logPrintf("createMainWindow(): the window is not registered for other processes");

    window->raise();
    window->setFullScreen(true);
    window->show();
    return 1;
}

void shutdownPlatform() {
    ShellState& s = shellState();
    if (s.platformCleaned) return;
    s.platformCleaned = true;
    stopPowerNotifications();
    ipc::sendMessage(kSoundServerWindow, kSoundServerWindow, ipc::Message::close(), kPeerTimeout);
    ApplicationImpl::instance().shutdown();
    setOrientation(s.initialOrientation);
    closeLogFile();
    s.registration.reset();
    if (s.mainWindow && s.mainWindow->isWindowThread()) {
        s.mainWindow->setFullScreen(false);
        s.mainWindow->destroy();
    }
}

int WinMain(const ShellOptions& options) {
    ShellState& s = shellState();
    s.registration.reset();
    if (s.mainWindow && s.mainWindow->isWindowThread()) s.mainWindow->destroy();
    s.power.reset();
    s = ShellState();
    s.options = options;
    ApplicationImpl& impl = ApplicationImpl::instance();
    impl.reset();
    platform::setLogSink(&platformLogToDebugLog);

    // Threads share one scheduling class here: the priority stays normal.
    s.programFolder = options.programFolder.empty() ? platform::programFolder() : options.programFolder;
    if (!s.programFolder.empty() && s.programFolder.back() != '/') s.programFolder += '/';
    if (s.logSwitch) openLogFile();

    // One instance: bring the running one forward instead.
    if (ipc::Window other = ipc::findWindow(kMainWindowClass, kMainWindowTitle)) {
        logAlreadyRunning();
        ipc::bringToFront(other, kPeerTimeout);
        closeLogFile();
        return 0;
    }

    // Without its data the run would only show a black window: stop here.
    if (!requiredFilePresent(options.requiredFile)) {
        closeLogFile();
        return kExitNoData;
    }

    startSoundServer();
    std::set_new_handler(&outOfMemoryHandler);

    switch (createMainWindow()) {
    case 0:
        closeLogFile();
        return -1;
    case 2:
        closeLogFile();
        return 0;
    default:
        break;
    }
    if (impl.openDisplay("GDI") == 0) {
        shutdownPlatform();
        return -1;
    }
    const uint32_t language = platform::userInterfaceLanguage() & 0x3FF;
    SetLauncherLanguage(language);
    // The game's texts follow the launcher's language (localized resources).
    bramble::io::setResourceLanguage(launcherLanguageCode(language));
    logRunSettings(language);

    // The collector scans this thread's stack up to its real base.
    impl.mainStackTop = platform::currentStackBase();
    if (!impl.mainStackTop) impl.mainStackTop = rt::mainStackTop();
    if (!impl.init()) {
        shutdownPlatform();
        return -1;
    }
    s.application = impl.application();

    platform::Window* window = s.mainWindow.get();
    platform::Message m;
    while (window->peekMessage(m)) {
        if (m.id == platform::msg::Quit) {
            window->postQuitMessage(int(intptr_t(m.wParam)));  // for the main loop to act on
            break;
        }
        window->translateMessage(m);
        window->dispatchMessage(m);
    }
    window->raise();
    window->setFullScreen(true);

    impl.run();
    shutdownPlatform();
    return s.quitSeen ? s.exitCode : 0;
}

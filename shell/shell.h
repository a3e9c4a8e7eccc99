// Program entry and the shell's state: WinMain (start-up in a fixed order,
// the main loop, the clean-up), the main window and its registration with the
// other processes, the sound server's start and end, and the platform
// clean-up that runs once.
//
// Threads: WinMain's thread owns the window (every SDL call), runs the
// message pump and the window procedure, and is Java thread 0. Frames are
// painted and presented on the game thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "shell/input.h"

class Application;

namespace platform {
class Window;
class PowerNotifications;
namespace ipc {
class RegisteredWindow;
}
}  // namespace platform

// Class and title of the main window, and of the sound server's window.
inline constexpr const char* kMainWindowClass = "TindrellClass";
inline constexpr const char* kMainWindowTitle = "Tindrell - Bramble Hollow Saga";
inline constexpr const char* kSoundServerWindow = "RavitSoundPump";
inline constexpr const char* kSoundServerProgram = "SoundPump.bin";

// How a run starts. The defaults are the program's; tests change them.
struct ShellOptions {
    // The device screen the window stands for (0: the platform's, 480x800).
    int screenWidth = 0;
    int screenHeight = 0;
    // Folder of "SoundPump.bin" (empty: the folder of this program).
    std::string programFolder;
    // How long start-up waits for the sound server's window.
    int soundServerWaitMs = 3000;
    // Ends the process on the close road (null: std::exit). A replacement
    // that returns lets WinMain return the exit code instead.
    void (*exitProcess)(int code) = nullptr;
    // A device file the run cannot do without (the game: its data archive).
    // When it is missing, start-up says where it looked and how to make the
    // data, and WinMain returns kExitNoData before any window or server.
    std::string requiredFile;
};

// WinMain's result when the required file is missing.
inline constexpr int kExitNoData = 1;

// The shell's one record; zero (and the static settings) at start.
struct ShellState {
    std::string programFolder;          // with a trailing '/'
    uint32_t requiredOrientation = 0;   // the native portrait orientation
    bool logSwitch = false;             // off: the log goes to standard output
    bool windowActive = false;
    bool platformCleaned = false;
    Application* application = nullptr;  // set once the application runs
    std::shared_ptr<platform::Window> mainWindow;
    std::unique_ptr<platform::ipc::RegisteredWindow> registration;
    uint32_t initialOrientation = 0;
    bool orientationRestorePending = false;
    bool swallowPointer = false;   // the next pointer stroke after a focus loss is dropped
    bool pointerDelivered = false; // a press reached the canvas and its release has not
    std::unique_ptr<platform::PowerNotifications> power;
    uint32_t inputMethodKey = 0;
    std::FILE* logFile = nullptr;
    PointerScale pointerScale;
    bool hardwareKeys = false;     // the game holds the hardware keys (focus gained)
    bool quitSeen = false;
    int exitCode = 0;

    // Static input settings.
    bool hardwareKeysMode = true;
    bool orientationWatch = true;
    bool dropPointerAfterFocusLoss = true;
    bool firstActivation = true;

    ShellOptions options;
};

ShellState& shellState();

// The program: 0 after a normal run or when another instance was found and
// brought to the front, -1 when the window, the display or the application
// cannot be made.
int WinMain(const ShellOptions& options = {});

// Creates, shows and registers the main window: 1 on success, 0 when it
// cannot be created, 2 when another instance registered first (it was
// brought to the front).
int createMainWindow();

// The platform clean-up; a second call does nothing.
void shutdownPlatform();

// Opens a web link in the user's browser; true when the browser started.
bool startBrowser(std::string_view url);
// The phone's input panel; a desktop has none to hide.
void hideInputPanel();
// Whether this is the phone platform whose threads are stopped by
// suspending them; never here (threads park themselves).
bool isPocketPC();

// Ends the process on the close road (the options' replacement in tests).
void exitProcess(int code);

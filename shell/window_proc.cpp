// The main window's procedure and the orientation and power services it uses.
#include "shell/window_proc.h"

#include "platform/power/power.h"
#include "platform/window/window.h"
#include "runtime/application.h"
#include "runtime/threads.h"
#include "shell/application_impl.h"
#include "shell/input.h"
#include "display/lcdui/display.h"
#include "io/midlet.h"
#include "shell/shell.h"

namespace msg = platform::msg;

// ---- Java calls from inside a blocking region ----

JavaCallScope::JavaCallScope() {
    rt::ThreadContext* c = rt::currentContext();
    if (!c) return;
    m_depth = c->blockDepth;
    for (int i = 0; i < m_depth; ++i) rt::leaveBlocking();
}

JavaCallScope::~JavaCallScope() {
    if (m_depth == 0) return;
    rt::SpilledRegisters spill;
    for (int i = 0; i < m_depth; ++i) rt::captureAndEnterBlocking(spill);
}

// ---- orientation and power ----

uint32_t getOrientation() { return platform::displayOrientation(); }

void setOrientation(uint32_t orientation) { platform::setDisplayOrientation(orientation); }

void startPowerNotifications() {
    ShellState& s = shellState();
    if (s.power && s.power->isStarted()) return;
    if (!s.power) s.power = std::make_unique<platform::PowerNotifications>();
    if (!s.power->start()) s.power.reset();
}

void stopPowerNotifications() {
    ShellState& s = shellState();
    if (!s.power) return;
    s.power->stop();
    s.power.reset();
}

// ---- messages ----

namespace {

constexpr uint32_t kProcessKey = 229;
constexpr uint32_t kF6 = 117, kF7 = 118;

// The application's MIDlet and current canvas, when both exist.
bool midletAndCanvas(javax_microedition_midlet_MIDlet*& midlet, javax_microedition_lcdui_Canvas*& canvas) {
    if (!shellState().application) return false;
    ApplicationImpl& impl = ApplicationImpl::instance();
    midlet = impl.midlet();
    canvas = impl.currentCanvas();
    return midlet && canvas;
}

void onSetFocus(platform::Window& window) {
    ShellState& s = shellState();
    window.raise();
    window.setFullScreen(true);
    window.setFullScreen(true);
    window.show();
    if (s.hardwareKeysMode) s.hardwareKeys = true;
    if (getOrientation() != s.requiredOrientation) setOrientation(s.requiredOrientation);
    javax_microedition_midlet_MIDlet* midlet;
    javax_microedition_lcdui_Canvas* canvas;
    if (midletAndCanvas(midlet, canvas)) {
        JavaCallScope java;
        midlet->startApp();
        Application::drainPendingException("MIDlet.startApp");
        canvas->showNotify();
        Application::drainPendingException("Canvas.showNotify");
    }
    const platform::ScreenSize screen = platform::screenSize();
    s.pointerScale.x = float(kScreenWidth) / float(screen.width);
    s.pointerScale.y = float(kScreenHeight) / float(screen.height);
    startPowerNotifications();
}

void onKillFocus(platform::Window& window) {
    ShellState& s = shellState();
    stopPowerNotifications();
    javax_microedition_midlet_MIDlet* midlet;
    javax_microedition_lcdui_Canvas* canvas;
    if (midletAndCanvas(midlet, canvas)) {
        JavaCallScope java;
        midlet->pauseApp();
        Application::drainPendingException("MIDlet.pauseApp");
        canvas->hideNotify();
        Application::drainPendingException("Canvas.hideNotify");
    }
    if (s.hardwareKeysMode) s.hardwareKeys = false;
    if (s.dropPointerAfterFocusLoss) s.swallowPointer = true;
    setOrientation(s.initialOrientation);
    window.setFullScreen(false);
    window.minimize();
}

void onSettingChange() {
    ShellState& s = shellState();
    if (!s.windowActive) return;
    const uint32_t current = getOrientation();
    if (s.orientationRestorePending) {
        s.orientationRestorePending = false;
        s.initialOrientation = current;
    }
    if (current != s.requiredOrientation) {
        setOrientation(s.requiredOrientation);
        s.orientationRestorePending = true;
    }
}

int gameKey(uintptr_t wParam) {
    const uint32_t key = wParam == kProcessKey ? shellState().inputMethodKey : uint32_t(wParam & 0xFF);
    return mapVirtualKeyToGameKey(key);
}

bool isSystem(int key) { return key >= 0 && isSystemKey(uint32_t(key)); }

void onKeyDown(uintptr_t wParam) {
    ShellState& s = shellState();
    const int key = gameKey(wParam);
    if (s.hardwareKeysMode && isSystem(key)) return;
    if (key >= 0 && isVolumeKey(uint32_t(key))) return;
    if (s.application) {
        JavaCallScope java;
        ApplicationImpl::instance().keyPressed(key);
    }
}

void onKeyUp(platform::Window& window, uintptr_t wParam) {
    ShellState& s = shellState();
    const int key = gameKey(wParam);
    if (s.hardwareKeysMode && isSystem(key)) {
        // The system's key: the game steps aside. There is no system shell
        // here to hand the key back to.
        window.minimize();
        return;
    }
    ApplicationImpl& impl = ApplicationImpl::instance();
    if (key == int(kF6) || s.inputMethodKey == kF6) {
        impl.volumeUp();
    } else if (key == int(kF7) || s.inputMethodKey == kF7) {
        impl.volumeDown();
    } else if (s.application) {
        JavaCallScope java;
        impl.keyReleased(key);
    }
}

// Pointer strokes. After a focus loss the next stroke is dropped whole (its
// press, moves and release), or only a release whose press never reached the
// canvas; a press that reached the canvas always gets its release.
enum class Pointer { Down, Move, Up };

void onPointer(Pointer what, intptr_t lParam) {
    ShellState& s = shellState();
    const bool swallowing = s.dropPointerAfterFocusLoss && s.swallowPointer;
    if (swallowing) {
        if (what == Pointer::Down || what == Pointer::Move) return;
        if (!s.pointerDelivered) {
            s.swallowPointer = false;  // the dropped stroke ends here
            return;
        }
        // The release of a press from before the focus loss: delivered below;
        // the next stroke is still dropped.
    }
    javax_microedition_lcdui_Canvas* canvas = s.application ? ApplicationImpl::instance().currentCanvas() : nullptr;
    if (!canvas) return;
    int x = platform::pointerX(lParam);
    int y = platform::pointerY(lParam);
    scalePointerCoordinates(s.pointerScale, x, y);
    JavaCallScope java;
    switch (what) {
    case Pointer::Down:
        s.pointerDelivered = true;
        canvas->pointerPressed(x, y);
        Application::drainPendingException("Canvas.pointerPressed");
        break;
    case Pointer::Move:
        canvas->pointerDragged(x, y);
        Application::drainPendingException("Canvas.pointerDragged");
        break;
    case Pointer::Up:
        s.pointerDelivered = false;
        canvas->pointerReleased(x, y);
        Application::drainPendingException("Canvas.pointerReleased");
        break;
    }
}

}  // namespace

intptr_t mainWindowProc(platform::Window& window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    ShellState& s = shellState();
    switch (message) {
    case msg::Create:
        s.initialOrientation = getOrientation();
        return 0;
    case msg::Destroy:
    case msg::Close:
        window.postQuitMessage(0);
        return 0;
    case msg::Activate: {
        const bool active = wParam != 0;
        s.windowActive = active;
        ApplicationImpl::instance().windowActive = active;
        if (active) s.firstActivation = false;
        return 0;
    }
    case msg::SetFocus:
        onSetFocus(window);
        return 0;
    case msg::KillFocus:
        onKillFocus(window);
        return 0;
    case msg::SettingChange:
        onSettingChange();
        return 0;
    case msg::KeyDown:
        onKeyDown(wParam);
        return 0;
    case msg::KeyUp:
        onKeyUp(window, wParam);
        return 0;
    case msg::PointerDown:
        onPointer(Pointer::Down, lParam);
        return 0;
    case msg::PointerMove:
        onPointer(Pointer::Move, lParam);
        return 0;
    case msg::PointerUp:
        onPointer(Pointer::Up, lParam);
        return 0;
    default:
        return 0;
    }
}

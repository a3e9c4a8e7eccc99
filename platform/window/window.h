// The main window and its message queue, over SDL2.
//
// A Window belongs to the thread that creates it (the window thread). All SDL
// calls happen on that thread. Other threads talk to the window only through
// postMessage, sendMessage, invoke and presentFrame, which are safe from any
// thread; methods that change the window (show, minimize, raise, presenter)
// marshal themselves onto the window thread when called elsewhere.
//
// Messages: SDL events become queued messages with the ids and parameter
// packing of namespace msg below; peekMessage hands them out in arrival order
// and dispatchMessage runs the window procedure on them. Messages sent from
// other threads (sendMessage) are delivered ahead of queued ones, whenever the
// window thread is in peekMessage, waitMessage or sleep. The quit message is
// handed out once no other queued message is left.
//
// Geometry: the window stands for the device's screen, width x height (480x800
// for the game). On the desktop it is shown that size, or scaled down to fit a
// smaller desktop; pointer positions are always given in screen (canvas)
// coordinates, so screenSize() and the window's width()/height() report the
// device size whatever the size on the desktop. A turned window shows the
// device screen a quarter turn anticlockwise (its right edge along the top,
// height x width on the desktop): what is drawn onto the portrait screen
// turned a quarter clockwise reads upright. Screen point (x, y) shows at
// shown point (y, width - 1 - x); pointer positions are turned back the same
// way, so they stay screen coordinates.
//
// Presenting: openPresenter chooses how frames reach the window: a software
// path (16-bit pixels converted and scaled on the CPU into the window surface)
// or a texture path (an SDL renderer with a streaming RGB565 texture).
// presentFrame copies the caller's frame at once (the caller may draw the next
// frame straight away) and hands it to the window thread, which shows the
// newest copy without waiting for the end of its sleep; frames that arrive
// faster than they are shown replace each other.
//
// The main loop's shape on the window thread:
//   while (running) {
//     Message m;
//     while (window->peekMessage(m)) {
//       if (m.id == msg::Quit) { ...; break; }
//       window->translateMessage(m);
//       window->dispatchMessage(m);
//     }
//     window->sleep(20);  // frames and sent messages are served meanwhile
//     ...
//   }
// Messages that other threads send are served only while the window thread
// is inside peekMessage, waitMessage or sleep; a window thread that is itself
// waiting in sendMessage does not serve its own queue meanwhile, so two
// threads must not send to each other's windows without a timeout.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Message ids (the numbers of the phone's window system, so that peers that
// exchange messages across processes agree on them).
namespace msg {
inline constexpr uint32_t Create = 0x0001;         // during Window::create, before it returns
inline constexpr uint32_t Destroy = 0x0002;        // during Window::destroy
inline constexpr uint32_t Activate = 0x0006;       // wParam 1 active, 0 inactive (no minimised flag)
inline constexpr uint32_t SetFocus = 0x0007;       // after Activate(1)
inline constexpr uint32_t KillFocus = 0x0008;      // after Activate(0)
inline constexpr uint32_t Close = 0x0010;          // close button, window manager, SIGINT/SIGTERM
inline constexpr uint32_t Quit = 0x0012;           // wParam = exit code given to postQuitMessage
inline constexpr uint32_t SettingChange = 0x001A;  // display set-up or orientation changed
inline constexpr uint32_t CopyData = 0x004A;       // reserved for cross-process data records
inline constexpr uint32_t KeyDown = 0x0100;        // wParam virtual key, lParam see keyParameter
inline constexpr uint32_t KeyUp = 0x0101;
inline constexpr uint32_t PointerMove = 0x0200;    // only while the button is held; wParam 1
inline constexpr uint32_t PointerDown = 0x0201;    // wParam 1; lParam = packPointer(x, y)
inline constexpr uint32_t PointerUp = 0x0202;      // wParam 0
inline constexpr uint32_t User = 0x0400;           // first id free for programs
}  // namespace msg

// Virtual key codes carried by KeyDown and KeyUp.
namespace vk {
inline constexpr uint32_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Alt = 18;
inline constexpr uint32_t Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36;
inline constexpr uint32_t Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46;
inline constexpr uint32_t Digit0 = 48;   // '0'..'9' are 48..57, 'A'..'Z' are 65..90
inline constexpr uint32_t LeftWin = 91, RightWin = 92, Menu = 93;
inline constexpr uint32_t Numpad0 = 96;  // 96..105
inline constexpr uint32_t Multiply = 106, Add = 107, Subtract = 109, Decimal = 110, Divide = 111;
inline constexpr uint32_t F1 = 112;      // F1..F12 are 112..123
inline constexpr uint32_t F2 = 113, F3 = 114, F4 = 115, F6 = 117, F7 = 118, F8 = 119, F9 = 120;
// The volume keys of a keyboard arrive as F6 (up) and F7 (down), as the
// phone's volume keys do. No key message ever carries the input-method
// "process key" (229): there is no input method between keys and the game.
}  // namespace vk

struct Message {
  uint32_t id = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

// Pointer lParam: x in the low 16 bits, y in the high 16 bits, each a signed
// 16-bit value (a drag beyond the window's edge gives negative or large ones).
constexpr intptr_t packPointer(int x, int y) {
  return intptr_t((uint32_t(uint16_t(y)) << 16) | uint16_t(x));
}
constexpr int pointerX(intptr_t lParam) { return int16_t(uint16_t(lParam & 0xFFFF)); }
constexpr int pointerY(intptr_t lParam) { return int16_t(uint16_t((lParam >> 16) & 0xFFFF)); }

// A point of the window as the desktop shows it (hostWidth x hostHeight) as a
// point of the screen it stands for (screenWidth x screenHeight): scaled to
// the shown size (rounded down), then turned back when the window is turned.
// Points beyond the window's edges map beyond the screen's the same way.
struct ScreenPoint {
  int x;
  int y;
};
ScreenPoint screenPointFromHost(int x, int y, int hostWidth, int hostHeight, int screenWidth, int screenHeight,
                                bool turned);

// Key lParam: repeat count 1 in bits 0-15, the key's scan code in bits 16-23,
// bit 30 set when the key was already down (auto-repeat, and every KeyUp),
// bit 31 set for KeyUp.
inline constexpr intptr_t kKeyWasDown = intptr_t(1) << 30;
inline constexpr intptr_t kKeyReleased = intptr_t(1) << 31;
constexpr intptr_t keyParameter(uint8_t scanCode, bool wasDown, bool released) {
  return intptr_t(1) | (intptr_t(scanCode) << 16) | (wasDown ? kKeyWasDown : 0) | (released ? kKeyReleased : 0);
}

// Message boxes.
enum class MessageBoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageBoxIcon { None, Error, Warning, Question, Information };
namespace answer {
inline constexpr int Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7;
}

class Window;
using WindowProcedure = std::function<intptr_t(Window& window, uint32_t message, uintptr_t wParam, intptr_t lParam)>;

struct WindowSettings {
  std::string className;
  std::string title;
  int width = 480;   // the screen the window stands for
  int height = 800;
  int hostWidth = 0;   // size on the desktop; 0: width x height (height x width
  int hostHeight = 0;  // when turned), scaled down (aspect kept) to fit the desktop
  bool turned = false;  // shown a quarter turn anticlockwise (see Geometry above)
  bool visible = true;  // false: a message-only window (queue, post, send; no SDL)
};

enum class PresentPath { Software, Texture };

class Window : public std::enable_shared_from_this<Window> {
 public:
  // Creates the window on the calling thread, which becomes its window thread,
  // and delivers Create to the procedure before returning. Null (logged) when
  // SDL cannot create it. Where the video driver has no desktop (offscreen,
  // dummy) nothing else can hold the focus, so the window is active from the
  // start: Activate(1) and SetFocus are queued at once.
  static std::shared_ptr<Window> create(const WindowSettings& settings, WindowProcedure procedure);
  ~Window();  // destroys the window when that has not happened (window thread only)

  // Window thread: delivers Destroy to the procedure, closes the presenter and
  // the SDL window. Later posts and sends fail; senders still waiting get false.
  void destroy();
  bool isDestroyed() const;
  bool isWindowThread() const;

  const std::string& className() const { return settings_.className; }
  const std::string& title() const { return settings_.title; }
  int width() const { return settings_.width; }
  int height() const { return settings_.height; }
  bool isVisibleWindow() const { return settings_.visible; }
  bool isTurned() const { return settings_.turned; }

  // ---- queue, window thread ----
  // Delivers waiting sent messages, shows a waiting frame, converts pending
  // SDL events, then takes the oldest queued message. False when none waits.
  bool peekMessage(Message& out);
  // As peekMessage, waiting up to timeoutMs (negative: for ever) for a message.
  bool waitMessage(Message& out, int timeoutMs);
  // Key messages already carry virtual keys and nothing reads character
  // messages, so there is nothing to translate: answers false.
  bool translateMessage(const Message& message);
  // Runs the window procedure on the message; its answer.
  intptr_t dispatchMessage(const Message& message);
  // Sleeps, but delivers sent messages and shows presented frames as they come.
  void sleep(int milliseconds);
  // Queues the quit message (handed out after every other queued message).
  void postQuitMessage(int exitCode);

  // ---- any thread ----
  bool postMessage(uint32_t id, uintptr_t wParam, intptr_t lParam);
  // Runs the procedure on the window thread and answers its result. On the
  // window thread the procedure is called directly. False when the window is
  // gone or the answer did not come within timeoutMs (negative: no limit);
  // a message that timed out before the window thread took it is never
  // delivered.
  bool sendMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, intptr_t* result, int timeoutMs);
  // Runs work on the window thread (directly when called there) and waits for
  // it like sendMessage.
  bool invoke(const std::function<void()>& work, int timeoutMs);

  // ---- window state ----
  // Has the input focus (the phone's "foreground window").
  bool isActive() const;
  bool isMinimized() const;
  void show();      // shown and restored
  void minimize();
  void raise();     // in front, with the focus
  // Full-screen mode of the phone hides its task bar, input-panel button and
  // Start icon. A desktop has none of these to hide and the window is not
  // stretched over the monitor, so this only records the request.
  void setFullScreen(bool fullScreen);
  bool isFullScreen() const;
  // SDL's id of the desktop window (0 for a message-only window); for tests
  // that feed the window synthetic events.
  uint32_t hostWindowId() const;
  // The title as the desktop shows it; the size on the desktop.
  std::string hostTitle();
  void hostSize(int& width, int& height);

  // ---- presenting ----
  // Opens the presenter (window thread, or marshalled) for frames of
  // bufferWidth x bufferHeight 16-bit RGB565 pixels. Replaces an open one.
  bool openPresenter(PresentPath path, int bufferWidth, int bufferHeight);
  void closePresenter();
  bool isPresenterOpen() const;
  PresentPath presentPath() const;
  // Nearest-pixel (false, the default) or smooth (true) scaling.
  void setSmoothScaling(bool smooth);
  // Copies a frame (top-down rows, pitchBytes apart) and has it shown. On the
  // window thread it is shown before this returns. Answers the frame's number
  // (1, 2, ...), 0 when no presenter is open or the window is gone.
  uint64_t presentFrame(const uint16_t* pixels, int pitchBytes);
  // The number of the newest frame shown so far.
  uint64_t shownFrame() const;
  // Waits until frame number `frame` (or a newer one) has been shown.
  bool waitUntilShown(uint64_t frame, int timeoutMs) const;
  // Window thread: the pixels the window shows, as 0x00RRGGBB values, in the
  // window's size on the desktop (turned, when the window is). False without
  // a presenter.
  bool readBackPixels(std::vector<uint32_t>& pixels, int& width, int& height);

  struct Impl;

 private:
  friend int showMessageBox(Window*, std::string_view, std::string_view, MessageBoxButtons, MessageBoxIcon);
  Window(const WindowSettings& settings, WindowProcedure procedure);
  void serviceCrossThreadWork();
  void pumpSdlEvents();

  WindowSettings settings_;
  WindowProcedure procedure_;
  std::unique_ptr<Impl> impl_;
};

// The device screen: the size of the visible window (480x800 before one exists).
struct ScreenSize {
  int width;
  int height;
};
ScreenSize screenSize();

// Display orientation as the phone numbers it: 0 the native portrait one,
// 1 turned 90 degrees, 2 turned 180, 4 turned 270. A desktop window never
// turns, so the orientation stays what was last set (0 at start);
// setDisplayOrientation records the requested one as the current one.
// simulateOrientationChange stands for the user turning the phone: it sets
// the orientation and posts SettingChange to every visible window.
uint32_t displayOrientation();
void setDisplayOrientation(uint32_t orientation);
void simulateOrientationChange(uint32_t orientation);

// True when windows and message boxes cannot be shown to anyone:
// BRAMBLE_HEADLESS=1, SDL_VIDEODRIVER offscreen or dummy, or neither DISPLAY
// nor WAYLAND_DISPLAY set.
bool isHeadless();

// Shows a modal message box on the owner's window thread (on the calling
// thread when there is no owner) and answers the button chosen (answer::...).
// Headless, it logs caption and text and answers BRAMBLE_MSGBOX_ANSWER
// (default 1) without waiting for anyone.
int showMessageBox(Window* owner, std::string_view caption, std::string_view text, MessageBoxButtons buttons,
                   MessageBoxIcon icon);

}  // namespace platform

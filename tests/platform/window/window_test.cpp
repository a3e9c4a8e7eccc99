// The window layer under SDL's offscreen driver: messages made from synthetic
// SDL events, cross-thread delivery, presenting and reading pixels back,
// headless message boxes, orientation.
#include "platform/window/window.h"

#include "platform/log/log.h"
#include "platform/window/keymap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef None
#undef Bool
#undef Status

namespace {

using platform::Message;
using platform::Window;
namespace msg = platform::msg;
namespace vk = platform::vk;

class WindowTest : public ::testing::Test {
 protected:
  std::shared_ptr<Window> make(int hostWidth = 480, int hostHeight = 800, bool visible = true, bool turned = false) {
    platform::WindowSettings settings;
    settings.className = "TindrellClass";
    settings.title = "Tindrell - Bramble Hollow Saga";
    settings.hostWidth = hostWidth;
    settings.hostHeight = hostHeight;
    settings.visible = visible;
    settings.turned = turned;
    auto window = Window::create(settings, [this](Window& w, uint32_t id, uintptr_t wParam, intptr_t lParam) {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(Message{id, wParam, lParam});
      if (id == msg::Close) w.postQuitMessage(3);
      if (id >= msg::User) {
        onWindowThread_ = w.isWindowThread();
        duringSleep_ = sleeping_.load();
        return intptr_t(wParam) + lParam;
      }
      return intptr_t(0);
    });
    return window;
  }

  // Pumps like the main loop and answers the messages handed out.
  std::vector<Message> pump(Window& window) {
    std::vector<Message> out;
    Message m;
    while (window.peekMessage(m)) {
      out.push_back(m);
      window.translateMessage(m);
      window.dispatchMessage(m);
    }
    return out;
  }

  static void push(const SDL_Event& event) {
    SDL_Event copy = event;
    ASSERT_EQ(SDL_PushEvent(&copy), 1) << SDL_GetError();
  }
  static void pushKey(uint32_t type, SDL_Keycode key, uint8_t repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    push(e);
  }
  static void pushButton(uint32_t type, int x, int y, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    push(e);
  }
  static void pushMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    push(e);
  }
  static void pushWindowEvent(Window& window, uint8_t event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = window.hostWindowId();
    e.window.event = event;
    push(e);
  }

  static std::vector<uint32_t> ids(const std::vector<Message>& messages) {
    std::vector<uint32_t> out;
    for (const Message& m : messages) out.push_back(m.id);
    return out;
  }

  std::mutex mutex_;
  std::vector<Message> seen_;
  std::atomic<bool> sleeping_{false};
  bool onWindowThread_ = false;
  bool duringSleep_ = false;
};

TEST_F(WindowTest, CreationDeliversCreateAndHeadlessFocus) {
  auto window = make();
  ASSERT_TRUE(window);
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].id, msg::Create);  // before create() returned
  EXPECT_EQ(ids(pump(*window)), (std::vector<uint32_t>{msg::Activate, msg::SetFocus}));
  EXPECT_TRUE(window->isActive());
  EXPECT_EQ(window->hostTitle(), "Tindrell - Bramble Hollow Saga");
  EXPECT_EQ(window->className(), "TindrellClass");
  EXPECT_EQ(platform::screenSize().width, 480);
  EXPECT_EQ(platform::screenSize().height, 800);
  window->destroy();
  EXPECT_EQ(seen_.back().id, msg::Destroy);
  EXPECT_TRUE(window->isDestroyed());
}

TEST_F(WindowTest, ScaledWindowStillReportsTheDeviceScreen) {
  auto window = make(240, 400);
  ASSERT_TRUE(window);
  int w = 0, h = 0;
  window->hostSize(w, h);
  EXPECT_EQ(w, 240);
  EXPECT_EQ(h, 400);
  EXPECT_EQ(window->width(), 480);
  EXPECT_EQ(platform::screenSize().width, 480);
  EXPECT_EQ(platform::screenSize().height, 800);
  window->destroy();
}

TEST_F(WindowTest, DefaultSizeFitsTheDesktop) {
  auto window = make(0, 0);
  ASSERT_TRUE(window);
  SDL_Rect usable;
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
  int w = 0, h = 0;
  window->hostSize(w, h);
  EXPECT_LE(h, std::max(usable.h, 800));
  EXPECT_LE(w, 480);
  if (usable.h >= 800 + 64) {
    EXPECT_EQ(h, 800);
  }
  EXPECT_NEAR(double(w) / h, 480.0 / 800.0, 0.01);
  window->destroy();
}

TEST_F(WindowTest, KeysBecomeVirtualKeysWithRepeat) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  pushKey(SDL_KEYDOWN, SDLK_RETURN);
  pushKey(SDL_KEYDOWN, SDLK_RETURN, 1);  // auto-repeat
  pushKey(SDL_KEYDOWN, SDLK_RETURN, 1);
  pushKey(SDL_KEYUP, SDLK_RETURN);
  pushKey(SDL_KEYDOWN, SDLK_KP_5);
  pushKey(SDL_KEYDOWN, SDLK_F1);
  pushKey(SDL_KEYDOWN, SDLK_VOLUMEUP);
  pushKey(SDL_KEYDOWN, SDLK_CAPSLOCK);  // no virtual key: not delivered
  pushKey(SDL_KEYDOWN, SDLK_q);
  const auto got = pump(*window);
  ASSERT_EQ(got.size(), 8u);
  const uint32_t keys[] = {vk::Return, vk::Return, vk::Return, vk::Return, vk::Numpad0 + 5, vk::F1, vk::F6, 'Q'};
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].wParam, keys[i]) << i;
  EXPECT_EQ(got[0].id, msg::KeyDown);
  EXPECT_EQ(got[0].lParam & platform::kKeyWasDown, 0);
  EXPECT_EQ(got[0].lParam & 0xFFFF, 1);
  EXPECT_NE(got[1].lParam & platform::kKeyWasDown, 0);
  EXPECT_EQ(got[1].lParam & platform::kKeyReleased, 0);
  EXPECT_EQ(got[3].id, msg::KeyUp);
  EXPECT_NE(got[3].lParam & platform::kKeyReleased, 0);
  EXPECT_EQ((got[3].lParam >> 16) & 0xFF, SDL_SCANCODE_RETURN);
  window->destroy();
}

TEST(KeyMapTest, TableOfKeys) {
  struct Case {
    SDL_Keycode key;
    uint32_t virtualKey;
  } cases[] = {
      {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_UP, 38},    {SDLK_DOWN, 40},  {SDLK_LEFT, 37},
      {SDLK_RIGHT, 39},  {SDLK_F1, 112},      {SDLK_F2, 113},   {SDLK_F3, 114},   {SDLK_F4, 115},
      {SDLK_F6, 117},    {SDLK_F7, 118},      {SDLK_F8, 119},   {SDLK_F9, 120},   {SDLK_F12, 123},
      {SDLK_KP_0, 96},   {SDLK_KP_9, 105},    {SDLK_0, 48},     {SDLK_9, 57},     {SDLK_a, 65},
      {SDLK_z, 90},      {SDLK_ESCAPE, 27},   {SDLK_HOME, 36},  {SDLK_LGUI, 91},  {SDLK_RGUI, 92},
      {SDLK_VOLUMEUP, 117}, {SDLK_VOLUMEDOWN, 118}, {SDLK_AC_BACK, 27}, {SDLK_KP_MULTIPLY, 106},
      {SDLK_CAPSLOCK, 0}, {SDLK_PRINTSCREEN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::virtualKeyForKeycode(c.key), c.virtualKey) << SDL_GetKeyName(c.key);
}

TEST_F(WindowTest, PointerStrokesAreScaledToTheCanvas) {
  auto window = make(240, 400);
  ASSERT_TRUE(window);
  pump(*window);
  pushMotion(10, 10);                           // not held: dropped
  pushButton(SDL_MOUSEBUTTONDOWN, 120, 200);    // the centre
  pushMotion(121, 201);
  pushMotion(-5, 450);                          // dragged beyond the edge (mouse captured)
  pushButton(SDL_MOUSEBUTTONUP, 239, 399);
  pushMotion(50, 50);                           // released: dropped
  pushButton(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_RIGHT);  // other buttons: dropped
  const auto got = pump(*window);
  ASSERT_EQ(ids(got), (std::vector<uint32_t>{msg::PointerDown, msg::PointerMove, msg::PointerMove, msg::PointerUp}));
  EXPECT_EQ(got[0].lParam, platform::packPointer(240, 400));
  EXPECT_EQ(got[0].lParam, intptr_t((400 << 16) | 240));  // x low, y high
  EXPECT_EQ(got[0].wParam, 1u);
  EXPECT_EQ(got[1].lParam, platform::packPointer(242, 402));
  EXPECT_EQ(platform::pointerX(got[2].lParam), -10);
  EXPECT_EQ(platform::pointerY(got[2].lParam), 900);
  EXPECT_EQ(platform::pointerX(got[3].lParam), 478);
  EXPECT_EQ(platform::pointerY(got[3].lParam), 798);
  EXPECT_EQ(got[3].wParam, 0u);
  window->destroy();
}

TEST_F(WindowTest, PointerPassesUnchangedAtFullSize) {
  auto window = make(480, 800);
  ASSERT_TRUE(window);
  pump(*window);
  pushButton(SDL_MOUSEBUTTONDOWN, 0, 799);
  pushButton(SDL_MOUSEBUTTONUP, 479, 0);
  const auto got = pump(*window);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].lParam, platform::packPointer(0, 799));
  EXPECT_EQ(got[1].lParam, platform::packPointer(479, 0));
  window->destroy();
}

// The turned window: the screen's corners on the window's, at full size and
// scaled to half; then the same points through real pointer events.
TEST(TurnedPointTest, WindowCornersLandOnTheScreenCornersTheTurnSays) {
  struct Case {
    int hostWidth, hostHeight, x, y;
    bool turned;
    int screenX, screenY;
  };
  const Case cases[] = {
      // 800x480 on the desktop: its top edge is the screen's right edge.
      {800, 480, 0, 0, true, 479, 0},        // top left: the screen's top right
      {800, 480, 799, 0, true, 479, 799},    // top right: bottom right
      {800, 480, 0, 479, true, 0, 0},        // bottom left: top left
      {800, 480, 799, 479, true, 0, 799},    // bottom right: bottom left
      {800, 480, 400, 240, true, 239, 400},  // the centre
      {800, 480, 760, 450, true, 29, 760},   // the back / skip corner button (0, 660, 90, 140)
      // Scaled to 400x240: each window pixel covers two screen pixels.
      {400, 240, 0, 0, true, 479, 0},
      {400, 240, 399, 239, true, 1, 798},
      {400, 240, 200, 120, true, 239, 400},
      // Beyond the edges (a drag with the button held).
      {800, 480, -5, 490, true, -11, -5},
      // Not turned: only scaled.
      {240, 400, 239, 399, false, 478, 798},
      {480, 800, 0, 799, false, 0, 799},
  };
  for (const Case& c : cases) {
    const platform::ScreenPoint p =
        platform::screenPointFromHost(c.x, c.y, c.hostWidth, c.hostHeight, 480, 800, c.turned);
    EXPECT_EQ(p.x, c.screenX) << c.hostWidth << "x" << c.hostHeight << " (" << c.x << ", " << c.y << ")";
    EXPECT_EQ(p.y, c.screenY) << c.hostWidth << "x" << c.hostHeight << " (" << c.x << ", " << c.y << ")";
  }
}

TEST_F(WindowTest, TurnedWindowIsLandscapeAndGivesScreenPoints) {
  auto window = make(0, 0, true, true);
  ASSERT_TRUE(window);
  int w = 0, h = 0;
  window->hostSize(w, h);
  EXPECT_GT(w, h);
  EXPECT_NEAR(double(w) / h, 800.0 / 480.0, 0.01);
  EXPECT_EQ(window->width(), 480);  // the screen it stands for is still portrait
  EXPECT_EQ(window->height(), 800);
  EXPECT_TRUE(window->isTurned());
  window->destroy();

  window = make(800, 480, true, true);
  ASSERT_TRUE(window);
  pump(*window);
  pushButton(SDL_MOUSEBUTTONDOWN, 0, 0);
  pushMotion(799, 479);
  pushButton(SDL_MOUSEBUTTONUP, 760, 450);
  const auto got = pump(*window);
  ASSERT_EQ(ids(got), (std::vector<uint32_t>{msg::PointerDown, msg::PointerMove, msg::PointerUp}));
  EXPECT_EQ(got[0].lParam, platform::packPointer(479, 0));
  EXPECT_EQ(got[1].lParam, platform::packPointer(0, 799));
  EXPECT_EQ(got[2].lParam, platform::packPointer(29, 760));
  window->destroy();
}

TEST_F(WindowTest, FocusLossAndGain) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  pushWindowEvent(*window, SDL_WINDOWEVENT_FOCUS_LOST);
  pushWindowEvent(*window, SDL_WINDOWEVENT_FOCUS_LOST);  // no change: nothing
  auto got = pump(*window);
  EXPECT_EQ(ids(got), (std::vector<uint32_t>{msg::Activate, msg::KillFocus}));
  EXPECT_EQ(got[0].wParam, 0u);
  EXPECT_FALSE(window->isActive());
  pushWindowEvent(*window, SDL_WINDOWEVENT_FOCUS_GAINED);
  got = pump(*window);
  EXPECT_EQ(ids(got), (std::vector<uint32_t>{msg::Activate, msg::SetFocus}));
  EXPECT_EQ(got[0].wParam, 1u);
  EXPECT_TRUE(window->isActive());
  window->destroy();
}

TEST_F(WindowTest, CloseLeadsToQuitAfterQueuedMessages) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  pushWindowEvent(*window, SDL_WINDOWEVENT_CLOSE);  // the procedure posts quit (exit code 3)
  pushKey(SDL_KEYDOWN, SDLK_UP);
  auto got = pump(*window);
  ASSERT_EQ(ids(got), (std::vector<uint32_t>{msg::Close, msg::KeyDown, msg::Quit}));
  EXPECT_EQ(got[2].wParam, 3u);
  SDL_Event quit{};
  quit.type = SDL_QUIT;  // what SDL makes of SIGINT and SIGTERM
  push(quit);
  got = pump(*window);
  EXPECT_EQ(ids(got), (std::vector<uint32_t>{msg::Close, msg::Quit}));
  window->destroy();
}

TEST_F(WindowTest, SendFromAnotherThreadRunsOnTheWindowThread) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  intptr_t result = 0;
  bool answered = false;
  std::thread sender([&] { answered = window->sendMessage(msg::User + 1, 30, 12, &result, 10000); });
  Message m;
  // The window thread waits for messages; the sent one is delivered inside.
  while (!window->waitMessage(m, 50) && seen_.size() < 4) {
  }
  sender.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(onWindowThread_);
  // On the window thread itself the procedure is called directly.
  EXPECT_TRUE(window->sendMessage(msg::User, 1, 2, &result, 0));
  EXPECT_EQ(result, 3);
  window->destroy();
}

TEST_F(WindowTest, SentMessagesAndFramesAreServedDuringSleep) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  ASSERT_TRUE(window->openPresenter(platform::PresentPath::Software, 480, 800));
  std::vector<uint16_t> frame(480 * 800, 0x07E0);
  std::atomic<bool> shownInSleep{false};
  intptr_t result = 0;
  sleeping_ = true;
  std::thread other([&] {
    EXPECT_TRUE(window->sendMessage(msg::User + 2, 1, 1, &result, 10000));
    const uint64_t n = window->presentFrame(frame.data(), 480 * 2);
    EXPECT_EQ(n, 1u);
    shownInSleep = window->waitUntilShown(n, 10000) && sleeping_.load();
  });
  // Long enough that the other thread finishes well inside it; sleep returns
  // at its deadline only.
  window->sleep(3000);
  sleeping_ = false;
  other.join();
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(duringSleep_);
  EXPECT_TRUE(shownInSleep);
  window->destroy();
}

// A game thread presenting without pause never holds the window thread in
// sleep beyond its time: every sleep returns and frames are shown meanwhile.
// A starved sleep never returns; the time bound is only a hang guard.
TEST_F(WindowTest, SleepEndsUnderAFloodOfFrames) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  ASSERT_TRUE(window->openPresenter(platform::PresentPath::Software, 480, 800));
  std::vector<uint16_t> frame(480 * 800, 0x07E0);
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> presented{0};
  std::thread game([&] {
    while (!stop) presented = window->presentFrame(frame.data(), 480 * 2);
  });
  const auto start = std::chrono::steady_clock::now();
  int sleeps = 0;
  uint64_t shownBefore = 0;
  for (; sleeps < 5; ++sleeps) {
    window->sleep(20);
    if (sleeps == 0) shownBefore = window->shownFrame();
  }
  const auto took = std::chrono::steady_clock::now() - start;
  stop = true;
  game.join();
  EXPECT_EQ(sleeps, 5);
  EXPECT_GT(window->shownFrame(), shownBefore);  // the later sleeps showed frames too
  EXPECT_LE(window->shownFrame(), presented.load());
  EXPECT_LT(took, std::chrono::seconds(20));  // hang guard
  window->destroy();
}

TEST_F(WindowTest, TimedOutSendIsNeverDelivered) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  intptr_t result = 0;
  std::thread sender([&] { EXPECT_FALSE(window->sendMessage(msg::User + 9, 0, 0, &result, 20)); });
  sender.join();  // the window thread did not pump meanwhile
  pump(*window);
  for (const Message& m : seen_) EXPECT_NE(m.id, msg::User + 9);
  window->destroy();
}

TEST_F(WindowTest, PostFromAnotherThreadWakesTheWaitingThread) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  std::thread poster([&] { EXPECT_TRUE(window->postMessage(msg::User + 5, 7, 8)); });
  Message m;
  ASSERT_TRUE(window->waitMessage(m, 10000));
  poster.join();
  EXPECT_EQ(m.id, msg::User + 5);
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_EQ(m.lParam, 8);
  EXPECT_FALSE(window->waitMessage(m, 0));
  window->destroy();
}

TEST_F(WindowTest, DestroyAnswersWaitingSendersAndRefusesMore) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  std::atomic<bool> started{false};
  bool answered = true;
  std::thread sender([&] {
    started = true;
    answered = window->sendMessage(msg::User + 3, 0, 0, nullptr, -1);
  });
  while (!started) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  window->destroy();
  sender.join();
  EXPECT_FALSE(answered);
  EXPECT_FALSE(window->postMessage(msg::User, 0, 0));
  std::thread late([&] { EXPECT_FALSE(window->sendMessage(msg::User, 0, 0, nullptr, 1000)); });
  late.join();
}

TEST_F(WindowTest, InvokeRunsWorkOnTheWindowThread) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  std::thread::id ranOn;
  std::thread caller([&] { EXPECT_TRUE(window->invoke([&] { ranOn = std::this_thread::get_id(); }, 10000)); });
  Message m;
  while (ranOn == std::thread::id()) window->waitMessage(m, 10);
  caller.join();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  window->destroy();
}

TEST_F(WindowTest, MessageOnlyWindowQueuesWithoutSdl) {
  auto window = make(0, 0, false);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->hostWindowId(), 0u);
  EXPECT_FALSE(window->openPresenter(platform::PresentPath::Software, 480, 800));
  intptr_t result = 0;
  std::thread sender([&] { EXPECT_TRUE(window->sendMessage(msg::User + 4, 4, 4, &result, 10000)); });
  Message m;
  while (result == 0) window->waitMessage(m, 10);
  sender.join();
  EXPECT_EQ(result, 8);
  window->destroy();
}

// Four quadrants: red, green, blue, white; a grey dot at (100, 100).
std::vector<uint16_t> testFrame() {
  std::vector<uint16_t> frame(480 * 800);
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 480; ++x) {
      frame[size_t(y * 480 + x)] = y < 400 ? (x < 240 ? 0xF800 : 0x07E0) : (x < 240 ? 0x001F : 0xFFFF);
    }
  }
  frame[100 * 480 + 100] = 0x8410;  // r 16/31, g 32/63, b 16/31
  return frame;
}

class PresentTest : public WindowTest, public ::testing::WithParamInterface<platform::PresentPath> {
 protected:
  // The software path converts exactly; a GPU may round a channel by a step.
  bool same(uint32_t got, uint32_t want) const {
    const int tolerance = GetParam() == platform::PresentPath::Software ? 0 : 2;
    for (int shift = 0; shift < 24; shift += 8) {
      if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > tolerance) return false;
    }
    return true;
  }
};

TEST_P(PresentTest, FramesReachTheWindowPixelForPixel) {
  auto window = make(480, 800);
  ASSERT_TRUE(window);
  pump(*window);
  ASSERT_TRUE(window->openPresenter(GetParam(), 480, 800));
  const auto frame = testFrame();
  // Presented from another thread: the copy is taken at once, the window
  // thread shows it.
  uint64_t number = 0;
  std::thread game([&] { number = window->presentFrame(frame.data(), 480 * 2); });
  game.join();
  ASSERT_EQ(number, 1u);
  Message m;
  window->peekMessage(m);
  EXPECT_EQ(window->shownFrame(), 1u);

  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(window->readBackPixels(pixels, w, h));
  ASSERT_EQ(w, 480);
  ASSERT_EQ(h, 800);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[0], 0xFF0000u);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[479], 0x00FF00u);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(799 * 480)], 0x0000FFu);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(799 * 480 + 479)], 0xFFFFFFu);
  // 5- and 6-bit values widened by bit replication.
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(100 * 480 + 100)], 0x848284u);
  int wrong = 0;
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 480; ++x) {
      if (x == 100 && y == 100) continue;
      const uint32_t want = y < 400 ? (x < 240 ? 0xFF0000u : 0x00FF00u) : (x < 240 ? 0x0000FFu : 0xFFFFFFu);
      wrong += !same(pixels[size_t(y * 480 + x)], want);
    }
  }
  EXPECT_EQ(wrong, 0);
  window->destroy();
}

TEST_P(PresentTest, ScaledWindowShowsTheWholeFrame) {
  auto window = make(240, 400);
  ASSERT_TRUE(window);
  pump(*window);
  ASSERT_TRUE(window->openPresenter(GetParam(), 480, 800));
  const auto frame = testFrame();
  ASSERT_EQ(window->presentFrame(frame.data(), 480 * 2), 1u);  // on the window thread: shown at once
  EXPECT_EQ(window->shownFrame(), 1u);
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(window->readBackPixels(pixels, w, h));
  ASSERT_EQ(w, 240);
  ASSERT_EQ(h, 400);
  auto check = [&] {
    EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(60 * 240 + 60)], 0xFF0000u);
    EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(60 * 240 + 190)], 0x00FF00u);
    EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(350 * 240 + 60)], 0x0000FFu);
    EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, pixels[size_t(350 * 240 + 190)], 0xFFFFFFu);
  };
  check();
  if (GetParam() == platform::PresentPath::Software) {  // a GPU may pick the dot's neighbour
    EXPECT_EQ(pixels[size_t(50 * 240 + 50)], 0x848284u);
  }
  window->setSmoothScaling(true);
  ASSERT_EQ(window->presentFrame(frame.data(), 480 * 2), 2u);
  ASSERT_TRUE(window->readBackPixels(pixels, w, h));
  check();
  // Smooth scaling blends the grey dot (the nearest pixel so far) with its red neighbours.
  const uint32_t blended = pixels[size_t(50 * 240 + 50)];
  EXPECT_FALSE(same(blended, 0xFF0000u));
  EXPECT_FALSE(same(blended, 0x848284u));
  window->destroy();
}

// A turned window shows the screen a quarter turn anticlockwise: the
// screen's top edge runs down the window's left side, its right edge along
// the window's top.
TEST_P(PresentTest, TurnedWindowShowsTheScreenTurnedBack) {
  for (const auto& [hostWidth, hostHeight] : {std::pair{800, 480}, std::pair{400, 240}}) {
    auto window = make(hostWidth, hostHeight, true, true);
    ASSERT_TRUE(window);
    pump(*window);
    ASSERT_TRUE(window->openPresenter(GetParam(), 480, 800));
    const auto frame = testFrame();
    ASSERT_EQ(window->presentFrame(frame.data(), 480 * 2), 1u);
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(window->readBackPixels(pixels, w, h));
    ASSERT_EQ(w, hostWidth);
    ASSERT_EQ(h, hostHeight);
    auto at = [&](int x, int y) { return pixels[size_t(y * w + x)]; };
    auto same2 = [&](uint32_t a, uint32_t b) { return same(a, b); };
    // Red top left of the screen: bottom left of the window; green top right:
    // top left; blue bottom left: bottom right; white bottom right: top right.
    const int qx = w / 8, qy = h / 8;
    EXPECT_PRED2(same2, at(qx, h - 1 - qy), 0xFF0000u) << w;
    EXPECT_PRED2(same2, at(qx, qy), 0x00FF00u) << w;
    EXPECT_PRED2(same2, at(w - 1 - qx, h - 1 - qy), 0x0000FFu) << w;
    EXPECT_PRED2(same2, at(w - 1 - qx, qy), 0xFFFFFFu) << w;
    if (w == 800) {
      // Pixel for pixel: screen (x, y) at window (y, 479 - x), and the grey dot.
      EXPECT_PRED2(same2, at(100, 379), 0x848284u);
      int wrong = 0;
      for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 480; ++x) {
          if (x == 100 && y == 100) continue;
          const uint32_t want = y < 400 ? (x < 240 ? 0xFF0000u : 0x00FF00u) : (x < 240 ? 0x0000FFu : 0xFFFFFFu);
          wrong += !same(at(y, 479 - x), want);
        }
      EXPECT_EQ(wrong, 0);
    }
    window->destroy();
  }
}

TEST_P(PresentTest, RowPitchAndNewestFrameWins) {
  auto window = make(480, 800);
  ASSERT_TRUE(window);
  pump(*window);
  ASSERT_TRUE(window->openPresenter(GetParam(), 480, 800));
  // A buffer with padding at the end of each row.
  std::vector<uint16_t> padded(512 * 800, 0x001F);
  std::vector<uint16_t> red(480 * 800, 0xF800);
  std::thread game([&] {
    window->presentFrame(red.data(), 480 * 2);
    window->presentFrame(padded.data(), 512 * 2);  // replaces the first before it is shown
  });
  game.join();
  Message m;
  window->peekMessage(m);
  EXPECT_EQ(window->shownFrame(), 2u);
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(window->readBackPixels(pixels, w, h));
  EXPECT_EQ(pixels[0], 0x0000FFu);
  EXPECT_EQ(pixels[size_t(799 * 480 + 479)], 0x0000FFu);
  EXPECT_EQ(window->presentFrame(red.data(), 100), 0u);  // pitch shorter than a row
  EXPECT_EQ(window->presentFrame(nullptr, 960), 0u);
  window->closePresenter();
  EXPECT_EQ(window->presentFrame(red.data(), 960), 0u);
  window->destroy();
}

// Under a real X server (the suite runs a second time under Xvfb): the title
// and the pixels as the X server holds them, not as SDL remembers them.
TEST_P(PresentTest, RealScreenShowsTitleAndFrame) {
  auto window = make(480, 800);
  ASSERT_TRUE(window);
  if (std::string(SDL_GetCurrentVideoDriver()) != "x11") {
    window->destroy();
    GTEST_SKIP() << "needs the x11 video driver";
  }
  pump(*window);
  ASSERT_TRUE(window->openPresenter(GetParam(), 480, 800));
  const auto frame = testFrame();
  std::thread game([&] { window->presentFrame(frame.data(), 480 * 2); });
  game.join();
  Message m;
  window->peekMessage(m);
  ASSERT_EQ(window->shownFrame(), 1u);

  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(SDL_GetWindowFromID(window->hostWindowId()), &info));
  ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
  Display* display = info.info.x11.display;
  ::Window xwindow = info.info.x11.window;
  XSync(display, False);
  XTextProperty name;
  ASSERT_NE(XGetWMName(display, xwindow, &name), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name.value), name.nitems), "Tindrell - Bramble Hollow Saga");
  XFree(name.value);

  XImage* image = XGetImage(display, xwindow, 0, 0, 480, 800, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  auto at = [&](int x, int y) { return uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF; };
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, at(10, 10), 0xFF0000u);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, at(470, 10), 0x00FF00u);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, at(10, 790), 0x0000FFu);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, at(470, 790), 0xFFFFFFu);
  EXPECT_PRED2([&](uint32_t a, uint32_t b) { return same(a, b); }, at(100, 100), 0x848284u);
  XDestroyImage(image);
  window->destroy();
}

INSTANTIATE_TEST_SUITE_P(BothPaths, PresentTest,
                         ::testing::Values(platform::PresentPath::Software, platform::PresentPath::Texture),
                         [](const auto& info) {
                           return info.param == platform::PresentPath::Software ? "Software" : "Texture";
                         });

std::vector<std::string> g_logs;
void captureLog(platform::LogLevel, const char* message) { g_logs.emplace_back(message); }

TEST_F(WindowTest, HeadlessMessageBoxesLogAndAnswer) {
  auto previous = platform::setLogSink(&captureLog);
  g_logs.clear();
  auto window = make();
  ASSERT_TRUE(window);
  ASSERT_TRUE(platform::isHeadless());
  unsetenv("BRAMBLE_MSGBOX_ANSWER");
  EXPECT_EQ(platform::showMessageBox(window.get(), "Bramble Hollow Saga", "Do you want to connect to the Internet?",
                                     platform::MessageBoxButtons::YesNo, platform::MessageBoxIcon::Question),
            1);
  ASSERT_EQ(g_logs.size(), 1u);
  EXPECT_NE(g_logs[0].find("Bramble Hollow Saga"), std::string::npos);
  EXPECT_NE(g_logs[0].find("Do you want to connect to the Internet?"), std::string::npos);
  setenv("BRAMBLE_MSGBOX_ANSWER", "7", 1);
  int fromOtherThread = 0;
  std::thread other([&] {
    fromOtherThread = platform::showMessageBox(window.get(), "Sending SMS...", "Error sending SMS",
                                               platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Error);
  });
  other.join();  // answers without the window thread pumping
  EXPECT_EQ(fromOtherThread, 7);
  setenv("BRAMBLE_MSGBOX_ANSWER", "yes", 1);
  EXPECT_EQ(platform::showMessageBox(nullptr, "c", "t", platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::None),
            1);
  setenv("BRAMBLE_MSGBOX_ANSWER", "1", 1);
  platform::setLogSink(previous);
  window->destroy();
}

TEST_F(WindowTest, OrientationChangeNotifiesTheWindow) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  EXPECT_EQ(platform::displayOrientation(), 0u);
  platform::simulateOrientationChange(1);
  EXPECT_EQ(platform::displayOrientation(), 1u);
  EXPECT_EQ(ids(pump(*window)), std::vector<uint32_t>{msg::SettingChange});
  platform::setDisplayOrientation(0);  // what the shell does to force it back
  EXPECT_EQ(platform::displayOrientation(), 0u);
  SDL_Event display{};
  display.type = SDL_DISPLAYEVENT;
  display.display.event = SDL_DISPLAYEVENT_ORIENTATION;
  push(display);
  EXPECT_EQ(ids(pump(*window)), std::vector<uint32_t>{msg::SettingChange});
  window->destroy();
}

TEST_F(WindowTest, WindowStateCallsFromAnotherThread) {
  auto window = make();
  ASSERT_TRUE(window);
  pump(*window);
  std::atomic<bool> done{false};
  std::thread other([&] {
    window->minimize();
    window->raise();
    window->show();
    window->setFullScreen(true);
    done = true;
  });
  Message m;
  while (!done) window->waitMessage(m, 10);
  other.join();
  EXPECT_TRUE(window->isFullScreen());
  EXPECT_FALSE(window->isMinimized());
  window->destroy();
}

}  // namespace

// Window, message queue, cross-thread delivery and presenting over SDL2.
// Invariants: SDL is called only on the window thread; the queue, the sent
// requests and the pending-frame flag are guarded by Impl::mutex; the staged
// frame by Impl::frameMutex; a sent request is run at most once, and never
// after its sender gave up on it before it started.
#include "platform/window/window.h"

#include "platform/log/log.h"
#include "platform/window/keymap.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct Request {
  enum class State { Pending, Running, Done, Dropped };
  uint32_t id = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  const std::function<void()>* work = nullptr;  // set for invoke(); lives on the waiting sender's stack
  State state = State::Pending;
  intptr_t result = 0;
};

std::atomic<uint32_t> g_orientation{0};

std::mutex& registryMutex() {
  static std::mutex* m = new std::mutex;
  return *m;
}
std::vector<std::weak_ptr<Window>>& registry() {
  static auto* windows = new std::vector<std::weak_ptr<Window>>;
  return *windows;
}

std::vector<std::shared_ptr<Window>> liveWindows() {
  std::lock_guard<std::mutex> lock(registryMutex());
  std::vector<std::shared_ptr<Window>> out;
  auto& windows = registry();
  windows.erase(std::remove_if(windows.begin(), windows.end(), [](const auto& w) { return w.expired(); }),
                windows.end());
  for (const auto& w : windows) {
    if (auto window = w.lock(); window && !window->isDestroyed()) out.push_back(std::move(window));
  }
  return out;
}

int floorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return int(q);
}

}  // namespace

ScreenPoint screenPointFromHost(int x, int y, int hostWidth, int hostHeight, int screenWidth, int screenHeight,
                                bool turned) {
  if (hostWidth <= 0 || hostHeight <= 0) return ScreenPoint{x, y};
  const int shownWidth = turned ? screenHeight : screenWidth;
  const int shownHeight = turned ? screenWidth : screenHeight;
  const int sx = floorDiv(int64_t(x) * shownWidth, hostWidth);
  const int sy = floorDiv(int64_t(y) * shownHeight, hostHeight);
  if (!turned) return ScreenPoint{sx, sy};
  return ScreenPoint{screenWidth - 1 - sy, sx};
}

struct Window::Impl {
  std::thread::id thread;
  SDL_Window* sdl = nullptr;
  uint32_t sdlId = 0;

  // Queue and cross-thread work.
  mutable std::mutex mutex;
  std::condition_variable wake;      // the window thread waits here
  std::condition_variable answered;  // senders wait here
  std::deque<Message> posted;
  std::deque<std::shared_ptr<Request>> requests;
  bool quitPosted = false;
  int quitCode = 0;
  bool framePending = false;
  bool destroyed = false;

  // Window state (written on the window thread, read anywhere).
  std::atomic<bool> active{false};
  std::atomic<bool> minimized{false};
  std::atomic<bool> fullScreen{false};
  bool pointerHeld = false;
  bool redrawPending = false;

  // Frames.
  std::mutex frameMutex;
  std::vector<uint16_t> staged;  // newest copy handed in
  uint64_t stagedNumber = 0;
  uint64_t takenNumber = 0;
  std::vector<uint16_t> current;  // the frame being or last shown (window thread)
  mutable std::mutex shownMutex;
  mutable std::condition_variable shownChanged;
  uint64_t shownNumber = 0;

  // Presenter (window thread, except the atomics). A turned window shows the
  // frame turned: shownWidth x shownHeight is bufferHeight x bufferWidth.
  std::atomic<bool> presenterOpen{false};
  std::atomic<bool> smooth{false};
  PresentPath path = PresentPath::Software;
  bool turned = false;
  int bufferWidth = 0;
  int bufferHeight = 0;
  int shownWidth = 0;
  int shownHeight = 0;
  std::vector<uint16_t> turnedFrame;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  std::vector<uint32_t> lut;  // RGB565 -> window surface pixel
  uint32_t lutFormat = 0;
  SDL_Surface* stretchSource = nullptr;
  std::vector<int> columnMap;
  bool warnedSurface = false;

  void buildLut(const SDL_PixelFormat* format) {
    if (lutFormat == format->format && !lut.empty()) return;
    lut.resize(65536);
    for (uint32_t v = 0; v < 65536; ++v) {
      const uint32_t r5 = v >> 11, g6 = (v >> 5) & 63, b5 = v & 31;
      lut[v] = SDL_MapRGB(format, Uint8((r5 << 3) | (r5 >> 2)), Uint8((g6 << 2) | (g6 >> 4)),
                          Uint8((b5 << 3) | (b5 >> 2)));
    }
    lutFormat = format->format;
  }

  // The frame a quarter turn anticlockwise: screen pixel (x, y) goes to
  // (y, bufferWidth - 1 - x). Done in tiles so that both sides stay in cache.
  const uint16_t* turn(const uint16_t* pixels) {
    const int w = bufferWidth, h = bufferHeight;
    turnedFrame.resize(size_t(w) * size_t(h));
    constexpr int kTile = 32;
    for (int y0 = 0; y0 < h; y0 += kTile) {
      const int y1 = std::min(h, y0 + kTile);
      for (int x0 = 0; x0 < w; x0 += kTile) {
        const int x1 = std::min(w, x0 + kTile);
        for (int y = y0; y < y1; ++y) {
          const uint16_t* src = pixels + size_t(y) * size_t(w);
          for (int x = x0; x < x1; ++x) turnedFrame[size_t(w - 1 - x) * size_t(h) + size_t(y)] = src[x];
        }
      }
    }
    return turnedFrame.data();
  }

  // RGB565 frame as shown into a 32-bit surface of any size (nearest pixel).
  void convertInto(SDL_Surface* target, const uint16_t* pixels) {
    const int tw = target->w, th = target->h;
    if (int(columnMap.size()) != tw) columnMap.assign(size_t(tw), 0);
    for (int x = 0; x < tw; ++x) columnMap[size_t(x)] = int(int64_t(x) * shownWidth / tw);
    for (int y = 0; y < th; ++y) {
      const uint16_t* src = pixels + size_t(int64_t(y) * shownHeight / th) * size_t(shownWidth);
      uint32_t* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target->pixels) + size_t(y) * size_t(target->pitch));
      if (tw == shownWidth) {
        for (int x = 0; x < tw; ++x) dst[x] = lut[src[x]];
      } else {
        for (int x = 0; x < tw; ++x) dst[x] = lut[src[columnMap[size_t(x)]]];
      }
    }
  }

  bool drawSoftware(const uint16_t* pixels) {
    SDL_Surface* surface = SDL_GetWindowSurface(sdl);
    if (!surface) {
      if (!warnedSurface) platformLog(LogLevel::Error, "window: no window surface: %s", SDL_GetError());
      warnedSurface = true;
      return false;
    }
    if (surface->format->BytesPerPixel == 4) {
      buildLut(surface->format);
      const bool scaled = surface->w != shownWidth || surface->h != shownHeight;
      if (scaled && smooth.load()) {
        if (!stretchSource || stretchSource->format->format != surface->format->format) {
          if (stretchSource) SDL_FreeSurface(stretchSource);
          stretchSource = SDL_CreateRGBSurfaceWithFormat(0, shownWidth, shownHeight, 32, surface->format->format);
        }
        if (stretchSource) {
          convertInto(stretchSource, pixels);
          if (SDL_SoftStretchLinear(stretchSource, nullptr, surface, nullptr) != 0) {
            SDL_BlitScaled(stretchSource, nullptr, surface, nullptr);
          }
        }
      } else {
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        convertInto(surface, pixels);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
      }
    } else {
      SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(pixels), shownWidth,
                                                               shownHeight, 16, shownWidth * 2,
                                                               SDL_PIXELFORMAT_RGB565);
      if (source) {
        SDL_BlitScaled(source, nullptr, surface, nullptr);
        SDL_FreeSurface(source);
      }
    }
    return SDL_UpdateWindowSurface(sdl) == 0;
  }

  bool drawTexture(const uint16_t* pixels, bool present) {
    if (!renderer || !texture) return false;
    if (pixels && SDL_UpdateTexture(texture, nullptr, pixels, shownWidth * 2) != 0) return false;
    SDL_SetTextureScaleMode(texture, smooth.load() ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (SDL_RenderCopy(renderer, texture, nullptr, nullptr) != 0) return false;
    if (present) SDL_RenderPresent(renderer);
    return true;
  }

  bool draw(const uint16_t* pixels) {
    if (!presenterOpen.load() || !sdl) return false;
    const uint16_t* shown = turned ? turn(pixels) : pixels;
    return path == PresentPath::Software ? drawSoftware(shown) : drawTexture(shown, true);
  }

  // Shows the newest staged frame, if one is newer than the last shown.
  void showNewestFrame() {
    uint64_t number;
    {
      std::lock_guard<std::mutex> lock(frameMutex);
      if (stagedNumber == takenNumber) return;
      staged.swap(current);
      number = takenNumber = stagedNumber;
    }
    draw(current.data());
    {
      std::lock_guard<std::mutex> lock(shownMutex);
      shownNumber = number;
    }
    shownChanged.notify_all();
  }

  void releasePresenter() {
    presenterOpen = false;
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (stretchSource) SDL_FreeSurface(stretchSource);
    texture = nullptr;
    renderer = nullptr;
    stretchSource = nullptr;
  }

  bool hasCrossThreadWork() const { return !requests.empty() || framePending; }
};

// ---- creation and destruction ----

Window::Window(const WindowSettings& settings, WindowProcedure procedure)
    : settings_(settings), procedure_(std::move(procedure)), impl_(std::make_unique<Impl>()) {
  impl_->thread = std::this_thread::get_id();
}

std::shared_ptr<Window> Window::create(const WindowSettings& settings, WindowProcedure procedure) {
  if (settings.width <= 0 || settings.height <= 0 || settings.width > 16384 || settings.height > 16384) {
    platformLog(LogLevel::Error, "window: bad window size %dx%d", settings.width, settings.height);
    return nullptr;
  }
  std::shared_ptr<Window> window(new Window(settings, std::move(procedure)));
  Impl& d = *window->impl_;
  bool headlessDriver = false;
  if (settings.visible) {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      platformLog(LogLevel::Error, "window: cannot start SDL video: %s", SDL_GetError());
      return nullptr;
    }
    int hostWidth = settings.hostWidth, hostHeight = settings.hostHeight;
    if (hostWidth <= 0 || hostHeight <= 0) {
      const int shownWidth = settings.turned ? settings.height : settings.width;
      const int shownHeight = settings.turned ? settings.width : settings.height;
      hostWidth = shownWidth;
      hostHeight = shownHeight;
      SDL_Rect usable;
      if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
        const double room = std::max(usable.h - 64, usable.h / 2);  // leave space for a title bar
        const double scale = std::min({1.0, double(usable.w) / shownWidth, room / shownHeight});
        hostWidth = std::max(1, int(shownWidth * scale + 0.5));
        hostHeight = std::max(1, int(shownHeight * scale + 0.5));
      }
    }
    d.sdl = SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, hostWidth,
                             hostHeight, SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!d.sdl) {
      platformLog(LogLevel::Error, "window: cannot create window \"%s\": %s", settings.title.c_str(), SDL_GetError());
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return nullptr;
    }
    d.sdlId = SDL_GetWindowID(d.sdl);
    SDL_StopTextInput();  // keys only; no input method pop-ups
    const char* driver = SDL_GetCurrentVideoDriver();
    headlessDriver = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (!headlessDriver) SDL_SetWindowInputFocus(d.sdl);
  }
  {
    std::lock_guard<std::mutex> lock(registryMutex());
    registry().push_back(window);
  }
  window->dispatchMessage(Message{msg::Create, 0, 0});
  if (headlessDriver) {
    d.active = true;
    window->postMessage(msg::Activate, 1, 0);
    window->postMessage(msg::SetFocus, 0, 0);
  }
  return window;
}

Window::~Window() {
  if (!isDestroyed()) {
    if (isWindowThread()) {
      destroy();
    } else {
      platformLog(LogLevel::Error, "window: \"%s\" released off its thread without destroy()", settings_.title.c_str());
    }
  }
}

void Window::destroy() {
  if (!isWindowThread()) {
    platformLog(LogLevel::Error, "window: destroy() called off the window thread");
    return;
  }
  if (isDestroyed()) return;
  dispatchMessage(Message{msg::Destroy, 0, 0});
  Impl& d = *impl_;
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    d.destroyed = true;
    for (auto& r : d.requests) r->state = Request::State::Dropped;
    d.requests.clear();
    d.framePending = false;
  }
  d.answered.notify_all();
  d.releasePresenter();
  if (d.sdl) {
    SDL_DestroyWindow(d.sdl);
    d.sdl = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  d.active = false;
}

bool Window::isDestroyed() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->destroyed;
}

bool Window::isWindowThread() const { return std::this_thread::get_id() == impl_->thread; }

// ---- queue ----

void Window::serviceCrossThreadWork() {
  Impl& d = *impl_;
  for (;;) {
    std::shared_ptr<Request> request;
    {
      std::lock_guard<std::mutex> lock(d.mutex);
      if (d.requests.empty()) break;
      request = std::move(d.requests.front());
      d.requests.pop_front();
      if (request->state != Request::State::Pending) continue;
      request->state = Request::State::Running;
    }
    intptr_t result = 0;
    if (request->work) {
      (*request->work)();
    } else {
      result = procedure_ ? procedure_(*this, request->id, request->wParam, request->lParam) : 0;
    }
    {
      std::lock_guard<std::mutex> lock(d.mutex);
      request->result = result;
      request->state = Request::State::Done;
    }
    d.answered.notify_all();
  }
  bool frame;
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    frame = d.framePending;
    d.framePending = false;
  }
  if (frame) d.showNewestFrame();
  if (d.redrawPending) {
    d.redrawPending = false;
    if (d.takenNumber != 0) d.draw(d.current.data());
  }
}

void Window::pumpSdlEvents() {
  Impl& d = *impl_;
  if (!d.sdl) return;
  SDL_PumpEvents();
  SDL_Event e;
  auto post = [&](uint32_t id, uintptr_t w, intptr_t l) {
    std::lock_guard<std::mutex> lock(d.mutex);
    d.posted.push_back(Message{id, w, l});
  };
  auto canvasPoint = [&](int x, int y) {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(d.sdl, &ww, &wh);
    const ScreenPoint p = screenPointFromHost(x, y, ww, wh, settings_.width, settings_.height, settings_.turned);
    return packPointer(p.x, p.y);
  };
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    switch (e.type) {
      case SDL_QUIT:
        post(msg::Close, 0, 0);
        break;
      case SDL_WINDOWEVENT:
        if (e.window.windowID != d.sdlId) break;
        switch (e.window.event) {
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (!d.active.exchange(true)) {
              post(msg::Activate, 1, 0);
              post(msg::SetFocus, 0, 0);
            }
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            if (d.active.exchange(false)) {
              post(msg::Activate, 0, 0);
              post(msg::KillFocus, 0, 0);
            }
            break;
          case SDL_WINDOWEVENT_CLOSE:
            post(msg::Close, 0, 0);
            break;
          case SDL_WINDOWEVENT_MINIMIZED:
            d.minimized = true;
            break;
          case SDL_WINDOWEVENT_RESTORED:
          case SDL_WINDOWEVENT_MAXIMIZED:
            d.minimized = false;
            d.redrawPending = true;
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:
          case SDL_WINDOWEVENT_SHOWN:
            d.redrawPending = true;
            break;
          default:
            break;
        }
        break;
      case SDL_DISPLAYEVENT:
        post(msg::SettingChange, 0, 0);
        break;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        d.redrawPending = true;
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        if (e.key.windowID != 0 && e.key.windowID != d.sdlId) break;
        const uint32_t key = virtualKeyForKeycode(e.key.keysym.sym);
        if (key == 0) break;
        const bool up = e.type == SDL_KEYUP;
        post(up ? msg::KeyUp : msg::KeyDown, key,
             keyParameter(uint8_t(e.key.keysym.scancode & 0xFF), up || e.key.repeat != 0, up));
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT || (e.button.windowID != 0 && e.button.windowID != d.sdlId)) break;
        d.pointerHeld = true;
        post(msg::PointerDown, 1, canvasPoint(e.button.x, e.button.y));
        break;
      case SDL_MOUSEMOTION:
        if (!d.pointerHeld || (e.motion.windowID != 0 && e.motion.windowID != d.sdlId)) break;
        post(msg::PointerMove, 1, canvasPoint(e.motion.x, e.motion.y));
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT || (e.button.windowID != 0 && e.button.windowID != d.sdlId)) break;
        d.pointerHeld = false;
        post(msg::PointerUp, 0, canvasPoint(e.button.x, e.button.y));
        break;
      default:
        break;
    }
  }
  if (d.redrawPending) serviceCrossThreadWork();
}

bool Window::peekMessage(Message& out) {
  serviceCrossThreadWork();
  pumpSdlEvents();
  Impl& d = *impl_;
  std::lock_guard<std::mutex> lock(d.mutex);
  if (!d.posted.empty()) {
    out = d.posted.front();
    d.posted.pop_front();
    return true;
  }
  if (d.quitPosted) {
    d.quitPosted = false;
    out = Message{msg::Quit, uintptr_t(intptr_t(d.quitCode)), 0};
    return true;
  }
  return false;
}

bool Window::waitMessage(Message& out, int timeoutMs) {
  Impl& d = *impl_;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    if (peekMessage(out)) return true;
    const auto now = Clock::now();
    if (timeoutMs >= 0 && now >= deadline) return false;
    // SDL has no wake-up we may use off its thread, so its events are polled
    // every few milliseconds; our own queue wakes us at once.
    auto until = now + std::chrono::milliseconds(d.sdl ? 5 : 50);
    if (timeoutMs >= 0) until = std::min(until, deadline);
    std::unique_lock<std::mutex> lock(d.mutex);
    d.wake.wait_until(lock, until, [&] { return d.hasCrossThreadWork() || !d.posted.empty() || d.quitPosted; });
  }
}

bool Window::translateMessage(const Message&) { return false; }

intptr_t Window::dispatchMessage(const Message& message) {
  return procedure_ ? procedure_(*this, message.id, message.wParam, message.lParam) : 0;
}

void Window::sleep(int milliseconds) {
  Impl& d = *impl_;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, milliseconds));
  for (;;) {
    serviceCrossThreadWork();
    std::unique_lock<std::mutex> lock(d.mutex);
    // Frames that keep coming faster than they are shown must not hold the
    // caller beyond its time (its message pump would starve).
    if (Clock::now() >= deadline) return;
    if (d.hasCrossThreadWork()) continue;
    if (!d.wake.wait_until(lock, deadline, [&] { return d.hasCrossThreadWork(); })) return;
  }
}

void Window::postQuitMessage(int exitCode) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->quitPosted = true;
  impl_->quitCode = exitCode;
  impl_->wake.notify_all();
}

bool Window::postMessage(uint32_t id, uintptr_t wParam, intptr_t lParam) {
  Impl& d = *impl_;
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.destroyed) return false;
    d.posted.push_back(Message{id, wParam, lParam});
  }
  d.wake.notify_all();
  return true;
}

namespace {

bool waitForAnswer(std::unique_lock<std::mutex>& lock, std::condition_variable& answered,
                   const std::shared_ptr<Request>& request, int timeoutMs) {
  auto settled = [&] { return request->state == Request::State::Done || request->state == Request::State::Dropped; };
  if (timeoutMs < 0) {
    answered.wait(lock, settled);
  } else {
    answered.wait_for(lock, std::chrono::milliseconds(timeoutMs), settled);
  }
  if (request->state == Request::State::Done) return true;
  if (request->state == Request::State::Pending) request->state = Request::State::Dropped;
  return false;
}

}  // namespace

bool Window::sendMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, intptr_t* result, int timeoutMs) {
  if (isWindowThread()) {
    if (isDestroyed()) return false;
    const intptr_t r = dispatchMessage(Message{id, wParam, lParam});
    if (result) *result = r;
    return true;
  }
  Impl& d = *impl_;
  auto request = std::make_shared<Request>();
  request->id = id;
  request->wParam = wParam;
  request->lParam = lParam;
  std::unique_lock<std::mutex> lock(d.mutex);
  if (d.destroyed) return false;
  d.requests.push_back(request);
  d.wake.notify_all();
  if (!waitForAnswer(lock, d.answered, request, timeoutMs)) return false;
  if (result) *result = request->result;
  return true;
}

bool Window::invoke(const std::function<void()>& work, int timeoutMs) {
  if (isWindowThread()) {
    work();
    return true;
  }
  Impl& d = *impl_;
  auto request = std::make_shared<Request>();
  request->work = &work;
  std::unique_lock<std::mutex> lock(d.mutex);
  if (d.destroyed) return false;
  d.requests.push_back(request);
  d.wake.notify_all();
  if (waitForAnswer(lock, d.answered, request, timeoutMs)) return true;
  // Gave up while the work may be running: it refers to `work` on this stack,
  // so wait for it to finish before returning.
  d.answered.wait(lock, [&] { return request->state != Request::State::Running; });
  return request->state == Request::State::Done;
}

// ---- window state ----

bool Window::isActive() const { return impl_->active.load(); }
bool Window::isMinimized() const { return impl_->minimized.load(); }
bool Window::isFullScreen() const { return impl_->fullScreen.load(); }
void Window::setFullScreen(bool fullScreen) { impl_->fullScreen = fullScreen; }

namespace {
constexpr int kStateTimeoutMs = 2000;
}

void Window::show() {
  invoke([this] {
    if (!impl_->sdl) return;
    SDL_ShowWindow(impl_->sdl);
    SDL_RestoreWindow(impl_->sdl);
    impl_->minimized = false;
  }, kStateTimeoutMs);
}

void Window::minimize() {
  invoke([this] {
    if (!impl_->sdl) return;
    SDL_MinimizeWindow(impl_->sdl);
    impl_->minimized = true;
  }, kStateTimeoutMs);
}

void Window::raise() {
  invoke([this] {
    if (!impl_->sdl) return;
    SDL_RestoreWindow(impl_->sdl);
    SDL_RaiseWindow(impl_->sdl);
    impl_->minimized = false;
  }, kStateTimeoutMs);
}

uint32_t Window::hostWindowId() const { return impl_->sdlId; }

std::string Window::hostTitle() {
  std::string title;
  invoke([&] { title = impl_->sdl ? SDL_GetWindowTitle(impl_->sdl) : settings_.title; }, kStateTimeoutMs);
  return title;
}

void Window::hostSize(int& width, int& height) {
  width = height = 0;
  invoke([&] {
    if (impl_->sdl) SDL_GetWindowSize(impl_->sdl, &width, &height);
  }, kStateTimeoutMs);
}

// ---- presenting ----

bool Window::openPresenter(PresentPath path, int bufferWidth, int bufferHeight) {
  bool ok = false;
  invoke([&] {
    Impl& d = *impl_;
    d.releasePresenter();
    if (!d.sdl || bufferWidth <= 0 || bufferHeight <= 0 || bufferWidth > 8192 || bufferHeight > 8192) {
      platformLog(LogLevel::Error, "window: cannot open a presenter (%s, %dx%d)", d.sdl ? "bad size" : "no window",
                  bufferWidth, bufferHeight);
      return;
    }
    d.path = path;
    d.turned = settings_.turned;
    d.bufferWidth = bufferWidth;
    d.bufferHeight = bufferHeight;
    d.shownWidth = d.turned ? bufferHeight : bufferWidth;
    d.shownHeight = d.turned ? bufferWidth : bufferHeight;
    if (path == PresentPath::Texture) {
      d.renderer = SDL_CreateRenderer(d.sdl, -1, SDL_RENDERER_ACCELERATED);
      if (!d.renderer) d.renderer = SDL_CreateRenderer(d.sdl, -1, SDL_RENDERER_SOFTWARE);
      if (d.renderer) {
        d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, d.shownWidth,
                                      d.shownHeight);
      }
      if (!d.texture) {
        platformLog(LogLevel::Error, "window: cannot create the frame texture: %s", SDL_GetError());
        d.releasePresenter();
        return;
      }
      SDL_RendererInfo info;
      if (SDL_GetRendererInfo(d.renderer, &info) == 0) {
        platformLog(LogLevel::Info, "window: frames go through the \"%s\" renderer", info.name);
      }
    } else if (!SDL_GetWindowSurface(d.sdl)) {
      platformLog(LogLevel::Error, "window: no window surface: %s", SDL_GetError());
      return;
    }
    {
      std::lock_guard<std::mutex> lock(d.frameMutex);
      d.staged.assign(size_t(bufferWidth) * size_t(bufferHeight), 0);
      d.takenNumber = d.stagedNumber;  // nothing new to show yet
    }
    d.current.assign(size_t(bufferWidth) * size_t(bufferHeight), 0);
    d.presenterOpen = true;
    ok = true;
  }, kStateTimeoutMs);
  return ok;
}

void Window::closePresenter() {
  invoke([this] { impl_->releasePresenter(); }, kStateTimeoutMs);
}

bool Window::isPresenterOpen() const { return impl_->presenterOpen.load(); }
PresentPath Window::presentPath() const { return impl_->path; }
void Window::setSmoothScaling(bool smooth) { impl_->smooth = smooth; }

uint64_t Window::presentFrame(const uint16_t* pixels, int pitchBytes) {
  Impl& d = *impl_;
  if (!d.presenterOpen.load() || !pixels) return 0;
  uint64_t number;
  {
    std::lock_guard<std::mutex> lock(d.frameMutex);
    const int w = d.bufferWidth, h = d.bufferHeight;
    if (pitchBytes < w * 2 || d.staged.size() != size_t(w) * size_t(h)) return 0;
    if (pitchBytes == w * 2) {
      std::memcpy(d.staged.data(), pixels, d.staged.size() * 2);
    } else {
      for (int y = 0; y < h; ++y) {
        std::memcpy(d.staged.data() + size_t(y) * size_t(w),
                    reinterpret_cast<const uint8_t*>(pixels) + size_t(y) * size_t(pitchBytes), size_t(w) * 2);
      }
    }
    number = ++d.stagedNumber;
  }
  if (isWindowThread()) {
    d.showNewestFrame();
    return number;
  }
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.destroyed) return 0;
    d.framePending = true;
  }
  d.wake.notify_all();
  return number;
}

uint64_t Window::shownFrame() const {
  std::lock_guard<std::mutex> lock(impl_->shownMutex);
  return impl_->shownNumber;
}

bool Window::waitUntilShown(uint64_t frame, int timeoutMs) const {
  Impl& d = *impl_;
  std::unique_lock<std::mutex> lock(d.shownMutex);
  return d.shownChanged.wait_for(lock, std::chrono::milliseconds(std::max(0, timeoutMs)),
                                 [&] { return d.shownNumber >= frame; });
}

bool Window::readBackPixels(std::vector<uint32_t>& pixels, int& width, int& height) {
  Impl& d = *impl_;
  if (!isWindowThread() || !d.sdl || !d.presenterOpen.load()) return false;
  if (d.path == PresentPath::Software) {
    SDL_Surface* surface = SDL_GetWindowSurface(d.sdl);
    if (!surface) return false;
    width = surface->w;
    height = surface->h;
    pixels.assign(size_t(width) * size_t(height), 0);
    if (SDL_ConvertPixels(width, height, surface->format->format, surface->pixels, surface->pitch,
                          SDL_PIXELFORMAT_RGB888, pixels.data(), width * 4) != 0) {
      return false;
    }
  } else {
    if (SDL_GetRendererOutputSize(d.renderer, &width, &height) != 0) return false;
    pixels.assign(size_t(width) * size_t(height), 0);
    d.drawTexture(nullptr, false);
    const bool ok = SDL_RenderReadPixels(d.renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), width * 4) == 0;
    SDL_RenderPresent(d.renderer);
    if (!ok) return false;
  }
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return true;
}

// ---- screen, orientation, headless, message boxes ----

ScreenSize screenSize() {
  for (const auto& window : liveWindows()) {
    if (window->isVisibleWindow()) return ScreenSize{window->width(), window->height()};
  }
  return ScreenSize{480, 800};
}

uint32_t displayOrientation() { return g_orientation.load(); }
void setDisplayOrientation(uint32_t orientation) { g_orientation = orientation; }

void simulateOrientationChange(uint32_t orientation) {
  g_orientation = orientation;
  for (const auto& window : liveWindows()) {
    if (window->isVisibleWindow()) window->postMessage(msg::SettingChange, 0, 0);
  }
}

bool isHeadless() {
  const char* headless = std::getenv("BRAMBLE_HEADLESS");
  if (headless && std::strcmp(headless, "1") == 0) return true;
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return true;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return !(x && *x) && !(wayland && *wayland);
}

namespace {

int headlessAnswer() {
  const char* value = std::getenv("BRAMBLE_MSGBOX_ANSWER");
  if (!value || !*value) return answer::Ok;
  char* end = nullptr;
  const long n = std::strtol(value, &end, 10);
  if (*end != '\0' || n < 0 || n > 0xFFFF) return answer::Ok;
  return int(n);
}

int showBox(SDL_Window* parent, const std::string& caption, const std::string& text, MessageBoxButtons buttons,
            MessageBoxIcon icon) {
  std::vector<SDL_MessageBoxButtonData> list;
  const int enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  switch (buttons) {
    case MessageBoxButtons::Ok: list = {{enter | escape, answer::Ok, "OK"}}; break;
    case MessageBoxButtons::OkCancel: list = {{enter, answer::Ok, "OK"}, {escape, answer::Cancel, "Cancel"}}; break;
    case MessageBoxButtons::YesNo: list = {{enter, answer::Yes, "Yes"}, {escape, answer::No, "No"}}; break;
    case MessageBoxButtons::YesNoCancel:
      list = {{enter, answer::Yes, "Yes"}, {0, answer::No, "No"}, {escape, answer::Cancel, "Cancel"}};
      break;
    case MessageBoxButtons::RetryCancel:
      list = {{enter, answer::Retry, "Retry"}, {escape, answer::Cancel, "Cancel"}};
      break;
  }
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == MessageBoxIcon::Error) flags = SDL_MESSAGEBOX_ERROR;
  if (icon == MessageBoxIcon::Warning) flags = SDL_MESSAGEBOX_WARNING;
  const SDL_MessageBoxData data = {flags, parent, caption.c_str(), text.c_str(), int(list.size()), list.data(),
                                   nullptr};
  int chosen = -1;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) {
    const int fallback = headlessAnswer();
    platformLog(LogLevel::Error, "message box \"%s\" could not be shown (%s): %s; answering %d", caption.c_str(),
                SDL_GetError(), text.c_str(), fallback);
    return fallback;
  }
  if (chosen < 0) {  // closed without a button
    return buttons == MessageBoxButtons::Ok ? answer::Ok : buttons == MessageBoxButtons::YesNo ? answer::No
                                                                                                 : answer::Cancel;
  }
  return chosen;
}

}  // namespace

int showMessageBox(Window* owner, std::string_view captionView, std::string_view textView, MessageBoxButtons buttons,
                   MessageBoxIcon icon) {
  const std::string caption(captionView), text(textView);
  if (isHeadless()) {
    const int answer = headlessAnswer();
    platformLog(LogLevel::Info, "message box \"%s\": %s (answered %d)", caption.c_str(), text.c_str(), answer);
    return answer;
  }
  if (owner && !owner->isDestroyed()) {
    int answer = answer::Cancel;
    owner->invoke([&] { answer = showBox(owner->impl_->sdl, caption, text, buttons, icon); }, -1);
    return answer;
  }
  return showBox(nullptr, caption, text, buttons, icon);
}

}  // namespace platform

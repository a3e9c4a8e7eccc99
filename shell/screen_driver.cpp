// GdiScreen and DirectDrawScreen over the main window's presenter.
#include "shell/screen_driver.h"

#include <atomic>
#include <cstring>
#include <new>

#include "platform/window/window.h"

ScreenDriver::ScreenDriver(int screenWidth, int screenHeight, int bufferWidth, int bufferHeight)
    : m_screenWidth(screenWidth),
      m_screenHeight(screenHeight),
      m_screenPitch(screenWidth * 2),
      m_backBufferPitch(bufferWidth * 2),
      m_backBufferWidth(bufferWidth),
      m_backBufferHeight(bufferHeight) {}

ScreenDriver::~ScreenDriver() = default;

bool ScreenDriver::allocateBackBuffer() {
    if (m_pixels) return true;
    if (m_backBufferWidth <= 0 || m_backBufferHeight <= 0) return false;
    const size_t count = size_t(m_backBufferWidth) * size_t(m_backBufferHeight);
    m_pixels.reset(new (std::nothrow) uint16_t[count]());
    return m_pixels != nullptr;
}

void ScreenDriver::releaseBackBuffer() { m_pixels.reset(); }

int ScreenDriver::presentTo(platform::Window* window) {
    if (!window || !m_pixels) return 0;
    window->setSmoothScaling(m_smooth);
    return window->presentFrame(m_pixels.get(), m_backBufferPitch) != 0 ? 1 : 0;
}

// ---- GdiScreen ----

GdiScreen::GdiScreen(int screenWidth, int screenHeight, int bufferWidth, int bufferHeight)
    : ScreenDriver(screenWidth, screenHeight, bufferWidth, bufferHeight) {}

GdiScreen::~GdiScreen() { close(); }

int GdiScreen::open(platform::Window* window) {
    m_window = window;
    if (!window || !allocateBackBuffer() ||
        !window->openPresenter(platform::PresentPath::Software, m_backBufferWidth, m_backBufferHeight)) {
        close();
        return 0;
    }
    return 1;
}

void GdiScreen::close() {
    if (m_window) {
        if (!m_window->isDestroyed()) m_window->closePresenter();
        m_window = nullptr;
    }
    releaseBackBuffer();
}

int GdiScreen::present() { return presentTo(m_window); }

// ---- DirectDrawScreen ----

DirectDrawScreen::DirectDrawScreen(int screenWidth, int screenHeight, int bufferWidth, int bufferHeight)
    : ScreenDriver(screenWidth, screenHeight, bufferWidth, bufferHeight) {}

DirectDrawScreen::~DirectDrawScreen() { close(); }

int DirectDrawScreen::open(platform::Window* window) {
    m_window = window;
    if (!window || !allocateBackBuffer() ||
        !window->openPresenter(platform::PresentPath::Texture, m_backBufferWidth, m_backBufferHeight)) {
        close();
        return 0;
    }
    // The display's own size: the window stands for the device's screen.
    m_screenWidth = window->width();
    m_screenHeight = window->height();
    m_screenPitch = m_screenWidth * 2;
    m_open = true;
    return 1;
}

void DirectDrawScreen::close() {
    m_open = false;
    if (m_window) {
        if (!m_window->isDestroyed()) m_window->closePresenter();
        m_window = nullptr;
    }
    releaseBackBuffer();
}

int DirectDrawScreen::present() { return m_open ? presentTo(m_window) : 0; }

// ---- factory ----

namespace {

std::unique_ptr<ScreenDriver> defaultFactory(std::string_view type, int screenWidth, int screenHeight,
                                             int bufferWidth, int bufferHeight) {
    if (type == "GDI") return std::make_unique<GdiScreen>(screenWidth, screenHeight, bufferWidth, bufferHeight);
    if (type == "DDRAW")
        return std::make_unique<DirectDrawScreen>(screenWidth, screenHeight, bufferWidth, bufferHeight);
    return nullptr;
}

std::atomic<ScreenDriverFactory> g_factory{nullptr};

}  // namespace

void setScreenDriverFactory(ScreenDriverFactory factory) { g_factory.store(factory); }

std::unique_ptr<ScreenDriver> makeScreenDriver(std::string_view type, int screenWidth, int screenHeight,
                                               int bufferWidth, int bufferHeight) {
    ScreenDriverFactory factory = g_factory.load();
    return (factory ? factory : &defaultFactory)(type, screenWidth, screenHeight, bufferWidth, bufferHeight);
}

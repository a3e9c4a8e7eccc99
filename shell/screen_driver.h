// Screen drivers: the 480x800 RGB565 back buffer that all drawing goes into,
// and how a frame of it reaches the main window. GdiScreen presents through
// the window's software path (the frame converted and scaled on the CPU);
// DirectDrawScreen through its texture path (a streaming texture scaled by
// the renderer). Either way the buffer is top-down with a row pitch of
// 960 bytes, never moves while the driver is open, and present copies it, so
// the caller may draw the next frame at once.
//
// open and close run on the window thread; present on the game thread (the
// window layer hands the copy over to the window thread).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {
class Window;
}

class ScreenDriver {
public:
    ScreenDriver(int screenWidth, int screenHeight, int bufferWidth, int bufferHeight);
    virtual ~ScreenDriver();
    ScreenDriver(const ScreenDriver&) = delete;
    ScreenDriver& operator=(const ScreenDriver&) = delete;

    virtual int open(platform::Window* window) = 0;  // 1 on success, else 0
    virtual void close() = 0;
    virtual int windowedMode() = 0;
    virtual int fullScreenMode() = 0;
    virtual void fastScaling() = 0;    // nearest pixel
    virtual void smoothScaling() = 0;  // bilinear
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    virtual int bitsPerPixel() = 0;
    virtual int pixelStep() = 0;       // bytes per pixel
    virtual int screenPitch() = 0;     // bytes per screen row
    virtual int backBufferPitch() = 0; // bytes per back-buffer row
    virtual int lockBackBuffer() = 0;
    virtual int unlockBackBuffer() = 0;
    virtual int backBufferWidth() = 0;
    virtual int backBufferHeight() = 0;
    virtual uint16_t* backBuffer() = 0;
    // Shows the back buffer on the whole window: 1 when the frame was handed
    // over, 0 when the driver is not open.
    virtual int present() = 0;

protected:
    // Allocates the back buffer (zeroed, never moved until close).
    bool allocateBackBuffer();
    void releaseBackBuffer();
    // Hands the back buffer to the window; 1 when it took the frame.
    int presentTo(platform::Window* window);

    platform::Window* m_window = nullptr;
    int m_bitsPerPixel = 16;
    int m_screenWidth;
    int m_screenHeight;
    int m_pixelStep = 2;
    int m_screenPitch;
    int m_backBufferPitch;
    int m_backBufferWidth;
    int m_backBufferHeight;
    bool m_smooth = false;  // the scaling setting
    std::unique_ptr<uint16_t[]> m_pixels;
};

// The software path.
class GdiScreen : public ScreenDriver {
public:
    GdiScreen(int screenWidth, int screenHeight, int bufferWidth, int bufferHeight);
    ~GdiScreen() override;

    int open(platform::Window* window) override;
    void close() override;
    int windowedMode() override { return 1; }
    int fullScreenMode() override { return 1; }
    void fastScaling() override { m_smooth = false; }
    void smoothScaling() override { m_smooth = true; }
    int screenWidth() override { return m_screenWidth; }
    int screenHeight() override { return m_screenHeight; }
    int bitsPerPixel() override { return m_bitsPerPixel; }
    int pixelStep() override { return m_pixelStep; }
    int screenPitch() override { return m_screenPitch; }
    int backBufferPitch() override { return m_backBufferPitch; }
    int lockBackBuffer() override { return 1; }
    int unlockBackBuffer() override { return 1; }
    int backBufferWidth() override { return m_backBufferWidth; }
    int backBufferHeight() override { return m_backBufferHeight; }
    uint16_t* backBuffer() override { return m_pixels.get(); }
    int present() override;
};

// The texture path. Open fails when no renderer can make the frame texture;
// the back buffer is then never handed out.
class DirectDrawScreen : public ScreenDriver {
public:
    DirectDrawScreen(int screenWidth, int screenHeight, int bufferWidth, int bufferHeight);
    ~DirectDrawScreen() override;

    int open(platform::Window* window) override;
    void close() override;
    int windowedMode() override { return m_open ? 1 : 0; }
    int fullScreenMode() override { return m_open ? 1 : 0; }
    // The texture path has one scaling (nearest pixel); both settings keep it.
    void fastScaling() override {}
    void smoothScaling() override {}
    int screenWidth() override { return m_screenWidth; }
    int screenHeight() override { return m_screenHeight; }
    int bitsPerPixel() override { return m_bitsPerPixel; }
    int pixelStep() override { return m_pixelStep; }
    int screenPitch() override { return m_screenPitch; }
    int backBufferPitch() override { return m_backBufferPitch; }
    int lockBackBuffer() override { return m_open ? 1 : 0; }
    int unlockBackBuffer() override { return m_open ? 1 : 0; }
    int backBufferWidth() override { return m_backBufferWidth; }
    int backBufferHeight() override { return m_backBufferHeight; }
    uint16_t* backBuffer() override { return m_open ? m_pixels.get() : nullptr; }
    int present() override;

private:
    bool m_open = false;
};

// Makes the driver of a display type; tests replace it to stand for a
// machine without a texture path. The default makes GdiScreen for "GDI" and
// DirectDrawScreen for "DDRAW".
using ScreenDriverFactory = std::unique_ptr<ScreenDriver> (*)(std::string_view type, int screenWidth,
                                                              int screenHeight, int bufferWidth, int bufferHeight);
void setScreenDriverFactory(ScreenDriverFactory factory);  // null: the default
std::unique_ptr<ScreenDriver> makeScreenDriver(std::string_view type, int screenWidth, int screenHeight,
                                               int bufferWidth, int bufferHeight);

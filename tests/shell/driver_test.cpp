// Screen drivers on the main window under SDL's offscreen driver: the display
// types, the fallback of "AUTO", a smaller screen, frames presented from
// another thread.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/ipc/window_registry.h"
#include "platform/window/window.h"
#include "runtime/log.h"
#include "shell/application_impl.h"
#include "shell/screen_driver.h"
#include "shell/shell.h"

namespace {

std::vector<std::string> g_log;
void captureLog(std::string_view line) { g_log.emplace_back(line.substr(line.find("> ") + 2)); }

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        rt::setLogSink(&captureLog);
        setScreenDriverFactory(nullptr);
    }
    void TearDown() override {
        ApplicationImpl::instance().shutdown();
        ShellState& s = shellState();
        s.registration.reset();
        if (s.mainWindow) s.mainWindow->destroy();
        s.mainWindow.reset();
        setScreenDriverFactory(nullptr);
        rt::setLogSink(nullptr);
    }
    platform::Window& openWindow(int width = 0, int height = 0) {
        ShellState& s = shellState();
        s.options = ShellOptions();
        s.options.screenWidth = width;
        s.options.screenHeight = height;
        EXPECT_EQ(createMainWindow(), 1);
        return *s.mainWindow;
    }
    static bool logged(const std::string& line) {
        for (auto& l : g_log)
            if (l == line + "\n") return true;
        return false;
    }
    // Fills the back buffer: red, a blue left half of the top row band.
    static void drawTestFrame(ScreenDriver& d) {
        uint16_t* p = d.backBuffer();
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < 480 * 800; ++i) p[i] = 0xF800;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 240; ++x) p[y * 480 + x] = 0x001F;
    }
};

TEST_F(DriverTest, GdiKeepsA480x800BufferAndScalesToASmallScreen) {
    platform::Window& w = openWindow(240, 320);
    ASSERT_EQ(ApplicationImpl::instance().openDisplay("GDI"), 1);
    EXPECT_TRUE(logged("\nApplicationImpl::openDisplay(GDI): Using GDI display type.\n"));
    ScreenDriver& d = *ApplicationImpl::instance().driver();
    EXPECT_EQ(d.backBufferWidth(), 480);
    EXPECT_EQ(d.backBufferHeight(), 800);
    EXPECT_EQ(d.backBufferPitch(), 960);
    EXPECT_EQ(d.screenWidth(), 240);
    EXPECT_EQ(d.screenHeight(), 320);
    EXPECT_EQ(w.presentPath(), platform::PresentPath::Software);
    drawTestFrame(d);
    EXPECT_EQ(d.present(), 1);  // on the window thread: shown at once
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(w.readBackPixels(pixels, width, height));
    // The 240x320 screen shown turned back: 320x240 on the desktop, the
    // screen's top-left band at the window's bottom left.
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 240);
    auto at = [&](int x, int y) { return pixels[size_t(y * width + x)]; };
    EXPECT_EQ(at(0, 239), 0x0000FFu);  // the blue band, scaled and turned
    EXPECT_EQ(at(35, 125), 0x0000FFu);
    EXPECT_EQ(at(35, 115), 0xFF0000u);
    EXPECT_EQ(at(45, 200), 0xFF0000u);
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(319, 239), 0xFF0000u);
}

TEST_F(DriverTest, DdrawUsesTheTexturePathAndPresentsFromTheGameThread) {
    platform::Window& w = openWindow();
    ASSERT_EQ(ApplicationImpl::instance().openDisplay("DDRAW"), 1);
    EXPECT_EQ(g_log.back(), "openDisplay(DDRAW): Using DDRAW display type.\n");
    ScreenDriver& d = *ApplicationImpl::instance().driver();
    EXPECT_EQ(w.presentPath(), platform::PresentPath::Texture);
    drawTestFrame(d);
    const uint64_t before = w.shownFrame();
    int presented = 0;
    std::thread game([&] { presented = d.present(); });
    game.join();
    EXPECT_EQ(presented, 1);
    w.sleep(0);  // the window thread shows the newest frame when it next looks
    EXPECT_GT(w.shownFrame(), before);
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(w.readBackPixels(pixels, width, height));
    EXPECT_GT(width, height);  // turned back: landscape
    EXPECT_EQ(pixels[size_t(height - 1) * size_t(width)], 0x0000FFu);  // the screen's top left
    EXPECT_EQ(pixels[0], 0xFF0000u);
    EXPECT_EQ(pixels[size_t(width) * size_t(height) - 1], 0xFF0000u);
}

class FailingTextureScreen : public DirectDrawScreen {
public:
    using DirectDrawScreen::DirectDrawScreen;
    int open(platform::Window*) override { return 0; }  // no texture path on this machine
};

std::unique_ptr<ScreenDriver> withoutTextures(std::string_view type, int sw, int sh, int bw, int bh) {
    if (type == "DDRAW") return std::make_unique<FailingTextureScreen>(sw, sh, bw, bh);
    return std::make_unique<GdiScreen>(sw, sh, bw, bh);
}

TEST_F(DriverTest, AutoFallsBackToGdiAndLogsBothLines) {
    platform::Window& w = openWindow();
    setScreenDriverFactory(&withoutTextures);
    ASSERT_EQ(ApplicationImpl::instance().openDisplay("AUTO"), 1);
    ASSERT_EQ(g_log.size(), 2u);
    EXPECT_EQ(g_log[0], "\nApplicationImpl::openDisplay(AUTO): Could not create a DDRAW display type.\n\n");
    EXPECT_EQ(g_log[1], "\nApplicationImpl::openDisplay(AUTO): Using GDI display type.\n\n");
    EXPECT_EQ(w.presentPath(), platform::PresentPath::Software);
    EXPECT_NE(ApplicationImpl::instance().driver()->backBuffer(), nullptr);

    // "DDRAW" alone fails; the failed driver stays until the tear-down.
    ApplicationImpl::instance().shutdown();
    g_log.clear();
    EXPECT_EQ(ApplicationImpl::instance().openDisplay("DDRAW"), 0);
    EXPECT_EQ(g_log.back(), "openDisplay(DDRAW): Could not create a DDRAW display type.\n");
    ASSERT_NE(ApplicationImpl::instance().driver(), nullptr);
    EXPECT_EQ(ApplicationImpl::instance().driver()->present(), 0);
    ApplicationImpl::instance().shutdown();
    EXPECT_EQ(ApplicationImpl::instance().driver(), nullptr);
}

TEST_F(DriverTest, AutoPrefersTheTexturePathAndUnknownTypesFail) {
    openWindow();
    ASSERT_EQ(ApplicationImpl::instance().openDisplay("AUTO"), 1);
    EXPECT_EQ(g_log.back(), "\nApplicationImpl::openDisplay(AUTO): Using DDRAW display type.\n\n");
    ApplicationImpl::instance().shutdown();
    g_log.clear();
    EXPECT_EQ(ApplicationImpl::instance().openDisplay("gdi"), 0);
    EXPECT_EQ(g_log.back(), "\nApplicationImpl::openDisplay(): Display type invalid.\n\n");
    EXPECT_EQ(ApplicationImpl::instance().driver(), nullptr);
}

}  // namespace

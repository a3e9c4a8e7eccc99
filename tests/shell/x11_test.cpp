// The program with a real window on an X server (run under Xvfb): the title
// the X server holds, and the pixels of a presented frame read back from it
// (the portrait screen turned back into a landscape window).
#include "shell_fixture.h"

#include <chrono>
#include <cstdlib>

// Xlib last: its macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace shelltest;
using namespace std::chrono_literals;

std::string windowName(Display* display, ::Window w) {
    XTextProperty name;
    if (!XGetWMName(display, w, &name) || !name.value) return {};
    std::string text(reinterpret_cast<char*>(name.value), name.nitems);
    XFree(name.value);
    return text;
}

// The top-level window with this title, searched through the whole tree.
::Window findByTitle(Display* display, ::Window under, const std::string& title) {
    if (windowName(display, under) == title) return under;
    ::Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &count)) return 0;
    ::Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = findByTitle(display, children[i], title);
    if (children) XFree(children);
    return found;
}

TEST_F(ShellRun, RealWindowShowsTheTitleAndThePresentedFrame) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver || std::string(driver) != "x11" || !std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    fakeSettings().gameThread = true;
    fakeSettings().paintColour = 0x00FF00;  // green, with a white square top left
    std::string title;
    std::vector<uint32_t> at;
    int windowWidth = 0, windowHeight = 0;
    run([&](platform::Window& w) {
        FakeCanvas* canvas = FakeMidlet::canvas();
        ASSERT_NE(canvas, nullptr);
        const auto deadline = std::chrono::steady_clock::now() + 60s;  // hang guard
        while ((canvas->paints < 3 || w.shownFrame() < 3) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        ASSERT_GE(w.shownFrame(), 3u) << "no frames reached the window";
        canvas->stop = 1;
        std::this_thread::sleep_for(50ms);

        Display* display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        const ::Window xw = findByTitle(display, DefaultRootWindow(display), kMainWindowTitle);
        ASSERT_NE(xw, 0u);
        title = windowName(display, xw);
        XWindowAttributes attributes;
        ASSERT_TRUE(XGetWindowAttributes(display, xw, &attributes));
        windowWidth = attributes.width;
        windowHeight = attributes.height;
        XImage* image = XGetImage(display, xw, 0, 0, unsigned(windowWidth), unsigned(windowHeight), AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        // The screen's top-left corner shows at the window's bottom left.
        for (auto [x, y] : {std::pair{2, windowHeight - 3}, std::pair{windowWidth / 2, windowHeight / 2},
                            std::pair{2, 2}, std::pair{windowWidth - 3, windowHeight - 3}})
            at.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
        XDestroyImage(image);
        XCloseDisplay(display);
    });
    EXPECT_EQ(title, "Tindrell - Bramble Hollow Saga");
    EXPECT_GT(windowWidth, 0);
    // The portrait screen shown turned back: a landscape window.
    EXPECT_NEAR(double(windowWidth) / windowHeight, 800.0 / 480.0, 0.01);
    ASSERT_EQ(at.size(), 4u);
    EXPECT_EQ(at[0], 0xFFFFFFu);
    EXPECT_EQ(at[1], 0x00FF00u);
    EXPECT_EQ(at[2], 0x00FF00u);
    EXPECT_EQ(at[3], 0x00FF00u);
}

}  // namespace

// The program in-process under SDL's offscreen driver with a fake MIDlet:
// start-up order, keys and pointer through the window procedure, pause and
// resume on focus, power and orientation, both shutdown roads, the platform
// clean-up.
#include "shell_fixture.h"

#include <algorithm>
#include <chrono>

#include "platform/audio/wave_out.h"
#include "platform/fs/fs.h"
#include "platform/ipc/window_registry.h"
#include "platform/power/power.h"
#include "platform/stack/stack.h"
#include "runtime/objectmanager.h"
#include "shell/launcher_texts.h"
#include "shell/screen_driver.h"
#include "shell/window_proc.h"
#include "tools/kit/demo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace shelltest;
using namespace std::chrono_literals;
namespace msg = platform::msg;
using Lines = std::vector<std::string>;

// Index of the first line equal to `line` at or after `from`, or -1.
long indexOf(const Lines& lines, const std::string& line, size_t from = 0) {
    for (size_t i = from; i < lines.size(); ++i)
        if (lines[i] == line) return long(i);
    return -1;
}

TEST_F(ShellRun, StartsInOrderAndEndsThroughTheMidlet) {
    EXPECT_EQ(run(nullptr), 0);
    const Lines log = logLines().lines();
    // No "SoundPump.bin" beside the test program: a warning, and the game goes on.
    const Lines order = {
        "Warning - SoundPump not started, application may not have sound\n",
        "\nApplicationImpl::openDisplay(GDI): Using GDI display type.\n",
        "new MemoryManagers",
        "new ObjectManager",
        "new StaticClass",
        "Application::init",
        "m_screenGraphics",
        "Application::startApp",
        "Application::close",
        "Application::destoryMIDlet",
    };
    long at = -1;
    for (const std::string& line : order) {
        const long next = indexOf(log, line, size_t(at + 1));
        ASSERT_GT(next, at) << "missing or out of order: \"" << line << "\"";
        at = next;
    }
    EXPECT_EQ(indexOf(log, "m_midlet is already NULL."), -1);
    EXPECT_EQ(exitCalls(), 0);  // the MIDlet's road returns from WinMain
    // The MIDlet: created and started, shown again when the window took the
    // focus, destroyed unconditionally at the end.
    const Lines seen = calls().lines();
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0], "startApp");
    EXPECT_EQ(seen[1], "startApp");
    EXPECT_EQ(seen[2], "showNotify");
    EXPECT_EQ(seen.back(), "destroyApp true");
    EXPECT_EQ(ApplicationImpl::currentContext(), nullptr);
    EXPECT_EQ(ApplicationImpl::instance().driver(), nullptr);
}

TEST_F(ShellRun, KeysReachTheCanvasAsMidpCodes) {
    const uint32_t volumeBefore = platform::audio::masterVolume();
    uint32_t volumeAfterDown = 0;
    bool minimizedByHome = false;
    run([&](platform::Window& w) {
        size_t from = calls().size();
        const uint32_t keys[] = {13, 38, 40, 37, 39, 112, 113, 96, 101, 105, 119, 120, 65};
        for (uint32_t k : keys) {
            w.postMessage(msg::KeyDown, k, 0);
            w.postMessage(msg::KeyUp, k, 0);
        }
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"keyPressed -5", "keyReleased -5", "keyPressed -1", "keyReleased -1",
                                           "keyPressed -2", "keyReleased -2", "keyPressed -3", "keyReleased -3",
                                           "keyPressed -4", "keyReleased -4", "keyPressed -6", "keyReleased -6",
                                           "keyPressed -7", "keyReleased -7", "keyPressed 48", "keyReleased 48",
                                           "keyPressed 53", "keyReleased 53", "keyPressed 57", "keyReleased 57",
                                           "keyPressed 42", "keyReleased 42", "keyPressed 35", "keyReleased 35",
                                           "keyPressed 65", "keyReleased 65"}));

        // Volume keys never reach the canvas; their release steps the volume.
        from = calls().size();
        w.postMessage(msg::KeyDown, 118, 0);
        w.postMessage(msg::KeyUp, 118, 0);
        settle(w);
        volumeAfterDown = platform::audio::masterVolume();
        w.postMessage(msg::KeyDown, 117, 0);
        w.postMessage(msg::KeyUp, 117, 0);
        settle(w);
        EXPECT_EQ(seenSince(from), Lines{});

        // System keys belong to the system: the press is dropped, the
        // release sends the game aside.
        from = calls().size();
        for (uint32_t k : {27u, 114u, 115u, 91u, 92u}) w.postMessage(msg::KeyDown, k, 0);
        w.postMessage(msg::KeyDown, 36, 0);
        w.postMessage(msg::KeyUp, 36, 0);
        settle(w);
        minimizedByHome = w.isMinimized();
        EXPECT_EQ(seenSince(from), Lines{});
        w.show();
    });
    EXPECT_EQ(volumeAfterDown, volumeStepDown(volumeBefore));
    EXPECT_EQ(platform::audio::masterVolume(), volumeStepUp(volumeStepDown(volumeBefore)));
    EXPECT_TRUE(minimizedByHome);
}

TEST_F(ShellRun, PointerStrokesAreScaledToTheCanvas) {
    ShellOptions small;
    small.screenWidth = 240;
    small.screenHeight = 400;
    run([&](platform::Window& w) {
        const size_t from = calls().size();
        w.postMessage(msg::PointerDown, 1, platform::packPointer(120, 200));
        w.postMessage(msg::PointerMove, 1, platform::packPointer(-3, 401));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(239, 399));
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pointerPressed 240,400", "pointerDragged -6,802", "pointerReleased 478,798"}));
    }, small);

    run([&](platform::Window& w) {
        const size_t from = calls().size();
        w.postMessage(msg::PointerDown, 1, platform::packPointer(120, 200));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(479, 799));
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pointerPressed 120,200", "pointerReleased 479,799"}));
    });
}

TEST_F(ShellRun, FocusLossPausesTheMidletAndFocusGainStartsItAgain) {
    run([&](platform::Window& w) {
        size_t from = calls().size();
        w.postMessage(msg::Activate, 0, 0);
        w.postMessage(msg::KillFocus, 0, 0);
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pauseApp", "hideNotify"}));
        EXPECT_FALSE(ApplicationImpl::instance().windowActive);
        EXPECT_TRUE(w.isMinimized());
        EXPECT_FALSE(ApplicationImpl::instance().isPaused());  // the window's pause is not the application's

        from = calls().size();
        w.postMessage(msg::Activate, 1, 0);
        w.postMessage(msg::SetFocus, 0, 0);
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"startApp", "showNotify"}));
        EXPECT_TRUE(ApplicationImpl::instance().windowActive);
        EXPECT_FALSE(w.isMinimized());

        // WA_INACTIVE with the minimised flag above it still counts as active.
        w.postMessage(msg::Activate, 0x00010000, 0);
        settle(w);
        EXPECT_TRUE(ApplicationImpl::instance().windowActive);
    });
}

TEST_F(ShellRun, StrokeAfterFocusReturnIsDroppedWhole) {
    run([&](platform::Window& w) {
        auto loseAndRegainFocus = [&] {
            w.postMessage(msg::Activate, 0, 0);
            w.postMessage(msg::KillFocus, 0, 0);
            w.postMessage(msg::Activate, 1, 0);
            w.postMessage(msg::SetFocus, 0, 0);
        };
        // The first stroke after the focus returns: press, moves and release
        // are all dropped; the next one arrives whole.
        loseAndRegainFocus();
        settle(w);
        size_t from = calls().size();
        w.postMessage(msg::PointerDown, 1, platform::packPointer(10, 10));
        w.postMessage(msg::PointerMove, 1, platform::packPointer(11, 11));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(12, 12));
        w.postMessage(msg::PointerDown, 1, platform::packPointer(20, 20));
        w.postMessage(msg::PointerMove, 1, platform::packPointer(21, 21));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(22, 22));
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pointerPressed 20,20", "pointerDragged 21,21", "pointerReleased 22,22"}));

        // A release without a press (the press went elsewhere), moves before
        // it: dropped once.
        loseAndRegainFocus();
        settle(w);
        from = calls().size();
        w.postMessage(msg::PointerMove, 1, platform::packPointer(30, 30));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(31, 31));
        w.postMessage(msg::PointerDown, 1, platform::packPointer(40, 40));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(41, 41));
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pointerPressed 40,40", "pointerReleased 41,41"}));

        // A press that reached the canvas before the focus went always gets
        // its release; the stroke after it is the one dropped.
        from = calls().size();
        w.postMessage(msg::PointerDown, 1, platform::packPointer(50, 50));
        loseAndRegainFocus();
        w.postMessage(msg::PointerMove, 1, platform::packPointer(51, 51));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(52, 52));
        w.postMessage(msg::PointerDown, 1, platform::packPointer(60, 60));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(61, 61));
        w.postMessage(msg::PointerDown, 1, platform::packPointer(70, 70));
        w.postMessage(msg::PointerUp, 0, platform::packPointer(71, 71));
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pointerPressed 50,50", "pauseApp", "hideNotify", "startApp", "showNotify",
                                          "pointerReleased 52,52", "pointerPressed 70,70", "pointerReleased 71,71"}));
    });
}

TEST_F(ShellRun, PowerNoticesPauseAndResumeTheMidlet) {
    run([&](platform::Window& w) {
        const size_t from = calls().size();
        platform::injectPowerNotice(platform::PowerState::On);  // not paused: nothing
        settle(w);
        platform::injectPowerNotice(platform::PowerState::Idle);
        const long paused = calls().waitFor("hideNotify", from);
        ASSERT_GE(paused, 0);
        settle(w);
        EXPECT_TRUE(ApplicationImpl::instance().isPaused());
        platform::injectPowerNotice(platform::PowerState::Suspend);  // already paused: nothing
        platform::injectPowerNotice(platform::PowerState::On);
        const long resumed = calls().waitFor("showNotify", size_t(paused + 1));
        ASSERT_GE(resumed, 0);
        settle(w);
        EXPECT_FALSE(ApplicationImpl::instance().isPaused());
        platform::injectPowerNotice(platform::PowerState::Unattended);
        ASSERT_GE(calls().waitFor("hideNotify", size_t(resumed + 1)), 0);
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pauseApp", "hideNotify", "startApp", "showNotify", "pauseApp", "hideNotify"}));
    });
    const Lines log = logLines().lines();
    const long pause = indexOf(log, "POWER STATE - PAUSE MIDLET\n");
    const long resume = indexOf(log, "POWER STATE - RESUME MIDLET\n");
    ASSERT_GE(pause, 0);
    EXPECT_GT(resume, pause);
    EXPECT_GT(indexOf(log, "POWER STATE - PAUSE MIDLET\n", size_t(resume)), resume);
}

TEST_F(ShellRun, PauseWithoutADisplayableChangesNothing) {
    run([&](platform::Window& w) {
        Application* app = ApplicationImpl::currentContext();
        ASSERT_NE(app, nullptr);
        // From the window thread, as the main loop would.
        Object* canvas = nullptr;
        w.invoke([&] {
            JavaCallScope java;
            canvas = app->root(Application::kCurrentDisplayable);
            app->setRoot(Application::kCurrentDisplayable, nullptr);
            ApplicationImpl::instance().pause();
        }, 5000);
        EXPECT_FALSE(ApplicationImpl::instance().isPaused());
        w.invoke([&] {
            JavaCallScope java;
            app->setRoot(Application::kCurrentDisplayable, canvas);
            ApplicationImpl::instance().resume();  // not paused: nothing
        }, 5000);
        settle(w);
    });
    EXPECT_EQ(indexOf(calls().lines(), "pauseApp"), -1);
}

TEST_F(ShellRun, WrongOrientationPausesShowsTheWaitScreenAndResumesAfterPowerOn) {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    run([&](platform::Window& w) {
        // Before any power notice the orientation check does not resume.
        size_t from = calls().size();
        platform::setDisplayOrientation(1);
        ASSERT_GE(calls().waitFor("hideNotify", from), 0);
        settle(w);
        EXPECT_EQ(platform::displayOrientation(), 0u);  // set back to portrait
        EXPECT_TRUE(ApplicationImpl::instance().isPaused());
        w.invoke([&] { w.readBackPixels(pixels, width, height); }, 5000);
        for (int i = 0; i < 3; ++i) settle(w);  // a few passes: still paused
        EXPECT_TRUE(ApplicationImpl::instance().isPaused());
        EXPECT_EQ(seenSince(from), (Lines{"pauseApp", "hideNotify"}));

        // Power on resumes; a second turn now resumes by itself.
        platform::injectPowerNotice(platform::PowerState::On);
        ASSERT_GE(calls().waitFor("showNotify", from), 0);
        from = calls().size();
        platform::setDisplayOrientation(2);
        ASSERT_GE(calls().waitFor("showNotify", from), 0);
        settle(w);
        EXPECT_EQ(seenSince(from), (Lines{"pauseApp", "hideNotify", "startApp", "showNotify"}));
        EXPECT_FALSE(ApplicationImpl::instance().isPaused());
    });
    EXPECT_GE(indexOf(logLines().lines(), "RESUME MIDLET ORIENTATION CHANGE\n"), 0);
    // The wait screen (as the desktop shows it, perhaps scaled down): black,
    // "Please wait" in red, centred, just below the middle of the portrait
    // screen; the window shows that screen turned back, as the phone held on
    // its side would, so the line runs up the window just right of its middle.
    ASSERT_GT(width, height);
    ASSERT_EQ(pixels.size(), size_t(width) * size_t(height));
    EXPECT_EQ(pixels[0], 0u);
    int red = 0, other = 0;
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
            if (p == 0) continue;
            const bool placed = x >= width / 2 && x < width * 6 / 10 && y > height * 3 / 10 && y < height * 7 / 10;
            if (p == 0xFF0000 && placed) {
                ++red;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            } else {
                ++other;
            }
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(other, 0);
    EXPECT_GT(bottom - top, 2 * (right - left)) << "the line is not turned with the screen";
}

TEST_F(ShellRun, CloseEndsThroughQuitAndTheExitRoad) {
    const int rc = run([&](platform::Window& w) {
        w.postMessage(msg::Close, 0, 0);
        // The close road tears the application down from inside the loop.
        const auto deadline = std::chrono::steady_clock::now() + 60s;  // hang guard
        while (exitCalls() == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(2ms);
    });
    EXPECT_EQ(exitCalls(), 1);
    EXPECT_EQ(lastExitCode(), 0);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(calls().lines().back(), "destroyApp true");
    EXPECT_GE(indexOf(logLines().lines(), "Application::destoryMIDlet"), 0);
    EXPECT_EQ(ApplicationImpl::currentContext(), nullptr);
}

TEST_F(ShellRun, ShutdownPlatformTwiceSendsOneClose) {
    std::atomic<int> closes{0};
    auto server = platform::ipc::RegisteredWindow::create(kSoundServerWindow, kSoundServerWindow,
                                                         [&](const platform::ipc::Message& m) -> std::int64_t {
                                                             if (m.kind == platform::ipc::MessageKind::Close) ++closes;
                                                             return 0;
                                                         });
    ASSERT_TRUE(server);
    EXPECT_EQ(run(nullptr), 0);  // WinMain ends with the clean-up
    EXPECT_EQ(closes.load(), 1);
    shutdownPlatform();
    EXPECT_EQ(closes.load(), 1);
}

TEST_F(ShellRun, RepaintOnlyWhileActiveInFrontAndNotSuspended) {
    fakeSettings().gameThread = true;
    run([&](platform::Window& w) {
        FakeCanvas* canvas = FakeMidlet::canvas();
        ASSERT_NE(canvas, nullptr);
        // Counted in game steps, not in time: the game thread repaints on
        // every step, so a few steps with no paint show that frames are
        // dropped; a paint within a hang guard shows that they come back.
        auto waitSteps = [&](int n) {
            const int target = canvas->steps + n;
            const auto deadline = std::chrono::steady_clock::now() + 30s;
            while (canvas->steps < target && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            return canvas->steps >= target;
        };
        auto paintsOverSteps = [&](int n) {
            const int before = canvas->paints;
            EXPECT_TRUE(waitSteps(n));
            return canvas->paints - before;
        };
        auto paintComes = [&] {
            const int before = canvas->paints;
            const auto deadline = std::chrono::steady_clock::now() + 30s;
            while (canvas->paints == before && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            return canvas->paints > before;
        };
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (canvas->paints < 3 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
        EXPECT_GE(canvas->paints, 3);

        w.postMessage(msg::Activate, 0, 0);  // inactive: frames are dropped
        settle(w);
        paintsOverSteps(2);  // a frame that was under way ends
        EXPECT_EQ(paintsOverSteps(5), 0);  // the game thread still runs, unseen

        w.postMessage(msg::Activate, 1, 0);
        settle(w);
        EXPECT_TRUE(paintComes());

        w.minimize();  // not in front: dropped
        paintsOverSteps(2);
        EXPECT_EQ(paintsOverSteps(5), 0);
        w.show();
        EXPECT_TRUE(paintComes());
        canvas->stop = 1;
    });
}

// The window thread's stack is scanned up to its real base: an object held
// only by a frame above the application's own frames survives collections.
TEST_F(ShellRun, CollectorScansTheWholeWindowThreadStack) {
    Object* volatile heldHere = nullptr;  // this test's frame lies above WinMain's
    static Object* volatile* s_slot;
    s_slot = &heldHere;
    static void* s_stackBase;
    fakeSettings().onStartApp = [] {
        *s_slot = newObject<FakeCanvas>();
        s_stackBase = platform::currentStackBase();  // of the window thread
    };
    fakeSettings().onKeyPressed = [](jint key) {
        if (key == 'G') Application::instance()->objects().gc(ObjectManager::kForced);
    };
    bool alive = false;
    fakeSettings().onDestroyApp = [&] {
        Application::instance()->objects().gc(ObjectManager::kForced);
        alive = Application::instance()->objects().isRegistered(const_cast<Object*>(*s_slot));
    };
    run([&](platform::Window& w) {
        EXPECT_EQ(ApplicationImpl::instance().mainStackTop, s_stackBase);
        EXPECT_GT(ApplicationImpl::instance().mainStackTop, static_cast<void*>(const_cast<Object**>(&heldHere)));
        for (int i = 0; i < 3; ++i) w.postMessage(msg::KeyDown, 'G', 0);
        settle(w);
    });
    EXPECT_TRUE(alive);
    heldHere = nullptr;
}

// The MIDlet's destroyApp and the final collection still find the monitor
// table: an object whose monitor was used in destroyApp is swept at close.
TEST_F(ShellRun, DestroyAppAndTheFinalCollectionUseMonitors) {
    fakeSettings().onDestroyApp = [] {
        Object* lock = newObject<FakeCanvas>();
        Object::monitorEnter(lock);
        Object::notifyAll(lock);
        Object::monitorExit(lock);
        EXPECT_TRUE(lock->hasMonitor());
    };
    EXPECT_EQ(run(nullptr), 0);
    EXPECT_EQ(calls().lines().back(), "destroyApp true");
}

// The string pool comes from the archive "data.bar" before the MIDlet is made.
TEST_F(ShellRun, LoadsTheStringPoolFromTheArchive) {
    const std::filesystem::path root = std::getenv("BRAMBLE_DEVICE_ROOT");
    const std::string archive = kit::buildDemoRoot(root.parent_path().string());
    ASSERT_TRUE(std::filesystem::exists(archive));
    static jint poolSize;
    poolSize = -1;
    fakeSettings().onStartApp = [] {
        ObjectArray* pool = StaticClass::instance()->m_stringPool;
        poolSize = pool ? pool->length() : 0;
    };
    EXPECT_EQ(run(nullptr), 0);
    std::filesystem::remove(archive);
    EXPECT_EQ(poolSize, jint(kit::demoStringPool().size()));
    EXPECT_GT(poolSize, 0);
}

// Start-up names the device root, the window folder and the language.
TEST_F(ShellRun, StartUpLogsWhereItKeepsItsFilesAndItsLanguage) {
    const char* before = std::getenv("LC_ALL");
    const std::string saved = before ? before : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(run(nullptr), 0);
    if (before) setenv("LC_ALL", saved.c_str(), 1); else unsetenv("LC_ALL");
    const std::string expected = "BrambleGame: device root " +
                                 std::filesystem::absolute(std::getenv("BRAMBLE_DEVICE_ROOT")).string() +
                                 ", window folder " + std::getenv("BRAMBLE_WINDOW_DIR") + ", language de (0x7)";
    const Lines log = logLines().lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), expected), 1) << expected;
    EXPECT_LT(indexOf(log, expected), indexOf(log, "Application::init"));
}

// A run whose required file is missing stops before the sound server, the
// window and the application: two lines say where it looked and how to make
// the data.
TEST_F(ShellRun, MissingRequiredFileEndsBeforeAnyWindow) {
    const std::string device = "\\Program Files\\Tindrell\\Bramble Hollow Saga\\data.bar";
    std::filesystem::remove(*platform::fs::hostPath(device));
    ShellOptions options;
    options.requiredFile = device;
    options.exitProcess = &recordExit;
    EXPECT_EQ(WinMain(options), kExitNoData);
    EXPECT_TRUE(calls().lines().empty()) << "no MIDlet was made";
    EXPECT_EQ(shellState().mainWindow, nullptr);
    const Lines log = logLines().lines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "BrambleGame: no game data: " + *platform::fs::hostPath(device) + " is missing (device root " +
                          platform::fs::deviceRoot() + ", from BRAMBLE_DEVICE_ROOT)");
    EXPECT_NE(log[1].find("`make run`"), std::string::npos);
    EXPECT_NE(log[1].find("`build/tools/make-demo-data DIR`"), std::string::npos);
    EXPECT_EQ(exitCalls(), 0);
}

// platformRequest asks first; "no" brings the game back, "yes" starts the browser.
TEST_F(ShellRun, PlatformRequestAsksThenStartsTheBrowser) {
    const std::string record = (std::filesystem::current_path() / "browser-url.txt").string();
    std::filesystem::remove(record);
    setenv("BRAMBLE_BROWSER", ("/bin/sh -c 'echo \"$0\" > " + record + "'").c_str(), 1);
    fakeSettings().onKeyPressed = [](jint key) {
        if (key != 'U') return;
        ApplicationImpl::instance().midlet()->platformRequest(String::fromLatin1("http://example.com/more"));
    };
    bool minimizedAfterNo = true;
    run([&](platform::Window& w) {
        setenv("BRAMBLE_MSGBOX_ANSWER", "7", 1);  // No
        w.postMessage(msg::KeyDown, 'U', 0);
        settle(w);
        minimizedAfterNo = w.isMinimized();
        EXPECT_FALSE(std::filesystem::exists(record));
        setenv("BRAMBLE_MSGBOX_ANSWER", "6", 1);  // Yes
        w.postMessage(msg::KeyDown, 'U', 0);
        settle(w);
        EXPECT_TRUE(w.isMinimized());  // behind the browser
        w.show();
    });
    setenv("BRAMBLE_MSGBOX_ANSWER", "1", 1);
    unsetenv("BRAMBLE_BROWSER");
    EXPECT_FALSE(minimizedAfterNo);
    const auto browserDeadline = std::chrono::steady_clock::now() + 30s;  // hang guard
    while (!std::filesystem::exists(record) && std::chrono::steady_clock::now() < browserDeadline)
        std::this_thread::sleep_for(10ms);
    std::ifstream in(record);
    std::string url;
    std::getline(in, url);
    EXPECT_EQ(url, "http://example.com/more");
    int asked = 0;
    for (const std::string& line : logLines().lines())
        if (line.find("\"Bramble Hollow Saga\": Do you want to connect to the Internet?") != std::string::npos) ++asked;
    EXPECT_EQ(asked, 2);
}

}  // namespace

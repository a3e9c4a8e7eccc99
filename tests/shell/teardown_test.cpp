// The tear-down with a game thread still running: it is stopped before the
// MIDlet is destroyed and stays stopped through every later collection and
// to the end; nothing it might still touch is freed.
#include "shell_fixture.h"

#include <chrono>

#include "net/wait_animation.h"
#include "runtime/objectmanager.h"
#include "shell/services.h"

namespace {

using namespace shelltest;
using namespace std::chrono_literals;

TEST_F(ShellRun, GameThreadStaysStoppedFromTearDownToTheEnd) {
    fakeSettings().gameThread = true;
    FakeCanvas* canvas = nullptr;
    int stepsAtDestroy = -1;
    int stepsAfterCollections = -1;
    fakeSettings().onDestroyApp = [&] {
        canvas = FakeMidlet::canvas();
        stepsAtDestroy = canvas->steps;
        // Collections stop and restart the world; the held thread stays out of it.
        for (int i = 0; i < 3; ++i) {
            Application::instance()->objects().gc(ObjectManager::kForced);
            std::this_thread::sleep_for(10ms);
        }
        stepsAfterCollections = canvas->steps;
    };
    run([&](platform::Window&) {
        FakeCanvas* c = FakeMidlet::canvas();
        ASSERT_NE(c, nullptr);
        const auto deadline = std::chrono::steady_clock::now() + 60s;  // hang guard
        while (c->steps < 5 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
        ASSERT_GE(c->steps, 5);
    });
    ASSERT_NE(canvas, nullptr);
    EXPECT_GE(stepsAtDestroy, 5);
    EXPECT_EQ(stepsAfterCollections, stepsAtDestroy);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(canvas->steps, stepsAtDestroy);  // still there, still stopped
    const auto log = logLines().lines();
    EXPECT_NE(std::find(log.begin(), log.end(), "Application::close(): 1 Java thread(s) still running; they stay stopped"),
              log.end());
    EXPECT_EQ(calls().lines().back(), "destroyApp true");
}

}  // namespace

namespace {

// Program starts and ends in a row while the game thread allocates and
// repaints and the wait animation draws onto the screen: every end holds
// the game thread (also when it is collecting or parked in an allocation),
// and nothing is drawn into a screen that is gone.
TEST_F(ShellRun, EndsWhileTheGameAllocatesAndTheWaitAnimationDraws) {
    installDeviceServices();
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        fakeSettings() = FakeSettings();
        fakeSettings().gameThread = true;
        fakeSettings().busyHeap = true;
        fakeSettings().paintColour = 0x336699;
        bramble::net::WaitAnimation animation(std::chrono::milliseconds(0));
        run([&](platform::Window&) {
            FakeCanvas* c = FakeMidlet::canvas();
            ASSERT_NE(c, nullptr);
            animation.start();
            const auto deadline = std::chrono::steady_clock::now() + 30s;  // hang guard
            while (c->steps < 3 + round % 4 && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            ASSERT_GE(c->steps, 3);
        });
        animation.stop();
        EXPECT_EQ(Application::instance(), nullptr);
    }
    const auto log = logLines().lines();
    EXPECT_EQ(std::find_if(log.begin(), log.end(),
                           [](const std::string& l) { return l.find("without an application") != std::string::npos; }),
              log.end());
}

}  // namespace

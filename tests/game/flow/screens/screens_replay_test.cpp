// The screens' fuzz corpus replayed in the ordinary run: every progress
// fixture and every damaged text pack and record the kit makes goes
// through the readers and the menus without a fault (the sanitizer build
// checks that); the damaged ones are reported.
#include "tests/game/flow/screens/screens_exercise.h"
#include "tests/game/flow/screens/support.h"

namespace {

using screenstest::ScreensTest;
using ScreensReplay = ScreensTest;

TEST_F(ScreensReplay, FixturesAndDamagedVariants) {
    size_t seeds = 0, logged = 0;
    for (const screenstest::ScreensSeed& seed : screenstest::screensSeeds()) {
        SCOPED_TRACE(seed.name);
        screenstest::LogCapture log;
        screenstest::exerciseScreens(seed.bytes.data(), seed.bytes.size());
        ++seeds;
        logged += !log.lines().empty();
    }
    EXPECT_GT(seeds, 10u);
    EXPECT_GT(logged, 0u);
}

}  // namespace

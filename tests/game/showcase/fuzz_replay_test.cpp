// The fuzz corpus replayed under the test suite: the valid packs give a
// usable screen, every damaged pack the kit makes is handled without a
// fault (the sanitizer build checks that) and most are reported.
#include "tests/game/showcase/exercise.h"
#include "tests/game/showcase/support.h"

namespace showcasetest {
namespace {

using FuzzReplay = ShowcaseTest;

TEST_F(FuzzReplay, KitPacksAndDamagedVariants) {
    startFuzzWorld();
    size_t usable = 0, logged = 0, valid = 0;
    for (const kit::DamagedFile& seed : packSeeds()) {
        SCOPED_TRACE(seed.name);
        LogCapture log;
        const bool ok = exercisePack(seed.bytes.data(), seed.bytes.size());
        if (seed.name.rfind("valid-", 0) == 0) {
            ++valid;
            EXPECT_TRUE(ok);
            EXPECT_FALSE(log.contains("Showcase")) << "a valid pack logged a fault";
        }
        usable += ok;
        logged += log.contains("Showcase");
    }
    EXPECT_EQ(valid, 3u);
    EXPECT_GT(usable, valid);
    EXPECT_GT(logged, usable / 2);
}

}  // namespace
}  // namespace showcasetest

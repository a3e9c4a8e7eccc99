// The fuzz corpus replayed under the test suite: every valid seed is
// accepted, and every damaged variant the content kit makes is either
// rejected with a log line or safe to use in every way the engine offers
// (the sanitizer build checks the "safe"); the kit's inspection agrees
// with the engine on every file.
#include "tests/game/sprite/exercise.h"
#include "tests/game/sprite/seeds.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/sprite.h"

using namespace spritetest;

TEST(SpriteFuzzReplay, KitSeedsAndDamagedVariants) {
    const std::vector<SeedFile> seeds = spriteSeeds(true);
    ASSERT_GT(seeds.size(), 300u);
    size_t accepted = 0, rejected = 0, validCount = 0;
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (i % 40 == 0) {
            // A fresh application now and then keeps the heaps small.
            closeApplication();
            startApplication(8 << 20, 32 << 20);
        }
        const SeedFile& seed = seeds[i];
        SCOPED_TRACE(seed.name);
        LogCapture log;
        const bool ok = exerciseSpriteFile(seed.bytes.data(), seed.bytes.size());
        if (seed.valid) {
            ++validCount;
            EXPECT_TRUE(ok);
            EXPECT_FALSE(log.contains("BSprite::load: rejected")) << testing::PrintToString(log.lines());
        }
        // The kit's inspection reads by the same rules: it accepts exactly
        // the files the engine loads.
        const bool engineLoads = !log.contains("BSprite::load: rejected");
        std::string kitSays;
        try {
            kit::parseSprite(seed.bytes, nullptr, kit::SpriteReading::AsEngine);
        } catch (const kit::KitError& e) {
            kitSays = e.what();
        }
        if (engineLoads) EXPECT_EQ(kitSays, "");
        else EXPECT_NE(kitSays, "") << "the engine refuses, the kit's inspection accepts";
        if (log.contains("BSprite::load: rejected")) ++rejected;
        else if (ok) ++accepted;
    }
    closeApplication();
    EXPECT_EQ(validCount, 9u);
    // Damage that only changes values (colours, offsets, some flags) is
    // accepted; most structural damage is rejected.
    EXPECT_GT(rejected, seeds.size() / 3);
    EXPECT_GT(accepted, validCount);
    std::printf("replayed %zu files: %zu accepted, %zu rejected\n", seeds.size(), accepted, rejected);
}

// The whole program headless over the demo archive: stage 0 played to its
// exit, and the level end's fireworks drawn. The show's sparks are the
// firework sprite's discs in their own colours (red, green, blue among
// them), which nothing else on the level-end screen uses: while sparks
// live, the painted screen holds those colours; before the show it holds
// none.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/screens/screens.h"
#include "tests/support/gamedriver.h"

namespace {

constexpr int32_t kPlay = 14, kLevelEnd = 21;

uint16_t rgb565(uint32_t rgb) {
    return static_cast<uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

// Pixels of the sparks' red, green and blue.
size_t sparkPixels(const std::vector<uint16_t>& screen) {
    const std::set<uint16_t> colours = {rgb565(0xFF5040), rgb565(0x60FF80), rgb565(0x60A0FF)};
    size_t n = 0;
    for (uint16_t p : screen) n += colours.count(p);
    return n;
}

TEST(LevelEnd, TheShowsSparksAreDrawn) {
    gamedriver::Options o;
    o.folder = std::filesystem::current_path().string() + "/level-end";
    o.seed = 5;
    gamedriver::GameDriver d;
    std::string error;
    ASSERT_TRUE(d.boot(o, error)) << error;
    ASSERT_TRUE(d.pressUntil(-5, kPlay, 2000)) << "play not reached by the confirm key";
    for (int i = 0; i < 80; ++i) d.step();  // past the intro's camera pan
    ASSERT_EQ(d.gameState(), kPlay);
    // Into the exit zone (x 3960-4140 on the floor at y 648).
    cActor* hero = game::cg().hero;
    ASSERT_NE(hero, nullptr);
    cActor::moveTo(hero, 4050 << 8, 647 << 8);
    ASSERT_TRUE(d.stepUntil(kLevelEnd, 200)) << "the level did not end at its exit";
    EXPECT_EQ(sparkPixels(d.screen()), 0u) << "spark colours before the show";
    size_t most = 0;
    int alive = 0;
    for (int i = 0; i < 400 && d.gameState() == kLevelEnd; ++i) {
        d.step();
        if (game::cg().endPhase == 1 && game::cg().fireworksAlive > 0) {
            ++alive;
            most = std::max(most, sparkPixels(d.screen()));
        }
    }
    EXPECT_GT(alive, 20) << "the show had no live sparks";
    EXPECT_GT(most, 20u) << "no spark was drawn";
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

}  // namespace

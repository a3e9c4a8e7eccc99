// Soak: long runs of seeded random input (keys held and released, touches
// and drags) in every level the demo offers, through the step driver, and
// the whole program from its first logo through the game driver. Every
// step's invariants must hold: no state without a handler, no exception
// left pending, the hero never inside solid cells, the camera inside the
// map, the live actors within the pool. Built only with -DBRAMBLE_SOAK=ON
// (label soak), never part of the ordinary run.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/gamedriver.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_game.h"

namespace {

using stepdriver::InputEvent;

constexpr int kSteps = 1000;
constexpr int kProgramSteps = 4000;
constexpr int kMaxStages = 11;

uint32_t seedOf(const std::string& name) {
    uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

// The levels: the demo's named ones, then stage:0 to stage:10.
std::vector<std::string> soakLevels() {
    std::vector<std::string> levels = stepdriver::demoLevelNames();
    for (int n = 0; n < kMaxStages; ++n) levels.push_back("stage:" + std::to_string(n));
    return levels;
}

// A stage the kit's demo names (stage 0, the world's stage, and the joined
// stages): it must load. Any other stage number may be missing.
bool demoNamesStage(const std::string& level) {
    if (level.rfind("stage:", 0) != 0) return true;
    const int n = std::atoi(level.c_str() + 6);
    if (n == 0) return true;
    for (const kit::DemoStage& d : kit::demoStages())
        if (d.stage == n) return true;
    return false;
}

class SoakLevel : public testing::TestWithParam<std::string> {};

TEST_P(SoakLevel, RandomInput) {
    const std::string& level = GetParam();
    for (uint32_t k = 0; k < 2; ++k) {
        stepdriver::Options o;
        o.level = level;
        o.steps = kSteps;
        o.seed = seedOf(level) + k;
        o.input = stepdriver::randomInput(o.seed, kSteps, true);
        const stepdriver::Run run = stepdriver::runLevel(o);
        if (!run.ok && !demoNamesStage(level)) GTEST_SKIP() << "the demo has no " << level << ": " << run.error;
        ASSERT_TRUE(run.ok) << run.error;
        EXPECT_TRUE(run.violations.empty()) << level << " seed " << o.seed << ": " << run.violations.size()
                                            << " violations, first: " << run.violations.front();
        std::printf("%s seed %u: %zu violations\n", level.c_str(), o.seed, run.violations.size());
    }
}

std::string levelName(const testing::TestParamInfo<std::string>& info) {
    std::string n;
    for (char c : info.param) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(DemoLevels, SoakLevel, testing::ValuesIn(soakLevels()), levelName);

// The whole program from its first logo under random keys: it may go
// anywhere the menus lead (and end when the player quits), but never into a
// state without a handler, never with an exception left over, and never
// stuck without a logic step.
class SoakProgram : public testing::TestWithParam<uint32_t> {};

TEST_P(SoakProgram, RandomInput) {
    const uint32_t seed = GetParam();
    gamedriver::Options o;
    o.folder = std::filesystem::current_path().string() + "/soak-program-" + std::to_string(seed);
    o.seed = seed;
    o.input = stepdriver::randomInput(seed, kProgramSteps, true);
    gamedriver::GameDriver driver;
    std::string error;
    ASSERT_TRUE(driver.boot(o, error)) << error;
    while (driver.stepIndex() < kProgramSteps && driver.step()) {
    }
    std::string states;
    for (int32_t s : driver.states()) states += " " + std::to_string(s);
    EXPECT_TRUE(driver.violations().empty()) << driver.violations().front() << "; states" << states;
    std::printf("seed %u: %d steps, states%s\n", seed, driver.stepIndex(), states.c_str());
}

INSTANTIATE_TEST_SUITE_P(Seeds, SoakProgram, testing::Values(11u, 12u, 13u));

}  // namespace

// The fuzz seeds (damaged shapes: short records, zero and huge cell sizes,
// blocks over 32 and 256 cells, bad link and item numbers, rule chains
// leaving their program) and inputs from a fixed-seed generator run through
// the fuzz body without a fault.
#include <random>

#include "tests/game/behaviour/core_fuzz_body.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using CoreFuzzSeeds = behaviourtest::BehaviourTest;

TEST_F(CoreFuzzSeeds, EverySeedRunsItsStepsCleanly) {
    for (const auto& seed : behaviourtest::behaviourFuzzSeeds()) behaviourtest::runBehaviourFuzzInput(seed.data(), seed.size());
    SUCCEED();
}

TEST_F(CoreFuzzSeeds, FixedSeedRandomInputsRunCleanly) {
    std::mt19937 rng(7);
    for (int i = 0; i < 100; ++i) {
        std::vector<uint8_t> input(rng() % 2000);
        for (uint8_t& b : input) b = static_cast<uint8_t>(rng());
        behaviourtest::runBehaviourFuzzInput(input.data(), input.size());
    }
    SUCCEED();
}

}  // namespace

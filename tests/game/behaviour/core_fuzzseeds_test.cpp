// The fuzz seeds (damaged shapes: short records, zero and huge cell sizes,
// blocks over 32 and 256 cells, bad link and item numbers, rule chains
// leaving their program) run through the fuzz body without a fault.
#include "tests/game/behaviour/core_fuzz_body.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using CoreFuzzSeeds = behaviourtest::BehaviourTest;

TEST_F(CoreFuzzSeeds, EverySeedRunsItsStepsCleanly) {
    for (const auto& seed : behaviourtest::behaviourFuzzSeeds()) behaviourtest::runBehaviourFuzzInput(seed.data(), seed.size());
    SUCCEED();
}

}  // namespace

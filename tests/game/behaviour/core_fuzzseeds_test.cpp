// The fuzz seeds (damaged shapes: short records, zero and huge cell sizes,
// blocks over 32 and 256 cells, bad link and item numbers, rule chains
// leaving their program) and inputs from a fixed-seed generator, run
// through the fuzz body with the replay tests' per-step invariants checked
// after every step: no Java exception left pending, at most 200 live
// actors, the hero's state 0-40 and not 24, its box out of solid cells and
// the hero inside the map; and every actor the records made holds the
// parameters and parts its type reads (short records are padded).
#include <random>
#include <string>
#include <vector>

#include "game/actor/pool.h"
#include "game/behaviour/types.h"
#include "game/data/statics.h"
#include "runtime/application.h"
#include "tests/game/behaviour/core_fuzz_body.h"
#include "tests/game/behaviour/core_support.h"
#include "tests/support/stepdriver.h"

namespace {

using CoreFuzzSeeds = behaviourtest::BehaviourTest;

// The checks after each fuzzed step; failures are collected, the first few
// reported by the caller.
struct StepChecks {
    std::vector<std::string> failures;

    void operator()(int step) {
        if (Application::pendingException())
            failures.push_back("step " + std::to_string(step) + ": a Java exception is left pending");
        std::vector<std::string> broken;
        stepdriver::checkPlayInvariants(step, broken);
        for (std::string& b : broken)
            if (b.find("has no handler") == std::string::npos) failures.push_back(std::move(b));
        for (jint i = 0; i < game::cg().actorCount; ++i) {
            cActor* a = game::poolActor(i);
            if (!a || a == game::cg().hero) continue;
            const game::behaviour::TypeNeeds needs = game::behaviour::needsFor(a->type);
            const jint params = a->params ? a->params->length() : 0;
            const jint parts = a->parts ? a->parts->length() : 0;
            if (params < needs.params || parts < needs.parts)
                failures.push_back("step " + std::to_string(step) + ": actor of subtype " + std::to_string(a->subtype) +
                                   " (type " + std::to_string(a->type) + ") holds " + std::to_string(params) +
                                   " params and " + std::to_string(parts) + " parts, its type reads " +
                                   std::to_string(needs.params) + " and " + std::to_string(needs.parts));
        }
    }
    void report(const std::string& input) const {
        for (size_t i = 0; i < failures.size() && i < 5; ++i) ADD_FAILURE() << input << ": " << failures[i];
        EXPECT_TRUE(failures.empty()) << input << ": " << failures.size() << " failed checks";
    }
};

TEST_F(CoreFuzzSeeds, EverySeedHoldsTheStepInvariants) {
    const auto seeds = behaviourtest::behaviourFuzzSeeds();
    ASSERT_FALSE(seeds.empty());
    for (size_t k = 0; k < seeds.size(); ++k) {
        StepChecks checks;
        behaviourtest::runBehaviourFuzzInput(seeds[k].data(), seeds[k].size(), [&](int step) { checks(step); });
        checks.report("seed " + std::to_string(k));
    }
}

TEST_F(CoreFuzzSeeds, FixedSeedRandomInputsHoldTheStepInvariants) {
    std::mt19937 rng(7);
    for (int i = 0; i < 100; ++i) {
        std::vector<uint8_t> input(rng() % 2000);
        for (uint8_t& b : input) b = static_cast<uint8_t>(rng());
        StepChecks checks;
        behaviourtest::runBehaviourFuzzInput(input.data(), input.size(), [&](int step) { checks(step); });
        checks.report("random input " + std::to_string(i));
    }
}

}  // namespace

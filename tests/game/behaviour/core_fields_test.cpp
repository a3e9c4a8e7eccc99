// The behaviour names of cActor's fields reach the storage the framework,
// the world and the hero use for the same things, and the behaviour statics
// exist with their tables from start-up.
#include "game/behaviour/fields.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

using CoreFields = BehaviourTest;

TEST_F(CoreFields, BehaviourNamesShareTheFrameworkStorage) {
    cActor* h = behaviourtest::makeHero(100, 200);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(x(h), 100);
    EXPECT_EQ(y(h), 200);
    counter(h) = 7;
    EXPECT_EQ(h->counter, 7);
    timer(h) = 9;
    EXPECT_EQ(h->timer, 9);
    contactFlags(h) = 0x2000;
    EXPECT_EQ(h->contactFlags, 0x2000);
    heroState() = 12;
    EXPECT_EQ(game::ca().heroState, 12);
    EXPECT_EQ(rules27(), game::ca().rules27);
    EXPECT_EQ(rules225(), game::ca().rules225);
}

TEST_F(CoreFields, StaticsHoldTheirTablesFromStartUp) {
    ASSERT_NE(scratchBox(), nullptr);
    EXPECT_EQ(scratchBox()->length(), 4);
    ASSERT_NE(sparkTimers(), nullptr);
    EXPECT_EQ(sparkTimers()->length(), 5);
    ASSERT_NE(type2Queue(), nullptr);
    EXPECT_EQ(type2QueueCount(), 0);
}

}  // namespace

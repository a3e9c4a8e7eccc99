// Fixture of the behaviour tests: the world tests' application with the
// behaviour statics added and the behaviours installed; levels, heroes and
// records come from the world fixture.
#pragma once

#include <gtest/gtest.h>

#include "tests/game/world/support.h"

namespace behaviourtest {

using worldtest::loadLevel;
using worldtest::makeHero;
using worldtest::spawnRecord;

// The world fixture's application plus the behaviour statics, then
// installBehaviours().
void startApplication();
void closeApplication();

class BehaviourTest : public testing::Test {
protected:
    void SetUp() override { startApplication(); }
    void TearDown() override { closeApplication(); }
};

}  // namespace behaviourtest

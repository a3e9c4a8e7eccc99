// The three steering routines: speed windows, facing and the left-wins rule.
#include <gtest/gtest.h>

#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

TEST(HeroSteering, PlainJumpWindowAndBrake) {
    Fake f;
    f.heroStateVars = {1, 4128, 4128, 256, 480, -1, 0, 0, 0};
    f.hero.m[0] = 77;
    f.hero.m[3] = -100;  // rising: ax untouched
    steerHero(f.h(), false);
    EXPECT_EQ(f.hero.m[0], 77);
    EXPECT_EQ(f.hero.m[6], 480);
    EXPECT_EQ(f.hero.m[7], 4128);
    f.hero.m[3] = 0;  // falling: brake against the jump
    steerHero(f.h(), false);
    EXPECT_EQ(f.hero.m[0], -1440);
    f.heroStateVars[0] = -1;
    f.statics.jumpSpeedCarry = 2000;
    steerHero(f.h(), true);
    EXPECT_EQ(f.hero.m[0], 0);
    EXPECT_EQ(f.hero.m[6], -5376);
    EXPECT_EQ(f.hero.m[7], -480);
}

TEST(HeroSteering, LeapSetsTheSpeedAndLeavesTheWindow) {
    Fake f;
    f.heroStateVars = {-1, 4224, 4224, 256, 480, 6, 1, 0, 0};
    f.statics.jumpSpeedCarry = 100;
    f.hero.m[6] = -11;
    f.hero.m[7] = 11;
    steerHero(f.h(), false);
    EXPECT_EQ(f.hero.m[2], -4324);
    EXPECT_EQ(f.hero.m[6], -11);
    EXPECT_EQ(f.hero.m[7], 11);
    f.heroStateVars[0] = 0;
    steerHero(f.h(), false);
    EXPECT_EQ(f.hero.m[2], 0);
}

TEST(HeroSteering, DirectionRequests) {
    struct Case {
        jint mask, vx;
        bool jumpBits;
        bool result;
        jint facing, lo, hi;
    } cases[] = {
        {act::LEFT | act::RIGHT, 0, false, true, 1, -2280, -358},       // left wins at rest
        {act::LEFT | act::RIGHT, 100, false, true, 0, 358, 2280},       // moving right: right holds
        {act::LEFT | act::RIGHT, -100, false, true, 1, -2280, -358},    // moving left: left holds
        {act::JUMP_LEFT, 0, false, false, 0, -1, 1},                    // jump bits ignored
        {act::JUMP_LEFT, 0, true, true, 1, -2280, -358},
        {act::LEFT, -2300, false, false, 1, -1, 1},                     // faster than max: refused, turned
        {act::LEFT, 500, false, true, 1, -2280, 500},                   // opposite speed is the far end
    };
    for (const Case& c : cases) {
        Fake f;
        f.actionMask = c.mask;
        f.hero.m[2] = c.vx;
        f.hero.m[6] = -1;
        f.hero.m[7] = 1;
        EXPECT_EQ(steerHeroFacing(f.h(), 358, 2280, c.jumpBits), c.result) << c.mask << " " << c.vx;
        EXPECT_EQ(f.hero.facing, c.facing) << c.mask << " " << c.vx;
        EXPECT_EQ(f.hero.m[6], c.lo) << c.mask << " " << c.vx;
        EXPECT_EQ(f.hero.m[7], c.hi) << c.mask << " " << c.vx;
    }
}

TEST(HeroSteering, WalkInputNeverRefusesAndKeepsOppositeOnlyWhenAsked) {
    Fake f;
    f.actionMask = act::LEFT;
    f.hero.m[2] = -2300;
    EXPECT_TRUE(applyHeroWalkInput(f.h(), 358, 2280, false, false));
    EXPECT_EQ(f.hero.m[6], -2280);
    EXPECT_EQ(f.hero.m[7], -358);
    f.hero.m[2] = 500;
    applyHeroWalkInput(f.h(), 358, 2280, false, false);
    EXPECT_EQ(f.hero.m[7], -358);
    applyHeroWalkInput(f.h(), 358, 2280, true, false);
    EXPECT_EQ(f.hero.m[7], 500);
}

TEST(HeroSteering, AutoScrollingLevelKeepsFacingRight) {
    Fake f;
    f.level7 = true;
    f.actionMask = act::LEFT;
    EXPECT_TRUE(applyHeroWalkInput(f.h(), 358, 1126, false, false));
    EXPECT_EQ(f.hero.facing, 0);
    EXPECT_EQ(f.hero.m[6], -1126);
}

}  // namespace
}  // namespace herotest

// Air states: the jump start, the landing rule, FLOAT_UP and HOP.
#include <gtest/gtest.h>

#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

TEST(HeroAir, StraightJumpStartsFromTheCurveTimesThePower) {
    struct Case {
        jint power, vy;
    } cases[] = {{480, (-3000 * 480) >> 8}, {256, (-3000 * 256) >> 8}};
    for (const Case& c : cases) {
        Fake f;
        f.curve = {-3000, -2000, -1000};
        f.heroStateVars = {0, 4128, 4128, 256, c.power, -1, 0, 0, 0};
        f.enter(HeroState::JUMP);
        EXPECT_EQ(f.hero.m[3], c.vy);
        EXPECT_EQ(f.hero.m[2], 0);
        EXPECT_EQ(f.curveIndex, 1);
        EXPECT_EQ(f.curveLength, 3);
        EXPECT_EQ(f.hero.physicsFlags & 1, 0);
    }
}

TEST(HeroAir, PlainSideJumpSpeedAndWindow) {
    Fake f;
    f.curve = {-3000};
    f.heroStateVars = {1, 4128, 4128, 256, 480, -1, 0, 0, 0};
    f.enter(HeroState::JUMP);
    EXPECT_EQ(f.hero.m[2], 2848);
    EXPECT_EQ(f.hero.m[6], 480);
    EXPECT_EQ(f.hero.m[7], 4128);
    EXPECT_EQ(f.hero.m[0], 0);
    EXPECT_EQ(f.statics.jumpSpeedCarry, 0);
}

TEST(HeroAir, RunUpAndLeapOpenTheLimits) {
    Fake f;
    f.curve = {-3000};
    f.hero.m[2] = 3100;
    leapOff(f.h(), 1, true);
    EXPECT_EQ(f.heroState, HeroState::JUMP);
    EXPECT_EQ(f.statics.runUpJump, 1);
    EXPECT_EQ(f.hero.m[6], -25600);
    EXPECT_EQ(f.hero.m[7], 25600);
    EXPECT_EQ(f.hero.m[2], 4224);
    EXPECT_EQ(f.statics.leapFlag, 1);
}

TEST(HeroAir, TakeOffGoesThroughTheTakeOffAnimation) {
    Fake f;
    f.actionMask = act::JUMP_LEFT;
    takeOff(f.h(), 99);
    EXPECT_EQ(f.heroState, HeroState::PLAY_ACTION);
    EXPECT_EQ(f.actionAnim, 3);
    EXPECT_EQ(f.actionNextState, 3);
    EXPECT_EQ(f.heroStateVars[0], -1);
    EXPECT_EQ(f.hero.facing, 1);
    EXPECT_EQ(f.heroStateVars[4], 480);
    EXPECT_TRUE(f.logged("sound 19"));
}

TEST(HeroAir, ForwardJumpAgainstAWallIsStraightUp) {
    Fake f;
    f.world.tileFlags[{6, 7}] = 8;
    moveTo(f.h(), 200 * 256, 360 * 256);
    f.actionMask = act::JUMP2;
    EXPECT_EQ(getJumpDirection(f.h(), true), 0);
    f.hero.m[2] = 100;
    EXPECT_EQ(getJumpDirection(f.h(), true), 1);
    f.world.tileFlags.clear();
    f.hero.m[2] = 0;
    EXPECT_EQ(getJumpDirection(f.h(), true), 1);
}

TEST(HeroAir, LandingRule) {
    struct Case {
        jint vx, mask, state, vxAfter;
    } cases[] = {
        {600, 0, HeroState::SKID, 480},
        {-700, 0, HeroState::SKID, -480},
        {300, 0, HeroState::SKID, 300},
        {0, 0, HeroState::STAND, 0},
        {600, act::RIGHT, HeroState::WALK, 0},
    };
    for (const Case& c : cases) {
        Fake f;
        f.curve = {-3000};
        f.heroStateVars = {0, 4128, 4128, 256, 480, -1, 0, 0, 0};
        f.enter(HeroState::FALL);
        f.hero.m[2] = c.vx;
        f.actionMask = c.mask;
        f.collisionResult = 0x100008;
        f.stepHandler();
        EXPECT_EQ(f.heroState, c.state) << c.vx;
        if (c.state != HeroState::WALK) {
            EXPECT_EQ(f.hero.m[2], c.vxAfter) << c.vx;
        }
        EXPECT_TRUE(f.logged("effect 12 11 57344"));
    }
}

TEST(HeroAir, LandingAboveTheSkidFloorHoldsItForOneStep) {
    Fake f;
    f.enter(HeroState::FALL);
    f.hero.m[2] = 2000;
    f.collisionResult = 0x100008;
    f.stepHandler();
    ASSERT_EQ(f.heroState, HeroState::SKID);
    EXPECT_EQ(f.hero.m[6], 960);
    EXPECT_EQ(f.hero.m[7], 480);
    f.accelerate(f.hero);
    EXPECT_EQ(f.hero.m[2], 960) << "limits 960..480 hold the speed at 960";
}

TEST(HeroAir, JumpLeavesTheCurveIntoFall) {
    Fake f;
    f.curve = {-3000};
    f.heroStateVars = {0, 4128, 4128, 256, 480, 36, 0, 0, 0};
    f.enter(HeroState::JUMP);
    f.hero.anim = 3;
    f.curveIndex = 2;
    f.hero.m[3] = 100;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::FALL);
    EXPECT_EQ(f.hero.anim, 36);
    EXPECT_EQ(f.statics.heroMovingFlag, 1);
}

TEST(HeroAir, FallDownKeyStomps) {
    Fake f;
    f.enter(HeroState::FALL);
    f.actionMask = act::DOWN;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::STOMP);
    EXPECT_EQ(f.hero.m[3], 7920);
}

TEST(HeroAir, FloatUpNeverSinksAndEndsCrouchedWithoutHeadroom) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    f.world.floor(7, 0, 20);
    f.statics.floatTimer = 2;
    f.enter(HeroState::FLOAT_UP);
    EXPECT_EQ(f.hero.m[8], -1488);
    EXPECT_EQ(f.hero.m[9], -600);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::FLOAT_UP);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::CROUCH);
    EXPECT_EQ(f.statics.floatTimer, -1);
}

TEST(HeroAir, HopCeilingStopsTheRiseAndStretchesVx) {
    Fake f;
    f.heroStateVars[0] = 1;
    f.enter(HeroState::HOP);
    EXPECT_EQ(f.hero.m[2], 1126);
    EXPECT_EQ(f.hero.m[3], -4096);
    f.hero.m[3] = -2000;
    f.collisionResult = 8;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], 0);
    EXPECT_EQ(f.airControl, 1);
    f.enter(HeroState::HOP);
    f.hero.m[3] = -2000;
    f.airControl = 1;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 1126 * 352 / 256);
    EXPECT_EQ(f.hero.m[8], 0);
}

}  // namespace
}  // namespace herotest

namespace herotest {
namespace {

TEST(HeroAir, SmallHeroFallsSlowlyWithItsOwnBox) {
    Fake f;
    f.hero.subtype = 3010;
    f.hero.typeParams[6] = 20;
    f.hero.typeParams[7] = 30;
    f.hero.m[2] = 100;
    game::hero::setHeroState(f.h(), game::HeroState::FALL);
    EXPECT_EQ(f.hero.boxW, 20);
    EXPECT_EQ(f.hero.boxH, 30);
    EXPECT_EQ(f.hero.m[1], 256);
    EXPECT_EQ(f.hero.m[9], 2048);
    EXPECT_EQ(f.hero.anim, 3);
    f.actionMask = game::act::DOWN;
    f.stepHandler();
    EXPECT_EQ(f.heroState, game::HeroState::FALL) << "the small hero never stomps";
}

}  // namespace
}  // namespace herotest

// Grab and action states, and the dash family's other states, each entered
// directly with the actors they act on.
#include <gtest/gtest.h>

#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

TEST(HeroGrab, ComboDealsEachStrikeOnceAtItsHitFrame) {
    Fake f;
    FakeActor& target = f.spawn();
    target.x = 60;
    f.grabbed = A(target);
    f.grabMode = 1;
    f.enter(HeroState::GRAB_COMBO);
    const jint hitFrames[3] = {2, 2, 1};
    for (int strike = 0; strike < 3; ++strike) {
        EXPECT_EQ(f.hero.anim, 25 + strike);
        int hits = 0;
        for (jint frame = 0; frame < 4; ++frame) {
            f.hero.frame = frame;
            target.contactFlags = 0;
            f.stepHandler();
            if (target.contactFlags & 0x800) {
                ++hits;
                EXPECT_EQ(frame, hitFrames[strike]) << strike;
            }
            f.hero.frame = frame;
            f.stepHandler();
            EXPECT_EQ(target.contactFlags & 0x800, frame == hitFrames[strike] ? 0x800 : 0) << "once per strike";
        }
        EXPECT_EQ(hits, 1) << strike;
        f.keysPressed[0x10020] = true;
        f.hero.animDone = true;
        f.stepHandler();
        f.keysPressed[0x10020] = false;
    }
    EXPECT_EQ(f.heroState, HeroState::STAND) << "a fourth request ends the combo";
    EXPECT_TRUE(f.logged("sound 21"));
    EXPECT_TRUE(f.logged("sound 22"));
    EXPECT_EQ(f.grabMode, 10);
}

TEST(HeroGrab, AimSwingsTwentyFourStepsEndToEnd) {
    Fake f;
    FakeActor& rock = f.spawn();
    rock.subtype = 112;
    f.grabbed = A(rock);
    f.grabMode = 3;
    f.enter(HeroState::AIM_THROW);
    ASSERT_NE(f.statics.aimMarker, nullptr);
    for (int i = 0; i < 12; ++i) f.stepHandler();
    EXPECT_EQ(f.statics.aimAngle, -60);
    EXPECT_EQ(f.statics.aimSwing, 2);
    for (int i = 0; i < 24; ++i) f.stepHandler();
    EXPECT_EQ(f.statics.aimAngle, 60);
    EXPECT_EQ(f.statics.aimSwing, 0);
    f.actionMask = act::ACTION;
    f.stepHandler();
    EXPECT_TRUE(f.logged("hand 1 2 0 marker"));
    EXPECT_EQ(rock.aiState, 24);
    EXPECT_EQ(f.heroState, HeroState::PLAY_ACTION);
    EXPECT_EQ(f.statics.aimMarker, nullptr);
}

TEST(HeroGrab, SwitchStandsBeforeTheNextCharacter) {
    Fake f;
    f.enter(HeroState::SWITCH_HERO);
    f.hero.animDone = true;
    f.log.clear();
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::STAND);
    ASSERT_FALSE(f.log.empty());
    EXPECT_EQ(f.log.back(), "switch");
}

TEST(HeroGrab, SpecialHitsTheOfferedPartnerAtFrameThree) {
    Fake f;
    FakeActor& enemy = f.spawn();
    f.partner = A(enemy);
    f.partnerMode = 4;
    f.enter(HeroState::SPECIAL);
    EXPECT_EQ(f.quake, 10);
    EXPECT_TRUE(f.logged("sound 28"));
    f.hero.frame = 3;
    f.stepHandler();
    EXPECT_EQ(enemy.contactFlags & 64, 64);
    EXPECT_EQ(f.grabbed, nullptr);
}

TEST(HeroDashFamily, HurledEndsOnTargetOrGoesToItsStoredState) {
    Fake f;
    moveTo(f.h(), 100 * 256, 100 * 256);
    f.heroStateVars = {0, 9, 0, 200 * 256, 0, 0, 0, 0, 0};
    f.enter(HeroState::HURLED);
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], 50 * 256) << "half the remaining distance";
    f.collisionResult = hit::SIDE | hit::VERTICAL;
    f.hero.animDone = true;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::STAND) << "no stored state: the landing rule";
}

TEST(HeroDashFamily, LaunchedLeavesItsRangeIntoADash) {
    Fake f;
    moveTo(f.h(), 100 * 256, 300 * 256);
    f.statics.slideDir = 0;
    f.heroStateVars = {100, 2000, 4000, 0, 50, 150, 0, 0, 0};
    f.enter(HeroState::LAUNCHED);
    EXPECT_EQ(f.hero.m[6], 2000);
    EXPECT_EQ(f.hero.m[7], 4000);
    f.hero.m[2] = 2400;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], 600);
    EXPECT_EQ(f.hero.m[0], 100);
    EXPECT_EQ(f.hero.m[8], 500);
    EXPECT_EQ(f.hero.m[9], 1000);
    moveTo(f.h(), 200 * 256, 300 * 256);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::DASH);
}

TEST(HeroDashFamily, SlopeSlideKeysAndTheEndOfTheSlope) {
    Fake f;
    f.world.mirrored = 1;  // sliding left
    f.world.slope = 0x30003;
    f.heroStateVars = {60, 480, 7200, 0, 0, 0, 0, 0, 0};
    f.enter(HeroState::SLOPE_SLIDE);
    EXPECT_EQ(f.hero.m[6], -7200);
    EXPECT_EQ(f.hero.m[7], -480);
    EXPECT_EQ(f.cameraFlags, 25);
    f.actionMask = act::LEFT;
    f.stepHandler();
    EXPECT_EQ(f.hero.facing, 1);
    EXPECT_EQ(f.hero.anim, 15);
    EXPECT_EQ(f.hero.m[6], -7200 * 7 / 5);
    EXPECT_EQ(f.hero.m[0], -60);
    f.world.slope = 0;
    f.actionMask = 0;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SKID);
}

TEST(HeroDashFamily, PowerRunEndsOnlyOnTheGround) {
    Fake f;
    f.curve = {-3000, -3000};
    f.statics.powerRunTimer = 2;
    f.enter(HeroState::POWER_RUN);
    f.collisionResult = 0x100008;
    f.actionMask = act::JUMP_UP;
    f.stepHandler();
    EXPECT_EQ(f.statics.powerRunAirborne, 1);
    f.actionMask = 0;
    f.collisionResult = 0;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::POWER_RUN) << "timer out in the air";
    f.collisionResult = 0x100008;
    f.curveIndex = 5;
    f.stepHandler();
    EXPECT_EQ(f.statics.powerRunAirborne, 0);
    EXPECT_EQ(f.heroState, HeroState::POWER_RUN);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SKID);
}

TEST(HeroVehicle, BorneStraightJumpLiftsAndComesBack) {
    Fake f;
    moveTo(f.h(), 100 * 256, 300 * 256);
    f.heroStateVars = {86, 0, 100, 300, 1, 100 * 256, 0, 50, 50};
    f.enter(HeroState::BORNE);
    f.actionMask = act::STRAIGHT_JUMP;
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[0], 84);
    EXPECT_EQ(f.hero.drawDy, -50);
    f.stepHandler();  // animation 84 starts
    EXPECT_EQ(f.heroStateVars[0], 84);
    f.hero.animDone = true;
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[0], 87);
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[0], 87) << "held while the straight jump is held";
    f.actionMask = 0;
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[0], 85);
    f.stepHandler();  // animation 85 starts
    f.hero.animDone = true;
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[0], 86);
    EXPECT_EQ(f.hero.drawDy, 0);
    f.hero.drawDy = -7;
    f.enter(HeroState::STAND);
    EXPECT_EQ(f.hero.drawDy, 0) << "leaving restores the drawing offset";
}

// PICKUP waits for a released item to fly in (the hero carries it with
// animation 60 on arrival), but not for ever: holding and carrying nothing,
// it stands again after 64 steps; an item arriving in time is taken.
TEST(HeroGrab, PickupWithNothingArrivingStandsAgainAfterItsWait) {
    {
        Fake f;
        FakeActor& box = f.spawn();
        f.grabbed = A(box);
        f.grabMode = 2;
        f.enter(HeroState::PICKUP);
        f.hero.anim = 27;
        f.grabbed = nullptr;  // the hit tick handed the box its opening
        f.grabMode = 10;
        for (int n = 0; n < 64; ++n) {
            f.hero.animDone = n % 4 == 3;
            f.stepHandler();
            ASSERT_EQ(f.heroState, HeroState::PICKUP) << n;
        }
        f.stepHandler();
        EXPECT_EQ(f.heroState, HeroState::STAND);
    }
    {
        Fake f;
        FakeActor& item = f.spawn();
        item.type = 2;
        f.enter(HeroState::PICKUP);
        f.hero.anim = 0;
        for (int n = 0; n < 20; ++n) f.stepHandler();
        f.hero.carried = &item;  // arrived: carried with animation 60
        f.hero.anim = 60;
        f.hero.animDone = false;
        for (int n = 0; n < 60; ++n) f.stepHandler();
        EXPECT_EQ(f.heroState, HeroState::PICKUP) << "an arrived item is not dropped by the wait";
        f.hero.animDone = true;
        f.stepHandler();
        EXPECT_EQ(f.heroState, HeroState::STAND);
        EXPECT_EQ(f.hero.carried, nullptr);
    }
}

// An item that flew in and that the pickup test refuses (nothing changed
// it) is dropped (AI state 27) rather than left hanging over the hero; one
// the test took (here thrown off, state 25) is left to its behaviour.
TEST(HeroGrab, PickupDropsAnArrivedItemThePickupTestRefused) {
    for (const jint after : {2, 25}) {
        Fake f;
        FakeActor& item = f.spawn();
        item.type = 2;
        item.aiState = after;
        f.enter(HeroState::PICKUP);
        f.hero.carried = &item;
        f.hero.anim = 60;
        f.hero.animDone = true;
        f.stepHandler();
        EXPECT_TRUE(f.logged("checkPickup"));
        EXPECT_EQ(f.heroState, HeroState::STAND);
        EXPECT_EQ(item.aiState, after == 2 ? 27 : 25) << after;
    }
}

}  // namespace
}  // namespace herotest

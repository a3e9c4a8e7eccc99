// Ground states, stepped with the framework's acceleration: values computed
// by hand from the rules of each state.
#include <gtest/gtest.h>

#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

// A hero standing on a floor at row 10 (feet at y 360).
void standOnFloor(Fake& f, jint x) {
    f.world.floor(10, 0, 40);
    moveTo(f.h(), x * 256, 360 * 256);
    f.collisionResult = 0x100008;
}

void step(Fake& f) {
    f.accelerate(f.hero);
    f.stepHandler();
}

TEST(HeroGround, SkidFromFullSpeed) {
    Fake f;
    standOnFloor(f, 200);
    f.hero.m[2] = 4800;
    f.enter(HeroState::SKID);
    std::vector<jint> speeds;
    while (f.heroState == HeroState::SKID && speeds.size() < 10) {
        f.accelerate(f.hero);
        speeds.push_back(f.hero.m[2]);
        f.stepHandler();
    }
    EXPECT_EQ(speeds, (std::vector<jint>{4680, 3600, 1680, 960}));
    EXPECT_EQ(f.heroState, HeroState::STAND);
}

TEST(HeroGround, SkidStopsAtAnEdge) {
    Fake f;
    f.world.floor(10, 0, 5);
    moveTo(f.h(), 190 * 256, 360 * 256);
    f.hero.m[2] = 4800;
    f.enter(HeroState::SKID);
    step(f);
    EXPECT_EQ(f.heroState, HeroState::STAND);
}

TEST(HeroGround, WalkReleaseSkidsOnlyFromSpeed) {
    struct Case {
        jint vx;
        jint grab;
        jint state;
    } cases[] = {{2881, 10, HeroState::SKID}, {2880, 10, HeroState::STAND}, {4800, 3, HeroState::STAND}};
    for (const Case& c : cases) {
        Fake f;
        standOnFloor(f, 200);
        f.enter(HeroState::WALK);
        f.grabMode = c.grab;
        f.actionMask = act::RIGHT;
        for (int i = 0; i < 3; ++i) f.stepHandler();
        f.actionMask = 0;
        f.hero.m[2] = c.vx;
        f.stepHandler();
        EXPECT_EQ(f.heroState, c.state) << c.vx;
    }
}

TEST(HeroGround, WalkWaitsThreeTicksBeforeGivingUp) {
    Fake f;
    standOnFloor(f, 200);
    f.enter(HeroState::WALK);
    f.stepHandler();
    f.stepHandler();
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::WALK);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::STAND);
}

TEST(HeroGround, WalkAcceleratesToItsCeiling) {
    Fake f;
    standOnFloor(f, 200);
    f.enter(HeroState::WALK);
    EXPECT_EQ(f.hero.m[0], 1152);
    f.actionMask = act::RIGHT;
    std::vector<jint> v;
    for (int i = 0; i < 4; ++i) {
        step(f);
        v.push_back(f.hero.m[2]);
    }
    // 1152 within -1536..1536, then the window 2640..4800 with ax 2304, 3456.
    EXPECT_EQ(v, (std::vector<jint>{1152, 3456, 4800, 4800}));
}

TEST(HeroGround, StandTurnsOnAPressAgainstItsFacing) {
    Fake f;
    standOnFloor(f, 200);
    f.enter(HeroState::STAND);
    f.actionMask = act::LEFT | act::LEFT_DOWN;
    f.stepHandler();
    EXPECT_EQ(f.hero.facing, 1);
    EXPECT_EQ(f.heroState, HeroState::STAND);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::WALK);
}

TEST(HeroGround, IceDecaysToExactlyZero) {
    Fake f;
    standOnFloor(f, 200);
    f.hero.m[2] = 1000;
    enterHeroState28(f.h());
    std::vector<jint> v;
    for (int i = 0; i < 5; ++i) {
        f.stepHandler();
        v.push_back(f.hero.m[2]);
    }
    EXPECT_EQ(v, (std::vector<jint>{760, 520, 280, 0, 0}));
    EXPECT_EQ(f.modes[3], 1);
}

TEST(HeroGround, RollUnderALowCeilingKeepsGoingAndEndsCrouched) {
    Fake f;
    standOnFloor(f, 200);
    f.world.floor(7, 0, 40);  // a ceiling in the standing height
    f.heroStateVars[0] = 4320;
    f.enter(HeroState::ROLL);
    EXPECT_EQ(f.hero.m[2], 4320);
    f.hero.m[0] = 500;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[0], 0);
    EXPECT_EQ(f.heroState, HeroState::ROLL);
    f.hero.m[2] = 900;
    f.stepHandler();  // ax 0 now: the no-slope push and the stop test
    EXPECT_EQ(f.heroState, HeroState::CROUCH);
}

TEST(HeroGround, ActionKeyWithNothingToActOnIsConsumed) {
    Fake f;
    standOnFloor(f, 200);
    f.enter(HeroState::STAND);
    f.actionMask = act::ACTION;
    EXPECT_EQ(tryHeroAction(f.h()), 1);
    EXPECT_EQ(f.heroState, HeroState::STAND);
    f.actionMask = 0;
    EXPECT_EQ(tryHeroAction(f.h()), 0);
}

TEST(HeroGround, CarriedThrowHandsTheThrowFields) {
    Fake f;
    standOnFloor(f, 200);
    f.enter(HeroState::STAND);
    FakeActor& box = f.spawn();
    box.subtype = 5;
    f.grabbed = A(box);
    f.grabMode = 3;
    f.hero.facing = 1;
    f.actionMask = act::ACTION;
    EXPECT_EQ(tryHeroAction(f.h()), 1);
    EXPECT_TRUE(f.logged("hand -1 1 4"));
    EXPECT_EQ(box.aiState, 24);
    EXPECT_EQ(f.heroState, HeroState::PLAY_ACTION);
    EXPECT_EQ(f.actionAnim, 30);
    EXPECT_EQ(f.grabMode, 10);
}

TEST(HeroGround, CrouchAndStandUp) {
    Fake f;
    standOnFloor(f, 200);
    f.enter(HeroState::STAND);
    f.actionMask = act::CROUCH;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::PLAY_ACTION);
    EXPECT_EQ(f.actionAnim, 11);
    EXPECT_EQ(f.hero.boxH, 50);
    f.hero.animDone = true;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::CROUCH);
    f.actionMask = act::STAND_UP;
    f.stepHandler();
    EXPECT_EQ(f.actionAnim, 14);
    EXPECT_EQ(f.hero.boxH, 85);
    EXPECT_TRUE(f.logged("resetKeys"));
}

}  // namespace
}  // namespace herotest

// The change protocol, the handler table, the table step, PLAY_ACTION and
// the let-go routine.
#include <gtest/gtest.h>

#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

TEST(HeroMachine, OnlyStatesZeroToFortyWithoutTwentyFourHaveHandlers) {
    for (jint s : {-100, -1, 24, 41, 1000}) EXPECT_EQ(handlerFor(s), nullptr) << s;
    for (jint s = 0; s <= 40; ++s) {
        if (s == 24) continue;
        EXPECT_NE(handlerFor(s), nullptr) << s;
    }
}

TEST(HeroMachine, AStateWithoutHandlerIsStoredAndRunsNothing) {
    for (jint bad : {-3, 24, 41}) {
        Fake f;
        f.hero.anim = 7;
        f.enter(bad);
        EXPECT_EQ(f.heroState, bad);
        EXPECT_EQ(f.heroStateTicks, 0);
        EXPECT_EQ(f.hero.anim, 7) << "no table row for " << bad;
        f.stepHandler();
        EXPECT_EQ(f.heroStateTicks, 1);
        EXPECT_EQ(f.hero.anim, 7);
    }
}

TEST(HeroMachine, ChangeToTheSameStateRunsExitAndEnterButNotTheTables) {
    Fake f;
    f.enter(HeroState::FALL);
    f.stepHandler();
    f.hero.physicsFlags = 7;
    f.hero.anim = 44;
    f.hero.m[3] = 900;
    f.enter(HeroState::FALL);
    EXPECT_EQ(f.heroStateTicks, 0);
    EXPECT_EQ(f.hero.physicsFlags, 7);
    EXPECT_EQ(f.hero.anim, 44);
    EXPECT_EQ(f.hero.m[3], 0) << "FALL's exit ran";
    f.enter(HeroState::STAND);
    EXPECT_EQ(f.hero.physicsFlags, 0x1000203);
    EXPECT_EQ(f.hero.anim, 0);
}

TEST(HeroMachine, CameraFlagsOnAChange) {
    struct Case {
        jint before, state, after;
    } cases[] = {{33, HeroState::JUMP, 33}, {33, HeroState::FALL, 9}, {74, HeroState::FALL, 74}, {74, HeroState::JUMP, 74}};
    for (const Case& c : cases) {
        Fake f;
        f.curve = {-4000};
        f.cameraFlags = c.before;
        f.enter(c.state);
        EXPECT_EQ(f.cameraFlags, c.after) << c.before << " -> " << c.state;
    }
}

TEST(HeroMachine, DashEffectNeedsAFinishedChildAndTheNextChangeReleasesIt) {
    Fake f;
    f.hero.childFinished = false;
    f.hero.childAnim = 40;
    f.enter(HeroState::DASH);
    EXPECT_FALSE(f.logged("child 8 5 0 0 2 2105344"));
    f.enter(HeroState::STAND);
    f.hero.childFinished = true;
    f.enter(HeroState::DASH);
    EXPECT_TRUE(f.logged("child 8 5 0 0 2 2105344"));
    EXPECT_EQ(f.hero.childFlags, 0x202000);
    f.hero.childFinished = true;
    f.log.clear();
    f.enter(HeroState::SKID);
    EXPECT_TRUE(f.logged("release child"));
}

TEST(HeroMachine, PlayActionRequestsAGameStateOnce) {
    Fake f;
    playAction(f.h(), 7, 0x1000000 | 5);
    EXPECT_EQ(f.hero.anim, 7);
    f.stepHandler();
    EXPECT_FALSE(f.logged("gameState 5"));
    f.hero.animDone = true;
    f.stepHandler();
    EXPECT_TRUE(f.logged("gameState 5"));
    EXPECT_EQ(f.heroState, HeroState::STAND);
}

TEST(HeroMachine, ADeadHeroHoldsTheLastFrameOfTheAction) {
    struct Case {
        jint frames, held;
    } cases[] = {{6, 5}, {1, 0}, {0, 0}};
    for (const Case& c : cases) {
        Fake f;
        f.heroDead = true;
        playAction(f.h(), 7, 0x1000000 | 9);
        f.hero.frameCount = c.frames;
        f.hero.animDone = true;
        f.stepHandler();
        EXPECT_EQ(f.heroState, HeroState::PLAY_ACTION);
        EXPECT_EQ(f.hero.frame, c.held) << c.frames;
    }
}

TEST(HeroMachine, PlayActionGoesOnToItsNextState) {
    Fake f;
    playAction(f.h(), 11, HeroState::CROUCH);
    f.hero.animDone = true;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::CROUCH);
}

TEST(HeroMachine, LettingGoSetsTheAnimationOnlyInStandAndWalk) {
    for (jint s : {HeroState::STAND, HeroState::WALK, HeroState::CROUCH}) {
        Fake f;
        f.enter(s);
        f.grabMode = 3;
        f.hero.anim = 50;
        heroDropCarried(f.h());
        jint expected = s == HeroState::STAND ? 0 : (s == HeroState::WALK ? 2 : 50);
        EXPECT_EQ(f.hero.anim, expected) << s;
        EXPECT_EQ(f.grabMode, 10);
    }
}

TEST(HeroMachine, ForcedEntriesSetTheirModes) {
    Fake f;
    enterHeroState26(f.h());
    EXPECT_EQ(f.heroState, HeroState::MIRE);
    EXPECT_EQ(f.modes[1], 1);
    EXPECT_EQ(f.hero.m[3], 1280);
    enterHeroState14(f.h());
    EXPECT_EQ(f.modes[0], 1);
    EXPECT_EQ(f.hero.m[3], 1024);
    EXPECT_TRUE(f.logged("sound 14"));
    f.enter(HeroState::STAND);
    EXPECT_EQ(f.modes, (std::array<jint, 4>{0, 0, 0, 0}));
}

TEST(HeroMachine, ResetHeroStateRestoresTheCamera) {
    Fake f;
    f.cruise = 1;
    f.cameraFlags = 74;
    f.hero.flags = 0x201;
    resetHeroState(f.h());
    EXPECT_EQ(f.heroState, HeroState::STAND);
    EXPECT_EQ(f.cruise, 0);
    EXPECT_EQ(f.cameraFlags, 9);
    EXPECT_EQ(f.scrollDelay, -1);
    EXPECT_EQ(f.hero.flags, 1);
    EXPECT_EQ(f.worldFlags & 32, 32);
}

}  // namespace
}  // namespace herotest

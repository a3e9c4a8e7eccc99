// The hero on the kit's fixture maps through the real actor update, the
// world's physics step and the state handlers, in the order of one actor
// update (acceleration, physics, move, then the hero's state). Values are
// worked out by hand from the rules of each state.
#include <gtest/gtest.h>

#include <vector>

#include "game/actor/actor.h"
#include "game/data/hooks.h"
#include "game/data/routines.h"
#include "game/world/hero/hero_statics.h"
#include "game/world/hero/machine.h"
#include "tests/game/world/support.h"
#include "tools/kit/hero_fixtures.h"

namespace {

using namespace worldtest;
using game::ca;
namespace hero = game::hero;
namespace HeroState = game::HeroState;

class KillRecorder : public game::BehaviourHooks {
public:
    int kills = 0;
    void kill(cActor*) override { ++kills; }
};

class HeroTraceTest : public WorldTest {
protected:
    cActor* start(kit::HeroFixture map, jint x, jint y) {
        loadLevel(kit::heroFixtureLevel(map));
        cActor* h = makeHero(x, y);
        hero::setHeroState(h, HeroState::STAND);
        return h;
    }
    // One actor update with this step's input bits.
    static void step(cActor* h, jint mask) {
        h->update();
        ca().heroActionMask = mask;
        hero::tickHeroState(h);
    }
    static jint vx(cActor* h) { return h->motion->data()[2]; }
};

TEST_F(HeroTraceTest, StandingOnFlatGround) {
    cActor* h = start(kit::HeroFixture::Flat, 200, 360);
    for (int i = 0; i < 6; ++i) {
        step(h, 0);
        EXPECT_EQ(ca().collisionResult, 0x100008) << i;
        EXPECT_EQ(h->motion->data()[3], 6912) << i;
        EXPECT_EQ(h->posY, 360) << i;
        EXPECT_EQ(ca().heroState, HeroState::STAND) << i;
    }
}

TEST_F(HeroTraceTest, SkidFromFullSpeed) {
    cActor* h = start(kit::HeroFixture::Flat, 100, 360);
    h->motion->data()[2] = 4800;
    hero::setHeroState(h, HeroState::SKID);
    std::vector<jint> speeds;
    while (ca().heroState == HeroState::SKID && speeds.size() < 10) {
        h->update();
        speeds.push_back(vx(h));
        ca().heroActionMask = 0;
        hero::tickHeroState(h);
    }
    EXPECT_EQ(speeds, (std::vector<jint>{4680, 3600, 1680, 960}));
    EXPECT_EQ(ca().heroState, HeroState::STAND);
}

TEST_F(HeroTraceTest, WalkRightThenReleaseSkids) {
    cActor* h = start(kit::HeroFixture::Flat, 100, 360);
    hero::setHeroState(h, HeroState::WALK);
    std::vector<jint> speeds;
    for (int i = 0; i < 3; ++i) {
        step(h, game::act::RIGHT);
        speeds.push_back(vx(h));
    }
    EXPECT_EQ(speeds, (std::vector<jint>{1152, 3456, 4800}));
    step(h, 0);
    EXPECT_EQ(ca().heroState, HeroState::SKID);
}

TEST_F(HeroTraceTest, IceDecaysToExactlyZero) {
    cActor* h = start(kit::HeroFixture::Ice, 12 * 36, 360);
    hero::enterHeroState28(h);
    h->motion->data()[2] = 1000;
    std::vector<jint> speeds;
    for (int i = 0; i < 5; ++i) {
        step(h, 0);
        speeds.push_back(vx(h));
    }
    EXPECT_EQ(speeds, (std::vector<jint>{760, 520, 280, 0, 0}));
}

TEST_F(HeroTraceTest, PitFallsAndKillsOnTheEighthStep) {
    KillRecorder recorder;
    game::setBehaviourHooks(&recorder);
    // Made on the ground beside the pit, then put over it.
    cActor* h = start(kit::HeroFixture::Pit, 8 * 36 + 18, 360);
    const jint x = 11 * 36 + 18;
    cActor::moveTo(h, x * 256, 360 * 256);
    cActor::setBox(h->box, x - 17, 360 - 85, x + 17, 360);
    game::setVariable(3, 3, false);  // health
    ASSERT_EQ(game::getVariable(3), 3);
    h->update();
    const jint fellTo = h->posY;
    hero::updateHero(h);
    EXPECT_EQ(ca().heroState, HeroState::FALL);
    EXPECT_EQ(h->posY, fellTo + 4) << "forced 4 px down";
    EXPECT_EQ(hero::hs().deathCountdown, 8);
    int steps = 0;
    while (recorder.kills == 0 && steps < 20) {
        ++steps;
        h->update();
        hero::updateHero(h);
    }
    EXPECT_EQ(steps, 8);
    game::setBehaviourHooks(nullptr);
}

TEST_F(HeroTraceTest, FlyAtTheScrollSpeed) {
    cActor* h = start(kit::HeroFixture::Flat, 200, 200);
    hero::setHeroState(h, HeroState::FLY);
    step(h, 0);
    EXPECT_EQ(vx(h), 2112);
    EXPECT_EQ(h->motion->data()[3], 0);
    hero::hs().runSpeedFactor = 153;
    step(h, game::act::SWIM_UP);
    EXPECT_EQ(h->motion->data()[3], -1033);
    step(h, game::act::SWIM_DOWN);
    EXPECT_EQ(h->motion->data()[3], 1032);
}

}  // namespace

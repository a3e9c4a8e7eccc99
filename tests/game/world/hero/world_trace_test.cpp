// The hero on the kit's fixture maps through the real actor update, the
// world's physics step and the state handlers, in the order of one actor
// update (acceleration, physics, move, then the hero's state). Values are
// worked out by hand from the rules of each state.
#include <gtest/gtest.h>

#include <vector>

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/input.h"
#include "game/flow/variables.h"
#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "tests/game/world/hero/trace.h"
#include "tests/game/world/support.h"
#include "tools/kit/hero_fixtures.h"

namespace {

using namespace worldtest;
using herotest::TraceLine;
using game::ca;
namespace hero = game::hero;
namespace HeroState = game::HeroState;

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
    EXPECT_EQ(game::ca().deathCountdown, 8);
    int steps = 0;
    // The kill takes the health away.
    while (game::getVariable(3) != 0 && steps < 20) {
        ++steps;
        h->update();
        hero::updateHero(h);
    }
    EXPECT_EQ(steps, 8);
}

// PICKUP with nothing carried waits for its animation to end, then marks
// the pickup notice once: its flag and the level timer of that moment.
TEST_F(HeroTraceTest, PickupNoticeIsMarkedOnceWithTheLevelTimer) {
    cActor* h = start(kit::HeroFixture::Flat, 200, 360);
    hero::setHeroState(h, HeroState::PICKUP);
    ASSERT_EQ(ca().heroState, HeroState::PICKUP);
    h->setAnim(0);
    game::cg().levelTimer = 900;
    hero::heroState19(h, game::HeroPhase::UPDATE);
    EXPECT_EQ(game::ca().pickupNoticed, 0) << "the animation still runs";
    h->animPasses = 1;  // one pass of animation 0 played
    h->frame = h->frameTick = 0;
    game::cg().levelTimer = 880;
    hero::heroState19(h, game::HeroPhase::UPDATE);
    ASSERT_EQ(game::ca().pickupNoticed, 1);
    const jint noticedAt = 880;
    EXPECT_EQ(game::ca().pickupNoticeTime, noticedAt);
    EXPECT_EQ(h->anim, 0);
    // Once: the animation ending again leaves the notice as it was.
    for (int i = 0; i < 10; ++i) {
        game::cg().levelTimer = 5;
        h->animPasses = 1;
        h->frame = h->frameTick = 0;
        hero::heroState19(h, game::HeroPhase::UPDATE);
    }
    EXPECT_EQ(game::ca().pickupNoticeTime, noticedAt);
    // Leaving PICKUP clears the flag.
    hero::setHeroState(h, HeroState::STAND);
    EXPECT_EQ(game::ca().pickupNoticed, 0);
}

TEST_F(HeroTraceTest, FlyAtTheScrollSpeed) {
    cActor* h = start(kit::HeroFixture::Flat, 200, 200);
    hero::setHeroState(h, HeroState::FLY);
    step(h, 0);
    EXPECT_EQ(vx(h), 2112);
    EXPECT_EQ(h->motion->data()[3], 0);
    game::ca().runSpeedFactor = 153;
    step(h, game::act::SWIM_UP);
    EXPECT_EQ(h->motion->data()[3], -1033);
    step(h, game::act::SWIM_DOWN);
    EXPECT_EQ(h->motion->data()[3], 1032);
}

// A scene holds a flying hero still: bit value 1 of the input block (the one
// a script stop sets) zeroes both speeds; bit value 2 (the camera following
// the hero) does not.
TEST_F(HeroTraceTest, AHeldFlyingHeroStaysPut) {
    struct Case {
        jint block;
        bool held;
    } cases[] = {{0, false}, {1, true}, {2, false}, {3, true}};
    for (const Case& c : cases) {
        cActor* h = start(kit::HeroFixture::Flat, 200, 200);
        hero::setHeroState(h, HeroState::FLY);
        game::cg().inputBlock = c.block;
        step(h, game::act::SWIM_UP);
        EXPECT_EQ(vx(h) == 0 && h->motion->data()[3] == 0, c.held) << "block " << c.block;
    }
    game::cg().inputBlock = 0;
}

// A straight jump on the flat map with the curve {-2000, -1500, -1000,
// -500, 0}: held, the power is 480/256 (vy = c * 480 >> 8, floored); let go
// after the first step, 256/256; either way it lands at vx 0 in STAND.
std::vector<jint> straightJump(cActor* h, bool held) {
    IntArray* curve = newIntArray(5);
    const jint values[5] = {-2000, -1500, -1000, -500, 0};
    for (jint i = 0; i < 5; ++i) curve->data()[i] = values[i];
    ca().jumpCurve = curve;
    const jint vars[7] = {0, 4128, 4128, 256, 480, -1, 0};
    for (jint i = 0; i < 7; ++i) ca().heroStateVars->data()[i] = vars[i];
    ca().heroActionMask = game::act::JUMP_UP;
    hero::setHeroState(h, HeroState::JUMP);
    std::vector<jint> vys;
    for (int i = 0; i < 4; ++i) {
        h->update();
        ca().heroActionMask = held ? game::act::JUMP_UP : 0;
        hero::tickHeroState(h);
        vys.push_back(h->motion->data()[3]);
    }
    for (int i = 0; i < 80 && ca().heroState == HeroState::JUMP; ++i) {
        h->update();
        ca().heroActionMask = 0;
        hero::tickHeroState(h);
    }
    return vys;
}

TEST_F(HeroTraceTest, StraightJumpHeldAndTapped) {
    struct Case {
        bool held;
        std::vector<jint> vy;
    } cases[] = {{true, {-2813, -1875, -938, 0}}, {false, {-1500, -1000, -500, 0}}};
    for (const Case& c : cases) {
        cActor* h = start(kit::HeroFixture::Flat, 200, 360);
        EXPECT_EQ(straightJump(h, c.held), c.vy) << c.held;
        // Falling lands it back: FALL or the landing rule, ending at rest.
        for (int i = 0; i < 80 && ca().heroState != HeroState::STAND; ++i) {
            h->update();
            ca().heroActionMask = 0;
            hero::tickHeroState(h);
        }
        EXPECT_EQ(ca().heroState, HeroState::STAND) << c.held;
        EXPECT_EQ(h->motion->data()[2], 0);
        EXPECT_EQ(h->posY, 360);
        closeApplication();
        startApplication();
    }
}

// The trace line of the hero after a step.
TraceLine capture(cActor* h) {
    TraceLine l;
    l.heroState = ca().heroState;
    l.ticks = ca().heroStateTicks;
    l.x = h->posX;
    l.y = h->posY;
    const jint* m = h->motion->data();
    l.ax = m[0];
    l.ay = m[1];
    l.vx = m[2];
    l.vy = m[3];
    l.collisionResult = ca().collisionResult;
    l.facing = h->facing;
    l.anim = h->anim;
    l.cameraX = game::cg().cameraX;
    l.cameraY = game::cg().cameraY;
    l.health = game::getVariable(3);
    l.liveActors = game::cg().activeActorCount;
    return l;
}

// A scripted run on the flat map: rest, walk right, let go, jump, walk left.
std::vector<TraceLine> scriptedRun() {
    cActor* h = makeHero(100, 360);
    hero::setHeroState(h, HeroState::STAND);
    struct Phase {
        int steps;
        jint mask;
    } script[] = {{5, 0},
                  {6, game::act::RIGHT},
                  {6, 0},
                  {2, game::act::JUMP_UP},
                  {8, 0},
                  {5, game::act::LEFT | game::act::LEFT_DOWN},
                  {4, 0}};
    std::vector<TraceLine> trace;
    for (const Phase& p : script) {
        for (int i = 0; i < p.steps; ++i) {
            h->update();
            ca().heroActionMask = p.mask;
            hero::tickHeroState(h);
            trace.push_back(capture(h));
        }
    }
    return trace;
}

TEST_F(HeroTraceTest, OneScriptGivesOneTraceAndDivergenceIsNamed) {
    loadLevel(kit::heroFixtureLevel(kit::HeroFixture::Flat));
    std::vector<TraceLine> first = scriptedRun();
    closeApplication();
    startApplication();
    loadLevel(kit::heroFixtureLevel(kit::HeroFixture::Flat));
    std::vector<TraceLine> second = scriptedRun();
    auto d = herotest::firstDivergence(first, second);
    EXPECT_FALSE(d.has_value()) << herotest::describe(*d);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_TRUE(game::isHeroState(first[i].heroState)) << herotest::formatTraceLine(static_cast<int>(i), first[i]);
        EXPECT_LE(first[i].liveActors, 200);
    }
    // The walk reached the skid and the run came back to rest.
    bool skidded = false;
    for (const TraceLine& l : first) skidded |= l.heroState == HeroState::SKID;
    EXPECT_TRUE(skidded);
    second[7].vx += 1;
    d = herotest::firstDivergence(first, second);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->step, 7);
    EXPECT_EQ(d->field, "vx");
    second.pop_back();
    second[7].vx -= 1;
    d = herotest::firstDivergence(first, second);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->field, "length");
}

// Random input through the real physics on the fixture maps: the state
// always has a handler and the box's interior never enters a wall cell.
TEST_F(HeroTraceTest, RandomInputKeepsTheHeroOutOfWalls) {
    const kit::HeroFixture maps[] = {kit::HeroFixture::Flat, kit::HeroFixture::Slopes, kit::HeroFixture::LowCeiling,
                                     kit::HeroFixture::DropFloor, kit::HeroFixture::Ice};
    uint32_t rng = 7;
    auto next = [&] {
        rng = rng * 1103515245u + 12345u;
        return rng >> 8;
    };
    const jint masks[] = {0, game::act::LEFT, game::act::RIGHT, game::act::JUMP_UP, game::act::JUMP_RIGHT,
                          game::act::JUMP_LEFT, game::act::CROUCH, game::act::ACTION, game::act::DOWN};
    for (kit::HeroFixture map : maps) {
        cActor* h = start(map, 4 * 36 + 18, 360);
        IntArray* curve = newIntArray(6);
        for (jint i = 0; i < 6; ++i) curve->data()[i] = -2400 + 400 * i;
        ca().jumpCurve = curve;
        for (int i = 0; i < 300; ++i) {
            h->update();
            ca().heroActionMask = masks[next() % 9];
            hero::tickHeroState(h);
            // The fixture hero has no sprite, so an action animation never ends.
            if (ca().heroState == HeroState::PLAY_ACTION) hero::setHeroState(h, HeroState::STAND);
            ASSERT_TRUE(game::isHeroState(ca().heroState)) << kit::heroFixtureName(map) << " step " << i;
            const jint l = h->box->data()[0] + 1, t = h->box->data()[1] + 1;
            const jint r = h->box->data()[2] - 1, b = h->box->data()[3] - 1;
            for (jint row = t / 36; row <= b / 36; ++row)
                for (jint col = l / 36; col <= r / 36; ++col)
                    ASSERT_NE(game::world::getTile(col, row, 1), 6)
                        << kit::heroFixtureName(map) << " step " << i << " cell " << col << "," << row;
        }
        closeApplication();
        startApplication();
    }
}


// The small hero (subtype 3010) landing from FALL at rest: the landing rule
// picks the next state, and FALL's last step still shows its own
// animation for the small hero (10 at rest), as it does in the air.
TEST_F(HeroTraceTest, SmallHeroLandingFromAFallShowsTheFallAnimation) {
    cActor* h = start(kit::HeroFixture::Flat, 200, 300);
    h->subtype = 3010;
    hero::setHeroState(h, HeroState::FALL);
    jint landedAnim = -1;
    for (int i = 0; i < 40 && landedAnim < 0; ++i) {
        step(h, 0);
        if (ca().heroState != HeroState::FALL) landedAnim = h->anim;
    }
    ASSERT_NE(ca().heroState, HeroState::FALL) << "never landed";
    EXPECT_EQ(h->posY, 360);
    EXPECT_EQ(landedAnim, 10);
}

// A launch given a duration keeps the run counter up once the jump's
// control runs; a launch without one leaves it alone.
TEST_F(HeroTraceTest, TimedLaunchKeepsTheRunCounterUp) {
    struct Case {
        jint duration, counter;
    } cases[] = {{10, 16}, {0, 0}};
    for (const Case& c : cases) {
        cActor* h = start(kit::HeroFixture::Flat, 200, 360);
        game::cg().runCounter = 0;
        game::setHeroMove(h, 0, 0, 0, c.duration);
        ASSERT_EQ(ca().heroState, HeroState::JUMP);
        step(h, 0);
        EXPECT_EQ(game::cg().runCounter, c.counter) << c.duration;
    }
}

// WALK adds its push to ax every step with Java's wrap-around: a preset
// close to the top wraps (no signed overflow), it does not saturate.
TEST_F(HeroTraceTest, WalkAccelerationWraps) {
    cActor* h = start(kit::HeroFixture::Flat, 200, 360);
    hero::setHeroState(h, HeroState::WALK);
    step(h, game::act::RIGHT);
    const jint preset = java::kIntMax - 100;
    h->motion->data()[0] = preset;
    ca().heroActionMask = game::act::RIGHT;
    hero::tickHeroState(h);
    EXPECT_EQ(h->motion->data()[0], java::iadd(preset, 1152));
    EXPECT_LT(h->motion->data()[0], 0);
}

// The hero's keys are read as an empty mask while a script blocks them or
// while the side panel is out of its rest position.
TEST_F(HeroTraceTest, PanelOutOrInputBlockEmptiesTheHeroMask) {
    start(kit::HeroFixture::Flat, 200, 360);
    struct Case {
        const char* what;
        jint panel, block;
        bool cleared;
    } cases[] = {
        {"panel at rest", 0, 0, false},
        {"panel out", 7, 0, true},
        {"panel fully out", 240, 0, true},
        {"input blocked", 0, 1, true},
    };
    for (const Case& c : cases) {
        game::keyPressed('5');
        game::updateKeys();
        game::cg().panelPosition = c.panel;
        game::cg().inputBlock = c.block;
        EXPECT_EQ(game::readHeroInput(), c.cleared) << c.what;
        EXPECT_EQ((ca().heroActionMask & game::act::ACTION) == 0, c.cleared) << c.what;
        game::keyReleased('5');
        game::updateKeys();
    }
    game::cg().panelPosition = 0;
    game::cg().inputBlock = 0;
}

// State 37: the action bit starts the ring's script and stops the hero for
// it (STAND, wait mode 6, the hero's keys blocked), as a script stop does.
TEST_F(HeroTraceTest, RingReleaseStartsItsScriptAndStopsTheHero) {
    loadLevel(kit::heroFixtureLevel(kit::HeroFixture::Flat) +
              "script 7\n target none\n  key 0\n   op 117 30000 30000\n  key 200\n   op 117 30000 30000\n");
    cActor* h = makeHero(200, 360);
    hero::setHeroState(h, HeroState::STAND);
    ca().ringScriptLow = ca().ringScriptHigh = 7;
    ca().ringRadius = 12800;
    hero::setHeroState(h, 37);
    ASSERT_EQ(ca().heroState, 37);
    game::cg().inputBlock = 0;
    step(h, 0x100000);
    EXPECT_EQ(game::cg().scriptStates->data()[0], 0) << "the ring's script did not start";
    EXPECT_EQ(ca().heroState, HeroState::STAND);
    EXPECT_EQ(game::cg().scriptWaitMode, 6);
    EXPECT_TRUE(game::cg().inputBlock & 1);
    game::cg().inputBlock = 0;
}
}  // namespace

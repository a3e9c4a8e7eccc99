// The other families, each state entered directly, and the hero's step:
// the Parts' edge cases and the guards against states entered without the
// actor they need.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/log.h"
#include "tests/game/world/hero/fake.h"

namespace herotest {
namespace {

using namespace game;
using namespace game::hero;

// Collects log lines for one test.
struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() {
        rt::setLogSink([this](std::string_view l) { lines.emplace_back(l); });
    }
    ~LogCapture() { rt::setLogSink(nullptr); }
};

TEST(HeroFly, SpeedsAreFlooredProducts) {
    struct Case {
        jint base, f, speed;
    } cases[] = {{2112, 256, 2112}, {2112, 460, 3795}, {3456, 460, 6210}, {-384, 460, -690},
                 {1728, 460, 3105}, {1728, 153, 1032}, {-1728, 153, -1033}};
    for (const Case& c : cases) EXPECT_EQ(flySpeed(c.base, c.f), c.speed) << c.base << " x " << c.f;
}

TEST(HeroFly, ScrollSpeedKeysAndScriptHold) {
    Fake f;
    f.enter(HeroState::FLY);
    EXPECT_EQ(f.cameraFlags, 137);
    EXPECT_EQ(f.hero.boxW, 64);
    EXPECT_EQ(f.hero.boxH, 26);
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 2112);
    EXPECT_EQ(f.hero.m[3], 0);
    f.runSpeedFactor = 153;
    f.actionMask = act::SWIM_UP;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], -1033);
    f.actionMask = act::SWIM_DOWN;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], 1032);
    f.boostFrames = 5;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], -1033) << "swapped while boosted";
    f.runSpeedFactor = 256;
    f.actionMask = act::SWIM_RIGHT;
    f.cameraX = -332;  // d = 332: the right key no longer acts
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 2112);
    f.cameraX = 0;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 3456);
    f.scriptHolds = true;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 0);
    EXPECT_EQ(f.hero.m[3], 0);
}

TEST(HeroFly, AvoidanceClimbsOrDives) {
    struct Case {
        std::vector<jint> filledRows;  // rows ahead that are filled
        jint vy;
    } cases[] = {{{}, -1728}, {{6}, 1728}, {{6, 7}, -1728}, {{6, 7, 5}, 1728}, {{6, 7, 5, 8}, 0}};
    for (const Case& c : cases) {
        Fake f;
        moveTo(f.h(), 200 * 256, 270 * 256);
        f.enter(HeroState::FLY);
        // Box 64 x 26: top 244, bottom 270; rows 6 (top-18), 7 (bottom), 5 (top-54), 8 (bottom+36).
        for (jint r : c.filledRows) f.world.cls[{(f.hero.box(2) - 1) / 36, r}] = 0;
        f.collisionResult = 4;
        f.stepHandler();
        EXPECT_EQ(f.hero.m[3], c.vy) << c.filledRows.size();
    }
}

TEST(HeroFly, ShotLocksTheActionKey) {
    Fake f;
    f.enter(HeroState::FLY);
    f.poolFull = true;
    f.actionMask = act::ACTION;
    f.stepHandler();
    EXPECT_TRUE(f.logged("shot 70 -24"));
    EXPECT_EQ(f.hero.anim, 25);
    EXPECT_EQ(f.inputLock & 128, 128);
    EXPECT_EQ(f.inputMode, 2);
}

TEST(HeroSwim, SinksSlowlyAndJumpsOutAtTheSurface) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    for (jint r = 5; r <= 10; ++r) f.world.cls[{5, r}] = 9;
    f.enter(HeroState::SWIM);
    std::vector<jint> ay;
    for (int i = 0; i < 3; ++i) {
        f.stepHandler();
        ay.push_back(f.hero.m[1]);
    }
    EXPECT_EQ(ay, (std::vector<jint>{120, 240, 360}));
    EXPECT_EQ(f.hero.m[9], 480);
    f.actionMask = act::ACTION;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SWIM_STROKE);
    EXPECT_TRUE(f.logged("sound 20"));
}

TEST(HeroSwim, CurrentsCarryAndTurnTheHero) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    for (jint r = 5; r <= 10; ++r) f.world.cls[{5, r}] = 13;
    f.enter(HeroState::SWIM);
    f.hero.m[2] = -3600;
    f.actionMask = act::SWIM_RIGHT | act::ACTION;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SWIM) << "no stroke in a current";
    EXPECT_EQ(f.hero.m[0], -960);
    EXPECT_EQ(f.hero.m[6], -3600);
    EXPECT_EQ(f.hero.facing, 1);
}

TEST(HeroSwim, SlowsAgainstTheMotionWithoutKeys) {
    Fake f;
    f.enter(HeroState::SWIM);
    f.hero.m[2] = 1000;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[0], -100);
    f.hero.m[2] = 160;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 0);
    EXPECT_EQ(f.hero.m[0], 0);
}

TEST(HeroMedium, StrokeEndsAfterSixteenStepsOrOnTheOppositeKey) {
    Fake f;
    f.enter(HeroState::SWIM_STROKE);
    EXPECT_EQ(f.hero.m[2], 2880);
    for (int i = 0; i < 16; ++i) f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SWIM_STROKE);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SWIM);
    f.enter(HeroState::SWIM_STROKE);
    f.actionMask = act::SWIM_LEFT;
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::SWIM);
}

TEST(HeroMedium, MireEscapeNeedsElevenStepsAndAnEmptyHead) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    enterHeroState26(f.h());
    EXPECT_EQ(f.hero.y, 390);
    f.actionMask = act::JUMP_UP;
    f.curve = {-3000};
    for (int i = 0; i < 10; ++i) {
        f.stepHandler();
        ASSERT_EQ(f.heroState, HeroState::MIRE) << i;
        EXPECT_EQ(f.hero.m[3], -2400);
    }
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::JUMP);
    EXPECT_EQ(f.modes[1], 0);
}

TEST(HeroMedium, MireSlowsByATenth) {
    Fake f;
    enterHeroState26(f.h());
    f.hero.m[2] = -400;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[0], 40);
    f.hero.m[2] = 160;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], 0);
}

TEST(HeroMedium, PaddleNeverStops) {
    Fake f;
    f.hero.facing = 1;
    f.enter(HeroState::PADDLE);
    EXPECT_EQ(f.hero.m[2], -1280);
    EXPECT_EQ(f.hero.m[6], -1920);
    EXPECT_EQ(f.hero.m[7], -1280);
    f.actionMask = act::ACTION;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[2], -2560) << "the limits hold it at -1920 in the physics step";
    EXPECT_TRUE(f.logged("resetKeys"));
    EXPECT_NE(f.heldItem, nullptr);
}

TEST(HeroCruise, KeysTrimByOne) {
    Fake f;
    f.heroStateVars[0] = -2048;
    f.enter(HeroState::CRUISE);
    EXPECT_EQ(f.hero.facing, 1);
    f.keysHeld[4240] = true;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[6], -2049);
    EXPECT_EQ(f.hero.m[7], -2049);
    EXPECT_EQ(f.heroStateVars[0], -2048);
}

TEST(HeroCruise, ScriptHoldMovesOnlyVertically) {
    Fake f;
    f.enter(HeroState::SCRIPT_HOLD);
    EXPECT_EQ(f.lookAheadX, -31);
    f.actionMask = act::LEFT;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], 512);
    EXPECT_EQ(f.hero.facing, 1);
    EXPECT_EQ(f.hero.anim, 2);
    EXPECT_EQ(f.hero.m[7], 0);
}

TEST(HeroClimb, EntrySnapsToTheColumnMiddleAndLocksInput) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    enterHeroState27(f.h());
    EXPECT_EQ(f.hero.x % 36, 18);
    EXPECT_EQ(f.hero.x, 198);
    EXPECT_EQ(f.inputLock, 0x7FF7FFFB);
    EXPECT_EQ(f.inputMode, 3);
    EXPECT_EQ(f.modes[2], 1);
}

TEST(HeroClimb, TopOfTheLadderStepsUp) {
    Fake f;
    moveTo(f.h(), 198 * 256, 360 * 256);
    for (jint r = 9; r <= 10; ++r) f.world.cls[{5, r}] = 21;
    enterHeroState27(f.h());
    f.stepHandler();
    EXPECT_TRUE(f.logged("climbDir 1"));
    f.world.cls[{5, 6}] = 21;
    f.world.cls[{5, 7}] = 21;
    f.world.cls[{5, 8}] = 21;
    f.actionMask = act::JUMP_UP;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[3], -2400);
    EXPECT_EQ(f.hero.anim, 53);
}

TEST(HeroDash, FixedSpeedAndChainedDashes) {
    Fake f;
    f.enter(HeroState::DASH);
    EXPECT_EQ(f.hero.m[6], 5376);
    EXPECT_EQ(f.hero.m[7], 5376);
    EXPECT_EQ(f.cameraFlags, 10);
    f.world.feetFlags = 0x1000000;
    f.hero.m[2] = 1000;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[6], 1960) << "slippery ground adds 960";
    f.hero.contactFlags = 1;
    f.stepHandler();
    EXPECT_EQ(f.hero.m[6], -192) << "a strike bounces back";
    EXPECT_EQ(f.heroStateVars[0], 13) << "already more than 5 steps left";
    f.world.feetFlags = 0;
    while (f.heroStateTicks < 10) f.stepHandler();
    f.hero.contactFlags = 1;
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[0], 15) << "at least 5 more steps";
    f.actionMask = act::ACTION;
    while (f.heroStateTicks < 15) f.stepHandler();
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::DASH) << "a held action key chains a fresh dash";
    EXPECT_EQ(f.heroStateTicks, 1);
    EXPECT_EQ(f.heroStateVars[0], 13);
}

TEST(HeroDash, KnockbackLandsInAutoRunInTheScrollingLevel) {
    for (bool level7 : {false, true}) {
        Fake f;
        f.level7 = level7;
        f.heroStateVars[0] = 9;
        f.enter(HeroState::KNOCKBACK);
        f.collisionResult = 0x100000;
        f.stepHandler();
        EXPECT_EQ(f.heroState, level7 ? HeroState::AUTO_RUN : HeroState::STAND);
    }
}

TEST(HeroStomp, LandingPlaysTheActionAndQuakes) {
    for (jint duration : {6, 0}) {
        Fake f;
        f.stompAnimDuration = duration;
        f.enter(HeroState::STOMP);
        f.collisionResult = 0x100008;
        f.stepHandler();
        EXPECT_EQ(f.heroState, HeroState::PLAY_ACTION);
        EXPECT_EQ(f.actionAnim, 20);
        EXPECT_EQ(f.actionNextState, 0);
        EXPECT_EQ(f.quake, duration);
        EXPECT_EQ(f.worldFlags & 1, 1);
    }
}

TEST(HeroOrbit, SwingsBetweenAnglesAndWrapsAtTheListEnd) {
    Fake f;
    FakeActor& l = f.spawn();
    l.params = {0, 90};  // two angles, no rectangle entry
    l.parts = {0, 0};
    f.statics.nextOrbitActor = A(l);
    f.enter(HeroState::ORBIT);
    EXPECT_EQ(f.lookAheadForcedX, 0);
    EXPECT_EQ(f.lookAheadForcedY, 30);
    EXPECT_EQ(l.counter, 13);
    for (int i = 0; i < 13; ++i) f.stepHandler();
    EXPECT_EQ(l.parts[0], 1);
    EXPECT_EQ(l.angle, 90);
    EXPECT_EQ(l.counter, 29);
    for (int i = 0; i < 16 + 13; ++i) f.stepHandler();
    EXPECT_EQ(l.parts[0], 0) << "slot 2 is past the list: back to 0";
    EXPECT_EQ(l.angle, 0);
}

TEST(HeroOrbit, FiresDuringAHoldAndFallsAfterItsFlight) {
    Fake f;
    FakeActor& l = f.spawn();
    l.params = {0, 90, -1, 0, 0, 0, 0, 0, 0};
    l.parts = {0, 0};
    f.statics.nextOrbitActor = A(l);
    f.enter(HeroState::ORBIT);
    f.actionMask = act::ACTION;
    f.stepHandler();
    EXPECT_EQ(f.statics.orbitFlightTicks, -1) << "fire during the swing is ignored";
    l.counter = 20;
    f.stepHandler();
    EXPECT_EQ(f.statics.orbitFlightTicks, 0);
    EXPECT_EQ(f.hero.m[3], -6400);
    EXPECT_EQ(f.hero.m[2], 0);
    for (int i = 0; i < 26; ++i) f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::FALL);
}

TEST(HeroGuards, StatesEnteredWithoutTheirActor) {
    struct Case {
        jint state, next, vy;
    } cases[] = {{HeroState::SWING, HeroState::FALL, 4800},
                 {HeroState::OPERATE, HeroState::FALL, 4800},
                 {HeroState::ORBIT, HeroState::FALL, 4800},
                 {HeroState::AIM_THROW, HeroState::STAND, 0},
                 {HeroState::USE_OBJECT, HeroState::STAND, 0}};
    for (const Case& c : cases) {
        LogCapture logs;
        Fake f;
        f.enter(c.state);
        EXPECT_EQ(f.heroState, c.next) << c.state;
        EXPECT_EQ(f.hero.m[3], c.vy) << c.state;
        EXPECT_EQ(logs.lines.size(), 1u) << c.state;
    }
}

TEST(HeroOperate, LinkIndexIsClampedToTheLinksHeld) {
    Fake f;
    FakeActor& chain = f.spawn();
    chain.params = {5, 0};                  // claims five links
    chain.parts = {5 * 256, 0, 0, 0, 23040, 0, 0, 23040};  // holds two
    f.statics.heroChain = A(chain);
    f.enter(HeroState::OPERATE);
    f.stepHandler();
    EXPECT_EQ(chain.parts[0], 2 * 256 - 1);
    EXPECT_EQ(f.hero.angle, 0);
}

TEST(HeroOperate, ChainWithoutLinksDropsTheHero) {
    Fake f;
    FakeActor& chain = f.spawn();
    chain.params = {3, 0};
    chain.parts = {0, 0};
    f.statics.heroChain = A(chain);
    f.enter(HeroState::OPERATE);
    EXPECT_EQ(f.heroState, HeroState::FALL);
}

TEST(HeroOperate, ClimbingStopsAtTheFirstLinkAndDropsPastTheLast) {
    Fake f;
    FakeActor& chain = f.spawn();
    chain.params = {2, 0};
    chain.parts = {200, 0, 0, 0, 23040, 0, 0, 23040};
    f.statics.heroChain = A(chain);
    f.enter(HeroState::OPERATE);
    f.keysHeld[16388] = true;
    f.stepHandler();
    EXPECT_EQ(chain.parts[0], 170);
    f.keysHeld[16388] = false;
    f.keysHeld[33024] = true;
    for (int i = 0; i < 3; ++i) f.stepHandler();
    EXPECT_EQ(chain.parts[0], 511);
    EXPECT_EQ(f.heroState, HeroState::FALL);
    EXPECT_EQ(chain.counter, 8);
    EXPECT_EQ(f.statics.heroChain, nullptr);
}

TEST(HeroSwing, ZeroLengthAndSlidingOffTheEnd) {
    Fake f;
    FakeActor& plank = f.spawn();
    plank.typeParams[6] = 0;
    f.statics.heroHoldActor = A(plank);
    f.enter(HeroState::SWING);
    EXPECT_EQ(f.statics.swingPos, 0);
    f.actionMask = act::RIGHT;
    for (int i = 0; i < 7; ++i) f.stepHandler();
    EXPECT_EQ(f.statics.swingPos, 7 * 3584);
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::FALL);
}

TEST(HeroUseObject, StopsWhenThePoolIsFullAndOnNegativeCounts) {
    struct Case {
        jint total, perShake;
        bool poolFull;
        jint dropped;
    } cases[] = {{3, 2, false, 2}, {3, 2, true, 0}, {-1, 2, false, 0}, {3, -2, false, 0}};
    for (const Case& c : cases) {
        Fake f;
        FakeActor& obj = f.spawn();
        obj.params = {0, c.total, c.perShake};
        f.grabbed = A(obj);
        f.statics.carryTicks = 40;
        f.statics.shakeFastLimit = 10;
        f.enter(HeroState::USE_OBJECT);
        f.poolFull = c.poolFull;
        f.actionMask = act::ACTION;
        f.hero.animDone = true;
        f.stepHandler();
        EXPECT_EQ(f.statics.shakeDropCount, c.dropped) << c.total << " " << c.perShake;
        if (c.total < 0 || c.perShake < 0) {
            EXPECT_EQ(f.heroState, HeroState::STAND);
        }
    }
}

TEST(HeroVehicle, TowedKeysStayWithinTheRideBounds) {
    Fake f;
    moveTo(f.h(), 100 * 256, 300 * 256);
    f.heroStateVars = {77, 0, 100, 300, 0, 100 * 256, 0, 90, 110};
    f.enter(HeroState::TOWED);
    f.actionMask = act::RIGHT;
    for (int i = 0; i < 10; ++i) f.stepHandler();
    EXPECT_LE(f.hero.x, 113);
    EXPECT_GE(f.hero.x, 110);
    f.actionMask = act::JUMP_LEFT;
    f.stepHandler();
    EXPECT_EQ(f.heroStateVars[1], 1);
    EXPECT_EQ(f.heroStateVars[4], 2);
    f.hero.drawDy = -89;
    f.heroStateVars[1] = 0;
    f.heroStateVars[0] = 78;
    f.hero.anim = 78;
    f.hero.frame = f.hero.frameCount - 1;
    f.curve = {-3000};
    f.stepHandler();
    EXPECT_EQ(f.heroState, HeroState::JUMP);
    EXPECT_EQ(f.heroStateVars[0], -1);
    EXPECT_EQ(f.hero.drawDy, 0);
}

TEST(HeroAutoRun, SprintSlowAndLimits) {
    struct Case {
        jint mask, cameraX, vx;
    } cases[] = {{act::RIGHT, 0, 4416}, {act::RIGHT, -332, 1344 * 0 + 777}, {act::LEFT, 0, 1344}, {act::LEFT, 366, 777}};
    for (const Case& c : cases) {
        Fake f;
        f.level7 = true;
        f.enter(HeroState::AUTO_RUN);
        f.hero.m[2] = 777;
        f.cameraX = c.cameraX;
        f.actionMask = c.mask;
        f.stepHandler();
        EXPECT_EQ(f.hero.m[2], c.vx) << c.mask << " " << c.cameraX;
    }
}

TEST(HeroStep, PitFallsFourPixelsAndKillsOnTheEighthStep) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    for (jint r = 10; r <= 30; ++r) f.world.cls[{5, r}] = 15;
    f.enter(HeroState::STAND);
    updateHero(f.h());
    EXPECT_EQ(f.heroState, HeroState::FALL);
    EXPECT_EQ(f.hero.y, 364);
    EXPECT_EQ(f.statics.deathCountdown, 8);
    EXPECT_TRUE(f.logged("limitsToView"));
    int steps = 0;
    while (!f.logged("kill") && steps < 20) {
        ++steps;
        updateHero(f.h());
    }
    EXPECT_EQ(steps, 8);
}

TEST(HeroStep, DamagingCellsRespectInvulnerabilityAndLevelThree) {
    struct Case {
        jint timer, level;
        const char* line;
    } cases[] = {{0, 1, "hurt 1 1"}, {0, 3, "hurt 2 1"}, {5, 1, nullptr}};
    for (const Case& c : cases) {
        Fake f;
        moveTo(f.h(), 200 * 256, 360 * 256);
        f.world.cls[{5, 10}] = 17;
        f.hero.timer = c.timer + 1;
        f.level = c.level;
        f.enter(HeroState::STAND);
        updateHero(f.h());
        if (c.line) {
            EXPECT_TRUE(f.logged(c.line));
            EXPECT_TRUE(f.logged("knockback -1 9 512 4352 0 512"));
        } else {
            EXPECT_FALSE(f.logged("hurt 1 1"));
        }
    }
}

TEST(HeroStep, HealthGoneLosesALifeOutsideHitStates) {
    for (jint s : {HeroState::STAND, HeroState::KNOCKBACK}) {
        Fake f;
        f.health = 0;
        f.heroStateVars[0] = 9;
        f.enter(s);
        updateHero(f.h());
        EXPECT_EQ(f.logged("loseLife"), s == HeroState::STAND) << s;
    }
}

TEST(HeroStep, WaterAndMireEnterOnlyOutsideTheModes) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    f.world.cls[{5, 8}] = 9;  // body row: (275 + 360) / 2 / 36 = 8
    f.enter(HeroState::STAND);
    updateHero(f.h());
    EXPECT_EQ(f.heroState, HeroState::SWIM);
    EXPECT_EQ(f.modes[0], 1);
    f.log.clear();
    updateHero(f.h());
    EXPECT_FALSE(f.logged("sound 14"));
}

TEST(HeroStep, InputLockKeepsOnlyItsTopBitAfterTheCountdown) {
    Fake f;
    moveTo(f.h(), 198 * 256, 360 * 256);
    enterHeroState27(f.h());
    f.inputLock |= static_cast<jint>(0x80000000u);
    for (int i = 0; i < 3; ++i) {
        updateHero(f.h());
        EXPECT_NE(f.inputLock & 0x7FF7FFFB, 0) << i;
    }
    updateHero(f.h());
    EXPECT_EQ(f.inputLock, static_cast<jint>(0x80000000u));
}

}  // namespace
}  // namespace herotest

namespace herotest {
namespace {

TEST(HeroClimb, SideStepShiftsOnlyWithLadderUnderTheFeet) {
    for (bool ladderBelow : {true, false}) {
        Fake f;
        moveTo(f.h(), 198 * 256, 360 * 256);
        f.world.cls[{5, 8}] = 21;  // at the head
        if (ladderBelow) f.world.cls[{5, 10}] = 21;
        enterHeroState27(f.h());
        f.actionMask = act::RIGHT;
        f.stepHandler();
        EXPECT_EQ(f.heroState, HeroState::WALK);
        EXPECT_EQ(f.hero.x, ladderBelow ? 198 + 36 : 198) << ladderBelow;
        EXPECT_EQ(f.modes[2], 0);
    }
}

TEST(HeroSwing, AJumpRightAfterAKickIsTheKicksHit) {
    Fake f;
    FakeActor& plank = f.spawn();
    plank.typeParams[6] = 200;
    f.statics.heroHoldActor = A(plank);
    f.enter(HeroState::SWING);
    f.frameTick = 100;
    f.actionMask = act::ACTION;
    f.stepHandler();
    EXPECT_EQ(f.statics.swingKickTime, 100);
    f.frameTick = 102;
    f.actionMask = act::JUMP_RIGHT;
    f.stepHandler();
    EXPECT_TRUE(f.logged("hit 41 1 1"));
    Fake g;
    FakeActor& plank2 = g.spawn();
    plank2.typeParams[6] = 200;
    g.statics.heroHoldActor = A(plank2);
    g.curve = {-3000};
    g.enter(HeroState::SWING);
    g.frameTick = 100;
    g.statics.swingKickTime = 90;
    g.actionMask = act::JUMP_RIGHT;
    g.stepHandler();
    EXPECT_EQ(g.heroState, HeroState::JUMP) << "a plain take-off after the kick's window";
}

TEST(HeroStep, SteepSlopeStartsTheSlideWithItsRange) {
    struct Case {
        jint probe, max;
        jint from;
        jint hold;  // after the slide's first UPDATE of the same step
    } cases[] = {{0x30003, 7200, HeroState::STAND, 0}, {0x30004, 6000, HeroState::DASH, 12}};
    for (const Case& c : cases) {
        Fake f;
        moveTo(f.h(), 200 * 256, 360 * 256);
        f.enter(c.from);
        f.world.slope = c.probe;
        updateHero(f.h());
        EXPECT_EQ(f.heroState, HeroState::SLOPE_SLIDE);
        EXPECT_EQ(f.heroStateVars[0], 60);
        EXPECT_EQ(f.heroStateVars[1], 480);
        EXPECT_EQ(f.heroStateVars[2], c.max);
        EXPECT_EQ(f.statics.slideHoldTicks, c.hold);
    }
}

TEST(HeroStep, IceUnderTheFeetAndLeavingIt) {
    Fake f;
    moveTo(f.h(), 200 * 256, 360 * 256);
    f.enter(HeroState::WALK);
    f.world.feetFlags = 0x1000000;
    updateHero(f.h());
    EXPECT_EQ(f.heroState, HeroState::ICE);
    f.world.feetFlags = 0;
    updateHero(f.h());
    EXPECT_EQ(f.heroState, HeroState::WALK);
    EXPECT_EQ(f.modes[3], 0);
}

}  // namespace
}  // namespace herotest

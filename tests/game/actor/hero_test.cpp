// Hero-side operations and carrying: launches, the action mask, grabs,
// lifts, throws, tumbles, launchers, mounts, climbing and skipping.
#include "tests/game/actor/support.h"

#include "game/actor/hero.h"
#include "game/world/hero/machine.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"

namespace {

using namespace game;

class HeroTest : public actortest::ActorTest {};

TEST_F(HeroTest, SetHeroMovePowersAndAnimations) {
    struct Case {
        jint subtype, kind, mode, duration;
        jint wantPower, wantV5, wantV0, wantState;
    };
    const Case cases[] = {
        {0, 0, 0, -1, 449, 36, 0, 3},
        {0, 0, 185, 0, 0, 19, 0, 3},
        {242, 2, 185, 74, 256, 41, -1, 3},
        {5, 3, 7, 148, 512, -1, 1, 3},
        {3010, 0, 185, -1, 449, -1, 0, 36},
    };
    for (const Case& c : cases) {
        cActor* h = actortest::makeHero(0, 0, c.subtype);
        setHeroMove(h, c.kind, 9, c.mode, c.duration);
        const jint* v = ca().heroStateVars->data();
        EXPECT_EQ(v[3], c.wantPower) << c.subtype << "/" << c.duration;
        EXPECT_EQ(v[4], c.wantPower);
        EXPECT_EQ(v[5], c.wantV5) << c.subtype << "/" << c.mode;
        EXPECT_EQ(v[0], c.wantV0);
        EXPECT_EQ(v[1], 4640);
        EXPECT_EQ(v[6], 9);
        EXPECT_EQ(ca().heroState, c.wantState);
        EXPECT_EQ(ca().heroFlagA, c.duration != 0);
    }
}

// Key masks held and pressed in a test: each test fills them.
jint g_held = 0, g_pressed = 0;
bool testHeld(jint m) { return (g_held & m) != 0; }
bool testPressed(jint m) { return (g_pressed & m) != 0; }

TEST_F(HeroTest, ActionMasks) {
    struct Case {
        jint pressed, held, flagWord;
        jint want;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {0x1000, 0x1000, 0, 0x400 | 0x100 | 0x4000},      // left pressed
        {0, 0x1000, 0, 0x401 | 0x100 | 0x4000},           // left held
        {0, 0x2000, 0, 0x802 | 0x100 | 0x8000},           // right held
        {0, 4 | 16, 0, 0x408 | 0x100 | 0x1040 | 0x4000},  // '3' with '5' (also in the left masks)
        {0, 4 | 64, 0, 0x810 | 0x100 | 0x1040 | 0x8000},  // '3' with '7' (also in the right masks)
        {0, 4, 0, 4 | 64 | 0x1000},                       // '3' alone
        {0, 2, 1, 1 | 8 | 0x1040 | 0x4000},               // '2' with turning in place
        {0, 0x10000, 0, 128},                             // fire
        {0, 1, 0, 0x100000},                              // '1'
        {0, 0, 2, 2},                                     // forced bit
        {0, 0x4000, 0, 0x80000 | 64 | 0x1000},            // up
    };
    for (const Case& c : cases) {
        g_held = c.held;
        g_pressed = c.pressed;
        ca().inputOptions = c.flagWord;
        EXPECT_EQ(heroActionBits(&testPressed, &testHeld), c.want) << std::hex << c.held;
    }
    // The lock mask removes bits; the input block clears everything.
    ca().heroInputLock = 0x10000;
    ca().inputOptions = 0;
    EXPECT_FALSE(readHeroInput());
    cg().inputBlock = 1;
    EXPECT_TRUE(readHeroInput());
    EXPECT_EQ(ca().heroActionMask, 0);
}

TEST_F(HeroTest, GrabOnlyWhatTheHeroFacesAndLiftCounts) {
    cActor* h = actortest::makeHero(100, 100);
    cActor* p = newObject<cActor>();
    p->posX = 50;
    ca().partnerActor = p;
    ca().partnerMode = 1;
    ca().heroActionMask = 128;
    h->facing = 0;
    EXPECT_FALSE(tryDropCarried(h)) << "partner behind";
    h->facing = 1;
    p->parts = newIntArray(3);
    p->parts->data()[2] = 3;
    EXPECT_TRUE(tryDropCarried(h));
    EXPECT_EQ(ca().grabbedActor, p);
    EXPECT_EQ(ca().grabMode, 1);
    EXPECT_EQ(ca().strikeStep, 0);
    EXPECT_EQ(ca().heroState, 12);
    p->parts->data()[2] = 1;
    dropCarried(h);
    EXPECT_EQ(ca().strikeStep, 2);
}

// A grab starts the combo on the strike the drop chose, over whatever a
// combo cut short left behind: the strike's animation plays, its hit is not
// marked as dealt, and the hit strength follows the same step.
TEST_F(HeroTest, TheGrabComboStartsOnTheStrikeTheDropSets) {
    struct Case {
        jint hitsLeft, step, anim;
    } cases[] = {{3, 0, 25}, {2, 1, 26}, {1, 2, 27}};
    for (const Case& c : cases) {
        cActor* h = actortest::makeHero(100, 100);
        cActor* p = newObject<cActor>();
        p->posX = 130;
        p->posY = 100;
        p->parts = newIntArray(3);
        p->parts->data()[2] = c.hitsLeft;
        ca().grabbedActor = p;
        ca().strikeStep = 1;  // a combo cut short mid-way
        ca().lastStrikeStep = 1;
        dropCarried(h);
        EXPECT_EQ(ca().heroState, 12) << c.hitsLeft;
        EXPECT_EQ(ca().strikeStep, c.step) << c.hitsLeft;
        EXPECT_EQ(ca().lastStrikeStep, -1) << c.hitsLeft;
        EXPECT_EQ(h->anim, c.anim) << c.hitsLeft;
        EXPECT_EQ(getHitStrength(), c.step == 1 ? 2 : 1) << c.hitsLeft;
    }
}

TEST_F(HeroTest, Throws) {
    actortest::makeHero(0, 0);
    struct Case {
        jint kind, direction, tx, ty, targetDx, targetDy;
        jint wantVx, wantVy;
    };
    const Case cases[] = {
        {1, 0, 0, 0, 0, 0, 6400, 0},          // direction 0 throws to the right
        {1, -1, 0, 0, 0, 0, -6400, 0},
        {1, 1, 0, 0, 0, -200, 6400, 0},       // target straight above: vy stays 0
        {1, 1, 0, 0, 100, -50, 6400, -3840},  // aimed at a target up and ahead
        {2, 0, 150, 100, 0, 0, (50 << 8) / 3, 0},  // 50 px away: 3 steps
    };
    for (const Case& c : cases) {
        cActor* a = actortest::spawn(6, 1, 100, 100);
        cg().targetActor = nullptr;
        if (c.targetDx || c.targetDy) {
            cActor* t = newObject<cActor>();
            t->subtype = 238;
            t->posX = 100 + c.targetDx;
            t->posY = 100 + c.targetDy;
            cg().targetActor = t;
        }
        throwActor(a, c.kind, c.direction, c.tx, c.ty);
        EXPECT_EQ(a->motion->data()[2], c.wantVx) << c.kind << "/" << c.direction << "/" << c.targetDx;
        EXPECT_EQ(a->motion->data()[3], c.wantVy) << c.kind << "/" << c.direction << "/" << c.targetDx;
        EXPECT_EQ(a->aiState, 5);
        EXPECT_EQ(a->physicsFlags, 0x1000206);
        EXPECT_EQ(a->originX, 100);
        removeAllActors(false);
    }
}

TEST_F(HeroTest, TumbleComesBackThroughRespawn) {
    cActor* a = actortest::spawn(2, 1, 100, 100);
    startTumble(a, 0);
    EXPECT_EQ(a->physicsFlags, 0x1000040);
    EXPECT_EQ(a->aiState, 8);
    EXPECT_EQ(a->nextState, 7);
    EXPECT_EQ(a->respawnRecord->data()[0], 8);
    EXPECT_EQ(a->flags & 0xA0090, 0xA0090);
    EXPECT_EQ(a->flags & 0x20, 0) << "inactive until it respawns";
}

TEST_F(HeroTest, LauncherCarriesThenLaunches) {
    cActor* launcher = actortest::spawn(6, 1, 200, 200, 0xA0, {0, 0, 0});
    launcher->sprite = actortest::tickSprite(4, 5);
    launcher->launchAnimBase = 1;
    cActor* rider = actortest::spawn(6, 2, 200, 180);
    rider->allocMotionState();
    // End frame 0: launched at once.
    carryRider(launcher, rider, 0);
    EXPECT_EQ(launcher->anim, 2);
    EXPECT_EQ(rider->motion->data()[3], -3200);
    EXPECT_EQ(rider->motion->data()[2], 0);
    // With an end frame the rider is held until the launcher gets there.
    cActor* h = actortest::makeHero(200, 180);
    launcher->setAnim(0);
    carryRider(launcher, h, 3);
    EXPECT_EQ(h->posY, 190);
    EXPECT_EQ(ca().heroState, 3);
    ca().heroStateTicks = 5;
    launcher->updateAnimation();
    carryRider(launcher, h, 3);
    EXPECT_EQ(h->posY, 198);
    EXPECT_EQ(ca().heroStateTicks, 5) << "held on: the state is not entered again";
}

TEST_F(HeroTest, SkipRingAndClimb) {
    cActor* a = newObject<cActor>();
    a->sprite = actortest::tickSprite(4, 5);
    EXPECT_TRUE(setAnimAndSkip(a, 1, 3));
    EXPECT_EQ(a->frame, 3) << "advanced n times";
    EXPECT_FALSE(setAnimAndSkip(a, 1, 1));
    EXPECT_EQ(a->frame, 3);

    cActor* h = actortest::makeHero(0, 0);
    heroState37(h, 1);
    EXPECT_EQ(ca().ringRadius, 12800);
    heroState37(h, 1);
    EXPECT_EQ(ca().ringRadius, 11802);
    ca().ringRadius = 500;
    heroState37(h, 1);
    EXPECT_EQ(ca().ringRadius, 12800);

    setClimbDirection(h, 1);
    EXPECT_EQ(h->anim, 94);
    setClimbDirection(h, 0);
    EXPECT_EQ(ca().climbDir, 0);
    EXPECT_EQ(h->anim, 94);
    EXPECT_EQ(floorMod(-1, 360), 359);
    EXPECT_EQ(floorMod(5, 0), 0);
}

TEST_F(HeroTest, SwitchingCharactersAndStoppingForScripts) {
    cActor* h = actortest::makeHero(100, 200);
    h->physicsFlags = 0x1000203;
    cg().characterSlots = newObjectArray(cid::cActor, 3);
    cg().characterSlots->data()[0] = h;
    // Only the current slot filled: the same character, moved up by 70 %.
    switchToNextHero();
    EXPECT_EQ(cg().hero, h);
    EXPECT_EQ(h->posY, 130);
    EXPECT_EQ(cg().variableChangedMask, -1);
    cActor* other = newObject<cActor>();
    other->allocMotionState();
    actortest::place(other, 0, 0, 20, 40);
    cg().characterSlots->data()[2] = other;
    h->scale = 50;
    switchToNextHero();
    EXPECT_EQ(cg().hero, other);
    EXPECT_EQ(other->posX, 100);
    EXPECT_EQ(other->posY, 95);
    EXPECT_EQ(other->scale, 50);
    EXPECT_EQ(other->physicsFlags, 0x1000203);
    EXPECT_EQ(h->anim, 0) << "the outgoing hero idles";

    ca().heroState = 38;
    other->motion->data()[2] = 500;
    stopHeroForScript();
    EXPECT_EQ(ca().heroState, 38) << "state 38 kept";
    EXPECT_EQ(other->motion->data()[2], 0);
    EXPECT_EQ(cg().inputBlock & 1, 1);
    EXPECT_EQ(cg().scriptWaitMode, 6);
    ca().heroAltMode = 1;
    stopHeroForScript();
    EXPECT_EQ(ca().heroState, 14);
}

TEST_F(HeroTest, PickupStatesAndCounts) {
    cActor* h = actortest::makeHero(0, 0);
    pickupState13(h, 1000);  // (16000 + 500) / 1000 = 16
    EXPECT_EQ(ca().heroState, 13);
    EXPECT_EQ(ca().markA, getVariable(2));
    pickupState20(h, -1000);
    EXPECT_EQ(ca().markB, getVariable(8));
    ca().strikeStep = 1;
    EXPECT_EQ(getHitStrength(), 2);
    ca().strikeStep = 0;
    EXPECT_EQ(getHitStrength(), 1);
    ca().landingMode = 1;
    resetHeroStateAfterLanding();
    EXPECT_EQ(ca().heroState, 17);
    EXPECT_EQ(ca().heroStateVars->data()[0], 2048);
    if (IntArray* stats = cg().levelStats) {
        jint before7 = stats->data()[7];
        addPickupCount(0, 4);
        EXPECT_EQ(stats->data()[7], before7);
        addPickupCount(0, 1);
        EXPECT_EQ(stats->data()[7], before7 + 1);
    }
}

TEST_F(HeroTest, RunSpeedPickup) {
    cActor* h = actortest::makeHero(100, 100);
    (void)h;
    cActor* p = actortest::spawn(6, 1, 100, 100);
    p->type = 59;
    p->sprite = actortest::tickSprite(4, 5);
    p->update();
    EXPECT_EQ(p->aiState, 2);
    p->update();
    EXPECT_EQ(p->aiState, 6);
    EXPECT_EQ(ca().runSpeedFactor, 460);
    for (int i = 0; i < 5 && cg().actorCount; ++i) p->update();
    EXPECT_EQ(cg().actorCount, 0);
}

}  // namespace

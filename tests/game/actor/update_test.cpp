// The per-frame update (riders, dispatch, the type-3 removal), script
// events, the framework's own types (61, 64, 74, 80, 62) and the level timer.
#include "tests/game/actor/support.h"

#include "game/behaviour/types.h"
#include "game/flow/screens/states_play.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"

namespace {

using namespace game;

class UpdateTest : public actortest::ActorTest {
protected:
    cActor* makeCarrier(jint type, jint x, jint y) {
        cActor* c = newObject<cActor>();
        c->type = type;
        c->allocMotionState();
        actortest::place(c, x, y, 60, 10);
        c->setVelocityLimitsX(-5000, 5000);
        c->setVelocityLimitsY(-5000, 5000);
        return c;
    }
};

TEST_F(UpdateTest, CarriersTakeTheirRidersAlong) {
    // A hero riding a type-88 carrier keeps its own x fraction and snaps
    // only vertically; on another carrier it also takes the carrier's x
    // fraction; a rider that is not the hero does the same by plain moves.
    struct Case {
        jint type;
        bool heroRider;
        jint wantRiderFraction;
    };
    // The hero is moved by the world's forced step, which moves whole
    // pixels: a hero rider keeps its own x fraction on any carrier.
    const Case cases[] = {{88, true, (40 + 300) & 255}, {5, true, (40 + 300) & 255}, {5, false, 300 & 255}};
    for (const Case& c : cases) {
        cActor* carrier = makeCarrier(c.type, 200, 300);
        carrier->motion->data()[2] = 300;
        carrier->motion->data()[3] = 256;
        cActor* rider = c.heroRider ? actortest::makeHero(210, 288) : newObject<cActor>();
        if (!c.heroRider) {
            rider->allocMotionState();
            actortest::place(rider, 210, 288, 20, 40);
        }
        rider->motion->data()[4] += 40;
        carrier->carried = rider;
        carrier->update();
        EXPECT_EQ(carrier->posX, 201) << c.type;
        EXPECT_EQ(carrier->posY, 301);
        EXPECT_EQ(rider->motion->data()[4] & 255, c.wantRiderFraction) << c.type << " " << c.heroRider;
        // The hero stands on top of the carrier; another rider keeps its pixel offset.
        EXPECT_EQ(rider->motion->data()[5], carrier->motion->data()[5] - (c.heroRider ? 10 << 8 : 12 << 8))
            << c.type << " " << c.heroRider;
    }
}

TEST_F(UpdateTest, UpdateHeadAndTail) {
    // Without a motion state nothing moves; the type runs; facing is
    // mirrored into the paint flags; the hero history rolls.
    cActor* a = newObject<cActor>();
    a->type = 112;
    actortest::place(a, 50, 60, 10, 10);
    a->facing = 1;
    a->update();
    EXPECT_EQ(a->posX, 50);
    EXPECT_EQ(a->paintFlags & 1, 1);
    EXPECT_FALSE(game::behaviour::updateType(112, a)) << "types of 112 and more run nothing";
    cActor* h = actortest::makeHero(10, 20);
    h->type = 0;
    h->anim = 4;
    h->update();
    h->posX = 11;
    h->update();
    auto* last = static_cast<IntArray*>(ca().heroHistory->data()[2]);
    auto* before = static_cast<IntArray*>(ca().heroHistory->data()[1]);
    EXPECT_EQ(last->data()[0], 11);
    EXPECT_EQ(before->data()[0], 10);
    EXPECT_EQ(last->data()[2], 4);
    // The hero under its state machine moves by the physics' push.
    h->physicsFlags = 0x1000000;
    ca().physicsDx = 999;  // cleared before the physics runs
    h->update();
    EXPECT_EQ(h->posX, 11);
    // A type-3 actor goes when its animation completes a pass.
    cActor* t = actortest::spawn(6, 5, 0, 0);
    t->type = 3;
    t->sprite = actortest::tickSprite(12, 1);
    t->setAnim(0);
    ASSERT_EQ(cg().actorCount, 1);
    t->update();
    EXPECT_EQ(cg().actorCount, 0);
}

TEST_F(UpdateTest, ScriptEvents) {
    cActor* h = actortest::makeHero(100, 100);
    struct Case {
        jint kind, a, b, count;
        const char* want;
    };
    const Case cases[] = {
        {0, 0, 0, 1, "nothing"}, {3, 0, 0, 1, "release hold"}, {0, 7, 0, 2, "hold"},
        {0, 300, 400, 3, "teleport"}, {1, 0xFFFE, 20, 3, "fly away"}, {2, 5, -3, 3, "shift"},
    };
    for (const Case& c : cases) {
        h->scriptHold = 1;
        cg().cameraX = 1000;
        cg().cameraY = 500;
        h->handleEvent(c.kind, c.a, c.b, c.count);
        std::string w = c.want;
        if (w == "nothing") {
            EXPECT_TRUE(h->scriptHold);
        }
        if (w == "release hold") {
            EXPECT_FALSE(h->scriptHold);
        }
        if (w == "hold") {
            EXPECT_EQ(h->scriptValue, 7);
            EXPECT_EQ(ca().heroState, 29);
        }
        if (w == "teleport") {
            EXPECT_EQ(h->posX, 300);
            EXPECT_EQ(h->posY, 400);
            EXPECT_EQ(ca().heroState, 0);
        }
        if (w == "fly away") {
            EXPECT_EQ(h->motion->data()[0], -2 << 8);
            EXPECT_EQ(h->timer, 20);
            EXPECT_EQ(h->aiState, 31);
        }
        if (w == "shift") {
            EXPECT_EQ(h->posX, 305);
            EXPECT_EQ(cg().cameraX, 1005);
            EXPECT_EQ(cg().cameraY, 497);
        }
    }
}

TEST_F(UpdateTest, BouncerPowersGrowWithinThirtyFrames) {
    cActor* h = actortest::makeHero(400, 300);
    h->motion->data()[3] = 512;
    cActor* b = actortest::spawn(11, 60, 400, 310, 0xA0, {64, 40, -32, -20});
    ASSERT_EQ(b->type, 74);
    cActor::moveTo(b, 400 << 8, 310 << 8);
    b->sprite = actortest::tickSprite(12, 1);
    b->update();  // AI state 0 -> 2, attack box placed
    ASSERT_EQ(b->aiState, 2);
    struct Bounce {
        jint anim, a, b;
    };
    const Bounce want[] = {{6, 512, 716}, {6, 768, 947}, {8, 947, 947}};
    for (const Bounce& w : want) {
        h->motion->data()[3] = 512;  // falling onto it again
        b->update();
        ASSERT_EQ(b->aiState, 6);
        EXPECT_EQ(b->anim, w.anim);
        b->update();
        EXPECT_EQ(ca().heroStateVars->data()[3], w.a);
        EXPECT_EQ(ca().heroStateVars->data()[4], w.b);
        EXPECT_EQ(ca().heroStateVars->data()[5], w.anim == 6 ? -1 : 41);
        EXPECT_EQ(ca().heroState, 3);
        EXPECT_EQ(b->aiState, 2);
    }
    // Thirty frames without a bounce: the power falls back.
    h->motion->data()[3] = 0;
    for (int i = 0; i < 30; ++i) b->update();
    EXPECT_EQ(b->bouncePower, 0);
}

TEST_F(UpdateTest, ZonesCarriersAndLaunchers) {
    cActor* h = actortest::makeHero(100, 100);
    cActor* zone = actortest::spawn(6, 1, 100, 100, 0xA0, {-7, 50, 50, -25, -25});
    zone->type = 80;
    zone->update();
    EXPECT_EQ(zone->aiState, 2);
    zone->update();
    EXPECT_EQ(h->motion->data()[3], -7 << 8);
    EXPECT_EQ(ca().liftZoneHit, 1);

    cActor* carrier = actortest::spawn(6, 2, 100, 100);
    carrier->type = 61;
    carrier->update();
    EXPECT_EQ(ca().heroInputLock & 0x8001C, 0x8001C);
    // While a script runs the carrier leaves the hero alone.
    ca().heroInputLock = 0;
    cg().scriptIds = newShortArray(1);
    cg().scriptStates = newShortArray(1);  // script 0 running (state 0)
    cg().scriptCommands = newObjectArray(cid::ObjectArray, 1);
    cg().scriptReadOffsets = newObjectArray(cid::IntArray, 1);
    cg().scriptTargets = newObjectArray(cid::IntArray, 1);
    ASSERT_TRUE(game::world::isAnyScriptActive());
    carrier->update();
    EXPECT_EQ(ca().heroInputLock, 0) << "not while a script runs";
    cg().scriptStates->data()[0] = -1;

    cActor* launcher = actortest::spawn(6, 3, 100, 100);
    launcher->type = 64;
    game::hero::setHeroState(h, 0);  // off the carrier, back on the launcher
    actortest::place(h, 100, 100, 20, 40);
    h->anim = 7;
    ca().heroStateVars->data()[0] = 0;
    launcher->update();
    EXPECT_EQ(ca().heroStateVars->data()[0], 0) << "no launch from animation 7";
    h->anim = 0;
    launcher->update();
    EXPECT_EQ(ca().heroStateVars->data()[0], 60) << "launched: the launch's state values set";
}

TEST_F(UpdateTest, SwitchFiresAndFlipsItsTarget) {
    cActor* target = actortest::spawn(6, 500, 0, 0);
    target->flags |= 0x1000000;
    target->physicsFlags = 5;
    cActor* s = actortest::spawn(6, 501, 300, 300, 0xA0, {500, 0});
    s->type = 62;
    s->flags |= 0x1000000;
    s->update();
    EXPECT_EQ(s->aiState, 2);
    s->update();
    EXPECT_EQ(s->aiState, 2) << "kind 0 waits for its hit flag";
    s->contactFlags |= 0x10000;
    s->update();
    EXPECT_EQ(s->aiState, 6);
    s->update();
    EXPECT_EQ(s->aiState, 30);
    EXPECT_EQ(s->anim, 1);
    EXPECT_EQ(s->flags & 0x1000000, 0);
    EXPECT_EQ(target->anim, 3);
    EXPECT_EQ(target->nextAnim, 4);
    EXPECT_EQ(target->physicsFlags, 0);
    EXPECT_EQ(target->flags & 0x1000000, 0);
}

TEST_F(UpdateTest, LevelTimerKillsTheHeroUnlessHeld) {
    // The kill takes the hero's health (game variable 3) away.
    actortest::makeHero(0, 0);
    setVariable(3, 5, true);
    cg().levelTimer = 1;
    stepLevelTimer();
    EXPECT_EQ(cg().levelTimer, 0);
    EXPECT_EQ(getVariable(3), 5);
    stepLevelTimer();
    EXPECT_EQ(cg().levelTimer, -1);
    EXPECT_EQ(getVariable(3), 0) << "killed";
    setVariable(3, 5, true);
    stepLevelTimer();
    EXPECT_EQ(getVariable(3), 5);
    cg().levelTimer = 0;
    cg().levelTimerHold = 1;
    stepLevelTimer();
    EXPECT_EQ(getVariable(3), 5) << "a held timer spares the hero";
}

}  // namespace

namespace {

using namespace game;

class SetUpTest : public actortest::ActorTest {};

// A type-2 item made from its level record takes 150 % when params[1] holds
// subkind 8 (the big item), whatever else that word holds; other words
// leave it at 100 %.
TEST_F(SetUpTest, BigItemFromALevelRecordShowsAtOneAndAHalf) {
    struct Case {
        int16_t word;
        jint scale;
    };
    const Case cases[] = {{8, 150}, {8 | 4, 150}, {4, 100}, {256, 100}, {0, 100}};
    jint id = 1;
    for (const Case& c : cases) {
        cActor* a = actortest::spawn(2, id++, 100, 100, 0xA0, {0, c.word, -1});
        ASSERT_EQ(a->type, 2);
        EXPECT_EQ(a->scale, c.scale) << "params[1] " << c.word;
    }
}

// The last frame needs an animation: an actor without one (-1) is on no
// frame at all.
TEST_F(SetUpTest, OnLastFrameNeedsAnAnimation) {
    cActor* a = newObject<cActor>();
    EXPECT_FALSE(a->isOnLastFrame()) << "no sprite";
    a->sprite = actortest::tickSprite(2, 3);
    a->anim = -1;
    a->frame = 5;
    EXPECT_FALSE(a->isOnLastFrame());
    a->setAnim(1);
    EXPECT_FALSE(a->isOnLastFrame());
    a->frame = 2;
    EXPECT_TRUE(a->isOnLastFrame());
}

}  // namespace

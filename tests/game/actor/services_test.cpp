// The framework's services to the rest of the game: level-object flags and
// their pending record bytes, the hero's level start, the screens' actor
// routines, the hit predicate and the type-0 hero routine.
#include "tests/game/actor/support.h"

#include "game/behaviour/routines.h"
#include "game/behaviour/types.h"
#include "game/world/hero/machine.h"

#include "game/actor/helpers.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/actor/screencalls.h"
#include "game/data/progress.h"
#include "game/flow/variables.h"

namespace {

using namespace game;
using actortest::ActorTest;

class ServicesTest : public ActorTest {
protected:
};

TEST_F(ServicesTest, LevelObjectFlagsKeepTheirRecordChange) {
    cActor* a = actortest::spawn(6, 12, 100, 100, 0xA0);
    ASSERT_NE(a, nullptr);
    cg().recordIds = ShortArray::fill(newShortArray(3), 3, 5, 12, 30);
    cg().recordPendingFlags = newByteArray(3);
    setLevelObjectFlags(12, 0x30);  // bits 4-5: n = 3
    EXPECT_EQ(a->flags & 0x30, 0x30);
    EXPECT_EQ(cg().recordPendingFlags->data()[1], 0x03);
    clearLevelObjectFlags(12, 0x10);  // n = 1: low bit out, high nibble marks it
    EXPECT_EQ(a->flags & 0x30, 0x20);
    EXPECT_EQ(cg().recordPendingFlags->data()[1], 0x12);
    setLevelObjectFlags(12, 0x10);
    EXPECT_EQ(cg().recordPendingFlags->data()[1], 0x03);
    // A record without a live actor still keeps the change; a run-time id
    // (9999 or more) or an unknown id touches no record.
    setLevelObjectFlags(30, 0x40);
    EXPECT_EQ(cg().recordPendingFlags->data()[2], 0x04);
    setLevelObjectFlags(10000, 0x40);
    clearLevelObjectFlags(77, 0x40);
    EXPECT_EQ(cg().recordPendingFlags->data()[0], 0);
}

TEST_F(ServicesTest, HeroStartLevel) {
    struct Case {
        const char* what;
        jint stage;
        jbyte startIn38;
        jint state;
    } cases[] = {{"a plain stage", 2, 0, 0}, {"stage 7 runs", 7, 0, 40}, {"a flight start", 2, 1, 38}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cActor* h = actortest::makeHero(100, 200);
        h->timer = 30;
        h->setRespawnInfo(120, 200, 0);
        cg().stage = c.stage;
        cg().difficulty = 2;
        cg().progress = newByteArray(265);
        ca().startInState38 = c.startIn38;
        ca().heroInputLock = -1;
        setVariable(9, 6, false);
        setVariable(3, 1, false);
        setVariable(5, 3, false);
        heroStartLevel(h);
        EXPECT_EQ(h->timer, 0);
        EXPECT_EQ(h->respawnRecord->data()[0], -1) << "respawned";
        EXPECT_EQ(h->posX, 120);
        EXPECT_EQ(getVariable(3), 6);
        EXPECT_EQ(getVariable(5), 2);
        EXPECT_EQ(cg().progress->data()[kSlotBytes + 6], 2) << "byte 6 of slot 2";
        EXPECT_EQ(ca().heroInputLock, static_cast<jint>(0x80000000u));
        EXPECT_EQ(ca().heroState, c.state);
    }
}

TEST_F(ServicesTest, HittableWhileAttacking) {
    actortest::makeHero(100, 200);
    struct Case {
        jint state, anim;
        bool hittable;
    } cases[] = {{5, 0, true}, {12, 0, true}, {15, 0, true}, {16, 0, true}, {38, 25, true},
                 {38, 24, false}, {0, 25, false}, {3, 0, false}};
    for (const Case& c : cases) {
        ca().heroState = c.state;
        cg().hero->anim = c.anim;
        EXPECT_EQ(isHeroHittable(), c.hittable) << c.state << "/" << c.anim;
    }
}

TEST_F(ServicesTest, RespawnPutsTheActorBack) {
    cActor* a = actortest::spawn(6, 30, 100, 200);
    a->facing = 1;
    a->scale = 80;
    a->setRespawnInfo(150, 250, 4);
    a->flags &= ~(0x80 | 0x20);
    a->facing = 0;
    a->scale = 100;
    a->aiState = 9;
    a->physicsFlags = 0x1000203;
    game::behaviour::respawn(a);
    EXPECT_EQ(a->flags & 0xA0, 0xA0);
    EXPECT_EQ(a->posX, 150);
    EXPECT_EQ(a->posY, 250);
    EXPECT_EQ(a->anim, 4);
    EXPECT_EQ(a->facing, 1);
    EXPECT_EQ(a->scale, 80);
    EXPECT_EQ(a->aiState, 0);
    EXPECT_EQ(a->physicsFlags, 0);
    EXPECT_EQ(a->respawnRecord->data()[0], -1);
    // Without a point (entry 1 = -1) it is only shown again.
    a->respawnRecord->data()[1] = -1;
    a->posX = 10;
    game::behaviour::respawn(a);
    EXPECT_EQ(a->posX, 10);
}

TEST_F(ServicesTest, SharedHelpers) {
    cActor* a = actortest::spawn(6, 31, 400, 240);
    struct AnimCase {
        jint state, anim;
    } anims[] = {{45, 33}, {46, 36}, {47, -1}, {48, 75}, {49, 42}, {50, 48}, {51, 57},
                 {52, -1}, {53, 81}, {54, 63}, {55, 87}, {56, 66}, {57, 57}, {0, -1}};
    for (const AnimCase& c : anims) {
        a->aiState = c.state;
        EXPECT_EQ(getAnimForState(a), c.anim) << c.state;
    }
    struct BoxCase {
        jint state, facing, l, t, r, b;
    } boxes[] = {{48, 0, 380, 170, 450, 240}, {48, 1, 350, 170, 420, 240}, {49, 0, 374, 150, 494, 240},
                 {50, 1, 306, 150, 426, 240}, {3, 1, 366, 150, 434, 240}};
    for (const BoxCase& c : boxes) {
        a->aiState = c.state;
        a->facing = static_cast<jbyte>(c.facing);
        placeBodyBox(a);
        const jshort* b = a->box->data();
        EXPECT_EQ((std::vector<jint>{b[0], b[1], b[2], b[3]}), (std::vector<jint>{c.l, c.t, c.r, c.b})) << c.state;
    }
    // The view is 800 x 480 around the camera, widened by 20 px.
    actortest::centreCamera();
    a->posX = 820;
    EXPECT_TRUE(isNearView(a));
    a->posX = 821;
    EXPECT_FALSE(isNearView(a));
    a->posX = 400;
    a->posY = -20;
    EXPECT_TRUE(isNearView(a));
    a->posY = -21;
    EXPECT_FALSE(isNearView(a));
    // Parts bounds: the 20-px square grown over params[0] points.
    a->posX = 100;
    a->posY = 100;
    a->params = ShortArray::fill(newShortArray(1), 1, 2);
    a->parts = newIntArray(8);
    a->parts->data()[2] = 150 << 8;
    a->parts->data()[3] = 60 << 8;
    a->parts->data()[5] = 95 << 8;
    a->parts->data()[6] = 130 << 8;
    ShortArray* out = newShortArray(4);
    getPartsBounds(a, out);
    EXPECT_EQ((std::vector<jint>{out->data()[0], out->data()[1], out->data()[2], out->data()[3]}),
              (std::vector<jint>{90, 60, 150, 130}));
    // The record span and the link value through the table index.
    cg().recordValues = ShortArray::fill(newShortArray(8), 8, 17, 1, 0, 0, 7, 0, 0, 3);
    getRecordSpan(0, out);
    EXPECT_EQ(out->data()[2], 21);
    EXPECT_EQ(out->data()[3], 63);
    const jint link[5] = {1, 2, 77, 4, 5};
    ASSERT_GE(addLevelLink(link, 500), 0);
    EXPECT_EQ(getLinkValue(500), 77);
    EXPECT_EQ(getLinkValue(501), 0);
    // Segment slots by id: the match, else the first unused, else none.
    resetSegments();
    IntArray* s0 = static_cast<IntArray*>(ca().segments->data()[0]);
    IntArray* s1 = static_cast<IntArray*>(ca().segments->data()[1]);
    s0->data()[0] = 9;
    EXPECT_EQ(findSlotById(9), s0);
    EXPECT_EQ(findSlotById(4), s1);
    for (jint i = 0; i < 3; ++i) static_cast<IntArray*>(ca().segments->data()[i])->data()[0] = 20 + i;
    EXPECT_EQ(findSlotById(4), nullptr);
    // Type switches and state entries.
    switchToType11(a, 6);
    EXPECT_EQ(a->type, 11);
    EXPECT_EQ(a->anim, 6);
    EXPECT_TRUE(a->flags & 0x20000);
    setAnim5State4(a);
    EXPECT_EQ(a->aiState, 4);
    EXPECT_EQ(a->timer, 80);
    EXPECT_EQ(getHeroConst(1), 2);
    EXPECT_EQ(getHeroConst(500), -1);
    EXPECT_EQ(getStateFlag(500), 0);
}

struct HeroRoutineProbe {
    static int calls;
    static void run(cActor*) { ++calls; }
};
int HeroRoutineProbe::calls = 0;

TEST_F(ServicesTest, TypeZeroRunsTheRegisteredHeroRoutine) {
    cActor* h = actortest::makeHero(100, 200);
    h->type = 0;
    HeroRoutineProbe::calls = 0;
    h->update();  // no routine registered: nothing, no crash
    setHeroUpdateRoutine(&HeroRoutineProbe::run);
    h->update();
    EXPECT_EQ(HeroRoutineProbe::calls, 1);
    setHeroUpdateRoutine(nullptr);
    // The program's type table gives type 0 the hero's own update.
    game::behaviour::registerAllTypes();
    EXPECT_EQ(game::behaviour::updateFor(0), &game::hero::updateHero);
}

TEST_F(ServicesTest, ScreenRoutines) {
    // Level actors go and characters stay with 0 (a restart after a lost
    // life); 1 (a new level load) drops the characters too.
    cActor* h = actortest::makeHero(100, 200);
    cg().characterSlots = newObjectArray(cid::cActor, 3);
    ObjectArray::set(cg().characterSlots, 0, h);
    actortest::spawn(6, 20, 10, 10);
    clearLevelActors(false);
    EXPECT_EQ(cg().actorCount, 0);
    EXPECT_EQ(cg().hero, h);
    clearLevelActors(true);
    EXPECT_EQ(cg().hero, nullptr);

    resetSegments();
    ASSERT_NE(ca().segments, nullptr);
    ASSERT_EQ(ca().segments->length(), 3);
    EXPECT_EQ(static_cast<IntArray*>(ca().segments->data()[2])->length(), 9);

    // The attached effect of the boss code: shut down and forgotten.
    cActor* e = newObject<cActor>();
    e->contactFlags = 0x50;
    e->anim = 7;
    magician().attachedEffect = e;
    ca().pendingBits = 0;
    releaseAttachedEffect();
    EXPECT_EQ(magician().attachedEffect, nullptr);
    EXPECT_EQ(e->flags, 0x1040);
    EXPECT_EQ(e->anim, -1);
    EXPECT_EQ(ca().pendingBits, 0x50);
    releaseAttachedEffect();  // nothing held: nothing happens

    // The level end turns the hero to state 0 and animation 40 (41 for 3010).
    h = actortest::makeHero(100, 200);
    ca().heroState = 3;
    beginLevelEnd(true, 2);
    EXPECT_EQ(ca().heroInputLock, 0x7FFFFFFF);
    EXPECT_EQ(cg().cameraTarget, h);
    EXPECT_EQ(ca().heroState, 0);
    ca().heroState = 38;  // flight: no state change, no camera target
    cg().cameraTarget = nullptr;
    beginLevelEnd(true, 2);
    EXPECT_EQ(ca().heroState, 38);
    EXPECT_EQ(cg().cameraTarget, nullptr);

    EXPECT_EQ(subtypeParamOrNone(99999, 5), -1) << "no parameter row";
}

// What the heads-up display reads of the hero, its partner and the target.
TEST_F(ServicesTest, HeadsUpDisplayReads) {
    EXPECT_EQ(heroSubtype(), -1) << "no hero";
    EXPECT_EQ(heroAnimation(), -1);
    EXPECT_EQ(heroType(), -1);
    EXPECT_FALSE(heroFacesInteraction());
    cActor* h = actortest::makeHero(300, 200, 113);
    h->anim = 36;
    ca().runSpeedFactor = 460;
    EXPECT_EQ(heroSubtype(), 113);
    EXPECT_EQ(heroAnimation(), 36);

    // The interaction button: mode 0, or 3 with subtype 144, on the side
    // the hero faces (facing 1 is left); never at the same x.
    cActor* p = actortest::spawn(6, 30, 250, 200);
    struct Case {
        const char* what;
        jint mode, subtype, x, facing;
        bool shown;
    } cases[] = {
        {"mode 0, left of a hero facing left", 0, 6, 250, 1, true},
        {"mode 0, left of a hero facing right", 0, 6, 250, 0, false},
        {"mode 0, right of a hero facing right", 0, 6, 350, 0, true},
        {"same x", 0, 6, 300, 0, false},
        {"mode 3 with subtype 144", 3, 144, 350, 0, true},
        {"mode 3 with another subtype", 3, 6, 350, 0, false},
        {"mode 1", 1, 6, 350, 0, false},
    };
    ca().partnerActor = p;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ca().partnerMode = c.mode;
        p->subtype = c.subtype;
        p->posX = c.x;
        h->facing = static_cast<jbyte>(c.facing);
        EXPECT_EQ(heroFacesInteraction(), c.shown);
        EXPECT_EQ(heroPartnerView().present, c.mode == 0 || (c.mode == 3 && c.subtype == 144));
    }
    ca().partnerActor = nullptr;
    ca().partnerMode = 0;
    EXPECT_FALSE(heroFacesInteraction()) << "no partner";

    // An actor's animation state.
    BSprite* sprite = actortest::tickSprite(2, 3);
    cActor* e = cActor::spawnEffect(sprite, 1, 0, 0, 2, 0);
    EXPECT_FALSE(animationEnded(e));
    e->updateAnimation();
    e->updateAnimation();
    EXPECT_TRUE(animationEnded(e)) << "on its last frame";
    EXPECT_TRUE(animationEnded(nullptr));
}

// Every effect slot busy: the screens get null, not the inert stand-in.
TEST_F(ServicesTest, ScreenEffectWhenThePoolIsFull) {
    for (jint i = 0; i < kEffectPoolSize; ++i) cActor::spawnEffect(nullptr, 1, i, 0, 11, 0);
    EXPECT_EQ(spawnScreenEffect(nullptr, 0, 0, 0, 14, 0x62000, -1), nullptr);
}

}  // namespace

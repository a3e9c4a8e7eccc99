// The world's part of a play session: attached effect chains with their
// effect kinds and own-field flags, the two boss arena set-ups, the flow
// seam's real answers, the level set-up after a lost life, the side
// panel's counters and the reward overlay.
#include <array>

#include "game/actor/defaults.h"
#include "game/actor/hero.h"
#include "game/flow/flow_statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/actor/pool.h"
#include "game/behaviour/states.h"
#include "tools/kit/describe.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/panel.h"
#include "game/world/scripts.h"
#include "game/world/screencalls.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/streaming.h"
#include "tests/game/world/support.h"
#include "tools/kit/hero_fixtures.h"

namespace {

using namespace worldtest;
namespace w = game::world;
using game::ca;
using game::cg;
using game::ca;
using game::cg;

class SessionTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadLevel(kit::heroFixtureLevel(kit::HeroFixture::Flat));
    }
    // A level actor (subtype 6) at (x, y), drawn and idle.
    static cActor* actorAt(jint x, jint y) {
        cActor* a = spawnRecord(kit::levelActorRecord(6, 40, x, y, 0, 0xA0, {}));
        a->aiState = 0;
        return a;
    }
    static cActor* effect() { return cActor::spawnEffect(nullptr, 3, 0, 0, 2, 0); }
};

TEST_F(SessionTest, ChainFollowsItsOwnerUnlessItKeepsItsOwnFields) {
    struct Case {
        const char* what;
        jint own;
        jint x, y, facing, scale;
    } cases[] = {
        {"follows", 0, 300, 200, 1, 100},
        {"own position", 16384, 11, 22, 0, 100},
        {"own y", 0x100000, 300, 22, 1, 100},
        {"own facing", 0x400000, 300, 200, 0, 100},
        {"owner's scale", 0x800000, 300, 200, 1, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cActor* owner = actorAt(300, 200);
        owner->facing = 1;
        owner->scale = 150;
        cActor* link = effect();
        link->posX = 11;
        link->posY = 22;
        link->paintFlags = c.own;
        owner->child = link;
        w::syncAttachedChain(owner, 0);
        EXPECT_EQ(link->posX, c.x);
        EXPECT_EQ(link->posY, c.y);
        EXPECT_EQ(link->facing, c.facing);
        EXPECT_EQ(link->scale, c.scale);
        owner->child = nullptr;
    }
}

TEST_F(SessionTest, ChainReleasesFinishedAndFarLinks) {
    cActor* owner = actorAt(300, 200);
    cActor* link = effect();
    owner->child = link;
    link->flags |= 4096;  // finished
    link->paintFlags = 0x80000;  // stays when finished
    w::syncAttachedChain(owner, 0);
    EXPECT_EQ(owner->child, link);
    link->paintFlags = 0;
    w::syncAttachedChain(owner, 0);
    EXPECT_EQ(owner->child, nullptr);
    // Rated far (above 1) without flag 0x10 or 0x20000: released.
    link = effect();
    owner->child = link;
    w::syncAttachedChain(owner, 2);
    EXPECT_EQ(owner->child, nullptr);
    link = effect();
    owner->child = link;
    owner->flags |= 0x20000;
    w::syncAttachedChain(owner, 2);
    EXPECT_EQ(owner->child, link);
}

// Type parameter 10 names the effect kind an idle, drawn actor wears;
// flag 8 puts it on the ground below the actor with its own position.
TEST_F(SessionTest, ChainAttachesTheEffectKind) {
    cActor* owner = actorAt(300, 200);
    const jint kind = owner->getTypeParam(10), layer = owner->getTypeParam(11);
    owner->setTypeParam(10, 5);
    owner->setTypeParam(11, 2);
    w::syncAttachedChain(owner, 0);
    ASSERT_NE(owner->child, nullptr);
    EXPECT_EQ(owner->child->anim, 5);
    EXPECT_EQ(owner->child->posY, 200);
    owner->releaseChild();
    owner->flags |= 8;
    w::syncAttachedChain(owner, 0);
    ASSERT_NE(owner->child, nullptr);
    EXPECT_EQ(owner->child->posY, 360) << "the ground row's top";
    EXPECT_TRUE(owner->child->paintFlags & 16384);
    owner->releaseChild();
    owner->aiState = 3;  // busy: nothing attached
    w::syncAttachedChain(owner, 0);
    EXPECT_EQ(owner->child, nullptr);
    owner->setTypeParam(10, kind);
    owner->setTypeParam(11, layer);
}

TEST_F(SessionTest, BossArenasOnTheGroundLine) {
    // Params: 1-4 the attack box, 5 the restart script's id.
    cActor* boss = spawnRecord(kit::levelActorRecord(6, 41, 400, 300, 0, 0xA0, {0, 40, 60, -20, -60, 77}));
    ASSERT_NE(boss, nullptr);
    boss->facing = 1;
    boss->timer = 9;
    game::mordle().valueTriple = newIntArray(3);
    game::mordle().valueTriple->data()[2] = 200;
    w::dropToGroundType102(boss);
    EXPECT_EQ(boss->facing, 0);
    EXPECT_EQ(boss->timer, 0);
    EXPECT_EQ(cg().bossCounter, 200);
    EXPECT_EQ(ca().bossFloorY, 360);
    EXPECT_EQ(cg().currentScriptId, -1) << "no script of id 77";
    EXPECT_EQ(cg().targetActor, boss);
    w::dropToGroundType92(boss);
    EXPECT_EQ(ca().arenaFloorY, 355);
    EXPECT_EQ(cg().bossActor, boss);
    EXPECT_EQ(boss->aiState, 2);
    EXPECT_EQ(cg().bossSlotL, nullptr);
}

// What the scripts' commands reach: the hero's invulnerability, the
// flow's damage routine, an actor despawned with its load.
TEST_F(SessionTest, ScriptCommandRoutines) {
    cActor* h = makeHero(200, 360);
    h->timer = 0;
    game::setVariable(6, 0, false);
    EXPECT_FALSE(w::isHeroInvulnerable());
    game::setVariable(9, 8, false);
    game::setVariable(3, 8, false);
    game::applyHeroDamage(2, 53);
    EXPECT_EQ(h->timer, 53) << "the hit kind lands in the hero's timer";
    EXPECT_LT(game::getVariable(3), 8);
    EXPECT_TRUE(w::isHeroInvulnerable());
    h->timer = 0;
    game::setVariable(6, 1, false);
    EXPECT_TRUE(w::isHeroInvulnerable());
    // A despawned carrier stops and drops its load out of the pool.
    cActor* carrier = spawnRecord(kit::levelActorRecord(6, 50, 100, 300, 0, 0xA0, {}));
    cActor* load = spawnRecord(kit::levelActorRecord(6, 51, 100, 280, 0, 0xA0, {}));
    carrier->carried = load;
    const jint before = game::cg().actorCount;
    w::despawnScriptActor(carrier);
    EXPECT_EQ(carrier->aiState, 2);
    EXPECT_EQ(carrier->carried, nullptr);
    EXPECT_EQ(game::cg().actorCount, before - 1);
    EXPECT_EQ(game::getActorById(50), carrier);
    EXPECT_EQ(game::getActorById(51), nullptr);
}

// After a lost life: the checkpoint's hero, camera limits and record
// nibbles come back, the level timer stops, region states clear.
TEST_F(SessionTest, SetupLevelRestoresTheCheckpoint) {
    cActor* h = makeHero(300, 360);
    cg().cameraX = 700;
    cg().cameraY = 300;
    w::setCheckpoint(h);
    cg().tileAttributes = newByteArray(2);
    cg().tileAttributes->data()[0] = 0x21;  // high nibble 2 saved, low 1 live
    cg().recordPendingFlags = newByteArray(2);
    cg().recordPendingFlags->data()[1] = 0x30;
    cg().levelTimer = 50;
    game::setVariable(5, 3, false);
    cg().hero = nullptr;
    cg().cameraX = 1500;
    cActor::moveTo(h, 900 << 8, 200 << 8);
    w::setupLevelAfterLostLife();
    EXPECT_EQ(cg().hero, h);
    EXPECT_EQ(h->posX, 300) << "back at the checkpoint (the generic respawn)";
    EXPECT_EQ(h->posY, 360);
    EXPECT_EQ(cg().levelTimer, -1);
    EXPECT_EQ(cg().tileAttributes->data()[0], 0x22);
    EXPECT_EQ(cg().recordPendingFlags->data()[1], 0);
    // The checkpoint's limits come back; the camera then steps to the hero
    // (not a region stage), held at the map's left edge.
    for (jint i = 0; i < 4; ++i) EXPECT_EQ(cg().cameraLimits->data()[i], cg().checkpointCameraLimits->data()[i]);
    EXPECT_EQ(cg().cameraX, 400);
    EXPECT_EQ(game::getVariable(5), 2) << "a life spent";
    EXPECT_EQ(ca().heroState, 0);
}

TEST_F(SessionTest, LevelCountersAndPanelEvents) {
    game::mordle().valueTriple = newIntArray(3);
    game::mordle().valueTriple->data()[2] = 200;
    w::resetLevelCounters();
    EXPECT_EQ(cg().variableChangedMask, -1);
    EXPECT_EQ(cg().heroTimer, -1);
    EXPECT_EQ(cg().bossCounter, 200);
    // Right after a reset the panel does not restart the item timer.
    cg().panelActorTimer = 0;
    w::paintSidePanel();
    EXPECT_EQ(cg().panelActorTimer, 0);
    EXPECT_EQ(cg().variableChangedMask, 0);
    cg().variableChangedMask = 1;  // variable 0 changed
    w::paintSidePanel();
    EXPECT_EQ(cg().panelActorTimer, 19);
    w::paintSidePanel();
    EXPECT_EQ(cg().panelActorTimer, 18);
}

// The reward overlay counts down once a paint; with five collected the
// life comes in the paint where the countdown goes from 2 to 1, never
// when it enters at 1.
TEST_F(SessionTest, RewardOverlayGivesTheLifeOnce) {
    ca().type2QueueCount = 5;
    game::setVariable(5, 3, false);
    ca().type2Countdown = 1;
    w::paintOverlayMessage();
    EXPECT_EQ(ca().type2Countdown, 0);
    EXPECT_EQ(game::getVariable(5), 3);
    ca().type2Countdown = 3;
    w::paintOverlayMessage();
    EXPECT_EQ(game::getVariable(5), 3);
    w::paintOverlayMessage();
    EXPECT_EQ(game::getVariable(5), 4);
    w::paintOverlayMessage();
    w::paintOverlayMessage();
    EXPECT_EQ(game::getVariable(5), 4);
    // Below five: a count text only, no life.
    ca().type2QueueCount = 2;
    ca().type2Countdown = 2;
    w::paintOverlayMessage();
    EXPECT_EQ(game::getVariable(5), 4);
}

// Collectibles queued by the behaviour reach the overlay: each one restarts
// its 48-paint countdown with the count shown, and the fifth gives one life
// on the overlay's last paint. An idle overlay's countdown rests at 0.
TEST_F(SessionTest, CollectedValuesShowTheCountAndTheFifthGivesALife) {
    cActor* holder = actorAt(300, 200);
    game::setVariable(5, 2, false);
    const jint lives = game::getVariable(5);
    for (jint i = 1; i <= 5; ++i) {
        game::behaviour::queueType2Value(holder, i);
        EXPECT_EQ(ca().type2QueueCount, i);
        EXPECT_EQ(ca().type2Actor, holder);
        EXPECT_EQ(ca().type2Queue->data()[i - 1], i);
        EXPECT_EQ(ca().type2Countdown, 48);
        if (i < 5) {
            for (int p = 0; p < 10; ++p) w::paintOverlayMessage();
            EXPECT_EQ(ca().type2Countdown, 38) << "the count is not on show";
            EXPECT_EQ(game::getVariable(5), lives) << "a life before the fifth";
        }
    }
    for (int p = 0; p < 46; ++p) w::paintOverlayMessage();
    EXPECT_EQ(game::getVariable(5), lives) << "the life came early";
    w::paintOverlayMessage();  // the 47th paint: countdown 2 -> 1
    EXPECT_EQ(game::getVariable(5), lives + 1);
    for (int p = 0; p < 100; ++p) w::paintOverlayMessage();
    EXPECT_EQ(game::getVariable(5), lives + 1);
    EXPECT_EQ(ca().type2Countdown, 0);
}

// Below five, the overlay paints the icon of the count from the queued
// value of the last collectible; a count past the queue paints no icon
// (the count text only), nor does a count of 0.
TEST_F(SessionTest, RewardOverlayIconOnlyForACountInTheQueue) {
    BSprite* icon = spritetest::loadSprite(
        kit::parseSpriteDescription("sprite\npalette-format 6505\npixel-format 64F0\npalette 00000000 FF305020\n"
                                    "module fill FFFF0000 20 20\nframe\nfm 0 0 0\n"));
    ASSERT_NE(icon, nullptr);
    spritetest::Screen screen;
    game::cg().graphics = screen.g;
    cActor* holder = actorAt(300, 200);
    holder->sprite = icon;
    IntArray* queue = newIntArray(2);
    struct Case {
        jint count;
        bool icon;
    } cases[] = {{1, true}, {2, true}, {3, false}, {4, false}, {0, false}};
    for (const Case& c : cases) {
        screen.clear(0);
        ca().type2Actor = holder;
        ca().type2Queue = queue;
        ca().type2QueueCount = c.count;
        ca().type2Countdown = 10;
        w::paintOverlayMessage();
        int red = 0;
        for (uint16_t p : screen.pixels()) red += p == 0xF800;
        EXPECT_EQ(red > 0, c.icon) << "count " << c.count;
    }
    ca().type2Actor = nullptr;
    ca().type2QueueCount = 0;
    game::cg().graphics = nullptr;
}

TEST_F(SessionTest, TwoColourGradientTopToBottom) {
    IntArray* px = newIntArray(3 * 4);
    w::fillTwoColourGradient(px, 3 + 1, 3, 2, 2, 0x00000000, 0x00000020);
    EXPECT_EQ(px->data()[4], 0);
    EXPECT_EQ(px->data()[5], 0);
    EXPECT_EQ(px->data()[7], 0x10);
    EXPECT_EQ(px->data()[3], 0);
    EXPECT_EQ(px->data()[6], 0);
    w::fillTwoColourGradient(px, 0, 0, 2, 2, -1, -1);  // no rows: nothing
    w::fillTwoColourGradient(nullptr, 0, 3, 2, 2, -1, -1);
    EXPECT_EQ(px->data()[0], 0);
}

}  // namespace

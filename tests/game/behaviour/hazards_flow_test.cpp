// Hazard routines over several frames with the hero's damage: when the
// timed hazards hurt, the curve mover's column and end, the projectile's
// vanishing, the contact hazard, the link mover riding its carrier, the
// link platform's wait, and the generators' shared path (the last two once
// the link-path routines are in).
#include "game/actor/levels.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/behaviour/linkpath.h"
#include "game/flow/gmath.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/hazards_support.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/describe.h"

namespace {

using namespace hazardtest;
namespace b = game::behaviour;
namespace st = kit::hazard_subtypes;

jint health() { return game::getVariable(3); }

class HazardFlow : public HazardTest {
protected:
    void SetUp() override {
        HazardTest::SetUp();
        loadLevel(room(120, 20,
                       "link 31 1300 500 32 0 0\nlink 32 1420 460 33 0 0\nlink 33 1360 560 31 0 0\n"
                       "link 41 1800 600 42 0 0\nlink 42 1900 450 43 0 0\nlink 43 2000 600 -1 0 0\n"
                       "link 61 1000 560 62 0 200\nlink 62 1200 560 -1 0 0\n"));
        hero = worldtest::makeHero(2000, 684);
        game::setVariable(3, 99, false);
    }
    // The hero hittable again: no invulnerability left.
    void recover() { hero->timer = 0; }
    bool linkPathsLive() { return b::buildCurvePath(0, 0, 256, 0, 512, 0, 2) != nullptr; }
};

// One 1-frame animation per number 0-21; animation 21 lasts 20 ticks.
std::string longAnimSprite() {
    std::string s = "sprite\npalette-format 6505\npixel-format 64F0\npalette 00000000 FF305020\n"
                    "module fill FFFF0000 20 40\nframe\nfm 0 -10 -40\n";
    for (int a = 0; a < 22; ++a) s += std::string("anim\naf 0 ") + (a == 21 ? "20" : "1") + "\n";
    return s;
}

TEST_F(HazardFlow, FlameOnAnimation21IsHarmlessForItsFirstEightTicks) {
    BSprite* sprite = spritetest::loadSprite(kit::parseSpriteDescription(longAnimSprite()));
    ASSERT_NE(sprite, nullptr);
    cActor* flame = make(71, 32, 2000, 684, 20, {0, 40, 0});
    flame->sprite = sprite;
    const jint start = health();
    std::vector<int> hurtAt;
    for (int f = 0; f < 20; ++f) {
        const jint before = health();
        step(flame);
        if (health() < before) {
            hurtAt.push_back(f);
            recover();
        }
    }
    ASSERT_FALSE(hurtAt.empty());
    // Frame 0 stores the base; the pass of animation 21 starts at frame 0
    // (ticks 0), and ticks reach 8 on frame 8.
    EXPECT_EQ(hurtAt.front(), 8);
    EXPECT_LT(health(), start);
}

TEST_F(HazardFlow, FourPhaseTrapWithNoSafePartIsNeverHarmless) {
    cActor* harmful = make(72, 40, 2000, 684, 0, {30, 0, 0});
    const jint h0 = health();
    step(harmful);
    EXPECT_LT(health(), h0);
    game::removeActor(harmful, true);
    recover();
    cActor* safe = make(72, 40, 2000, 684, 0, {30, 10, 0});
    const jint h1 = health();
    step(safe);  // phase 0 of 40: inside the safe part
    EXPECT_EQ(health(), h1);
}

TEST_F(HazardFlow, StraightProjectileVanishesOnABlockedMoveWithoutTheHero) {
    cActor* shot = make(73, 38, 500, 300, 14, {});
    step(shot);
    ASSERT_EQ(shot->aiState, 9);
    EXPECT_EQ(shot->motion->data()[2], 4352);
    const jint h0 = health();
    game::ca().collisionResult = 4;
    b::updateType38(shot);
    EXPECT_EQ(shot->type, 3);
    EXPECT_EQ(shot->anim, 15);
    EXPECT_EQ(health(), h0);
    // Straight down, left, and none for another animation.
    for (auto [anim, vx, vy] : {std::tuple{9, 0, 4352}, std::tuple{19, -4352, 0}, std::tuple{12, 0, 0}}) {
        cActor* s = make(73, 38, 500, 300, anim, {});
        game::ca().collisionResult = 0;
        b::updateType38(s);
        EXPECT_EQ(s->motion->data()[2], vx) << anim;
        EXPECT_EQ(s->motion->data()[3], vy) << anim;
    }
}

TEST_F(HazardFlow, ContactHazardHurtsUnlessInvulnerableAndClearsItsFlag) {
    cActor* spikes = make(74, 91, 2000, 684, 0, {});
    spikes->flags |= 0x1000000;
    step(spikes);  // set-up
    const jint h0 = health();
    step(spikes);
    EXPECT_LT(health(), h0);
    EXPECT_FALSE(spikes->flags & 0x1000000);
    const jint h1 = health();
    spikes->flags |= 0x1000000;
    step(spikes);  // invulnerable now: no damage, the flag still clears
    EXPECT_EQ(health(), h1);
    EXPECT_FALSE(spikes->flags & 0x1000000);
}

TEST_F(HazardFlow, ChainHurtsThroughTheFirstBallThatMeetsTheHero) {
    cActor* chain = make(107, 31, 2000, 640, 0, {10, 0, 4, 0}, 16, 16);
    const jint h0 = health();
    step(chain);
    EXPECT_LT(health(), h0);
    // Ball 0 at angle 0 lies 10 px right and meets the hero: the test ends there.
    EXPECT_EQ(chain->box->data()[0], 2000 - 8 + 10);
}

TEST_F(HazardFlow, CurveMoverGrowsUpwardWhileRisingAndEndsFallingBelowItsLine) {
    cActor* m = make(75, 78, 500, 600, 6, {0, 0, 0, 3}, 24, 24);
    // Whole-pixel speeds (ay 256) so that each frame's rise is exact.
    IntArray* path = IntArray::fill(newIntArray(8), {500 * 256, 600 * 256, 0, -1024, 0, 256, 0, 610 * 256});
    m->parts = path;
    // As a generator hands it over: with its path and wide speed limits.
    m->setVelocityLimitsX(-1000000, 1000000);
    m->setVelocityLimitsY(-1000000, 1000000);
    step(m);  // state 0: angle of (0, -1024) + 90
    EXPECT_EQ(m->aiState, 2);
    step(m);  // state 2: box three pieces wide from x - 12
    EXPECT_EQ(m->aiState, 9);
    EXPECT_EQ(m->box->data()[0], 488);
    EXPECT_EQ(m->box->data()[2], 488 + 72);
    const jint bottom = m->box->data()[3];
    jint top = m->box->data()[1];
    int frames = 0;
    while (m->motion->data()[3] < 0 && frames < 40) {
        step(m);
        ++frames;
        EXPECT_EQ(m->box->data()[3], bottom) << frames;  // the lower edge stays
        EXPECT_LE(m->box->data()[1], top);
        top = m->box->data()[1];
    }
    const jint height = m->box->data()[3] - m->box->data()[1];
    // Falling: the height gained is carried down unchanged.
    while (m->type == 78 && frames < 200) {
        step(m);
        ++frames;
        if (m->type == 78) {
            EXPECT_EQ(m->box->data()[3] - m->box->data()[1], height);
        }
    }
    ASSERT_EQ(m->type, 3);
    EXPECT_GT(m->posY, 610);
    EXPECT_EQ(m->motion->data()[3], 0);
    EXPECT_EQ(m->anim, 6);  // the effect keeps its animation
}

TEST_F(HazardFlow, CurveMoverBelowItsLineButRisingGoesOn) {
    cActor* m = make(75, 78, 500, 700, 6, {0, 0, 0, 0}, 24, 24);
    IntArray* path = IntArray::fill(newIntArray(8), {500 * 256, 700 * 256, 0, -512, 0, 64, 0, 600 * 256});
    m->parts = path;
    m->setVelocityLimitsX(-1000000, 1000000);
    m->setVelocityLimitsY(-1000000, 1000000);
    step(m, 3);
    EXPECT_EQ(m->type, 78);
    EXPECT_EQ(m->box->data()[0], m->box->data()[2]);  // no pieces: no width
    int frames = 0;
    while (m->type == 78 && frames < 100) {
        step(m);
        ++frames;
    }
    EXPECT_EQ(m->type, 3);
    EXPECT_EQ(frames, 8);  // vy -448 .. 0 while below the line, then the first falling frame
}

TEST_F(HazardFlow, CurveMoverWithZeroPieceWidthIsRefused) {
    LogCapture log;
    cActor* m = make(76, 78, 500, 600, 6, {0, 0, 0, 3}, 0, 24);
    IntArray* path = IntArray::fill(newIntArray(8), {500 * 256, 600 * 256, 0, -1024, 0, 64, 0, 610 * 256});
    m->parts = path;
    step(m, 3);
    EXPECT_EQ(m->aiState, b::kRefusedState);
    EXPECT_TRUE(log.contains("piece width"));
}

TEST_F(HazardFlow, LinkMoverRidingItsCarrierShiftsEachRowOfItsLoopOnce) {
    cActor* carrier = make(77, 110, 1300, 520, 0, {}, 40, 20);
    cActor* mover = make(78, 46, 1300, 500, 0, {31, static_cast<int16_t>(carrier->uniqueId), 3, 1}, 40, 16);
    step(mover);
    ASSERT_NE(mover->parts, nullptr);
    EXPECT_EQ(mover->parts->data()[0], 1300);
    const jint row = game::findTableIndex(31);
    jint before[3][2];
    for (int k = 0; k < 3; ++k) {
        before[k][0] = game::ca().links->data()[5 * (row + k)];
        before[k][1] = game::ca().links->data()[5 * (row + k) + 1];
    }
    const jint x0 = mover->posX, y0 = mover->posY;
    cActor::moveBy(carrier, 10 << 8, 5 << 8);
    b::updateType46(mover);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(game::ca().links->data()[5 * (row + k)], before[k][0] + 10) << k;
        EXPECT_EQ(game::ca().links->data()[5 * (row + k) + 1], before[k][1] + 5) << k;
    }
    EXPECT_EQ(mover->posX, x0 + 10);
    EXPECT_EQ(mover->posY, y0 + 5);
    EXPECT_EQ(mover->parts->data()[0], carrier->posX);
}

TEST_F(HazardFlow, LinkPlatformWaitsByCountingItsTimerDown) {
    cActor* p = make(79, 63, 1000, 560, 0, {3, 61}, 72, 18);
    p->aiState = 4;
    p->timer = 3;
    p->linkIndex = game::findTableIndex(62);
    b::updateType63(p);
    EXPECT_EQ(p->timer, 2);
    EXPECT_EQ(p->aiState & 0xFFFFFF, 4);
    b::updateType63(p);
    EXPECT_EQ(p->timer, 1);
    if (!linkPathsLive()) GTEST_SKIP() << "link-path routines not in yet";
    b::updateType63(p);  // below 1: the next leg starts
    EXPECT_EQ(p->aiState & 0xFFFFFF, 3);
}

TEST_F(HazardFlow, LinkPlatformHurtsOnTouchUnlessInvulnerable) {
    cActor* p = make(79, 63, 2000, 684, 0, {3, 99}, 72, 18);
    const jint h0 = health();
    b::updateType63(p);
    EXPECT_LT(health(), h0);
    EXPECT_EQ(p->aiState & 0xFFFFFF, 2);  // no such link: it rests
    const jint h1 = health();
    b::updateType63(p);
    EXPECT_EQ(health(), h1);
}

TEST_F(HazardFlow, GeneratorsShareOnePathWithEveryMover) {
    if (!linkPathsLive()) GTEST_SKIP() << "link-path routines not in yet";
    cActor* gen = make(st::kLobGenerator, 48, 1800, 600, 0, {41, 30, 5});
    step(gen);
    ASSERT_EQ(gen->aiState, 2);
    step(gen, 14);
    std::vector<cActor*> movers;
    for (jint i = 0; i < game::cg().actorCount; ++i)
        if (game::poolActor(i)->subtype == st::kLobber) movers.push_back(game::poolActor(i));
    ASSERT_EQ(movers.size(), 2u);  // frames 7 and 13 of state 2
    for (cActor* m : movers) EXPECT_EQ(m->parts, gen->parts);
    gen->parts->data()[7] = 0;
    EXPECT_EQ(movers[0]->parts->data()[7], 0);
}

TEST_F(HazardFlow, GeneratorHandsItsOwnPathArrayToEveryMover) {
    // A type-77 generator past its set-up, with a path of its own: it emits
    // on the first frame and then every interval + 1 frames.
    cActor* gen = make(st::kColumnGenerator, 77, 2150, 640, 0, {51, 24, 4});
    IntArray* path = IntArray::fill(newIntArray(8), {2150 * 256, 640 * 256, 256, -1024, 0, 64, 0, 660 * 256});
    gen->parts = path;
    gen->aiState = 2;
    b::hf::counter(gen) = 4;
    const int before = countSubtype(st::kColumn);
    std::vector<int> emitted;
    for (int f = 0; f < 11; ++f) {
        const int n = countSubtype(st::kColumn);
        b::updateType77(gen);
        if (countSubtype(st::kColumn) > n) emitted.push_back(f);
    }
    EXPECT_EQ(emitted, (std::vector<int>{0, 5, 10}));
    std::vector<cActor*> movers;
    for (jint i = 0; i < game::cg().actorCount; ++i)
        if (game::poolActor(i)->subtype == st::kColumn) movers.push_back(game::poolActor(i));
    ASSERT_EQ(static_cast<int>(movers.size()) - before, 3);
    for (cActor* m : movers) {
        EXPECT_EQ(m->parts, gen->parts);
        EXPECT_EQ(m->posX, 2150);
        EXPECT_EQ(m->motion->data()[7], 1000000);
    }
    // One change of the path shows in every mover.
    gen->parts->data()[7] = 0;
    for (cActor* m : movers) EXPECT_EQ(m->parts->data()[7], 0);
}

TEST_F(HazardFlow, SpringTrapHidesForItsTimeAfterSpringing) {
    cActor* trap = make(80, 27, 2010, 700, 0, {3, 2000});
    step(trap, 2);
    ASSERT_EQ(trap->aiState, 6);
    trap->setAnim(0);  // the spring animation has ended
    step(trap);
    EXPECT_EQ(trap->aiState, 2);
    EXPECT_FALSE(trap->flags & 0x20000);
    ASSERT_NE(trap->respawnRecord, nullptr);
    EXPECT_EQ(trap->respawnRecord->data()[0], 32);  // (2000 x 16 + 500) / 1000
}

TEST_F(HazardFlow, LobbedProjectileLaunchesAfterItsWindUpAndEndsBelowItsFloor) {
    BSprite* sprite = spritetest::loadSprite(kit::parseSpriteDescription(longAnimSprite()));
    cActor* lob = make(81, 49, 100, 100, 0, {}, 16, 16);
    lob->sprite = sprite;
    lob->setVelocityLimitsX(-1000000, 1000000);
    lob->setVelocityLimitsY(-1000000, 1000000);
    IntArray* path = IntArray::fill(newIntArray(8), {300 * 256, 600 * 256, 512, -1024, 0, 128, 0, 620 * 256});
    lob->parts = path;
    step(lob);
    EXPECT_EQ(lob->aiState, 2);
    EXPECT_EQ(lob->anim, 1);
    EXPECT_EQ(lob->angle, game::atan2(512, -1024) + 90);
    for (int i = 0; i < 5 && lob->aiState == 2; ++i) step(lob);
    ASSERT_EQ(lob->aiState, 9);
    EXPECT_EQ(lob->posX, 300);
    EXPECT_EQ(lob->posY, 600);
    EXPECT_EQ(lob->motion->data()[1], 128);
    int frames = 0;
    while (lob->type == 49 && frames < 100) {
        step(lob);
        ++frames;
    }
    EXPECT_EQ(lob->type, 3);
    EXPECT_EQ(lob->anim, 2);
    EXPECT_GT(lob->posY, 620);
}

TEST_F(HazardFlow, GeneratorsWithoutThreePointsBuildNothing) {
    loadLevel(room(120, 20, "link 41 1800 600 42 0 0\nlink 42 1900 450 -1 0 0\n"));
    hero = worldtest::makeHero(2000, 684);
    for (jint type : {48, 77}) {
        LogCapture log;
        const int before = countSubtype(type == 48 ? st::kLobber : st::kColumn);
        cActor* gen = make(type == 48 ? st::kLobGenerator : st::kColumnGenerator, type, 1800, 600, 0, {41, 30, 0});
        step(gen, 10);
        EXPECT_EQ(gen->aiState, b::kRefusedState) << type;
        EXPECT_EQ(countSubtype(type == 48 ? st::kLobber : st::kColumn), before) << type;
        EXPECT_TRUE(log.contains("no path")) << type;
    }
}

}  // namespace

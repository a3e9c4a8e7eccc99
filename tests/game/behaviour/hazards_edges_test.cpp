// Edge tables of the hazard family: chain ball spacing, the ball's
// single-axis bounce, turret cycles, fly-by drops, the chaser's down-first
// search, segment projections, the part field and the random launch, and
// the records refused on first update.
#include <cmath>

#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/behaviour/setup.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "tests/game/behaviour/hazards_support.h"

namespace {

using namespace hazardtest;
namespace b = game::behaviour;

class HazardEdges : public HazardTest {
protected:
    void SetUp() override {
        HazardTest::SetUp();
        loadLevel(room());
        hero = worldtest::makeHero(2000, 684);
    }
};

TEST_F(HazardEdges, ChainOfFourBallsAndFourEmptySlotsSpacesThem45DegreesApart) {
    IntArray* parts = newIntArray(8);
    for (jint start : {0, 30, 200}) {
        b::computeChainBalls(parts, start, 100, 4, 4);
        for (jint i = 0; i < 4; ++i) {
            const double rad = (start + 45.0 * i) * M_PI / 180.0;
            EXPECT_NEAR(parts->data()[2 * i], 100 * std::cos(rad), 2.0) << start << " ball " << i;
            EXPECT_NEAR(parts->data()[2 * i + 1], 100 * std::sin(rad), 2.0) << start << " ball " << i;
        }
    }
    // Without empty slots four balls are 90 degrees apart.
    b::computeChainBalls(parts, 0, 64, 4, 0);
    EXPECT_EQ(parts->data()[0], 64);
    EXPECT_EQ(parts->data()[1], 0);
    EXPECT_NEAR(parts->data()[2], 0, 1);
    EXPECT_NEAR(parts->data()[3], 64, 1);
}

TEST_F(HazardEdges, ChainRecordsWithoutSlotsOrWithAbsurdBallCountsAreRefused) {
    struct Case {
        const char* what;
        std::vector<int16_t> params;
        bool refused;
    } cases[] = {
        {"2 balls, -2 empty: no slots", {40, 2, 2, -2}, true},
        {"no balls", {40, 2, 0, 4}, true},
        {"negative balls", {40, 2, -3, 8}, true},
        {"65 balls", {40, 2, 65, 0}, true},
        {"4 balls, 4 empty", {40, 2, 4, 4}, false},
        {"1 ball, -2 empty: d = -360", {40, 2, 1, -2}, false},
    };
    for (const Case& c : cases) {
        LogCapture log;
        cActor* a = make(107, 31, 400, 600, 0, c.params);
        ASSERT_NE(a, nullptr);
        step(a, 3);
        EXPECT_EQ(a->aiState == b::kRefusedState, c.refused) << c.what;
        EXPECT_EQ(log.contains("refused"), c.refused) << c.what;
        game::removeActor(a, true);
    }
}

TEST_F(HazardEdges, BounceReversesOneAxisTheOneItOvershootsMostTieVertical) {
    struct Case {
        jint ox, oy, axis;
    } cases[] = {
        {0, 0, 0}, {-5, -5, 0}, {5, 3, 1}, {3, 5, 2}, {4, 4, 2}, {0, 1, 2}, {1, 0, 1}, {1, -9, 1}, {-9, 1, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(b::bounceAxis(c.ox, c.oy), c.axis) << c.ox << ", " << c.oy;
}

TEST_F(HazardEdges, BouncingBallStaysInItsAreaFlippingOneAxisAFrame) {
    loadLevel(room(120, 20, "rect 7 0 0 10 10\nrect 9 200 400 500 600\n"));
    hero = worldtest::makeHero(3000, 684);
    cActor* ball = make(108, 57, 300, 500, 0, {6, 9}, 20, 20);
    ASSERT_NE(ball, nullptr);
    step(ball);
    ASSERT_EQ(ball->aiState, 3);
    ASSERT_NE(ball->attackBox, nullptr);
    EXPECT_EQ(ball->attackBox->data()[0], 200);
    EXPECT_EQ(ball->attackBox->data()[3], 600);
    jint vx = ball->motion->data()[2], vy = ball->motion->data()[3];
    EXPECT_EQ(vx, 1536);
    EXPECT_EQ(vy, -1536);
    int flips = 0;
    for (int i = 0; i < 400; ++i) {
        step(ball);
        const jint nvx = ball->motion->data()[2], nvy = ball->motion->data()[3];
        const int changed = (nvx != vx) + (nvy != vy);
        EXPECT_LE(changed, 1) << "frame " << i;
        flips += changed;
        vx = nvx;
        vy = nvy;
        EXPECT_GE(ball->posX, 200 - 20);
        EXPECT_LE(ball->posX, 500 + 20);
        EXPECT_GE(ball->posY, 400 - 20);
        EXPECT_LE(ball->posY, 600 + 20);
    }
    EXPECT_GT(flips, 4);
}

TEST_F(HazardEdges, BallTakesTheLevelsFirstRectangleAsItsArea) {
    loadLevel(room(120, 20, "rect 9 200 400 500 600\n"));
    hero = worldtest::makeHero(3000, 684);
    cActor* ball = make(108, 57, 300, 500, 0, {6, 9}, 20, 20);
    step(ball);
    ASSERT_NE(ball->attackBox, nullptr);
    EXPECT_EQ(ball->attackBox->data()[2], 500);
    // An unknown rectangle id leaves it without an area: it never bounces.
    cActor* lost = make(108, 57, 300, 500, 0, {6, 77}, 20, 20);
    step(lost, 30);
    EXPECT_EQ(lost->motion->data()[2], 1536);
    EXPECT_EQ(lost->motion->data()[3], -1536);
}

TEST_F(HazardEdges, Type83CycleLengthDecidesWhetherItEverFires) {
    struct Case {
        jint cycle;
        int shots;
        bool showsAnim50;
    } cases[] = {{10, 0, false}, {11, 0, true}, {14, 0, true}, {15, 6, true}, {30, 3, true}};
    for (const Case& c : cases) {
        const int before = countSubtype(221);
        cActor* t = make(109, 83, 2000, 684, 0, {0, 400, 300, -200, -250, static_cast<int16_t>(c.cycle)});
        ASSERT_NE(t, nullptr);
        bool saw50 = false;
        for (int i = 0; i < 91; ++i) {
            step(t);
            saw50 = saw50 || t->anim == 50;
        }
        EXPECT_EQ(countSubtype(221) - before, c.shots) << "cycle " << c.cycle;
        EXPECT_EQ(saw50, c.showsAnim50) << "cycle " << c.cycle;
        game::removeActor(t, true);
    }
}

TEST_F(HazardEdges, Type83WithCycleZeroIsRefusedAndNeverDivides) {
    LogCapture log;
    cActor* t = make(109, 83, 2000, 684, 0, {0, 400, 300, -200, -250, 0});
    step(t, 5);
    EXPECT_EQ(t->aiState, b::kRefusedState);
    EXPECT_TRUE(log.contains("cycle length 0"));
}

TEST_F(HazardEdges, Type83LeavesRangeStateOnlyAboveFourteen) {
    cActor* t = make(109, 83, 2000, 684, 0, {0, 400, 300, -200, -250, 15});
    step(t, 2);
    ASSERT_EQ(t->aiState, 6);
    hero->posX = 9000;
    cActor::setBox(hero->box, 8983, 599, 9017, 684);
    step(t, 40);
    EXPECT_EQ(t->aiState, 6);  // the counter never passes 14 with a cycle of 15
}

TEST_F(HazardEdges, Type81CounterRunsOnAcrossLeavingTheRange) {
    cActor* t = make(63, 81, 2000, 684, 4, {400, 300, -200, -250});
    const int before = countSubtype(206);
    step(t, 2);  // set-up, then the hero is in range
    ASSERT_EQ(t->aiState, 6);
    step(t, 4);  // counter 1..4
    hero->posX = 9000;
    cActor::setBox(hero->box, 8983, 599, 9017, 684);
    step(t, 1);  // leaves: animation 4, counter 5 still counts (animation 6)
    EXPECT_EQ(t->aiState, 2);
    EXPECT_EQ(b::hf::cycleCount(t), 5);
    EXPECT_EQ(countSubtype(206) - before, 0);
    hero->posX = 2000;
    cActor::setBox(hero->box, 1983, 599, 2017, 684);
    step(t, 1);  // back in range: state 6, the counter waits there
    step(t, 2);  // 6, 7: a shot at 7
    EXPECT_EQ(countSubtype(206) - before, 1);
}

TEST_F(HazardEdges, FlyByDropsExactlyTwoActorsOnFrames20And36) {
    game::cg().cameraX = 2000;
    game::cg().cameraY = 400;
    cActor* f = make(64, 71, 2790, 200, 0, {});
    const int before = countSubtype(192);
    step(f, 2);  // state 0, then state 2 starts the run
    ASSERT_EQ(f->aiState, 6);
    std::vector<int> dropFrames;
    for (int frame = 1; frame <= 60 && f->aiState == 6; ++frame) {
        const int n = countSubtype(192);
        step(f);
        if (countSubtype(192) > n) dropFrames.push_back(frame);
        EXPECT_EQ(f->posY, 190);
    }
    EXPECT_EQ(dropFrames, (std::vector<int>{20, 36}));
    EXPECT_EQ(countSubtype(192) - before, 2);
}

TEST_F(HazardEdges, FlyByLeavesOncePastTheViewAndIsRemoved) {
    game::cg().cameraX = 2000;
    game::cg().cameraY = 400;
    cActor* f = make(64, 71, 2600, 200, 0, {});
    const jint id = f->uniqueId;
    for (int i = 0; i < 80 && game::getActorById(id); ++i) step(f);
    EXPECT_EQ(game::getActorById(id), nullptr);
}

TEST_F(HazardEdges, PadWorksOnceAndIsRemovedTheFrameAfter) {
    cActor* pad = make(110, 66, 2000, 684, 0, {});
    const jint id = pad->uniqueId;
    b::hf::boostFrames() = 0;
    step(pad, 2);
    EXPECT_EQ(b::hf::boostFrames(), 32);
    EXPECT_EQ(pad->aiState, 6);
    step(pad);
    EXPECT_EQ(game::getActorById(id), nullptr);
}

TEST_F(HazardEdges, TrapSpringsOverTheHeroAndVanishesWithUnder32Ms) {
    cActor* trap = make(66, 27, 2010, 700, 0, {3, 31});
    const jint id = trap->uniqueId;
    step(trap, 2);
    ASSERT_EQ(trap->aiState, 6);
    EXPECT_EQ(trap->anim, 3);
    EXPECT_TRUE(trap->flags & 0x20000);
    trap->setAnim(0);  // the spring animation has ended
    step(trap);
    EXPECT_EQ(game::getActorById(id), nullptr);
}

TEST_F(HazardEdges, TrapDoesNotSpringFarOrBesideTheHero) {
    struct Case {
        jint x, y;
        bool springs;
    } cases[] = {{2039, 700, true}, {2040, 700, false}, {1961, 700, true}, {2010, 590, false}, {2010, 923, true},
                   {2010, 924, false}};
    for (const Case& c : cases) {
        cActor* trap = make(66, 27, c.x, c.y, 0, {3, 1000});
        step(trap, 2);
        EXPECT_EQ(trap->aiState == 6, c.springs) << c.x << ", " << c.y;
        game::removeActor(trap, true);
    }
}

TEST_F(HazardEdges, ChaserSearchesDownFirstAndStopsOnABlockedSide) {
    // Column 10 of a 20-row room: walls in rows 5-7 and 12, free elsewhere.
    std::string map = "layer 2 20 20\n";
    for (int r = 0; r < 20; ++r) {
        for (int c = 0; c < 20; ++c) map += c ? " ." : ".";
        map += "\n";
    }
    map += "layer 4 20 20\n";
    for (int r = 0; r < 20; ++r) {
        std::string row(20, '.');
        if ((r >= 5 && r <= 7) || r == 19) row[10] = '6';
        if (r == 12) row[11] = '6';
        if (r >= 2 && r <= 17) row[12] = '6';
        map += row + "\n";
    }
    loadLevel(map);
    hero = worldtest::makeHero(100, 600);
    struct Case {
        jint column, row;
        bool blockedAbove, blockedBelow;
        jint dir;
    } cases[] = {
        {10, 6, false, false, 1},   // free one row above and one below: down
        {10, 5, false, false, -1},  // row 4 free first
        {10, 7, false, false, 1},
        {10, 6, false, true, 0},    // down found first but blocked below
        {10, 5, true, false, 0},
        {12, 10, false, false, 1},  // rows 2-17 walled: row 18 free (down 8) before row 1 (up 9)
        {11, 12, false, false, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(b::chaserClimbDirection(c.column, c.row, c.blockedAbove, c.blockedBelow), c.dir)
            << c.column << ", " << c.row;
}

TEST_F(HazardEdges, PointOnSegmentEdges) {
    IntArray* rec = newIntArray(9);
    IntArray::fill(rec, {1, 0, 0, 0, 100, 200, 300, 100, 0});
    IntArray* r = b::projectOntoSegment(rec, 200, 150);
    EXPECT_EQ(r->data()[1], 0);
    EXPECT_EQ(r->data()[2], 0);  // sy = 200 - 100 * 100 / 200 = 150
    const jint half = static_cast<jint>((static_cast<jlong>(100) * 256 * b::segmentProjectionScale() >> 8) / 200);
    EXPECT_EQ(r->data()[0], half);
    r = b::projectOntoSegment(rec, 40, 170);  // left of the segment
    EXPECT_EQ(r->data()[0], 0);
    EXPECT_EQ(r->data()[1], 60);
    EXPECT_EQ(r->data()[2], 30);
    r = b::projectOntoSegment(rec, 350, 0);  // right of it
    EXPECT_EQ(r->data()[1], -50);
    EXPECT_EQ(r->data()[2], 100);
    IntArray::fill(rec, {1, 0, 0, 0, 100, 200, 100, 400, 0});  // vertical
    r = b::projectOntoSegment(rec, 100, 300);
    EXPECT_EQ(r->data()[0], 0);
    EXPECT_EQ(r->data()[1], 0);
    EXPECT_EQ(r->data()[2], 0);
}

TEST_F(HazardEdges, SegmentOwnersClaimAtMostThreeRecordsAndThePassProjectsTheCamera) {
    loadLevel(room(120, 20,
                   "link 1 100 200 2 0 0\nlink 2 300 100 -1 0 0\n"
                   "link 3 400 400 4 0 0\nlink 4 400 600 -1 0 0\n"));
    std::vector<cActor*> owners;
    for (int i = 0; i < 4; ++i) {
        cActor* a = make(67, 43, 100 + i, 100, 0, {1});
        step(a);
        owners.push_back(a);
    }
    ObjectArray* segs = game::ca().segments;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(static_cast<IntArray*>(segs->data()[i])->data()[0], owners[static_cast<size_t>(i)]->uniqueId);
    // The owner keeps its record on later frames.
    step(owners[1]);
    EXPECT_EQ(static_cast<IntArray*>(segs->data()[1])->data()[0], owners[1]->uniqueId);
    auto* rec = static_cast<IntArray*>(segs->data()[0]);
    EXPECT_EQ(rec->data()[4], 100);
    EXPECT_EQ(rec->data()[7], 100);
    game::cg().cameraX = 40;
    game::cg().cameraY = 300;
    b::updateSegmentObjects();
    EXPECT_EQ(rec->data()[1], 0);
    EXPECT_EQ(rec->data()[2], 60);
    EXPECT_EQ(rec->data()[8], -100);
    EXPECT_EQ(rec->data()[3], -100);  // a = 0: no drop term
    game::cg().cameraX = 300;
    b::updateSegmentObjects();
    const jint a = rec->data()[1];
    const jint k = (-47360 * 19) / 14;
    EXPECT_EQ(k, -64274);
    const jint d = static_cast<jint>(((static_cast<jlong>(a) * k) >> 8) / 360) >> 8;
    EXPECT_EQ(rec->data()[3], rec->data()[8] - d);
    // An owner whose link id has no second point owns nothing (logged).
    LogCapture log;
    for (int i = 0; i < 3; ++i) IntArray::fill(static_cast<IntArray*>(segs->data()[i]), {0, 0, 0, 0, 0, 0, 0, 0, 0});
    cActor* lone = make(67, 43, 100, 100, 0, {4});
    step(lone, 3);
    EXPECT_EQ(static_cast<IntArray*>(segs->data()[0])->data()[0], 0);
    EXPECT_EQ(log.count(), 1u);
}

TEST_F(HazardEdges, InactiveSegmentRecordKeepsItsValues) {
    auto* rec = static_cast<IntArray*>(game::ca().segments->data()[2]);
    IntArray::fill(rec, {0, 11, 22, 33, 100, 200, 300, 100, 44});
    b::updateSegmentObjects();
    EXPECT_EQ(rec->data()[1], 11);
    EXPECT_EQ(rec->data()[8], 44);
}

TEST_F(HazardEdges, RandomGeneratorAndLaunchDirections) {
    game::cg().randomSeed = 0;
    EXPECT_EQ(game::random(7), 0);
    EXPECT_EQ(game::cg().randomSeed, 177149);
    game::random(7);
    EXPECT_EQ(game::cg().randomSeed, 5710246);
    // Find seeds whose next random(100) is 50 and 51: 50 goes right, 51 left.
    for (jint want : {50, 51}) {
        jint seed = 0;
        for (jint s = 1; s < 2000000; ++s) {
            game::cg().randomSeed = s;
            if (game::random(100) == want) {
                seed = s;
                break;
            }
        }
        ASSERT_NE(seed, 0);
        cActor* a = make(68, 2, 500, 600, 0, {});
        game::cg().randomSeed = seed;
        b::launchRandomly(a);
        EXPECT_EQ(a->motion->data()[2], want == 50 ? 1958 : -1958) << want;
        EXPECT_EQ(a->motion->data()[3], -3622);
        EXPECT_EQ(a->motion->data()[1], 435);
        EXPECT_EQ(a->aiState, 8);
        EXPECT_EQ(a->nextState, 40);
        EXPECT_EQ(a->timer, 13);
        EXPECT_EQ(a->flags & 0xA0010, 0xA0010);
    }
}

TEST_F(HazardEdges, PartFieldLaysItsGridAndReseedsSparks) {
    for (jint subtype : {106, 143}) {
        game::cg().randomSeed = 12345;
        cActor* f = make(subtype, 28, 0, 0, 0, {});
        b::initRandomParts(f);
        ASSERT_EQ(f->parts->length(), 61);
        for (jint i = 0; i < 12; ++i) {
            const jint x = f->parts->data()[13 + i], y = f->parts->data()[25 + i];
            EXPECT_LE(x, 487);
            EXPECT_LE(y, 367);
            EXPECT_GE(x, (i % 4) * 160);
            EXPECT_GE(y, (i / 3) * 120);
            EXPECT_LT(f->parts->data()[1 + i], subtype == 106 ? 7 : 2);
        }
        game::removeActor(f, true);
    }
    b::hf::setAmbientAnimOn(true);
    cActor* f = make(106, 28, 0, 0, 0, {});
    b::initRandomParts(f);
    b::hf::sparkTimers()[0] = 1;
    b::hf::sparkTimers()[1] = 2;
    step(f);
    EXPECT_GE(b::hf::sparkTimers()[0], 15);
    EXPECT_LE(b::hf::sparkTimers()[0], 34);
    EXPECT_EQ(b::hf::sparkTimers()[1], 1);
    EXPECT_EQ(f->parts->data()[0], 640);
    for (int i = 0; i < 200; ++i) {
        step(f);
        for (int s = 0; s < 5; ++s) EXPECT_GE(b::hf::sparkTimers()[s], 1);
    }
    // Switched off, nothing moves.
    b::hf::setAmbientAnimOn(false);
    const jint scroll = f->parts->data()[0];
    step(f, 3);
    EXPECT_EQ(f->parts->data()[0], scroll);
    b::hf::setAmbientAnimOn(true);
}

TEST_F(HazardEdges, HatchWithNoOpeningTimeOpensOnTheNextStep) {
    for (jint opening : {0, -5, 1}) {
        const int before = countSubtype(126);
        cActor* h = make(69, 37, 2000, 684, 10, {60, 60, -30, -60, static_cast<int16_t>(opening), 20});
        step(h, 2);  // set-up; the hero is in the box
        ASSERT_EQ(h->aiState, 23) << opening;
        step(h);
        EXPECT_EQ(h->aiState, 9) << opening;
        EXPECT_EQ(countSubtype(126) - before, 1) << opening;
        EXPECT_EQ(h->parts->data()[0], 10);
        game::removeActor(h, true);
    }
}

TEST_F(HazardEdges, GazeCreatureFreezesWhenTheHeroTurnsAwayAndKeepsZeroAccelAtZeroDistance) {
    cActor* g = make(70, 47, 1900, 684, 0, {400, 300, -200, -250, 30}, 20, 20);
    hero->facing = 0;  // looks right, toward the creature? It lies left: hero x > x, facing 0 looks right
    step(g, 2);
    EXPECT_EQ(g->anim, 0);
    EXPECT_GT(g->motion->data()[0], 0);
    // The hero turns his back (facing 1 with hero x > x): frozen at once.
    hero->facing = 1;
    step(g);
    EXPECT_EQ(g->anim, 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(g->motion->data()[i], 0);
    // At the hero's very position the acceleration stays 0.
    hero->facing = 0;
    cActor::moveTo(g, hero->posX << 8, hero->posY << 8);
    g->motion->data()[2] = g->motion->data()[3] = 0;
    step(g);
    EXPECT_EQ(g->motion->data()[0], 0);
    EXPECT_EQ(g->motion->data()[1], 0);
}

TEST_F(HazardEdges, GazeCreatureSpeedIsCappedAt1024) {
    cActor* g = make(70, 47, 1900, 684, 0, {400, 300, -200, -250, 30}, 20, 20);
    hero->facing = 0;
    step(g);
    jint* m = g->motion->data();
    m[0] = m[1] = 0;
    m[2] = 3000;
    m[3] = 4000;
    b::updateType47(g);
    m = g->motion->data();
    EXPECT_EQ(m[2], (3000 << 10) / 5000);
    EXPECT_EQ(m[3], (4000 << 10) / 5000);
    EXPECT_EQ(g->facing, 1);
    m[2] = -1000;
    m[3] = 0;
    b::updateType47(g);
    EXPECT_EQ(g->motion->data()[2], -1000);  // at the cap or under it: unchanged
    EXPECT_EQ(g->facing, 0);
}

TEST_F(HazardEdges, TimedHazardsWithAZeroCycleAreRefused) {
    struct Case {
        jint type;
        std::vector<int16_t> params;
    } cases[] = {{32, {0, 0, 5}}, {32, {10, -10, 5}}, {40, {0, 0, 0}}, {40, {-4, 4, 0}}};
    for (const Case& c : cases) {
        LogCapture log;
        cActor* a = make(71, c.type, 2000, 684, 0, c.params);
        step(a, 2);
        EXPECT_EQ(a->aiState, b::kRefusedState) << c.type;
        EXPECT_TRUE(log.contains("add up to 0")) << c.type;
        game::removeActor(a, true);
    }
}

}  // namespace

// The camera: look-ahead steps, catch-up and divisors, the scripted
// scroll's delay, the chases, the look mode's return, limits, the layer
// positions of parallax rows, and the map regions with their sector masks.
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/hero/seam.h"
#include "game/world/regions.h"
#include "tests/game/world/support.h"

namespace {

using namespace worldtest;
namespace w = game::world;

// 100 x 40 cells: 3600 x 1440 px, flat floor on the last row.
std::string bigMap(int columns = 100, int rows = 40) {
    std::string s = "layer 4 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) s += std::string(static_cast<size_t>(columns), r == rows - 1 ? '6' : '.') + "\n";
    return s;
}

class CameraTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadLevel(bigMap());
        hero = makeHero(1000, 39 * 36);
        game::cg().cameraX = 1000;
        game::cg().cameraY = 39 * 36 - 160;
        game::cg().cameraFlags = 9;
    }
    cActor* hero = nullptr;
};

TEST_F(CameraTest, LookAheadStepsTo51) {
    // Standing still: no goal, the look-ahead stays.
    w::updateCamera(1);
    EXPECT_EQ(game::cg().lookAheadX, 0);
    hero->facing = 0;
    hero->motion->data()[2] = 1000;
    std::vector<jint> seen;
    for (int i = 0; i < 4; ++i) {
        w::updateCamera(1);
        seen.push_back(game::cg().lookAheadX);
    }
    EXPECT_EQ(seen, (std::vector<jint>{16, 32, 51, 51}));
}

TEST_F(CameraTest, SmoothStepIsAQuarterCappedAt48) {
    hero->setPosition(game::cg().cameraX + 200, hero->posY);
    const jint x0 = game::cg().cameraX;
    w::updateCamera(1);
    EXPECT_EQ(game::cg().cameraX - x0, 48);
    EXPECT_EQ(game::cg().cameraStepX, 48);
    EXPECT_TRUE(w::isCameraShaking());
}

TEST_F(CameraTest, VerticalCatchUpAndDivisor) {
    struct Case {
        jint heroAboveCentre, div, expectedStep;
    } cases[] = {
        {300, 512, -48},  // dy = -460 used in full (capped step)
        {0, 0, -40},      // dy = -160: a quarter
        {0, 512, -20},    // halved to -80 by the divisor 2.0
    };
    for (const Case& c : cases) {
        game::cg().cameraY = 600;
        hero->setPosition(hero->posX, 600 - c.heroAboveCentre);
        game::cg().cameraDivY = c.div;
        w::updateCamera(1);
        EXPECT_EQ(game::cg().cameraY - 600, c.expectedStep) << c.heroAboveCentre << "/" << c.div;
    }
}

TEST_F(CameraTest, ScriptedScrollDelay) {
    game::cg().cameraFlags = 74;
    game::cg().scrollStepX = 5;
    game::cg().scrollStepY = 0;
    struct Case {
        jint delay;
        std::vector<jint> moves;
    } cases[] = {{0, {0, 0, 0, 0}}, {3, {0, 0, 5, 5}}, {-1, {5, 5, 5, 5}}};
    for (const Case& c : cases) {
        game::cg().scrollDelay = c.delay;
        std::vector<jint> moves;
        for (int i = 0; i < 4; ++i) {
            const jint x0 = game::cg().cameraX;
            w::updateCamera(1);
            moves.push_back(game::cg().cameraX - x0);
        }
        EXPECT_EQ(moves, c.moves) << c.delay;
    }
}

TEST_F(CameraTest, ChasesAdvanceByTheRunFactor) {
    game::ca().runSpeedFactor = 256;
    game::ca().heroState = 38;
    jint x0 = game::cg().cameraX;
    w::updateCamera(1);
    EXPECT_EQ(game::cg().cameraX - x0, 8);
    game::ca().heroState = 0;
    game::cg().stage = 7;
    x0 = game::cg().cameraX;
    w::updateCamera(1);
    EXPECT_EQ(game::cg().cameraX - x0, 11);
}

// Level 7 counts the frames the hero is left more than 400 px behind on the
// hero's own counter limit (50 again once it catches up); a FLY shot's
// counter limit of 3 is the shot's, and leaves the hero's count alone.
TEST_F(CameraTest, LevelSevenCountsTheHeroLeftBehindOnItsOwnCounterLimit) {
    game::ca().runSpeedFactor = 256;
    game::ca().heroState = 0;
    game::cg().stage = 7;
    hero->counterLimit = 50;
    game::cg().cameraX = hero->posX + 405;  // 416 px ahead after this step's 11
    w::updateCamera(1);
    EXPECT_EQ(hero->counterLimit, 49);
    cActor* shot = game::hero::spawnShot(hero->posX, hero->posY - 40);
    ASSERT_NE(shot, nullptr);
    game::hero::setShotCounters(shot);
    EXPECT_EQ(shot->counter, 0);
    EXPECT_EQ(shot->counterLimit, 3);
    w::updateCamera(1);
    EXPECT_EQ(hero->counterLimit, 48) << "the shot's limit reached the hero's count";
    game::cg().cameraX = hero->posX;
    w::updateCamera(1);
    EXPECT_EQ(hero->counterLimit, 50);
}

TEST_F(CameraTest, LookModeReturnsAndLimitsHold) {
    game::cg().lookMode = 66;
    w::updateCamera(1);  // standing still: no horizontal move
    EXPECT_EQ(game::cg().lookMode, 99);
    w::setCameraLimits(0, 0, 800, 480);
    for (int i = 0; i < 3; ++i) {
        w::updateCamera(i % 2);
        EXPECT_EQ(game::cg().cameraX, 400);
        EXPECT_EQ(game::cg().cameraY, 240);
    }
}

TEST_F(CameraTest, ParallaxRowsFollowTheStage) {
    // Stage 1, layer 1: ints 12 + 4 of the table.
    IntArray* t = newIntArray(48);
    for (jint i = 0; i < 48; ++i) t->data()[i] = 1;
    t->data()[16] = 1, t->data()[17] = 2, t->data()[18] = 1, t->data()[19] = 4;
    game::cg().layerParams = t;
    game::cg().stage = 1;
    game::cg().cameraX = 1400;
    game::cg().cameraY = 640;
    w::updateLayerOffsets();
    EXPECT_EQ(w::getLayerX(1), (1400 - 400) / 2 + 400);
    EXPECT_EQ(w::getLayerY(1), (640 - 240) / 4 + 240);
    EXPECT_EQ(w::getLayerX(0), 1400);
    EXPECT_EQ(w::getLayerX(7), 1400);
    // A zero denominator scrolls 1:1 (logged) rather than trapping.
    LogCapture log;
    t->data()[17] = 0;
    w::updateLayerOffsets();
    EXPECT_EQ(w::getLayerX(1), 1400);
    EXPECT_EQ(w::getLayerViewTop(1, true), 640 - 240);
}

// --- regions -----------------------------------------------------------------------------

TEST_F(CameraTest, RegionTableAndSectorMasks) {
    loadLevel(bigMap(178, 40) + "regions\nregion 2 3 4 2 2 1\n  5 6<\n");
    ASSERT_EQ(w::regionCount(), 1);
    ShortArray* rect = static_cast<ShortArray*>(game::cg().regionRects->data()[0]);
    EXPECT_EQ(std::vector<jshort>(rect->data(), rect->data() + 4), (std::vector<jshort>{72, 108, 180, 144}));
    ShortArray* cells = static_cast<ShortArray*>(game::cg().regionCells->data()[0]);
    EXPECT_EQ(cells->data()[1], 6 | 0x4000);
    w::setRegionStateInRect(1, 0, 0, 10, 10);
    EXPECT_EQ(game::cg().regionStates->data()[0], 0);
    w::setRegionStateInRect(1, 100, 100, 110, 110);
    EXPECT_EQ(game::cg().regionStates->data()[0], 1);
    // 178 cells = 6408 px wide: two... three sector columns? (6408-1)/3200+1 = 3.
    game::cg().mapPixelWidth = 6400;
    game::cg().mapPixelHeight = 3000;
    struct Case {
        jint x, y;
        jlong mask;
    } cases[] = {{1000, 700, 1}, {3300, 1500, 0b1111}};
    for (const Case& c : cases) {
        game::cg().cameraX = c.x;
        game::cg().cameraY = c.y;
        EXPECT_EQ(w::setActivationArea(), c.mask) << c.x;
    }
    const jshort* a = game::cg().activationArea->data();
    EXPECT_EQ(std::vector<jshort>(a, a + 4), (std::vector<jshort>{2100, 1020, 4500, 1980}));
    // With the stage's flag set only row 0 counts.
    game::cg().regionFlags->data()[game::cg().stage] = 1;
    EXPECT_EQ(w::setActivationArea(), 0b11);
}

TEST_F(CameraTest, RegionTablesRefusedWhole) {
    struct Case {
        const char* what;
        kit::Bytes bytes;
        jint count;
    } cases[] = {
        {"count 0", {0}, 0},
        {"negative count", {0xFF}, 0},
        {"0 columns", {1, 0, 1, 0, 1, 2, 2, 0, 1}, 0},
        {"cut short", {1, 0, 1, 0, 1, 2, 2, 1, 1, 0}, 0},
        {"65534 and 65535", {1, 0, 0, 0, 0, 1, 1, 2, 1, 0xFF, 0xFE, 0xFF, 0xFF}, 1},
    };
    for (const Case& c : cases) {
        LogCapture log;
        w::loadMapRegions(javaBytes(c.bytes));
        EXPECT_EQ(w::regionCount(), c.count) << c.what;
        if (c.count == 1) {
            ShortArray* cells = static_cast<ShortArray*>(game::cg().regionCells->data()[0]);
            EXPECT_EQ(cells->data()[0], -2);
            EXPECT_EQ(cells->data()[1], -1);
        }
    }
}

}  // namespace

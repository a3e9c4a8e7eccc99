// Collision map queries, the map writers, the physics step and stepping:
// the edge cases of the tile rules on small maps the kit writes.
#include "game/world/body.h"
#include "game/world/map.h"
#include "tests/game/world/support.h"

namespace {

using namespace worldtest;
namespace w = game::world;

// Row 10: class 0, void, class 2, void, wall, void, class 8, class 15,
// class 7, mirrored class 0; row 11 all walls.
const char* const kQueries = R"(
layer 4 10 12
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
0.2.6.8f70<
6666666666
)";

class MapTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadLevel(kQueries);
    }
};

TEST_F(MapTest, AnswersOutsideTheMap) {
    struct Case {
        jint column, row, expected;
    } cases[] = {
        {-1, 0, 6}, {10, 0, 6}, {0, -1, -1}, {0, 12 + 108, -1}, {0, 12 + 109, 6}, {4, 10, 6}, {1, 10, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(w::getTile(c.column, c.row, 0), c.expected) << c.column << "," << c.row;
    EXPECT_EQ(w::getTile(1, 10, 2), 6);  // void as wall in mode 2
    EXPECT_FALSE(w::testTileFlag(-1, 0));
}

TEST_F(MapTest, GroundSurfaceOnSlopesAndEdges) {
    const jint cx0 = 0, cx2 = 72;
    struct Case {
        const char* what;
        jint x, y, expected, contact;
    } cases[] = {
        {"class 0 at row 10", cx0 + 8, 375, 362, 128},
        {"class 2 at row 10", cx2 + 8, 375, 380, 128},
        {"f = 35 above a thin platform", 6 * 36 + 4, 359, 360, 0},
        {"f = 20 over void", 36 + 4, 344, -1, 0},
        {"class 7 half block", 8 * 36 + 4, 375, 378, 128},
        {"mirrored class 0", 9 * 36 + 8, 375, 360 + (9 * 36 - (9 * 36 + 8) + 36) / 4, 64},
        {"wall is no ground", 4 * 36 + 4, 375, -1, 0},
    };
    for (const Case& c : cases) {
        game::ca().collisionResult = 0;
        EXPECT_EQ(w::getGroundY(c.x, c.y), c.expected) << c.what;
        EXPECT_EQ(game::ca().collisionResult, c.contact) << c.what;
    }
}

TEST_F(MapTest, FlagsForHeroAndOthersAndDynamicCells) {
    cActor* hero = makeHero(100, 300);
    cActor* other = spawnRecord(kit::levelActorRecord(1, 20, 50, 50, 0, 0xA0, {10, 10}));
    ASSERT_TRUE(hero && other);
    EXPECT_EQ(w::getTileFlags(hero, 7, 10), 12);
    EXPECT_EQ(w::getTileFlags(other, 7, 10), 4);
    EXPECT_EQ(w::getTileFlags(other, 4, 10), 12);
    EXPECT_EQ(w::getTileFlags(other, 6, 10), 8);
    EXPECT_EQ(w::getTileFlags(other, 1, 10), 0);
    // A dynamic cell owned by a tile block (type 4): wall for the solid
    // query, resolved through its owner for the flags.
    cActor* block = spawnRecord(kit::levelActorRecord(3, 77, 200, 200, 0, 0xA0, {1, 1, 1, 1}));
    ASSERT_TRUE(block);
    ASSERT_EQ(block->type, 4);
    game::cg().collisionMap->data()[1 + 10 * 10] = static_cast<jshort>(0x2000 | 77);
    EXPECT_TRUE(w::testTileFlag(1, 10));
    EXPECT_EQ(w::getTile(1, 10, 1), 6);
    EXPECT_EQ(w::getTile(1, 10, 0), 77);
    other->physicsFlags = 0;
    EXPECT_EQ(w::getTileFlags(other, 1, 10), 0x2C000C);
    EXPECT_EQ(other->physicsFlags & 0x8000, 0x8000);
    EXPECT_EQ(game::ca().tileOwner, block);
    // An owner that is neither live nor recorded stays solid.
    game::cg().collisionMap->data()[3 + 10 * 10] = static_cast<jshort>(0x2000 | 555);
    EXPECT_EQ(w::getTileFlags(other, 3, 10), 12);
    EXPECT_EQ(game::ca().tileOwner, nullptr);
}

TEST_F(MapTest, DynamicCellSpawnsItsOwnerFromTheRecord) {
    loadLevel(std::string(kQueries) + "object 3 88 400 200 1 0 160 1 1 1 1\n");
    makeHero(100, 300);
    ASSERT_EQ(game::getActorById(88), nullptr);
    game::cg().collisionMap->data()[2 + 5 * 10] = static_cast<jshort>(0x2000 | 88);
    cActor* mover = spawnRecord(kit::levelActorRecord(1, 21, 50, 50, 0, 0xA0, {10, 10}));
    EXPECT_EQ(w::getTileFlags(mover, 2, 5), 0x2C000C);
    cActor* owner = game::getActorById(88);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->flags & 0x80000, 0x80000);
}

TEST_F(MapTest, MissingCollisionMapReadsVoid) {
    game::cg().collisionMap = nullptr;
    EXPECT_EQ(w::getTile(4, 10, 0), -1);
    EXPECT_EQ(w::getTile(4, 10, 2), 6);
    EXPECT_EQ(w::getTile(-1, 10, 0), 6);
    EXPECT_FALSE(w::testTileFlag(4, 10));
    EXPECT_EQ(w::getGroundY(8, 375), -1);
}

TEST_F(MapTest, FillTileRectRoundsAndClips) {
    struct Case {
        const char* what;
        jint layer, left, top, right, bottom;
        int written;
    } cases[] = {
        {"below half a cell", 4, 0, 0, 17, 17, 0},
        {"half a cell", 4, 0, 0, 18, 18, 1},
        {"past the layer", 4, 300, 380, 900, 900, 2},
        {"negative corner", 4, -100, -100, 18, 18, 1},
        {"missing layer", 0, 0, 0, 100, 100, 0},
        {"layer 7", 7, 0, 0, 100, 100, 0},
        {"layer -1", -1, 0, 0, 100, 100, 0},
    };
    for (const Case& c : cases) {
        loadLevel(kQueries);
        w::fillTileRect(c.layer, 31, c.left, c.top, c.right, c.bottom);
        int n = 0;
        for (jint i = 0; i < game::cg().collisionMap->length(); ++i) n += game::cg().collisionMap->data()[i] == 31;
        EXPECT_EQ(n, c.written) << c.what;
    }
}

TEST_F(MapTest, AttributeNibbles) {
    loadLevel(std::string(kQueries) + "object 1 5 10 10 1 0 160 1 1\nobject 1 6 10 10 1 0 160 1 1\n");
    ByteArray* a = game::cg().tileAttributes;
    ASSERT_GE(a->length(), 2);
    w::setTileAttribute(1, 1, true);
    EXPECT_EQ(a->data()[1], 0x11);
    a->data()[1] = 0x20;
    w::setTileAttribute(1, 1, false);
    EXPECT_EQ(a->data()[1], 0x21);
    EXPECT_EQ(w::getTileAttribute(1, 240), 2);
    w::setTileAttribute(0x1000000 | 1, 3, false);
    EXPECT_EQ(game::cg().tileAttributesAlt->data()[1], 3);
    w::setTileAttribute(0, 5, true);  // id 0 does nothing
    EXPECT_EQ(a->data()[0], 0);
    LogCapture log;
    w::setTileAttribute(500, 5, true);
    EXPECT_EQ(w::getTileAttribute(0x1000000 | 99, 15), 0);
    EXPECT_TRUE(log.contains("outside its table"));
}

// --- physics ---------------------------------------------------------------------------

const char* const kFloor = R"(
layer 4 12 12
............
............
............
............
............
......mm....
............
............
............
............
...o..666...
666666666666
)";

struct Step {
    jint result;
    jint dx, dy;  // whole px
};

Step physics(cActor* h, jint vx, jint vy, jint flags = 0x1000000 | 1) {
    h->physicsFlags = flags;
    h->motion->data()[2] = vx;
    h->motion->data()[3] = vy;
    game::ca().physicsDx = game::ca().physicsDy = 0;
    h->getBounds(h->savedBox);
    w::heroPhysics(h);
    return {game::ca().collisionResult, game::ca().physicsDx >> 8, game::ca().physicsDy >> 8};
}

class PhysicsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadLevel(kFloor);
    }
};

TEST_F(PhysicsTest, StandingHeroIsOnGroundAndLanded) {
    cActor* h = makeHero(60, 396);
    Step s = physics(h, 0, 0);
    EXPECT_EQ(s.result, 0x100008);
    EXPECT_EQ(s.dy, 0);
    EXPECT_EQ(h->motion->data()[3], 6912);
}

TEST_F(PhysicsTest, LedgeStopAndSubPixelMoves) {
    // Past the edge of the platform (row 10, columns 6-8): the stick of
    // 27 px finds nothing under column 4.
    cActor* h = makeHero(4 * 36 + 18, 360);
    Step s = physics(h, -2560, 0, 0x1000000 | 1 | 8);
    EXPECT_EQ(s.result & 3, 2);
    EXPECT_EQ(s.dx, 0);
    EXPECT_EQ(s.dy, 0);
    // vx = 200 moves nothing in a step, 1 px as a forced move.
    h = makeHero(60, 396);
    s = physics(h, 200, 0);
    EXPECT_EQ(s.dx, 0);
    const jint x0 = h->posX;
    w::moveHeroBy(h, 200, 0);
    EXPECT_EQ(h->posX, x0 + 1);
}

// The most negative speed: its magnitude wraps as Java's Math.abs does
// (it stays negative), and the swept edge, a 16-bit coordinate, comes back
// to where it was (8388608 px is a whole number of 65536-px turns): the
// step meets nothing and moves nothing. A forced move of that size is not
// stopped by a sweep that met nothing: the hero goes the whole way.
TEST_F(PhysicsTest, TheMostNegativeSpeedSweepsNothing) {
    cActor* h = makeHero(60, 396);
    Step s = physics(h, java::kIntMin, 0, 0x1000000);
    EXPECT_EQ(s.dx, 0);
    EXPECT_FALSE(s.result & 4);
    s = physics(h, 0, java::kIntMin, 0x1000000);
    EXPECT_EQ(s.dy, 0);
    const jint x0 = h->posX;
    w::moveHeroBy(h, java::kIntMin, 0);
    EXPECT_EQ(h->posX, x0 - 8388608);
}

TEST_F(PhysicsTest, ConveyorAndOneWayFloors) {
    // Class 24 (o) at column 3, row 10: the hero standing on it drifts 5 px.
    cActor* h = makeHero(3 * 36 + 18, 360);
    Step s = physics(h, 0, 0);
    EXPECT_TRUE(s.result & 0x2000000);
    EXPECT_EQ(s.dx, 5);
    // Class 22 (m) at row 5: rising passes, falling lands.
    h = makeHero(6 * 36 + 18, 6 * 36 + 10);
    s = physics(h, 0, -30 * 256, 0x1000000);
    EXPECT_EQ(s.dy, -30);
    EXPECT_FALSE(s.result & 8);
    h = makeHero(6 * 36 + 18, 5 * 36 - 4);
    s = physics(h, 0, 20 * 256, 0x1000000);
    EXPECT_EQ(s.dy, 4);
    EXPECT_EQ(s.result & 0x100008, 0x100008);
}

TEST_F(PhysicsTest, WallsStopSideways) {
    cActor* h = makeHero(5 * 36 - 10, 396);  // row 10 columns 6-8 are walls to the right
    Step s = physics(h, 40 * 256, 0, 0x1000000);
    EXPECT_TRUE(s.result & 4);
    EXPECT_EQ(h->savedBox->data()[2] + s.dx, 6 * 36);
}

TEST_F(PhysicsTest, BoxGrowsUpwardKeepingTheFeet) {
    cActor* h = makeHero(60, 396);
    cActor::setBox(h->box, 60 - 16, 396 - 50, 60 + 17, 396);  // 33 x 50
    w::setBoxSize(h, 33, 85);
    EXPECT_EQ(h->box->data()[2] - h->box->data()[0], 33);
    EXPECT_EQ(h->box->data()[3], 396);
    EXPECT_EQ(h->box->data()[3] - h->box->data()[1], 85);
}

// --- stepping --------------------------------------------------------------------------

TEST_F(PhysicsTest, SteppingEndsAtTheClassAndIsBounded) {
    // A ladder (class 9 = '9') of three cells down column 1 from row 2.
    loadLevel(R"(
layer 4 4 8
....
....
.9..
.9..
.9..
....
6666
6666
)");
    cActor* h = makeHero(54, 2 * 36 + 20);
    w::stepTilesWhileClass(h, 0, 1, 1 << 9);
    EXPECT_EQ(h->posY, (h->box->data()[3] / 36) * 36 + 35);
    EXPECT_EQ(h->box->data()[3] / 36, 5);
    // No ending cell in the direction: stops after map height + 110 cells.
    LogCapture log;
    h = makeHero(54, 100);
    w::stepTilesUntilClass(h, 0, -1, 1 << 30);
    EXPECT_TRUE(log.contains("without an ending cell"));
}

TEST_F(PhysicsTest, SnapToGroundWithinFourPixels) {
    struct Case {
        jint above;
        jint moved;
    } cases[] = {{3, 3}, {4, 0}, {0, 0}};
    for (const Case& c : cases) {
        cActor* h = makeHero(60, 396 - c.above);
        const jint y0 = h->posY;
        w::snapToGround(h);
        EXPECT_EQ(h->posY - y0, c.moved) << c.above;
    }
}

}  // namespace

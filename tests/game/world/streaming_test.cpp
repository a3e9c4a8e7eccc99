// Level set-up from the object list, the streaming pass's ratings, the
// active list, and checkpoints.
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "tests/game/world/support.h"

namespace {

using namespace worldtest;
namespace w = game::world;

std::string room(int columns = 120, int rows = 20) {
    std::string s = "layer 4 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) s += std::string(static_cast<size_t>(columns), r == rows - 1 ? '6' : '.') + "\n";
    return s;
}

class StreamingTest : public WorldTest {};

TEST_F(StreamingTest, SetUpCountsAndPacks) {
    loadLevel(room() +
              "rect 10 0 0 720 480\n"
              "object 2 31 100 100 1 0 0 0 8\n"    // 10 collectibles
              "object 2 32 100 100 2 0 0 0 8\n"    // not in this level
              "object 2 33 100 100 1 0 0 0 4\n"    // none
              "object 6 34 100 100 1 0 0\n"        // 7 values: [8] reads 0
              "object 19 35 100 100 1 0 0\n");
    EXPECT_EQ(w::recordCount(), 5);
    EXPECT_EQ(game::cg().itemsTotal, 10);
    EXPECT_EQ(game::cg().specialsTotal, 1);
    EXPECT_EQ(game::cg().secretsTotal, 1);
    EXPECT_EQ(game::ca().rectCount, 1);
    EXPECT_EQ(game::cg().recordIds->data()[3], 34);
    EXPECT_EQ(w::recordValue(3, 8), 0);
    EXPECT_EQ(w::recordValue(0, 8), 8);
    EXPECT_EQ(game::cg().recordStarts->data()[5], 9 + 9 + 9 + 7 + 7);
    // Only settings records: no objects, starts {0}.
    loadLevel(room() + "rect 10 0 0 720 480\nitem 12 1 2 3 4 5 6 7 8 9\n");
    EXPECT_EQ(w::recordCount(), 0);
    EXPECT_EQ(game::cg().recordStarts->length(), 1);
    EXPECT_EQ(game::cg().recordStarts->data()[0], 0);
}

TEST_F(StreamingTest, RatingsAtTheMargin) {
    struct Case {
        const char* what;
        jint offset, flags;
        bool pinned;
        bool actor;
        jint rating;
    } cases[] = {
        {"in view", 300, 0, false, true, 0},
        {"900 px out: kept, not listed", 900, 0, false, true, 2},
        {"1000 px out: removed", 1000, 0, false, false, -1},
        {"1000 px out, run-time actor: kept", 1000, 0x80000, false, true, 3},
        {"1000 px out, pinned: kept", 1000, 0, true, true, 3},
        {"flag 0x20000: at most 1", 1000, 0x20000, false, true, 1},
        {"flag 0x40000: x alone", 300, 0x40000, false, true, 0},
    };
    for (const Case& c : cases) {
        const jint y = c.flags == 0x40000 ? 19 * 36 - 2000 : 19 * 36 - 100;
        // The body box is 32 px wide: its left edge lies offset px right of
        // the centre.
        loadLevel(room() + "object 1 50 " + std::to_string(1000 + c.offset + 16) + " " + std::to_string(y) +
                  " 1 0 160 2 2\n");
        makeHero(1000, 19 * 36);
        game::cg().cameraX = 1000;
        game::cg().cameraY = 19 * 36 - 100;
        // The actor exists first (made while near), then the view is rated.
        cActor* a = w::recordCount() ? game::spawnActor(game::cg().recordValues, w::recordLength(0), 0) : nullptr;
        ASSERT_NE(a, nullptr) << c.what;
        a->flags |= c.flags;
        if (c.pinned) a->setRespawnInfo(a->posX, a->posY, 0), a->respawnRecord->data()[0] = 5;
        w::updateLevelObjects();
        cActor* live = game::getActorById(50);
        EXPECT_EQ(live != nullptr, c.actor) << c.what;
        if (live) { EXPECT_EQ(live->viewRating, c.rating) << c.what; }
        w::updateAllActors();
        bool listed = false;
        for (jint i = 0; i < game::cg().activeActorCount; ++i) listed |= game::activeActor(i) == live && live;
        EXPECT_EQ(listed, c.actor && c.rating < 2) << c.what;
    }
}

TEST_F(StreamingTest, RecordsComeNearAndFullPoolRetries) {
    loadLevel(room() + "object 1 60 1200 600 1 0 160 2 2\n");
    makeHero(1000, 19 * 36);
    game::cg().cameraX = 1000;
    game::cg().cameraY = 600;
    // Fill the pool.
    ShortArray* filler = newShortArray(9);
    ShortArray::fill(filler, {1, 9000, 0, 0, 1, 0, 160, 2, 2});
    jint made = 0;
    while (game::spawnActor(filler, 9, 0)) ++made;
    ASSERT_GT(made, 0);
    w::updateLevelObjects();
    EXPECT_EQ(game::getActorById(60), nullptr);
    game::removeActorAt(0);
    w::updateLevelObjects();
    cActor* a = game::getActorById(60);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->recordIndex, 0x1000000);
    EXPECT_EQ(a->viewRating, 0);
}

TEST_F(StreamingTest, NoHeroKeepsThePassesIdle) {
    loadLevel(room() + "object 1 60 1200 600 1 0 160 2 2\n");
    game::cg().hero = nullptr;
    LogCapture log;
    w::updateLevelObjects();
    w::updateHeroFrame();
    w::updateLevelObjects();
    EXPECT_EQ(game::getActorById(60), nullptr);
    EXPECT_TRUE(log.contains("without a hero"));
    size_t n = 0;
    for (const std::string& l : log.lines()) n += l.find("without a hero") != std::string::npos;
    EXPECT_EQ(n, 1u);
}

TEST_F(StreamingTest, MoreThanSixtyFourSectorsStreamUnfiltered) {
    LogCapture log;
    loadLevel(room(100, 20) );
    EXPECT_EQ(game::cg().sectorFilterOff, 0);
    // 21 sector columns x 4 rows.
    game::cg().mapPixelWidth = 21 * 3200;
    game::cg().mapPixelHeight = 3 * 1440 + 10;
    loadLevel(room(1867, 4));
    game::cg().mapPixelHeight = 3 * 1440 + 10;
    w::setupLevelMap();
    EXPECT_EQ(game::cg().sectorFilterOff, 1);
    EXPECT_TRUE(log.contains("without the sector filter"));
}

TEST_F(StreamingTest, RefusedObjectListsLeaveAnEmptyLevel) {
    struct Case {
        const char* what;
        kit::Bytes bytes;
    } cases[] = {
        {"25 values", kit::Bytes(1, 25)},
        {"cut short", kit::Bytes{7, 1, 0, 2, 0}},
        {"object of 6", kit::Bytes{6, 1, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        LogCapture log;
        game::cg().levelObjectData = javaBytes(c.bytes);
        w::setupLevelMap();
        EXPECT_EQ(w::recordCount(), 0) << c.what;
        EXPECT_TRUE(log.contains("list refused")) << c.what;
    }
}

// --- checkpoints ------------------------------------------------------------------------

TEST_F(StreamingTest, CheckpointsRecordTheGround) {
    loadLevel(room());
    cActor* h = makeHero(500, 200);  // in the air over the floor row 19
    game::ca().heroState = 2;
    w::setCheckpoint(h);
    EXPECT_EQ(h->respawnRecord->data()[2], 19 * 36);
    EXPECT_EQ(game::ca().checkpointKeepsY, 0);
    game::ca().heroState = 38;
    w::setCheckpoint(h);
    EXPECT_EQ(h->respawnRecord->data()[2], 200);
    EXPECT_EQ(game::ca().checkpointKeepsY, 1);
    EXPECT_EQ(game::cg().checkpointActor, h);
}

TEST_F(StreamingTest, CheckpointCopiesStatsNibblesAndCamera) {
    loadLevel(room() + "object 1 5 10 10 1 0 160 1 1\n");
    cActor* h = makeHero(500, 19 * 36);
    game::cg().tileAttributesAlt->data()[0] = 0x02;
    game::cg().recordPendingFlags->data()[0] = 0x01;  // set flag bit 4 at the commit
    game::cg().heroStatus->data()[3] = 7;
    game::cg().cameraX = 900;
    w::setCheckpoint(h);
    EXPECT_EQ(game::cg().tileAttributesAlt->data()[0], 0x22);
    EXPECT_EQ(game::cg().checkpointHeroStats->data()[3], 7);
    EXPECT_EQ(game::cg().checkpointCameraX, 900);
    EXPECT_EQ(w::recordValue(0, 6) & 0x10, 0x10);
    EXPECT_EQ(game::cg().recordPendingFlags->data()[0], 0);
    // The restart: the limits come back, the centre snaps to the hero.
    game::cg().cameraX = 3000;
    w::setCameraLimits(0, 0, 10, 10);
    w::restoreCheckpointCamera();
    EXPECT_EQ(w::cameraLimit(2), 120 * 36);
    EXPECT_EQ(game::cg().cameraX, 500);
    // On a stage with the region flag the saved centre stays.
    game::cg().regionFlags->data()[game::cg().stage] = 1;
    w::restoreCheckpointCamera();
    EXPECT_EQ(game::cg().cameraX, 900);
}

TEST_F(StreamingTest, InitCheckpointWithAndWithoutAStartScript) {
    struct Case {
        const char* what;
        std::vector<int16_t> params;
        bool scene;
        jint cameraX;
    } cases[] = {
        {"no start script", {99, -1, 300, -1, -1}, false, 1000},
        {"start script 4", {4, 1500, 400, -1, -1}, true, 1500},
    };
    for (const Case& c : cases) {
        loadLevel(room() + "script 4\n target none\n  key 2\n   op 37 1\n");
        cActor* h = spawnRecord(kit::levelActorRecord(0, 1, 500, 19 * 36, 0, 0xA0, c.params));
        game::cg().hero = h;
        game::cg().checkpointActor = nullptr;
        game::cg().cameraX = 1000;
        w::initCheckpoint();
        EXPECT_EQ(game::cg().checkpointActor == h, !c.scene) << c.what;
        EXPECT_EQ(game::cg().checkpointAtSceneEnd, c.scene ? 1 : 0) << c.what;
        EXPECT_EQ(game::cg().cameraX, c.cameraX) << c.what;
        for (int i = 0; i < 4 && c.scene; ++i) w::runLevelScripts();
        EXPECT_EQ(game::cg().checkpointActor, h) << c.what;
    }
}

}  // namespace

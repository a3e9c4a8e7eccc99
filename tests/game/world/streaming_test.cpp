// Level set-up from the object list, the streaming pass's ratings, the
// active list, and checkpoints.
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "game/actor/pool.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/sprite.h"
#include "tests/game/sprite/support.h"
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
    // One mark per record, made with the level; the totals the results
    // screen reads are the same after the level is loaded again.
    ASSERT_NE(game::cg().levelObjectMarks, nullptr);
    EXPECT_EQ(game::cg().levelObjectMarks->length(), 5);
    loadLevel(room() + "object 2 31 100 100 1 0 0 0 1\nobject 19 35 100 100 1 0 0\n");
    loadLevel(room() + "object 2 31 100 100 1 0 0 0 1\nobject 19 35 100 100 1 0 0\n");
    EXPECT_EQ(game::cg().itemsTotal, 1) << "the items total grows with each load";
    EXPECT_EQ(game::cg().secretsTotal, 1);
    EXPECT_EQ(game::cg().specialsTotal, 0);
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

// The streaming pass spawns a record only in the levels its mask names:
// mask 0 names none; -1 puts it in every level.
TEST_F(StreamingTest, ARecordSpawnsOnlyInTheLevelsItsMaskNames) {
    struct Case {
        jint mask;
        bool spawned;
    } cases[] = {{1, true}, {0, false}, {2, false}, {-1, true}};
    for (const Case& c : cases) {
        loadLevel(room() + "object 1 50 1316 " + std::to_string(19 * 36 - 100) + " " + std::to_string(c.mask) +
                  " 0 160 2 2\n");
        makeHero(1000, 19 * 36);
        game::cg().cameraX = 1000;
        game::cg().cameraY = 19 * 36 - 100;
        w::updateLevelObjects();
        EXPECT_EQ(game::getActorById(50) != nullptr, c.spawned) << "mask " << c.mask;
    }
}

// A chain (type 52) has no box of its own: it is rated by a box around its
// links. Its anchor lies out of reach of the view; the links decide. Laid
// out, the links are the chain's parts (offsets in 1/256 px); not laid out
// yet, any of its n links of 21 px may reach n x 21 px. A cycle in its
// attached effects does not matter to the box.
TEST_F(StreamingTest, ChainsAreRatedByTheirLinks) {
    enum class Layout { None, TowardTheView, AwayFromTheView };
    struct Case {
        const char* what;
        jint links;
        Layout layout;
        bool effectCycle;
        bool kept;
    } cases[] = {
        {"anchor alone", 0, Layout::None, false, false},
        {"ten links not laid out", 10, Layout::None, false, true},
        {"ten links toward the view", 10, Layout::TowardTheView, false, true},
        {"ten links away from the view", 10, Layout::AwayFromTheView, false, false},
        {"ten links and an effect cycle", 10, Layout::TowardTheView, true, true},
    };
    const jint margin = cActor::getSubtypeParam(205, 0);
    const jint anchorX = 1000 + margin + 800 + 60;
    const jint y = 19 * 36 - 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        loadLevel(room() + "object 205 70 " + std::to_string(anchorX) + " " + std::to_string(y) + " 1 0 32 " +
                  std::to_string(c.links) + " 0 0\n");
        makeHero(1000, 19 * 36);
        game::cg().cameraX = 1000;
        game::cg().cameraY = y;
        cActor* a = game::spawnActor(game::cg().recordValues, w::recordLength(0), 0);
        ASSERT_NE(a, nullptr);
        ASSERT_EQ(a->type, 52);
        if (c.layout != Layout::None) {
            IntArray* parts = newIntArray(3 * c.links + 2);
            a->parts = parts;
            const jint step = c.layout == Layout::TowardTheView ? -21 : 21;
            for (jint i = 0; i < c.links; ++i) parts->data()[3 * i + 2] = step * i * 256;
        }
        cActor *b = nullptr, *d = nullptr;
        if (c.effectCycle) {
            b = cActor::spawnEffect(nullptr, 3, 0, 0, 2, 0);
            d = cActor::spawnEffect(nullptr, 3, 0, 0, 2, 0);
            ASSERT_TRUE(b && d && b != d);
            a->child = b;
            b->child = d;
            d->child = b;
        }
        w::updateLevelObjects();
        cActor* live = game::getActorById(70);
        EXPECT_EQ(live != nullptr, c.kept);
        if (live) {
            EXPECT_LE(live->viewRating, 2);
            live->child = nullptr;
        }
        if (b) b->child = d->child = nullptr;
    }
}

// A subtype whose constants row reaches constant 13 (rows hold 12 to 14
// ints), or -1.
jint subtypeWithFourteenConstants() {
    IntArray* starts = game::ca().subtypeParamStart;
    for (jint s = 3; s < 400; ++s) {
        const jint row = game::subtypeRow(s);
        if (row < 0 || row + 1 >= starts->length()) continue;
        if (starts->data()[row + 1] - starts->data()[row] >= 14) return s;
    }
    return -1;
}

// Sets constant k of a subtype.
void setConstant(jint subtype, jint k, jint v) {
    cActor* a = newObject<cActor>();
    a->subtype = subtype;
    a->setTypeParam(k, v);
    ASSERT_EQ(cActor::getSubtypeParam(subtype, k), v) << subtype << " constant " << k;
}

// A record with a negative constant width is as wide as its sprite's frame:
// a type-2 record with a 200-px frame whose anchor lies 899 px from the view
// centre is rated in view (its frame edge is 799 px away), at 901 px far.
TEST_F(StreamingTest, RecordSizedByItsSpritesFrame) {
    ASSERT_EQ(cActor::getSubtypeParam(2, 5), 2) << "subtype 2 is an item";
    setConstant(2, 6, -1);
    setConstant(2, 0, 0);
    setConstant(2, 1, 0);
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 200, 20));
    kit::SpriteFrame f;
    f.modules = {{0, -100, -20, 0, 0}};
    m.frames = {f};
    kit::SpriteAnim an;
    an.frames = {{0, 1}};
    m.anims = {an};
    struct Case {
        jint offset;
        bool made;
    } cases[] = {{899, true}, {901, false}, {-899, true}, {-901, false}};
    for (const Case& c : cases) {
        loadLevel(room() + "object 2 70 " + std::to_string(2000 + c.offset) + " " + std::to_string(19 * 36) +
                  " 1 0 160 0 0 3\n");
        ObjectArray* sprites = newObjectArray(cid::Object, 4);
        game::cg().sprites = sprites;
        BSprite* frame = spritetest::loadSprite(m);
        ObjectArray::set(game::cg().sprites, 3, frame);
        makeHero(2000, 19 * 36);
        game::cg().cameraX = 2000;
        game::cg().cameraY = 19 * 36 - 100;
        w::updateLevelObjects();
        cActor* a = game::getActorById(70);
        EXPECT_EQ(a != nullptr, c.made) << c.offset;
        if (a) { EXPECT_EQ(a->viewRating, 0) << c.offset; }
    }
    // Any other type takes its template's sprite (2, 3) with the record's
    // animation (r[5]): subtype 11, the demo's bouncer (type 74).
    ASSERT_EQ(cActor::getSubtypeParam(11, 5), 74);
    setConstant(11, 6, -1);
    setConstant(11, 0, 0);
    setConstant(11, 1, 0);
    setConstant(11, 2, 5);
    setConstant(11, 3, 18);
    for (const Case& c : cases) {
        loadLevel(room() + "object 11 71 " + std::to_string(2000 + c.offset) + " " + std::to_string(19 * 36) +
                  " 1 0 160 2 2\n");
        ObjectArray* index = newObjectArray(cid::IntArray, 32);
        game::cg().spriteIndex = index;
        IntArray* group = newIntArray(8);
        ObjectArray::set(game::cg().spriteIndex, 18, group);
        static_cast<IntArray*>(game::cg().spriteIndex->data()[18])->data()[5] = 2;
        ObjectArray* sprites = newObjectArray(cid::Object, 4);
        game::cg().sprites = sprites;
        BSprite* frame = spritetest::loadSprite(m);
        ObjectArray::set(game::cg().sprites, 2, frame);
        makeHero(2000, 19 * 36);
        game::cg().cameraX = 2000;
        game::cg().cameraY = 19 * 36 - 100;
        w::updateLevelObjects();
        EXPECT_EQ(game::getActorById(71) != nullptr, c.made) << "template sprite, " << c.offset;
    }
}

// Type-8 objects are boxed by their constants 13 (width) and 12 (height)
// around their foot point, as records and as live actors.
TEST_F(StreamingTest, TypeEightBoxFromItsRecordConstants) {
    const jint sub = subtypeWithFourteenConstants();
    ASSERT_GE(sub, 0);
    setConstant(sub, 5, 8);
    setConstant(sub, 0, 0);
    setConstant(sub, 1, 0);
    setConstant(sub, 6, 32);
    setConstant(sub, 7, 32);
    setConstant(sub, 12, 20);
    setConstant(sub, 13, 400);
    // The 400-px box's edge lies 799 px from the view centre: in view (a
    // 32-px box there would be far off).
    loadLevel(room() + "object " + std::to_string(sub) + " 80 " + std::to_string(2000 + 999) + " " +
              std::to_string(19 * 36) + " 1 0 160 0 0 0 0 0 0 0\n");
    makeHero(2000, 19 * 36);
    game::cg().cameraX = 2000;
    game::cg().cameraY = 19 * 36 - 100;
    w::updateLevelObjects();
    cActor* a = game::getActorById(80);
    ASSERT_NE(a, nullptr) << "the record rated by its constants' box";
    EXPECT_EQ(a->type, 8);
    EXPECT_EQ(a->viewRating, 0);
    // Live: the same box around the actor's position.
    cActor::setBox(a->box, a->posX - 16, a->posY - 32, a->posX + 16, a->posY);
    w::updateLevelObjects();
    EXPECT_EQ(game::getActorById(80), a);
    EXPECT_EQ(a->viewRating, 0);
    a->setPosition(a->posX + 2, a->posY);  // its box edge 801 px out: far
    w::updateLevelObjects();
    EXPECT_EQ(a->viewRating, 3);
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

// The level-object list scan: resource requests by type and by value range,
// and orderly stops on damaged lists.
#include "game/flow/screens/levelobjects.h"

#include <functional>
#include <utility>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/tables.h"
#include "tests/game/flow/screens/support.h"
#include "tools/kit/actortables.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo_world.h"
#include "tools/kit/level.h"

namespace {

using screenstest::ScreensTest;
using Request = std::pair<jint, jint>;  // entry, group

// Bytes of records, each a list of values.
ByteArray* list(const std::vector<std::vector<int>>& records, std::vector<uint8_t> tail = {}) {
    std::vector<uint8_t> b;
    for (const auto& r : records) {
        b.push_back(static_cast<uint8_t>(r.size()));
        for (int v : r) {
            b.push_back(static_cast<uint8_t>(v & 0xFF));
            b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        }
    }
    b.insert(b.end(), tail.begin(), tail.end());
    ByteArray* a = newByteArray(static_cast<jint>(b.size()));
    for (size_t i = 0; i < b.size(); ++i) a->data()[i] = static_cast<jbyte>(b[i]);
    return a;
}

std::vector<Request> requests;
void record(jint entry, jint group) { requests.emplace_back(entry, group); }

class LevelObjects : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        requests.clear();
        // The actor tables the scan reads: type t has sprite t + 100 in
        // group 18 (type 9 has no sprite).
        kit::ActorTables tables = kit::demoActorTables();
        for (kit::ActorTables::Row& row : tables.rows) {
            row.values[2] = row.subtype == 9 ? -1 : row.subtype + 100;
            row.values[3] = 18;
        }
        const kit::Bytes bytes = kit::encodeActorTables(tables);
        ASSERT_TRUE(game::loadActorTables(bytes));
    }
};

std::vector<int> object(int type, int p7) { return {type, 1, 0, 0, 0, 0, 0, p7}; }

TEST_F(LevelObjects, TypesAndValueRangesRequestResources) {
    game::loadLevelObjectAssets(list({
        {2000, 0, 0, 0, 0},          // settings: nothing
        object(5, -1),               // sprite 105 only
        object(9, 3),                // no sprite; v 3 < 36: resource 3 of group 18
        object(15, 36),              // sprite 13; v 36: resource 0 of group 19
        object(83, 104),             // nothing for the type; v 104: 67 of group 20
        object(7, 107),              // v 107: 2 of group 21
        object(7, 500),              // past every range: sprite only
        {82, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40},  // value 14: 3 of group 20
    }), &record);
    const std::vector<Request> expected = {{105, 18}, {3, 18}, {13, 18}, {0, 19}, {67, 20},
                                           {107, 18}, {2, 21}, {107, 18}, {3, 20}};
    EXPECT_EQ(requests, expected);
}

TEST_F(LevelObjects, SpecialItemRecordsSetTheLevelItem) {
    game::loadLevelObjectAssets(list({{2, 1, 0, 0, 0, 0, 0, 0, 4, 30}, {2, 1, 0, 0, 0, 0, 0, 0, 1, 31}}), &record);
    EXPECT_EQ(game::ca().item4Id, 30) << "value 8 = 4: the fourth item";
    EXPECT_EQ(game::ca().itemId, 31);
    EXPECT_EQ(requests, (std::vector<Request>{{30, 18}, {31, 18}}));
}

TEST_F(LevelObjects, DamagedListsStopWithOneLogLine) {
    struct Case {
        const char* what;
        ByteArray* bytes;
        const char* logged;
        size_t requestsBefore;
    };
    const Case cases[] = {
        {"zero count", list({object(5, -1)}, {0, 1, 2}), "has 0 values", 1},
        {"oversized count", list({object(5, -1)}, {25}), "has 25 values", 1},
        {"truncated record", list({object(5, -1)}, {3, 7, 0, 1}), "cut short", 1},
    };
    for (const Case& c : cases) {
        requests.clear();
        screenstest::LogCapture log;
        game::loadLevelObjectAssets(c.bytes, &record);
        EXPECT_TRUE(log.contains(c.logged)) << c.what;
        EXPECT_EQ(log.count(), 1u) << c.what;
        EXPECT_EQ(requests.size(), c.requestsBefore) << c.what;
    }
    screenstest::LogCapture log;
    game::loadLevelObjectAssets(nullptr, &record);
    EXPECT_TRUE(log.contains("no object list"));
}

// A record without the value that names an extra resource (a record of 7
// values has no parameters; an item record without its id) asks for its
// type's sprite only, and the records after it are read as usual.
TEST_F(LevelObjects, RecordsTooShortForTheExtraValueAskForNothingMoreAndTheScanGoesOn) {
    screenstest::LogCapture log;
    game::loadLevelObjectAssets(list({
        {193, 42, 1760, 648, 7, 0, 32},          // 7 values: sprite 293 only
        {5, 1, 0},                               // 3 values: sprite 105 only
        {2, 1, 0, 0, 0, 0, 0, 0, 4},             // an item without its id: nothing
        {82, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // value 14 past it: nothing
        object(9, 3),                            // read as usual: 3 of group 18
    }), &record);
    EXPECT_EQ(log.count(), 0u);
    EXPECT_EQ(requests, (std::vector<Request>{{293, 18}, {105, 18}, {3, 18}}));
    EXPECT_EQ(game::ca().itemId, 0) << "no item id without its value";
    EXPECT_EQ(game::ca().item4Id, 0);
}

// The demo stage's own list (13 records: objects, a camera rectangle, two
// links, a container's item; three records of 7 values) is read whole,
// without a log line: every object's sprite is asked for, the exit
// trigger's (the last record) too.
TEST_F(LevelObjects, TheDemoStageListIsReadWhole) {
    const kit::LevelModel stage = kit::parseLevelDescription(kit::kDemoStage);
    ASSERT_EQ(stage.objects.size(), 13u);
    const kit::Bytes bytes = kit::encodeLevelObjects(stage.objects);
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) a->data()[i] = static_cast<jbyte>(bytes[i]);
    int visited = 0;
    EXPECT_TRUE(game::scanLevelObjects(a, a->length(), [](ByteArray*, jint, jint, void* n) {
        ++*static_cast<int*>(n);
        return true;
    }, &visited));
    EXPECT_EQ(visited, 13);
    screenstest::LogCapture log;
    game::loadLevelObjectAssets(a, &record);
    EXPECT_EQ(log.count(), 0u);
    std::vector<Request> sprites;
    int sevenValues = 0;
    for (const kit::LevelRecord& r : stage.objects) {
        const int type = r.values[0];
        sevenValues += r.values.size() == 7;
        if (type < 2000 && type != 2) sprites.emplace_back(type + 100, 18);
    }
    EXPECT_EQ(sevenValues, 3);
    ASSERT_EQ(sprites.back(), Request(304, 18)) << "the exit trigger (204) is the last record";
    // The sprites in list order, the range requests between them.
    size_t next = 0;
    for (const Request& r : requests)
        if (next < sprites.size() && r == sprites[next]) ++next;
    EXPECT_EQ(next, sprites.size()) << "sprite of record " << next << " not asked for";
}

TEST_F(LevelObjects, KitListsAndTheirDamagedFormsScanInAnOrderlyWay) {
    const kit::Bytes valid = kit::encodeLevelObjects({{{5, 1, 10, 20, 0, 0, 0, 3}}, {{15, 2, 0, 0, 0, 0, 0, 36}}});
    {
        screenstest::LogCapture log;
        ByteArray* a = newByteArray(static_cast<jint>(valid.size()));
        for (size_t i = 0; i < valid.size(); ++i) a->data()[i] = static_cast<jbyte>(valid[i]);
        game::loadLevelObjectAssets(a, &record);
        EXPECT_EQ(log.count(), 0u) << "the kit's list is whole";
        EXPECT_EQ(requests, (std::vector<Request>{{105, 18}, {3, 18}, {13, 18}, {0, 19}}));
    }
    for (const kit::DamagedFile& f : kit::damageFile(kit::FileKind::LevelObjects, valid)) {
        screenstest::LogCapture log;
        ByteArray* a = newByteArray(static_cast<jint>(f.bytes.size()));
        for (size_t i = 0; i < f.bytes.size(); ++i) a->data()[i] = static_cast<jbyte>(f.bytes[i]);
        game::loadLevelObjectAssets(a, &record);
        EXPECT_LE(log.count(), 1u) << f.name;
        // Only damage stops the scan: a count outside 1-24 or a cut record.
        if (log.count() == 1) {
            EXPECT_TRUE(log.contains("values (1-24 allowed)") || log.contains("cut short")) << f.name;
        }
    }
}

}  // namespace

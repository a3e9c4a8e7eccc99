// Whole-table validation of the object list, script table and region
// table: the rules each table must meet, and agreement with the kit's
// strict readers over every damaged variant the kit makes.
#include "game/world/tables.h"

#include <gtest/gtest.h>

#include "tests/game/world/seeds.h"

namespace {

using kit::Bytes;

Bytes objects(std::initializer_list<std::vector<int16_t>> records) {
    std::vector<kit::LevelRecord> r;
    for (const auto& v : records) r.push_back({v});
    return kit::encodeLevelObjects(r);
}

TEST(LevelTables, ObjectRecordRules) {
    std::vector<int16_t> object7 = {40, 1, 0, 0, 1, 0, 0};
    struct Case {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"empty list", {}, true},
        {"object of 7 values", objects({object7}), true},
        {"object of 6 values", objects({{40, 1, 0, 0, 1, 0}}), false},
        {"rect of 6 values", objects({{2000, 1, 0, 0, 10, 10}}), true},
        {"rect of 5 values", objects({{2000, 1, 0, 0, 10}}), false},
        {"link of 7 values", objects({{2001, 1, 0, 0, 0, 0, 0}}), true},
        {"link of 6 values", objects({{2001, 1, 0, 0, 0, 0}}), false},
        {"item of 11 values", objects({{2002, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}), true},
        {"item of 10 values", objects({{2002, 1, 2, 3, 4, 5, 6, 7, 8, 9}}), false},
        {"24 values", objects({std::vector<int16_t>(24, 7)}), true},
        {"count 25", Bytes{25}, false},
        {"count 0", Bytes{0}, false},
        {"count -1", Bytes{0xFF, 1, 0}, false},
        {"record cut short", Bytes{7, 40, 0, 1, 0}, false},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(game::checkLevelObjects(c.bytes, nullptr, &error), c.ok) << c.what << ": " << error;
        if (!c.ok) {
            EXPECT_FALSE(error.empty()) << c.what;
        }
    }
    // Record starts are shorts: 32,767 object values at most.
    std::vector<kit::LevelRecord> many(1366, kit::LevelRecord{std::vector<int16_t>(24, 40)});  // 32,784 values
    std::string error;
    EXPECT_FALSE(game::checkLevelObjects(kit::encodeLevelObjects(many), nullptr, &error));
    many.resize(1365);  // 32,760
    game::ObjectListShape shape;
    ASSERT_TRUE(game::checkLevelObjects(kit::encodeLevelObjects(many), &shape, &error)) << error;
    EXPECT_EQ(shape.objectValues, 32760);
}

TEST(LevelTables, ScriptTableRules) {
    // The level-end script: one record without target, one keyframe at
    // frame 0 with event 0.
    const Bytes levelEnd = {0x01, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
                            0x00, 0x00, 0x01, 0x25, 0x00, 0x00};
    std::vector<game::ScriptShape> shape;
    std::string error;
    ASSERT_TRUE(game::checkScriptTable(levelEnd, &shape, &error)) << error;
    ASSERT_EQ(shape.size(), 1u);
    EXPECT_EQ(shape[0].id, 1);
    ASSERT_EQ(shape[0].records.size(), 1u);
    EXPECT_EQ(shape[0].records[0].start, 6);
    EXPECT_EQ(shape[0].records[0].length, 10);
    EXPECT_EQ(shape[0].records[0].firstKeyframe, 4);

    auto with = [&](size_t at, uint8_t v) {
        Bytes b = levelEnd;
        b[at] = v;
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"no bytes", {}, true},
        {"count 0", {0}, true},
        {"negative script count", {0x80}, false},
        {"negative record count", with(3, 0xFF), false},
        {"negative keyframe count", with(9, 0x80), false},
        {"negative operation count", with(12, 0xFF), false},
        {"opcode 132", with(13, 132), false},
        {"opcode 255", with(13, 255), false},
        {"opcode 131", with(13, 131), true},  // no operands: the 2 bytes left are a second op 0
        {"record past the table", Bytes(levelEnd.begin(), levelEnd.end() - 1), false},
        {"keyframe count past the table", with(8, 2), false},
        {"op 13 naming record 0 of 1", {1, 1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 1, 13, 0, 0, 0, 0, 0}, true},
        {"op 13 naming record 1 of 1", {1, 1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 1, 13, 1, 0, 0, 0, 0}, false},
        {"kind 2 carries a target", {1, 1, 0, 1, 0, 0, 2, 0, 7, 0, 0, 0}, true},
        {"kind 2 target cut short", {1, 1, 0, 1, 0, 0, 2, 0, 7, 0, 0}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(game::checkScriptTable(c.bytes, nullptr, &error), c.ok) << c.what << ": " << error;
    }
}

TEST(LevelTables, RegionTableRules) {
    kit::MapRegion g{2, 3, 4, 2, 2, 1, {5, 6}};
    const Bytes one = kit::encodeMapRegions({g});
    struct Case {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"one region", one, true},
        {"count 0", {0}, true},
        {"negative count", {0xFF}, true},
        {"no bytes", {}, false},
        {"record cut short", Bytes(one.begin(), one.begin() + 6), false},
        {"cells cut short", Bytes(one.begin(), one.end() - 1), false},
        {"0 columns", [&] { Bytes b = one; b[7] = 0; return b; }(), false},
        {"0 rows", [&] { Bytes b = one; b[8] = 0; return b; }(), false},
    };
    for (const Case& c : cases) {
        std::string error;
        int n = -1;
        EXPECT_EQ(game::checkRegionTable(c.bytes, &n, &error), c.ok) << c.what << ": " << error;
    }
}

// Every damaged table the kit makes: the game's check never reads outside
// the bytes (the sanitizer build sees to that), refuses what the kit's
// strict reader refuses on the rules they share, and takes every table
// the kit takes.
TEST(LevelTables, KitDamagedVariants) {
    for (kit::FileKind kind : {kit::FileKind::LevelObjects, kit::FileKind::LevelScripts, kit::FileKind::Regions}) {
        size_t rejected = 0;
        std::vector<worldtest::SeedFile> seeds = worldtest::tableSeeds(kind);
        ASSERT_GT(seeds.size(), 10u);
        for (const worldtest::SeedFile& s : seeds) {
            SCOPED_TRACE(kit::fileKindName(kind) + " " + s.name);
            bool kitOk = true;
            try {
                if (kind == kit::FileKind::LevelObjects) kit::parseLevelObjects(s.bytes);
                else if (kind == kit::FileKind::LevelScripts) kit::parseLevelScripts(s.bytes);
                else kit::parseMapRegions(s.bytes);
            } catch (const kit::KitError&) {
                kitOk = false;
            }
            std::string error;
            bool ok = kind == kit::FileKind::LevelObjects   ? game::checkLevelObjects(s.bytes, nullptr, &error)
                      : kind == kit::FileKind::LevelScripts ? game::checkScriptTable(s.bytes, nullptr, &error)
                                                            : game::checkRegionTable(s.bytes, nullptr, &error);
            if (s.valid || kitOk) {
                EXPECT_TRUE(ok) << error;
            }
            if (kind == kit::FileKind::LevelObjects) {
                EXPECT_EQ(ok, kitOk);
            }
            rejected += !ok;
        }
        EXPECT_GT(rejected, seeds.size() / 3) << kit::fileKindName(kind);
    }
}

}  // namespace

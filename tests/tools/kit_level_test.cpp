// The kit's level description: collision grids with mirror marks, tile
// layer entries, the script assembler's operand sizing, and the text that
// inspect prints reading back to the same bytes.
#include "tools/kit/level.h"

#include <gtest/gtest.h>

namespace {

using kit::Bytes;

TEST(KitLevel, CollisionGridAndLayerEntries) {
    kit::LevelModel m = kit::parseLevelDescription(
        "layer 4 4 2\n"
        ". 0< v% 7^\n"
        "6 a  b  .   # comment\n"
        "layer 0 2 1\n"
        "12< .\n");
    ASSERT_TRUE(m.layers[4]);
    const kit::TileLayer& c = *m.layers[4];
    EXPECT_EQ(c.at(0, 0), 0xFFFF);
    EXPECT_EQ(c.at(1, 0), 0x4000);
    EXPECT_EQ(c.at(2, 0), 31 | 0xC000);
    EXPECT_EQ(c.at(3, 0), 7 | 0x8000);
    EXPECT_EQ(c.at(1, 1), 10);
    auto entries = kit::levelEntries(m);
    // Layer 4: cells 12, header 13, flags 14; layer 0: 0, 1, 2.
    ASSERT_TRUE(entries.count(12) && entries.count(13) && entries.count(14) && entries.count(0));
    EXPECT_EQ(entries[13][0], 4);  // width, little-endian
    EXPECT_EQ(entries[13][2], 2);
    EXPECT_EQ(entries[14][1], 1);  // horizontal mirror flag
    EXPECT_EQ(entries[14][2], 3);
    kit::TileLayer back = kit::decodeTileLayer(entries[12], entries[13], entries[14]);
    EXPECT_EQ(back.cells, c.cells);
    EXPECT_EQ(kit::decodeTileLayer(entries[0], entries[1], entries[2]).cells, (std::vector<uint16_t>{12 | 0x4000, 0xFFFF}));
}

TEST(KitLevel, ScriptAssemblerSizesOperands) {
    kit::LevelModel m = kit::parseLevelDescription(
        "script 1\n"
        "  target none\n"
        "    key 0\n"
        "      op 37 0\n");
    // The level-end script of the demo stage, byte for byte.
    EXPECT_EQ(kit::encodeLevelScripts(*m.scripts),
              (Bytes{0x01, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x25, 0x00, 0x00}));
    struct Case {
        const char* op;
        size_t bytes;  // opcode and operands
    } cases[] = {{"op 11 -1 100", 5}, {"op 13 0 1 2", 6},     {"op 22 -3", 2},         {"op 23 0x80", 5},
                 {"op 36 7 1 2 3", 9}, {"op 39 1 2 3", 7},   {"op 102 1 0x20001 5", 9}, {"op 115 1 65537 5 2", 11},
                 {"op 109", 1},        {"op 119 2 1", 5},    {"op 5", 1}};
    for (const Case& c : cases) {
        std::string text = std::string("script 1\ntarget none\nkey 0\n") + c.op + "\n";
        kit::LevelModel one = kit::parseLevelDescription(text);
        EXPECT_EQ(kit::encodeLevelScripts(*one.scripts).size(), 13 + c.bytes) << c.op;  // 6 + 4 + 3 of headers
    }
    for (const char* bad : {"op 132", "op 11 1", "op 37 1 2", "op 13 1 0 0"}) {
        std::string text = std::string("script 1\ntarget none\nkey 0\n") + bad + "\n";
        EXPECT_THROW(kit::parseLevelDescription(text), kit::KitError) << bad;
    }
}

TEST(KitLevel, InspectTextReadsBackToTheSameBytes) {
    const char* text =
        "object 40 1 100 200 7 0 0 5\n"
        "rect 3 0 0 10 10\n"
        "script 4\n"
        "  target camera\n"
        "    key 5\n"
        "      op 11 -1 100\n"
        "  target actor 9\n"
        "    key 2\n"
        "      op 13 0 -4 8\n"
        "      op 23 1\n"
        "      op 115 1 65537 500 2\n"
        "regions\n"
        "region 1 2 3 4 2 1\n"
        "  5 6<\n";
    kit::LevelModel m = kit::parseLevelDescription(text);
    Bytes o = kit::encodeLevelObjects(m.objects), s = kit::encodeLevelScripts(*m.scripts), r = kit::encodeMapRegions(*m.regions);
    std::string again = kit::describeLevelObjects(kit::parseLevelObjects(o)) + kit::describeLevelScripts(kit::parseLevelScripts(s)) +
                        kit::describeMapRegions(kit::parseMapRegions(r));
    kit::LevelModel n = kit::parseLevelDescription(again);
    EXPECT_EQ(kit::encodeLevelObjects(n.objects), o);
    EXPECT_EQ(kit::encodeLevelScripts(*n.scripts), s);
    EXPECT_EQ(kit::encodeMapRegions(*n.regions), r);
    EXPECT_EQ(r[0], 1);
    EXPECT_EQ(r[1], 0);  // x big-endian
    EXPECT_EQ(r[2], 1);
}

TEST(KitLevel, DescriptionErrorsNameTheLine) {
    try {
        kit::parseLevelDescription("layer 4 2 1\nx.\n");
        FAIL();
    } catch (const kit::KitError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(kit::parseLevelDescription("object 1 2 3\n"), kit::KitError);
    EXPECT_THROW(kit::parseLevelDescription("region 0 0 1 1 0 1\n"), kit::KitError);
    EXPECT_THROW(kit::parseLevelDescription("layer 4 2 2\n..\n"), kit::KitError);
}

}  // namespace

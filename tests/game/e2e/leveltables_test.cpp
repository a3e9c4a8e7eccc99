// The whole program headless over the demo archive: what a level leaves
// behind once it is unloaded, or once the loading steps that brought its
// layers, scripts and regions are undone; and the application's properties
// read from its descriptor.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/loading.h"
#include "game/flow/screen.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_menu.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "tests/support/gamedriver.h"

namespace {

constexpr int32_t kPlay = 14;

using game::cg;

class LevelTables : public ::testing::Test {
protected:
    void boot(const std::string& name) {
        gamedriver::Options o;
        o.folder = std::filesystem::current_path().string() + "/" + name;
        o.seed = 3;
        std::string error;
        ASSERT_TRUE(driver.boot(o, error)) << error;
    }
    void play() {
        ASSERT_TRUE(driver.pressUntil(-5, kPlay, 2000)) << "play not reached by the confirm key";
        for (int i = 0; i < 20; ++i) driver.step();
    }
    // The loading-table records of an opcode.
    std::vector<jint> recordsOf(jint opcode) {
        std::vector<jint> out;
        ByteArray* table = game::cg().loadingTable;
        for (jint i = 0; table && i < game::kLoadRecords; ++i)
            if (table->data()[i * game::kLoadRecordBytes] == opcode) out.push_back(i);
        return out;
    }
    gamedriver::GameDriver driver;
};

TEST_F(LevelTables, UnloadingALevelForgetsItsRecordsScriptsAndRegions) {
    boot("unload");
    play();
    // The demo's first stage holds records, scripts and regions.
    ASSERT_NE(cg().recordStarts, nullptr);
    ASSERT_NE(cg().recordValues, nullptr);
    ASSERT_NE(cg().recordIds, nullptr);
    ASSERT_NE(cg().scriptCommands, nullptr);
    ASSERT_NE(cg().regionRects, nullptr);
    game::unloadLevel();
    EXPECT_EQ(cg().recordPendingFlags, nullptr);
    EXPECT_EQ(cg().recordStarts, nullptr);
    EXPECT_EQ(cg().recordValues, nullptr);
    EXPECT_EQ(cg().recordIds, nullptr);
    EXPECT_EQ(cg().tileAttributesAlt, nullptr);
    EXPECT_EQ(cg().scriptCommands, nullptr);
    EXPECT_EQ(cg().scriptReadOffsets, nullptr);
    EXPECT_EQ(cg().scriptIds, nullptr);
    EXPECT_EQ(cg().scriptStates, nullptr);
    EXPECT_EQ(cg().scriptTargets, nullptr);
    EXPECT_EQ(cg().cameraTarget, nullptr);
    EXPECT_EQ(cg().regionRects, nullptr);
    EXPECT_EQ(cg().regionSizes, nullptr);
    EXPECT_EQ(cg().regionCells, nullptr);
    EXPECT_EQ(cg().regionStates, nullptr);
    for (const std::string& v : driver.violations()) ADD_FAILURE() << v;
}

TEST_F(LevelTables, UndoingTheLoadingStepsDropsLayersScriptsAndRegions) {
    boot("undo");
    play();
    const std::vector<jint> scripts = recordsOf(10), regions = recordsOf(11), layers = recordsOf(12);
    ASSERT_FALSE(scripts.empty());
    ASSERT_FALSE(regions.empty());
    ASSERT_FALSE(layers.empty());
    ASSERT_NE(cg().layerMaps->data()[4], nullptr) << "the collision layer is loaded";
    ASSERT_NE(cg().collisionMap, nullptr);
    game::freeLoadStep(scripts[0]);
    EXPECT_EQ(cg().scriptCommands, nullptr);
    EXPECT_EQ(cg().scriptTargets, nullptr);
    EXPECT_EQ(cg().recordStarts == nullptr, false) << "the records stay: another step owns them";
    game::freeLoadStep(regions[0]);
    EXPECT_EQ(cg().regionRects, nullptr);
    EXPECT_EQ(cg().regionStates, nullptr);
    game::freeLoadStep(layers[0]);
    for (jint l = 0; l < 5; ++l) {
        EXPECT_EQ(cg().layerMaps->data()[l], nullptr) << l;
        auto* size = static_cast<ShortArray*>(cg().layerSizes->data()[l]);
        EXPECT_EQ(size->data()[0], 0) << l;
        EXPECT_EQ(size->data()[1], 0) << l;
    }
    EXPECT_EQ(cg().collisionMap, nullptr);
    EXPECT_EQ(cg().mapPixelWidth, 0);
    EXPECT_EQ(cg().mapPixelHeight, 0);
}

TEST_F(LevelTables, ApplicationPropertiesComeFromTheDescriptor) {
    boot("property");
    play();
    String* vendor = game::appProperty(String::fromUtf8("MIDlet-Vendor"));
    ASSERT_NE(vendor, nullptr);
    EXPECT_EQ(vendor->toUtf8(), "Tindrell");
    EXPECT_EQ(game::appProperty(String::fromUtf8("No-Such-Property")), nullptr);
    EXPECT_EQ(game::appProperty(nullptr), nullptr);
    // The scrolling text puts the property named by pool entry 88 where the
    // five-character marker of pool entry 98 stands.
    ObjectArray* pool = StaticClass::instance()->m_stringPool;
    pool->data()[88] = String::fromUtf8("MIDlet-Vendor");
    pool->data()[98] = String::fromUtf8("@@@@@\x03");
    auto* texts = static_cast<ObjectArray*>(cg().textPackStrings->data()[1]);
    ASSERT_NE(texts, nullptr);
    ASSERT_GT(texts->length(), 0x52);
    texts->data()[0x52] = String::fromUtf8("Made by @@@@@.\n\x03");
    game::state35(2);
    ASSERT_NE(game::cg().scrollText, nullptr);
    EXPECT_EQ(game::cg().scrollText->toUtf8(), "Made by Tindrell.\n\x03");
}

}  // namespace

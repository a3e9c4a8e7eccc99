// The progress record through the record store of the test's device root:
// fresh records, resets, level results by difficulty slot, stage offsets,
// a store that cannot be written, oversized and short records, options and
// the cross-promotion screen's store.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/showcase/showcase.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "tests/game/data/support.h"
#include "tools/kit/recordstore.h"

namespace {

using namespace datatest;
using game::cg;

const char* const kStore = "BrambleProgress";  // pool entry 108 of the demo pool

class ProgressTest : public GameDataTest {
protected:
    Bytes record() { return bytesOf(cg().progress); }
    Bytes stored() {
        if (!std::filesystem::exists(appFolder() + "/" + kit::storeIndexFileName(kStore))) return {};
        kit::RecordStoreContents s = kit::readRecordStore(appFolder(), kStore);
        return s.records.empty() ? Bytes{} : s.records[0].data;
    }
    void store(const Bytes& data) {
        kit::RecordStoreContents s;
        s.records.push_back({1, data, false});
        kit::writeRecordStore(appFolder(), kStore, s);
    }
};

TEST_F(ProgressTest, FreshRecordIsBuiltAndSaved) {
    cg().progress = nullptr;
    game::loadProgress();
    const Bytes fresh = kit::buildProgress();
    EXPECT_EQ(record(), fresh);
    EXPECT_EQ(fresh[1], 1);
    EXPECT_EQ(fresh[191], 2);
    EXPECT_EQ(fresh[198], 6);
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(fresh[n * 62 + 5], 10);
        EXPECT_EQ(fresh[n * 62 + 6], 2);
        EXPECT_EQ(fresh[n * 62 + 10], 255);
    }
    EXPECT_EQ(stored(), fresh);
    EXPECT_TRUE(cg().optionFlag);
    EXPECT_FALSE(cg().vibrationOn);
}

TEST_F(ProgressTest, ResetsKeepTheirBytes) {
    game::resetProgress(true);
    for (int i : {0, 2, 3}) cg().progress->data()[i] = static_cast<jbyte>(40 + i);
    cg().progress->data()[100] = 9;
    game::resetProgress(false);
    Bytes r = record();
    EXPECT_EQ(r[0], 40);
    EXPECT_EQ(r[2], 42);
    EXPECT_EQ(r[3], 43);
    EXPECT_EQ(r[100], 0);
    game::resetProgress(true);
    r = record();
    EXPECT_EQ(r[0], 40) << "byte 0 survives every reset";
    EXPECT_EQ(r[2], 0);
    EXPECT_EQ(r[3], 0);
}

TEST_F(ProgressTest, LevelResultsGoToTheDifficultySlot) {
    game::resetProgress(true);
    EXPECT_EQ(game::getSaveSlotField(9, 3), game::readSaveInt(181)) << "stage 9 of slot 3 at 124 + 12 + 45";
    game::setSaveSlotField(9, 3, 0x01020304);
    EXPECT_EQ(record()[181], 1);
    EXPECT_EQ(record()[184], 4);

    // A best that is not beaten stays; bytes 4-6 are still written and saved.
    cg().difficulty = 1;
    cg().stage = 4;
    game::setSaveSlotField(4, 1, 1000000);
    game::setVariable(0, 7, false);
    game::setVariable(9, 3, false);
    game::setVariable(5, 5, false);
    game::saveLevelResult();
    Bytes r = record();
    EXPECT_EQ(cg().saveSlot, 1);
    EXPECT_EQ(r[4], 7);
    EXPECT_EQ(r[5], 3);
    EXPECT_EQ(r[6], 5);
    EXPECT_EQ(game::getSaveSlotField(4, 1), 1000000);
    EXPECT_EQ(r[191], 1) << "the difficulty of the last game";
    EXPECT_EQ(stored(), r);

    // With the stage's region flag set bytes 5 and 6 stay.
    cg().regionFlags->data()[4] = 1;
    game::setVariable(9, 8, false);
    game::saveLevelResult();
    EXPECT_EQ(record()[5], 3);
    cg().regionFlags->data()[4] = 0;

    // Difficulty 3, stage 10: the best lands at 186-189; bytes 0-3 untouched.
    game::resetProgress(true);
    for (int i = 0; i < 4; ++i) cg().progress->data()[i] = static_cast<jbyte>(0x50 + i);
    game::setSaveSlotField(10, 3, -5);
    EXPECT_EQ(game::readSaveInt(186), -5);
    cg().difficulty = 3;
    cg().stage = 10;
    game::saveLevelResult();
    EXPECT_EQ(game::readSaveInt(186), game::computeLevelScore());
    r = record();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(r[static_cast<size_t>(i)], 0x50 + i);
    EXPECT_EQ(game::readSaveInt(62), 0) << "slot 1's stage 10 untouched";
}

TEST_F(ProgressTest, NoSlotForOtherDifficulties) {
    game::resetProgress(true);
    const Bytes before = record();
    for (jint d : {0, 4, -1}) {
        cg().difficulty = d;
        log.clear();
        game::saveLevelResult();
        EXPECT_TRUE(log.contains("has no save slot")) << d;
        cg().heroStatus->data()[9] = 77;
        game::loadLevelVariables();
        EXPECT_EQ(cg().heroStatus->data()[9], 77) << "nothing read for difficulty " << d;
    }
    EXPECT_EQ(record(), before);
    EXPECT_TRUE(stored().empty()) << "nothing written";
    // Byte 191 outside 1-3 reads as 2.
    for (jint v : {0, 7, -3}) {
        cg().progress->data()[191] = static_cast<jbyte>(v);
        EXPECT_EQ(game::lastDifficulty(), 2);
    }
    cg().progress->data()[2 * 62 + 6] = 9;
    cg().progress->data()[1 * 62 + 6] = 9;
    game::resetCurrentLevelState();
    EXPECT_EQ(record()[62 + 6], 2);
    EXPECT_EQ(record()[124 + 6], 9);
    EXPECT_EQ(game::getSaveSlotField(11, 1), 0);
    EXPECT_EQ(game::getSaveSlotField(0, 0), 0);
}

TEST_F(ProgressTest, LevelVariablesFromTheSlot) {
    game::resetProgress(true);
    cg().difficulty = 2;
    cg().progress->data()[62 + 4] = 12;
    cg().progress->data()[62 + 5] = 4;
    game::setSaveSlotShort(0x0123, 2);
    cg().eventMask = 5;
    game::loadLevelVariables();
    EXPECT_EQ(cg().heroStatus->data()[0], 12);
    EXPECT_EQ(cg().heroStatus->data()[9], 4);
    EXPECT_EQ(cg().heroStatus->data()[5], 2);
    EXPECT_EQ(cg().heroStatus->data()[1], 0x123);
    EXPECT_EQ(cg().heroStatus->data()[3], 4) << "variable 3 takes variable 9";
    EXPECT_EQ(cg().eventMask, 0);
}

TEST_F(ProgressTest, StoreThatCannotBeWrittenEndsAfterOneRetry) {
    // Folders where the store's files would go: nothing can be written.
    std::filesystem::create_directories(appFolder() + "/" + kit::storeIndexFileName(kStore));
    std::filesystem::create_directories(appFolder() + "/" + kit::recordFileName(kStore, 1));
    cg().progress = nullptr;
    game::loadProgress();
    ASSERT_NE(cg().progress, nullptr);
    EXPECT_EQ(record(), kit::buildProgress()) << "the fresh record, from memory";
    EXPECT_TRUE(log.contains("going on with it in memory"));
    EXPECT_EQ(Application::pendingException(), nullptr);
}

TEST_F(ProgressTest, StoredRecordsOfOtherLengths) {
    Bytes big = kit::buildProgress({{"slot2.stage3.best", 4242}, {"progress-bits", 0x10203}});
    big.resize(300, 0xEE);
    store(big);
    cg().progress = nullptr;
    game::loadProgress();
    EXPECT_EQ(record(), Bytes(big.begin(), big.begin() + 265)) << "the first 265 bytes, never a reset";
    EXPECT_TRUE(log.contains("first 265 kept"));
    EXPECT_EQ(cg().progressBits, 0x10203);
    EXPECT_EQ(game::getSaveSlotField(3, 2), 4242);

    store(Bytes{9, 0, 7, 1});
    cg().progress = nullptr;
    game::loadProgress();
    Bytes r = record();
    ASSERT_EQ(r.size(), 265u);
    EXPECT_EQ(r[0], 9);
    EXPECT_EQ(r[2], 7);
    EXPECT_TRUE(cg().vibrationOn);
    EXPECT_FALSE(cg().optionFlag);
    EXPECT_EQ(r[191], 0) << "the rest reads as zero";
}

TEST_F(ProgressTest, OptionsAndTheShowcaseStore) {
    game::resetProgress(true);
    cg().optionFlag = 0;
    cg().vibrationOn = 1;
    game::saveOptions();
    EXPECT_EQ(stored()[1], 0);
    EXPECT_EQ(stored()[3], 1);
    cg().vibrationOn = 0;
    game::saveVibrationOption();
    EXPECT_EQ(stored()[3], 0);

    game::ensureShowcaseRecordStore();
    EXPECT_EQ(game::showcaseStatics()->displayFlagA, 1);
    EXPECT_EQ(game::showcaseStatics()->displayFlagB, 1);
    EXPECT_TRUE(std::filesystem::exists(appFolder() + "/" + kit::storeIndexFileName("Camp")));
    game::ensureShowcaseRecordStore();
    EXPECT_EQ(Application::pendingException(), nullptr);
}

}  // namespace

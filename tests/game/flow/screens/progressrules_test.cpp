// Progress-record rules of the menus: stage availability, unlock requests,
// current stage, and difficulties read from a damaged record.
#include "game/flow/screens/progressrules.h"

#include "game/data/progress.h"
#include "game/flow/screens/menus.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using screenstest::ScreensTest;

class ProgressRules : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        cg().progress = newByteArray(game::kProgressBytes);
    }
    void set(jint i, jint v) { game::setProgressByte(i, v); }
};

TEST_F(ProgressRules, StageAvailabilityTable) {
    struct Case {
        const char* what;
        jint row, mask, difficulty, doneHigh, doneLow;
        bool available;
    };
    const Case cases[] = {
        {"open for difficulty 2", 0, 0x04, 2, 0, 0, true},
        {"open for 3 only", 0, 0x08, 2, 0, 0, false},
        {"difficulty 1 bit", 4, 0x02, 1, 0, 0, true},
        {"closed", 4, 0x00, 1, 0, 0, false},
        {"last stage open, stages not all done", 10, 0x08, 3, 0x03, 0xFE, false},
        {"last stage open, all done", 10, 0x08, 3, 0x03, 0xFF, true},
        {"all done but closed", 10, 0x00, 3, 0x03, 0xFF, false},
        {"bad difficulty reads as 2", 1, 0x04, 7, 0, 0, true},
    };
    for (const Case& c : cases) {
        set(198 + c.row, c.mask);
        const jint slot = (c.difficulty >= 1 && c.difficulty <= 3 ? c.difficulty : 2) - 1;
        set(slot * 62 + 8, c.doneHigh);
        set(slot * 62 + 9, c.doneLow);
        EXPECT_EQ(game::isStageRowAvailable(c.row, c.difficulty), c.available) << c.what;
    }
}

TEST_F(ProgressRules, StageMenuRowsFollowTheMaskBytes) {
    ObjectArray* menu = game::expandMenu(cg().stageMenu);
    set(198 + 0, 0x04);
    set(198 + 2, 0x04);
    game::applyStageAvailability(menu, 2);
    for (jint row = 0; row < 11; ++row)
        EXPECT_EQ(game::menuEntryInts(menu, 4 + row)->data()[game::kEntrySelectable], row == 0 || row == 2 ? 1 : 0)
            << row;
}

TEST_F(ProgressRules, UnlockRequestsWriteTheirBytes) {
    set(191, 3);
    game::unlockAllStagesForLastDifficulty();
    for (jint s = 0; s < 11; ++s) EXPECT_EQ(game::progressByte(198 + s), 0x08) << s;
    EXPECT_EQ(game::currentStage(3), 10);
    EXPECT_FALSE(game::isStageRowAvailable(10, 3)) << "bytes 8-9 still short of 1023";

    game::unlockEverything();
    for (jint d = 1; d <= 3; ++d) {
        for (jint s = 0; s < 11; ++s) EXPECT_TRUE(game::isStageRowAvailable(s, d)) << d << "/" << s;
        EXPECT_EQ(game::currentStage(d), 10);
    }
}

TEST_F(ProgressRules, DamagedDifficultyBecomesTwoAndIsLogged) {
    for (jint bad : {0, 4, 255}) {
        set(191, bad);
        screenstest::LogCapture log;
        EXPECT_EQ(game::storedDifficulty(), 2);
        EXPECT_TRUE(log.contains("outside 1-3")) << bad;
    }
    set(191, 200);
    game::unlockAllStagesForLastDifficulty();
    EXPECT_EQ(game::progressByte(198), 0x04);
    EXPECT_EQ(game::currentStage(2), 10);
    game::setCurrentStage(1, 14);
    EXPECT_EQ(game::currentStage(1), 10) << "clamped to 10";
    game::setStageOpen(11, 1);  // no such stage: nothing
    game::setProgressByte(400, 1);
    EXPECT_EQ(game::progressByte(400), 0);
}

}  // namespace

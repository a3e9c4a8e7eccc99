// Menu and screen states: back keys, main-menu rows, unlock requests,
// difficulty and stage choice, continue on damaged progress.
#include "game/flow/screens/states_menu.h"

#include <utility>
#include <vector>

#include "game/data/progress.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/progressrules.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;
using Requests = std::vector<std::pair<jint, jint>>;

class MenuStates : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        cg().progress = newByteArray(game::kProgressBytes);
        cg().difficulty = 2;
    }
    // Confirms the current row of the open menu through its delay.
    void choose(void (*handler)(jint)) {
        screenstest::setKeys(0x10000);
        screenstest::run(handler, 0);
        screenstest::setKeys(0);
        for (int i = 0; i < 12 && screenstest::requests().empty(); ++i) screenstest::run(handler, 0);
    }
};

TEST_F(MenuStates, RecordsBackKeyByWhatLiesBelow) {
    struct Case {
        std::vector<jint> covered;
        jint key;
    };
    const Case cases[] = {{{18}, 0x40000}, {{6, 31}, 0x20000}, {{}, 0x20000}, {{18, 30}, 0x40000}};
    for (const Case& c : cases) {
        screenstest::setStack(8, c.covered);
        EXPECT_EQ(game::recordsBackKey(), c.key) << c.covered.size();
    }
    // The back key pops the records screen, the other one does nothing.
    screenstest::setStack(8, {18});
    screenstest::run(game::state8, 2);
    screenstest::setKeys(0x20000);
    screenstest::run(game::state8, 0);
    EXPECT_TRUE(screenstest::requests().empty());
    screenstest::setKeys(0x40000);
    screenstest::run(game::state8, 0);
    EXPECT_EQ(screenstest::requests(), (Requests{{2, -1}}));
}

TEST_F(MenuStates, MainMenuRowsByProgressAndPromotion) {
    struct Case {
        bool progress, promo;
        jint entries;
        bool link;
        std::vector<jint> rows;
    };
    const Case cases[] = {
        {false, false, 0, false, {0x10001, 0x10002, 0x10003}},
        {true, false, 0, false, {0x10004, 0x10008, 0x10002, 0x10003}},
        {true, true, 2, true, {0x10004, 0x10008, 0x1000F, 0x1000E, 0x10002, 0x10003}},
        {false, true, 0, false, {0x10001, 0x10002, 0x10003}},
    };
    ObjectArray* menu = game::expandMenu(cg().mainMenu);
    for (const Case& c : cases) {
        game::applyMainMenuVisibility(menu, c.progress, c.promo, c.entries, c.link);
        cg().textBox = nullptr;
        game::openTextBox(menu);
        std::vector<jint> rows;
        for (jint i = 0; i < cg().menuMetricA; ++i) rows.push_back(game::listedEntryInts(i)->data()[0]);
        EXPECT_EQ(rows, c.rows) << c.progress << c.promo;
    }
}

TEST_F(MenuStates, UnlockRequestsFromTheKeySequences) {
    cg().progress->data()[191] = 1;
    game::requestFlags() = 8 | 1;
    game::applyUnlockRequests();
    EXPECT_EQ(game::requestFlags(), 1) << "only the handled bit is cleared";
    EXPECT_TRUE(game::isStageOpen(7, 1));
    EXPECT_FALSE(game::isStageOpen(7, 2));
    game::requestFlags() = 16;
    game::applyUnlockRequests();
    EXPECT_EQ(game::requestFlags(), 0);
    EXPECT_TRUE(game::isStageRowAvailable(10, 3));
}

TEST_F(MenuStates, DifficultyChoiceStartsANewGameOrOpensTheStages) {
    auto listed = [] {
        std::vector<jint> rows;
        for (jint i = 0; i < cg().menuMetricA; ++i) rows.push_back(game::listedEntryInts(i)->data()[0]);
        return rows;
    };
    // A fresh record: the first row is not offered, the last is locked.
    cg().gameMenu = game::expandMenu(cg().gameMenu);
    static_cast<IntArray*>(static_cast<ObjectArray*>(cg().gameMenu->data()[1])->data()[0])->data()[1] = 0x10007;
    screenstest::run(game::state29, 2);
    EXPECT_EQ(listed(), (std::vector<jint>{0x10015, 0x10016}));
    EXPECT_EQ(game::listedEntryInts(1)->data()[game::kEntrySelectable], 0) << "the last row locked";
    game::setMenuCursor(1);
    choose(&game::state29);
    EXPECT_TRUE(screenstest::requests().empty()) << "a locked row starts nothing";
    EXPECT_EQ(cg().difficulty, 3) << "the difficulty follows the cursor while choosing";

    // Game menu on its third row (0x10007): the first listed row starts a
    // new game on difficulty 2.
    game::setMenuCursor(0);
    choose(&game::state29);
    EXPECT_EQ(cg().difficulty, 2);
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 11}}));
    EXPECT_EQ(game::progressByte(191), 2);

    // Unlocked (bit value 8 of byte 198): the last row plays difficulty 3;
    // from the game menu's other row it opens the stage choice.
    screenstest::requests().clear();
    cg().progress->data()[198] = 8;
    static_cast<IntArray*>(static_cast<ObjectArray*>(cg().gameMenu->data()[1])->data()[0])->data()[1] = 0x10006;
    screenstest::run(game::state29, 2);
    EXPECT_EQ(game::listedEntryInts(1)->data()[game::kEntrySelectable], 1);
    game::setMenuCursor(1);
    choose(&game::state29);
    EXPECT_EQ(cg().difficulty, 3);
    EXPECT_EQ(screenstest::requests(), (Requests{{1, 28}}));
}

TEST_F(MenuStates, StageChoiceStoresTheStageAndLoadsIt) {
    game::setStageOpen(0, 2);
    game::setStageOpen(3, 2);
    screenstest::run(game::state28, 2);
    game::setMenuCursor(3);
    choose(&game::state28);
    // The pop is replaced by the level load (one request a step), whose set
    // empties the stack anyway.
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 11}}));
    EXPECT_EQ(cg().stage, 3);
    EXPECT_EQ(game::currentStage(2), 3);
    EXPECT_EQ(game::progressByte(191), 2);
    // A greyed row does nothing.
    screenstest::requests().clear();
    screenstest::run(game::state28, 2);
    game::setMenuCursor(5);
    choose(&game::state28);
    EXPECT_TRUE(screenstest::requests().empty());
}

TEST_F(MenuStates, DamagedProgressThroughContinueAndStageChoice) {
    for (jint bad : {0, 9, 200}) {
        cg().progress->data()[191] = static_cast<jbyte>(bad);
        cg().progress->data()[62 + 10] = static_cast<jbyte>(250);  // no stored stage
        game::setStageOpen(4, 2);
        screenstest::requests().clear();
        screenstest::LogCapture log;
        game::continueGame();
        screenstest::drain();
        EXPECT_TRUE(log.contains("outside 1-3")) << bad;
        EXPECT_EQ(cg().difficulty, 2);
        EXPECT_EQ(cg().stage, 4) << "the furthest open stage";
        EXPECT_EQ(screenstest::requests(), (Requests{{0, 11}}));
    }
    cg().difficulty = 0;
    screenstest::requests().clear();
    screenstest::LogCapture log;
    screenstest::run(game::state28, 2);
    EXPECT_TRUE(log.contains("outside 1-3"));
}

TEST_F(MenuStates, NoticesCountDown) {
    screenstest::run(game::state4, 2);
    for (int i = 0; i < 96; ++i) screenstest::run(game::state4, 0);
    EXPECT_TRUE(screenstest::requests().empty());
    screenstest::run(game::state4, 0);
    EXPECT_EQ(screenstest::requests(), (Requests{{1, 24}}));
    screenstest::requests().clear();
    screenstest::run(game::state5, 2);
    for (int i = 0; i < 97; ++i) screenstest::run(game::state5, 0);
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 3}})) << "the title, not the handlerless state 0";
}

}  // namespace

#include "tools/kit/screens_progress.h"

namespace {

// Every fixture through continue, the stage choice and the records: the
// damaged ones log and nothing reads outside the record.
TEST_F(MenuStates, ProgressFixturesThroughContinueStagesAndRecords) {
    for (const kit::ProgressFixture& f : kit::screenProgressFixtures()) {
        ByteArray* p = newByteArray(game::kProgressBytes);
        for (size_t i = 0; i < f.bytes.size() && i < 265; ++i) p->data()[i] = static_cast<jbyte>(f.bytes[i]);
        cg().progress = p;
        screenstest::LogCapture log;
        game::continueGame();
        EXPECT_GE(cg().stage, 0) << f.name;
        EXPECT_LE(cg().stage, 10) << f.name;
        screenstest::run(game::state28, 2);
        screenstest::run(game::state8, 2);
        for (jint row = 0x10017; row <= 0x10021; ++row) EXPECT_NE(game::getMenuValueText(0x10009, row), nullptr);
        if (f.name == "damaged-difficulty") {
            EXPECT_TRUE(log.contains("outside 1-3")) << f.name;
            EXPECT_EQ(cg().difficulty, 2);
        }
        if (f.name == "stage-10-open") {
            EXPECT_EQ(cg().stage, 10);
        }
        if (f.name == "mid-game") {
            EXPECT_EQ(cg().stage, 3);
        }
    }
}

}  // namespace

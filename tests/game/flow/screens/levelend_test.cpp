// The score formula and the results tally.
#include "game/flow/screens/levelend.h"

#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;

using LevelScore = ScreensTest;

void setStats(jint items, jint secrets, jint steps, jint livesLost) {
    jint* s = cg().levelStats->data();
    s[7] = items;
    s[8] = secrets;
    s[10] = steps;
    s[11] = livesLost;
}

TEST_F(LevelScore, TableOfLevels) {
    struct Case {
        jint items, secrets, specials, steps, livesLost;
        jint timeBonus, total;
    };
    const Case cases[] = {
        {0, 0, 0, 4799, 0, 100, 100},      // 299 s: one second of bonus left
        {0, 0, 0, 4800, 0, 0, 0},          // 300 s: none
        {0, 0, 0, 100000, 0, 0, 0},
        {3, 2, 4, 0, 0, 30000, 30000 + 300 + 600 + 200},
        {1, 0, 0, 4800, 3, 0, 0},          // penalties over bonuses: 0, not negative
        {10, 1, 0, 4784, 2, 100, 1000 + 300 + 100 - 1000},
    };
    for (const Case& c : cases) {
        setStats(c.items, c.secrets, c.steps, c.livesLost);
        game::ca().itemCounts->data()[0] = c.specials;  // the special items collected
        EXPECT_EQ(game::computeLevelScore(), c.total) << c.steps << " steps";
        const jint* s = cg().levelStats->data();
        EXPECT_EQ(s[3], c.timeBonus);
        EXPECT_EQ(s[0], c.items * 100);
        EXPECT_EQ(s[1], c.secrets * 300);
        EXPECT_EQ(s[2], c.specials * 50);
        EXPECT_EQ(s[4], c.livesLost * 500);
        EXPECT_EQ(s[5], c.total);
    }
    game::resetLevelStats();
    for (jint i = 7; i <= 11; ++i) EXPECT_EQ(cg().levelStats->data()[i], 0);
}

TEST_F(LevelScore, TallyCountsEachLineUpByAThousandAStep) {
    setStats(25, 0, 0, 0);  // item line 2500, time bonus 30000
    game::computeLevelScore();
    cg().tallyDone = false;
    cg().tallyLine = -1;
    game::nextTallyLine();
    ASSERT_EQ(cg().tallyLine, 0);
    EXPECT_EQ(cg().tallyTarget, 2500);
    const jint* s = cg().levelStats->data();
    EXPECT_EQ(s[0], 0) << "the line counts up again from 0";
    game::stepTally();
    EXPECT_EQ(s[0], 1000);
    game::stepTally();
    EXPECT_EQ(s[0], 2000);
    game::stepTally();
    EXPECT_EQ(s[0], 2500) << "clamped to its target";
    EXPECT_EQ(cg().tallyLine, 1) << "a reached line moves on in the same step";
    // Line 1 (no secrets) is already at its target of 0.
    game::stepTally();
    EXPECT_EQ(cg().tallyLine, 2);
    game::stepTally();
    EXPECT_EQ(cg().tallyLine, 3);
    EXPECT_EQ(cg().tallyTarget, 30000);
    game::stepTally();
    EXPECT_EQ(s[3], 1000);
    // A key press shows the current line at its final value and ends the tally.
    game::finishTally();
    cg().tallyDone = true;
    EXPECT_EQ(s[3], 30000);
    EXPECT_EQ(cg().tallyLine, game::kTallyLines);
    game::stepTally();
    EXPECT_EQ(cg().tallyLine, game::kTallyLines);
}

TEST_F(LevelScore, PickupsCountIntoTheLevelTotals) {
    cg().itemsTotal = 0;
    game::countPickup(2, 8);
    game::countPickup(2, 4);
    game::countPickup(2, 1);
    game::countPickup(19, 0);
    game::countPickup(6, 0);
    game::countPickup(7, 0);
    EXPECT_EQ(cg().itemsTotal, 11);
    EXPECT_EQ(cg().secretsTotal, 1);
    EXPECT_EQ(cg().specialsTotal, 1);
}

}  // namespace

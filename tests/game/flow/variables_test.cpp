// Game variables and record accessors: the counter at 100, damage by
// difficulty, changed bits, refusals outside the tables, state nibbles,
// progress flags and hasProgress.
#include "game/flow/variables.h"

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/sound.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;

class VariablesTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        cg().difficulty = 1;
        cg().progress = newByteArray(265);
    }
};

TEST_F(VariablesTest, CounterAt100GivesALife) {
    KTLibPlayer::allocateChannelTables(kSoundIds);
    cg().soundOn = 1;
    setVariable(5, 2, false);
    setVariable(0, 100, true);
    EXPECT_EQ(getVariable(0), 0);
    EXPECT_EQ(getVariable(5), 3);
    EXPECT_EQ(cg().eventMask & 2, 2);
    EXPECT_EQ(ktl().requestCount->data()[1], 1);  // sound 10
    setVariable(0, 100, false);
    EXPECT_EQ(getVariable(0), 99);  // clamped, no event
}

TEST_F(VariablesTest, ChangedBitsOnlyOnChange) {
    setVariable(3, 5, false);
    cg().variableChangedMask = 0;
    setVariable(3, 5, false);
    EXPECT_FALSE(isVariableChanged(3));
    setVariable(3, 6, false);
    EXPECT_TRUE(isVariableChanged(3));
}

TEST_F(VariablesTest, DamageByDifficulty) {
    // Energy (variable 3) lies in 0..10.
    const jint cases[][3] = {{1, 1, 10 - 3}, {2, 3, 10 - 5}, {3, 0, 10 - 2}};
    for (const auto& c : cases) {
        cg().difficulty = c[0];
        cg().levelAddTable->data()[c[0] - 1] = c[1];
        setVariable(3, 10, false);
        applyHeroDamage(2, 2);
        EXPECT_EQ(getVariable(3), c[2]) << c[0];
    }
    setVariable(3, 5, false);
    applyHeroDamage(10, 2);
    EXPECT_EQ(getVariable(3), 0);  // its minimum
    EXPECT_EQ(scaleByLevel(7, false), 14);
}

TEST_F(VariablesTest, OutOfRangeIndexesAreRefused) {
    setVariable(10, 5, false);
    setVariable(-1, 5, false);
    EXPECT_EQ(getVariable(10), 0);
    EXPECT_TRUE(log.contains("outside 0-9"));
    setSlotByte7(4, 9);
    EXPECT_EQ(getSlotByte7(0), 0);
    EXPECT_TRUE(log.contains("outside 1-3"));
    EXPECT_EQ(getScriptOperandLength(132), -1);
    EXPECT_EQ(getSpriteById(0, 5), nullptr);
    EXPECT_TRUE(log.contains("no index entry"));
}

TEST_F(VariablesTest, StateNibbles) {
    ByteArray* states = newByteArray(3);
    states->data()[0] = 0x02;
    states->data()[1] = 0x31;
    states->data()[2] = static_cast<jbyte>(0xF4);
    copyLowNibbleToHigh(states, 3);
    EXPECT_EQ(states->data()[0], 0x22);
    EXPECT_EQ(states->data()[1], 0x11);
    states->data()[0] = 0x27;
    copyHighNibbleToLow(states, 2);
    EXPECT_EQ(states->data()[0], 0x22);
    EXPECT_EQ(states->data()[2], static_cast<jbyte>(0x44));  // beyond n: unchanged
    EXPECT_FALSE(isRecordAvailable(states, 1, -1));  // low nibble 1
    EXPECT_TRUE(isRecordAvailable(states, 0, -1));   // mask -1 ignored
    EXPECT_FALSE(isRecordAvailable(states, 0, 2));   // difficulty 1: bit 0 clear
}

TEST_F(VariablesTest, ProgressFlagsAndHasProgress) {
    EXPECT_EQ(findHighestFlaggedLevel(), -1);
    EXPECT_TRUE(hasProgress());  // nothing flagged, game not completed
    setSelector(1);
    setLevelFlag(4, 1);
    EXPECT_EQ(findHighestFlaggedLevel(), 4);
    EXPECT_FALSE(hasProgress());
    setSlotByte7(1, 1);
    setRecordFlag(1);
    EXPECT_TRUE(hasProgress());
    setRecordFlag(2);  // value 4 blocks it
    EXPECT_FALSE(hasProgress());
    clearRecordFlag(2);
    setRecordFlag(3);  // value 8 blocks it
    EXPECT_FALSE(hasProgress());
    clearRecordFlag(3);
    cg().progress->data()[slotOffset(1) + 8] = 1;
    cg().progress->data()[slotOffset(1) + 9] = static_cast<jbyte>(0x2C);
    EXPECT_EQ(getSlotU16(1), 300);
}

TEST_F(VariablesTest, PauseGameStopsTheMusicAndAsksForThePauseMenu) {
    KTLibPlayer::allocateChannelTables(kSoundIds);
    cg().currentMusic = 4;
    cg().stateParam = 9;
    pauseGame();
    EXPECT_EQ(cg().stateParam, 0);
    EXPECT_EQ(cg().currentMusic, -1);
    EXPECT_EQ(ktl().requestCount->data()[0], 1);
    EXPECT_TRUE(cg().statePending);
    EXPECT_EQ(cg().pendingState, 20);
}

TEST_F(VariablesTest, TweenSlotsAndHelpers) {
    IntArray* t = cg().tweenSlots;
    for (jint i = 0; i < 5; ++i) t->data()[i] = i;
    EXPECT_EQ(findFreeTweenSlot(), -1);
    t->data()[3] = -1;
    EXPECT_EQ(findFreeTweenSlot(), 3);
    IntArray* a = flowtest::ints({0x123456, static_cast<jint>(0xFF000001)});
    setAlphaAll(a, 0x80);
    EXPECT_EQ(a->data()[0], static_cast<jint>(0x80123456));
    EXPECT_EQ(a->data()[1], static_cast<jint>(0x80000001));
}

}  // namespace

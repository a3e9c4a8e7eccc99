// Link-path movers: legs at a fixed speed, link-row legs with their row
// codes, the curve path, chains and the link line, with the refusals that
// keep bad link data from dividing by zero or walking for ever; the game's
// random generator the movers' callers draw from.
#include <gtest/gtest.h>

#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/linkpath.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;

class MoversLinkPath : public behaviourtest::BehaviourTest {
protected:
    // A level of link rows only (each {x, y, next id, code, argument}).
    void links(const std::string& rows) { behaviourtest::loadLevel("layer 4 2 2\n..\n..\n" + rows); }

    // A bare mover at (x, y) with a motion state and params of 3.
    cActor* mover(jint x, jint y) {
        cActor* a = behaviourtest::spawnRecord({182, 50, static_cast<int16_t>(x), static_cast<int16_t>(y), 7, 0, 160,
                                                0, 0, 2});
        if (!a->motion) a->allocMotionState();
        cActor::moveTo(a, x * 256, y * 256);
        return a;
    }
    static jint m(cActor* a, int i) { return a->motion->data()[i]; }
};

TEST_F(MoversLinkPath, MoveToLinkRowHeadsAtTheRowPointAtTheGivenSpeed) {
    links("link 1 103 104 0 0 0\nlink 2 97 96 0 0 0\n");
    cActor* a = mover(100, 100);
    a->linkIndex = 7;
    moveToLinkRow(a, game::findTableIndex(1), 2);
    EXPECT_EQ(m(a, 6), -512);
    EXPECT_EQ(m(a, 7), 512);
    EXPECT_EQ(m(a, 8), -512);
    EXPECT_EQ(m(a, 9), 512);
    EXPECT_EQ(m(a, 2), 307);
    EXPECT_EQ(m(a, 3), 409);
    moveToLinkRow(a, game::findTableIndex(2), 2);
    EXPECT_EQ(m(a, 2), -307);
    EXPECT_EQ(m(a, 3), -409);
    EXPECT_EQ(a->linkIndex, 7) << "the caller's link index is left alone";
}

// The drop, sink and rise entries set only the low 24 bits of the AI
// state: the top byte a path mover keeps there stays.
TEST_F(MoversLinkPath, DropSinkAndRiseKeepTheTopByteOfTheAiState) {
    struct Case {
        void (*enter)(cActor*);
        jint low;
    };
    const Case cases[] = {{enterDropState, 9}, {enterSinkState, 13}, {enterRiseState, 14}};
    for (const Case& c : cases) {
        for (jint top : {0, static_cast<jint>(0x80000000u), 0x5A000000}) {
            cActor* a = mover(100, 100);
            a->parts = newIntArray(2);
            a->aiState = top | 2;
            c.enter(a);
            EXPECT_EQ(a->aiState, top | c.low) << c.low << " top " << std::hex << top;
        }
    }
}

TEST_F(MoversLinkPath, MoveToLinkRowOnThePointOrAtZeroSpeedStandsStill) {
    links("link 1 100 100 0 9 7\nlink 2 150 100 0 0 0\n");
    cActor* a = mover(100, 100);
    a->anim = 3;
    moveToLinkRow(a, game::findTableIndex(1), 4);
    EXPECT_EQ(m(a, 2), 0);
    EXPECT_EQ(m(a, 3), 0);
    EXPECT_EQ(m(a, 7), 1024);
    EXPECT_EQ(a->anim, 7) << "a code-9 row sets its animation even on the point";
    moveToLinkRow(a, game::findTableIndex(2), 0);
    EXPECT_EQ(m(a, 2), 0);
    EXPECT_EQ(m(a, 7), 0);
}

TEST_F(MoversLinkPath, CodeNineKeepsARunningAnimationsFrameState) {
    links("link 1 120 100 0 9 5\n");
    cActor* a = mover(100, 100);
    a->setAnim(5);
    a->frame = 1;
    a->animTicks = 3;
    moveToLinkRow(a, game::findTableIndex(1), 1);
    EXPECT_EQ(a->frame, 1);
    EXPECT_EQ(a->animTicks, 3);
}

TEST_F(MoversLinkPath, CodeTenChangesTheSpeedAndHeadsForTheRowAfter) {
    // Row 1 (the mover's current row) -> row 2 -> row 3; row 2 is a speed row.
    links("link 1 100 100 2 0 0\nlink 2 200 100 3 10 3\nlink 3 100 200 0 0 0\n");
    cActor* a = mover(100, 100);
    a->setParam(2, 2);
    a->linkIndex = game::findTableIndex(2);
    // The row after a code-10 row comes from the row at linkIndex, here row 2 itself -> row 3.
    moveToLinkRow(a, a->linkIndex, a->getParam(2));
    EXPECT_EQ(a->getParam(2), 3);
    EXPECT_EQ(m(a, 2), 0);
    EXPECT_EQ(m(a, 3), 768);
    EXPECT_EQ(m(a, 9), 768);
    EXPECT_EQ(a->linkIndex, game::findTableIndex(2));
}

TEST_F(MoversLinkPath, TwoSpeedRowsInARowFollowOnlyOne) {
    // Both rows are speed rows and name each other: the walk stops after one.
    links("link 1 100 100 2 10 3\nlink 2 200 100 1 10 4\n");
    cActor* a = mover(100, 100);
    a->linkIndex = game::findTableIndex(1);
    moveToLinkRow(a, a->linkIndex, 2);
    EXPECT_EQ(a->getParam(2), 3);
    EXPECT_EQ(m(a, 2), 768) << "heads for the second row's point at the first row's speed";
}

TEST_F(MoversLinkPath, MoveToLinkRowRefusesARowOutsideTheTable) {
    links("link 1 100 100 0 0 0\n");
    cActor* a = mover(50, 50);
    moveToLinkRow(a, 5, 2);
    moveToLinkRow(a, -1, 2);
    EXPECT_EQ(m(a, 2), 0);
    EXPECT_EQ(m(a, 7), 0);
}

TEST_F(MoversLinkPath, CurvePathThroughThreePoints) {
    IntArray* p = buildCurvePath(25600, 102400, 51200, 76800, 76800, 102400, 30);
    ASSERT_NE(p, nullptr);
    const std::vector<jint> expected = {25600, 102400, 1706, -3413, 0, 227, 76800, 102400};
    EXPECT_EQ(std::vector<jint>(p->data(), p->data() + 8), expected);

    IntArray* line = buildCurvePath(0, 0, 256, 0, 512, 0, 2);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::vector<jint>(line->data(), line->data() + 8), (std::vector<jint>{0, 0, 256, 0, 0, 0, 512, 0}));

    IntArray* again = buildCurvePath(0, 0, 256, 0, 512, 0, 2);
    EXPECT_NE(again, line) << "every call returns a new array";
}

TEST_F(MoversLinkPath, CurvePathFollowsItsThreePoints) {
    // x(k) = x0 + vx k + ax k^2 / 2 ends at the last point after `steps` frames.
    IntArray* p = buildCurvePath(0, 0, 25600, -12800, 51200, 0, 40);
    ASSERT_NE(p, nullptr);
    const jint* v = p->data();
    const jlong k = 40;
    EXPECT_NEAR(static_cast<double>(v[0] + v[2] * k + v[4] * k * k / 2), 51200.0, 60.0);
    EXPECT_NEAR(static_cast<double>(v[1] + v[3] * k + v[5] * k * k / 2), 0.0, 60.0);
}

TEST_F(MoversLinkPath, CurvePathRefusesDataThatWouldDivideByZero) {
    struct Case {
        const char* what;
        jint x1, y1, x2, y2, steps;
    };
    const Case cases[] = {
        {"no steps", 100, 0, 200, 0, 0},
        {"182 steps", 100, 0, 200, 0, 182},
        {"negative steps", 100, 0, 200, 0, -5},
        {"last two points coincide", 100, 0, 100, 0, 30},
        {"middle point on the start", 0, 0, 200, 0, 30},
        {"second chord beyond T - 1 times the first", 1, 0, 100000, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(buildCurvePath(0, 0, c.x1, c.y1, c.x2, c.y2, c.steps), nullptr) << c.what;
    EXPECT_NE(buildCurvePath(0, 0, 100, 0, 200, 0, 181), nullptr) << "181 steps is within the limits";
}

TEST_F(MoversLinkPath, ChainOfOnePointAndAChainCutAtItsLoop) {
    links("link 1 10 20 0 0 0\nlink 5 30 40 6 0 0\nlink 6 50 60 5 0 0\n");
    cActor* a = mover(0, 0);
    a->parts = newIntArray(8);
    a->setParam(0, 1);
    loadLinkChain(a, 1, 0);
    EXPECT_EQ(a->parts->data()[0], 1);
    EXPECT_EQ(a->parts->data()[1], (10 << 16) + 20);

    // A -> B -> A: two points, then the walk ends at the repeated row.
    a->parts = newIntArray(8);
    a->setParam(0, 5);
    loadLinkChain(a, 1, 0);
    EXPECT_EQ(a->parts->data()[0], 2);
    EXPECT_EQ(a->parts->data()[1], (30 << 16) + 40);
    EXPECT_EQ(a->parts->data()[2], (50 << 16) + 60);
    EXPECT_EQ(a->parts->data()[3], 0);
}

TEST_F(MoversLinkPath, ChainNeverWritesPastTheParts) {
    links("link 1 1 1 2 0 0\nlink 2 2 2 3 0 0\nlink 3 3 3 4 0 0\nlink 4 4 4 0 0 0\n");
    cActor* a = mover(0, 0);
    a->parts = newIntArray(3);
    a->setParam(0, 1);
    loadLinkChain(a, 1, 0);
    EXPECT_EQ(a->parts->data()[0], 2);
    EXPECT_EQ(a->parts->data()[2], (2 << 16) + 2);
    a->parts = nullptr;
    loadLinkChain(a, 0, 1);  // no parts at all: nothing written, nothing read past
    EXPECT_EQ(a->parts, nullptr);
}

TEST_F(MoversLinkPath, LinkLineSnapsAndRefusesAVerticalLine) {
    links("link 1 0 100 2 0 0\nlink 2 200 300 0 0 0\nlink 3 50 0 4 0 0\nlink 4 50 90 0 0 0\n");
    cActor* a = mover(100, 0);
    a->setParam(1, 1);
    EXPECT_EQ(snapToLinkLine(0, a, 100), 200);
    EXPECT_EQ(a->posY, 200);
    a->setParam(1, 3);
    EXPECT_EQ(snapToLinkLine(0, a, 50), 200) << "x2 = x1: the actor stays where it is";
    EXPECT_EQ(a->posY, 200);
}

TEST_F(MoversLinkPath, LegsStartAtConstantSpeedOrWait) {
    links("link 1 100 100 0 0 0\nlink 2 400 500 0 0 0\n");
    cActor* a = mover(100, 100);
    a->setParam(0, 5);
    a->aiState = static_cast<jint>(0x7F000000);
    a->linkIndex = game::findTableIndex(1);
    startLinkLeg(a);
    EXPECT_EQ(a->aiState, static_cast<jint>(0x7F000003)) << "the top 8 bits stay";
    EXPECT_EQ(m(a, 2), 0);
    EXPECT_EQ(m(a, 3), 0);

    a->linkIndex = game::findTableIndex(2);
    startLinkLeg(a);
    EXPECT_EQ(m(a, 0), 0);
    EXPECT_EQ(m(a, 1), 0);
    EXPECT_EQ(m(a, 2), 768);  // 5 px per frame along (300, 400)
    EXPECT_EQ(m(a, 3), 1024);

    a->linkIndex = -1;
    startLinkLeg(a);
    EXPECT_EQ(a->aiState & 0xFFFFFF, 2);

    a->linkIndex = game::findTableIndex(2);
    waitThenStartLinkLeg(a, 0);
    EXPECT_EQ(a->aiState & 0xFFFFFF, 3) << "no wait: the leg starts in the same frame";
    waitThenStartLinkLeg(a, 9);
    EXPECT_EQ(a->aiState & 0xFFFFFF, 4);
    EXPECT_EQ(a->timer, 9);
}

TEST_F(MoversLinkPath, LinkedActorIsNoneWhenTheParameterIsALinkIndex) {
    links("link 1 0 0 0 0 0\n");
    cActor* a = mover(0, 0);
    cActor* b = mover(10, 10);
    b->uniqueId = 0;
    a->setParam(1, 0);
    EXPECT_EQ(findLinkedActor(a), nullptr);
    b->uniqueId = 77;
    a->setParam(1, 77);
    EXPECT_EQ(findLinkedActor(a), b);
}

TEST_F(MoversLinkPath, VectorLengthAndArrival) {
    EXPECT_EQ(vectorLength(3, 4), 5);
    EXPECT_EQ(vectorLength(-30000, 40000), 50000);
    links("link 1 0 0 0 0 0\n");
    cActor* a = mover(10, 10);
    jint* mo = a->motion->data();
    mo[2] = 512;
    mo[3] = 0;
    EXPECT_FALSE(arriveAt(a, 11 * 256, 10 * 256 + 100));
    EXPECT_EQ(mo[2], 256) << "the step is shortened to end on the target";
    cActor::moveBy(a, mo[2], 0);
    EXPECT_TRUE(arriveAt(a, 11 * 256, 10 * 256 + 100)) << "y is already within the same whole pixel";
    EXPECT_EQ(mo[2], 0);
    EXPECT_EQ(mo[0], 0);
}

TEST_F(MoversLinkPath, RandomDrawsFromSeedZero) {
    game::cg().randomSeed = 0;
    EXPECT_EQ(game::random(0), 0);
    EXPECT_EQ(game::cg().randomSeed, 0) << "n = 0 does not step";
    EXPECT_EQ(game::random(7), 0);
    EXPECT_EQ(game::cg().randomSeed, 177149);
    game::random(7);
    EXPECT_EQ(game::cg().randomSeed, 5710246);
}

}  // namespace

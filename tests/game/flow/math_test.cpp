// Math routines: fixed point and guarded division, the device shift rule,
// roots, trigonometry, intersection, the two random generators.
#include "game/flow/gmath.h"

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "javalib/random.h"
#include "runtime/application.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;

class MathTest : public FlowTest {};

TEST_F(MathTest, FixedPointAndIntegerRoutines) {
    EXPECT_EQ(fixedMul(512, 768), 1536);
    EXPECT_EQ(fixedMul(-256, 256), -256);
    EXPECT_EQ(fixedDiv(3, 2), 384);
    EXPECT_EQ(fixedDivRound(1, 3), 85);   // 85.33 rounds down
    EXPECT_EQ(fixedDivRound(2, 3), 171);  // 170.67 rounds up
    EXPECT_EQ(mulDiv(0x40000000, 4, 8), 0x20000000);  // 64-bit product
    EXPECT_EQ(mulDivInt(0x40000000, 4, 8), 0);         // wrapping product
    EXPECT_EQ(roundDownTo(-7, 2), -6);
    EXPECT_EQ(lerp(0, 100, 5, 0, 10), 50);
    EXPECT_EQ(lerpColor(0xFF000000, 0x00FF0080, 1, 0, 2), static_cast<jint>(0x7F7F0040));
    EXPECT_EQ(isqrt(15), 3);
    EXPECT_EQ(isqrt(16), 4);
    EXPECT_EQ(isqrt32(1 << 29), 23170);
    EXPECT_EQ(mod3From34(34), 1);
}

TEST_F(MathTest, DivisionByDataZeroRaisesAndAnswersZero) {
    struct Case {
        const char* name;
        jint (*call)();
    };
    const Case cases[] = {
        {"mulDiv", [] { return mulDiv(5, 6, 0); }},
        {"fixedDiv", [] { return fixedDiv(5, 0); }},
        {"fixedDivRound", [] { return fixedDivRound(5, 0); }},
        {"mulDivInt", [] { return mulDivInt(5, 6, 0); }},
        {"roundDownTo", [] { return roundDownTo(5, 0); }},
        {"lerp t1 = t0", [] { return lerp(1, 2, 3, 4, 4); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(), 0);
        Object* e = Application::pendingException();
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(instanceOf(e, cid::java_lang_ArithmeticException));
        Application::clearPendingException();
    }
}

TEST_F(MathTest, ShiftRuleKeepsOnlyTheLowByteAndShiftsEverythingOutFrom32) {
    EXPECT_EQ(deviceBit(0), 1);
    EXPECT_EQ(deviceBit(31), static_cast<jint>(0x80000000));
    EXPECT_EQ(deviceBit(32), 0);
    EXPECT_EQ(deviceBit(255), 0);
    EXPECT_EQ(deviceBit(256 + 3), 8);  // only the low 8 bits count
    EXPECT_EQ(deviceShr(-8, 40), -1);
    EXPECT_EQ(deviceShl(1, 33), 0);
    cg().flags = 0x10;
    setFlag(32);
    EXPECT_EQ(cg().flags, 0x10);
    setFlag(2);
    toggleFlag(4);
    EXPECT_EQ(cg().flags, 0x4);
    EXPECT_TRUE(testFlag(2));
    EXPECT_FALSE(testFlag(34));
}

TEST_F(MathTest, TrigonometryOnTheQuarterWaveTable) {
    EXPECT_EQ(fixedSin(90), 16384);
    EXPECT_EQ(fixedSin(-90), -16384);
    EXPECT_EQ(fixedSin(0), 0);
    EXPECT_EQ(fixedCos(0), 16384);
    EXPECT_EQ(game::sin(1024), -16384);
    EXPECT_EQ(sin256(90 * 256), 256);
    EXPECT_EQ(cos256(0), 256);
    const jint cases[][3] = {{0, 0, 0},    {1, 0, 0},     {0, 1, 90},  {-1, 0, 180},
                             {0, -1, 270}, {1000, -1, 360}, {10, 10, 45}, {-10, -10, 225}};
    for (const auto& c : cases) EXPECT_EQ(game::atan2(c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST_F(MathTest, SineTableFromDataOnlyWhenItHasTheRightShape) {
    IntArray* good = newIntArray(513);
    for (jint i = 0; i <= 512; ++i) good->data()[i] = i == 0 ? 16384 : (i == 256 ? 1234 : 1);
    good->data()[512] = 0;
    cg().sineTable = good;
    EXPECT_EQ(activeSineTable(), good);
    EXPECT_EQ(game::sin(256), 1234);
    IntArray* wrong = newIntArray(513);  // a sine, not a cosine: [0] = 0
    wrong->data()[512] = 16384;
    cg().sineTable = wrong;
    EXPECT_NE(activeSineTable(), wrong);
    EXPECT_EQ(game::sin(0), 16384);
    cg().sineTable = newIntArray(100);
    EXPECT_EQ(game::sin(512), 0);
}

TEST_F(MathTest, SegmentsMeetingAtAnEndPointIntersect) {
    EXPECT_TRUE(segmentsIntersect(0, 0, 10, 10, 10, 10, 20, 0));
    EXPECT_EQ(cg().intersectX, 10);
    EXPECT_EQ(cg().intersectY, 10);
    EXPECT_FALSE(segmentsIntersect(0, 0, 10, 0, 0, 1, 10, 1));  // parallel
    EXPECT_FALSE(segmentsIntersect(0, 0, 1, 1, 5, 0, 6, -3));
    EXPECT_TRUE(segmentHitsRect(-5, 5, 5, 5, flowtest::ints({0, 0, 10, 10})));
    EXPECT_EQ(cg().intersectX, 0);  // the left edge, tested last, is the hit
    EXPECT_FALSE(segmentHitsRect(0, 0, 1, 1, nullptr));
}

TEST_F(MathTest, SegmentsAtTheIntLimitsWrapAsInts) {
    // x2 - x1 and y4 - y3 wrap to -1 as ints before the products widen.
    constexpr jint lo = std::numeric_limits<jint>::min(), hi = std::numeric_limits<jint>::max();
    EXPECT_FALSE(segmentsIntersect(lo, 0, hi, 0, 0, lo, 0, hi));
    EXPECT_EQ(cg().intersectDenominator, -1);
    EXPECT_EQ(cg().intersectNumeratorA, 2147483648LL);
    EXPECT_EQ(cg().intersectNumeratorB, -2147483648LL);
}

TEST_F(MathTest, GameGeneratorSteps) {
    cg().randomSeed = 0;
    EXPECT_EQ(game::random(0), 0);
    EXPECT_EQ(cg().randomSeed, 0);
    EXPECT_EQ(randomRange(5, 5), 5);
    EXPECT_EQ(cg().randomSeed, 0);
    EXPECT_EQ(game::random(10), 9);
    EXPECT_EQ(cg().randomSeed, 177149);
}

TEST_F(MathTest, RandomIntFollowsTheJavaGenerator) {
    java_util_Random* r = newObject<java_util_Random>(jlong(42));
    cg().randomGenerator = r;
    java_util_Random* twin = newObject<java_util_Random>(jlong(42));
    for (int i = 0; i < 20; ++i) {
        const jint raw = twin->next(32);
        const jint abs = raw < 0 && raw != java::kIntMin ? -raw : raw;
        EXPECT_EQ(randomInt(-3, 7), -3 + java::irem(abs, 10)) << i;
    }
    EXPECT_EQ(randomInt(4, 4), 4);
}

}  // namespace

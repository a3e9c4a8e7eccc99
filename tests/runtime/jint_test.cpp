// Java integer semantics: wrap-around, division toward zero, shift masking,
// narrowing and float conversion edge cases.
#include "runtime/jint.h"

#include <gtest/gtest.h>

#include <limits>

using namespace java;

TEST(Jint, ArithmeticWrapsAndDividesTowardZero) {
    struct Case { jint a, b, sum, diff, prod, quot, rem; };
    const Case cases[] = {
        {kIntMax, 1, kIntMin, kIntMax - 1, kIntMax, kIntMax, 0},
        {kIntMin, -1, kIntMax, kIntMin + 1, kIntMin, kIntMin, 0},
        {-7, 2, -5, -9, -14, -3, -1},
        {7, -2, 5, 9, -14, -3, 1},
        {65536, 65536, 131072, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " op " << c.b);
        EXPECT_EQ(iadd(c.a, c.b), c.sum);
        EXPECT_EQ(isub(c.a, c.b), c.diff);
        EXPECT_EQ(imul(c.a, c.b), c.prod);
        EXPECT_EQ(idiv(c.a, c.b), c.quot);
        EXPECT_EQ(irem(c.a, c.b), c.rem);
    }
    EXPECT_EQ(ineg(kIntMin), kIntMin);
    EXPECT_EQ(ldivide(kLongMin, -1), kLongMin);
    EXPECT_EQ(lrem(kLongMin, -1), 0);
    EXPECT_EQ(lmul(kLongMax, 2), -2);
}

TEST(Jint, ShiftCountsAreMasked) {
    EXPECT_EQ(ishl(1, 33), 2);
    EXPECT_EQ(ishl(1, 31), kIntMin);
    EXPECT_EQ(ishr(-16, 2), -4);
    EXPECT_EQ(ishr(-1, 63), -1);
    EXPECT_EQ(iushr(-1, 28), 15);
    EXPECT_EQ(iushr(-1, 32), -1);
    EXPECT_EQ(lshl(1, 65), 2);
    EXPECT_EQ(lushr(-1, 60), 15);
}

TEST(Jint, NarrowingAndFloatConversion) {
    EXPECT_EQ(i2b(0x1FF), -1);
    EXPECT_EQ(i2s(0x18000), -32768);
    EXPECT_EQ(i2c(-1), 0xFFFF);
    EXPECT_EQ(l2i(0x1'0000'0005LL), 5);
    EXPECT_EQ(d2i(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(d2i(1e20), kIntMax);
    EXPECT_EQ(d2i(-1e20), kIntMin);
    EXPECT_EQ(d2i(-2.9), -2);
    EXPECT_EQ(f2i(3.99f), 3);
    EXPECT_EQ(d2l(-1e300), kLongMin);
}

TEST(Jint, CheckedSizes) {
    size_t out = 0;
    EXPECT_TRUE(checkedMul(1u << 20, 4, &out));
    EXPECT_EQ(out, 4u << 20);
    EXPECT_FALSE(checkedMul(std::numeric_limits<size_t>::max() / 2 + 1, 2, &out));
    EXPECT_FALSE(checkedAdd(std::numeric_limits<size_t>::max(), 1, &out));
}

// Random: pinned values of the 48-bit generator, the bounded draw and its
// errors, the tick-count seed, and the state step in 32-bit words.
#include "javalib/random.h"
#include "runtime/system.h"
#include "tests/javalib/util_fixture.h"

using namespace utiltest;

namespace {

class RandomTest : public UtilTest {};

TEST_F(RandomTest, PinnedValues) {
    EXPECT_EQ(newObject<java_util_Random>(0)->nextInt(), -1155484576);
    EXPECT_EQ(newObject<java_util_Random>(0)->nextLong(), -4962768465676381896LL);
    EXPECT_EQ(newObject<java_util_Random>(0)->nextInt(10), 0);
    EXPECT_EQ(newObject<java_util_Random>(42)->nextInt(100), 30);
    EXPECT_EQ(newObject<java_util_Random>(42)->nextInt(), -1170105035);
    EXPECT_EQ(newObject<java_util_Random>(0)->nextFloat(), 12263604.0f / 16777216.0f);
    auto* r = newObject<java_util_Random>(0);
    EXPECT_EQ(r->nextInt(), -1155484576);
    EXPECT_EQ(r->nextInt(), -723955400);
}

TEST_F(RandomTest, BoundedDrawsStayInRange) {
    auto* r = newObject<java_util_Random>(7);
    for (jint n : {1, 2, 3, 10, 16, 1000, 1 << 30, java::kIntMax}) {
        for (int i = 0; i < 200; ++i) {
            jint v = r->nextInt(n);
            ASSERT_GE(v, 0);
            ASSERT_LT(v, n);
        }
    }
    for (int i = 0; i < 200; ++i) {
        jfloat f = r->nextFloat();
        ASSERT_GE(f, 0.0f);
        ASSERT_LT(f, 1.0f);
    }
    for (jint bad : {0, -5, java::kIntMin}) {
        EXPECT_EQ(r->nextInt(bad), 0);
        EXPECT_EQ(pendingMessage(), "#161");
        EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    }
    EXPECT_FALSE(m_app->monitors().ownedByCaller(r));
}

TEST_F(RandomTest, SameSeedSameSequence) {
    auto* a = newObject<java_util_Random>(-123456789012345LL);
    auto* b = newObject<java_util_Random>(0);
    b->setSeed(-123456789012345LL);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a->nextInt(1 + i), b->nextInt(1 + i));
    EXPECT_EQ(a->nextLong(), b->nextLong());
}

TEST_F(RandomTest, DefaultSeedIsTickCount) {
    const jlong before = java_lang_System::currentTimeMillis();
    auto* r = newObject<java_util_Random>();
    const jlong after = java_lang_System::currentTimeMillis();
    const jlong ticks = r->seed() ^ java_util_Random::kMultiplier;
    // The tick count may wrap between the two readings only in theory.
    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, after);
    EXPECT_EQ(r->m_seedHigh & ~0xFFFF, 0);
}

// The step as the game writes it: 32-bit words, a 64-bit product of the low
// word, carry into the 16-bit high word.
TEST_F(RandomTest, StateStepMatchesWordArithmetic) {
    auto* r = newObject<java_util_Random>(0x123456789ALL);
    for (int i = 0; i < 1000; ++i) {
        const uint32_t lo = static_cast<uint32_t>(r->m_seedLow);
        const uint32_t hi = static_cast<uint32_t>(r->m_seedHigh);
        const uint64_t product = uint64_t(lo) * 0xDEECE66Du;
        const uint64_t low = (product & 0xFFFFFFFFu) + 0xB;
        const uint32_t carry = static_cast<uint32_t>(low >> 32);
        const uint32_t newHi = (lo * 5u + hi * 0xDEECE66Du + static_cast<uint32_t>(product >> 32) + carry) & 0xFFFFu;
        const jint expected = static_cast<jint>((uint64_t(newHi) << 16) | (static_cast<uint32_t>(low) >> 16));
        Object::monitorEnter(r);
        r->advance();
        Object::monitorExit(r);
        ASSERT_EQ(static_cast<uint32_t>(r->m_seedLow), static_cast<uint32_t>(low));
        ASSERT_EQ(static_cast<uint32_t>(r->m_seedHigh), newHi);
        ASSERT_EQ(java::l2i(r->seed() >> 16), expected);
    }
}

}  // namespace

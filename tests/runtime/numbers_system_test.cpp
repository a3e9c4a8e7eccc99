// Number parsing and printing, Math edge values, the tick clock, system
// properties and arraycopy's range checks.
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

#include "tests/runtime/fixture.h"

namespace {

TEST(NumberText, ParseIntReadsLikeAtoiButSaturates) {
    struct Case {
        const char* text;
        jint value;
    };
    const Case cases[] = {
        {"12abc", 12},        {"abc", 0},           {"", 0},
        {"  \t\n-17", -17},   {"+5", 5},            {"--5", 0},
        {"- 5", 0},           {"007", 7},           {"2147483647", 2147483647},
        {"-2147483648", java::kIntMin},             {"2147483648", java::kIntMax},
        {"-99999999999999999999", java::kIntMin},   {"99999999999999999999999999", java::kIntMax},
        {"1e5", 1},           {"0x1F", 0},          {"\xB2", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(rt::num::parseInt(std::string_view(c.text)), c.value) << c.text;
}

TEST(NumberText, ParseDoubleReadsLikeAtof) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1.5", 1.5},      {"  -2.25xyz", -2.25}, {"+.5", 0.5},  {"3.", 3.0},     {"1e3", 1000.0},
        {"1e", 1.0},       {"abc", 0.0},          {"", 0.0},     {"-", 0.0},      {"+-1", 0.0},
        {"1e999", INFINITY}, {"-1e999", -INFINITY}, {"1e-999", 0.0}, {"0.000e999", 0.0},
        {"123456789012345678901234567890e300", INFINITY}, {"0.0000001e-400", 0.0},
    };
    for (const Case& c : cases) EXPECT_EQ(rt::num::parseDouble(std::string_view(c.text)), c.value) << c.text;
    EXPECT_TRUE(std::isnan(rt::num::parseDouble(std::string_view("nan"))));
}

TEST(NumberText, Formats) {
    EXPECT_EQ(rt::num::formatHex(255), "ff");
    EXPECT_EQ(rt::num::formatHex(-1), "ffffffff");
    EXPECT_EQ(rt::num::formatHex(0), "0");
    EXPECT_EQ(rt::num::formatBinary(0), "");
    EXPECT_EQ(rt::num::formatBinary(5), "101");
    EXPECT_EQ(rt::num::formatBinary(-1), std::string(32, '1'));
    EXPECT_EQ(rt::num::formatBinary(java::kIntMin), "1" + std::string(31, '0'));
    EXPECT_EQ(rt::num::formatLong((jlong(1) << 32) + 5), "5");
    EXPECT_EQ(rt::num::formatLong(java::kLongMin), "0");
    EXPECT_EQ(rt::num::formatDouble(-1.0 / 3), "-0.333333");
    EXPECT_EQ(rt::num::formatDouble(std::numeric_limits<double>::max()).size(), 316u);
    EXPECT_EQ(rt::num::formatDouble(-std::numeric_limits<double>::max()).size(), 317u);
}

class NumberNatives : public RuntimeTest {};

TEST_F(NumberNatives, StringFormsAndTheirLogs) {
    EXPECT_EQ(rt::num::parseInt(String::fromLatin1("12abc")), 12);
    // Units above 0xFF are read by their low byte, as the 8-bit C form does;
    // a zero unit ends the text.
    EXPECT_EQ(rt::num::parseInt(String::fromUtf16(u"\u0131\u0132")), 12);
    EXPECT_EQ(rt::num::parseInt(String::fromUtf16(std::u16string(u"4\0" u"5", 3))), 4);
    EXPECT_EQ(rt::num::parseIntRadix(String::fromLatin1("ff"), 16), 0);
    EXPECT_TRUE(m_log.contains("base == 10"));
    m_log.clear();
    EXPECT_EQ(rt::num::parseIntRadix(String::fromLatin1("42"), 10), 42);
    EXPECT_FALSE(m_log.contains("base == 10"));
    EXPECT_EQ(rt::num::parseInt(static_cast<const String*>(nullptr)), 0);
    EXPECT_EQ(rt::num::parseDouble(static_cast<const String*>(nullptr)), 0.0);
    EXPECT_TRUE(m_log.contains("NullPointer"));
    EXPECT_EQ(rt::num::parseDouble(String::fromLatin1("6.5e1")), 65.0);
}

TEST(MathNatives, EdgeValues) {
    EXPECT_EQ(java_lang_Math::abs(java::kIntMin), java::kIntMin);
    EXPECT_EQ(java_lang_Math::abs(java::kLongMin), java::kLongMin);
    EXPECT_EQ(java_lang_Math::abs(jint(-3)), 3);
    EXPECT_EQ(java_lang_Math::abs(jlong(-3)), 3);
    EXPECT_EQ(java_lang_Math::abs(-2.5f), 2.5f);
    EXPECT_EQ(java_lang_Math::abs(-2.5), 2.5);
    // A NaN comes back negated; -0.0 stays -0.0 (x >= 0 holds for it).
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(std::signbit(java_lang_Math::abs(nan)), std::signbit(nan));
    EXPECT_TRUE(std::signbit(java_lang_Math::abs(-0.0)));
    EXPECT_EQ(java_lang_Math::max(std::numeric_limits<float>::quiet_NaN(), 1.0f), 1.0f);
    EXPECT_TRUE(std::isnan(java_lang_Math::max(1.0f, std::numeric_limits<float>::quiet_NaN())));
    EXPECT_EQ(java_lang_Math::min(nan, 1.0), 1.0);
    EXPECT_EQ(java_lang_Math::max(jint(-1), jint(1)), 1);
    EXPECT_EQ(java_lang_Math::max(java::kLongMin, jlong(0)), 0);
    EXPECT_EQ(java_lang_Math::min(jint(-1), jint(1)), -1);
    EXPECT_EQ(java_lang_Math::minLong(java::kLongMax, java::kLongMin), java::kLongMin);
    EXPECT_EQ(java_lang_Math::sqrt(2.0f), static_cast<float>(std::sqrt(2.0)));
    EXPECT_TRUE(std::isnan(java_lang_Math::sqrt(-1.0)));
    EXPECT_EQ(java_lang_Math::atan2(1.0f, 1.0f), static_cast<float>(std::atan2(1.0, 1.0)));
    EXPECT_DOUBLE_EQ(java_lang_Math::toRadians(180.0), M_PI);
    EXPECT_DOUBLE_EQ(java_lang_Math::toDegrees(M_PI), 180.0);
    EXPECT_EQ(java_lang_Math::sin(0.0f), 0.0f);
    EXPECT_EQ(java_lang_Math::cos(0.0), 1.0);
}

class SystemNatives : public RuntimeTest {};

TEST_F(SystemNatives, TickClockIsMonotonicAnd32Bit) {
    const jlong a = java_lang_System::currentTimeMillis();
    EXPECT_GE(a, 0);
    EXPECT_LE(a, jlong(0xFFFFFFFF));
    java_lang_Thread::sleep(100);
    const jlong b = java_lang_System::currentTimeMillis();
    const jlong elapsed = (b - a) & 0xFFFFFFFF;  // tolerates the 49.7-day wrap
    EXPECT_GE(elapsed, 95);
    EXPECT_LT(elapsed, 60000);  // milliseconds, not a finer unit (hang guard scale)
    // Not the wall clock: far below milliseconds since 1970.
    using namespace std::chrono;
    EXPECT_LT(b, duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

Object* g_lookupValue = nullptr;
String* g_lookupKey = nullptr;
Object* testLookup(String* key) {
    g_lookupKey = key;
    return key->equalsC("present") && key->length() == 7 ? g_lookupValue : nullptr;
}

TEST_F(SystemNatives, PropertiesFromTheTableWithTheirFallbacks) {
    EXPECT_EQ(java_lang_System::getProperty(String::fromLatin1("microedition.media.version"))->toUtf8(), "1.0");
    EXPECT_EQ(java_lang_System::getProperty(String::fromLatin1("absent"))->toUtf8(), "PROPERTY VALUE EMPTY");
    java_lang_System::setPropertyLookup(testLookup);
    String* value = String::fromLatin1("stored");
    g_lookupValue = value;
    EXPECT_EQ(java_lang_System::getProperty(String::fromLatin1("present")), value);
    EXPECT_EQ(java_lang_System::getProperty(String::fromLatin1("presentx"))->toUtf8(), "PROPERTY VALUE EMPTY");
    // The media-version test is a prefix test, taken before the table.
    g_lookupKey = nullptr;
    EXPECT_EQ(java_lang_System::getProperty(String::fromLatin1("micro"))->toUtf8(), "1.0");
    EXPECT_EQ(g_lookupKey, nullptr);
    // A value that is not a String answers its text.
    g_lookupValue = newObject<Object>(cid::Object);
    EXPECT_EQ(java_lang_System::getProperty(String::fromLatin1("present"))->toUtf8().rfind("Object_id=0", 0), 0u);
    EXPECT_EQ(java_lang_System::getProperty(nullptr)->toUtf8(), "PROPERTY VALUE EMPTY");
    java_lang_System::setPropertyLookup(nullptr);
    g_lookupValue = nullptr;
}

TEST_F(SystemNatives, GcIsThrottled) {
    java_lang_System::gc();
    const uint64_t after = om().collections();
    java_lang_System::gc();
    EXPECT_EQ(om().collections(), after);
}

TEST_F(SystemNatives, ArraycopyChecksRangesBeforeCopying) {
    IntArray* src = IntArray::fill(newIntArray(4), {1, 2, 3, 4});
    IntArray* dst = newIntArray(4);
    struct Case {
        jint srcPos, dstPos, length;
    };
    const Case bad[] = {{-1, 0, 1}, {0, -1, 1}, {0, 0, -1}, {3, 0, 2}, {0, 3, 2},
                        {1, 0, java::kIntMax}, {java::kIntMax, 0, 1}, {0, java::kIntMax, 2}};
    for (const Case& c : bad) {
        java_lang_System::arraycopy(src, c.srcPos, dst, c.dstPos, c.length);
        Object* e = Application::pendingException();
        ASSERT_NE(e, nullptr) << c.srcPos << " " << c.dstPos << " " << c.length;
        EXPECT_EQ(e->classId(), cid::java_lang_ArrayIndexOutOfBoundsException);
        Application::clearPendingException();
        for (jint i = 0; i < 4; ++i) EXPECT_EQ(dst->data()[i], 0);
    }
    // An array made with a negative length has no elements to copy into.
    m_log.clear();
    IntArray* negative = newIntArray(-5);
    java_lang_System::arraycopy(src, 0, negative, 0, java::kIntMax);
    EXPECT_NE(Application::pendingException(), nullptr);
    Application::clearPendingException();
    java_lang_System::arraycopy(src, 1, src, 0, 3);  // overlap
    EXPECT_EQ(src->data()[0], 2);
    EXPECT_EQ(src->data()[2], 4);
    EXPECT_EQ(Application::pendingException(), nullptr);
}

}  // namespace

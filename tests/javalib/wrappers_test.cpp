// Number and character wrappers and the Latin-1 case converter.
#include <cmath>
#include <limits>

#include "javalib/wrappers.h"
#include "tests/javalib/lang_fixture.h"

namespace {

using Case = com_sun_cldc_i18n_uclc_DefaultCaseConverter;

TEST(CaseConverter, Latin1TableWithItsOddities) {
    struct Row {
        jchar c;
        bool lower, upper;
        jchar toLower, toUpper;
    };
    const Row rows[] = {
        {'a', true, false, 'a', 'A'},       {'Z', false, true, 'z', 'Z'},     {'5', false, false, '5', '5'},
        {0xE9, true, false, 0xE9, 0xC9},    {0xC9, false, true, 0xE9, 0xC9},  {0xDF, true, false, 0xDF, 0xBF},
        {0xFF, true, false, 0xFF, 0xDF},    {0xF7, false, false, 0xF7, 0xF7}, {0xD7, false, false, 0xD7, 0xD7},
        {0xAA, false, false, 0xAA, 0xAA},   {0xC0, false, true, 0xE0, 0xC0},  {0xDE, false, true, 0xFE, 0xDE},
        {0x100, false, false, 0x100, 0x100}, {0x3B1, false, false, 0x3B1, 0x3B1}, {'@', false, false, '@', '@'},
        {'[', false, false, '[', '['},      {'`', false, false, '`', '`'},    {'{', false, false, '{', '{'},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Case::isLowerCase(r.c), r.lower) << r.c;
        EXPECT_EQ(Case::isUpperCase(r.c), r.upper) << r.c;
        EXPECT_EQ(Case::toLowerCase(r.c), r.toLower) << r.c;
        EXPECT_EQ(Case::toUpperCase(r.c), r.toUpper) << r.c;
        EXPECT_EQ(java_lang_Character::toUpperCase(r.c), r.toUpper) << r.c;
        EXPECT_EQ(java_lang_Character::isLowerCase(r.c), r.lower) << r.c;
    }
    for (jchar c = '0'; c <= '9'; ++c) EXPECT_TRUE(java_lang_Character::isDigit(c));
    EXPECT_FALSE(java_lang_Character::isDigit('/'));
    EXPECT_FALSE(java_lang_Character::isDigit(0x660));  // no table beyond Latin-1
}

TEST(CaseConverter, DigitsOfEveryRadix) {
    struct Row {
        jchar c;
        jint radix, value;
    };
    const Row rows[] = {
        {'z', 36, 35}, {'z', 35, -1}, {'7', 1, -1},  {'7', 10, 7},  {'7', 7, -1},  {'A', 16, 10}, {'f', 16, 15},
        {'g', 16, -1}, {'-', 10, -1}, {'5', 37, -1}, {0xC0, 16, 9}, {0xDF, 36, -1}, {0xDF, 41, -1}, {'0', 2, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Case::digit(r.c, r.radix), r.value) << r.c << " radix " << r.radix;
        EXPECT_EQ(java_lang_Character::digit(r.c, r.radix), r.value);
    }
}

class Wrappers : public LangTest {};

TEST_F(Wrappers, IntegerValuesEqualityAndText) {
    auto* i200 = newObject<java_lang_Integer>(200);
    EXPECT_EQ(i200->byteValue(), -56);
    EXPECT_EQ(i200->shortValue(), 200);
    EXPECT_EQ(newObject<java_lang_Integer>(70000)->shortValue(), 4464);
    EXPECT_EQ(newObject<java_lang_Integer>(-1)->longValue(), -1);
    EXPECT_EQ(i200->hashCode(), 200);
    EXPECT_EQ(i200->toString()->toUtf8(), "200");
    auto* five = newObject<java_lang_Integer>(5);
    EXPECT_TRUE(five->equals(newObject<java_lang_Integer>(5)));
    EXPECT_FALSE(five->equals(newObject<java_lang_Integer>(6)));
    EXPECT_FALSE(five->equals(java_lang_Boolean::valueTrue()));
    EXPECT_FALSE(five->equals(nullptr));
    EXPECT_EQ(java_lang_Integer::toHexString(-1)->toUtf8(), "ffffffff");
    EXPECT_EQ(java_lang_Integer::toBinaryString(0)->length(), 0);
    EXPECT_EQ(java_lang_Integer::toBinaryString(-1)->toUtf8(), std::string(32, '1'));
    EXPECT_EQ(java_lang_Integer::toString(java::kIntMin)->toUtf8(), "-2147483648");
    Object* made = NewInstanceFactory::newInstance(cid::java_lang_Integer);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<java_lang_Integer*>(made)->intValue(), 0);
}

TEST_F(Wrappers, IntegerParsingNeverRaises) {
    EXPECT_EQ(java_lang_Integer::parseInt(S("12abc")), 12);
    EXPECT_EQ(java_lang_Integer::parseInt(S("x")), 0);
    EXPECT_EQ(java_lang_Integer::parseInt(S("99999999999")), java::kIntMax);
    EXPECT_EQ(java_lang_Integer::parseIntRadix(S("ff"), 16), 0);
    EXPECT_TRUE(m_log.contains("base == 10"));
    EXPECT_EQ(java_lang_Integer::valueOfString(S(" 42x"))->intValue(), 42);
    m_log.clear();
    java_lang_Integer* none = java_lang_Integer::valueOfString(nullptr);
    EXPECT_EQ(none->intValue(), 0);
    EXPECT_TRUE(m_log.contains("java_lang_Double::valueOf(): param0 is NULL, returning 0.0 Double."));
    EXPECT_EQ(Application::pendingException(), nullptr);
}

TEST_F(Wrappers, DoubleConversionsAndIdentity) {
    auto* d = newObject<java_lang_Double>(-2.9);
    EXPECT_EQ(d->intValue(), -2);
    EXPECT_EQ(d->longValue(), -2);
    EXPECT_EQ(d->byteValue(), -2);
    EXPECT_EQ(newObject<java_lang_Double>(300.7)->byteValue(), 44);
    EXPECT_EQ(newObject<java_lang_Double>(1e10)->longValue(), java::kIntMax);  // never wider than 32 bits
    EXPECT_EQ(newObject<java_lang_Double>(-1e10)->intValue(), java::kIntMin);
    EXPECT_EQ(newObject<java_lang_Double>(std::nan(""))->intValue(), 0);
    EXPECT_EQ(newObject<java_lang_Double>(0.1)->floatValue(), 0.1f);
    EXPECT_EQ(d->toString()->toUtf8(), "-2.900000");
    auto* one = newObject<java_lang_Double>(1.0);
    EXPECT_FALSE(one->equals(newObject<java_lang_Double>(1.0)));  // Object's equals: identity
    EXPECT_TRUE(one->equals(one));
    EXPECT_TRUE(newObject<java_lang_Double>(std::nan(""))->isNaN());
    EXPECT_TRUE(java_lang_Double::isInfinite(-INFINITY));
    EXPECT_FALSE(java_lang_Double::isInfinite(1e308));
    EXPECT_TRUE(java_lang_Double::isNaN(-std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(java_lang_Double::valueOf(S("2.5e1"))->doubleValue(), 25.0);
    EXPECT_EQ(java_lang_Double::parseDouble(S("-.5")), -0.5);
    m_log.clear();
    EXPECT_EQ(java_lang_Double::valueOf(nullptr)->doubleValue(), 0.0);
    EXPECT_TRUE(m_log.contains("param0 is NULL"));
}

TEST_F(Wrappers, BooleanConstantsFromTheClassInitialiser) {
    java_lang_Boolean* t = java_lang_Boolean::valueTrue();
    java_lang_Boolean* f = java_lang_Boolean::valueFalse();
    ASSERT_NE(t, nullptr);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(t->booleanValue(), 1);
    EXPECT_EQ(f->booleanValue(), 0);
    EXPECT_EQ(t->toString(), pool(198));
    EXPECT_EQ(f->toString(), pool(199));
    EXPECT_EQ(t->hashCode(), 1);
    EXPECT_EQ(f->hashCode(), 0);
    EXPECT_TRUE(t->equals(newObject<java_lang_Boolean>(7)));  // any non-zero is true
    EXPECT_FALSE(t->equals(f));
    EXPECT_FALSE(t->equals(newObject<java_lang_Integer>(1)));
    collect();
    EXPECT_EQ(java_lang_Boolean::valueTrue(), t);  // static roots keep them
    EXPECT_EQ(t->booleanValue(), 1);
}

TEST_F(Wrappers, ByteParsingRaisesOutsideItsRange) {
    struct Row {
        const char* text;
        jint radix;
        jbyte value;
        bool raises;
    };
    const Row rows[] = {
        {"127", 10, 127, false}, {"-128", 10, -128, false}, {"128", 10, 0, true}, {"-129", 10, 0, true},
        {"x", 10, 0, false},     {"7f", 16, 7, false},      {"99999999999", 10, 0, true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(java_lang_Byte::parseByte(S(r.text), r.radix), r.value) << r.text;
        Object* e = Application::pendingException();
        EXPECT_EQ(e != nullptr, r.raises) << r.text;
        if (e) {
            EXPECT_EQ(e->classId(), cid::java_lang_NumberFormatException);
            Application::clearPendingException();
        }
    }
    EXPECT_EQ(java_lang_Byte::parseByte(S("-5")), -5);
    auto* b = newObject<java_lang_Byte>(jbyte(-3));
    EXPECT_EQ(b->toString()->toUtf8(), "-3");
    EXPECT_TRUE(b->equals(newObject<java_lang_Byte>(jbyte(-3))));
    EXPECT_FALSE(b->equals(newObject<java_lang_Integer>(-3)));
}

TEST_F(Wrappers, LongFloatAndCharacterMembers) {
    const jlong big = (jlong(1) << 32) + 5;
    EXPECT_EQ(java_lang_Long::toString(big)->toUtf8(), "5");
    auto* l = newObject<java_lang_Long>(big);
    EXPECT_EQ(l->toString()->toUtf8(), "5");
    EXPECT_EQ(l->hashCode(), 5);
    EXPECT_TRUE(l->equals(newObject<java_lang_Long>(big)));
    EXPECT_FALSE(l->equals(newObject<java_lang_Long>(5)));
    EXPECT_EQ(java_lang_Long::parseLong(S("-12")), -12);
    EXPECT_EQ(java_lang_Long::parseLong(S("99999999999")), java::kIntMax);  // a 32-bit parse, widened
    EXPECT_EQ(java_lang_Long::parseLongRadix(S("10"), 2), 10);

    auto* f = newObject<java_lang_Float>(-7.9f);
    EXPECT_EQ(f->intValue(), -7);
    EXPECT_EQ(f->toString(), pool(192));
    EXPECT_TRUE(f->equals(newObject<java_lang_Float>(-7.9f)));
    EXPECT_FALSE(f->equals(newObject<java_lang_Double>(-7.9)));

    EXPECT_EQ(newObject<java_lang_Character>(jchar('x'))->toString()->toUtf8(), "x");
    EXPECT_EQ(newObject<java_lang_Character>(jchar(0))->toString()->length(), 0);
    auto* c = newObject<java_lang_Character>(jchar(0xE9));
    EXPECT_EQ(c->hashCode(), 0xE9);
    EXPECT_TRUE(c->equals(newObject<java_lang_Character>(jchar(0xE9))));
}

}  // namespace

// Text formatting: escapes and parameters, the terminator, number grouping
// by language, the parameter table's bound.
#include "game/flow/screen.h"

#include "game/flow/flow_statics.h"
#include "game/sprite/statics.h"
#include "runtime/statics.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;

class TextTest : public FlowTest {
protected:
    // Game texts carry one terminator character.
    String* text(const std::string& s) { return datatest::jstr(s + "|"); }
    std::string pool(jint n) { return datatest::utf8(StaticClass::getStringConstant(n)); }
};

TEST_F(TextTest, FormatTextCases) {
    struct Case {
        const char* in;
        const char* out;
    };
    addTextParam(datatest::jstr("7"));
    addTextParam(datatest::jstr("x"));
    const Case cases[] = {
        {"abc", "abc"},
        {"", ""},
        {"a\\qb", "ab"},          // an unknown escape disappears
        {"ab\\", "ab"},           // a backslash as the last visible character
        {"n=\\d m=\\S.", "n=7 m=x."},
        {"\\D\\s", "7x"},
    };
    for (const Case& c : cases) EXPECT_EQ(datatest::utf8(formatText(nullptr, text(c.in))), c.out) << c.in;
}

TEST_F(TextTest, SeventeenthParameterIsRefused) {
    for (int i = 0; i < kTextParams; ++i) addIntParam(i);
    EXPECT_EQ(sprite::bf().textParamCount, kTextParams);
    addIntParam(99);
    EXPECT_EQ(sprite::bf().textParamCount, kTextParams);
    EXPECT_TRUE(log.contains("refused"));
    EXPECT_TRUE(sprite::bf().textParamsPending);
}

TEST_F(TextTest, FormatNumberByLanguage) {
    const std::string sep0 = pool(111), sep1 = pool(133), given = "'";
    const std::string z2 = pool(138), z1 = pool(13);
    struct Case {
        jint n, language;
        std::string out;
    };
    const Case cases[] = {
        {999, 0, "999"},
        {-5000, 0, "-5000"},
        {1234, 0, "1" + sep0 + "234"},
        {1234, 2, "1234"},
        {10000, 2, "10'000"},
        {1234, 1, "1" + sep1 + "234"},
        {1234, 3, "1'234"},
        {1234, 11, "1234"},
        {10000, 11, "10" + sep1 + "000"},
        {1000005, 0, "1" + sep0 + z2 + "0" + sep0 + z2 + "5"},
        {1000005, 99, "1000005"},
        {1050, 0, "1" + sep0 + z1 + "50"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(datatest::utf8(formatNumber(c.n, c.language, datatest::jstr(given))), c.out)
            << c.n << " in " << c.language;
}

}  // namespace

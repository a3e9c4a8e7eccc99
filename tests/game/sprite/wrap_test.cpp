// Text wrapping: the line-break table, the wrapped text and the wrapped
// line count, with the kit's test font (A-C advance 4, D 5, a and b 3,
// space 3).
#include "tests/game/sprite/models.h"
#include "tests/game/sprite/support.h"

#include "game/sprite/statics.h"

using namespace spritetest;
using namespace sprite;

namespace {

class WrapTest : public SpriteTest {};

std::vector<std::pair<jint, jint>> lines(ShortArray* table) {
    std::vector<std::pair<jint, jint>> out;
    for (jint k = 0; k < table->data()[0]; ++k) out.emplace_back(table->data()[1 + 2 * k], table->data()[2 + 2 * k]);
    return out;
}

std::string utf8(String* s) { return s ? s->toUtf8() : "<null>"; }

}  // namespace

TEST_F(WrapTest, BreakTable) {
    BSprite* font = loadFont(testFont());
    struct Case {
        const char* text;
        jint width;
        std::vector<std::pair<jint, jint>> lines;
        const char* wrapped;
    } cases[] = {
        {"", 50, {{0, 0}}, ""},
        {"AB", 50, {{2, 8}}, "AB"},
        {"AB ", 50, {{3, 11}}, "AB "},  // the last line keeps its trailing space
        {"AB CD", 12, {{3, 8}, {5, 9}}, "AB \nCD"},
        {"AB CD", 10, {{3, 8}, {5, 9}}, "AB \nCD"},  // broken at the space itself
        {"AB   CD", 12, {{5, 8}, {7, 9}}, "AB   \nCD"},
        {"AB\nCD", 50, {{2, 8}, {5, 9}}, "AB\nCD"},
        {"AB\n\nC", 50, {{2, 8}, {3, 0}, {5, 4}}, "AB\n\nC"},
        {"ABCDABCD", 10, {{8, 34}}, "ABCDABCD"},  // a word wider than the line stays whole
        {"AB \\^CD\\^", 12, {{3, 8}, {9, 11}}, "AB \n\\^CD\\^"},  // bold pixels counted once
        {"   A", 2, {{3, 0}, {4, 4}}, "   \nA"},
        {"a b a b", 7, {{2, 3}, {4, 3}, {6, 3}, {7, 3}}, "a \nb \na \nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        String* text = String::fromLatin1(c.text);
        ShortArray* table = font->computeLineBreaks(text, c.width);
        EXPECT_EQ(table, as().lineBreaks);
        EXPECT_EQ(lines(table), c.lines);
        EXPECT_EQ(utf8(font->wrapText(text, c.width)), c.wrapped);
        jint newLines = 0;
        for (const char* p = c.wrapped; *p; ++p) newLines += *p == '\n';
        EXPECT_EQ(font->getWrappedLineCount(text, 0, text->length() - 1, c.width), 1 + newLines);
    }
    // A word without spaces is one line however long.
    EXPECT_EQ(font->getWrappedLineCount(String::fromLatin1("ABCDABCDABCDABCD"), 0, 15, 4), 1);
    // The inclusive range of the count.
    EXPECT_EQ(font->getWrappedLineCount(String::fromLatin1("AB CD EF"), 3, 4, 4), 1);
    EXPECT_EQ(font->getWrappedLineCount(String::fromLatin1("AB CD EF"), 0, 4, 10), 2);
}

TEST_F(WrapTest, AtMost127Lines) {
    BSprite* font = loadFont(testFont());
    // 200 lines by new lines: 126 breaks, the 127th line runs to the end.
    std::string many;
    for (int i = 0; i < 200; ++i) many += "A\n";
    String* text = String::fromLatin1(many);
    ShortArray* table = font->computeLineBreaks(text, 100);
    ASSERT_EQ(table->data()[0], 127);
    EXPECT_EQ(table->data()[1 + 2 * 125], 251);  // the 126th new line
    EXPECT_EQ(table->data()[1 + 2 * 126], 400);
    EXPECT_EQ(table->data()[2 + 2 * 126], 74 * 4);
    EXPECT_EQ(utf8(font->wrapText(text, 100)), many);
    // 300 words, one a line: the same cap, and the text keeps every character.
    std::string words;
    for (int i = 0; i < 300; ++i) words += "A ";
    String* spaced = String::fromLatin1(words);
    ASSERT_EQ(font->computeLineBreaks(spaced, 4)->data()[0], 127);
    const std::string wrapped = utf8(font->wrapText(spaced, 4));
    std::string withoutBreaks;
    for (char ch : wrapped)
        if (ch != '\n') withoutBreaks += ch;
    EXPECT_EQ(withoutBreaks, words);
    EXPECT_EQ(std::count(wrapped.begin(), wrapped.end(), '\n'), 126);
}

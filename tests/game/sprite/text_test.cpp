// Sprite-font text: the character map, font metrics, measuring with the
// inline codes, drawing at anchors with bold, underline, palette codes and
// missing glyphs (small goldens of a font the kit builds), and drawing line
// by line.
#include "tests/game/sprite/models.h"
#include "tests/game/sprite/support.h"

#include "display/pixel.h"
#include "game/sprite/statics.h"

using namespace spritetest;
using namespace sprite;

namespace {

class TextTest : public SpriteTest {};

constexpr jint kLeftTop = 4 | 16;

// The drawn pixels' box in game coordinates (the screen shows the game
// space turned a quarter: game (x, y) is device (479 - y, x)).
struct GameBox {
    jint x1, y1, x2, y2;
    bool operator==(const GameBox&) const = default;
};
GameBox gameBox(const Screen& s) {
    jint dx1, dy1, dx2, dy2;
    if (!s.boxNot(0, &dx1, &dy1, &dx2, &dy2)) return {0, 0, 0, 0};
    return {dy1, 480 - dx2, dy2, 480 - dx1};
}
std::ostream& operator<<(std::ostream& o, const GameBox& b) {
    return o << "(" << b.x1 << ", " << b.y1 << ")-(" << b.x2 << ", " << b.y2 << ")";
}

String* text(const char* latin1) { return String::fromLatin1(latin1); }

}  // namespace

TEST_F(TextTest, CharacterMapAndMetrics) {
    const kit::FontBuild build = kit::buildFont(testFont());
    BSprite* font = loadFont(testFont());
    for (const auto& [c, frame] : build.frameOf) EXPECT_EQ(font->getCharFrame(c), frame) << static_cast<int>(c);
    EXPECT_EQ(font->getCharFrame(u'Z'), 1);
    EXPECT_EQ(font->fontTop, 5);
    EXPECT_EQ(font->fontHeight, 6);
    EXPECT_EQ(font->lineSpacing, 2);
    EXPECT_EQ(font->spaceAdvance, 3);
    EXPECT_EQ(font->getGlyphAdvance(font->getCharFrame(u'D')), 5);
    // Before a map every character is frame 0.
    BSprite* bare = loadSprite(build.sprite);
    EXPECT_EQ(bare->getCharFrame(u'A'), 0);

    // Maps that would index outside themselves are rejected; the map stays.
    LogCapture log;
    const std::vector<std::vector<int16_t>> bad = {
        {0},                               // no buckets
        {-3, 65, 2},                       // negative size
        {2, 65, 2},                        // first pairs missing
        {2, 64, 2, 65, 3, 5, 1, 66, 4},    // a group naming bucket 5
        {2, 64, 2, 65, 3, 0, 4, 66, 4},    // a group of 4 pairs with 1
        {2, 64, 2, 65, 3, 0},              // a group cut short
    };
    for (const auto& map : bad) {
        log.clear();
        ShortArray* m = javaShorts(map);
        font->setCharMap(m);
        EXPECT_TRUE(log.contains("BSprite::setCharMap: rejected")) << testing::PrintToString(map);
        EXPECT_EQ(font->getCharFrame(u'A'), build.frameOf.at(u'A'));
    }
    // A second group for a bucket replaces the first's pairs.
    ShortArray* twice = javaShorts({1, 65, 2, 0, 1, 66, 3, 0, 1, 67, 4});
    font->setCharMap(twice);
    EXPECT_EQ(font->getCharFrame(u'A'), 2);
    EXPECT_EQ(font->getCharFrame(u'B'), 1);
    EXPECT_EQ(font->getCharFrame(u'C'), 4);
}

TEST_F(TextTest, MeasuringTable) {
    BSprite* font = loadFont(testFont());
    struct Case {
        const char* text;
        jint width, height;
    } cases[] = {
        {"", 0, 6},
        {"AB", 8, 6},
        {"A\nBCD", 13, 14},
        {"A\n", 4, 14},
        {"A B", 11, 6},
        {"\\^AB", 10, 6},
        {"\\^A B", 13, 6},
        {"\\_A\\_", 4, 6},  // underline toggles have no width
        {"Z", 4, 6},        // the missing glyph
        {"\x02\x03", 4, 6},  // frame 3 inline
        {"\x01\x02" "A", 4, 6},
        {"\\7A", 4, 6},
        {"\x05\x1F" "A", 4, 6},  // other codes below 32
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        font->bold = 0;
        font->measureString(text(c.text), nullptr);
        EXPECT_EQ(as().textWidth, c.width);
        EXPECT_EQ(as().textHeight, c.height);
    }
    // The same through a char array, a range, and the width query.
    const char16_t units[] = u"ABCD";
    CharArray* chars = newCharArray(4);
    std::copy_n(reinterpret_cast<const jchar*>(units), 4, chars->data());
    font->measureString(nullptr, chars);
    EXPECT_EQ(as().textWidth, 17);
    as().substringStart = 1;
    as().substringEnd = 3;
    EXPECT_EQ(font->getStringWidth(text("ABCD")), 8);
    as().substringStart = as().substringEnd = -1;
    EXPECT_EQ(font->getStringWidth(nullptr), 8);  // the last width
    // Extra spacing comes off once at the end.
    font->charSpacing = 2;
    EXPECT_EQ(font->getStringWidth(text("AB")), 10);
}

TEST_F(TextTest, AnchorsPlaceTheBlock) {
    BSprite* font = loadFont(testFont());
    Screen screen;
    struct Case {
        const char* text;
        jint anchor;
        GameBox box;  // of the drawn pixels
    } cases[] = {
        {"AB", kLeftTop, {100, 50, 107, 55}},
        {"AB", 8 | 32, {92, 44, 99, 49}},  // ends at x (less the last glyph's gap), bottom at y
        {"D", 1 | 16, {98, 50, 102, 55}},  // 5 wide: starts at x - 2
        {"AB\nA", 2 | 4, {100, 43, 107, 56}},  // block of 14 rows centred
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        screen.clear();
        font->drawString(screen.g, text(c.text), nullptr, 100, 50, c.anchor, false);
        EXPECT_EQ(gameBox(screen), c.box);
    }
    // An empty text draws nothing.
    screen.clear();
    font->drawString(screen.g, text(""), nullptr, 100, 50, kLeftTop, false);
    EXPECT_EQ(screen.countNot(0), 0);
    // Pen and anchor arithmetic at the ends of the int range wraps as Java's
    // does (the sanitizers see no overflow) and nothing lands on the screen.
    const jint extremes[][2] = {{java::kIntMax, java::kIntMax}, {java::kIntMin, java::kIntMin},
                                {java::kIntMax - 3, java::kIntMin + 2}};
    for (const auto& at : extremes) {
        for (jint anchor : {kLeftTop, 8 | 32, 1 | 2}) {
            screen.clear();
            font->drawString(screen.g, text("AB D"), nullptr, at[0], at[1], anchor, false);
            font->drawMultilineString(screen.g, text("A\nB\nD"), at[0], at[1], anchor, 0, 5);
            EXPECT_EQ(screen.countNot(0), 0);
        }
    }
}

TEST_F(TextTest, StylesAndCodesGolden) {
    BSprite* font = loadFont(testFont());
    Screen screen;
    font->drawString(screen.g, text("AB CD Z"), nullptr, 2, 2, kLeftTop, true);
    font->drawString(screen.g, text("\\^AB\\^ a\\_b C\\_"), nullptr, 2, 10, kLeftTop, true);
    font->drawString(screen.g, text("A\\1B\\2C\x01\xFF" "D"), nullptr, 2, 18, kLeftTop, true);
    font->drawString(screen.g, text("0\x02\x03" "1"), nullptr, 2, 26, kLeftTop, true);
    // The game space is turned onto the screen: rows of text run downward.
    expectGolden("text_styles", screen, 480 - 34, 0, 34, 40);
    EXPECT_FALSE(font->bold);
    EXPECT_FALSE(font->underline);
    EXPECT_EQ(font->currentPalette, 0);
}

TEST_F(TextTest, SwitchesAndPalettesPersist) {
    BSprite* font = loadFont(testFont());
    Screen screen;
    // Bold: every glyph twice, one pixel apart; the switch stays on.
    font->drawString(screen.g, text("\\^A"), nullptr, 100, 50, kLeftTop, false);
    EXPECT_EQ(gameBox(screen), (GameBox{100, 50, 104, 55}));
    EXPECT_TRUE(font->bold);
    font->bold = 0;
    // Code 1 with 255 brings back the saved palette even without restoring.
    as().savedPalette = 1;
    font->drawString(screen.g, text("\x01\x02" "A\x01\xFF"), nullptr, 0, 0, kLeftTop, false);
    EXPECT_EQ(font->currentPalette, 1);
    // A backslash and a digit picks that palette; a letter picks one the font lacks.
    font->drawString(screen.g, text("\\2A"), nullptr, 0, 0, kLeftTop, false);
    EXPECT_EQ(font->currentPalette, 2);
    font->drawString(screen.g, text("\\xA"), nullptr, 0, 0, kLeftTop, false);
    EXPECT_EQ(font->currentPalette, 2);
    font->drawString(screen.g, text("\\0A"), nullptr, 0, 0, kLeftTop, true);
    EXPECT_EQ(font->currentPalette, 2);  // restored
    // Underline stays set for the next text.
    font->drawString(screen.g, text("\\_"), nullptr, 0, 0, kLeftTop, false);
    EXPECT_TRUE(font->underline);
    screen.clear();
    font->drawString(screen.g, text(" "), nullptr, 100, 50, kLeftTop, false);
    EXPECT_EQ(gameBox(screen), (GameBox{99, 54, 102, 55}));  // the underscore, centred in the space
}

TEST_F(TextTest, LineByLine) {
    BSprite* font = loadFont(testFont());
    Screen screen;
    font->drawMultilineString(screen.g, text("a\n\nb"), 100, 50, kLeftTop, 0, 4);
    EXPECT_EQ(as().substringStart, -1);
    EXPECT_EQ(as().substringEnd, -1);
    // Three lines 8 apart; the middle one empty.
    EXPECT_EQ(gameBox(screen), (GameBox{100, 51, 102, 71}));
    Screen single;
    font->drawString(single.g, text("b"), nullptr, 100, 66, kLeftTop, false);
    Screen firstOnly;
    font->drawString(firstOnly.g, text("a"), nullptr, 100, 50, kLeftTop, false);
    for (jint x = 0; x < 480; ++x)
        for (jint y = 95; y < 110; ++y)
            ASSERT_EQ(screen.at(x, y), single.at(x, y) | firstOnly.at(x, y)) << x << "," << y;
    // Each line anchored by itself: right-aligned lines end together.
    screen.clear();
    font->drawMultilineString(screen.g, text("AB\nD"), 100, 50, 8 | 32, 0, 4);
    EXPECT_EQ(gameBox(screen), (GameBox{92, 36, 99, 49}));
    EXPECT_EQ(ASprite::countLines(text("a\nb\n")), 2);
    IntArray* positions = ASprite::separatorPositions(text("a|b|"), 124, 0, 4);
    EXPECT_EQ(std::vector<jint>(positions->data(), positions->data() + positions->length()),
              (std::vector<jint>{-1, 1, 3, 4}));
}

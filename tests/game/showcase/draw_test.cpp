// Drawing: the loading screen, pages, list pages, buttons, arrows and soft
// keys against goldens; the bitmap font in both glyph layouts; the text box,
// text preparation and wrapping; the recoloured strips read back by libpng.
#include "tests/game/showcase/support.h"

#include <png.h>

#include "tools/kit/demo.h"
#include "tools/kit/describe.h"

namespace showcasetest {
namespace {

using game::Showcase;
using game::ShowcaseStatics;
using game::showcaseStatics;

kit::ShowcaseDescription demoWith(bool option) {
    kit::ShowcaseDescription d = kit::demoShowcase();
    d.option = option;
    d.images["slot4"] = kit::showcaseBox(200, 120, 0xFF8040D0);
    return d;
}

void startDemo(const kit::ShowcaseDescription& d) {
    World world;
    world.pack = kit::encodeShowcase(d);
    start(world);
    setupScreen();
}

class DrawTest : public ShowcaseTest {
public:
    ShowcaseStatics* s() { return showcaseStatics(); }
    void paintAt(Screen& screen, uint32_t tick) {
        g_tick = tick;
        screen.clear(0x1234);
        Showcase::paint(screen.g);
    }
};

TEST_F(DrawTest, LoadingScreenShowsProgressAndCaller) {
    startDemo(kit::demoShowcase());
    Screen screen;
    Showcase::enter(String::fromUtf8("Bramble Hollow"), 0);
    const jint count = s()->loadStepCount;
    for (jint step = -1; step <= count; ++step) {
        if (step == 0 || step == count / 2 || step == count) {
            paintAt(screen, 0);
            expectGolden("loading_" + std::to_string(step), screen, 90, 215, 620, 35);
        }
        Showcase::doAction(0);
    }
    // A blank caller draws no text.
    Showcase::enter(String::fromUtf8("   "), 0);
    paintAt(screen, 0);
    for (jint x = 0; x < 800; x += 7) EXPECT_EQ(screen.at(x, 230), 0) << x;
}

TEST_F(DrawTest, PagesInBothColourSets) {
    for (bool option : {false, true}) {
        SCOPED_TRACE(option);
        startDemo(demoWith(option));
        enterAndLoad();
        Screen screen;
        paintAt(screen, 600);  // button shown
        expectGolden(option ? "page_option" : "page_plain", screen, 0, 0, 800, 480, 4);
        expectGolden(option ? "button_option" : "button_plain", screen, 270, 365, 260, 60);
        paintAt(screen, 400);  // button hidden
        const uint16_t background = screen.at(300, 380);
        EXPECT_EQ(background, option ? 0x0000 : 0xFFFF);
        s()->pressedAction = game::kActButton;  // pressed: shown whatever the tick
        paintAt(screen, 400);
        expectGolden(option ? "button_option_pressed" : "button_plain_pressed", screen, 270, 365, 260, 60);
        stop();
    }
}

TEST_F(DrawTest, ButtonBlinksWithTheTickAcrossItsWrap) {
    startDemo(kit::demoShowcase());
    enterAndLoad();
    Screen screen;
    struct Case { uint32_t tick; bool shown; };
    const Case cases[] = {{0, false}, {500, false}, {501, true}, {999, true}, {1000, false},
                          {0xFFFFFFF0u, false}, {0xFFFFFE00u, true}};
    for (const Case& c : cases) {
        paintAt(screen, c.tick);
        EXPECT_EQ(screen.at(290, 380) != 0xFFFF, c.shown) << c.tick;
    }
}

TEST_F(DrawTest, ArrowsHighlightForFivePaintsAndSoftKeysPress) {
    startDemo(kit::demoShowcase());
    enterAndLoad();
    Screen screen;
    Showcase::doAction(game::kActNext);
    for (int paint = 0; paint < 5; ++paint) {
        EXPECT_EQ(s()->movedForward, 1) << paint;
        paintAt(screen, 0);
        if (paint == 0) expectGolden("arrow_right_lit", screen, 720, 200, 80, 80);
    }
    EXPECT_EQ(s()->movedForward, 0);
    paintAt(screen, 0);
    expectGolden("arrow_right_plain", screen, 720, 200, 80, 80);
    // The swing: 0 to 4 pixels with the tick.
    paintAt(screen, 320);  // d = 0
    expectGolden("arrow_left_swing0", screen, 0, 200, 80, 80);
    s()->pressedAction = game::kActBack;
    paintAt(screen, 0);
    expectGolden("softkey_right_pressed", screen, 640, 420, 160, 60);
    s()->pressedAction = game::kActSelect;
    s()->softKeyHeld = 1;
    paintAt(screen, 0);
    expectGolden("softkey_left_pressed", screen, 0, 420, 160, 60);
}

TEST_F(DrawTest, ListPageWithSelectionAndArrows) {
    startDemo(kit::demoShowcase());
    enterAndLoad();
    Screen screen;
    s()->currentEntry = 5;
    Showcase::resetPage();
    s()->listVisibleRows = 2;
    Showcase::doAction(game::kActRowDown);
    paintAt(screen, 0);
    expectGolden("list_page", screen, 0, 0, 800, 480, 2);
    EXPECT_EQ(s()->listSelection, 1);
}

TEST_F(DrawTest, TextBoxesByAnchorBreakSpacingAndLayout) {
    struct Variant { const char* name; bool variant; int cell; };
    const Variant variants[] = {{"plain13", false, 13}, {"plain6", false, 0}, {"wide13", true, 13}};
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        kit::ShowcaseDescription d = kit::demoShowcase();
        d.font = kit::showcaseFontFrom(kit::parseFontDescription(kit::kDemoFont), v.cell, 0xFF202020u, v.variant);
        if (v.variant) d.layoutId = "WIDE";
        startDemo(d);
        for (jint step = -1; step <= 2; ++step) Showcase::loadStep(step);
        EXPECT_EQ(s()->glyphExtra, v.variant ? 2 : 0);
        EXPECT_EQ(s()->letterSpacing, v.cell == 13 ? 0 : -1);
        Screen screen;
        screen.clear(0xFFFF);
        const jint anchors[] = {16 | 4, 1 | 2, 32 | 8};
        for (int i = 0; i < 3; ++i)
            Showcase::drawTextBox(String::fromUtf8("AB C\nDEF\\NG"), screen.g, 200, 100 + 150 * i, 60, anchors[i]);
        expectGolden(std::string("textbox_") + v.name, screen, 0, 0, 440, 120);
        EXPECT_EQ(screen.g->getClipWidth(), 800);  // the clip is restored
        stop();
    }
}

TEST_F(DrawTest, TextBoxStopsAtTheTenthLine) {
    startDemo(kit::demoShowcase());
    for (jint step = -1; step <= 2; ++step) Showcase::loadStep(step);
    Screen screen;
    screen.clear(0xFFFF);
    std::string text;
    for (int i = 0; i < 11; ++i) text += std::string(1, static_cast<char>('A' + i)) + (i < 10 ? "\n" : "");
    Showcase::drawTextBox(String::fromUtf8(text), screen.g, 100, 10, 10, 16 | 4);
    expectGolden("textbox_eleven_lines", screen, 0, 0, 40, 170);
    EXPECT_EQ(s()->textHeight, 11 * s()->lineHeight);  // 10 lines: (10 + 1) line heights
    // Characters without a record and glyph boxes outside the strip draw nothing.
    screen.clear(0xFFFF);
    Showcase::drawTextBox(String::fromUtf16(u"\u4E00\u00FF~"), screen.g, 100, 10, 10, 16 | 4);
    for (jint y = 0; y < 40; ++y)
        for (jint x = 0; x < 60; ++x) ASSERT_EQ(screen.at(x, y), 0xFFFF) << x << "," << y;
}

// A space is drawn like any glyph, from its record: the demo font has no
// picture for it, so its region of the strip is blank, and its height is
// the line height. Nothing of another glyph (the box of '0', which sits at
// the strip's origin) shows where a space is.
TEST_F(DrawTest, SpacesPaintNothingAndMoveThePenByTheirWidth) {
    startDemo(kit::demoShowcase());
    for (jint step = -1; step <= 2; ++step) Showcase::loadStep(step);
    EXPECT_EQ(Showcase::glyphField(32, 3), s()->lineHeight);
    EXPECT_EQ(s()->lineHeight, 13);
    EXPECT_EQ(Showcase::glyphField(32, 2), 4);  // the font's space advance and a pixel of spacing
    auto lit = [](const Screen& screen) {
        int n = 0;
        for (jint y = 0; y < 40; ++y)
            for (jint x = 0; x < 120; ++x) n += screen.at(x, y) != 0xFFFF;
        return n;
    };
    Screen screen;
    screen.clear(0xFFFF);
    Showcase::drawTextBox(String::fromUtf8("0"), screen.g, 100, 10, 10, 16 | 4);
    EXPECT_GT(lit(screen), 8);  // the box glyph itself
    screen.clear(0xFFFF);
    Showcase::drawTextBox(String::fromUtf8("     \\N  "), screen.g, 100, 10, 10, 16 | 4);
    EXPECT_EQ(lit(screen), 0) << "a space painted a glyph";

    // "A B" is "A" and "B" one space's advance apart, and nothing between.
    Screen joined, apart;
    joined.clear(0xFFFF);
    apart.clear(0xFFFF);
    Showcase::drawTextBox(String::fromUtf8("A B"), joined.g, 100, 10, 10, 16 | 4);
    Showcase::drawTextBox(String::fromUtf8("A"), apart.g, 100, 10, 10, 16 | 4);
    Showcase::drawTextBox(String::fromUtf8("B"), apart.g, 100, 10 + Showcase::textWidth(String::fromUtf8("A ")), 10,
                          16 | 4);
    EXPECT_GT(lit(joined), 8);
    for (jint y = 0; y < 40; ++y)
        for (jint x = 0; x < 120; ++x) ASSERT_EQ(joined.at(x, y), apart.at(x, y)) << x << "," << y;
}

TEST_F(DrawTest, MissingGlyphsAndBoxesOutsideTheStripAreSkipped) {
    kit::ShowcaseDescription d = kit::demoShowcase();
    for (auto& g : d.font.glyphs)
        if (g.code == 'A') g.x = 250;  // leaves the strip
    startDemo(d);
    for (jint step = -1; step <= 2; ++step) Showcase::loadStep(step);
    Screen screen;
    screen.clear(0xFFFF);
    Showcase::drawTextBox(String::fromUtf8("A"), screen.g, 100, 10, 10, 16 | 4);
    for (jint y = 0; y < 40; ++y)
        for (jint x = 0; x < 60; ++x) ASSERT_EQ(screen.at(x, y), 0xFFFF) << x << "," << y;
}

TEST_F(DrawTest, SplitAndWrap) {
    startDemo(kit::demoShowcase());
    for (jint step = -1; step <= 2; ++step) Showcase::loadStep(step);
    struct Split { std::u16string in, out; };
    const Split splits[] = {
        {u"A\uFF0CB\uFF01C", u"A\uFF0C|B\uFF01|C"},
        {u"A\bB\nC", u"A|B C"},
        {u"\uFF1F\uFF1B\uFF1A", u"\uFF1F|\uFF1B|\uFF1A|"},
        {u"ABCDEFG", u"ABCDEFG"},  // not the split language
    };
    for (const Split& c : splits) EXPECT_EQ(Showcase::splitText(String::fromUtf16(c.in))->toUtf16(), c.out);
    // The split language puts pool entry 67 into the middle of a long unbroken text.
    ObjectArray* codes = newObjectArray(cid::String, 1);
    codes->data()[0] = String::fromUtf8("JA");
    s()->languageCodes = codes;
    s()->languageIndex = 0;
    EXPECT_EQ(utf8(Showcase::splitText(String::fromUtf8("ABCDEFG"))), "ABC|DEFG");
    EXPECT_EQ(utf8(Showcase::splitText(String::fromUtf8("ABCDE"))), "ABCDE");
    EXPECT_EQ(utf8(Showcase::splitText(String::fromUtf8("ABC DEFG"))), "ABC DEFG");

    const jint a = Showcase::textWidth(String::fromUtf8("A"));
    ASSERT_GT(a, 0);
    struct Wrap { const char* in; jint width, lines; const char* out; };
    const Wrap wraps[] = {
        {"AA BB CC", 100 * a, 5, "AA BB CC"},
        {"AA BB CC", 5 * a + Showcase::textWidth(String::fromUtf8(" ")), 5, "AA BB\\NCC"},
        {"AA BB CC", 2 * a, 5, "AA\\NBB\\NCC"},
        {"AA BB CC", 2 * a, 2, "AA\\NBB"},
        {"AA|BB", 4 * a, 5, "AABB"},
        {"AA|BB", 3 * a, 5, "AA\\NBB"},
        {"LONGWORD", 2 * a, 5, "LONGWORD"},
        {"", 10, 5, ""},
    };
    for (const Wrap& w : wraps)
        EXPECT_EQ(utf8(Showcase::wrapText(String::fromUtf8(w.in), w.width, w.lines)), w.out) << w.in << " " << w.width;
}

TEST_F(DrawTest, FillRectAlphaAndClip) {
    startDemo(kit::demoShowcase());
    Screen screen;
    screen.clear(0xFFFF);
    Showcase::fillRectAlpha(screen.g, 10, 10, -5, 20, static_cast<jint>(0xFF000000));
    Showcase::fillRectAlpha(screen.g, 10, 10, 20, 0, static_cast<jint>(0xFF000000));
    EXPECT_EQ(screen.at(12, 12), 0xFFFF);
    Showcase::fillRectAlpha(screen.g, -10, -10, 20, 20, static_cast<jint>(0xFF000000));
    EXPECT_EQ(screen.at(0, 0), 0x0000);
    EXPECT_EQ(screen.at(10, 10), 0xFFFF);
    Showcase::fillRectAlpha(screen.g, 790, 470, 0x7FFFFFFF, 0x7FFFFFFF, static_cast<jint>(0x80000000));
    EXPECT_NE(screen.at(799, 479), 0xFFFF);
    Showcase::setClip(screen.g, -5, -5, 5000, 5000);
    EXPECT_EQ(screen.g->getClipX(), 0);
    EXPECT_EQ(screen.g->getClipWidth(), 800);
    EXPECT_EQ(screen.g->getClipHeight(), 480);
}

// Reads a PNG with libpng as RGB; empty when libpng refuses it.
std::vector<uint8_t> readRgb(const std::vector<uint8_t>& file, int* w, int* h) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> px(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) return {};
    *w = static_cast<int>(image.width);
    *h = static_cast<int>(image.height);
    return px;
}

TEST_F(DrawTest, RecolouredStripsAreValidPngs) {
    startDemo(kit::demoShowcase());
    const kit::Bytes strip = kit::demoShowcase().font.strip;
    for (uint32_t colour : {0x00B4EFu, 0xFF0000u}) {
        ByteArray* bytes = javaBytes(strip);
        ASSERT_NE(Showcase::recolourPng(bytes, 0, bytes->length(), 1, static_cast<jint>(colour)), nullptr);
        std::vector<uint8_t> file(reinterpret_cast<const uint8_t*>(bytes->data()),
                                  reinterpret_cast<const uint8_t*>(bytes->data()) + bytes->length());
        int w = 0, h = 0;
        const std::vector<uint8_t> rgb = readRgb(file, &w, &h);
        ASSERT_FALSE(rgb.empty()) << "libpng refused the recoloured strip";
        bool found = false;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3)
            found = found || ((uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]) == colour);
        EXPECT_TRUE(found);
    }
    // Both strips as the font draws them.
    for (jint step = -1; step <= 2; ++step) Showcase::loadStep(step);
    Screen screen;
    screen.clear(0xFFFF);
    for (jint i = 0; i < 3; ++i) {
        s()->fontStrip = i;
        Showcase::drawTextBox(String::fromUtf8("HELLO"), screen.g, 100, 10, 10 + 20 * i, 16 | 4);
    }
    s()->fontStrip = 0;
    expectGolden("strips", screen, 0, 0, 60, 70);
}

TEST_F(DrawTest, RecolourKeepsColoursOfDamagedPalettes) {
    startDemo(kit::demoShowcase());
    const kit::Bytes strip = kit::demoShowcase().font.strip;
    size_t plte = 0;
    for (size_t i = 4; i + 4 <= strip.size() && !plte; ++i)
        if (std::equal(strip.begin() + long(i), strip.begin() + long(i) + 4, "PLTE")) plte = i;
    ASSERT_GT(plte, 0u);
    struct Case { const char* name; kit::Bytes bytes; jint index; jint offset, length; const char* logged; };
    kit::Bytes noPlte = strip;
    noPlte[plte] = 'X';
    kit::Bytes longPlte = strip;
    longPlte[plte - 2] = 0x7F;
    const Case cases[] = {
        {"no palette", noPlte, 1, 0, -1, "no palette"},
        {"chunk past the bytes", longPlte, 1, 0, -1, "runs past the bytes"},
        {"index beyond the palette", strip, 2, 0, -1, "beyond the palette"},
        {"negative index", strip, -1, 0, -1, "beyond the palette"},
        {"range outside the array", strip, 1, 10, 1 << 20, "range outside"},
        {"palette cut by the length", strip, 1, 0, static_cast<jint>(plte + 6), "runs past the bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        ByteArray* bytes = javaBytes(c.bytes);
        const jint length = c.length < 0 ? bytes->length() : c.length;
        Showcase::recolourPng(bytes, c.offset, length, c.index, 0x123456);
        EXPECT_TRUE(log.contains(c.logged));
        for (size_t i = 0; i < c.bytes.size(); ++i) ASSERT_EQ(static_cast<uint8_t>(bytes->data()[i]), c.bytes[i]) << i;
    }
}

}  // namespace
}  // namespace showcasetest

// Font as a Java object: one set of metrics for every face, style and size,
// widths of Strings and char arrays with their range checks, the font
// cache and the default font, getFont(specifier), and the anchor rules of
// drawString seen through the metrics the Font reports.
#include <climits>

#include "display/font.h"
#include "tests/display/lcdui_fixture.h"

namespace {

using LcduiFont = LcduiTest;

TEST_F(LcduiFont, EveryFaceStyleAndSizeHasTheSameMetrics) {
    const display::FontMetrics m = display::fontMetrics();
    ASSERT_GT(m.height, 0) << "font file " << display::fontFile();
    const jint faces[] = {Font::FACE_SYSTEM, Font::FACE_MONOSPACE, Font::FACE_PROPORTIONAL};
    const jint styles[] = {Font::STYLE_PLAIN, Font::STYLE_BOLD, Font::STYLE_ITALIC | Font::STYLE_UNDERLINED};
    const jint sizes[] = {Font::SIZE_SMALL, Font::SIZE_MEDIUM, Font::SIZE_LARGE};
    String* text = String::fromUtf8("Hollow 42");
    const jint width = Font::getDefaultFont()->stringWidth(text);
    EXPECT_GT(width, 0);
    for (jint face : faces)
        for (jint style : styles)
            for (jint size : sizes) {
                Font* f = Font::getFont(face, style, size);
                EXPECT_EQ(f->getHeight(), m.height);
                EXPECT_EQ(f->getBaselinePosition(), m.ascent);
                EXPECT_EQ(f->stringWidth(text), width);
                EXPECT_EQ(f->getFace(), face);
                EXPECT_EQ(f->getStyle(), style);
                EXPECT_EQ(f->getSize(), size);
            }
    Font* styled = Font::getFont(0, Font::STYLE_BOLD | Font::STYLE_UNDERLINED, 0);
    EXPECT_FALSE(styled->isPlain());
    EXPECT_TRUE(styled->isBold());
    EXPECT_FALSE(styled->isItalic());
    EXPECT_TRUE(styled->isUnderlined());
    EXPECT_TRUE(Font::getFont(64, 0, 16)->isPlain());
}

TEST_F(LcduiFont, WidthsOfStringsAndCharArrays) {
    Font* f = Font::getDefaultFont();
    String* abc = String::fromUtf8("abc");
    const jint w = f->stringWidth(abc);
    EXPECT_EQ(w, f->charWidth('a') + f->charWidth('b') + f->charWidth('c'));
    EXPECT_EQ(f->substringWidth(abc, 0, 2), w);  // end inclusive
    EXPECT_EQ(f->substringWidth(abc, 1, 1), f->charWidth('b'));
    EXPECT_EQ(f->substringWidth(abc, 2, 1), 0);
    EXPECT_EQ(f->stringWidth(String::fromUtf8("")), 0);

    CharArray* chars = newCharArray(3);
    for (jint i = 0; i < 3; ++i) chars->data()[i] = static_cast<jchar>('a' + i);
    EXPECT_EQ(f->charsWidth(chars, 0, 3), w);
    EXPECT_EQ(f->charsWidth(chars, 1, 2), f->charWidth('b') + f->charWidth('c'));
    EXPECT_EQ(f->charsWidth(chars, 3, 0), 0);
    EXPECT_EQ(f->charsWidth(newCharArray(0), 0, 0), 0);

    struct Case {
        jint offset, length;
    };
    for (Case c : {Case{-1, 1}, Case{0, 4}, Case{2, 2}, Case{1, -1}, Case{INT_MAX, 2}, Case{2, INT_MAX}}) {
        m_log.clear();
        EXPECT_EQ(f->charsWidth(chars, c.offset, c.length), 0) << c.offset << "," << c.length;
        EXPECT_TRUE(logged("charsWidth offset, length")) << c.offset << "," << c.length;
    }
    m_log.clear();
    EXPECT_EQ(f->substringWidth(abc, 1, 3), 0);  // past the end: logged
    EXPECT_FALSE(m_log.lines().empty());
    m_log.clear();
    EXPECT_EQ(f->stringWidth(nullptr), 0);
    EXPECT_TRUE(logged("NullPointer"));
    m_log.clear();
    EXPECT_EQ(f->charsWidth(nullptr, 0, 0), 0);
    EXPECT_TRUE(logged("NullPointer"));
}

TEST_F(LcduiFont, CacheAndDefaultFont) {
    Font* a = Font::getFont(0, 1, 8);
    EXPECT_EQ(Font::getFont(0, 1, 8), a);
    EXPECT_EQ(Font::getFont(32, 1, 0), Font::getFont(0, 1, 32));  // equal OR, one object
    Font* plain = Font::getFont(0, 0, 0);
    Font* def = Font::getDefaultFont();
    EXPECT_NE(plain, def);
    EXPECT_EQ(Font::getDefaultFont(), def);
    EXPECT_EQ(Font::getFont(Font::FONT_STATIC_TEXT), def);
    EXPECT_EQ(Font::getFont(Font::FONT_INPUT_TEXT), def);

    EXPECT_EQ(Font::getFont(2), nullptr);
    Object* pending = Application::pendingException();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->classId(), cid::java_lang_IllegalArgumentException);
    Application::clearPendingException();

    // Many distinct keys grow the cache; every one stays the same object
    // across collections (the cache is a collector root).
    std::vector<Font*> fonts;
    for (jint k = 0; k < 40; ++k) fonts.push_back(Font::getFont(0, 0, k << 8));
    a = nullptr;
    plain = nullptr;
    collect();
    for (jint k = 0; k < 40; ++k) {
        EXPECT_EQ(Font::getFont(0, 0, k << 8), fonts[static_cast<size_t>(k)]);
        EXPECT_TRUE(om().isRegistered(fonts[static_cast<size_t>(k)]));
    }
    EXPECT_EQ(Font::getDefaultFont(), def);
}

TEST_F(LcduiFont, AnchorsPlaceTextByTheReportedMetrics) {
    Font* f = Font::getDefaultFont();
    ASSERT_GT(f->getHeight(), 0) << "font file " << display::fontFile();
    String* text = String::fromUtf8("Mj");
    const jint w = f->stringWidth(text), h = f->getHeight(), base = f->getBaselinePosition();
    struct Case {
        jint anchor;
        jint left, top;  // where the text box's top-left lands for the point (100, 50)
    };
    const Case cases[] = {
        {display::kTop | display::kLeft, 100, 50},
        {0, 100, 50},
        {display::kTop | display::kRight, 100 - w, 50},
        {display::kTop | display::kHCenter, 100 - (w >> 1), 50},
        {display::kBottom | display::kLeft, 100, 50 - h},
        {display::kBaseline | display::kLeft, 100, 50 - base},
        {display::kBaseline | display::kHCenter, 100 - (w >> 1), 50 - base},
    };
    // The reference: the same text drawn top-left at (left, top).
    auto draw = [&](jint x, jint y, jint anchor) {
        Image* img = Image::createImage(220, 120);
        Graphics* g = img->getGraphics();
        g->setColor(0xFFFFFF);
        g->drawString(text, x, y, anchor);
        std::vector<uint16_t> pixels;
        for (jint yy = 0; yy < 120; ++yy)
            for (jint xx = 0; xx < 220; ++xx) pixels.push_back(px(img, xx, yy));
        return pixels;
    };
    for (const Case& c : cases)
        EXPECT_EQ(draw(100, 50, c.anchor), draw(c.left, c.top, display::kTop | display::kLeft))
            << "anchor " << c.anchor;
}

}  // namespace

// The one font: metrics, widths, monochrome rendering in the exact colour,
// the key colour, the anchor rules, translation and clip.
#include <gtest/gtest.h>

#include <string>

#include "display/font.h"
#include "display/graphics.h"
#include "tests/display/support.h"

namespace display {
namespace {

using test::Canvas;
using test::LogCapture;

std::u16string text(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

struct Bounds {
    int x1 = INT32_MAX, y1 = INT32_MAX, x2 = -1, y2 = -1;  // inclusive
    int count = 0;
};
Bounds inkOf(const Canvas& c, uint16_t background) {
    Bounds b;
    for (int y = 0; y < c.image.height(); ++y)
        for (int x = 0; x < c.image.width(); ++x)
            if (c.at(x, y) != background) {
                b.x1 = std::min(b.x1, x), b.y1 = std::min(b.y1, y);
                b.x2 = std::max(b.x2, x), b.y2 = std::max(b.y2, y);
                ++b.count;
            }
    return b;
}

void draw(Graphics g, const std::u16string& s, jint x, jint y, jint anchor) {
    g.drawString(reinterpret_cast<const jchar*>(s.data()), s.size(), x, y, anchor);
}

TEST(Font, OneSetOfMetricsAndWidths) {
    const FontMetrics m = fontMetrics();
    ASSERT_GT(m.ascent, 0) << "font file " << fontFile();
    EXPECT_GT(m.height, m.ascent);
    EXPECT_EQ(fontMetrics().height, m.height);
    EXPECT_EQ(fontMetrics().ascent, m.ascent);

    const std::u16string abc = text("abc");
    const jchar* s = reinterpret_cast<const jchar*>(abc.data());
    const jint w = textWidth(s, 3);
    EXPECT_GT(w, 0);
    EXPECT_EQ(w, charWidth(u'a') + charWidth(u'b') + charWidth(u'c'));
    EXPECT_EQ(substringWidth(s, 3, 0, 2), w);
    EXPECT_EQ(substringWidth(s, 3, 1, 1), charWidth(u'b'));
    EXPECT_EQ(substringWidth(s, 3, 2, 1), 0);  // start > end
    EXPECT_EQ(textWidth(s, 0), 0);             // charsWidth of length 0
    EXPECT_GT(charWidth(u'W'), charWidth(u'i'));
    LogCapture log;
    EXPECT_EQ(substringWidth(s, 3, 1, 3), 0);
    EXPECT_EQ(substringWidth(s, 3, -1, 1), 0);
    EXPECT_EQ(log.count(), 2u);
}

TEST(Font, CentredTextInTheExactColour) {
    Canvas c(480, 100, 0xFFFF);
    Graphics g = c.g();
    g.setColor(0x123456);
    draw(g, text("abc"), 240, 60, kHCenter | kTop);
    const Bounds b = inkOf(c, 0xFFFF);
    ASSERT_GT(b.count, 0);
    const jint w = textWidth(reinterpret_cast<const jchar*>(u"abc"), 3);
    const FontMetrics m = fontMetrics();
    EXPECT_GE(b.x1, 240 - (w >> 1));
    EXPECT_LT(b.x2, 240 - (w >> 1) + w);
    EXPECT_GE(b.y1, 60);
    EXPECT_LT(b.y2, 60 + m.height);
    EXPECT_LE(std::abs((b.x1 + b.x2) / 2 - 240), 2);
    // Monochrome: no pixel of any other value.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 480; ++x) {
            if (c.at(x, y) == 0xFFFF) continue;
            ASSERT_EQ(c.at(x, y), rgb565(0x123456)) << x << "," << y;
        }
}

TEST(Font, KeyColouredTextIsInvisibleAndEmptyTextDrawsNothing) {
    Canvas c(200, 40, 0x0000);
    Graphics g = c.g();
    g.setColor(0x00F81F);  // the bitmap's background value
    draw(g, text("Hidden"), 0, 0, 0);
    EXPECT_EQ(c.countNot(0), 0);
    g.setColor(0xF81F00);  // close, but not the key
    draw(g, text("Shown"), 0, 0, 0);
    EXPECT_GT(c.countNot(0), 0);

    c.fill(0);
    g.setColor(0xFFFFFF);
    draw(g, text(""), 0, 0, 0);
    const std::u16string s = text("abc");
    g.drawSubstring(reinterpret_cast<const jchar*>(s.data()), 3, 1, 0, 0, 0, 0);
    g.drawSubstring(reinterpret_cast<const jchar*>(s.data()), 3, 2, 2, 0, 0, 0);  // past the end
    g.drawSubstring(reinterpret_cast<const jchar*>(s.data()), 3, -1, 2, 0, 0, 0);
    g.drawSubstring(nullptr, 0, 0, 1, 0, 0, 0);
    EXPECT_EQ(c.countNot(0), 0);
}

// Where the text box lands per anchor; the later bit of an axis wins and an
// axis without a bit is placed at 0.
TEST(Font, AnchorRules) {
    const std::u16string s = text("Hg");
    const jint w = textWidth(reinterpret_cast<const jchar*>(s.data()), s.size());
    const FontMetrics m = fontMetrics();
    ASSERT_GT(w, 0);
    const jint x = 100, y = 60;
    struct Row {
        jint anchor;
        jint left, top;
    } rows[] = {
        {0, x, y},
        {kLeft | kTop, x, y},
        {kRight | kBottom, x - w, y - m.height},
        {kHCenter | kBaseline, x - (w >> 1), y - m.ascent},
        {kLeft | kRight | kTop | kBottom, x - w, y - m.height},
        {kTop, 0, y},
        {kLeft | kVCenter, x, 0},
    };
    for (const Row& r : rows) {
        Canvas c(240, 120, 0xFFFF);
        Graphics g = c.g();
        g.setColor(0);
        g.drawString(reinterpret_cast<const jchar*>(s.data()), s.size(), x, y, r.anchor);
        const Bounds b = inkOf(c, 0xFFFF);
        ASSERT_GT(b.count, 0) << r.anchor;
        EXPECT_GE(b.x1, r.left) << r.anchor;
        EXPECT_LT(b.x2, r.left + w) << r.anchor;
        EXPECT_GE(b.y1, r.top) << r.anchor;
        EXPECT_LT(b.y2, r.top + m.height) << r.anchor;
        EXPECT_LE(b.x1, r.left + 3) << r.anchor;  // 'H' starts near the box's left
    }
}

TEST(Font, TranslationAndClip) {
    Canvas a(200, 60, 0xFFFF), b(200, 60, 0xFFFF);
    Graphics ga = a.g(), gb = b.g();
    ga.setColor(0);
    gb.setColor(0);
    draw(ga, text("Moss"), 30, 20, kLeft | kTop);
    gb.translate(20, 10);
    draw(gb, text("Moss"), 10, 10, kLeft | kTop);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;

    Canvas c(200, 60, 0xFFFF);
    Graphics gc = c.g();
    gc.setColor(0);
    gc.setClip(40, 0, 10, 60);
    draw(gc, text("Moss"), 30, 20, kLeft | kTop);
    const Bounds bc = inkOf(c, 0xFFFF);
    ASSERT_GT(bc.count, 0);
    EXPECT_GE(bc.x1, 40);
    EXPECT_LT(bc.x2, 50);
    for (int y = 0; y < 60; ++y)
        for (int x = 40; x < 50; ++x) ASSERT_EQ(c.at(x, y), a.at(x, y));
}

TEST(Font, RenderedTextGolden) {
    const std::u16string s = text("Bramble Hollow 42");
    const jint w = textWidth(reinterpret_cast<const jchar*>(s.data()), s.size());
    Canvas c(w + 4, fontMetrics().height + 4, 0xFFFF);
    Graphics g = c.g();
    g.setColor(0x203040);
    draw(g, s, 2, 2, kLeft | kTop);
    test::expectGolden("text", c.surface());
}

}  // namespace
}  // namespace display

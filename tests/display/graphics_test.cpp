// Graphics state and primitives: colour, clip, translation, fills with the
// translucent formula, lines and their clipping, rectangles, round
// rectangles, arcs by quadrant and triangles.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <optional>
#include <vector>

#include "display/graphics.h"
#include "display/pixel.h"
#include "tests/display/support.h"

namespace display {
namespace {

using test::Canvas;
using test::expectGolden;
using test::LogCapture;

TEST(GraphicsColour, SettersForceOpaqueAlphaAndLogRangeFaults) {
    Canvas c(4, 4);
    Graphics g = c.g();
    EXPECT_EQ(g.getColor(), 0);  // a new Graphics has the colour word 0
    g.setColor(0x123456);
    EXPECT_EQ(static_cast<uint32_t>(g.getColor()), 0xFF123456u);
    EXPECT_EQ(g.getRedComponent(), 0x12);
    EXPECT_EQ(g.getGreenComponent(), 0x34);
    EXPECT_EQ(g.getBlueComponent(), 0x56);

    LogCapture log;
    g.setColor(10, 20, 30);
    EXPECT_EQ(static_cast<uint32_t>(g.getColor()), 0xFF0A141Eu);
    EXPECT_EQ(log.count(), 0u);
    g.setColor(300, 0, 0);
    EXPECT_EQ(static_cast<uint32_t>(g.getColor()), 0xFF2C0000u);
    EXPECT_TRUE(log.has("setColor r"));
    g.setColor(0, 256, 0);  // green spills into red, as the 32-bit formula does
    EXPECT_EQ(static_cast<uint32_t>(g.getColor()), 0xFF010000u);
    EXPECT_TRUE(log.has("setColor g"));
    g.setColor(0, 0, -1);
    EXPECT_EQ(static_cast<uint32_t>(g.getColor()), 0xFFFFFFFFu);
    EXPECT_TRUE(log.has("setColor b"));
    EXPECT_EQ(Graphics::getDisplayColor(0x00FF00FF), 0x00FF00FF);
}

TEST(GraphicsClip, TranslatedClampedAndExclusive) {
    Canvas c(40, 30);
    Graphics g = c.g();
    g.setClip(-10, -10, 20, 20);
    EXPECT_EQ(c.state.clipX1, 0);
    EXPECT_EQ(c.state.clipY1, 0);
    EXPECT_EQ(c.state.clipX2, 10);
    EXPECT_EQ(c.state.clipY2, 10);

    g.translate(5, 7);
    g.translate(1, 1);
    EXPECT_EQ(g.getTranslateX(), 6);
    EXPECT_EQ(g.getTranslateY(), 8);
    g.setClip(0, 0, 100, 10);  // clamped to the target's right edge
    EXPECT_EQ(g.getClipX(), 0);
    EXPECT_EQ(g.getClipY(), 0);
    EXPECT_EQ(g.getClipWidth(), 34);
    EXPECT_EQ(g.getClipHeight(), 10);
    EXPECT_EQ(c.state.clipX1, 6);

    g.clipRect(2, 3, 5, 100);  // intersected with the current clip
    EXPECT_EQ(g.getClipX(), 2);
    EXPECT_EQ(g.getClipY(), 3);
    EXPECT_EQ(g.getClipWidth(), 5);
    EXPECT_EQ(g.getClipHeight(), 7);

    g.setClip(0, 0, INT_MAX, INT_MAX);  // no wrap-around past the translation
    EXPECT_EQ(g.getClipWidth(), 34);
    EXPECT_EQ(g.getClipHeight(), 22);

    // An empty clip draws nothing.
    g.setClip(10, 10, -5, 5);
    g.setColor(0xFFFFFF);
    g.fillRect(0, 0, 40, 30);
    EXPECT_EQ(c.countNot(0), 0);
}

TEST(GraphicsFill, ClippingEdgesAndTranslation) {
    Canvas c(16, 12);
    Graphics g = c.g();
    g.setColor(0xFF0000);
    g.fillRect(-3, -2, 6, 5);  // clipped at the top-left corner
    g.setColor(0x00FF00);
    g.fillRect(12, 9, 10, 10);  // clipped at the bottom-right corner
    g.setClip(4, 2, 8, 6);
    g.setColor(0x0000FF);
    g.fillRect(2, 4, 4, 1);   // left part cut by the clip
    g.fillRect(0, 6, 4, 1);   // ends exactly at the clip's left edge: nothing
    g.fillRect(6, 3, 0, 5);   // zero width: nothing
    g.fillRect(7, 3, 5, -1);  // negative height: nothing
    g.translate(3, 1);
    g.setColor(0xFFFFFF);
    g.fillRect(5, 5, 20, 20);  // translated to (8, 6), cut at the clip's corner
    expectGolden("fill_clip", c.surface());

    EXPECT_EQ(c.at(0, 0), 0xF800);
    EXPECT_EQ(c.at(2, 2), 0xF800);
    EXPECT_EQ(c.at(3, 0), 0);
    EXPECT_EQ(c.at(15, 11), 0x07E0);
    EXPECT_EQ(c.at(4, 4), 0x001F);
    EXPECT_EQ(c.at(3, 4), 0);
    EXPECT_EQ(c.at(11, 7), 0xFFFF);
    EXPECT_EQ(c.at(12, 7), 0);
    EXPECT_EQ(c.at(11, 8), 0);
}

TEST(GraphicsFill, UnsetColourLeavesPixelsThenBlackIsOpaque) {
    Canvas c(6, 6, 0x1234);
    Graphics g = c.g();
    g.fillRect(0, 0, 6, 6);
    g.drawLine(0, 0, 5, 5);
    EXPECT_EQ(c.countNot(0x1234), 0);
    g.setColor(0);
    g.fillRect(0, 0, 2, 2);
    g.drawLine(5, 0, 5, 5);
    EXPECT_EQ(c.at(1, 1), 0);
    EXPECT_EQ(c.at(5, 3), 0);
    EXPECT_EQ(c.countNot(0x1234), 4 + 6);
}

// One pixel per row: destination, ARGB colour, expected result (worked out
// by hand from the formula (dst * (256 - a) >> 8) + (src8 * a >> 11|10)).
TEST(GraphicsFill, TranslucentFormulaTable) {
    struct Row {
        uint16_t dst;
        uint32_t argb;
        uint16_t expected;
    } rows[] = {
        {0xFFFF, 0x80FF0000, 0xF3EF}, {0x0000, 0xFFFFFFFF, 0xFFFF}, {0x0000, 0x01FFFFFF, 0x0000},
        {0xFFFF, 0x01000000, 0xF7DE}, {0x8410, 0x40204080, 0x6B90}, {0xABCD, 0x00FFFFFF, 0xABCD},
    };
    for (const Row& r : rows) {
        Canvas c(3, 1, r.dst);
        c.state.colour = r.argb;  // alpha other than 0xFF is reached only by the field itself
        c.g().fillRect(1, 0, 1, 1);
        EXPECT_EQ(c.at(1, 0), r.expected) << std::hex << r.dst << " " << r.argb;
        EXPECT_EQ(c.at(0, 0), r.dst);
        EXPECT_EQ(c.at(2, 0), r.dst);
        EXPECT_EQ(blendFill565(r.dst, r.argb, r.argb >> 24), r.expected);
    }
}

// dst + ((src - dst) * a >> 8) per 5/6/5 channel, by hand.
TEST(GraphicsLine, TranslucentLineFormulaTable) {
    struct Row {
        uint16_t dst;
        uint32_t argb;
        uint16_t expected;
    } rows[] = {
        {0x0000, 0x80FFFFFF, 0x7BEF}, {0xFFFF, 0x80000000, 0x7BEF}, {0xFFFF, 0x01000000, 0xF7DE},
        {0x0000, 0xFFFFFFFF, 0xFFFF}, {0x0000, 0x01FFFFFF, 0x0000},
    };
    for (const Row& r : rows) {
        Canvas c(1, 1, r.dst);
        c.state.colour = r.argb;
        c.g().drawLine(0, 0, 0, 0);
        EXPECT_EQ(c.at(0, 0), r.expected) << std::hex << r.dst << " " << r.argb;
    }
    EXPECT_EQ(blendAlpha565(0x0000, 0xFFFF, 255), 0xF7DE);
}

TEST(GraphicsLine, FourPixelLineAndInclusiveEnds) {
    Canvas c(6, 4);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawLine(0, 0, 3, 1);
    EXPECT_EQ(c.countNot(0), 4);
    EXPECT_EQ(c.at(0, 0), 0xFFFF);
    EXPECT_EQ(c.at(1, 0), 0xFFFF);
    EXPECT_EQ(c.at(2, 1), 0xFFFF);
    EXPECT_EQ(c.at(3, 1), 0xFFFF);

    c.fill(0);
    g.drawLine(3, 1, 0, 0);  // the reverse direction covers as many pixels
    EXPECT_EQ(c.countNot(0), 4);
    c.fill(0);
    g.drawLine(2, 2, 2, 2);  // a point
    EXPECT_EQ(c.countNot(0), 1);
}

TEST(GraphicsLine, ClippedStarGolden) {
    Canvas c(24, 18);
    Graphics g = c.g();
    g.setClip(2, 3, 19, 12);
    g.setColor(0xFFFF00);
    const int cx = 11, cy = 8;
    const int ends[][2] = {{-20, -30}, {11, -40}, {45, -9}, {50, 8}, {40, 40}, {11, 60}, {-17, 25}, {-30, 8}, {0, 2}};
    for (auto& e : ends) g.drawLine(cx, cy, e[0], e[1]);
    g.setColor(0x00FFFF);
    g.drawLine(-5, 14, 30, 14);  // on the clip's last row
    g.drawLine(-5, 15, 30, 15);  // just below: nothing
    g.drawLine(20, -5, 20, 40);  // on the last column
    expectGolden("line_star", c.surface());
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 24; ++x)
            if (x < 2 || x >= 21 || y < 3 || y >= 15) {
                EXPECT_EQ(c.at(x, y), 0) << x << "," << y;
            }
}

TEST(GraphicsLine, HugeCoordinatesClipWithoutOverflow) {
    Canvas c(20, 20);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.translate(INT_MAX, INT_MAX);
    g.drawLine(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // after translation: (-1, -1) .. (2^32 - 2, 2^32 - 2)
    for (int i = 0; i < 20; ++i) EXPECT_EQ(c.at(i, i), 0xFFFF) << i;
    EXPECT_EQ(c.countNot(0), 20);

    c.fill(0);
    GraphicsState fresh = GraphicsState::forTarget(20, 20);
    Graphics h(fresh, c.surface());
    h.setColor(0xFFFFFF);
    h.drawLine(INT_MIN, 10, INT_MAX, 10);
    h.drawLine(INT_MIN, INT_MAX, INT_MAX, INT_MIN);  // passes near (0, -1): outside
    h.drawLine(-1000000000, -999999990, 1000000000, 1000000010);  // y = x + 10
    EXPECT_EQ(c.at(0, 10), 0xFFFF);
    EXPECT_EQ(c.at(19, 10), 0xFFFF);
    // The crossing below the clip is computed at the row past it, so the
    // clipped end is (10, 19) rather than (9, 19).
    EXPECT_EQ(c.at(5, 15), 0xFFFF);
    EXPECT_EQ(c.at(10, 19), 0xFFFF);
}

TEST(GraphicsRect, OutlineCoversWPlusOneByHPlusOne) {
    Canvas c(12, 10);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawRect(2, 3, 5, 4);
    EXPECT_EQ(c.countNot(0), 2 * 6 + 2 * 5 - 4);
    EXPECT_EQ(c.at(2, 3), 0xFFFF);
    EXPECT_EQ(c.at(7, 7), 0xFFFF);
    EXPECT_EQ(c.at(8, 7), 0);
    EXPECT_EQ(c.at(4, 5), 0);
}

TEST(GraphicsRoundRect, OutlineAndFillGolden) {
    Canvas c(40, 26);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawRoundRect(1, 1, 18, 12, 10, 99);
    g.drawRoundRect(22, 1, 8, 6, 0, 0);  // radius 0: a w x h outline
    g.setColor(0xFF8000);
    g.fillRoundRect(1, 14, 18, 11, 12, 0);
    g.fillRoundRect(22, 14, 16, 10, 4, 4);
    g.setClip(30, 0, 10, 12);
    g.setColor(0x00FF00);
    g.fillRoundRect(26, 2, 16, 9, 8, 8);  // cut by the clip
    expectGolden("round_rect", c.surface());

    // The radius-0 outline spans exactly w by h.
    int n = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 21; x < 31; ++x) n += c.at(x, y) == 0xFFFF;
    EXPECT_EQ(n, 2 * 8 + 2 * 6 - 4);
    // Filled: symmetric about both axes of its box.
    for (int y = 14; y < 25; ++y)
        for (int x = 1; x < 19; ++x) {
            EXPECT_EQ(c.at(x, y), c.at(1 + 18 - 1 - (x - 1), y)) << x << "," << y;
            EXPECT_EQ(c.at(x, y), c.at(x, 14 + 11 - 1 - (y - 14))) << x << "," << y;
        }
}

TEST(GraphicsArc, QuadrantsAndEdgeCases) {
    Canvas c(12, 12);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.fillArc(0, 0, 10, 10, 0, 0);
    EXPECT_EQ(c.countNot(0), 0);
    g.fillArc(0, 0, 10, 10, 0, 90);  // upper right quarter, centre row and column included
    EXPECT_GT(c.countNot(0), 20);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if (c.at(x, y)) {
                EXPECT_TRUE(x >= 5 && y <= 5) << x << "," << y;
            }
    EXPECT_EQ(c.at(5, 0), 0xFFFF);
    EXPECT_EQ(c.at(10, 5), 0xFFFF);
    EXPECT_EQ(c.at(5, 5), 0xFFFF);
    EXPECT_EQ(c.at(9, 1), 0);

    // Which quadrants an angle pair reaches: bit k for quadrant k. Partial
    // sweeps draw their part; a sweep wrapping past 360 goes on from 0; a
    // negative sweep runs clockwise.
    struct Row {
        int start, arc, mask;
    } rows[] = {
        {0, 360, 15}, {0, 90, 1},   {90, 90, 2},    {90, 180, 6}, {180, 180, 12}, {270, 90, 8}, {0, 89, 1},
        {45, 180, 7}, {450, 90, 2}, {360, 360, 15}, {270, 180, 9}, {-90, 270, 11}, {-90, 450, 15}, {0, 0, 0},
        {720, 90, 1}, {90, -90, 1},
    };
    for (const Row& r : rows) {
        Canvas d(21, 21);
        Graphics h = d.g();
        h.setColor(0xFFFFFF);
        h.drawArc(0, 0, 20, 20, r.start, r.arc);
        int mask = 0;
        mask |= (d.at(17, 3) || d.at(20, 9) || d.at(11, 0)) ? 1 : 0;  // up right
        mask |= (d.at(3, 3) || d.at(0, 9) || d.at(9, 0)) ? 2 : 0;     // up left
        mask |= (d.at(3, 17) || d.at(0, 11) || d.at(9, 20)) ? 4 : 0;  // down left
        mask |= (d.at(17, 17) || d.at(20, 11) || d.at(11, 20)) ? 8 : 0;
        int drawnQuadrants = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x)
                if (d.at(x, y) && x != 10 && y != 10)  // the axes belong to two quadrants
                    drawnQuadrants |= (x > 10 ? (y < 10 ? 1 : 8) : (y < 10 ? 2 : 4));
        EXPECT_EQ(drawnQuadrants & ~r.mask, 0) << r.start << " " << r.arc;
        EXPECT_EQ(mask, r.mask) << r.start << " " << r.arc;
    }
}

// Partial sweeps: a 27-degree arc from 0 draws only points between 0 and 27
// degrees (on the circle's own axes), and a 45-degree wedge fill covers
// the lower half of the upper right quarter only.
TEST(GraphicsArc, PartialSweeps) {
    Canvas c(41, 41);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawArc(0, 0, 40, 40, 0, 27);
    int drawn = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x) {
            if (!c.at(x, y)) continue;
            ++drawn;
            const double deg = std::atan2(20.0 - y, x - 20.0) * 180.0 / 3.14159265358979;
            EXPECT_GE(deg, -0.01) << x << "," << y;
            EXPECT_LE(deg, 28.5) << x << "," << y;
        }
    EXPECT_GE(drawn, 8);
    EXPECT_EQ(c.at(40, 20), 0xFFFF);  // the start point

    Canvas d(21, 21);
    Graphics h = d.g();
    h.setColor(0xFFFFFF);
    h.fillArc(0, 0, 20, 20, 0, 45);
    EXPECT_EQ(d.at(15, 8), 0xFFFF);  // below the diagonal
    EXPECT_EQ(d.at(12, 2), 0);       // above it
    EXPECT_EQ(d.at(5, 5), 0);        // another quarter
}

TEST(GraphicsArc, EllipsesGolden) {
    Canvas c(40, 24);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawArc(1, 1, 20, 12, 0, 360);
    g.drawArc(23, 1, 14, 20, 0, 360);
    g.setColor(0x00FF00);
    g.fillArc(1, 12, 16, 11, 90, 180);
    g.setColor(0xFF0000);
    g.fillArc(26, 4, 8, 8, 0, 360);
    expectGolden("arcs", c.surface());
}

TEST(GraphicsArc, FullCircleIsSymmetricAndOnTheCircle) {
    Canvas c(41, 41);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawArc(0, 0, 40, 40, 0, 360);
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x) {
            if (!c.at(x, y)) continue;
            EXPECT_EQ(c.at(40 - x, y), 0xFFFF);
            EXPECT_EQ(c.at(x, 40 - y), 0xFFFF);
            const double dx = x - 20, dy = y - 20, r2 = dx * dx + dy * dy;
            EXPECT_NEAR(std::sqrt(r2), 20.0, 0.75) << x << "," << y;
        }
    EXPECT_EQ(c.at(20, 0), 0xFFFF);
    EXPECT_EQ(c.at(40, 20), 0xFFFF);
}

TEST(GraphicsTriangle, SpansGoldenAndClipping) {
    Canvas c(32, 24);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.fillTriangle(10, 1, 2, 14, 18, 20);
    g.setColor(0xFF0000);
    g.fillTriangle(20, 2, 30, 2, 25, 12);  // horizontal top edge
    g.setColor(0x0000FF);
    g.fillTriangle(20, 22, 31, 14, 22, 14);  // horizontal bottom edge, vertices unsorted
    expectGolden("triangles", c.surface());

    // Far-away vertices: only rows inside the clip are visited.
    Canvas d(16, 16);
    Graphics h = d.g();
    h.setColor(0xFFFFFF);
    h.fillTriangle(INT_MIN, INT_MIN, INT_MAX, INT_MIN, 8, INT_MAX);
    EXPECT_GT(d.countNot(0), 0);
    h.fillTriangle(0, 0, 0, 0, 0, 0);  // degenerate: nothing beyond what is there
}

TEST(GraphicsTarget, NonRgb565TargetsAreNeverWritten) {
    for (uint32_t type : {2u, 3u, 4u}) {
        std::optional<Image> img = Image::allocate(8, 8, type);
        ASSERT_TRUE(img);
        GraphicsState st = GraphicsState::forTarget(8, 8);
        Graphics g(st, img->surface());
        LogCapture log;
        g.setColor(0xFFFFFF);
        g.fillRect(0, 0, 8, 8);
        g.drawLine(0, 0, 7, 7);
        g.fillTriangle(0, 0, 7, 0, 0, 7);
        const Surface s = img->surface();
        const uint8_t* bytes = static_cast<const uint8_t*>(s.pixels);
        for (size_t i = 0; i < s.bytes; ++i) ASSERT_EQ(bytes[i], 0) << "type " << type;
        EXPECT_TRUE(log.has("m_pixelType"));
    }
}

TEST(GraphicsTarget, ScreenSurfaceOverABackBuffer) {
    std::vector<uint16_t> back(480 * 800, 0);
    Surface screen = Surface::wrap16(back.data(), 480, 800, 960);
    ASSERT_TRUE(screen.valid());
    GraphicsState st;
    st.resetForFrame(480, 800);
    Graphics g(st, screen);
    g.fillRect(470, 790, 20, 20);
    EXPECT_EQ(back[799 * 480 + 479], 0xFFFF);
    EXPECT_EQ(back[789 * 480 + 479], 0);
    // A state whose clip exceeds its target never writes outside it.
    GraphicsState wide = GraphicsState::forTarget(1000, 1000);
    std::vector<uint16_t> small(4 * 4 + 4, 0x5555);
    Surface s = Surface::wrap16(small.data(), 4, 4, 8);
    Graphics w(wide, s);
    w.setColor(0);
    w.fillRect(0, 0, 1000, 1000);
    w.drawLine(0, 0, 999, 999);
    for (size_t i = 16; i < small.size(); ++i) EXPECT_EQ(small[i], 0x5555);
}

}  // namespace
}  // namespace display

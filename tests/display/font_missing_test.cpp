// Without its font file (BRAMBLE_FONT points nowhere) every measurement is
// 0, text draws nothing, and the failure is logged once.
#include <gtest/gtest.h>

#include "display/font.h"
#include "display/graphics.h"
#include "tests/display/support.h"

namespace display {
namespace {

TEST(FontMissing, MeasuresZeroAndDrawsNothing) {
    test::LogCapture log;
    EXPECT_EQ(fontMetrics().height, 0);
    EXPECT_EQ(fontMetrics().ascent, 0);
    const char16_t s[] = u"abc";
    EXPECT_EQ(textWidth(reinterpret_cast<const jchar*>(s), 3), 0);
    test::Canvas c(50, 20);
    Graphics g = c.g();
    g.setColor(0xFFFFFF);
    g.drawString(reinterpret_cast<const jchar*>(s), 3, 0, 0, 0);
    EXPECT_EQ(c.countNot(0), 0);
    ASSERT_EQ(log.count(), 1u);
    EXPECT_EQ(log.lines()[0], "Font: cannot load \"/nonexistent/bramble-font.ttf\"");
    EXPECT_EQ(fontFile(), "/nonexistent/bramble-font.ttf");
}

}  // namespace
}  // namespace display

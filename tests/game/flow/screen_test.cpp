// Screen routines against small golden pictures (tests/game/flow/golden,
// rewritten on purpose with BRAMBLE_UPDATE_GOLDEN=1): bars with their
// clamps and an empty maximum, the gauge's pulse, the iris mask, animated
// text in the demo font.
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/data/datanode.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screen.h"
#include "game/sprite/sprite.h"
#include "runtime/application.h"
#include "tests/game/flow/support.h"
#include "tools/kit/demo.h"

namespace {

using namespace game;
using flowtest::FlowTest;
using Image = javax_microedition_lcdui_Image;

class ScreenTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        image = Image::createImage(480, 800);
        cg().graphics = image->getGraphics();
        clear();
    }
    void clear() {
        ShortArray* px = Image::getPixelShorts(image);
        std::fill(px->data(), px->data() + px->length(), static_cast<jshort>(0));
        cg().graphics->setClip(0, 0, 480, 800);
    }
    uint16_t at(jint x, jint y) { return static_cast<uint16_t>(Image::getPixelShorts(image)->data()[y * 480 + x]); }
    std::string render(jint x0, jint y0, jint w, jint h) {
        static const char kAlphabet[] = ".#+*o=x%@&abcdefghijklmnopqrstuvwxyz";
        std::map<uint16_t, char> legend;
        std::vector<uint16_t> order;
        std::ostringstream rows;
        for (jint y = y0; y < y0 + h; ++y) {
            for (jint x = x0; x < x0 + w; ++x) {
                const uint16_t v = at(x, y);
                if (!legend.count(v)) {
                    legend[v] = order.size() < sizeof kAlphabet - 1 ? kAlphabet[order.size()] : '?';
                    order.push_back(v);
                }
                rows << legend[v];
            }
            rows << '\n';
        }
        std::ostringstream out;
        out << "size " << w << ' ' << h << '\n';
        char hex[8];
        for (uint16_t v : order) {
            std::snprintf(hex, sizeof hex, "%04X", v);
            out << legend[v] << ' ' << hex << '\n';
        }
        return out.str() + rows.str();
    }
    void expectGolden(const std::string& name, jint x, jint y, jint w, jint h) {
        const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
        const std::string path = std::string(root ? root : ".") + "/tests/game/flow/golden/" + name + ".txt";
        const std::string actual = render(x, y, w, h);
        const char* update = std::getenv("BRAMBLE_UPDATE_GOLDEN");
        if (update && std::string(update) == "1") {
            std::ofstream(path, std::ios::binary) << actual;
            return;
        }
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << "missing golden " << path << "\n" << actual;
        std::stringstream expected;
        expected << in.rdbuf();
        EXPECT_EQ(expected.str(), actual) << "golden " << name;
    }
    bool box(jint* x1, jint* y1, jint* x2, jint* y2) {
        *x1 = *y1 = 1 << 20;
        *x2 = *y2 = -1;
        for (jint y = 0; y < 800; ++y)
            for (jint x = 0; x < 480; ++x)
                if (at(x, y) != 0) {
                    *x1 = std::min(*x1, x);
                    *y1 = std::min(*y1, y);
                    *x2 = std::max(*x2, x);
                    *y2 = std::max(*y2, y);
                }
        return *x2 >= 0;
    }
    Image* image = nullptr;
};

TEST_F(ScreenTest, BarsClampAndAnEmptyMaximumDrawsAnEmptyBar) {
    drawBar(2, 2, 30, 8, 10, 6, 0xFF00FF00, 0xFFFFFFFF);
    drawBar(2, 14, 30, 8, 10, 15, 0xFF00FF00, 0xFFFFFFFF);  // full
    drawBar(2, 26, 30, 8, 10, -3, 0xFF00FF00, 0xFFFFFFFF);  // empty
    drawBar(2, 38, 30, 8, 0, 5, 0xFF00FF00, 0xFFFFFFFF);    // max 0: empty, no fault
    drawBar(2, 50, 30, 8, -4, 5, 0xFF00FF00, 0xFFFFFFFF);
    EXPECT_EQ(render(2, 26, 34, 10), render(2, 38, 34, 10));
    expectGolden("bars", 0, 0, 36, 62);
}

TEST_F(ScreenTest, GaugePulsesRedBelowFour) {
    drawGaugeAt(10, 400, 60, 14, 10, 2, 250);
    // Colours 2 and 3 are pure red at t = 250 (RGB565 F800).
    const jint x2 = 484 - 14 - (400 + 2);
    EXPECT_EQ(at(x2, 10 + 3), 0xF800);
    EXPECT_EQ(at(x2 + 3, 10 + 4), 0xF800);
    expectGolden("gauge_low", 60, 5, 30, 75);
    clear();
    drawGaugeAt(10, 400, 60, 14, 10, 7, 250);  // no pulse at 4 and above
    EXPECT_NE(at(x2, 10 + 3), 0xF800);
}

TEST_F(ScreenTest, ColourBlendAndClamps) {
    EXPECT_EQ(blendColour(0x000000, 0xFF8040, 1, 2), 0x7F4020);
    EXPECT_EQ(blendColour(0x102030, 0xFFFFFF, 3, 0), 0x102030);  // n = 0: guarded
    Application::clearPendingException();
    EXPECT_EQ(clampQuarter(400), 48);
    EXPECT_EQ(clampQuarter(-9), -2);
    EXPECT_EQ(min4(3, -1, 7, 0), -1);
    EXPECT_EQ(max4(3, -1, 7, 0), 7);
}

TEST_F(ScreenTest, IrisMask) {
    IntArray* region = flowtest::ints({0, 0, 40, 40});
    ShortArray* px = Image::getPixelShorts(image);
    std::fill(px->data(), px->data() + px->length(), static_cast<jshort>(0x1234));
    fillScreen(cg().graphics, 20, 20, 10, region, false);
    expectGolden("iris", 0, 0, 40, 40);
    // Radius 0 fills the whole region.
    std::fill(px->data(), px->data() + px->length(), static_cast<jshort>(0x1234));
    fillScreen(cg().graphics, 20, 20, 0, region, false);
    int left = 0;
    for (jint y = 0; y < 40; ++y)
        for (jint x = 0; x < 40; ++x) left += at(x, y) != 0;
    EXPECT_EQ(left, 0);
    // A radius at the int limit: every sum wraps as an int does, and only
    // the region's rows are walked (no two billion line pairs).
    std::fill(px->data(), px->data() + px->length(), static_cast<jshort>(0x1234));
    fillScreen(cg().graphics, 20, 20, 0x7FFFFFFF, region, false);
    fillScreen(cg().graphics, -0x7FFFFFFF, 0x7FFFFFF0, 0x7FFFFFFF, region, false);
}

TEST_F(ScreenTest, AnimatedTextInTheDemoFont) {
    std::map<std::string, kit::Bytes> files;
    for (const kit::DemoEntry& e : kit::demoEntries())
        if (e.name == "font0.spr" || e.name == "font0.map") files[e.name] = e.make();
    BSprite* font = newObject<BSprite>();
    font->load(datatest::javaBytes(files["font0.spr"]), 0, 0, 0, 0);
    Object* map = readDataNode(datatest::streamOf(files["font0.map"]));
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->classId(), cid::ShortArray);
    font->setCharMap(static_cast<ShortArray*>(map));
    ObjectArray* fonts = newObjectArray(cid::Object, 3);
    fonts->data()[0] = font;
    cg().fonts = fonts;
    // View (100, 40) lands at canvas (480 - 40 - h, 100): a column of
    // letters, each moved by the wave.
    drawAnimatedText(0, datatest::jstr("ABAB|"), 100, 40, 20, 0);
    jint x1, y1, x2, y2;
    ASSERT_TRUE(box(&x1, &y1, &x2, &y2));
    expectGolden("animated_text", x1, y1, x2 - x1 + 1, y2 - y1 + 1);
}

}  // namespace

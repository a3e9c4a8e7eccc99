// Graphics as a Java object: the constructor's state from the image's
// virtual size, the colour / clip / translation edge cases, a scene of
// every primitive drawn through the Java API into a mutable image (golden,
// and equal to the same calls on the core), faults logged with the Java
// stack trace, drawRGB's index checks, and text through Java Strings.
#include <climits>

#include "display/font.h"
#include "display/image_ops.h"
#include "tests/display/lcdui_fixture.h"
#include "tests/display/support.h"

namespace {

using display::PixelType;

// An image whose size operations answer something else than its fields, as
// a screen surface with its own getWidth / getHeight would.
class WideImage final : public Image {
public:
    jint getWidth() override { return 7; }
    jint getHeight() override { return 5; }
};

using LcduiGraphics = LcduiTest;

TEST_F(LcduiGraphics, ConstructorTakesTheClipFromTheImagesSizeOperations) {
    Graphics* g = Image::createImage(240, 320)->getGraphics();
    EXPECT_EQ(g->getClipX(), 0);
    EXPECT_EQ(g->getClipY(), 0);
    EXPECT_EQ(g->getClipWidth(), 240);
    EXPECT_EQ(g->getClipHeight(), 320);
    EXPECT_EQ(g->getColor(), 0);
    EXPECT_EQ(g->getTranslateX(), 0);
    EXPECT_EQ(g->getTranslateY(), 0);

    auto* wide = newObject<WideImage>();
    wide->initImage(20, 20, static_cast<jint>(display::kMutableTypeBit), 0);
    Graphics* w = Graphics::make(wide);
    EXPECT_EQ(w->getClipWidth(), 7);
    EXPECT_EQ(w->getClipHeight(), 5);
    EXPECT_EQ(w->getTarget(), wide);

    m_log.clear();
    Graphics* none = Graphics::make(nullptr);
    EXPECT_TRUE(logged("NullPointer"));
    EXPECT_EQ(none->getClipWidth(), 0);
    none->setColor(0xFFFFFF);
    none->fillRect(0, 0, 10, 10);  // no target: nothing, no fault
}

TEST_F(LcduiGraphics, ColourClipAndTranslationEdgeCases) {
    Image* img = Image::createImage(40, 30);
    Graphics* g = img->getGraphics();
    g->setColor(0x123456);
    EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFF123456u);
    EXPECT_EQ(g->getRedComponent(), 0x12);
    EXPECT_EQ(g->getGreenComponent(), 0x34);
    EXPECT_EQ(g->getBlueComponent(), 0x56);
    m_log.clear();
    g->setColor(300, 0, 0);
    EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFF2C0000u);
    EXPECT_TRUE(logged("setColor r"));
    EXPECT_TRUE(logged("stacktrace:"));
    EXPECT_EQ(Graphics::getDisplayColor(0x00F81F), 0x00F81F);

    g->setClip(-10, -10, 20, 20);
    EXPECT_EQ(g->getClipX(), 0);
    EXPECT_EQ(g->getClipY(), 0);
    EXPECT_EQ(g->getClipWidth(), 10);
    EXPECT_EQ(g->getClipHeight(), 10);
    g->translate(5, 3);
    EXPECT_EQ(g->getClipX(), -5);  // clip getters are relative to the translation
    EXPECT_EQ(g->getClipY(), -3);
    g->clipRect(0, 0, 100, 100);  // intersected with (0, 0)-(10, 10)
    EXPECT_EQ(g->m_state.clipX1, 5);
    EXPECT_EQ(g->m_state.clipY1, 3);
    EXPECT_EQ(g->m_state.clipX2, 10);
    EXPECT_EQ(g->m_state.clipY2, 10);
    g->setClip(INT_MAX - 2, 0, INT_MAX, 5);  // huge values clamp, never wrap into the image
    EXPECT_LE(g->getClipWidth(), 0);
    g->setColor(0xFFFFFF);
    g->fillRect(0, 0, 40, 30);
    EXPECT_EQ(px(img, 39, 0), 0);

    g->translate(-5, -3);
    g->resetForPaint();
    EXPECT_EQ(g->getTranslateX(), 0);
    EXPECT_EQ(g->getClipWidth(), 40);
    EXPECT_EQ(g->getClipHeight(), 30);
    EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFFFFFFFFu);
}

TEST_F(LcduiGraphics, AFreshGraphicsDrawsNothingUntilAColourIsSet) {
    Image* img = Image::createImage(8, 8);
    Graphics* g = img->getGraphics();
    g->fillRect(0, 0, 8, 8);
    g->drawLine(0, 0, 7, 7);
    for (jint y = 0; y < 8; ++y)
        for (jint x = 0; x < 8; ++x) ASSERT_EQ(px(img, x, y), 0xFFFF & 0);
    img->getGraphics()->setColor(0xFFFFFF);  // another Graphics: this one keeps colour 0
    g->fillRect(0, 0, 8, 8);
    EXPECT_EQ(px(img, 0, 0), 0);
    g->setColor(0xFFFFFF);
    g->fillRect(0, 0, 8, 8);
    g->setColor(0);
    g->drawLine(0, 0, 3, 1);  // four pixels
    jint black = 0;
    for (jint y = 0; y < 8; ++y)
        for (jint x = 0; x < 8; ++x) black += px(img, x, y) == 0;
    EXPECT_EQ(black, 4);
}

// Every primitive through the Java objects: the picture is the golden one,
// and equal to the same calls made on the core with plain buffers.
template <typename G, typename ImageRef, typename IntsRef>
void drawScene(G& g, ImageRef keyed, ImageRef translucent, IntsRef argb, jint argbLength) {
    g.setColor(0x202020);
    g.fillRect(0, 0, 40, 30);
    g.setColor(0xFFFF00);
    g.drawRect(1, 1, 10, 6);
    g.setColor(0x00FF00);
    g.fillRoundRect(14, 1, 12, 8, 6, 6);
    g.setColor(0xFF0000);
    g.drawRoundRect(27, 1, 12, 8, 5, 5);
    g.setColor(0x00FFFF);
    g.fillArc(1, 10, 12, 12, 0, 180);
    g.drawArc(14, 10, 12, 12, 0, 360);
    g.setColor(0xFF00FF);
    g.fillTriangle(28, 10, 38, 14, 30, 20);
    g.setColor(0xFFFFFF);
    g.drawLine(-5, 29, 45, 20);
    g.setColor(0x0000FF);
    g.translate(2, 1);
    g.setClip(0, 20, 30, 8);
    g.drawImage(keyed, 1, 21, 0);
    g.drawRegion(keyed, 0, 0, 4, 3, display::kTransRot90, 14, 24, display::kHCenter | display::kVCenter);
    g.drawImage(translucent, 28, 26, display::kRight | display::kBottom);
    g.drawRGB(argb, argbLength, 1, 3, 18, 25, 3, 2, true);
    g.translate(-2, -1);
    g.setClip(0, 0, 40, 30);
    // Translucent fill (alpha through the integer formula): set the raw
    // colour word, as a state with alpha can only come from there.
    g.state().colour = 0x80FF8000;
    g.fillRect(30, 22, 8, 6);
}

struct CoreScene {
    display::GraphicsState st;
    display::Graphics g;
    display::GraphicsState& state() { return st; }
    explicit CoreScene(const display::Surface& s) : st(display::GraphicsState::forTarget(40, 30)), g(st, s) {}
    void setColor(jint c) { g.setColor(c); }
    void fillRect(jint a, jint b, jint c, jint d) { g.fillRect(a, b, c, d); }
    void drawRect(jint a, jint b, jint c, jint d) { g.drawRect(a, b, c, d); }
    void fillRoundRect(jint a, jint b, jint c, jint d, jint e, jint f) { g.fillRoundRect(a, b, c, d, e, f); }
    void drawRoundRect(jint a, jint b, jint c, jint d, jint e, jint f) { g.drawRoundRect(a, b, c, d, e, f); }
    void fillArc(jint a, jint b, jint c, jint d, jint e, jint f) { g.fillArc(a, b, c, d, e, f); }
    void drawArc(jint a, jint b, jint c, jint d, jint e, jint f) { g.drawArc(a, b, c, d, e, f); }
    void fillTriangle(jint a, jint b, jint c, jint d, jint e, jint f) { g.fillTriangle(a, b, c, d, e, f); }
    void drawLine(jint a, jint b, jint c, jint d) { g.drawLine(a, b, c, d); }
    void translate(jint a, jint b) { g.translate(a, b); }
    void setClip(jint a, jint b, jint c, jint d) { g.setClip(a, b, c, d); }
    void drawImage(const display::Surface* s, jint x, jint y, jint a) { g.drawImage(s, x, y, a); }
    void drawRegion(const display::Surface* s, jint a, jint b, jint c, jint d, jint t, jint x, jint y, jint an) {
        g.drawRegion(s, a, b, c, d, t, x, y, an);
    }
    void drawRGB(const jint* d, jint n, jint o, jint s, jint x, jint y, jint w, jint h, bool a) {
        g.drawRGB(d, static_cast<size_t>(n), o, s, x, y, w, h, a);
    }
};

struct JavaScene {
    Graphics* g;
    display::GraphicsState& state() { return g->m_state; }
    void setColor(jint c) { g->setColor(c); }
    void fillRect(jint a, jint b, jint c, jint d) { g->fillRect(a, b, c, d); }
    void drawRect(jint a, jint b, jint c, jint d) { g->drawRect(a, b, c, d); }
    void fillRoundRect(jint a, jint b, jint c, jint d, jint e, jint f) { g->fillRoundRect(a, b, c, d, e, f); }
    void drawRoundRect(jint a, jint b, jint c, jint d, jint e, jint f) { g->drawRoundRect(a, b, c, d, e, f); }
    void fillArc(jint a, jint b, jint c, jint d, jint e, jint f) { g->fillArc(a, b, c, d, e, f); }
    void drawArc(jint a, jint b, jint c, jint d, jint e, jint f) { g->drawArc(a, b, c, d, e, f); }
    void fillTriangle(jint a, jint b, jint c, jint d, jint e, jint f) { g->fillTriangle(a, b, c, d, e, f); }
    void drawLine(jint a, jint b, jint c, jint d) { g->drawLine(a, b, c, d); }
    void translate(jint a, jint b) { g->translate(a, b); }
    void setClip(jint a, jint b, jint c, jint d) { g->setClip(a, b, c, d); }
    void drawImage(Image* s, jint x, jint y, jint a) { g->drawImage(s, x, y, a); }
    void drawRegion(Image* s, jint a, jint b, jint c, jint d, jint t, jint x, jint y, jint an) {
        g->drawRegion(s, a, b, c, d, t, x, y, an);
    }
    void drawRGB(IntArray* d, jint, jint o, jint s, jint x, jint y, jint w, jint h, bool a) {
        g->drawRGB(d, o, s, x, y, w, h, a);
    }
};

TEST_F(LcduiGraphics, SceneOfEveryPrimitiveMatchesTheGoldenAndTheCore) {
    const std::vector<jint> keyedPixels = {
        static_cast<jint>(0xFFFF0000), 0, static_cast<jint>(0xFF00FF00), static_cast<jint>(0xFFFFFFFF),
        0, static_cast<jint>(0xFF0000FF), static_cast<jint>(0xFF808080), 0,
        static_cast<jint>(0xFFFFFF00), static_cast<jint>(0xFF00FFFF), 0, static_cast<jint>(0xFF000000)};
    const std::vector<jint> translucentPixels = {static_cast<jint>(0x80FFFFFF), static_cast<jint>(0x40FF0000),
                                                 static_cast<jint>(0xC00000FF), static_cast<jint>(0xFF00FF00)};
    const std::vector<jint> block = {0,
                                     static_cast<jint>(0xFFFF0000), static_cast<jint>(0x8000FF00), 0,
                                     static_cast<jint>(0x400000FF), static_cast<jint>(0xFFFFFFFF),
                                     static_cast<jint>(0xC0FF00FF)};
    Image* keyed = Image::createRGBImage(ints(keyedPixels), 4, 3, true);
    Image* translucent = Image::createRGBImage(ints(translucentPixels), 2, 2, true);
    ASSERT_EQ(keyed->pixelType(), PixelType::Rgb565Keyed);
    ASSERT_EQ(translucent->pixelType(), PixelType::Argb4444);
    IntArray* argb = ints(block);

    Image* target = Image::createImage(40, 30);
    JavaScene java{target->getGraphics()};
    drawScene(java, keyed, translucent, argb, argb->length());
    display::test::expectGolden("lcdui_scene", target->surface());

    std::optional<display::Image> coreKeyed =
        display::createRGBImage(keyedPixels.data(), keyedPixels.size(), 4, 3, true);
    std::optional<display::Image> coreTranslucent =
        display::createRGBImage(translucentPixels.data(), translucentPixels.size(), 2, 2, true);
    std::optional<display::Image> coreTarget = display::Image::createMutable(40, 30);
    const display::Surface k = coreKeyed->surface(), t = coreTranslucent->surface();
    CoreScene core(coreTarget->surface());
    drawScene(core, &k, &t, block.data(), static_cast<jint>(block.size()));
    for (jint y = 0; y < 30; ++y)
        for (jint x = 0; x < 40; ++x) ASSERT_EQ(px(target, x, y), coreTarget->pixel16(x, y)) << x << "," << y;
}

TEST_F(LcduiGraphics, FaultsAreLoggedWithTheJavaStackTrace) {
    Image* img = Image::createImage(8, 8);
    Graphics* g = img->getGraphics();
    MethodScope method("cGame::paintHud");
    struct Case {
        const char* line;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"drawRGB rgbData", [&] { g->drawRGB(nullptr, 0, 1, 0, 0, 1, 1, false); }},
        {"drawRegion pSrc", [&] { g->drawRegion(nullptr, 0, 0, 1, 1, 0, 0, 0, 0); }},
        {"drawRegion pSrc", [&] { g->drawImage(nullptr, 0, 0, 0); }},
        {"drawRegion transform", [&] { g->drawRegion(img, 0, 0, 1, 1, 9, 0, 0, 0); }},
        {"drawRegion y_src", [&] { g->drawRegion(img, 0, 4, 2, 5, 0, 0, 0, 0); }},
        {"getRGB length", [&] { img->getRGB(newIntArray(3), 0, 2, 0, 0, 2, 2); }},
    };
    for (const Case& c : cases) {
        m_log.clear();
        c.call();
        const std::vector<std::string> lines = m_log.lines();
        ASSERT_GE(lines.size(), 2u) << c.line;
        EXPECT_NE(lines[0].find(c.line), std::string::npos) << c.line << " / " << lines[0];
        EXPECT_NE(lines[1].find("stacktrace:"), std::string::npos) << c.line;
        EXPECT_NE(lines[1].find("cGame::paintHud"), std::string::npos) << c.line;
    }
}

// Every index drawRGB reads must lie inside the array; otherwise it logs
// and draws nothing.
TEST_F(LcduiGraphics, DrawRgbChecksEveryIndexItReads) {
    Image* img = Image::createImage(6, 6);
    Graphics* g = img->getGraphics();
    IntArray* data = newIntArray(12);
    for (jint i = 0; i < 12; ++i) data->data()[i] = static_cast<jint>(0xFFFFFFFF);
    struct Case {
        jint offset, scan, x, y, w, h;
    };
    const Case bad[] = {
        {-1, 4, 0, 0, 2, 2}, {0, 4, 0, 0, 4, 4}, {9, 4, 0, 0, 4, 1}, {0, -4, 0, 0, 2, 2},
        {0, INT_MAX, 0, 0, 2, 2}, {INT_MAX, 4, 0, 0, 1, 1}, {0, 13, 0, 0, 1, 2},
    };
    for (const Case& c : bad) {
        m_log.clear();
        g->drawRGB(data, c.offset, c.scan, c.x, c.y, c.w, c.h, false);
        EXPECT_TRUE(logged("drawRGB")) << c.offset << " " << c.scan << " " << c.w << "x" << c.h;
        for (jint y = 0; y < 6; ++y)
            for (jint x = 0; x < 6; ++x) ASSERT_EQ(px(img, x, y), 0);
    }
    // Clipped away: nothing is read, nothing logged.
    m_log.clear();
    g->drawRGB(data, 0, 4, -10, 0, 4, 3, false);
    EXPECT_FALSE(logged("drawRGB"));
    // A negative scan length that stays inside the array draws bottom-up rows.
    data->data()[8] = static_cast<jint>(0xFF0000FF);
    g->drawRGB(data, 8, -4, 0, 0, 2, 3, false);
    EXPECT_EQ(px(img, 0, 0), 0x001F);
    EXPECT_EQ(px(img, 0, 1), 0xFFFF);
    EXPECT_EQ(px(img, 0, 3), 0);
}

TEST_F(LcduiGraphics, TextFromJavaStringsAndCharArrays) {
    if (display::fontMetrics().height <= 0) GTEST_SKIP() << "no font file: " << display::fontFile();
    Image* img = Image::createImage(480, 100);
    Graphics* g = img->getGraphics();
    g->setColor(0xFFFFFF);
    String* abc = String::fromUtf8("abc");
    g->drawString(abc, 240, 60, display::kHCenter | display::kTop);
    jint minX = INT_MAX, maxX = -1, minY = INT_MAX;
    for (jint y = 0; y < 100; ++y)
        for (jint x = 0; x < 480; ++x)
            if (px(img, x, y) != 0) {
                EXPECT_EQ(px(img, x, y), 0xFFFF);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
            }
    const jint width = Font::getDefaultFont()->stringWidth(abc);
    ASSERT_GT(width, 0);
    EXPECT_GE(minX, 240 - (width >> 1));
    EXPECT_LE(maxX, 240 - (width >> 1) + width - 1);
    EXPECT_GE(minY, 60);

    // The same text from a char array, a substring and single characters.
    auto picture = [&](const std::function<void(Graphics*)>& draw) {
        Image* out = Image::createImage(120, 30);
        Graphics* og = out->getGraphics();
        og->setColor(0x00FF00);
        draw(og);
        std::vector<uint16_t> pixels;
        for (jint y = 0; y < 30; ++y)
            for (jint x = 0; x < 120; ++x) pixels.push_back(px(out, x, y));
        return pixels;
    };
    const auto fromString = picture([&](Graphics* og) { og->drawString(String::fromUtf8("bc"), 5, 5, 0); });
    const auto fromSub = picture([&](Graphics* og) { og->drawSubstring(String::fromUtf8("abcd"), 1, 2, 5, 5, 0); });
    CharArray* chars = newCharArray(4);
    for (jint i = 0; i < 4; ++i) chars->data()[i] = static_cast<jchar>('a' + i);
    const auto fromChars = picture([&](Graphics* og) { og->drawChars(chars, 1, 2, 5, 5, 0); });
    EXPECT_EQ(fromString, fromSub);
    EXPECT_EQ(fromString, fromChars);
    EXPECT_NE(fromString, picture([](Graphics*) {}));
    const auto oneChar = picture([&](Graphics* og) { og->drawChar('b', 5, 5, 0); });
    const auto fromB = picture([&](Graphics* og) { og->drawString(String::fromUtf8("b"), 5, 5, 0); });
    EXPECT_EQ(oneChar, fromB);

    // Nothing for null, empty, out-of-range or key-coloured text.
    const auto blank = picture([](Graphics*) {});
    EXPECT_EQ(blank, picture([](Graphics* og) { og->drawString(nullptr, 5, 5, 0); }));
    EXPECT_EQ(blank, picture([](Graphics* og) { og->drawString(String::fromUtf8(""), 5, 5, 0); }));
    EXPECT_EQ(blank, picture([&](Graphics* og) { og->drawChars(chars, 3, 2, 5, 5, 0); }));
    EXPECT_EQ(blank, picture([](Graphics* og) { og->drawSubstring(String::fromUtf8("ab"), -1, 2, 5, 5, 0); }));
    EXPECT_EQ(blank, picture([](Graphics* og) {
                  og->setColor(0x00F81F);
                  og->drawString(String::fromUtf8("abc"), 5, 5, 0);
              }));
}

}  // namespace

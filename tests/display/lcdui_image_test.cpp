// Image as a Java object: every creation form (mutable, region with a
// transform, PNG bytes, ARGB ints, the screen image), the allocation rules
// per pixel type, the PNG and createRGBImage type decisions, getRGB with
// its index checks, and creation while the data heap compacts under it.
#include <climits>
#include <functional>

#include "display/image_ops.h"
#include "display/png_decode.h"
#include "tests/display/lcdui_fixture.h"
#include "tests/display/png_writer.h"

namespace {

using display::PixelType;
using display::test::PngRecipe;
using display::test::Rgba;
using display::test::writePng;

constexpr jint kMutable = static_cast<jint>(display::kMutableTypeBit);

uint16_t rgb(int r, int g, int b) { return display::rgb565(static_cast<uint32_t>(r << 16 | g << 8 | b)); }
int wave(int x, int y, int k) { return (x * 37 + y * 91 + k * 53) & 0xFF; }

// The pixel that transform t puts at destination (dx, dy) of a w x h region
// (region-relative source coordinates), by the definition of each transform.
std::pair<int, int> sourceOf(int t, int dx, int dy, int w, int h) {
    switch (t) {
    case 0: return {dx, dy};
    case 1: return {dx, h - 1 - dy};
    case 2: return {w - 1 - dx, dy};
    case 3: return {w - 1 - dx, h - 1 - dy};
    case 4: return {dy, dx};
    case 5: return {dy, h - 1 - dx};
    case 6: return {w - 1 - dy, dx};
    default: return {w - 1 - dy, h - 1 - dx};
    }
}

// A mutable image whose pixel (x, y) is x * 64 + y + 1.
Image* numbered(jint w, jint h) {
    Image* img = Image::createImage(w, h);
    for (jint y = 0; y < h; ++y)
        for (jint x = 0; x < w; ++x) img->surface().at16(x, y) = static_cast<uint16_t>(x * 64 + y + 1);
    return img;
}

using LcduiImage = LcduiTest;

TEST_F(LcduiImage, MutableImagesAndTheSizeCaps) {
    Image* img = Image::createImage(5, 3);
    ASSERT_NE(img->m_pixels, nullptr);
    EXPECT_EQ(img->m_pixels->classId(), cid::ShortArray);
    EXPECT_EQ(img->m_pixels->length(), 18);  // stride 12 bytes = 6 shorts, times 3 rows
    EXPECT_EQ(img->m_stride, 12);
    EXPECT_EQ(img->getWidth(), 5);
    EXPECT_EQ(img->getHeight(), 3);
    EXPECT_TRUE(img->isMutable());
    EXPECT_EQ(img->pixelType(), PixelType::Rgb565);
    for (jint i = 0; i < 18; ++i) EXPECT_EQ(static_cast<ShortArray*>(img->m_pixels)->data()[i], 0);

    for (auto [w, h] : {std::pair{-1, 5}, {5, -1}, {8193, 1}, {8192, 8192}, {INT_MAX, INT_MAX}}) {
        m_log.clear();
        Image* bad = Image::createImage(w, h);
        EXPECT_EQ(bad->m_pixels, nullptr) << w << "x" << h;
        EXPECT_EQ(bad->getWidth(), 0);
        EXPECT_EQ(bad->getHeight(), 0);
        EXPECT_TRUE(logged("Image::allocatePixels")) << w << "x" << h;
        // Drawing into it does nothing and does not fault.
        Graphics* g = bad->getGraphics();
        g->setColor(0xFFFFFF);
        g->fillRect(0, 0, 10, 10);
    }
}

TEST_F(LcduiImage, AllocatePixelsPerTypeWord) {
    struct Case {
        jint typeWord, w, h, extra;
        uint16_t arrayClass;
        jint length, stride;
        bool isMutable, logsImageType;
        PixelType type;
    };
    const Case cases[] = {
        {kMutable | 0, 5, 3, 0, cid::ShortArray, 18, 12, true, false, PixelType::Rgb565},
        {kMutable | 1, 5, 3, 0, cid::ShortArray, 18, 12, false, true, PixelType::Rgb565Keyed},
        {2, 4, 2, 0, cid::ShortArray, 8, 8, false, false, PixelType::Argb4444},
        {3, 5, 3, 10, cid::ByteArray, 10 + 15 + 1, 5, false, false, PixelType::Index8},
        {4, 5, 3, 0, cid::ByteArray, 3 * 3 + 1, 3, false, false, PixelType::Index4},
        {7, 5, 3, 2, cid::ByteArray, 2 + 3 * 3 + 1, 3, false, false, PixelType::Index4},
        {kMutable | 3, 2, 2, 0, cid::ByteArray, 5, 2, false, true, PixelType::Index8},
    };
    for (const Case& c : cases) {
        m_log.clear();
        Image* img = Image::make(c.w, c.h, c.typeWord, c.extra);
        const std::string what = "type word " + std::to_string(c.typeWord);
        ASSERT_NE(img->m_pixels, nullptr) << what;
        EXPECT_EQ(img->m_pixels->classId(), c.arrayClass) << what;
        EXPECT_EQ(img->m_pixels->length(), c.length) << what;
        EXPECT_EQ(img->m_stride, c.stride) << what;
        EXPECT_EQ(img->isMutable(), c.isMutable) << what;
        EXPECT_EQ(logged("imagetype"), c.logsImageType) << what;
        EXPECT_EQ(img->pixelType(), c.type) << what;
        const bool shorts = c.arrayClass == cid::ShortArray;
        EXPECT_EQ(Image::getPixelShorts(img) != nullptr, shorts) << what;
        EXPECT_EQ(Image::getPixelBytes(img) != nullptr, !shorts) << what;
    }
    m_log.clear();
    Image* img = Image::make(4, 4, 3, -1);  // negative extra bytes
    EXPECT_EQ(img->m_pixels, nullptr);
    EXPECT_TRUE(logged("Image::allocatePixels"));
    EXPECT_EQ(Image::getPixelShorts(img), nullptr);
    Image::allocatePixels(nullptr, 1, 1, 0, 0);
    EXPECT_TRUE(logged("NullPointer"));
}

// One row per PNG kind: the Java image's type, size and fields, and every
// pixel as the core decoder gives it, with spot checks against the rules.
TEST_F(LcduiImage, PngBytesBecomeImmutableImagesOfTheRightType) {
    struct Case {
        const char* what;
        PngRecipe recipe;
        PixelType type;
        std::function<uint16_t(int, int)> expected;
    };
    const std::vector<Rgba> palette = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    const std::vector<Rgba> alphaPalette = {{255, 0, 0, 0}, {0, 255, 0, 128}, {0, 0, 255, 255}};
    auto rgbWave = [](int x, int y) { return std::vector<int>{wave(x, y, 0), wave(x, y, 1), wave(x, y, 2)}; };
    PngRecipe interlaced{9, 7, 2, 8, true, rgbWave};
    std::vector<Case> cases = {
        {"palette", {4, 3, 3, 8, false, [](int x, int y) { return std::vector<int>{(x + y) % 3}; }, palette},
         PixelType::Rgb565,
         [&](int x, int y) { return rgb(palette[(x + y) % 3].r, palette[(x + y) % 3].g, palette[(x + y) % 3].b); }},
        {"palette with tRNS",
         {4, 3, 3, 8, false, [](int x, int y) { return std::vector<int>{(x + y) % 3}; }, alphaPalette, true},
         PixelType::Rgb565Keyed,
         [&](int x, int y) {
             const Rgba& c = alphaPalette[(x + y) % 3];
             return c.a == 0 ? display::kKeyColour565 : rgb(c.r, c.g, c.b);
         }},
        {"rgb", {6, 4, 2, 8, false, rgbWave}, PixelType::Rgb565,
         [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 1), wave(x, y, 2)); }},
        {"rgb holding magenta",
         {3, 1, 2, 8, false,
          [](int x, int) { return x == 1 ? std::vector<int>{255, 0, 255} : std::vector<int>{1, 2, 3}; }},
         PixelType::Rgb565Keyed, [](int x, int) { return x == 1 ? display::kKeyColour565 : rgb(1, 2, 3); }},
        {"rgba",
         {5, 2, 6, 8, false,
          [](int x, int y) { return std::vector<int>{wave(x, y, 0), wave(x, y, 1), wave(x, y, 2), x * 60}; }},
         PixelType::Argb4444,
         [](int x, int y) {
             return display::argb4444(static_cast<uint32_t>(x * 60) << 24 |
                                      static_cast<uint32_t>(wave(x, y, 0) << 16 | wave(x, y, 1) << 8 | wave(x, y, 2)));
         }},
        {"interlaced", interlaced, PixelType::Rgb565,
         [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 1), wave(x, y, 2)); }},
        {"grey", {3, 3, 0, 8, false, [](int x, int y) { return std::vector<int>{wave(x, y, 0)}; }}, PixelType::Rgb565,
         [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 0), wave(x, y, 0)); }},
        {"rgb 16-bit",
         {3, 2, 2, 16, false, [](int x, int y) { return std::vector<int>{wave(x, y, 0) << 8 | 0x7F, 0xFF00, 0x0101}; }},
         PixelType::Rgb565, [](int x, int y) { return rgb(wave(x, y, 0), 0xFF, 0x01); }},
    };
    for (const Case& c : cases) {
        m_log.clear();
        const std::vector<uint8_t> png = writePng(c.recipe);
        ByteArray* data = bytes(png, 3, 5);  // the file in the middle of a larger array
        Image* img = Image::createImage(data, 3, static_cast<jint>(png.size()));
        ASSERT_NE(img, nullptr) << c.what;
        EXPECT_TRUE(m_log.lines().empty()) << c.what;
        EXPECT_EQ(img->getWidth(), c.recipe.width) << c.what;
        EXPECT_EQ(img->getHeight(), c.recipe.height) << c.what;
        EXPECT_EQ(img->m_stride, (c.recipe.width + 1) / 2 * 4) << c.what;
        EXPECT_EQ(img->pixelType(), c.type) << c.what;
        EXPECT_FALSE(img->isMutable()) << c.what;
        std::optional<display::Image> core = display::decodePngImage(png.data(), png.size());
        ASSERT_TRUE(core) << c.what;
        for (int y = 0; y < c.recipe.height; ++y)
            for (int x = 0; x < c.recipe.width; ++x) {
                ASSERT_EQ(px(img, x, y), c.expected(x, y)) << c.what << " at " << x << "," << y;
                ASSERT_EQ(px(img, x, y), core->pixel16(x, y)) << c.what << " at " << x << "," << y;
            }
        img->getGraphics();
        EXPECT_TRUE(logged("!mutable")) << c.what;
    }
}

TEST_F(LcduiImage, DamagedPngAndBadRangesGiveNull) {
    const std::vector<uint8_t> png = writePng({8, 8, 2, 8, false, [](int x, int y) {
                                                   return std::vector<int>{x * 30, y * 30, 7};
                                               }});
    std::vector<uint8_t> truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    std::vector<uint8_t> badCrc = png;
    badCrc[static_cast<size_t>(display::test::findChunk(badCrc, "IHDR")) + 12] ^= 0x01;  // width, CRC kept
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        jint offset, length;
        const char* logLine;
    };
    const jint n = static_cast<jint>(png.size());
    const Case cases[] = {
        {"truncated", truncated, 0, static_cast<jint>(truncated.size()), "Image::createImage"},
        {"bad CRC", badCrc, 0, n, "Image::createImage"},
        {"length cut short", png, 0, n - 20, "Image::createImage"},
        {"not a PNG", {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, 9, "Image::createImage"},
        {"empty range", png, 0, 0, "Image::createImage"},
        {"negative offset", png, -1, n, "createImage offset, length"},
        {"negative length", png, 0, -1, "createImage offset, length"},
        {"range past the end", png, 1, n, "createImage offset, length"},
        {"offset plus length overflows", png, 2, INT_MAX, "createImage offset, length"},
    };
    for (const Case& c : cases) {
        m_log.clear();
        EXPECT_EQ(Image::createImage(bytes(c.file), c.offset, c.length), nullptr) << c.what;
        EXPECT_TRUE(logged(c.logLine)) << c.what;
    }
    m_log.clear();
    EXPECT_EQ(Image::createImage(static_cast<ByteArray*>(nullptr), 0, 0), nullptr);
    EXPECT_TRUE(logged("NullPointer"));
}

// One pixel per row: the type createRGBImage decides and the stored value.
TEST_F(LcduiImage, RgbImageTypeDecisions) {
    struct Case {
        std::vector<jint> argb;
        bool processAlpha;
        PixelType type;
        uint16_t first;
    };
    const Case cases[] = {
        {{static_cast<jint>(0x80123456)}, false, PixelType::Rgb565, rgb(0x12, 0x34, 0x56)},
        {{0x00000000, static_cast<jint>(0xFF00FF00)}, true, PixelType::Rgb565Keyed, display::kKeyColour565},
        {{static_cast<jint>(0xFF112233)}, true, PixelType::Rgb565, rgb(0x11, 0x22, 0x33)},
        {{static_cast<jint>(0x80FFFFFF)}, true, PixelType::Argb4444, 0x8FFF},
        {{static_cast<jint>(0xFE102030), 0}, true, PixelType::Argb4444, 0xF123},
        // Translucent key colour counts as keyed, not translucent.
        {{static_cast<jint>(0x80FF00FF)}, true, PixelType::Rgb565Keyed, display::kKeyColour565},
        {{static_cast<jint>(0xFFFF00FF)}, false, PixelType::Rgb565, display::kKeyColour565},
    };
    for (const Case& c : cases) {
        Image* img = Image::createRGBImage(ints(c.argb), static_cast<jint>(c.argb.size()), 1, c.processAlpha);
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->pixelType(), c.type) << std::hex << c.argb[0];
        EXPECT_EQ(px(img, 0, 0), c.first) << std::hex << c.argb[0];
        EXPECT_FALSE(img->isMutable());
    }
    struct Fault {
        IntArray* argb;
        jint w, h;
        const char* line;
    };
    const Fault faults[] = {
        {nullptr, 1, 1, "createRGBImage rgbData"},
        {ints({1, 2}), 0, 1, "createRGBImage width, height"},
        {ints({1, 2}), 2, -1, "createRGBImage width, height"},
        {ints({1, 2, 3}), 2, 2, "createRGBImage length"},
        {newIntArray(0), 1, 1, "createRGBImage length"},
        {ints({1}), 65536, 65536, "createRGBImage length"},
    };
    for (const Fault& f : faults) {
        m_log.clear();
        EXPECT_EQ(Image::createRGBImage(f.argb, f.w, f.h, true), nullptr) << f.line;
        EXPECT_TRUE(logged(f.line)) << f.line;
    }
}

TEST_F(LcduiImage, GetRgbReadsBackEveryType) {
    Image* keyed = Image::createRGBImage(ints({0, static_cast<jint>(0xFFFFFFFF)}), 2, 1, true);
    ASSERT_EQ(keyed->pixelType(), PixelType::Rgb565Keyed);
    Image* translucent = Image::createRGBImage(ints({static_cast<jint>(0x80FF8040)}), 1, 1, true);
    IntArray* out = newIntArray(3);
    keyed->getRGB(out, 0, 2, 0, 0, 2, 1);
    EXPECT_EQ(out->data()[0], 0);  // the key reads back as transparent black
    EXPECT_EQ(static_cast<uint32_t>(out->data()[1]), 0xFFFFFFFFu);
    translucent->getRGB(out, 2, 1, 0, 0, 1, 1);
    EXPECT_EQ(static_cast<uint32_t>(out->data()[2]), 0x88FF8844u);  // every nibble times 17

    // Placement by offset and scan length, negative scan length included.
    Image* img = numbered(4, 3);
    IntArray* area = newIntArray(12);
    img->getRGB(area, 1, 5, 1, 1, 3, 2);
    for (jint r = 0; r < 2; ++r)
        for (jint i = 0; i < 3; ++i)
            EXPECT_EQ(static_cast<uint32_t>(area->data()[1 + r * 5 + i]),
                      display::argbFrom565(static_cast<uint16_t>((1 + i) * 64 + 1 + r + 1)));
    EXPECT_EQ(area->data()[0], 0);
    EXPECT_EQ(area->data()[4], 0);
    IntArray* reversed = newIntArray(8);
    img->getRGB(reversed, 4, -4, 0, 0, 4, 2);  // row 0 at 4, row 1 at 0
    EXPECT_EQ(static_cast<uint32_t>(reversed->data()[4]), display::argbFrom565(1));
    EXPECT_EQ(static_cast<uint32_t>(reversed->data()[0]), display::argbFrom565(2));
}

// Every index getRGB would write must lie inside the array; otherwise it
// logs and writes nothing.
TEST_F(LcduiImage, GetRgbChecksEveryIndexWithoutOverflow) {
    Image* img = numbered(4, 4);
    struct Case {
        jint length, offset, scan, x, y, w, h;
        const char* line;
    };
    const Case cases[] = {
        {16, -1, 4, 0, 0, 4, 4, "getRGB length"},
        {15, 0, 4, 0, 0, 4, 4, "getRGB length"},
        {16, 1, 4, 0, 0, 4, 4, "getRGB length"},
        {16, 0, 5, 0, 0, 4, 4, "getRGB length"},
        {16, 0, -4, 0, 0, 4, 4, "getRGB length"},  // rows before the start
        {16, 0, INT_MAX, 0, 0, 4, 2, "getRGB length"},
        {16, INT_MAX, 4, 0, 0, 1, 1, "getRGB length"},
        {16, 0, 4, -1, 0, 1, 1, "getRGB x,y outside"},
        {16, 0, 4, 0, -1, 1, 1, "getRGB x,y outside"},
        {16, 0, 4, 1, 0, 4, 1, "getRGB width,height outside"},
        {16, 0, 4, 0, 1, 1, 4, "getRGB width,height outside"},
        {16, 0, 1, INT_MAX, 0, 1, 1, "getRGB width,height outside"},
    };
    for (const Case& c : cases) {
        m_log.clear();
        IntArray* out = newIntArray(c.length);
        for (jint i = 0; i < c.length; ++i) out->data()[i] = 0x5A5A5A5A;
        img->getRGB(out, c.offset, c.scan, c.x, c.y, c.w, c.h);
        EXPECT_TRUE(logged(c.line)) << c.line << " offset " << c.offset << " scan " << c.scan;
        for (jint i = 0; i < c.length; ++i) ASSERT_EQ(out->data()[i], 0x5A5A5A5A) << c.line;
    }
    m_log.clear();
    img->getRGB(nullptr, 0, 4, 0, 0, 1, 1);
    EXPECT_TRUE(logged("getRGB argb null"));
    m_log.clear();
    Image::make(2, 2, 3, 0)->getRGB(newIntArray(4), 0, 2, 0, 0, 2, 2);
    EXPECT_TRUE(logged("m_pixelType"));
}

TEST_F(LcduiImage, RegionFormAppliesTheTransformIntoANewMutableImage) {
    Image* src = numbered(10, 20);
    Image* turned = Image::createImage(src, 0, 0, 10, 20, display::kTransRot90);
    EXPECT_EQ(turned->getWidth(), 20);
    EXPECT_EQ(turned->getHeight(), 10);
    EXPECT_TRUE(turned->isMutable());
    Image* half = Image::createImage(src, 0, 0, 10, 20, display::kTransRot180);
    EXPECT_EQ(half->getWidth(), 10);
    EXPECT_EQ(half->getHeight(), 20);

    const jint sx = 2, sy = 3, w = 4, h = 5;
    for (jint t = 0; t < 8; ++t) {
        Image* out = Image::createImage(src, sx, sy, w, h, t);
        const jint ow = t >= 4 ? h : w, oh = t >= 4 ? w : h;
        ASSERT_EQ(out->getWidth(), ow) << "transform " << t;
        ASSERT_EQ(out->getHeight(), oh) << "transform " << t;
        for (jint y = 0; y < oh; ++y)
            for (jint x = 0; x < ow; ++x) {
                auto [rx, ry] = sourceOf(t, x, y, w, h);
                ASSERT_EQ(px(out, x, y), px(src, sx + rx, sy + ry)) << "transform " << t << " at " << x << "," << y;
            }
    }
    // A region outside the source: the new image stays blank, the fault logged.
    m_log.clear();
    Image* outside = Image::createImage(src, 8, 0, 4, 4, 0);
    EXPECT_EQ(outside->getWidth(), 4);
    EXPECT_TRUE(logged("drawRegion x_src"));
    EXPECT_EQ(px(outside, 0, 0), 0);
}

// Array elements move when the data heap compacts; creation re-reads them
// after every allocation. A PNG file is usually far smaller than the image
// it makes, so its bytes are what moves while the image is allocated.
TEST_F(LcduiImage, CreationFormsSurviveTheDataHeapMoving) {
    const jint w = 48, h = 40;  // a store of 3840 bytes fits no 1 KB hole
    const std::vector<uint8_t> png = writePng({w, h, 2, 8, false, [](int x, int y) {
                                                   return std::vector<int>{x * 4, y * 4, 9};
                                               }});
    ASSERT_LT(png.size(), 400u);
    ByteArray* data = afterFragmenting([&] { return bytes(png); });
    const void* before = data->data();
    Image* decoded = Image::createImage(data, 0, static_cast<jint>(png.size()));
    ASSERT_NE(decoded, nullptr);
    EXPECT_NE(data->data(), before) << "the heap did not move the bytes; the test proves nothing";
    for (jint y = 0; y < h; ++y)
        for (jint x = 0; x < w; ++x) ASSERT_EQ(px(decoded, x, y), rgb(x * 4, y * 4, 9));

    // ARGB ints and region sources are larger than the store being made, so
    // compaction cannot move them here; creation on a fragmented heap must
    // still give the right pixels.
    std::vector<jint> pixels(static_cast<size_t>(w * h));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<jint>(0xFF000000u | (i * 2654435761u >> 8));
    IntArray* argb = afterFragmenting([&] { return ints(pixels); });
    Image* img = Image::createRGBImage(argb, w, h, false);
    ASSERT_NE(img, nullptr);
    for (jint i = 0; i < w * h; ++i)
        ASSERT_EQ(px(img, i % w, i / w), display::rgb565(static_cast<uint32_t>(pixels[static_cast<size_t>(i)])));

    Image* src = afterFragmenting([&] { return Image::createRGBImage(ints(pixels), w, h, false); });
    Image* turned = Image::createImage(src, 0, 0, w, h, display::kTransRot270);
    for (jint y = 0; y < w; ++y)
        for (jint x = 0; x < h; ++x) {
            auto [rx, ry] = sourceOf(display::kTransRot270, x, y, w, h);
            ASSERT_EQ(px(turned, x, y), px(src, rx, ry));
        }
    EXPECT_TRUE(m_app->dataHeap().checkConsistency());
}

// getGraphics on an immutable image that is not RGB565 still answers a
// Graphics, but no RGB565 pixel is ever written into its store.
TEST_F(LcduiImage, ImmutableStoresOfOtherTypesAreNeverWrittenAsRgb565) {
    Image* translucent = Image::createRGBImage(ints({static_cast<jint>(0x80FFFFFF), 0}), 2, 1, true);
    ASSERT_EQ(translucent->pixelType(), PixelType::Argb4444);
    const uint16_t before0 = px(translucent, 0, 0), before1 = px(translucent, 1, 0);
    m_log.clear();
    Graphics* g = translucent->getGraphics();
    EXPECT_TRUE(logged("!mutable"));
    g->setColor(0x00FF00);
    g->fillRect(0, 0, 2, 1);
    g->drawLine(0, 0, 1, 0);
    g->drawImage(numbered(2, 1), 0, 0, 0);
    EXPECT_EQ(px(translucent, 0, 0), before0);
    EXPECT_EQ(px(translucent, 1, 0), before1);
    // drawRGB alone writes an ARGB4444 target (as ARGB4444).
    g->drawRGB(ints({static_cast<jint>(0x12345678)}), 0, 1, 1, 0, 1, 1, true);
    EXPECT_EQ(px(translucent, 1, 0), 0x1357);

    Image* bytesImage = Image::make(4, 2, 3, 4);
    ByteArray* store = Image::getPixelBytes(bytesImage);
    for (jint i = 0; i < store->length(); ++i) store->data()[i] = static_cast<jbyte>(i);
    Graphics* bg = bytesImage->getGraphics();
    bg->setColor(0xFFFFFF);
    bg->fillRect(0, 0, 4, 2);
    bg->drawRGB(ints({-1, -1, -1, -1}), 0, 2, 0, 0, 2, 2, false);
    for (jint i = 0; i < store->length(); ++i) ASSERT_EQ(store->data()[i], static_cast<jbyte>(i));
}

TEST_F(LcduiImage, ScreenImageDrawsIntoTheBackBufferAndNeverFreesIt) {
    std::vector<uint16_t> buffer(480 * 800, 0x1234);
    Image* screen = Image::createScreenImage(480, 800, buffer.data());
    EXPECT_EQ(screen->getWidth(), 480);
    EXPECT_EQ(screen->getHeight(), 800);
    EXPECT_EQ(screen->m_stride, 960);
    EXPECT_TRUE(screen->isMutable());
    EXPECT_EQ(screen->pixelType(), PixelType::Rgb565);
    EXPECT_EQ(screen->m_pixels->length(), 480 * 800);
    EXPECT_EQ(screen->m_pixels->rawElements(), buffer.data());

    m_log.clear();
    Graphics* g = screen->getGraphics();
    EXPECT_FALSE(logged("!mutable"));
    g->setColor(0xFF0000);
    g->fillRect(10, 20, 3, 2);
    EXPECT_EQ(buffer[20 * 480 + 10], 0xF800);
    EXPECT_EQ(buffer[21 * 480 + 12], 0xF800);
    EXPECT_EQ(buffer[22 * 480 + 10], 0x1234);
    g->drawImage(numbered(2, 2), 479, 799, 0);  // clipped at the corner
    EXPECT_EQ(buffer[799 * 480 + 479], 1);

    // Unreachable, collected: the buffer is not the runtime's to free.
    screen = nullptr;
    g = nullptr;
    collect();
    collect();
    EXPECT_EQ(buffer[20 * 480 + 10], 0xF800);

    std::vector<uint16_t> odd(6 * 2);
    Image* narrow = Image::createScreenImage(5, 2, odd.data());
    EXPECT_EQ(narrow->m_stride, 12);
    narrow->getGraphics()->setColor(0xFFFFFF);
    narrow->getGraphics()->fillRect(0, 0, 100, 100);  // a fresh Graphics has colour 0: nothing
    EXPECT_EQ(odd[0], 0);

    m_log.clear();
    Image* bad = Image::createScreenImage(-1, 800, buffer.data());
    EXPECT_TRUE(logged("length of array should be >= 0"));
    EXPECT_EQ(bad->m_pixels, nullptr);
    EXPECT_TRUE(bad->isMutable());
    Graphics* bg = bad->getGraphics();
    bg->setColor(0);
    bg->fillRect(0, 0, 10, 10);
    EXPECT_EQ(buffer[0], 0x1234);
}

}  // namespace

// Content kit, sprite side: palette conversions, pixel encoders, the sprite
// encoder byte for byte, round trips through the strict parser, the text
// description, sprite fonts and their character map, damaged sprites.
#include "tools/kit/damage.h"
#include "tools/kit/describe.h"
#include "tools/kit/font.h"
#include "tools/kit/sprite.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

using namespace kit;

namespace {

Bytes B(std::initializer_list<int> v) {
    Bytes b;
    for (int x : v) b.push_back(static_cast<uint8_t>(x));
    return b;
}

Bytes tail(const Bytes& b, size_t from) { return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.end()); }

std::string hex(const Bytes& b) {
    std::string s;
    char buf[4];
    for (uint8_t v : b) {
        std::snprintf(buf, sizeof buf, "%02X ", v);
        s += buf;
    }
    return s;
}

int colorsFor(uint16_t pixelFormat) {
    switch (pixelFormat) {
    case kPixels1: return 2;
    case kPixels2: return 4;
    case kPixels4: return 16;
    default: return 40;
    }
}

std::vector<uint8_t> randomPixels(std::mt19937& rng, size_t n, int colors) {
    std::vector<uint8_t> px(n);
    uint8_t cur = 0;
    for (size_t i = 0; i < n; ++i) {
        if (rng() % 3 == 0) cur = static_cast<uint8_t>(rng() % static_cast<unsigned>(colors));  // runs and literals
        px[i] = cur;
    }
    return px;
}

// A sprite that uses every part of the format.
SpriteModel fullSprite(uint16_t paletteFormat, uint16_t pixelFormat, uint32_t seed = 1) {
    std::mt19937 rng(seed);
    const int C = colorsFor(pixelFormat);
    SpriteModel m;
    m.header = 0x1234;
    SpriteImages img;
    img.paletteFormat = paletteFormat;
    img.pixelFormat = pixelFormat;
    for (int p = 0; p < 3; ++p) {
        std::vector<uint32_t> pal;
        for (int i = 0; i < C; ++i)
            pal.push_back(i == 0 ? 0u : 0xFF000000u | (static_cast<uint32_t>(i * 37 + p * 11) << 16) | static_cast<uint32_t>(i * 5) << 8 | 0x40);
        img.palettes.push_back(pal);
    }
    m.images = img;
    m.modules.push_back(SpriteModule::image(7, 5, randomPixels(rng, 35, C)));
    m.modules.push_back(SpriteModule::image(16, 9, randomPixels(rng, 144, C)));
    m.modules.back().extra = 9;
    m.modules.push_back(SpriteModule::image(0, 0, {}));
    m.modules.push_back(SpriteModule::rect(0xFF102030, 10, 12));
    m.modules.push_back(SpriteModule::fillRect(0x80FFFFFF, 20, 4));
    m.modules.push_back(SpriteModule::sizeOnly(30, 40));
    m.modules.push_back(SpriteModule::arc(0xFFFF0000, 16, 16, 30, -270));
    m.modules.push_back(SpriteModule::fillArc(0xFF00FF00, 16, 8, -45, 90));
    m.modules.push_back(SpriteModule::triangle(0xFF0000FF, 10, -5, -300, 7));
    m.modules.push_back(SpriteModule::fillTriangle(0xFFFFFFFF, 1, 2, 3, 4));
    m.modules.push_back(SpriteModule::line(0xFF808080, 12, 3));
    m.modules.push_back(SpriteModule::gradient(0xFF000000, 0xFFFFFFFF, 3, 36, 36));
    SpriteFrame f0;
    f0.modules = {{0, -3, -5, 0, 0}, {1, 4, 0, 2, 5}, {3, 0, 0, 0, 0}, {11, -10, 20, 0, 7}};
    f0.rects = {{-4, -5, 8, 10}, {0, 0, 200, 3}};
    SpriteFrame f1;
    f1.modules = {{0, 1, 1, 1, kFModuleNestedFrame * 0 + 1}, {0, 0, 0, 0, kFModuleNestedFrame}};  // module 0, then frame 0
    SpriteFrame f2;  // empty frame
    SpriteFrame f3;
    for (int i = 4; i <= 10; ++i) f3.modules.push_back({i, i * 3, -i, 0, static_cast<uint8_t>(i & 7)});
    f3.rects = {{1, 2, 3, 4}};
    m.frames = {f0, f1, f2, f3};
    m.anims = {SpriteAnim{{{0, 3, 0, 0, 0}, {1, 4, -2, 1, 3}, {3, 255, 127, -128, 4}}}, SpriteAnim{}, SpriteAnim{{{2, 1, 0, 0, 0}}}};
    m.remap = std::vector<std::vector<RemapPair>>{{{0, 1}, {3, 4}}, {}, {{10, 9}}};
    return m;
}

const uint16_t kPaletteFormats[] = {kPalette8888, kPalette4444, kPalette5515, kPalette6505};
const uint16_t kPixelFormats[] = {kPixels8, kPixels4, kPixels2, kPixels1, kPixelsRunMask, kPixelsRun127, kPixelsRunMixed, kPixelsUndecoded};

}  // namespace

// --- Palettes ----------------------------------------------------------

TEST(KitPalette, ConversionsToArgb) {
    struct Case { uint16_t format; uint32_t native; uint32_t argb; };
    const Case cases[] = {
        {kPalette8888, 0x12345678, 0x12345678},
        {kPalette4444, 0x8F0F, 0x88FF00FF},
        {kPalette4444, 0xF123, 0xFF112233},
        {kPalette5515, 0xFC00, 0xFFF80000},
        {kPalette5515, 0x03E0, 0x0000F800},
        {kPalette5515, 0x7C1F, 0x00FF00FF},  // transparent magenta is stored as 0x00FF00FF
        {kPalette5515, 0xFC1F, 0xFFF800F8},
        {kPalette6505, 0xF81F, 0x00FF00FF},
        {kPalette6505, 0x001F, 0xFF0000F8},
        {kPalette6505, 0xFFFF, 0xFFF8FCF8},
        {kPalette6505, 0x07E0, 0xFF00FC00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.format << " " << c.native);
        EXPECT_EQ(paletteToArgb(c.format, c.native), c.argb);
    }
}

TEST(KitPalette, ArgbToNativeQuantisesAndRefusesOpaqueMagentaIn6505) {
    EXPECT_EQ(argbToPalette(kPalette4444, 0x88FF00FF), 0x8F0Fu);
    EXPECT_EQ(argbToPalette(kPalette5515, 0x80F80000), 0xFC00u);
    EXPECT_EQ(argbToPalette(kPalette5515, 0x7FFFFFFF), 0x7FFFu);
    EXPECT_EQ(argbToPalette(kPalette6505, 0x00123456), 0xF81Fu);
    EXPECT_EQ(argbToPalette(kPalette6505, 0xFF0000FF), 0x001Fu);
    EXPECT_THROW(argbToPalette(kPalette6505, 0xFFFF00FF), KitError);
    EXPECT_THROW(argbToPalette(0x1234, 0), KitError);
    // Colours a format can hold come back unchanged.
    for (uint16_t f : kPaletteFormats)
        for (uint32_t native : {0x0000u, 0x1234u, 0x8421u, 0x7FFFu, 0xFFFFu}) {
            if (f == kPalette6505 && native == 0xF81F) continue;
            uint32_t argb = paletteToArgb(f, native);
            if (f == kPalette5515 && !(native & 0x8000)) continue;  // transparent colours lose their RGB in ARGB
            EXPECT_EQ(paletteToArgb(f, argbToPalette(f, argb)), argb) << std::hex << f << " " << native;
        }
}

// --- Pixels ------------------------------------------------------------

TEST(KitPixels, EncodingsByHand) {
    struct Case { uint16_t format; int colors; std::vector<uint8_t> px; Bytes bytes; };
    const std::vector<Case> cases = {
        {kPixels8, 4, {1, 2, 3}, B({1, 2, 3})},
        {kPixels4, 16, {1, 2, 3}, B({0x12, 0x30})},
        {kPixels2, 4, {1, 2, 3, 0, 1}, B({0x6C, 0x40})},
        {kPixels1, 2, {1, 0, 1, 1, 0, 0, 0, 0, 1}, B({0xB0, 0x80})},
        {kPixelsRunMask, 16, {3, 3, 3}, B({0x23})},
        {kPixelsRunMask, 256, {5, 5}, B({5, 5})},
        {kPixelsRunMask, 1, std::vector<uint8_t>(300, 0), B({0xFF, 0x2B})},
        {kPixelsRunMask, 6, std::vector<uint8_t>(10, 5), B({0x4D})},
        {kPixelsRunMask, 6, std::vector<uint8_t>(40, 5), B({0xFD, 0x3D})},
        {kPixelsUndecoded, 16, {3, 3, 3}, B({0x23})},
        {kPixelsRun127, 8, {5, 5, 5}, B({0x83, 0x05})},
        {kPixelsRun127, 256, {7}, B({0x07})},
        {kPixelsRun127, 256, {200}, B({0x81, 0xC8})},
        {kPixelsRun127, 256, {1, 2}, B({1, 2})},
        {kPixelsRun127, 8, std::vector<uint8_t>(130, 4), B({0xFF, 4, 0x83, 4})},
        {kPixelsRunMixed, 8, {2}, B({0x81, 0x02})},
        {kPixelsRunMixed, 8, {7, 7}, B({0x02, 0x07})},
        {kPixelsRunMixed, 8, {1, 2, 3, 3}, B({0x82, 1, 2, 0x02, 3})},
        {kPixelsRunMixed, 8, std::vector<uint8_t>(128, 6), B({0x7F, 6, 0x81, 6})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.format << " colours " << std::dec << c.colors << " n " << c.px.size());
        EXPECT_EQ(encodePixels(c.format, c.colors, c.px), c.bytes);
        if (c.format != kPixelsUndecoded) {
            EXPECT_EQ(decodePixels(c.format, c.colors, c.bytes, c.px.size()), c.px);
        }
    }
}

TEST(KitPixels, DecodingIsStrict) {
    EXPECT_THROW(decodePixels(kPixels8, 4, B({1, 2}), 3), KitError);             // short
    EXPECT_THROW(decodePixels(kPixels4, 16, B({0x12, 0x30, 0}), 3), KitError);   // long
    EXPECT_THROW(decodePixels(kPixelsRun127, 8, B({0x85, 1}), 3), KitError);     // run passes n
    EXPECT_THROW(decodePixels(kPixelsRunMask, 16, B({0x23}), 4), KitError);      // ends early
    EXPECT_THROW(decodePixels(kPixelsRunMixed, 8, B({0x02, 1, 0}), 2), KitError);  // bytes left
    EXPECT_THROW(decodePixels(kPixels8, 2, B({5}), 1), KitError);                // outside the palette
    EXPECT_THROW(decodePixels(kPixelsUndecoded, 16, B({0x23}), 3), KitError);    // no decoder
    // The engine's "at least one" readings of the 0x56F2 controls.
    EXPECT_EQ(decodePixels(kPixelsRunMixed, 8, B({0x80, 7}), 1), std::vector<uint8_t>{7});
    EXPECT_EQ(decodePixels(kPixelsRunMixed, 8, B({0x00, 4}), 1), std::vector<uint8_t>{4});
}

TEST(KitPixels, EncodersRefuseIndicesTheyCannotHold) {
    EXPECT_THROW(encodePixels(kPixels1, 4, std::vector<uint8_t>{2}), KitError);
    EXPECT_THROW(encodePixels(kPixels4, 17, std::vector<uint8_t>{16}), KitError);
    EXPECT_THROW(encodePixels(kPixels8, 3, std::vector<uint8_t>{3}), KitError);
    EXPECT_THROW(encodePixels(0x1234, 3, std::vector<uint8_t>{0}), KitError);
    EXPECT_EQ(runShift(1), 0);
    EXPECT_EQ(runShift(2), 1);
    EXPECT_EQ(runShift(16), 4);
    EXPECT_EQ(runShift(17), 5);
    EXPECT_EQ(runShift(256), 8);
}

TEST(KitPixels, RandomRoundTripsInEveryFormat) {
    std::mt19937 rng(11);
    for (uint16_t f : kPixelFormats) {
        if (f == kPixelsUndecoded) continue;
        for (int colors : {1, 2, 3, 4, 5, 16, 17, 128, 200, 256}) {
            if (f == kPixels1 && colors > 2) continue;
            if (f == kPixels2 && colors > 4) continue;
            if (f == kPixels4 && colors > 16) continue;
            for (size_t n : {size_t{0}, size_t{1}, size_t{7}, size_t{64}, size_t{301}, size_t{65025}}) {
                std::vector<uint8_t> px = randomPixels(rng, n, colors);
                Bytes enc = encodePixels(f, colors, px);
                ASSERT_EQ(decodePixels(f, colors, enc, n), px) << std::hex << f << std::dec << " " << colors << " " << n;
            }
        }
    }
}

// --- Sprite bytes ------------------------------------------------------

TEST(KitSprite, EmptySpriteIsSixteenBytes) {
    // Header, flag word, then five empty counts: modules, frame modules,
    // frames, animation frames, animations.
    EXPECT_EQ(encodeSprite(SpriteModel{}), Bytes(16, 0));
    SpriteModel m = parseSprite(encodeSprite(SpriteModel{}));
    EXPECT_TRUE(m.modules.empty());
    EXPECT_FALSE(m.images.has_value());
}

TEST(KitSprite, SmallImageSpriteByHand) {
    SpriteModel m;
    m.modules = {SpriteModule::image(2, 1, {1, 0})};
    m.images = SpriteImages{kPalette8888, kPixels8, 0, {{0x00000000, 0xFFFF0000}}, false};
    m.frames = {SpriteFrame{{{0, 1, -2, 0, 0}}, {}}};
    m.anims = {SpriteAnim{{{0, 5, 1, -1, 1}}}};
    Bytes expected = B({0x00, 0x00, 0x00, 0x00, 0x00, 0x01,  // header, flags: image section
                        0x01, 0x00, 0x00, 0x02, 0x01,        // one image module 2 x 1
                        0x01, 0x00, 0x00, 0x01, 0xFE, 0x00,  // frame module: module 0 at (1, -2)
                        0x01, 0x00, 0x01, 0x00, 0x00,        // one frame: 1 module from 0
                        0x01, 0xFE, 0x02, 0x01,              // its bounding box
                        0x01, 0x00, 0x00, 0x05, 0x01, 0xFF, 0x01,  // animation frame
                        0x01, 0x00, 0x01, 0x00, 0x00,        // animation
                        0x88, 0x88, 0x01, 0x02,              // palette format, 1 palette of 2
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
                        0x02, 0x56, 0x02, 0x00, 0x01, 0x00});  // pixel format, block
    Bytes bytes = encodeSprite(m);
    EXPECT_EQ(bytes, expected) << hex(bytes);
}

TEST(KitSprite, ModuleRecordsOfEveryMarker) {
    struct Case { SpriteModule module; Bytes record; };
    const Case cases[] = {
        {SpriteModule::rect(0x11223344, 5, 6), B({0xFF, 0x44, 0x33, 0x22, 0x11, 5, 6})},
        {SpriteModule::fillRect(0x11223344, 5, 6), B({0xFE, 0x44, 0x33, 0x22, 0x11, 5, 6})},
        {SpriteModule::sizeOnly(7, 8), B({0xFD, 7, 8})},
        {SpriteModule::arc(0x01020304, 9, 10, 30, -90), B({0xFC, 4, 3, 2, 1, 9, 10, 0x1E, 0x00, 0xA6, 0xFF})},
        {SpriteModule::fillArc(0x01020304, 9, 10, 30, -90), B({0xFB, 4, 3, 2, 1, 9, 10, 0x1E, 0x00, 0xA6, 0xFF})},
        {SpriteModule::triangle(0x01020304, 1, -2, 300, 4), B({0xFA, 4, 3, 2, 1, 1, 0, 0xFE, 0xFF, 0x2C, 0x01, 4, 0})},
        {SpriteModule::fillTriangle(0x01020304, 1, -2, 300, 4), B({0xF9, 4, 3, 2, 1, 1, 0, 0xFE, 0xFF, 0x2C, 0x01, 4, 0})},
        {SpriteModule::line(0x01020304, 3, 4), B({0xF8, 4, 3, 2, 1, 3, 4})},
        {SpriteModule::gradient(0xAABBCCDD, 0x11223344, 2, 10, 20),
         B({0xF7, 0xDD, 0xCC, 0xBB, 0xAA, 0x44, 0x33, 0x22, 0x11, 0x02, 10, 20})},
        {SpriteModule::gradient(0xAABBCCDD, 0x11223344, -1, 10, 20),
         B({0xF7, 0xDD, 0xCC, 0xBB, 0xAA, 0x44, 0x33, 0x22, 0x11, 0xFF, 10, 20})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.module.marker));
        SpriteModel m;
        m.modules = {c.module};
        Bytes bytes = encodeSprite(m);
        Bytes expected = c.record;
        for (int i = 0; i < 8; ++i) expected.push_back(0);  // four empty sections
        EXPECT_EQ(tail(bytes, 8), expected) << hex(bytes);
        EXPECT_EQ(parseSprite(bytes).modules[0], c.module);
    }
    // An image module's extra byte sits between marker and size.
    SpriteModel m;
    m.images = SpriteImages{kPalette8888, kPixels8, 0, {{0, 0xFFFFFFFF}}, false};
    m.modules = {SpriteModule::image(1, 1, {1})};
    m.modules[0].extra = 0x5A;
    Bytes bytes = encodeSprite(m);
    EXPECT_EQ(bytes[2], 0x04);  // flag bit 2
    EXPECT_EQ(bytes[5], 0x01);  // flag bit 24
    EXPECT_EQ(Bytes(bytes.begin() + 6, bytes.begin() + 12), B({1, 0, 0x00, 0x5A, 1, 1}));
}

TEST(KitSprite, RectanglesAndWideCoordinatesByHand) {
    SpriteModel m;
    m.modules = {SpriteModule::sizeOnly(10, 10)};
    m.frames = {SpriteFrame{{{0, 0, 0, 0, 0}}, {{3, -1, 200, 10}}}};
    EXPECT_EQ(encodeSprite(m), B({0, 0, 0x00, 0x80, 0x00, 0x00,  // flag bit 15
                                  0x01, 0x00, 0xFD, 10, 10,
                                  0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0x01, 0x00, 0x03, 0xFF, 0xC8, 0x0A,  // rectangle block
                                  0x01, 0x00, 0x01, 0x00, 0x00, 0x01,  // frame: 1 module from 0, 1 rectangle
                                  0x00, 0x00, 0x0A, 0x0A,
                                  0x00, 0x00, 0x00, 0x00}));

    SpriteModel wide;
    wide.modules = {SpriteModule::sizeOnly(1, 1)};
    wide.frames = {SpriteFrame{{{0, 200, 0, 0, 0}}, {}}};
    EXPECT_EQ(encodeSprite(wide), B({0, 0, 0x00, 0x04, 0x00, 0x00,  // flag bit 10
                                     0x01, 0x00, 0xFD, 1, 1,
                                     0x01, 0x00, 0x00, 0xC8, 0x00, 0x00, 0x00, 0x00,
                                     0x01, 0x00, 0x01, 0x00, 0x00,
                                     0xC8, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
                                     0x00, 0x00, 0x00, 0x00}));

    wide.flags = kSpriteNoBoundingBoxes;
    EXPECT_EQ(encodeSprite(wide).size(), 36u - 8u);
}

TEST(KitSprite, RemapTrailerByHand) {
    SpriteModel m;
    m.modules = {SpriteModule::sizeOnly(1, 1), SpriteModule::sizeOnly(1, 1)};
    m.remap = std::vector<std::vector<RemapPair>>{{{0, 1}}};
    Bytes body = B({0, 0, 0, 0, 0, 0, 0x02, 0x00, 0xFD, 1, 1, 0xFD, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0});
    Bytes expected = body;
    for (int b : {0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 22, 0, 0, 0}) expected.push_back(static_cast<uint8_t>(b));
    expected.insert(expected.end(), kRemapMarker, kRemapMarker + 17);
    Bytes bytes = encodeSprite(m);
    EXPECT_EQ(bytes, expected) << hex(bytes);
    SpriteModel back = parseSprite(bytes);
    ASSERT_TRUE(back.remap.has_value());
    EXPECT_EQ(*back.remap, *m.remap);
}

TEST(KitSprite, FlagsFollowTheContent) {
    struct Case { const char* what; std::function<void(SpriteModel&)> change; uint32_t bit; };
    auto base = [] {
        SpriteModel m;
        m.modules = {SpriteModule::sizeOnly(4, 4)};
        m.frames = {SpriteFrame{{{0, 0, 0, 0, 0}}, {}}};
        return m;
    };
    const Case cases[] = {
        {"offset x 200", [](SpriteModel& m) { m.frames[0].modules[0].x = 200; }, kSpriteWideCoords},
        {"offset y -129", [](SpriteModel& m) { m.frames[0].modules[0].y = -129; }, kSpriteWideCoords},
        {"rectangle 256 wide", [](SpriteModel& m) { m.frames[0].rects = {{0, 0, 256, 1}}; }, kSpriteWideCoords},
        {"rectangle", [](SpriteModel& m) { m.frames[0].rects = {{0, 0, 1, 1}}; }, kSpriteFrameRects},
        {"box 320 wide", [](SpriteModel& m) {
             m.modules[0] = SpriteModule::sizeOnly(200, 1);
             m.frames[0].modules.push_back({0, 120, 0, 0, 0});
         }, kSpriteWideCoords},
        {"module 300", [](SpriteModel& m) {
             m.modules.resize(301, SpriteModule::sizeOnly(1, 1));
             m.frames[0].modules[0].index = 300;
         }, kSpriteWideModuleIndex},
        {"frame 256", [](SpriteModel& m) {
             m.frames.resize(257);
             m.anims = {SpriteAnim{{{256, 1, 0, 0, 0}}}};
         }, kSpriteWideFrameIndex},
        {"palette byte", [](SpriteModel& m) {
             m.images = SpriteImages{kPalette8888, kPixels8, 1, {{0}, {0}}, false};
             m.frames[0].modules[0].palette = 1;
         }, kSpriteFModulePalette},
        {"large block", [](SpriteModel& m) {
             m.images = SpriteImages{kPalette8888, kPixels8, 1, {{0}}, false};
             m.modules[0] = SpriteModule::image(255, 255, std::vector<uint8_t>(65025, 0));
             m.images->pixelFormat = kPixels8;
         }, kSpritePixelLength32},
        {"extra byte", [](SpriteModel& m) {
             m.images = SpriteImages{kPalette8888, kPixels8, 1, {{0}}, false};
             m.modules[0] = SpriteModule::image(1, 1, {0});
             m.modules[0].extra = 1;
         }, kSpriteModuleExtra},
    };
    EXPECT_EQ(spriteFlags(base()), 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpriteModel m = base();
        c.change(m);
        EXPECT_TRUE(spriteFlags(m) & c.bit);
        Bytes bytes = encodeSprite(m);
        SpriteModel back = parseSprite(bytes);
        EXPECT_EQ(encodeSprite(back), bytes);
        EXPECT_EQ(back.frames, m.frames);
        EXPECT_EQ(back.anims, m.anims);
    }
}

TEST(KitSprite, EveryPaletteAndPixelFormatRoundTrips) {
    for (uint16_t pf : kPaletteFormats)
        for (uint16_t xf : kPixelFormats) {
            SCOPED_TRACE(testing::Message() << std::hex << pf << " " << xf);
            SpriteModel m = fullSprite(pf, xf);
            FileLayout layout;
            Bytes bytes = encodeSprite(m, &layout);
            EXPECT_EQ(layout.size, bytes.size());
            SpriteModel back = parseSprite(bytes);
            EXPECT_EQ(encodeSprite(back), bytes);
            EXPECT_EQ(back.header, m.header);
            EXPECT_EQ(back.frames, m.frames);
            EXPECT_EQ(back.anims, m.anims);
            EXPECT_EQ(back.remap, m.remap);
            ASSERT_EQ(back.modules.size(), m.modules.size());
            for (size_t i = 0; i < m.modules.size(); ++i) {
                if (xf == kPixelsUndecoded && !m.modules[i].pixels.empty()) {
                    EXPECT_EQ(back.modules[i].pixelBlock, encodePixels(xf, colorsFor(xf), m.modules[i].pixels));
                    continue;
                }
                EXPECT_EQ(back.modules[i], m.modules[i]) << "module " << i;
            }
            ASSERT_TRUE(back.images.has_value());
            for (size_t p = 0; p < m.images->palettes.size(); ++p)
                for (size_t c = 0; c < m.images->palettes[p].size(); ++c)
                    EXPECT_EQ(paletteToArgb(pf, back.images->palettes[p][c]),
                              paletteToArgb(pf, argbToPalette(pf, m.images->palettes[p][c])));
        }
}

TEST(KitSprite, EncoderRefusesWhatTheEngineWouldReject) {
    struct Case { const char* what; std::function<void(SpriteModel&)> change; };
    const Case cases[] = {
        {"unknown marker", [](SpriteModel& m) { m.modules[3].marker = 0x42; }},
        {"module out of range", [](SpriteModel& m) { m.frames[0].modules[0].index = 99; }},
        {"nested frame out of range", [](SpriteModel& m) { m.frames[1].modules[1].index = 4; }},
        {"frame contains itself", [](SpriteModel& m) { m.frames[1].modules[1].index = 1; }},
        {"two frames contain each other", [](SpriteModel& m) { m.frames[0].modules.push_back({1, 0, 0, 0, kFModuleNestedFrame}); }},
        {"seventeen palettes", [](SpriteModel& m) { m.images->palettes.resize(17, m.images->palettes[0]); }},
        {"palette of the wrong size", [](SpriteModel& m) { m.images->palettes[1].pop_back(); }},
        {"pixel outside the palette", [](SpriteModel& m) { m.modules[0].pixels[3] = 200; }},
        {"pixel count", [](SpriteModel& m) { m.modules[0].pixels.pop_back(); }},
        {"frame-module palette", [](SpriteModel& m) { m.frames[0].modules[0].palette = 3; }},
        {"animation frame out of range", [](SpriteModel& m) { m.anims[0].frames[0].frame = 4; }},
        {"animation offset", [](SpriteModel& m) { m.anims[0].frames[0].dx = 128; }},
        {"frame time", [](SpriteModel& m) { m.anims[0].frames[0].time = 256; }},
        {"remap module", [](SpriteModel& m) { (*m.remap)[0][0].replacement = 12; }},
        {"seventeen remap tables", [](SpriteModel& m) { m.remap->resize(17); }},
        {"marker length", [](SpriteModel& m) { m.remapMarker = "short"; }},
        {"module size", [](SpriteModel& m) { m.modules[5].width = 256; }},
        {"arc parameters", [](SpriteModel& m) { m.modules[6].params.pop_back(); }},
        {"256 frame modules", [](SpriteModel& m) { m.frames[2].modules.assign(256, {3, 0, 0, 0, 0}); }},
        {"128 rectangles", [](SpriteModel& m) { m.frames[2].rects.assign(128, {0, 0, 1, 1}); }},
        {"pixels without images", [](SpriteModel& m) { m.images.reset(); }},
        {"opaque magenta in 6505", [](SpriteModel& m) {
             m.images->paletteFormat = kPalette6505;
             m.images->palettes[0][1] = 0xFFFF00FF;
         }},
    };
    EXPECT_NO_THROW(encodeSprite(fullSprite(kPalette8888, kPixels8)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpriteModel m = fullSprite(kPalette8888, kPixels8);
        c.change(m);
        EXPECT_THROW(encodeSprite(m), KitError);
    }
    SpriteModel noModules;
    noModules.images = SpriteImages{kPalette8888, kPixels8, 1, {{0}}, false};
    EXPECT_THROW(encodeSprite(noModules), KitError);
}

// --- Text description --------------------------------------------------

TEST(KitDescription, SpriteTextMatchesTheBuilder) {
    const char* text = R"(sprite
header 0x1234
flags 0x20000000            # no cached animation images
palette-format 4444
pixel-format 27F1
palette 00000000 FFFF0000 FF00FF00
palette 00000000 FF0000FF FFFFFFFF
module image 3 2 extra=7
.12
2 1 0
module rect FFFFFFFF 4 5
module fill 80000000 4 5
module size 6 7
module arc FF112233 8 8 0 180
module fill-arc FF112233 8 8 -90 45
module triangle FF010203 1 2 3 4
module fill-triangle FF010203 -1 -2 -3 -4
module line FF0000FF 5 1
module gradient FF000000 FFFFFFFF 1 9 9
block 01 02
frame
fm 0 -1 -2 flags=5 palette=1
rect 0 0 3 2
frame
nest 0 10 0 flags=1
anim
af 0 5
af 1 6 -1 2 flags=3
remap
0 3
1 2
)";
    SpriteModel m;
    m.header = 0x1234;
    m.flags = kSpriteNoAnimCache;
    m.images = SpriteImages{kPalette4444, kPixelsRun127, 0,
                            {{0x00000000, 0xFFFF0000, 0xFF00FF00}, {0x00000000, 0xFF0000FF, 0xFFFFFFFF}}, false};
    m.modules = {SpriteModule::image(3, 2, {0, 1, 2, 2, 1, 0}),
                 SpriteModule::rect(0xFFFFFFFF, 4, 5),
                 SpriteModule::fillRect(0x80000000, 4, 5),
                 SpriteModule::sizeOnly(6, 7),
                 SpriteModule::arc(0xFF112233, 8, 8, 0, 180),
                 SpriteModule::fillArc(0xFF112233, 8, 8, -90, 45),
                 SpriteModule::triangle(0xFF010203, 1, 2, 3, 4),
                 SpriteModule::fillTriangle(0xFF010203, -1, -2, -3, -4),
                 SpriteModule::line(0xFF0000FF, 5, 1),
                 SpriteModule::gradient(0xFF000000, 0xFFFFFFFF, 1, 9, 9)};
    m.modules[0].extra = 7;
    m.modules[9].pixelBlock = B({1, 2});
    m.frames = {SpriteFrame{{{0, -1, -2, 1, 5}}, {{0, 0, 3, 2}}}, SpriteFrame{{{0, 10, 0, 0, 1 | kFModuleNestedFrame}}, {}}};
    m.anims = {SpriteAnim{{{0, 5, 0, 0, 0}, {1, 6, -1, 2, 3}}}};
    m.remap = std::vector<std::vector<RemapPair>>{{{0, 3}, {1, 2}}};
    EXPECT_EQ(parseSpriteDescription(text), m);
    EXPECT_EQ(encodeSprite(parseSpriteDescription(text)), encodeSprite(m));
}

TEST(KitDescription, ErrorsNameTheirLine) {
    struct Case { const char* text; const char* line; };
    const Case cases[] = {
        {"sprite\nwobble 1\n", "line 2"},
        {"sprite\npalette 0 FFFFFFFF\nmodule image 2 1\n012\n", "line 4"},
        {"sprite\nfm 0 0 0\n", "line 2"},
        {"sprite\nframe\nfm 0 0\n", "line 3"},
        {"sprite\nmodule rect red 1 1\n", "line 2"},
        {"sprite\npalette 0\nmodule image 1 2\n0\n", "line 5"},  // the second row is the empty last line
        {"sprite\nframe\nfm 0 0 0 colour=3\n", "line 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parseSpriteDescription(c.text);
            ADD_FAILURE() << "no error";
        } catch (const KitError& e) {
            EXPECT_NE(std::string(e.what()).find(c.line), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(parseSpriteDescription("module image 1 1\n1\n"), KitError);  // pixels need a palette
}

// --- Fonts -------------------------------------------------------------

TEST(KitFont, CharacterMapLayoutByHand) {
    EXPECT_EQ(buildCharMap({{u'A', 2}, {u'B', 3}, {u'C', 4}}, 2),
              (std::vector<int16_t>{2, 66, 3, 65, 2, 1, 1, 67, 4}));
    // Empty buckets get a character that can never land in them.
    std::vector<int16_t> sparse = buildCharMap({{u'A', 7}}, 3);
    EXPECT_EQ(sparse, (std::vector<int16_t>{3, 1, 1, 0, 1, 65, 7}));
    struct Look { char16_t c; int frame; };
    for (const Look& l : {Look{u'A', 7}, Look{0, 1}, Look{1, 1}, Look{u'B', 1}, Look{u'D', 1}})
        EXPECT_EQ(lookupCharMap(sparse, l.c), l.frame) << int(l.c);
    std::vector<int16_t> three = buildCharMap({{u'A', 2}, {u'B', 3}, {u'C', 4}}, 2);
    for (const Look& l : {Look{u'A', 2}, Look{u'B', 3}, Look{u'C', 4}, Look{u'D', 1}, Look{u'E', 1}})
        EXPECT_EQ(lookupCharMap(three, l.c), l.frame) << int(l.c);
    EXPECT_EQ(lookupCharMap({}, u'A'), 0);
    EXPECT_EQ(buildCharMap({{u'x', 5}}, 1), (std::vector<int16_t>{1, 120, 5}));

    EXPECT_THROW(buildCharMap({{u'A', 2}}, 0), KitError);
    EXPECT_THROW(buildCharMap({{u'A', 2}, {u'A', 3}}, 4), KitError);
    EXPECT_THROW(buildCharMap({{0x8000, 2}}, 4), KitError);
    EXPECT_EQ(encodeShortNode({1, -2}), B({0x19, 2, 0, 1, 0, 0xFE, 0xFF}));
}

TEST(KitFont, MetricsGlyphsAndMapAsTheTextEngineReadsThem) {
    FontDescription fd;
    fd.ascent = 7;
    fd.descent = 2;
    fd.lineSpacing = 3;
    fd.spaceAdvance = 4;
    fd.missing = FontGlyph::fromRows(0, 5, {"###", "#.#", "###"});
    fd.glyphs = {FontGlyph::fromRows(u'A', 6, {".#.", "#.#", "###", "#.#"}),
                 FontGlyph::fromRows(u'\u00e9', 4, {"..#", ".#.", "###", "#..", "###"}),
                 FontGlyph::fromRows(u'.', 2, {"#"})};
    fd.glyphs[2].yOffset = 6;
    fd.images = defaultFontImages();
    fd.images.palettes.push_back({0, 0xFFFF0000});
    FontBuild font = buildFont(fd);

    SpriteModel s = parseSprite(encodeSprite(font.sprite));
    auto fmX = [&](int frame, int i) { return s.frames[static_cast<size_t>(frame)].modules[static_cast<size_t>(i)].x; };
    auto fmY = [&](int frame, int i) { return s.frames[static_cast<size_t>(frame)].modules[static_cast<size_t>(i)].y; };
    const int fontTop = -fmY(0, 0);
    EXPECT_EQ(fontTop, 7);
    EXPECT_EQ(fontTop + fmY(0, 1), 9);       // fontHeight
    EXPECT_EQ(fmY(0, 2) - fmY(0, 1), 3);     // lineSpacing
    EXPECT_EQ(fmX(lookupCharMap(font.charMap, u' '), 0), 4);  // spaceAdvance
    EXPECT_EQ(fmX(1, 0), 5);                 // the missing glyph's advance
    EXPECT_EQ(lookupCharMap(font.charMap, u'Z'), 1);

    for (const FontGlyph& g : fd.glyphs) {
        SCOPED_TRACE(int(g.ch));
        int frame = lookupCharMap(font.charMap, g.ch);
        EXPECT_EQ(frame, font.frameOf.at(g.ch));
        EXPECT_EQ(fmX(frame, 0), g.advance);
        const FrameModule& pic = s.frames[static_cast<size_t>(frame)].modules[1];
        EXPECT_EQ(pic.y, g.yOffset - fd.ascent);
        EXPECT_EQ(s.modules[static_cast<size_t>(pic.index)].pixels, g.pixels);
    }
    ASSERT_TRUE(s.images.has_value());
    EXPECT_EQ(s.images->palettes.size(), 2u);
}

TEST(KitFont, DescriptionText) {
    const char* text = R"(font
ascent 5
descent 1
line-spacing 2
space 3
char-map-size 4
pixel-format 0200
palette 00000000 FFFFFFFF
missing 4 3 2
###
###
glyph A 4 3 2
.#.
###
glyph U+00E9 4 1 1 x=1 y=2
#
glyph 33 2 1 1
#
)";
    FontDescription fd = parseFontDescription(text);
    EXPECT_TRUE(isFontDescription(text));
    EXPECT_FALSE(isFontDescription("sprite\n"));
    ASSERT_EQ(fd.glyphs.size(), 3u);
    EXPECT_EQ(fd.glyphs[1].ch, u'\u00e9');
    EXPECT_EQ(fd.glyphs[1].xOffset, 1);
    EXPECT_EQ(fd.glyphs[1].yOffset, 2);
    EXPECT_EQ(fd.glyphs[2].ch, u'!');
    FontBuild font = buildFont(fd);
    EXPECT_EQ(font.charMap[0], 4);
    EXPECT_EQ(font.sprite.images->pixelFormat, kPixels1);
    EXPECT_NO_THROW(parseSprite(encodeSprite(font.sprite)));
    EXPECT_THROW(parseFontDescription("font\nascent 5\n"), KitError);           // no missing glyph
    EXPECT_THROW(parseFontDescription("font\nglyph A 4 2 1\n#\n"), KitError);   // short row
}

TEST(KitFont, CharacterMapNodeAndChecks) {
    std::vector<int16_t> map = buildCharMap({{u'A', 2}, {u'B', 3}, {u'C', 4}}, 2);
    EXPECT_EQ(decodeShortNode(encodeShortNode(map)), map);
    EXPECT_EQ(decodeShortNode(B({0x01, 2, 0xFF, 5})), (std::vector<int16_t>{-1, 5}));  // u8 count, s8 elements
    EXPECT_THROW(decodeShortNode(B({0x1A, 0, 0})), KitError);         // an int node
    EXPECT_THROW(decodeShortNode(B({0x19, 2, 0, 1, 0})), KitError);   // short
    EXPECT_THROW(decodeShortNode(B({0x11, 1, 1, 0, 0})), KitError);   // bytes left
    EXPECT_NO_THROW(checkCharMap(map));
    for (const std::vector<int16_t>& bad : {std::vector<int16_t>{}, std::vector<int16_t>{0}, std::vector<int16_t>{-3, 1, 1},
                                            std::vector<int16_t>{2, 66, 3}, std::vector<int16_t>{2, 66, 3, 65, 2, 2, 0},
                                            std::vector<int16_t>{2, 66, 3, 65, 2, 1, 2, 67, 4}, std::vector<int16_t>{2, 66, 3, 65, 2, 1}})
        EXPECT_THROW(checkCharMap(bad), KitError);
}

// --- Damage ------------------------------------------------------------

TEST(KitDamage, CharacterMapVariants) {
    Bytes valid = encodeShortNode(buildCharMap({{u'A', 2}, {u'B', 3}, {u'C', 4}, {u'E', 5}}, 2));
    std::vector<DamagedFile> v = damageFile(FileKind::CharMap, valid);
    std::set<std::string> names;
    for (const DamagedFile& d : v) names.insert(d.name);
    for (const char* n : {"truncate@size", "truncate@group[0]", "node.count=huge", "map.size=negative", "map.size=zero",
                          "map.size=plus-one", "group.bucket[0]=first-outside", "group.bucket[0]=negative",
                          "group.pairs[0]=plus-one", "group.pairs[0]=huge", "group=pairs-missing", "group=empty-repeat"})
        EXPECT_TRUE(names.count(n)) << n;
    size_t rejected = 0;
    for (const DamagedFile& d : v) {
        try {
            checkCharMap(decodeShortNode(d.bytes));
        } catch (const KitError&) {
            ++rejected;
            continue;
        }
        // What still reads as a map is either the emptied bucket or a flip.
        EXPECT_TRUE(d.name == "group=empty-repeat" || d.name.rfind("flip#", 0) == 0 || d.name == "map.size=plus-one") << d.name;
    }
    EXPECT_GT(rejected, 10u);
}

TEST(KitDamage, SpriteVariantsAreDeterministicAndCoverEverySection) {
    Bytes valid = encodeSprite(fullSprite(kPalette4444, kPixelsRunMixed));
    std::vector<DamagedFile> a = damageFile(FileKind::Sprite, valid);
    std::vector<DamagedFile> b = damageFile(FileKind::Sprite, valid);
    ASSERT_EQ(a.size(), b.size());
    std::set<std::string> names;
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].name, b[i].name);
        ASSERT_EQ(a[i].bytes, b[i].bytes);
        EXPECT_TRUE(names.insert(a[i].name).second) << a[i].name;
    }
    for (const char* n : {"truncate@start", "truncate@modules", "truncate@fmodules", "truncate@rects", "truncate@frames",
                          "truncate@bboxes", "truncate@aframes", "truncate@anims", "truncate@images", "truncate@palettes",
                          "truncate@pixel-format", "truncate@pixel-blocks", "truncate@remap-position",
                          "truncate@remap-marker", "truncate@modules-1", "truncate@last-byte",
                          "modules.count=negative", "modules.count=plus-one", "fmodules.count=huge", "frames.count=min",
                          "aframes.count=plus-one", "anims.count=negative", "rects.count=plus-one",
                          "module.marker[0]=bad-66", "fmodule.module[0]=first-outside", "fmodule.module[0]=huge",
                          "fmodule.frame[5]=first-outside", "fmodule.palette[0]=first-outside", "frame.first[3]=negative",
                          "frame.first[3]=huge", "frame.rects[0]=negative", "frame.fmodules[0]=plus-one",
                          "aframe.frame[0]=first-outside", "anim.first[2]=first-outside", "anim.aframes[0]=huge",
                          "palette.format=bad-4660", "palette.count=huge", "palette.count=plus-one", "palette.colors=256",
                          "pixel.format=bad-4660", "pixel.length[0]=huge", "pixel.length[2]=all-ones",
                          "pixel.length[11]=plus-one", "remap.position=negative", "remap.position=at-end",
                          "remap.tables=huge", "remap.table.length[0]=plus-one", "remap.pair.module[0]=first-outside",
                          "remap.pair.replacement[2]=negative", "remap.marker=changed", "fmodule[0]=self-nested",
                          "frames[0,1]=nested-cycle", "flags^0x400", "flags^0x1000", "flags^0x1000000", "flip#0"})
        EXPECT_TRUE(names.count(n)) << n;
}

TEST(KitDamage, DamagedSpritesFailTheStrictParser) {
    for (uint16_t xf : {kPixels8, kPixels1, kPixelsRunMask, kPixelsRun127, kPixelsRunMixed}) {
        Bytes valid = encodeSprite(fullSprite(kPalette8888, xf));
        for (const DamagedFile& d : damageFile(FileKind::Sprite, valid, {8, 0, 1})) {
            // Cutting the trailer away leaves a whole sprite without one.
            if (d.name == "truncate@body-end") {
                EXPECT_NO_THROW(parseSprite(d.bytes));
                continue;
            }
            EXPECT_THROW(parseSprite(d.bytes), KitError) << std::hex << xf << " " << d.name;
        }
    }
}

TEST(KitDamage, FlipsNeverCrashTheParser) {
    Bytes valid = encodeSprite(fullSprite(kPalette6505, kPixelsRunMask));
    DamageOptions opt;
    opt.randomFlips = 300;
    size_t rejected = 0;
    for (const DamagedFile& d : damageFile(FileKind::Sprite, valid, opt)) {
        try {
            parseSprite(d.bytes);
        } catch (const KitError&) {
            ++rejected;
        }
    }
    EXPECT_GT(rejected, 100u);
}

// Palette formats, the pixel decoders byte by byte, palette switching and
// the alpha operations that rewrite palettes.
#include "tests/game/sprite/models.h"
#include "tests/game/sprite/support.h"

#include "game/sprite/palette.h"

using namespace spritetest;
using namespace sprite;

namespace {

class PaletteTest : public SpriteTest {};

struct PaletteCase {
    int format;
    uint32_t native;
    uint32_t argb;
    bool transparency, translucency;
};

struct DecodeCase {
    const char* name;
    int format;
    int colours;
    std::vector<uint8_t> block;
    size_t n;
    std::vector<jint> indices;  // expected palette indices; -1 transparent
};

}  // namespace

TEST(PaletteFormats, ConversionTable) {
    const PaletteCase cases[] = {
        {kPalette8888, 0x80123456, 0x80123456, true, true},
        {kPalette8888, 0xFF123456, 0xFF123456, false, false},
        {kPalette8888, 0x00123456, 0x00123456, true, false},
        {kPalette4444, 0x8F0F, 0x88FF00FF, true, true},
        {kPalette4444, 0xF123, 0xFF112233, false, false},
        {kPalette4444, 0x0ABC, 0x00AABBCC, true, false},
        {kPalette5515, 0xFC00, 0xFFF80000, false, false},
        {kPalette5515, 0x801F, 0xFF0000F8, false, false},
        {kPalette5515, 0x7C1F, 0x00FF00FF, true, false},  // transparent magenta, full intensity
        {kPalette5515, 0x03E0, 0x0000F800, true, false},
        {kPalette6505, 0xF81F, 0x00FF00FF, true, false},
        {kPalette6505, 0x001F, 0xFF0000F8, false, false},
        {kPalette6505, 0x07E0, 0xFF00FC00, false, false},
        {kPalette6505, 0xF800, 0xFFF80000, false, false},
    };
    for (const PaletteCase& c : cases) {
        bool transparency = false, translucency = false;
        EXPECT_EQ(paletteToArgb(c.format, c.native, &transparency, &translucency), c.argb)
            << std::hex << c.format << " " << c.native;
        EXPECT_EQ(transparency, c.transparency) << std::hex << c.native;
        EXPECT_EQ(translucency, c.translucency) << std::hex << c.native;
    }
    EXPECT_EQ(runShiftFor(1), 0);
    EXPECT_EQ(runShiftFor(2), 1);
    EXPECT_EQ(runShiftFor(16), 4);
    EXPECT_EQ(runShiftFor(17), 5);
    EXPECT_EQ(runShiftFor(256), 8);
}

TEST(PixelDecoders, ByteTable) {
    const DecodeCase cases[] = {
        {"8 bits", kPixels8, 40, {5, 0, 39}, 3, {5, 0, 39}},
        {"8 bits, index past the palette", kPixels8, 40, {40, 255, 1}, 3, {-1, -1, 1}},
        {"8 bits, short block", kPixels8, 40, {5}, 3, {5, -1, -1}},
        {"4 bits", kPixels4, 16, {0x12, 0xF0}, 3, {1, 2, 15}},
        {"2 bits", kPixels2, 4, {0b11100100}, 4, {3, 2, 1, 0}},
        {"2 bits, partial byte", kPixels2, 4, {0xFF, 0b01100000}, 6, {3, 3, 3, 3, 1, 2}},
        {"1 bit", kPixels1, 2, {0b10110000}, 5, {1, 0, 1, 1, 0}},
        {"64F0 runs", kPixelsRunMask, 16, {0x23, 0x01}, 4, {3, 3, 3, 1}},
        {"64F0 run past n", kPixelsRunMask, 16, {0xF2}, 5, {2, 2, 2, 2, 2}},
        {"27F1 run", kPixelsRun127, 40, {0x83, 0x05}, 3, {5, 5, 5}},
        {"27F1 literals and an empty run", kPixelsRun127, 40, {0x07, 0x80, 0x09, 0x02}, 2, {7, 2}},
        {"27F1 run missing its index", kPixelsRun127, 40, {0x01, 0x85}, 3, {1, -1, -1}},
        {"56F2 literal", kPixelsRunMixed, 40, {0x81, 0x02}, 1, {2}},
        {"56F2 repeat", kPixelsRunMixed, 40, {0x02, 0x07}, 2, {7, 7}},
        {"56F2 zero counts as one", kPixelsRunMixed, 40, {0x00, 0x04, 0x80, 0x06}, 2, {4, 6}},
        {"56F2 literals cut short", kPixelsRunMixed, 40, {0x83, 0x01, 0x02}, 4, {1, 2, -1, -1}},
        {"56F2 repeat past n", kPixelsRunMixed, 40, {0x7F, 0x03}, 3, {3, 3, 3}},
        {"A640 has no decoder", kPixelsUndecoded, 16, {0x11}, 2, {-1, -1}},
    };
    std::vector<jint> palette(40);
    for (int i = 0; i < 40; ++i) palette[static_cast<size_t>(i)] = static_cast<jint>(0xFF000000u | static_cast<uint32_t>(i + 1));
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int shift = runShiftFor(c.colours);
        // Guard words on both sides catch any write outside the n pixels.
        std::vector<jint> out(c.n + 2, 0x55555555);
        decodeIndexed(c.format, c.block.data(), c.block.size(), palette.data(), c.colours, (1 << shift) - 1, shift,
                      out.data() + 1, c.n);
        EXPECT_EQ(out.front(), 0x55555555);
        EXPECT_EQ(out.back(), 0x55555555);
        for (size_t i = 0; i < c.n; ++i) {
            const jint want = c.indices[i] < 0 ? 0 : palette[static_cast<size_t>(c.indices[i])];
            EXPECT_EQ(out[i + 1], want) << "pixel " << i;
        }
    }
}

TEST_F(PaletteTest, SetPaletteKeepsItsRange) {
    BSprite* s = loadSprite(richSprite());
    ASSERT_EQ(s->paletteCount, 2);
    s->setPalette(1);
    EXPECT_EQ(s->currentPalette, 1);
    s->setPalette(2);
    EXPECT_EQ(s->currentPalette, 1);
    s->setPalette(-1);
    EXPECT_EQ(s->currentPalette, 1);
    s->setPalette(0);
    EXPECT_EQ(s->currentPalette, 0);
    // A sprite without palettes decodes nothing.
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFF00FF00, 2, 2));
    BSprite* plain = loadSprite(m);
    EXPECT_EQ(plain->decodeModule(0), nullptr);
    EXPECT_FALSE(plain->decodePixels(nullptr, 0, 1, 1));
}

TEST_F(PaletteTest, WorkBufferIsNeverItsArgument) {
    IntArray* a = ASprite::getWorkBuffer(nullptr);
    IntArray* b = ASprite::getWorkBuffer(a);
    EXPECT_NE(a, b);
    EXPECT_EQ(ASprite::getWorkBuffer(b), a);
    EXPECT_GE(a->length(), 19200);
}

TEST_F(PaletteTest, AlphaTablesMaskAndGlobalAlpha) {
    // Index 0 transparent in both palettes; index 2 translucent in one.
    kit::SpriteModel m;
    kit::SpriteImages img;
    img.palettes = {{0x00000000, 0xFF102030, 0x80405060, 0xFF708090}, {0x00FFFFFF, 0xFF000000, 0xFF000000, 0x20000000}};
    m.images = img;
    m.modules.push_back(kit::SpriteModule::image(1, 1, {1}));
    BSprite* s = loadSprite(m);
    s->initAlphaTables();
    EXPECT_EQ(s->transparentIndex, 0);
    EXPECT_TRUE(s->hasSemiAlpha);
    ASSERT_TRUE(s->loadedAlphas);
    EXPECT_EQ(static_cast<uint8_t>(static_cast<ByteArray*>(s->loadedAlphas->data()[0])->data()[2]), 0x80);
    EXPECT_EQ(static_cast<uint8_t>(static_cast<ByteArray*>(s->loadedAlphas->data()[1])->data()[3]), 0x20);
    s->setAlpha(128);
    auto* p0 = static_cast<IntArray*>(s->palettes->data()[0]);
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[1]), 0x7F102030u);  // 0xFF * 128 >> 8
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[2]), 0x40405060u);
    // The last palette as the alpha mask of the others.
    s->alphaFromLastPalette = 1;
    s->applyAlphaPalette();
    EXPECT_FALSE(s->hasSemiAlpha);
    EXPECT_EQ(s->loadedAlphas, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[3]) >> 24, 0x00u);  // low byte of the mask's colour 3
    s->setAlpha(255);
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[3]) >> 24, 0x00u);
}

TEST_F(PaletteTest, GlobalAlphaOnAnOpaqueSpriteKeepsTheTransparentIndex) {
    kit::SpriteModel m;
    kit::SpriteImages img;
    img.palettes = {{0x00000000, 0xFF102030, 0xFF405060}};
    m.images = img;
    m.modules.push_back(kit::SpriteModule::image(1, 1, {1}));
    BSprite* s = loadSprite(m);
    s->initAlphaTables();
    ASSERT_EQ(s->transparentIndex, 0);
    ASSERT_FALSE(s->hasSemiAlpha);
    s->setAlpha(128);
    auto* p0 = static_cast<IntArray*>(s->palettes->data()[0]);
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[0]), 0x00000000u);
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[1]), 0x80102030u);
    EXPECT_EQ(static_cast<uint32_t>(p0->data()[2]), 0x80405060u);
    EXPECT_EQ(s->alpha, 128);
    // The same value again changes nothing.
    p0->data()[1] = 0x11223344;
    s->setAlpha(128);
    EXPECT_EQ(p0->data()[1], 0x11223344);
}

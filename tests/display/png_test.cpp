// PNG decoding: one fixture per colour type and bit depth, written at test
// time, checked pixel by pixel against the conversion rules; interlaced and
// odd-width images; damaged files of every kind give no image and one
// logged line.
#include <gtest/gtest.h>

#include <random>

#include "display/image_ops.h"
#include "display/png_decode.h"
#include "tests/display/png_writer.h"
#include "tests/display/support.h"

namespace display {
namespace {

using test::LogCapture;
using test::PngRecipe;
using test::Rgba;
using test::writePng;

uint16_t rgb(int r, int g, int b) { return rgb565(static_cast<uint32_t>(r << 16 | g << 8 | b)); }
uint16_t argb(int a, int r, int g, int b) {
    return argb4444(static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r << 16 | g << 8 | b));
}

// A small picture with varied values: per pixel (x * 37 + y * 91) etc.
int wave(int x, int y, int k) { return (x * 37 + y * 91 + k * 53) & 0xFF; }

std::optional<Image> decode(const std::vector<uint8_t>& bytes) { return decodePngImage(bytes.data(), bytes.size()); }

void expectPixels(const Image& img, const std::function<uint16_t(int, int)>& expected, const char* what) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel16(x, y), expected(x, y)) << what << " at " << x << "," << y;
}

// One row per colour type and bit depth: the type decided and every pixel.
TEST(PngDecode, ColourTypesAndDepths) {
    struct Case {
        const char* what;
        PngRecipe recipe;
        PixelType type;
        std::function<uint16_t(int, int)> expected;
    };
    const std::vector<Rgba> palette = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {10, 20, 30, 255}};
    const std::vector<Rgba> alphaPalette = {{255, 0, 0, 0}, {0, 255, 0, 128}, {0, 0, 255, 255}, {10, 20, 30, 255}};
    std::vector<Case> cases = {
        {"rgb 8",
         {7, 5, 2, 8, false, [](int x, int y) { return std::vector<int>{wave(x, y, 0), wave(x, y, 1), 77}; }},
         PixelType::Rgb565,
         [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 1), 77); }},
        {"rgba 8",
         {6, 4, 6, 8, false,
          [](int x, int y) { return std::vector<int>{wave(x, y, 0), wave(x, y, 1), wave(x, y, 2), wave(x, y, 3)}; }},
         PixelType::Argb4444,
         [](int x, int y) { return argb(wave(x, y, 3), wave(x, y, 0), wave(x, y, 1), wave(x, y, 2)); }},
        {"palette 8",
         {5, 3, 3, 8, false, [](int x, int y) { return std::vector<int>{(x + y) % 4}; }, palette},
         PixelType::Rgb565,
         [&](int x, int y) {
             const Rgba& c = palette[(x + y) % 4];
             return rgb(c.r, c.g, c.b);
         }},
        {"palette 2-bit with tRNS",
         {9, 3, 3, 2, false, [](int x, int y) { return std::vector<int>{(x + y) % 4}; }, alphaPalette, true},
         PixelType::Rgb565Keyed,
         [&](int x, int y) {
             const Rgba& c = alphaPalette[(x + y) % 4];
             return c.a == 0 ? kKeyColour565 : rgb(c.r, c.g, c.b);  // alpha 128 counts as opaque
         }},
        {"palette 1-bit",
         {11, 2, 3, 1, false, [](int x, int) { return std::vector<int>{x & 1}; }, {{1, 2, 3, 255}, {250, 251, 252, 255}}},
         PixelType::Rgb565,
         [](int x, int) { return x & 1 ? rgb(250, 251, 252) : rgb(1, 2, 3); }},
        {"grey 8", {4, 4, 0, 8, false, [](int x, int y) { return std::vector<int>{wave(x, y, 0)}; }},
         PixelType::Rgb565, [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 0), wave(x, y, 0)); }},
        {"grey 1", {10, 2, 0, 1, false, [](int x, int y) { return std::vector<int>{(x + y) & 1}; }},
         PixelType::Rgb565, [](int x, int y) { return (x + y) & 1 ? uint16_t{0xFFFF} : uint16_t{0}; }},
        {"grey 2", {4, 1, 0, 2, false, [](int x, int) { return std::vector<int>{x}; }}, PixelType::Rgb565,
         [](int x, int) { return rgb(85 * x, 85 * x, 85 * x); }},
        {"grey 4", {16, 1, 0, 4, false, [](int x, int) { return std::vector<int>{x}; }}, PixelType::Rgb565,
         [](int x, int) { return rgb(17 * x, 17 * x, 17 * x); }},
        {"grey + alpha 8",
         {5, 3, 4, 8, false, [](int x, int y) { return std::vector<int>{wave(x, y, 0), wave(x, y, 1)}; }},
         PixelType::Argb4444,
         [](int x, int y) { return argb(wave(x, y, 1), wave(x, y, 0), wave(x, y, 0), wave(x, y, 0)); }},
        {"grey 16", {3, 3, 0, 16, false, [](int x, int y) { return std::vector<int>{wave(x, y, 0) << 8 | 99}; }},
         PixelType::Rgb565, [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 0), wave(x, y, 0)); }},
        {"rgb 16",
         {3, 2, 2, 16, false,
          [](int x, int y) { return std::vector<int>{wave(x, y, 0) << 8 | 0xFF, wave(x, y, 1) << 8, 0x1234}; }},
         PixelType::Rgb565, [](int x, int y) { return rgb(wave(x, y, 0), wave(x, y, 1), 0x12); }},
        {"rgba 16",
         {3, 2, 6, 16, false,
          [](int x, int y) {
              return std::vector<int>{wave(x, y, 0) << 8, wave(x, y, 1) << 8, wave(x, y, 2) << 8, wave(x, y, 3) << 8};
          }},
         PixelType::Argb4444,
         [](int x, int y) { return argb(wave(x, y, 3), wave(x, y, 0), wave(x, y, 1), wave(x, y, 2)); }},
    };
    // Colour-key tRNS on grey and RGB images.
    PngRecipe greyKey{4, 2, 0, 8, false, [](int x, int) { return std::vector<int>{x * 60}; }};
    greyKey.colourKey = true;
    greyKey.keyGrey = 120;
    cases.push_back({"grey with tRNS", greyKey, PixelType::Rgb565Keyed,
                     [](int x, int) { return x == 2 ? kKeyColour565 : rgb(x * 60, x * 60, x * 60); }});
    PngRecipe rgbKey{3, 2, 2, 8, false, [](int x, int y) { return std::vector<int>{x * 100, y * 100, 5}; }};
    rgbKey.colourKey = true;
    rgbKey.keyRed = 100;
    rgbKey.keyGreen = 100;
    rgbKey.keyBlue = 5;
    cases.push_back({"rgb with tRNS", rgbKey, PixelType::Rgb565Keyed, [](int x, int y) {
                         return x == 1 && y == 1 ? kKeyColour565 : rgb(x * 100, y * 100, 5);
                     }});

    for (const Case& c : cases) {
        LogCapture log;
        std::optional<Image> img = decode(writePng(c.recipe));
        ASSERT_TRUE(img) << c.what;
        EXPECT_EQ(log.count(), 0u) << c.what;
        EXPECT_EQ(img->width(), c.recipe.width) << c.what;
        EXPECT_EQ(img->height(), c.recipe.height) << c.what;
        EXPECT_EQ(img->type(), c.type) << c.what;
        EXPECT_FALSE(img->isMutable()) << c.what;
        expectPixels(*img, c.expected, c.what);
    }
}

TEST(PngDecode, OpaqueMagentaMakesTheImageKeyed) {
    PngRecipe recipe{3, 1, 2, 8, false, [](int x, int) {
                     return x == 1 ? std::vector<int>{255, 0, 255} : std::vector<int>{255, 0, 254};
                 }};
    std::optional<Image> img = decode(writePng(recipe));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->type(), PixelType::Rgb565Keyed);
    EXPECT_EQ(img->pixel16(1, 0), kKeyColour565);
    jint out[3];
    getRGB(img->surface(), out, 3, 0, 3, 0, 0, 3, 1);
    EXPECT_EQ(out[1], 0);  // transparent
    // (255, 0, 254) lands on the same RGB565 value and turns transparent too.
    EXPECT_EQ(out[0], 0);
}

TEST(PngDecode, InterlacedMatchesProgressive) {
    for (int type : {2, 6, 3, 0}) {
        PngRecipe recipe{13, 11, type, 8, false, [type](int x, int y) {
                         if (type == 3) return std::vector<int>{(x * 3 + y) % 4};
                         if (type == 0) return std::vector<int>{wave(x, y, 0)};
                         return std::vector<int>{wave(x, y, 0), wave(x, y, 1), wave(x, y, 2), wave(x, y, 3)};
                     }};
        if (type == 3) recipe.palette = {{1, 2, 3, 255}, {40, 50, 60, 255}, {200, 0, 9, 255}, {9, 9, 250, 255}};
        std::optional<Image> plain = decode(writePng(recipe));
        recipe.interlaced = true;
        const std::vector<uint8_t> bytes = writePng(recipe);
        PngDecoder probe(bytes.data(), bytes.size());
        ASSERT_TRUE(probe.readHeader());
        EXPECT_TRUE(probe.header().interlaced);
        std::optional<Image> interlaced = decode(bytes);
        ASSERT_TRUE(plain && interlaced) << type;
        EXPECT_EQ(interlaced->type(), plain->type());
        expectPixels(*interlaced, [&](int x, int y) { return plain->pixel16(x, y); }, "interlaced");
    }
}

TEST(PngDecode, OddWidthLeavesTheRowPadding) {
    PngRecipe recipe{5, 3, 2, 8, false, [](int, int) { return std::vector<int>{255, 255, 255}; }};
    std::optional<Image> img = decode(writePng(recipe));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->stride(), 12);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(img->pixel16(4, y), 0xFFFF);
        EXPECT_EQ(img->surface().row16(y)[5], 0);  // padding pixel
    }
}

TEST(PngDecode, AncillaryChunkWithBadCrcIsIgnored) {
    PngRecipe recipe{2, 2, 2, 8, false, [](int, int) { return std::vector<int>{1, 2, 3}; }};
    recipe.textChunk = true;
    std::vector<uint8_t> bytes = writePng(recipe);
    const long text = test::findChunk(bytes, "tEXt");
    ASSERT_GT(text, 0);
    bytes[text + 9] ^= 0x20;
    EXPECT_TRUE(decode(bytes));
}

// Damaged input: no image and exactly one error line, never a crash.
TEST(PngDecode, DamagedFilesGiveNoImage) {
    PngRecipe recipe{9, 7, 6, 8, false,
                 [](int x, int y) { return std::vector<int>{wave(x, y, 0), wave(x, y, 1), wave(x, y, 2), 200}; }};
    const std::vector<uint8_t> good = writePng(recipe);
    ASSERT_TRUE(decode(good));
    const long ihdr = test::findChunk(good, "IHDR"), idat = test::findChunk(good, "IDAT");
    const long iend = test::findChunk(good, "IEND");
    ASSERT_EQ(ihdr, 8);
    ASSERT_GT(idat, 0);
    ASSERT_EQ(iend, static_cast<long>(good.size()) - 12);

    auto expectRejected = [](const std::vector<uint8_t>& bytes, const std::string& what) {
        LogCapture log;
        EXPECT_FALSE(decode(bytes)) << what;
        EXPECT_EQ(log.count(), 1u) << what;
        if (log.count()) {
            EXPECT_EQ(log.lines()[0].rfind("Image::createImage: ", 0), 0u) << log.lines()[0];
        }
    };

    // Every truncation before the end chunk.
    for (long cut = 0; cut < iend; ++cut)
        expectRejected(std::vector<uint8_t>(good.begin(), good.begin() + cut), "cut at " + std::to_string(cut));
    // The image is complete without IEND.
    EXPECT_TRUE(decode(std::vector<uint8_t>(good.begin(), good.begin() + iend)));

    std::vector<uint8_t> bad = good;
    bad[ihdr + 9] ^= 1;  // IHDR data changed, CRC not
    expectRejected(bad, "IHDR CRC");
    bad = good;
    bad[idat + 8 + test::readBe32(good, idat) + 1] ^= 0xFF;  // IDAT CRC
    expectRejected(bad, "IDAT CRC");
    bad = good;
    for (long i = idat + 10; i < idat + 8 + static_cast<long>(test::readBe32(good, idat)); ++i) bad[i] ^= 0x5A;
    test::fixCrc(bad, idat);  // a valid chunk of corrupt compressed data
    expectRejected(bad, "IDAT data");

    // A suggested-palette chunk whose header claims 1.9 GB, in a short file:
    // refused from its header, before anything is set aside for its data
    // (it was taken at its word, and the decode took seconds).
    {
        bad = good;
        const uint8_t huge[] = {0x73, 0x73, 0x73, 0x73, 's', 'P', 'L', 'T', 0, 0, 0, 0xFF};
        bad.insert(bad.begin() + idat, std::begin(huge), std::end(huge));
        LogCapture log;
        EXPECT_FALSE(decode(bad));
        ASSERT_EQ(log.count(), 1u);
        EXPECT_NE(log.lines()[0].find("chunk sPLT of 1936946035 bytes runs past the end"), std::string::npos)
            << log.lines()[0];
    }

    auto patchedHeader = [&](uint32_t width, uint32_t height, uint8_t depth) {
        std::vector<uint8_t> p = good;
        test::writeBe32(p, ihdr + 8, width);
        test::writeBe32(p, ihdr + 12, height);
        p[ihdr + 16] = depth;
        test::fixCrc(p, ihdr);
        return p;
    };
    expectRejected(patchedHeader(100000, 7, 8), "width over the limit");
    expectRejected(patchedHeader(9, 0x7FFFFFFF, 8), "height over the limit");
    expectRejected(patchedHeader(8192, 8192, 8), "pixel count over the cap");
    expectRejected(patchedHeader(0, 7, 8), "zero width");
    expectRejected(patchedHeader(9, 7, 3), "bad bit depth");
    // Within the caps but larger than its data: fails reading rows.
    expectRejected(patchedHeader(2000, 2000, 8), "data too short for the header");

    expectRejected({}, "empty");
    expectRejected({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not a PNG");
    expectRejected(std::vector<uint8_t>(good.begin(), good.begin() + 8), "signature only");
    LogCapture log;
    EXPECT_FALSE(decodePngImage(nullptr, 100));
    EXPECT_EQ(log.count(), 1u);
}

// Random damage to valid files of every kind: never a crash or an overrun
// (the sanitizer build watches), and an image only with the header's size.
TEST(PngDecode, RandomDamageIsHandled) {
    std::vector<std::vector<uint8_t>> seeds;
    for (int type : {0, 2, 3, 4, 6})
        for (bool interlaced : {false, true}) {
            PngRecipe recipe{11, 6, type, 8, interlaced, [type](int x, int y) {
                             if (type == 3) return std::vector<int>{(x + y) % 3};
                             return std::vector<int>{wave(x, y, 0), wave(x, y, 1), wave(x, y, 2), wave(x, y, 3)};
                         }};
            if (type == 3) recipe.palette = {{1, 2, 3, 0}, {4, 5, 6, 255}, {7, 8, 9, 90}}, recipe.paletteAlpha = true;
            seeds.push_back(writePng(recipe));
        }
    std::mt19937 rng(1234);
    LogCapture log;  // keeps the output quiet
    int decoded = 0;
    for (int n = 0; n < 3000; ++n) {
        std::vector<uint8_t> bytes = seeds[rng() % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = rng() % bytes.size();
            switch (rng() % 4) {
            case 0: bytes[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
            case 1: bytes[at] = static_cast<uint8_t>(rng()); break;
            case 2: bytes.resize(std::max<size_t>(at, 1)); break;
            default: bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<uint8_t>(rng())); break;
            }
        }
        // Keep some CRCs right so the damage reaches the decoder proper.
        if (rng() % 2) {
            for (const char* chunk : {"IHDR", "PLTE", "tRNS", "IDAT"}) {
                const long at = test::findChunk(bytes, chunk);
                if (at > 0 && at + 12 + static_cast<long>(test::readBe32(bytes, at)) <= static_cast<long>(bytes.size()))
                    test::fixCrc(bytes, at);
            }
        }
        std::optional<Image> img = decode(bytes);
        if (img) {
            ++decoded;
            ASSERT_LE(int64_t{img->width()} * img->height(), kMaxImagePixels);
            ASSERT_TRUE(img->surface().valid());
        }
    }
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace display

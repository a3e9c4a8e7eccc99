// drawImage / drawRegion against a naive per-pixel reference, drawRGB and
// getRGB with their array checks, createRGBImage's type decisions, and the
// image layout rules.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "display/graphics.h"
#include "display/image_ops.h"
#include "display/pixel.h"
#include "tests/display/support.h"

namespace display {
namespace {

using test::Canvas;
using test::expectGolden;
using test::LogCapture;

// The ARGB4444 blend written the way it is specified: field values in
// place, dst + floor((src - dst) * W / 256), masked to the field.
uint16_t referenceBlend4444(uint16_t dst, uint16_t src) {
    const int64_t w = 17 * (src >> 12);
    const int64_t fields[3][2] = {{0xF800, ((src >> 8) & 15) * 0x1000},
                                  {0x07E0, ((src >> 4) & 15) * 0x80},
                                  {0x001F, (src & 15) * 2}};
    uint16_t out = 0;
    for (auto& f : fields) {
        const int64_t d = dst & f[0], s = f[1];
        int64_t diff = (s - d) * w;
        int64_t q = diff >= 0 ? diff / 256 : -((-diff + 255) / 256);  // floor
        out |= static_cast<uint16_t>((d + q) & f[0]);
    }
    return out;
}

// Where source pixel (i, j) of a w x h region lands in the transformed
// w' x h' box, by the meaning of each MIDP transform.
std::pair<int, int> transformed(int t, int i, int j, int w, int h) {
    switch (t) {
    case 0: return {i, j};
    case 1: return {i, h - 1 - j};          // mirror, rotate 180: upside down
    case 2: return {w - 1 - i, j};          // mirror
    case 3: return {w - 1 - i, h - 1 - j};  // rotate 180
    case 4: return {j, i};                  // mirror, rotate 270: transpose
    case 5: return {h - 1 - j, i};          // rotate 90 clockwise
    case 6: return {j, w - 1 - i};          // rotate 270
    default: return {h - 1 - j, w - 1 - i};
    }
}

void fillRandom(const Surface& s, std::mt19937& rng, PixelType type) {
    for (jint y = 0; y < s.height; ++y)
        for (jint x = 0; x < s.width; ++x) {
            uint16_t v = static_cast<uint16_t>(rng());
            if (type == PixelType::Rgb565Keyed && rng() % 3 == 0) v = kKeyColour565;
            if (type == PixelType::Argb4444) {
                const uint16_t alphas[] = {0x0000, 0xF000, 0x8000, 0x1000, 0x7000};
                if (rng() % 2) v = static_cast<uint16_t>((v & 0x0FFF) | alphas[rng() % 5]);
            }
            s.at16(x, y) = v;
        }
}

TEST(BlendFormula, Argb4444Table) {
    struct Row {
        uint16_t dst, src, expected;
    } rows[] = {
        {0x0000, 0xFFFF, 0xEF7D},  // opaque white reaches 29/59/29 of 31/63/31
        {0xFFFF, 0x0FFF, 0xFFFF},  // alpha 0 keeps the destination
        {0xFFFF, 0x8000, 0x73AE},  // half black over white: floors toward black
        {0x0000, 0x1F00, 0x0800},
    };
    for (const Row& r : rows) EXPECT_EQ(blend4444(r.dst, r.src), r.expected) << std::hex << r.dst << " " << r.src;
    // The channel form equals the specified field form everywhere.
    std::mt19937 rng(7);
    for (int n = 0; n < 200000; ++n) {
        const uint16_t d = static_cast<uint16_t>(rng()), s = static_cast<uint16_t>(rng());
        ASSERT_EQ(blend4444(d, s), referenceBlend4444(d, s)) << std::hex << d << " " << s;
    }
}

// Every transform x source type x placement (inside, overhanging each side
// and each corner, and all sides at once) against the reference; a small
// region and one that spans whole 8 x 8 tiles with ragged edges.
TEST(DrawRegion, MatchesNaiveReference) {
    std::mt19937 rng(42);
    const PixelType types[] = {PixelType::Rgb565, PixelType::Rgb565Keyed, PixelType::Argb4444};
    struct Size {
        int srcW, srcH, sx, sy, w, h;
        jint clipX, clipY, clipW, clipH, dstW, dstH;
    } sizes[] = {
        {12, 9, 2, 1, 7, 5, 6, 5, 14, 10, 26, 22},
        {24, 20, 3, 2, 19, 17, 6, 5, 26, 24, 44, 40},
    };
    struct Placement {
        const char* name;
        int x, y;  // top-left of the transformed box before clipping
    };
    for (const Size& z : sizes)
        for (PixelType type : types) {
            std::optional<Image> src = Image::allocate(z.srcW, z.srcH, static_cast<uint32_t>(type));
            ASSERT_TRUE(src);
            fillRandom(src->surface(), rng, type);
            const int sx = z.sx, sy = z.sy, w = z.w, h = z.h;
            const jint clipX = z.clipX, clipY = z.clipY, clipW = z.clipW, clipH = z.clipH;
            for (int t = 0; t < 8; ++t) {
                const int bw = t >= 4 ? h : w, bh = t >= 4 ? w : h;
                const Placement placements[] = {
                    {"inside", clipX + 1, clipY + 1},
                    {"left", clipX - 3, clipY + 2},
                    {"right", clipX + clipW - bw + 2, clipY + 1},
                    {"top", clipX + 2, clipY - 2},
                    {"bottom", clipX + 1, clipY + clipH - bh + 3},
                    {"top-left", clipX - 2, clipY - 3},
                    {"top-right", clipX + clipW - bw + 4, clipY - 1},
                    {"bottom-left", clipX - 4, clipY + clipH - bh + 1},
                    {"bottom-right", clipX + clipW - bw + 1, clipY + clipH - bh + 2},
                    {"all sides", clipX - 1, clipY - 1},
                    {"gone", clipX - bw, clipY},
                };
                for (const Placement& p : placements) {
                    for (jint anchor : {kTop | kLeft, kHCenter | kVCenter, kRight | kBottom}) {
                        Canvas dst(z.dstW, z.dstH);
                        fillRandom(dst.surface(), rng, PixelType::Rgb565);
                        Image before = dst.image;
                        Graphics g = dst.g();
                        g.translate(1, -1);
                        g.setClip(clipX - 1, clipY + 1, clipW, clipH);
                        if (std::string(p.name) == "all sides") g.setClip(clipX - 1, clipY + 1, bw - 2, bh - 2);
                        const jint cw = std::string(p.name) == "all sides" ? bw - 2 : clipW;
                        const jint ch = std::string(p.name) == "all sides" ? bh - 2 : clipH;
                        // The anchor point that puts the box at (p.x, p.y).
                        jint ax = p.x - 1, ay = p.y + 1;
                        if (anchor & kHCenter) ax += bw >> 1;
                        if (anchor & kRight) ax += bw;
                        if (anchor & kVCenter) ay += bh >> 1;
                        if (anchor & kBottom) ay += bh;
                        Surface s = src->surface();
                        g.drawRegion(&s, sx, sy, 0, h, t, ax, ay, anchor);  // zero width: nothing
                        g.drawRegion(&s, sx, sy, w, h, t, ax, ay, anchor);

                        Image expected = before;
                        Surface e = expected.surface();
                        for (int j = 0; j < h; ++j)
                            for (int i = 0; i < w; ++i) {
                                auto [u, v] = transformed(t, i, j, w, h);
                                const int X = p.x + u, Y = p.y + v;
                                if (X < clipX || X >= clipX + cw || Y < clipY || Y >= clipY + ch) continue;
                                const uint16_t sp = s.at16(sx + i, sy + j);
                                uint16_t& dp = e.at16(X, Y);
                                if (type == PixelType::Rgb565) dp = sp;
                                else if (type == PixelType::Rgb565Keyed) dp = sp == kKeyColour565 ? dp : sp;
                                else dp = referenceBlend4444(dp, sp);
                            }
                        for (int y = 0; y < z.dstH; ++y)
                            for (int x = 0; x < z.dstW; ++x)
                                ASSERT_EQ(dst.at(x, y), expected.pixel16(x, y))
                                    << "region " << w << "x" << h << " type " << static_cast<int>(type)
                                    << " transform " << t << " " << p.name << " anchor " << anchor << " at " << x
                                    << "," << y;
                    }
                }
            }
        }
}

TEST(DrawRegion, Rot90AnchoredAtTheCentre) {
    Canvas dst(200, 200);
    std::optional<Image> src = Image::allocate(10, 20, 0);
    ASSERT_TRUE(src);
    Surface s = src->surface();
    for (jint y = 0; y < 20; ++y)
        for (jint x = 0; x < 10; ++x) s.at16(x, y) = 0xFFFF;
    dst.g().drawRegion(&s, 0, 0, 10, 20, kTransRot90, 100, 100, kHCenter | kVCenter);
    EXPECT_EQ(dst.countNot(0), 200);
    EXPECT_EQ(dst.at(90, 95), 0xFFFF);
    EXPECT_EQ(dst.at(109, 104), 0xFFFF);
    EXPECT_EQ(dst.at(89, 95), 0);
    EXPECT_EQ(dst.at(110, 104), 0);
    EXPECT_EQ(dst.at(100, 94), 0);
    EXPECT_EQ(dst.at(100, 105), 0);
}

TEST(DrawRegion, EveryTransformGolden) {
    // An asymmetric 5 x 3 keyed sprite drawn with each transform.
    std::optional<Image> src = Image::allocate(5, 3, 1);
    ASSERT_TRUE(src);
    const uint16_t art[3][5] = {{0xF800, 0xF800, 0xF800, 0xF800, 0x07E0},
                                {0xF800, 0xF81F, 0xF81F, 0xF81F, 0xF81F},
                                {0x001F, 0xF81F, 0xF81F, 0xF81F, 0xF81F}};
    Surface s = src->surface();
    for (jint y = 0; y < 3; ++y)
        for (jint x = 0; x < 5; ++x) s.at16(x, y) = art[y][x];
    Canvas dst(48, 7, 0x8410);
    Graphics g = dst.g();
    for (int t = 0; t < 8; ++t) g.drawRegion(&s, 0, 0, 5, 3, t, 1 + t * 6, 1, kTop | kLeft);
    expectGolden("region_transforms", dst.surface());
}

TEST(DrawRegion, ChecksAndFaults) {
    Canvas dst(20, 20);
    std::optional<Image> src = Image::allocate(8, 8, 0);
    Surface s = src->surface();
    for (jint y = 0; y < 8; ++y)
        for (jint x = 0; x < 8; ++x) s.at16(x, y) = 0x1111;
    Graphics g = dst.g();
    LogCapture log;

    g.drawRegion(nullptr, 0, 0, 4, 4, 0, 0, 0, 0);
    EXPECT_TRUE(log.has("drawRegion pSrc"));
    g.drawImage(nullptr, 0, 0, 0);
    EXPECT_EQ(log.count(), 2u);

    log.clear();
    g.drawRegion(&s, 6, 0, 4, 4, 0, 0, 0, 0);  // region past the right edge
    EXPECT_TRUE(log.has("drawRegion x_src"));
    g.drawRegion(&s, 0, -1, 4, 4, 0, 0, 0, 0);
    EXPECT_TRUE(log.has("drawRegion y_src"));
    EXPECT_EQ(dst.countNot(0), 0);

    // A region outside the source whose outside part the clip trims away
    // is drawn: the check applies to the trimmed region.
    log.clear();
    g.drawRegion(&s, 6, 0, 4, 4, 0, 18, 0, 0);  // only 2 columns are visible
    EXPECT_EQ(log.count(), 0u);
    EXPECT_EQ(dst.countNot(0), 8);

    log.clear();
    dst.fill(0);
    g.drawRegion(&s, 0, 0, 3, 3, 9, 0, 0, 0);  // unknown transform: drawn as 0
    EXPECT_TRUE(log.has("drawRegion transform"));
    EXPECT_EQ(dst.countNot(0), 9);

    log.clear();
    std::optional<Image> bytes = Image::allocate(8, 8, 3);
    Surface b = bytes->surface();
    g.drawImage(&b, 0, 0, 0);
    EXPECT_TRUE(log.has("m_pixelType"));

    // Huge coordinates and sizes clip without overflow.
    log.clear();
    dst.fill(0);
    g.translate(INT_MAX, INT_MIN);
    g.drawRegion(&s, 0, 0, INT_MAX, INT_MAX, 5, INT_MIN, INT_MAX, kRight | kBottom);
    g.drawImage(&s, INT_MAX, INT_MAX, kHCenter | kVCenter);
    EXPECT_EQ(dst.countNot(0), 0);
}

TEST(DrawImage, KeyedPixelsStayTransparentAndAnchorsApply) {
    std::optional<Image> src = Image::allocate(4, 2, 1);
    Surface s = src->surface();
    const uint16_t px[2][4] = {{0xF81F, 0x1234, 0xF81F, 0x5678}, {0x9ABC, 0xF81F, 0xF81F, 0xDEF0}};
    for (jint y = 0; y < 2; ++y)
        for (jint x = 0; x < 4; ++x) s.at16(x, y) = px[y][x];
    Canvas dst(10, 6, 0x0101);
    dst.g().drawImage(&s, 9, 5, kRight | kBottom);  // box (5, 3) .. (8, 4)
    EXPECT_EQ(dst.at(5, 3), 0x0101);
    EXPECT_EQ(dst.at(6, 3), 0x1234);
    EXPECT_EQ(dst.at(8, 3), 0x5678);
    EXPECT_EQ(dst.at(5, 4), 0x9ABC);
    EXPECT_EQ(dst.at(6, 4), 0x0101);
    EXPECT_EQ(dst.countNot(0x0101), 4);
}

// --- drawRGB ------------------------------------------------------------------------

TEST(DrawRGB, OpaqueAlphaAndClippedSourceStart) {
    const jint argb[] = {
        static_cast<jint>(0xFFFF0000), static_cast<jint>(0x0000FF00), static_cast<jint>(0x80FFFFFF),
        static_cast<jint>(0x01000000), static_cast<jint>(0x00FFFFFF), static_cast<jint>(0xFF0000FF),
    };
    Canvas c(4, 3, 0x0000);
    Graphics g = c.g();
    g.drawRGB(argb, 6, 0, 3, 0, 0, 3, 2, true);
    EXPECT_EQ(c.at(0, 0), 0xF800);  // alpha 255 writes
    EXPECT_EQ(c.at(1, 0), 0x0000);  // alpha 0 keeps
    EXPECT_EQ(c.at(2, 0), 0x7BEF);  // alpha 128 blends
    EXPECT_EQ(c.at(0, 1), 0x0000);
    EXPECT_EQ(c.at(2, 1), 0x001F);

    c.fill(0xFFFF);
    g.drawRGB(argb, 6, 0, 3, 0, 0, 3, 2, false);  // alpha ignored
    EXPECT_EQ(c.at(1, 0), 0x07E0);
    EXPECT_EQ(c.at(0, 1), 0x0000);
    EXPECT_EQ(c.at(1, 1), 0xFFFF);

    // Drawn one column and one row up-left of the target: the source start
    // moves by the clipped amount.
    c.fill(0);
    g.drawRGB(argb, 6, 0, 3, -1, -1, 3, 2, false);
    EXPECT_EQ(c.at(0, 0), 0xFFFF);  // argb[4]
    EXPECT_EQ(c.at(1, 0), 0x001F);  // argb[5]
    EXPECT_EQ(c.countNot(0), 2);
}

TEST(DrawRGB, IntoArgb4444KeepsAlphaWithoutBlending) {
    std::optional<Image> img = Image::allocate(2, 1, 2);
    Surface s = img->surface();
    s.at16(0, 0) = 0x1234;
    GraphicsState st = GraphicsState::forTarget(2, 1);
    Graphics g(st, s);
    const jint argb[] = {static_cast<jint>(0x80FF8040), 0x00123456};
    g.drawRGB(argb, 2, 0, 2, 0, 0, 2, 1, false);
    EXPECT_EQ(s.at16(0, 0), 0x8F84);
    EXPECT_EQ(s.at16(1, 0), 0x0135);
}

// The vectorised row kernels agree with the per-pixel formulas.
TEST(DrawRGB, KernelsMatchTheFormulas) {
    std::mt19937 rng(99);
    const int w = 67, h = 9;
    std::vector<jint> argb(w * h);
    for (auto& p : argb) {
        const uint32_t alphas[] = {0, 255, static_cast<uint32_t>(rng() & 0xFF)};
        p = static_cast<jint>(alphas[rng() % 3] << 24 | (rng() & 0xFFFFFF));
    }
    Canvas c(w, h);
    fillRandom(c.surface(), rng, PixelType::Rgb565);
    Image before = c.image;
    c.g().drawRGB(argb.data(), argb.size(), 0, w, 0, 0, w, h, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = static_cast<uint32_t>(argb[y * w + x]), a = p >> 24;
            const uint16_t d = before.pixel16(x, y);
            const uint16_t expected =
                a == 255 ? rgb565(p) : a == 0 ? d : blendAlpha565(d, rgb565(p), static_cast<int32_t>(a));
            ASSERT_EQ(c.at(x, y), expected) << x << "," << y;
        }
    // The translucent fill, every alpha.
    for (uint32_t a = 1; a < 255; ++a) {
        Canvas f(37, 1);
        fillRandom(f.surface(), rng, PixelType::Rgb565);
        Image prior = f.image;
        f.state.colour = a << 24 | (rng() & 0xFFFFFF);
        f.g().fillRect(0, 0, 37, 1);
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(f.at(x, 0), blendFill565(prior.pixel16(x, 0), f.state.colour, a)) << "alpha " << a;
    }
}

// Every read index is checked; a fault logs and leaves the target alone.
TEST(DrawRGB, ArrayBoundsTable) {
    std::vector<jint> data(16, static_cast<jint>(0xFFFFFFFF));
    struct Row {
        const char* what;
        size_t length;
        jint offset, scan, x, y, w, h;
        bool drawn;
    } rows[] = {
        {"fits exactly", 16, 0, 4, 0, 0, 4, 4, true},
        {"scan wider than width", 16, 0, 5, 0, 0, 4, 3, true},
        {"negative scan from the last row", 16, 12, -4, 0, 0, 4, 4, true},
        {"one row too many", 16, 0, 4, 0, 0, 4, 5, false},
        {"offset past the end", 16, 13, 4, 0, 0, 4, 1, false},
        {"negative offset", 16, -1, 4, 0, 0, 4, 1, false},
        {"negative scan below zero", 16, 8, -4, 0, 0, 4, 4, false},
        {"huge scan", 16, 0, INT_MAX, 0, 0, 4, 2, false},
        {"huge height", 16, 0, 4, 0, 0, 4, INT_MAX, false},
        {"rows below the target are not read", 16, 0, 4, 0, 4, 4, 8, true},
        {"empty array", 0, 0, 0, 0, 0, 1, 1, false},
    };
    for (const Row& r : rows) {
        Canvas c(8, 8);
        LogCapture log;
        c.g().drawRGB(data.data(), r.length, r.offset, r.scan, r.x, r.y, r.w, r.h, false);
        EXPECT_EQ(c.countNot(0) > 0, r.drawn) << r.what;
        EXPECT_EQ(log.has("drawRGB length"), !r.drawn) << r.what;
    }
    LogCapture log;
    Canvas c(4, 4);
    c.g().drawRGB(nullptr, 0, 0, 4, 0, 0, 4, 4, true);
    EXPECT_TRUE(log.has("drawRGB rgbData"));
    // Nothing visible: nothing read, nothing checked.
    log.clear();
    c.g().drawRGB(data.data(), 1, 0, 4, 100, 100, 4, 4, true);
    EXPECT_EQ(log.count(), 0u);
}

// --- getRGB ----------------------------------------------------------------------------

TEST(GetRGB, ExpansionPerType) {
    std::optional<Image> keyed = Image::allocate(3, 1, 1);
    Surface k = keyed->surface();
    k.at16(0, 0) = 0xF81F;
    k.at16(1, 0) = 0xFFFF;
    k.at16(2, 0) = 0x8410;
    jint out[3] = {};
    getRGB(k, out, 3, 0, 3, 0, 0, 3, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(static_cast<uint32_t>(out[1]), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<uint32_t>(out[2]), 0xFF838183u);  // 16 -> floor(16 * 255 / 31), 32 -> floor(32 * 255 / 63)

    std::optional<Image> opaque = Image::allocate(1, 1, 0);
    opaque->surface().at16(0, 0) = 0xF81F;  // an opaque image keeps magenta
    getRGB(opaque->surface(), out, 3, 0, 1, 0, 0, 1, 1);
    EXPECT_EQ(static_cast<uint32_t>(out[0]), 0xFFFF00FFu);

    std::optional<Image> alpha = Image::allocate(1, 1, 2);
    alpha->surface().at16(0, 0) = 0x8F40;
    getRGB(alpha->surface(), out, 3, 0, 1, 0, 0, 1, 1);
    EXPECT_EQ(static_cast<uint32_t>(out[0]), 0x88FF4400u);
}

TEST(GetRGB, BoundsTable) {
    std::optional<Image> img = Image::allocate(4, 4, 0);
    Surface s = img->surface();
    for (jint y = 0; y < 4; ++y)
        for (jint x = 0; x < 4; ++x) s.at16(x, y) = 0xFFFF;
    struct Row {
        const char* what;
        size_t length;
        jint offset, scan, x, y, w, h;
        const char* fault;  // nullptr: copied
    } rows[] = {
        {"whole image", 16, 0, 4, 0, 0, 4, 4, nullptr},
        {"negative scan", 16, 12, -4, 0, 0, 4, 4, nullptr},
        {"last row shorter than scan", 14, 0, 5, 0, 0, 4, 3, nullptr},
        {"array too short", 15, 0, 4, 0, 0, 4, 4, "getRGB length"},
        {"negative offset", 16, -2, 4, 0, 0, 2, 2, "getRGB length"},
        {"negative scan under zero", 16, 4, -4, 0, 0, 4, 4, "getRGB length"},
        {"huge scan", 16, 0, INT_MAX, 0, 0, 1, 2, "getRGB length"},
        {"negative x", 16, 0, 4, -1, 0, 2, 2, "getRGB x,y outside"},
        {"negative y", 16, 0, 4, 0, -1, 2, 2, "getRGB x,y outside"},
        {"too wide", 16, 0, 4, 1, 0, 4, 2, "getRGB width,height outside"},
        {"huge x", 16, 0, 4, INT_MAX, 0, 2, 2, "getRGB width,height outside"},
    };
    for (const Row& r : rows) {
        std::vector<jint> out(r.length + 1, 7);
        LogCapture log;
        getRGB(s, out.data(), r.length, r.offset, r.scan, r.x, r.y, r.w, r.h);
        if (r.fault) {
            EXPECT_TRUE(log.has(r.fault)) << r.what;
            for (jint v : out) EXPECT_EQ(v, 7) << r.what;
        } else {
            EXPECT_EQ(log.count(), 0u) << r.what;
            EXPECT_EQ(out[static_cast<size_t>(r.offset)], -1) << r.what;
            EXPECT_EQ(out[r.length], 7) << r.what;  // never past the array
        }
    }
    LogCapture log;
    getRGB(s, nullptr, 0, 0, 4, 0, 0, 4, 4);
    EXPECT_TRUE(log.has("getRGB argb null"));
    std::optional<Image> bytes = Image::allocate(4, 4, 4);
    jint out[16];
    getRGB(bytes->surface(), out, 16, 0, 4, 0, 0, 4, 4);
    EXPECT_TRUE(log.has("m_pixelType"));
}

// --- createRGBImage -------------------------------------------------------------------------

TEST(CreateRGBImage, TypeDecisionTable) {
    const jint opaque = static_cast<jint>(0xFF102030), clear = 0x00102030, half = static_cast<jint>(0x80102030);
    const jint magentaOpaque = static_cast<jint>(0xFFFF00FF), magentaHalf = static_cast<jint>(0x80FF00FF);
    struct Row {
        const char* what;
        std::vector<jint> pixels;
        bool processAlpha;
        PixelType type;
    } rows[] = {
        {"no alpha processing", {opaque, clear, half, opaque}, false, PixelType::Rgb565},
        {"alpha 0 and 255", {opaque, clear, opaque, opaque}, true, PixelType::Rgb565Keyed},
        {"all opaque", {opaque, opaque, opaque, opaque}, true, PixelType::Rgb565},
        {"one translucent pixel", {opaque, half, opaque, opaque}, true, PixelType::Argb4444},
        {"translucent magenta is not translucent", {opaque, magentaHalf, opaque, opaque}, true,
         PixelType::Rgb565Keyed},
        {"opaque magenta becomes the key", {opaque, magentaOpaque, opaque, opaque}, true, PixelType::Rgb565Keyed},
        {"translucent element past width x height", {opaque, opaque, opaque, opaque, half}, true,
         PixelType::Argb4444},
    };
    for (const Row& r : rows) {
        std::optional<Image> img = createRGBImage(r.pixels.data(), r.pixels.size(), 2, 2, r.processAlpha);
        ASSERT_TRUE(img) << r.what;
        EXPECT_EQ(img->type(), r.type) << r.what;
        EXPECT_FALSE(img->isMutable());
    }
    // Pixel values of each kind.
    const jint px[] = {opaque, clear, half, magentaOpaque};
    std::optional<Image> plain = createRGBImage(px, 4, 2, 2, false);
    EXPECT_EQ(plain->pixel16(1, 0), rgb565(0x102030));
    std::optional<Image> translucent = createRGBImage(px, 4, 2, 2, true);
    EXPECT_EQ(translucent->pixel16(0, 0), 0xF123);
    EXPECT_EQ(translucent->pixel16(1, 0), 0x0123);
    EXPECT_EQ(translucent->pixel16(0, 1), 0x8123);
    const jint px2[] = {opaque, clear, opaque, opaque};
    std::optional<Image> key = createRGBImage(px2, 4, 2, 2, true);
    EXPECT_EQ(key->pixel16(0, 0), rgb565(0x102030));
    EXPECT_EQ(key->pixel16(1, 0), kKeyColour565);
}

TEST(CreateRGBImage, ArgumentFaults) {
    const jint px[4] = {};
    LogCapture log;
    EXPECT_FALSE(createRGBImage(nullptr, 0, 2, 2, true));
    EXPECT_TRUE(log.has("createRGBImage rgbData"));
    EXPECT_FALSE(createRGBImage(px, 4, 0, 2, true));
    EXPECT_FALSE(createRGBImage(px, 4, 2, -1, true));
    EXPECT_TRUE(log.has("createRGBImage width, height"));
    EXPECT_FALSE(createRGBImage(px, 3, 2, 2, true));
    EXPECT_FALSE(createRGBImage(px, 4, 65536, 65536, true));  // w x h wraps in 32 bits
    EXPECT_TRUE(log.has("createRGBImage length"));
}

// --- layout ---------------------------------------------------------------------------------

TEST(ImageLayout, StridesSizesAndCaps) {
    struct Row {
        jint w, h;
        PixelType type;
        jint extra;
        jint stride;
        size_t bytes;
    } rows[] = {
        {5, 3, PixelType::Rgb565, 0, 12, 36},   {4, 3, PixelType::Rgb565Keyed, 0, 8, 24},
        {1, 1, PixelType::Argb4444, 0, 4, 4},   {5, 3, PixelType::Index8, 7, 5, 7 + 15 + 1},
        {5, 3, PixelType::Index4, 0, 3, 9 + 1}, {0, 0, PixelType::Rgb565, 0, 0, 0},
    };
    for (const Row& r : rows) {
        std::optional<Layout> l = computeLayout(r.w, r.h, r.type, r.extra);
        ASSERT_TRUE(l);
        EXPECT_EQ(l->stride, r.stride);
        EXPECT_EQ(l->bytes(), r.bytes);
    }
    EXPECT_FALSE(computeLayout(-1, 4, PixelType::Rgb565));
    EXPECT_FALSE(computeLayout(4, INT_MIN, PixelType::Rgb565));
    EXPECT_FALSE(computeLayout(INT_MAX, INT_MAX, PixelType::Index4));
    EXPECT_FALSE(computeLayout(kMaxImageDimension + 1, 1, PixelType::Rgb565));
    EXPECT_FALSE(computeLayout(kMaxImageDimension, kMaxImageDimension, PixelType::Rgb565));
    EXPECT_TRUE(computeLayout(4096, 4096, PixelType::Rgb565));
    EXPECT_FALSE(computeLayout(4, 4, PixelType::Index8, -1));

    LogCapture log;
    std::optional<Image> m = Image::allocate(3, 3, kMutableTypeBit | 0);
    EXPECT_TRUE(m->isMutable());
    std::optional<Image> k = Image::allocate(3, 3, kMutableTypeBit | 2);
    EXPECT_FALSE(k->isMutable());
    EXPECT_TRUE(log.has("imagetype"));
    EXPECT_EQ(pixelTypeFromWord(9), PixelType::Index4);
}

TEST(ImageLayout, UpdateTransparencyScansTheWholeStore) {
    std::optional<Image> img = Image::allocate(3, 2, 0);
    EXPECT_EQ(updateTransparency(img->surface()), PixelType::Rgb565);
    img->surface().at16(2, 1) = kKeyColour565;
    EXPECT_EQ(updateTransparency(img->surface()), PixelType::Rgb565Keyed);
    std::optional<Image> alpha = Image::allocate(3, 2, 2);
    alpha->surface().at16(0, 0) = kKeyColour565;
    EXPECT_EQ(updateTransparency(alpha->surface()), PixelType::Argb4444);
}

}  // namespace
}  // namespace display

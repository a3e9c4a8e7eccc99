// Pixel formats of images and the exact integer colour arithmetic shared by
// every drawing path: ARGB to RGB565 by truncation, the expansion back to
// 8 bits per channel, and the three blend formulas (translucent fill,
// alpha blend of lines and ARGB blocks, ARGB4444 source blend). Each formula
// is fixed bit for bit; callers never round differently.
#pragma once

#include <cstdint>

// Hot pixel loops get an AVX2 clone beside the baseline one on x86-64,
// chosen once at load time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(BRAMBLE_NO_CLONES)
#define BRAMBLE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define BRAMBLE_VECTOR_CLONES
#endif

namespace display {

// Image pixel types. Types 0-2 are stored as 16-bit values, 3 and 4 as bytes.
enum class PixelType : uint32_t {
    Rgb565 = 0,       // opaque
    Rgb565Keyed = 1,  // kKeyColour565 is transparent
    Argb4444 = 2,     // alpha 12-15, red 8-11, green 4-7, blue 0-3
    Index8 = 3,       // one byte per pixel
    Index4 = 4,       // two pixels per byte, high nibble first
};

// Any type word beyond 3 means two pixels per byte.
constexpr PixelType pixelTypeFromWord(uint32_t word) {
    return word <= 3 ? static_cast<PixelType>(word) : PixelType::Index4;
}
constexpr bool isSixteenBit(PixelType t) { return static_cast<uint32_t>(t) <= 2; }
// Targets that the RGB565 drawing operations may write into.
constexpr bool isRgb565(PixelType t) { return t == PixelType::Rgb565 || t == PixelType::Rgb565Keyed; }

constexpr uint16_t kKeyColour565 = 0xF81F;  // magenta
constexpr uint32_t kKeyColourRgb = 0xFF00FF;

// MIDP anchors.
enum Anchor : int32_t {
    kHCenter = 1,
    kVCenter = 2,
    kLeft = 4,
    kRight = 8,
    kTop = 16,
    kBottom = 32,
    kBaseline = 64,
};

// MIDP region transforms.
enum Transform : int32_t {
    kTransNone = 0,
    kTransMirrorRot180 = 1,
    kTransMirror = 2,
    kTransRot180 = 3,
    kTransMirrorRot270 = 4,
    kTransRot90 = 5,
    kTransRot270 = 6,
    kTransMirrorRot90 = 7,
};

// ARGB (alpha ignored) to RGB565 by truncation.
constexpr uint16_t rgb565(uint32_t argb) {
    return static_cast<uint16_t>(((argb >> 8) & 0xF800) | ((argb >> 5) & 0x07E0) | ((argb & 0xFF) >> 3));
}

// ARGB to ARGB4444 by truncation, alpha kept.
constexpr uint16_t argb4444(uint32_t argb) {
    return static_cast<uint16_t>(((argb >> 16) & 0xF000) | ((argb >> 12) & 0x0F00) | ((argb >> 8) & 0x00F0) |
                                 ((argb >> 4) & 0x000F));
}

// Expansion of 5-, 6- and 4-bit channels to 8 bits: floor(v * 255 / max).
constexpr uint32_t expand5(uint32_t v) { return v * 255 / 31; }
constexpr uint32_t expand6(uint32_t v) { return v * 255 / 63; }
constexpr uint32_t expand4(uint32_t v) { return v * 17; }

// RGB565 to opaque ARGB.
constexpr uint32_t argbFrom565(uint16_t p) {
    return 0xFF000000u | expand5(p >> 11) << 16 | expand6((p >> 5) & 63) << 8 | expand5(p & 31);
}
// ARGB4444 to ARGB.
constexpr uint32_t argbFrom4444(uint16_t p) {
    return expand4(p >> 12) << 24 | expand4((p >> 8) & 15) << 16 | expand4((p >> 4) & 15) << 8 | expand4(p & 15);
}

// Translucent fill: per channel (dst * (256 - a) >> 8) + (src8 * a >> k),
// k = 11 for the 5-bit channels and 10 for green; src8 is the colour's 8-bit
// component. The sum never carries into the next field.
constexpr uint16_t blendFill565(uint16_t dst, uint32_t colour, uint32_t a) {
    uint32_t r = (((dst >> 11) * (256 - a)) >> 8) + ((((colour >> 16) & 0xFF) * a) >> 11);
    uint32_t g = ((((dst >> 5) & 63) * (256 - a)) >> 8) + ((((colour >> 8) & 0xFF) * a) >> 10);
    uint32_t b = (((dst & 31) * (256 - a)) >> 8) + (((colour & 0xFF) * a) >> 11);
    return static_cast<uint16_t>((r & 31) << 11 | (g & 63) << 5 | (b & 31));
}

// Alpha blend of lines and ARGB blocks: per 5/6/5 channel
// dst + ((src - dst) * a >> 8), the shift arithmetic (rounding down).
constexpr uint16_t blendAlpha565(uint16_t dst, uint16_t src, int32_t a) {
    int32_t dr = dst >> 11, dg = (dst >> 5) & 63, db = dst & 31;
    int32_t sr = src >> 11, sg = (src >> 5) & 63, sb = src & 31;
    int32_t r = dr + (((sr - dr) * a) >> 8);
    int32_t g = dg + (((sg - dg) * a) >> 8);
    int32_t b = db + (((sb - db) * a) >> 8);
    return static_cast<uint16_t>((r & 31) << 11 | (g & 63) << 5 | (b & 31));
}

// ARGB4444 source over RGB565: weight W = 17 * alpha nibble; each 4-bit
// component takes the top bits of its RGB565 field and the field becomes
// dst + floor((src - dst) * W / 256).
constexpr uint16_t blend4444(uint16_t dst, uint16_t src) {
    int32_t w = 17 * (src >> 12);
    int32_t dr = dst >> 11, dg = (dst >> 5) & 63, db = dst & 31;
    int32_t sr = ((src >> 8) & 15) << 1, sg = ((src >> 4) & 15) << 2, sb = (src & 15) << 1;
    int32_t r = dr + (((sr - dr) * w) >> 8);
    int32_t g = dg + (((sg - dg) * w) >> 8);
    int32_t b = db + (((sb - db) * w) >> 8);
    return static_cast<uint16_t>((r & 31) << 11 | (g & 63) << 5 | (b & 31));
}

}  // namespace display

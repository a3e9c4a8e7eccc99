// getRGB and createRGBImage.
#include "display/image_ops.h"

#include <algorithm>

#include "display/graphics.h"
#include "display/log.h"

namespace display {
namespace {

// Expansion tables for reading pixels back.
struct Expand {
    uint32_t r[32], g[64];
    constexpr Expand() : r(), g() {
        for (uint32_t v = 0; v < 32; ++v) r[v] = expand5(v);
        for (uint32_t v = 0; v < 64; ++v) g[v] = expand6(v);
    }
};
constexpr Expand kExpand;

}  // namespace

void getRGB(const Surface& image, jint* argb, size_t length, jint offset, jint scanlength, jint x, jint y, jint width,
            jint height) {
    if (!argb) {
        logFault("getRGB argb null");
        return;
    }
    if (width <= 0 || height <= 0) return;
    using i128 = __int128;
    const i128 lastRow = i128{height - 1} * scanlength;
    const i128 first = i128{offset} + std::min<i128>(0, lastRow);
    const i128 last = i128{offset} + std::max<i128>(0, lastRow) + (width - 1);
    if (first < 0 || last >= static_cast<i128>(length)) {
        logFault("getRGB length");
        return;
    }
    if (x < 0 || y < 0) {
        logFault("getRGB x,y outside");
        return;
    }
    if (int64_t{x} + width > image.width || int64_t{y} + height > image.height) {
        logFault("getRGB width,height outside");
        return;
    }
    if (!isSixteenBit(image.type) || !image.valid()) {
        logFault("m_pixelType");
        return;
    }
    for (jint r = 0; r < height; ++r) {
        const uint16_t* s = image.row16(y + r) + x;
        jint* d = argb + static_cast<ptrdiff_t>(offset + int64_t{r} * scanlength);
        switch (image.type) {
        case PixelType::Argb4444:
            for (jint i = 0; i < width; ++i) d[i] = static_cast<jint>(argbFrom4444(s[i]));
            break;
        case PixelType::Rgb565Keyed:
            for (jint i = 0; i < width; ++i) {
                const uint16_t p = s[i];
                d[i] = p == kKeyColour565
                           ? 0
                           : static_cast<jint>(0xFF000000u | kExpand.r[p >> 11] << 16 | kExpand.g[(p >> 5) & 63] << 8 |
                                               kExpand.r[p & 31]);
            }
            break;
        default:
            for (jint i = 0; i < width; ++i) {
                const uint16_t p = s[i];
                d[i] = static_cast<jint>(0xFF000000u | kExpand.r[p >> 11] << 16 | kExpand.g[(p >> 5) & 63] << 8 |
                                         kExpand.r[p & 31]);
            }
            break;
        }
    }
}

std::optional<PixelType> rgbImageType(const jint* argb, size_t length, jint width, jint height, bool processAlpha) {
    if (!argb) {
        logFault("createRGBImage rgbData");
        return std::nullopt;
    }
    if (width < 1 || height < 1) {
        logFault("createRGBImage width, height");
        return std::nullopt;
    }
    if (static_cast<uint64_t>(length) < static_cast<uint64_t>(width) * static_cast<uint64_t>(height)) {
        logFault("createRGBImage length");
        return std::nullopt;
    }
    if (!computeLayout(width, height, PixelType::Argb4444)) {
        logFault("createRGBImage size");
        return std::nullopt;
    }
    if (!processAlpha) return PixelType::Rgb565;
    // Translucent when some element of the array is neither transparent,
    // opaque nor the key colour.
    for (size_t i = 0; i < length; ++i) {
        const uint32_t p = static_cast<uint32_t>(argb[i]);
        const uint32_t a = p >> 24;
        if (a != 0 && a != 0xFF && (p & 0xFFFFFF) != kKeyColourRgb) return PixelType::Argb4444;
    }
    return PixelType::Rgb565;
}

PixelType fillRGBImage(const Surface& target, const jint* argb, size_t length, bool processAlpha) {
    GraphicsState state = GraphicsState::forTarget(target.width, target.height);
    Graphics g(state, target);
    const jint w = target.width, h = target.height;
    if (target.type == PixelType::Argb4444) {
        g.drawRGB(argb, length, 0, w, 0, 0, w, h, true);
        return PixelType::Argb4444;
    }
    if (!processAlpha) {
        g.drawRGB(argb, length, 0, w, 0, 0, w, h, false);
        return target.type;
    }
    // Transparent pixels stay key-coloured, opaque ones are written.
    g.setColor(static_cast<jint>(kKeyColourRgb));
    g.fillRect(0, 0, w, h);
    g.drawRGB(argb, length, 0, w, 0, 0, w, h, true);
    return updateTransparency(target);
}

std::optional<Image> createRGBImage(const jint* argb, size_t length, jint width, jint height, bool processAlpha) {
    std::optional<PixelType> type = rgbImageType(argb, length, width, height, processAlpha);
    if (!type) return std::nullopt;
    std::optional<Image> image = Image::allocate(width, height, static_cast<uint32_t>(*type));
    if (!image) return std::nullopt;
    image->setType(fillRGBImage(image->surface(), argb, length, processAlpha));
    return image;
}

}  // namespace display

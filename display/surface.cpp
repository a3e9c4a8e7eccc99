// Layout arithmetic (all in 64 bits against the caps) and the owning Image.
#include "display/surface.h"

#include <algorithm>

#include "display/log.h"

namespace display {

std::optional<Layout> computeLayout(jint width, jint height, PixelType type, jint extraBytes) {
    if (width < 0 || height < 0 || width > kMaxImageDimension || height > kMaxImageDimension) return std::nullopt;
    if (static_cast<int64_t>(width) * height > kMaxImagePixels) return std::nullopt;
    if (extraBytes < 0 || extraBytes > kMaxExtraBytes) return std::nullopt;
    Layout l;
    l.width = width;
    l.height = height;
    l.type = type;
    l.stride = strideFor(width, type);
    if (isSixteenBit(type)) {
        l.elementSize = 2;
        l.elements = static_cast<size_t>(l.stride / 2) * static_cast<size_t>(height);
    } else {
        l.elementSize = 1;
        l.elements = static_cast<size_t>(extraBytes) + static_cast<size_t>(l.stride) * static_cast<size_t>(height) + 1;
    }
    return l;
}

Surface Surface::wrap16(uint16_t* buffer, jint width, jint height, jint strideBytes, PixelType type) {
    Surface s;
    s.pixels = buffer;
    s.width = width;
    s.height = height;
    s.stride = strideBytes;
    s.type = type;
    s.bytes = (width > 0 && height > 0 && strideBytes > 0) ? static_cast<size_t>(strideBytes) * static_cast<size_t>(height) : 0;
    return s;
}

bool Surface::valid() const {
    if (width < 0 || height < 0 || stride < 0) return false;
    if (width == 0 || height == 0) return true;  // nothing is ever drawn
    if (!pixels) return false;
    int64_t rowBytes = sixteenBit() ? int64_t{width} * 2 : (type == PixelType::Index8 ? width : (int64_t{width} + 1) / 2);
    if (stride < rowBytes) return false;
    if (sixteenBit() && ((reinterpret_cast<uintptr_t>(pixels) | static_cast<uintptr_t>(stride)) & 1)) return false;
    // The last row needs only its pixel bytes, not a full stride.
    return static_cast<uint64_t>(stride) * static_cast<uint64_t>(height - 1) + static_cast<uint64_t>(rowBytes) <= bytes;
}

PixelType updateTransparency(const Surface& s) {
    if (!isRgb565(s.type) || !s.valid()) return s.type;
    size_t count = s.bytes / 2;
    const uint16_t* p = static_cast<const uint16_t*>(s.pixels);
    bool keyed = std::find(p, p + count, kKeyColour565) != p + count;
    return keyed ? PixelType::Rgb565Keyed : PixelType::Rgb565;
}

std::optional<Image> Image::allocate(jint width, jint height, uint32_t typeWord, jint extraBytes) {
    PixelType type = pixelTypeFromWord(typeWord & ~kMutableTypeBit);
    std::optional<Layout> layout = computeLayout(width, height, type, extraBytes);
    if (!layout) {
        logLine("Image::allocatePixels: bad size %d x %d", width, height);
        return std::nullopt;
    }
    Image image;
    image.layout_ = *layout;
    image.store_.assign((layout->bytes() + 1) / 2, 0);
    if (typeWord & kMutableTypeBit) {
        if (type == PixelType::Rgb565)
            image.mutable_ = true;
        else
            logFault("imagetype");
    }
    return image;
}

Surface Image::surface() const {
    Surface s;
    s.pixels = const_cast<uint16_t*>(store_.data());
    s.bytes = layout_.bytes();
    s.width = layout_.width;
    s.height = layout_.height;
    s.stride = layout_.stride;
    s.type = layout_.type;
    return s;
}

}  // namespace display

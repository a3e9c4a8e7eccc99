// Pixel stores of images: the layout rules (stride and element count per
// pixel type, computed without overflow and capped), a non-owning Surface
// view that every drawing routine works on, and Image, an owning store for
// native users and tests. The Java Image object keeps its pixels in a Java
// array; the runtime glue builds a Surface over that array's elements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "display/pixel.h"
#include "runtime/jint.h"

namespace display {

using java::jint;

// Largest width or height of any image, and largest pixel count.
constexpr jint kMaxImageDimension = 8192;
constexpr int64_t kMaxImagePixels = 16 * 1024 * 1024;
// Largest extra byte count allocatePixels accepts for byte images.
constexpr jint kMaxExtraBytes = 1 << 20;

// Mutable flag of the allocation type word.
constexpr uint32_t kMutableTypeBit = 0x01000000;

// How a width x height image of a pixel type is stored.
struct Layout {
    jint width = 0;
    jint height = 0;
    jint stride = 0;        // bytes per row
    PixelType type = PixelType::Rgb565;
    size_t elements = 0;    // array elements: shorts for types 0-2, bytes for 3 and 4
    size_t elementSize = 2;
    size_t bytes() const { return elements * elementSize; }
};

// Stride in bytes: 16-bit types round the width up to an even number of
// pixels; type 3 is one byte per pixel, type 4 two pixels per byte.
// Precondition: 0 <= width <= kMaxImageDimension.
constexpr jint strideFor(jint width, PixelType type) {
    switch (type) {
    case PixelType::Rgb565:
    case PixelType::Rgb565Keyed:
    case PixelType::Argb4444: return ((width + 1) & ~1) * 2;
    case PixelType::Index8: return width;
    case PixelType::Index4: break;
    }
    return (width + 1) / 2;
}

// The store of an image: types 0-2 take stride / 2 x height shorts; type 3
// extraBytes + width x height + 1 bytes, type 4 extraBytes + stride x height
// + 1 bytes (pixels first, the extra bytes after them). Empty when a
// dimension is negative or beyond the caps.
std::optional<Layout> computeLayout(jint width, jint height, PixelType type, jint extraBytes = 0);

// A view of a pixel store. Rows start at pixels + y * stride.
struct Surface {
    void* pixels = nullptr;
    size_t bytes = 0;  // size of the store
    jint width = 0;
    jint height = 0;
    jint stride = 0;
    PixelType type = PixelType::Rgb565;

    // A view over an existing 16-bit buffer (the screen's back buffer).
    static Surface wrap16(uint16_t* buffer, jint width, jint height, jint strideBytes,
                          PixelType type = PixelType::Rgb565);

    // Dimensions, stride and store size agree, and 16-bit rows are aligned.
    bool valid() const;
    bool sixteenBit() const { return isSixteenBit(type); }

    uint16_t* row16(jint y) const {
        return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * stride);
    }
    uint8_t* row8(jint y) const { return static_cast<uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * stride; }
    uint16_t& at16(jint x, jint y) const { return row16(y)[x]; }
};

// Type of a 16-bit opaque image after a scan for the key colour: 1 when any
// stored value (row padding included) is 0xF81F, else 0. Images of other
// types keep theirs.
PixelType updateTransparency(const Surface& surface);

// An image whose pixels live on the C++ heap, zero-filled at creation.
class Image {
public:
    // allocatePixels: the type word carries kMutableTypeBit to ask for a
    // mutable image; only type 0 may be mutable (another type logs
    // "imagetype" and stays immutable). Empty on a bad or oversized layout.
    static std::optional<Image> allocate(jint width, jint height, uint32_t typeWord, jint extraBytes = 0);
    static std::optional<Image> createMutable(jint width, jint height) {
        return allocate(width, height, kMutableTypeBit | 0);
    }

    Surface surface() const;
    jint width() const { return layout_.width; }
    jint height() const { return layout_.height; }
    jint stride() const { return layout_.stride; }
    PixelType type() const { return layout_.type; }
    void setType(PixelType type) { layout_.type = type; }
    bool isMutable() const { return mutable_; }
    const Layout& layout() const { return layout_; }

    uint16_t pixel16(jint x, jint y) const { return surface().at16(x, y); }

private:
    Layout layout_;
    bool mutable_ = false;
    std::vector<uint16_t> store_;  // 16-bit words also back byte images
};

}  // namespace display

// PNG decoding for Image.createImage(byte[], offset, length).
//
// The decoder runs in two guarded steps so that the caller can allocate
// the pixel store (a Java array, or an owned Image) between them, with
// the dimensions libpng reports from the header:
//   PngDecoder dec(bytes, size);
//   if (!dec.readHeader()) -> null            (logged)
//   store = allocate(dec.header().width, .height, dec.header().type)
//   if (!dec.decodeInto(store)) -> null       (logged)
//   if type is Rgb565: type = updateTransparency(store)
// createImageFromPng does exactly this with an allocator callback.
//
// Conversion rules: an image with a tRNS chunk becomes RGB565 where alpha 0
// gives the key 0xF81F and any other alpha the opaque colour; an image with
// an alpha channel (RGBA, grey + alpha) becomes ARGB4444; every other image
// RGB565. Palette, grey and low-bit-depth images are expanded to 8-bit RGB
// first, 16-bit channels keep their high byte, interlaced images are
// de-interlaced. Width and height are capped (kMaxImageDimension,
// kMaxImagePixels). A truncated, corrupt or oversized file gives no image
// and one logged error line; a chunk before the image data that runs past
// the end of the file is refused before libpng sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "display/surface.h"

namespace display {

struct PngHeader {
    jint width = 0;
    jint height = 0;
    int bitDepth = 0;
    int colourType = 0;
    bool interlaced = false;
    bool transparency = false;  // a tRNS chunk is present
    PixelType type = PixelType::Rgb565;  // the type to allocate
};

class PngDecoder {
public:
    PngDecoder(const uint8_t* data, size_t size);
    ~PngDecoder();
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    // Reads the signature and the chunks up to the image data.
    bool readHeader();
    const PngHeader& header() const { return header_; }
    // Decodes every row into target, which must be a 16-bit store of
    // header().width x height and header().type.
    bool decodeInto(const Surface& target);

    struct Job;  // libpng state, touched only inside the guarded steps

private:
    Job* job_;
    PngHeader header_;
    bool headerRead_ = false;
};

// The allocator receives the width, height and type and answers the store
// to decode into (nullopt: no image). Answers the final type, or nullopt.
using PngAllocator = std::function<std::optional<Surface>(jint width, jint height, PixelType type)>;
std::optional<PixelType> createImageFromPng(const uint8_t* data, size_t size, const PngAllocator& allocate);

// Decoding into an owned, immutable image.
std::optional<Image> decodePngImage(const uint8_t* data, size_t size);

}  // namespace display

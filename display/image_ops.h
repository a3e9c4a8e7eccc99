// Image natives that read or make pixels: getRGB, createRGBImage and the
// pixel-type decisions they share with PNG decoding. Each checks its array
// ranges completely (offset, scan length, width, height, negatives) before
// touching a pixel; a fault is logged and the call does nothing.
#pragma once

#include <cstddef>
#include <optional>

#include "display/surface.h"

namespace display {

// Copies the width x height area at (x, y) of image as ARGB into argb
// (length elements; nullptr for a null array): row r goes to
// argb[offset + r * scanlength ...]. Types 0 and 1 give opaque colours
// (a type-1 key pixel gives 0), type 2 expands every nibble.
void getRGB(const Surface& image, jint* argb, size_t length, jint offset, jint scanlength, jint x, jint y, jint width,
            jint height);

// createRGBImage in two steps, so that the caller can allocate the pixel
// store itself: rgbImageType checks the arguments (logging and answering
// empty when no image is to be made) and gives the type to allocate;
// fillRGBImage writes the pixels into a fresh store of that type and size
// and answers the image's final type.
std::optional<PixelType> rgbImageType(const jint* argb, size_t length, jint width, jint height, bool processAlpha);
PixelType fillRGBImage(const Surface& target, const jint* argb, size_t length, bool processAlpha);

// Both steps on an owned image.
std::optional<Image> createRGBImage(const jint* argb, size_t length, jint width, jint height, bool processAlpha);

}  // namespace display

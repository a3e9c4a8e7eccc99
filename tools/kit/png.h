// PNG files for test and demo data, written with libpng: 8-bit RGBA from
// ARGB pixels, or 8-bit palette images with a transparency chunk.
#pragma once

#include "tools/kit/bytes.h"

#include <vector>

namespace kit {

// width * height pixels of 0xAARRGGBB, row by row.
Bytes encodePngRgba(int width, int height, const std::vector<uint32_t>& argb);
// width * height palette indices; the palette (1-256 ARGB colours) becomes
// PLTE, its alphas tRNS (left out when every colour is opaque).
Bytes encodePngIndexed(int width, int height, const std::vector<uint8_t>& indices, const std::vector<uint32_t>& palette);

}  // namespace kit

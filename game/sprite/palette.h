// Palette colour formats and the module pixel decoders, as plain functions
// over native memory (the sprite classes call them with their arrays'
// elements; benchmarks and the fuzz target call them directly).
//
// Decoding invariants: a decoder reads only the block it is given and
// writes exactly n pixels: it stops at n pixels whatever the runs say, an
// index outside the palette gives a transparent pixel (0), and pixels that
// a short block does not cover are transparent.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/jint.h"

namespace sprite {

using java::jint;

// One native palette value (u32 for 0x8888, u16 for the others) as ARGB;
// sets *transparency / *translucency as the format's rules say.
uint32_t paletteToArgb(int format, uint32_t native, bool* transparency, bool* translucency);

// Bits a 0x64F0 run byte keeps for the index: the bits needed for
// colours - 1 (0 for one colour; 8 for 256).
int runShiftFor(int colours);

// Decodes n pixels of a pixel format from block[0, length) through the
// palette (colours entries) into out. Formats without a decoder (0xA640)
// and unknown ones give n transparent pixels.
void decodeIndexed(int format, const uint8_t* block, size_t length, const jint* palette, int colours, int indexMask,
                   int runShift, jint* out, size_t n);

}  // namespace sprite

// Test fixtures: PNG files written in memory with libpng's write side, and
// small byte surgery on them (chunk lookup, CRC repair).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace display::test {

struct Rgba {
    uint8_t r, g, b, a;
};

struct PngRecipe {
    int width = 1;
    int height = 1;
    int colourType = 2;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth = 8;
    bool interlaced = false;
    // Sample values per pixel, as many as the colour type has channels, each
    // in 0 .. 2^bitDepth - 1 (palette: the index).
    std::function<std::vector<int>(int x, int y)> samples;
    std::vector<Rgba> palette;        // with alpha: a tRNS chunk of the alphas
    bool paletteAlpha = false;
    bool colourKey = false;           // tRNS of one grey / RGB value
    int keyGrey = 0;
    int keyRed = 0, keyGreen = 0, keyBlue = 0;
    bool textChunk = false;           // an ancillary tEXt chunk before the data
};

std::vector<uint8_t> writePng(const PngRecipe& recipe);

// Offset of the first chunk of the type (its length field), or -1.
long findChunk(const std::vector<uint8_t>& png, const char type[4]);
// Recomputes the CRC of the chunk at offset.
void fixCrc(std::vector<uint8_t>& png, long offset);
uint32_t readBe32(const std::vector<uint8_t>& png, long offset);
void writeBe32(std::vector<uint8_t>& png, long offset, uint32_t value);

}  // namespace display::test

// libpng write side for the PNG fixtures. A write error is a broken test,
// so the error callback aborts instead of jumping.
#include "tests/display/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace display::test {
namespace {

void writeCallback(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushCallback(png_structp) {}
[[noreturn]] void errorCallback(png_structp, png_const_charp message) {
    std::fprintf(stderr, "PNG fixture writer: %s\n", message);
    std::abort();
}
void warningCallback(png_structp, png_const_charp) {}

int channelsOf(int colourType) {
    switch (colourType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    default: return 4;
    }
}

}  // namespace

std::vector<uint8_t> writePng(const PngRecipe& recipe) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, errorCallback, warningCallback);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, writeCallback, flushCallback);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colourType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty()) {
        std::vector<png_color> colours;
        std::vector<png_byte> alphas;
        for (const Rgba& c : recipe.palette) {
            colours.push_back({c.r, c.g, c.b});
            alphas.push_back(c.a);
        }
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
        if (recipe.paletteAlpha) png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    if (recipe.colourKey) {
        png_color_16 key{};
        key.gray = static_cast<png_uint_16>(recipe.keyGrey);
        key.red = static_cast<png_uint_16>(recipe.keyRed);
        key.green = static_cast<png_uint_16>(recipe.keyGreen);
        key.blue = static_cast<png_uint_16>(recipe.keyBlue);
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_text text{};
    if (recipe.textChunk) {
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<char*>("Comment");
        text.text = const_cast<char*>("fixture");
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);

    const int channels = channelsOf(recipe.colourType);
    const size_t rowBytes = (static_cast<size_t>(recipe.width) * channels * recipe.bitDepth + 7) / 8;
    std::vector<std::vector<uint8_t>> rows(recipe.height, std::vector<uint8_t>(rowBytes, 0));
    for (int y = 0; y < recipe.height; ++y) {
        size_t bit = 0;
        for (int x = 0; x < recipe.width; ++x) {
            std::vector<int> s = recipe.samples(x, y);
            for (int c = 0; c < channels; ++c) {
                const int v = s.at(c);
                if (recipe.bitDepth == 16) {
                    rows[y][bit / 8] = static_cast<uint8_t>(v >> 8);
                    rows[y][bit / 8 + 1] = static_cast<uint8_t>(v);
                } else if (recipe.bitDepth == 8) {
                    rows[y][bit / 8] = static_cast<uint8_t>(v);
                } else {
                    const int shift = 8 - recipe.bitDepth - static_cast<int>(bit % 8);
                    rows[y][bit / 8] |= static_cast<uint8_t>(v << shift);
                }
                bit += recipe.bitDepth;
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (auto& r : rows) pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

uint32_t readBe32(const std::vector<uint8_t>& png, long offset) {
    return static_cast<uint32_t>(png[offset]) << 24 | static_cast<uint32_t>(png[offset + 1]) << 16 |
           static_cast<uint32_t>(png[offset + 2]) << 8 | png[offset + 3];
}

void writeBe32(std::vector<uint8_t>& png, long offset, uint32_t value) {
    png[offset] = static_cast<uint8_t>(value >> 24);
    png[offset + 1] = static_cast<uint8_t>(value >> 16);
    png[offset + 2] = static_cast<uint8_t>(value >> 8);
    png[offset + 3] = static_cast<uint8_t>(value);
}

long findChunk(const std::vector<uint8_t>& png, const char type[4]) {
    long at = 8;
    while (at + 8 <= static_cast<long>(png.size())) {
        if (std::memcmp(&png[at + 4], type, 4) == 0) return at;
        at += 12 + static_cast<long>(readBe32(png, at));
    }
    return -1;
}

void fixCrc(std::vector<uint8_t>& png, long offset) {
    const uint32_t length = readBe32(png, offset);
    const uLong crc = crc32(0, &png[offset + 4], 4 + length);
    writeBe32(png, offset + 8 + static_cast<long>(length), static_cast<uint32_t>(crc));
}

}  // namespace display::test

// PNG writer over libpng's write path with an in-memory sink. Everything
// libpng needs is prepared before its set-jump point, so an error that
// jumps back leaves nothing half-built.
#include "tools/kit/png.h"

#include <png.h>

#include <csetjmp>
#include <string>

namespace kit {

namespace {

struct Job {
    Bytes out;
    std::string error;
    int width = 0, height = 0, colorType = 0;
    std::vector<png_bytep> rows;
    std::vector<png_color> plte;
    std::vector<png_byte> trns;
};

void sink(png_structp png, png_bytep data, png_size_t len) {
    auto* job = static_cast<Job*>(png_get_io_ptr(png));
    job->out.insert(job->out.end(), data, data + len);
}

void flushNothing(png_structp) {}

void onError(png_structp png, png_const_charp msg) {
    auto* job = static_cast<Job*>(png_get_error_ptr(png));
    job->error = msg ? msg : "unknown error";
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

bool runLibpng(Job& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, onError, onWarning);
    if (!png) {
        job.error = "cannot create a write struct";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        job.error = "cannot create an info struct";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &job, sink, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.width), static_cast<png_uint_32>(job.height), 8, job.colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!job.plte.empty()) png_set_PLTE(png, info, job.plte.data(), static_cast<int>(job.plte.size()));
    if (!job.trns.empty()) png_set_tRNS(png, info, job.trns.data(), static_cast<int>(job.trns.size()), nullptr);
    png_write_info(png, info);
    png_write_image(png, job.rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

void checkSize(int width, int height, size_t pixels) {
    if (width < 1 || height < 1 || width > 0x7FFF || height > 0x7FFF)
        throw KitError("PNG size " + std::to_string(width) + "x" + std::to_string(height) + " out of range");
    if (pixels != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw KitError("PNG pixel count does not match its size");
}

Bytes finish(Job& job) {
    if (!runLibpng(job)) throw KitError("libpng: " + job.error);
    return std::move(job.out);
}

}  // namespace

Bytes encodePngRgba(int width, int height, const std::vector<uint32_t>& argb) {
    checkSize(width, height, argb.size());
    std::vector<png_byte> pixels(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        uint32_t c = argb[i];
        pixels[i * 4] = static_cast<png_byte>(c >> 16);
        pixels[i * 4 + 1] = static_cast<png_byte>(c >> 8);
        pixels[i * 4 + 2] = static_cast<png_byte>(c);
        pixels[i * 4 + 3] = static_cast<png_byte>(c >> 24);
    }
    Job job;
    job.width = width;
    job.height = height;
    job.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    for (int y = 0; y < height; ++y) job.rows.push_back(&pixels[static_cast<size_t>(y) * static_cast<size_t>(width) * 4]);
    return finish(job);
}

Bytes encodePngIndexed(int width, int height, const std::vector<uint8_t>& indices, const std::vector<uint32_t>& palette) {
    checkSize(width, height, indices.size());
    if (palette.empty() || palette.size() > 256) throw KitError("PNG palette must hold 1-256 colours");
    for (uint8_t i : indices)
        if (i >= palette.size()) throw KitError("PNG pixel index outside the palette");
    std::vector<png_byte> pixels(indices.begin(), indices.end());
    Job job;
    job.width = width;
    job.height = height;
    job.colorType = PNG_COLOR_TYPE_PALETTE;
    bool translucent = false;
    for (uint32_t c : palette) {
        job.plte.push_back(png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
        job.trns.push_back(static_cast<png_byte>(c >> 24));
        translucent = translucent || (c >> 24) != 0xFF;
    }
    if (!translucent) job.trns.clear();
    for (int y = 0; y < height; ++y) job.rows.push_back(&pixels[static_cast<size_t>(y) * static_cast<size_t>(width)]);
    return finish(job);
}

}  // namespace kit

// libpng read side. libpng reports errors by a long jump back to the
// setjmp of the step that called it. The two guarded steps below are
// C-style frames: their locals are trivially destructible, and the frames
// the jump passes over are libpng's own and the read / error callbacks
// here, which hold nothing with a destructor. Buffers are owned by the
// caller's frame (decodeInto), which the jump never crosses; all state a
// step changes lives in the Job, so nothing depends on non-volatile locals
// after the jump.
#include "display/png_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "display/log.h"

namespace display {

struct PngDecoder::Job {
    png_structp png;
    png_infop info;
    const uint8_t* data;
    size_t size;
    size_t pos;
    int passes;
    size_t rowBytes;
    int channels;
    char message[192];
};

namespace {

// The chunks before the image data each lie whole in the file (length,
// type, data and CRC): libpng sets aside and clears a buffer of a chunk's
// declared size before it reads the data, so a header claiming 2 GB in a
// short file cost seconds before the file was found short. Writes the
// reason into `why` when one does not fit. The image data is read through
// a small buffer of libpng's own, and chunks after it are never read.
bool chunksBeforeTheImageFit(const uint8_t* data, size_t size, char* why, size_t whyBytes) {
    size_t pos = 8;
    while (size - pos >= 8) {
        const uint32_t length = (uint32_t{data[pos]} << 24) | (uint32_t{data[pos + 1]} << 16) |
                                (uint32_t{data[pos + 2]} << 8) | uint32_t{data[pos + 3]};
        const uint8_t* type = data + pos + 4;
        if (std::memcmp(type, "IDAT", 4) == 0) return true;
        if (length > size - pos - 8 || size - pos - 8 - length < 4) {
            char name[5];
            for (int i = 0; i < 4; ++i) name[i] = (type[i] >= 0x20 && type[i] < 0x7F) ? static_cast<char>(type[i]) : '?';
            name[4] = 0;
            std::snprintf(why, whyBytes, "chunk %s of %u bytes runs past the end of the file", name, length);
            return false;
        }
        pos += 12 + size_t{length};
    }
    return true;
}

void readCallback(png_structp png, png_bytep out, size_t count) {
    auto* job = static_cast<PngDecoder::Job*>(png_get_io_ptr(png));
    if (count > job->size - job->pos) png_error(png, "file truncated");
    std::memcpy(out, job->data + job->pos, count);
    job->pos += count;
}

void errorCallback(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngDecoder::Job*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", message ? message : "unknown error");
    png_longjmp(png, 1);
}

void warningCallback(png_structp, png_const_charp) {}  // ancillary trouble is not worth a line

// Step 1: signature, chunks up to the image data, the transformations.
bool readInfoGuarded(PngDecoder::Job* job, PngHeader* header) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    png_set_user_limits(job->png, kMaxImageDimension, kMaxImageDimension);
    png_read_info(job->png, job->info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(job->png, job->info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    header->width = static_cast<jint>(width);
    header->height = static_cast<jint>(height);
    header->bitDepth = depth;
    header->colourType = colourType;
    header->interlaced = interlace != PNG_INTERLACE_NONE;
    header->transparency = png_get_valid(job->png, job->info, PNG_INFO_tRNS) != 0;

    // Everything becomes 8-bit RGB, or RGBA when there is alpha or tRNS.
    png_set_expand(job->png);
    if (depth == 16) png_set_strip_16(job->png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(job->png);
    job->passes = png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);
    job->rowBytes = png_get_rowbytes(job->png, job->info);
    job->channels = png_get_channels(job->png, job->info);
    return true;
}

enum class Conversion { Keyed, Argb4444, Rgb565 };

void convertRow(Conversion conversion, const uint8_t* s, uint16_t* d, jint width) {
    switch (conversion) {
    case Conversion::Keyed:  // RGBA: alpha 0 is the key, any other alpha opaque
        for (jint i = 0; i < width; ++i, s += 4)
            d[i] = s[3] == 0 ? kKeyColour565
                             : static_cast<uint16_t>((s[0] >> 3) << 11 | (s[1] >> 2) << 5 | (s[2] >> 3));
        break;
    case Conversion::Argb4444:
        for (jint i = 0; i < width; ++i, s += 4)
            d[i] = static_cast<uint16_t>((s[3] >> 4) << 12 | (s[0] >> 4) << 8 | (s[1] >> 4) << 4 | (s[2] >> 4));
        break;
    case Conversion::Rgb565:
        for (jint i = 0; i < width; ++i, s += 3)
            d[i] = static_cast<uint16_t>((s[0] >> 3) << 11 | (s[1] >> 2) << 5 | (s[2] >> 3));
        break;
    }
}

// Step 2: the rows. An interlaced image is read whole into rows (its
// passes fill the rows in place); any other row by row through rowBuffer.
bool readRowsGuarded(PngDecoder::Job* job, const Surface* target, Conversion conversion, uint8_t* rowBuffer,
                     uint8_t** rows) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    if (rows) {
        png_read_image(job->png, rows);
        for (jint y = 0; y < target->height; ++y) convertRow(conversion, rows[y], target->row16(y), target->width);
    } else {
        for (jint y = 0; y < target->height; ++y) {
            png_read_row(job->png, rowBuffer, nullptr);
            convertRow(conversion, rowBuffer, target->row16(y), target->width);
        }
    }
    return true;
}

}  // namespace

PngDecoder::PngDecoder(const uint8_t* data, size_t size) : job_(new Job{}) {
    job_->data = data;
    job_->size = data ? size : 0;
    job_->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job_, errorCallback, warningCallback);
    if (job_->png) {
        job_->info = png_create_info_struct(job_->png);
        png_set_read_fn(job_->png, job_, readCallback);
    }
}

PngDecoder::~PngDecoder() {
    if (job_->png) png_destroy_read_struct(&job_->png, job_->info ? &job_->info : nullptr, nullptr);
    delete job_;
}

bool PngDecoder::readHeader() {
    if (!job_->png || !job_->info) {
        logLine("Image::createImage: PNG decoder unavailable");
        return false;
    }
    if (job_->size < 8 || png_sig_cmp(job_->data, 0, 8) != 0) {
        logLine("Image::createImage: not a PNG file");
        return false;
    }
    if (!chunksBeforeTheImageFit(job_->data, job_->size, job_->message, sizeof job_->message) ||
        !readInfoGuarded(job_, &header_)) {
        logLine("Image::createImage: PNG error: %s", job_->message);
        return false;
    }
    if (!computeLayout(header_.width, header_.height, PixelType::Rgb565)) {
        logLine("Image::createImage: PNG of %d x %d pixels is too large", header_.width, header_.height);
        return false;
    }
    const bool alpha = header_.colourType & PNG_COLOR_MASK_ALPHA;
    const int channels = (alpha || header_.transparency) ? 4 : 3;
    if (job_->channels != channels || job_->rowBytes != static_cast<size_t>(header_.width) * channels) {
        logLine("Image::createImage: PNG row layout not supported (colour type %d, depth %d)", header_.colourType,
                header_.bitDepth);
        return false;
    }
    header_.type = (alpha && !header_.transparency) ? PixelType::Argb4444 : PixelType::Rgb565;
    headerRead_ = true;
    return true;
}

bool PngDecoder::decodeInto(const Surface& target) {
    if (!headerRead_ || target.width != header_.width || target.height != header_.height ||
        target.type != header_.type || !target.valid()) {
        logLine("Image::createImage: PNG target does not match the header");
        return false;
    }
    const Conversion conversion = header_.transparency                      ? Conversion::Keyed
                                  : header_.type == PixelType::Argb4444 ? Conversion::Argb4444
                                                                         : Conversion::Rgb565;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t*> rows;
    if (job_->passes > 1) {
        pixels.resize(job_->rowBytes * static_cast<size_t>(header_.height));
        rows.resize(static_cast<size_t>(header_.height));
        for (size_t y = 0; y < rows.size(); ++y) rows[y] = pixels.data() + y * job_->rowBytes;
    } else {
        pixels.resize(job_->rowBytes);
    }
    if (!readRowsGuarded(job_, &target, conversion, pixels.data(), rows.empty() ? nullptr : rows.data())) {
        logLine("Image::createImage: PNG error: %s", job_->message);
        return false;
    }
    return true;
}

std::optional<PixelType> createImageFromPng(const uint8_t* data, size_t size, const PngAllocator& allocate) {
    PngDecoder decoder(data, size);
    if (!decoder.readHeader()) return std::nullopt;
    const PngHeader& h = decoder.header();
    std::optional<Surface> target = allocate(h.width, h.height, h.type);
    if (!target || !decoder.decodeInto(*target)) return std::nullopt;
    return h.type == PixelType::Rgb565 ? updateTransparency(*target) : h.type;
}

std::optional<Image> decodePngImage(const uint8_t* data, size_t size) {
    std::optional<Image> image;
    std::optional<PixelType> type =
        createImageFromPng(data, size, [&](jint w, jint h, PixelType t) -> std::optional<Surface> {
            image = Image::allocate(w, h, static_cast<uint32_t>(t));
            if (!image) return std::nullopt;
            return image->surface();
        });
    if (!type) return std::nullopt;
    image->setType(*type);
    return image;
}

}  // namespace display

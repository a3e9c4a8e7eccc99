// Image natives and converted creation forms over the display core.
//
// Every routine that allocates re-reads array element pointers afterwards:
// PNG bytes are copied out of the Java array before the image is made, and
// createRGBImage reads the ARGB elements again after allocating the store.
#include "display/lcdui/image.h"

#include <cstring>
#include <optional>
#include <vector>

#include "display/image_ops.h"
#include "display/lcdui/graphics.h"
#include "display/log.h"
#include "display/png_decode.h"
#include "io/resource.h"
#include "runtime/log.h"
#include "runtime/statics.h"

using display::PixelType;
using Image = javax_microedition_lcdui_Image;

namespace {

// Element pointer of an int array for the core: a present but empty array
// is a valid pointer with length 0 (so the core reports a length fault, not
// a null array).
const jint* intsOf(IntArray* a) {
    static const jint kNone = 0;
    if (!a) return nullptr;
    return a->data() ? a->data() : &kNone;
}
size_t lengthOf(const ArrayBase* a) { return a && a->rawElements() ? static_cast<size_t>(a->length()) : 0; }

}  // namespace

javax_microedition_lcdui_Image::javax_microedition_lcdui_Image() : Object(cid::javax_microedition_lcdui_Image) {
    StaticClass::setRefFieldOffsets(this, {&m_pixels});
    clearFields();
}

void Image::clearFields() {
    m_pixels = nullptr;
    m_width = 0;
    m_height = 0;
    m_stride = 0;
    m_mutable = 0;
    m_type = 0;
}

javax_microedition_lcdui_Graphics* Image::getGraphics() {
    if (!m_mutable) display::logFault("!mutable");
    return javax_microedition_lcdui_Graphics::make(this);
}

jint Image::getWidth() { return m_width; }
jint Image::getHeight() { return m_height; }

display::Surface Image::surface() const {
    display::Surface s;
    if (!m_pixels || !m_pixels->rawElements()) return s;
    const PixelType type = pixelType();
    const bool shorts = m_pixels->classId() == cid::ShortArray;
    if (shorts != display::isSixteenBit(type) || (!shorts && m_pixels->classId() != cid::ByteArray)) return s;
    s.pixels = m_pixels->rawElements();
    s.bytes = static_cast<size_t>(m_pixels->length()) * (shorts ? 2 : 1);
    s.width = m_width;
    s.height = m_height;
    s.stride = m_stride;
    s.type = type;
    return s;
}

// --- allocation --------------------------------------------------------------------

void Image::allocatePixels(Image* image, jint width, jint height, jint typeWord, jint extraBytes) {
    if (!image) {
        rt::logNullPointer();
        return;
    }
    const uint32_t word = static_cast<uint32_t>(typeWord);
    const PixelType type = display::pixelTypeFromWord(word & ~display::kMutableTypeBit);
    const std::optional<display::Layout> layout = display::computeLayout(width, height, type, extraBytes);
    if (!layout || layout->elements > static_cast<size_t>(INT32_MAX)) {
        display::logLine("Image::allocatePixels: bad size %d x %d (type %u, extra %d)", width, height,
                         static_cast<unsigned>(type), extraBytes);
        return;
    }
    const jint elements = static_cast<jint>(layout->elements);
    ArrayBase* pixels = display::isSixteenBit(type) ? static_cast<ArrayBase*>(newShortArray(elements))
                                                    : static_cast<ArrayBase*>(newByteArray(elements));
    if (!pixels || pixels->length() != elements || (elements > 0 && !pixels->rawElements())) {
        display::logLine("Image::allocatePixels: no room for %d x %d", width, height);
        return;
    }
    image->m_pixels = pixels;
    image->m_width = width;
    image->m_height = height;
    image->m_stride = layout->stride;
    image->m_type = static_cast<jint>(type);
    if (word & display::kMutableTypeBit) {
        if (type == PixelType::Rgb565)
            image->m_mutable = 1;
        else
            display::logFault("imagetype");
    }
}

void Image::initImage(jint width, jint height, jint typeWord, jint extraBytes) {
    clearFields();
    allocatePixels(this, width, height, typeWord, extraBytes);
}

Image* Image::make(jint width, jint height, jint typeWord, jint extraBytes) {
    Image* image = newObject<Image>();
    image->initImage(width, height, typeWord, extraBytes);
    return image;
}

// --- creation forms ------------------------------------------------------------------

Image* Image::createImage(jint width, jint height) {
    return make(width, height, static_cast<jint>(display::kMutableTypeBit), 0);
}

Image* Image::createImage(Image* src, jint x, jint y, jint width, jint height, jint transform) {
    const bool exchanged = transform >= display::kTransMirrorRot270 && transform <= display::kTransMirrorRot90;
    Image* image = createImage(exchanged ? height : width, exchanged ? width : height);
    javax_microedition_lcdui_Graphics* g = image->getGraphics();
    g->drawRegion(src, x, y, width, height, transform, 0, 0, display::kTop | display::kLeft);
    return image;
}

Image* Image::createImage(ByteArray* data, jint offset, jint length) {
    if (!data) {
        rt::logNullPointer();
        return nullptr;
    }
    if (offset < 0 || length < 0 || int64_t{offset} + length > int64_t{data->length()} ||
        (length > 0 && !data->rawElements())) {
        display::logFault("createImage offset, length");
        return nullptr;
    }
    // The bytes are copied out first: making the image may move the array.
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0) std::memcpy(bytes.data(), data->data() + offset, bytes.size());
    data = nullptr;

    Image* image = nullptr;
    const std::optional<PixelType> type = display::createImageFromPng(
        bytes.data(), bytes.size(), [&image](jint w, jint h, PixelType t) -> std::optional<display::Surface> {
            image = make(w, h, static_cast<jint>(t), 0);
            if (!image->m_pixels) return std::nullopt;
            return image->surface();
        });
    if (!type) return nullptr;
    image->m_type = static_cast<jint>(*type);
    return image;
}

Image* Image::createImage(String* name) {
    if (!name) {
        rt::logNullPointer();
        return nullptr;
    }
    ByteArray* data = bramble::io::readResource(name);
    if (!data) {
        display::logLine("Image::createImage: no resource %s", toUtf8(name).c_str());
        return nullptr;
    }
    return createImage(data, 0, data->length());
}

Image* Image::createRGBImage(IntArray* argb, jint width, jint height, jboolean processAlpha) {
    const std::optional<PixelType> type = display::rgbImageType(intsOf(argb), lengthOf(argb), width, height,
                                                                processAlpha != 0);
    if (!type) return nullptr;
    Image* image = make(width, height, static_cast<jint>(*type), 0);
    if (!image->m_pixels) return nullptr;
    // Elements re-read after the allocation above.
    image->m_type = static_cast<jint>(
        display::fillRGBImage(image->surface(), intsOf(argb), lengthOf(argb), processAlpha != 0));
    return image;
}

// --- pixels ------------------------------------------------------------------------

void Image::getRGB(IntArray* argb, jint offset, jint scanlength, jint x, jint y, jint width, jint height) {
    display::getRGB(surface(), const_cast<jint*>(intsOf(argb)), lengthOf(argb), offset, scanlength, x, y, width,
                    height);
}

void Image::updateTransparency() {
    if (!m_pixels || m_pixels->classId() != cid::ShortArray) return;
    m_type = static_cast<jint>(display::updateTransparency(surface()));
}

ShortArray* Image::getPixelShorts(Image* image) {
    if (!image) {
        rt::logNullPointer();
        return nullptr;
    }
    if (image->m_pixels && image->m_pixels->classId() == cid::ShortArray) return static_cast<ShortArray*>(image->m_pixels);
    rt::logWithStackTrace("");
    return nullptr;
}

ByteArray* Image::getPixelBytes(Image* image) {
    if (!image) {
        rt::logNullPointer();
        return nullptr;
    }
    if (image->m_pixels && image->m_pixels->classId() == cid::ByteArray) return static_cast<ByteArray*>(image->m_pixels);
    rt::logWithStackTrace("");
    return nullptr;
}

// --- the screen image ----------------------------------------------------------------

Image* Image::createScreenImage(jint width, jint height, uint16_t* buffer) {
    auto* image = newObject<javax_microedition_lcdui_ScreenImage>();
    image->initScreen(width, height, buffer);
    return image;
}

void javax_microedition_lcdui_ScreenImage::initScreen(jint width, jint height, uint16_t* buffer) {
    clearFields();
    const std::optional<display::Layout> layout = display::computeLayout(width, height, PixelType::Rgb565);
    if (!layout) {
        rt::logWithStackTrace("length of array should be >= 0");
    } else {
        m_stride = layout->stride;
        if (buffer) m_pixels = ShortArray::wrapExternal(reinterpret_cast<jshort*>(buffer), static_cast<jint>(layout->elements));
    }
    m_width = width;
    m_height = height;
    m_mutable = 1;
}

// ARGB pixel arrays: the eight transforms into the work buffers, the
// transformed draw, the quarter turn of an Image, and the frame builders
// (an ARGB array, an Image or a palette-index bitmap of one frame). Frames
// are rendered in game orientation (the module painter's turn is off while
// they are) on a background of the magenta key, which is read back as
// transparent.
#include <algorithm>
#include <cstring>

#include "game/sprite/gfx.h"
#include "game/sprite/host.h"
#include "game/sprite/internal.h"
#include "game/sprite/sprite.h"
#include "runtime/log.h"

using namespace sprite;

namespace {

// The eight transforms (output w x h; for codes 4-7 the source is h wide).
void transformPixels(const jint* src, jint* out, jint w, jint h, jint t) {
    switch (t & 7) {
    case 0: std::copy_n(src, static_cast<size_t>(w) * h, out); break;
    case 1:
        for (jint y = 0; y < h; ++y) std::reverse_copy(src + y * w, src + y * w + w, out + y * w);
        break;
    case 2:
        for (jint y = 0; y < h; ++y) std::copy_n(src + (h - 1 - y) * w, w, out + y * w);
        break;
    case 3: std::reverse_copy(src, src + static_cast<size_t>(w) * h, out); break;
    case 4:
        for (jint y = 0; y < h; ++y)
            for (jint x = 0; x < w; ++x) out[y * w + x] = src[(w - 1 - x) * h + y];
        break;
    case 5:
        for (jint y = 0; y < h; ++y)
            for (jint x = 0; x < w; ++x) out[y * w + x] = src[(w - 1 - x) * h + (h - 1 - y)];
        break;
    case 6:
        for (jint y = 0; y < h; ++y)
            for (jint x = 0; x < w; ++x) out[y * w + x] = src[x * h + y];
        break;
    case 7:
        for (jint y = 0; y < h; ++y)
            for (jint x = 0; x < w; ++x) out[y * w + x] = src[x * h + (h - 1 - y)];
        break;
    }
}

// Frames are rendered in game orientation with their nested frames painted
// directly (no rotation is taken up meanwhile); both come back afterwards.
class FrameRender {
public:
    explicit FrameRender(cSprite* s) : m_sprite(s), m_orientation(as().gameOrientation), m_busy(s->scaledPaintBusy) {
        as().gameOrientation = 1;
        s->scaledPaintBusy = 1;
    }
    ~FrameRender() {
        as().gameOrientation = m_orientation;
        m_sprite->scaledPaintBusy = m_busy;
    }

private:
    cSprite* m_sprite;
    jboolean m_orientation;
    jboolean m_busy;
};

// A mutable image of w x h filled with the magenta key, and its Graphics.
gfx::Graphics* keyedCanvas(jint w, jint h, gfx::Image** image) {
    *image = gfx::createImage(w, h);
    gfx::Graphics* g = gfx::getGraphics(*image);
    if (!g) return nullptr;
    gfx::setColor(g, 0xFF00FF);
    gfx::fillRect(g, 0, 0, w, h);
    return g;
}

}  // namespace

IntArray* ASprite::transformRGB(IntArray* src, jint w, jint h, jint t) {
    if ((t & 7) == 0) return src;
    if (!src || w < 0 || h < 0 || int64_t{w} * h > src->length()) {
        logPrintf("ASprite::transformRGB: %dx%d pixels from %d", w, h, src ? src->length() : -1);
        return nullptr;
    }
    if (!ensureWorkBuffers(w * h)) return nullptr;
    IntArray* target = src == as().workPixels ? as().workPixels2 : as().workPixels;
    transformPixels(src->data(), target->data(), w, h, t);
    return target;
}

void ASprite::drawRGBTransformed(gfx::Graphics* g, IntArray* rgb, jint offset, jint scan, jint x, jint y, jint w,
                                 jint h, bool processAlpha, jint t) {
    if (!g) {
        rt::logNullPointer();
        return;
    }
    if (t & 7) {
        if (!rgb || w < 1 || h < 1) return;
        if (offset != 0 || scan != w) {
            // The transforms read packed pixels: pack the rows first.
            if (offset < 0 || scan < 0 || int64_t{offset} + int64_t{scan} * (h - 1) + w > rgb->length()) {
                logPrintf("ASprite::drawRGBTransformed: %dx%d pixels at %d, scan %d, from %d", w, h, offset, scan,
                          rgb->length());
                return;
            }
            if (!ensureWorkBuffers(w * h)) return;
            IntArray* packed = rgb == as().workPixels ? as().workPixels2 : as().workPixels;
            for (jint r = 0; r < h; ++r) std::copy_n(rgb->data() + offset + r * scan, w, packed->data() + r * w);
            rgb = packed;
        }
        if (t & kTurn) std::swap(w, h);
        rgb = transformRGB(rgb, w, h, t);
        if (!rgb) return;
        offset = 0;
        scan = w;
    }
    gfx::drawRGB(g, rgb, offset, scan, x, y, w, h, processAlpha);
}

javax_microedition_lcdui_Image* ASprite::rotateImage(gfx::Image* img) {
    if (!img) return nullptr;
    const jint w = gfx::imageWidth(img), h = gfx::imageHeight(img);
    if (w < 1 || h < 1) return img;
    IntArray* pixels = newIntArray(w * h);
    gfx::getRGB(img, pixels, 0, w, 0, 0, w, h);
    IntArray* turned = newIntArray(w * h);
    // Output pixel (h - 1 - y, x), in an image h wide, is source (x, y).
    const jint* in = pixels->data();
    jint* out = turned->data();
    for (jint y = 0; y < h; ++y)
        for (jint x = 0; x < w; ++x) out[x * h + (h - 1 - y)] = in[y * w + x];
    gfx::Image* result = gfx::createRGBImage(turned, h, w, true);
    return result ? result : img;
}

void cSprite::flipPixels(IntArray* pixels, jint w, jint h, jint flags) {
    if (!pixels || w < 1 || h < 1 || int64_t{w} * h > pixels->length()) return;
    jint* p = pixels->data();
    if (flags & kMirror)
        for (jint y = 0; y < h; ++y) std::reverse(p + y * w, p + y * w + w);
    if (flags & kFlip)
        for (jint y = 0; y < h / 2; ++y) std::swap_ranges(p + y * w, p + y * w + w, p + (h - 1 - y) * w);
}

// --- frame images ---------------------------------------------------------------------------

IntArray* BSprite::buildFrameImage(jint frame, jint palette, IntArray* buf) {
    if (!validFrame(frame)) return buf;
    const Box b = measureFrame(frame, 0, 0, 0);
    jint w, h;
    if (!boxSize(b, &w, &h)) return buf;
    if (!buf || buf->length() < w * h) buf = newIntArray(w * h);
    const jint saved = currentPalette;
    if (palette >= 0 && palette < paletteCount) currentPalette = palette;
    gfx::Image* image;
    gfx::Graphics* g = keyedCanvas(w, h, &image);
    if (g) {
        FrameRender render(this);
        paintFrameModules(g, frame, -b.minX, -b.minY, 0, 0, 0);
    }
    gfx::getRGB(image, buf, 0, w, 0, 0, w, h);
    const jint key = gfx::getDisplayColor(0xFF00FF) & 0xFFFFFF;
    bool changed = false;
    jint* p = buf->data();
    for (jint i = 0; i < w * h; ++i)
        if ((p[i] & 0xFFFFFF) == key) {
            p[i] = 0x00FF00FF;
            changed = true;
        }
    as().frameImageHasAlpha = changed;
    currentPalette = saved;
    recordFrameBox(this, frame, b.minX, b.minY, w, h);
    return buf;
}

javax_microedition_lcdui_Image* BSprite::buildFrameImageAsImage(jint frame, jint palette) {
    if (!validFrame(frame)) return nullptr;
    jint w, h;
    if (!boxSize(measureFrame(frame, 0, 0, 0), &w, &h)) return nullptr;
    IntArray* pixels = buildFrameImage(frame, palette, nullptr);
    return gfx::createRGBImage(pixels, w, h, as().frameImageHasAlpha);
}

void cSprite::buildFrameIndexImages(jint first, jint last) {
    BSprite* s = self();
    const jint frames = getFrameCount();
    IntArray* original = paletteArray(0);
    if (frames < 1 || !original) return;
    if (last < 0 || last >= frames) last = frames - 1;
    first = std::max<jint>(first, 0);
    ObjectArray* images = newObjectArray(cid::ByteArray, frames);
    frameIndexImages = images;
    IntArray* backgrounds = IntArray::make(frames);
    frameIndexBackground = backgrounds;

    // Palette 0 becomes an encoding palette whose index bits survive the
    // 16-bit display format; the caches are set aside so that every module
    // is decoded through it.
    const jint colours = original->length();
    IntArray* encoding = newIntArray(colours);
    for (jint i = 0; i < colours; ++i)
        encoding->data()[i] = static_cast<jint>(0xFF000000u | (i & 7) << 5 | ((i >> 3) & 7) << 13 | ((i >> 6) & 3) << 21);
    if (transparentIndex >= 0 && transparentIndex < colours) encoding->data()[transparentIndex] = 0xFF00FF;
    original = paletteArray(0);
    palettes->data()[0] = encoding;
    ObjectArray* savedCaches[4] = {moduleRGBCache, moduleImageCache, frameRGBCache, frameImageCache};
    moduleRGBCache = moduleImageCache = frameRGBCache = frameImageCache = nullptr;
    const jint savedPalette = currentPalette;

    for (jint f = first; f <= last; ++f) {
        const Box b = measureFrame(f, 0, 0, 0);
        frameIndexBackground->data()[f] = -1;
        jint w, h;
        if (!boxSize(b, &w, &h)) {
            // An empty frame has an empty image; one too large has none.
            if (b.maxX <= b.minX || b.maxY <= b.minY) {
                ByteArray* none = newByteArray(0);
                frameIndexImages->data()[f] = none;
            }
            continue;
        }
        ByteArray* indices = newByteArray(w * h);
        frameIndexImages->data()[f] = indices;
        currentPalette = 0;
        gfx::Image* image;
        gfx::Graphics* g = keyedCanvas(w, h, &image);
        if (g) {
            FrameRender render(this);
            s->paintFrameModules(g, f, -b.minX, -b.minY, 0, 0, 0);
        }
        IntArray* buffer = host().pixelBuffer(w * h);
        if (!buffer) continue;
        gfx::getRGB(image, buffer, 0, w, 0, 0, w, h);
        const jint key = gfx::getDisplayColor(0xFF00FF) & 0xFFFFFF;
        const jint* p = buffer->data();
        bool used[256] = {};
        jbyte* out = static_cast<ByteArray*>(frameIndexImages->data()[f])->data();
        bool hasBackground = false;
        for (jint i = 0; i < w * h; ++i) {
            if ((p[i] & 0xFFFFFF) == key) {
                hasBackground = true;
                continue;
            }
            const jint index = ((p[i] >> 5) & 7) | ((p[i] >> 13) & 7) << 3 | ((p[i] >> 21) & 3) << 6;
            used[index] = true;
            out[i] = static_cast<jbyte>(index);
        }
        // The background needs an index that no pixel uses: the transparent
        // index, else one past the palette, else any index the frame leaves
        // unused.
        jint background = transparentIndex;
        if (background < 0 && colours < 256) background = colours;
        if (background < 0)
            for (jint i = 0; i < 256 && background < 0; ++i)
                if (!used[i]) background = i;
        if (hasBackground && background < 0) {
            logPrintf("cSprite::buildFrameIndexImages: frame %d uses all 256 indices and has a background", f);
            frameIndexImages->data()[f] = nullptr;
            continue;
        }
        for (jint i = 0; i < w * h; ++i)
            if ((p[i] & 0xFFFFFF) == key) out[i] = static_cast<jbyte>(background);
        frameIndexBackground->data()[f] = background;
        recordFrameBox(this, f, b.minX, b.minY, w, h);
    }
    palettes->data()[0] = original;
    moduleRGBCache = savedCaches[0];
    moduleImageCache = savedCaches[1];
    frameRGBCache = savedCaches[2];
    frameImageCache = savedCaches[3];
    currentPalette = savedPalette;
}

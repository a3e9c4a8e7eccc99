// Palette conversion, the eight pixel encodings, palette switching and the
// alpha operations that rewrite palettes in place (cSprite).
#include "game/sprite/palette.h"

#include <algorithm>
#include <cstring>

#include "game/sprite/sprite.h"

namespace sprite {

uint32_t paletteToArgb(int format, uint32_t v, bool* transparency, bool* translucency) {
    uint32_t argb = 0;
    switch (format) {
    case kPalette8888: {
        argb = v;
        const uint32_t a = argb >> 24;
        if (a != 0xFF) *transparency = true;
        if (a != 0 && a != 0xFF) *translucency = true;
        return argb;
    }
    case kPalette4444: {
        const uint32_t a = (v >> 12) & 15, r = (v >> 8) & 15, g = (v >> 4) & 15, b = v & 15;
        if (a != 15) *transparency = true;
        if (a != 0 && a != 15) *translucency = true;
        return (a * 0x11) << 24 | (r * 0x11) << 16 | (g * 0x11) << 8 | (b * 0x11);
    }
    case kPalette5515: {
        const bool opaque = v & 0x8000;
        if (!opaque) *transparency = true;
        argb = (opaque ? 0xFF000000u : 0) | ((v >> 10) & 0x1F) << 19 | ((v >> 5) & 0x1F) << 11 | (v & 0x1F) << 3;
        break;
    }
    case kPalette6505: {
        const bool key = (v & 0xFFFF) == 0xF81F;
        if (key) *transparency = true;
        argb = (key ? 0 : 0xFF000000u) | ((v >> 11) & 0x1F) << 19 | ((v >> 5) & 0x3F) << 10 | (v & 0x1F) << 3;
        break;
    }
    default: return 0;
    }
    // Transparent magenta is stored in its full-intensity form.
    return argb == 0x00F800F8u ? 0x00FF00FFu : argb;
}

int runShiftFor(int colours) {
    int shift = 0;
    for (int v = colours - 1; v > 0; v >>= 1) ++shift;
    return shift;
}

namespace {

struct Lookup {
    const jint* palette;
    unsigned colours;
    jint operator()(unsigned index) const { return index < colours ? palette[index] : 0; }
};

// Packed formats: 8 / bits pixels per byte, highest bits first.
template <int Bits>
size_t decodePacked(const uint8_t* block, size_t length, Lookup lookup, jint* out, size_t n) {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    const size_t whole = std::min(length, n / kPerByte);
    size_t o = 0;
    for (size_t i = 0; i < whole; ++i) {
        const unsigned b = block[i];
        for (int k = kPerByte - 1; k >= 0; --k) out[o++] = lookup((b >> (k * Bits)) & kMask);
    }
    if (o < n && whole < length) {  // the last, partly used byte
        const unsigned b = block[whole];
        for (int k = kPerByte - 1; k >= 0 && o < n; --k) out[o++] = lookup((b >> (k * Bits)) & kMask);
    }
    return o;
}

inline void fillRun(jint* out, size_t& o, size_t n, size_t run, jint colour) {
    const size_t end = std::min(n, o + run);
    std::fill(out + o, out + end, colour);
    o = end;
}

}  // namespace

void decodeIndexed(int format, const uint8_t* block, size_t length, const jint* palette, int colours, int indexMask,
                   int runShift, jint* out, size_t n) {
    const Lookup lookup{palette, palette ? static_cast<unsigned>(std::max(colours, 0)) : 0u};
    size_t o = 0;
    switch (format) {
    case kPixels8: {
        const size_t m = std::min(length, n);
        for (; o < m; ++o) out[o] = lookup(block[o]);
        break;
    }
    case kPixels4: o = decodePacked<4>(block, length, lookup, out, n); break;
    case kPixels2: o = decodePacked<2>(block, length, lookup, out, n); break;
    case kPixels1: o = decodePacked<1>(block, length, lookup, out, n); break;
    case kPixelsRunMask:
        for (size_t i = 0; i < length && o < n; ++i) {
            const unsigned b = block[i];
            const size_t run = runShift >= 32 ? 1 : (b >> runShift) + 1;
            fillRun(out, o, n, run, lookup(b & static_cast<unsigned>(indexMask)));
        }
        break;
    case kPixelsRun127:
        for (size_t i = 0; i < length && o < n; ++i) {
            const unsigned b = block[i];
            if (b < 128) {
                out[o++] = lookup(b);
            } else {
                if (++i >= length) break;
                fillRun(out, o, n, b - 128, lookup(block[i]));
            }
        }
        break;
    case kPixelsRunMixed:
        for (size_t i = 0; i < length && o < n;) {
            const int c = static_cast<int8_t>(block[i++]);
            if (c < 0) {
                size_t literals = std::max(c + 128, 1);
                for (; literals > 0 && i < length && o < n; --literals) out[o++] = lookup(block[i++]);
            } else {
                if (i >= length) break;
                fillRun(out, o, n, static_cast<size_t>(std::max(c, 1)), lookup(block[i++]));
            }
        }
        break;
    default: break;  // 0xA640 and unknown formats: nothing decoded
    }
    if (o < n) std::fill(out + o, out + n, 0);
}

}  // namespace sprite

using namespace sprite;

// --- palettes and decoding (ASprite, BSprite) ----------------------------------

IntArray* ASprite::paletteArray(jint p) const {
    if (!palettes || p < 0 || p >= paletteCount || p >= palettes->length()) return nullptr;
    return static_cast<IntArray*>(palettes->data()[p]);
}

bool ASprite::moduleBlock(jint module, jint* offset, jint* length) const {
    if (!pixelData || !pixelDataOffset || module < 0 || module >= pixelDataOffset->length()) return false;
    const jint start = pixelDataOffset->data()[module];
    const jint end = module + 1 < pixelDataOffset->length() ? pixelDataOffset->data()[module + 1] : pixelData->length();
    *offset = start;
    *length = end - start;
    return true;
}

void BSprite::setPalette(jint p) {
    if (p >= 0 && p < paletteCount) currentPalette = p;
}

bool ASprite::decodePixels(ByteArray* data, jint offset, jint width, jint height) {
    IntArray* palette = paletteArray(currentPalette);
    if (!palette) return false;
    if (!data || width < 0 || height < 0) return true;
    const jint n = width * height;  // both below 65536: no overflow
    if (!ensureWorkBuffers(n)) return true;
    palette = paletteArray(currentPalette);  // re-read after a possible allocation
    const size_t length = offset >= 0 && offset <= data->length() ? static_cast<size_t>(data->length() - offset) : 0;
    const uint8_t* block = length ? reinterpret_cast<const uint8_t*>(data->data()) + offset : nullptr;
    decodeIndexed(static_cast<uint16_t>(pixelFormat), block, length, palette->data(), palette->length(),
                  pixelIndexMask, pixelRunShift, as().workPixels->data(), static_cast<size_t>(n));
    return true;
}

IntArray* ASprite::decodeModule(jint module) {
    jint offset, length;
    if (!moduleBlock(module, &offset, &length) || !moduleWidth || module >= moduleCount) return nullptr;
    IntArray* palette = paletteArray(currentPalette);
    if (!palette) return nullptr;
    const jint n = moduleWidthAt(module) * moduleHeightAt(module);
    if (!ensureWorkBuffers(n)) return nullptr;
    palette = paletteArray(currentPalette);
    decodeIndexed(static_cast<uint16_t>(pixelFormat), reinterpret_cast<const uint8_t*>(pixelData->data()) + offset,
                  static_cast<size_t>(length), palette->data(), palette->length(), pixelIndexMask, pixelRunShift,
                  as().workPixels->data(), static_cast<size_t>(n));
    return as().workPixels;
}

IntArray* ASprite::getWorkBuffer(IntArray* other) {
    if (!ensureWorkBuffers(0)) return nullptr;
    return other == as().workPixels ? as().workPixels2 : as().workPixels;
}

// --- alpha (cSprite) -------------------------------------------------------------

void cSprite::initAlphaTables() {
    transparentIndex = -1;
    hasSemiAlpha = 0;
    loadedAlphas = nullptr;
    IntArray* first = paletteArray(0);
    if (!first) return;
    const jint colours = first->length();
    for (jint i = 0; i < colours; ++i) {
        bool allClear = true;
        for (jint p = 0; p < paletteCount; ++p) {
            IntArray* pal = paletteArray(p);
            if (!pal || i >= pal->length()) continue;
            const uint32_t a = static_cast<uint32_t>(pal->data()[i]) >> 24;
            if (a == 0xFF) {
                allClear = false;
                break;
            }
            if (a != 0) {
                hasSemiAlpha = 1;
                allClear = false;
                break;
            }
        }
        if (allClear && transparentIndex == -1) transparentIndex = i;
    }
    if (!hasSemiAlpha) return;
    ObjectArray* rows = newObjectArray(cid::ByteArray, paletteCount);
    loadedAlphas = rows;
    for (jint p = 0; p < paletteCount; ++p) {
        ByteArray* row = newByteArray(colours);
        loadedAlphas->data()[p] = row;
        IntArray* pal = paletteArray(p);
        for (jint i = 0; pal && i < colours && i < pal->length(); ++i)
            row->data()[i] = static_cast<jbyte>(static_cast<uint32_t>(pal->data()[i]) >> 24);
    }
}

void cSprite::applyAlphaPalette() {
    IntArray* last = paletteArray(paletteCount - 1);
    if (!last) return;
    jint* mask = last->data();
    if (transparentIndex >= 0 && transparentIndex < last->length()) mask[transparentIndex] = 0;
    for (jint p = 0; p < paletteCount - 1; ++p) {
        IntArray* pal = paletteArray(p);
        if (!pal) continue;
        jint* c = pal->data();
        const jint n = std::min(pal->length(), last->length());
        for (jint i = 0; i < n; ++i)
            c[i] = static_cast<jint>((static_cast<uint32_t>(c[i]) & 0xFFFFFF) | (static_cast<uint32_t>(mask[i]) & 0xFF) << 24);
    }
    hasSemiAlpha = 0;
    loadedAlphas = nullptr;
}

void cSprite::setAlpha(jint a) {
    if (a == alpha) return;
    a = std::clamp(a, 0, 255);
    if (!palettes) {
        alpha = a;
        return;
    }
    IntArray* last = paletteArray(paletteCount - 1);
    for (jint p = 0; p < paletteCount; ++p) {
        IntArray* pal = paletteArray(p);
        if (!pal) continue;
        jint* c = pal->data();
        ByteArray* loaded = hasSemiAlpha && loadedAlphas && p < loadedAlphas->length()
                                ? static_cast<ByteArray*>(loadedAlphas->data()[p])
                                : nullptr;
        for (jint i = 0; i < pal->length(); ++i) {
            uint32_t newAlpha;
            if (alphaFromLastPalette) {
                const uint32_t m = last && i < last->length() ? static_cast<uint32_t>(last->data()[i]) & 0xFF : 0xFF;
                newAlpha = (m * static_cast<uint32_t>(a)) >> 8;
            } else if (hasSemiAlpha) {
                const uint32_t l = loaded && i < loaded->length() ? static_cast<uint8_t>(loaded->data()[i]) : 0xFF;
                newAlpha = (l * static_cast<uint32_t>(a)) >> 8;
            } else if (i == transparentIndex) {
                continue;
            } else {
                newAlpha = static_cast<uint32_t>(a);
            }
            c[i] = static_cast<jint>((static_cast<uint32_t>(c[i]) & 0xFFFFFF) | newAlpha << 24);
        }
    }
    alpha = a;
}

// Loading the little-endian sprite format (BSprite::load) with full
// validation. The file is copied out of its Java array first and parsed
// into native tables, so that no element pointer is held across an
// allocation; every count, length, index and position is checked against
// what the file holds and what the model allows. Only a file that passes
// every check is committed into the sprite's Java arrays; a damaged one is
// rejected with one log line and the sprite stays as it was.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/sprite/internal.h"
#include "game/sprite/palette.h"
#include "game/sprite/sprite.h"
#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/statics.h"
#include "runtime/string.h"

namespace sprite {
namespace {

constexpr size_t kMarkerLength = 17;
constexpr size_t kTrailerTail = kMarkerLength + 4;  // marker and trailer position
constexpr int kStringPoolEmpty = 1;
constexpr int kStringPoolRemapMarker = 87;

struct LoadError {
    std::string message;
};

[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void fail(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw LoadError{text};
}

class Reader {
public:
    // Reads data[pos, end).
    Reader(const std::vector<uint8_t>& data, size_t pos, size_t end = SIZE_MAX)
        : m_data(data), m_pos(pos), m_end(std::min(end, data.size())) {}
    size_t pos() const { return m_pos; }
    size_t size() const { return m_end; }
    size_t remaining() const { return m_pos < m_end ? m_end - m_pos : 0; }

    void need(size_t n, const char* what) const {
        if (remaining() < n) fail("%s at %zu runs past the end of the data (%zu bytes)", what, m_pos, m_end);
    }
    void skip(size_t n, const char* what) {
        need(n, what);
        m_pos += n;
    }
    uint8_t u8(const char* what) {
        need(1, what);
        return m_data[m_pos++];
    }
    int8_t s8(const char* what) { return static_cast<int8_t>(u8(what)); }
    uint16_t u16(const char* what) {
        need(2, what);
        uint16_t v = static_cast<uint16_t>(m_data[m_pos] | m_data[m_pos + 1] << 8);
        m_pos += 2;
        return v;
    }
    int16_t s16(const char* what) { return static_cast<int16_t>(u16(what)); }
    uint32_t u32(const char* what) {
        need(4, what);
        uint32_t v = static_cast<uint32_t>(m_data[m_pos]) | static_cast<uint32_t>(m_data[m_pos + 1]) << 8 |
                     static_cast<uint32_t>(m_data[m_pos + 2]) << 16 | static_cast<uint32_t>(m_data[m_pos + 3]) << 24;
        m_pos += 4;
        return v;
    }
    // A count: below 1 means none.
    int count(const char* what) { return std::max<int>(0, s16(what)); }

private:
    const std::vector<uint8_t>& m_data;
    size_t m_pos;
    size_t m_end;
};

struct Parsed {
    uint32_t flags = 0;
    // Modules.
    int M = 0;
    std::vector<int8_t> type;
    std::vector<uint8_t> width, height, extra;
    std::vector<int32_t> color;
    std::vector<int16_t> params, paramIndex;
    // Frame modules.
    int N = 0;
    std::vector<int16_t> fmModule, fmX, fmY;
    std::vector<uint8_t> fmPalette, fmFlags;
    // Frames.
    bool rects = false;
    std::vector<int16_t> rectCoords, rectStart;
    int F = 0;
    std::vector<uint8_t> frameCount;
    std::vector<int16_t> frameFirst;
    // Animation frames and animations.
    int A = 0;
    std::vector<int16_t> afFrame;
    std::vector<uint8_t> afTime, afFlags;
    std::vector<int8_t> afX, afY;
    int anims = 0;
    std::vector<uint8_t> animCount;
    std::vector<int16_t> animFirst;
    // Images.
    bool images = false;
    int P = 0, C = 0;
    std::vector<std::vector<int32_t>> palettes;
    bool transparency = false, translucency = false;
    int pixelFormat = 0, indexMask = 0, runShift = 0;
    std::vector<int32_t> pixelOffset;
    std::vector<size_t> blockPos;  // where each block's bytes lie in the file
    size_t pixelBytes = 0;
    // Remap tables (after the trailer's pairs are applied to the identity).
    std::vector<std::vector<int16_t>> remap;
    int maxModulePixels = 0;
};

bool knownPixelFormat(int f) {
    switch (f) {
    case kPixels8:
    case kPixels4:
    case kPixels2:
    case kPixels1:
    case kPixelsRunMask:
    case kPixelsRun127:
    case kPixelsRunMixed:
    case kPixelsUndecoded: return true;
    default: return false;
    }
}

// The remap trailer: its position, or -1 when the array does not end in
// the marker. The marker text is string-pool entry 87 (with entry 1, the
// empty string, after the 17 characters).
long trailerPosition(const std::vector<uint8_t>& data) {
    if (data.size() < kTrailerTail) return -1;
    StaticClass* statics = StaticClass::instance();
    ObjectArray* pool = statics ? statics->m_stringPool : nullptr;
    if (!pool || pool->length() <= kStringPoolRemapMarker) return -1;
    auto* marker = static_cast<String*>(pool->data()[kStringPoolRemapMarker]);
    auto* suffix = static_cast<String*>(pool->data()[kStringPoolEmpty]);
    if (!marker) return -1;
    const jint suffixLength = suffix ? suffix->length() : 0;
    if (marker->length() != static_cast<jint>(kMarkerLength) + suffixLength) return -1;
    const size_t start = data.size() - kMarkerLength;
    for (size_t i = 0; i < kMarkerLength; ++i) {
        // Each byte is a character, sign-extended.
        jchar c = static_cast<jchar>(static_cast<int16_t>(static_cast<int8_t>(data[start + i])));
        if (marker->charAt(static_cast<jint>(i)) != c) return -1;
    }
    for (jint i = 0; i < suffixLength; ++i)
        if (marker->charAt(static_cast<jint>(kMarkerLength) + i) != suffix->charAt(i)) return -1;
    const size_t p = data.size() - kTrailerTail;
    return static_cast<int32_t>(static_cast<uint32_t>(data[p]) | static_cast<uint32_t>(data[p + 1]) << 8 |
                                static_cast<uint32_t>(data[p + 2]) << 16 | static_cast<uint32_t>(data[p + 3]) << 24);
}

void parseModules(Reader& r, Parsed& s) {
    s.M = r.count("module count");
    const int M = s.M;
    s.type.assign(M, 0);
    s.width.assign(M, 0);
    s.height.assign(M, 0);
    s.color.assign(M, 0);
    if (s.flags & kFlagModuleExtra) s.extra.assign(M, 0);
    for (int m = 0; m < M; ++m) {
        const uint8_t marker = r.u8("module marker");
        int type, params = 0;
        bool colour = true, size = true;
        switch (marker) {
        case 0x00: type = kImage; colour = false; break;
        case 0xFF: type = kRect; break;
        case 0xFE: type = kFillRect; break;
        case 0xFD: type = kSizeOnly; colour = false; break;
        case 0xFC: type = kArc; params = 2; break;
        case 0xFB: type = kFillArc; params = 2; break;
        case 0xFA: type = kTriangle; size = false; params = 4; break;
        case 0xF9: type = kFillTriangle; size = false; params = 4; break;
        case 0xF8: type = kLine; break;
        case 0xF7: type = kGradient; break;
        default: fail("module %d has the unknown marker 0x%02X", m, marker);
        }
        s.type[m] = static_cast<int8_t>(type);
        if (type == kImage && (s.flags & kFlagModuleExtra)) s.extra[m] = r.u8("module extra byte");
        if (colour) s.color[m] = static_cast<int32_t>(r.u32("module colour"));
        if (type == kGradient || params > 0) {
            if (s.params.size() + 4 > 0x7FFF) fail("module parameters exceed 32767 values");
            s.paramIndex.push_back(static_cast<int16_t>(m));
            s.paramIndex.push_back(static_cast<int16_t>(s.params.size()));
        }
        if (type == kGradient) {
            // Parameter 0 and 1: the second colour's low and high halves; 2: the direction.
            uint32_t word = r.u32("gradient colour");
            s.params.push_back(static_cast<int16_t>(word & 0xFFFF));
            s.params.push_back(static_cast<int16_t>(word >> 16));
            s.params.push_back(r.s8("gradient direction"));
        }
        if (size) {
            s.width[m] = r.u8("module width");
            s.height[m] = r.u8("module height");
        }
        for (int k = 0; k < params; ++k) s.params.push_back(r.s16("module parameter"));
        if (type == kImage) s.maxModulePixels = std::max(s.maxModulePixels, s.width[m] * s.height[m]);
    }
}

void parseFrameModules(Reader& r, Parsed& s) {
    s.N = r.count("frame-module count");
    const bool wideIndex = s.flags & kFlagWideModuleIndex, wide = s.flags & kFlagWideCoords;
    const bool palette = s.flags & kFlagFModulePalette;
    for (int k = 0; k < s.N; ++k) {
        int16_t index = wideIndex ? r.s16("frame-module index") : r.u8("frame-module index");
        if (index < 0) fail("frame module %d names module %d", k, index);
        s.fmModule.push_back(index);
        s.fmX.push_back(wide ? r.s16("frame-module x") : r.s8("frame-module x"));
        s.fmY.push_back(wide ? r.s16("frame-module y") : r.s8("frame-module y"));
        s.fmPalette.push_back(palette ? r.u8("frame-module palette") : 0);
        s.fmFlags.push_back(r.u8("frame-module flags"));
    }
}

void parseFrames(Reader& r, Parsed& s) {
    const bool wide = s.flags & kFlagWideCoords;
    s.rects = s.flags & kFlagFrameRects;
    int R = 0;
    if (s.rects) {
        R = r.count("rectangle count");
        for (int i = 0; i < R; ++i)
            for (int c = 0; c < 4; ++c) {
                // Positions signed; sizes unsigned (0-255 as bytes, 0-65535 as shorts).
                int16_t v = wide ? r.s16("frame rectangle") : (c < 2 ? r.s8("frame rectangle") : r.u8("frame rectangle"));
                s.rectCoords.push_back(v);
            }
    }
    s.F = r.count("frame count");
    int start = 0;
    for (int f = 0; f < s.F; ++f) {
        uint8_t n = r.u8("frame module count");
        int16_t first = r.s16("frame first module");
        if (n > 0 && (first < 0 || first + n > s.N))
            fail("frame %d uses frame modules %d-%d of %d", f, first, first + n - 1, s.N);
        s.frameCount.push_back(n);
        s.frameFirst.push_back(first);
        if (s.rects) {
            s.rectStart.push_back(static_cast<int16_t>(start));
            start += r.s8("frame rectangle count");
            // A negative count lowers the next frame's start; every start
            // must stay inside the rectangle block.
            if (start < 0 || start > R) fail("frame %d rectangles end at %d of %d", f, start, R);
        }
    }
    if (s.rects) s.rectStart.push_back(static_cast<int16_t>(start));
    if (!(s.flags & kFlagNoBoundingBoxes)) r.skip(static_cast<size_t>(s.F) * (wide ? 8 : 4), "frame bounding boxes");
}

void parseAnimations(Reader& r, Parsed& s) {
    const bool wideFrame = s.flags & kFlagWideFrameIndex;
    s.A = r.count("animation-frame count");
    for (int k = 0; k < s.A; ++k) {
        int16_t frame = wideFrame ? r.s16("animation-frame frame") : r.u8("animation-frame frame");
        if (frame < 0 || frame >= s.F) fail("animation frame %d shows frame %d of %d", k, frame, s.F);
        s.afFrame.push_back(frame);
        s.afTime.push_back(r.u8("animation-frame time"));
        s.afX.push_back(r.s8("animation-frame x"));
        s.afY.push_back(r.s8("animation-frame y"));
        s.afFlags.push_back(r.u8("animation-frame flags"));
    }
    s.anims = r.count("animation count");
    for (int a = 0; a < s.anims; ++a) {
        uint8_t n = r.u8("animation frame count");
        int16_t first = r.s16("animation first frame");
        if (n > 0 && (first < 0 || first + n > s.A))
            fail("animation %d uses animation frames %d-%d of %d", a, first, first + n - 1, s.A);
        s.animCount.push_back(n);
        s.animFirst.push_back(first);
    }
}

void parseImages(Reader& r, Parsed& s) {
    s.images = true;
    const int format = static_cast<uint16_t>(r.s16("palette format"));
    if (format != kPalette8888 && format != kPalette4444 && format != kPalette5515 && format != kPalette6505)
        fail("unknown palette format 0x%04X", format);
    s.P = r.u8("palette count");
    if (s.P > kSlots) fail("%d palettes (at most %d)", s.P, kSlots);
    s.C = r.u8("colours per palette");
    if (s.C == 0) s.C = 256;
    for (int p = 0; p < s.P; ++p) {
        std::vector<int32_t> colours(static_cast<size_t>(s.C));
        for (int i = 0; i < s.C; ++i) {
            uint32_t native = format == kPalette8888 ? r.u32("palette colour") : r.u16("palette colour");
            colours[static_cast<size_t>(i)] =
                static_cast<int32_t>(paletteToArgb(format, native, &s.transparency, &s.translucency));
        }
        s.palettes.push_back(std::move(colours));
    }
    s.pixelFormat = static_cast<uint16_t>(r.s16("pixel format"));
    if (!knownPixelFormat(s.pixelFormat)) fail("unknown pixel format 0x%04X", s.pixelFormat);
    if (s.pixelFormat == kPixelsRunMask || s.pixelFormat == kPixelsUndecoded) {
        s.runShift = runShiftFor(s.C);
        s.indexMask = (1 << s.runShift) - 1;
    }
    const bool len32 = s.flags & kFlagPixelLength32;
    size_t total = 0;
    for (int m = 0; m < s.M; ++m) {
        int64_t length = len32 ? static_cast<int64_t>(r.u32("pixel block length")) : r.s16("pixel block length");
        if (length < 0) fail("module %d has a pixel block of %lld bytes", m, static_cast<long long>(length));
        if (static_cast<size_t>(length) > r.remaining())
            fail("module %d pixel block of %lld bytes runs past the data", m, static_cast<long long>(length));
        if (total + static_cast<size_t>(length) > 0x7FFFFFFF) fail("pixel data exceeds 2 GB");
        s.pixelOffset.push_back(static_cast<int32_t>(total));
        s.blockPos.push_back(r.pos());
        total += static_cast<size_t>(length);
        r.skip(static_cast<size_t>(length), "pixel block");
    }
    s.pixelBytes = total;
}

// Pixels that a block leaves undrawn (an index outside the palette, or a
// block too short for its module) are transparent: such a sprite is drawn
// with alpha processing.
void checkCoverage(const std::vector<uint8_t>& data, Parsed& s) {
    static const std::vector<jint> ones(256, 1);
    std::vector<jint> out(static_cast<size_t>(s.maxModulePixels));
    for (int m = 0; m < s.M && !s.transparency; ++m) {
        const size_t n = static_cast<size_t>(s.width[static_cast<size_t>(m)]) * s.height[static_cast<size_t>(m)];
        if (s.type[static_cast<size_t>(m)] != kImage || n == 0) continue;
        const size_t end = m + 1 < s.M ? static_cast<size_t>(s.pixelOffset[static_cast<size_t>(m) + 1]) : s.pixelBytes;
        const size_t length = end - static_cast<size_t>(s.pixelOffset[static_cast<size_t>(m)]);
        decodeIndexed(s.pixelFormat, data.data() + s.blockPos[static_cast<size_t>(m)], length, ones.data(), s.C,
                      s.indexMask, s.runShift, out.data(), n);
        if (std::find(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n), 0) != out.begin() + static_cast<std::ptrdiff_t>(n))
            s.transparency = true;
    }
}

// Nested frames: every one names a frame, none leads back to itself, and
// chains stay within kMaxNesting.
void checkNesting(const Parsed& s) {
    std::vector<int> depth(static_cast<size_t>(s.F), 0);  // 0 unvisited, -1 on the path, else depth
    struct Step {
        int frame;
        int next;  // next frame module to look at
    };
    std::vector<Step> path;
    for (int root = 0; root < s.F; ++root) {
        if (depth[static_cast<size_t>(root)] != 0) continue;
        path.push_back({root, 0});
        depth[static_cast<size_t>(root)] = -1;
        while (!path.empty()) {
            Step& top = path.back();
            const int f = top.frame;
            const int first = s.frameFirst[static_cast<size_t>(f)], n = s.frameCount[static_cast<size_t>(f)];
            if (top.next < n) {
                const size_t k = static_cast<size_t>(first + top.next++);
                if (!(s.fmFlags[k] & kNestedFrame)) continue;
                const int child = s.fmModule[k];
                const int d = depth[static_cast<size_t>(child)];
                if (d == -1) fail("frame %d contains itself through frame %d", child, f);
                if (d == 0) {
                    if (static_cast<int>(path.size()) >= kMaxNesting) fail("frames nest deeper than %d", kMaxNesting);
                    depth[static_cast<size_t>(child)] = -1;
                    path.push_back({child, 0});
                }
                continue;
            }
            int deepest = 0;
            for (int i = 0; i < n; ++i) {
                const size_t k = static_cast<size_t>(first + i);
                if (s.fmFlags[k] & kNestedFrame) deepest = std::max(deepest, depth[static_cast<size_t>(s.fmModule[k])]);
            }
            depth[static_cast<size_t>(f)] = deepest + 1;
            if (deepest + 1 > kMaxNesting) fail("frames nest deeper than %d", kMaxNesting);
            path.pop_back();
        }
    }
}

void checkIndices(const Parsed& s) {
    for (int k = 0; k < s.N; ++k) {
        const int index = s.fmModule[static_cast<size_t>(k)];
        if (s.fmFlags[static_cast<size_t>(k)] & kNestedFrame) {
            if (index >= s.F) fail("frame module %d nests frame %d of %d", k, index, s.F);
        } else if (index >= s.M) {
            fail("frame module %d names module %d of %d", k, index, s.M);
        }
    }
    checkNesting(s);
}

void parseRemap(const std::vector<uint8_t>& data, long position, Parsed& s) {
    const size_t end = data.size() - kTrailerTail;
    if (position < 0 || static_cast<size_t>(position) > end) fail("remap trailer position %ld outside the data", position);
    if (s.M < 1) return;  // a sprite without modules has no remap slots
    Reader r(data, static_cast<size_t>(position), end);
    const int tables = r.u16("remap table count");
    if (tables > kSlots) fail("%d remap tables (at most %d)", tables, kSlots);
    for (int t = 0; t < tables; ++t) {
        const size_t bytes = r.u16("remap table length");
        if (bytes % 4) fail("remap table %d of %zu bytes holds a partial pair", t, bytes);
        r.need(bytes, "remap table");
        std::vector<int16_t> table(static_cast<size_t>(s.M));
        for (int m = 0; m < s.M; ++m) table[static_cast<size_t>(m)] = static_cast<int16_t>(m);
        for (size_t i = 0; i < bytes; i += 4) {
            const int module = r.u16("remap module");
            const int replacement = r.s16("remap replacement");
            if (module >= s.M || replacement < 0 || replacement >= s.M)
                fail("remap table %d maps module %d to %d of %d", t, module, replacement, s.M);
            table[static_cast<size_t>(module)] = static_cast<int16_t>(replacement);
        }
        s.remap.push_back(std::move(table));
    }
}

Parsed parse(const std::vector<uint8_t>& data, size_t offset) {
    Parsed s;
    const long trailer = trailerPosition(data);
    Reader r(data, offset);
    r.skip(2, "header");
    s.flags = r.u32("flag word");
    parseModules(r, s);
    parseFrameModules(r, s);
    parseFrames(r, s);
    parseAnimations(r, s);
    checkIndices(s);
    if (s.M >= 1 && (s.flags & kFlagImages) && r.pos() < r.size()) {
        parseImages(r, s);
        checkCoverage(data, s);
    }
    if (s.P > 0)
        for (int k = 0; k < s.N; ++k)
            if (s.fmPalette[static_cast<size_t>(k)] >= s.P)
                fail("frame module %d selects palette %d of %d", k, s.fmPalette[static_cast<size_t>(k)], s.P);
    if (trailer >= 0) {
        parseRemap(data, trailer, s);
    } else if (s.M >= 1) {
        std::vector<int16_t> identity(static_cast<size_t>(s.M));
        for (int m = 0; m < s.M; ++m) identity[static_cast<size_t>(m)] = static_cast<int16_t>(m);
        s.remap.push_back(std::move(identity));
    }
    return s;
}

// --- commit ------------------------------------------------------------------

template <typename A, typename V>
A* javaArray(A* (*make)(jint), const std::vector<V>& values) {
    A* a = make(static_cast<jint>(values.size()));
    auto* out = a->data();
    for (size_t i = 0; i < values.size(); ++i) out[i] = static_cast<typename A::Element>(values[i]);
    return a;
}
ByteArray* bytes(const std::vector<uint8_t>& v) { return javaArray(&newByteArray, v); }
ByteArray* bytes(const std::vector<int8_t>& v) { return javaArray(&newByteArray, v); }
ShortArray* shorts(const std::vector<int16_t>& v) { return javaArray(&newShortArray, v); }
IntArray* ints(const std::vector<int32_t>& v) { return javaArray(&newIntArray, v); }


}  // namespace
}  // namespace sprite

using namespace sprite;

void BSprite::load(ByteArray* data, jint offset, jint, jint, jint) {
    MethodScope scope("BSprite::load");
    if (!data) return;
    collectIfAsked();
    const jint length = data->length();
    if (offset < 0 || offset > length) {
        logPrintf("BSprite::load: data offset %d outside %d bytes", offset, length);
        return;
    }
    // Copied before anything allocates: the array's elements may move.
    std::vector<uint8_t> copy(reinterpret_cast<const uint8_t*>(data->data()),
                              reinterpret_cast<const uint8_t*>(data->data()) + length);
    Parsed s;
    try {
        s = parse(copy, static_cast<size_t>(offset));
    } catch (const LoadError& e) {
        logPrintf("BSprite::load: rejected: %s", e.message.c_str());
        return;
    }

    // Every model array is replaced (absent sections leave null), so no
    // array of an earlier load can disagree with this one.
    spriteFlags = static_cast<jint>(s.flags);
    moduleCount = s.M;
    moduleType = moduleWidth = moduleHeight = moduleExtra = nullptr;
    moduleColor = nullptr;
    moduleParams = moduleParamIndex = nullptr;
    fmoduleModule = fmoduleX = fmoduleY = nullptr;
    fmodulePalette = fmoduleFlags = nullptr;
    frameFModuleCount = nullptr;
    frameFirstFModule = frameRectCoords = frameRectStart = nullptr;
    aframeFrame = nullptr;
    aframeTime = aframeOffsetX = aframeOffsetY = aframeFlags = animAFrameCount = nullptr;
    animFirstAFrame = nullptr;
    moduleRemapTables = nullptr;
    moduleRemapIndex = -1;
    pixelData = nullptr;
    pixelDataOffset = nullptr;
    moduleRGBCache = moduleImageCache = frameRGBCache = frameImageCache = nullptr;
    frameIndexImages = nullptr;
    frameIndexBackground = nullptr;
    frameBoxes = nullptr;
    loadedAlphas = nullptr;
    currentPalette = 0;
    maxModulePixels = s.maxModulePixels;

    if (s.M > 0) {
        moduleType = bytes(s.type);
        moduleWidth = bytes(s.width);
        moduleHeight = bytes(s.height);
        moduleColor = ints(s.color);
        if (!s.extra.empty()) moduleExtra = bytes(s.extra);
        if (!s.params.empty()) {
            moduleParams = shorts(s.params);
            moduleParamIndex = shorts(s.paramIndex);
        }
    }
    if (s.N > 0) {
        fmoduleModule = shorts(s.fmModule);
        fmoduleX = shorts(s.fmX);
        fmoduleY = shorts(s.fmY);
        if (s.flags & kFlagFModulePalette) fmodulePalette = bytes(s.fmPalette);
        fmoduleFlags = bytes(s.fmFlags);
    }
    if (s.rects) {
        frameRectCoords = shorts(s.rectCoords);
        frameRectStart = shorts(s.rectStart);
    }
    if (s.F > 0) {
        frameFModuleCount = bytes(s.frameCount);
        frameFirstFModule = shorts(s.frameFirst);
    }
    if (s.A > 0) {
        aframeFrame = shorts(s.afFrame);
        aframeTime = bytes(s.afTime);
        aframeOffsetX = bytes(s.afX);
        aframeOffsetY = bytes(s.afY);
        aframeFlags = bytes(s.afFlags);
    }
    if (s.anims > 0) {
        animAFrameCount = bytes(s.animCount);
        animFirstAFrame = shorts(s.animFirst);
    }
    if (s.images) {
        if (!palettes || palettes->length() < kSlots) palettes = newObjectArray(cid::IntArray, kSlots);
        for (int p = 0; p < s.P; ++p) {
            IntArray* colours = ints(s.palettes[static_cast<size_t>(p)]);
            palettes->data()[p] = colours;
        }
        paletteCount = s.P;
        colorCount = s.C;
        hasTransparency = s.transparency;
        hasTranslucency = s.translucency;
        pixelFormat = static_cast<jshort>(s.pixelFormat);
        pixelIndexMask = s.indexMask;
        pixelRunShift = s.runShift;
        pixelDataOffset = ints(s.pixelOffset);
        ByteArray* pixels = newByteArray(static_cast<jint>(s.pixelBytes));
        if (s.pixelBytes > 0 && !pixels->data()) {
            logPrintf("BSprite::load: no room for %zu bytes of pixels", s.pixelBytes);
            pixelDataOffset = nullptr;
        } else {
            // The blocks, without their length fields.
            for (int m = 0; m < s.M; ++m) {
                const size_t start = static_cast<size_t>(s.pixelOffset[static_cast<size_t>(m)]);
                const size_t end = m + 1 < s.M ? static_cast<size_t>(s.pixelOffset[static_cast<size_t>(m) + 1]) : s.pixelBytes;
                if (end > start) std::memcpy(pixels->data() + start, copy.data() + s.blockPos[static_cast<size_t>(m)], end - start);
            }
            pixelData = pixels;
        }
    }
    if (!s.images) {
        paletteCount = 0;
        colorCount = 0;
        hasTransparency = hasTranslucency = 0;
        pixelFormat = 0;
        pixelIndexMask = pixelRunShift = 0;
    }
    if (s.M > 0) {
        moduleRemapTables = newObjectArray(cid::ShortArray, kSlots);
        for (size_t t = 0; t < s.remap.size(); ++t) {
            ShortArray* table = shorts(s.remap[t]);
            moduleRemapTables->data()[t] = table;
        }
    }
    if (!ensureWorkBuffers(maxModulePixels)) logPrintf("BSprite::load: no room for work buffers of %d pixels", maxModulePixels);
    collectIfAsked();
}

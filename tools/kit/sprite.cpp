// Sprite data encoder, strict parser, palette and pixel codecs.
#include "tools/kit/sprite.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <limits>
#include <sstream>

namespace kit {

// --- Module factories --------------------------------------------------

SpriteModule SpriteModule::image(int w, int h, std::vector<uint8_t> px) {
    SpriteModule m;
    m.marker = kMarkerImage;
    m.width = w;
    m.height = h;
    m.pixels = std::move(px);
    return m;
}

namespace {

SpriteModule primitive(uint8_t marker, uint32_t argb, int w, int h, std::vector<int16_t> params = {}) {
    SpriteModule m;
    m.marker = marker;
    m.color = argb;
    m.width = w;
    m.height = h;
    m.params = std::move(params);
    return m;
}

int16_t s16(int v) { return static_cast<int16_t>(v); }

}  // namespace

SpriteModule SpriteModule::rect(uint32_t c, int w, int h) { return primitive(kMarkerRect, c, w, h); }
SpriteModule SpriteModule::fillRect(uint32_t c, int w, int h) { return primitive(kMarkerFillRect, c, w, h); }
SpriteModule SpriteModule::sizeOnly(int w, int h) { return primitive(kMarkerSizeOnly, 0, w, h); }
SpriteModule SpriteModule::arc(uint32_t c, int w, int h, int start, int angle) {
    return primitive(kMarkerArc, c, w, h, {s16(start), s16(angle)});
}
SpriteModule SpriteModule::fillArc(uint32_t c, int w, int h, int start, int angle) {
    return primitive(kMarkerFillArc, c, w, h, {s16(start), s16(angle)});
}
SpriteModule SpriteModule::triangle(uint32_t c, int x1, int y1, int x2, int y2) {
    return primitive(kMarkerTriangle, c, 0, 0, {s16(x1), s16(y1), s16(x2), s16(y2)});
}
SpriteModule SpriteModule::fillTriangle(uint32_t c, int x1, int y1, int x2, int y2) {
    return primitive(kMarkerFillTriangle, c, 0, 0, {s16(x1), s16(y1), s16(x2), s16(y2)});
}
SpriteModule SpriteModule::line(uint32_t c, int w, int h) { return primitive(kMarkerLine, c, w, h); }
SpriteModule SpriteModule::gradient(uint32_t c1, uint32_t c2, int direction, int w, int h) {
    return primitive(kMarkerGradient, c1, w, h,
                     {s16(static_cast<int>(c2 & 0xFFFF)), s16(static_cast<int>(c2 >> 16)), s16(direction)});
}

// --- Marker properties -------------------------------------------------

namespace {

bool knownMarker(uint8_t m) { return m == kMarkerImage || (m >= kMarkerGradient && m <= kMarkerRect); }
bool markerHasColor(uint8_t m) { return m != kMarkerImage && m != kMarkerSizeOnly; }
bool markerHasSize(uint8_t m) { return m != kMarkerTriangle && m != kMarkerFillTriangle; }
size_t markerTrailingParams(uint8_t m) {
    switch (m) {
    case kMarkerArc: case kMarkerFillArc: return 2;
    case kMarkerTriangle: case kMarkerFillTriangle: return 4;
    default: return 0;
    }
}
size_t markerParamCount(uint8_t m) { return m == kMarkerGradient ? 3 : markerTrailingParams(m); }

std::string hex(uint32_t v, int digits = 2) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
    return buf;
}

}  // namespace

// --- Palettes and pixels -----------------------------------------------

bool knownPaletteFormat(uint16_t f) {
    return f == kPalette8888 || f == kPalette4444 || f == kPalette5515 || f == kPalette6505;
}

bool knownPixelFormat(uint16_t f) {
    switch (f) {
    case kPixels8: case kPixels4: case kPixels2: case kPixels1:
    case kPixelsRunMask: case kPixelsRun127: case kPixelsRunMixed: case kPixelsUndecoded:
        return true;
    default:
        return false;
    }
}

size_t paletteEntryBytes(uint16_t f) {
    if (f == kPalette8888) return 4;
    return knownPaletteFormat(f) ? 2 : 0;
}

uint32_t paletteToArgb(uint16_t format, uint32_t v) {
    uint32_t out;
    switch (format) {
    case kPalette8888:
        return v;
    case kPalette4444: {
        uint32_t a = (v >> 12) & 15, r = (v >> 8) & 15, g = (v >> 4) & 15, b = v & 15;
        return (a * 17) << 24 | (r * 17) << 16 | (g * 17) << 8 | (b * 17);
    }
    case kPalette5515:
        out = ((v & 0x8000) ? 0xFF000000u : 0u) | (((v >> 10) & 31) << 19) | (((v >> 5) & 31) << 11) | ((v & 31) << 3);
        break;
    case kPalette6505:
        if ((v & 0xFFFF) == 0xF81F) out = 0x00F800F8;
        else out = 0xFF000000u | (((v >> 11) & 31) << 19) | (((v >> 5) & 63) << 10) | ((v & 31) << 3);
        break;
    default:
        return 0;
    }
    return out == 0x00F800F8 ? 0x00FF00FF : out;
}

uint32_t argbToPalette(uint16_t format, uint32_t c) {
    uint32_t a = c >> 24, r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    switch (format) {
    case kPalette8888:
        return c;
    case kPalette4444:
        return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
    case kPalette5515:
        return (a >= 0x80 ? 0x8000u : 0u) | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case kPalette6505: {
        if (a < 0x80) return 0xF81F;
        uint32_t v = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
        if (v == 0xF81F)
            throw KitError("opaque colour " + hex(c, 8) + " reads back as the transparent key in palette format 0x6505");
        return v;
    }
    default:
        throw KitError("unknown palette format " + hex(format, 4));
    }
}

int runShift(int colorCount) {
    int shift = 0;
    for (int v = colorCount - 1; v > 0; v >>= 1) ++shift;
    return shift;
}

namespace {

int packedBits(uint16_t f) {
    switch (f) {
    case kPixels8: return 8;
    case kPixels4: return 4;
    case kPixels2: return 2;
    case kPixels1: return 1;
    default: return 0;
    }
}

}  // namespace

Bytes encodePixels(uint16_t format, int colorCount, std::span<const uint8_t> px) {
    if (colorCount < 1 || colorCount > 256) throw KitError("colour count " + std::to_string(colorCount) + " outside 1-256");
    for (size_t i = 0; i < px.size(); ++i)
        if (px[i] >= colorCount)
            throw KitError("pixel " + std::to_string(i) + " has index " + std::to_string(px[i]) + ", the palette has " +
                           std::to_string(colorCount) + " colours");
    Bytes out;
    const size_t n = px.size();
    if (int bits = packedBits(format)) {
        int maxIndex = (1 << bits) - 1;
        int perByte = 8 / bits;
        for (size_t i = 0; i < n; i += static_cast<size_t>(perByte)) {
            uint32_t byte = 0;
            for (int k = 0; k < perByte; ++k) {
                uint32_t v = i + static_cast<size_t>(k) < n ? px[i + static_cast<size_t>(k)] : 0;
                if (static_cast<int>(v) > maxIndex)
                    throw KitError("index " + std::to_string(v) + " does not fit pixel format " + hex(format, 4));
                byte |= v << (8 - bits * (k + 1));
            }
            out.push_back(static_cast<uint8_t>(byte));
        }
        return out;
    }
    // Runs of equal indices, as (index, length) from position i.
    auto runAt = [&](size_t i, size_t maxRun) {
        size_t j = i + 1;
        while (j < n && px[j] == px[i] && j - i < maxRun) ++j;
        return j - i;
    };
    switch (format) {
    case kPixelsRunMask:
    case kPixelsUndecoded: {
        int shift = runShift(colorCount);
        size_t maxRun = (255u >> shift) + 1;
        for (size_t i = 0; i < n;) {
            size_t run = runAt(i, maxRun);
            out.push_back(static_cast<uint8_t>(((run - 1) << shift) | px[i]));
            i += run;
        }
        return out;
    }
    case kPixelsRun127:
        for (size_t i = 0; i < n;) {
            size_t run = runAt(i, 127);
            if (run == 1 && px[i] < 128) {
                out.push_back(px[i]);
            } else {
                out.push_back(static_cast<uint8_t>(128 + run));
                out.push_back(px[i]);
            }
            i += run;
        }
        return out;
    case kPixelsRunMixed:
        for (size_t i = 0; i < n;) {
            size_t run = runAt(i, 127);
            if (run >= 2) {
                out.push_back(static_cast<uint8_t>(run));
                out.push_back(px[i]);
                i += run;
                continue;
            }
            // Literals until the next run of two or more, at most 127.
            size_t j = i;
            while (j < n && j - i < 127 && (j + 1 >= n || px[j + 1] != px[j])) ++j;
            if (j == i) j = i + 1;
            out.push_back(static_cast<uint8_t>(static_cast<int8_t>(static_cast<int>(j - i) - 128)));
            out.insert(out.end(), px.begin() + static_cast<std::ptrdiff_t>(i), px.begin() + static_cast<std::ptrdiff_t>(j));
            i = j;
        }
        return out;
    default:
        throw KitError("unknown pixel format " + hex(format, 4));
    }
}

namespace {

template <typename Fail>
void decodeRuns(uint16_t format, int colorCount, ByteSpan block, size_t n, std::vector<uint8_t>& px, Fail fail) {
    size_t i = 0;
    auto next = [&]() -> uint32_t {
        if (i >= block.size()) fail("ends after " + std::to_string(px.size()) + " of " + std::to_string(n) + " pixels");
        return block[i++];
    };
    auto put = [&](uint32_t index, size_t count) {
        if (px.size() + count > n) fail("a run passes the module's " + std::to_string(n) + " pixels");
        px.insert(px.end(), count, static_cast<uint8_t>(index));
    };
    switch (format) {
    case kPixelsRunMask: {
        int shift = runShift(colorCount);
        uint32_t mask = (1u << shift) - 1;
        while (px.size() < n) {
            uint32_t b = next();
            put(b & mask, (b >> shift) + 1);
        }
        break;
    }
    case kPixelsRun127:
        while (px.size() < n) {
            uint32_t b = next();
            if (b < 128) put(b, 1);
            else {
                uint32_t index = next();
                put(index, b - 128);
            }
        }
        break;
    case kPixelsRunMixed:
        while (px.size() < n) {
            int c = static_cast<int8_t>(next());
            if (c < 0) {
                size_t count = std::max(c + 128, 1);
                for (size_t k = 0; k < count; ++k) put(next(), 1);
            } else {
                uint32_t index = next();
                put(index, static_cast<size_t>(std::max(c, 1)));
            }
        }
        break;
    default:
        fail("no decoder for this format");
    }
    if (i != block.size()) fail(std::to_string(block.size() - i) + " bytes left after the last pixel");
}

}  // namespace

std::vector<uint8_t> decodePixels(uint16_t format, int colorCount, ByteSpan block, size_t n) {
    std::vector<uint8_t> px;
    px.reserve(n);
    auto fail = [&](const std::string& what) { throw KitError("pixel block (" + hex(format, 4) + "): " + what); };
    if (int bits = packedBits(format)) {
        size_t need = (n * static_cast<size_t>(bits) + 7) / 8;
        if (block.size() != need)
            fail(std::to_string(block.size()) + " bytes for " + std::to_string(n) + " pixels, expected " + std::to_string(need));
        for (size_t i = 0; i < n; ++i) {
            size_t bit = i * static_cast<size_t>(bits);
            uint32_t byte = block[bit / 8];
            px.push_back(static_cast<uint8_t>((byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1)));
        }
    } else {
        decodeRuns(format, colorCount, block, n, px, fail);
    }
    for (uint8_t v : px)
        if (v >= colorCount) fail("index " + std::to_string(v) + " outside the palette of " + std::to_string(colorCount));
    return px;
}

// --- Layout ------------------------------------------------------------

const FileField* FileLayout::find(std::string_view group, int index) const {
    for (const FileField& f : fields)
        if (f.group == group && f.index == index) return &f;
    return nullptr;
}

namespace {

struct Recorder {
    FileLayout* layout;
    void mark(const std::string& name, size_t offset) {
        if (layout) layout->mark(name, offset);
    }
    void field(std::string group, int index, int owner, size_t offset, uint8_t width, bool isSigned, FieldRole role,
               int64_t value, int64_t limit, std::vector<int64_t> alternatives = {}) {
        if (!layout) return;
        FileField f;
        f.group = std::move(group);
        f.index = index;
        f.owner = owner;
        f.offset = offset;
        f.width = width;
        f.isSigned = isSigned;
        f.role = role;
        f.value = value;
        f.limit = limit;
        f.alternatives = std::move(alternatives);
        layout->fields.push_back(std::move(f));
    }
};

const std::vector<int64_t> kBadMarkers = {0x42, 0xF6, 0x01};
const std::vector<int64_t> kBadPaletteFormats = {0x1234, 0x0000, 0x8887};
const std::vector<int64_t> kBadPixelFormats = {0x1234, 0x0000, 0x5601};

// Transform composition (new flags = table[old & 7] | (old & ~7)).
constexpr uint8_t kComposeMirror[8] = {1, 0, 3, 2, 6, 7, 4, 5};
constexpr uint8_t kComposeFlip[8] = {2, 3, 0, 1, 5, 4, 7, 6};
constexpr uint8_t kComposeTurn[8] = {4, 5, 6, 7, 3, 2, 1, 0};

struct Box {
    int64_t minX = std::numeric_limits<int64_t>::max(), minY = std::numeric_limits<int64_t>::max();
    int64_t maxX = std::numeric_limits<int64_t>::min(), maxY = std::numeric_limits<int64_t>::min();
    bool empty() const { return minX > maxX; }
    void add(int64_t x, int64_t y, int64_t w, int64_t h) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x + w);
        maxY = std::max(maxY, y + h);
    }
};

// The engine's measure pass over a frame at (x, y) with transform flags.
void measureFrame(const SpriteModel& m, int frame, int64_t x, int64_t y, int flags, Box& box, int depth) {
    if (depth > 64) return;
    for (const FrameModule& fm : m.frames[static_cast<size_t>(frame)].modules) {
        int f = fm.flags;
        bool nested = f & kFModuleNestedFrame;
        int64_t w = 0, h = 0;
        if (!nested) {
            w = m.modules[static_cast<size_t>(fm.index)].width;
            h = m.modules[static_cast<size_t>(fm.index)].height;
        }
        if (f & 4) std::swap(w, h);
        int64_t fx = fm.x, fy = fm.y;
        if (flags & 1) { f = kComposeMirror[f & 7] | (f & ~7); fx = -(fx + w); }
        if (flags & 2) { f = kComposeFlip[f & 7] | (f & ~7); fy = -(fy + h); }
        if (flags & 4) {
            f = kComposeTurn[f & 7] | (f & ~7);
            int64_t nx = -(fy + h);
            fy = fx;
            fx = nx;
        }
        if (nested) {
            measureFrame(m, fm.index, x + fx, y + fy, f & 15, box, depth + 1);
        } else {
            int64_t mw = m.modules[static_cast<size_t>(fm.index)].width, mh = m.modules[static_cast<size_t>(fm.index)].height;
            if (f & 4) std::swap(mw, mh);
            box.add(x + fx, y + fy, mw, mh);
        }
    }
}

bool fits(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }

struct Widths {
    bool wideCoords, wideModule, wideFrame, len32, palette, rects, images, extra, bboxes;
};

Widths widthsOf(uint32_t flags) {
    return Widths{(flags & kSpriteWideCoords) != 0, (flags & kSpriteWideModuleIndex) != 0,
                  (flags & kSpriteWideFrameIndex) != 0, (flags & kSpritePixelLength32) != 0,
                  (flags & kSpriteFModulePalette) != 0, (flags & kSpriteFrameRects) != 0,
                  (flags & kSpriteImages) != 0, (flags & kSpriteModuleExtra) != 0,
                  (flags & kSpriteNoBoundingBoxes) == 0};
}

std::array<int64_t, 4> boundingBox(const SpriteModel& m, int frame) {
    Box box;
    measureFrame(m, frame, 0, 0, 0, box, 0);
    if (box.empty()) return {0, 0, 0, 0};
    return {box.minX, box.minY, box.maxX - box.minX, box.maxY - box.minY};
}

int colorCountOf(const SpriteImages& img) {
    if (img.colorCount) return img.colorCount;
    return img.palettes.empty() ? 0 : static_cast<int>(img.palettes[0].size());
}

Bytes pixelBlockOf(const SpriteModel& m, size_t i) {
    const SpriteModule& mod = m.modules[i];
    if (mod.pixelBlock) return *mod.pixelBlock;
    if (mod.marker != kMarkerImage || mod.pixels.empty()) return {};
    try {
        return encodePixels(m.images->pixelFormat, colorCountOf(*m.images), mod.pixels);
    } catch (const KitError& e) {
        throw KitError("module " + std::to_string(i) + ": " + e.what());
    }
}

// Nested frames must not lead back to a frame on the current path.
void checkNesting(const SpriteModel& m) {
    std::vector<int> state(m.frames.size(), 0);  // 0 new, 1 on path, 2 done
    std::function<void(int)> visit = [&](int f) {
        state[static_cast<size_t>(f)] = 1;
        for (const FrameModule& fm : m.frames[static_cast<size_t>(f)].modules) {
            if (!(fm.flags & kFModuleNestedFrame)) continue;
            int s = state[static_cast<size_t>(fm.index)];
            if (s == 1)
                throw KitError("frame " + std::to_string(fm.index) + " contains itself through frame " + std::to_string(f));
            if (s == 0) visit(fm.index);
        }
        state[static_cast<size_t>(f)] = 2;
    };
    for (size_t f = 0; f < m.frames.size(); ++f)
        if (state[f] == 0) visit(static_cast<int>(f));
}

void validate(const SpriteModel& m) {
    auto err = [](const std::string& s) { throw KitError(s); };
    const size_t M = m.modules.size(), F = m.frames.size();
    if (M > 32767) err("more than 32767 modules");
    if (F > 32767) err("more than 32767 frames");
    if (m.anims.size() > 32767) err("more than 32767 animations");
    int paletteCount = 0, colors = 0;
    if (m.images) {
        const SpriteImages& img = *m.images;
        if (M == 0) err("an image section needs at least one module (the engine reads none otherwise)");
        if (!knownPaletteFormat(img.paletteFormat)) err("unknown palette format " + hex(img.paletteFormat, 4));
        if (!knownPixelFormat(img.pixelFormat)) err("unknown pixel format " + hex(img.pixelFormat, 4));
        paletteCount = static_cast<int>(img.palettes.size());
        if (paletteCount > 16) err("more than 16 palettes");
        colors = colorCountOf(img);
        if (colors < 1 || colors > 256) err("colours per palette must be 1-256, not " + std::to_string(colors));
        for (size_t p = 0; p < img.palettes.size(); ++p)
            if (static_cast<int>(img.palettes[p].size()) != colors)
                err("palette " + std::to_string(p) + " has " + std::to_string(img.palettes[p].size()) + " colours, not " +
                    std::to_string(colors));
    } else if (m.flags & kSpriteImages && M > 0) {
        err("flag bit 24 asks for an image section that the model does not have");
    }
    for (size_t i = 0; i < M; ++i) {
        const SpriteModule& mod = m.modules[i];
        std::string where = "module " + std::to_string(i) + ": ";
        if (!knownMarker(mod.marker)) err(where + "unknown marker " + hex(mod.marker));
        if (!fits(mod.width, 0, 255) || !fits(mod.height, 0, 255)) err(where + "size outside 0-255");
        if (mod.params.size() != markerParamCount(mod.marker))
            err(where + "needs " + std::to_string(markerParamCount(mod.marker)) + " parameters, has " +
                std::to_string(mod.params.size()));
        if (mod.marker == kMarkerGradient && !fits(mod.params[2], -128, 127)) err(where + "gradient direction outside s8");
        if (mod.marker == kMarkerImage && !mod.pixels.empty()) {
            if (mod.pixels.size() != static_cast<size_t>(mod.width) * static_cast<size_t>(mod.height))
                err(where + "has " + std::to_string(mod.pixels.size()) + " pixels for " + std::to_string(mod.width) + "x" +
                    std::to_string(mod.height));
            if (!m.images) err(where + "has pixels but the sprite has no image section");
        }
        if (!mod.pixels.empty() && mod.marker != kMarkerImage) err(where + "a primitive has no pixels");
        if (mod.pixelBlock && !m.images) err(where + "has a pixel block but the sprite has no image section");
    }
    size_t totalFModules = 0, totalRects = 0;
    for (size_t f = 0; f < F; ++f) {
        const SpriteFrame& fr = m.frames[f];
        std::string where = "frame " + std::to_string(f) + ": ";
        if (fr.modules.size() > 255) err(where + "more than 255 frame modules");
        if (fr.rects.size() > 127) err(where + "more than 127 rectangles");
        if (totalFModules > 32767) err(where + "frame modules start beyond index 32767");
        totalFModules += fr.modules.size();
        totalRects += fr.rects.size();
        for (const FrameModule& fm : fr.modules) {
            bool nested = fm.flags & kFModuleNestedFrame;
            size_t limit = nested ? F : M;
            if (fm.index < 0 || static_cast<size_t>(fm.index) >= limit)
                err(where + (nested ? "nested frame " : "module ") + std::to_string(fm.index) + " does not exist");
            if (fm.index > 32767) err(where + "index above 32767");
            if (!fits(fm.x, -32768, 32767) || !fits(fm.y, -32768, 32767)) err(where + "offset outside s16");
            if (!fits(fm.palette, 0, 255)) err(where + "palette byte outside 0-255");
            if (fm.palette != 0 && fm.palette >= std::max(paletteCount, 1))
                err(where + "palette " + std::to_string(fm.palette) + " does not exist");
            if (fm.flags & ~0x1F) err(where + "frame-module flags use bits other than 0-2 and 4");
        }
        for (const FrameRect& r : fr.rects)
            if (!fits(r.x, -32768, 32767) || !fits(r.y, -32768, 32767) || !fits(r.w, 0, 65535) || !fits(r.h, 0, 65535))
                err(where + "rectangle outside the wide coordinate range");
    }
    if (totalFModules > 32767) err("more than 32767 frame modules");
    if (totalRects > 32767) err("more than 32767 rectangles");
    size_t totalAFrames = 0;
    for (size_t a = 0; a < m.anims.size(); ++a) {
        const SpriteAnim& an = m.anims[a];
        std::string where = "animation " + std::to_string(a) + ": ";
        if (an.frames.size() > 255) err(where + "more than 255 frames");
        if (totalAFrames > 32767) err(where + "animation frames start beyond index 32767");
        totalAFrames += an.frames.size();
        for (const AnimFrame& af : an.frames) {
            if (af.frame < 0 || static_cast<size_t>(af.frame) >= F || af.frame > 32767)
                err(where + "frame " + std::to_string(af.frame) + " does not exist");
            if (!fits(af.time, 0, 255)) err(where + "time outside 0-255");
            if (!fits(af.dx, -128, 127) || !fits(af.dy, -128, 127)) err(where + "offset outside s8");
            if (af.flags & ~0x0F) err(where + "flags use bits above 3");
        }
    }
    if (totalAFrames > 32767) err("more than 32767 animation frames");
    if (m.remap) {
        if (m.remap->size() > 16) err("more than 16 remap tables");
        if (m.remapMarker.size() != 17) err("the remap marker must be 17 bytes");
        for (char c : m.remapMarker)
            if (static_cast<uint8_t>(c) >= 0x80) err("the remap marker must be ASCII");
        for (size_t t = 0; t < m.remap->size(); ++t) {
            if ((*m.remap)[t].size() * 4 > 0xFFFF) err("remap table " + std::to_string(t) + " is too long");
            for (const RemapPair& p : (*m.remap)[t])
                if (p.module < 0 || static_cast<size_t>(p.module) >= M || p.replacement < 0 ||
                    static_cast<size_t>(p.replacement) >= M)
                    err("remap table " + std::to_string(t) + ": pair (" + std::to_string(p.module) + ", " +
                        std::to_string(p.replacement) + ") names a module that does not exist");
        }
    }
    checkNesting(m);
}

}  // namespace

uint32_t spriteFlags(const SpriteModel& m) {
    validate(m);
    uint32_t flags = m.flags;
    for (const SpriteModule& mod : m.modules)
        if (mod.marker == kMarkerImage && mod.extra != 0) flags |= kSpriteModuleExtra;
    if (m.images) {
        flags |= kSpriteImages;
        for (size_t i = 0; i < m.modules.size(); ++i)
            if (pixelBlockOf(m, i).size() > 32767) flags |= kSpritePixelLength32;
    }
    for (const SpriteFrame& fr : m.frames) {
        if (!fr.rects.empty()) flags |= kSpriteFrameRects;
        for (const FrameModule& fm : fr.modules) {
            if (!fits(fm.x, -128, 127) || !fits(fm.y, -128, 127)) flags |= kSpriteWideCoords;
            if (fm.palette != 0) flags |= kSpriteFModulePalette;
            if (fm.index > 255) flags |= kSpriteWideModuleIndex;
        }
        for (const FrameRect& r : fr.rects)
            if (!fits(r.x, -128, 127) || !fits(r.y, -128, 127) || r.w > 255 || r.h > 255) flags |= kSpriteWideCoords;
    }
    if (!(flags & kSpriteNoBoundingBoxes))
        for (size_t f = 0; f < m.frames.size(); ++f) {
            auto b = boundingBox(m, static_cast<int>(f));
            if (!fits(b[0], -128, 127) || !fits(b[1], -128, 127) || b[2] > 255 || b[3] > 255) flags |= kSpriteWideCoords;
        }
    for (const SpriteAnim& an : m.anims)
        for (const AnimFrame& af : an.frames)
            if (af.frame > 255) flags |= kSpriteWideFrameIndex;
    return flags;
}

Bytes encodeSprite(const SpriteModel& m, FileLayout* layout) {
    const uint32_t flags = spriteFlags(m);
    const Widths wd = widthsOf(flags);
    Recorder rec{layout};
    ByteWriter w;
    const int M = static_cast<int>(m.modules.size()), F = static_cast<int>(m.frames.size());
    int totalFModules = 0, totalRects = 0, totalAFrames = 0;
    for (const SpriteFrame& fr : m.frames) {
        totalFModules += static_cast<int>(fr.modules.size());
        totalRects += static_cast<int>(fr.rects.size());
    }
    for (const SpriteAnim& an : m.anims) totalAFrames += static_cast<int>(an.frames.size());
    const int P = m.images ? static_cast<int>(m.images->palettes.size()) : 0;

    auto coord = [&](int64_t v, bool isSize) {
        if (wd.wideCoords) {
            w.le16(static_cast<uint32_t>(std::clamp<int64_t>(v, isSize ? 0 : -32768, isSize ? 65535 : 32767)));
        } else {
            w.u8(static_cast<uint32_t>(std::clamp<int64_t>(v, isSize ? 0 : -128, isSize ? 255 : 127)));
        }
    };

    rec.mark("header", 0);
    w.le16(m.header);
    rec.field("flags", -1, -1, w.size(), 4, false, FieldRole::Flags, flags, 0);
    w.le32(flags);

    rec.mark("modules", w.size());
    rec.field("modules.count", -1, -1, w.size(), 2, true, FieldRole::Count, M, M);
    w.le16(static_cast<uint32_t>(M));
    for (int i = 0; i < M; ++i) {
        const SpriteModule& mod = m.modules[static_cast<size_t>(i)];
        rec.mark("module[" + std::to_string(i) + "]", w.size());
        rec.field("module.marker", i, -1, w.size(), 1, false, FieldRole::Marker, mod.marker, 0, kBadMarkers);
        w.u8(mod.marker);
        if (mod.marker == kMarkerImage && wd.extra) w.u8(mod.extra);
        if (markerHasColor(mod.marker)) w.le32(mod.color);
        if (mod.marker == kMarkerGradient) {
            w.le32((static_cast<uint32_t>(static_cast<uint16_t>(mod.params[1])) << 16) | static_cast<uint16_t>(mod.params[0]));
            w.u8(static_cast<uint32_t>(mod.params[2]));
        }
        if (markerHasSize(mod.marker)) {
            w.u8(static_cast<uint32_t>(mod.width));
            w.u8(static_cast<uint32_t>(mod.height));
        }
        for (size_t k = 0; k < markerTrailingParams(mod.marker); ++k) w.le16(static_cast<uint16_t>(mod.params[k]));
    }

    rec.mark("fmodules", w.size());
    rec.field("fmodules.count", -1, -1, w.size(), 2, true, FieldRole::Count, totalFModules, totalFModules);
    w.le16(static_cast<uint32_t>(totalFModules));
    int k = 0;
    for (int f = 0; f < F; ++f)
        for (const FrameModule& fm : m.frames[static_cast<size_t>(f)].modules) {
            bool nested = fm.flags & kFModuleNestedFrame;
            rec.field(nested ? "fmodule.frame" : "fmodule.module", k, f, w.size(), wd.wideModule ? 2 : 1, wd.wideModule,
                      FieldRole::Index, fm.index, nested ? F : M);
            if (wd.wideModule) w.le16(static_cast<uint32_t>(fm.index));
            else w.u8(static_cast<uint32_t>(fm.index));
            coord(fm.x, false);
            coord(fm.y, false);
            if (wd.palette) {
                rec.field("fmodule.palette", k, f, w.size(), 1, false, FieldRole::Index, fm.palette, P);
                w.u8(static_cast<uint32_t>(fm.palette));
            }
            rec.field("fmodule.flags", k, f, w.size(), 1, false, FieldRole::Flags, fm.flags, 0);
            w.u8(fm.flags);
            ++k;
        }

    if (wd.rects) {
        rec.mark("rects", w.size());
        rec.field("rects.count", -1, -1, w.size(), 2, true, FieldRole::Count, totalRects, totalRects);
        w.le16(static_cast<uint32_t>(totalRects));
        for (const SpriteFrame& fr : m.frames)
            for (const FrameRect& r : fr.rects) {
                coord(r.x, false);
                coord(r.y, false);
                coord(r.w, true);
                coord(r.h, true);
            }
    }
    rec.mark("frames", w.size());
    rec.field("frames.count", -1, -1, w.size(), 2, true, FieldRole::Count, F, F);
    w.le16(static_cast<uint32_t>(F));
    int first = 0;
    for (int f = 0; f < F; ++f) {
        const SpriteFrame& fr = m.frames[static_cast<size_t>(f)];
        int n = static_cast<int>(fr.modules.size());
        rec.field("frame.fmodules", f, -1, w.size(), 1, false, FieldRole::Count, n, n);
        w.u8(static_cast<uint32_t>(n));
        rec.field("frame.first", f, -1, w.size(), 2, true, FieldRole::Index, first, totalFModules);
        w.le16(static_cast<uint32_t>(first));
        first += n;
        if (wd.rects) {
            int r = static_cast<int>(fr.rects.size());
            rec.field("frame.rects", f, -1, w.size(), 1, true, FieldRole::Count, r, r);
            w.u8(static_cast<uint32_t>(r));
        }
    }
    if (wd.bboxes) {
        rec.mark("bboxes", w.size());
        for (int f = 0; f < F; ++f) {
            auto b = boundingBox(m, f);
            coord(b[0], false);
            coord(b[1], false);
            coord(b[2], true);
            coord(b[3], true);
        }
    }

    rec.mark("aframes", w.size());
    rec.field("aframes.count", -1, -1, w.size(), 2, true, FieldRole::Count, totalAFrames, totalAFrames);
    w.le16(static_cast<uint32_t>(totalAFrames));
    k = 0;
    for (const SpriteAnim& an : m.anims)
        for (const AnimFrame& af : an.frames) {
            rec.field("aframe.frame", k, -1, w.size(), wd.wideFrame ? 2 : 1, wd.wideFrame, FieldRole::Index, af.frame, F);
            if (wd.wideFrame) w.le16(static_cast<uint32_t>(af.frame));
            else w.u8(static_cast<uint32_t>(af.frame));
            w.u8(static_cast<uint32_t>(af.time));
            w.u8(static_cast<uint32_t>(af.dx));
            w.u8(static_cast<uint32_t>(af.dy));
            w.u8(af.flags);
            ++k;
        }
    rec.mark("anims", w.size());
    rec.field("anims.count", -1, -1, w.size(), 2, true, FieldRole::Count, static_cast<int64_t>(m.anims.size()),
              static_cast<int64_t>(m.anims.size()));
    w.le16(static_cast<uint32_t>(m.anims.size()));
    first = 0;
    for (size_t a = 0; a < m.anims.size(); ++a) {
        int n = static_cast<int>(m.anims[a].frames.size());
        rec.field("anim.aframes", static_cast<int>(a), -1, w.size(), 1, false, FieldRole::Count, n, n);
        w.u8(static_cast<uint32_t>(n));
        rec.field("anim.first", static_cast<int>(a), -1, w.size(), 2, true, FieldRole::Index, first, totalAFrames);
        w.le16(static_cast<uint32_t>(first));
        first += n;
    }

    if (m.images && M > 0) {
        const SpriteImages& img = *m.images;
        const int C = colorCountOf(img);
        rec.mark("images", w.size());
        rec.field("palette.format", -1, -1, w.size(), 2, false, FieldRole::Marker, img.paletteFormat, 0, kBadPaletteFormats);
        w.le16(img.paletteFormat);
        rec.field("palette.count", -1, -1, w.size(), 1, false, FieldRole::Count, P, P);
        w.u8(static_cast<uint32_t>(P));
        rec.field("palette.colors", -1, -1, w.size(), 1, false, FieldRole::Count, C & 0xFF, C);
        w.u8(static_cast<uint32_t>(C & 0xFF));
        rec.mark("palettes", w.size());
        for (const auto& pal : img.palettes)
            for (uint32_t c : pal) {
                uint32_t v = img.nativePalettes ? c : argbToPalette(img.paletteFormat, c);
                if (img.paletteFormat == kPalette8888) w.le32(v);
                else w.le16(v);
            }
        rec.mark("pixel-format", w.size());
        rec.field("pixel.format", -1, -1, w.size(), 2, false, FieldRole::Marker, img.pixelFormat, 0, kBadPixelFormats);
        w.le16(img.pixelFormat);
        rec.mark("pixel-blocks", w.size());
        for (int i = 0; i < M; ++i) {
            Bytes block = pixelBlockOf(m, static_cast<size_t>(i));
            rec.mark("pixel-block[" + std::to_string(i) + "]", w.size());
            rec.field("pixel.length", i, -1, w.size(), wd.len32 ? 4 : 2, true, FieldRole::Length,
                      static_cast<int64_t>(block.size()), static_cast<int64_t>(block.size()));
            if (wd.len32) w.le32(static_cast<uint32_t>(block.size()));
            else w.le16(static_cast<uint32_t>(block.size()));
            w.raw(block);
        }
    }
    rec.mark("body-end", w.size());

    if (m.remap) {
        const size_t pos = w.size();
        rec.mark("remap", pos);
        const auto& tables = *m.remap;
        rec.field("remap.tables", -1, -1, w.size(), 2, false, FieldRole::Count, static_cast<int64_t>(tables.size()),
                  static_cast<int64_t>(tables.size()));
        w.le16(static_cast<uint32_t>(tables.size()));
        int pair = 0;
        for (size_t t = 0; t < tables.size(); ++t) {
            rec.field("remap.table.length", static_cast<int>(t), -1, w.size(), 2, false, FieldRole::Length,
                      static_cast<int64_t>(tables[t].size() * 4), static_cast<int64_t>(tables[t].size() * 4));
            w.le16(static_cast<uint32_t>(tables[t].size() * 4));
            for (const RemapPair& p : tables[t]) {
                rec.field("remap.pair.module", pair, static_cast<int>(t), w.size(), 2, false, FieldRole::Index, p.module, M);
                w.le16(static_cast<uint32_t>(p.module));
                rec.field("remap.pair.replacement", pair, static_cast<int>(t), w.size(), 2, true, FieldRole::Index,
                          p.replacement, M);
                w.le16(static_cast<uint32_t>(p.replacement));
                ++pair;
            }
        }
        rec.mark("remap-position", w.size());
        rec.field("remap.position", -1, -1, w.size(), 4, true, FieldRole::Offset, static_cast<int64_t>(pos), 0);
        w.le32(static_cast<uint32_t>(pos));
        rec.mark("remap-marker", w.size());
        w.raw(m.remapMarker);
    }
    if (layout) layout->size = w.size();
    return w.take();
}

// --- Parsing -----------------------------------------------------------

SpriteModel parseSprite(ByteSpan data, FileLayout* layout, SpriteReading how) {
    Recorder rec{layout};
    SpriteModel m;
    const bool asEngine = how == SpriteReading::AsEngine;
    auto note = [&](std::string what) { m.notes.push_back(std::move(what)); };
    // Trailer first: it tells where the body must end.
    size_t bodyLimit = data.size();
    std::optional<size_t> trailerPos;
    if (data.size() >= 21) {
        std::string tail(reinterpret_cast<const char*>(data.data() + data.size() - 17), 17);
        if (tail == kRemapMarker) {
            ByteReader t(data, data.size() - 21);
            int32_t pos = t.les32();
            if (asEngine && pos == -1) {
                // The engine takes position -1 for "no trailer".
                note("remap trailer position -1: read as no trailer");
            } else {
                if (pos < 0 || static_cast<size_t>(pos) > data.size() - 21)
                    throw KitError("remap trailer position " + std::to_string(pos) + " lies outside the file");
                trailerPos = static_cast<size_t>(pos);
                bodyLimit = static_cast<size_t>(pos);
            }
        }
    }
    // The engine reads the body over the whole file, trailer or not.
    ByteReader r(data.first(asEngine ? data.size() : bodyLimit));
    auto fail = [&](const std::string& what) {
        throw KitError("sprite, offset " + std::to_string(r.pos()) + ": " + what);
    };
    try {
        rec.mark("header", 0);
        m.header = r.le16();
        rec.field("flags", -1, -1, r.pos(), 4, false, FieldRole::Flags, 0, 0);
        const uint32_t flags = r.le32();
        if (layout) layout->fields.back().value = flags;
        m.flags = flags;
        const Widths wd = widthsOf(flags);
        auto coord = [&](bool isSize) -> int {
            if (wd.wideCoords) return isSize ? r.le16() : r.les16();
            return isSize ? r.u8() : r.s8();
        };

        rec.mark("modules", r.pos());
        size_t at = r.pos();
        int M = std::max<int>(r.les16(), 0);
        rec.field("modules.count", -1, -1, at, 2, true, FieldRole::Count, M, M);
        for (int i = 0; i < M; ++i) {
            SpriteModule mod;
            rec.mark("module[" + std::to_string(i) + "]", r.pos());
            at = r.pos();
            mod.marker = r.u8();
            rec.field("module.marker", i, -1, at, 1, false, FieldRole::Marker, mod.marker, 0, kBadMarkers);
            if (!knownMarker(mod.marker)) {
                r.seek(at);
                fail("unknown module marker " + hex(mod.marker));
            }
            if (mod.marker == kMarkerImage && wd.extra) mod.extra = r.u8();
            if (markerHasColor(mod.marker)) mod.color = r.le32();
            if (mod.marker == kMarkerGradient) {
                uint32_t c2 = r.le32();
                mod.params = {s16(static_cast<int>(c2 & 0xFFFF)), s16(static_cast<int>(c2 >> 16)), r.s8()};
            }
            if (markerHasSize(mod.marker)) {
                mod.width = r.u8();
                mod.height = r.u8();
            }
            for (size_t k = 0; k < markerTrailingParams(mod.marker); ++k) mod.params.push_back(r.les16());
            m.modules.push_back(std::move(mod));
        }
        // Frame modules are read flat and handed to their frames below.
        struct RawFM { FrameModule fm; size_t indexAt; };
        std::vector<RawFM> fms;
        rec.mark("fmodules", r.pos());
        at = r.pos();
        int N = std::max<int>(r.les16(), 0);
        rec.field("fmodules.count", -1, -1, at, 2, true, FieldRole::Count, N, N);
        for (int k = 0; k < N; ++k) {
            RawFM raw;
            raw.indexAt = r.pos();
            raw.fm.index = wd.wideModule ? r.les16() : r.u8();
            raw.fm.x = coord(false);
            raw.fm.y = coord(false);
            if (wd.palette) raw.fm.palette = r.u8();
            raw.fm.flags = r.u8();
            fms.push_back(raw);
        }
        std::vector<int> rectCoords;
        if (wd.rects) {
            rec.mark("rects", r.pos());
            at = r.pos();
            int R = std::max<int>(r.les16(), 0);
            rec.field("rects.count", -1, -1, at, 2, true, FieldRole::Count, R, R);
            for (int i = 0; i < 4 * R; ++i) rectCoords.push_back(coord(i % 4 >= 2));
        }
        rec.mark("frames", r.pos());
        at = r.pos();
        int F = std::max<int>(r.les16(), 0);
        rec.field("frames.count", -1, -1, at, 2, true, FieldRole::Count, F, F);
        struct RawFrame { int count, first, rects; };
        std::vector<RawFrame> frames;
        int rectStart = 0, expectFirst = 0;
        std::vector<int> fmOwner(static_cast<size_t>(N), -1);
        for (int f = 0; f < F; ++f) {
            RawFrame fr{};
            at = r.pos();
            fr.count = r.u8();
            rec.field("frame.fmodules", f, -1, at, 1, false, FieldRole::Count, fr.count, fr.count);
            at = r.pos();
            fr.first = r.les16();
            rec.field("frame.first", f, -1, at, 2, true, FieldRole::Index, fr.first, N);
            if (wd.rects) {
                at = r.pos();
                fr.rects = r.s8();
                rec.field("frame.rects", f, -1, at, 1, true, FieldRole::Count, fr.rects, fr.rects);
                if (fr.rects < 0 && !asEngine) fail("frame " + std::to_string(f) + " has a negative rectangle count");
                if (fr.rects < 0)
                    note("frame " + std::to_string(f) + " has rectangle count " + std::to_string(fr.rects) +
                         ": it owns none and the next frame's rectangles start " + std::to_string(-fr.rects) +
                         " earlier");
            }
            if (asEngine) {
                // The engine's rule: a frame with modules names a range
                // inside the block; ranges may overlap, leave gaps or come
                // in any order.
                if (fr.count > 0 && (fr.first < 0 || fr.first + fr.count > N))
                    fail("frame " + std::to_string(f) + " uses frame modules " + std::to_string(fr.first) + "-" +
                         std::to_string(fr.first + fr.count - 1) + " of " + std::to_string(N));
                if (fr.count > 0 && fr.first != expectFirst)
                    note("frame " + std::to_string(f) + " uses frame modules " + std::to_string(fr.first) + "-" +
                         std::to_string(fr.first + fr.count - 1) + ", not from " + std::to_string(expectFirst));
                if (fr.count == 0 && fr.first != expectFirst)
                    note("frame " + std::to_string(f) + " has no frame modules; its first index " +
                         std::to_string(fr.first) + " is not used");
                if (fr.count > 0) expectFirst = fr.first + fr.count;
            } else {
                if (fr.first != expectFirst)
                    fail("frame " + std::to_string(f) + " does not start where the previous frame's modules end");
                if (fr.first + fr.count > N)
                    fail("frame " + std::to_string(f) + " uses frame modules beyond the " + std::to_string(N) + " there are");
                expectFirst += fr.count;
            }
            const int rectCount = std::max(fr.rects, 0);
            if (asEngine) {
                if (rectStart + fr.rects < 0 || static_cast<size_t>(rectStart + fr.rects) * 4 > rectCoords.size())
                    fail("frame " + std::to_string(f) + " rectangles end at " + std::to_string(rectStart + fr.rects) +
                         " of " + std::to_string(rectCoords.size() / 4));
            } else if (static_cast<size_t>(rectStart + fr.rects) * 4 > rectCoords.size()) {
                fail("frame " + std::to_string(f) + " uses rectangles beyond the rectangle block");
            }
            SpriteFrame frame;
            for (int k = 0; k < fr.count; ++k) {
                const size_t at = static_cast<size_t>(fr.first + k);
                frame.modules.push_back(fms[at].fm);
                if (fmOwner[at] < 0) fmOwner[at] = f;
            }
            for (int k = 0; k < rectCount; ++k) {
                const int* c = &rectCoords[static_cast<size_t>(rectStart + k) * 4];
                frame.rects.push_back({c[0], c[1], c[2], c[3]});
            }
            rectStart += fr.rects;
            frames.push_back(fr);
            m.frames.push_back(std::move(frame));
        }
        if (asEngine) {
            if (static_cast<size_t>(rectStart) * 4 != rectCoords.size())
                note("rectangles from " + std::to_string(rectStart) + " on belong to no frame");
            const auto unowned = std::count(fmOwner.begin(), fmOwner.end(), -1);
            if (unowned > 0) note(std::to_string(unowned) + " frame modules belong to no frame");
            // Every frame module is checked, owned or not, as the engine does.
            for (int k = 0; k < N; ++k) {
                const FrameModule& fm = fms[static_cast<size_t>(k)].fm;
                const bool nested = fm.flags & kFModuleNestedFrame;
                const int owner = fmOwner[static_cast<size_t>(k)];
                rec.field(nested ? "fmodule.frame" : "fmodule.module", k, owner, fms[static_cast<size_t>(k)].indexAt,
                          wd.wideModule ? 2 : 1, wd.wideModule, FieldRole::Index, fm.index, nested ? F : M);
                if (fm.index < 0 || fm.index >= (nested ? F : M))
                    fail("frame module " + std::to_string(k) + " refers to " + (nested ? "frame " : "module ") +
                         std::to_string(fm.index) + ", which does not exist");
            }
        } else {
            if (static_cast<size_t>(rectStart) * 4 != rectCoords.size()) fail("rectangles that no frame owns");
            if (expectFirst != N) fail("frame modules that no frame owns");
        }
        for (int f = 0, k = 0; f < F && !asEngine; ++f)
            for (int i = 0; i < frames[static_cast<size_t>(f)].count; ++i, ++k) {
                const FrameModule& fm = fms[static_cast<size_t>(k)].fm;
                bool nested = fm.flags & kFModuleNestedFrame;
                rec.field(nested ? "fmodule.frame" : "fmodule.module", k, f, fms[static_cast<size_t>(k)].indexAt,
                          wd.wideModule ? 2 : 1, wd.wideModule, FieldRole::Index, fm.index, nested ? F : M);
                size_t after = fms[static_cast<size_t>(k)].indexAt + (wd.wideModule ? 2 : 1) + 2 * (wd.wideCoords ? 2 : 1);
                if (wd.palette) {
                    rec.field("fmodule.palette", k, f, after, 1, false, FieldRole::Index, fm.palette, 0);
                    ++after;
                }
                rec.field("fmodule.flags", k, f, after, 1, false, FieldRole::Flags, fm.flags, 0);
                if (fm.index < 0 || fm.index >= (nested ? F : M))
                    fail("frame " + std::to_string(f) + " refers to " + (nested ? "frame " : "module ") +
                         std::to_string(fm.index) + ", which does not exist");
            }
        if (wd.bboxes) {
            rec.mark("bboxes", r.pos());
            r.skip(static_cast<size_t>(F) * 4 * (wd.wideCoords ? 2 : 1));
        }
        rec.mark("aframes", r.pos());
        at = r.pos();
        int A = std::max<int>(r.les16(), 0);
        rec.field("aframes.count", -1, -1, at, 2, true, FieldRole::Count, A, A);
        std::vector<AnimFrame> afs;
        for (int k = 0; k < A; ++k) {
            AnimFrame af;
            at = r.pos();
            af.frame = wd.wideFrame ? r.les16() : r.u8();
            rec.field("aframe.frame", k, -1, at, wd.wideFrame ? 2 : 1, wd.wideFrame, FieldRole::Index, af.frame, F);
            if (af.frame < 0 || af.frame >= F) fail("animation frame " + std::to_string(k) + " shows a frame that does not exist");
            af.time = r.u8();
            af.dx = r.s8();
            af.dy = r.s8();
            af.flags = r.u8();
            afs.push_back(af);
        }
        rec.mark("anims", r.pos());
        at = r.pos();
        int NA = std::max<int>(r.les16(), 0);
        rec.field("anims.count", -1, -1, at, 2, true, FieldRole::Count, NA, NA);
        int expect = 0;
        std::vector<bool> afOwned(static_cast<size_t>(A), false);
        for (int a = 0; a < NA; ++a) {
            at = r.pos();
            int count = r.u8();
            rec.field("anim.aframes", a, -1, at, 1, false, FieldRole::Count, count, count);
            at = r.pos();
            int firstAf = r.les16();
            rec.field("anim.first", a, -1, at, 2, true, FieldRole::Index, firstAf, A);
            SpriteAnim an;
            if (asEngine) {
                if (count > 0 && (firstAf < 0 || firstAf + count > A))
                    fail("animation " + std::to_string(a) + " uses animation frames that do not exist");
                if (count > 0 && firstAf != expect)
                    note("animation " + std::to_string(a) + " uses animation frames " + std::to_string(firstAf) + "-" +
                         std::to_string(firstAf + count - 1) + ", not from " + std::to_string(expect));
                if (count == 0 && firstAf != expect)
                    note("animation " + std::to_string(a) + " has no animation frames; its first index " +
                         std::to_string(firstAf) + " is not used");
                if (count > 0) {
                    expect = firstAf + count;
                    std::fill(afOwned.begin() + firstAf, afOwned.begin() + firstAf + count, true);
                    an.frames.assign(afs.begin() + firstAf, afs.begin() + firstAf + count);
                }
                m.anims.push_back(std::move(an));
                continue;
            }
            if (firstAf != expect) fail("animation " + std::to_string(a) + " does not start where the previous one ends");
            if (firstAf + count > A) fail("animation " + std::to_string(a) + " uses animation frames that do not exist");
            expect += count;
            an.frames.assign(afs.begin() + firstAf, afs.begin() + firstAf + count);
            m.anims.push_back(std::move(an));
        }
        if (expect != A && !asEngine) fail("animation frames that no animation owns");
        if (asEngine) {
            const auto unowned = std::count(afOwned.begin(), afOwned.end(), false);
            if (unowned > 0) note(std::to_string(unowned) + " animation frames belong to no animation");
        }

        if ((flags & kSpriteImages) && M >= 1 && asEngine && r.atEnd()) note("flag bit 24 is set but there is no image section");
        if ((flags & kSpriteImages) && M >= 1 && !(asEngine && r.atEnd())) {
            if (r.atEnd()) fail("flag bit 24 is set but the image section is missing");
            rec.mark("images", r.pos());
            SpriteImages img;
            img.nativePalettes = true;
            at = r.pos();
            img.paletteFormat = r.le16();
            rec.field("palette.format", -1, -1, at, 2, false, FieldRole::Marker, img.paletteFormat, 0, kBadPaletteFormats);
            if (!knownPaletteFormat(img.paletteFormat)) {
                r.seek(at);
                fail("unknown palette format " + hex(img.paletteFormat, 4));
            }
            at = r.pos();
            int P = r.u8();
            rec.field("palette.count", -1, -1, at, 1, false, FieldRole::Count, P, P);
            if (P > 16) fail(std::to_string(P) + " palettes, at most 16");
            at = r.pos();
            int C = r.u8();
            rec.field("palette.colors", -1, -1, at, 1, false, FieldRole::Count, C, C == 0 ? 256 : C);
            if (C == 0) C = 256;
            img.colorCount = C;
            rec.mark("palettes", r.pos());
            for (int p = 0; p < P; ++p) {
                std::vector<uint32_t> pal;
                for (int c = 0; c < C; ++c) pal.push_back(img.paletteFormat == kPalette8888 ? r.le32() : r.le16());
                img.palettes.push_back(std::move(pal));
            }
            if (layout)
                for (FileField& f : layout->fields)
                    if (f.group == "fmodule.palette") f.limit = P;
            if (asEngine) {
                // Every frame module, owned or not, once there are palettes.
                for (size_t k = 0; k < fms.size() && P > 0; ++k)
                    if (fms[k].fm.palette >= P)
                        fail("frame module " + std::to_string(k) + " names palette " + std::to_string(fms[k].fm.palette) +
                             ", which does not exist");
            } else {
                for (const SpriteFrame& fr : m.frames)
                    for (const FrameModule& fm : fr.modules)
                        if (wd.palette && fm.palette >= std::max(P, 1)) fail("a frame module names palette " + std::to_string(fm.palette) + ", which does not exist");
            }
            rec.mark("pixel-format", r.pos());
            at = r.pos();
            img.pixelFormat = r.le16();
            rec.field("pixel.format", -1, -1, at, 2, false, FieldRole::Marker, img.pixelFormat, 0, kBadPixelFormats);
            if (!knownPixelFormat(img.pixelFormat)) {
                r.seek(at);
                fail("unknown pixel format " + hex(img.pixelFormat, 4));
            }
            rec.mark("pixel-blocks", r.pos());
            for (int i = 0; i < M; ++i) {
                rec.mark("pixel-block[" + std::to_string(i) + "]", r.pos());
                at = r.pos();
                int64_t L = wd.len32 ? static_cast<int64_t>(r.le32()) : static_cast<int64_t>(r.les16());
                rec.field("pixel.length", i, -1, at, wd.len32 ? 4 : 2, true, FieldRole::Length, L, L);
                if (L < 0) fail("module " + std::to_string(i) + " has a negative pixel length");
                if (static_cast<uint64_t>(L) > r.remaining())
                    fail("module " + std::to_string(i) + "'s pixel block of " + std::to_string(L) + " bytes passes the end");
                ByteSpan block = r.take(static_cast<size_t>(L));
                SpriteModule& mod = m.modules[static_cast<size_t>(i)];
                size_t n = static_cast<size_t>(mod.width) * static_cast<size_t>(mod.height);
                if (mod.marker == kMarkerImage && n > 0 && img.pixelFormat != kPixelsUndecoded) {
                    try {
                        mod.pixels = decodePixels(img.pixelFormat, C, block, n);
                    } catch (const KitError& e) {
                        if (!asEngine) fail("module " + std::to_string(i) + ": " + e.what());
                        // The engine draws what the block gives; the rest is transparent.
                        note("module " + std::to_string(i) + ": " + e.what() + " (kept as raw bytes)");
                        mod.pixelBlock = Bytes(block.begin(), block.end());
                    }
                } else if (!block.empty()) {
                    mod.pixelBlock = Bytes(block.begin(), block.end());
                }
            }
            m.images = std::move(img);
        }
        rec.mark("body-end", r.pos());
        if (!r.atEnd() && !asEngine) fail(std::to_string(r.remaining()) + " bytes after the sprite body");
        if (asEngine && r.pos() < bodyLimit)
            note(std::to_string(bodyLimit - r.pos()) + " bytes after the sprite body, unread");
        if (asEngine && r.pos() > bodyLimit)
            note("the sprite body runs " + std::to_string(r.pos() - bodyLimit) + " bytes into the remap tables");
        checkNesting(m);
    } catch (const KitError& e) {
        if (std::string(e.what()).rfind("sprite", 0) == 0) throw;
        throw KitError("sprite, offset " + std::to_string(r.pos()) + ": " + e.what());
    }

    if (trailerPos && asEngine && m.modules.empty()) note("no modules: the remap tables are not read");
    if (trailerPos && !(asEngine && m.modules.empty())) {
        ByteReader t(data.first(data.size() - 21), *trailerPos);
        rec.mark("remap", t.pos());
        try {
            size_t at = t.pos();
            int T = t.le16();
            rec.field("remap.tables", -1, -1, at, 2, false, FieldRole::Count, T, T);
            if (T > 16) throw KitError(std::to_string(T) + " remap tables, at most 16");
            std::vector<std::vector<RemapPair>> tables;
            int pair = 0;
            for (int i = 0; i < T; ++i) {
                at = t.pos();
                int B = t.le16();
                rec.field("remap.table.length", i, -1, at, 2, false, FieldRole::Length, B, B);
                if (B % 4) throw KitError("remap table " + std::to_string(i) + " length is not a multiple of 4");
                std::vector<RemapPair> table;
                for (int b = 0; b < B; b += 4, ++pair) {
                    RemapPair p;
                    at = t.pos();
                    p.module = t.le16();
                    rec.field("remap.pair.module", pair, i, at, 2, false, FieldRole::Index, p.module, static_cast<int64_t>(m.modules.size()));
                    at = t.pos();
                    p.replacement = t.les16();
                    rec.field("remap.pair.replacement", pair, i, at, 2, true, FieldRole::Index, p.replacement,
                              static_cast<int64_t>(m.modules.size()));
                    if (static_cast<size_t>(p.module) >= m.modules.size() || p.replacement < 0 ||
                        static_cast<size_t>(p.replacement) >= m.modules.size())
                        throw KitError("remap pair names a module that does not exist");
                    table.push_back(p);
                }
                tables.push_back(std::move(table));
            }
            if (!t.atEnd() && !asEngine) throw KitError("bytes between the remap tables and the trailer's position");
            if (!t.atEnd()) note(std::to_string(t.remaining()) + " bytes between the remap tables and the trailer's position");
            m.remap = std::move(tables);
        } catch (const KitError& e) {
            throw KitError(std::string("sprite remap trailer: ") + e.what());
        }
        rec.mark("remap-position", data.size() - 21);
        rec.field("remap.position", -1, -1, data.size() - 21, 4, true, FieldRole::Offset, static_cast<int64_t>(*trailerPos), 0);
        rec.mark("remap-marker", data.size() - 17);
    }
    if (layout) layout->size = data.size();
    return m;
}

// --- Description -------------------------------------------------------

std::string describeSprite(const SpriteModel& m, const FileLayout* layout) {
    std::ostringstream out;
    uint32_t flags = 0;
    try {
        flags = spriteFlags(m);
    } catch (const KitError&) {
        flags = m.flags;
    }
    out << "flags " << hex(flags, 8) << "\n";
    out << "modules " << m.modules.size() << "\n";
    for (size_t i = 0; i < m.modules.size(); ++i) {
        const SpriteModule& mod = m.modules[i];
        out << "  [" << i << "] marker " << hex(mod.marker) << " " << mod.width << "x" << mod.height;
        if (markerHasColor(mod.marker)) out << " colour " << hex(mod.color, 8);
        for (int16_t p : mod.params) out << " " << p;
        out << "\n";
    }
    out << "frames " << m.frames.size() << "\n";
    for (size_t f = 0; f < m.frames.size(); ++f) {
        out << "  [" << f << "]";
        for (const FrameModule& fm : m.frames[f].modules)
            out << ((fm.flags & kFModuleNestedFrame) ? " F" : " m") << fm.index << "@" << fm.x << "," << fm.y
                << (fm.flags & 7 ? "/" + std::to_string(fm.flags & 7) : "");
        if (!m.frames[f].rects.empty()) out << " rects " << m.frames[f].rects.size();
        out << "\n";
    }
    out << "animations " << m.anims.size() << "\n";
    for (size_t a = 0; a < m.anims.size(); ++a) {
        out << "  [" << a << "]";
        for (const AnimFrame& af : m.anims[a].frames) out << " f" << af.frame << "x" << af.time;
        out << "\n";
    }
    if (m.images)
        out << "images: palette format " << hex(m.images->paletteFormat, 4) << ", " << m.images->palettes.size()
            << " palettes of " << colorCountOf(*m.images) << " colours, pixel format " << hex(m.images->pixelFormat, 4)
            << "\n";
    if (m.remap) out << "remap tables " << m.remap->size() << "\n";
    for (const std::string& n : m.notes) out << "note: " << n << "\n";
    if (layout) {
        out << "layout (" << layout->size << " bytes)\n";
        for (const FileBoundary& b : layout->boundaries)
            if (b.name.find('[') == std::string::npos) out << "  " << b.offset << " " << b.name << "\n";
    }
    return out.str();
}

}  // namespace kit

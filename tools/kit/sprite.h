// Sprite data: a model of a sprite (modules, frames, animations, palettes,
// module pixels, remap tables), the little-endian encoder that writes it in
// the engine's format, and a strict parser that reads a file back into the
// model. Both record a layout of the file (section boundaries and the
// count, length, index and marker fields) that the damage mode works from.
//
// The encoder decides the flag bits the content needs (wide offsets, wide
// indices, u32 pixel lengths, palette bytes, rectangles, image section) and
// ORs them into the model's own flags; it refuses content the format cannot
// hold or the engine would reject (indices out of range, nested frames that
// lead back to themselves, more than 16 palettes or remap tables, pixel
// indices outside the palette or the pixel format).
#pragma once

#include "tools/kit/bytes.h"

#include <optional>
#include <string>
#include <vector>

namespace kit {

// Flag word bits.
inline constexpr uint32_t kSpriteModuleExtra = 0x4;
inline constexpr uint32_t kSpriteCacheWithoutImages = 0x8;
inline constexpr uint32_t kSpritePixelLength32 = 0x80;
inline constexpr uint32_t kSpriteWideCoords = 0x400;
inline constexpr uint32_t kSpriteNoBoundingBoxes = 0x1000;
inline constexpr uint32_t kSpriteFModulePalette = 0x4000;
inline constexpr uint32_t kSpriteFrameRects = 0x8000;
inline constexpr uint32_t kSpriteWideModuleIndex = 0x100000;
inline constexpr uint32_t kSpriteWideFrameIndex = 0x200000;
inline constexpr uint32_t kSpriteImages = 0x1000000;
inline constexpr uint32_t kSpriteNoAnimCache = 0x20000000;

// Module record markers.
inline constexpr uint8_t kMarkerImage = 0x00;
inline constexpr uint8_t kMarkerRect = 0xFF;          // type 1, outline
inline constexpr uint8_t kMarkerFillRect = 0xFE;      // type 2
inline constexpr uint8_t kMarkerSizeOnly = 0xFD;      // type 5
inline constexpr uint8_t kMarkerArc = 0xFC;           // type 3
inline constexpr uint8_t kMarkerFillArc = 0xFB;       // type 4
inline constexpr uint8_t kMarkerTriangle = 0xFA;      // type 6
inline constexpr uint8_t kMarkerFillTriangle = 0xF9;  // type 7
inline constexpr uint8_t kMarkerLine = 0xF8;          // type 8
inline constexpr uint8_t kMarkerGradient = 0xF7;      // type 9

// Palette formats (the s16 written before the palettes).
inline constexpr uint16_t kPalette8888 = 0x8888;
inline constexpr uint16_t kPalette4444 = 0x4444;
inline constexpr uint16_t kPalette5515 = 0x5515;
inline constexpr uint16_t kPalette6505 = 0x6505;

// Pixel formats.
inline constexpr uint16_t kPixels8 = 0x5602;        // one index per byte
inline constexpr uint16_t kPixels4 = 0x1600;        // two per byte, high nibble first
inline constexpr uint16_t kPixels2 = 0x0400;        // four per byte, high bits first
inline constexpr uint16_t kPixels1 = 0x0200;        // eight per byte, high bit first
inline constexpr uint16_t kPixelsRunMask = 0x64F0;  // index in the low bits, run length above
inline constexpr uint16_t kPixelsRun127 = 0x27F1;   // literal < 128, or 128+n then an index
inline constexpr uint16_t kPixelsRunMixed = 0x56F2; // signed control: literals or one repeated index
inline constexpr uint16_t kPixelsUndecoded = 0xA640;// stored like 0x64F0; the engine has no decoder

// The 17-character marker that ends a sprite with a remap trailer. The
// engine compares it with string-pool entry 87 followed by entry 1 (the
// empty string), so the pool of the same archive must hold this text there.
inline constexpr const char* kRemapMarker = "[module remap v1]";

struct SpriteModule {
    uint8_t marker = kMarkerImage;
    uint8_t extra = 0;           // image modules, written when the flag word has kSpriteModuleExtra
    uint32_t color = 0;          // 0xAARRGGBB of a primitive
    int width = 0, height = 0;   // 0-255
    // Arc: start angle, arc angle. Triangle: x1 y1 x2 y2. Gradient: second
    // colour's low 16 bits, its high 16 bits, direction code (s8).
    std::vector<int16_t> params;
    std::vector<uint8_t> pixels;   // image modules: width * height palette indices, row by row
    std::optional<Bytes> pixelBlock;  // when set, written as the module's pixel block as it stands

    static SpriteModule image(int w, int h, std::vector<uint8_t> pixels);
    static SpriteModule rect(uint32_t argb, int w, int h);
    static SpriteModule fillRect(uint32_t argb, int w, int h);
    static SpriteModule sizeOnly(int w, int h);
    static SpriteModule arc(uint32_t argb, int w, int h, int start, int angle);
    static SpriteModule fillArc(uint32_t argb, int w, int h, int start, int angle);
    static SpriteModule triangle(uint32_t argb, int x1, int y1, int x2, int y2);
    static SpriteModule fillTriangle(uint32_t argb, int x1, int y1, int x2, int y2);
    static SpriteModule line(uint32_t argb, int w, int h);
    static SpriteModule gradient(uint32_t argb1, uint32_t argb2, int direction, int w, int h);

    bool operator==(const SpriteModule&) const = default;
};

inline constexpr uint8_t kFModuleNestedFrame = 0x10;

struct FrameModule {
    int index = 0;        // module, or frame when flags has kFModuleNestedFrame
    int x = 0, y = 0;
    int palette = 0;      // written when the flag word has kSpriteFModulePalette
    uint8_t flags = 0;    // bit 0 mirror, 1 flip, 2 quarter turn, 4 nested frame
    bool operator==(const FrameModule&) const = default;
};

struct FrameRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const FrameRect&) const = default;
};

struct SpriteFrame {
    std::vector<FrameModule> modules;
    std::vector<FrameRect> rects;
    bool operator==(const SpriteFrame&) const = default;
};

struct AnimFrame {
    int frame = 0;
    int time = 1;          // game ticks, 0-255
    int dx = 0, dy = 0;    // s8
    uint8_t flags = 0;
    bool operator==(const AnimFrame&) const = default;
};

struct SpriteAnim {
    std::vector<AnimFrame> frames;
    bool operator==(const SpriteAnim&) const = default;
};

struct SpriteImages {
    uint16_t paletteFormat = kPalette8888;
    uint16_t pixelFormat = kPixels8;
    int colorCount = 0;  // colours per palette, 1-256; 0: the size of palette 0
    // ARGB colours, converted to the palette format on writing; with
    // nativePalettes the values are the format's own (u32 or u16) and are
    // written unchanged.
    std::vector<std::vector<uint32_t>> palettes;
    bool nativePalettes = false;
    bool operator==(const SpriteImages&) const = default;
};

struct RemapPair {
    int module = 0;
    int replacement = 0;
    bool operator==(const RemapPair&) const = default;
};

struct SpriteModel {
    uint16_t header = 0;   // the two bytes before the flag word; the engine skips them
    uint32_t flags = 0;    // bits to write in addition to those the content needs
    std::vector<SpriteModule> modules;
    std::vector<SpriteFrame> frames;
    std::vector<SpriteAnim> anims;
    std::optional<SpriteImages> images;
    std::optional<std::vector<std::vector<RemapPair>>> remap;  // set: a trailer is written
    std::string remapMarker = kRemapMarker;
    // Set by the engine-rule reading only: what the file does that the
    // writer never does (the encoder ignores them).
    std::vector<std::string> notes;
    bool operator==(const SpriteModel&) const = default;
};

// --- Layout ------------------------------------------------------------

enum class FieldRole : uint8_t {
    Count,   // number of records that follow
    Length,  // number of bytes that follow
    Index,   // refers to a record; limit = number of valid targets
    Offset,  // absolute position in the file
    Marker,  // a tag or format code; alternatives hold bad values
    Flags,   // a flag word or byte
};

struct FileField {
    std::string group;   // e.g. "fmodule.module"; fields of one group are alike
    int index = -1;      // record number within the group
    int owner = -1;      // the record that holds it (the frame of a frame module ...)
    size_t offset = 0;
    uint8_t width = 1;   // bytes
    bool bigEndian = false;
    bool isSigned = false;
    FieldRole role = FieldRole::Count;
    int64_t value = 0;
    int64_t limit = 0;   // Index: number of valid targets; Count/Length: what is there
    std::vector<int64_t> alternatives;  // Marker: values that must not be accepted

    std::string name() const { return index < 0 ? group : group + "[" + std::to_string(index) + "]"; }

    static FileField make(std::string group, int index, size_t offset, uint8_t width, bool bigEndian, bool isSigned,
                          FieldRole role, int64_t value, int64_t limit) {
        FileField f;
        f.group = std::move(group);
        f.index = index;
        f.offset = offset;
        f.width = width;
        f.bigEndian = bigEndian;
        f.isSigned = isSigned;
        f.role = role;
        f.value = value;
        f.limit = limit;
        return f;
    }
};

struct FileBoundary {
    std::string name;
    size_t offset = 0;
};

struct FileLayout {
    std::vector<FileBoundary> boundaries;
    std::vector<FileField> fields;
    size_t size = 0;
    void mark(std::string name, size_t offset) { boundaries.push_back({std::move(name), offset}); }
    const FileField* find(std::string_view group, int index = -1) const;
};

// --- Encoding and parsing ----------------------------------------------

// The flag word the encoder will write for this model.
uint32_t spriteFlags(const SpriteModel& model);
Bytes encodeSprite(const SpriteModel& model, FileLayout* layout = nullptr);

// Strict reading: every field the counts and flags announce must be there,
// every index in range, every pixel block must decode to exactly its
// module's pixels, nothing may follow the body but a remap trailer. Pixel
// blocks of kPixelsUndecoded are kept as pixelBlock; palettes are kept in
// their native values (nativePalettes set).
//
// AsEngine reads by the engine's rules instead (what `inspect` uses): a
// frame's or animation's range only has to lie inside its block when it is
// not empty (ranges may overlap, leave gaps or come in any order; records
// no frame owns are allowed, and every frame module is still checked); a
// negative rectangle count moves the next frame's rectangles back (every
// start stays inside the block) and gives the frame none; a missing image
// section, a pixel block that does not decode exactly (kept as pixelBlock)
// and bytes after the body are allowed. Each such thing becomes a line of
// notes. What the engine refuses is still refused.
enum class SpriteReading { Strict, AsEngine };
SpriteModel parseSprite(ByteSpan data, FileLayout* layout = nullptr, SpriteReading how = SpriteReading::Strict);

// --- Palettes and pixels -----------------------------------------------

// The engine's conversion of a native palette value to ARGB.
uint32_t paletteToArgb(uint16_t format, uint32_t native);
// The kit's conversion of ARGB to a native value (quantising; for 5515
// alpha >= 0x80 is opaque, for 6505 alpha < 0x80 is the transparent
// 0xF81F). Throws for an opaque colour that 6505 would read as transparent.
uint32_t argbToPalette(uint16_t format, uint32_t argb);
size_t paletteEntryBytes(uint16_t format);  // 4 or 2; 0 for an unknown format
bool knownPixelFormat(uint16_t format);
bool knownPaletteFormat(uint16_t format);

// Bits the 0x64F0 run byte keeps for the index: bits needed for
// colorCount - 1.
int runShift(int colorCount);

// Encodes width * height palette indices in a pixel format; throws when an
// index does not fit the format or the palette.
Bytes encodePixels(uint16_t format, int colorCount, std::span<const uint8_t> indices);
// Strict decoding of one module's block into exactly n indices; throws when
// the block is short, long, or a run passes n.
std::vector<uint8_t> decodePixels(uint16_t format, int colorCount, ByteSpan block, size_t n);

// A readable summary (counts, flags, per-section offsets) for inspection.
std::string describeSprite(const SpriteModel& model, const FileLayout* layout = nullptr);

}  // namespace kit

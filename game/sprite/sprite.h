// The game's sprite classes: ASprite (the model, the image fields and the
// sprite-font fields), cSprite (alpha, rotation and scale) and BSprite (the
// only class ever instantiated; its virtual operations are dispatch slots
// 6-12). A sprite is a library of pictures in three levels: modules
// (indexed-pixel rectangles or coloured primitives), frames (modules placed
// at offsets with transforms, or nested frames) and animations (frames shown
// for a number of ticks).
//
// Invariants kept by the loader (BSprite::load), which rejects a file that
// would break them and then leaves the sprite as it was:
//  - every frame module names a module below moduleCount, or (nested-frame
//    bit) a frame below the frame count, and nested frames never lead back
//    to themselves and nest at most kMaxNesting deep;
//  - every frame's frame modules, every animation's animation frames and
//    every frame's rectangles lie inside their arrays; every animation
//    frame names an existing frame;
//  - at most 16 palettes and 16 remap tables; remap entries name modules;
//  - every module's pixel block lies inside pixelData.
// Index arguments of the public operations are checked as well: an index
// outside the sprite draws or answers nothing.
//
// All of this runs on the game thread: the statics (measure state, work
// buffers, text statics) are shared scratch space.
#pragma once

#include "game/sprite/statics.h"
#include "game/sprite/transform.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class BSprite;

namespace sprite {
// Deepest chain of nested frames a sprite may hold.
constexpr int kMaxNesting = 32;
// Palette and remap-table slots.
constexpr int kSlots = 16;
// Flag word bits the engine reads.
constexpr jint kFlagModuleExtra = 0x4;
constexpr jint kFlagCacheWithoutImages = 0x8;
constexpr jint kFlagPixelLength32 = 0x80;
constexpr jint kFlagWideCoords = 0x400;
constexpr jint kFlagNoBoundingBoxes = 0x1000;
constexpr jint kFlagFModulePalette = 0x4000;
constexpr jint kFlagFrameRects = 0x8000;
constexpr jint kFlagWideModuleIndex = 0x100000;
constexpr jint kFlagWideFrameIndex = 0x200000;
constexpr jint kFlagImages = 0x1000000;
constexpr jint kFlagNoAnimCache = 0x20000000;
// Pixel formats.
constexpr jint kPixels8 = 0x5602;
constexpr jint kPixels4 = 0x1600;
constexpr jint kPixels2 = 0x0400;
constexpr jint kPixels1 = 0x0200;
constexpr jint kPixelsRunMask = 0x64F0;
constexpr jint kPixelsRun127 = 0x27F1;
constexpr jint kPixelsRunMixed = 0x56F2;
constexpr jint kPixelsUndecoded = 0xA640;
// Palette formats (as unsigned 16-bit values).
constexpr jint kPalette8888 = 0x8888;
constexpr jint kPalette4444 = 0x4444;
constexpr jint kPalette5515 = 0x5515;
constexpr jint kPalette6505 = 0x6505;
// Module types.
enum ModuleType : jint {
    kImage = 0,
    kRect = 1,
    kFillRect = 2,
    kArc = 3,
    kFillArc = 4,
    kSizeOnly = 5,
    kTriangle = 6,
    kFillTriangle = 7,
    kLine = 8,
    kGradient = 9,
};
// A measured box: (minX, minY, maxX, maxY).
struct Box {
    jint minX = java::kIntMax, minY = java::kIntMax, maxX = java::kIntMin, maxY = java::kIntMin;
};
}  // namespace sprite

class ASprite : public Object {
public:
    // --- model (loaded; see BSprite::load) ----------------------------------
    jint moduleCount;
    ByteArray* moduleType;      // [M]
    ByteArray* moduleWidth;     // [M], u8
    ByteArray* moduleHeight;    // [M], u8
    IntArray* moduleColor;      // [M], ARGB of primitives
    ByteArray* moduleExtra;     // [M] with flag bit 2; kept, unused
    ShortArray* moduleParams;   // parameters of types 3, 4, 6, 7, 9, module after module
    ShortArray* moduleParamIndex;  // pairs (module, first index in moduleParams)
    // Frame modules. Module and frame indices are held widened to shorts
    // whatever width the file stores them in.
    ShortArray* fmoduleModule;
    ShortArray* fmoduleX;
    ShortArray* fmoduleY;
    ByteArray* fmodulePalette;  // with flag bit 14
    ByteArray* fmoduleFlags;
    // Frames.
    ByteArray* frameFModuleCount;  // u8
    ShortArray* frameFirstFModule;
    ShortArray* frameRectCoords;   // x, y (signed), width, height (unsigned) per rectangle
    ShortArray* frameRectStart;    // [F + 1]
    // Animation frames and animations.
    ShortArray* aframeFrame;
    ByteArray* aframeTime;     // u8 ticks
    ByteArray* aframeOffsetX;  // s8
    ByteArray* aframeOffsetY;  // s8
    ByteArray* aframeFlags;
    ByteArray* animAFrameCount;  // u8
    ShortArray* animFirstAFrame;
    // Module substitution.
    ObjectArray* moduleRemapTables;  // 16 slots of ShortArray [M]
    jint moduleRemapIndex;           // -1: none
    jint spriteFlags;

    // --- images (palettes and pixels) ---------------------------------------
    ObjectArray* palettes;  // 16 slots of IntArray [colorCount] ARGB
    jint paletteCount;
    jint colorCount;
    jint currentPalette;
    jboolean hasTransparency;
    jboolean hasTranslucency;
    jshort pixelFormat;
    jint pixelIndexMask;
    jint pixelRunShift;
    ByteArray* pixelData;
    IntArray* pixelDataOffset;  // [M]; module m's block ends where m + 1's starts

    // --- caches -------------------------------------------------------------
    jint cacheFlags;                // bit 0: ARGB caches instead of Images
    ObjectArray* moduleRGBCache;    // [palette][module] IntArray
    ObjectArray* moduleImageCache;  // [palette][module] Image
    ObjectArray* frameRGBCache;     // [palette][frame] IntArray
    ObjectArray* frameImageCache;   // [palette][frame] Image

    // --- sprite font --------------------------------------------------------
    jint fontTop;
    jint fontHeight;
    jint lineSpacing;
    jint charSpacing;
    jint spaceAdvance;
    jboolean underline;
    jboolean bold;
    jshort charMapSize;
    ObjectArray* charMap;  // buckets of (character, frame) short pairs

    // Largest image module (width x height): the work buffers are grown to
    // hold it when the sprite is loaded.
    jint maxModulePixels;
    // Box of every frame that has a cached or index image: (left, top,
    // width, height) per frame, recorded when the image is built.
    IntArray* frameBoxes;

    // --- model queries -------------------------------------------------------
    jint getAFrameCount(jint anim);
    jint getAFrameTime(jint anim, jint i);
    jint getAnimDuration(jint anim);
    jint getAnimCount();
    jint getFModuleCount(jint frame);
    jint getFModuleModule(jint frame, jint i);
    jint getFModuleX(jint frame, jint i);
    jint getFModuleY(jint frame, jint i);
    jint getFrameCount();
    bool hasFrames();
    void getFrameRect(IntArray* rect, jint frame, jint x, jint y, jint flags);
    void getAFrameRect(IntArray* rect, jint anim, jint aframe, jint x, jint y, jint flags);
    jint getFrameWidth(jint frame);
    jint getFrameHeight(jint frame);
    jint getFrameLeft(jint frame);
    jint getFrameTop(jint frame);
    jint getFrameRectCount(jint frame);
    void getFrameRectAt(jint frame, jint i, IntArray* rect, jint flags);
    void getAFrameRectAt(jint anim, jint aframe, jint i, IntArray* rect, jint flags, bool addOffset);
    jint getModuleRemapIndex() { return moduleRemapIndex; }
    void setModuleRemapIndex(jint i) { moduleRemapIndex = i; }
    jint findModuleParams(jint module);
    bool hasPixelData() { return pixelData != nullptr; }
    // Drops the pixel data once its images are built (module and frame
    // caches and index images stay; modules without one then draw nothing)
    // and runs the collection when the engine collects on load.
    void releasePixelData();
    jint getCurrentPalette() { return currentPalette; }
    void setRotation(jint angle);
    void setScale(jint percent);

    // Native forms of the box queries (no Java array).
    sprite::Box measureFrame(jint frame, jint x, jint y, jint flags);
    sprite::Box measureAFrame(jint anim, jint aframe, jint x, jint y, jint flags);

    // --- palettes and pixels ----------------------------------------------------
    bool decodePixels(ByteArray* data, jint offset, jint width, jint height);
    IntArray* decodeModule(jint module);
    static IntArray* getWorkBuffer(IntArray* other);

    // --- painting helpers ---------------------------------------------------------
    void paintFModule(javax_microedition_lcdui_Graphics* g, jint frame, jint i, jint x, jint y, jint flags, jint p1,
                      jint p2);

    // --- ARGB transforms --------------------------------------------------------
    static IntArray* transformRGB(IntArray* src, jint w, jint h, jint t);
    static void drawRGBTransformed(javax_microedition_lcdui_Graphics* g, IntArray* rgb, jint offset, jint scan, jint x,
                                   jint y, jint w, jint h, bool processAlpha, jint t);
    static javax_microedition_lcdui_Image* rotateImage(javax_microedition_lcdui_Image* img);
    static void setImageCacheEnabled(ASprite* sprite, bool on);

    // --- drawing routines over Graphics --------------------------------------------
    static void drawLine(javax_microedition_lcdui_Graphics* g, jint x1, jint y1, jint x2, jint y2);
    static void fillRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
    static void getImageRGB(javax_microedition_lcdui_Image* img, IntArray* rgb, jint offset, jint scan, jint x, jint y,
                            jint w, jint h);
    static void fillGradient(jint x, jint y, jint w, jint h, jint colour1, jint colour2, jint direction);
    // Fills (x1, y1)-(x2, y2) (exclusive ends) of an ARGB buffer of width x
    // height, clipped to it, with colour blended by the colour's alpha: red
    // and blue through 0xFF00FF, green through 0xFF00, weights alpha and
    // 256 - alpha; each pixel keeps its own alpha byte.
    static void fillRectBlend(IntArray* buffer, jint width, jint height, jint x1, jint y1, jint x2, jint y2,
                              jint colour);
    // The gradient on a given Graphics (fillGradient uses the game's).
    static void fillGradientOn(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint colour1,
                               jint colour2, jint direction);

    // --- sprite font -------------------------------------------------------------
    jint getCharFrame(jchar c);
    jint getGlyphAdvance(jint frame);
    // The font metrics from frame 0 and the space glyph.
    void computeFontMetrics();
    jint getFontHeight() { return fontHeight; }
    jint getLineSpacing() { return lineSpacing; }
    jint getSpaceAdvance() { return spaceAdvance; }
    // Positions of sep in text[start, end): slot 0 = start - 1, then each
    // position, then end.
    static IntArray* separatorPositions(String* text, jchar sep, jint start, jint end);
    // 1 plus the new lines before the text's last character.
    static jint countLines(String* text);

protected:
    explicit ASprite(uint16_t classId);
    BSprite* self();

    // Checked views of the model (all indices validated by the loader).
    jint moduleWidthAt(jint m) const { return static_cast<uint8_t>(moduleWidth->data()[m]); }
    jint moduleHeightAt(jint m) const { return static_cast<uint8_t>(moduleHeight->data()[m]); }
    jint remapModule(jint m) const;
    bool validFrame(jint frame) const { return frameFModuleCount && frame >= 0 && frame < frameFModuleCount->length(); }
    bool validAnim(jint anim) const { return animAFrameCount && anim >= 0 && anim < animAFrameCount->length(); }
    // The palette in use, or null.
    IntArray* paletteArray(jint p) const;
    // A module's pixel block inside pixelData.
    bool moduleBlock(jint module, jint* offset, jint* length) const;

    friend class BSprite;
    friend class cSprite;
};

class cSprite : public ASprite {
public:
    jint alpha;  // 0-255
    jboolean alphaFromLastPalette;
    jboolean hasSemiAlpha;
    jint transparentIndex;    // -1: none
    ObjectArray* loadedAlphas;  // [P] ByteArray [colours]
    jint rotation;            // sine-table steps, 0 = none
    jint scale;               // percent, 100 = none
    jint scaleCenterX;
    jint scaleCenterY;
    jboolean scalingFromAFrame;
    jboolean scaledPaintBusy;
    ObjectArray* frameIndexImages;  // [F] ByteArray of the frame's palette indices
    IntArray* frameIndexBackground;  // [F] index standing for "no pixel" in each index image

    void initAlphaTables();
    void applyAlphaPalette();
    void setAlpha(jint a);
    void buildFrameIndexImages(jint first, jint last);
    jint getAnimDuration(jint anim) { return ASprite::getAnimDuration(anim); }
    // bit 0 reverses each row, bit 1 the order of the rows, in place.
    static void flipPixels(IntArray* pixels, jint w, jint h, jint flags);

protected:
    explicit cSprite(uint16_t classId) : ASprite(classId) {}
};

class BSprite final : public cSprite {
public:
    BSprite();

    jboolean moduleImagesRotated;

    // --- dispatch slots 6-12 ----------------------------------------------------
    virtual void load(ByteArray* data, jint offset, jint unused1, jint unused2, jint unused3);          // 6
    virtual void paintAFrame(javax_microedition_lcdui_Graphics* g, jint anim, jint aframe, jint x, jint y,
                             jint flags, jint p1, jint p2);                                            // 7
    virtual void paintFrame(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags, jint p1,
                            jint p2);                                                                  // 8
    virtual void buildModuleImages(jint palette, jint first, jint last, jint sourcePalette);           // 9
    virtual void paintModule(javax_microedition_lcdui_Graphics* g, jint module, jint x, jint y, jint flags);  // 10
    virtual void setPalette(jint p);                                                                   // 11
    virtual void unused() {}                                                                           // 12

    void load(ByteArray* data, jint offset) { load(data, offset, 0xFFFFFF, 1, 0); }

    // --- caches -------------------------------------------------------------
    void cacheFrameImages(jint palette, jint first, jint last);
    void cacheAnimImages(jint palette, jint anim);
    bool paintFrameFromCache(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags);
    void paintFrameModules(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags, jint p1,
                           jint p2);
    // The module painter after the quarter turn (device coordinates).
    void paintModuleRaw(javax_microedition_lcdui_Graphics* g, jint module, jint x, jint y, jint flags);

    // --- frame images -----------------------------------------------------------
    IntArray* buildFrameImage(jint frame, jint palette, IntArray* buf);
    javax_microedition_lcdui_Image* buildFrameImageAsImage(jint frame, jint palette);

    // --- sprite font --------------------------------------------------------------
    void setCharMap(ShortArray* map);
    void measureString(String* text, CharArray* chars);
    jint getStringWidth(String* text);
    void drawString(javax_microedition_lcdui_Graphics* g, String* text, CharArray* chars, jint x, jint y, jint anchor,
                    bool restorePalette);
    void drawString(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor,
                    bool restorePalette) {
        drawString(g, text, nullptr, x, y, anchor, restorePalette);
    }
    void drawMultilineString(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor,
                             jint from, jint to);

    // --- text wrapping --------------------------------------------------------------
    ShortArray* computeLineBreaks(String* text, jint width);
    String* wrapText(String* text, jint width);
    jint getWrappedLineCount(String* text, jint from, jint to, jint width);

private:
    void paintRotated(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags);
    void paintFrameFromIndexImage(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags,
                                  jint p1, jint p2);
    void paintPrimitive(javax_microedition_lcdui_Graphics* g, jint module, jint type, jint x, jint y, jint w, jint h,
                        jint flags);
    void drawModulePixels(javax_microedition_lcdui_Graphics* g, jint module, jint x, jint y, jint w, jint h,
                          jint flags);
    // The text walk shared by measuring and drawing.
    template <typename Chars>
    void measureRange(const Chars& text, jint from, jint to);
    template <typename Chars>
    void drawRange(javax_microedition_lcdui_Graphics* g, const Chars& text, jint from, jint to, jint x0, jint y0);
    void drawGlyph(javax_microedition_lcdui_Graphics* g, jint frame, jint* x, jint y);

    friend class ASprite;
};

inline BSprite* ASprite::self() { return static_cast<BSprite*>(this); }

// Graphics: colour, clip and translation state and every drawing primitive,
// writing straight into the pixels of a target Surface. There is no locking
// and no deferred drawing: each call writes its pixels at once.
//
// GraphicsState is laid out like the native fields of the Java Graphics
// object after its target reference (colour, clip x1, y1, x2, y2, translate
// x, y), so the runtime glue can embed it there. The clip is in target
// pixels with the translation included; x2 and y2 are exclusive. Every
// drawing call additionally intersects the clip with the target's bounds,
// so a state that does not match its target can never write outside it.
//
// Coordinates arriving from Java are 32-bit; everything derived from them
// (translated corners, edges, line ends) is computed in 64 bits, so huge
// values clip correctly instead of wrapping. Argument faults are logged
// through logFault and the call returns without effect; no exception.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/pixel.h"
#include "display/surface.h"
#include "runtime/jint.h"

namespace display {

using java::jchar;
using java::jint;

struct GraphicsState {
    uint32_t colour = 0;  // ARGB; setters force alpha 0xFF, a new Graphics has 0
    jint clipX1 = 0;
    jint clipY1 = 0;
    jint clipX2 = 0;
    jint clipY2 = 0;
    jint translateX = 0;
    jint translateY = 0;

    // The state of a new Graphics: whole-target clip, no translation,
    // colour word 0 (alpha 0: fills and lines leave pixels unchanged).
    static GraphicsState forTarget(jint width, jint height) {
        GraphicsState s;
        s.clipX2 = width;
        s.clipY2 = height;
        return s;
    }
    // The screen reset before each frame: no translation, whole clip, white.
    void resetForFrame(jint width, jint height) {
        *this = forTarget(width, height);
        colour = 0xFFFFFFFF;
    }
};

// Drawing on one target with one state. Cheap to make: the glue builds one
// per native call from the Java object's fields.
class Graphics {
public:
    Graphics(GraphicsState& state, const Surface& target) : s_(state), t_(target) {}

    // --- colour -------------------------------------------------------
    void setColor(jint rgb);
    void setColor(jint r, jint g, jint b);  // out-of-range components log "setColor r" / "g" / "b"
    jint getColor() const { return static_cast<jint>(s_.colour); }
    jint getRedComponent() const { return (s_.colour >> 16) & 0xFF; }
    jint getGreenComponent() const { return (s_.colour >> 8) & 0xFF; }
    jint getBlueComponent() const { return s_.colour & 0xFF; }
    static jint getDisplayColor(jint c) { return c; }

    // --- translation and clip -------------------------------------------
    void translate(jint dx, jint dy);
    jint getTranslateX() const { return s_.translateX; }
    jint getTranslateY() const { return s_.translateY; }
    void setClip(jint x, jint y, jint w, jint h);
    void clipRect(jint x, jint y, jint w, jint h);
    jint getClipX() const { return java::isub(s_.clipX1, s_.translateX); }
    jint getClipY() const { return java::isub(s_.clipY1, s_.translateY); }
    jint getClipWidth() const { return java::isub(s_.clipX2, s_.clipX1); }
    jint getClipHeight() const { return java::isub(s_.clipY2, s_.clipY1); }

    // --- primitives -----------------------------------------------------
    void fillRect(jint x, jint y, jint w, jint h);
    void drawLine(jint x1, jint y1, jint x2, jint y2);
    void drawRect(jint x, jint y, jint w, jint h);  // covers w + 1 by h + 1 pixels
    void drawRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint arcHeight);
    void fillRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint arcHeight);
    void drawArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle);
    void fillArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle);
    void fillTriangle(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3);

    // --- images and pixel blocks (blit.cpp) ------------------------------
    // A null source is passed as nullptr.
    void drawImage(const Surface* image, jint x, jint y, jint anchor);
    void drawRegion(const Surface* src, jint xSrc, jint ySrc, jint width, jint height, jint transform, jint xDest,
                    jint yDest, jint anchor);
    // rgbData has `length` elements (nullptr for a null array). Every index
    // read must lie inside it, else the call logs and draws nothing.
    void drawRGB(const jint* rgbData, size_t length, jint offset, jint scanlength, jint x, jint y, jint width,
                 jint height, bool processAlpha);

    // --- text (font.cpp) -------------------------------------------------
    // The characters offset .. offset + length - 1 of text (textLength
    // UTF-16 units; nullptr for a null String) in the current colour.
    void drawSubstring(const jchar* text, size_t textLength, jint offset, jint length, jint x, jint y, jint anchor);
    void drawString(const jchar* text, size_t textLength, jint x, jint y, jint anchor) {
        drawSubstring(text, textLength, 0, static_cast<jint>(textLength), x, y, anchor);
    }
    void drawChar(jchar c, jint x, jint y, jint anchor) { drawSubstring(&c, 1, 0, 1, x, y, anchor); }
    void drawChars(const jchar* data, size_t dataLength, jint offset, jint length, jint x, jint y, jint anchor) {
        drawSubstring(data, dataLength, offset, length, x, y, anchor);
    }

    GraphicsState& state() const { return s_; }
    const Surface& target() const { return t_; }

private:
    struct Box {  // clip in target pixels, intersected with the target
        int64_t x1, y1, x2, y2;
        bool empty() const { return x1 >= x2 || y1 >= y2; }
    };
    // The effective clip, or an empty box when the target cannot take RGB565
    // drawing (logged) or is not a consistent view.
    Box drawableClip() const;
    // fillRect on translated 64-bit coordinates.
    void fillAbs(int64_t x, int64_t y, int64_t w, int64_t h, const Box& clip);
    // drawLine on translated 64-bit coordinates.
    void lineAbs(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Box& clip);
    void plot(int64_t x, int64_t y, const Box& clip) { fillAbs(x, y, 1, 1, clip); }
    void setClipBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    template <bool Fill>
    void arc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle);

    GraphicsState& s_;
    Surface t_;
};

// FillRect16: fills h rows of w pixels from pixels, rows pitch bytes apart.
void FillRect16(uint16_t* pixels, jint w, jint h, jint pitch, uint16_t colour565);

}  // namespace display

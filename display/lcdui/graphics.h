// javax.microedition.lcdui.Graphics as a runtime object: a target Image and
// the drawing state (colour, clip, translation) as the native fields after
// it. Every operation is the display core's display::Graphics over the
// target's pixels, built afresh per call (array elements may move at any
// allocation, so no pixel pointer outlives a call).
//
// Java arguments arrive as Java references: a null Image, array or String
// is handed on as "no data" and the core logs the fault and draws nothing.
// The receiver itself must not be null (as for any Java call).
#pragma once

#include "display/graphics.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class javax_microedition_lcdui_Image;

class javax_microedition_lcdui_Graphics : public Object {
public:
    // Target = image; whole-image clip from the image's virtual getWidth /
    // getHeight; no translation; colour word 0 (alpha 0: fills and lines
    // leave pixels unchanged until a colour is set). A null image logs
    // "NullPointer" and gives an empty clip.
    explicit javax_microedition_lcdui_Graphics(javax_microedition_lcdui_Image* image);
    static javax_microedition_lcdui_Graphics* make(javax_microedition_lcdui_Image* image);

    // --- colour -------------------------------------------------------------
    void setColor(jint rgb) { core().setColor(rgb); }
    void setColor(jint red, jint green, jint blue) { core().setColor(red, green, blue); }
    jint getColor() const { return static_cast<jint>(m_state.colour); }
    jint getRedComponent() const { return (m_state.colour >> 16) & 0xFF; }
    jint getGreenComponent() const { return (m_state.colour >> 8) & 0xFF; }
    jint getBlueComponent() const { return m_state.colour & 0xFF; }
    static jint getDisplayColor(jint colour) { return colour; }

    // --- translation and clip ------------------------------------------------
    void translate(jint dx, jint dy) { core().translate(dx, dy); }
    jint getTranslateX() const { return m_state.translateX; }
    jint getTranslateY() const { return m_state.translateY; }
    void setClip(jint x, jint y, jint width, jint height) { core().setClip(x, y, width, height); }
    void clipRect(jint x, jint y, jint width, jint height) { core().clipRect(x, y, width, height); }
    jint getClipX() const { return java::isub(m_state.clipX1, m_state.translateX); }
    jint getClipY() const { return java::isub(m_state.clipY1, m_state.translateY); }
    jint getClipWidth() const { return java::isub(m_state.clipX2, m_state.clipX1); }
    jint getClipHeight() const { return java::isub(m_state.clipY2, m_state.clipY1); }

    // --- primitives ---------------------------------------------------------------
    void fillRect(jint x, jint y, jint width, jint height) { core().fillRect(x, y, width, height); }
    void drawLine(jint x1, jint y1, jint x2, jint y2) { core().drawLine(x1, y1, x2, y2); }
    void drawRect(jint x, jint y, jint width, jint height) { core().drawRect(x, y, width, height); }
    void drawRoundRect(jint x, jint y, jint width, jint height, jint arcWidth, jint arcHeight) {
        core().drawRoundRect(x, y, width, height, arcWidth, arcHeight);
    }
    void fillRoundRect(jint x, jint y, jint width, jint height, jint arcWidth, jint arcHeight) {
        core().fillRoundRect(x, y, width, height, arcWidth, arcHeight);
    }
    void drawArc(jint x, jint y, jint width, jint height, jint startAngle, jint arcAngle) {
        core().drawArc(x, y, width, height, startAngle, arcAngle);
    }
    void fillArc(jint x, jint y, jint width, jint height, jint startAngle, jint arcAngle) {
        core().fillArc(x, y, width, height, startAngle, arcAngle);
    }
    void fillTriangle(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3) {
        core().fillTriangle(x1, y1, x2, y2, x3, y3);
    }

    // --- images and pixel blocks -----------------------------------------------------
    void drawImage(javax_microedition_lcdui_Image* image, jint x, jint y, jint anchor);
    void drawRegion(javax_microedition_lcdui_Image* src, jint xSrc, jint ySrc, jint width, jint height,
                    jint transform, jint xDest, jint yDest, jint anchor);
    // Every index read must lie inside rgbData (checked; logged otherwise).
    void drawRGB(IntArray* rgbData, jint offset, jint scanlength, jint x, jint y, jint width, jint height,
                 jboolean processAlpha);

    // --- text (the one font) ------------------------------------------------------------
    void drawString(String* text, jint x, jint y, jint anchor);
    void drawSubstring(String* text, jint offset, jint length, jint x, jint y, jint anchor);
    void drawChar(jchar c, jint x, jint y, jint anchor) { core().drawChar(c, x, y, anchor); }
    void drawChars(CharArray* data, jint offset, jint length, jint x, jint y, jint anchor);

    // The frame reset of the screen Graphics: translation back to (0, 0),
    // clip to the whole target, colour 0xFFFFFF (opaque white).
    void resetForPaint();

    javax_microedition_lcdui_Image* getTarget() const { return m_target; }
    // The core view of this object for one call.
    display::Graphics core();

    javax_microedition_lcdui_Image* m_target;
    display::GraphicsState m_state;  // colour, clip x1, y1, x2, y2, translate x, y
};

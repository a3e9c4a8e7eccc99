// javax.microedition.lcdui.Font as a runtime object: face, style and size
// as asked for, and the one font's ascent and height (the same for every
// Font). Measuring goes to the display core's font; the font cache and the
// default font live in the lcdui static fields.
//
// Invariant: one Font object per distinct face | style | size (bitwise OR)
// once cached; the default font is a separate object made on first use.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class javax_microedition_lcdui_Font : public Object {
public:
    // MIDP constants.
    static constexpr jint FACE_SYSTEM = 0, FACE_MONOSPACE = 32, FACE_PROPORTIONAL = 64;
    static constexpr jint STYLE_PLAIN = 0, STYLE_BOLD = 1, STYLE_ITALIC = 2, STYLE_UNDERLINED = 4;
    static constexpr jint SIZE_MEDIUM = 0, SIZE_SMALL = 8, SIZE_LARGE = 16;
    static constexpr jint FONT_STATIC_TEXT = 0, FONT_INPUT_TEXT = 1;

    // Constructor body: stores the three values, clears the metrics, init.
    javax_microedition_lcdui_Font(jint face, jint style, jint size);

    // --- dispatch slots after Object's ----------------------------------------
    virtual jint getSize();    // 6
    virtual jint getHeight();  // 7

    // --- converted accessors -----------------------------------------------------
    jint getFace() const { return m_face; }
    jint getStyle() const { return m_style; }
    jint getBaselinePosition() const { return m_ascent; }
    jboolean isPlain() const { return m_style == 0; }
    jboolean isBold() const { return (m_style & STYLE_BOLD) != 0; }
    jboolean isItalic() const { return (m_style & STYLE_ITALIC) != 0; }
    jboolean isUnderlined() const { return (m_style & STYLE_UNDERLINED) != 0; }

    // --- the font cache ----------------------------------------------------------
    // One cached Font per face | style | size; no argument is validated.
    static javax_microedition_lcdui_Font* getFont(jint face, jint style, jint size);
    // Made on first use (face, style, size 0); not entered in the cache.
    static javax_microedition_lcdui_Font* getDefaultFont();
    // 0 and 1 give the default font; anything else raises
    // java_lang_IllegalArgumentException (pending) and answers null.
    static javax_microedition_lcdui_Font* getFont(jint fontSpecifier);

    // --- natives --------------------------------------------------------------------
    // Stores the values; ascent and height from the one font.
    void init(jint face, jint style, jint size);
    // Width of the characters start .. end inclusive (0 when start > end; an
    // index outside the text logs and answers 0; a null String "NullPointer").
    jint substringWidth(String* text, jint start, jint end);
    jint stringWidth(String* text);
    jint charWidth(jchar c);
    // Width of ch[offset .. offset + length - 1]; a range outside the array
    // logs and answers 0.
    jint charsWidth(CharArray* ch, jint offset, jint length);

    jint m_face;
    jint m_style;
    jint m_size;
    jint m_ascent;
    jint m_height;
};

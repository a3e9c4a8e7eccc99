// Font natives (metrics and widths from the one font) and the converted
// font cache and default font.
#include "display/lcdui/font.h"

#include "display/font.h"
#include "display/lcdui/lcdui.h"
#include "display/log.h"
#include "javalib/hashtable.h"
#include "javalib/wrappers.h"
#include "runtime/exception.h"
#include "runtime/log.h"

using Font = javax_microedition_lcdui_Font;

javax_microedition_lcdui_Font::javax_microedition_lcdui_Font(jint face, jint style, jint size)
    : Object(cid::javax_microedition_lcdui_Font) {
    m_face = face;
    m_style = style;
    m_size = size;
    m_ascent = 0;
    m_height = 0;
    init(face, style, size);
}

jint Font::getSize() { return m_size; }
jint Font::getHeight() { return m_height; }

void Font::init(jint face, jint style, jint size) {
    m_face = face;
    m_style = style;
    m_size = size;
    const display::FontMetrics metrics = display::fontMetrics();
    m_ascent = metrics.ascent;
    m_height = metrics.height;
}

jint Font::substringWidth(String* text, jint start, jint end) {
    if (!text) {
        rt::logNullPointer();
        return 0;
    }
    return display::substringWidth(text->chars(), static_cast<size_t>(text->length()), start, end);
}

jint Font::stringWidth(String* text) {
    if (!text) {
        rt::logNullPointer();
        return 0;
    }
    return substringWidth(text, 0, text->length() - 1);
}

jint Font::charWidth(jchar c) { return display::charWidth(c); }

jint Font::charsWidth(CharArray* ch, jint offset, jint length) {
    if (!ch) {
        rt::logNullPointer();
        return 0;
    }
    if (offset < 0 || length < 0 || int64_t{offset} + length > int64_t{ch->length()}) {
        display::logFault("charsWidth offset, length");
        return 0;
    }
    if (length == 0) return 0;
    return display::textWidth(ch->data() + offset, static_cast<size_t>(length));
}

// --- the font cache ---------------------------------------------------------------------

Font* Font::getDefaultFont() {
    lcdui::Statics* s = lcdui::statics();
    if (s && s->defaultFont) return s->defaultFont;
    Font* font = newObject<Font>(0, 0, 0);
    if (s) s->defaultFont = font;
    return font;
}

Font* Font::getFont(jint fontSpecifier) {
    if (fontSpecifier == FONT_STATIC_TEXT || fontSpecifier == FONT_INPUT_TEXT) return getDefaultFont();
    rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
    return nullptr;
}

Font* Font::getFont(jint face, jint style, jint size) {
    lcdui::Statics* s = lcdui::statics();
    if (!s) return newObject<Font>(face, style, size);
    if (!s->fontCache) s->fontCache = newObject<java_util_Hashtable>(4);  // threshold 3
    auto* key = newObject<java_lang_Integer>(face | style | size);
    if (auto* cached = static_cast<Font*>(s->fontCache->get(key))) return cached;
    Font* font = newObject<Font>(face, style, size);
    s->fontCache->put(key, font);
    return font;
}

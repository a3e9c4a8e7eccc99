// Sprite-font text: the character map, glyph advances, the inline codes of
// the game's texts (new line, palette switch, inline frame, underline and
// bold switches), measuring into the text statics and drawing at an
// anchor, as a block or line by line. Measuring and drawing allocate
// nothing; characters are read from the String or char array in place,
// again at every character (painting a glyph may move array elements).
#include <algorithm>

#include "game/sprite/gfx.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"
#include "runtime/log.h"

using namespace sprite;

namespace {

constexpr jchar kNewLine = 10;
constexpr jchar kSpace = 32;
constexpr jchar kPaletteCode = 1;
constexpr jchar kFrameCode = 2;
constexpr jchar kEscape = 92;
constexpr jchar kBoldToggle = 94;
constexpr jchar kUnderlineToggle = 95;

// Characters of a String or a char array; past the end they read as 0.
struct TextChars {
    String* text;
    CharArray* chars;
    jint length() const { return text ? text->length() : chars ? chars->length() : 0; }
    jchar operator[](jint i) const {
        if (text) return text->charAt(i);
        return chars && i >= 0 && i < chars->length() ? chars->data()[i] : 0;
    }
};

// The range of the text statics: [substringStart, substringEnd) within the text.
void textRange(jint length, jint* from, jint* to) {
    const ASpriteStatics& s = as();
    *from = s.substringStart < 0 ? 0 : std::min(s.substringStart, length);
    *to = s.substringEnd < 0 ? length : std::min(s.substringEnd, length);
}

}  // namespace

// --- character map -------------------------------------------------------------------

void BSprite::setCharMap(ShortArray* map) {
    if (!map) {
        rt::logNullPointer();
        return;
    }
    const jint length = map->length();
    const jint size = length > 0 ? map->data()[0] : 0;
    if (size < 1 || 1 + 2 * int64_t{size} > length) {
        logPrintf("BSprite::setCharMap: rejected: %d buckets in %d values", size, length);
        return;
    }
    for (jint j = 1 + 2 * size; j < length;) {
        const jint bucket = j + 1 < length ? map->data()[j] : -1;
        const jint n = j + 1 < length ? map->data()[j + 1] : -1;
        if (bucket < 0 || bucket >= size || n < 0 || j + 2 + 2 * int64_t{n} > length) {
            logPrintf("BSprite::setCharMap: rejected: group at %d (bucket %d, %d pairs) outside the map", j, bucket, n);
            return;
        }
        j += 2 + 2 * n;
    }
    ObjectArray* buckets = newObjectArray(cid::ShortArray, size);
    for (jint i = 0; i < size; ++i) {
        ShortArray* bucket = newShortArray(2);
        bucket->data()[0] = map->data()[1 + 2 * i];
        bucket->data()[1] = map->data()[2 + 2 * i];
        buckets->data()[i] = bucket;
    }
    // Each group replaces its bucket's pairs after the first.
    for (jint j = 1 + 2 * size; j < length;) {
        const jint b = map->data()[j], n = map->data()[j + 1];
        ShortArray* bucket = newShortArray(2 + 2 * n);
        auto* old = static_cast<ShortArray*>(buckets->data()[b]);
        bucket->data()[0] = old->data()[0];
        bucket->data()[1] = old->data()[1];
        std::copy_n(map->data() + j + 2, 2 * n, bucket->data() + 2);
        buckets->data()[b] = bucket;
        j += 2 + 2 * n;
    }
    charMap = buckets;
    charMapSize = static_cast<jshort>(size);
    computeFontMetrics();
}

jint ASprite::getCharFrame(jchar c) {
    if (!charMap || charMapSize < 1) return 0;
    auto* bucket = static_cast<ShortArray*>(charMap->data()[c % charMapSize]);
    if (!bucket) return 1;
    const jshort* pairs = bucket->data();
    const jint n = bucket->length();
    if (n >= 2 && static_cast<jchar>(pairs[0]) == c) return pairs[1];
    for (jint i = 2; i + 1 < n; i += 2)
        if (static_cast<jchar>(pairs[i]) == c) return pairs[i + 1];
    return 1;
}

jint ASprite::getGlyphAdvance(jint frame) { return getFModuleX(frame, 0); }

void ASprite::computeFontMetrics() {
    fontTop = java::ineg(getFModuleY(0, 0));
    fontHeight = java::iadd(fontTop, getFModuleY(0, 1));
    lineSpacing = java::isub(getFModuleY(0, 2), getFModuleY(0, 1));
    spaceAdvance = getFModuleX(getCharFrame(kSpace), 0);
}

IntArray* ASprite::separatorPositions(String* text, jchar sep, jint start, jint end) {
    if (!text) {
        rt::logNullPointer();
        return nullptr;
    }
    start = std::clamp(start, 0, text->length());
    end = std::clamp(end, start, text->length());
    jint count = 0;
    for (jint i = start; i < end; ++i) count += text->charAt(i) == sep;
    IntArray* positions = newIntArray(count + 2);
    jint* p = positions->data();
    jint k = 0;
    p[k++] = start - 1;
    for (jint i = start; i < end; ++i)
        if (text->charAt(i) == sep) p[k++] = i;
    p[k] = end;
    return positions;
}

jint ASprite::countLines(String* text) {
    if (!text) return 1;
    jint lines = 1;
    for (jint i = 0; i + 1 < text->length(); ++i) lines += text->charAt(i) == kNewLine;
    return lines;
}

// --- measuring -------------------------------------------------------------------------

template <typename Chars>
void BSprite::measureRange(const Chars& text, jint from, jint to) {
    ASpriteStatics& s = as();
    s.textWidth = 0;
    s.textHeight = fontHeight;
    bool boldOn = bold;
    jint w = 0;
    for (jint i = from; i < to; ++i) {
        const jchar c = text[i];
        if (c == kNewLine) {
            s.textWidth = std::max(s.textWidth, w);
            s.textHeight = java::iadd(s.textHeight, java::iadd(lineSpacing, fontHeight));
            w = 0;
        } else if (c == kSpace) {
            w = java::iadd(w, spaceAdvance);
        } else if (c == kPaletteCode) {
            ++i;
        } else if (c == kFrameCode) {
            w = java::iadd(w, java::iadd(java::iadd(getGlyphAdvance(text[++i]), charSpacing), boldOn ? 1 : 0));
        } else if (c == kEscape) {
            if (text[++i] == kBoldToggle) boldOn = !boldOn;
        } else if (c > kSpace) {
            w = java::iadd(w, java::iadd(java::iadd(getGlyphAdvance(getCharFrame(c)), charSpacing), boldOn ? 1 : 0));
        }
    }
    s.textWidth = std::max(s.textWidth, w);
    if (s.textWidth > 0) s.textWidth = java::isub(s.textWidth, charSpacing);
}

void BSprite::measureString(String* text, CharArray* chars) {
    if (!text && !chars) return;
    const TextChars t{text, text ? nullptr : chars};
    jint from, to;
    textRange(t.length(), &from, &to);
    measureRange(t, from, to);
}

jint BSprite::getStringWidth(String* text) {
    if (text) measureString(text, nullptr);
    return as().textWidth;
}

// --- drawing ----------------------------------------------------------------------------

void BSprite::drawGlyph(gfx::Graphics* g, jint frame, jint* x, jint y) {
    paintFrame(g, frame, *x, y, 0, 0, 0);
    const jint advance = getGlyphAdvance(frame);
    if (underline) {
        const jint u = getCharFrame(kUnderlineToggle);
        paintFrame(g, u, java::iadd(*x, java::isub(advance, getGlyphAdvance(u)) >> 1), y, 0, 0, 0);
    }
    if (bold) {
        *x = java::iadd(*x, 1);
        paintFrame(g, frame, *x, y, 0, 0, 0);
    }
    *x = java::iadd(*x, java::iadd(charSpacing, advance));
}

template <typename Chars>
void BSprite::drawRange(gfx::Graphics* g, const Chars& text, jint from, jint to, jint x0, jint y0) {
    jint x = x0, y = y0;
    for (jint i = from; i < to; ++i) {
        const jchar c = text[i];
        if (c == kNewLine) {
            x = x0;
            y = java::iadd(y, java::iadd(lineSpacing, fontHeight));
        } else if (c == kSpace) {
            if (underline) {
                const jint u = getCharFrame(kUnderlineToggle);
                paintFrame(g, u, java::iadd(x, java::isub(spaceAdvance, getGlyphAdvance(u)) >> 1), y, 0, 0, 0);
            }
            x = java::iadd(x, spaceAdvance);
        } else if (c == kPaletteCode) {
            const jchar p = text[++i];
            if (p < paletteCount) setPalette(p);
            if (p == 255) currentPalette = as().savedPalette;
        } else if (c == kFrameCode) {
            drawGlyph(g, text[++i], &x, y);
        } else if (c == kEscape) {
            const jchar code = text[++i];
            if (code == kUnderlineToggle) underline = !underline;
            else if (code == kBoldToggle) bold = !bold;
            else setPalette((code & 0xFF) - 48);
        } else if (c > kSpace) {
            drawGlyph(g, getCharFrame(c), &x, y);
        }
    }
}

void BSprite::drawString(gfx::Graphics* g, String* text, CharArray* chars, jint x, jint y, jint anchor,
                         bool restorePalette) {
    if (!text && !chars) return;
    const TextChars t{text, text ? nullptr : chars};
    jint from, to;
    textRange(t.length(), &from, &to);
    jint x0 = x, y0 = java::iadd(y, fontTop);
    measureRange(t, from, to);
    const ASpriteStatics& s = as();
    if (anchor & 43) {
        if (anchor & 8) x0 = java::isub(x0, s.textWidth);
        else if (anchor & 1) x0 = java::isub(x0, s.textWidth >> 1);
        if (anchor & 32) y0 = java::isub(y0, s.textHeight);
        else if (anchor & 2) y0 = java::isub(y0, s.textHeight >> 1);
    }
    if (restorePalette) as().savedPalette = currentPalette;
    if (g) drawRange(g, t, from, to, x0, y0);
    if (restorePalette) currentPalette = as().savedPalette;
}

void BSprite::drawMultilineString(gfx::Graphics* g, String* text, jint x, jint y, jint anchor, jint from, jint to) {
    if (!text) return;
    from = std::clamp(from, 0, text->length());
    to = std::clamp(to, from, text->length());
    // Line ends are found as the lines are drawn (nothing is allocated).
    jint lines = 1;
    for (jint i = from; i < to; ++i) lines += text->charAt(i) == kNewLine;
    const jint pitch = java::iadd(lineSpacing, fontHeight);
    if (anchor & 32) y = java::isub(y, java::imul(lines - 1, pitch));
    else if (anchor & 2) y = java::isub(y, java::imul(lines - 1, pitch) >> 1);
    ASpriteStatics& s = as();
    jint start = from;
    for (jint k = 0; k < lines; ++k) {
        jint end = start;
        while (end < to && text->charAt(end) != kNewLine) ++end;
        s.substringStart = start;
        s.substringEnd = end;
        drawString(g, text, nullptr, x, y, anchor, false);
        y = java::iadd(y, pitch);
        start = end + 1;
    }
    s.substringStart = s.substringEnd = -1;
}

// Text wrapping with the sprite font: the line breaker (into the static
// lineBreaks table: the line count, then (end, width) per line), the
// wrapped text with new lines added at the breaks made at spaces, and the
// wrapped line count. The table holds at most 127 lines: the breaker stops
// breaking there and the 127th line runs to the text's end.
#include <algorithm>
#include <string>

#include "game/sprite/sprite.h"

using namespace sprite;

namespace {
constexpr jchar kNewLine = 10;
constexpr jchar kSpace = 32;
}  // namespace

ShortArray* BSprite::computeLineBreaks(String* text, jint width) {
    ASpriteStatics& s = as();
    if (!s.lineBreaks) s.lineBreaks = newShortArray(kLineBreakShorts);
    ShortArray* table = s.lineBreaks;
    jshort* out = table->data();
    jint lines = 0;
    auto write = [&](jint end, jint w) {
        out[1 + 2 * lines] = static_cast<jshort>(end);
        out[2 + 2 * lines] = static_cast<jshort>(w);
        ++lines;
    };
    const jint length = text ? text->length() : 0;
    const jint frames = getFrameCount();
    auto at = [&](jint i) -> jchar { return text->charAt(i); };
    jint w = 0, v = 0, lastSpace = -1, lineStart = 0;
    bool spaceSeen = false, boldOn = bold, boldAtSpace = bold;
    // The last line runs to the end once the table is one entry from full.
    auto canBreak = [&] { return lines < kMaxLines - 1; };
    // Trailing spaces of a line from index `from` back to the line's start
    // have no width.
    auto dropSpacesBefore = [&](jint from) {
        for (jint j = from; j >= lineStart && at(j) == kSpace; --j) w -= spaceAdvance;
    };
    for (jint i = 0; i < length;) {
        const jchar c = at(i);
        if (c == kSpace) {
            w += spaceAdvance;
            spaceSeen = true;
            lastSpace = i;
            v = 0;
            boldAtSpace = boldOn;
            if (w <= width || !canBreak()) {
                ++i;
                continue;
            }
            dropSpacesBefore(lastSpace);
            jint e = lastSpace;
            while (e < length && at(e) == kSpace) ++e;
            write(e, w);
            w = 0;
            spaceSeen = false;
            i = lineStart = e;
            continue;
        }
        if (c == '\\') {
            if (at(i + 1) == '^') boldOn = !boldOn;
            i += 2;
            continue;
        }
        if (c == kNewLine) {
            if (canBreak()) {
                write(i, w);
                w = 0;
                v = 0;
                spaceSeen = false;
                lineStart = i + 1;
            }
            ++i;
            continue;
        }
        jint frame;
        if (c == 1) {
            i += 2;
            continue;
        } else if (c == 2) {
            frame = at(++i);
        } else if (c < kSpace) {
            ++i;
            continue;
        } else {
            frame = getCharFrame(c);
        }
        if (frame >= frames) frame = 0;
        const jint a = charSpacing + getGlyphAdvance(frame) + (boldOn ? 1 : 0);
        w += a;
        v += a;
        if (w <= width || !spaceSeen || !canBreak()) {
            ++i;
            continue;
        }
        // The word moves to the next line and is measured again there.
        dropSpacesBefore(lastSpace);
        write(lastSpace + 1, w - v);
        boldOn = boldAtSpace;
        w = 0;
        spaceSeen = false;
        i = lineStart = lastSpace + 1;
    }
    write(length, w);
    out[0] = static_cast<jshort>(lines);
    return table;
}

String* BSprite::wrapText(String* text, jint width) {
    if (!text) {
        rt::logNullPointer();
        return nullptr;
    }
    computeLineBreaks(text, width);
    const jshort* table = as().lineBreaks->data();
    const jint lines = table[0], length = text->length();
    // The text is copied out before the result String is allocated.
    const std::u16string source(reinterpret_cast<const char16_t*>(text->chars()), static_cast<size_t>(length));
    std::u16string result;
    result.reserve(source.size() + static_cast<size_t>(lines));
    jint p = 0;
    for (jint k = 0; k < lines; ++k) {
        const jint end = std::clamp<jint>(static_cast<uint16_t>(table[1 + 2 * k]), p, length);
        if (p != 0 && (p >= length || source[static_cast<size_t>(p)] != kNewLine)) result.push_back(kNewLine);
        result.append(source, static_cast<size_t>(p), static_cast<size_t>(end - p));
        p = end;
    }
    return String::fromUtf16(result);
}

jint BSprite::getWrappedLineCount(String* text, jint from, jint to, jint width) {
    if (!text) {
        rt::logNullPointer();
        return 0;
    }
    from = std::clamp(from, 0, text->length());
    to = std::clamp(to, from - 1, text->length() - 1);
    const std::u16string part(reinterpret_cast<const char16_t*>(text->chars()) + from, static_cast<size_t>(to + 1 - from));
    String* wrapped = wrapText(String::fromUtf16(part), width);
    if (!wrapped) return 0;
    jint lines = 1;
    for (jint i = 0; i < wrapped->length(); ++i) lines += wrapped->charAt(i) == kNewLine;
    return lines;
}

// Text parameters, escape formatting, number grouping and the font draw
// wrappers (screen.h). The parameter table is BitmapFont's: one table for
// the game and the engine.
#include "display/lcdui/graphics.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/screen.h"
#include "game/flow/screens.h"
#include "game/flow/states.h"
#include "game/sprite/sprite.h"
#include "game/sprite/statics.h"
#include "io/midlet.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"

namespace game {

namespace {
String* pool(jint n) { return StaticClass::getStringConstant(n); }
}  // namespace

void addTextParam(String* s) {
    sprite::BitmapFontStatics& b = sprite::bf();
    if (!b.textParams || b.textParamCount < 0 || b.textParamCount >= b.textParams->length()) {
        logPrintf("text parameter %d refused: the table holds %d", b.textParamCount, kTextParams);
        return;
    }
    b.textParams->data()[b.textParamCount] = s;
    b.textParamCount += 1;
    b.textParamsPending = 1;
}

void addIntParam(jint n) {
    StringBuffer* sb = StringBuffer::make(16);
    StringBuffer::append(sb, pool(1));
    StringBuffer::appendInt(sb, n);
    addTextParam(sb->toString());
}

String* addNumberParam(jint n) {
    String* s = formatNumber(n, 0, pool(110));
    addTextParam(s);
    return s;
}

String* formatText(BSprite*, String* text) {
    sprite::BitmapFontStatics& b = sprite::bf();
    b.textParamCount = 0;
    StringBuffer* sb = StringBuffer::make(16);
    if (!text) return sb->toString();
    const jint n = text->length();
    for (jint i = 0; i < n - 1; ++i) {
        const jchar c = text->charAt(i);
        if (c != '\\') {
            StringBuffer::appendChar(sb, c);
            continue;
        }
        if (i >= n - 2) break;
        const jchar code = text->charAt(++i);
        if (code == 'd' || code == 'D' || code == 's' || code == 'S') {
            ObjectArray* params = sprite::bf().textParams;
            const jint k = sprite::bf().textParamCount;
            if (params && params->inBounds(k)) {
                StringBuffer::append(sb, static_cast<String*>(params->data()[k]));
                sprite::bf().textParamCount = k + 1;
            } else {
                logPrintf("cGame.formatText: escape past the %d text parameters", kTextParams);
            }
        } else if (code == 'v' || code == 'V') {
            if (auto* m = static_cast<javax_microedition_midlet_MIDlet*>(cg().midlet))
                StringBuffer::append(sb, m->getAppProperty(pool(88)));
        }
    }
    return sb->toString();
}

String* formatNumber(jint n, jint language, String* separator) {
    if (n < 1000) return String::concat(pool(1), String::valueOfInt(n));
    String* sep = nullptr;
    switch (language) {
    case 0: case 7: case 8: case 9: sep = pool(111); break;
    case 1: case 5: sep = pool(133); break;
    case 3: case 12: case 13: sep = separator; break;
    case 2: case 4: case 6: case 10: sep = n < 10000 ? pool(1) : separator; break;
    case 11: case 14: sep = n < 10000 ? pool(1) : pool(133); break;
    default: return String::concat(pool(1), String::valueOfInt(n));
    }
    jint groups[4];
    jint count = 0;
    for (jint v = n; v > 0; v /= 1000) groups[count++] = v % 1000;
    StringBuffer* sb = StringBuffer::make(16);
    StringBuffer::appendInt(sb, groups[count - 1]);
    for (jint k = count - 2; k >= 0; --k) {
        if (sep) StringBuffer::append(sb, sep);
        const jint g = groups[k];
        if (g < 10)
            StringBuffer::append(sb, pool(138));
        else if (g < 100)
            StringBuffer::append(sb, pool(13));
        StringBuffer::appendInt(sb, g);
    }
    return sb->toString();
}

String* formatNumberSep(jint n, jint language) { return formatNumber(n, language, pool(110)); }
String* formatNumberDefault(jint n) { return formatNumber(n, 0, pool(110)); }

namespace {
// A pending parameter set formats the text once and is consumed.
String* prepared(BSprite* font, String* text) {
    sprite::BitmapFontStatics& b = sprite::bf();
    if (!b.textParamsPending) return text;
    String* out = formatText(font, text);
    sprite::bf().textParamCount = 0;
    sprite::bf().textParamsPending = 0;
    return out;
}
}  // namespace

void drawFontText(jint font, String* text, jint x, jint y, jint anchor) {
    BSprite* f = fontAt(font);
    if (!f || !text) return;
    text = prepared(f, text);
    f->drawString(cg().graphics, text, x, y, anchor, false);
}

void drawTextById(jint font, jint textId, jint x, jint y, jint anchor) {
    drawFontText(font, getString(textId), x, y, anchor);
}

void drawParagraph(jint font, String* text, jint x, jint y, jint width, jint anchor) {
    BSprite* f = fontAt(font);
    if (!f || !text) return;
    text = prepared(f, text);
    String* wrapped = f->wrapText(text, width);
    f->drawMultilineString(cg().graphics, wrapped ? wrapped : text, x, y, anchor, 0, 0x7FFFFFFF);
}

void drawAnimatedText(jint font, String* text, jint x, jint y, jint anchor, jint mode) {
    BSprite* f = fontAt(font);
    if (!f || !text) return;
    text = prepared(f, text);
    const jint width = f->getStringWidth(text);
    const jint height = f->getFontHeight();
    if (anchor & 8)
        x -= width;
    else if (anchor & 1)
        x -= width / 2;
    if (anchor & 32)
        y -= height;
    else if (anchor & 2)
        y -= height / 2;
    const jint t = getCurrentEntryValue();
    String* skip = pool(93);
    const jchar skipChar = skip && skip->length() > 0 ? skip->charAt(0) : 0xFFFF;
    const jint n = text->length();
    for (jint i = 0; i < n; ++i) {
        jchar c = text->charAt(i);
        if (c == skipChar) {
            ++i;
            continue;
        }
        if (c == '\\' && i + 1 < n && text->charAt(i + 1) == 'B') {
            ++i;
            c = ' ';
        } else if (c == 8) {
            c = ' ';
        }
        jint dx = 0, dy = 0;
        if (mode == 0) {
            dy = (4 * game::sin(512 - (i + t / 2) * 256)) >> 14;
        } else if (mode == 2 && n > 1) {
            const jint r = t % (6 * (n - 1));
            if (r / 6 == i) dy = (-4 * game::sin(512 - (r % 6) * 170)) >> 14;
        } else if (mode == 1 && t % 4 < 2) {
            dx = randomInt(-2, 3);
            dy = randomInt(-2, 3);
        }
        const char16_t one[1] = {static_cast<char16_t>(c)};
        String* letter = String::fromUtf16(std::u16string_view(one, 1));
        f->drawString(cg().graphics, letter, x + dx, y + dy, 20, false);
        x += f->getStringWidth(letter);
    }
}

}  // namespace game

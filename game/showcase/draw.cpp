// Drawing of the Showcase screen: the loading bar, the page and the list
// page with their buttons and arrows, the pack's bitmap font (three
// colourings of one palette strip), the wrapped text box, and the small
// drawing helpers.
//
// Invariants: a glyph is only drawn when its box lies inside the strip; a
// text box writes at most kMaxLines line widths; missing images are skipped.
#include <algorithm>
#include <array>
#include <cstring>

#include "display/lcdui/graphics.h"
#include "game/showcase/internal.h"
#include "runtime/system.h"

namespace game {

using namespace showcase_detail;
using Graphics = javax_microedition_lcdui_Graphics;

namespace {

constexpr jint kTop = 16, kLeft = 4, kHCentre = 1, kVCentre = 2, kRight = 8, kBottom = 32;

void drawImage(Graphics* g, Image* img, jint x, jint y, jint anchor) {
    if (img) g->drawImage(img, x, y, anchor);
}

std::array<uint32_t, 256> makeCrcTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}

uint32_t crc32(const uint8_t* p, size_t n) {
    static const std::array<uint32_t, 256> table = makeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

Image* fontStrip() { return elem<Image>(S()->fontImages, S()->fontStrip); }

jint glyphAdvance(jchar c) { return Showcase::glyphField(c, 2) + S()->letterSpacing; }

}  // namespace

jlong Showcase::tickCount() { return java_lang_System::currentTimeMillis(); }

// --- Layout --------------------------------------------------------------------

namespace showcase_detail {

jint pageTextWidth() {
    ShowcaseStatics* s = S();
    const jint w7 = widthOf(image(7));
    jint width = s->screenWidth - 3 * w7;
    if (s->screenWidth > s->screenHeight) width -= w7 / 2;
    return width;
}

jint listRowTextWidth(jint list) {
    ShowcaseStatics* s = S();
    Image* row = elem<Image>(elem<ObjectArray>(s->subImages, list), 0);
    return pageTextWidth() - 2 * (s->screenWidth / 100) - widthOf(row);
}

// Places the button, the title box and the list on the screen; the touch
// test reads the same rectangles.
void layoutPage() {
    ShowcaseStatics* s = S();
    const jint w = s->screenWidth, h = s->screenHeight;
    s->buttonW = w * 30 / 100;
    s->buttonH = h * 9 / 100;
    s->buttonX = (w - s->buttonW) / 2;
    s->buttonY = h * 78 / 100;
    s->gradientW = w / 2;
    s->gradientH = h * 10 / 100;
    s->gradientX = (w - s->gradientW) / 2;
    s->gradientY = h * 42 / 100;
    s->listWidth = pageTextWidth();
    s->listLeft = (w - s->listWidth) / 2;
    s->listTopY = s->titleTop + h * 8 / 100;
    s->listRowHeight = std::max<jint>(h * 12 / 100, 1);
    s->listVisibleRows = std::max<jint>((h * 80 / 100 - s->listTopY) / s->listRowHeight, 1);
    s->listUpY = s->listTopY - s->listRowHeight / 2;
    s->listDownY = s->listTopY + s->listVisibleRows * s->listRowHeight + s->listRowHeight / 2;
}

}  // namespace showcase_detail

void Showcase::afterLoad() {
    ShowcaseStatics* s = S();
    layoutPage();
    const jint pageWidth = pageTextWidth();
    auto wrap = [&](jint id, jint width, jint lines) {
        String* t = elem<String>(s->texts, id);
        if (t) put(s->texts, id, wrapText(splitText(t), width, lines));
    };
    for (jint slot = 0; slot < s->slotCount; ++slot) {
        wrap(slotTitleId(slot), s->gradientW, 2);
        wrap(slotTextId(slot), pageWidth, 6);
    }
    for (jint list = 0; list < 2; ++list)
        for (jint r = 0; r < subListLength(list); ++r) wrap(rowTextId(list, r), listRowTextWidth(list), 2);
}

// --- Paint ---------------------------------------------------------------------

void Showcase::paint(Graphics* g) {
    ShowcaseStatics* s = S();
    if (!g) return;
    if (!s->usable && !s->linkRequested) return;
    if (s->pendingUrl) {
        openLink();
        return;
    }
    if (s->linkRequested) return;
    const jint w = s->screenWidth, h = s->screenHeight;
    g->setClip(0, 0, w, h);
    switch (s->screenState) {
    case kShowLoading: {
        g->setColor(0x000000);
        g->fillRect(0, 0, w, h);
        drawProgressBar(g, h / 2, w * 3 / 4, s->loadStepIndex, s->loadStepCount);
        String* caller = s->callerContext;
        if (caller && String::trim(caller)->length() > 0) {
            g->setColor(0xFFFFFF);
            g->drawString(caller, w / 2, h / 2 - 5, kHCentre | kBottom);
        }
        break;
    }
    case kShowPage:
        paintPage(g);
        if (tickCount() % 1000 > 500 || (s->pressedAction == kActButton && !s->softKeyHeld))
            drawActionButton(g);
        break;
    default: break;
    }
}

void Showcase::drawProgressBar(Graphics* g, jint y, jint width, jint value, jint max) {
    ShowcaseStatics* s = S();
    if (value > max) value = max;
    const jint x = (s->screenWidth - width) / 2;
    g->setColor(0xFFFFFF);
    g->drawRect(x, y, width, 6);
    g->setColor(0xFF0000);
    g->fillRect(x + 2, y + 2, max > 0 ? (width - 4) * value / max + 1 : 1, 3);
}

void Showcase::drawActionButton(Graphics* g) {
    ShowcaseStatics* s = S();
    if (!s->buttonVisible) return;
    const jint x = s->buttonX, y = s->buttonY, w = s->buttonW, h = s->buttonH;
    jint fill = s->optionFlag ? 0xFF7F00 : 0xCF0900;
    if (s->pressedAction == kActButton && !s->softKeyHeld) {
        g->setColor(0xDE9C00);
        g->drawRect(x - 2, y - 2, w + 3, h + 4);
        g->drawRect(x - 1, y - 1, w + 1, h + 2);
        fill = 0x5800F2;
    }
    g->setColor(fill);
    g->fillRect(x, y, w, h + 1);
    s->fontStrip = 0;
    drawString(s->buttonLabel, g, s->screenWidth / 2, y + h / 2, kHCentre | kVCentre);
}

void Showcase::drawSoftKeys(Graphics* g) {
    ShowcaseStatics* s = S();
    if (s->useCommands) return;
    const jint w = s->screenWidth, h = s->screenHeight;
    Image* left = image(s->pressedAction == kActSelect && s->softKeyHeld ? 13 : 12);
    Image* right = image(s->pressedAction == kActBack ? 13 : 12);
    const jint lx = s->leftMargin, rx = w - s->rightMargin, by = h - 2;
    drawImage(g, left, lx, by, kLeft | kBottom);
    drawImage(g, right, rx, by, kRight | kBottom);
    drawImage(g, image(8), lx + widthOf(left) / 2, by - heightOf(left) / 2, kHCentre | kVCentre);
    drawImage(g, image(9), rx - widthOf(right) / 2, by - heightOf(right) / 2, kHCentre | kVCentre);
}

void Showcase::paintPage(Graphics* g) {
    ShowcaseStatics* s = S();
    const jint w = s->screenWidth, h = s->screenHeight, cx = w / 2;
    if (s->backgroundImage) {
        g->drawImage(s->backgroundImage, 0, 0, kTop | kLeft);
    } else {
        g->setColor(s->optionFlag ? 0x000000 : 0xFFFFFF);
        g->fillRect(0, 0, w, h);
    }
    if (s->listMode) {
        paintList(g);
    } else {
        const jint slot = s->pageEntry;
        drawImage(g, elem<Image>(s->pageImages, slot), cx, s->titleTop, kTop | kHCentre);
        const jint midY = h * 36 / 100;
        g->setColor(0xCCCCCC);
        g->fillRect(cx + 20, midY - 27, 3, 54);
        g->setColor(0xD7D7D7);
        g->fillRect(cx + 14, midY - 18, 2, 37);
        g->setColor(0xDCB9B8);
        g->fillRect(cx + 11, midY - 13, 1, 26);
        drawImage(g, s->languageImage, cx + 26, midY, kLeft | kVCentre);
        drawImage(g, s->extraImage, cx - 26, midY, kRight | kVCentre);
        // The title box: one line per row, from the top colour to the bottom one.
        const jint gx = s->gradientX, gy = s->gradientY, gw = s->gradientW, gh = s->gradientH;
        for (jint r = 0; r < gh; ++r) {
            const jint t = gh > 1 ? r * 256 / (gh - 1) : 0;
            auto mix = [t](jint a, jint b) { return a + (b - a) * t / 256; };
            g->setColor(mix(0xFA, 0xF1) << 16 | mix(0xD1, 0x46) << 8 | mix(0x2D, 0x15));
            g->fillRect(gx, gy + r, gw, 1);
        }
        s->fontStrip = 2;
        drawTextBox(readText(slotTitleId(slot)), g, gw, cx, gy + gh / 2, kHCentre | kVCentre);
        s->fontStrip = 0;
        drawTextBox(readText(slotTextId(slot)), g, pageTextWidth(), cx, gy + gh + 8, kHCentre | kTop);
    }
    drawSoftKeys(g);
    if (s->enabledCount > 1) {
        const jint phase = static_cast<jint>(tickCount() / 80 % 8) - 4;
        const jint d = phase < 0 ? -phase : phase;
        const bool litLeft = s->movedBack || s->pressedAction == kActPrevious;
        const bool litRight = s->movedForward || s->pressedAction == kActNext;
        Image* left = image(litLeft ? 4 : 5);
        Image* right = image(litRight ? 6 : 7);
        const jint W = widthOf(left);
        drawImage(g, left, W + d + 1, h / 2, kRight | kVCentre);
        drawImage(g, right, w - (W + d + 1), h / 2, kLeft | kVCentre);
        if (litLeft || litRight) {
            if (++s->highlightCount > 4) {
                s->movedBack = s->movedForward = 0;
                s->highlightCount = 0;
            }
        }
    }
}

void Showcase::paintList(Graphics* g) {
    ShowcaseStatics* s = S();
    const jint w = s->screenWidth, margin = 3 * (w / 100), rh = s->listRowHeight;
    ObjectArray* rowImages = elem<ObjectArray>(s->subImages, s->currentList);
    for (jint v = 0; v < s->listVisibleRows; ++v) {
        const jint r = s->listTop + v;
        if (r >= s->listLength) break;
        const jint top = s->listTopY + v * rh, mid = top + rh / 2;
        Image* img = elem<Image>(rowImages, r);
        const jint x = s->listLeft + margin;
        drawImage(g, img, x, mid, kLeft | kVCentre);
        s->fontStrip = r == s->listSelection ? 1 : 0;
        drawTextBox(readText(rowTextId(s->currentList, r)), g, listRowTextWidth(s->currentList),
                    x + widthOf(img) + 2 * (w / 100), mid, kLeft | kVCentre);
        if (r == s->listSelection) {
            g->setColor(0xFC7704);
            g->drawRect(x, top, s->listWidth - 2 * margin, rh - 1);
        }
    }
    s->fontStrip = 0;
    if (s->listLength > s->listVisibleRows) {
        if (s->listSelection > 0)
            drawListArrow(g, w / 2, s->listUpY, 21, s->pressedAction == kActRowUp ? 0x00B4EF : 0xFFFFFF, true, false);
        if (s->listSelection < s->listLength - 1)
            drawListArrow(g, w / 2, s->listDownY, 21, s->pressedAction == kActRowDown ? 0x00B4EF : 0xFFFFFF, true, true);
    }
}

void Showcase::drawListArrow(Graphics* g, jint x, jint y, jint size, jint colour, bool vertical, bool down) {
    auto triangle = [&](jint half) {
        if (half <= 0) return;
        if (vertical) {
            const jint tip = down ? y + half : y - half, base = down ? y - half : y + half;
            g->fillTriangle(x, tip, x - half, base, x + half, base);
        } else {
            const jint tip = down ? x + half : x - half, base = down ? x - half : x + half;
            g->fillTriangle(tip, y, base, y - half, base, y + half);
        }
    };
    const jint half = size % 2 == 0 ? (size - 1) / 2 : size / 2;
    g->setColor(0x00B4EF);
    triangle(half);
    g->setColor(colour);
    triangle(half - 2);
}

// --- Text ----------------------------------------------------------------------

String* Showcase::readText(jint id) {
    String* t = elem<String>(S()->texts, id);
    return t ? t : String::fromLatin1("null");
}

void Showcase::drawString(jint id, Graphics* g, jint x, jint y, jint anchor) {
    drawTextBox(readText(id), g, S()->screenWidth, x, y, anchor);
}

jint Showcase::glyphField(jint c, jint field) {
    ShowcaseStatics* s = S();
    ByteArray* data = s->glyphData;
    const jint record = s->glyphExtra + 4;
    if (!data || c < 0 || c > s->glyphHighest || field < 0 || field > 3) return 0;
    const jint at = c * record;
    if (at + record > data->length()) return 0;
    const jbyte* p = data->data() + at;
    if (s->glyphExtra == 2) {
        if (field < 2) return (p[2 * field] & 255) | ((p[2 * field + 1] & 255) << 8);
        return p[field + 2] & 255;
    }
    return p[field] & 255;
}

jint Showcase::textWidth(String* text) {
    const std::u16string u = units(text);
    jint width = 0;
    for (char16_t c : u) width += glyphAdvance(c);
    if (!u.empty()) width -= S()->letterSpacing;
    return width;
}

void Showcase::drawTextBox(String* text, Graphics* g, jint width, jint x, jint y, jint anchor) {
    (void)width;
    ShowcaseStatics* s = S();
    if (!text || !g) return;
    if (!s->lineWidths) s->lineWidths = newIntArray(kMaxLines);
    const std::u16string u = units(text);
    // Pass 1: the line widths (at most kMaxLines lines; the rest is cut).
    std::vector<std::pair<size_t, size_t>> lines;  // [from, to) per line
    jint* widths = s->lineWidths->data();
    std::fill(widths, widths + std::min<jint>(kMaxLines, s->lineWidths->length()), 0);
    size_t from = 0;
    jint lineWidth = 0;
    bool anyGlyph = false;
    s->widestLine = 0;
    auto endLine = [&](size_t to) {
        if (anyGlyph) lineWidth -= s->letterSpacing;
        widths[lines.size()] = lineWidth;
        s->widestLine = std::max(s->widestLine, lineWidth);
        lines.emplace_back(from, to);
        lineWidth = 0;
        anyGlyph = false;
    };
    for (size_t i = 0; i < u.size() && lines.size() < static_cast<size_t>(kMaxLines); ++i) {
        const char16_t c = u[i];
        const bool slashBreak = c == u'\\' && i + 1 < u.size() && u[i + 1] == u'N';
        if (c == 10 || slashBreak) {
            endLine(i);
            if (slashBreak) ++i;
            from = i + 1;
            continue;
        }
        if (c == 0 || c == 1) continue;
        lineWidth += glyphAdvance(c);
        anyGlyph = true;
    }
    if (lines.size() < static_cast<size_t>(kMaxLines)) endLine(u.size());
    // Pass 2: placement.
    const jint count = static_cast<jint>(lines.size());
    const jint gap = s->screenWidth < 177 && s->currentEntry < s->catalogueCount ? 2 : 0;
    s->textHeight = gap * count + (count + 1) * s->lineHeight;
    if (anchor & kBottom) y -= s->textHeight;
    else if (anchor & kVCentre) y -= s->textHeight / 2;
    Image* strip = fontStrip();
    const jint stripW = widthOf(strip), stripH = heightOf(strip);
    for (jint l = 0; l < count; ++l) {
        jint pen = x;
        const jint lw = s->lineWidths->data()[l];
        if (anchor & kRight) pen -= lw;
        else if (anchor & kHCentre) pen -= lw / 2;
        const jint top = y + l * (s->lineHeight + gap);
        for (size_t i = lines[static_cast<size_t>(l)].first; i < lines[static_cast<size_t>(l)].second; ++i) {
            const char16_t c = u[i];
            if (c == 0 || c == 1) continue;
            if (c == u' ' && l > 0 && i == lines[static_cast<size_t>(l)].first) {
                pen += glyphField(32, 2) / 2;
                continue;
            }
            const jint gx = glyphField(c, 0), gy = glyphField(c, 1), gw = glyphField(c, 2), gh = glyphField(c, 3);
            if (strip && gw > 0 && gh > 0 && gx + gw <= stripW && gy + gh <= stripH) {
                setClip(g, pen, top, gw, gh);
                g->drawRegion(strip, gx, gy, gw, gh, 0, pen, top, kTop | kLeft);
            }
            pen += gw + s->letterSpacing;
        }
    }
    g->setClip(0, 0, s->screenWidth, s->screenHeight);
    s->noClip = 1;
}

String* Showcase::splitText(String* text) {
    ShowcaseStatics* s = S();
    const std::u16string in = units(text);
    std::u16string out;
    out.reserve(in.size() + 8);
    for (char16_t c : in) {
        if (c == 0xFF0C || c == 0xFF01 || c == 0xFF1F || c == 0xFF1B || c == 0xFF1A) {
            out.push_back(c);
            out.push_back(u'|');
        } else if (c == 8) {
            out.push_back(u'|');
        } else if (c == 10) {
            out.push_back(u' ');
        } else {
            out.push_back(c);
        }
    }
    if (same(languageCode(), pool(kSplitLanguage)) && out.find_first_of(u"| ") == std::u16string::npos &&
        out.size() > 5) {
        const size_t half = out.size() / 2;
        out = out.substr(0, half) + units(pool(kSplitInsert)) + out.substr(half);
    }
    (void)s;
    return fromUnits(out);
}

String* Showcase::wrapText(String* text, jint width, jint maxLines) {
    const std::u16string in = units(text);
    // Words with the separator that ended them (blank or '|').
    std::vector<std::pair<std::u16string, char16_t>> words;
    std::u16string word;
    for (char16_t c : in) {
        if (c == u'|' || c == u' ') {
            words.emplace_back(word, c);
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    words.emplace_back(word, 0);
    auto measure = [](const std::u16string& t) { return textWidth(fromUnits(t)); };
    auto trim = [](std::u16string t) {
        size_t a = 0, b = t.size();
        while (a < b && t[a] <= u' ') ++a;
        while (b > a && t[b - 1] <= u' ') --b;
        return t.substr(a, b - a);
    };
    std::vector<std::u16string> lines;
    std::u16string line;
    char16_t pendingSep = 0;
    for (const auto& [w, sep] : words) {
        std::u16string candidate = line;
        if (!line.empty() && pendingSep == u' ') candidate.push_back(u' ');
        candidate += w;
        if (!line.empty() && measure(trim(candidate)) > width) {
            lines.push_back(trim(line));
            line = w;
        } else {
            line = candidate;
        }
        pendingSep = sep;
    }
    if (!trim(line).empty() || lines.empty()) lines.push_back(trim(line));
    if (maxLines > 0 && lines.size() > static_cast<size_t>(maxLines)) lines.resize(static_cast<size_t>(maxLines));
    const std::u16string brk = units(pool(kLineBreak));
    std::u16string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += brk;
        out += lines[i];
    }
    return fromUnits(out);
}

// --- Helpers -------------------------------------------------------------------

void Showcase::fillRectAlpha(Graphics* g, jint x, jint y, jint w, jint h, jint argb) {
    ShowcaseStatics* s = S();
    if (!g || w <= 0 || h <= 0) return;
    // Only the part on the screen is built and drawn.
    const jlong x1 = std::max<jlong>(x, 0), y1 = std::max<jlong>(y, 0);
    const jlong x2 = std::min<jlong>(static_cast<jlong>(x) + w, s->screenWidth);
    const jlong y2 = std::min<jlong>(static_cast<jlong>(y) + h, s->screenHeight);
    if (x2 <= x1 || y2 <= y1) return;
    const jint cw = static_cast<jint>(x2 - x1), ch = static_cast<jint>(y2 - y1);
    IntArray* px = newIntArray(cw * ch);
    std::fill(px->data(), px->data() + px->length(), argb);
    g->drawRGB(px, 0, cw, static_cast<jint>(x1), static_cast<jint>(y1), cw, ch, true);
}

void Showcase::setClip(Graphics* g, jint x, jint y, jint w, jint h) {
    ShowcaseStatics* s = S();
    g->setClip(std::max<jint>(x, 0), std::max<jint>(y, 0), std::min(w, s->screenWidth), std::min(h, s->screenHeight));
}

namespace showcase_detail {

bool setPaletteEntry(ByteArray* bytes, jint offset, jint length, jint index, jint rgb) {
    if (!bytes || offset < 0 || length < 0 || offset > bytes->length() - length) {
        logPrintf("Showcase::recolourPng: range outside the bytes");
        return false;
    }
    const jbyte* b = bytes->data();
    jint found = -1;
    for (jint i = offset + 4; i + 4 <= offset + length; ++i)
        if (b[i] == 'P' && b[i + 1] == 'L' && b[i + 2] == 'T' && b[i + 3] == 'E') {
            found = i;
            break;
        }
    if (found < 0) {
        logPrintf("Showcase::recolourPng: no palette; colours kept");
        return false;
    }
    const uint32_t chunk = (uint32_t(b[found - 4] & 255) << 24) | ((b[found - 3] & 255) << 16) |
                           ((b[found - 2] & 255) << 8) | (b[found - 1] & 255);
    const jlong dataAt = found + 4;
    if (chunk > 0x7FFFFFFFu || dataAt + chunk + 4 > static_cast<jlong>(offset) + length) {
        logPrintf("Showcase::recolourPng: the palette chunk runs past the bytes; colours kept");
        return false;
    }
    if (index < 0 || static_cast<jlong>(index) * 3 + 3 > static_cast<jlong>(chunk)) {
        logPrintf("Showcase::recolourPng: palette index %d beyond the palette; colours kept", index);
        return false;
    }
    jbyte* w = bytes->data();
    const jint at = static_cast<jint>(dataAt) + index * 3;
    w[at] = static_cast<jbyte>((rgb >> 16) & 255);
    w[at + 1] = static_cast<jbyte>((rgb >> 8) & 255);
    w[at + 2] = static_cast<jbyte>(rgb & 255);
    const uint32_t crc = crc32(reinterpret_cast<const uint8_t*>(w + found), chunk + 4);
    const jint c = static_cast<jint>(dataAt + chunk);
    w[c] = static_cast<jbyte>(crc >> 24);
    w[c + 1] = static_cast<jbyte>(crc >> 16);
    w[c + 2] = static_cast<jbyte>(crc >> 8);
    w[c + 3] = static_cast<jbyte>(crc);
    return true;
}

}  // namespace showcase_detail

Image* Showcase::recolourPng(ByteArray* bytes, jint offset, jint length, jint index, jint rgb) {
    const bool inRange = bytes && offset >= 0 && length >= 0 && offset <= bytes->length() - length;
    setPaletteEntry(bytes, offset, length, index, rgb);
    if (!inRange) return nullptr;
    Image* img = Image::createImage(bytes, offset, length);
    Application::clearPendingException();
    return img;
}

}  // namespace game

// Painting the list box and the common menu screen: draw elements by kind,
// the window of listed entries in three passes (entry layout, cursor
// layout, each entry's own elements) clipped to the list's band, the
// transition counters and the screen painter the menu states share
// (background, aligned list, soft-key label). The clip is the whole screen
// after a list is painted.
#include "display/lcdui/graphics.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/screenpaint.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"
#include "runtime/statics.h"

namespace game {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

jint at(IntArray* a, jint i, jint fallback = 0) { return a && i >= 0 && i < a->length() ? a->data()[i] : fallback; }

template <typename T>
T* element(ObjectArray* a, jint i) {
    return a && i >= 0 && i < a->length() ? static_cast<T*>(a->data()[i]) : nullptr;
}

// The layout to use: the menu's own when it has at least one element,
// else the default.
ObjectArray* layoutOr(ObjectArray* own, ObjectArray* fallback) { return own && own->length() >= 2 ? own : fallback; }

// The label's box in the list: 250 view pixels from x - 110, 40 high; on
// the canvas columns 460 - y .. 500 - y and rows x - 110 .. x + 140.
constexpr jint kBoxLeft = 110, kBoxLength = 250, kWideText = 221, kScrollText = 251;

void paintOneLine(jint font, String* text, jint x, jint y, jint anchor, bool clip) {
    cGameStatics& g = cg();
    const bool cursor = g.menuEntryIsCursor;
    if (clip) {
        BSprite* f = fontAt(font);
        const jint width = f ? f->getStringWidth(text) : 0;
        if (width >= kWideText) {
            anchor = 6;
            x -= kBoxLeft;
            if (cursor && width >= kScrollText) {
                // The marquee: a pause of menuMetricC paints, then one pixel a
                // paint; past its end it comes back in from the right.
                if (g.menuMetricC > 0) {
                    g.menuMetricC -= 1;
                } else {
                    g.marqueeOffset -= 1;
                    if (g.marqueeOffset < -(width + 5)) g.marqueeOffset = 255;
                }
                x += g.marqueeOffset;
            }
        }
    }
    const bool passive = (g.menuFlags & kMenuPassive) != 0;
    if (cursor && !passive) {
        drawAnimatedText(font, text, x, y, anchor, 0);
    } else {
        if (g.textBox == g.recordsMenu)
            if (Graphics* gr = cg().screenGraphics) gr->setClip(0, 0, 480, 800);
        drawFontText(font, text, x, y, anchor);
    }
}

void paintText(IntArray* e, jint x, jint y, jint menuId, bool clip) {
    String* text = nullptr;
    switch (at(e, 1)) {
    case 0: text = getString(at(e, 9)); break;
    case 256:
        if (cg().menuEntryTextId != -1) text = getMenuItemText(cg().menuEntryTextId);
        break;
    case 4: text = getMenuValueText(menuId, cg().menuEntryTextId); break;
    default: break;
    }
    if (!text) return;
    const jint font = at(e, 6);
    const jint palettes = at(e, 7);
    const jint palette =
        !cg().menuEntrySelectable ? (palettes >> 16) & 0xFF : cg().menuEntryIsCursor ? (palettes >> 8) & 0xFF : palettes & 0xFF;
    const jint previous = getFontPalette(font);
    setFontPalette(font, palette);
    Graphics* sg = cg().screenGraphics;
    jint saved[4] = {0, 0, 480, 800};
    if (clip && sg) {
        saved[0] = sg->getClipX();
        saved[1] = sg->getClipY();
        saved[2] = sg->getClipWidth();
        saved[3] = sg->getClipHeight();
        // The text box intersected with the saved clip.
        const jint bx = 460 - y, by = x - kBoxLeft;
        const jint x1 = bx > saved[0] ? bx : saved[0], y1 = by > saved[1] ? by : saved[1];
        const jint x2 = bx + 40 < saved[0] + saved[2] ? bx + 40 : saved[0] + saved[2];
        const jint y2 = by + kBoxLength < saved[1] + saved[3] ? by + kBoxLength : saved[1] + saved[3];
        sg->setClip(x1, y1, x2 > x1 ? x2 - x1 : 0, y2 > y1 ? y2 - y1 : 0);
    }
    const jint width = at(e, 8);
    if (width != 0) {
        cGameStatics& g = cg();
        if (cg().textBox == g.questionMenu)
            text = replaceText(text, StaticClass::getStringConstant(47), StaticClass::getStringConstant(110));
        else if (cg().textBox == g.textBoxMenu)
            text = replaceText(text, StaticClass::getStringConstant(118), StaticClass::getStringConstant(47));
        drawParagraph(font, text, x, y, width, at(e, 5));
    } else {
        paintOneLine(font, text, x, y, at(e, 5), clip);
    }
    if (clip && sg) sg->setClip(saved[0], saved[1], saved[2], saved[3]);
    setFontPalette(font, previous);
}

}  // namespace

void paintMenuList(ObjectArray* elements, jint x, jint y, bool clip) {
    const jint menuId = at(cg().menuAttrs, kHeaderId, -1);
    for (jint i = 1; elements && i < elements->length(); ++i) {
        IntArray* e = element<IntArray>(elements, i);
        if (at(e, 0) != 1 || at(e, 1) == 255) continue;
        const jint flags = at(e, 4);
        const jint ex = at(e, 2) + ((flags & 1) ? x : 0);
        const jint ey = at(e, 3) + ((flags & 16) ? y : 0);
        switch (at(e, 1)) {
        case 0:
        case 256:
        case 4: paintText(e, ex, ey, menuId, clip); break;
        case 1: {
            const jint sprite = at(e, 6), anim = at(e, 7);
            setSpritePalette(sprite, at(e, 8));
            paintSpriteAnim(sprite, anim, getCurrentEntryValue(), ex, ey);
            if ((anim == 1 || anim == 2) && (cg().menuAnimTicks & 1) == 0)
                paintSpriteFrame(sprite, anim == 1 ? 5 : 4, ex, ey);
            break;
        }
        case 2: paintSpriteFrameFlags(at(e, 6), at(e, 7), ex, ey, at(e, 5)); break;
        case 3: {
            Graphics* g = cg().graphics;
            const jint colour = at(e, 7);
            if (!g) break;
            if (static_cast<uint32_t>(colour) >> 24 == 255) {
                g->setColor(colour & 0xFFFFFF);
                g->fillRect(ex, ey, at(e, 5), at(e, 6));
            } else {
                // A see-through box: the view box turned onto the canvas.
                fillTiledRect(480 - at(e, 6) - ey, ex, at(e, 6), at(e, 5), colour, g);
            }
            break;
        }
        default: break;
        }
    }
}

namespace {

// The default layouts' frames follow the entry: the row plate alternates
// by index, the side piece marks the first and the last row.
void setDefaultLayoutFrames(jint i, jint count) {
    auto setAnim = [](ObjectArray* layout, jint index, jint anim) {
        if (IntArray* e = element<IntArray>(layout, index); e && e->length() > 7) e->data()[7] = anim;
    };
    const bool even = (i & 1) == 0;
    setAnim(cg().screenLayoutB, 1, even ? 2 : 1);
    setAnim(cg().screenLayoutD, 1, even ? 3 : 4);
    setAnim(cg().screenLayoutD, 2, i == 0 ? 5 : i == count - 1 ? 6 : 4);
}

// The scroll arrows of a long vertical list above and below its rows (the
// pressed look while the finger is on one), and their touch zones. The
// zone setter takes canvas columns, so the arrows' view rows are turned
// onto the canvas (480 - y) first: the next arrow's zone lies over the
// lower arrow, the previous arrow's over the upper one.
void paintListArrows(jint top, jint end, jint m, jint o, jint count) {
    const jint t = getCurrentEntryValue();
    const jint up = top + m - o, down = end - m + o;
    if (cg().menuCursor > 0) paintSpriteAnim(107, cg().listArrowHeld == 1 ? 2 : 0, t, 400, up);
    if (cg().menuCursor < count - 1) paintSpriteAnim(107, cg().listArrowHeld == 0 ? 3 : 1, t, 400, down);
    setListArrowZones(400, 480 - down, 400, 480 - up);
}

}  // namespace

void paintMenu(jint x, jint y, jint step, jint visible) {
    cGameStatics& s = cg();
    const jint count = cg().menuMetricA;
    if (count <= 0 || !s.menuItems) return;
    const MenuWindow w = menuWindow(cg().menuCursor, visible, count, s.menuCyclic);
    const bool horizontal = (s.menuFlags & kMenuHorizontal) != 0;
    const jint m = at(s.menuAttrs, kHeaderMargin);
    Graphics* sg = cg().screenGraphics;
    if (horizontal) {
        // The canvas band of the list's length.
        if (sg) sg->setClip(0, x - m, 480, visible * step + 2 * m);
    } else {
        // The band of the window; rows are centred in their steps from y on.
        const jint top = y - m, h = visible * step + 2 * m;
        const jint shown = count < visible ? count : visible;
        const jint end = top + 2 * m + shown * step;
        if ((s.menuFlags & kMenuPassive) == 0 && count > 4 && s.textBox != cg().questionMenu)
            paintListArrows(top, end, m, s.textBox == cg().mainMenu ? -2 : 4, count);
        if (sg) sg->setClip(480 - h - top, 0, h, 800);
    }
    ObjectArray* entryLayout = layoutOr(s.menuEntryLayout, cg().screenLayoutD);
    ObjectArray* cursorLayout = layoutOr(s.menuCursorLayout, cg().screenLayoutB);
    for (jint pass = 0; pass < 3; ++pass) {
        jint pos = 0;
        for (jint k = w.first; k <= w.last; ++k, pos += step) {
            const jint i = s.menuCyclic ? java::irem(java::iadd(java::irem(k, count), count), count) : k;
            auto* entry = element<ObjectArray>(s.menuItems, i);
            IntArray* ints = element<IntArray>(entry, 0);
            if (!ints) continue;
            const jint ex = horizontal ? x + step / 2 + pos + at(ints, kEntryOffset) : x;
            const jint ey = horizontal ? y : y + step / 2 + pos + at(ints, kEntryOffset);
            s.menuEntryTextId = at(ints, kEntryId, -1);
            s.menuEntryIsCursor = i == cg().menuCursor;
            s.menuEntrySelectable = at(ints, kEntrySelectable) == 1;
            setDefaultLayoutFrames(i, count);
            if (pass == 0) paintMenuList(entryLayout, ex, ey, false);
            if (pass == 1 && s.menuEntryIsCursor) paintMenuList(cursorLayout, ex, ey, false);
            // An entry without draw elements of its own shows its label
            // through the default text layout.
            if (pass == 2) paintMenuList(layoutOr(entry, cg().screenLayoutC), ex, ey, true);
        }
    }
    s.menuEntryIsCursor = false;
    s.menuEntrySelectable = true;
    for (jint n : {105, 107})
        if (BSprite* sprite = spriteAt(n)) sprite->setScale(100);
    if (sg) sg->setClip(0, 0, 480, 800);
}

void updateInTransition() {
    if (cg().inTransition && cg().transitionTicks >= at(cg().menuAttrs, kHeaderVisible) * 2 + 3)
        cg().inTransition = false;
}

void updateOutTransition() {
    if (cg().outTransition && cg().transitionTicks >= 13) cg().outTransition = false;
}

void paintScreen(ObjectArray* menu) {
    if (!menu) return;
    if (menu != cg().textBox) openTextBox(menu);
    Graphics* g = cg().graphics;
    if (g && cg().overlayImage && inLevel()) g->drawImage(cg().overlayImage, 0, 0, 0);
    paintScreenBackground();
    ObjectArray* header = cg().menuHeader;
    IntArray* attrs = cg().menuAttrs;
    paintMenuList(header, at(attrs, kHeaderX), at(attrs, kHeaderY), false);
    // The touch list's zones are laid out from the same geometry.
    const ListGeometry l = currentListGeometry();
    updateInTransition();
    updateOutTransition();
    paintMenu(l.x, l.y, l.step, l.rows);
    setFontAlpha(0, 255);
    paintSoftKeys(-1, at(attrs, kHeaderBack, -1));
}

}  // namespace game

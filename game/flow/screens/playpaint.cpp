// Painting play: the play view with its overlays (fireworks, caption,
// banner), the dialog page and the panel's black bars.
#include <string>

#include "display/lcdui/graphics.h"
#include "game/world/screencalls.h"
#include "game/data/statics.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/firework.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/playpaint.h"
#include "game/flow/screens/screenpaint.h"
#include "game/flow/screens/screens.h"
#include "game/sprite/sprite.h"
#include "game/world/paint.h"
#include "runtime/statics.h"

namespace game {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

void fillBox(Graphics* g, jint x, jint y, jint w, jint h, jint colour) {
    if (!g || w <= 0 || h <= 0) return;
    g->setColor(colour);
    g->fillRect(x, y, w, h);
}

}  // namespace

// Pool entry 52 is also the name of a record store, so it carries no text
// terminator; the caption adds one once (drawing stops before the last
// character of every game text).
void paintCaption() {
    cGameStatics& s = cg();
    if (!s.captionText) {
        String* name = StaticClass::getStringConstant(52);
        if (!name) return;
        std::u16string t = name->toUtf16();
        t.push_back(u'\x03');
        String* caption = String::fromUtf16(t);
        cg().captionText = caption;
    }
    drawFontText(0, cg().captionText, 400, 475, 33);
}

void paintBanner() {
    const jint t = cg().bannerTimer;
    if (!bannerShown(t)) return;
    drawFontText(0, StaticClass::getStringConstant(54), bannerX(t), 475, 33);
}

void paintGameplay() {
    cGameStatics& s = cg();
    clearLayerBits();
    game::world::drawBackgroundLayers(0);
    game::world::paintPlayField();
    paintFadeOverlay();
    if (s.fillScreenOn) {
        if (Graphics* g = cg().graphics) {
            g->setClip(0, 0, 480, 800);
            g->fillRect(0, 0, 800, 480);
        }
    }
    if (s.fireworksOn) {
        spawnFireworks();
        paintFireworks(cg().graphics);
    }
    if (s.checkpointTimer > 0) {
        paintCaption();
        s.checkpointTimer -= 1;
    }
    if (s.bannerTimer > 0) {
        paintBanner();
        s.bannerTimer -= 1;
        spawnFireworks();
        paintFireworks(cg().graphics);
        if (s.bannerTimer == 0) clearFireworkState();
    }
    cg().variableChangedMask = -1;
}

namespace {
// The character index where wrapped line `line` starts (the text's length
// plus one past its last line, so that start - 1 is always a line's end).
jint lineStart(String* wrapped, jint line) {
    const jint length = wrapped->length();
    jint i = 0;
    for (jint k = 0; k < line; ++k) {
        while (i < length && wrapped->charAt(i) != u'\n') ++i;
        if (i >= length) return length + 1;
        ++i;
    }
    return i;
}
}  // namespace

jint paintDialogText() {
    cGameStatics& s = cg();
    const jint mode = cg().dialogMode;
    BSprite* font = fontAt(dialogStyle(kStyleFont));
    if (!s.dialogText || !font) return 0;
    setFontPalette(dialogStyle(kStyleFont), dialogStyle(kStylePalette));
    String* wrapped = font->wrapText(s.dialogText, dialogStyle(kStyleWidth));
    if (!wrapped) return 0;
    Graphics* g = cg().graphics;
    if (mode == 3) {
        paintSpriteFrame(106, 0, 0, 0);
        if (g) g->setClip(80, 0, 320, 800);
        font->drawMultilineString(g, wrapped, dialogStyle(kStyleX), s.dialogScroll + cg().dialogScrollBase,
                                  dialogStyle(kStyleAnchor) & 0xFFFFFF, 0, 0x7FFFFFFF);
        return s.dialogLineCount;
    }
    // The page's lines [first, first + n) of the wrapped text, as the
    // character range from the first line's start to the last line's end.
    const jint n = dialogPageSize();
    const jint from = lineStart(wrapped, s.dialogFirstLine);
    const jint to = lineStart(wrapped, s.dialogFirstLine + n) - 1;
    if (from >= wrapped->length()) return 0;
    font->drawMultilineString(g, wrapped, dialogStyle(kStyleX), dialogStyle(kStyleY) - 2,
                              dialogStyle(kStyleAnchor) & 0xFFFFFF, from, to);
    return n;
}

void paintDialog() {
    cGameStatics& s = cg();
    if (!s.dialogText) return;
    if (cg().dialogMode == 2) {
        if (!cg().dialogRedraw) return;
        drawBlinkingText(0x10088, 0, 6, 400, 40, 3, 8);
        Graphics* g = cg().graphics;
        if (g) {
            g->setClip(0, 0, 80, 800);
            fillBox(g, 0, 0, 80, 800, 0);
            g->setColor(0x8DC63F);
            g->drawLine(79, 0, 79, 799);
            g->drawLine(2, 0, 2, 799);
            g->setClip(0, 0, 480, 800);
        }
        const jint speaker = s.dialogParam;
        IntArray* portraits = cg().screenTriples;
        if (speaker >= 0 && portraits && 3 * speaker + 2 < portraits->length()) {
            const jint group = portraits->data()[3 * speaker], ref = portraits->data()[3 * speaker + 1];
            const jint anim = portraits->data()[3 * speaker + 2];
            if (group >= 0 && ref >= 0 && anim >= 0)
                if (BSprite* p = getSpriteById(ref, group)) p->paintAFrame(g, anim, 0, 34, 473, 0, 0, 0);
        }
        if (BSprite* arrow = getSpriteById(1, 18)) arrow->paintAFrame(g, 10, 0, 793, 415, 0, 0, 0);
    }
    s.dialogPageLines = paintDialogText();
}

void paintFadeTiles(jint x, jint y, jint w, jint h) {
    IntArray* tile = cg().fadeTile;
    Graphics* g = cg().graphics;
    if (!tile || !g || w <= 0 || h <= 0) return;
    g->setClip(x, y, w, h);
    for (jint by = y; by < y + h; by += kFadeTileHeight)
        for (jint bx = x; bx < x + w; bx += kFadeTileWidth)
            g->drawRGB(tile, 0, kFadeTileWidth, bx, by, kFadeTileWidth, kFadeTileHeight, true);
    g->setClip(0, 0, 480, 800);
}

void paintPanel() {
    cGameStatics& s = cg();
    const jint position = cg().panelPosition, target = cg().panelOffset;
    Graphics* g = cg().graphics;
    if (position < 0 || !g) return;
    g->setClip(0, 0, 480, 800);
    if (s.panelFadeMode == 1 && position != 0) {
        if (s.panelFadeStep == 0) {
            fillBox(g, 0, 0, position, 800, 0);
            fillBox(g, 480 - position, 0, position, 800, 0);
        }
        paintFadeTiles(480 - target, 0, position - target, 800);
        paintFadeTiles(position, 0, position - target, 800);
        if (target != 0) {
            fillBox(g, 0, 0, position, 800, 0);
            fillBox(g, 480 - position, 0, position, 800, 0);
        }
    } else if (s.panelFadeMode == 0) {
        fillBox(g, 0, 0, position, 800, 0);
        fillBox(g, 480 - position, 0, position, 800, 0);
    }
    s.panelPainted = position;
}

}  // namespace game

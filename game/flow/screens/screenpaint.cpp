// Painters of the non-menu screens (screenpaint.h).
#include "game/flow/screens/screenpaint.h"

#include "display/lcdui/graphics.h"
#include "game/actor/actor.h"
#include "game/actor/paint.h"
#include "game/actor/screencalls.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/screens.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/levelend.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/playpaint.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_start.h"
#include "game/sprite/sprite.h"
#include "game/world/paint.h"
#include "game/world/panel.h"
#include "runtime/jint.h"
#include "runtime/statics.h"

namespace game {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

void fill(jint colour) {
    Graphics* g = cg().graphics;
    if (!g) return;
    g->setClip(0, 0, 480, 800);
    g->setColor(colour);
    g->fillRect(0, 0, 480, 800);
}

void overlay() {
    if (Graphics* g = cg().graphics; g && cg().overlayImage) g->drawImage(cg().overlayImage, 0, 0, 20);
}

void text(jint font, jint palette, jint textId, jint x, jint y, jint anchor) {
    setFontPalette(font, palette);
    drawTextById(font, textId, x, y, anchor);
}

String* pool(jint i) { return StaticClass::getStringConstant(i); }

// Where the game-over screen stands the hero: where its falling effect starts.
constexpr jint kGameOverHeroY = 360;

}  // namespace

void drawBlinkingText(jint textId, jint font, jint palette, jint x, jint y, jint anchor, jint period) {
    if (period <= 0 || (getCurrentEntryValue() / period) % 2 == 0) return;
    text(font, palette, textId, x, y, anchor);
}

void paintTallyRow(jint font, jint x, jint y, jint first, jint second, jint third, jint fourth, bool asTime) {
    if (asTime) {
        jint d[10];
        tallyTimeDigits(first, second, d);
        for (jint v : d) addIntParam(v);
        drawFontText(font, pool(38), x + 50, y + 30, 20);
    } else {
        addNumberParam(first);
        addNumberParam(second);
        drawFontText(font, pool(35), x + 50, y + 30, 20);
    }
    addNumberParam(third);
    drawFontText(font, pool(34), x + 300, y + 30, 20);
    addNumberParam(fourth);
    drawFontText(font, pool(37), x + 500, y + 30, 24);
}

void paintTitle() {
    paintSpriteFrame(117, 0, 400, 240);
    paintSpriteFrame(117, 1, 400, 240);
    drawBlinkingText(0, 0, 8, 400, 450, 3, 8);
    text(0, 8, 0x10086, 400, 468, 3);
}

void paintNotice(jint textId, jint y) {
    if (!cg().fullRedraw) return;
    cg().fullRedraw = false;
    fill(0);
    setFontPalette(0, 8);
    drawParagraph(0, getString(textId), 400, y, 780, 17);
}

void paintLogoNotice() {
    if (cg().fullRedraw) {
        cg().fullRedraw = false;
        fill(0);
    }
    setFontPalette(0, 8);
    drawParagraph(0, getString(0x10064), 400, 25, 780, 17);
    if (cActor* logo = cg().logoActor) paintScreenActor(logo);
}

void paintMessage() {
    if (inLevel()) overlay();
    paintScreenBackground();
    setFontPalette(0, 0);
    drawParagraph(0, getString(cg().messageTextId), 400, 240, 761, 3);
    paintSoftKeys(17, -1);
}

BSprite* specialItemSprite() { return spriteAt(ca().item4Id); }

void stepIntroAnimation() {
    cGameStatics& s = cg();
    BSprite* sprite = specialItemSprite();
    const jint frames = sprite ? sprite->getAFrameCount(0) : 0;
    if (frames <= 0) return;
    if (s.introAnimFrame < 0 || s.introAnimFrame >= frames) s.introAnimFrame = 0;
    s.introAnimTicks += 1;
    if (s.introAnimTicks >= sprite->getAFrameTime(0, s.introAnimFrame)) {
        s.introAnimTicks = 0;
        s.introAnimFrame = s.introAnimFrame + 1 < frames ? s.introAnimFrame + 1 : 0;
    }
}

void paintResults() {
    IntArray* stats = cg().levelStats;
    if (!stats || stats->length() < 12) return;
    // A copy: drawing allocates, and the array's elements may move.
    jint s[12];
    for (jint i = 0; i < 12; ++i) s[i] = stats->data()[i];
    fill(0);
    overlay();
    paintSpriteFrame(107, 15, 400, 240);
    paintSpriteFrame(107, 11, 0, 0);
    text(2, 3, 44, 4, 0, 20);
    drawBlinkingText(0, 0, 3, 400, 460, 3, 8);
    setFontPalette(0, 3);
    jint y = 45;
    paintTallyRow(0, 160, y, s[7], cg().itemsTotal, 100, s[0], false);
    y += 60;
    paintTallyRow(0, 160, y, s[8], cg().secretsTotal, 300, s[1], false);
    const jint stage = cg().stage;
    const jint pending = pendingState();
    const bool skipSpecial = pending == kStateLoading ? stage == 8 : (stage == 7 || stage == 10);
    if (!skipSpecial) {
        y += 60;
        paintTallyRow(0, 160, y, specialItemCount(), 5, 50, s[2], false);
    }
    y += 60;
    paintTallyRow(0, 160, y, s[10] / 16, 300, 100, s[3], true);
    addIntParam(s[11]);
    addIntParam(500);
    text(0, 2, 39, 135, y + 10, 20);
    text(0, 2, 40, 135, y + 30, 20);
    if (s[4] != 0) {
        addNumberParam(s[4]);
        text(0, 3, 41, 660, y + 30, 24);
    } else {
        addIntParam(0);
        text(0, 3, 24, 660, y + 30, 24);
    }
    // The separator above the total.
    if (Graphics* g = cg().graphics) {
        g->setColor(static_cast<jint>(0xFFFDFFA2));
        g->fillRect(132, 134, 4, 534);
        g->setColor(static_cast<jint>(0xFF00DA00));
        g->drawLine(134, 135, 134, 665);
    }
    text(0, 3, 42, 135, 356, 20);
    addNumberParam(cg().tallyLine > 4 ? s[5] : 0);
    drawFontText(0, pool(37), 660, 356, 24);
    text(0, 8, 43, 135, 386, 20);
    // The stored best of this stage and difficulty; a better total counts
    // up over it once every line shows.
    jint best = s[6];
    const jint stored = readSaveInt(stage * 5 + cg().difficulty * 62 - 50);
    if (cg().tallyLine >= kTallyLines && stored < s[5]) {
        if (best < stored) best = stored;
        best = cg().tallyDone ? s[5] : (best + kTallyStep < s[5] ? best + kTallyStep : s[5]);
    } else {
        best = stored;
    }
    stats->data()[6] = best;
    addNumberParam(best);
    drawFontText(0, pool(37), 660, 386, 24);
    cg().resultsRedraw = false;
}

void paintGameOver() {
    fill(0);
    if (cActor* hero = cg().hero) {
        text(0, 3, 0x10060, 400, 120, 17);
        // The hero falls under the text with the falling-hero effect.
        if (hero->type == 0)
            drawAnimFrame(hero->sprite, hero->subtype == 3010 ? 52 : 51, getCurrentEntryValue(),
                          400, kGameOverHeroY, 0);
    }
    paintEffectLayer(11);
}

void paintDifficultyNotice() {
    fill(0);
    text(0, 6, 47, 400, 40, 17);
    setFontPalette(0, 8);
    drawParagraph(0, getString(49), 400, 235, 790, 17);
    drawParagraph(0, getString(48), 400, 275, 790, 17);
    drawBlinkingText(0, 0, 3, 400, 475, 33, 8);
}

void paintEnding() {
    paintSpriteFrame(106, 0, 0, 0);
    if (Graphics* g = cg().graphics) g->setClip(27, 0, 430, 800);
    setFontPalette(0, 8);
    drawParagraph(0, getString(46), 400, cg().endingScroll, 770, 17);
    if (cg().endingScroll > 30) cg().endingScroll -= 1;
    drawBlinkingText(0, 0, 3, 400, 475, 33, 8);
}

void paintIntro() {
    overlay();
    const jint stage = cg().stage;
    paintSpriteFrame(107, 4, 400, 240);
    paintSpriteAnim(107, 4, getCurrentEntryValue(), 80, 21);
    text(0, 6, 0x10066, 400, 3, 17);
    text(0, 6, 0x10017 + findListEntry(stage), 400, 80, 17);
    text(0, 9, 0x10067 + stage, 400, 26, 17);
    drawParagraph(0, getString(0x10022 + stage), 400, 110, 760, 17);
    if (stage == 7 || stage == 10) {
        text(0, 9, 0x1007F, 400, 200, 17);
        drawParagraph(0, getString(0x10073 + stage), 400, 230, 800, 17);
    } else {
        text(0, 9, 0x1007F, 400, 140, 17);
        drawParagraph(0, getString(0x10073 + stage), 400, 170, 760, 17);
        text(0, 9, 0x10080, 400, 260, 17);
        text(0, 9, 0x10081, 400, 290, 17);
        addIntParam(5);
        drawFontText(0, pool(34), 414, 381, 20);
        if (BSprite* item = specialItemSprite(); item && cg().introAnimFrame < item->getAFrameCount(0))
            item->paintAFrame(cg().graphics, 0, cg().introAnimFrame, 391, 387, 0, 0, 0);
    }
    drawBlinkingText(0, cg().promptFont, 6, 400, 447, 17, 8);
}

void paintSoftKeys(jint leftTextId, jint rightTextId) {
    setFontPalette(1, 0);
    BSprite* keys = spriteAt(107);
    BSprite* font = fontAt(1);
    Graphics* g = cg().graphics;
    auto label = [&](jint id, jint frame, bool right) {
        String* t = getString(id);
        const jint fw = keys && frame < keys->getFrameCount() ? keys->getFrameWidth(frame) : 0;
        const jint tw = font && t ? font->getStringWidth(t) : 0;
        const jint inset = fw > tw ? (fw - tw) / 2 : 0;
        if (t) drawFontText(1, t, right ? 800 - inset : inset, 455, right ? 40 : 36);
    };
    if (rightTextId != -1) {
        const bool lit = keys && java::irem(cg().backHeldTicks, 3) == 2 && keys->getFrameCount() > 22;
        if (keys) keys->paintFrame(g, lit ? 22 : 13, 787, 480, 0, 0, 0);
        label(rightTextId, 13, true);
    }
    if (leftTextId != -1) {
        // The left key blinks while its corner zone is held.
        const bool lit = keys && java::irem(cg().touchRect2Ticks, 3) == 2 && keys->getFrameCount() > 23;
        if (keys) keys->paintFrame(g, lit ? 23 : 12, 13, 480, 0, 0, 0);
        label(leftTextId, 12, false);
    }
}

void capturePlayView(jint) {
    Graphics* g = ensureLoadingPicture();
    if (!g) return;
    Graphics* saved = cg().graphics;
    cg().graphics = g;
    g->setClip(0, 0, 480, 800);
    game::world::paintLayerView(0, 0, 0);
    paintGameplay();
    game::world::paintSidePanel();
    paintPanel();
    paintDialog();
    fillTiledRect(0, 0, 480, 800, static_cast<jint>(0xAF000000), g);
    cg().graphics = saved;
    cg().levelFinished = false;
}

void preparePanelBackground() {
    Graphics* g = ensureLoadingPicture();
    if (!g) return;
    if (inLevel()) {
        capturePlayView(1);
    } else {
        g->setClip(0, 0, 480, 800);
        g->setColor(0);
        g->fillRect(0, 0, 480, 800);
    }
    Graphics* saved = cg().graphics;
    cg().graphics = g;
    paintSpriteFrame(117, 0, 400, 240);
    fillTiledRect(0, 0, 480, 800, 0x5F000000, g);
    cg().graphics = saved;
}

void paintPauseView() {
    if (cg().levelFinished) capturePlayView(1);
    paintScreen(cg().pauseMenu);
}

void paintBonus() {
    overlay();
    const jint t = cg().bonusAnimTicks;
    text(0, 6, 0x10084, 400, 30, 17);
    if (BSprite* s = getSpriteById(9, 18)) drawAnimFrame(s, 0, t, 400, 160, 0);
    if (BSprite* s = getSpriteById(0, 19); s && s->getFrameCount() > 60) s->paintFrame(cg().graphics, 60, 400, 280, 0, 0, 0);
    setFontPalette(0, 6);
    drawParagraph(0, getString(0x10083), 400, 330, 800, 17);
    drawBlinkingText(0, cg().promptFont, 6, 400, 420, 17, 8);
}

void paintScrollingText() {
    cGameStatics& s = cg();
    Graphics* g = cg().graphics;
    fill(0);
    overlay();
    if (g) g->setClip(39, 0, 376, 800);
    setFontPalette(0, 8);
    if (s.scrollText) drawParagraph(0, s.scrollText, 400, s.textScroll, 770, 17);
    if (g) g->setClip(0, 0, 480, 800);
    const jint t = getCurrentEntryValue();
    paintSpriteAnim(107, 0, t, 400, 45);
    paintSpriteAnim(107, 1, t, 400, 435);
    paintSoftKeys(-1, 18);
}

}  // namespace game

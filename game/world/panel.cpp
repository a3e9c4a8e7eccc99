// The side panel's frame and its pieces, the level counters' reset, the
// reward counter overlay and the two-colour gradient behind WorldHooks
// (panel.h).
#include "game/world/panel.h"

#include "display/lcdui/graphics.h"
#include "game/actor/actor.h"
#include "game/actor/paint.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screen.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/screens.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/paint.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/jint.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"

namespace game::world {

namespace {

javax_microedition_lcdui_Graphics* graphics() { return cg().graphics; }

void clip(jint x, jint y, jint w, jint h) {
    if (auto* g = graphics()) g->setClip(x, y, w, h);
}

}  // namespace

// The portrait and the counter icon are the screens' routines (their
// effect actors are made, kept and painted through the actor framework's
// screen routines); the
// panel only decides when the icon is refreshed.
void paintHeroPortrait() { game::paintHeroPortrait(); }
void updatePanelActor() { game::updatePanelActor(); }

// String-pool entry 34 (a game text of the program, not of the text pack),
// as the screens paint it.
void paintPanelCaption() { game::paintPanelCaption(); }

void paintSidePanel() {
    clip(416, 0, 64, 800);
    paintHeroPortrait();
    cGameStatics& w = cg();
    if ((w.variableChangedMask & 1) && w.variableChangedMask != -1) {
        w.panelActorTimer = 20;
        w.panelActorTimer -= 1;
        updatePanelActor();
    } else if (w.panelActorTimer >= 1) {
        w.panelActorTimer -= 1;
        updatePanelActor();
    }
    paintHealthBar();
    paintPanelCaption();
    cg().variableChangedMask = 0;
    clip(0, 0, 480, 800);
    // The touch buttons over the whole screen.
    game::paintSidePanelButtons();
}

void resetLevelCounters() {
    cg().variableChangedMask = -1;
    loadLevelVariables();
    resetLevelStats();
    cg().heroTimer = -1;
    IntArray* t = mordle().valueTriple;
    cg().bossCounter = t && t->length() > 2 ? t->data()[2] : 0;
}

void paintOverlayMessage() {
    cActorStatics& a = ca();
    // The countdown stops at 0: an idle overlay must not wrap it round.
    if (a.type2Countdown <= 0) return;
    a.type2Countdown -= 1;
    if (a.type2Countdown <= 0) return;
    cActor* holder = a.type2Actor;
    BSprite* icon = holder ? holder->sprite : nullptr;
    jint w = 0, h = 0, ry = 0;
    if (icon) {
        getFrameRect(icon, 0);
        if (IntArray* r = cg().frameRect; r && r->length() >= 4) {
            ry = r->data()[1];
            w = r->data()[2];
            h = r->data()[3];
        }
        const jint frames = icon->getAFrameCount(0);
        a.type2Phase = frames > 0 ? java::irem(a.type2Phase + 1, frames) : 0;
    }
    const jint x = 640 - w / 2, y = h - (ry < 0 ? -ry : ry);
    if (a.type2QueueCount >= 5) {
        if (icon) drawSpriteFrame(icon, 0, a.type2Phase, x, 95, 0, 100, 0);
        setFontPalette(0, java::irem(a.type2Countdown, 4) < 2 ? 3 : 6);
        drawTextById(0, 31, x, y + 115, 17);
        if (a.type2Countdown == 1) {
            playSound(10);
            IntArray* stats = cg().heroStatus;
            const jint lives = stats && stats->length() > 5 ? stats->data()[5] : getVariable(5);
            setVariable(5, java::iadd(lives, 1), false);
        }
        return;
    }
    // The count's icon: the queued value of the last collectible names its
    // frame. No icon before the first, nor for a count past the queue.
    const jint count = a.type2QueueCount;
    IntArray* queue = a.type2Queue;
    if (icon && count > 0 && queue && queue->inBounds(count - 1))
        drawSpriteFrame(icon, -1, queue->data()[count - 1], x, 95, 0, 100, 0);
    StringBuffer* text = StringBuffer::make(8);
    StringBuffer::appendInt(text, count);
    StringBuffer::append(text, StaticClass::getStringConstant(76));
    StringBuffer::appendInt(text, 5);
    setFontPalette(0, java::irem(a.type2Countdown, 6) < 3 ? 3 : 6);
    drawFontText(0, text->toString(), x, y + 115, 17);
}

void fillTwoColourGradient(IntArray* pixels, jint offset, jint scan, jint w, jint h, jint top, jint bottom) {
    if (!pixels || scan <= 0 || offset < 0) return;
    fillGradient(pixels, scan, top, top, bottom, bottom, java::irem(offset, scan), java::idiv(offset, scan), w, h, false,
                 false);
}

}  // namespace game::world

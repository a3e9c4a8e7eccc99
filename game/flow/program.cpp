// Program set-up for the game's core and the game's sprite host
// (program.h).
#include "game/flow/program.h"

#include <algorithm>

#include "display/lcdui/graphics.h"
#include "game/data/statics.h"
#include "game/data/util.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/screens/states_start.h"
#include "game/flow/states.h"
#include "game/sprite/sprite.h"
#include "game/sprite/statics.h"

namespace game {

void GameSpriteHost::setAlphaFillColor(jint argb) { game::setAlphaFillColor(argb); }

void GameSpriteHost::drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) {
    IntArray* row = cg().fillRow;
    if (!g || !row || w <= 0 || h <= 0) return;
    const jint cx = g->getClipX(), cy = g->getClipY(), cw = g->getClipWidth(), ch = g->getClipHeight();
    const int64_t x1 = std::max<int64_t>(x, cx), y1 = std::max<int64_t>(y, cy);
    const int64_t x2 = std::min<int64_t>(int64_t{x} + w, int64_t{cx} + cw);
    const int64_t y2 = std::min<int64_t>(int64_t{y} + h, int64_t{cy} + ch);
    if (x1 >= x2 || y1 >= y2) return;
    g->setClip(static_cast<jint>(x1), static_cast<jint>(y1), static_cast<jint>(x2 - x1), static_cast<jint>(y2 - y1));
    for (int64_t ty = y1 - ((y1 - y) % 16); ty < y2; ty += 16)
        for (int64_t tx = x1 - ((x1 - x) % 16); tx < x2; tx += 16)
            g->drawRGB(row, 0, 16, static_cast<jint>(tx), static_cast<jint>(ty), 16, 16, 1);
    g->setClip(cx, cy, cw, ch);
}

jint GameSpriteHost::sin(jint angle) { return game::sin(angle); }

javax_microedition_lcdui_Graphics* GameSpriteHost::currentGraphics() { return cg().graphics; }

IntArray* GameSpriteHost::pixelBuffer(jint minLength) {
    IntArray* b = cg().frameCache;
    if (!b || b->length() < minLength) {
        b = newIntArray(std::max<jint>(minLength, 384000));
        cg().frameCache = b;
    }
    return b;
}

IntArray* GameSpriteHost::rotationBuffer(jint minLength) {
    IntArray* b = cg().rotationWork;
    if (!b || b->length() < minLength) {
        b = newIntArray(std::max<jint>(minLength, 19200));
        cg().rotationWork = b;
    }
    return b;
}

GameSpriteHost& GameSpriteHost::instance() {
    static GameSpriteHost host;
    return host;
}

void registerGameProgram() {
    sprite::registerSpriteStatics();
    registerGameStatics();
    installCoreStateHandlers();
    installScreenStates();
    sprite::setSpriteHost(&GameSpriteHost::instance());
}

}  // namespace game

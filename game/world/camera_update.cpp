// The camera's per-step update and its reset (see camera.h): look-ahead,
// catch-up, target actor, scripted scroll, rising scroll, the two
// auto-scrolling chases, and the clamp into the limits.
#include <cstdlib>

#include "game/actor/actor.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/map.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::world {

namespace {

jint clampTo(jint v, jint lo, jint hi) { return v < lo ? lo : v > hi ? hi : v; }

// The look-ahead eases toward its goal: half the distance, at most `cap`;
// under `cap` it lands on the goal.
void ease(jint& value, jint goal, jint cap) {
    const jint h = (goal - value) / 2;
    if (std::abs(h) < cap) value = goal;
    else value += clampTo(h, -cap, cap);
}

}  // namespace

bool isDeepDropAhead(cActor* h, jint cameraY) {
    if (!h || ca().heroState != 2 || ca().heroStateTicks < 2) return false;
    const jint xs[2] = {h->posX, h->posX + (h->facing ? -36 : 36)};
    for (jint x : xs)
        if (scanTileColumn(h, x, h->posY, 0x800008) - cameraY < 330) return false;
    return true;
}

void updateCamera(jint smooth) {
    cGameStatics& g = cg();
    cActor* h = hero();
    const jint sx = g.cameraX, sy = g.cameraY;
    g.cameraStepX = g.cameraStepY = 0;
    const jint state = ca().heroState;
    bool skipTaken = false;
    if (!g.cameraLocked && h) {
        const jint* m = h->motion && h->motion->length() > 3 ? h->motion->data() : nullptr;
        const jint vx = m ? m[2] : 0, vy = m ? m[3] : 0;
        jint dx = 0, dy = 0;
        cActor* target = g.cameraTarget;
        if (target && target->viewRating < 2 && (target->flags & 0x20)) {
            g.cameraOffsetX = clampTo((target->posX - h->posX) / 2, -389, 389);
            g.cameraOffsetY = clampTo((target->posY - h->posY) / 2, -218, 218);
        } else {
            bool lookLeft, lookRight;
            if (g.lookMode == 99 || g.lookMode == 66) {
                lookLeft = h->facing != 0 && vx < 0;
                lookRight = h->facing == 0 && vx > 0;
            } else {
                lookLeft = g.lookMode == -1;
                lookRight = g.lookMode == 1;
            }
            if (lookLeft || lookRight || g.lookAheadForcedX != 30001) {
                jint goal;
                if (g.lookAheadForcedX != 30001) goal = g.lookMode == -1 ? -g.lookAheadForcedX : g.lookAheadForcedX;
                else goal = lookRight ? 51 : -51;
                ease(g.lookAheadX, goal, 16);
                jint goalY = 0;
                if (isDeepDropAhead(h, g.cameraY)) goalY = 170;
                else if (vy < 0 && h->posY < g.cameraY) goalY = -70;
                ease(g.lookAheadY, goalY, 24);
            }
            g.cameraOffsetX = g.lookAheadX;
            g.cameraOffsetY = g.lookAheadY;
            dx = h->posX - g.cameraX;
            dy = h->posY - g.cameraY - 160;
            if (g.lookAheadForcedY != 30001) dy += g.lookAheadForcedY;
            // The divisors are 8.8 fixed point: 512 halves the distance.
            if (dx != 0 && std::abs(dx) < 400 && g.cameraDivX) dx = java::idiv(java::ishl(dx, 8), g.cameraDivX);
            if (dy != 0 && dy > -400 && dy < 80 && g.cameraDivY) dy = java::idiv(java::ishl(dy, 8), g.cameraDivY);
        }
        const jint tx = (g.cameraFlags & 32) ? h->posX : g.cameraX + g.cameraOffsetX + dx;
        const jint ty = (g.cameraFlags & 128) ? h->posY - cActor::getHeight(h) / 2 : g.cameraY + g.cameraOffsetY + dy;
        if (g.riseScroll) {
            if (g.cameraY > h->posY) {
                const jint s = clampTo((h->posY - g.cameraY) / 4, -48, 48);
                g.cameraY += s >> 2;
                g.cameraStepY = s >> 2;
            } else {
                g.cameraY += g.riseScrollStep;
            }
            g.cameraX = h->posX;
        } else if (smooth) {
            const jint stepX = clampTo((tx - g.cameraX) / 4, -48, 48), stepY = clampTo((ty - g.cameraY) / 4, -48, 48);
            g.cameraX += stepX;
            g.cameraY += stepY;
            g.cameraStepX = stepX;
            g.cameraStepY = stepY;
            if (g.cameraFlags & 64) {
                if (g.scrollDelay > 0) {
                    g.scrollDelay -= 1;
                    if (g.scrollDelay == 0) g.scrollDelay = -1;
                }
                if (g.scrollDelay >= 0) {
                    g.cameraX = sx, g.cameraY = sy;
                    g.cameraStepX = g.cameraStepY = 0;
                } else {
                    g.cameraX = sx + g.scrollStepX, g.cameraY = sy + g.scrollStepY;
                    g.cameraStepX = g.scrollStepX, g.cameraStepY = g.scrollStepY;
                }
            } else if (state == 38) {
                if (ca().heroSkipScroll) {
                    ca().heroSkipScroll = 0;
                    g.cameraX = sx;
                    skipTaken = true;
                } else {
                    g.cameraX = sx + ((2112 * ca().runSpeedFactor) >> 16);
                }
                if (h->posX - g.cameraX < -400) behaviour::kill(h);
            } else if (g.stage == 7) {
                g.cameraX = isAnyScriptActive() ? sx : sx + ((2880 * ca().runSpeedFactor) >> 16);
                // The hero's own counter limit counts the frames it is left behind.
                if (h->posX - g.cameraX < -400) h->counterLimit -= 1;
                else h->counterLimit = 50;
                if (h->counterLimit < 0 || h->posX - g.cameraX < -448) {
                    cActor::stopHeroMotion();
                    behaviour::kill(h);
                }
            }
            if (skipTaken) {
                g.cameraX = sx;
                g.cameraStepX = 0;
            } else if (!(g.cameraFlags & (1 | 2 | 32))) {
                g.cameraX = sx;
                g.cameraStepX = 0;
            }
            if (!(g.cameraFlags & (4 | 8 | 128))) {
                g.cameraY = sy;
                g.cameraStepY = 0;
            }
        } else {
            g.cameraX = tx;
            g.cameraY = ty;
        }
        g.cameraOffsetX = g.cameraOffsetY = 0;
    }
    // The clamp into the limits (lower bound first).
    const jint l = cameraLimit(0), t = cameraLimit(1), r = cameraLimit(2), b = cameraLimit(3);
    g.cameraX = std::min(std::max(g.cameraX, l + 400), r - 400);
    if (state == 38) {
        const jint target = std::min(std::max(g.cameraY, t + 240), b - 240);
        const jint limit = java::iabs(g.cameraStepY);
        g.cameraY += clampTo(target - g.cameraY, -limit, limit);
    } else {
        g.cameraY = std::min(std::max(g.cameraY, t + 240), b - 240);
    }
    if (g.cameraStepX == 0 && g.lookMode == 66) g.lookMode = 99;
    if (h && h->subtype == 3010 && h->posY - 85 > g.cameraY + 240 && !g.heroFallKillOff) behaviour::kill(h);
}

void resetCamera() {
    cGameStatics& g = cg();
    g.cameraX = g.cameraY = 0;
    g.cameraStepX = g.cameraStepY = 0;
    g.lookAheadX = g.lookAheadY = 0;
    g.cameraLocked = 0;
    updateCamera(0);
    g.lookMode = 99;
    g.lookAheadForcedX = g.lookAheadForcedY = 30001;
    setCameraLimits(0, 0, g.mapPixelWidth, g.mapPixelHeight);
    g.riseScroll = 0;
    g.riseScrollStep = 0;
}

}  // namespace game::world

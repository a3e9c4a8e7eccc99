// Motion and boxes: moving in 1/256 pixel with the view and camera clamps,
// one acceleration step, limit and anchor tests, boxes, facing and view
// coordinates.
//
// Invariant: after every moveBy of an actor with a motion state, posX and
// posY are its fixed-point position >> 8, and the box has moved by exactly
// the change in pixels.
#include "game/actor/actor.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"

#include <cstdlib>

using namespace game;


namespace {

jint cameraLimit(jint i) {
    IntArray* l = cg().cameraLimits;
    return l && l->inBounds(i) ? l->data()[i] : 0;
}

jint clampTo(jint v, jint lo, jint hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

void cActor::moveBy(cActor* a, jint dx, jint dy) {
    if (!a) return;
    jint oldX = a->posX, oldY = a->posY;
    if (IntArray* mo = a->motion) {
        jint* m = mo->data();
        m[4] = java::iadd(m[4], java::ishl(a->posX - (m[4] >> 8), 8));
        m[5] = java::iadd(m[5], java::ishl(a->posY - (m[5] >> 8), 8));
        m[4] = java::iadd(m[4], dx);
        m[5] = java::iadd(m[5], dy);
        a->posX = m[4] >> 8;
        a->posY = m[5] >> 8;
        if (a->flags & 0x202) {
            a->contactFlags &= ~(16 | 32);
            jint w = getWidth(a), h = getHeight(a);
            jint x0, x1, y0, y1;
            if (a->flags & 0x2) {
                x0 = cameraLimit(0) + (w >> 1);
                x1 = cameraLimit(2) - (w >> 1);
                y0 = cameraLimit(1) + h;
                y1 = cameraLimit(3);
            } else {
                x0 = cg().cameraX - 400 + (w >> 1);
                x1 = cg().cameraX + 400 - (w >> 1);
                y0 = cg().cameraY - 240 + h;
                y1 = cg().cameraY + 240;
            }
            jint x = clampTo(a->posX, x0, x1);
            jint y = clampTo(a->posY, y0, y1);
            if (x != a->posX) {
                a->posX = x;
                a->contactFlags |= 16;
                m[4] = java::ishl(x, 8);
            }
            if (y != a->posY) {
                a->posY = y;
                a->contactFlags |= 32;
                m[5] = java::ishl(y, 8);
            }
        }
    } else {
        a->posX += dx >> 8;
        a->posY += dy >> 8;
    }
    if (a->posX != oldX || a->posY != oldY) offsetBox(a->box, a->posX - oldX, a->posY - oldY);
}

void cActor::moveTo(cActor* a, jint x256, jint y256) {
    if (!a) return;
    jint x = a->motion ? a->motion->data()[4] : java::ishl(a->posX, 8);
    jint y = a->motion ? a->motion->data()[5] : java::ishl(a->posY, 8);
    moveBy(a, java::isub(x256, x), java::isub(y256, y));
}

void cActor::stopMotion(cActor* a) {
    if (!a || !a->motion) return;
    for (jint i = 0; i < 4; ++i) a->motion->data()[i] = 0;
}

void cActor::stopHeroMotion() {
    cActor* hero = cg().hero;
    stopMotion(hero);
    if (hero) clearVelocityLimitsX(hero);
}

void cActor::clearVelocityLimitsX(cActor* a) {
    if (a && a->motion) a->motion->data()[6] = a->motion->data()[7] = 0;
}

void cActor::clearVelocityLimitsY(cActor* a) {
    if (a && a->motion) a->motion->data()[8] = a->motion->data()[9] = 0;
}

void cActor::applyAcceleration(cActor* a) {
    if (!a || !a->motion) return;
    jint* m = a->motion->data();
    m[2] = clampTo(java::iadd(m[2], m[0]), m[6], m[7]);
    m[3] = clampTo(java::iadd(m[3], m[1]), m[8], m[9]);
}

bool cActor::approachLimit(cActor* a, jint v, jint i, jint j, bool adjust) {
    if (!a || !a->motion || (i != 2 && i != 3) || (j != 4 && j != 5)) return true;
    jint* m = a->motion->data();
    if (m[i] == 0) return true;
    jint accel = m[i - 2];
    jint next = java::iadd(java::iadd(m[j], m[i]), accel);
    bool passes = (m[i] < 0 && next < v) || (m[i] > 0 && next > v);
    if (passes) {
        if (!adjust) return true;
        m[i] = java::isub(java::isub(v, accel), m[j]);
    }
    return m[j] == v;
}

bool cActor::isAnchorReachable(cActor* a, jint x256, jint y256) {
    if (!a || !a->motion) return false;
    jint* m = a->motion->data();
    jint dx = java::isub(java::isub(x256, m[4]), m[2]);
    jint dy = java::isub(java::isub(y256, m[5]), m[3]);
    bool vertical = std::abs(static_cast<long long>(dx)) < std::abs(static_cast<long long>(dy)) && !(a->physicsFlags & 1);
    jint u = vertical ? m[3] : m[2];
    jint d = vertical ? dy : dx;
    if ((u > 0 && d < 0) || (u < 0 && d > 0)) {
        m[2] = java::isub(java::isub(x256, m[0]), m[4]);
        m[3] = java::isub(java::isub(y256, m[1]), m[5]);
        return true;
    }
    return x256 == java::ishl(a->posX, 8) && y256 == java::ishl(a->posY, 8);
}

void cActor::setBox(ShortArray* box, jint l, jint t, jint r, jint b) {
    if (!box || box->length() < 4) return;
    jshort* d = box->data();
    d[0] = java::i2s(l);
    d[1] = java::i2s(t);
    d[2] = java::i2s(r);
    d[3] = java::i2s(b);
}

void cActor::offsetBox(ShortArray* box, jint dx, jint dy) {
    if (!box || box->length() < 4) return;
    jshort* d = box->data();
    d[0] = java::i2s(d[0] + dx);
    d[2] = java::i2s(d[2] + dx);
    d[1] = java::i2s(d[1] + dy);
    d[3] = java::i2s(d[3] + dy);
}

jint cActor::getWidth(const cActor* a) { return a && a->box ? a->box->data()[2] - a->box->data()[0] : 0; }
jint cActor::getHeight(const cActor* a) { return a && a->box ? a->box->data()[3] - a->box->data()[1] : 0; }

void cActor::updateBoxFromFrameBounds(cActor* a) {
    if (!a || !a->sprite) return;
    IntArray* r = ca().frameRect;
    a->sprite->getAFrameRect(r, a->anim, a->frame, 0, 0, a->facing == 1 ? 1 : 0);
    // The sprite measures pixels; the rectangle is kept in 1/256 pixel.
    for (jint i = 0; i < 4; ++i) r->data()[i] = java::ishl(r->data()[i], 8);
    a->setBoxFromRect(r);
}

void cActor::offsetDrawAndBox(cActor* a, jint dx, jint dy) {
    a->drawOffsetX += dx;
    a->drawOffsetY += dy;
    offsetBox(a->box, java::idiv(java::imul(a->scale, dx), 100), java::idiv(java::imul(a->scale, dy), 100));
}

void cActor::setHeroAttackBox(cActor* a, jint w, jint h, jint c) {
    if (!a->attackBox) a->attackBox = newShortArray(4);
    jint off = c == 0 ? 0 : java::idiv(w, c) + (getWidth(a) >> 1);
    jint left = a->facing == 0 ? a->posX - off : a->posX - (w - off);
    jint top = a->posY - h - 3;
    setBox(a->attackBox, left, top, left + w, top + h);
}

void cActor::setFacing(cActor* a, jint f) {
    if (!a) return;
    a->facing = f != 0;
    a->paintFlags = (a->paintFlags & ~1) | (f != 0 ? 1 : 0);
}

jint cActor::toScreenX(jint x, jint layer) { return x - game::world::getLayerX(layer) + 400; }
jint cActor::toScreenY(jint y, jint layer) { return y - game::world::getLayerY(layer) + 240; }


// Small shared steps of the platform family: the hero, box overlaps with
// it, parameters read safely, and the game's milliseconds-to-steps rule.
#pragma once

#include "game/actor/actor.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "runtime/jint.h"

namespace game::behaviour::plat {

inline cActor* heroActor() { return cg().hero; }

// Self's body box meets the hero's (false without a hero or a box).
inline bool touchesHero(cActor* a) {
    cActor* h = heroActor();
    return h && a && a->box && h->box && cActor::rectsIntersect(a->box, h->box);
}

// params[i], 0 when absent (set-up pads to the type's needs; this keeps a
// routine safe on an actor made some other way).
inline jint param(cActor* a, jint i) { return a->getParamOr(i); }
inline void setParamIfPresent(cActor* a, jint i, jint v) {
    if (a->params && i >= 0 && i < a->params->length()) a->params->data()[i] = static_cast<jshort>(v);
}

// A duration in milliseconds as logic steps (16 ms each, rounded).
inline jint msToSteps(jint ms) { return java::idiv(java::iadd(java::imul(ms, 16), 500), 1000); }

inline void ensureMotion(cActor* a) {
    if (!a->motion) a->allocMotionState();
}

// A speed of min(limit, |d| << 8) toward d's sign (1/256 px a step).
inline jint towardSpeed(jint d, jint limit) {
    if (d == 0) return 0;
    const jint m = d < 0 ? java::ineg(d) : d;
    const jint v = m > (limit >> 8) ? limit : java::ishl(m, 8);
    return d < 0 ? -v : v;
}

// Flies to (hero x, hero y - 85); true once it has arrived (both speeds 0),
// when it has stopped and become the hero's carried item on animation 60.
inline bool flyToHero(cActor* a, cActor* hero, jint limit) {
    ensureMotion(a);
    const jint vx = towardSpeed(hero->posX - a->posX, limit);
    const jint vy = towardSpeed(hero->posY - 85 - a->posY, limit);
    a->motion->data()[2] = vx;
    a->motion->data()[3] = vy;
    if (vx != 0 || vy != 0) return false;
    cActor::stopMotion(a);
    carried(hero) = a;
    hero->setAnim(60);
    return true;
}

inline jint partAt(IntArray* p, jint i) { return p && i >= 0 && i < p->length() ? p->data()[i] : 0; }
inline void setPartAt(IntArray* p, jint i, jint v) {
    if (p && i >= 0 && i < p->length()) p->data()[i] = v;
}

}  // namespace game::behaviour::plat

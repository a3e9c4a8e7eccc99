// Small checked accessors the core routines share: the hero, motion,
// parts, params and linked entries read as 0 / null when absent and
// written only where they exist, so a short array never overruns.
#pragma once

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/array.h"
#include "runtime/jint.h"

namespace game::behaviour::core {

inline cActor* theHero() { return cg().hero; }

inline jint intAt(IntArray* a, jint i) { return a && i >= 0 && i < a->length() ? a->data()[i] : 0; }
inline bool setIntAt(IntArray* a, jint i, jint v) {
    if (!a || i < 0 || i >= a->length()) return false;
    a->data()[i] = v;
    return true;
}
inline jint shortAt(ShortArray* a, jint i) { return a && i >= 0 && i < a->length() ? a->data()[i] : 0; }

inline jint mot(cActor* a, jint i) { return a ? intAt(a->motion, i) : 0; }
inline void setMot(cActor* a, jint i, jint v) {
    if (a) setIntAt(a->motion, i, v);
}
inline jint part(cActor* a, jint i) { return intAt(a->parts, i); }
inline bool setPart(cActor* a, jint i, jint v) { return setIntAt(a->parts, i, v); }
inline jint param(cActor* a, jint i) { return a->getParamOr(i); }
inline cActor* linkedAt(cActor* a, jint i) {
    auto* arr = static_cast<ObjectArray*>(a->linked);
    return arr && i >= 0 && i < arr->length() ? static_cast<cActor*>(arr->data()[i]) : nullptr;
}
inline jint boxAt(cActor* a, jint i) { return a ? shortAt(a->box, i) : 0; }

// Hero state vars entry i (read 0 / written only when present).
inline jint heroVar(jint i) { return intAt(ca().heroStateVars, i); }
inline void setHeroVar(jint i, jint v) { setIntAt(ca().heroStateVars, i, v); }

}  // namespace game::behaviour::core

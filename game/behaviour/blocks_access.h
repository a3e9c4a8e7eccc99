// Checked helpers the block family's code shares (field names come from
// fields.h): array reads past the end answer 0 and writes past it are
// dropped, so short parameter lists from damaged records never overrun.
#pragma once

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/array.h"

namespace game::behaviour::blk {

// --- checked arrays --------------------------------------------------------
inline jint at(ShortArray* a, jint i) { return a && i >= 0 && i < a->length() ? a->data()[i] : 0; }
inline jint at(IntArray* a, jint i) { return a && i >= 0 && i < a->length() ? a->data()[i] : 0; }
inline void put(ShortArray* a, jint i, jint v) {
    if (a && i >= 0 && i < a->length()) a->data()[i] = static_cast<jshort>(v);
}
inline void put(IntArray* a, jint i, jint v) {
    if (a && i >= 0 && i < a->length()) a->data()[i] = v;
}
inline jint len(ShortArray* a) { return a ? a->length() : 0; }
inline jint len(IntArray* a) { return a ? a->length() : 0; }

inline jint param(cActor* a, jint i) { return a ? at(a->params, i) : 0; }
inline void setParamSafe(cActor* a, jint i, jint v) {
    if (a) put(a->params, i, v);
}
inline jint typeParam(cActor* a, jint i) { return a ? a->getTypeParam(i) : 0; }
inline jint boxAt(cActor* a, jint i) { return a ? at(a->box, i) : 0; }
inline bool hasBox(cActor* a) { return a && a->box && a->box->length() >= 4; }

inline cActor* hero() { return cg().hero; }

// Motion entries (0 without a motion state).
inline jint motionAt(cActor* a, jint i) { return a ? at(a->motion, i) : 0; }
inline void setMotionAt(cActor* a, jint i, jint v) {
    if (a) put(a->motion, i, v);
}

}  // namespace game::behaviour::blk

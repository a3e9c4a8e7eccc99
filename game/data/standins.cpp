// Simple definitions of routines that the game flow code owns (see
// routines.h): each stays here only until its real definition is added to
// the library, and is then deleted from this file.
#include "game/data/routines.h"

#include "game/data/statics.h"

namespace game {

void setVariable(jint i, jint value, bool mark) {
    cGameStatics& g = cg();
    if (!g.heroStatus || !g.heroStatus->inBounds(i)) return;
    if (g.variableBounds && g.variableBounds->inBounds(2 * i + 1)) {
        jint lo = g.variableBounds->data()[2 * i], hi = g.variableBounds->data()[2 * i + 1];
        if (value < lo) value = lo;
        if (value > hi) value = hi;
    }
    if (g.heroStatus->data()[i] != value && mark) g.variableChangedMask |= 1 << (i & 31);
    g.heroStatus->data()[i] = value;
}

jint getVariable(jint i) {
    IntArray* v = cg().heroStatus;
    return v && v->inBounds(i) ? v->data()[i] : 0;
}

void setDisplayValue(bool first, jint value) {
    IntArray* d = cg().displayValues;
    if (d && d->length() >= 2) d->data()[first ? 0 : 1] = value;
}

BSprite* getSpriteById(jint, jint) { return nullptr; }

jint computeLevelScore() { return 0; }

void resetLevelStats() {
    IntArray* s = cg().levelStats;
    for (jint i = 7; s && i <= 11 && i < s->length(); ++i) s->data()[i] = 0;
}

}  // namespace game

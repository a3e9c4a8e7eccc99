// Level statistics, the score formula and the results tally (levelend.h).
#include "game/flow/screens/levelend.h"

#include "game/actor/screencalls.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/screens/screens.h"
#include "runtime/jint.h"

namespace game {

namespace {

constexpr jint kStatCount = 12;
constexpr jint kBonusSeconds = 300;

// The statistics array when it has all its entries; null otherwise.
IntArray* stats() {
    IntArray* s = cg().levelStats;
    return s && s->length() >= kStatCount ? s : nullptr;
}

}  // namespace

jint computeLevelScore() {
    IntArray* a = stats();
    if (!a) return 0;
    jint* s = a->data();
    s[0] = java::imul(s[7], 100);
    s[1] = java::imul(s[8], 300);
    s[2] = java::imul(specialItemCount(), 50);
    const jint seconds = java::idiv(s[10], 16);
    s[3] = seconds < kBonusSeconds ? java::imul(kBonusSeconds - seconds, 100) : 0;
    s[4] = java::imul(s[11], 500);
    jint total = java::isub(java::iadd(java::iadd(s[0], s[1]), java::iadd(s[2], s[3])), s[4]);
    s[5] = total < 0 ? 0 : total;
    return s[5];
}

void resetLevelStats() {
    IntArray* a = stats();
    if (!a) return;
    for (jint i = 7; i <= 11; ++i) a->data()[i] = 0;
}

void nextTallyLine() {
    cGameStatics& t = cg();
    t.tallyLine = java::iadd(t.tallyLine, 1);
    IntArray* a = stats();
    if (!a || t.tallyLine < 0 || t.tallyLine >= kTallyLines) return;
    t.tallyTarget = a->data()[t.tallyLine];
    a->data()[t.tallyLine] = 0;
}

void finishTally() {
    cGameStatics& t = cg();
    IntArray* a = stats();
    if (a && t.tallyLine >= 0 && t.tallyLine < kTallyLines) a->data()[t.tallyLine] = t.tallyTarget;
    t.tallyLine = kTallyLines;
}

void stepTally() {
    cGameStatics& t = cg();
    IntArray* a = stats();
    if (!a || t.tallyLine < 0 || t.tallyLine >= kTallyLines) return;
    jint& v = a->data()[t.tallyLine];
    if (v != t.tallyTarget) {
        v = java::iadd(v, kTallyStep);
        if (v > t.tallyTarget) v = t.tallyTarget;
    }
    if (v == t.tallyTarget && !t.tallyDone) nextTallyLine();
}

void countPickup(jint kind, jint sub) {
    switch (kind) {
    case 2: cg().itemsTotal = java::iadd(cg().itemsTotal, sub == 8 ? 10 : sub == 4 ? 0 : 1); break;
    case 19: cg().secretsTotal += 1; break;
    case 6: cg().specialsTotal += 1; break;
    default: break;
    }
}

}  // namespace game

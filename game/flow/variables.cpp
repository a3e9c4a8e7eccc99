// Game variables, display values, object state nibbles, sprite references
// and the progress record's accessors (variables.h).
#include "game/flow/variables.h"
#include "game/world/panel.h"

#include "game/data/routines.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game {

namespace {

bool validVariable(jint i, const char* what) {
    if (i >= 0 && i < kVariables && cg().heroStatus && cg().heroStatus->inBounds(i)) return true;
    logPrintf("%s: game variable %d outside 0-9", what, i);
    return false;
}

bool validSlot(jint n, const char* what) {
    if (n >= 1 && n <= 3) return true;
    logPrintf("%s: record slot %d outside 1-3", what, n);
    return false;
}

// Byte at a record offset; -1 (logged) when the record is missing or the
// offset lies outside it.
jint recordIndex(jint offset, const char* what) {
    ByteArray* p = cg().progress;
    if (p && offset >= 0 && offset < p->length()) return offset;
    logPrintf("%s: progress byte %d outside the record", what, offset);
    return -1;
}

jint readRecordByte(jint offset, const char* what) {
    const jint i = recordIndex(offset, what);
    return i < 0 ? 0 : cg().progress->data()[i];
}

void writeRecordByte(jint offset, jint v, const char* what) {
    const jint i = recordIndex(offset, what);
    if (i >= 0) cg().progress->data()[i] = java::i2b(v);
}

jint slotByte(jint n, jint byte, const char* what) {
    return validSlot(n, what) ? readRecordByte(slotOffset(n) + byte, what) : 0;
}

void setSlotByte(jint n, jint byte, jint v, const char* what) {
    if (validSlot(n, what)) writeRecordByte(slotOffset(n) + byte, v, what);
}

}  // namespace

jint getVariable(jint i) { return validVariable(i, "cGame.getVariable") ? cg().heroStatus->data()[i] : 0; }

void setVariable(jint i, jint value, bool notify) {
    if (!validVariable(i, "cGame.setVariable")) return;
    if (notify && i == 0 && value == 100) {
        onCounterEvent(1);
        value = 0;
    }
    IntArray* bounds = cg().variableBounds;
    if (bounds && bounds->inBounds(2 * i + 1)) {
        const jint lo = bounds->data()[2 * i], hi = bounds->data()[2 * i + 1];
        if (value < lo)
            value = lo;
        else if (value > hi)
            value = hi;
    }
    if (cg().heroStatus->data()[i] != value) {
        cg().variableChangedMask |= 1 << i;
        cg().heroStatus->data()[i] = value;
    }
}

bool isVariableChanged(jint i) { return i >= 0 && i < 32 && (cg().variableChangedMask & (1 << i)) != 0; }

void decrementVariable6() {
    IntArray* v = cg().heroStatus;
    if (v && v->inBounds(6) && v->data()[6] >= 1) v->data()[6] -= 1;
}

void onCounterEvent(jint kind) {
    if (kind == 1) {
        playSound(10);
        setVariable(5, getVariable(5) + 1, false);
        cg().eventMask |= 2;
    } else if (kind == 3) {
        cg().eventMask |= 8;
    }
}

jint scaleByLevel(jint v, bool add) {
    const jint d = cg().difficulty - 1;
    if (add) return java::iadd(v, IntArray::at(cg().levelAddTable, d));
    return java::imul(v, IntArray::at(cg().levelMulTable, d));
}

namespace {
// The hero's hit kind lands in its state timer.
void storeHeroHitKind(jint kind) {
    if (cActor* h = cg().hero) h->timer = kind;
}
}  // namespace

void applyHeroDamage(jint amount, jint hitKind) {
    playSound(cg().stage == 8 ? 32 : 29);
    storeHeroHitKind(hitKind);
    setVariable(3, java::isub(getVariable(3), scaleByLevel(amount, true)), false);
}

void clearHeroHit() {
    storeHeroHitKind(0);
    setVariable(6, 0, false);
}

void initLevelVariables() {
    cGameStatics& g = cg();
    setVariable(9, IntArray::at(g.checkpointHeroStats, 9), false);
    setVariable(1, getSlotU16(g.difficulty), false);
    setVariable(3, getVariable(9), false);
    setVariable(0, IntArray::at(g.checkpointHeroStats, 0), false);
    g.eventMask = 0;
    IntArray* counts = g.pickupCounts;
    if (counts && counts->inBounds(11)) counts->data()[11] += 1;
    if (counts && g.levelStats) {
        const jint n = counts->length() < g.levelStats->length() ? counts->length() : g.levelStats->length();
        for (jint i = 0; i < n; ++i) g.levelStats->data()[i] = counts->data()[i];
    }
}

void setDisplayValue(bool first, jint value) {
    IntArray* d = cg().displayValues;
    const jint e = first ? 0 : 1;
    if (!d || !d->inBounds(e)) return;
    if (d->data()[e] != value) {
        d->data()[e] = value;
        cg().displayChangedMask |= 1 << e;
    }
}

void setDisplayValues(jint a, jint b) {
    setDisplayValue(false, a);
    setDisplayValue(true, b);
    cg().displayIdA = -13148160;
    cg().displayIdB = 0;
    cg().displayState = 0;
}

void setDisplayIds(jint a, jint b) {
    cg().displayIdA = a;
    cg().displayIdB = b;
}

void latchPlayFrames() {
    if (cg().frameLatched) return;
    cg().frameLatched = 1;
    cg().latchedPlayFrames = cg().playFrames;
}
void unlatchPlayFrames() { cg().frameLatched = 0; }

void clearLayerBits() {
    IntArray* w = cg().regionCoverage;
    for (jint i = 0; w && i < w->length(); ++i) w->data()[i] = 0;
}

void setLayerBit(jint bit, jint i) {
    IntArray* w = cg().regionCoverage;
    if (bit >= 0 && bit < 32 && i >= 0 && i < 32 && w && w->inBounds(i)) w->data()[i] |= 1 << bit;
}

void setMapCell(jint layer, jint value, jint index) {
    ObjectArray* maps = cg().layerMaps;
    auto* cells = maps && maps->inBounds(layer) ? static_cast<ShortArray*>(maps->data()[layer]) : nullptr;
    if (!cells || !cells->inBounds(index)) {
        logPrintf("cGame.setMapCell: cell %d of layer %d outside the layer", index, layer);
        return;
    }
    cells->data()[index] = java::i2s(value);
}

namespace {
IntArray* indexGroup(jint group) {
    ObjectArray* idx = cg().spriteIndex;
    return idx && idx->inBounds(group) ? static_cast<IntArray*>(idx->data()[group]) : nullptr;
}
}  // namespace

BSprite* getSpriteById(jint i, jint group) {
    IntArray* g = indexGroup(group);
    if (!g || !g->inBounds(i) || g->data()[i] == 0) {
        logPrintf("cGame.getSpriteById: no index entry %d in group %d", i, group);
        return nullptr;
    }
    const jint slot = g->data()[i] & 0xFFFF;
    ObjectArray* sprites = cg().sprites;
    return sprites && sprites->inBounds(slot) ? static_cast<BSprite*>(sprites->data()[slot]) : nullptr;
}

jint getSpriteRefLow(jint i, jint group) {
    IntArray* g = indexGroup(group);
    return g && g->inBounds(i) ? g->data()[i] & 0xFFFF : 0;
}

jint getSpriteRefHigh(jint i, jint group) {
    IntArray* g = indexGroup(group);
    return g && g->inBounds(i) ? (g->data()[i] >> 16) & 0xFFFF : 0;
}

bool isRecordAvailable(ByteArray* states, jint i, jint levelMask) {
    if (levelMask >= 0 && (levelMask & (1 << ((cg().difficulty - 1) & 31))) == 0) return false;
    if (!states || !states->inBounds(i)) return true;
    return (states->data()[i] & 15) != 1;
}

void copyLowNibbleToHigh(ByteArray* states, jint n) {
    if (!states) return;
    if (n > states->length()) n = states->length();
    for (jint k = 0; k < n; ++k) {
        const jint b = states->data()[k] & 15;
        states->data()[k] = java::i2b(b | (b << 4));
    }
}

void copyHighNibbleToLow(ByteArray* states, jint n) {
    if (!states) return;
    if (n > states->length()) n = states->length();
    for (jint k = 0; k < n; ++k) {
        const jint b = states->data()[k];
        states->data()[k] = java::i2b(((b & 0xFF) >> 4) | (b & ~15));
    }
}

jint findFreeTweenSlot() {
    IntArray* t = cg().tweenSlots;
    for (jint i = 0; t && i < 5 && i < t->length(); ++i)
        if (t->data()[i] < 0) return i;
    return -1;
}

jint getScriptOperandLength(jint command) {
    if (command < 100 || command > 131) {
        logPrintf("cGame.getScriptOperandLength: script command %d outside 100-131", command);
        return -1;
    }
    return IntArray::at(cg().scriptOperandLengths, command - 100);
}

void fillInts(IntArray* a, jint v) {
    for (jint i = 0; a && i < a->length(); ++i) a->data()[i] = v;
}

void setAlphaAll(IntArray* a, jint alpha) {
    for (jint i = a ? a->length() - 1 : -1; i >= 0; --i)
        a->data()[i] = (a->data()[i] & 0xFFFFFF) | static_cast<jint>(static_cast<uint32_t>(alpha) << 24);
}

jint mod3From34(jint x) { return java::irem(java::isub(x, 34), 3) + 1; }

jint getLayerViewLeft(jint i) {
    ObjectArray* pos = cg().layerPositions;
    if (i >= 0 && i < 5 && pos && pos->inBounds(i)) {
        auto* p = static_cast<IntArray*>(pos->data()[i]);
        if (p && p->length() > 0) return java::isub(p->data()[0], 400);
    }
    return java::isub(cg().cameraX, 400);
}

void clearMapLayers() {
    ObjectArray* maps = cg().layerMaps;
    for (jint i = 0; maps && i < maps->length() && i < 5; ++i) maps->data()[i] = nullptr;
}

void clearTileAttributes() {
    ByteArray* t = cg().tileAttributes;
    for (jint i = 0; t && i < t->length(); ++i) t->data()[i] = 0;
}

void setPortraitActorId(jint v) { cg().portraitActorId = v; }

void pauseGame() {
    cg().stateParam = 0;
    cg().musicOnAtPause = isMusicPlaying();
    queueStop(0);
    cg().currentMusic = -1;
    resetTouchList(0);
    cg().touchX = cg().touchY = -1;
    cg().pressX = cg().pressY = -1;
    requestSetState(20);
}

jint slotOffset(jint n) { return java::isub(java::imul(n, 62), 62); }
jint getSaveSlotByte(jint n) { return slotByte(n, 4, "cGame.getSaveSlotByte"); }
void setSaveSlotByte(jint n, jint v) { setSlotByte(n, 4, v, "cGame.setSaveSlotByte"); }
jint getSlotByte5(jint n) { return slotByte(n, 5, "cGame.getSlotByte5"); }
void setSlotByte5(jint n, jint v) { setSlotByte(n, 5, v, "cGame.setSlotByte5"); }
jint getSlotByte6(jint n) { return slotByte(n, 6, "cGame.getSlotByte6"); }
void setSlotByte6(jint n, jint v) { setSlotByte(n, 6, v, "cGame.setSlotByte6"); }
jint getSlotByte7(jint n) { return slotByte(n, 7, "cGame.getSlotByte7"); }
void setSlotByte7(jint n, jint v) { setSlotByte(n, 7, v, "cGame.setSlotByte7"); }
jint getSlotByte10(jint n) { return slotByte(n, 10, "cGame.getSlotByte10"); }
void setSlotByte10(jint n, jint v) { setSlotByte(n, 10, v, "cGame.setSlotByte10"); }

jint getSlotU16(jint n) {
    return (slotByte(n, 8, "cGame.getSlotU16") & 255) * 256 + (slotByte(n, 9, "cGame.getSlotU16") & 255);
}

jint getSelector() { return readRecordByte(191, "cGame.getSelector"); }
void setSelector(jint v) { writeRecordByte(191, v, "cGame.setSelector"); }
void setRecordFlag(jint bit) { writeRecordByte(192, readRecordByte(192, "cGame.setRecordFlag") | (1 << (bit & 31)), "cGame.setRecordFlag"); }
void clearRecordFlag(jint bit) {
    writeRecordByte(192, readRecordByte(192, "cGame.clearRecordFlag") & ~(1 << (bit & 31)), "cGame.clearRecordFlag");
}
bool testRecordFlag(jint bit) { return (readRecordByte(192, "cGame.testRecordFlag") & (1 << (bit & 31))) != 0; }
bool testLevelFlag(jint i, jint bit) {
    return (readRecordByte(198 + i, "cGame.testLevelFlag") & (1 << (bit & 31))) != 0;
}
void setLevelFlag(jint i, jint bit) {
    writeRecordByte(198 + i, readRecordByte(198 + i, "cGame.setLevelFlag") | (1 << (bit & 31)), "cGame.setLevelFlag");
}

jint findHighestFlaggedLevel() {
    const jint s = getSelector();
    for (jint i = 10; i >= 1; --i)
        if (testLevelFlag(i, s)) return i;
    return -1;
}

bool hasProgress() {
    const jint h = findHighestFlaggedLevel();
    const jint s = getSelector();
    const jint flags = readRecordByte(192, "cGame.hasProgress");
    bool candidate = (h == -1 && !cg().gameCompleted);
    if (!candidate && s >= 1 && s <= 3) candidate = getSlotByte7(s) > 0 && (flags & (1 << s)) != 0;
    if (flags & (8 | 4)) return false;
    return candidate;
}

void computeSlotTotal() {
    const jint base = slotOffset(cg().difficulty);
    jint total = 0;
    ByteArray* p = cg().progress;
    for (jint k = 0; k < 11; ++k) {
        const jint off = base + 12 + 5 * k;
        if (!p || off < 0 || off + 4 > p->length()) break;
        const jbyte* b = p->data() + off;
        total = java::iadd(total, static_cast<jint>((uint32_t(uint8_t(b[0])) << 24) | (uint32_t(uint8_t(b[1])) << 16) |
                                                    (uint32_t(uint8_t(b[2])) << 8) | uint32_t(uint8_t(b[3]))));
    }
    cg().levelScore = total;
}

}  // namespace game

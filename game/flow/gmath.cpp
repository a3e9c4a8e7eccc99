// The game's shared arithmetic (gmath.h). Every routine keeps Java's 32-bit
// wrap-around and truncating division; the few divisions by data values go
// through the guarded helpers so a zero divisor is one logged
// ArithmeticException and an answer of 0.
#include "game/flow/gmath.h"

#include <cmath>

#include "game/flow/flow_statics.h"
#include "javalib/random.h"
#include "runtime/exception.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game {

namespace {

void raiseDivideByZero(const char* what) {
    logPrintf("%s: division by zero", what);
    rt::throwNewDefault(cid::java_lang_ArithmeticException);
}

jlong clampToLong(jlong v) { return v; }

}  // namespace

jint guardedDiv(jint a, jint b, const char* what) {
    if (b == 0) {
        raiseDivideByZero(what);
        return 0;
    }
    return java::idiv(a, b);
}

jint guardedRem(jint a, jint b, const char* what) {
    if (b == 0) {
        raiseDivideByZero(what);
        return 0;
    }
    return java::irem(a, b);
}

jlong guardedLDiv(jlong a, jlong b, const char* what) {
    if (b == 0) {
        raiseDivideByZero(what);
        return 0;
    }
    return java::ldivide(a, b);
}

jint fixedMul(jint a, jint b) { return java::l2i(java::lmul(a, b) >> 8); }

jint fixedDiv(jint a, jint b) { return java::l2i(guardedLDiv(java::lshl(a, 8), b, "cGame.fixedDiv")); }

jint fixedDivRound(jint a, jint b) {
    if (b == 0) return java::l2i(guardedLDiv(0, 0, "cGame.fixedDivRound"));
    return java::l2i((java::ldivide(java::lshl(a, 9), b) + 1) >> 1);
}

jint mulDiv(jint a, jint b, jint c) { return java::l2i(guardedLDiv(java::lmul(a, b), c, "cGame.mulDiv")); }

jint mulDivInt(jint a, jint b, jint c) { return guardedDiv(java::imul(a, b), c, "cGame.mulDivInt"); }

jint roundDownTo(jint a, jint b) {
    if (b == 0) return guardedDiv(a, 0, "cGame.roundDownTo");
    return java::imul(java::idiv(a, b), b);
}

jint mul1000div16(jint x) { return java::idiv(java::imul(x, 1000), 16); }

void setFlag(jint n) { cg().flags |= deviceBit(n); }
void clearFlag(jint n) { cg().flags &= ~deviceBit(n); }
void toggleFlag(jint n) { cg().flags ^= deviceBit(n); }
bool testFlag(jint n) { return testFlags(cg().flags, deviceBit(n)); }

bool testLayerBit(jint n, jint i) {
    IntArray* words = cg().regionCoverage;
    if (!words || !words->inBounds(i)) return false;
    return testFlags(words->data()[i], deviceBit(n));
}

jint getDifficultyIndex() { return cg().difficulty - 1; }

namespace {
bool hasBytes(ByteArray* b, jint offset, jint n) {
    if (!b || offset < 0 || offset > b->length() - n) {
        logPrintf("byte read of %d at %d outside the array", n, offset);
        return false;
    }
    return true;
}
}  // namespace

jint readIntBE(ByteArray* b, jint offset) {
    if (!hasBytes(b, offset, 4)) return 0;
    const jbyte* p = b->data() + offset;
    return static_cast<jint>((uint32_t(uint8_t(p[0])) << 24) | (uint32_t(uint8_t(p[1])) << 16) |
                             (uint32_t(uint8_t(p[2])) << 8) | uint32_t(uint8_t(p[3])));
}

jint readIntLE(ByteArray* b, jint offset) {
    if (!hasBytes(b, offset, 4)) return 0;
    const jbyte* p = b->data() + offset;
    return static_cast<jint>((uint32_t(uint8_t(p[3])) << 24) | (uint32_t(uint8_t(p[2])) << 16) |
                             (uint32_t(uint8_t(p[1])) << 8) | uint32_t(uint8_t(p[0])));
}

jint readU16LE(ByteArray* b, jint offset) {
    if (!hasBytes(b, offset, 2)) return 0;
    const jbyte* p = b->data() + offset;
    return jint(uint8_t(p[0])) | (jint(uint8_t(p[1])) << 8);
}

jint getViewLeft() { return java::isub(cg().cameraX, 400); }
jint getViewTop() { return java::isub(cg().cameraY, 240); }
jint getViewRight() { return java::iadd(cg().cameraX, 400); }
jint getViewBottom() { return java::iadd(cg().cameraY, 240); }
jint toScreenX(jint x) { return java::iadd(java::isub(x, cg().cameraX), 400); }
jint toScreenY(jint y) { return java::iadd(java::isub(y, cg().cameraY), 240); }
jint distanceFromLeftLimit(jint x) { return java::isub(x, IntArray::at(cg().cameraLimits, 0)); }
jint distanceToRightLimit(jint x) { return java::isub(IntArray::at(cg().cameraLimits, 2), x); }

void rectToCorners(ShortArray* r) {
    if (!r || r->length() < 4) {
        rt::logNullPointer();
        return;
    }
    jshort* p = r->data();
    p[2] = java::i2s(p[0] + p[2]);
    p[3] = java::i2s(p[1] + p[3]);
}

jlong isqrt(jlong x) {
    jlong r = 0;
    for (jlong b = jlong(1) << 60; b != 0; b >>= 2) {
        if (x >= r + b) {
            x -= r + b;
            r = (r >> 1) + b;
        } else {
            r >>= 1;
        }
    }
    return r;
}

jint isqrt32(jint x) {
    jint r = 0;
    for (jint b = jint(1) << 28; b != 0; b >>= 2) {
        if (x >= java::iadd(r, b)) {
            x = java::isub(x, java::iadd(r, b));
            r = (r >> 1) + b;
        } else {
            r >>= 1;
        }
    }
    return r;
}

jint lerp(jint from, jint to, jint t, jint t0, jint t1) {
    return java::l2i(lerp64(from, to, t, t0, t1));
}

jlong lerp64(jint from, jint to, jlong t, jlong t0, jlong t1) {
    const jlong num = java::ladd(java::lmul(from, java::lsub(t1, t)), java::lmul(to, java::lsub(t, t0)));
    return clampToLong(guardedLDiv(num, java::lsub(t1, t0), "cGame.lerp"));
}

jint lerpColor(jint c0, jint c1, jlong t, jlong t0, jlong t1) {
    uint32_t out = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const jint a = (c0 >> shift) & 255, b = (c1 >> shift) & 255;
        out |= (uint32_t(java::l2i(lerp64(a, b, t, t0, t1))) & 255u) << shift;
    }
    return static_cast<jint>(out);
}

namespace {
bool inUnit(jlong n, jlong d) { return d > 0 ? (n >= 0 && n <= d) : (n <= 0 && n >= d); }
}  // namespace

bool segmentsIntersect(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3, jint x4, jint y4) {
    cGameStatics& f = cg();
    // The differences wrap as ints do; the products and sums are longs.
    using java::isub;
    using java::lmul;
    using java::lsub;
    const jlong dx21 = isub(x2, x1), dy21 = isub(y2, y1), dx43 = isub(x4, x3), dy43 = isub(y4, y3);
    const jlong dx13 = isub(x1, x3), dy13 = isub(y1, y3);
    const jlong d = lsub(lmul(dx43, dy21), lmul(dy43, dx21));
    const jlong nA = lsub(lmul(dx13, dy43), lmul(dy13, dx43));
    const jlong nB = lsub(lmul(dx13, dy21), lmul(dy13, dx21));
    f.intersectDenominator = d;
    f.intersectNumeratorA = nA;
    f.intersectNumeratorB = nB;
    if (d == 0) return false;
    if (!inUnit(nA, d) || !inUnit(nB, d)) return false;
    f.intersectX = java::l2i(lerp64(x1, x2, nA, 0, d));
    f.intersectY = java::l2i(lerp64(y1, y2, nA, 0, d));
    return true;
}

namespace {
template <typename A>
bool hitsRect(jint x1, jint y1, jint x2, jint y2, A* rect) {
    if (!rect || rect->length() < 4) {
        rt::logNullPointer();
        return false;
    }
    const jint l = rect->data()[0], t = rect->data()[1], r = rect->data()[2], b = rect->data()[3];
    return segmentsIntersect(x1, y1, x2, y2, l, t, r, t) || segmentsIntersect(x1, y1, x2, y2, r, t, r, b) ||
           segmentsIntersect(x1, y1, x2, y2, r, b, l, b) || segmentsIntersect(x1, y1, x2, y2, l, b, l, t);
}
}  // namespace

bool segmentHitsRect(jint x1, jint y1, jint x2, jint y2, IntArray* rect) { return hitsRect(x1, y1, x2, y2, rect); }
bool segmentHitsRectShort(jint x1, jint y1, jint x2, jint y2, ShortArray* rect) {
    return hitsRect(x1, y1, x2, y2, rect);
}

jint stepRandomSeed() {
    jint& seed = cg().randomSeed;
    seed = java::irem(java::iadd(java::imul(seed, 59051), 177149), 14348907);
    return seed;
}

namespace {
jint absInt(jint v) { return v < 0 ? java::ineg(v) : v; }
}  // namespace

jint random(jint n) {
    if (n == 0) return 0;
    return absInt(java::irem(stepRandomSeed(), n));
}

jint randomRange(jint a, jint b) {
    if (b == a) return a;
    const jint span = java::isub(b, a);
    return java::iadd(a, absInt(java::irem(stepRandomSeed(), span)));
}

jint randomInt(jint lo, jint hi) {
    if (hi == lo) return hi;
    java_util_Random* rnd = cg().randomGenerator;
    if (!rnd) {
        logPrintf("cGame.randomInt: no generator yet");
        return lo;
    }
    Object::monitorEnter(rnd);
    const jlong state = rnd->advance();
    Object::monitorExit(rnd);
    const jint r = java::l2i(state >> 16);
    return java::iadd(lo, java::irem(absInt(r), java::isub(hi, lo)));
}

IntArray* activeSineTable() {
    Object* t = cg().sineTable;
    if (t && t->classId() == cid::IntArray) {
        auto* a = static_cast<IntArray*>(t);
        if (a->length() == 513 && a->data()[0] == 16384 && a->data()[512] == 0) return a;
    }
    cGameStatics& f = cg();
    if (!f.computedSine) {
        IntArray* a = newIntArray(513);
        for (jint i = 0; i <= 512; ++i)
            a->data()[i] = static_cast<jint>(std::lround(16384.0 * std::cos(i * M_PI / 1024.0)));
        a->data()[512] = 0;
        cg().computedSine = a;
    }
    return cg().computedSine;
}

jint sin(jint a) {
    IntArray* table = activeSineTable();
    const jint* t = table->data();
    const jint i = absInt(a) & 2047;
    if (i <= 512) return t[i];
    if (i < 1024) return -t[1024 - i];
    if (i <= 1536) return -t[i - 1024];
    return t[2048 - i];
}

jint fixedSin(jint deg) { return game::sin(java::isub(512, java::idiv(java::imul(deg, 2048), 360))); }
jint fixedCos(jint deg) { return fixedSin(java::iadd(deg, 90)); }

jint sinFine(jint a) {
    const jint d = a >> 14, f = a & 0x3FFF;
    const jlong sum = jlong(f) * fixedSin(java::iadd(d, 1)) + jlong(16384 - f) * fixedSin(d);
    return java::l2i(sum / 16384);
}
jint cosFine(jint a) { return sinFine(java::iadd(a, 90 * 16384)); }
jint sin256(jint a) { return sinFine(java::imul(a, 64)) >> 6; }
jint cos256(jint a) { return sin256(java::iadd(a, 23040)); }

jint atan2(jint dx, jint dy) {
    cGameStatics& f = cg();
    if (!f.tangentTable) {
        IntArray* t = newIntArray(46);
        for (jint i = 0; i <= 45; ++i) t->data()[i] = java::idiv(fixedSin(i) << 14, fixedSin(i + 90));
        cg().tangentTable = t;
    }
    const jint* table = cg().tangentTable->data();
    const jint ax = absInt(dx), ay = absInt(dy);
    if (ax == 0 && ay == 0) return 0;
    const jint r = ax > ay ? java::idiv(java::ishl(ay, 14), ax) : java::idiv(java::ishl(ax, 14), ay);
    jint lo = 0, hi = 45;
    while (lo + 1 < hi) {
        const jint mid = (lo + hi) >> 1;
        if (table[mid] > r)
            hi = mid;
        else
            lo = mid;
    }
    const jint a = (table[hi] - r < r - table[lo]) ? hi : lo;
    const jint a2 = ay > ax ? 90 - a : a;
    if (dx >= 0) return dy >= 0 ? a2 : 360 - a2;
    return dy >= 0 ? 180 - a2 : 180 + a2;
}

IntArray* ellipsePoint(jint cx, jint cy, jint rise, jint rx, jint ry, jint t, jint phase) {
    const jint a = java::iadd(t, phase);
    const jlong s = sin256(a), c = sin256(java::iadd(a, 23040));
    const jlong x = ((java::lmul(s, rx) >> 8) + cx) >> 8;
    const jlong y = ((java::lmul(c - 256, ry) >> 8) + (java::lmul(t / 360, rise) >> 8) + cy) >> 8;
    // One scratch pair in the flow statics, overwritten by the next call.
    if (!cg().orbitScratch) {
        IntArray* scratch = newIntArray(2);
        cg().orbitScratch = scratch;
    }
    IntArray* out = cg().orbitScratch;
    out->data()[0] = java::l2i(x);
    out->data()[1] = java::l2i(y);
    return out;
}

IntArray* getOrbitPosition(jint t) {
    constexpr jint kOrbitScale = 19;
    cGameStatics& g = cg();
    return ellipsePoint(g.orbitCentreX, g.orbitCentreY, java::imul(g.orbitRise, kOrbitScale) / 14,
                        java::imul(g.orbitRadiusX, kOrbitScale) / 14, java::imul(g.orbitRadiusY, kOrbitScale) / 14, t,
                        g.orbitPhase);
}

}  // namespace game

// The game's shared arithmetic: fixed point, guarded divisions, bit words
// with the device's shift rule, byte-order reads, view conversions, integer
// roots, interpolation, segment intersection, the two random generators and
// table trigonometry. Java integer rules throughout (runtime/jint.h).
//
// Divisions by a value that comes from data go through guardedDiv and
// friends: a zero divisor leaves java_lang_ArithmeticException pending on
// the calling thread, logs one line and answers 0, never a trap.
#pragma once

#include "runtime/array.h"

namespace game {

// --- the device's shift rule ----------------------------------------------
// Bit n: 1 << n for n 0-31; only the low 8 bits of n count and 32-255 give
// no bit at all (unlike Java's << which masks to 5 bits).
constexpr jint deviceBit(jint n) {
    const jint k = n & 255;
    return k < 32 ? static_cast<jint>(1u << k) : 0;
}
// v << n and v >> n (arithmetic) under the same rule: 32-255 shift
// everything out (>> leaves the sign).
constexpr jint deviceShl(jint v, jint n) {
    const jint k = n & 255;
    return k < 32 ? static_cast<jint>(static_cast<uint32_t>(v) << k) : 0;
}
constexpr jint deviceShr(jint v, jint n) {
    const jint k = n & 255;
    return k < 32 ? (v >> k) : (v < 0 ? -1 : 0);
}

// --- guarded division -----------------------------------------------------
// a / b and a % b with Java rounding; b = 0 raises ArithmeticException
// (logged with `what`) and answers 0.
jint guardedDiv(jint a, jint b, const char* what);
jint guardedRem(jint a, jint b, const char* what);
jlong guardedLDiv(jlong a, jlong b, const char* what);

// --- fixed point and integer routines ---------------------------------------
jint fixedMul(jint a, jint b);
jint fixedDiv(jint a, jint b);
jint fixedDivRound(jint a, jint b);
jint mulDiv(jint a, jint b, jint c);
jint mulDivInt(jint a, jint b, jint c);
jint roundDownTo(jint a, jint b);
inline jint toTile(jint x) { return x / 36; }
inline jint toPixel(jint t) { return static_cast<jint>(static_cast<uint32_t>(t) * 36u); }
jint mul1000div16(jint x);
inline jint lowByte(jint x) { return x & 255; }
inline jint byte1(jint x) { return (x >> 8) & 255; }
inline jint lowWord(jint x) { return x & 0xFFFF; }
inline jint highWord(jint x) { return (x >> 16) & 0xFFFF; }
inline bool testFlags(jint a, jint b) { return (a & b) != 0; }
inline bool testFlags64(jint aLow, jint aHigh, jint bLow, jint bHigh) {
    return (aLow & bLow) != 0 || (aHigh & bHigh) != 0;
}
inline bool isLevelSettingsType(jint x) { return x == 2000 || x == 2001 || x == 2002; }

// cGame.flags, bit n by the device rule.
void setFlag(jint n);
void clearFlag(jint n);
void toggleFlag(jint n);
bool testFlag(jint n);
// Bit n of cGame.regionCoverage[i]; false for i outside the table.
bool testLayerBit(jint n, jint i);
jint getDifficultyIndex();

// Byte-order reads; offsets past the array read 0 (logged).
jint readIntBE(ByteArray* b, jint offset);
jint readIntLE(ByteArray* b, jint offset);
jint readU16LE(ByteArray* b, jint offset);

// View routines over cGame.cameraX/Y and cGame.cameraLimits.
jint getViewLeft();
jint getViewTop();
jint getViewRight();
jint getViewBottom();
jint toScreenX(jint x);
jint toScreenY(jint y);
jint distanceFromLeftLimit(jint x);
jint distanceToRightLimit(jint x);
void rectToCorners(ShortArray* r);

// --- roots and interpolation ----------------------------------------------
jlong isqrt(jlong x);
jint isqrt32(jint x);
// (from * (t1 - t) + to * (t - t0)) / (t1 - t0); t1 = t0 answers 0 with
// ArithmeticException.
jint lerp(jint from, jint to, jint t, jint t0, jint t1);
jlong lerp64(jint from, jint to, jlong t, jlong t0, jlong t1);
jint lerpColor(jint c0, jint c1, jlong t, jlong t0, jlong t1);

// --- intersection ------------------------------------------------------------
bool segmentsIntersect(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3, jint x4, jint y4);
// rect = {left, top, right, bottom}; null or short arrays answer false.
bool segmentHitsRect(jint x1, jint y1, jint x2, jint y2, IntArray* rect);
bool segmentHitsRectShort(jint x1, jint y1, jint x2, jint y2, ShortArray* rect);

// --- random ------------------------------------------------------------------
// The game's own generator over cGame.randomSeed.
jint stepRandomSeed();
jint random(jint n);
jint randomRange(jint a, jint b);
// One step of cGame.randomGenerator (java_util_Random) under its monitor;
// lo when no generator exists yet.
jint randomInt(jint lo, jint hi);

// --- trigonometry ------------------------------------------------------------
// The quarter-wave table in use: cGame.sineTable when it is an int[513]
// with [0] = 16384 and [512] = 0, else a computed one.
IntArray* activeSineTable();
jint sin(jint steps);
jint fixedSin(jint degrees);
jint fixedCos(jint degrees);
jint sinFine(jint a);
jint cosFine(jint a);
jint sin256(jint a);
jint cos256(jint a);
jint atan2(jint dx, jint dy);

// --- orbit -------------------------------------------------------------------
// {x, y} in a scratch pair that the next call overwrites (nothing is made
// per call after the first).
IntArray* ellipsePoint(jint cx, jint cy, jint rise, jint rx, jint ry, jint t, jint phase);
IntArray* getOrbitPosition(jint t);

}  // namespace game

// Java integer semantics for native code: the primitive types and the
// arithmetic the converted code relies on (32/64-bit two's-complement
// wrap-around, division toward zero without a trap on MIN / -1, shift counts
// masked to 5 or 6 bits, the narrowing casts and the float-to-int rules).
// Every subsystem does its Java arithmetic through these helpers; raw C++
// signed overflow is undefined and never used.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace java {

using jbyte = int8_t;
using jshort = int16_t;
using jchar = uint16_t;
using jint = int32_t;
using jlong = int64_t;
using jfloat = float;
using jdouble = double;
using jboolean = uint8_t;

constexpr jint kIntMin = std::numeric_limits<jint>::min();
constexpr jint kIntMax = std::numeric_limits<jint>::max();
constexpr jlong kLongMin = std::numeric_limits<jlong>::min();
constexpr jlong kLongMax = std::numeric_limits<jlong>::max();

// --- 32-bit -------------------------------------------------------------

constexpr jint iadd(jint a, jint b) { return static_cast<jint>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
constexpr jint isub(jint a, jint b) { return static_cast<jint>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
constexpr jint imul(jint a, jint b) { return static_cast<jint>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }
constexpr jint ineg(jint a) { return static_cast<jint>(0u - static_cast<uint32_t>(a)); }
// Math.abs: MIN stays MIN (its negation wraps).
constexpr jint iabs(jint a) { return a < 0 ? ineg(a) : a; }

// Division toward zero; MIN / -1 is MIN (Java's result). The caller decides
// what a zero divisor means (converted code raises ArithmeticException);
// here it answers 0 rather than trapping.
constexpr jint idiv(jint a, jint b) {
    if (b == 0) return 0;
    if (b == -1) return ineg(a);
    return a / b;
}
// Remainder with the sign of the dividend; MIN % -1 is 0.
constexpr jint irem(jint a, jint b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

constexpr jint ishl(jint a, jint n) { return static_cast<jint>(static_cast<uint32_t>(a) << (n & 31)); }
constexpr jint ishr(jint a, jint n) { return a >> (n & 31); }  // arithmetic (C++20 defines it)
constexpr jint iushr(jint a, jint n) { return static_cast<jint>(static_cast<uint32_t>(a) >> (n & 31)); }

// --- 64-bit -------------------------------------------------------------

constexpr jlong ladd(jlong a, jlong b) { return static_cast<jlong>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
constexpr jlong lsub(jlong a, jlong b) { return static_cast<jlong>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }
constexpr jlong lmul(jlong a, jlong b) { return static_cast<jlong>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }
constexpr jlong lneg(jlong a) { return static_cast<jlong>(0ull - static_cast<uint64_t>(a)); }
constexpr jlong ldivide(jlong a, jlong b) {
    if (b == 0) return 0;
    if (b == -1) return lneg(a);
    return a / b;
}
constexpr jlong lrem(jlong a, jlong b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}
constexpr jlong lshl(jlong a, jint n) { return static_cast<jlong>(static_cast<uint64_t>(a) << (n & 63)); }
constexpr jlong lshr(jlong a, jint n) { return a >> (n & 63); }
constexpr jlong lushr(jlong a, jint n) { return static_cast<jlong>(static_cast<uint64_t>(a) >> (n & 63)); }

// --- narrowing and widening ----------------------------------------------

constexpr jint l2i(jlong v) { return static_cast<jint>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
constexpr jbyte i2b(jint v) { return static_cast<jbyte>(static_cast<uint8_t>(static_cast<uint32_t>(v))); }
constexpr jshort i2s(jint v) { return static_cast<jshort>(static_cast<uint16_t>(static_cast<uint32_t>(v))); }
constexpr jchar i2c(jint v) { return static_cast<jchar>(static_cast<uint32_t>(v)); }

// Float to integer as Java does it: NaN gives 0, out-of-range values
// saturate to the type's bounds, everything else truncates toward zero.
template <typename F>
constexpr jint f2i(F v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<F>(2147483648.0)) return kIntMax;
    if (v <= static_cast<F>(-2147483648.0)) return kIntMin;
    return static_cast<jint>(v);
}
template <typename F>
constexpr jlong f2l(F v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<F>(9223372036854775808.0)) return kLongMax;
    if (v <= static_cast<F>(-9223372036854775808.0)) return kLongMin;
    return static_cast<jlong>(v);
}
constexpr jint d2i(jdouble v) { return f2i(v); }
constexpr jlong d2l(jdouble v) { return f2l(v); }

// --- checked size arithmetic ---------------------------------------------
// Sizes computed from untrusted counts (array lengths, image dimensions,
// file fields): false when the result does not fit.

inline bool checkedMul(size_t a, size_t b, size_t* out) { return !__builtin_mul_overflow(a, b, out); }
inline bool checkedAdd(size_t a, size_t b, size_t* out) { return !__builtin_add_overflow(a, b, out); }

}  // namespace java

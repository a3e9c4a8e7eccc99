// java_lang_Math natives. Float variants compute in double precision and
// round back to single. The results keep the device's rules where they
// differ from Java's: abs of a negative NaN gives it back negated, max and
// min of a NaN first argument answer the second.
#pragma once

#include <cmath>

#include "runtime/jint.h"

class java_lang_Math {
public:
    using jint = java::jint;
    using jlong = java::jlong;
    using jfloat = java::jfloat;
    using jdouble = java::jdouble;

    // The most negative int and long stay negative (wrapping negation).
    static jint abs(jint x) { return x > java::ineg(x) ? x : java::ineg(x); }
    static jlong abs(jlong x) { return x > java::lneg(x) ? x : java::lneg(x); }
    static jfloat abs(jfloat x) { return x >= 0 ? x : -x; }
    static jdouble abs(jdouble x) { return x >= 0 ? x : -x; }

    static jint max(jint x, jint y) { return x > y ? x : y; }
    static jlong max(jlong x, jlong y) { return x > y ? x : y; }
    static jfloat max(jfloat x, jfloat y) { return x > y ? x : y; }
    static jdouble max(jdouble x, jdouble y) { return x > y ? x : y; }

    static jint min(jint x, jint y) { return x < y ? x : y; }
    static jlong minLong(jlong x, jlong y) { return x < y ? x : y; }
    static jfloat min(jfloat x, jfloat y) { return x < y ? x : y; }
    static jdouble min(jdouble x, jdouble y) { return x < y ? x : y; }

    static jfloat sqrt(jfloat x) { return static_cast<jfloat>(std::sqrt(static_cast<double>(x))); }
    static jdouble sqrt(jdouble x) { return std::sqrt(x); }
    static jfloat sin(jfloat x) { return static_cast<jfloat>(std::sin(static_cast<double>(x))); }
    static jdouble sin(jdouble x) { return std::sin(x); }
    static jfloat cos(jfloat x) { return static_cast<jfloat>(std::cos(static_cast<double>(x))); }
    static jdouble cos(jdouble x) { return std::cos(x); }
    static jfloat tan(jfloat x) { return static_cast<jfloat>(std::tan(static_cast<double>(x))); }
    static jfloat asin(jfloat x) { return static_cast<jfloat>(std::asin(static_cast<double>(x))); }
    static jfloat acos(jfloat x) { return static_cast<jfloat>(std::acos(static_cast<double>(x))); }
    static jfloat atan2(jfloat y, jfloat x) {
        return static_cast<jfloat>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
    }

    static jdouble toRadians(jdouble x) { return x * 0.017453292519943295; }
    static jdouble toDegrees(jdouble x) { return (x * 180) * 0.3183098861837907; }
};

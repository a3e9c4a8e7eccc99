// java.util.Random: seed scrambling, the state step and the derived draws.
#include "javalib/random.h"

#include "javalib/synchronized.h"
#include "runtime/system.h"
#include "runtime/exception.h"
#include "runtime/statics.h"

java_util_Random::java_util_Random() : Object(cid::java_util_Random) {
    m_seedLow = 0;
    m_seedHigh = 0;
    setSeed(java_lang_System::currentTimeMillis());
}

java_util_Random::java_util_Random(jlong seed) : Object(cid::java_util_Random) {
    m_seedLow = 0;
    m_seedHigh = 0;
    setSeed(seed);
}

void java_util_Random::setSeed(jlong seed) {
    JavaMonitorScope lock(this);
    setSeedState((seed ^ kMultiplier) & kMask);
}

jlong java_util_Random::advance() {
    const jlong state = step(seed());
    setSeedState(state);
    return state;
}

jint java_util_Random::next(jint bits) {
    JavaMonitorScope lock(this);
    const jlong state = advance();
    return java::l2i(java::lushr(state, 48 - bits));
}

jint java_util_Random::nextInt() { return next(32); }

jlong java_util_Random::nextLong() {
    const jlong high = next(32);
    const jlong low = next(32);  // sign-extended before the addition
    return java::ladd(java::lshl(high, 32), low);
}

jfloat java_util_Random::nextFloat() { return static_cast<jfloat>(next(24)) / static_cast<jfloat>(1 << 24); }

jint java_util_Random::nextInt(jint n) {
    if (n <= 0) {
        rt::throwNew(cid::java_lang_IllegalArgumentException, StaticClass::getStringConstant(161));
        return 0;
    }
    if ((-n & n) == n) return static_cast<jint>((static_cast<jlong>(n) * next(31)) >> 31);
    jint bits, val;
    do {
        bits = next(31);
        val = bits % n;
    } while (java::iadd(java::isub(bits, val), n - 1) < 0);
    return val;
}

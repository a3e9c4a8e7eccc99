// java.util.Random (class id 66): the 48-bit linear congruential generator
// (multiplier 0x5DEECE66D, addend 0xB). The state is kept as two words, the
// low 32 bits and the high 16 bits, and every update happens under the
// object's monitor. The game advances the state itself through seed() /
// setSeedState() or advance(), holding the same monitor.
#pragma once

#include "runtime/object.h"

class java_util_Random : public Object {
public:
    static constexpr jlong kMultiplier = 0x5DEECE66DLL;
    static constexpr jlong kAddend = 0xB;
    static constexpr jlong kMask = (jlong(1) << 48) - 1;

    // Seeded from the tick count: seed = ticks XOR 0x5DEECE66D.
    java_util_Random();
    explicit java_util_Random(jlong seed);

    // seed = (seed XOR 0x5DEECE66D) AND (2^48 - 1).
    void setSeed(jlong seed);
    // 1 <= bits <= 32: one state step, then the top bits of the state.
    jint next(jint bits);
    jint nextInt();
    // n <= 0: IllegalArgumentException (pool entry 161).
    jint nextInt(jint n);
    jlong nextLong();
    jfloat nextFloat();

    // --- the raw state (callers hold the monitor) --------------------------
    jlong seed() const { return (jlong(m_seedHigh & 0xFFFF) << 32) | jlong(uint32_t(m_seedLow)); }
    void setSeedState(jlong state) {
        m_seedLow = static_cast<jint>(static_cast<uint32_t>(state));
        m_seedHigh = static_cast<jint>((state >> 32) & 0xFFFF);
    }
    // One step of the generator; answers the new 48-bit state.
    jlong advance();
    // The step as a pure function of a state.
    static constexpr jlong step(jlong state) {
        return static_cast<jlong>((static_cast<uint64_t>(state) * static_cast<uint64_t>(kMultiplier) +
                                   static_cast<uint64_t>(kAddend)) &
                                  static_cast<uint64_t>(kMask));
    }

    jint m_seedLow;   // low 32 bits of the state
    jint m_seedHigh;  // high 16 bits of the state (upper half always 0)
};

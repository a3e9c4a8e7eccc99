// The content the kill test's child saves: a generation number in the
// eleven stage scores of progress slot 2 (bytes 74 + 5s, big-endian). A
// record is whole when it is 265 bytes long and all eleven agree.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/array.h"

namespace savepattern {

constexpr int32_t kMenuState = 6;
constexpr size_t kRecordBytes = 265;
constexpr int kStages = 11;
constexpr int kFirstScore = 62 + 12;

inline int32_t scoreAt(const uint8_t* p, int s) {
    const uint8_t* q = p + kFirstScore + 5 * s;
    return static_cast<int32_t>((uint32_t(q[0]) << 24) | (uint32_t(q[1]) << 16) | (uint32_t(q[2]) << 8) | q[3]);
}

// The generation a whole record holds; -1 when the record is torn.
inline int32_t generationIn(const std::vector<uint8_t>& record) {
    if (record.size() != kRecordBytes) return -1;
    const int32_t g = scoreAt(record.data(), 0);
    for (int s = 1; s < kStages; ++s)
        if (scoreAt(record.data(), s) != g) return -1;
    return g;
}

inline int32_t generationOf(ByteArray* progress) {
    if (!progress || progress->length() < static_cast<jint>(kRecordBytes)) return -1;
    const auto* p = reinterpret_cast<const uint8_t*>(progress->data());
    return generationIn(std::vector<uint8_t>(p, p + kRecordBytes));
}

inline void stamp(ByteArray* progress, int32_t generation) {
    auto* p = reinterpret_cast<uint8_t*>(progress->data());
    for (int s = 0; s < kStages; ++s)
        for (int i = 0; i < 4; ++i) p[kFirstScore + 5 * s + i] = static_cast<uint8_t>(generation >> (24 - 8 * i));
}

}  // namespace savepattern

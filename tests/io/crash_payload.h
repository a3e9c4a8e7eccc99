// Self-checking record contents for the crash test: "CR", the record id,
// a generation, a length, that many pattern bytes and a checksum over all
// of it. A record cut short, mixed from two saves or filled with zeros
// fails the check.
#pragma once

#include <cstdint>
#include <vector>

namespace crashtest {

inline constexpr const char* kStoreName = "crash";

inline uint32_t checksum(const uint8_t* p, size_t n) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 16777619u;
    return h;
}

inline std::vector<uint8_t> payload(int32_t id, uint32_t generation) {
    const uint32_t length = 1 + (generation * 2654435761u + static_cast<uint32_t>(id) * 40503u) % 6000;
    std::vector<uint8_t> out = {'C', 'R'};
    auto put32 = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
    };
    put32(static_cast<uint32_t>(id));
    put32(generation);
    put32(length);
    for (uint32_t i = 0; i < length; ++i) out.push_back(static_cast<uint8_t>(i * 7 + generation + id));
    put32(checksum(out.data(), out.size()));
    return out;
}

// The id and generation a valid payload names; false when it is not one.
inline bool check(const std::vector<uint8_t>& bytes, int32_t& id, uint32_t& generation) {
    if (bytes.size() < 18 || bytes[0] != 'C' || bytes[1] != 'R') return false;
    auto get32 = [&](size_t at) {
        return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) | (uint32_t(bytes[at + 2]) << 8) | bytes[at + 3];
    };
    id = static_cast<int32_t>(get32(2));
    generation = get32(6);
    const uint32_t length = get32(10);
    if (bytes.size() != 14 + static_cast<size_t>(length) + 4) return false;
    return get32(bytes.size() - 4) == checksum(bytes.data(), bytes.size() - 4) && bytes == payload(id, generation);
}

}  // namespace crashtest

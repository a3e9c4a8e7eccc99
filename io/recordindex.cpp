// The record-store index file format.
#include "io/recordindex.h"

#include <algorithm>
#include <set>

namespace bramble::io {

RecordIndexData parseRecordIndex(std::span<const uint8_t> bytes) {
    RecordIndexData index;
    if (bytes.empty()) return index;
    auto be32 = [&](size_t at) {
        return static_cast<int32_t>((uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) |
                                    (uint32_t(bytes[at + 2]) << 8) | bytes[at + 3]);
    };
    if (bytes.size() < 4) {
        ++index.problems;
        return index;
    }
    index.lastRecordId = be32(0);
    if (bytes.size() < 8) {
        ++index.problems;
        return index;
    }
    int64_t count = be32(4);
    const int64_t present = static_cast<int64_t>((bytes.size() - 8) / 4);
    if (count < 0) {
        ++index.problems;
        count = 0;
    }
    if (count != present) ++index.problems;  // cut short, or bytes left over
    count = std::min(count, present);
    std::set<int32_t> seen;
    for (int64_t i = 0; i < count; ++i) {
        const int32_t id = be32(8 + 4 * static_cast<size_t>(i));
        if (id < 1 || !seen.insert(id).second) {
            ++index.problems;
            continue;
        }
        if (id > index.lastRecordId) {
            ++index.problems;
            index.lastRecordId = id;
        }
        index.ids.push_back(id);
    }
    return index;
}

std::vector<uint8_t> encodeRecordIndex(int32_t lastRecordId, std::span<const int32_t> ids) {
    std::vector<uint8_t> out;
    out.reserve(8 + 4 * ids.size());
    auto put = [&](int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        out.push_back(static_cast<uint8_t>(u >> 24));
        out.push_back(static_cast<uint8_t>(u >> 16));
        out.push_back(static_cast<uint8_t>(u >> 8));
        out.push_back(static_cast<uint8_t>(u));
    };
    put(lastRecordId);
    put(static_cast<int32_t>(ids.size()));
    for (int32_t id : ids) put(id);
    return out;
}

}  // namespace bramble::io

// The record-store index file: big-endian lastRecordId, record count N,
// then N record ids. Pure functions over bytes (the store reads and writes
// the files).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace bramble::io {

// An index file as the store reads it: a zero-length file is an empty
// store; a negative count, a count larger than the file holds, repeated
// ids and ids above lastRecordId are repaired (problems counts them).
struct RecordIndexData {
    int32_t lastRecordId = 0;
    std::vector<int32_t> ids;
    int problems = 0;
};
RecordIndexData parseRecordIndex(std::span<const uint8_t> bytes);
std::vector<uint8_t> encodeRecordIndex(int32_t lastRecordId, std::span<const int32_t> ids);

}  // namespace bramble::io

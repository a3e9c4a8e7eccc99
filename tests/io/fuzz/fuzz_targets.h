// The io fuzz targets: each reads arbitrary bytes as one of the formats the
// program loads from the device and checks what the reader promises. They
// answer false when a promise is broken (the fuzzers then abort; the replay
// test reports it).
#pragma once

#include <cstddef>
#include <cstdint>

namespace iofuzz {

// "data.bar": the index reader keeps only entries inside the file, never
// more than the file can hold, and the look-up finds each kept name.
bool archiveIndex(const uint8_t* data, size_t size);
// A record-store index file: ids distinct, positive, not above lastRecordId,
// no more than the file holds; what the store writes back reads the same.
bool recordIndex(const uint8_t* data, size_t size);
// "app.jad" (one character per byte): keys and values trimmed, single-line,
// keys distinct.
bool descriptor(const uint8_t* data, size_t size);

// Silences the readers' log lines.
void quietLog();

}  // namespace iofuzz

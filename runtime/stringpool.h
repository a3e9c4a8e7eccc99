// The string-literal pool: every literal of the converted code is an index
// into an ObjectArray of non-collectable Strings held by the statics block
// (a collector root). StaticClass::loadConstants fills it once at start
// from the resource "/constants.bin": a big-endian signed 32-bit count,
// then that many strings in readUTF form (unsigned 16-bit big-endian byte
// length, modified UTF-8).
//
// Damaged data never reads outside the bytes: a negative count reads as 0,
// a count larger than the bytes could hold is cut to what they can, a
// truncated entry ends the pool (later entries stay null) and a malformed
// entry is left null; each case logs one line.
#pragma once

#include <cstddef>
#include <cstdint>

class StaticClass;

namespace rt {

// At most this many entries are kept: a damaged count never fills the
// object heap at start-up.
constexpr int kMaxPoolEntries = 32768;

// Builds the pool from the bytes of a constants file (replacing any pool).
// Answers the number of entries read whole.
int loadStringPool(StaticClass& statics, const uint8_t* data, size_t size);

}  // namespace rt

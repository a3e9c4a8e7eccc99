// The level-object list: records of a count byte c and c little-endian
// 16-bit values, value 0 the object type (2000-2002 level settings).
// loadLevelObjectAssets asks for the sprites and resources the level's
// object types need. Invariant: the scan never reads past the list or a
// record; it stops with one log line at a zero or oversized count or a
// truncated record. A record too short for the value that names an extra
// resource asks for no extra resource.
#pragma once

#include "runtime/array.h"

namespace game {

// Values a level-object record holds at most.
constexpr jint kMaxRecordValues = 24;

// Calls visit(offset of the first value, value count) for each whole
// record of bytes [0, length); returns false when it stopped at damage.
bool scanLevelObjects(ByteArray* list, jint length, bool (*visit)(ByteArray* list, jint at, jint count, void* ctx),
                      void* ctx);
// Requests through `require` (the loading table's requireResource by
// default).
void loadLevelObjectAssets(ByteArray* list, void (*require)(jint entry, jint group) = nullptr);

}  // namespace game

// Actor set-up from a level record: the common fields from the record and
// the subtype's parameter row, then the per-subtype arrays. After set-up,
// params, parts and linked are at least as long as the type's needs row
// says (zero padded, logged once per subtype), so routines may index them.
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// Sets up self from `length` values of `record` starting at `start`.
void initFromLevelData(cActor* self, ShortArray* record, jint length, jint start);
// Subtypes 106 and 143: 12 random entries of parts.
void initRandomParts(cActor* self);
// Type 10: box from params[0..1], params[3] a script index, AI state 2.
void setUpType10(cActor* self);
// Subtype 249: box {x, y, x + params[0], y + params[1]}, then the centre foot.
void setUpSubtype249(cActor* self);
// Pads params, parts and linked to the type's needs (logged once per subtype).
void padToNeeds(cActor* self);
// Forgets which subtypes were logged as padded (a new game or test).
void clearPaddingLog();

}  // namespace game::behaviour

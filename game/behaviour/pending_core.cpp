// Stand-ins for core routines still to come: set-up does the generic part,
// everything else does nothing and answers "nothing to do" (0, false, null,
// 63 for messages). Each goes when its routine lands.
#include "game/actor/defaults.h"
#include "game/behaviour/messages.h"
#include "game/behaviour/routines.h"
#include "game/behaviour/setup.h"

namespace game::behaviour {

// --- set-up ---
void initFromLevelData(cActor* self, ShortArray* table, jint length, jint offset) {
    initFromLevelDataGeneric(self, table, length, offset);
}
void initRandomParts(cActor*) {}
void setUpType10(cActor*) {}
void setUpSubtype249(cActor*) {}
void padToNeeds(cActor*) {}

// --- messages ---
jint onMessage(cActor*, jint, jint, jint) { return 63; }
jint onHitBySubtype(cActor*, jint) { return 63; }

}  // namespace game::behaviour

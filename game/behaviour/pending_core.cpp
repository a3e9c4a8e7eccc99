// Stand-ins for core routines still to come: set-up does the generic part,
// everything else does nothing and answers "nothing to do". Each goes when
// its routine lands.
#include "game/actor/defaults.h"
#include "game/behaviour/routines.h"

namespace game::behaviour {

void initFromLevelData(cActor* self, ShortArray* table, jint length, jint offset) {
    initFromLevelDataGeneric(self, table, length, offset);
}
jint applyPendingHits(cActor*, bool) { return 0; }
void classifyHeroContact(cActor*) {}
void knockbackWeak(cActor*, jint) {}
void kill(cActor*) {}
jint onMessage(cActor*, jint, jint, jint) { return 63; }
void respawn(cActor*) {}
void freezeForScript(cActor*) {}
void enterPhase47(cActor*) {}
void enterPhase51(cActor*, jint) {}

}  // namespace game::behaviour

// Stand-ins for core routines still to come: set-up does the generic part,
// everything else does nothing and answers "nothing to do" (0, false, null,
// 63 for messages). Each goes when its routine lands.
#include "game/actor/defaults.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/death.h"
#include "game/behaviour/messages.h"
#include "game/behaviour/routines.h"
#include "game/behaviour/setup.h"
#include "game/behaviour/states.h"

namespace game::behaviour {

// --- set-up ---
void initFromLevelData(cActor* self, ShortArray* table, jint length, jint offset) {
    initFromLevelDataGeneric(self, table, length, offset);
}
void initRandomParts(cActor*) {}
void setUpType10(cActor*) {}
void setUpSubtype249(cActor*) {}
void padToNeeds(cActor*) {}

// --- damage ---
void knockback(cActor*, jint, jint, jint, jint, jint, jint) {}
void knockbackWeak(cActor*, jint) {}
void contactDamage(cActor*, jint) {}
void contactDamageFrom(cActor*, jint) {}
jint knockbackHero(cActor*, cActor*, jint, jint) { return 0; }
jint hurtHero(cActor*, jint, jint, bool) { return 0; }
void damageHeroBy(jint, jint) {}
jint getLives() { return 0; }

// --- contact ---
void classifyHeroContact(cActor*) {}
void classifyPartsContact(cActor*) {}
jint applyPendingHits(cActor*, bool) { return 0; }
bool isHeroInvulnerable() { return false; }
bool isInvulnerabilityStatSet() { return false; }
jint markTouchedByType2(cActor*, cActor*) { return 1; }
bool isHeroHittable() { return false; }

// --- messages, death ---
jint onMessage(cActor*, jint, jint, jint) { return 63; }
jint onHitBySubtype(cActor*, jint) { return 63; }
void kill(cActor*) {}
void loseLife(cActor*) {}

// --- states ---
void breakActor(cActor*) {}
void updateType11(cActor*) {}
void respawn(cActor*) {}
void hide(cActor*) {}
void hideForRespawn(cActor*, jint) {}
void switchToType3(cActor*, jint) {}
void switchToType11(cActor*, jint) {}
void despawnActor(cActor*) {}
void removeWhenAnimDone(cActor*) {}
void freezeForScript(cActor*) {}
jint startScriptIfEnabled(cActor*, jint) { return 0; }
void enterState43(cActor*) {}
void enterState2Anim8(cActor*) {}
void enterState42(cActor*) {}
void queueType2Value(cActor*, jint) {}
void enterState24(cActor*, jint, jint, jint, jint, jint) {}
bool isAnimBitInHeroStat1(cActor*) { return false; }
void enterPhase45(cActor*) {}
void enterPhase47(cActor*) {}
void enterPhase47Then49(cActor*) {}
void enterPhase47Then50(cActor*) {}
void enterPhase51(cActor*, jint) {}
void enterPhase52(cActor*, jint, jint) {}
void enterGrabPhase(cActor*, cActor*, jint) {}
void type92Code9(cActor*) {}
bool tryDefeatByHit(cActor*) { return false; }
void takeHitType97(cActor*, bool) {}
void setAnimOffset(cActor*, jint) {}
jint getAnimForState(cActor*) { return -1; }
void updatePartsCycle(cActor*) {}

}  // namespace game::behaviour

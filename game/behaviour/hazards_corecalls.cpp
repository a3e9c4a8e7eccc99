// The shared behaviour routines the hazard family calls, reached through
// the core's headers.
#include "game/actor/actor.h"
#include "game/actor/levels.h"
#include "game/behaviour/hazards_core.h"

namespace game::behaviour::hz {

jint knockbackHero(cActor*, cActor*, jint, jint) { return 0; }
jint hurtHero(cActor*, jint, jint, bool) { return 0; }
bool isHeroInvulnerable() { return false; }
void switchToType3(cActor* self, jint anim) {
    self->flags |= 0x20000;
    self->setAnim(anim);
    self->type = 3;
    self->stateFlags = 0;
}
void hideForRespawn(cActor*, jint) {}
bool tryDefeatByHit(cActor*) { return false; }
void startLinkLeg(cActor*) {}
void moveToLinkRow(cActor*, jint, jint) {}
IntArray* buildCurvePath(jint, jint, jint, jint, jint, jint, jint) { return nullptr; }
bool isLinkPointAhead(cActor* self, jint row) {
    if (!isLinkIndexValid(row)) return false;
    loadLinkRow(row);
    return cActor::isAnchorReachable(self, java::ishl(getLinkX(row), 8), java::ishl(getLinkY(row), 8));
}

}  // namespace game::behaviour::hz

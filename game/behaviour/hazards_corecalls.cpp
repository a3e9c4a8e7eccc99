// The shared behaviour routines the hazard family calls, forwarded from
// its short names to the core's (damage, contact, states, link paths).
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/hazards_core.h"
#include "game/behaviour/linkpath.h"
#include "game/behaviour/states.h"

namespace game::behaviour::hz {

jint knockbackHero(cActor* hero, cActor* enemy, jint amount, jint force) {
    return behaviour::knockbackHero(hero, enemy, amount, force);
}
jint hurtHero(cActor* hero, jint pushY, jint amount, bool force) {
    return behaviour::hurtHero(hero, pushY, amount, force);
}
bool isHeroInvulnerable() { return behaviour::isHeroInvulnerable(); }
void damageHeroBy(jint amount, jint frames) { behaviour::damageHeroBy(amount, frames); }
void switchToType3(cActor* self, jint anim) { behaviour::switchToType3(self, anim); }
void hideForRespawn(cActor* self, jint frames) { behaviour::hideForRespawn(self, frames); }
bool tryDefeatByHit(cActor* self) { return behaviour::tryDefeatByHit(self); }
void startLinkLeg(cActor* self) { behaviour::startLinkLeg(self); }
void moveToLinkRow(cActor* self, jint row, jint speed) { behaviour::moveToLinkRow(self, row, speed); }
IntArray* buildCurvePath(jint x0, jint y0, jint x1, jint y1, jint x2, jint y2, jint steps) {
    return behaviour::buildCurvePath(x0, y0, x1, y1, x2, y2, steps);
}
bool isLinkPointAhead(cActor* self, jint row) { return behaviour::isLinkPointAhead(self, row); }

}  // namespace game::behaviour::hz

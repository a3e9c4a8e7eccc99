// The scripts' own actor commands that need more than one routine of the
// game: an actor despawned with the load it carries, the hero's
// invulnerability as the script damage sees it, the level's palette.
#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/scripts.h"

namespace game::world {

// While the hero's invulnerability count (its state timer) runs, or the
// permanent switch (game variable 6) is set.
bool isHeroInvulnerable() {
    cActor* h = hero();
    return (h && h->timer > 0) || getVariable(6) != 0;
}

// AI state 2 and stopped; an actor it carries leaves the level pool.
void despawnScriptActor(cActor* actor) {
    if (!actor) return;
    actor->aiState = 2;
    cActor::stopMotion(actor);
    if (cActor* carried = actor->carried) {
        actor->carried = nullptr;
        removeActor(carried, true);
    }
}

// The first of the level's sprites switches palette.
void setLevelPalette(jint palette) {
    ObjectArray* sprites = cg().levelSprites;
    if (!sprites || sprites->length() < 1) return;
    if (auto* s = static_cast<BSprite*>(sprites->data()[0])) s->setPalette(palette);
}

}  // namespace game::world

// Simple versions of the flow routines of flowcalls.h (see there).
#include "game/actor/flowcalls.h"

#include "game/actor/pool.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/sprite.h"

void game::clearLevelObjectFlags(jint id, jint bits) {
    if (cActor* a = getActorById(id)) a->flags &= ~bits;
}

BSprite* game::getSpriteByNumber(jint n) {
    ObjectArray* s = fl().sprites;
    return s && s->inBounds(n) ? static_cast<BSprite*>(s->data()[n]) : nullptr;
}

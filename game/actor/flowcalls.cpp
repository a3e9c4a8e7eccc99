// Simple versions of the flow routines of flowcalls.h (see there).
#include "game/actor/flowcalls.h"

#include "game/actor/pool.h"
#include "game/data/statics.h"

#include <cmath>

void game::playSound(jint) {}

void game::clearLevelObjectFlags(jint id, jint bits) {
    if (cActor* a = getActorById(id)) a->flags &= ~bits;
}

jint game::findFreeTweenSlot() {
    IntArray* slots = cg().tweenSlots;
    for (jint i = 0; slots && i < 5 && i < slots->length(); ++i)
        if (slots->data()[i] < 0) return i;
    return -1;
}

BSprite* game::getSpriteByNumber(jint) { return nullptr; }

jint game::fixedSin(jint degrees) {
    jint d = ((degrees % 360) + 360) % 360;
    return static_cast<jint>(std::lround(std::sin(d * 3.14159265358979323846 / 180.0) * 16384.0));
}

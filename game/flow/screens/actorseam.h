// What the screens need of the actor framework, which sits above the
// core library: the actor library (or the program that assembles the game)
// installs an object with setScreenActorHooks before play; until then a
// built-in one answers neutrally (nothing there: 0, -1, no-ops).
#pragma once

#include "runtime/object.h"

class cActor;

namespace game {

class ScreenActorHooks {
public:
    virtual ~ScreenActorHooks() = default;

    // Special items collected in the level (cActor.specialItems).
    virtual jint specialItemCount() { return 0; }
    // The level's special-item ids (cActor.itemId, cActor.item4Id).
    virtual void setLevelItemId(bool fourth, jint id) {}
    virtual jint levelItemId(bool fourth) { return 0; }
    // Constant i of an actor subtype's parameter row; -1 when none.
    virtual jint subtypeParam(jint subtype, jint i) { return -1; }
    // The actor's scale in percent.
    virtual void setScale(cActor* actor, jint percent) {}
    // The hero's action bits of this step (cActor.heroActionMask) and its
    // flag word (cActor.heroFlagWord).
    virtual jint heroActionMask() { return 0; }
    virtual void setHeroActionMask(jint bits) {}
    virtual jint heroFlagWord() { return 0; }
};

ScreenActorHooks& screenActorHooks();
// Null restores the built-in object. The object must outlive its installation.
void setScreenActorHooks(ScreenActorHooks* hooks);

}  // namespace game

// What the hero's states ask of the actor behaviours (hurting, knocking
// back, losing a life, pickups, the chain and swing actors' fields). The
// behaviours library installs its object with setHeroBehaviourCalls; until
// then the built-in one answers neutrally (nothing done, 0), so the hero
// runs on its own in tests and the demo.
#pragma once

#include "runtime/object.h"

class cActor;

namespace game::hero {

class HeroBehaviourCalls {
public:
    virtual ~HeroBehaviourCalls() = default;
    virtual void knockback(cActor* hero, jint dir, jint anim, jint a, jint b, jint c, jint d) {}
    virtual void hurtHero(cActor* hero, jint kind, jint amount, jint force) {}
    virtual void loseLife(cActor* hero) {}
    virtual void collectHeldItem(cActor* item) {}
    virtual void checkPickup(cActor* item, jint how) {}
    virtual void summonSlotActors(cActor* item) {}
    // Hands a held item its throw (kind, direction, target point, wind-up
    // frames); its behaviour carries the throw out.
    virtual void throwHeld(cActor* item, jint kind, jint dir, jint tx, jint ty, jint frames) {}
    virtual void countLevelItem() {}
    virtual void interactHeroType45(cActor* actor, cActor* hero) {}
    // A chain's mode, a swing's side and boost, the climb's exit direction.
    virtual jint chainMode(cActor* chain) { return 0; }
    virtual jint swingSide(cActor* chain) { return 0; }
    virtual jint swingBoost(cActor* chain) { return 0; }
    virtual void setSwingBoost(cActor* chain, jint v) {}
    virtual jint climbExitDir() { return 0; }
};

HeroBehaviourCalls& behaviourCalls();
// Null restores the built-in object; the object must outlive its use.
void setHeroBehaviourCalls(HeroBehaviourCalls* calls);

}  // namespace game::hero

// Hero damage and knockback: every way the hero is hurt ends here. The
// gate hurtHero decides whether a hit is taken; health changes only through
// the game's applyHeroDamage; each accepted hit gives 53 frames of
// invulnerability; a dead hero takes neither damage nor knockback.
#pragma once

#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// Throws the hero into KNOCKBACK: direction -1 pushes left, any other value
// right; holdValue goes to hero state var 0. Nothing while dead or flying.
void knockback(cActor* hero, jint direction, jint holdValue, jint pushSpeed, jint jumpSpeed, jint brake,
               jint gravity);
// Knockback with the weak set (19, 2048, 8601, 0, 819); 99 = against the facing.
void knockbackWeak(cActor* hero, jint direction);
// Contact damage from an actor whose touch hurts (amount 0: push only).
void contactDamage(cActor* source, jint amount);
// Damage and push away from source; nothing while the hero is invulnerable.
void contactDamageFrom(cActor* source, jint amount);
// Damage with the alternate mode's vertical push; hurtHero's result.
jint knockbackHero(cActor* hero, cActor* enemy, jint amount, jint force);
// The gate: 1 when the hit was taken, 0 when refused. The five-value calls
// hurtHero(hero, 0, 0, 1, 1) of some routines are hurtHero(hero, 0, 1, true).
jint hurtHero(cActor* hero, jint pushY, jint amount, bool force);
// Script damage: when not invulnerable and amount != 0.
void damageHeroBy(jint amount, jint invulnerableFrames);
// Game variable 5.
jint getLives();

}  // namespace game::behaviour

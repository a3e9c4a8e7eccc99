// Shorthands over the seam for the hero handlers: motion entries by name,
// limit pairs and the facing sign. Each call reads or writes the actor's
// motion state afresh.
#pragma once

#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/hero/seam.h"
#include "game/world/hero/state.h"

namespace game::hero {

inline jint ax(cActor* h) { return motion(h, mo::AX); }
inline jint ay(cActor* h) { return motion(h, mo::AY); }
inline jint vx(cActor* h) { return motion(h, mo::VX); }
inline jint vy(cActor* h) { return motion(h, mo::VY); }
inline void setAx(cActor* h, jint v) { setMotion(h, mo::AX, v); }
inline void setAy(cActor* h, jint v) { setMotion(h, mo::AY, v); }
inline void setVx(cActor* h, jint v) { setMotion(h, mo::VX, v); }
inline void setVy(cActor* h, jint v) { setMotion(h, mo::VY, v); }
inline void limitsX(cActor* h, jint lo, jint hi) {
    setMotion(h, mo::MIN_VX, lo);
    setMotion(h, mo::MAX_VX, hi);
}
inline void limitsY(cActor* h, jint lo, jint hi) {
    setMotion(h, mo::MIN_VY, lo);
    setMotion(h, mo::MAX_VY, hi);
}
// -1 facing left, 1 facing right.
inline jint dirOf(cActor* h) { return facing(h) == 1 ? -1 : 1; }
inline jint mask() { return heroActionMask(); }
inline bool has(jint bits) { return (heroActionMask() & bits) != 0; }
inline bool landed() { return (collisionResult() & hit::LANDED) != 0; }
inline void clearPhysicsBit(cActor* h, jint bit) { setPhysicsFlags(h, physicsFlags(h) & ~bit); }
inline jint clampi(jint v, jint lo, jint hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline jint absi(jint v) { return v < 0 ? -v : v; }
inline bool isKind113(cActor* h) { return subtype(h) == 113 || subtype(h) == 237; }
inline void setAnimFresh(cActor* h, jint a) { setAnim(h, a); }

}  // namespace game::hero

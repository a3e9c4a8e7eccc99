// Routines of the game flow core that the screens call: the game's own
// random generator and whole-degree sine.
#pragma once

#include "runtime/object.h"

namespace game {

// 0 when n is 0 (the seed untouched); else steps the seed and returns
// |seed rem n|.
jint random(jint n);
// a when b == a (the seed untouched); else a + |seed rem (b - a)| after a step.
jint randomRange(jint a, jint b);
// Sine of a whole-degree angle scaled by 16384.
jint fixedSin(jint degrees);

}  // namespace game

namespace game {

// Special items the hero collected in the level (the actor framework's
// count).
jint specialItemCount();

}  // namespace game

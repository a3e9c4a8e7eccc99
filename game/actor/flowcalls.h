// Game-flow routines the actor framework calls (sound requests, level
// object flags, tween slots). flowcalls.cpp defines simple versions until
// the flow code's own arrive; each is then deleted there.
#pragma once

#include "runtime/object.h"

class BSprite;

namespace game {

// cGame.playSound: requests sound id.
void playSound(jint id);
// cGame.clearLevelObjectFlags: clears bits in the flags of the actor with
// that unique id (the level record's half belongs to the level code).
void clearLevelObjectFlags(jint id, jint bits);
// cGame.fixedSin: sine of whole degrees, 1 << 14 fixed point.
jint fixedSin(jint degrees);
// cGame.sprites[n]: the game's sprite number n, or null.
BSprite* getSpriteByNumber(jint n);
// cGame.findFreeTweenSlot: first slot 0-4 whose duration is negative, -1.
jint findFreeTweenSlot();

}  // namespace game

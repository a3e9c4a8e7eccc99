// Game-flow routines the actor framework calls that the flow code does not
// define yet: flowcalls.cpp holds simple versions, each deleted there when
// the flow code's own arrives. The rest come from the flow headers.
#pragma once

#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "runtime/object.h"

class BSprite;

namespace game {

// cGame.clearLevelObjectFlags: clears bits in the flags of the actor with
// that unique id (the level record's half belongs to the level code).
void clearLevelObjectFlags(jint id, jint bits);
// cGame.sprites[n]: the game's sprite number n, or null.
BSprite* getSpriteByNumber(jint n);

}  // namespace game

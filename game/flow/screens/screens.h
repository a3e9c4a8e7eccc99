// The screens' sizes. Their cGame fields are in cGame's one statics block
// (game/flow/screens/screens_fields.h lists them, game::cg() reaches them).
#pragma once

#include "game/data/statics.h"

namespace game {

// The list box holds this many listed entries at most.
constexpr jint kMenuItemCapacity = 32;
// Capacity of the firework particle array.
constexpr jint kFireworkCapacity = 260;

}  // namespace game

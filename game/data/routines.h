// Routines of the game's core that the data code calls and that the game
// flow code defines (game variables, display values, sprite references,
// the level score).
#pragma once

#include "runtime/object.h"

class BSprite;

namespace game {

// Game variable i = value clamped to its bounds; mark flags it changed.
void setVariable(jint i, jint value, bool mark);
jint getVariable(jint i);
// Display value entry 0 (first) or 1.
void setDisplayValue(bool first, jint value);
// The loaded sprite that sprite reference i of group names, or null.
BSprite* getSpriteById(jint i, jint group);
// The running level's score.
jint computeLevelScore();
// Level statistics [7] to [11] = 0.
void resetLevelStats();

}  // namespace game

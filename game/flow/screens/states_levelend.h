// The level-end states: level complete (21) with its closing iris and the
// firework show, results (30) with the tally and the save, game over (19)
// and the end-of-game sequence (18). Handlers take the state machine's
// messages (0 update, 1 paint, 2 enter, 3 exit, 5 resume).
#pragma once

#include "runtime/object.h"

namespace game {

void state21(jint message);
void state30(jint message);
void state19(jint message);
void state18(jint message);
// State 21's paint: the play view until the show, then (once the hero's
// animation has ended) the captured view with the closing iris around the
// hero, the effects of layer 2, and the show's texts and fireworks.
void paintLevelComplete();
// After the show: the hero's closing script when it has one, else the
// bonus result (32) on a bonus stage or the results (30).
void leaveCompletedLevel();
// What confirming the finished results does: the next stage opened and
// made current for the difficulty, the record saved, then the next level
// loaded (stages 0-9) or the covering state left (stage 10).
void saveResultsAndLeave();
// The completed game: the music kept, the completed flag saved, a new run
// from stage 0.
void finishGame();

}  // namespace game

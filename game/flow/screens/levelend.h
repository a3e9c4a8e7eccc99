// Level statistics, the score formula and the results tally. levelStats
// (int[12], game::cg()) holds the statistics of the running level in
// [7]..[11] and, after computeLevelScore, the points of each line in
// [0]..[4] and the total in [5] (never below 0). The tally counts line
// tallyLine up from 0 to tallyTarget; tallyLine 6 means every line shows.
#pragma once

#include "runtime/object.h"

namespace game {

// Lines of the results tally; line 6 means all shown.
constexpr jint kTallyLines = 6;
// Points the tally adds to a line per logic step.
constexpr jint kTallyStep = 1000;

// Fills levelStats [0]..[5] and returns [5].
jint computeLevelScore();
// levelStats [7]..[11] = 0.
void resetLevelStats();
// Moves the tally to its next line: the line's value becomes the target and
// is counted up again from 0.
void nextTallyLine();
// Shows the current line at its final value and every line after it.
void finishTally();
// One logic step of the tally: the current line grows by 1000 (clamped to
// its target); a line that reached it moves on unless the tally is done.
void stepTally();
// Adds a picked-up item to the level's totals (kind 2 items, 19 secrets,
// 6 special items).
void countPickup(jint kind, jint sub);

}  // namespace game

// Pieces of the heads-up display that are arithmetic: the banner's slide,
// the tally's time digits, the scale tweens and the touch-control pass
// that turns the touched pad zone into hero action bits.
#pragma once

#include "runtime/object.h"

namespace game {

constexpr jint kTweenSlots = 5;

// x of the banner at timer t (counting down from 96), and whether it is
// drawn (it blinks for 33 <= t < 64).
jint bannerX(jint t);
bool bannerShown(jint t);
// The ten digit parameters of a time row: hours, then the tens and units
// of minutes (as two digits each in the order h, -, m, m, -, s, s ...):
// [0] value / 3600, [1] tens and [2] units of (value / 60) rem 60, [3]
// tens and [4] units of value rem 60; [5]-[9] the same of second.
void tallyTimeDigits(jint first, jint second, jint out[10]);
// One step of every live tween: scale = ((d - t) * from + t * to) / d in
// 64 bits; a slot whose t reached d (a length of 0 at once) is freed.
void updateTweens();
// The in-game touch-control pass: the first touched pad zone of the order
// 3, 4, 1, 0, 2, 6, 5, 7, 8, 9 sets its hero action bits and button bits.
void handlePanelTouch(bool (*touched)(jint zone));
void handlePanelTouch();

}  // namespace game

// Play: the in-game state (14), the state after the hero's death (22) and
// the closing iris to the end (13). The in-game update runs, in order:
// the world's passes, the dialog, the request bits of cGame.flags (64 and
// 4 wait until no level script runs; the first set bit wins), the level
// scripts and the level timer, the shake, the camera, and a restart when
// the next stage changed.
#pragma once

#include "runtime/object.h"

namespace game {

// Request bits of cGame.flags.
constexpr jint kFlagExtraLife = 2;
constexpr jint kFlagEndLevel = 4;
constexpr jint kFlagToStart = 32;
constexpr jint kFlagAltMode = 64;
constexpr jint kFlagZeroVariable3 = 128;

void stateGameplay(jint message);
// State 14's paint: the play view unless a full-screen dialog covers it,
// the side panel, stat bars, overlay message, target pointer and gauge,
// the level clock, the panel, the dialog, the dialog's list arrows while a
// script runs, the soft keys.
void paintPlay();
// The target actor's gauge and portrait (only with the panel closed, in
// state 14, when the stage's region flag is set or the actor shows it).
void paintTargetGauge();
void stateAfterDeath(jint message);
void state13(jint message);
// One pass over the request bits; true when a bit ended the update.
bool applyRequestBits(bool scriptRunning);
// The level timer's step: counts down while no script runs; below 0 the
// hero is killed unless the hold is set, and the timer stops at -1.
void stepLevelTimer();
// Step 5 of the in-game update: the cut-scene skip (right soft key, or the
// skip corner with its two-tap acknowledgement) while a skippable scene
// runs, else the pause control; true when the update ends here.
bool stepSkipAndPause();
// A requested skip: the level scripts run until the camera lock is 1 or no
// script runs (bounded, logged), dialogs closed; then the skip is cleared.
void fastForwardScripts();
// The shake's step: the pattern element at (timer - 1) mod 7, then 0.
void stepShake();

}  // namespace game

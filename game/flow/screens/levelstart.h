// Starting, restarting and leaving a level: every start goes through the
// loading state with a kind-5 load request whose next state is the level
// intro (33), or play (14) when the intro is skipped.
#pragma once

#include "runtime/object.h"

namespace game {

constexpr jint kStateLoading = 11;
constexpr jint kStatePlay = 14;
constexpr jint kStateIntro = 33;
constexpr jint kLoadLevel = 5;

void startLevel(jint stage);
void startLevelLoad();
void restartLevel();
void unloadLevel();
void resetLevelState();
// The stage that follows `stage` in the stage order; -1 when none.
jint nextStageAfter(jint stage);
// First index of value in the stage order, else -1.
jint findListEntry(jint value);

}  // namespace game

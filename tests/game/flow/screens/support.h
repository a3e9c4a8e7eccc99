// Shared fixture of the screens' tests: an application with lcdui's, the
// sprite engine's and every game static field and the kit's string pool;
// the class initialisers have run (the effect pool is there). The screens
// call the actor framework's real routines: the tests read the actors and
// the fields those leave. Log capture for the error-path tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/data/statics.h"
#include "game/actor/actor.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/screens.h"
#include "runtime/runtime.h"
#include "tests/game/sprite/support.h"

namespace screenstest {

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Captures the runtime log for its lifetime.
using LogCapture = spritetest::LogCapture;

// The seed of the game's own generator (tests set it to replay a show).
void setRandomSeed(jint seed);
jint randomSeed();
// Puts texts into text slot `slot` as a cached pack (index i = texts[i]).
void setTexts(jint slot, const std::vector<std::string>& texts);
// Deferred state requests, recorded by run() and drain(): {op, state}, op
// 0 set, 1 push, 2 pop (state -1), 3 switch; cleared by the fixture.
std::vector<std::pair<jint, jint>>& requests();
// Sends a handler a message, then records the request it left pending.
void run(void (*handler)(jint), jint message);
// Records the pending request, if any, and clears it.
void drain();
void setStateTicks(jint n);
// The state machine's stack: current state over the covered ones (bottom
// first).
void setStack(jint current, const std::vector<jint>& covered);
// Game keys newly pressed and held this step.
void setKeys(jint pressed, jint held = 0);
// A hero (cGame.hero) of that subtype, fresh from the heap: no sprite,
// animation -1, standing at (0, 0).
cActor* makeHero(jint subtype = 0);
// The effect pool's live effects (deactivated ones not counted).
std::vector<cActor*> liveEffects();

}  // namespace screenstest

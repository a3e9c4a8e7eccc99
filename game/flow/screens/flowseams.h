// Routines of the game flow core that the screens call, gathered in one
// place: the core's own headers, and a few small accessors over its
// fields (defined in flowaccess.cpp).
#pragma once

#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/input.h"
#include "game/flow/loading.h"
#include "game/flow/screen.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "runtime/object.h"

class BSprite;
class IntArray;
class String;

namespace game {

// A touch was released inside the zone this step.
bool isTouchReleasedIn(IntArray* zone);
// Game font i (cGame.fonts), or null.
BSprite* gameFont(jint i);
// Prints a line on the standard output stream.
void printLine(String* text);
// The list row touched this step, or -1.
jint touchedListRow();
bool isSoundOn();
void setSoundOn(bool on);
// Pad zone i of the in-game touch controls, built on first use.
IntArray* padZone(jint i);
jint& buttonBits();
jint stateTicks();
jint& stateParam();
// The target of the pending request, -1 when none waits.
jint pendingState();
// The confirm touch zone was hit this step.
bool isConfirmTouched();
IntArray* loadRequest();
jint stepDelta();
void pickLoadingHint();
void setReuseLoadPlan();
jint& requestFlags();
void markAllVariablesChanged();
void setInLevel(bool on);
bool inLevel();
// The application property of that name (the MIDlet's descriptor), or
// null.
String* appProperty(String* name);
// Stops one sound channel (0 music, 1 effects).
void stopChannelSound(jint channel);

}  // namespace game

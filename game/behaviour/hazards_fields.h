// The hazard family's view of the actor fields and shared statics: the
// behaviour names of fields.h, plus the few statics it reads that the
// field map leaves out (the frame clock, the quake counters, the ambient
// switch).
//
// Invariant: every accessor answers live storage; the spark tables are
// handed out as element pointers, valid until the next allocation (callers
// use them at once).
#pragma once

#include "game/behaviour/fields.h"

namespace game::behaviour::hf {

using behaviour::animTicks;
using behaviour::boostFrames;
using behaviour::contactFlags;
using behaviour::counter;
using behaviour::cycleCount;
using behaviour::cycleCountB;
using behaviour::flyByFrames;
using behaviour::linked;
using behaviour::nextState;
using behaviour::originX;
using behaviour::originY;
using behaviour::physicsFlags;
using behaviour::runSpeedFactor;
using behaviour::setLinked;
using behaviour::spanRight;
using behaviour::timer;
using behaviour::worldFlags;

// cGame.frameTick: frames of the in-game pass since the level started.
inline jint frameTick() { return cg().playFrames; }
// cGame.quakeFrames and cGame.quakeOffset.
inline jint& quakeFrames() { return cg().shakeTimer; }
inline jint quakeOffset() { return cg().shakeOffset; }
// cGame.ambientAnimOn: set when the game initialises (the family's own
// flag, on at every installation).
bool ambientAnimOn();
void setAmbientAnimOn(bool on);

// The five shared sparks.
inline jint* sparkTimers() { return behaviour::sparkTimers()->data(); }
inline jint* sparkParts() { return behaviour::sparkParts()->data(); }
inline jint* sparkAngles() { return behaviour::sparkAngles()->data(); }

// Back to the starting values (a new installation).
void resetHazardStatics();

}  // namespace game::behaviour::hf

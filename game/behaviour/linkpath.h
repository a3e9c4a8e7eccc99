// Link-path movers and link rows: legs along the level's link table, drop,
// sink and rise states, the chain loader, the snap to a link line, the
// straight-line row mover and the curve path. Every walk along next ids
// stops after the link count or at a repeated row; data divisors are
// checked (a call that would divide by zero does nothing).
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// Starts the leg to the current link row: AI state 3, or 2 without a valid row.
void startLinkLeg(cActor* self);
// n < 1: startLinkLeg now; else timer n and AI state 4.
void waitThenStartLinkLeg(cActor* self, jint n);
void enterDropState(cActor* self);
void enterSinkState(cActor* self);
void enterRiseState(cActor* self);
// y on the link line at x (the first argument is not read); x2 = x1 does nothing.
jint snapToLinkLine(jint ignored, cActor* self, jint x);
// Loads the chain of link rows from `first` into parts (never past its end).
void loadLinkChain(cActor* self, jint first, jint countSlot);
// The pool actor whose unique id is params[1] (none when that is a link index).
cActor* findLinkedActor(cActor* self);
// savedBox = box; whether it contains (hero x, hero box top).
bool containsHeroTop(cActor* self);
// isqrt(dx * dx + dy * dy) in 64 bits.
jint vectorLength(jint dx, jint dy);
// Moves toward (tx, ty) one axis at a time; true when both arrived this call.
bool arriveAt(cActor* self, jint tx, jint ty);
// State 3 when the link index is valid, else 2.
void setAiStateByLink(cActor* self);
// Loads link row `row`; true once the actor has reached or passed its point
// (this step's velocity would carry it past).
bool isLinkPointAhead(cActor* self, jint row);
// Straight move to link row n at s px per frame (follows one code-10 row at most).
void moveToLinkRow(cActor* self, jint n, jint s);
// The curve path through three points (1/256 px) in `steps` frames (1-181); null when refused.
IntArray* buildCurvePath(jint x0, jint y0, jint x1, jint y1, jint x2, jint y2, jint steps);

}  // namespace game::behaviour

// Contact between actors: box and part-rectangle tests, the scan of the
// active list for touching actors (the hero first), the contact responses
// the movement resolution reads (1056 solid from above, 1040 at the side,
// 1072 on both axes), hit marks, and the small attack and steering
// operations the behaviours share.
#pragma once

#include "game/actor/actor.h"

namespace game {

inline constexpr jint kContactAbove = 1056, kContactSide = 1040, kContactBoth = 1072;
// Part rectangles kept per actor (records of four ints).
inline constexpr jint kMaxPartRects = 32;

bool attackBoxHits(cActor* a, cActor* b);
bool boxesOverlap(cActor* a, cActor* b);
// Writes the actor's part rectangles {left, top, right, bottom} into list
// (at most 32 records); answers the number written.
jint collectFrameRects(cActor* a, IntArray* list);
bool partsIntersect(cActor* a, cActor* b, bool useAParts, bool useBParts);
cActor* nextContactActor(cActor* a, bool restart, ShortArray* box);
jint contactFromAbove(cActor* mover, cActor* carrier, ShortArray* box);
jint contactSide(cActor* mover, cActor* other, ShortArray* box);
jint contactPush(cActor* mover, cActor* platform);
void markHitByHero(cActor* mover, cActor* other);
bool clearHitFlags(cActor* a);
void enterAiState2(cActor* a);
void checkGrabbedByHero(cActor* a);
void startAttackFromAnchor(cActor* a);
void startAttackFromAnchorB(cActor* a);
void setAiStateByLink(cActor* a);
// Stops the actor and sets an acceleration of accel toward (x, y) with the
// speed limited to maxSpeed on each axis's share.
void accelerateToward(cActor* a, jint x, jint y, jint accel, jint maxSpeed);
bool startScriptFromParam(cActor* a, jint i);
bool isSubtypeInHitGroupExt(cActor* a);
// Integer square root, bit by bit.
jint isqrt(jint v);

}  // namespace game

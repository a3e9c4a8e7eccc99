// Small actor operations the hero states and the behaviours share: state
// and mode predicates, the hero's per-state table entries, the link value
// lookup, animation and type switches by AI state, body and parts boxes,
// segment slots by id, the record span, the near-view test.
//
// Invariants: every read outside its array answers the documented neutral
// value (-1 for animation and effect tables, 0 otherwise) and writes
// nothing; none of these allocates.
#pragma once

#include "game/actor/actor.h"

namespace game {

bool isContactBit20();
// Partner mode 0, or mode 3 with a partner of subtype 144, on the side a faces.
bool isFacingPartnerKind(cActor* a);
// cActor.isPartnerMode2 / 6 / 7 / 8: the partner mode equals m.
bool isPartnerMode(jint m);
bool isGrabMode3();
bool isCarrying();
bool isTargetSubtype255();
bool isHeroState7();
bool isHeroModeA();
// Entry i of heroStateAnims / heroStateEffects (-1 outside), heroStateFlags (0 outside).
jint getHeroConst(jint i);
jint getStateEffect(jint i);
jint getStateFlag(jint i);
// Element 2 of the link row the table index gives for id i; 0 when none.
jint getLinkValue(jint i);
void setAnim5State4(cActor* a);
// Animation parts[9] + k (parts[9] 0 when absent).
void setAnimOffset(cActor* a, jint k);
// The animation of AI states 45-57 (45 -> 33, 46 -> 36, 48 -> 75, 49 -> 42,
// 50 -> 48, 51 and 57 -> 57, 53 -> 81, 54 -> 63, 55 -> 87, 56 -> 66), else -1.
jint getAnimForState(cActor* a);
// The body box by AI state (48; 49 and 50; others) and facing.
void placeBodyBox(cActor* a);
void switchToType3(cActor* a, jint anim);
void switchToType11(cActor* a, jint anim);
// The segment whose element 0 is id, else the first unused one, else null.
IntArray* findSlotById(jint id);
// {x - 10, y - 10, x + 10, y + 10} grown over the parts' points (params[0] of them).
void getPartsBounds(cActor* a, ShortArray* out);
// out[2] = 21, out[3] = 21 x the first parameter of the record at offset.
void getRecordSpan(jint offset, ShortArray* out);
bool partsTouch(cActor* a, cActor* b);
// Inside the 800 x 480 view around the camera widened by 20 px.
bool isNearView(cActor* a);
// The first part record at the actor's position (1/256 px), motion limits +-100000.
void setPartsMotion(cActor* a);
void setLayer(cActor* a, jint layer);
inline void emptyRangeCheck(cActor*, jint, jint) {}

}  // namespace game

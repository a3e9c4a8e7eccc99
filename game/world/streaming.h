// Level set-up from the object list and the per-step passes in play: the
// streaming of level objects around the view, the active list and the
// update of the listed actors and the hero.
//
// Invariants: the record tables come only from an object list that passed
// the whole check; values read past a record's end are 0; a level without
// a hero keeps streaming and the hero frame idle (logged once a level);
// a map of more than 64 sectors streams without the sector filter.
#pragma once

#include "runtime/array.h"

class cActor;

namespace game::world {

void setupLevelMap();
// Forgets the level's object records (the pending flag nibbles, the record
// index, the records, their ids and the object state bytes): nothing of
// the old level stays referenced between levels.
void clearLevelRecords();
jint recordCount();
jint recordStart(jint i);
jint recordLength(jint i);
// Value k of record i; 0 past the record's end.
jint recordValue(jint i, jint k);
// The box {left, top, right, bottom} of record i without an actor.
void recordBox(jint i, jint out[4]);
// The box the streaming pass rates a live actor by.
void liveActorBox(cActor* a, jint out[4]);
bool isPinned(cActor* a);
void updateLevelObjects();
void updateAllActors();
void updateHeroFrame();

}  // namespace game::world

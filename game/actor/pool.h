// The actor stores the game keeps as cGame operations: the level pool of
// 200 reused actors, the three character slots, the active list of the
// frame, removal by swapping the last live actor into the hole, lookups by
// unique id, and the factory with its template records.
//
// Invariants: slots 0 .. actorCount - 1 of the pool hold the live level
// actors and each one's poolSlot is its index; the active list never holds
// more than 200 entries; nothing is allocated in play but the first use of
// an effect slot and the pool itself.
#pragma once

#include "game/actor/actor.h"

namespace game {

inline constexpr jint kActorPoolSize = 200;
inline constexpr jint kEffectPoolSize = 64;

void createActorPool();
// The character slots (cActor[3]), created on first use.
ObjectArray* characterSlots();
void addActiveActor(cActor* a);
void updateActiveActors();
void removeActorAt(jint i);
void removeActor(cActor* a, bool callRelease);
inline void removeActorAndRelease(cActor* a) { removeActor(a, true); }
void removeAllActors(bool dropCharacters);
inline void removeLevelActors() { removeAllActors(false); }
jint findActorById(jint id);
cActor* getActorSlotById(jint id);
cActor* getActorById(jint id);
cActor* findActiveType8Actor();
bool hitsActiveType8Actor(ShortArray* r);
void refreshActors();
cActor* poolActor(jint i);
cActor* activeActor(jint i);

// Factory.
cActor* spawnActor(ShortArray* table, jint length, jint offset);
cActor* spawnFromTemplate(jint templateId, jint x, jint y);
cActor* spawnActorAt(jint templateId, jint x, jint y, jint animation, jint flags, bool facing);
// The template ids the factory knows, in table order.
const jint* templateIds(jint* count);


// The inert effect handed out when every effect slot is busy: never in the
// pool, never painted or updated.
bool isInertEffect(const cActor* a);
// The actor is one of the effect pool's live slots.
bool isPooledEffect(const cActor* a);
// The pooled effect with that unique id when it is free (taken, as
// obtainEffect takes one); null otherwise.
cActor* obtainEffectById(jint id);
// An obtained effect given its sprite, animation, place, layer and
// animation flags (the body of cActor::spawnEffect).
cActor* setUpEffect(cActor* e, BSprite* sprite, jint animation, jint x, jint y, jint layer, jint paintFlags);
// Forget the once-per-level log marks (a new level starts).
void resetLevelLogMarks();

}  // namespace game

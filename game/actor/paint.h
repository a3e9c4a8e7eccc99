// Painting the play field: per layer its tiles, then its effects, then its
// actors; one actor with its placement (camera-relative, view-fixed, on a
// moving structure, parallax-repeated), per-type specials, strips and
// grids, and the charge ring; the effect layers. Repeated draws (strips,
// grids, the parallax repeat) are made only where they can meet the 800 x
// 480 view, so their cost is bounded by the view, not by the data.
#pragma once

#include "game/actor/actor.h"

namespace game {

void paintField(jint first, jint last);
void paintTileLayer(jint layer);
void paintLayerActors(jint layer);
void paintActor(cActor* a);
void paintSprite(cActor* a, jint x, jint y, jint flags);
void paintWrapped(cActor* a);
void paintRelativeToCamera(cActor* a, bool relative);
void paintEffectLayer(jint layer);
// One effect as its layer paints it (skipped when free or finished with
// flag 0x2000; clipped to its frame with 0x40000; view-fixed with 0x20000).
void paintPooledEffect(cActor* e);
void paintEffect(cActor* a, bool relative);
void updateEffectPool();
void resetEffectPool();
cActor* spawnEffectAt(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint paintFlags, jint hitFlags);
// A marker of sprite (10, 18) (animation 0) on layer 12 that lives
// `lifetime` steps, its frame standing 5 px below y: with inView, x is a
// world x placed in the view and y a view y (the effect is view-fixed);
// otherwise x is a world x and y counts from the top of the view. Null
// when that sprite is not loaded.
cActor* spawnScreenEffect(jint x, jint y, jint lifetime, bool inView);
// The segment slot whose range [4, 6] holds v, else a scratch slot (zeros,
// re-zeroed each call; callers only read it).
IntArray* findSlotForValue(jint v);

}  // namespace game

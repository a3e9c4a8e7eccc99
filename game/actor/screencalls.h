// The actor framework's routines the screens call by name: special items
// and subtype constants for the level scan, the hero at the level's end and
// on the game-over screen, the effects the screens make, paint and clear,
// the level's actor clean-up, and what the heads-up display reads of the
// hero and its partner. A missing hero or actor (null) is answered with
// -1, false or no change, never a crash.
#pragma once

#include "game/flow/input.h"
#include "runtime/object.h"

class BSprite;
class cActor;

namespace game {

// Special items collected in the level (the first of cActor.itemCounts).
jint specialItemCount();
// Constant i of an actor subtype's parameter row; -1 when the subtype has
// no row (or no tables are loaded).
jint subtypeParamOrNone(jint subtype, jint i);

// Every live effect of the pool deactivated.
void deactivateEffects();

// --- the hero at the level's end -------------------------------------------
// The hero's type, subtype and animation; -1 without a hero.
jint heroType();
jint heroSubtype();
jint heroAnimation();
// The hero's animation stands on its last frame (or it has none).
bool heroAnimationEnded();
void advanceHeroAnimation();
// Level complete, on entering: release the hero's child; unless hero
// state 38 the hero becomes the camera target; the hero's lock mask
// gets every bit but the top one; unless hero state 38 or 40 or stage
// 8, hero state 0; unless the game is finished: animation 41 for
// subtype 3010, else 40 unless stage 8, and unless hero state 38 or 40
// the effect (8, 18) attached (animation 30, layer 2, flags 24576).
void beginLevelEnd(bool gameFinished, jint stage);
// The fireworks effect actor (sprite 12 of pack 1 at the camera centre,
// layer 2, flag 0x80000), or null.
cActor* spawnFireworksEffect();
// Leaving the level-complete state with its effect: the hero's hit kind
// cleared, the effect actors deactivated, the effect's sprite and
// animation cleared, only the top bit of the hero's lock mask kept.
void endLevelEnd(cActor* effect);
// Game over: the falling-hero effect (sprite 8 of pack 1, animation 10,
// at (400, 360), layer 11, flag 0x20000).
void spawnFallingHero();

// --- level start and end -------------------------------------------------
// The effect list reset and every actor removed; with dropCharacters the
// characters go too and cGame.hero becomes null, so that the next level
// load makes them anew at its records (cGame.removeAllActors).
void clearLevelActors(bool dropCharacters);
// The segment objects made anew (int[3][9]).
void resetSegments();
// Releases the effect the boss code holds (its attached effect).
void releaseAttachedEffect();
// Moves the hero to (x, y) in 1/256 pixel.
void moveHeroTo(jint x, jint y);

// --- effects of the screens ----------------------------------------------
// A new effect actor (the effect pool's) showing animation anim of sprite
// at view point (x, y), on layer, with flags, scale 100 and the animation
// restarted; effectId -1 lets the pool choose. Null when the pool has none
// free (the inert stand-in is never handed to the screens).
cActor* spawnScreenEffect(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint flags, jint effectId);
// The actor's animation stands on its last frame (or it has none).
bool animationEnded(cActor* actor);
// Deactivates a screen's actor (never the inert stand-in).
void deactivateScreenActor(cActor* actor);
// Paints a screen's actor: a pooled effect as its layer would paint it,
// a level actor through the actor painter.
void paintScreenActor(cActor* actor);
// Gives the actor a sprite and animation (restarted) at (x, y).
void setActorLook(cActor* actor, BSprite* sprite, jint anim, jint x, jint y);

// --- what the heads-up display reads --------------------------------------
// The hero and the actor it may interact with, as the partner touch zone
// and the side panel's interaction button read them.
PartnerView heroPartnerView();
// The hero faces the actor it may interact with (interaction mode 0, or
// 3 with an actor of subtype 144, lying on the side the hero faces).
bool heroFacesInteraction();

}  // namespace game

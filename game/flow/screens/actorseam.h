// What the screens need of the actor framework, which sits above the
// core library: the actor library (or the program that assembles the game)
// installs an object with setScreenActorHooks before play; until then a
// built-in one answers neutrally (nothing there: 0, -1, no-ops). The actor
// library's object (game/actor/screenhooks.h) answers every call; the
// neutral answers serve only screens run without it (their own tests).
#pragma once

#include "runtime/object.h"

class BSprite;
class cActor;

namespace game {

class ScreenActorHooks {
public:
    virtual ~ScreenActorHooks() = default;

    // Special items collected in the level (cActor.specialItems).
    virtual jint specialItemCount() { return 0; }
    // The level's special-item ids (cActor.itemId, cActor.item4Id).
    virtual void setLevelItemId(bool fourth, jint id) {}
    virtual jint levelItemId(bool fourth) { return 0; }
    // Constant i of an actor subtype's parameter row; -1 when none.
    virtual jint subtypeParam(jint subtype, jint i) { return -1; }
    // The actor's scale in percent.
    virtual void setScale(cActor* actor, jint percent) {}
    // The hero's action bits of this step (cActor.heroActionMask) and its
    // flag word (cActor.heroFlagWord).
    virtual jint heroActionMask() { return 0; }
    virtual void setHeroActionMask(jint bits) {}
    virtual jint heroFlagWord() { return 0; }

    // --- effects ----------------------------------------------------------
    virtual void deactivateEffects() {}
    virtual void updateEffects() {}
    virtual void updateEffectsFrom(jint layer) {}

    // --- the hero at the level's end ----------------------------------------
    virtual jint heroState() { return -1; }
    virtual jint heroType() { return -1; }
    // The hero's animation stands on its last frame (or it has none).
    virtual bool heroAnimationEnded() { return true; }
    virtual void advanceHeroAnimation() {}
    // Level complete, on entering: release the hero's child; unless hero
    // state 38 the hero becomes the camera target; the hero's lock mask
    // gets every bit but the top one; unless hero state 38 or 40 or stage
    // 8, hero state 0; unless the game is finished: animation 41 for
    // subtype 3010, else 40 unless stage 8, and unless hero state 38 or 40
    // the effect (8, 18) attached (animation 30, layer 2, flags 24576).
    virtual void beginLevelEnd(bool gameFinished, jint stage) {}
    // The fireworks effect actor (sprite 12 of pack 1 at the camera centre,
    // layer 2, flag 0x80000), or null.
    virtual cActor* spawnFireworksEffect() { return nullptr; }
    // Leaving the level-complete state with its effect: the hero's hit kind
    // cleared, the effect actors deactivated, the effect's sprite and
    // animation cleared, only the top bit of the hero's lock mask kept.
    virtual void endLevelEnd(cActor* effect) {}
    // Game over: the falling-hero effect (sprite 8 of pack 1, animation 10,
    // at (400, 360), layer 11, flag 0x20000).
    virtual void spawnFallingHero() {}

    // --- level start and end ---------------------------------------------
    // The effect list reset and every actor removed; with dropCharacters
    // 1 the characters go too and cGame.hero becomes null, so that the next
    // level load makes them anew at its records (cGame.removeAllActors).
    virtual void removeAllActors(jint dropCharacters) {}
    // The segment objects made anew (int[3][9]).
    virtual void resetSegments() {}
    // Releases the effect the hero code holds (the boss's attached effect).
    virtual void releaseAttachedEffect() {}

    // --- play -------------------------------------------------------------
    virtual bool isHeroDead() { return false; }
    // The hero takes input (no script holds it).
    virtual bool isHeroInputFree() { return true; }
    virtual void updateEffectPool() {}
    // Moves the hero to (x, y) in 1/256 pixel.
    virtual void moveHeroTo(jint x, jint y) {}
    virtual jint lives() { return 0; }
    // The level set-up after a lost life (hero from the checkpoint, tile
    // and record states restored, camera reset).
    virtual void setupLevel() {}
    // The play view's layers, effects and actors in their order (layers 0,
    // fields 2, 9, the sky, 10, 13, the hero, 11, fields 3, 12).
    virtual void paintPlayField() {}

    // --- heads-up display -------------------------------------------------
    // A new effect actor (cActor pool of effects) showing animation anim of
    // sprite at view point (x, y), on layer, with flags, scale 100 and the
    // animation restarted; effectId -1 lets the pool choose. Null when the
    // pool has none free.
    virtual cActor* spawnEffect(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint flags, jint effectId) {
        return nullptr;
    }
    // The actor's animation stands on its last frame (or it has none).
    virtual bool animationEnded(cActor* actor) { return true; }
    // The actor's flag word (the keep flag is its top bit).
    virtual jint actorFlags(cActor* actor) { return 0; }
    virtual jint actorAnimation(cActor* actor) { return -1; }
    // One animation step of the actor (cActor.updateAnimation).
    virtual void advanceAnimation(cActor* actor) {}
    virtual void deactivate(cActor* actor) {}
    virtual void paintActor(cActor* actor) {}
    // Paints the live effects of one layer (the loading hints use layer 2).
    virtual void paintEffectsOfLayer(jint layer) {}
    // The actor's sprite, or null.
    virtual BSprite* actorSprite(cActor* actor) { return nullptr; }
    // Where the actor stands (pixels); false when there is no actor.
    virtual bool actorPoint(cActor* actor, jint* x, jint* y) { return false; }
    // Gives the actor a sprite and animation (restarted) at (x, y).
    virtual void setActorLook(cActor* actor, BSprite* sprite, jint anim, jint x, jint y) {}
    // The hero's subtype, animation and scale parameter (cActor.scaleParam).
    virtual jint heroSubtype() { return -1; }
    virtual jint heroAnimation() { return -1; }
    virtual jint heroScaleParam() { return 0; }
    // The hero faces the actor it may interact with (interaction mode 0, or
    // 3 with an actor of subtype 144, lying on the side the hero faces).
    virtual bool heroFacesInteraction() { return false; }
    // Where the pointer's target actor stands (pixels); false when none.
    virtual bool targetPoint(jint* x, jint* y) { return false; }
    // cActor.markA (second false) or cActor.markB: the stat bars' values.
    virtual jint statMark(bool second) { return 0; }
    // cActor.levelMark.
    virtual void setLevelMark(jint v) {}
    // The gauge actor (cGame.targetActor) as the in-game paint reads it:
    // false when there is none.
    struct GaugeActor {
        jint flags = 0, aiState = 0, subtype = 0, subtypeClass = 0, param2 = 0;
        BSprite* sprite = nullptr;
    };
    virtual bool gaugeActor(GaugeActor* out) { return false; }
};

ScreenActorHooks& screenActorHooks();
// Null restores the built-in object. The object must outlive its installation.
void setScreenActorHooks(ScreenActorHooks* hooks);

}  // namespace game

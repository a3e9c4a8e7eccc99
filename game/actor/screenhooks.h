// The actor framework behind the screens' ScreenActorHooks: special items,
// subtype constants, the hero's input bits and state for the level-end and
// death screens, the effects the screens make and clear, the level's actor
// clean-up. The world library derives from it for the calls that need the
// map and camera (the level set-up after a lost life, the play view).
#pragma once

#include "game/flow/input.h"
#include "game/flow/screens/actorseam.h"

namespace game {

class ActorScreenHooks : public ScreenActorHooks {
public:
    jint specialItemCount() override;
    void setLevelItemId(bool fourth, jint id) override;
    jint levelItemId(bool fourth) override;
    jint subtypeParam(jint subtype, jint i) override;
    void setScale(cActor* actor, jint percent) override;
    jint heroActionMask() override;
    void setHeroActionMask(jint bits) override;
    jint heroFlagWord() override;
    void deactivateEffects() override;
    void updateEffects() override;
    void updateEffectsFrom(jint layer) override;
    jint heroState() override;
    jint heroType() override;
    bool heroAnimationEnded() override;
    void advanceHeroAnimation() override;
    void beginLevelEnd(bool gameFinished, jint stage) override;
    cActor* spawnFireworksEffect() override;
    void endLevelEnd(cActor* effect) override;
    void spawnFallingHero() override;
    void removeAllActors(jint dropCharacters) override;
    void resetSegments() override;
    void releaseAttachedEffect() override;
    bool isHeroDead() override;
    bool isHeroInputFree() override;
    void updateEffectPool() override;
    void moveHeroTo(jint x, jint y) override;
    jint lives() override;
    void paintActor(cActor* actor) override;
    cActor* spawnEffect(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint flags, jint effectId) override;
    bool animationEnded(cActor* actor) override;
    jint actorFlags(cActor* actor) override;
    jint actorAnimation(cActor* actor) override;
    void advanceAnimation(cActor* actor) override;
    void deactivate(cActor* actor) override;
    void paintEffectsOfLayer(jint layer) override;
    BSprite* actorSprite(cActor* actor) override;
    bool actorPoint(cActor* actor, jint* x, jint* y) override;
    void setActorLook(cActor* actor, BSprite* sprite, jint anim, jint x, jint y) override;
    jint heroSubtype() override;
    jint heroAnimation() override;
    jint heroScaleParam() override;
    bool heroFacesInteraction() override;
    bool targetPoint(jint* x, jint* y) override;
    jint statMark(bool second) override;
    void setLevelMark(jint v) override;
    bool gaugeActor(GaugeActor* out) override;
};

// The hero and the actor it may interact with, as the partner touch zone
// and the side panel's interaction button read them.
PartnerView heroPartnerView();

// The framework's object (installed by registerActorFramework).
ActorScreenHooks& actorScreenHooks();

}  // namespace game

// The actor framework behind the screens' ScreenActorHooks: special items,
// subtype constants, the hero's input bits and state for the level-end and
// death screens, the effects the screens make and clear, the level's actor
// clean-up. The world library derives from it for the calls that need the
// map and camera (the level set-up after a lost life, the play view).
#pragma once

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
};

// The framework's object (installed by registerActorFramework).
ActorScreenHooks& actorScreenHooks();

}  // namespace game

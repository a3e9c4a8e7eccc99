// The world's flow seam as the assembled game answers it (flowseam.cpp):
// every call goes to the game flow's, the actor framework's or the hero's
// own routine. Only activateDropper stays neutral (a behaviour's).
#pragma once

#include "game/world/scripts.h"

namespace game::world {

class GameFlowSeam : public WorldFlowSeam {
public:
    bool isDialogActive() override;
    bool isPanelSliding() override;
    void openDialog(jint textId, jint a, jint frames, jint kind) override;
    void closeDialog() override;
    void playSound(jint id) override;
    void stopSound(jint id) override;
    void requestLevelEnd() override;
    void requestSetState(jint state) override;
    void resetTransition() override;
    void stopHeroForScript() override;
    void resetHeroState() override;
    void killHero(cActor* hero) override;
    bool isHeroInvulnerable() override;
    void applyHeroDamage(jint amount, jint frames) override;
    void setLevelObjectFlags(jint id, jint bits) override;
    void clearLevelObjectFlags(jint id, jint bits) override;
    void despawnActor(cActor* actor) override;
    void stunByScript(cActor* actor, jint anim) override;
    void startScaleTween(cActor* actor, jint percent, jint steps) override;
    void resetHeroStateAfterLanding() override;
    bool isHeroOfSubtype() override;
    void setPalette(jint palette) override;
};

GameFlowSeam& gameFlowSeam();

}  // namespace game::world

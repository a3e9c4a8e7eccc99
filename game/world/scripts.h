// Level scripts: the table loader, the per-frame runner with its wait
// modes, scene ends, game-level events and the global commands 100-131.
//
// Invariants: the tables are built only from a table that passed the whole
// check (tables.h), so every keyframe, operation and operand lies inside
// its record; a refused or missing table gives empty tables; operands are
// always consumed whether or not an operation acts.
#pragma once

#include "runtime/array.h"

class cActor;

namespace game::world {

// What the scripts and the world ask of the game flow and the hero code;
// the built-in answers keep the bookkeeping on cGame's fields and do
// nothing else.
class WorldFlowSeam {
public:
    virtual ~WorldFlowSeam() = default;
    virtual bool isDialogActive() { return false; }
    virtual bool isPanelSliding() { return false; }
    virtual void openDialog(jint textId, jint a, jint frames, jint kind) {}
    virtual void closeDialog() {}
    virtual void playSound(jint id) {}
    virtual void stopSound(jint id) {}
    virtual void requestLevelEnd() {}
    virtual void requestSetState(jint state) {}
    virtual void resetTransition() {}
    virtual void stopHeroForScript();
    virtual void setHeroState(cActor* hero, jint state);
    virtual void resetHeroState() {}
    virtual void resetHero(cActor* actor, jint x, jint y);
    virtual void killHero(cActor* hero) {}
    virtual bool isHeroInvulnerable() { return false; }
    virtual void applyHeroDamage(jint amount, jint frames) {}
    virtual void setLevelObjectFlags(jint id, jint bits) {}
    virtual void clearLevelObjectFlags(jint id, jint bits) {}
    virtual void despawnActor(cActor* actor) {}
    virtual void activateDropper(cActor* actor) {}
    virtual void stunByScript(cActor* actor, jint anim) {}
    virtual void startScaleTween(cActor* actor, jint percent, jint steps) {}
    virtual void resetHeroStateAfterLanding() {}
    virtual bool isHeroOfSubtype() { return false; }
    virtual void setPalette(jint palette) {}
};
WorldFlowSeam& flowSeam();
void setFlowSeam(WorldFlowSeam* seam);

void loadLevelRecords(ByteArray* table);
void clearScripts();
void runLevelScripts();
void resetAllScripts();
void resetScriptCounters(jint script);
void startScript(jint script);
jint findScriptById(jint id);
jint scriptCount();
jint getFirstActiveScript();
bool isAnyScriptActive();
bool isScriptRunning();
bool isScriptTargetId(jint id);
bool isActorScriptTarget(cActor* actor);
void lockCamera(jint mode, jint ms);
void pauseScripts();
void endScriptWait();
void releaseScriptWaitIfIdle();
// The cut-scene skip's pair: the wait mode the scripts are held in and the
// flag that holds them (cGame.scriptsWaiting). Mode 9 is no wait and
// clears the flag, so a skip runs the scenes on to their end.
void setCameraLockMode(jint mode);
jint cameraLockFlag();
bool resumeBlockedScript();
void endLevelScript(jint script);
void endAllLevelScripts();
void handleScriptEvent(jint kind, jint a, jint b, jint count);
void clearHeroHold();
void setRestartScriptIndex(jint index);
// Runs one global command; answers its operand length (acts only when
// keyframe frame == script frame and the opcode is 100-131).
jint execScriptCommand(jint opcode, ByteArray* record, jint operand, jint scriptFrame, jint keyFrame);
// Milliseconds to steps of 16 a second, rounded.
constexpr jint msToFrames(jint ms) { return (ms * 16 + 500) / 1000; }

}  // namespace game::world

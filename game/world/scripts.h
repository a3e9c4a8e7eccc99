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

// The scripts' actor commands (flowseam.cpp): the hero's invulnerability
// as script damage sees it; an actor despawned, the load it carries
// leaving the pool; the level's palette.
bool isHeroInvulnerable();
void despawnScriptActor(cActor* actor);
void setLevelPalette(jint palette);

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

// The in-game state, the state after a death and the closing iris
// (states_play.h).
#include "game/flow/screens/states_play.h"

#include "game/data/hooks.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/screens/actorseam.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/playpaint.h"
#include "game/flow/screens/progressrules.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_levelend.h"
#include "runtime/jint.h"

namespace game {

namespace {

constexpr jint kPauseKey = 0x40000;

}  // namespace

bool applyRequestBits(bool scriptRunning) {
    jint& flags = requestFlags();
    if ((flags & kFlagAltMode) && !scriptRunning) {
        fl().altMode = fl().altMode ? 0 : 1;
        flags &= ~kFlagAltMode;
        return true;
    }
    if ((flags & kFlagEndLevel) && !scriptRunning) {
        requestLevelEnd();
        flags &= ~kFlagEndLevel;
        return true;
    }
    if (flags & kFlagExtraLife) {
        flags &= ~kFlagExtraLife;
        setVariable(5, java::iadd(getVariable(5), 1), true);
    } else if (flags & kFlagZeroVariable3) {
        flags &= ~kFlagZeroVariable3;
        setVariable(3, 0, true);
    } else if ((flags & kFlagToStart) && !scriptRunning) {
        flags &= ~kFlagToStart;
        ObjectArray* points = cg().stageStartPoints;
        const jint stage = cg().stage;
        auto* p = points && stage >= 0 && stage < points->length() ? static_cast<IntArray*>(points->data()[stage])
                                                                   : nullptr;
        if (p && p->length() >= 2 && p->data()[0] != -1)
            screenActorHooks().moveHeroTo(java::imul(p->data()[0], 256), java::imul(p->data()[1], 256));
    }
    return false;
}

void stepLevelTimer() {
    jint& timer = cg().levelTimer;
    if (timer >= 0) {
        timer -= 1;
        if (timer < 0) {
            if (!scr().levelTimerHold) behaviourHooks().kill(cg().hero);
            timer = -1;
        }
    }
    if (IntArray* s = cg().levelStats; s && s->length() > 10) s->data()[10] = java::iadd(s->data()[10], 1);
}

void stepShake() {
    cGameStatics& g = cg();
    if (g.shakeTimer > 0) {
        g.shakeTimer -= 1;
        IntArray* pattern = g.shakeOffsets;
        const jint n = pattern ? pattern->length() : 0;
        g.shakeOffset = n > 0 ? pattern->data()[java::irem(g.shakeTimer, n)] : 0;
    } else {
        g.shakeOffset = 0;
    }
}

void stateGameplay(jint message) {
    cGameStatics& g = cg();
    ScreensStatics& s = scr();
    WorldHooks& world = worldHooks();
    switch (message) {
    case 2: {
        const jint prev = g.previousState;
        if (prev == 33 || prev == 11 || (prev == 20 && fl().musicOnAtPause) || fl().musicOnAtSuspend)
            playSound(g.levelMusic);
        setDisplayValue(true, -1);
        setDisplayValue(false, -1);
        break;
    }
    case 1:
        if (fl().dialogMode != 3) paintGameplay();
        paintPanel();
        paintDialog();
        break;
    case 4: stopSound(-1); break;
    case 5:
        if (fl().dialogMode != 3) pauseGame();
        break;
    case 0: {
        const bool scriptRunning = world.isAnyScriptActive();
        if (g.stage == 10 && g.levelMusic != -1 && !isMusicChannelActive() && !fl().paused && !fl().statePending &&
            !screenActorHooks().isHeroDead())
            playSound(g.levelMusic);
        if (g.lookMode == -1 || g.lookMode == 1) {
            g.lookMode = 66;
            g.lookAheadForcedX = 30001;
        }
        g.playFrames = java::iadd(g.playFrames, 1);
        updateTweens();
        if (s.effectCountdown > 0) s.effectCountdown -= 1;
        setDisplayValue(true, -1);
        setDisplayValue(false, -1);
        if (isKeyPressed(kPauseKey) && fl().touchActive && g.panelOffset == 0) {
            pauseGame();
            break;
        }
        world.updateLayerOffsets();
        if (g.cameraSnap) {
            world.updateCamera(0);
            g.cameraSnap = false;
        }
        world.updateLevelObjects();
        world.updateAllActors();
        if (isPanelSliding()) updatePanel();
        updateDialog();
        matchKeySequence();
        if (applyRequestBits(scriptRunning)) break;
        if (!scriptRunning) {
            stepLevelTimer();
        } else if (!s.skipCutscene) {
            world.runLevelScripts();
            world.resumeBlockedScript();
        }
        stepShake();
        if (fl().dialogMode != 3) {
            screenActorHooks().updateEffectPool();
            handlePanelTouch();
            world.updateHeroFrame();
            if (!g.cameraSnap) world.updateCamera(1);
        }
        behaviourHooks().updateSegmentObjects();
        if (g.nextStage != g.stage) startLevel(g.nextStage);
        break;
    }
    default: break;
    }
}

void stateAfterDeath(jint message) {
    switch (message) {
    case 2: cg().panelOffset = 240; break;
    case 0:
        if (isPanelSliding()) {
            updatePanel();
            break;
        }
        if (screenActorHooks().lives() < 1) {
            requestSetState(19);
        } else {
            screenActorHooks().setupLevel();
            requestSetState(kStatePlay);
        }
        updatePanel();
        break;
    case 1:
        stateGameplay(1);
        break;
    case 3: resetKeys(); break;
    default: break;
    }
}

void state13(jint message) {
    ScreensStatics& s = scr();
    switch (message) {
    case 2: s.irisRadius = 176; break;
    case 0:
        s.irisRadius -= 10;
        if (s.irisRadius <= 0) finishGame();
        break;
    default: break;
    }
}

}  // namespace game

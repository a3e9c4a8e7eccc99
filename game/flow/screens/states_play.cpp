// The in-game state, the state after a death and the closing iris
// (states_play.h).
#include "game/flow/screens/states_play.h"

#include "display/lcdui/graphics.h"
#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/paint.h"
#include "game/actor/screencalls.h"
#include "game/behaviour/routines.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/playpaint.h"
#include "game/flow/screens/progressrules.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_levelend.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "game/world/paint.h"
#include "game/world/panel.h"
#include "game/world/regions.h"
#include "game/world/screencalls.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"

namespace game {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
constexpr jint kPauseKey = 0x40000;
constexpr jint kSkipKey = 0x20000;
constexpr jint kPoolSkipTaken = 100;
constexpr jint kFastForwardRounds = 100000;

}  // namespace

bool applyRequestBits(bool scriptRunning) {
    jint& flags = requestFlags();
    if ((flags & kFlagAltMode) && !scriptRunning) {
        cg().altMode = cg().altMode ? 0 : 1;
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
            moveHeroTo(java::imul(p->data()[0], 256), java::imul(p->data()[1], 256));
    }
    return false;
}

bool stepSkipAndPause() {
    cGameStatics& s = cg();
    if (s.cutsceneSkippable && !s.skipCutscene) {
        const bool key = isKeyPressed(kSkipKey);
        const bool touch = takeRect3Tap();
        if (touch && s.touchActive) {
            // The two-tap acknowledgement: a pending hint is taken first; an
            // armed skip is disarmed and ends the update.
            if (s.skipHintPending) {
                printLine(StaticClass::getStringConstant(kPoolSkipTaken));
                s.skipHintPending = false;
                s.skipArmed = true;
            } else if (s.skipArmed) {
                s.skipArmed = false;
                return true;
            }
        }
        if (key || (touch && !s.skipHintPending && !s.skipArmed)) {
            playSound(34);
            s.skipCutscene = true;
            game::world::setCameraLockMode(9);
            closeDialog();
        }
        setDisplayValue(true, 15);
        setDisplayValue(false, -1);
        return false;
    }
    setDisplayValue(true, -1);
    setDisplayValue(false, -1);
    const bool pause = isKeyPressed(kPauseKey) || (s.dialogMode != 3 && takeRect3Touch());
    if (pause && s.touchActive && cg().panelOffset == 0) {
        pauseGame();
        return true;
    }
    return false;
}

void fastForwardScripts() {
    // Bounded: a script that never ends cannot hold the game thread.
    jint rounds = 0;
    while (game::world::cameraLockFlag() != 1 && game::world::isAnyScriptActive()) {
        if (++rounds > kFastForwardRounds) {
            ::logPrintf("cut-scene skip: scripts still running after %d rounds; left to run", kFastForwardRounds);
            break;
        }
        game::world::runLevelScripts();
        game::world::setCameraLockMode(9);
        if (cg().dialogMode == 2) markAllVariablesChanged();
        if (cg().dialogMode >= 0) closeDialog();
        cg().dialogMode = -1;
    }
    game::world::resumeBlockedScript();
    cg().skipCutscene = false;
}

void stepLevelTimer() {
    jint& timer = cg().levelTimer;
    if (timer >= 0) {
        timer -= 1;
        if (timer < 0) {
            if (!cg().levelTimerHold) game::behaviour::kill(cg().hero);
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

void paintTargetGauge() {
    cGameStatics& g = cg();
    const cActor* t = g.targetActor;
    if (g.panelOffset != 0 || !t || g.gameState != kStatePlay) return;
    if (!game::world::isRegionFlagSet(g.stage) && !((t->flags & 32) && t->aiState != 30)) return;
    // The gauge's value is parts[2]: the actor set-up puts the class number
    // there for the class subtypes and the boss routines count their hits
    // off it (hits taken = class - parts[2]), so against the class as
    // maximum it is the hit points left. params[2] is an attack-box height
    // for these subtypes and would make no gauge.
    const jint subtype = t->subtype;
    const jint hitsLeft = t->parts && t->parts->length() > 2 ? t->parts->data()[2] : 0;
    BSprite* sprite = t->sprite;
    drawGauge(79, 108, 718, 12, getSubtypeClass(subtype), hitsLeft);
    if (Graphics* gr = cg().graphics) gr->setClip(0, 0, 480, 800);
    jint frame = subtype == 3003 ? 11 : subtype == 20 ? 6 : 14;
    struct Special {
        jint subtype, frame;
    };
    for (const Special sp : {Special{238, 17}, Special{255, 20}, Special{241, 18}, Special{246, 19}})
        if (subtype == sp.subtype) {
            sprite = getSpriteById(18, 18);  // sprite 18 of pack 1
            frame = sp.frame;
        }
    if (sprite && frame < sprite->getFrameCount()) sprite->paintFrame(cg().graphics, frame, 50, 120, 0, 0, 0);
}

void paintPlay() {
    cGameStatics& g = cg();
    game::world::updateLayerOffsets();
    if (cg().dialogMode != 3) {
        game::world::paintLayerView(0, 0, 0);
        paintGameplay();
    }
    game::world::paintSidePanel();
    if (getVariable(2) > 0) paintStatBarA();
    if (getVariable(8) > 0) paintStatBarB();
    game::world::paintOverlayMessage();
    paintTargetPointer();
    paintTargetGauge();
    g.shakeOffset = 0;
    paintLevelTimer();
    clearScreenOnce();
    paintPanel();
    paintDialog();
    if (game::world::isAnyScriptActive() && cg().dialogMode == 3) {
        setListArrowZones(400, 45, 400, 435);
        const jint t = getCurrentEntryValue();
        paintSpriteAnim(107, isPrevArrowTouched() ? 2 : 0, t, 400, 45);
        paintSpriteAnim(107, isNextArrowTouched() ? 3 : 1, t, 400, 435);
    }
    paintInGameSoftKeys();
}

void stateGameplay(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2: {
        const jint prev = g.previousState;
        if (prev == 33 || prev == 11 || (prev == 20 && cg().musicOnAtPause) || cg().musicOnAtSuspend)
            playSound(g.levelMusic);
        setDisplayValue(true, -1);
        setDisplayValue(false, -1);
        if (Graphics* loading = cg().overlayGraphics) loading->setClip(0, 0, 540, 864);
        break;
    }
    case 1: paintPlay(); break;
    case 4: stopSound(-1); break;
    case 5:
        if (cg().dialogMode != 3) pauseGame();
        break;
    case 0: {
        const bool scriptRunning = game::world::isAnyScriptActive();
        if (g.stage == 10 && g.levelMusic != -1 && !isMusicChannelActive() && !cg().paused && !cg().statePending &&
            !isHeroDead(cg().heroStatus))
            playSound(g.levelMusic);
        if (g.lookMode == -1 || g.lookMode == 1) {
            g.lookMode = 66;
            g.lookAheadForcedX = 30001;
        }
        g.playFrames = java::iadd(g.playFrames, 1);
        updateTweens();
        if (g.effectCountdown > 0) g.effectCountdown -= 1;
        if (stepSkipAndPause()) break;
        // The soft keys' labels show from now on (not in state 22).
        cg().displayState = 1;
        game::world::updateLayerOffsets();
        if (g.cameraSnap) {
            game::world::updateCamera(0);
            g.cameraSnap = false;
        }
        game::world::updateLevelObjects();
        game::world::updateAllActors();
        if (isPanelSliding()) updatePanel();
        updateDialog();
        matchKeySequence();
        consumeScreenTouch();
        if (applyRequestBits(scriptRunning)) break;
        if (!scriptRunning) {
            stepLevelTimer();
        } else if (!g.skipCutscene) {
            game::world::runLevelScripts();
            game::world::resumeBlockedScript();
        } else {
            fastForwardScripts();
        }
        stepShake();
        if (cg().dialogMode != 3) {
            updateEffectPool();
            handlePanelTouch();
            game::world::updateHeroFrame();
            if (!g.cameraSnap) game::world::updateCamera(1);
        }
        game::behaviour::updateSegmentObjects();
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
        if (getVariable(5) < 1) {
            requestSetState(19);
        } else {
            game::world::setupLevelAfterLostLife();
            requestSetState(kStatePlay);
        }
        updatePanel();
        break;
    case 1:
        paintPlay();
        paintPanel();
        break;
    case 3: resetKeys(); break;
    default: break;
    }
}

void state13(jint message) {
    cGameStatics& s = cg();
    switch (message) {
    case 2: s.irisRadius = 176; break;
    case 0:
        s.irisRadius -= 10;
        if (s.irisRadius <= 0) finishGame();
        break;
    case 1:
        if (Graphics* g = cg().graphics) {
            g->setClip(0, 0, 480, 800);
            g->setColor(static_cast<jint>(0x80000000));
            fillScreen(g, 240, 400, s.irisRadius, nullptr, true);
        }
        break;
    default: break;
    }
}

}  // namespace game

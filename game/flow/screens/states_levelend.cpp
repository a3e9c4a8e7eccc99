// Level complete, results, game over and the end of the game
// (states_levelend.h). Painting lives with the screen painters.
#include "game/flow/screens/states_levelend.h"

#include "display/lcdui/graphics.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/showcase/showcase.h"
#include "game/flow/screens/firework.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/levelend.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/playpaint.h"
#include "game/flow/screens/progressrules.h"
#include "game/flow/screens/screenpaint.h"
#include "game/flow/screens/screens.h"
#include "game/actor/actor.h"
#include "game/actor/paint.h"
#include "game/actor/screencalls.h"
#include "game/flow/screens/states_start.h"
#include "game/world/camera.h"
#include "game/world/paint.h"
#include "game/world/panel.h"
#include "game/world/scripts.h"
#include "runtime/jint.h"

namespace game {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
constexpr jint kConfirmKeys = 0x50020;
constexpr jint kStartKeys = 0x10020;
constexpr jint kIrisStart = 176;
constexpr jint kIrisStep = 10;
constexpr jint kShowMinimumSteps = 48;
constexpr jint kGameOverSteps = 80;
constexpr jint kLastStage = 10;

bool confirmed(jint keys) { return isKeyPressed(keys) || isConfirmTouched(); }

}  // namespace

void finishGame() {
    cGameStatics& s = cg();
    s.keepMusic = true;
    s.gameFinished = false;
    cg().gameCompleted = true;
    setProgressByte(193, 1);
    saveProgress();
    startLevel(0);
}

void leaveCompletedLevel() {
    const jint script = cg().hero ? cg().hero->getParam(3) : 0;
    const jint found = cg().hero ? game::world::findScriptById(script) : -1;
    if (found < 0) {
        bool bonus = false;
        IntArray* b = cg().bonusStages;
        for (jint i = 0; b && i < b->length(); ++i) bonus |= b->data()[i] == cg().stage;
        requestSetState(bonus ? 32 : 30);
        return;
    }
    cg().panelOffset = 480;
    game::world::startScript(found);
    requestSetState(kStatePlay);
}

namespace {

// Where the closing iris centres: on the hero while it stands in the view
// (the screen point of its foot, moved 50 pixels across and 70 along the
// canvas), else on the screen's centre. Canvas pixels.
void irisCentre(jint* cx, jint* cy) {
    *cx = 240;
    *cy = 400;
    const cActor* hero = cg().hero;
    if (!hero) return;
    const jint hx = hero->posX, hy = hero->posY;
    const jint dx = java::isub(hx, cg().cameraX), dy = java::isub(hy, cg().cameraY);
    if (dx < -400 || dx > 400 || dy < -1 || dy > 240) return;
    // View (400 + dx, 240 + dy) is canvas (240 - dy, 400 + dx).
    *cx = 240 - dy - 50;
    *cy = 400 + dx + 70;
}

}  // namespace

void paintLevelComplete() {
    cGameStatics& s = cg();
    if (s.endPhase != 1) {
        game::world::paintLayerView(0, 0, 0);
        paintGameplay();
        game::world::paintSidePanel();
    }
    Graphics* g = cg().graphics;
    if (g) g->setClip(0, 0, 480, 800);
    if (heroAnimationEnded()) {
        // The play view is kept darkened in the loading picture; the iris
        // closes over it.
        if (cg().levelFinished) capturePlayView(0);
        drawLoadingImage();
        if (!s.gameFinished && g) {
            jint cx = 0, cy = 0;
            irisCentre(&cx, &cy);
            g->setColor(static_cast<jint>(0x80000000));
            fillScreen(g, cx, cy, s.irisRadius, nullptr, true);
        }
    }
    paintEffectLayer(2);
    if (s.endPhase == 1) {
        setFontPalette(0, 6);
        drawTextById(0, 44, 400, 25, 17);
        drawTextById(0, 45, 400, 255, 17);
        paintFireworks(cg().graphics);
    }
}

void state21(jint message) {
    cGameStatics& s = cg();
    switch (message) {
    case 1: paintLevelComplete(); break;
    case 2:
        deactivateEffects();
        beginLevelEnd(s.gameFinished, cg().stage);
        if (!s.gameFinished) playSound(1);
        s.irisRadius = kIrisStart;
        cg().levelFinished = true;
        s.endTimer = 0;
        s.endPhase = 0;
        break;
    case 0:
        if (ca().heroState != 38) game::world::updateCamera(0);
        updateEffectPool();
        if (!heroAnimationEnded()) {
            advanceHeroAnimation();
            break;
        }
        if (s.endPhase == 0) {
            if (s.irisRadius == -1 && s.endTimer > 0) {
                s.endTimer -= 1;
                break;
            }
            s.irisRadius -= kIrisStep;
            if (s.irisRadius > 0) break;
            s.endTimer = 0;
            if (s.gameFinished) {
                finishGame();
                break;
            }
            // Every level end gets a fresh show.
            s.endPhase = 1;
            s.fireworkPhase = 0;
            s.endEffect = spawnFireworksEffect();
        } else if (s.endPhase == 1) {
            s.endTimer += 1;
            spawnFireworks();
            const bool pressed = isAnyKeyPressed() || isConfirmTouched();
            if ((pressed && s.endTimer >= kShowMinimumSteps) || (s.fireworkPhase == 1 && s.fireworksAlive == 0)) {
                clearFireworkState();
                leaveCompletedLevel();
            }
        }
        break;
    case 3:
        if (s.endEffect) {
            setVariable(6, 0, true);
            endLevelEnd(s.endEffect);
            s.endEffect = nullptr;
        }
        break;
    default: break;
    }
}

void saveResultsAndLeave() {
    cGameStatics& g = cg();
    const jint difficulty = checkedDifficulty(g.difficulty, "results");
    const jint stage = g.stage;
    const jint next = nextStageAfter(stage);
    if (stage < kLastStage && next >= 0) {
        setLevelFlag(next, difficulty);
        setCurrentStage(difficulty, next);
    }
    writeSaveInt(194, g.progressBits);
    setProgressByte(kByteLastDifficulty, difficulty);
    saveLevelResult();
    saveProgress();
    unloadLevel();
    stateParam() = 0;
    if (stage >= kLastStage || next < 0) {
        // State 18 pushed the results: back to it.
        requestPopState();
    } else {
        // The level load stays the one request of this step.
        startLevel(next);
    }
}

void state30(jint message) {
    cGameStatics& s = cg();
    switch (message) {
    case 2:
        resetKeys();
        s.resultsRedraw = true;
        s.tallyDone = false;
        cg().levelScore = computeLevelScore();
        s.tallyLine = -1;
        nextTallyLine();
        setDisplayValue(true, -1);
        setDisplayValue(false, 17);
        playSound(3);
        prepareLoadingScreen();
        break;
    case 0:
        updateEffectPool();
        stepTally();
        if (confirmed(kConfirmKeys)) {
            playSound(34);
            if (s.tallyDone) saveResultsAndLeave();
            finishTally();
            s.tallyDone = true;
        }
        break;
    case 5: s.resultsRedraw = true; break;
    case 1: paintResults(); break;
    default: break;
    }
}

void state19(jint message) {
    switch (message) {
    case 2:
        resetCurrentLevelState();
        if (heroType() == 0) spawnFallingHero();
        break;
    case 0:
        if (stateTicks() == kGameOverSteps) {
            deactivateEffects();
            cg().fullRedraw = true;
            // The question menu 21 over the game-over screen, on the menus'
            // background.
            pushQuestionMenu(21, 0);
            preparePanelBackground();
        }
        cActor::updateEffectsFrom(11);
        break;
    case 1: paintGameOver(); break;
    default: break;
    }
}

void state18(jint message) {
    cGameStatics& s = cg();
    s.endTimer = java::iadd(s.endTimer, stepDelta());
    switch (message) {
    case 1:
        if (s.endingPhase == 0) paintEnding();
        break;
    case 2:
        stopSound(-1);
        s.endingPhase = 0;
        s.endTimer = 0;
        setRecordFlag(storedDifficulty());
        s.endingScroll = 460;
        break;
    case 0:
        switch (s.endingPhase) {
        case 0:
            if (!confirmed(kStartKeys)) break;
            s.endingPhase = 1;
            if (storedDifficulty() == 2 && (progressByte(kStageMaskByte) & 8) == 0) requestPushState(17);
            break;
        case 1: s.endingPhase = 2; break;
        case 2:
            s.endingPhase = 3;
            requestPushState(30);
            break;
        case 3:
            s.endingPhase = 4;
            requestPushState(8);
            break;
        case 4:
            s.endingPhase = 5;
            requestPushState(35);
            break;
        case 5:
            s.endingPhase = 6;
            if (Showcase::getEntryCount() > 0 && s.promoEnabled) requestPushState(34);
            break;
        case 6: s.endingPhase = 7; break;
        case 7:
            s.endingPhase = 8;
            if (Showcase::getEntryCount() > 0) {
                requestSetState(9);
                setProgressByte(0, 1);
                saveProgress();
            }
            returnToMainMenu();
            break;
        default: break;
        }
        break;
    default: break;
    }
}

}  // namespace game

// The flow library's own handlers of the start chain, for programs built
// without the screens (the screens' installScreenStates replaces 1, 3 and
// 11): state 1 (first-time set-up, the first loading step, a menu-data
// load leading to the title), state 11 (plan, then one loading record a
// step, then the requested state) and state 3 (sound on, the title music,
// a text-pack string), plus the question menu state 24.
#include "display/lcdui/graphics.h"
#include "game/data/pack.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/loading.h"
#include "game/flow/screen.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "runtime/application.h"

namespace game {

namespace {

constexpr jint kFirstStep = 413;
constexpr jint kTitleText = 0x10000;

void copyOffsetCurve() {
    IntArray* src = cg().splashOffsets;
    const jint n = src ? src->length() : 0;
    IntArray* curve = newIntArray(n);
    cg().offsetCurve = curve;
    for (jint i = 0; i < n; ++i) cg().offsetCurve->data()[i] = cg().splashOffsets->data()[i];
}

void stateStart(jint message) {
    switch (message) {
    case kMsgEnter: {
        ObjectArray* slots = newObjectArray(cid::Object, kSpriteSlots);
        cg().loadSlots = slots;
        loadGameData();
        copyOffsetCurve();
        runLoadStep(kFirstStep);
        if (Application::pendingException()) Application::drainPendingException("state 1, first loading step");
        break;
    }
    case kMsgUpdate:
        if (!cg().statePending) requestLoad(4, 0, 0, 3);
        break;
    case kMsgPaint: clearScreen(0xFFFFFF); break;
    default: break;
    }
}

void stateLoad(jint message) {
    switch (message) {
    case kMsgEnter:
        cg().loadStepsDone = -1;
        KTLibPlayer::request(0, 4, -1, -1, -1, -1);
        cg().currentMusic = -1;
        break;
    case kMsgUpdate:
        stateLoading();
        catchException();
        break;
    case kMsgPaint: {
        clearScreen(0);
        const jint done = cg().loadStepsDone > 0 ? cg().loadStepsDone : 0;
        drawBar(40, 380, 400, 16, cg().loadStepsTotal, done, 0xFF0000, 0xFFFFFF);
        break;
    }
    default: break;
    }
}

void stateTitle(jint message) {
    switch (message) {
    case kMsgEnter:
        cg().soundOn = 1;
        playSound(0);
        break;
    case kMsgPaint:
        clearScreen(0);
        drawTextById(0, kTitleText, 400, 240, 3);
        break;
    default: break;
    }
}

}  // namespace

void installCoreStateHandlers() {
    setStateHandler(1, &stateStart);
    setStateHandler(11, &stateLoad);
    setStateHandler(3, &stateTitle);
    setStateHandler(24, &stateMenu);
}

}  // namespace game

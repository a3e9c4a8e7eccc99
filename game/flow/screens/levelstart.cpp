// Level start, restart, unload and the per-level clean-up (levelstart.h).
#include "game/flow/screens/levelstart.h"

#include "game/actor/screencalls.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/screens.h"
#include "game/sprite/sprite.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "runtime/system.h"

namespace game {

namespace {

void clearCameraAndBanner() {
    cg().riseScroll = 0;
    cg().riseScrollStep = 0;
    cg().bannerTimer = 0;
}

void releaseLevelSprites() {
    ObjectArray* sprites = cg().levelSprites;
    for (jint i = 0; sprites && i < 4 && i < sprites->length(); ++i) {
        if (auto* s = static_cast<BSprite*>(sprites->data()[i])) s->releasePixelData();
        sprites->data()[i] = nullptr;
    }
}

}  // namespace

jint findListEntry(jint value) {
    IntArray* order = cg().stageOrder;
    for (jint i = 0; order && i < order->length(); ++i)
        if (order->data()[i] == value) return i;
    return -1;
}

jint nextStageAfter(jint stage) {
    IntArray* order = cg().stageOrder;
    const jint i = findListEntry(stage);
    return order && i >= 0 && i + 1 < order->length() ? order->data()[i + 1] : -1;
}

void resetLevelState() {
    setVariable(2, 0, true);
    setVariable(8, 0, true);
    cg().scriptRestartMark = -1;
    cg().bannerTimer = 0;
    closeDialog();
    game::world::endAllLevelScripts();
    cg().fillScreenOn = false;
    cg().fireworksOn = false;
    if (!cg().keepMusic) {
        stopSound(0);
        cg().currentMusic = -1;
    }
    cg().keepMusic = false;
    clearLevelActors(true);
    // The old level's tables are forgotten: records, scripts, camera target.
    world::clearLevelRecords();
    world::clearScripts();
    cg().cameraTarget = nullptr;
    clearTileAttributes();
    java_lang_System::gc();
}

void startLevel(jint stage) {
    clearCameraAndBanner();
    cg().frameLatched = 0;
    cg().nextStage = stage;
    resetLevelState();
    world::clearMapRegions();
    releaseLevelSprites();
    java_lang_System::gc();
    cg().overlayDirty = true;
    cg().stage = stage;
    resetSegments();
    cg().tweenActors = newObjectArray(cid::Object, 5);
    for (jint i = 0; cg().tweenSlots && i < cg().tweenSlots->length(); ++i) cg().tweenSlots->data()[i] = -1;
    startLevelLoad();
}

void startLevelLoad() {
    clearLoadRequest();
    IntArray* r = loadRequest();
    r->data()[0] = kLoadLevel;
    r->data()[1] = cg().stage;
    if (cg().stage != 0) cg().skipIntro = false;
    r->data()[3] = cg().skipIntro ? kStatePlay : kStateIntro;
    releaseAttachedEffect();
    cg().checkpointTimer = 0;
    pickLoadingHint();
    requestSetState(kStateLoading);
}

void restartLevel() {
    clearCameraAndBanner();
    cg().frameLatched = 0;
    resetLevelState();
    setReuseLoadPlan();
    releaseAttachedEffect();
    cg().checkpointTimer = 0;
    startLevelLoad();
}

void unloadLevel() {
    clearCameraAndBanner();
    resetLevelState();
    world::clearMapRegions();
    releaseLevelSprites();
    java_lang_System::gc();
}

}  // namespace game

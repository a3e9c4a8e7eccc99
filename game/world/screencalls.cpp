// The world's routines of the play screens: the level set-up after a lost
// life (hero from the checkpoint, records and regions restored, camera from
// the checkpoint) and the play view's painting order.
#include "game/world/screencalls.h"

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/paint.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/paint.h"

namespace game::world {

void setupLevelAfterLostLife() {
    cGameStatics& g = cg();
    g.hero = g.checkpointActor;
    resetEffectPool();
    g.levelTimer = -1;
    if (ByteArray* a = g.tileAttributes) copyHighNibbleToLow(a, a->length());
    if (ByteArray* a = g.tileAttributesAlt) copyHighNibbleToLow(a, a->length());
    if (ByteArray* p = g.recordPendingFlags)
        for (jint i = 0; i < p->length(); ++i) p->data()[i] = 0;
    ca().trackedCount = 0;
    initLevelVariables();
    if (ByteArray* s = cg().regionStates)
        for (jint i = 0; i < s->length(); ++i) s->data()[i] = 0;
    cg().cameraX = cg().cameraY = 0;
    cg().shakeOffset = 0;
    cg().cameraOffsetX = cg().cameraOffsetY = 0;
    updateCamera(0);
    cg().lookMode = 99;
    cg().lookAheadForcedX = cg().lookAheadForcedY = 30001;
    setCameraLimits(0, 0, cg().mapPixelWidth, cg().mapPixelHeight);
    cg().riseScroll = cg().riseScrollStep = 0;
    if (cActor* h = cg().hero) heroStartLevel(h);
    restoreCheckpointCamera();  // also the camera step unless a region stage
    cg().panelOffset = 0;
    game::removeAllActors(false);
}

// Actors of layer 0; field 2; layer 9; (the sky); layer 10; effects of 13;
// the hero (hidden in the off phase of its blink while invulnerable);
// layer 11; field 3; the front background; layer 12.
void paintPlayField() {
    paintLayerActors(0);
    paintField(2, 2);
    paintEffectLayer(9);
    paintLayerActors(9);
    // (the sky gradient: no stage data names its colours or place yet)
    paintEffectLayer(10);
    paintLayerActors(10);
    paintEffectLayer(13);
    if (cActor* h = cg().hero) {
        const bool blinkOff = h->timer > 0 && (cg().playFrames & 2) != 0;
        if (!blinkOff) game::paintActor(h);
    }
    paintLayerActors(11);
    paintEffectLayer(11);
    paintField(3, 3);
    game::world::drawBackgroundLayers(1);
    paintLayerActors(12);
    paintEffectLayer(12);
}

}  // namespace game::world

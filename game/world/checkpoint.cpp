// Checkpoints (see checkpoint.h).
#include "game/world/checkpoint.h"

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::world {

namespace {

// Copies as many elements as dst holds (or src has); dst made when absent.
void copyInto(IntArray* src, IntArray*& dst, jint length) {
    if (!src) return;
    if (!dst) dst = newIntArray(length);
    for (jint i = 0; i < src->length() && i < dst->length(); ++i) dst->data()[i] = src->data()[i];
}

}  // namespace

void copyLowNibbleToHigh(ByteArray* b) {
    if (!b) return;
    for (jint i = 0; i < b->length(); ++i) {
        const jint v = b->data()[i] & 15;
        b->data()[i] = static_cast<jbyte>(v | v << 4);
    }
}

void commitRecordFlags() {
    cGameStatics& g = cg();
    ByteArray* pending = g.recordPendingFlags;
    ShortArray* starts = g.recordStarts;
    ShortArray* values = g.recordValues;
    if (!pending || !starts || !values) return;
    for (jint i = 0; i < pending->length() && i + 1 < starts->length(); ++i) {
        const jint at = starts->data()[i] + 6;
        if (at < starts->data()[i + 1] && values->inBounds(at))
            values->data()[at] = static_cast<jshort>(applyRecordFlagNibbles(i, values->data()[at]));
        pending->data()[i] = 0;
    }
}

void saveCheckpointStats() {
    cGameStatics& g = cg();
    copyInto(g.heroStatus, g.checkpointHeroStats, g.heroStatus ? g.heroStatus->length() : 0);
    copyInto(g.levelStats, g.checkpointLevelStats, g.levelStats ? g.levelStats->length() : 0);
    copyLowNibbleToHigh(cg().tileAttributes);
    copyLowNibbleToHigh(cg().tileAttributesAlt);
}

void setCheckpoint(cActor* a) {
    cg().checkpointActor = a;
    if (a && a->type == 0) {
        jint y;
        if (ca().heroState == 38) {
            ca().checkpointKeepsY = 1;
            y = a->posY;
        } else {
            ca().checkpointKeepsY = 0;
            y = scanTileColumn(a, a->posX, a->posY, 8);
        }
        a->setRespawnInfo(a->posX, y, 0);
    }
    saveCheckpointStats();
    cGameStatics& g = cg();
    if (!g.checkpointCameraLimits || g.checkpointCameraLimits->length() < 4) g.checkpointCameraLimits = newIntArray(4);
    for (jint i = 0; i < 4; ++i) cg().checkpointCameraLimits->data()[i] = cameraLimit(i);
    cg().checkpointCameraX = cg().cameraX;
    cg().checkpointCameraY = cg().cameraY;
    commitRecordFlags();
}

void initCheckpoint() {
    cActor* h = hero();
    if (!h) return;
    auto param = [&](jint i) { return h->params && h->params->inBounds(i) ? h->params->data()[i] : -1; };
    const jint id = param(cg().heroFallKillOff ? 4 : 0);
    const jint script = findScriptById(id);
    if (script >= 0) {
        startScript(script);
        cg().checkpointAtSceneEnd = 1;
    } else {
        setCheckpoint(h);
    }
    if (param(1) != -1 && param(2) != -1) setCameraCentre(param(1), param(2));
}

void restoreCheckpointCamera() {
    cGameStatics& g = cg();
    IntArray* saved = g.checkpointCameraLimits;
    if (saved && saved->length() >= 4)
        for (jint i = 0; i < 4; ++i) {
            if (!cg().cameraLimits || cg().cameraLimits->length() < 4) cg().cameraLimits = newIntArray(4);
            cg().cameraLimits->data()[i] = cg().checkpointCameraLimits->data()[i];
        }
    cg().cameraX = cg().checkpointCameraX;
    cg().cameraY = cg().checkpointCameraY;
    if (!isRegionFlagSet(cg().stage)) updateCamera(0);
}

}  // namespace game::world

// Camera limits, the centre and the layer scroll positions (see camera.h).
#include "game/world/camera.h"

#include "game/data/statics.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::world {

namespace {

IntArray* limits() {
    cGameStatics& g = cg();
    if (!g.cameraLimits || g.cameraLimits->length() < 4) g.cameraLimits = newIntArray(4);
    return g.cameraLimits;
}

jint clampLowFirst(jint v, jint lo, jint hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}

IntArray* layerPair(jint layer) {
    ObjectArray* pos = cg().layerPositions;
    if (!pos || layer < 0 || layer > 4 || !pos->inBounds(layer)) return nullptr;
    Object* o = pos->data()[layer];
    if (!o || o->classId() != cid::IntArray || static_cast<IntArray*>(o)->length() < 2) return nullptr;
    return static_cast<IntArray*>(o);
}

}  // namespace

jint cameraLimit(jint i) { return limits()->data()[i & 3]; }

void setCameraLimits(jint left, jint top, jint right, jint bottom) {
    IntArray* cur = limits();
    cGameStatics& g = cg();
    if (!g.savedCameraLimits || g.savedCameraLimits->length() < 4) g.savedCameraLimits = newIntArray(4);
    cur = limits();
    for (jint i = 0; i < 4; ++i) cg().savedCameraLimits->data()[i] = cur->data()[i];
    IntArray::fill(cur, {left, top, right, bottom});
}

void restoreCameraLimits() {
    IntArray* cur = limits();
    IntArray* saved = cg().savedCameraLimits;
    if (!saved || saved->length() < 4) return;
    for (jint i = 0; i < 4; ++i) cur->data()[i] = saved->data()[i];
}

void setCameraLimitsToView() {
    const cGameStatics& g = cg();
    setCameraLimits(g.cameraX - 400, g.cameraY - 240, g.cameraX + 400, g.cameraY + 240);
}

void setCameraCentre(jint x, jint y) {
    IntArray* l = limits();
    const jint* q = l->data();
    cGameStatics& g = cg();
    g.cameraX = clampLowFirst(x, q[0] + 400, q[2] - 400);
    g.cameraY = clampLowFirst(y, q[1] + 240, q[3] - 240);
}

bool isCameraShaking() { return cg().cameraStepX != 0 || cg().cameraStepY != 0; }

bool parallaxRow(jint layer, jint row[4]) {
    if (layer != 0 && layer != 1) return false;
    const cGameStatics& g = cg();
    IntArray* t = g.layerParams;
    const jint at = 12 * g.stage + 4 * layer;
    if (!t || at < 0 || at + 4 > t->length()) return false;
    for (jint k = 0; k < 4; ++k) row[k] = t->data()[at + k];
    if (row[1] == 0 || row[3] == 0) {
        static bool logged = false;
        if (!logged) logPrintf("parallax row %d of stage %d has a zero denominator: scrolled 1:1", layer, g.stage);
        logged = true;
        return false;
    }
    return true;
}

void updateLayerOffsets() {
    cGameStatics& g = cg();
    g.cameraX = clampLowFirst(g.cameraX, 400, g.mapPixelWidth - 400);
    g.cameraY = clampLowFirst(g.cameraY, 240, g.mapPixelHeight - 240);
    if (!g.layerPositions) return;
    for (jint l = 0; l < 5; ++l) {
        IntArray* p = layerPair(l);
        if (!p) continue;
        jint x = cg().cameraX, y = cg().cameraY;
        jint row[4];
        if (parallaxRow(l, row)) {
            x = clampLowFirst(java::iadd(java::idiv(java::imul(cg().cameraX - 400, row[0]), row[1]), 400), 400,
                              cg().mapPixelWidth - 400);
            y = clampLowFirst(java::iadd(java::idiv(java::imul(cg().cameraY - 240, row[2]), row[3]), 240), 240,
                              cg().mapPixelHeight - 240);
        }
        p->data()[0] = x;
        p->data()[1] = y;
    }
}

jint getLayerX(jint layer) {
    IntArray* p = layerPair(layer);
    return p ? p->data()[0] : cg().cameraX;
}

jint getLayerY(jint layer) {
    IntArray* p = layerPair(layer);
    return p ? p->data()[1] : cg().cameraY;
}

jint getLayerViewTop(jint layer, bool shifted) {
    jint y = getLayerY(layer);
    jint top = y - 240;
    jint row[4];
    bool oneToOne = layer >= 2 || layer < 0 || !parallaxRow(layer, row) ||
                    (row[0] == 1 && row[1] == 1 && row[2] == 1 && row[3] == 1);
    if (shifted && oneToOne) top = clampLowFirst(y - 240 - cg().shakeOffset, 0, cg().mapPixelHeight - 480);
    return top;
}

}  // namespace game::world

// The camera over the 800 x 480 view and the scroll positions of the five
// map layers (two of them parallax layers).
//
// Invariants: the parallax row of (stage, layer 0/1) is ints
// 12 * stage + 4 * layer of cGame.layerParams, read only when the four
// ints exist and the denominators are not 0 (a missing or bad row scrolls
// 1:1, logged once); the limits' clamps take the lower bound first.
#pragma once

#include "runtime/array.h"

class cActor;

namespace game::world {

void setCameraLimits(jint left, jint top, jint right, jint bottom);
void restoreCameraLimits();
void setCameraLimitsToView();
void setCameraCentre(jint x, jint y);
bool isCameraShaking();
void updateLayerOffsets();
jint getLayerX(jint layer);
jint getLayerY(jint layer);
jint getLayerViewTop(jint layer, bool shifted);
// The parallax row {numX, denX, numY, denY} of a layer; false when the
// layer scrolls 1:1.
bool parallaxRow(jint layer, jint row[4]);
jint cameraLimit(jint i);

}  // namespace game::world

namespace game::world {

// One camera update: smooth 1 eases, 0 snaps.
void updateCamera(jint smooth);
void resetCamera();
bool isDeepDropAhead(cActor* hero, jint cameraY);

}  // namespace game::world

// The built-in hooks and the installed ones (see hooks.h). The defaults that
// do more than nothing keep to cGame's fields: camera limits, layer
// positions and the stage flag table.
#include "game/data/hooks.h"

#include "game/data/statics.h"

namespace game {
namespace {

WorldHooks g_defaultWorld;
BehaviourHooks g_defaultBehaviour;
ShowcaseHooks g_defaultShowcase;
ActorHooks g_defaultActor;

WorldHooks* g_world = &g_defaultWorld;
BehaviourHooks* g_behaviour = &g_defaultBehaviour;
ShowcaseHooks* g_showcase = &g_defaultShowcase;
ActorHooks* g_actor = &g_defaultActor;

IntArray* layerPair(jint layer) {
    ObjectArray* pos = cg().layerPos;
    if (!pos || layer < 0 || layer >= pos->length()) return nullptr;
    return static_cast<IntArray*>(pos->data()[layer]);
}

}  // namespace

void WorldHooks::setCameraLimits(jint left, jint top, jint right, jint bottom) {
    cGameStatics& g = cg();
    if (g.cameraLimits && g.savedCameraLimits && g.savedCameraLimits->length() >= 4 && g.cameraLimits->length() >= 4)
        for (jint i = 0; i < 4; ++i) g.savedCameraLimits->data()[i] = g.cameraLimits->data()[i];
    if (!g.cameraLimits) g.cameraLimits = newIntArray(4);
    IntArray::fill(cg().cameraLimits, {left, top, right, bottom});
}

jint WorldHooks::getLayerViewTop(jint layer, bool) { return getLayerY(layer) - 240; }

jint WorldHooks::getLayerX(jint layer) {
    IntArray* p = layerPair(layer);
    return p && p->length() >= 2 ? p->data()[0] : cg().cameraX;
}

jint WorldHooks::getLayerY(jint layer) {
    IntArray* p = layerPair(layer);
    return p && p->length() >= 2 ? p->data()[1] : cg().cameraY;
}

bool WorldHooks::isRegionFlagSet(jint i) {
    IntArray* f = cg().regionFlags;
    return f && f->inBounds(i) && f->data()[i] == 1;
}

WorldHooks& worldHooks() { return *g_world; }
BehaviourHooks& behaviourHooks() { return *g_behaviour; }
ShowcaseHooks& showcaseHooks() { return *g_showcase; }
ActorHooks& actorHooks() { return *g_actor; }

void setWorldHooks(WorldHooks* hooks) { g_world = hooks ? hooks : &g_defaultWorld; }
void setBehaviourHooks(BehaviourHooks* hooks) { g_behaviour = hooks ? hooks : &g_defaultBehaviour; }
void setShowcaseHooks(ShowcaseHooks* hooks) { g_showcase = hooks ? hooks : &g_defaultShowcase; }
void setActorHooks(ActorHooks* hooks) { g_actor = hooks ? hooks : &g_defaultActor; }

}  // namespace game

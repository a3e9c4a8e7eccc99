// The world's routines behind the core's hooks and the actor framework's
// host (see world.h).
#include "game/world/world.h"

#include "game/actor/actor.h"
#include "game/actor/defaults.h"
#include "game/actor/hero.h"
#include "game/data/hooks.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/flowseam.h"
#include "game/world/screenhooks.h"
#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "game/world/paint.h"
#include "game/world/panel.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/streaming.h"

namespace game::world {

namespace {

class Hooks final : public ActorWorldDefaults {
public:
    void applyHeroStateTables(cActor* h, jint s) override { hero::applyHeroStateTables(h, s); }
    jint heroStateDispatch(cActor* h, jint s, jint p) override { return hero::heroStateDispatch(h, s, p); }
    void resetHero(cActor* a, jint x, jint y) override { hero::resetHero(a, x, y); }
    void resetHeroState() override {
        if (cActor* h = world::hero()) hero::resetHeroState(h);
    }
    void setHeroState(cActor* h, jint s) override { hero::setHeroState(h, s); }
    void heroPhysics(cActor* a) override { world::heroPhysics(a); }
    bool isRowAllClass22(cActor* a) override { return world::isRowAllClass22(a); }
    void moveHeroBy(cActor* h, jint dx, jint dy) override { world::moveHeroBy(h, dx, dy); }
    void setBoxSize(cActor* a, jint w, jint h) override { world::setBoxSize(a, w, h); }
    void stepTilesWhileClass(cActor* a, jint dx, jint dy, jint m) override { world::stepTilesWhileClass(a, dx, dy, m); }
    void stepTilesUntilClass(cActor* a, jint dx, jint dy, jint m) override { world::stepTilesUntilClass(a, dx, dy, m); }
    void setCameraLimits(jint l, jint t, jint r, jint b) override { world::setCameraLimits(l, t, r, b); }
    void updateCamera(jint mode) override { world::updateCamera(mode); }
    void updateLayerOffsets() override { world::updateLayerOffsets(); }
    jint getLayerViewTop(jint layer, bool adjust) override { return world::getLayerViewTop(layer, adjust); }
    jint getLayerX(jint layer) override { return world::getLayerX(layer); }
    jint getLayerY(jint layer) override { return world::getLayerY(layer); }
    void drawBackgroundLayers(jint part) override { world::drawBackgroundLayers(part); }
    void drawTileImage(javax_microedition_lcdui_Graphics* g, BSprite* tiles, jint x, jint y, jint tile, jint t) override {
        world::drawTileImage(g, tiles, x, y, tile, t);
    }
    // The layer through the tile cache at its own scroll position (a
    // parallax layer moves by its table row); (x, y) shifts that view.
    void paintMapLayer(jint layer, jint x, jint y) override {
        world::paintMapLayers({layer}, java::iadd(world::getLayerX(layer) - 400, x),
                              java::iadd(world::getLayerViewTop(layer, true), y));
    }
    void setupLevelMap() override { world::setupLevelMap(); }
    void loadLevelRecords(ByteArray* records) override { world::loadLevelRecords(records); }
    void loadMapRegions(ByteArray* regions) override { world::loadMapRegions(regions); }
    void initCheckpoint() override { world::initCheckpoint(); }
    void setCheckpoint() override { world::setCheckpoint(world::hero()); }
    void setTileAttribute(jint id, jint v, bool high) override { world::setTileAttribute(id, v, high); }
    void endAllLevelScripts() override { world::endAllLevelScripts(); }
    jint findScriptById(jint id) override { return world::findScriptById(id); }
    bool isAnyScriptActive() override { return world::isAnyScriptActive(); }
    void resetScriptCounters(jint s) override { world::resetScriptCounters(s); }
    void resumeBlockedScript() override { world::resumeBlockedScript(); }
    void runLevelScripts() override { world::runLevelScripts(); }
    void startScript(jint i) override { world::startScript(i); }
    void updateAllActors() override { world::updateAllActors(); }
    void updateHeroFrame() override { world::updateHeroFrame(); }
    void updateLevelObjects() override { world::updateLevelObjects(); }
    void paintSidePanel() override { world::paintSidePanel(); }
    void paintOverlayMessage() override { world::paintOverlayMessage(); }
    void fillGradient(IntArray* pixels, jint offset, jint scan, jint w, jint h, jint c1, jint c2) override {
        world::fillTwoColourGradient(pixels, offset, scan, w, h, c1, c2);
    }
};

Hooks g_hooks;

}  // namespace

void registerWorld() {
}

void installWorld() {
    setWorldHooks(&g_hooks);
    setHeroUpdateRoutine(&hero::updateHero);
    setFlowSeam(&gameFlowSeam());
    setScreenActorHooks(&worldScreenHooks());
}

void uninstallWorld() {
    setWorldHooks(nullptr);
    setHeroUpdateRoutine(nullptr);
    setFlowSeam(nullptr);
    setScreenActorHooks(nullptr);
}

void registerPlay() {
    registerActorFramework();
    registerWorld();
    installWorld();
}

}  // namespace game::world

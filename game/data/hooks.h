// The core library's seams upward. The game's core (data, resources, flow)
// sits below the world and hero code, the actor behaviours, the actor
// framework and the cross-promotion screen, and calls them only through
// these interfaces. Each higher library derives from its interface and
// installs its object at start (before Application::init when a class
// initialiser needs it, as the logo actor does); until then, and after
// set...Hooks(nullptr), a built-in object with neutral behaviour answers:
// it does nothing, answers "nothing there" (null, -1, 0, false) or does the
// plain bookkeeping on cGame's fields that the routine's name promises.
//
//   game::worldHooks()      WorldHooks      tile map, camera, layers, scripts, hero states
//   game::behaviourHooks()  BehaviourHooks  per-type actor behaviours
//   game::showcaseHooks()   ShowcaseHooks   the cross-promotion screen
//   game::actorHooks()      ActorHooks      the actor framework
//
// All of them run on the game thread (the Showcase pointer setters on the
// thread of the pointer callbacks, as the fields they write).
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class BSprite;
class cActor;
class String;
class javax_microedition_lcdui_Graphics;
class javax_microedition_midlet_MIDlet;
class javax_microedition_lcdui_Display;
class javax_microedition_lcdui_Canvas;

namespace game {

class WorldHooks {
public:
    virtual ~WorldHooks() = default;

    // --- hero states and movement ----------------------------------------
    virtual void applyHeroStateTables(cActor* hero, jint state) {}
    virtual void heroPhysics(cActor* actor) {}
    virtual jint heroStateDispatch(cActor* hero, jint state, jint phase) { return 0; }
    virtual bool isRowAllClass22(cActor* actor) { return false; }
    virtual void moveHeroBy(cActor* hero, jint dx, jint dy) {}
    virtual void resetHero(cActor* actor, jint x, jint y) {}
    virtual void resetHeroState() {}
    virtual void setBoxSize(cActor* actor, jint w, jint h) {}
    virtual void setHeroState(cActor* hero, jint state) {}
    virtual void stepTilesWhileClass(cActor* actor, jint dx, jint dy, jint classMask) {}
    virtual void stepTilesUntilClass(cActor* actor, jint dx, jint dy, jint classMask) {}

    // --- camera and layers ------------------------------------------------
    // Saves the old limits into savedCameraLimits and sets the new ones.
    virtual void setCameraLimits(jint left, jint top, jint right, jint bottom);
    virtual void updateCamera(jint mode) {}
    // The camera-lock mode (9 clears the lock flag) and the lock flag.
    virtual void setCameraLockMode(jint mode) {}
    virtual jint cameraLockFlag() { return 0; }
    virtual void updateLayerOffsets() {}
    virtual jint getLayerViewTop(jint layer, bool adjust);
    // The layer's scroll position; the camera centre for a value outside 0-4.
    virtual jint getLayerX(jint layer);
    virtual jint getLayerY(jint layer);
    virtual void drawBackgroundLayers(jint part) {}
    virtual void drawTileImage(javax_microedition_lcdui_Graphics* g, BSprite* tileSet, jint x, jint y, jint tile,
                               jint transform) {}
    virtual void paintMapLayer(jint layer, jint x, jint y) {}
    virtual void paintOverlayMessage() {}
    virtual void paintSidePanel() {}
    virtual void fillGradient(IntArray* pixels, jint offset, jint scan, jint w, jint h, jint colour1, jint colour2) {}
    // Entry i of the stage flag table (cGame.regionFlags) equals 1.
    virtual bool isRegionFlagSet(jint i);

    // --- level data, checkpoints, scripts ---------------------------------
    virtual void setupLevelMap() {}
    virtual void loadLevelRecords(ByteArray* records) {}
    virtual void loadMapRegions(ByteArray* regions) {}
    virtual void initCheckpoint() {}
    virtual void setCheckpoint() {}
    virtual void setTileAttribute(jint recordIndex, jint value, bool high) {}
    virtual void endAllLevelScripts() {}
    virtual jint findScriptById(jint id) { return -1; }
    virtual bool isAnyScriptActive() { return false; }
    virtual void resetScriptCounters(jint script) {}
    virtual void resumeBlockedScript() {}
    virtual void runLevelScripts() {}
    virtual void startScript(jint i) {}

    // --- per-step passes --------------------------------------------------
    virtual void updateAllActors() {}
    virtual void updateHeroFrame() {}
    virtual void updateLevelObjects() {}
};

class BehaviourHooks {
public:
    virtual ~BehaviourHooks() = default;

    virtual jint addTrackedValue(jint v) { return -1; }
    virtual jint applyPendingHits(cActor* actor, bool knock) { return 0; }
    virtual void applyRunSpeed(cActor* hero) {}
    virtual bool canEnterState16(cActor* hero) { return false; }
    virtual void classifyHeroContact(cActor* actor) {}
    virtual void driveHeroType61(cActor* actor) {}
    virtual void driveHeroType75(cActor* actor) {}
    virtual void enterPhase47(cActor* actor) {}
    virtual void enterPhase51(cActor* actor, jint flag) {}
    virtual void freezeForScript(cActor* actor) {}
    virtual void initFromLevelData(cActor* actor, ShortArray* table, jint length, jint offset) {}
    virtual void kill(cActor* actor) {}
    virtual void knockbackWeak(cActor* hero, jint direction) {}
    virtual void launchHeroType64(cActor* actor) {}
    virtual void launchRandomly(cActor* actor) {}
    // The next AI state, or 63 for no decision.
    virtual jint onMessage(cActor* actor, jint eventBits, jint test, jint argument) { return 63; }
    // The per-type paints (types 4, 8, 28, 31, 52, 61/75, 76, 78); false
    // when the type has none.
    virtual bool paintType(jint type, cActor* actor, jint dx, jint dy) { return false; }
    virtual void respawn(cActor* actor) {}
    virtual void restoreTrackedCells(cActor* actor) {}
    virtual void saveTrackedCells(cActor* actor) {}
    virtual void stampCollisionTiles(cActor* actor, jint on) {}
    virtual void steerHero(cActor* hero, bool active) {}
    virtual bool steerHeroFacing(cActor* hero, jint a, jint b, jint mode) { return false; }
    virtual bool tryCarryHero(cActor* carrier) { return false; }
    // One logic frame of an actor of that type (the hero's, the per-type
    // routines and the common enemy AI); false when the type has none.
    virtual bool updateType(jint type, cActor* actor) { return false; }
    virtual void updateHero(cActor* hero) {}
    virtual void updateEnemy(cActor* actor) {}
    virtual void updateType6(cActor* actor) {}
    // A scratch array the next call overwrites (read it at once).
    virtual IntArray* pointOnSegment(jint slot, jint x, jint y) { return nullptr; }
    virtual void updateSegmentObjects() {}
};

class ShowcaseHooks {
public:
    virtual ~ShowcaseHooks() = default;

    virtual void setup(javax_microedition_midlet_MIDlet* midlet, javax_microedition_lcdui_Display* display, jint width,
                       jint height, javax_microedition_lcdui_Canvas* canvas) {}
    virtual void open(String* text, jint arg) {}
    // Entering the cross-promotion state: the input reset, open, the
    // loading step count and the first entry.
    virtual void enter(String* text, jint language) {}
    // Handles one action; true when the screen is to close (the built-in
    // screen closes at once).
    virtual bool doAction(jint key) { return true; }
    // Builds the general promotion link; true when there is one.
    virtual bool buildLink() { return false; }
    virtual jint getEntryCount() { return 0; }
    // The index of the first enabled entry, or -1.
    virtual jint getFirstEntry() { return -1; }
    // The menus offer the screen only when this holds.
    virtual bool hasEntries() { return false; }
    virtual jint hitTest(jint x, jint y) { return 0; }
    virtual void paint(javax_microedition_lcdui_Graphics* g) {}
    virtual void requestLink() {}
    // Sets the screen's two display flags (Showcase.ensureRecordStore).
    virtual void setDisplayFlags() {}
    // The pointer callbacks of the cross-promotion state, with the point
    // already turned onto the 800 x 480 screen.
    virtual void pointerPressed(jint x, jint y) {}
    virtual void pointerDragged(jint x, jint y) {}
    virtual void pointerReleased(jint x, jint y) {}
    // The same steps one field at a time: the action drawn pressed, the
    // action performed at the next update (with its flag), and the press
    // position copied while list scrolling is on.
    virtual void setHighlightAction(jint action) {}
    virtual void setPendingAction(jint action) {}
    virtual bool listScrolling() { return false; }
    virtual void setPressPosition(jint x, jint y) {}
};

class ActorHooks {
public:
    virtual ~ActorHooks() = default;

    // The logo actor of the splash screens (cGame's class initialiser).
    virtual cActor* newLogoActor() { return nullptr; }
    // Creates the actor pools when missing.
    virtual void createActorPool() {}
    // A new actor built from the level actor record at start (length values).
    virtual cActor* newActorFromRecord(ShortArray* data, jint length, jint start) { return nullptr; }
    // Element 5 of the type's row of the subtype parameters (its class);
    // -1 when the type has no row.
    virtual jint subtypeClass(jint type) { return -1; }
    // The actor's parameter i (cActor.getParam) and the per-subtype constant
    // i of its subtype (cActor.getTypeParam).
    virtual jint getParam(cActor* actor, jint i) { return 0; }
    virtual jint getTypeParam(cActor* actor, jint i) { return 0; }
    // Sprites and boxes again for every live pooled actor and character.
    virtual void refreshActors() {}
    // State bits 0, then releases a carried actor (grab mode 3: box back
    // to 33 x type param 7; grab mode 7: AI state 9); grab mode 10, no
    // carried actor.
    virtual void releaseCarriedActor() {}
    // The level-start resets of the hero-side actor state, in the order the
    // level reset runs them: bit 0x200 of the hero's flags cleared; the hero
    // lock mask 0; the state bits 0 (releaseCarriedActor does that first).
    virtual void clearHeroFlag200() {}
    virtual void clearHeroLocks() {}
    // The per-level counters before the fixed actors are spawned: special
    // items and two counters 0, one field -1, hero state -1, one byte 0.
    virtual void resetLevelCounters() {}
    // The tracked-value tables made when missing (short[64], int[64]) and
    // their count zeroed.
    virtual void resetTrackedValues() {}
};

WorldHooks& worldHooks();
BehaviourHooks& behaviourHooks();
ShowcaseHooks& showcaseHooks();
ActorHooks& actorHooks();

// Installs a library's hooks; null restores the built-in ones. The object
// must outlive its installation.
void setWorldHooks(WorldHooks* hooks);
void setBehaviourHooks(BehaviourHooks* hooks);
void setShowcaseHooks(ShowcaseHooks* hooks);
void setActorHooks(ActorHooks* hooks);

}  // namespace game

// What the actor framework calls in the world and hero code and in the
// per-type behaviours, behind one interface so the framework runs before
// those exist: a built-in host serves tests, tools and the demo, and the
// world and behaviour libraries install theirs (setActorHost) at start.
//
// The built-in host keeps the generic halves: the record set-up without the
// per-type part, box sizing without tiles, the hero moved like any actor,
// layer positions from its own fields, tile drawing through the sprite.
// Everything else does nothing and answers "no".
#pragma once

#include "runtime/array.h"

class BSprite;
class javax_microedition_lcdui_Graphics;

namespace game {

class cActor;

class ActorHost {
public:
    virtual ~ActorHost() = default;

    // --- actor set-up (behaviours) ---
    // cActor.initFromLevelData: the generic record set-up, then the per-type
    // part (setupType).
    virtual void initFromLevelData(cActor* a, ShortArray* table, jint length, jint offset);
    virtual void setupType(cActor*) {}
    // cActor.setBoxSize: box w x h scaled by the actor's scale, centred on x
    // and growing upward from y (the world's version first moves the actor
    // out of the tiles).
    virtual void setBoxSize(cActor* a, jint w, jint h);

    // --- per-frame routines (behaviours) ---
    // One frame of an actor of a type the framework does not run itself.
    virtual void updateType(cActor*, jint /*type*/) {}
    virtual jint applyPendingHits(cActor*, bool /*knock*/) { return 0; }
    virtual void respawn(cActor*) {}
    virtual void kill(cActor*) {}
    virtual void freezeForScript(cActor*) {}
    virtual void saveTrackedCells(cActor*) {}
    virtual void stampCollisionTiles(cActor*, jint /*on*/) {}
    virtual void restoreTrackedCells(cActor*) {}
    virtual void driveHero(cActor*, jint /*type*/) {}
    virtual void launchHeroType64(cActor*) {}
    virtual bool paintType(cActor*, jint /*type*/, jint /*dx*/, jint /*dy*/) { return false; }

    // --- hero (world) ---
    virtual void heroPhysics(cActor*) {}
    // cActor.moveHeroBy: the hero moved with tile collision; here like any actor.
    virtual void moveHeroBy(cActor* hero, jint dx, jint dy);
    virtual void setHeroState(cActor*, jint /*state*/) {}
    virtual jint heroStateDispatch(cActor*, jint /*state*/, jint /*phase*/) { return 0; }
    virtual void applyHeroStateTables(cActor*, jint /*state*/) {}
    virtual void resetHero(cActor* a, jint x, jint y);
    virtual bool isAnyScriptActive() { return false; }
    virtual void setTileAttribute(jint /*recordIndex*/, jint /*v*/, bool /*high*/) {}
    virtual void clearLevelObjectFlags(jint /*id*/, jint /*mask*/) {}

    // --- camera and layers (world) ---
    virtual jint cameraX() { return camera[0]; }
    virtual jint cameraY() { return camera[1]; }
    virtual void moveCamera(jint dx, jint dy) { camera[0] += dx; camera[1] += dy; }
    // Camera limit rectangle {left, top, right, bottom}.
    virtual jint cameraLimit(jint i) { return i >= 0 && i < 4 ? limits[i] : 0; }
    // cGame.getLayerX / getLayerY: a layer 0..4's scroll position, the
    // camera centre for any other value.
    virtual jint layerX(jint layer) { return layer >= 0 && layer < 5 ? layers[layer][0] : cameraX(); }
    virtual jint layerY(jint layer) { return layer >= 0 && layer < 5 ? layers[layer][1] : cameraY(); }

    // --- flow services ---
    // cGame.getSpriteById(i, group); null when there is none.
    virtual BSprite* spriteById(jint i, jint group);
    // cGame.sprites[n].
    virtual BSprite* spriteByNumber(jint n);
    virtual void playSound(jint /*id*/) {}

    jint camera[2] = {400, 240};
    jint limits[4] = {0, 0, 1 << 20, 1 << 20};
    jint layers[5][2] = {{400, 240}, {400, 240}, {400, 240}, {400, 240}, {400, 240}};
};

ActorHost& actorHost();
// Installs host (null: the built-in one). The host must outlive its use.
void setActorHost(ActorHost* host);

// The built-in host's sprite table (collector-visible): sprite i of group g.
void setDemoSprite(jint i, jint group, BSprite* sprite);

}  // namespace game

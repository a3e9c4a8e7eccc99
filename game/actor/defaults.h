// The generic halves of the world and behaviour services that the actor
// framework calls through game/data/hooks.h, so the framework, its tests
// and the demo run before the world and behaviour libraries exist:
// the record set-up without the per-type part, box sizing without tiles,
// the hero moved like any actor, placing the hero. Those libraries derive
// from these classes (or replace them) and install theirs.
//
// installActorHooks() installs the framework behind ActorHooks;
// installActorDefaults() installs the two classes below.
#pragma once

#include "game/data/hooks.h"

class cActor;
class BSprite;

namespace game {

class ActorWorldDefaults : public WorldHooks {
public:
    // Box w x h scaled by the actor's scale (width even), centred on x and
    // growing upward from y; no tiles to move out of.
    void setBoxSize(cActor* a, jint w, jint h) override;
    void moveHeroBy(cActor* hero, jint dx, jint dy) override;
    void resetHero(cActor* a, jint x, jint y) override;
    // The frame's active list from the live pooled actors (respawn
    // countdowns, timed states and view ratings brought up to date).
    void updateAllActors() override;
    // The tile's frame of the tile-set sprite; 0x4000 mirrors, 0x8000 flips.
    void drawTileImage(javax_microedition_lcdui_Graphics* g, BSprite* tileSet, jint x, jint y, jint tile,
                       jint transform) override;
};

class ActorBehaviourDefaults : public BehaviourHooks {
public:
    void initFromLevelData(cActor* a, ShortArray* table, jint length, jint offset) override;
    // cActor.respawn: drawn and active again; at its respawn point (when
    // entry 1 is not -1) with the recorded animation, scale and facing,
    // stopped, AI state 0, physics flags 0; the countdown off; subtype 7
    // gets a motion state, physics flags 0x1000001 and AI state 28.
    void respawn(cActor* a) override;
};

// cActor.initFromLevelData's generic part: scale, subtype, id, flags,
// facing, type, motion state, box, position, animation, layer, params.
void initFromLevelDataGeneric(cActor* a, ShortArray* table, jint length, jint offset);

void installActorHooks();
void installActorDefaults();
// The framework's answers to the screens (ScreenActorHooks) and the flow's
// two hero sinks (the hit kind the damage routine stores in the hero's
// state timer, the hero's subtype for the sound substitution).
void installActorServices();
// All of them, before Application::init (next to registerGameProgram): the
// statics, the framework behind ActorHooks, the generic defaults (which the
// world and behaviour libraries replace with theirs when they start) and
// the services above.
void registerActorFramework();

}  // namespace game

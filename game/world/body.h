// The world's routines on actors: tile flags as an actor meets them,
// dynamic cells resolved through their owners, ledge and ground probes,
// the physics step with its box sweeps, collision box sizing, whole-cell
// stepping and the attached-effect chain.
//
// Invariants: a dynamic cell's owner is looked up live first and spawned
// from its record when absent (never a null owner used); stepping stops
// after map height + 110 cells; no routine reads a box shorter than 4.
#pragma once

#include "runtime/array.h"

class cActor;

namespace game::world {

// The hero (cGame.hero).
cActor* hero();
bool isHero(cActor* a);
// cActor.resetHeroState on the current hero (none: nothing).
void resetHeroState();

// What the behaviours decide for the world (tile-block cells, contact
// routines); the built-in answers are solid cells and plain solid actors.
class WorldBehaviourSeam {
public:
    virtual ~WorldBehaviourSeam() = default;
    virtual jint hitTileBlockCell(cActor* owner, cActor* mover, jint column, jint row) { return 1; }
    // Contact kinds of types 8, 18, 41, 46, 50 and 88 (their contact
    // routines); -1 for the plain rule.
    virtual jint contactKind(cActor* mover, cActor* other, ShortArray* newBox) { return -1; }
    virtual void classifyHeroContact(cActor* other) {}
};
WorldBehaviourSeam& behaviourSeam();
void setBehaviourSeam(WorldBehaviourSeam* seam);

jint getTileFlags(cActor* actor, jint column, jint row);
jint getTileValue(cActor* actor, jint column, jint row);
cActor* getOrSpawnObject(jint id);
bool hitDynamicCell(cActor* actor, jint column, jint row);
jint getSolidTile(cActor* actor, jint edge, jint rowMode);
jint getTileFlagsAtFeet(cActor* actor, jint edge);
bool isNearLedge(cActor* actor);
bool isAtLedgeToward(cActor* actor, jint direction);
bool isRowAllClass22(cActor* actor);
jint probeSlopeGround(cActor* actor);
jint getGroundY(jint x, jint y);
jint scanTileColumn(cActor* actor, jint x, jint y, jint mask);

// Record look-ups of the level-object tables.
jint findRecordIndex(jint id);
jint applyRecordFlagNibbles(jint index, jint flags);

void heroPhysics(cActor* actor);
void moveHeroBy(cActor* actor, jint dx, jint dy);
void pushOutOfTiles(cActor* actor, jint dx, jint dy);
jint sweepTiles(cActor* actor, ShortArray* oldBox, ShortArray* newBox, jint xEdge, jint yEdge);
jint sweepActors(cActor* actor, ShortArray* oldBox, ShortArray* newBox, jint xEdge, jint yEdge);
void setBoxSize(cActor* actor, jint w, jint h);
void setBoxShape(cActor* actor, jint shape);

void stepTilesWhileClass(cActor* actor, jint dx, jint dy, jint classMask);
void stepTilesUntilClass(cActor* actor, jint dx, jint dy, jint classMask);
void snapToGround(cActor* actor);
void setRespawnAtGround(cActor* actor);
void runPhysicsOnly(cActor* actor);
// The arena set-up of the type-102 and type-92 bosses on the ground line:
// facing 0, stopped, timer 0, the floor height from the ground below, the
// attack box from params 1-4, the restart script from params[5], the boss
// the target (type 92: also the arena boss, AI state 2, slots emptied).
void dropToGroundType102(cActor* boss);
void dropToGroundType92(cActor* boss);

}  // namespace game::world

namespace game::world {

// Moves an owner's attached effects with it; far owners (rating above 1,
// neither flag 0x10 nor 0x20000) let them go.
void syncAttachedChain(cActor* owner, jint rating);

}  // namespace game::world

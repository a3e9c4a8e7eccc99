// The hero seam bound to the real classes: cActor's fields and statics, the
// world's tile queries and camera fields, cGame's shared fields and the
// actor framework's host. Values held in Java arrays are read and written
// through fresh element pointers on every call.
#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/flow/gmath.h"
#include "game/flow/input.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/actor/actor.h"
#include "game/world/hero/seam.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::hero {

namespace {

BSprite* effectSprite(jint id) { return getSpriteById(id, 18); }

jint arrayAt(IntArray* a, jint i) { return a && i >= 0 && i < a->length() ? a->data()[i] : 0; }
jint shortAt(ShortArray* a, jint i) { return a && i >= 0 && i < a->length() ? a->data()[i] : 0; }

}  // namespace


// --- actors ---------------------------------------------------------------
jint motion(cActor* a, jint i) { return a ? arrayAt(a->motion, i) : 0; }
void setMotion(cActor* a, jint i, jint v) {
    if (a && a->motion && i >= 0 && i < a->motion->length()) a->motion->data()[i] = v;
}
jint posX(cActor* a) { return a->posX; }
jint posY(cActor* a) { return a->posY; }
jint boxEdge(cActor* a, jint i) { return shortAt(a->box, i); }
jint facing(cActor* a) { return a->facing; }
void setFacing(cActor* a, jint f) { cActor::setFacing(a, f); }
jint subtype(cActor* a) { return a->subtype; }
jint uniqueId(cActor* a) { return a->uniqueId; }
jint type(cActor* a) { return a->type; }
jint scale(cActor* a) { return a->scale; }
jint physicsFlags(cActor* a) { return a->physicsFlags; }
void setPhysicsFlags(cActor* a, jint v) { a->physicsFlags = v; }
jint flags(cActor* a) { return a->flags; }
void setFlags(cActor* a, jint v) { a->flags = v; }
jint contactFlags(cActor* a) { return a->contactFlags; }
void setContactFlags(cActor* a, jint v) { a->contactFlags = v; }
void setAiState(cActor* a, jint s) { a->aiState = s; }
jint aiState(cActor* a) { return a->aiState; }
jint anim(cActor* a) { return a->anim; }
jint animFrame(cActor* a) { return a->frame; }
jint animFrameCount(cActor* a) { return a->sprite ? a->sprite->getAFrameCount(a->anim) : 0; }
void setAnimFrame(cActor* a, jint frame) {
    a->frame = frame;
    a->animTicks = 0;
}
// Ticks since the current pass began (the hit "frame" of the grab states):
// a one-frame action animation still reaches its hit tick.
jint animTicks(cActor* a) { return a->animTicks; }
void setAnim(cActor* a, jint an) { a->setAnim(an); }
bool setAnimThen(cActor* a, jint an, jint next, jint rootMotion) { return a->setAnimThen(an, next, rootMotion != 0); }
bool isAnimDone(cActor* a) { return a->isAnimDone(); }
jint animDuration(cActor* a, jint an) { return a->sprite ? a->sprite->getAnimDuration(an) : 0; }
void setBoxSize(cActor* a, jint w, jint h) { world::setBoxSize(a, w, h); }
jint getTypeParam(cActor* a, jint i) { return a->getTypeParam(i); }
jint getParam(cActor* a, jint i) { return a->getParam(i); }
void setParam(cActor* a, jint i, jint v) { a->setParam(i, v); }
void stopMotion(cActor* a) { cActor::stopMotion(a); }
void moveTo(cActor* a, jint x256, jint y256) { cActor::moveTo(a, x256, y256); }
void moveBy(cActor* a, jint dx, jint dy) { cActor::moveBy(a, dx, dy); }
bool isChildFinished(cActor* a) { return a->isChildFinished(); }
jint childAnim(cActor* a) { return a->getChildAnim(); }
jint childFlags(cActor* a) { return a->child ? a->child->paintFlags : 0; }
void spawnChild(cActor* a, jint sprite, jint an, jint x, jint y, jint layer, jint fl) {
    cActor::spawnChild(a, effectSprite(sprite), an, 0, x, y, layer, fl);
}
void releaseChild(cActor* a) { a->releaseChild(); }
void attachEffect(cActor* a, jint an, jint layer, jint fl) { cActor::attachEffect(a, an, layer, fl); }
cActor* spawnEffectPlain(jint sprite, jint an, jint x, jint y, jint layer) {
    return cActor::spawnEffectPlain(effectSprite(sprite), an, x, y, layer);
}
cActor* spawnEffect(jint sprite, jint an, jint x, jint y, jint layer, jint fl) {
    return cActor::spawnEffect(effectSprite(sprite), an, x, y, layer, fl);
}
void deactivate(cActor* a) { a->deactivate(); }
bool isOnLastFrame(cActor* a) { return a->isOnLastFrame(); }
void updateBoxFromSprite(cActor* a) { cActor::updateBoxFromSprite(a); }
void offsetDrawAndBox(cActor* a, jint dx, jint dy) { cActor::offsetDrawAndBox(a, dx, dy); }
jint drawOffsetX(cActor* a) { return a->drawOffsetX; }
jint drawOffsetY(cActor* a) { return a->drawOffsetY; }
jint actorPart(cActor* a, jint i) { return arrayAt(a->parts, i); }
void setActorPart(cActor* a, jint i, jint v) {
    if (a->parts && i >= 0 && i < a->parts->length()) a->parts->data()[i] = v;
}
jint partCount(cActor* a) { return a->parts ? a->parts->length() : 0; }
jint paramCount(cActor* a) { return a->params ? a->params->length() : 0; }
jint counter(cActor* a) { return a->counter; }
void setCounter(cActor* a, jint v) { a->counter = v; }
jint angle(cActor* a) { return a->angle; }
void setAngle(cActor* a, jint v) { a->angle = v; }
void setScale(cActor* a, jint v) { a->scale = v; }
jint timer(cActor* a) { return a->timer; }
void setTimer(cActor* a, jint v) { a->timer = v; }
void ensureMotionState(cActor* a) {
    if (!a->hasMotionState()) a->allocMotionState();
}

// --- hero-side statics ------------------------------------------------------
jint& heroState() { return ca().heroState; }
jint& heroStateTicks() { return ca().heroStateTicks; }
jint heroVar(jint i) { return arrayAt(ca().heroStateVars, i); }
void setHeroVar(jint i, jint v) {
    IntArray* vars = ca().heroStateVars;
    if (vars && i >= 0 && i < vars->length()) vars->data()[i] = v;
}
jint& heroActionMask() { return ca().heroActionMask; }
jint& actionAnim() { return ca().actionAnim; }
jint& actionNextState() { return ca().actionNextState; }
jint& heroInputLock() { return ca().heroInputLock; }
jint& heroInputMode() { return ca().heroInputMode; }
jint& inputOptions() { return ca().inputOptions; }
jint airControl() { return ca().runFlagA; }
void setAirControl(jint v) { ca().runFlagA = static_cast<jbyte>(v); }
void setCruiseAfterLanding(jint v) { ca().landingMode = static_cast<jbyte>(v); }
jint heroMode(jint i) {
    switch (i) {
    case 0: return ca().heroAltMode;
    case 1: return ca().heroMireMode;
    case 2: return ca().heroClimbMode;
    default: return ca().heroIceMode;
    }
}
void setHeroMode(jint i, jint v) {
    switch (i) {
    case 0: ca().heroAltMode = static_cast<jbyte>(v); break;  // the one swim flag
    case 1: ca().heroMireMode = static_cast<jbyte>(v); break;
    case 2: ca().heroClimbMode = v; break;
    default: ca().heroIceMode = v; break;
    }
}
cActor*& grabbedActor() { return ca().grabbedActor; }
jint& grabMode() { return ca().grabMode; }
cActor*& partnerActor() { return ca().partnerActor; }
jint& partnerMode() { return ca().partnerMode; }
cActor*& mountActor() { return ca().mountActor; }
jint& jumpCurveIndex() { return ca().jumpCurveIndex; }
jint& jumpCurveLength() { return ca().jumpCurveLength; }
void loadJumpCurve() { ca().jumpCurveLength = ca().jumpCurve ? ca().jumpCurve->length() : 0; }
jint& collisionResult() { return ca().collisionResult; }
jint& physicsDy() { return ca().physicsDy; }
// The hero's carried actor is its own carried slot (the rider field), the
// one the item behaviours set when an item reaches the hero.
cActor* carried(cActor* hero) { return hero ? hero->carried : nullptr; }
void setCarried(cActor* hero, cActor* a) {
    if (hero) hero->carried = a;
}
jint heroStateAnimCount() { return ca().heroStateAnims ? ca().heroStateAnims->length() : 0; }
jint heroStateAnim(jint s) {
    IntArray* t = ca().heroStateAnims;
    return t && s >= 0 && s < t->length() ? t->data()[s] : -1;
}
jint heroStateEffect(jint s) {
    IntArray* t = ca().heroStateEffects;
    return t && s >= 0 && s < t->length() ? t->data()[s] : -1;
}
jint heroStateEffectFlags(jint s) { return arrayAt(ca().heroStateFlags, s); }

// --- world --------------------------------------------------------------------
jint getTileFlags(jint col, jint row) { return world::getTileFlags(cg().hero, col, row); }
jint scanTileColumn(cActor* a, jint x, jint y, jint mask) { return world::scanTileColumn(a, x, y, mask); }
jint getSolidTile(cActor* a, jint dx, jint dy) { return world::getSolidTile(a, dx, dy); }
jint tileMirrored() { return cg().tileMirrored; }
jint getTile(jint col, jint row, jint mode) { return world::getTile(col, row, mode); }
jint getTileRow(cActor* a, jint mode) { return a->getTileRow(mode); }
jint getTileColumn(cActor* a, jint edge) { return a->getTileColumn(edge); }
jint getTileFlagsAtFeet(cActor* a, jint edge) { return world::getTileFlagsAtFeet(a, edge); }
bool isNearLedge(cActor* a) { return world::isNearLedge(a); }
bool isAtLedgeToward(cActor* a, jint dir) { return world::isAtLedgeToward(a, dir); }
bool hasTileClassAtLeft(cActor* a, jint mask) { return world::hasTileClassAt(boxEdge(a, 0), a->posY, mask); }
bool hasTileClassAtRight(cActor* a, jint mask) { return world::hasTileClassAt(boxEdge(a, 2), a->posY, mask); }
bool isRowAllClass22(cActor* a) { return world::isRowAllClass22(a); }
jint probeSlopeGround(cActor* a) { return world::probeSlopeGround(a); }
void moveHeroBy(cActor* a, jint dx, jint dy) { world::moveHeroBy(a, dx, dy); }
void stepTilesWhileClass(cActor* a, jint dx, jint dy, jint m) { world::stepTilesWhileClass(a, dx, dy, m); }
void stepTilesUntilClass(cActor* a, jint dx, jint dy, jint m) { world::stepTilesUntilClass(a, dx, dy, m); }
void updateCamera(jint mode) { world::updateCamera(mode); }
void setCameraLimitsToView() { world::setCameraLimitsToView(); }
void syncAttachedChain(cActor* a) { world::syncAttachedChain(a, a->viewRating); }
bool isAnyScriptActive() { return world::isAnyScriptActive(); }
bool scriptHoldsHero() { return (cg().inputBlock & 1) != 0; }
jint& cameraFlags() { return cg().cameraFlags; }
jint& cameraDivX() { return cg().cameraDivX; }
jint& cameraDivY() { return cg().cameraDivY; }
jint& scrollDelay() { return cg().scrollDelay; }
jint& scrollStepX() { return cg().scrollStepX; }
jint& scrollStepY() { return cg().scrollStepY; }
jint& quakeFrames() { return cg().shakeTimer; }
jint& worldFlags(cActor*) { return ca().worldFlags; }
jint cameraX() { return cg().cameraX; }
jint& runSpeedFactor() { return ca().runSpeedFactor; }
jint& lookAheadX() { return cg().lookAheadX; }
jint& lookAheadForcedX() { return cg().lookAheadForcedX; }
jint& lookAheadForcedY() { return cg().lookAheadForcedY; }
void clearCameraLock() { cg().cameraLocked = 0; }
void setCameraTarget(cActor* a) { cg().cameraTarget = a; }
cActor* tileOwner() { return ca().tileOwner; }
jint frameTick() { return cg().playFrames; }
jint& heroSpeedTimer() { return ca().heroSpeedTimer; }
jint& boostFrames() { return ca().boostFrames; }
jint& heroBumped() { return ca().heroBumped; }
bool heroSkipScroll() { return ca().heroSkipScroll != 0; }
jint& autoRunHalt() { return ca().autoRunHalt; }
cActor* heldItem() { return magician().attachedEffect; }
void setHeldItem(cActor* a) { magician().attachedEffect = a; }
cActor* targetActor() { return cg().targetActor; }
bool inSegmentRange(cActor* h) {
    ObjectArray* segs = ca().segments;
    for (jint i = 0; segs && i < segs->length() && i < 3; ++i) {
        IntArray* r = static_cast<IntArray*>(segs->data()[i]);
        if (!r || r->length() < 7 || r->data()[0] == 0) continue;
        const jint* e = r->data();
        if (h->posX >= e[4] && h->posX <= e[6] && h->posY >= e[5] - 480 && h->posY <= e[5] + 480) return true;
    }
    return false;
}
cActor* theHero() { return cg().hero; }
void playSound(jint id) { game::playSound(id); }
void requestGameState(jint state) { requestSetState(state); }
void resetKeys() { game::resetKeys(); }
bool keyPressed(jint mask) { return isKeyPressed(mask); }
bool keyHeld(jint mask) { return isKeyHeld(mask); }
bool keyReleased(jint mask) { return isKeyReleased(mask); }
bool anyKeyActive() { return isAnyKeyHeld() || isKeyPressed(-1); }
jint fixedSin(jint degrees) { return game::fixedSin(degrees); }
jint cos256(jint degrees) { return game::cos256(degrees * 256); }
jint sin256(jint degrees) { return game::sin256(degrees * 256); }
jint random(jint lo, jint hi) { return randomRange(lo, hi + 1); }  // both ends included

// --- the framework's hero operations ---------------------------------------
void applyHeroJumpVelocity(cActor* h, bool alt) { game::applyHeroJumpVelocity(h, alt); }
void applyHeroHit(cActor* h, jint kind, jint dir, bool enter) { game::applyHeroHit(h, kind, dir, enter); }
void setHeroMove(cActor* h, jint kind, jint param, jint mode, jint duration) {
    game::setHeroMove(h, kind, param, mode, duration);
}
jint heroState37(cActor* h, jint phase) {
    game::heroState37(h, phase);
    return 0;
}
jint getCarryAnim(cActor* h, jint dir) { return game::getCarryAnim(h, dir); }
bool updateFacingFromKeys(cActor* h) { return game::updateFacingFromKeys(h); }
bool tryEnterHeroState2(cActor* h) { return game::tryEnterHeroState2(h); }
bool isFacingPartner(cActor* h) { return game::isFacingPartner(h); }
bool isHeroSubtype(cActor* a) { return game::isHeroSubtype(a); }
void readHeroInput() { game::readHeroInput(); }
bool tryDropCarried(cActor* h) { return game::tryDropCarried(h); }
void dropCarried(cActor* h) { game::dropCarried(h); }
void throwCarried(cActor* a, jint kind, jint dir, jint tx, jint ty) { throwActor(a, kind, dir, tx, ty); }
bool tryMountAction(cActor* h, jint setFacing, jint f) { return game::tryMountAction(h, setFacing != 0, f); }
void setClimbDirection(cActor* h, jint d) { game::setClimbDirection(h, d); }
void setMappedAnimThen(cActor* a, jint first, jint then, jint flags) {
    a->setAnimThen(mapAnimByAngle(a, first), mapAnimByAngle(a, then), flags != 0);
}
bool isProgressBitClear(jint bits) { return game::isProgressBitClear(bits); }
bool isHeroDead() { return game::isHeroDead(cg().heroStatus); }
cActor* spawnFromTemplate(jint templateId, jint x, jint y) { return game::spawnFromTemplate(templateId, x, y); }
void removeActor(cActor* a) { game::removeActor(a, true); }
void resetHeroStateAfterLanding() { game::resetHeroStateAfterLanding(); }
void holdHeroState() { game::holdHeroState(); }
void switchToNextHero() { game::switchToNextHero(); }
bool isScriptTarget(jint id) { return world::isScriptTargetId(id); }
void setVariable(jint i, jint value) { game::setVariable(i, value, true); }
jint getVariable(jint i) { return game::getVariable(i); }

}  // namespace game::hero

// The actor framework's answers to the screens (screenhooks.h).
#include "game/actor/screenhooks.h"

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/paint.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/hero/machine.h"

namespace game {

namespace {

cActor* theHero() { return cg().hero; }

// An effect actor's fields as a released child leaves them.
void shutDownEffect(cActor* e) {
    if (e->contactFlags != 0) {
        ca().pendingBits |= e->contactFlags;
        e->contactFlags = 0;
    }
    e->anim = e->nextAnim = -1;
    e->frame = e->frameTick = e->animTicks = e->animPasses = 0;
    e->flags = 0;
    e->releaseChild();
    e->facing = 0;
    e->flags = 0x1040;
    e->scale = 100;
    e->angle = 0;
}

}  // namespace

// The first of the five special-item counters.
jint ActorScreenHooks::specialItemCount() {
    IntArray* c = ca().itemCounts;
    return c && c->length() > 0 ? c->data()[0] : 0;
}

void ActorScreenHooks::setLevelItemId(bool fourth, jint id) { (fourth ? ca().item4Id : ca().itemId) = id; }
jint ActorScreenHooks::levelItemId(bool fourth) { return fourth ? ca().item4Id : ca().itemId; }

jint ActorScreenHooks::subtypeParam(jint subtype, jint i) {
    return subtypeRow(subtype) < 0 || !ca().subtypeParams ? -1 : cActor::getSubtypeParam(subtype, i);
}

void ActorScreenHooks::setScale(cActor* actor, jint percent) {
    if (actor) actor->scale = percent;
}

jint ActorScreenHooks::heroActionMask() { return ca().heroActionMask; }
void ActorScreenHooks::setHeroActionMask(jint bits) { ca().heroActionMask = bits; }
jint ActorScreenHooks::heroFlagWord() { return ca().inputOptions; }

void ActorScreenHooks::deactivateEffects() {
    ObjectArray* pool = ca().effectPool;
    for (jint i = 0; pool && i < ca().effectCount && i < pool->length(); ++i)
        if (auto* e = static_cast<cActor*>(pool->data()[i])) e->deactivate();
}

void ActorScreenHooks::updateEffects() { game::updateEffectPool(); }
void ActorScreenHooks::updateEffectsFrom(jint layer) { cActor::updateEffectsFrom(layer); }

jint ActorScreenHooks::heroState() { return ca().heroState; }
jint ActorScreenHooks::heroType() { return theHero() ? theHero()->type : -1; }

bool ActorScreenHooks::heroAnimationEnded() {
    cActor* h = theHero();
    return !h || !h->sprite || h->anim < 0 || h->isOnLastFrame();
}

void ActorScreenHooks::advanceHeroAnimation() {
    if (cActor* h = theHero()) h->updateAnimation();
}

void ActorScreenHooks::beginLevelEnd(bool gameFinished, jint stage) {
    cActor* h = theHero();
    if (!h) return;
    h->releaseChild();
    const jint state = ca().heroState;
    if (state != 38) cg().cameraTarget = h;
    ca().heroInputLock = 0x7FFFFFFF;
    if (state != 38 && state != 40 && stage != 8) game::hero::setHeroState(h, 0);
    if (gameFinished) return;
    if (h->subtype == 3010)
        h->setAnim(41);
    else if (stage != 8)
        h->setAnim(40);
    if (state != 38 && state != 40) cActor::attachEffect(h, 30, 2, 24576);
}

cActor* ActorScreenHooks::spawnFireworksEffect() {
    BSprite* sprite = getSpriteById(12, 1);
    if (!sprite) return nullptr;
    cActor* e = cActor::spawnEffect(sprite, 0, cg().cameraX, cg().cameraY, 2, 0);
    if (e) e->flags |= 0x80000;
    return e;
}

void ActorScreenHooks::endLevelEnd(cActor* effect) {
    if (cActor* h = theHero()) h->timer = 0;
    deactivateEffects();
    if (effect) {
        effect->clearSprite();
        effect->anim = -1;
    }
    ca().heroInputLock &= static_cast<jint>(0x80000000u);
}

void ActorScreenHooks::spawnFallingHero() {
    BSprite* sprite = getSpriteById(8, 1);
    if (!sprite) return;
    if (cActor* e = cActor::spawnEffect(sprite, 10, 400, 360, 11, 0)) e->flags |= 0x20000;
}

void ActorScreenHooks::removeAllActors(jint dropCharacters) {
    resetEffectPool();
    game::removeAllActors(dropCharacters != 0);
}

void ActorScreenHooks::resetSegments() {
    ObjectArray* segments = newObjectArray(cid::IntArray, 3);
    ca().segments = segments;
    for (jint i = 0; i < 3; ++i) {
        IntArray* s = newIntArray(9);
        ObjectArray::set(ca().segments, i, s);
    }
}

void ActorScreenHooks::releaseAttachedEffect() {
    cActor* e = magician().attachedEffect;
    if (!e) return;
    shutDownEffect(e);
    magician().attachedEffect = nullptr;
}

bool ActorScreenHooks::isHeroDead() { return game::isHeroDead(cg().heroStatus); }
bool ActorScreenHooks::isHeroInputFree() { return game::isHeroInputFree(); }
void ActorScreenHooks::updateEffectPool() { game::updateEffectPool(); }

void ActorScreenHooks::moveHeroTo(jint x, jint y) {
    if (cActor* h = theHero()) cActor::moveTo(h, x, y);
}

jint ActorScreenHooks::lives() { return getVariable(5); }
// Effects (the panel icon, the portrait) paint as their layer would paint
// them; level actors through the actor painter.
void ActorScreenHooks::paintActor(cActor* actor) {
    if (isPooledEffect(actor))
        paintPooledEffect(actor);
    else if (!isInertEffect(actor))
        game::paintActor(actor);
}

// --- heads-up display ----------------------------------------------------------

// An effect of the pool (the one with unique id effectId when that one is
// free, else the pool's choice) with the animation restarted from its first
// frame; null when every slot is busy (the inert stand-in is never handed
// to the screens, which keep and paint what they get).
cActor* ActorScreenHooks::spawnEffect(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint flags,
                                      jint effectId) {
    cActor* e = effectId >= 0 ? obtainEffectById(effectId) : nullptr;
    e = e ? setUpEffect(e, sprite, anim, x, y, layer, flags) : cActor::spawnEffect(sprite, anim, x, y, layer, flags);
    if (!e || isInertEffect(e)) return nullptr;
    e->stepsByTable = 0;
    e->nextAnim = -1;
    e->frame = e->frameTick = e->animTicks = e->animPasses = 0;
    return e;
}

bool ActorScreenHooks::animationEnded(cActor* actor) {
    return !actor || !actor->sprite || actor->anim < 0 || actor->isOnLastFrame();
}

jint ActorScreenHooks::actorFlags(cActor* actor) { return actor ? actor->flags : 0; }
jint ActorScreenHooks::actorAnimation(cActor* actor) { return actor ? actor->anim : -1; }

void ActorScreenHooks::advanceAnimation(cActor* actor) {
    if (actor) actor->updateAnimation();
}

void ActorScreenHooks::deactivate(cActor* actor) {
    if (actor && !isInertEffect(actor)) actor->deactivate();
}

void ActorScreenHooks::paintEffectsOfLayer(jint layer) { paintEffectLayer(layer); }

BSprite* ActorScreenHooks::actorSprite(cActor* actor) { return actor ? actor->sprite : nullptr; }

bool ActorScreenHooks::actorPoint(cActor* actor, jint* x, jint* y) {
    if (!actor) return false;
    if (x) *x = actor->posX;
    if (y) *y = actor->posY;
    return true;
}

void ActorScreenHooks::setActorLook(cActor* actor, BSprite* sprite, jint anim, jint x, jint y) {
    if (!actor) return;
    actor->sprite = sprite;
    actor->setAnim(anim);
    actor->frame = actor->frameTick = actor->animTicks = actor->animPasses = 0;
    actor->posX = x;
    actor->posY = y;
}

jint ActorScreenHooks::heroSubtype() { return theHero() ? theHero()->subtype : -1; }
jint ActorScreenHooks::heroAnimation() { return theHero() ? theHero()->anim : -1; }
jint ActorScreenHooks::heroScaleParam() { return ca().runSpeedFactor; }

PartnerView heroPartnerView() {
    PartnerView v;
    cActor* h = theHero();
    cActor* p = ca().partnerActor;
    const jint mode = ca().partnerMode;
    if (!h || !p || !(mode == 0 || (mode == 3 && p->subtype == 144))) return v;
    v.present = true;
    v.partnerX = p->posX;
    v.heroX = h->posX;
    v.heroFacing = h->facing;
    return v;
}

// The partner lies left of a hero facing left (facing 1) or right of one
// facing right (facing 0); never when both stand at the same x.
bool ActorScreenHooks::heroFacesInteraction() {
    const PartnerView v = heroPartnerView();
    return v.present &&
           ((v.partnerX < v.heroX && v.heroFacing == 1) || (v.partnerX > v.heroX && v.heroFacing == 0));
}

// The pointer follows the gauge's actor (cGame.targetActor), at its
// position in map pixels.
bool ActorScreenHooks::targetPoint(jint* x, jint* y) {
    cActor* t = cg().targetActor;
    if (!t) return false;
    if (x) *x = t->posX;
    if (y) *y = t->posY;
    return true;
}

jint ActorScreenHooks::statMark(bool second) { return second ? ca().markB : ca().markA; }
void ActorScreenHooks::setLevelMark(jint v) { ca().levelMark = v; }

// The gauge's value is parts[2]: the actor set-up puts the class number
// there for the class subtypes and the boss routines count their hits off
// it (hits taken = class - parts[2]), so against the class as maximum it
// is the hit points left. params[2] is an attack-box height for these
// subtypes and would make no gauge.
bool ActorScreenHooks::gaugeActor(GaugeActor* out) {
    cActor* t = cg().targetActor;
    if (!t || !out) return false;
    out->flags = t->flags;
    out->aiState = t->aiState;
    out->subtype = t->subtype;
    out->subtypeClass = getSubtypeClass(t->subtype);
    out->param2 = t->parts && t->parts->length() > 2 ? t->parts->data()[2] : 0;
    out->sprite = t->sprite;
    return true;
}

ActorScreenHooks& actorScreenHooks() {
    static ActorScreenHooks hooks;
    return hooks;
}

}  // namespace game

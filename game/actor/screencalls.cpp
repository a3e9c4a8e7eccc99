// The actor framework's routines the screens call (screencalls.h).
#include "game/actor/screencalls.h"

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
jint specialItemCount() {
    IntArray* c = ca().itemCounts;
    return c && c->length() > 0 ? c->data()[0] : 0;
}

jint subtypeParamOrNone(jint subtype, jint i) {
    return subtypeRow(subtype) < 0 || !ca().subtypeParams ? -1 : cActor::getSubtypeParam(subtype, i);
}

void deactivateEffects() {
    ObjectArray* pool = ca().effectPool;
    for (jint i = 0; pool && i < ca().effectCount && i < pool->length(); ++i)
        if (auto* e = static_cast<cActor*>(pool->data()[i])) e->deactivate();
}

jint heroType() { return theHero() ? theHero()->type : -1; }

bool heroAnimationEnded() {
    cActor* h = theHero();
    return !h || !h->sprite || h->anim < 0 || h->isOnLastFrame();
}

void advanceHeroAnimation() {
    if (cActor* h = theHero()) h->updateAnimation();
}

void beginLevelEnd(bool gameFinished, jint stage) {
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

cActor* spawnFireworksEffect() {
    BSprite* sprite = getSpriteById(12, 1);
    if (!sprite) return nullptr;
    cActor* e = cActor::spawnEffect(sprite, 0, cg().cameraX, cg().cameraY, 2, 0);
    if (e) e->flags |= 0x80000;
    return e;
}

void endLevelEnd(cActor* effect) {
    if (cActor* h = theHero()) h->timer = 0;
    deactivateEffects();
    if (effect) {
        effect->clearSprite();
        effect->anim = -1;
    }
    ca().heroInputLock &= static_cast<jint>(0x80000000u);
}

void spawnFallingHero() {
    BSprite* sprite = getSpriteById(8, 1);
    if (!sprite) return;
    if (cActor* e = cActor::spawnEffect(sprite, 10, 400, 360, 11, 0)) e->flags |= 0x20000;
}

void clearLevelActors(bool dropCharacters) {
    resetEffectPool();
    removeAllActors(dropCharacters);
}

void resetSegments() {
    ObjectArray* segments = newObjectArray(cid::IntArray, 3);
    ca().segments = segments;
    for (jint i = 0; i < 3; ++i) {
        IntArray* s = newIntArray(9);
        ObjectArray::set(ca().segments, i, s);
    }
}

void releaseAttachedEffect() {
    cActor* e = magician().attachedEffect;
    if (!e) return;
    shutDownEffect(e);
    magician().attachedEffect = nullptr;
}

void moveHeroTo(jint x, jint y) {
    if (cActor* h = theHero()) cActor::moveTo(h, x, y);
}

// Effects (the panel icon, the portrait) paint as their layer would paint
// them; level actors through the actor painter.
void paintScreenActor(cActor* actor) {
    if (isPooledEffect(actor))
        paintPooledEffect(actor);
    else if (!isInertEffect(actor))
        game::paintActor(actor);
}

// --- effects of the screens and the heads-up display ---------------------------

// An effect of the pool (the one with unique id effectId when that one is
// free, else the pool's choice) with the animation restarted from its first
// frame; null when every slot is busy (the inert stand-in is never handed
// to the screens, which keep and paint what they get).
cActor* spawnScreenEffect(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint flags, jint effectId) {
    cActor* e = effectId >= 0 ? obtainEffectById(effectId) : nullptr;
    e = e ? setUpEffect(e, sprite, anim, x, y, layer, flags) : cActor::spawnEffect(sprite, anim, x, y, layer, flags);
    if (!e || isInertEffect(e)) return nullptr;
    e->stepsByTable = 0;
    e->nextAnim = -1;
    e->frame = e->frameTick = e->animTicks = e->animPasses = 0;
    return e;
}

bool animationEnded(cActor* actor) {
    return !actor || !actor->sprite || actor->anim < 0 || actor->isOnLastFrame();
}

void deactivateScreenActor(cActor* actor) {
    if (actor && !isInertEffect(actor)) actor->deactivate();
}

void setActorLook(cActor* actor, BSprite* sprite, jint anim, jint x, jint y) {
    if (!actor) return;
    actor->sprite = sprite;
    actor->setAnim(anim);
    actor->frame = actor->frameTick = actor->animTicks = actor->animPasses = 0;
    actor->posX = x;
    actor->posY = y;
}

jint heroSubtype() { return theHero() ? theHero()->subtype : -1; }
jint heroAnimation() { return theHero() ? theHero()->anim : -1; }

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
bool heroFacesInteraction() {
    const PartnerView v = heroPartnerView();
    return v.present &&
           ((v.partnerX < v.heroX && v.heroFacing == 1) || (v.partnerX > v.heroX && v.heroFacing == 0));
}
}  // namespace game

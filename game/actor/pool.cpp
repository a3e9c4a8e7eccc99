// Actor pool, active list, lookups, effect life cycle and the factory.
#include "game/actor/pool.h"

#include "game/actor/levels.h"
#include "game/behaviour/routines.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/map.h"
#include "runtime/log.h"

#include <iterator>

using namespace game;


namespace {

// Deepest chain of children released in one go: a reused effect can be its
// own ancestor, and the walk must end.
constexpr jint kMaxChildDepth = 64;

void shutDown(cActor* a) {
    if (a->contactFlags != 0) {
        ca().pendingBits |= a->contactFlags;
        a->contactFlags = 0;
    }
    a->anim = a->nextAnim = -1;
    a->frame = a->frameTick = a->animTicks = a->animPasses = 0;
    a->flags = 0;
    a->paintFlags = 0;
}

void finishShutDown(cActor* a) {
    a->facing = 0;
    a->flags = 0x1040;
    a->scale = 100;
    a->angle = 0;
}

void releaseChildFrom(cActor* parent, jint depth) {
    cActor* c = parent->child;
    if (!c) return;
    if (depth >= kMaxChildDepth) {
        logPrintf("Actor %d: child chain deeper than %d, cut", parent->uniqueId, kMaxChildDepth);
        parent->child = nullptr;
        return;
    }
    parent->child = nullptr;  // cut first: a loop back to parent ends here
    shutDown(c);
    releaseChildFrom(c, depth + 1);
    finishShutDown(c);
}

}  // namespace

void cActor::releaseChild() { releaseChildFrom(this, 0); }

void cActor::deactivate() {
    shutDown(this);
    releaseChild();
    finishShutDown(this);
    // The effect the hero code and the speed command keep is forgotten when
    // it ends: its pool slot goes to later effects, which the keeper would
    // otherwise move along or end.
    if (magician().attachedEffect == this) magician().attachedEffect = nullptr;
}

cActor* game::poolActor(jint i) {
    ObjectArray* p = cg().actorPool;
    return p && i >= 0 && i < p->length() ? static_cast<cActor*>(p->data()[i]) : nullptr;
}

cActor* game::activeActor(jint i) {
    ObjectArray* p = cg().activeActors;
    return p && i >= 0 && i < p->length() ? static_cast<cActor*>(p->data()[i]) : nullptr;
}

ObjectArray* game::characterSlots() {
    if (!cg().characterSlots) cg().characterSlots = newObjectArray(cid::cActor, 3);
    return cg().characterSlots;
}

void game::createActorPool() {
    if (!cg().actorPool) {
        cg().actorPool = newObjectArray(cid::cActor, kActorPoolSize);
        for (jint i = 0; i < kActorPoolSize; ++i) {
            cActor* a = newObject<cActor>();
            cg().actorPool->data()[i] = a;
        }
    }
    if (!cg().activeActors) cg().activeActors = newObjectArray(cid::cActor, kActorPoolSize);
    cg().actorCount = 0;
}

// --- effects ------------------------------------------------------------------

bool game::isInertEffect(const cActor* a) { return a && a == cg().inertEffect; }

void game::resetLevelLogMarks() {
    cg().inertLogged = 0;
    if (BoolArray* m = cg().subtypeLogged)
        for (jint i = 0; i < m->length(); ++i) m->data()[i] = 0;
}

cActor* cActor::obtainEffect() {
    ObjectArray* pool = ca().effectPool;
    for (jint i = 0; i < pool->length(); ++i) {
        auto* e = static_cast<cActor*>(pool->data()[i]);
        if (!e) {
            e = newObject<cActor>();
            ca().effectPool->data()[i] = e;
            e->uniqueId = nextUniqueId();
            ca().effectCount += 1;
            return e;
        }
        if ((e->flags & 0x40) && !(e->flags & 0x1000) && !(e->flags & static_cast<jint>(0x80000000u))) {
            e->flags &= ~0x40;
            return e;
        }
    }
    // Every slot busy: the callers set the effect up at once, so they get
    // one shared actor that nothing paints or updates.
    if (!cg().inertLogged) {
        cg().inertLogged = 1;
        logPrintf("Effect pool full (%d): effects dropped", pool->length());
    }
    if (!cg().inertEffect) cg().inertEffect = newObject<cActor>();
    cActor* e = cg().inertEffect;
    e->resetForReuse();
    e->flags = 0x40;
    e->scale = 100;
    e->angle = 0;
    return e;
}

void cActor::updateEffect(cActor* a) {
    if (!a || isInertEffect(a)) return;
    a->flags &= ~0x1000;
    if (!((a->paintFlags & 0x80000) && a->isOnLastFrame())) a->updateAnimation();
    if (a->timer >= 0) {
        a->timer -= 1;
        if (a->timer == 0) {
            a->deactivate();
            a->timer = -1;
        }
    }
    if ((a->paintFlags & 0x2000) && a->isAnimDone()) a->deactivate();
}

void cActor::updateEffectsFrom(jint layer) {
    for (jint i = 0; i < ca().effectCount; ++i) {
        auto* e = static_cast<cActor*>(ca().effectPool->data()[i]);
        if (e && e->layer == layer) updateEffect(e);
    }
}

cActor* cActor::spawnEffect(BSprite* sprite, jint animation, jint x, jint y, jint layer, jint paintFlags) {
    return setUpEffect(obtainEffect(), sprite, animation, x, y, layer, paintFlags);
}

bool game::isPooledEffect(const cActor* a) {
    ObjectArray* pool = ca().effectPool;
    for (jint i = 0; a && pool && i < ca().effectCount && i < pool->length(); ++i)
        if (pool->data()[i] == a) return true;
    return false;
}

cActor* game::obtainEffectById(jint id) {
    ObjectArray* pool = ca().effectPool;
    for (jint i = 0; id >= 0 && pool && i < ca().effectCount && i < pool->length(); ++i) {
        auto* e = static_cast<cActor*>(pool->data()[i]);
        if (!e || e->uniqueId != id) continue;
        if (!(e->flags & 0x40) || (e->flags & 0x1000) || (e->flags & static_cast<jint>(0x80000000u))) return nullptr;
        e->flags &= ~0x40;
        return e;
    }
    return nullptr;
}

cActor* game::setUpEffect(cActor* e, BSprite* sprite, jint animation, jint x, jint y, jint layer, jint paintFlags) {
    e->sprite = sprite;
    e->flags &= ~0x800;
    if (animation != e->anim) {
        e->stepsByTable = 0;
        e->paintFlags &= ~32;
        e->anim = animation;
        e->nextAnim = -1;
        e->frame = e->frameTick = e->animTicks = e->animPasses = 0;
        e->flags &= ~(0x800 | 0x40);
    }
    if (isInertEffect(e)) e->flags |= 0x40;
    e->layer = layer;
    e->paintFlags = paintFlags;
    e->posX = x;
    e->posY = y;
    e->contactFlags = 0;
    e->timer = -1;
    e->palette = 0;
    e->scale = 100;
    e->angle = 0;
    return e;
}

void cActor::spawnChild(cActor* parent, BSprite* sprite, jint animation, jint palette, jint x, jint y, jint layer,
                        jint paintFlags) {
    if (!parent || !parent->isChildFinished()) return;
    parent->releaseChild();
    cActor* c = spawnEffect(sprite, animation, x, y, layer, paintFlags);
    if (isInertEffect(c)) return;  // never linked: it must stay unreachable from actors
    parent->child = c;
    if (parent->flags & 0x2000) c->flags |= 0x2000;
    c->palette = palette;
    if (!(c->paintFlags & 0x400000)) {
        c->facing = parent->facing;
        c->paintFlags = (c->paintFlags & ~1) | (parent->paintFlags & 1);
    }
}

void cActor::attachEffect(cActor* parent, jint animation, jint layer, jint paintFlags) {
    if (!parent) return;
    spawnChild(parent, getSpriteById(8, 18), animation, 0, parent->posX, parent->posY, layer, paintFlags);
}

void cActor::attachEffectAt(cActor* parent, jint animation, jint x, jint y, jint layer, jint paintFlags) {
    spawnChild(parent, getSpriteById(8, 18), animation, 0, x, y, layer, paintFlags);
}

cActor* cActor::attachEffectTo(cActor* parent, jint x, jint y, jint animation) {
    attachEffectAt(parent, animation, x, y, 13, 0x84000);
    return parent ? parent->child : nullptr;
}

jint cActor::hitFlash(cActor* a, jint baseAnim, jint deathAnim, jint hurtAnim, jint heavyHurtAnim) {
    jint n = game::behaviour::applyPendingHits(a, a->anim == baseAnim);
    if (n == 0) return 0;
    cActor* hero = cg().hero;
    a->facing = hero && a->posX < hero->posX ? 1 : 0;
    ca().hitGuard += n;
    if (a->decrementPartsCounter(n)) {
        a->releaseChild();
        spawnChild(a, getSpriteById(8, 18), 10, 0, a->posX, a->posY, 11, 0);
        a->setAnim(deathAnim);
        a->aiState = 1;
        playSound(16);
        return 1;
    }
    a->setAnimThen(n > 1 ? heavyHurtAnim : hurtAnim, baseAnim, false);
    return 0;
}

// --- active list ----------------------------------------------------------------

void game::addActiveActor(cActor* a) {
    if (!a) return;
    cActor::updateScreenBox(a);
    if (!(a->flags & 0x20)) return;
    if (a->viewRating > 1 && !(a->flags & (0x10 | 0x20000))) return;
    if (!cg().activeActors) cg().activeActors = newObjectArray(cid::cActor, kActorPoolSize);
    if (cg().activeActorCount >= cg().activeActors->length()) {
        logPrintf("Active list full: actor %d not added", a->uniqueId);
        return;
    }
    cg().activeActors->data()[cg().activeActorCount++] = a;
}

void game::updateActiveActors() {
    for (jint i = 0; i < cg().activeActorCount; ++i) {
        cActor* a = activeActor(i);
        if (a && (a->flags & 0x20)) a->update();
    }
}

// --- removal ----------------------------------------------------------------

void game::removeActorAt(jint i) {
    jint n = cg().actorCount;
    if (i < 0 || i >= n) return;
    ObjectArray* pool = cg().actorPool;
    auto* last = static_cast<cActor*>(pool->data()[n - 1]);
    auto* removed = static_cast<cActor*>(pool->data()[i]);
    pool->data()[n - 1] = removed;
    removed->flags &= ~0x80000;
    removed->releaseChild();
    removed->release();
    pool->data()[i] = last;
    last->poolSlot = i;
    removed->poolSlot = n - 1;
    cg().actorCount = n - 1;
}


void game::removeActor(cActor* a, bool callRelease) {
    if (!a) return;
    jint slot = -1;
    for (jint i = 0; i < cg().actorCount; ++i)
        if (poolActor(i) == a) {
            slot = i;
            break;
        }
    if (slot < 0) return;
    if (a->recordIndex != 0) game::world::setTileAttribute(a->recordIndex, 1, isPickupKind5(a));
    if (isTargetSubtype(a->subtype)) cg().targetActor = nullptr;
    a->releaseChild();
    if (callRelease) {
        a->release();
        a->flags &= ~0x80;
    }
    removeActorAt(slot);
}

void game::removeAllActors(bool dropCharacters) {
    while (cg().actorCount > 0) removeActorAt(0);
    if (Long64Array* marks = cg().levelObjectMarks)
        for (jint i = 0; i < marks->length(); ++i) marks->data()[i] = -1;
    if (dropCharacters && cg().characterSlots) {
        cg().hero = nullptr;
        for (jint i = 0; i < 3; ++i) {
            auto* c = static_cast<cActor*>(cg().characterSlots->data()[i]);
            if (!c) continue;
            if (cActor* child = c->child) {
                shutDown(child);
                child->releaseChild();
                finishShutDown(child);
                c->child = nullptr;
            }
            c->release();
            cg().characterSlots->data()[i] = nullptr;
        }
    }
    cg().actorCount = 0;
    if (ObjectArray* list = cg().activeActors)
        for (jint i = 0; i < list->length(); ++i) list->data()[i] = nullptr;
    cg().activeActorCount = 0;
    cg().targetActor = nullptr;
}

// --- lookups ----------------------------------------------------------------

jint game::findActorById(jint id) {
    for (jint i = 0; i < cg().actorCount; ++i) {
        cActor* a = poolActor(i);
        if (a && a->uniqueId == id) return i;
    }
    return -1;
}

cActor* game::getActorSlotById(jint id) {
    if (!cg().characterSlots) return nullptr;
    for (jint i = 0; i < 3; ++i) {
        auto* c = static_cast<cActor*>(cg().characterSlots->data()[i]);
        if (c && c->uniqueId == id) return c;
    }
    return nullptr;
}

cActor* game::getActorById(jint id) {
    if (cActor* c = getActorSlotById(id)) return c;
    jint i = findActorById(id);
    return i >= 0 ? poolActor(i) : nullptr;
}

cActor* game::findActiveType8Actor() {
    for (jint i = 0; i < cg().activeActorCount; ++i) {
        cActor* a = activeActor(i);
        if (a && a->type == 8) return a;
    }
    return nullptr;
}

bool game::hitsActiveType8Actor(ShortArray* r) {
    for (jint i = 0; i < cg().activeActorCount; ++i) {
        cActor* a = activeActor(i);
        if (a && a->type == 8 && (a->flags & 0x20) && cActor::rectsIntersect(a->box, r)) return true;
    }
    return false;
}

void game::refreshActors() {
    for (jint i = 0; i < cg().actorCount; ++i)
        if (cActor* a = poolActor(i)) cActor::setupSpriteAndBox(a);
    if (ObjectArray* slots = cg().characterSlots)
        for (jint i = 0; i < 3; ++i)
            if (auto* c = static_cast<cActor*>(slots->data()[i])) cActor::setupSpriteAndBox(c);
}

// --- factory ----------------------------------------------------------------

cActor* game::spawnActor(ShortArray* table, jint length, jint offset) {
    if (!cg().actorPool) createActorPool();
    if (cg().actorCount >= cg().actorPool->length()) return nullptr;
    if (!table || offset < 0 || length < 7 || offset > table->length() - length) {
        logPrintf("Actor record at %d (length %d) outside its table", offset, length);
        return nullptr;
    }
    jint subtype = table->data()[offset];
    if (subtypeRow(subtype) < 0 || !ca().subtypeParams) {
        logPrintf("Actor record of subtype %d refused: no parameter row", subtype);
        return nullptr;
    }
    jint slot = cg().actorCount;
    cActor* a = poolActor(slot);
    a->resetForReuse();
    game::behaviour::initFromLevelData(a, table, length, offset);
    cActor::setupSpriteAndBox(a);
    a->poolSlot = slot;
    cg().actorCount = slot + 1;
    return a;
}

namespace {

struct Template {
    jint id, length, animation, flags;
    jint p[4];
};

// Parameter elements [7..10] of each template record ([11] is 0).
constexpr Template kTemplates[] = {
    {2, 10, 0, 160, {1, 0, -1, 0}},  // [9] is the level's special item id
    {6, 10, 0, 160, {1, 0, 0, 0}},
    {7, 10, 0, 160, {3, 3, 10, 0}},
    {8, 10, 0, 160, {1, 0, 0, 0}},
    {11, 7, 1, 160, {}},
    {13, 10, 0, 160, {3, 0, 0, 0}},
    {14, 10, 6, 160, {3, 0, -1, 0}},
    {19, 10, 0, 160, {1, 0, 0, 0}},
    {32, 10, 10, 160, {3, 0, 0, 0}},
    {38, 12, 12, 160, {16, 16, -8, -16}},
    {44, 10, 0, 160, {-1, 0, 0, 0}},
    {46, 12, 5, 160, {13, 13, -6, -13}},
    {65, 12, 2, 160, {25, 12, -12, -12}},
    {67, 7, 8, 176, {}},
    {112, 10, 0, 160, {3, 0, 0, 0}},
    {120, 12, 5, 160, {87, 12, -43, -12}},
    {123, 12, 7, 160, {16, 16, -8, -16}},
    {126, 7, 9, 176, {}},
    {129, 10, 0, 160, {50, 5000, -1, 0}},
    {131, 12, 7, 160, {16, 16, -8, -16}},
    {153, 7, 0, 176, {}},
    {156, 12, 9, 160, {16, 16, -8, -16}},
    {164, 10, 0, 160, {3, 1, 10, 0}},
    {190, 12, 9, 160, {16, 16, -8, -16}},
    {192, 12, 9, 160, {16, 16, -8, -16}},
    {217, 7, 0, 176, {}},
    {219, 12, 47, 160, {0, 0, 0, 0}},
    {230, 12, 6, 160, {25, 12, -12, -12}},
    {248, 7, 131, 160, {}},
    {251, 7, 94, 176, {}},
    {271, 7, 111, 160, {}},
    {3013, 12, 9, 160, {16, 16, -8, -16}},
};

jint kTemplateIds[std::size(kTemplates)] = {};

}  // namespace

const jint* game::templateIds(jint* count) {
    for (size_t i = 0; i < std::size(kTemplates); ++i) kTemplateIds[i] = kTemplates[i].id;
    *count = static_cast<jint>(std::size(kTemplates));
    return kTemplateIds;
}

cActor* game::spawnFromTemplate(jint templateId, jint x, jint y) {
    const Template* t = nullptr;
    for (const Template& k : kTemplates)
        if (k.id == templateId) t = &k;
    if (!t) return nullptr;
    ShortArray* r = newShortArray(t->length);
    jshort* d = r->data();
    d[0] = java::i2s(t->id);
    d[1] = java::i2s(nextUniqueId());
    d[2] = java::i2s(x);
    d[3] = java::i2s(y);
    d[5] = java::i2s(t->animation);
    d[6] = java::i2s(t->flags);
    for (jint k = 7; k < t->length && k < 11; ++k) d[k] = java::i2s(t->p[k - 7]);
    if (t->id == 2) d[9] = java::i2s(ca().itemId);
    cActor* a = spawnActor(r, t->length, 0);
    if (a) a->flags |= 0x80000;
    return a;
}

cActor* game::spawnActorAt(jint templateId, jint x, jint y, jint animation, jint flags, bool facing) {
    ShortArray* r = newShortArray(12);
    jshort* d = r->data();
    d[0] = java::i2s(templateId);
    d[1] = java::i2s(nextUniqueId());
    d[2] = java::i2s(x);
    d[3] = java::i2s(y);
    d[5] = java::i2s(animation);
    d[6] = java::i2s(flags);
    cActor* a = spawnActor(r, 12, 0);
    if (!a) return nullptr;
    a->flags |= 0x80000;
    cActor::setFacing(a, facing ? 1 : 0);
    addActiveActor(a);
    return a;
}


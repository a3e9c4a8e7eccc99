// The framework behind ActorHooks, and the generic world and behaviour
// defaults (see defaults.h).
#include "game/actor/defaults.h"

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/actor/screenhooks.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/data/statics.h"

using namespace game;

namespace {

class ActorFramework final : public ActorHooks {
public:
    // A plain actor (pooled defaults) for the splash screens.
    cActor* newLogoActor() override { return newObject<cActor>(); }
    void createActorPool() override { game::createActorPool(); }
    cActor* newActorFromRecord(ShortArray* data, jint length, jint start) override {
        return cActor::makeFromRecord(data, length, start);
    }
    jint subtypeClass(jint type) override {
        return subtypeRow(type) < 0 || !ca().subtypeParams ? -1 : cActor::getSubtypeParam(type, 5);
    }
    jint getParam(cActor* a, jint i) override { return a ? a->getParam(i) : 0; }
    jint getTypeParam(cActor* a, jint i) override { return a ? a->getTypeParam(i) : 0; }
    void refreshActors() override { game::refreshActors(); }
    void releaseCarriedActor() override { game::releaseCarriedActor(); }
    void clearHeroFlag200() override {
        if (cg().hero) cg().hero->flags &= ~0x200;
    }
    void clearHeroLocks() override { ca().heroInputLock = 0; }
    void resetLevelCounters() override {
        for (jint i = 0; i < 5; ++i) ca().itemCounts->data()[i] = 0;
        ca().hitGuard = 0;
        ca().levelMark = -1;
        ca().heroState = -1;
        ca().heroLaunched = 0;
    }
    void resetTrackedValues() override { game::initTrackedLists(); }
};

ActorFramework g_framework;
ActorWorldDefaults g_world;
ActorBehaviourDefaults g_behaviour;

}  // namespace

void game::installActorHooks() { setActorHooks(&g_framework); }

namespace {
void storeHeroHitKind(jint kind) {
    if (cActor* h = cg().hero) h->timer = kind;
}
jint heroSubtypeForSound() { return cg().hero ? cg().hero->subtype : -1; }
}  // namespace

void game::installActorServices() {
    setScreenActorHooks(&actorScreenHooks());
    setHeroHitKindSink(&storeHeroHitKind);
    setHeroSubtypeSource(&heroSubtypeForSound);
    setPartnerViewSource(&heroPartnerView);
}

void game::registerActorFramework() {
    registerActorStatics();
    installActorHooks();
    installActorDefaults();
    installActorServices();
}

void game::installActorDefaults() {
    setWorldHooks(&g_world);
    setBehaviourHooks(&g_behaviour);
}

void game::initFromLevelDataGeneric(cActor* a, ShortArray* table, jint length, jint offset) {
    if (!a || !table || offset < 0 || length < 7 || offset > table->length() - length) return;
    a->scale = 100;
    a->angle = 0;
    const jshort* r = table->data() + offset;
    a->subtype = r[0];
    a->uniqueId = r[1];
    a->flags = static_cast<uint16_t>(r[6]) | cActor::getSubtypeParam(a->subtype, 8);
    a->facing = a->flags & 1;
    a->paintFlags = (a->paintFlags & ~1) | a->facing;
    a->type = cActor::getSubtypeParam(a->subtype, 5);
    jint x = r[2], y = r[3], anim = r[5];
    if (a->flags & 0x400000) a->allocMotionState();
    worldHooks().setBoxSize(a, cActor::getSubtypeParam(a->subtype, 6), cActor::getSubtypeParam(a->subtype, 7));
    cActor::moveTo(a, java::ishl(x, 8), java::ishl(y, 8));
    a->setAnim(anim);
    a->layer = cActor::getSubtypeParam(a->subtype, 9);
    jint n = length - 7;
    if (n > 0) {
        ShortArray* p = newShortArray(n);
        a->params = p;
        const jshort* src = table->data() + offset + 7;  // read after the allocation
        for (jint i = 0; i < n; ++i) p->data()[i] = src[i];
    }
}

void ActorBehaviourDefaults::initFromLevelData(cActor* a, ShortArray* table, jint length, jint offset) {
    initFromLevelDataGeneric(a, table, length, offset);
}

void ActorBehaviourDefaults::respawn(cActor* a) {
    if (!a) return;
    a->flags |= 0x80 | 0x20;
    IntArray* r = a->respawnRecord;
    if (r && r->length() >= 7 && r->data()[1] != -1) {
        cActor::moveTo(a, java::ishl(r->data()[1], 8), java::ishl(r->data()[2], 8));
        a->setAnim(a->respawnRecord->data()[3]);
        a->scale = a->respawnRecord->data()[6];
        a->facing = a->respawnRecord->data()[5] != 0 ? 1 : 0;
        a->paintFlags = (a->paintFlags & ~1) | a->facing;
        cActor::stopMotion(a);
        a->aiState = 0;
        a->physicsFlags = 0;
    }
    if (a->respawnRecord && a->respawnRecord->length() > 0) a->respawnRecord->data()[0] = -1;
    if (a->subtype == 7) {
        if (!a->motion) a->allocMotionState();
        a->physicsFlags = 0x1000001;
        a->aiState = 28;
    }
}

void ActorWorldDefaults::setBoxSize(cActor* a, jint w, jint h) {
    if (!a || !a->box) return;
    w = java::idiv(java::imul(w, a->scale), 100) & ~1;
    h = java::idiv(java::imul(h, a->scale), 100);
    cActor::setBox(a->box, a->posX - w / 2, a->posY - h, a->posX + w / 2, a->posY);
}

void ActorWorldDefaults::moveHeroBy(cActor* hero, jint dx, jint dy) { cActor::moveBy(hero, dx, dy); }

void ActorWorldDefaults::resetHero(cActor* a, jint x, jint y) {
    if (!a) return;
    cActor::moveTo(a, java::ishl(x, 8), java::ishl(y, 8));
    setHeroState(a, 0);
}

void ActorWorldDefaults::updateAllActors() {
    if (!cg().activeActors) cg().activeActors = newObjectArray(cid::cActor, kActorPoolSize);
    ObjectArray* list = cg().activeActors;
    for (jint i = 0; i < cg().activeActorCount; ++i) list->data()[i] = nullptr;
    cg().activeActorCount = 0;
    for (jint i = 0; i < cg().actorCount; ++i) {
        cActor* a = poolActor(i);
        if (!a) continue;
        cActor::updateRespawn(a);
        cActor::updateStateTimer(a);
        if (a->uniqueId < 9999) {
            cActor::updateScreenBox(a);
            if (a->viewRating < 2 && cg().activeActorCount < list->length())
                list->data()[cg().activeActorCount++] = a;
        } else {
            addActiveActor(a);
        }
    }
}

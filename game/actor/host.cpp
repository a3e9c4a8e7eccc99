// The built-in actor host: the generic halves of the world and behaviour
// services, so the framework runs on its own.
#include "game/actor/host.h"

#include "game/actor/actor.h"
#include "game/sprite/sprite.h"

namespace game {

namespace {

ActorHost g_builtIn;
ActorHost* g_host = nullptr;

}  // namespace

ActorHost& actorHost() { return g_host ? *g_host : g_builtIn; }
void setActorHost(ActorHost* host) { g_host = host; }

void ActorHost::initFromLevelData(cActor* a, ShortArray* table, jint length, jint offset) {
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
    if (a->flags & 0x400000) a->allocMotionState();
    jint x = r[2], y = r[3], anim = r[5];
    setBoxSize(a, cActor::getSubtypeParam(a->subtype, 6), cActor::getSubtypeParam(a->subtype, 7));
    cActor::moveTo(a, java::ishl(x, 8), java::ishl(y, 8));
    a->setAnim(anim);
    a->layer = cActor::getSubtypeParam(a->subtype, 9);
    jint n = length - 7;
    if (n > 0) {
        ShortArray* p = newShortArray(n);
        a->params = p;
        const jshort* src = table->data() + offset + 7;  // re-read after the allocation
        for (jint i = 0; i < n; ++i) p->data()[i] = src[i];
    }
    setupType(a);
}

void ActorHost::setBoxSize(cActor* a, jint w, jint h) {
    if (!a || !a->box) return;
    w = java::idiv(java::imul(w, a->scale), 100);
    h = java::idiv(java::imul(h, a->scale), 100);
    w &= ~1;
    cActor::setBox(a->box, a->posX - w / 2, a->posY - h, a->posX + w / 2, a->posY);
}

void ActorHost::moveHeroBy(cActor* hero, jint dx, jint dy) { cActor::moveBy(hero, dx, dy); }

void ActorHost::resetHero(cActor* a, jint x, jint y) {
    if (!a) return;
    jint w = cActor::getWidth(a), h = cActor::getHeight(a);
    a->setPosition(x, y);
    if (a->motion) cActor::moveTo(a, java::ishl(x, 8), java::ishl(y, 8));
    cActor::setBox(a->box, x - w / 2, y - h, x - w / 2 + w, y);
    setHeroState(a, 0);
}

BSprite* ActorHost::spriteById(jint i, jint group) {
    ObjectArray* t = stores().spriteTable;
    if (!t || i < 0 || i >= 64 || group < 0 || group >= 32) return nullptr;
    return static_cast<BSprite*>(t->data()[group * 64 + i]);
}

BSprite* ActorHost::spriteByNumber(jint n) { return spriteById(n, 0); }

void setDemoSprite(jint i, jint group, BSprite* sprite) {
    ObjectArray* t = stores().spriteTable;
    if (t && i >= 0 && i < 64 && group >= 0 && group < 32) t->data()[group * 64 + i] = sprite;
}

}  // namespace game

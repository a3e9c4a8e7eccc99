// The actor framework's start-up (see defaults.h).
#include "game/actor/defaults.h"

#include "game/actor/actor.h"
#include "game/actor/screenhooks.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"

using namespace game;

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
    installActorServices();
}

// The contact rules of the actor types that answer contact themselves
// (types 8, 18, 41, 46, 50 and 88), and the hero's contact with the plain
// solid types as the behaviours classify it; the world's collision sweep
// calls them (body.cpp). Also the behaviours' statics list.
#include <algorithm>

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/hero.h"
#include "game/behaviour/behaviour.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/death.h"
#include "game/behaviour/enemies.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/world/body.h"
#include "game/actor/actor.h"

namespace game::behaviour {

namespace {

bool isTheHero(cActor* a) { return a && a == cg().hero; }

}  // namespace

jint contactKindOf(cActor* mover, cActor* other, ShortArray* newBox) {
    if (!mover || !other) return -1;
    if (isTheHero(other) && mover->type == 8) contactFromAbove(other, mover, newBox);
    switch (other->type) {
    case 8:
        if (contactFromAbove(mover, other, newBox)) {
            mountActor() = other;
            return 1072;
        }
        return 0;
    case 18:
        if (isTheHero(mover) && other->posY < mover->posY - (cActor::getHeight(mover) >> 1))
            defeatEnemy(other, 1);
        return 0;
    case 41:
        if (contactPush(mover, other)) mountActor() = other;
        return 0;
    case 46:
        if (other->subtype == 4) markHitByHero(mover, other);
        return 0;
    case 50:
        if (isTheHero(mover)) {
            cActorStatics& h = ca();
            if (!(heroState() == 31 && h.orbitActor == other && h.orbitFlightTicks < 6)) {
                h.orbitPending = 1;
                h.nextOrbitActor = other;
            }
        }
        return 0;
    case 88: {
        const jint k = contactSide(mover, other, newBox);
        if (k) mountActor() = other;
        return k;
    }
    default: return -1;  // the world's plain rule
    }
}

void classifyHeroTouch(cActor* other) {
    if (!other) return;
    if (isTargetSubtype(other->subtype)) {
        if (cActor* h = cg().hero) markHitByHero(h, other);
    } else {
        behaviour::classifyHeroContact(other);
    }
}

void appendBehaviourStatics(std::vector<const StaticsContribution*>& list) {
    const StaticsContribution* c = behaviourStaticsContribution();
    if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
}

}  // namespace game::behaviour

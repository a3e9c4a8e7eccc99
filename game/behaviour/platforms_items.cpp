// Items: the container (44) that releases its level item, the flying holder
// (58), the scale item (39) and the slot actors' scale change, the heavy
// item taken on touch (45), and the carryable, throwable, breakable item (2).
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/messages.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/platforms_util.h"
#include "game/behaviour/states.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "game/world/streaming.h"
#include "runtime/log.h"

#include <algorithm>

namespace game::behaviour {

namespace {

constexpr jint kSolidPhysics = 4;
// The slot scales a type-39 item may ask for, in percent.
constexpr jint kMinSlotScale = 25, kMaxSlotScale = 300;

bool itemRecordAvailable(jint index) { return game::isRecordAvailable(cg().tileAttributes, index, -1); }

// An item's record id as the released actor carries it: the item index with
// the tag 0x2000000 (an id of 0 would read as "no record" for item 0).
jint itemRecordId(jint index) { return (index & 0xFFFFFF) | 0x2000000; }

}  // namespace

// --- container -------------------------------------------------------------------

void updateType44(cActor* a) {
    cActor* hero = plat::heroActor();
    switch (a->aiState) {
    case 0: {
        cActor::stopMotion(a);
        const jint id = plat::param(a, 0);
        const jint index = findItemIndex(id);
        if (index < 0) logPrintf("Actor %d: container item %d not in the level", a->uniqueId, id);
        plat::setParamIfPresent(a, 0, index);
        a->setAttackBox(plat::param(a, 3), plat::param(a, 4), plat::param(a, 1), plat::param(a, 2));
        bool gone = false;
        if (index >= 0) {
            const jint kind = getItemField(index, 3), sub = getItemField(index, 4);
            gone = (kind == 6 && (java::ishr(getVariable(1), sub & 255) & 1)) || !itemRecordAvailable(index);
        }
        if (gone) {
            physicsFlags(a) &= ~kSolidPhysics;
            a->setAnim(2);
            a->aiState = 37;
        } else {
            a->aiState = 2;
        }
        break;
    }
    case 2:
        if (!hero) break;
        if (contactFlags(a) & 0x20000) {
            contactFlags(a) &= ~0x20000;
            if (partnerMode() > 2) {
                partnerMode() = 2;
                partnerActor() = a;
            }
            grabMode() = partnerMode();
            grabbedActor() = partnerActor();
            hero::setHeroState(hero, 19);
            physicsFlags(a) &= ~kSolidPhysics;
        }
        if (a->attackBox && cActor::rectsIntersect(a->attackBox, hero->box)) {
            if (partnerMode() > 2) {
                partnerMode() = 2;
                partnerActor() = a;
            }
        } else if (cActor* held = heldItem()) {
            held->deactivate();
            heldItem() = nullptr;
        }
        break;
    case 6: {
        const jint index = plat::param(a, 0);
        if (animTicks(a) == 2 && index >= 0 && itemRecordAvailable(index)) {
            const jint kind = getItemField(index, 3), sub = getItemField(index, 4);
            const jint value = getItemField(index, 5), anim = getItemField(index, 8);
            if (kind == 2 && sub != 4) lastRevealedItem() = value;
            printPoolText(77);
            cActor* item = spawnFromTemplate(kind, a->posX, a->posY - 140);
            if (item) {
                if (kind == 6) item->setAnim(sub);
                if (kind == 2 && sub == 4) {
                    plat::setParamIfPresent(item, 1, 4);
                    plat::setParamIfPresent(item, 2, value);
                    ObjectArray* sprites = cg().sprites;
                    if (sprites && value >= 0 && value < sprites->length())
                        item->sprite = static_cast<BSprite*>(sprites->data()[value]);
                    item->setAnim(anim);
                } else if (kind == 2 && sub == 8) {
                    plat::setParamIfPresent(item, 1, 8);
                    item->scale = 150;
                }
                item->recordIndex = itemRecordId(index);
                plat::ensureMotion(item);
                item->setVelocityLimitsX(-1536, 1536);
                item->setVelocityLimitsY(-1536, 1536);
                item->aiState = 19;
            }
        }
        if (a->isAnimDone()) {
            if (index >= 0) world::setTileAttribute(itemRecordId(index), 1, false);
            physicsFlags(a) &= ~kSolidPhysics;
            a->setAnim(2);
            a->aiState = 37;
        }
        break;
    }
    default: break;
    }
}

// --- flying holder -----------------------------------------------------------------

void updateType58(cActor* a) {
    cActor* hero = plat::heroActor();
    switch (a->aiState) {
    case 0: a->aiState = 2; break;
    case 19:
        if (hero && plat::flyToHero(a, hero, 1536)) a->aiState = 2;
        break;
    case 2:
        if (!plat::touchesHero(a)) break;
        plat::setPartAt(heroStateVars(), 0, 0);
        hero::setHeroState(hero, 32);
        if (plat::param(a, 0) != -1) {
            counter(a) = 0;
            a->aiState = 23;
        } else {
            removeActor(a, true);
        }
        break;
    case 23:
        a->setAnim(1);
        counter(a) = java::iadd(counter(a), 1);
        if (plat::param(a, 0) != -1 && counter(a) == plat::msToSteps(plat::param(a, 0))) {
            a->setAnim(0);
            a->aiState = 2;
        }
        break;
    default: break;
    }
}

// --- scale item and the slot actors' scale change ------------------------------------

void summonSlotActors(cActor* a) {
    // A scale outside what the character boxes can take (an absurd percent
    // from damaged data would throw the hero out of the map) is refused and
    // the item stays inert.
    const jint target = plat::param(a, 0);
    if (target < kMinSlotScale || target > kMaxSlotScale) {
        logPrintf("Actor %d: slot scale %d%% refused (%d-%d)", a->uniqueId, target, kMinSlotScale, kMaxSlotScale);
        a->aiState = 30;
        return;
    }
    a->aiState = 23;
    counter(a) = plat::msToSteps(plat::param(a, 1));
    cActor* hero = plat::heroActor();
    IntArray* p = newIntArray(1);
    if (!p) return;  // out of memory: logged by the heap
    p->data()[0] = hero ? hero->scale : 100;
    a->parts = p;
    ObjectArray* slots = characterSlots();
    for (jint i = 0; slots && i < 3 && i < slots->length(); ++i)
        if (auto* c = static_cast<cActor*>(slots->data()[i])) cActor::startScaleTween(c, plat::param(a, 0), 10);
}

void updateType39(cActor* a) {
    cActor* hero = plat::heroActor();
    switch (a->aiState) {
    case 0: a->aiState = 2; break;
    case 19:
        if (hero && plat::flyToHero(a, hero, 1536)) a->aiState = 2;
        break;
    case 2:
        if (plat::touchesHero(a)) summonSlotActors(a);
        break;
    case 23: {
        // The change is used once: after it the item stays here, counting
        // on below 0 and showing 0 seconds.
        const jint c = counter(a);
        const jint full = plat::msToSteps(plat::param(a, 1));
        scaleSecondsLeft() = c > 0 ? java::idiv(java::iadd(java::idiv(java::imul(c, 1000), 16), 999), 1000) : 0;
        a->setAnim(1);
        counter(a) = java::isub(c, 1);
        // A duration of under a step (or -1) ends on the first step.
        if (counter(a) == 0 || (c <= 0 && c == full)) {
            if (hero) cActor::startScaleTween(hero, plat::partAt(a->parts, 0), 10);
            if (plat::param(a, 1) == -1) {
                removeActor(a, true);
                break;
            }
            if (counter(a) != full) a->setAnim(0);
        }
        break;
    }
    default: break;
    }
}

// --- heavy item ----------------------------------------------------------------------

void updateType45(cActor* a) {
    cActor* hero = plat::heroActor();
    if (a->aiState == 0) {
        cActor::stopMotion(a);
        a->setAttackBox(plat::param(a, 5), plat::param(a, 6), plat::param(a, 3), plat::param(a, 4));
        a->aiState = 2;
        return;
    }
    if (a->aiState != 2 || !hero || !a->attackBox || !cActor::rectsIntersect(a->attackBox, hero->box)) return;
    if (grabbedActor()) {
        hero::heroDropCarried(hero);
        return;
    }
    if (partnerMode() > 3) {
        partnerMode() = 3;
        partnerActor() = a;
    }
    grabMode() = partnerMode();
    grabbedActor() = partnerActor();
    const jint ticks = plat::msToSteps(plat::param(a, 0));
    ca().carryTicks = ticks;
    ca().shakeFastLimit = ticks;
    ca().shakeDropCount = 0;
    interactHeroType45(a, hero);
    physicsFlags(a) &= ~kSolidPhysics;
}

}  // namespace game::behaviour

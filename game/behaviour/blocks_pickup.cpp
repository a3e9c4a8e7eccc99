// Pickups: the test that decides whether the hero takes an item actor
// (checkPickup: partner offers, the pickup box, counting, bursts, respawn,
// conversion into an effect) and the item's effect on the game variables
// and the saved progress (applyPickup).
//
// Invariants: an item with amount 0 is never taken; a kind outside the
// variable table changes no variable (logged once a kind); the ten-piece
// burst skips what a full pool refuses.
#include <algorithm>

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/states.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/hero/state.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace blk;

namespace {

bool motionAtRest(cActor* a) { return a && a->motion && motionAt(a, 2) == 0 && motionAt(a, 3) == 0; }

void ensureMotion(cActor* a) {
    if (a && !a->motion) a->allocMotionState();
}

void limitsXY(cActor* a, jint lo, jint hi) {
    ensureMotion(a);
    a->setVelocityLimitsX(lo, hi);
    a->setVelocityLimitsY(lo, hi);
}

// The collectible burst on the hero: its child effect renewed.
void heroBurst() {
    cActor* h = hero();
    if (!h) return;
    h->releaseChild();
    cActor::spawnChild(h, getSpriteById(11, 18), 0, 0, h->posX, h->posY, 11, 0xA000);
}

void markRecord(cActor* item, bool high) { world::setTileAttribute(item->recordIndex, 1, high); }

}  // namespace

// --- the effect ---------------------------------------------------------------------

void applyPickup(cActor* item, jint kind, jint amount) {
    if (!item) return;
    switch (kind) {
    case 1: {
        const jint piece = item->anim;
        if (piece > 9) return;
        if (piece < 0) {
            logPrintf("Pickup %d: piece number %d ignored", item->uniqueId, piece);
            return;
        }
        const jint before = getVariable(1);
        const jint now = before | java::ishl(1, piece);
        setVariable(1, now, true);
        if (getVariable(1) == 1023 && before != 1023) {
            fireworksTicks() = 96;
            fireworksPhase() = 0;
        }
        setSaveSlotShort(getVariable(1), levelNumber());
        saveProgress();
        return;
    }
    case 3: {
        const jint health = getVariable(3);
        if (health < 1) return;
        if (health < getVariable(9)) gameEventBits() |= 8;
        setVariable(3, health + scaleByLevel(amount, false), true);
        return;
    }
    case 5:
        onCounterEvent(1);
        if (amount >= 2) setVariable(5, getVariable(5) + amount - 1, true);
        return;
    case 7: pickupEvent() = 11; return;
    default:
        if (kind < 0 || kind >= kVariables) {
            BlocksStatics& s = blks();
            if (!(s.badKindLogged & java::ishl(1, kind & 31))) {
                s.badKindLogged |= java::ishl(1, kind & 31);
                logPrintf("Pickup %d: kind %d has no variable, ignored", item->uniqueId, kind);
            }
            return;
        }
        setVariable(kind, getVariable(kind) + amount, true);
        world::setTileAttribute(item->recordIndex, 1, isPickupKind5(item));
        return;
    }
}

// --- the test ----------------------------------------------------------------------

void checkPickup(cActor* item, jint fromRoutine) {
    cActor* h = hero();
    if (!item || !h || !hasBox(h)) return;
    // 1. The partner offer of subtype 144.
    if (item->subtype == 144 && len(h->attackBox) >= 4 && hasBox(item) &&
        cActor::rectsIntersect(h->attackBox, item->box) && (item->aiState == 18 || item->aiState == 0) &&
        !world::isScriptTargetId(item->uniqueId) && motionAtRest(item)) {
        ca().partnerMode = 0;
        ca().partnerActor = item;
    }
    // 2. The pickup box.
    ShortArray*& pick = scratchBox();
    if (len(pick) < 4) pick = newShortArray(4);
    cActor::copyBox(h->box, pick);
    if (isHeroSubtype(item)) pick->data()[1] = java::i2s(pick->data()[3] - 85);
    else if (item->subtype == 113 || item->subtype == 237) pick->data()[1] = java::i2s(pick->data()[3] - 50);
    // 3, 4.
    if (param(item, 0) == 0) return;
    if (fromRoutine == 1 && (!hasBox(item) || !cActor::rectsIntersect(item->box, pick))) return;
    // 5.
    const jint kind = typeParam(item, 12);
    const jint flags = param(item, 1);
    // 6. The held item.
    if (kind == 7 && fromRoutine == 1) {
        limitsXY(item, -1536, 1536);
        item->setAnim(1);
        item->aiState = 19;
        game::hero::setHeroState(h, HeroState::PICKUP);
        if (!screenWaveOn()) {
            screenWaveOn() = 1;
            screenWaveStart() = cg().playFrames;
        }
        h->setAnim(0);
        return;
    }
    // 7.
    if ((flags & 4) || (kind == 5 && fromRoutine == 0)) {
        heroBurst();
        markRecord(item, true);
        playSound(11);
    } else {
        addPickupCount(kind, flags);
    }
    // 8.
    if (item->subtype == 8) {
        cActor* t = cg().targetActor;
        if (t && (t->subtype == 3003 || t->subtype == 104)) put(t->parts, 10, at(t->parts, 10) - 1);
    }
    // 9. Carryable.
    if (kind == 4) {
        const jint s = item->aiState;
        if (s == 24 || s == 5 || s == 27 || s == 28 || world::isScriptTargetId(item->uniqueId) || !motionAtRest(item))
            return;
        if (ca().heroState == HeroState::STAND && carried(h) != item && (item->subtype == 32 || item->subtype == 33) &&
            isProgressBitClear(2))
            cActor::spawnChild(item, getSpriteById(10, 18), 44, 0, item->posX, item->posY, 11, 0x40A000);
        if (item->subtype != 144 && ca().partnerMode < 4) return;
        ca().partnerActor = item;
        ca().partnerMode = 3;
        return;
    }
    // 10. Any other kind.
    if (!(flags & 4)) {
        if (kind == 0) lastRevealedItem() = param(item, 2);
        if (flags & 8) {
            for (jint i = 0; i < 10; ++i) {
                cActor* p = spawnFromTemplate(2, item->posX, item->posY);
                if (!p) continue;
                physicsFlags(p) = 0x1000040;
                limitsXY(p, -3072, 3072);
                timer(p) = i;
                p->flags |= 0xA0010;
                p->aiState = 8;
                nextState(p) = 7;
                addActiveActor(p);
            }
        } else {
            applyPickup(item, kind, param(item, 0));
        }
    }
    if (kind == 1) {
        playSound(11);
        markRecord(item, false);
        removeActor(item, true);
        return;
    }
    if (kind == 2) {
        pickupState13(h, getVariable(2));
    } else if (kind == 8) {
        setMotionAt(h, 2, 0);
        setMotionAt(h, 3, 0);
        pickupState20(h, getVariable(8));
    }
    if (flags & 1) {
        item->setRespawnCountdown(param(item, 2));
        item->flags &= ~0xA0;
        item->releaseChild();
        cActor::stopMotion(item);
        physicsFlags(item) = 0;
        return;
    }
    if (kind != 0) {
        const jint t = typeParam(item, 13);
        if (t < 0) {
            markRecord(item, kind == 5);
            removeActor(item, true);
            return;
        }
        item->paintFlags &= ~0x20;
        item->flags &= ~0x40;
        item->nextAnim = -1;
        item->frame = item->frameTick = item->animTicks = item->animPasses = 0;
        item->anim = -1;
        item->sprite = getSpriteById(8, 18);
        switchToType3(item, t);
        if (kind == 7 || kind == 3 || kind == 5) heroBurst();
        playSound(kind == 3 || kind == 5 ? 10 : 11);
        cActor::stopMotion(item);
        physicsFlags(item) = 0;
        return;
    }
    // Kind 0: thrown off.
    if (flags & (4 | 8)) {
        playSound(11);
        if (flags & 8) item->flags &= ~128;
    } else {
        playSound(12);
    }
    limitsXY(item, -5120, 5120);
    physicsFlags(item) |= 64;
    item->aiState = 25;
    item->flags |= 0x20000;
    item->releaseChild();
    cActor::spawnChild(item, getSpriteByNumber(4), 3, 0, item->posX, item->posY, 11, 0xE000);
}

}  // namespace game::behaviour

// The rule-driven enemy (type 6): each step it gathers a word of condition
// bits, runs the rule row of its AI state in the subtype's program (first
// matching pair, then the chain of pairs up to a decided state), sets the
// state's animation, and handles the few states with fixed meaning: the
// first step, dying with corpse and fade, following the link path,
// waiting, riding and being stunned.
//
// Invariants: a subtype without a program does nothing of its own; a
// state outside its program has no rules; a rule chain never runs past
// the end of its row; a short animation row reads as -1; arrays read
// with parts (target point, patrol bounds) are length-checked.
#include "game/behaviour/enemies.h"

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/linkpath.h"
#include "game/behaviour/messages.h"
#include "game/behaviour/routines.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "runtime/jint.h"
#include "runtime/log.h"

#include <cstdlib>

namespace game::behaviour {

namespace {

cActor* hero() { return cg().hero; }

bool boxesMeet(ShortArray* a, ShortArray* b) { return a && b && cActor::rectsIntersect(a, b); }

jint motionAt(cActor* a, jint i) { return a->motion ? a->motion->data()[i] : 0; }

jint partAt(cActor* a, jint i) {
    IntArray* p = a->parts;
    return p && i >= 0 && i < p->length() ? p->data()[i] : 0;
}

}  // namespace

RuleSelection selectRules(cActor* self) {
    RuleSelection s;
    switch (self->subtype) {
    case 27: s = {rules27(), 0}; break;
    case 41:
    case 71: s = {rules41(), 1}; break;
    case 55:
    case 269: s = {rules55(), 2}; break;
    case 173: s = {rules173(), 2}; break;
    case 202: s = {rules202(), 2}; break;
    case 87: s = {rules87(), 2}; break;
    case 86: s = hitImmune(self) ? RuleSelection{rules86Immune(), 3} : RuleSelection{rules86(), 2}; break;
    case 97:
    case 150: s = {rules97(), 4}; break;
    case 64: s = {rules64(), 5}; break;
    case 118: s = {rules118(), 6}; break;
    case 119: s = {rules119(), 7}; break;
    case 93:
    case 148: s = {rules148(), 8}; break;
    case 59:
    case 155: s = {rules155(), 9}; break;
    case 124: s = {rules124(), 10}; break;
    case 172: s = {rules172(), 11}; break;
    case 188: s = {rules188(), 12}; break;
    case 29: s = {rules29(), 13}; break;
    case 58: s = {rules58(), 14}; break;
    case 218: s = {rules218(), 15}; break;
    case 225: s = {rules225(), 16}; break;
    case 229: s = {rules229(), 17}; break;
    case 231: s = {rules64(), 18}; break;
    default: s = {nullptr, -1}; break;
    }
    return s;
}

jint stateAnimation(jint row, jint state) { return stateAnimFor(row, state); }

namespace {

bool isLookAheadSubtype(jint s) {
    switch (s) {
    case 29:
    case 58:
    case 59:
    case 93:
    case 148:
    case 155:
    case 172:
    case 188:
    case 218:
    case 231: return true;
    default: return false;
    }
}

bool isDeathSound21(jint s) {
    switch (s) {
    case 41:
    case 59:
    case 71:
    case 93:
    case 97:
    case 148:
    case 150:
    case 155: return true;
    default: return false;
    }
}

// Bit 0x1000: the target point in parts[0], parts[1] reached on the major axis.
bool targetReached(cActor* a) {
    const jint vx = motionAt(a, 2), vy = motionAt(a, 3);
    const jint dx = java::isub(java::isub(partAt(a, 0), vx >> 8), a->posX);
    const jint dy = java::isub(java::isub(partAt(a, 1), vy >> 8), a->posY);
    const bool major = std::abs(static_cast<jlong>(dx)) >= std::abs(static_cast<jlong>(dy));
    const jint v = major ? vx : vy, d = major ? dx : dy;
    return (v >= 1 && d < 0) || (v < 0 && d > 0) || (v == 0 && d == 0);
}

jint conditionBits(cActor* a, jint word) {
    if (!isLinkIndexValid(a->linkIndex)) word |= 0x400;
    const bool hasBounds = a->parts && a->parts->length() >= 7;
    if (a->parts && a->parts->length() >= 2 && a->subtype != 225 && targetReached(a)) word |= 0x1000;
    const jint half = cActor::getWidth(a) / 2;
    if (std::abs(static_cast<jlong>(java::isub(a->posX, cg().cameraX))) > static_cast<jlong>(half) + 240) word |= 0x4000;
    if (isLinkIndexValid(a->linkIndex) && ca().linkRow && findTableIndex(ca().linkRow->data()[2]) == a->linkIndex)
        word |= 0x8000;
    if (hasBounds && a->motion) {
        const jint* m = a->motion->data();
        const jint lo = java::ishl(a->parts->data()[5], 8), hi = java::ishl(a->parts->data()[6], 8);
        const jint next = java::iadd(java::iadd(m[4], m[2]), m[0]);
        if (next < lo || next > hi || (next == m[4] && (m[4] == lo || m[4] == hi))) word |= 0x40000;
    }
    if (ca().collisionResult & 0x100000) word |= 0x80000;
    if (hasBounds && a->motion && hero()) {
        const jint X = java::iadd(a->motion->data()[4], 128);
        const jint hx = java::ishl(hero()->posX, 8);
        const jint lo = java::ishl(a->parts->data()[5], 8), hi = java::ishl(a->parts->data()[6], 8);
        if ((X > hx && X > lo) || (X < hx && X < hi)) word |= 0x200;
    }
    return word;
}

void setStateAnim(cActor* a, jint row, jint state) {
    const jint an = stateAnimation(row, state);
    if (an != -1) a->setAnim(an);
}

void firstStep(cActor* a, jint row) {
    // Set-up leaves a record without motion values motionless; a rule-driven
    // enemy always moves by its own motion.
    if (!a->motion) a->allocMotionState();
    a->physicsFlags = (row == 5 || row == 17) ? 0x1000000 : 0x1000004;
    const jint index = findTableIndex(a->getParamOr(0));
    a->linkIndex = isLinkIndexValid(index) ? index : -1;
    setAiStateByLink(a);
    if (a->aiState == 3) {
        if (a->motion) cActor::moveTo(a, java::imul(getLinkX(a->linkIndex), 256), java::imul(getLinkY(a->linkIndex), 256));
        cActor::stopMotion(a);
    } else {
        a->physicsFlags &= ~0x1000000;
    }
    setStateAnim(a, row, a->aiState);
}

void deathEntry(cActor* a, jint word) {
    a->physicsFlags &= ~4;
    a->flags |= 0x20000;
    onMessage(a, word, 3, -1);
    a->releaseChild();
    const jint s = a->subtype;
    if (s == 218 && a->motion) {
        jint* m = a->motion->data();
        m[0] = 0;
        m[2] = 0;
        m[3] = 1280;
        m[1] = 512;
        a->setVelocityLimitsX(-100000, 100000);
        a->setVelocityLimitsY(-100000, 100000);
    }
    if (isDeathSound21(s)) {
        playSound(21);
    } else if (s == 29) {
        playSound(27);
    } else if (s == 225) {
        playSound(26);
    } else if (s == 27 || s == 231) {
        // silent
    } else if (isSubtypeInHitGroup(a)) {
        playSound(21);
        playSound(18);
    }
}

// One step of dying; true when the actor is gone or frozen (nothing more this step).
bool dying(cActor* a, jint row, jint word) {
    a->flags &= ~0xA0010;
    if (row != 15 || (ca().collisionResult & 0x100000)) cActor::stopMotion(a);
    game::world::setTileAttribute(a->recordIndex, 1, false);
    if ((row == 6 || row == 7) && a->anim == 8 && a->isOnLastFrame()) {
        if (cActor* c = spawnFromTemplate(32, a->posX, a->posY)) c->flags |= 0x20000;
    }
    const bool keepCorpse = (a->flags & static_cast<jint>(0x80000000u)) != 0;
    const bool animated = (row >= 0 && row <= 11) || (row >= 15 && row <= 17) || stateAnimation(row, 1) != -1;
    bool waiting;
    if (animated) {
        if (keepCorpse) {
            waiting = !a->isAnimDone();
        } else {
            const bool done = a->isAnimDone() || (a->flags & 0x40);
            if (done) {
                // Hold the last frame while fading.
                if (a->sprite) a->frame = a->sprite->getAFrameCount(a->anim) - 1;
                if (a->frame < 0) a->frame = 0;
                a->flags |= 0x40;
                fade(a) = java::isub(fade(a), 15);
            }
            waiting = !done || fade(a) > 0;
        }
    } else if (!keepCorpse) {
        fade(a) = java::isub(fade(a), 15);
        waiting = fade(a) > 0;
    } else {
        waiting = false;
    }
    if (waiting) return false;
    onMessage(a, word, 3, -1);
    if (isTargetSubtype(a->subtype)) {
        game::behaviour::freezeForScript(a);
        return true;
    }
    if (keepCorpse && a->viewRating <= 1) return false;
    removeActor(a, true);
    return true;
}

void accelerateTo(cActor* a, jint sub, jint x, jint y) {
    jint accel = 128, top = 512;
    if (sub == 27) accel = 288, top = 960;
    else if (sub == 188 || sub == 58) accel = 384, top = 768;
    accelerateToward(a, x, y, accel, top);
}

void followLink(cActor* a, jint row, bool justEntered) {
    if (!isLinkIndexValid(a->linkIndex)) return;
    loadLinkRow(a->linkIndex);
    const jint px = ca().linkRow->data()[0], py = ca().linkRow->data()[1];
    if (isLinkPointAhead(a, a->linkIndex)) {
        if (a->subtype == 225) {
            a->contactFlags |= 0x1000;
            cActor::stopMotion(a);
            return;
        }
        const jint wait = java::idiv(java::iadd(java::imul(ca().linkRow->data()[4], 16), 500), 1000);
        const jint next = findTableIndex(ca().linkRow->data()[2]);
        a->linkIndex = isLinkIndexValid(next) ? next : -1;
        setAiStateByLink(a);
        // On along the chain at once; at its end the reached row's wait
        // (state 5, whose rules, if any, decide what follows).
        if (a->aiState == 3) {
            accelerateTo(a, a->subtype, getLinkX(a->linkIndex), getLinkY(a->linkIndex));
        } else if (wait > 0) {
            a->aiState = 5;
            a->timer = wait;
        }
        setStateAnim(a, row, a->aiState);
        return;
    }
    if (!justEntered) return;
    if (a->subtype == 225) {
        accelerateToward(a, px, py, 1280, 1920);
        a->setPart(0, px);
        a->setPart(1, py);
        if (a->motion) a->motion->data()[2] = px > a->posX ? 960 : -960;
        a->setAnim(1);
    } else {
        accelerateTo(a, a->subtype, px, py);
    }
}

void ride(cActor* a, jint row) {
    cActor* h = hero();
    if (!a->motion || !h) return;
    jint* m = a->motion->data();
    m[2] = m[0] = m[1] = 0;
    if (a->posY < h->posY - 20) {
        m[3] = 1536;
        setStateAnim(a, row, 7);
        world::moveHeroBy(h, 0, 1280);
    } else if (a->posY > h->posY) {
        m[3] = -1536;
        world::moveHeroBy(h, 0, -1280);
    } else {
        a->aiState = 4;
    }
}

void stunned(cActor* a) {
    cActor* c = a->child;
    if (!c) {
        if (a->subtype != 229) cActor::attachEffect(a, 10, 11, 0);
    } else if ((c->isAnimDone() && c->anim != 10 && c->anim != 11) || c->anim == -1) {
        cActor::attachEffect(a, 10, 11, 0);
    }
}

void offerGrab(cActor* a) {
    cActor* h = hero();
    if (!h || !h->attackBox || a->aiState == 1 || isTargetSubtype(a->subtype)) return;
    if (!boxesMeet(h->attackBox, a->box)) return;
    const jint s = a->subtype;
    if (s == 86 || s == 173) {
        if (partnerMode() > 0) {
            partnerMode() = 0;
            partnerActor() = a;
        }
    } else if (partnerMode() > 1) {
        partnerMode() = 1;
        partnerActor() = a;
    }
    if (s == 173 && a->attackBox && boxesMeet(a->attackBox, h->attackBox) && partnerMode() > 0) {
        partnerMode() = 0;
        partnerActor() = a;
    }
}

// Subtypes 188 and 58 take their hits themselves; true when the step ends.
bool takeOwnHit(cActor* a) {
    if ((a->subtype != 188 && a->subtype != 58) || a->aiState == 1) return false;
    if (!(a->contactFlags & 0x2000)) return false;
    a->contactFlags &= ~0x2000;
    if (a->decrementPartsCounter(1)) {
        if (a->subtype == 188) a->setAnimThen(7, 8, 0);
        else a->setAnim(3);
        cActor::stopMotion(a);
        a->aiState = 1;
        a->flags &= ~0x1000000;
        a->physicsFlags &= ~4;
        return true;
    }
    if (a->subtype == 188) {
        a->setAnim(5);
        a->aiState = 8;
        return true;
    }
    return false;
}

void charge(cActor* a) {
    const jint dir = a->facing == 1 ? 1 : -1;
    if (a->motion) {
        jint* m = a->motion->data();
        m[2] = 1920 * dir;
        m[3] = m[0] = m[1] = 0;
    }
    cActor::moveBy(a, 2560 * dir, 0);
    cActor* h = hero();
    if (h && boxesMeet(a->box, h->box)) {
        contactDamageFrom(a, 1);
        a->aiState = 3;
        cActor::stopMotion(a);
    }
    a->setAnim(8);
}

}  // namespace

void updateType6(cActor* self) {
    if (!self) return;
    cActor* h = hero();
    self->setAttackBox(self->getParamOr(3), self->getParamOr(4), self->getParamOr(1), self->getParamOr(2));
    if ((isTargetSubtype(self->subtype) && self->aiState == 30) || world::isScriptTargetId(self->uniqueId)) {
        cActor::stopMotion(self);
        return;
    }
    const RuleSelection sel = selectRules(self);
    if (sel.row < 0) return;
    jint row = sel.row;

    jint word = self->contactFlags | 1;
    if (h && boxesMeet(self->attackBox, h->box)) word |= 0x2;
    if (h && self->aiState != 1 && isLookAheadSubtype(self->subtype) &&
        std::abs(static_cast<jlong>(self->posX) - h->posX) < 725 && std::abs(static_cast<jlong>(self->posY) - h->posY) < 80)
        onMessage(self, word, 44, 0);
    if (h && partsIntersect(self, h, true, false)) classifyPartsContact(self);
    word |= self->contactFlags;
    self->timer = java::isub(self->timer, 1);
    if (self->timer < 1) {
        word |= 0x20;
        if (isTargetSubtype(self->subtype)) {
            if (cActor* item = heldItem()) {
                item->deactivate();
                heldItem() = nullptr;
            }
        }
    } else {
        word |= 0x80;
    }
    if (takeOwnHit(self)) return;
    word = conditionBits(self, word);

    const jint before = self->aiState;
    if (self->aiState == 0) firstStep(self, row);
    const jint next = runRules(self, sel.program, word);
    if (next >= 0) {
        self->aiState = next;
        if (row == 3 && !hitImmune(self)) row = 2;
        const jint an = stateAnimation(row, next);
        if (an != -1) {
            if (row == 16 && an == 8) charge(self);
            else self->setAnim(an);
        }
    }
    if (self->aiState == 1 && before != 1) deathEntry(self, word);

    switch (self->aiState) {
    case 1:
        if (dying(self, row, word)) return;
        break;
    case 4:
    case 5: cActor::stopMotion(self); break;
    case 3: followLink(self, row, before != 3); break;
    case 7:
        if (self->subtype == 188) ride(self, row);
        break;
    case 8: stunned(self); break;
    default: break;
    }
    if (self->aiState != 8 && !(self->aiState == 1 && (self->flags & static_cast<jint>(0x80000000u))))
        self->releaseChild();
    if (self->motion) {
        const jint vx = self->motion->data()[2];
        if (vx != 0) self->facing = vx > 0 ? 1 : 0;
    }
    self->contactFlags = 1;
    offerGrab(self);
}

}  // namespace game::behaviour

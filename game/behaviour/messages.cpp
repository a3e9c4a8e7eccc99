// Actor messages 2-61 (see messages.h). Every array entry a message touches
// is checked first (parts, linked, params): a short array makes the message
// do nothing for that entry. The level link walk of message 9 stops after
// the level's link count.
#include "game/behaviour/messages.h"

#include <cstdio>

#include "game/actor/contact.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/core_util.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/data/routines.h"
#include "game/flow/sound.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "runtime/log.h"
#include "runtime/string.h"

namespace game::behaviour {

using namespace core;

namespace {

constexpr jint kNothing = 63;

bool heroAttacking() { return isHeroHittable(); }

void markSpawned(cActor* self) { self->flags |= 0x20000; }

cActor* spawnAt(cActor* self, jint templateId, jint x, jint y) {
    cActor* a = spawnFromTemplate(templateId, x, y);
    if (a) cActor::setFacing(a, self->facing);
    return a;
}

void deactivateLinked(cActor* self) {
    ObjectArray* arr = linked(self);
    for (jint i = 0; arr && i < arr->length(); ++i) {
        auto* a = static_cast<cActor*>(arr->data()[i]);
        if (!a) continue;
        a->scale = 100;
        a->angle = 0;
        a->flags |= 0x1040;
    }
}

void playThen(cActor* self, jint first, jint then) { self->setAnimThen(first, then, false); }

void faceHero(cActor* self) {
    cActor* hero = theHero();
    if (hero) cActor::setFacing(self, self->posX < hero->posX ? 1 : 0);
}

// Message 2: damage through knockbackHero (hero state 19 prints text 74).
void hurtByTouch(cActor* self, jint damage) {
    cActor* hero = theHero();
    if (!hero) return;
    if (heroState() == 19) {
        printPoolText(74);
        return;
    }
    knockbackHero(hero, self, damage, 0);
}

// First half of message 3: the weak push with its burst and sound.
void pushWithBurst(cActor* self, jint sourceFlags) {
    cActor* hero = theHero();
    if (!hero || !(sourceFlags & 8) || self->subtype == 27) return;
    knockbackWeak(hero, 99);
    cActor::spawnEffect(getSpriteById(8, 18), 28, hero->posX, hero->posY, 11, 0x6000);
    playSound(21);
}

// The touch death animations of message 4.
void touchDeathAnim(cActor* self) {
    switch (self->subtype) {
    case 41: case 71: case 97: case 119: case 150: playThen(self, 8, 9); break;
    case 27: playThen(self, 3, 4); break;
    case 59: case 155: case 172: playThen(self, 7, 8); break;
    case 218: playThen(self, 45, 46); break;
    case 29: playThen(self, 9, 10); break;
    case 188: self->setAnim(7); break;
    case 58: self->setAnim(3); break;
    default: break;
    }
}

// The hit death animations of message 28 (202 only in AI state 10 unless forced).
void hitDeathAnim(cActor* self, bool any202) {
    switch (self->subtype) {
    case 41: case 71: case 93: case 97: case 118: case 148: case 150: playThen(self, 8, 9); break;
    case 29: playThen(self, 9, 10); break;
    case 124: playThen(self, 14, 15); break;
    case 218: playThen(self, 45, 46); break;
    case 55: case 86: case 87: case 173: case 225: case 269: playThen(self, 2, 3); break;
    case 202:
        if (any202 || self->aiState == 10) playThen(self, 2, 3);
        break;
    default: break;
    }
}

void hurtAnim(cActor* self) {
    switch (self->subtype) {
    case 93: case 97: case 118: case 124: case 148: case 150: playThen(self, 7, 1); break;
    case 55: case 86: case 87: case 173: case 269: playThen(self, 27, 0); break;
    case 41: case 71: playThen(self, 7, 0); break;
    case 29: playThen(self, 8, 4); break;
    case 225: playThen(self, 2, 3); break;
    default: break;
    }
}

jint message4(cActor* self, jint parameter) {
    const jint state = heroState();
    if (!heroAttacking() && state != 8) {
        if (self->aiState != 8) {
            const jint damage = java::ishr(parameter, 8) & 255;
            if (damage != 0)
                hurtByTouch(self, damage);
            else
                contactDamage(self, 0);
        }
        return kNothing;
    }
    if (state == 12 && part(self, 2) > 0) return kNothing;
    cActor::stopMotion(self);
    holdHeroState();
    touchDeathAnim(self);
    return 1;
}

jint message28(cActor* self, jint sourceFlags) {
    cActor* hero = theHero();
    const jint state = heroState();
    if (!hero || (!heroAttacking() && state != 8)) return kNothing;
    if (hero->facing != (hero->posX > self->posX ? 1 : 0) || hitImmune(self)) return kNothing;
    if (state != 12) {
        hitDeathAnim(self, false);
        return self->subtype == 202 && self->aiState != 10 ? kNothing : 1;
    }
    if (!(sourceFlags & 2048)) return kNothing;
    if (self->subtype == 202 && self->aiState != 10) return kNothing;
    cActor::setFacing(self, hero->facing);
    cActor::moveBy(self, hero->facing == 1 ? -3840 : 3840, 0);
    if (self->decrementPartsCounter(1)) {
        hitDeathAnim(self, true);
        return 1;
    }
    hurtAnim(self);
    if (self->aiState == 6) {
        onMessage(self, sourceFlags, 12, 32);
        return 9;
    }
    return kNothing;
}

// Message 7: the spawn, after moving to the last frame's centre for the
// subtypes whose shot leaves from there.
void message7(cActor* self, jint templateId) {
    const jint sub = self->subtype;
    const bool fromFrame = sub == 64 || ((sub == 41 || sub == 71 || sub == 97 || sub == 118 || sub == 119 ||
                                          sub == 124 || sub == 150) &&
                                         self->anim == 7);
    if (fromFrame && self->sprite && cg().frameRect) {
        const jint last = self->sprite->getAFrameCount(self->anim) - 1;
        IntArray* rect = cg().frameRect;
        self->sprite->getAFrameRect(rect, self->anim, last < 0 ? 0 : last, 0, 0, 0);
        const jint x = intAt(rect, 0);
        const jint w = java::isub(intAt(rect, 2), x);
        const jint dx = self->facing == 1 ? java::ishl(java::ineg(java::iadd(x, java::idiv(w, 2))), 8)
                                          : java::ishl(java::iadd(w & ~1, java::imul(2, x)), 7);
        cActor::moveBy(self, dx, 0);
    }
    cActor* a = spawnAt(self, templateId, self->posX, self->posY);
    if (!a) return;
    if (!a->motion) a->allocMotionState();
    if (templateId == 14) cActor::attachEffect(a, 11, 11, 0);
}

// Message 9: follow the link chain while its points lie toward the hero.
void message9(cActor* self) {
    cActor* hero = theHero();
    const jint start = findTableIndex(param(self, 0));
    self->linkIndex = start >= 0 ? start : -1;
    if (start < 0 || !hero) return;
    const jint dx = java::isub(hero->posX, self->posX);
    const jint dy = java::isub(hero->posY, self->posY);
    jint row = start;
    for (jint steps = 0; steps < ca().linkCount; ++steps) {
        loadLinkRow(row);
        const jint* r = ca().linkRow->data();
        const jint dot = java::iadd(java::imul(java::isub(r[0], self->posX), dx),
                                    java::imul(java::isub(r[1], self->posY), dy));
        if (dot < 0) break;
        const jint next = findTableIndex(r[2]);
        if (next < 0 || next == start) break;
        row = next;
    }
    loadLinkRow(row);
    self->linkIndex = row;
    accelerateToward(self, ca().linkRow->data()[0], ca().linkRow->data()[1], 128, 512);
}

void message12(cActor* self, jint parameter) {
    jint v = parameter & 0xFFFF;
    if (v & 0x8000) {
        const jint i = v & 0x7FFF;
        if (!self->parts || i >= self->parts->length()) {
            logPrintf("Actor %d: message 12 reads parts[%d] of %d", self->uniqueId, i,
                      self->parts ? self->parts->length() : 0);
            return;
        }
        v = self->parts->data()[i];
    }
    if (java::ishr(parameter, 16) == 1)
        setPart(self, 8, v);
    else
        self->timer = v;
}

void message25(cActor* self, jint sourceFlags) {
    cActor* hero = theHero();
    if (!hero) return;
    if (sourceFlags & 4) {
        if (heroState() != 11 && heroState() != 12)
            knockback(hero, hero->facing == 1 ? -1 : 1, 16, 1536, 5376, 0, 1024);
        return;
    }
    const jint vx = mot(hero, 2);
    jint direction = vx >= 1 ? 1 : vx < 0 ? -1 : (hero->posX > self->posX ? 1 : -1);
    setHeroVar(0, direction);
    setHeroVar(1, 1280);
    setHeroVar(2, 1280);
    setHeroVar(3, 118);
    setHeroVar(4, 118);
    hero::setHeroState(hero, 3);
}

void attackTouch(cActor* self) {
    cActor* hero = theHero();
    if (hero && self->attackBox && cActor::rectsIntersect(self->attackBox, hero->box)) hurtByTouch(self, 1);
}

}  // namespace

jint onMessage(cActor* self, jint sourceFlags, jint message, jint parameter) {
    if (!self) return kNothing;
    cActor* hero = theHero();
    switch (message) {
    case 2: hurtByTouch(self, parameter); break;
    case 3:
        pushWithBurst(self, sourceFlags);
        deactivateLinked(self);
        break;
    case 4: return message4(self, parameter);
    case 5: faceHero(self); break;
    case 6:
        faceHero(self);
        cActor::setFacing(self, self->facing ? 0 : 1);
        break;
    case 7: message7(self, parameter); break;
    case 8: {
        if (!hero) break;
        const jint tx = hero->posX;
        const jint ty = heroAltMode() ? hero->posY : self->posY;
        setPart(self, 0, tx);
        setPart(self, 1, ty);
        accelerateToward(self, tx, ty, 128, parameter == 0 ? 1024 : parameter);
        break;
    }
    case 9: message9(self); break;
    case 10: self->physicsFlags = 0x1000107; break;
    case 11: cg().shakeTimer = parameter; break;
    case 12: message12(self, parameter); break;
    case 13: self->setAnim(parameter); break;
    case 14: {
        markSpawned(self);
        const jint tx = java::iadd(self->posX, 800), ty = self->posY;
        setPart(self, 0, tx);
        setPart(self, 1, ty);
        accelerateToward(self, tx, ty, 512, 4096);
        break;
    }
    case 16:
        markSpawned(self);
        setPart(self, 0, self->facing == 1 ? java::iadd(boxAt(self, 2), 27) : java::isub(boxAt(self, 0), 27));
        setPart(self, 1, self->posY);
        break;
    case 17:
        contactDamage(self, 0);
        hero::cancelHeroGrab();
        break;
    case 18: world::setBoxSize(self, self->getTypeParam(6), self->getTypeParam(7)); break;
    case 19: {
        markSpawned(self);
        cActor* a = spawnAt(self, 46, self->posX, self->posY);
        if (a) {
            a->parts = newIntArray(1);
            ObjectArray* l = newObjectArray(cid::cActor, 1);
            l->data()[0] = self;
            setLinked(a, l);
        }
        playSound(24);
        break;
    }
    case 21:
        removeActor(self, true);
        deactivateLinked(self);
        break;
    case 22: return onHitBySubtype(self, parameter);
    case 23: {
        if (!self->motion) self->allocMotionState();
        const jint vx = java::ishr(parameter, 16), vy = parameter & 0xFFFF;
        setMot(self, 0, 0);
        setMot(self, 1, 0);
        setMot(self, 2, vx);
        setMot(self, 3, vy);
        self->setVelocityLimitsX(vx, vx);
        self->setVelocityLimitsY(vy, vy);
        break;
    }
    case 25: message25(self, sourceFlags); break;
    case 28: return message28(self, sourceFlags);
    case 29:
        if (self->subtype != 225) attackTouch(self);
        break;
    case 34:
        if (self->anim != parameter) self->setAnimThen(parameter, self->anim, false);
        break;
    case 35:
        markSpawned(self);
        spawnAt(self, 65, self->posX, java::iadd(self->posY, 40));
        break;
    case 38: {
        const jint bits = java::ishr(parameter, 16);
        if ((eventBits() & bits) == 0 && scriptsEnabled() != 0 && startScriptFromParam(self, parameter & 255))
            eventBits() |= bits;
        break;
    }
    case 43: {
        ObjectArray* l = linked(self);
        if (l && l->length() > 1 && l->data()[1]) {
            static_cast<cActor*>(l->data()[1])->deactivate();
            if (l->length() > 2 && l->data()[2]) static_cast<cActor*>(l->data()[2])->deactivate();
        }
        break;
    }
    case 44:
        if (hero) {
            cg().lookMode = self->posX > hero->posX ? 1 : -1;
            cg().lookAheadForcedX = 75;
        }
        break;
    case 45:
        if (cg().lookMode == 1 || cg().lookMode == -1) {
            cg().lookMode = 66;
            cg().lookAheadForcedX = 30001;
        }
        break;
    case 46: self->physicsFlags |= 4; break;
    case 47: self->physicsFlags &= ~4; break;
    case 48: case 49: case 50: case 51: attackTouch(self); break;
    case 52:
        markSpawned(self);
        spawnAt(self, 120, self->posX, self->posY);
        playSound(24);
        break;
    case 53:
        playThen(self, 8, 9);
        self->aiState = 1;
        break;
    case 54:
        markSpawned(self);
        spawnAt(self, 156, self->posX, self->posY);
        playSound(24);
        break;
    case 55:
        hitImmune(self) = 0;
        return isLinkIndexValid(self->linkIndex) ? 3 : 2;
    case 56:
        markSpawned(self);
        spawnAt(self, 190, self->posX, java::isub(self->posY, 54));
        playSound(24);
        break;
    case 57:
        markSpawned(self);
        spawnAt(self, 192, java::isub(self->posX, 44), java::isub(self->posY, 4));
        playSound(22);
        break;
    case 58: world::setBoxSize(self, java::iadd(self->getTypeParam(6), 136), self->getTypeParam(7)); break;
    case 59:
        markSpawned(self);
        spawnAt(self, 192, self->facing == 1 ? java::iadd(self->posX, 30) : java::isub(self->posX, 30),
                java::isub(self->posY, 4));
        playSound(22);
        break;
    case 60:
        markSpawned(self);
        spawnAt(self, 230, self->posX, self->posY);
        removeActor(self, true);
        return onHitBySubtype(self, parameter);
    case 61:
        printPoolText(75);
        if (heroState() == 19) {
            printPoolText(74);
            break;
        }
        pushWithBurst(self, sourceFlags);
        break;
    default: break;
    }
    return kNothing;
}

IntArray* ruleRow(ObjectArray* program, jint state) {
    if (!program || state < 0 || state >= program->length()) return nullptr;
    return static_cast<IntArray*>(program->data()[state]);
}

jint stateAnimFor(jint row, jint state) {
    ObjectArray* table = ca().stateAnims;
    if (!table || row < 0 || row >= table->length()) return -1;
    auto* anims = static_cast<IntArray*>(table->data()[row]);
    return anims && state >= 0 && state < anims->length() ? anims->data()[state] : -1;
}

bool isRuleProgramValid(ObjectArray* program) {
    if (!program) return true;
    const jint states = program->length();
    for (jint s = 0; s < states; ++s) {
        auto* rules = static_cast<IntArray*>(program->data()[s]);
        if (!rules) continue;
        if (rules->length() % 2) return false;
        for (jint k = 0; k < rules->length(); k += 2) {
            const jint next = ruleNext(rules->data()[k]);
            if (next != 63 && next >= states) return false;
        }
    }
    return true;
}

void refuseBadRulePrograms() {
    for (jint n = 1; n <= 22; ++n) {
        ObjectArray* program = aiProgram(n);
        if (isRuleProgramValid(program)) continue;
        logPrintf("Rule program %d refused: a rule names a next state outside its %d states", n, program->length());
        // Every state keeps an (empty) rule list, so the program runs no rules.
        for (jint s = 0; s < program->length(); ++s) {
            IntArray* none = newIntArray(0);
            aiProgram(n)->data()[s] = none;
        }
    }
}

jint runRules(cActor* self, ObjectArray* program, jint conditions) {
    IntArray* rules = ruleRow(program, self->aiState & 0xFFFFFF);
    if (!rules) return -1;
    const jint n = rules->length() / 2;
    jint k = 0;
    while (k < n && (ruleMask(rules->data()[2 * k]) & conditions) == 0) ++k;
    if (k == n) return -1;
    // The row stays the one of the state the rules started in (arrays never move).
    for (; k < n; ++k) {
        const jint word = rules->data()[2 * k];
        const jint argument = rules->data()[2 * k + 1];
        const jint r = onMessage(self, conditions, ruleMessage(word), argument);
        if (r != 63) return r;
        if (ruleNext(word) != 63) return ruleNext(word);
    }
    return -1;
}

// java_io_PrintStream.println(cGame.systemOut, text n of the string pool).
void printPoolText(jint n) {
    if (String* s = StaticClass::getStringConstant(n)) std::printf("%s\n", toUtf8(s).c_str());
}

jint onHitBySubtype(cActor* self, jint) {
    // {hurt, then, death, then} by subtype.
    struct Anims {
        jint hurt, hurtThen, death, deathThen;
    };
    Anims set{7, 0, 8, 9};
    switch (self->subtype) {
    case 119: set = {7, 7, 8, 9}; break;
    case 155: case 59: case 172: case 188: set = {5, 6, 7, 8}; break;
    case 218: set = {43, 44, 45, 46}; break;
    case 58: set = {3, 1, 3, 3}; break;
    case 29: set = {8, 4, 9, 10}; break;
    default: break;
    }
    if (!self->decrementPartsCounter(1)) {
        self->setAnimThen(set.hurt, set.hurtThen, false);
        return kNothing;
    }
    if (cActor* hero = theHero()) cActor::setFacing(self, hero->facing);
    self->setAnimThen(set.death, set.deathThen, false);
    return 1;
}

}  // namespace game::behaviour

// Hero contact classification and pending hits (see contact.h). One bit per
// classification; applyPendingHits handles the first pending case only and
// leaves the others for the next call.
#include "game/behaviour/contact.h"

#include "game/actor/hero.h"
#include "game/behaviour/core_util.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/flow/variables.h"

namespace game::behaviour {

using namespace core;

namespace {

constexpr jint kSide = 0x4;
constexpr jint kAbove = 0x8;
constexpr jint kBelow = 0x10;
constexpr jint kHeld = 0x800;
constexpr jint kStatTouch = 0x2000;
constexpr jint kStamp7 = 0x20000;
constexpr jint kHit5 = 0x100000;
constexpr jint kStamp = 0x200000;
constexpr jint kHit16 = 0x400000;

jint heroVy() { return mot(theHero(), 3); }

bool targetHasSubtype(jint subtype) {
    cActor* t = cg().targetActor;
    return t && t->subtype == subtype;
}

jint pushResult() { return targetHasSubtype(238) ? 3 : 1; }

// Knocks the hero back weakly: its own back for subtype 4 (the hero looks
// left with facing 1), else away from self.
void weakPush(cActor* self) {
    cActor* hero = theHero();
    if (!hero) return;
    jint d = self->subtype == 4 ? (hero->facing == 1 ? 1 : -1) : getDirectionToHero(self);
    knockbackWeak(hero, d);
}

}  // namespace

void classifyHeroContact(cActor* self) {
    cActor* hero = theHero();
    if (!self || !hero) return;
    if (isInvulnerabilityStatSet()) {
        self->contactFlags |= kStatTouch;
        return;
    }
    const jint line = java::idiv(java::iadd(boxAt(hero, 1), java::imul(2, boxAt(hero, 3))), 3);
    const jint vy = heroVy();
    if (line <= boxAt(self, 1) && vy >= 0)
        self->contactFlags |= kAbove;
    else if (line >= boxAt(self, 3) && vy < 0)
        self->contactFlags |= kBelow;
    else
        self->contactFlags |= kSide;
}

void classifyPartsContact(cActor* self) {
    if (!self) return;
    if (isInvulnerabilityStatSet()) {
        self->contactFlags |= kStatTouch;
        return;
    }
    ShortArray* a = ca().partBoxA;
    ShortArray* b = ca().partBoxB;
    const jint top = shortAt(a, 1);
    const jint line = java::iadd(top, java::idiv(java::isub(shortAt(a, 3), top), 3));
    const jint vy = heroVy();
    if (shortAt(b, 3) <= line && vy >= 0)
        self->contactFlags |= kAbove;
    else if (shortAt(b, 1) >= line && vy < 0)
        self->contactFlags |= kBelow;
    else
        self->contactFlags |= kSide;
}

jint applyPendingHits(cActor* self, bool push) {
    if (!self) return 0;
    jint& bits = self->contactFlags;
    if (bits & kHeld) {
        bits &= ~kHeld;
        if (cActor* t = cg().targetActor) {
            if (t->subtype == 238) {
                if (strikeStep() == 0) counterLimit(t) = 2;
                return 1;
            }
            if (t->subtype == 255) return 1;
        }
        return strikeStep() == 1 ? 2 : 1;
    }
    for (jint stamp : {kStamp7, kStamp}) {
        if (bits & stamp) {
            bits &= ~stamp;
            if (push) {
                weakPush(self);
                return pushResult();
            }
        }
    }
    for (jint hit : {kHit5, kHit16}) {
        if (bits & hit) {
            bits &= ~hit;
            if (push) {
                cActor* hero = theHero();
                if (hero) knockback(hero, hero->facing == 1 ? -1 : 1, 16, 2048, 3840, 128, 512);
                return pushResult();
            }
        }
    }
    return 0;
}

bool isInvulnerabilityStatSet() { return getVariable(6) != 0; }

bool isHeroInvulnerable() {
    cActor* hero = theHero();
    return (hero && hero->timer >= 1) || isInvulnerabilityStatSet();
}

jint markTouchedByType2(cActor* self, cActor* other) {
    if (!self) return 1;
    if (self->type == 6) {
        if ((self->subtype == 148 || self->subtype == 93) && other) cActor::setFacing(self, other->facing);
        self->contactFlags |= kStatTouch;
    } else {
        self->contactFlags |= 0x10000;
    }
    return 1;
}

bool isHeroHittable() {
    const jint s = ca().heroState;
    if (s == 5 || s == 12 || s == 15 || s == 16) return true;
    cActor* hero = theHero();
    return s == 38 && hero && hero->anim == 25;
}

}  // namespace game::behaviour

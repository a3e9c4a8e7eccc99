// Hero damage and knockback (see damage.h). Health changes only through
// applyHeroDamage; every accepted hit also stores 53 frames of
// invulnerability in the hero's timer.
#include "game/behaviour/damage.h"

#include "game/actor/hero.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/core_util.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::behaviour {

using namespace core;

namespace {

constexpr jint kInvulnerableFrames = 53;
constexpr jint kStateKnockback = 11;
constexpr jint kStateHurled = 10;
constexpr jint kStateTowed = 21;
constexpr jint kStateFly = 38;
constexpr jint kStateBorne = 39;
constexpr jint kStateAutoRun = 40;

bool heroIsDead() { return getVariable(3) < 1; }

// cGame.applyHeroDamage: sound, invulnerability count, health down.
void applyDamage(jint amount, jint frames) {
    applyHeroDamage(amount, frames);
    if (cActor* h = theHero()) h->timer = frames;
}

jint levelHurtSound() { return cg().stage == 8 ? 32 : 29; }

}  // namespace

void knockback(cActor* hero, jint direction, jint holdValue, jint pushSpeed, jint jumpSpeed, jint brake,
               jint gravity) {
    if (!hero || heroIsDead() || ca().heroState == kStateFly) return;
    setHeroVar(0, holdValue);
    hero::setHeroState(hero, kStateKnockback);
    if (!hero->motion) hero->allocMotionState();
    if (direction == -1) {
        setMot(hero, 2, java::ineg(pushSpeed));
        setMot(hero, 0, brake);
        hero->setVelocityLimitsX(java::ineg(pushSpeed), 0);
    } else {
        setMot(hero, 2, pushSpeed);
        setMot(hero, 0, java::ineg(brake));
        hero->setVelocityLimitsX(0, pushSpeed);
    }
    setMot(hero, 3, java::ineg(jumpSpeed));
    setMot(hero, 1, gravity);
    hero->setVelocityLimitsY(java::ineg(jumpSpeed), jumpSpeed);
}

void knockbackWeak(cActor* hero, jint direction) {
    if (!hero) return;
    jint d = direction == 99 ? (hero->facing == 1 ? -1 : 1) : direction;
    knockback(hero, d, 19, 2048, 8601, 0, 819);
}

void contactDamage(cActor* source, jint amount) {
    cActor* hero = theHero();
    if (!hero || !source || heroIsDead()) return;
    jint direction = getDirectionToHero(source);
    if (amount != 0) {
        if (!isHeroInvulnerable()) {
            playSound(29);
            applyDamage(amount, kInvulnerableFrames);
        }
        playSound(29);
        if (ca().heroState != kStateKnockback) knockback(hero, direction, 9, 2048, 5376, 128, 512);
    } else {
        knockback(hero, direction, 16, 1536, 5376, 0, 1024);
    }
}

void contactDamageFrom(cActor* source, jint amount) {
    cActor* hero = theHero();
    if (!hero || !source || isHeroInvulnerable()) return;
    if (amount != 0) {
        playSound(29);
        applyDamage(amount, kInvulnerableFrames);
    }
    playSound(29);
    knockback(hero, source->posX > hero->posX ? -1 : 1, 9, 2048, 5376, 128, 512);
}

jint knockbackHero(cActor* hero, cActor* enemy, jint amount, jint force) {
    if (!hero || !enemy) return 0;
    jint pushY = 0;
    if (ca().heroAltMode) {
        pushY = java::imul(java::iadd(cActor::overlapY(hero, enemy), 25), 256);
        if (hero->posY <= enemy->posY) pushY = java::ineg(pushY);
        jint dy = java::isub(hero->posY, enemy->posY);
        if (dy >= -5 && dy <= 5) pushY = 0;
    }
    return hurtHero(hero, pushY, amount, force != 0);
}

jint hurtHero(cActor* hero, jint pushY, jint amount, bool force) {
    if (!hero) return 0;
    if (cg().scriptBlocked != 1 && world::isAnyScriptActive() && cg().stage == 3) return 0;
    const jint state = ca().heroState;
    if (state == kStateHurled) return 0;
    if (heroIsDead()) return 0;
    if (isHeroInvulnerable() && !force) return 0;
    vibrate(100);
    applyDamage(amount, kInvulnerableFrames);
    switch (state) {
    case kStateFly:
        hero->setAnimThen(9, 70, false);
        playSound(29);
        break;
    case kStateAutoRun: playSound(29); break;
    case kStateBorne:
    case kStateTowed: playSound(levelHurtSound()); break;
    default:
        if (ca().heroAltMode) {
            setHeroVar(1, 34);
            setHeroVar(2, 14);
            setHeroVar(3, java::iadd(mot(hero, 5), pushY));
        }
        break;
    }
    return 1;
}

void damageHeroBy(jint amount, jint invulnerableFrames) {
    if (isHeroInvulnerable() || amount == 0) return;
    playSound(29);
    applyDamage(amount, invulnerableFrames);
}

jint getLives() { return getVariable(5); }

}  // namespace game::behaviour

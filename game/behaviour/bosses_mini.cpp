// The anchor-hopping mini-bosses: types 24 and 33/56 rise at anchors of
// their link chain, attack (strike, throw or drop) and sink again, a round
// of 2, 3 or 4 attacks per phase (hits taken / 4) ending in a window where
// they can be hit; type 21 walks a chain of waypoints, throws, drops and
// chases, and can be hit after a landing.
//
// Invariants: parts indexes stay inside the arrays set-up gave (the type
// table pads them); random placements try a bounded number of times before
// placing anyway; a script id that names no script is refused at set-up
// (-1) and starts nothing; nothing runs in AI state 30 or while a level
// script runs.
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"

#include "game/actor/paint.h"
#include "game/sprite/sprite.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace bossutil;

namespace {

constexpr jint kAnchorFirst = 11, kWaypointFirst = 13, kChainCount = 9;
constexpr jint kPlacementTries = 16;

jint hitsTaken(cActor* self) { return getSubtypeClass(self->subtype) - part(self, 2); }
jint phaseOf(cActor* self) {
    jint p = hitsTaken(self) / 4;
    return p < 0 ? 0 : p;
}
jint roundLength(cActor* self) {
    jint p = phaseOf(self);
    return p >= 2 ? 4 : p == 1 ? 3 : 2;
}

jint anchorX(jint v) { return v >> 16; }
jint anchorY(jint v) { return static_cast<jshort>(v & 0xFFFF); }

jint chainCount(cActor* self, jint first) {
    jint n = part(self, kChainCount);
    jint room = self->parts ? self->parts->length() - first : 0;
    return n < 0 ? 0 : n > room ? room : n;
}

// A marker near the top of the view over world x, for 32 steps.
void markSpot(jint x) { spawnScreenEffect(x, 50, 32, false); }

void touchHurts(cActor* self, jint amount) {
    if (bodyMeetsHero(self)) contactDamage(self, amount);
}

// Anchor for the next hop: kind 1 any at random; kind 2 a draw of two ways,
// the anchor nearest the hero's x or the farthest.
jint chooseAnchor(cActor* self, jint kind) {
    jint n = chainCount(self, kAnchorFirst);
    if (n <= 0) return -1;
    if (kind == 1) return random(n);
    const bool nearest = random(2) == 0;
    cActor* h = hero();
    jint hx = h ? h->posX : self->posX;
    jint best = 0, bestD = -1;
    for (jint i = 0; i < n; ++i) {
        jint d = anchorX(part(self, kAnchorFirst + i)) - hx;
        if (d < 0) d = -d;
        if (bestD < 0 || (nearest ? d < bestD : d > bestD)) {
            best = i;
            bestD = d;
        }
    }
    return best;
}

void hopToAnchor(cActor* self) {
    cActor::stopMotion(self);
    const jint r = roundLength(self);
    const jint kind = part(self, 26) == r - 2 ? 2 : 1;
    setPart(self, 27, kind);
    self->setAnim(kind == 2 ? 10 : 1);
    const jint i = chooseAnchor(self, kind);
    if (i < 0) {
        // No anchors: attack where it stands.
        self->setAnim(kind == 2 ? 9 : 0);
        timer(self) = 8;
        self->aiState = 4;
        return;
    }
    const jint v = part(self, kAnchorFirst + i);
    const jint ax = anchorX(v), ay = anchorY(v);
    if (!self->motion) self->allocMotionState();
    cActor::moveTo(self, java::ishl(ax, 8), java::ishl(ay + 120, 8));
    setPart(self, 0, java::ishl(ax, 8));
    setPart(self, 1, java::ishl(ay, 8));
    setVy(self, -2560);
    self->aiState = 3;
    nextState(self) = 4;
    markSpot(ax);
}

// x positions at least `gap` apart inside [lo, hi]; each tries a bounded
// number of draws, then is placed anyway.
void spreadPositions(jint* xs, jint n, jint lo, jint hi, jint gap) {
    const jint span = hi - lo;
    for (jint i = 0; i < n; ++i) {
        jint x = lo;
        for (jint t = 0; t < kPlacementTries; ++t) {
            x = lo + (span > 0 ? random(span + 1) : 0);
            bool clear = true;
            for (jint j = 0; j < i; ++j) {
                jint d = x - xs[j];
                if (d < 0) d = -d;
                if (d < gap) clear = false;
            }
            if (clear) break;
        }
        xs[i] = x;
    }
}

cActor* throwFrom(cActor* self, jint templ, jint dx, jint dy, jint speed) {
    const jint dir = self->facing == 1 ? 1 : -1;
    cActor* p = spawnFromTemplate(templ, self->posX + dir * dx, self->posY + dy);
    if (!p) return nullptr;
    limitsX(p, -25600, 25600);
    limitsY(p, -25600, 25600);
    setVx(p, dir * speed);
    p->flags |= 0x20000;
    return p;
}

bool onFrameStart(cActor* self, jint frame) { return self->frame == frame && self->frameTick == 0; }

jint frameCount(cActor* self) { return self->sprite ? self->sprite->getAFrameCount(self->anim) : 0; }

void endRound24(cActor* self, bool typeB) {
    setPart(self, 26, 0);
    if (!typeB) {
        enterState2Anim8(self);
        timer(self) = phaseOf(self) >= 2 ? 64 : 80;
        return;
    }
    if (random(5) < 4) {
        enterAiState2(self);
        timer(self) = 80;
    } else {
        self->setAnim(4);
        enterAiState2(self);
        self->setAnim(4);
        timer(self) = 80;
        if (cActor* other = getActorById(param(self, 5))) enterState43(other);
    }
}

void dropThree(cActor* self) {
    jint xs[3];
    const jint cx = cg().cameraX;
    spreadPositions(xs, 3, cx - 375, cx + 375, 70);
    const jint chosen = random(3);
    (void)chosen;
    for (jint i = 0; i < 3; ++i) {
        jint y = self->posY - 200 - random(51);
        cActor* a = spawnFromTemplate(131, xs[i], y);
        if (a) a->flags |= 0x20000;
        markSpot(xs[i]);
    }
}

void updateAnchorBoss(cActor* self, bool typeB) {
    if (self->aiState == 30 || world::isAnyScriptActive()) return;
    switch (self->aiState) {
    case 0:
        targetActor() = self;
        self->flags |= 0x20000;
        if (!self->motion) self->allocMotionState();
        cActor::stopMotion(self);
        limitsX(self, -10000, 10000);
        limitsY(self, -10000, 10000);
        physicsFlags(self) = typeB ? (0x1000006 | 64) : 0x1000046;
        loadLinkChain(self, kAnchorFirst, kChainCount);
        setPart(self, 26, 0);
        timer(self) = 64;
        self->aiState = 42;
        break;
    case 42:
        if (timer(self) < 1) hopToAnchor(self);
        break;
    case 3: {
        faceHero(self);
        if (nextState(self) != 4) touchHurts(self, 0);
        bool ax = cActor::clampMoveX(self, part(self, 0), true);
        bool ay = cActor::clampMoveY(self, part(self, 1), true);
        if (!(ax && ay)) break;
        cActor::stopMotion(self);
        if (nextState(self) == 42) {
            timer(self) = 32;
            self->aiState = 42;
        } else {
            self->setAnim(part(self, 27) == 2 ? 9 : 0);
            timer(self) = 8;
            self->aiState = 4;
        }
        break;
    }
    case 4:
        touchHurts(self, 1);
        if (timer(self) < 0) {
            setPart(self, 26, part(self, 26) + 1);
            if (part(self, 27) == 2) self->setAnim(typeB ? 5 : 11);
            else self->setAnim(2);
            self->aiState = 20;
        }
        break;
    case 20: {
        touchHurts(self, 1);
        const jint n = frameCount(self);
        if (self->anim == 2) {
            if ((self->frame >= 7 && self->frame <= 10) || self->frame >= 14) {
                cActor* h = hero();
                ShortArray* scratch = ca().spareBox;
                if (h && scratch) {
                    jint l = self->facing == 1 ? self->posX : self->posX - 32;
                    cActor::setBox(scratch, l, ShortArray::at(self->box, 1), l + 32, ShortArray::at(self->box, 3));
                    if (boxesMeet(scratch, h->box)) contactDamage(self, 1);
                }
            }
        } else if (typeB && self->anim == 5) {
            if (onFrameStart(self, n - 2)) dropThree(self);
        } else if (onFrameStart(self, n - 2)) {
            if (typeB) throwFrom(self, 123, 25, -33, 2048);
            else throwFrom(self, 38, 25, -40, 2048);
            playSound(24);
        }
        if (!self->isAnimDone()) break;
        if (part(self, 26) >= roundLength(self)) endRound24(self, typeB);
        else if (typeB) startAttackFromAnchorB(self);
        else startAttackFromAnchor(self);
        break;
    }
    case 2: {
        faceHero(self);
        checkGrabbedByHero(self);
        if (hitGuard() > 3) {
            timer(self) = 0;
            if (typeB) startAttackFromAnchorB(self);
            else startAttackFromAnchor(self);
            break;
        }
        const jint before = part(self, 2);
        cActor::hitFlash(self, 8, typeB ? 2 : 4, 3, 3);
        if (part(self, 2) != before && partnerActor() == self) partnerMode() = 0;
        if (self->aiState == 2 && timer(self) <= 0) {
            if (typeB) startAttackFromAnchorB(self);
            else startAttackFromAnchor(self);
        }
        break;
    }
    case 1:
        if (self->isAnimDone()) {
            freezeForScript(self);
            self->aiState = 30;  // as the freeze leaves it: the defeat runs once
            self->setAnim(5);
            startDefeatScript(param(self, 6));
        }
        break;
    default: break;
    }
    timer(self) -= 1;
}

// --- type 21 ------------------------------------------------------------------------

void moveToNextWaypoint(cActor* self) {
    const jint n = chainCount(self, kWaypointFirst);
    if (n <= 0) return;
    jint i = part(self, 10) + 1;
    if (i >= n || i < 0) i = 0;
    setPart(self, 10, i);
    moveToWaypoint(self, part(self, kWaypointFirst + i));
    if (i == n - 1 && nextState(self) == 29) nextState(self) = 4;
}

void dropAttack21(cActor* self) {
    jint count = part(self, 28);
    if (count < 0) count = 0;
    if (count > 8) count = 8;
    jint xs[8];
    spreadPositions(xs, count, part(self, 5) + 5, part(self, 6) - 5, 80);
    const jint chosen = count > 0 ? random(count) : 0;
    (void)chosen;
    for (jint i = 0; i < count; ++i) {
        jint y = self->posY - 50 - random(51);
        cActor* a = spawnActorAt(3013, xs[i], y, 10, 160, false);
        (void)a;
        markSpot(xs[i]);
    }
    playSound(24);
}

}  // namespace

void moveToWaypoint(cActor* self, jint packed) {
    if (!self->motion) self->allocMotionState();
    const jint tx = java::ishl(anchorX(packed), 8), ty = java::ishl(anchorY(packed), 8);
    setPart(self, 0, tx);
    setPart(self, 1, ty);
    jint dxp = anchorX(packed) - self->posX;
    jint div = (dxp < 0 ? -dxp : dxp) / 7 + 1;
    jint v1 = (tx - java::ishl(self->posX, 8)) / div;
    jint v2 = (ty - java::ishl(self->posY, 8)) / div;
    if (v1 > -256 && v1 < 256) v1 = 0;
    if (v2 > -256 && v2 < 256) v2 = 0;
    setVx(self, v1);
    setVy(self, v2);
    if (dxp != 0) cActor::setFacing(self, dxp > 0 ? 1 : 0);
}

void updateType24(cActor* self) { updateAnchorBoss(self, false); }
void updateType33(cActor* self) { updateAnchorBoss(self, true); }

void updateType21(cActor* self) {
    if (self->aiState == 30 || world::isAnyScriptActive()) return;
    timer(self) -= 1;
    counter(self) -= 1;
    cActor* h = hero();
    switch (self->aiState) {
    case 0: {
        targetActor() = self;
        physicsFlags(self) = 0x1000006;
        if (!self->motion) self->allocMotionState();
        cActor::stopMotion(self);
        limitsX(self, -10000, 10000);
        limitsY(self, -10000, 10000);
        setPart(self, 29, -1);
        setPart(self, 10, -1);
        loadLinkChain(self, kWaypointFirst, kChainCount);
        jint index = world::findScriptById(param(self, 5));
        if (index < 0) logPrintf("Type-21 boss %d: script id %d names no script", self->uniqueId, param(self, 5));
        self->setParam(5, index);
        setPart(self, 5, limit(0));
        setPart(self, 6, limit(2));
        self->flags |= 0x20000;
        self->setAnim(0);
        timer(self) = 32;
        self->aiState = 2;
        break;
    }
    case 1:
        if (self->isAnimDone()) {
            freezeForScript(self);
            self->aiState = 30;  // as the freeze leaves it: the defeat runs once
            jint index = param(self, 5);
            if (index >= 0 && !world::isAnyScriptActive()) world::startScript(index);
        }
        break;
    case 2:
        if (self->anim == 0 && self->isAnimDone()) self->setAnim(2);
        if (timer(self) < 0) {
            setPart(self, 11, 1);
            nextState(self) = 29;
            moveToNextWaypoint(self);
            self->setAnim(14);
            self->aiState = 3;
        }
        break;
    case 3: {
        bool ax = cActor::clampMoveX(self, part(self, 0), true);
        bool ay = cActor::clampMoveY(self, part(self, 1), true);
        if (part(self, 11)) touchHurts(self, 1);
        if (!(ax && ay)) break;
        cActor::stopMotion(self);
        const jint next = nextState(self);
        if (next == 29) {
            moveToNextWaypoint(self);
        } else if (next == 4) {
            self->setAnim(5);
            timer(self) = 80;
            self->aiState = 4;
        } else {
            physicsFlags(self) &= ~64;
            self->setAnim(0);
            timer(self) = 32;
            self->aiState = 2;
            faceHero(self);
        }
        break;
    }
    case 4:
        if (timer(self) >= 0) break;
        if (phaseOf(self) >= 1) {
            if (part(self, 27) == 0) {
                setPart(self, 27, 1);  // the throw series runs once
                setPart(self, 29, 0);
                setPart(self, 28, 7);
                setPart(self, 30, 3);
            } else if (phaseOf(self) == 1) {
                setPart(self, 29, -1);
            } else if (part(self, 29) == -1) {
                setPart(self, 29, 1);
                setPart(self, 28, 3);
                setPart(self, 30, 4);
            } else {
                setPart(self, 29, -1);
            }
        }
        if (part(self, 29) != -1) {
            self->setAnim(part(self, 30));
            self->aiState = 20;
        } else {
            self->setAnim(2);
            self->aiState = 7;
        }
        break;
    case 7:
        chaseHeroX(self);
        if (h && h->posX - self->posX <= 20 && self->posX - h->posX <= 20) {
            cActor::stopMotion(self);
            self->setAnim(13);
            self->aiState = 23;
        }
        break;
    case 23:
        if (self->isAnimDone()) {
            self->setAnim(14);
            self->aiState = 9;
            // The dive falls until the physics reports the landing (as the
            // arena boss's fall does); from a waypoint in the air it would
            // otherwise hover for ever.
            setVy(self, 1280);
            setAy(self, 512);
        }
        break;
    case 9:
        touchHurts(self, 1);
        if (ca().collisionResult & 0x100000) {
            cActor::stopMotion(self);
            self->setAnim(6);
            clearHitFlags(self);
            timer(self) = 80;
            self->aiState = 21;
        }
        break;
    case 20:
        if (part(self, 29) == 0) {
            if (onFrameStart(self, 2) && part(self, 28) > 0) {
                jint left = part(self, 28);
                jint templ = random(100) < cg().levelDropChance ? 3013 : 197;
                throwFrom(self, templ, 14, -4, java::imul(5 - left, 384));
            }
            if (self->isAnimDone()) {
                setPart(self, 28, part(self, 28) - 1);
                if (part(self, 28) > 0) {
                    self->setAnim(-1);
                    self->setAnim(part(self, 30));
                } else {
                    self->setAnim(5);
                    timer(self) = 80;
                    self->aiState = 4;
                }
            }
        } else {
            dropAttack21(self);
            self->setAnim(5);
            timer(self) = 80;
            self->aiState = 4;
        }
        break;
    case 21:
        checkGrabbedByHero(self);
        if (hitGuard() < 4) {
            const jint before = part(self, 2);
            cActor::hitFlash(self, 6, 8, 7, 7);
            if (part(self, 2) != before && partnerActor() == self) partnerMode() = 0;
            if (self->aiState == 21 && timer(self) > 0 && !self->child) cActor::attachEffect(self, 11, 11, 0);
        } else {
            timer(self) = 0;
        }
        if (self->aiState == 21 && timer(self) <= 0) {
            self->setAnim(1);
            self->releaseChild();
            nextState(self) = 2;
            moveToNextWaypoint(self);
            self->setAnim(1);
            self->aiState = 3;
        }
        break;
    case 29:
        moveToNextWaypoint(self);
        self->aiState = 3;
        break;
    default: break;
    }
}

}  // namespace game::behaviour

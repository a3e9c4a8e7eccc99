// The checkpoint marker (type 12) and the path platforms (type 8): travel
// along the level's link rows with waits, drop or sink after a countdown,
// rise back to their set-up height, or hang from a pivot actor's arm.
// Type-8 AI state: low 24 bits the state, bit 31 a running drop or sink
// countdown in counter; the high byte survives every state change here.
#include "game/actor/levels.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/linkpath.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/platforms_util.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/world/checkpoint.h"
#include "game/world/map.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

namespace game::behaviour {

namespace {

constexpr jint kStateMask = 0xFFFFFF;
constexpr jint kCountdownBit = static_cast<jint>(0x80000000u);
constexpr jint kSwingBackAfter = 600;

jint low(cActor* a) { return a->aiState & kStateMask; }
void setLow(cActor* a, jint s) { a->aiState = (a->aiState & ~kStateMask) | (s & kStateMask); }

bool linkRowValid(jint i) { return isLinkIndexValid(i); }

// Pivot hang: placed on the arm of pivot actor P; a rider turns P toward
// its side, and a P left alone swings back toward the link line.
void hangFromPivot(cActor* a, cActor* p) {
    cActor* hero = plat::heroActor();
    const jint arm = plat::param(p, 3);
    const jint cx = p->posX, cy = p->posY - (cActor::getHeight(p) >> 1);
    const jint ang = p->angle;
    jint px = java::iadd(cx, java::imul(arm, cos256(ang)) >> 8);
    jint py = java::iadd(cy, java::imul(arm, sin256(ang)) >> 8);
    // Between the two link points the platform keeps to their line.
    const jint row = a->linkIndex;
    if (linkRowValid(row)) {
        const jint x1 = getLinkX(row);
        loadLinkRow(row);
        const jint next = findTableIndex(getLinkRowNext());
        if (linkRowValid(next)) {
            const jint x2 = getLinkX(next);
            const jint lo = std::min(x1, x2), hi = std::max(x1, x2);
            if (px < lo) px = lo;
            if (px > hi) px = hi;
            py = snapToLinkLine(0, a, px);
        }
    }
    const jint dx = px - a->posX, dy = py - a->posY;
    cActor::moveTo(a, java::ishl(px, 8), java::ishl(py, 8));
    if (hero && carried(a) == hero) {
        cActor::moveBy(hero, java::ishl(dx, 8), java::ishl(dy, 8));
        p->timer = 0;
        const jint off = hero->posX - p->posX;
        if (off > 6 || off < -6) {
            const jint s = std::min(java::iadd(plat::param(p, 4), spinDecay()), spinMax());
            plat::setParamIfPresent(p, 4, s);
            spinStep() = off > 0 ? 1 : -1;
            p->angle = java::iadd(p->angle, java::imul(spinStep(), s));
        }
        return;
    }
    p->timer = java::iadd(p->timer, 1);
    if (p->timer > kSwingBackAfter) {
        // Back toward straight down (90 degrees), a step of the swing at a time.
        const jint down = 23040, s = std::max<jint>(plat::param(p, 4), 256);
        const jint d = java::isub(down, p->angle);
        if (d > s) p->angle = java::iadd(p->angle, s);
        else if (d < -s) p->angle = java::isub(p->angle, s);
        else p->angle = down;
    }
}

}  // namespace

// --- checkpoint marker --------------------------------------------------------------

void updateType12(cActor* a) {
    cActor* hero = plat::heroActor();
    switch (a->aiState) {
    case 0:
        if ((world::getTileAttribute(a->recordIndex, 15) & 15) == 2) {
            a->aiState = 6;
            a->setAnim(2);
        } else {
            a->setAnim(0);
            a->aiState = 2;
        }
        if ((a->flags & 0x40000) && a->box) {
            a->box->data()[1] = 0;
            a->box->data()[3] = static_cast<jshort>(cg().mapPixelHeight);
        }
        break;
    case 2: {
        if (!hero || !a->box) break;
        const bool inside = cActor::boxContains(a->box, hero->posX, hero->posY) ||
                            (plat::touchesHero(a) && heroState() != 2 && heroState() != 3);
        if (!inside) break;
        if ((world::getTileAttribute(a->recordIndex, 15) & 15) != 2) cg().checkpointTimer = 64;
        world::setTileAttribute(a->recordIndex, 2, true);
        a->aiState = 6;
        world::setCheckpoint(hero);
        playSound(13);
        a->setAnim(1);
        cActor::spawnChild(hero, getSpriteById(11, 18), 0, 0, hero->posX, hero->posY, 11, 40960);
        break;
    }
    case 6:
        if (a->anim == 1 && a->isAnimDone()) a->setAnim(2);
        break;
    default: break;
    }
}

// --- path platforms ------------------------------------------------------------------

void updateType8(cActor* a) {
    cActor* hero = plat::heroActor();
    const bool letGo = heroAltMode() || (cg().targetActor && cg().targetActor->subtype == 255) || heroMireMode() ||
                       heroClimbMode();
    if (letGo && hero && carried(a) == hero) {
        hero->flags &= ~0x10000000;
        carried(a) = nullptr;
    }
    loadLinkRow(a->linkIndex);
    const jint wait = plat::msToSteps(isLinkIndexValid(a->linkIndex) ? ca().linkRow->data()[4] : 0);
    const jint next = isLinkIndexValid(a->linkIndex) ? findTableIndex(getLinkRowNext()) : -1;

    if ((a->aiState & kCountdownBit) && low(a) != 9 && low(a) != 13) {
        counter(a) = java::isub(counter(a), 1);
        if (counter(a) < 1) {
            a->aiState &= ~kCountdownBit;
            if (a->flags & 0x2000000) {
                a->releaseChild();
                enterDropState(a);
            } else if (a->flags & 0x10000) {
                enterSinkState(a);
            }
        }
    }

    switch (low(a)) {
    case 0: {
        physicsFlags(a) = 68;
        cActor::stopMotion(a);
        animBase(a) = a->anim;
        const jint row = findTableIndex(plat::param(a, 1));
        if (isLinkIndexValid(row)) {
            a->linkIndex = row;
            startLinkLeg(a);
        } else {
            setLow(a, 2);
        }
        if (a->flags & 0x2000000) {
            counter(a) = a->subtype == 208 ? plat::msToSteps(plat::param(a, 2)) : 24;
            if (a->subtype == 57 && a->box)
                a->box->data()[2] = static_cast<jshort>(
                    java::iadd(a->box->data()[0], java::imul(plat::param(a, 2), a->getTypeParam(6))));
        }
        if (a->flags & 0x10000) counter(a) = 8;
        a->setRespawnInfo(a->posX, a->posY, a->anim);
        if (!a->parts) {
            IntArray* p = newIntArray(1);
            p->data()[0] = a->anim;
            a->parts = p;
        }
        originY(a) = a->posY;
        break;
    }
    case 2:
        physicsFlags(a) |= 4;
        cActor::stopMotion(a);
        if (cActor* pivot = findLinkedActor(a)) hangFromPivot(a, pivot);
        break;
    case 3:
        physicsFlags(a) |= 0x1000100;
        if (isLinkPointAhead(a, a->linkIndex)) {  // true once the point is reached
            cActor::stopMotion(a);
            a->linkIndex = isLinkIndexValid(next) ? next : -1;
            if (wait > 0) {
                a->timer = wait;
                setLow(a, 4);
            } else {
                startLinkLeg(a);
            }
            physicsFlags(a) &= ~0x1000100;
        }
        break;
    case 4:
        a->timer = java::isub(a->timer, 1);
        if (a->timer < 1) startLinkLeg(a);
        break;
    case 9:
        a->setAnim(animBase(a) + 2);
        a->setVelocityLimitsY(-1, 1);
        if (hero && containsHeroTop(a)) {
            mountActor() = hero;
            physicsFlags(a) &= ~0x100;
        }
        if (mountActor() && mountActor() != hero) contactType8(a, mountActor());
        if (collisionResult() & 0x100000) {
            physicsFlags(a) &= ~4;
            fallAsType11(a);
        }
        break;
    case 13:
        if (collisionResult() & 0x100000) fallAsType11(a);
        if (a->motion && a->motion->data()[3] < 1) enterRiseState(a);
        break;
    case 14: {
        const jint target = originY(a);
        if (a->posY != target) {
            const jint vy = a->motion ? a->motion->data()[3] : 0;
            const jint nextY = a->posY + (vy >> 8);
            const bool passes = vy < 0 ? nextY <= target : nextY >= target;
            if (passes) {
                if (a->posY - target < cActor::getHeight(a)) {
                    const jint base = plat::partAt(a->parts, 0);
                    a->setAnimThen(base + 2, base, false);
                }
                cActor::stopMotion(a);
                if (a->motion) a->motion->data()[3] = java::ishl(target - a->posY, 8);
            }
        } else {
            cActor::stopMotion(a);
            a->aiState &= ~kStateMask;
        }
        break;
    }
    default: break;
    }
}

void touchHazard(cActor* a) {
    if (plat::touchesHero(a)) hazardContact(a);
}

}  // namespace game::behaviour

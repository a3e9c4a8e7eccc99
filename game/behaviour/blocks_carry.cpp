// Carrying: carriers of types 8 and 88 taking the hero as rider, the hero
// taking a carryable actor along a pick-up path, the held item collected;
// and the pusher walls (type 88) that shove the hero and hurt it when two
// close on it.
//
// Invariants: a carrier's rider is only ever the hero; the two pusher
// statics name a pusher only while its box overlaps the hero's, and a
// pusher is dropped from both before it is entered again.
#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "runtime/jint.h"

namespace game::behaviour {

using namespace blk;

// --- riders ---------------------------------------------------------------------------

bool tryCarryHero(cActor* carrier) {
    cActor* h = hero();
    if (!carrier || !h) return false;
    if (carrier->type == 8) {
        cActor* target = cg().targetActor;
        if (target && target->subtype == 255) return false;
        if (!(ca().collisionResult & 0x100000)) {
            const jint sub = carrier->aiState & 0xFFFFFF;
            if (!carried(carrier) && sub != 9 && sub != 13 && sub != 14) {
                carried(carrier) = h;
                h->flags |= 0x10000000;
                if (sub == 2 || sub == 3) {
                    if (carrier->flags & 0x2000000) {
                        carrier->aiState |= static_cast<jint>(0x80000000u);
                        carrier->setAnim(animBase(carrier) + 1);
                    } else if (carrier->flags & 0x10000) {
                        carrier->aiState |= static_cast<jint>(0x80000000u);
                    }
                }
            }
        }
    } else if (carrier->type == 88) {
        if (!carried(carrier)) {
            carried(carrier) = h;
            h->flags |= 0x10000000;
        }
    }
    return carried(carrier) == h;
}

// --- carryable actors ----------------------------------------------------------------

void interactHeroType45(cActor* a, cActor* h) {
    if (!a || !h) return;
    pickupOriginX() = a->posX;
    pickupOriginY() = a->posY;
    const bool heroKind = isHeroSubtype(h);
    const jint raised = heroKind ? -14080 : 0;
    ShortArray* byHero = heroKind ? carryPathA() : carryPathB();
    const jint hx = h->motion ? motionAt(h, 4) : java::ishl(h->posX, 8);
    const jint hy = h->motion ? motionAt(h, 5) : java::ishl(h->posY, 8);
    auto place = [&](bool up) { cActor::moveTo(a, hx, up ? hy + raised : hy); };
    const jint current = a->anim;
    switch (a->subtype) {
    case 13:
    case 112:
        place(true);
        a->setAnimThen(4, current, 1);
        physicsFlags(a) &= ~1;
        game::ca().stepTable = byHero;
        break;
    case 14:
        place(false);
        a->setAnimThen(7, 8, 1);
        a->releaseChild();
        game::ca().stepTable = carryPathC();
        break;
    case 32:
    case 33:
        timer(a) = 0;
        place(true);
        a->setAnimThen(11, current, 1);
        a->aiState = 6;
        cg().progressBits |= 2;
        physicsFlags(a) &= ~1;
        game::ca().stepTable = carryPathB();
        break;
    case 144:
        timer(a) = 0;
        place(true);
        a->setAnimThen(1, 2, 1);
        physicsFlags(a) &= ~1;
        game::ca().stepTable = byHero;
        break;
    case 170:
        place(true);
        a->facing = h->facing;
        a->setAnimThen(3, 0, 1);
        a->aiState = 6;
        physicsFlags(a) &= ~1;
        game::hero::setHeroState(h, 22);
        game::ca().stepTable = byHero;
        break;
    default: break;
    }
}

void collectHeldItem(cActor* a) {
    if (cActor* held = heldItem()) {
        if (contactFlags(held) != 0) {
            collectedMask() |= contactFlags(held);
            contactFlags(held) = 0;
        }
        held->deactivate();
        heldItem() = nullptr;
    }
    cg().progressBits |= 1;
    if (!a) return;
    a->setAnim(1);
    a->aiState = 6;
}

// --- pusher walls ----------------------------------------------------------------------

void updateType88(cActor* a) {
    if (!a) return;
    BlocksStatics& s = blks();
    switch (a->aiState) {
    case 0:
        physicsFlags(a) |= 0x1000100;
        counter(a) = 0;
        originX(a) = a->posX;
        if (!a->motion) a->allocMotionState();
        a->setVelocityLimitsX(-1024, 1024);
        setMotionAt(a, 2, 0);
        a->aiState = 2;
        break;
    case 2: {
        const jint dir = param(a, 3);
        const jint lo = dir == -1 ? originX(a) - 168 : originX(a);
        const jint hi = dir == -1 ? originX(a) : originX(a) + 168;
        cActor* h = hero();
        if (h && carried(a) == h) {
            if (s.pusherLeftOfHero == a) s.pusherLeftOfHero = nullptr;
            if (s.pusherRightOfHero == a) s.pusherRightOfHero = nullptr;
            if (hasBox(a) && hasBox(h) && cActor::rectsIntersect(a->box, h->box)) {
                const jint vx = motionAt(a, 2);
                if (a->posX < h->posX) {
                    s.pusherLeftOfHero = a;
                    if (vx > 0) game::world::moveHeroBy(h, vx, 0);
                    if (s.pusherRightOfHero && s.pusherRightOfHero != a && s.pusherRightOfHero->type == 88) {
                        hurtHero(h, 0, 1, true);
                        setMotionAt(a, 2, 0);
                    }
                } else if (a->posX > h->posX) {
                    s.pusherRightOfHero = a;
                    if (vx < 0) game::world::moveHeroBy(h, vx, 0);
                    if (s.pusherLeftOfHero && s.pusherLeftOfHero != a && s.pusherLeftOfHero->type == 88) {
                        hurtHero(h, 0, 1, true);
                        setMotionAt(a, 2, 0);
                    }
                }
            }
        }
        const jint cycle = param(a, 0);
        if (counter(a) < cycle) {
            const jint out = dir == -1 ? -1024 : 1024;
            if (counter(a) == param(a, 1)) setMotionAt(a, 2, out);
            if (counter(a) == param(a, 2)) setMotionAt(a, 2, -out);
            counter(a) += 1;
        } else {
            counter(a) = 0;
            setMotionAt(a, 2, 0);
        }
        const jint vx = motionAt(a, 2);
        if ((a->posX >= hi && vx > 0) || (a->posX <= lo && vx < 0)) setMotionAt(a, 2, 0);
        break;
    }
    default: break;
    }
}

}  // namespace game::behaviour

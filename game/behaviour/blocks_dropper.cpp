// The flying carrier (type 17) that follows the hero and hurts it on
// contact, and the path dropper it runs: items made above the view and
// dropped at the x positions and after the delays of a drop path.
//
// Invariants: a path, its pair and the level's path index are checked
// before use; past the path's last pair (or its -1 end mark) nothing is
// made or dropped; the carried item is dropped at most once.
#include <algorithm>

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/approach.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/damage.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace blk;

namespace {

ShortArray* pathRow(jint path) {
    ObjectArray* table = pathTable();
    if (!table || path < 0 || path >= table->length()) return nullptr;
    return static_cast<ShortArray*>(table->data()[path]);
}

// Pair n of the path: its delay and x, false past the end.
bool pathPair(jint path, jint n, jint* delay, jint* x) {
    ShortArray* row = pathRow(path);
    if (!row || n < 0) return false;
    const jint i = java::imul(n, 2);
    if (i < 0 || i + 1 >= row->length()) return false;
    if (row->data()[i] < 0) return false;  // the end mark
    *delay = row->data()[i];
    *x = row->data()[i + 1];
    return true;
}

bool boxesMeet(cActor* a, cActor* b) { return hasBox(a) && hasBox(b) && cActor::rectsIntersect(a->box, b->box); }

void setLimit(cActor* a, bool xAxis, jint v) {
    if (!a->motion) a->allocMotionState();
    if (xAxis) a->setVelocityLimitsX(-v, v);
    else a->setVelocityLimitsY(-v, v);
}

void followStep(cActor* a) {
    cActor* h = hero();
    if (!h) return;
    if (a->subtype == 49) {
        if (h->isChildFinished())
            cActor::spawnChild(h, getSpriteById(10, 18), 39, 0, h->posX, h->posY, 11, 40960);
        if (contactFlags(a) & 64) {
            contactFlags(a) &= ~64;
            restoreCameraLimits();
            h->releaseChild();
            a->setAnim(12);
            a->aiState = 36;
            return;
        }
    }
    jint target;
    if (a->aiState == 32) target = spanRight(a);
    else if (param(a, 4) != -1) target = cg().cameraX + param(a, 4) - 400;
    else target = h->posX;
    if (!a->motion) a->allocMotionState();
    const jint p0 = param(a, 0), p1 = param(a, 1);
    if (a->posX <= target) {
        setMotionAt(a, 2, std::min(java::imul(target - a->posX, 256), p0));
        if (a->aiState != 32) {
            a->facing = 1;
            a->paintFlags |= 1;
        }
    } else {
        setMotionAt(a, 2, std::max(java::imul(target - a->posX, 256), -p0));
    }
    if (a->posY <= h->posY) setMotionAt(a, 3, std::min(java::imul(h->posY - a->posY, 256), p1));
    else setMotionAt(a, 3, std::max(java::imul(h->posY - a->posY, 256), -p1));
    if (boxesMeet(h, a)) hazardContact(a);
    if (param(a, 2) >= 0) {
        updateDropper(a, param(a, 2));
        dropCarriedActor(a, param(a, 2));
    }
}

}  // namespace

jint getPathPointX(cActor* a, jint path, bool* ok) {
    jint delay = 0, x = 0;
    const bool found = a && pathPair(path, counter(a), &delay, &x);
    if (ok) *ok = found;
    return found ? cg().cameraX - 400 + x : 0;
}

// --- the carrier --------------------------------------------------------------------

void updateType17(cActor* a) {
    if (!a) return;
    cActor* h = hero();
    if (a->subtype == 49 && h && len(h->attackBox) >= 4 && hasBox(a) && cActor::rectsIntersect(h->attackBox, a->box) &&
        ca().partnerMode > 0) {
        ca().partnerMode = 0;
        ca().partnerActor = a;
    }
    switch (a->aiState) {
    case 0:
        cActor::stopMotion(a);
        physicsFlags(a) = 0x1000004;
        a->aiState = 2;
        break;
    case 31:
        if (boxesMeet(h, a)) hazardContact(a);
        spanRight(a) -= java::idiv(param(a, 0), 256);
        if (timer(a) > 0) {
            timer(a) -= 1;
        } else {
            setMotionAt(a, 0, 0);
            setLimit(a, true, param(a, 0));
            a->setAnim(2);
            a->aiState = 32;
        }
        break;
    case 32:
        spanRight(a) -= java::idiv(param(a, 0), 256);
        if (spanRight(a) <= a->posX) a->aiState = 7;
        followStep(a);
        break;
    case 7: followStep(a); break;
    case 36:
        if (a->isAnimDone()) {
            a->aiState = 2;
            a->flags &= ~(0x80 | 0x20);
        }
        break;
    default: break;
    }
}

void dropCarriedActor(cActor* a, jint pathIndex) {
    if (!a) return;
    cActor* item = carried(a);
    if (!item || timer(a) < 1) return;
    if (transitionFlag64Idle()) timer(a) -= 1;
    if (timer(a) > 0) return;
    bool ok = false;
    const jint x = getPathPointX(a, pathIndex, &ok);
    if (!ok) return;
    cActor* h = hero();
    const jint groundY = world::scanTileColumn(a, x, h ? h->posY : a->posY, 8);
    cActor::moveTo(item, java::ishl(x, 8), java::ishl(cg().cameraY - 240, 8));
    if (cActor* marker = cActor::attachEffectTo(item, x, groundY, 20)) marker->flags |= 0x800;
    item->sprite = getSpriteById(8, 18);
    item->setAnim(16);
    if (item->aiState == 0) updateEnemy(item);  // the common AI's set-up first
    cActor::stopMotion(item);
    item->aiState = 6;
    accelerateToward(item, x, groundY, 512, 2304);
    item->flags |= 0x800;
    carried(a) = nullptr;
    counter(a) += 1;
}

// --- the path dropper ------------------------------------------------------------------

void activateDropper(cActor* a) {
    if (!a) return;
    a->flags |= 0xA0;
    a->aiState = 7;
    if (a->subtype == 49) {
        setParamSafe(a, 0, java::imul(param(a, 0), 256));
        setParamSafe(a, 1, 0);
        if (param(a, 2) != 0) {
            setParamSafe(a, 2, -1);
        } else {
            ByteArray* paths = levelDropPath();
            const jint i = levelNumber() - 1;
            if (paths && i >= 0 && i < paths->length()) {
                setParamSafe(a, 2, paths->data()[i]);
            } else {
                logPrintf("Dropper %d: no drop path for level %d", a->uniqueId, levelNumber());
                setParamSafe(a, 2, -1);
            }
        }
    }
    setLimit(a, true, param(a, 0));
    setLimit(a, false, param(a, 1));
    counter(a) = 0;
    physicsFlags(a) |= 64;
    if (param(a, 2) >= 0) updateDropper(a, param(a, 2));
}

void updateDropper(cActor* a, jint path) {
    if (!a || carried(a)) return;
    jint delay = 0, px = 0;
    if (!pathPair(path, counter(a), &delay, &px)) return;  // past the last pair: nothing more
    if (timer(a) > 0) {
        if (!transitionFlag64Idle()) return;
        timer(a) -= 1;
        if (timer(a) > 0) return;
        cActor* item = spawnFromTemplate(46, a->posX + 15, a->posY - 10);
        if (!item) return;
        item->type = 18;
        item->flags |= 0x20000;
        item->sprite = getSpriteById(10, 18);
        item->setAnim(0);
        jint top = 0;
        if (item->sprite) {
            IntArray* r = ca().frameRect;
            item->sprite->getFrameRect(r, 0, 0, 0, 0);
            top = r->data()[3] - r->data()[1];
        }
        cActor::moveTo(item, java::ishl(cg().cameraX - 400 + px, 8), java::ishl(cg().cameraY - 240 + top, 8));
        carried(a) = item;
        timer(a) = 8;
        return;
    }
    timer(a) = std::max<jint>(delay, 1);
}

}  // namespace game::behaviour

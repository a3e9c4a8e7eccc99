// The stretching curve mover (78), which flies a thrown path and grows
// upward as a column while it rises, and the auto-run chaser (109), which
// runs behind the hero, climbs or drops past walls and catches him.
//
// Invariants: the mover's box keeps its lower edge while it rises (the
// bottom moves down by the height risen each frame); the chaser's wall
// search looks at most at every row of the map layer once per side, down
// first, and never outside the layer.
#include "game/actor/pool.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_core.h"
#include "game/behaviour/hazards_fields.h"
#include "game/flow/gmath.h"
#include "game/world/body.h"
#include "game/world/map.h"
#include "game/world/scripts.h"

namespace game::behaviour {

namespace {

using hz::hero;

jint param(cActor* a, jint i) { return a->getParamOr(i); }

jint* motionOf(cActor* a) {
    if (!a->motion) a->allocMotionState();
    return a->motion->data();
}

}  // namespace

// --- stretching curve mover (78) --------------------------------------------------------

void updateType78(cActor* self) {
    if (isRefused(self)) return;
    IntArray* path = self->parts;
    if (!path || path->length() < 8) return refuseHazard(self, "no curve path");
    jint* m = motionOf(self);
    switch (self->aiState) {
    case 0:
        self->angle = java::iadd(atan2(path->data()[2], path->data()[3]), 90);
        self->aiState = 2;
        break;
    case 2: {
        const jint w = self->getTypeParam(6);
        const jint pieces = param(self, 3);
        if (w <= 0 || w > 1024) return refuseHazard(self, "piece width outside 1-1024");
        if (pieces < 0 || pieces > kMaxPieces) return refuseHazard(self, "piece count outside 0-64");
        if (self->box) {
            jshort* b = self->box->data();
            b[0] = java::i2s(self->posX - (w >> 1));
            b[2] = java::i2s(b[0] + pieces * w);
        }
        self->aiState = 9;
        cActor::moveTo(self, path->data()[0], path->data()[1]);
        m = self->motion->data();
        const jint* p = path->data();
        m[2] = p[2];
        m[3] = p[3];
        m[0] = p[4];
        m[1] = p[5];
        break;
    }
    case 9: {
        self->angle = java::iadd(atan2(m[2], m[3]), 90);
        cActor* h = hero();
        if (h && hz::heroMeetsBox(self)) hz::knockbackHero(h, self, 1, 0);
        m = self->motion->data();
        if (java::isub(java::imul(self->posY, 256), path->data()[7]) > 0 && m[3] > 0) {
            self->angle = java::iadd(self->angle, 180);
            cActor::stopMotion(self);
            hz::switchToType3(self, self->anim);
        }
        break;
    }
    default:
        break;
    }
    m = self->motion->data();
    if (m[3] < 0 && self->box) {
        jshort* b = self->box->data();
        const jint lowered = b[3] - (m[3] >> 8);
        if (lowered > b[3]) b[3] = java::i2s(lowered);
    }
}

// --- auto-run chaser (109) ----------------------------------------------------------------

namespace {

bool solid(jint column, jint row) { return world::getTileFlags(cg().hero, column, row) != 0; }

jint scaled(jint base) { return java::idiv(java::imul(hf::runSpeedFactor(), base), 256); }

}  // namespace

jint chaserClimbDirection(jint column, jint row, bool blockedAbove, bool blockedBelow) {
    const jint rows = world::layerHeight(2);
    for (jint k = 1; k < rows; ++k) {
        if (row + k < rows && !solid(column, row + k)) return blockedBelow ? 0 : 1;
        if (row - k > 0 && !solid(column, row - k)) return blockedAbove ? 0 : -1;
    }
    return 0;
}

void updateType109(cActor* self) {
    if (isRefused(self) || !self->box) return;
    jint* m = motionOf(self);
    self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
    const jshort* ab = self->attackBox->data();
    const jshort* b = self->box->data();
    const jint columns[2] = {ab[2] / 36, b[2] / 36};
    const jint rows[3] = {self->getTileRow(1), ab[1] / 36, ab[3] / 36};
    bool wall = false;
    jint wc = 0, wr = 0;
    for (jint c : columns) {
        for (jint r : rows) {
            if (solid(c, r)) {
                wall = true;
                wc = c;
                wr = r;
                break;
            }
        }
        if (wall) break;
    }
    const jint own = self->posX / 36;
    const bool blockedAbove = solid(own, ab[1] / 36);
    const bool blockedBelow = solid(own, ab[3] / 36);
    m = self->motion->data();
    if (wall) {
        const jint dir = chaserClimbDirection(wc, wr, blockedAbove, blockedBelow);
        if (dir != 0) m[3] = dir * scaled(1728);
    } else {
        m[3] = 0;
    }

    cActor* h = hero();
    const jint viewRight = cg().cameraX + 400;
    switch (self->aiState) {
    case 0:
        self->setVelocityLimitsX(-25600, 25600);
        self->setVelocityLimitsY(-1728, 1728);
        self->aiState = 36;
        hf::timer(self) = 0;
        hf::counter(self) = 0;
        break;
    case 36:
        if (self->attackBox->data()[0] < viewRight) m[2] = scaled(3648);
        else self->aiState = 3;
        break;
    case 3: {
        const bool attackMeets = h && h->box && cActor::rectsIntersect(self->attackBox, h->box);
        if (hf::timer(self) > 0 && attackMeets) {
            self->aiState = 36;
            hf::timer(self) -= 1;
            hf::counter(self) = 20;
        } else if (h && hz::heroMeetsBox(self)) {
            const jint script = world::findScriptById(param(self, 0));
            if (script >= 0) world::resetScriptCounters(script);
            self->aiState = 1;
            h->setAnimThen(92, 70, 0);
        }
        const bool slow = (hf::timer(self) == 0 && self->posX > viewRight) ||
                          (hf::timer(self) > 0 && self->box->data()[2] > viewRight);
        m[2] = scaled(slow ? 1920 : 2112);
        m[2] &= ~0xFF;
        break;
    }
    case 2:
        hf::counter(self) -= 1;
        if (hf::counter(self) < 11) {
            self->aiState = 3;
            hf::counter(self) = 0;
        } else {
            m[2] = scaled(3648);
        }
        m[2] &= ~0xFF;
        break;
    case 1: {
        world::setTileAttribute(self->recordIndex, 1, false);
        const jint script = world::findScriptById(param(self, 0));
        if (script >= 0) world::startScript(script);
        if (self->posX <= cg().cameraX + 800) {
            m[2] = scaled(3648);
            self->setAnim(11);
        } else {
            removeActor(self, true);
        }
        break;
    }
    default:
        break;
    }
}

}  // namespace game::behaviour

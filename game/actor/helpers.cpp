// Small shared actor operations (helpers.h).
#include "game/actor/helpers.h"

#include <cstdlib>

#include "game/actor/contact.h"
#include "game/actor/levels.h"
#include "game/data/statics.h"

namespace game {

namespace {

jint entry(IntArray* t, jint i, jint outside) { return t && t->inBounds(i) ? t->data()[i] : outside; }

}  // namespace

bool isContactBit20() { return (ca().collisionResult & 0x100000) != 0; }

bool isFacingPartnerKind(cActor* a) {
    cActor* p = ca().partnerActor;
    const jint m = ca().partnerMode;
    if (!a || !p || !(m == 0 || (m == 3 && p->subtype == 144))) return false;
    return a->facing == 1 ? p->posX < a->posX : p->posX > a->posX;
}

bool isPartnerMode(jint m) { return ca().partnerMode == m; }
bool isGrabMode3() { return ca().grabMode == 3; }
bool isCarrying() { return ca().grabbedActor != nullptr; }
bool isTargetSubtype255() { return cg().targetActor && cg().targetActor->subtype == 255; }
bool isHeroState7() { return ca().heroState == 7; }
bool isHeroModeA() { return ca().heroAltMode != 0; }
jint getHeroConst(jint i) { return entry(ca().heroStateAnims, i, -1); }
jint getStateEffect(jint i) { return entry(ca().heroStateEffects, i, -1); }
jint getStateFlag(jint i) { return entry(ca().heroStateFlags, i, 0); }

jint getLinkValue(jint i) {
    const jint n = findTableIndex(i);
    return n < 0 ? 0 : entry(ca().links, 5 * n + 2, 0);
}

void setAnim5State4(cActor* a) {
    if (!a) return;
    a->setAnim(5);
    a->timer = 80;
    a->aiState = 4;
}

void setAnimOffset(cActor* a, jint k) {
    if (a) a->setAnim(entry(a->parts, 9, 0) + k);
}

jint getAnimForState(cActor* a) {
    switch (a ? a->aiState : -1) {
    case 45: return 33;
    case 46: return 36;
    case 48: return 75;
    case 49: return 42;
    case 50: return 48;
    case 51:
    case 57: return 57;
    case 53: return 81;
    case 54: return 63;
    case 55: return 87;
    case 56: return 66;
    default: return -1;
    }
}

void placeBodyBox(cActor* a) {
    if (!a || !a->box || a->box->length() < 4) return;
    const jint x = a->posX, y = a->posY;
    const bool left = a->facing == 1;
    switch (a->aiState) {
    case 48: cActor::setBox(a->box, left ? x - 50 : x - 20, y - 70, left ? x + 20 : x + 50, y); break;
    case 49:
    case 50: cActor::setBox(a->box, left ? x - 94 : x - 26, y - 90, left ? x + 26 : x + 94, y); break;
    default: cActor::setBox(a->box, x - 34, y - 90, x + 34, y); break;
    }
}

namespace {
void switchToType(cActor* a, jint type, jint anim) {
    if (!a) return;
    a->flags |= 0x20000;
    a->setAnim(anim);
    a->type = type;
    a->physicsFlags = 0;
}
}  // namespace

// The animation starts from its first frame even when it is the current one.
void switchToType3(cActor* a, jint anim) {
    if (!a) return;
    a->resetAnim();
    switchToType(a, 3, anim);
}
void switchToType11(cActor* a, jint anim) {
    if (!a) return;
    a->resetAnim();
    switchToType(a, 11, anim);
}

IntArray* findSlotById(jint id) {
    ObjectArray* segments = ca().segments;
    if (!segments) return nullptr;
    IntArray* unused = nullptr;
    for (jint i = 0; i < segments->length(); ++i) {
        auto* s = static_cast<IntArray*>(segments->data()[i]);
        if (!s || s->length() < 1) continue;
        if (s->data()[0] == id) return s;
        if (!unused && s->data()[0] == 0) unused = s;
    }
    return unused;
}

void getPartsBounds(cActor* a, ShortArray* out) {
    if (!a || !out || out->length() < 4) return;
    jint l = a->posX - 10, t = a->posY - 10, r = a->posX + 10, b = a->posY + 10;
    const jint n = a->params && a->params->length() > 0 ? a->params->data()[0] : 0;
    for (jint k = 0; k < n; ++k) {
        if (!a->parts || !a->parts->inBounds(3 * k + 3)) break;
        const jint px = a->parts->data()[3 * k + 2] >> 8, py = a->parts->data()[3 * k + 3] >> 8;
        if (px < l) l = px;
        if (px > r) r = px;
        if (py < t) t = py;
        if (py > b) b = py;
    }
    cActor::setBox(out, l, t, r, b);
}

void getRecordSpan(jint offset, ShortArray* out) {
    if (!out || out->length() < 4) return;
    ShortArray* values = cg().recordValues;
    const jint first = values && values->inBounds(offset + 7) ? values->data()[offset + 7] : 0;
    out->data()[2] = 21;
    out->data()[3] = static_cast<jshort>(java::imul(21, first));
}

bool partsTouch(cActor* a, cActor* b) { return a && b && partsIntersect(a, b, true, false); }

bool isNearView(cActor* a) {
    if (!a) return false;
    return std::abs(int64_t{a->posX} - cg().cameraX) <= 420 && std::abs(int64_t{a->posY} - cg().cameraY) <= 260;
}

void setPartsMotion(cActor* a) {
    if (!a) return;
    if (a->parts && a->parts->length() >= 4) {
        a->parts->data()[2] = java::ishl(a->posX, 8);
        a->parts->data()[3] = java::ishl(a->posY, 8);
    }
    if (a->motion) {
        a->setVelocityLimitsX(-100000, 100000);
        a->setVelocityLimitsY(-100000, 100000);
    }
}

void setLayer(cActor* a, jint layer) {
    if (a) a->layer = layer;
}

}  // namespace game

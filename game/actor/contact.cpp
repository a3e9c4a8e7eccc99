// Contact between actors (see contact.h).
#include "game/actor/contact.h"

#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/bitmapfont.h"
#include "game/sprite/sprite.h"
#include "game/world/scripts.h"
#include "runtime/log.h"

#include <algorithm>
#include <cstdlib>

using namespace game;

namespace {

jint g_partCountA = 0, g_partCountB = 0, g_contactCursor = 0;

void dropRider(cActor* carrier) { carrier->clearRider(); }

bool movesUpFaster(cActor* mover, cActor* other) {
    jint mv = mover->motion ? mover->motion->data()[3] : 0;
    jint ov = other->motion ? other->motion->data()[3] : 0;
    return mv < 0 && mv < ov;
}

jint velocityY(cActor* a) { return a->motion ? a->motion->data()[3] : 0; }

// The frame's own part rectangles, or, when it has none, the rectangles of
// the modules it paints (those the sprite engine's measure bounds let
// through), at the actor's position and mirrored with its facing.
jint frameRects(cActor* a, IntArray* list) {
    BSprite* s = a->sprite;
    const jint flags = a->facing == 1 ? 1 : 0;
    const bool plainFrame = a->subtype == 83 || a->subtype == 84;
    jint frame;
    if (plainFrame) {
        frame = a->anim;
    } else {
        if (a->anim < 0 || a->anim >= s->getAnimCount() || a->frame < 0 || a->frame >= s->getAFrameCount(a->anim))
            return 0;
        frame = s->aframeFrame->data()[s->animFirstAFrame->data()[a->anim] + a->frame];
    }
    if (frame < 0 || frame >= s->getFrameCount()) return 0;
    const jint room = std::min<jint>(kMaxPartRects, list->length() / 4);
    const jint count = s->getFrameRectCount(frame);
    IntArray* rect = ca().frameRect;
    jint n = 0;
    for (jint i = 0; i < count && n < room; ++i, ++n) {
        s->getFrameRectAt(frame, i, rect, flags);
        const jint* v = rect->data();
        jint* d = list->data() + 4 * n;
        d[0] = java::iadd(a->posX, v[0]);
        d[1] = java::iadd(a->posY, v[1]);
        d[2] = java::iadd(d[0], v[2]);
        d[3] = java::iadd(d[1], v[3]);
    }
    if (n > 0) return n;
    // The module list writes while it has room in list; a list longer than
    // the kept records is cut to them.
    n = plainFrame ? BitmapFont::collectFrameModuleRects(s, list, frame, a->posX, a->posY, flags)
                   : BitmapFont::collectAFrameModuleRects(s, list, a->anim, a->frame, a->posX, a->posY, flags);
    return std::min(n, room);
}

}  // namespace

bool game::attackBoxHits(cActor* a, cActor* b) {
    return a && b && a->attackBox && b->box && cActor::rectsIntersect(a->attackBox, b->box);
}

bool game::boxesOverlap(cActor* a, cActor* b) { return a && b && cActor::rectsIntersect(a->box, b->box); }

jint game::collectFrameRects(cActor* a, IntArray* list) {
    jint n = 0;
    if (a && a->sprite && list) n = frameRects(a, list);
    // Whatever the frame gave, the next measure accepts modules of any size.
    BitmapFont::resetMeasureBounds();
    return n;
}

bool game::partsIntersect(cActor* a, cActor* b, bool useAParts, bool useBParts) {
    cActorStatics& s = ca();
    // Module rectangles narrower or lower than 2 px take no part.
    BitmapFont::setMeasureBounds(2, java::kIntMax, 2, java::kIntMax);
    g_partCountA = collectFrameRects(a, s.partRectsA);
    BitmapFont::setMeasureBounds(2, java::kIntMax, 2, java::kIntMax);
    g_partCountB = collectFrameRects(b, s.partRectsB);
    // The bounding boxes of the two lists (records are int[4] each here).
    auto bounds = [](IntArray* list, jint n, ShortArray* out) {
        jint l = java::kIntMax, t = java::kIntMax, r = java::kIntMin, bt = java::kIntMin;
        if (n == 0) r = static_cast<jint>(0x80000000u);
        for (jint i = 0; i < n; ++i) {
            const jint* d = list->data() + 4 * i;
            l = std::min(l, d[0]);
            t = std::min(t, d[1]);
            r = std::max(r, d[2]);
            bt = std::max(bt, d[3]);
        }
        cActor::setBox(out, l, t, r, bt);
    };
    bounds(s.partRectsA, g_partCountA, s.partBoxA);
    bounds(s.partRectsB, g_partCountB, s.partBoxB);
    if (g_partCountA == 0 || g_partCountB == 0) return false;
    if (!cActor::rectsIntersect(s.partBoxA, s.partBoxB)) return false;
    auto one = [](IntArray* list, ShortArray* box) {
        for (jint i = 0; i < 4; ++i) list->data()[i] = box->data()[i];
        return 1;
    };
    jint na = useAParts ? g_partCountA : one(s.partRectsA, s.partBoxA);
    jint nb = useBParts ? g_partCountB : one(s.partRectsB, s.partBoxB);
    ShortArray* ra = ca().boxA;
    ShortArray* rb = ca().boxB;
    for (jint i = 0; i < na; ++i) {
        const jint* p = s.partRectsA->data() + 4 * i;
        cActor::setBox(ra, p[0], p[1], p[2], p[3]);
        for (jint k = 0; k < nb; ++k) {
            const jint* q = s.partRectsB->data() + 4 * k;
            cActor::setBox(rb, q[0], q[1], q[2], q[3]);
            if (cActor::rectsIntersect(ra, rb)) return true;
        }
    }
    return false;
}

cActor* game::nextContactActor(cActor* a, bool restart, ShortArray* box) {
    if (restart) g_contactCursor = 0;
    cActor* hero = cg().hero;
    if ((a->physicsFlags & 256) && hero && hero->prevBoxIntersects(box)) return hero;
    if (!(a->physicsFlags & 512)) return nullptr;
    while (g_contactCursor < cg().activeActorCount) {
        cActor* e = activeActor(g_contactCursor++);
        if (!e || e == a) continue;
        if (e->type == 41) return e;
        if ((e->physicsFlags & 4) && e->prevBoxIntersects(box)) return e;
        if (a == hero && (e->type == 8 || e->type == 88) && e->carried) {
            e->carried = nullptr;
            hero->flags &= ~0x10000000;
        }
    }
    return nullptr;
}

jint game::contactFromAbove(cActor* mover, cActor* carrier, ShortArray*) {
    if (movesUpFaster(mover, carrier)) {
        dropRider(carrier);
        return 0;
    }
    jint vy = velocityY(carrier);
    bool lands = carrier->linkIndex < 1 && vy == 0 ? mover->posY <= carrier->box->data()[1]
                                                   : mover->posY <= carrier->posY - (vy >> 8);
    if (lands && game::behaviour::tryCarryHero(carrier)) return kContactAbove;
    dropRider(carrier);
    return 0;
}

jint game::contactSide(cActor* mover, cActor* other, ShortArray*) {
    const jshort* m = mover->box->data();
    const jshort* o = other->box->data();
    jint code = m[2] > o[0] && m[0] < o[2] ? kContactBoth : kContactSide;
    if (!movesUpFaster(mover, other) && mover->posY <= o[1] - (velocityY(other) >> 8) && (code & 32) &&
        game::behaviour::tryCarryHero(other))
        return code;
    dropRider(other);
    return code;
}

jint game::contactPush(cActor* mover, cActor* platform) {
    if (!mover || !platform || !mover->motion || platform->counter > 0) return 0;
    jlong c = fixedSin(platform->angle + 90), s = fixedSin(platform->angle);
    const jint* m = mover->motion->data();
    jlong vx = m[2], vy = m[3];
    if (vy * c - vx * s <= 0) return 0;
    jlong rx = jlong(m[4]) - (jlong(platform->posX) << 8) + vx;
    jlong ry = jlong(m[5]) - (jlong(platform->posY) << 8) + vy;
    jint w = platform->getTypeParam(6), h = platform->getTypeParam(7);
    jint along = java::iabs(java::l2i((rx * c + ry * s) >> 14));
    if (along >= ((w / 2) << 8)) return 0;
    jint across = java::iabs(java::l2i((ry * c - rx * s) >> 14));
    if (across >= ((h / 2) << 8)) return 0;
    ca().hasRotatedContact = 1;
    ca().rotatedContactActor = platform;
    return 0;
}

void game::markHitByHero(cActor* mover, cActor* other) {
    if (mover != cg().hero || ca().heroState == 39) return;
    switch (ca().heroState) {
    case 5: other->contactFlags |= 0x100000; break;
    case 16: other->contactFlags |= 0x400000; break;
    default:
        game::behaviour::classifyHeroContact(other);
        if (other->contactFlags & 8) {
            other->contactFlags &= ~8;
            if (ca().heroState == 7) other->contactFlags |= 0x20000;
            else if (!(other->subtype == 4 && ca().heroState != 2 && ca().heroState != 3)) other->contactFlags |= 0x200000;
        }
        break;
    }
}

bool game::clearHitFlags(cActor* a) {
    ca().hitGuard = 0;
    a->contactFlags &= ~(0x20000 | 0x200000 | 0x100000);
    if (a->contactFlags & 0x800) {
        a->contactFlags &= ~0x800;
        return true;
    }
    return false;
}

void game::enterAiState2(cActor* a) {
    ca().hitGuard = 0;
    clearHitFlags(a);
    a->setAnim(8);
    a->aiState = 2;
}

void game::checkGrabbedByHero(cActor* a) {
    cActor* h = cg().hero;
    if (h && h->attackBox && cActor::rectsIntersect(h->attackBox, a->box) && ca().partnerMode >= 2) {
        ca().partnerMode = 1;
        ca().partnerActor = a;
    }
}

namespace {

void startAttack(cActor* a, bool fixedAnim) {
    cActor::stopMotion(a);
    a->setPart(0, java::ishl(a->posX, 8));
    a->setPart(1, java::ishl(a->posY + 120, 8));
    if (a->motion) a->motion->data()[3] = 2560;
    a->setAnim(fixedAnim || a->getPart(27) == 1 ? 1 : 10);
    a->aiState = 3;
    a->nextState = 42;
}

}  // namespace

void game::startAttackFromAnchor(cActor* a) { startAttack(a, false); }
void game::startAttackFromAnchorB(cActor* a) { startAttack(a, true); }

void game::setAiStateByLink(cActor* a) { a->aiState = isLinkIndexValid(a->linkIndex) ? 3 : 2; }

jint game::isqrt(jint v) {
    uint32_t n = static_cast<uint32_t>(v), root = 0, bit = 1u << 28;
    if (v <= 0) return 0;
    while (bit > n) bit >>= 2;
    while (bit) {
        if (n >= root + bit) {
            n -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<jint>(root);
}

void game::accelerateToward(cActor* a, jint x, jint y, jint accel, jint maxSpeed) {
    if (!a) return;
    jint dx = x - a->posX, dy = y - a->posY;
    cActor::stopMotion(a);
    jint sq = java::iadd(java::imul(dx, dx), java::imul(dy, dy));
    if (sq == 0 || !a->motion) return;
    jint d = isqrt(sq);
    if (d == 0) {
        // The squared distance wrapped: no direction to take.
        logPrintf("Actor %d: no direction toward (%d, %d)", a->uniqueId, x, y);
        return;
    }
    jint ux = java::idiv(java::ishl(dx, 8), d), uy = java::idiv(java::ishl(dy, 8), d);
    jint* m = a->motion->data();
    m[0] = java::imul(ux, accel) >> 8;
    m[1] = java::imul(uy, accel) >> 8;
    jint lx = std::abs(java::imul(ux, maxSpeed) >> 8), ly = std::abs(java::imul(uy, maxSpeed) >> 8);
    a->setVelocityLimitsX(-lx, lx);
    a->setVelocityLimitsY(-ly, ly);
}

bool game::startScriptFromParam(cActor* a, jint i) {
    jint id = a->getParam(i);
    if (id == -1) return false;
    ShortArray* state = cg().scriptStates;
    if (!state || id < 0 || id >= state->length()) {
        logPrintf("Actor %d: level script %d outside the table", a->uniqueId, id);
        return false;
    }
    game::world::resetScriptCounters(id);
    state->data()[id] = 0;
    return true;
}

bool game::isSubtypeInHitGroupExt(cActor* a) {
    switch (a->subtype) {
    case 27: case 41: case 71: case 64: case 229: case 55: case 269: case 86: case 87: case 97: case 150:
    case 118: case 119: case 124: case 155: case 59: case 148: case 93:
    case 20: case 104: case 122: case 238: case 255: case 3003:
    case 172: case 218: case 173: case 225: case 188: case 29: case 202: case 58: return true;
    default: return false;
    }
}

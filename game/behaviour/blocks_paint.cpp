// Painters that draw more than one sprite: type 31 (its frame at several
// offsets), type 52 (a chain of links whose frames follow their angles)
// and type 8 (the link-path carrier's chain up to the actor it hangs from).
//
// Invariants: nothing is read past the actor's parts (a copy or link
// count beyond them draws nothing, logged once per subtype); the chain
// length is computed in 64 bits, so far-apart actors cannot overflow it.
#include <algorithm>
#include <cstdint>

#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/levels.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/linkpath.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/screen.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace blk;

namespace {

void logShortParts(cActor* a, const char* what) {
    static jint lastSubtype = -1;
    static const char* lastWhat = nullptr;
    if (a->subtype != lastSubtype || what != lastWhat) {
        lastSubtype = a->subtype;
        lastWhat = what;
        logPrintf("Actor %d (type %d, subtype %d): %s", a->uniqueId, a->type, a->subtype, what);
    }
}

jint isqrt64(int64_t v) {
    if (v <= 0) return 0;
    uint64_t x = static_cast<uint64_t>(v), r = 0, bit = uint64_t(1) << 62;
    while (bit > x) bit >>= 2;
    while (bit) {
        if (x >= r + bit) {
            x -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<jint>(std::min<uint64_t>(r, 0x7FFFFFFF));
}

}  // namespace

jint chainLinkFrame(jint angle256) {
    jint a = java::ishr(angle256, 8) - 90;
    if (a >= -2 && a <= 2) a = 0;
    return java::idiv(java::imul(90 - a, 19), 180);
}

void paintType31(cActor* a) {
    if (!a || !a->sprite) return;
    const jint sx = cActor::toScreenX(a->posX, a->layer), sy = cActor::toScreenY(a->posY, a->layer);
    const jint n = param(a, 2);
    if (n < 1 || n > java::ishr(len(a->parts), 1)) {
        if (n >= 1) logShortParts(a, "more copies than offsets, nothing drawn");
        return;
    }
    for (jint i = 0; i < n; ++i)
        drawSpriteFrame(a->sprite, a->anim, a->frame, sx + at(a->parts, 2 * i), sy + at(a->parts, 2 * i + 1),
                        a->paintFlags, 100, 0);
}

void paintType52(cActor* a) {
    if (!a || !a->sprite) return;
    const jint sx = a->posX - cg().cameraX + 400, sy = a->posY - cg().cameraY + 240;
    jint n = param(a, 0);
    const jint fit = std::max<jint>(0, (len(a->parts) - 2) / 3);
    if (n > fit) {
        logShortParts(a, "more links than records, the rest not drawn");
        n = fit;
    }
    const jint st = a->subtype;
    if (st == 161 && n >= 1) {
        a->setAnim(1);
        a->frame = 0;
    }
    for (jint k = 0; k < n; ++k) {
        const jint base = 2 + 3 * k;
        const jint lx = sx + java::ishr(at(a->parts, base), 8), ly = sy + java::ishr(at(a->parts, base + 1), 8);
        jint ang = java::ishr(at(a->parts, base + 2), 8) - 90;
        if (ang >= -2 && ang <= 2) ang = 0;
        const jint f = java::idiv(java::imul(90 - ang, 19), 180);
        switch (st) {
        case 158: drawSpriteFrame(a->sprite, k % 2, f, lx, ly, a->paintFlags, 100, 0); break;
        case 161: drawSpriteFrame(a->sprite, 3, f, lx, ly, a->paintFlags, 100, 0); break;
        case 201: break;
        case 17: drawSpriteFrame(a->sprite, 4, f, lx, ly, a->paintFlags, 100, 0); break;
        case 209: drawSpriteFrame(a->sprite, a->anim, 0, lx, ly, a->paintFlags, 100, ang); break;
        default: drawSpriteFrame(a->sprite, a->anim, f, lx, ly, a->paintFlags, 100, 0); break;
        }
        if (st == 158 || st == 161 || st == 201) continue;
        const jint second = (k == n - 1 ? 12 : 9) + k % 2;
        const jint sf = std::clamp<jint>(9 - java::ishr(ang, 3), 0, 18);
        drawSpriteFrame(a->sprite, second, sf, lx, ly, a->paintFlags, 100, 0);
    }
}

void paintType8(cActor* a) {
    if (!a) return;
    if (cActor* anchor = findLinkedActor(a)) paintChainFrom(a, anchor);
}

jint paintChainFrom(cActor* a, cActor* anchor) {
    if (!a || !anchor) return 0;
    const int64_t ddx = int64_t(anchor->posX) - a->posX, ddy = int64_t(anchor->posY) - a->posY;
    const jint d = isqrt64(ddx * ddx + ddy * ddy);
    if (d <= 16) return 0;
    const jint deg = game::atan2(a->posX - anchor->posX, a->posY - anchor->posY);
    const jint t = java::idiv(java::imul(deg, cg().angleSteps), 360);
    const jint s = game::sin(t), c = game::sin(cg().quarterSteps - t);
    BSprite* chain = getSpriteByNumber(33);
    if (!chain) return 0;
    const jint links = java::ishr(d - 17, 4) + 1;
    const jint ox = anchor->posX - (cg().cameraX - 400), oy = anchor->posY - (cg().cameraY - 240);
    for (jint k = 1; k <= links; ++k) {
        const jint step = java::imul(16, k);
        drawAnimFrame(chain, 17, 0, ox + java::ishr(java::imul(step, s), 14), oy + java::ishr(java::imul(step, c), 14),
                      0);
    }
    return links;
}

}  // namespace game::behaviour

// The swinging chain (type 52): n links of 21 px hanging from the actor,
// swinging to 150 degrees of phase and back, or turning round; a link that
// touches the hero catches it (hero state 33 holds on through heroChain).
// parts: [0] caught link << 8 (-1 none), [1] phase (1/256 degree, modulo
// 92160), then per link {x offset, y offset (1/256 px), angle}.
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/platforms_util.h"
#include "game/flow/gmath.h"
#include "game/world/hero/machine.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

constexpr jint kPhaseTurn = 92160;    // 360 degrees
constexpr jint kPhaseReverse = 38400; // 150 degrees
constexpr jint kStraightDown = 23040; // 90 degrees
constexpr jint kLinkLength = 21;

jint linkCount(cActor* a) { return plat::param(a, 0); }

// The link count is checked once, when the chain is set up: a chain
// without links, or with more than the parts array may hold, stays inert.
bool setUpParts(cActor* a, bool keepCaught) {
    const jint n = linkCount(a);
    if (n < 1 || n > kMaxChainLinks) {
        logPrintf("Actor %d: chain of %d links refused (1-%d)", a->uniqueId, n, kMaxChainLinks);
        a->aiState = 30;
        return false;
    }
    const jint caught = keepCaught ? plat::partAt(a->parts, 0) : -1;
    IntArray* p = newIntArray(3 * n + 2);
    p->data()[0] = caught;
    a->parts = p;
    return true;
}

}  // namespace

void updateType52(cActor* a) {
    const jint state = a->aiState;
    if (state == 30) return;
    if (state == 0) {
        chainMode(a) = a->subtype == 201 ? plat::param(a, 2) : 0;
        if (!setUpParts(a, false)) return;
        a->aiState = 2;
        swingSide(a) = 1;
        counter(a) = 0;
        swingBoost(a) = 0;
        counterLimit(a) = 0;
    } else if (state == 4) {
        if (!setUpParts(a, true)) return;
        counterLimit(a) = 4;
        a->aiState = 2;
        counter(a) = 0;
    }
    IntArray* p = a->parts;
    const jint n = linkCount(a);
    if (!p || p->length() < 3 * n + 2 || n < 1) return;
    cActor* hero = plat::heroActor();

    counter(a) = java::isub(counter(a), 1);

    // Phase: full speed after the ease-in, 6 degrees a step while it runs.
    jint phase = p->data()[1];
    const jint ease = counterLimit(a);
    if (ease < 0) {
        if (plat::param(a, 1) != 0 && phase >= kPhaseReverse) {
            a->aiState = 4;
            plat::setParamIfPresent(a, 1, -plat::param(a, 1));
            if (chainMode(a) == 1 && hero) swingSide(a) = hero->posX > a->posX ? 1 : 0;
        } else {
            phase = java::iadd(phase, 3072);
        }
    } else if (ease >= 1 && ease <= 4) {
        phase = java::iadd(phase, 1536);
    }
    phase = java::irem(phase, kPhaseTurn);
    p->data()[1] = phase;
    counterLimit(a) = java::isub(ease, 1);

    // Swing: the angle of link 0 and the angle added per link.
    const jint speed = plat::param(a, 1);
    jint c = cos256(phase);
    if (speed < 0) c = -c;
    jint swing = 0, perLink = 0;
    const jint full = java::imul(java::imul(n, 153), c) >> 8;
    if (chainMode(a) == 0) {
        swing = perLink = speed != 0 ? full : c;
    } else if (chainMode(a) == 1) {
        perLink = swingBoost(a) ? full : c;
        swing = java::imul(java::imul(swingBoost(a), n), c) >> 8;
    }

    // Links: each 21 px on from the one before, along that one's angle.
    jint lx = 0, ly = 0, la = java::iadd(swing, kStraightDown);
    for (jint i = 0; i < n; ++i) {
        if (i > 0) {
            lx = java::iadd(lx, java::imul(kLinkLength, cos256(la)));
            ly = java::iadd(ly, java::imul(kLinkLength, sin256(la)));
            la = java::iadd(la, perLink);
        }
        // The sine table may be made on first use: element pointers are
        // taken only after it.
        jint* r = p->data() + 3 * i + 2;
        r[0] = lx;
        r[1] = ly;
        r[2] = la;
    }

    // Catching the hero.
    if (!hero || heroState() == 33 || !(hero->subtype == 0 || hero->subtype == 242) || counter(a) >= 1) return;
    p->data()[0] = -1;
    const jint heroTopY = hero->posY - cActor::getHeight(hero);
    jlong best = -1;
    jint found = -1;
    ShortArray* probe = scratchBox();
    if (!probe) probe = scratchBox() = newShortArray(4);
    p = a->parts;
    for (jint i = chainMode(a) == 1 ? n - 1 : 0; i < n; ++i) {
        const jint px = a->posX + (p->data()[3 * i + 2] >> 8);
        const jint py = a->posY + (p->data()[3 * i + 3] >> 8);
        if (chainMode(a) == 1)
            cActor::setBox(probe, px - 30, py + 2, px + 30, py + 10);
        else
            cActor::setBox(probe, px - 10, py - 10, px + 10, py + 10);
        if (!cActor::rectsIntersect(probe, hero->box)) continue;
        const jlong dx = px - hero->posX, dy = py - heroTopY;
        const jlong d = dx * dx + dy * dy;
        if (found < 0 || d < best) {
            best = d;
            found = i;
        }
    }
    if (found < 0) return;
    p->data()[0] = found << 8;
    heroChain() = a;
    hero::setHeroState(hero, 33);
    if (chainMode(a) == 1 && swingBoost(a) == 0) {
        swingBoost(a) = 128;
        plat::setParamIfPresent(a, 1, -1);
    }
}

}  // namespace game::behaviour

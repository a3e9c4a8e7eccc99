// OPERATE: the hero hangs on a chain actor, placed every step on the link
// it holds. The place is parts[0] in 1/256 link; link i's record is
// parts[3i+2..3i+4] (x, y offsets in 1/256 px, angle in 1/256 degree).
// The held link is clamped to the links the chain's parts hold; a chain
// without links drops the hero.
#include "game/world/hero/util.h"
#include "runtime/log.h"

namespace game::hero {

namespace {

// Sine of an angle in 1/256 degree, in 1/256 units, interpolated between
// whole degrees of the game's 1 << 14 sine.
jint sin256Fine(jint a) {
    jint g = static_cast<jint>((static_cast<int64_t>(a) * 64) >> 14);
    jint w = static_cast<jint>((static_cast<int64_t>(a) * 64) & 16383);
    int64_t sum = static_cast<int64_t>(w) * fixedSin(g + 1) + static_cast<int64_t>(16384 - w) * fixedSin(g);
    return static_cast<jint>((sum / 16384) >> 6);
}

jint linksHeld(cActor* chain) {
    jint n = getParam(chain, 0);
    jint byParts = (partCount(chain) - 2) / 3;  // 3i + 4 < partCount
    if (byParts < n) n = byParts;
    return n < 0 ? 0 : n;
}

bool zoneOrKeys(jint keys, jint zone) { return keyHeld(keys) || touchZone(zone); }

}  // namespace

jint heroState33(cActor* h, jint phase) {
    cActor* chain = ca().heroChain;
    if (phase == HeroPhase::EXIT) {
        releaseChild(h);
        if (chain) setCounter(chain, 8);
        ca().heroChain = nullptr;
        setAngle(h, 0);
        return 0;
    }
    jint n = chain ? linksHeld(chain) : 0;
    if (n == 0) {
        logPrintf("hero: chain state without a chain of links; falling");
        setVy(h, 4800);
        setHeroState(h, HeroState::FALL);
        return 0;
    }
    if (phase == HeroPhase::ENTER) {
        setCounter(chain, 8);
        clearPhysicsBit(h, 1);
        limitsX(h, 0, 0);
        limitsY(h, 0, 0);
        if (anim(h) != 57) setAnim(h, 57);
        return 0;
    }
    jint last = n * 256 - 1;
    jint place = clampi(actorPart(chain, 0), 0, last);
    setActorPart(chain, 0, place);
    stopMotion(h);
    jint i = place >> 8, frac = place & 255;
    jint linkAngle = actorPart(chain, 3 * i + 4);
    int64_t len = static_cast<int64_t>(boxEdge(h, 3) - boxEdge(h, 1)) * 256 + frac * 21;
    jint c = sin256Fine(linkAngle + 23040), s = sin256Fine(linkAngle);
    jint x = static_cast<jint>(((c * len) >> 8) + static_cast<int64_t>(posX(chain)) * 256 + actorPart(chain, 3 * i + 2));
    jint y = static_cast<jint>((((s * len) >> 8) * 4) / 3 + static_cast<int64_t>(posY(chain)) * 256 +
                               actorPart(chain, 3 * i + 3));
    moveTo(h, x, y);
    jint a = (linkAngle >> 8) - 90;
    setAngle(h, a);
    jint want = 57;
    if (chainMode(chain) == 1) {
        if (a >= -24 && a <= 24)
            want = 88;
        else if (facing(h) == 0)
            want = a > 24 ? 89 : 90;
        else
            want = a < -24 ? 89 : 90;
    } else {
        jint m = absi(a);
        want = m < 15 ? 69 : (m > 15 ? 100 : 57);
    }
    if (getParam(chain, 1) == 0) {
        if (zoneOrKeys(8256, 4)) {
            if (facing(h) == 0) want = 101;
            setFacing(h, 1);
        } else if (zoneOrKeys(4112, 3)) {
            if (facing(h) == 1) want = 101;
            setFacing(h, 0);
        } else if (zoneOrKeys(16388, 1)) {
            if (actorPart(chain, 0) > 170) {
                want = 59;
                jint p = actorPart(chain, 0) - 102;
                setActorPart(chain, 0, p < 170 ? 170 : p);
            }
        } else if (zoneOrKeys(33024, 6)) {
            want = 58;
            jint p = actorPart(chain, 0) + 153;
            setActorPart(chain, 0, p > last ? last : p);
            if (actorPart(chain, 0) == last) {
                setVy(h, 4800);
                setHeroState(h, HeroState::FALL);
                return 0;
            }
        }
    } else {
        jint p = actorPart(chain, 0) + 204;
        setActorPart(chain, 0, p > last ? last : p);
    }
    if (want != anim(h)) setAnim(h, want);
    if (counter(chain) < 1) {
        jint flag = getParam(chain, 1) != 0 ? 1 : 0;
        jint side = has(act::JUMP_LEFT) ? -1 : (has(act::JUMP_RIGHT) ? 1 : 0);
        if (side != 0) {
            setFacing(h, side < 0 ? 1 : 0);
            if (chainMode(chain) == 1) setSwingBoost(chain, 0);
            leapOff(h, side, flag != 0);
            return 0;
        }
    }
    if (chainMode(chain) == 1 && actorPart(chain, 1) == 20480) {
        jint boost = swingBoost(chain);
        if (keyHeld(4112))
            boost += swingSide(chain) ? 128 : -128;
        else if (keyHeld(8256))
            boost += swingSide(chain) ? -128 : 128;
        setSwingBoost(chain, clampi(boost, 128, 896));
    }
    return 0;
}

}  // namespace game::hero

// STOMP (the downward attack that breaks what it lands on), ORBIT (sitting
// in a rotating launcher until fired off) and the swim effect routine.
#include "game/world/hero/util.h"
#include "runtime/log.h"

namespace game::hero {

namespace {

// Launcher angles: params 0-7, a negative entry (or the end of a short
// list) ends them; the next slot wraps to 0 there.
jint nextOrbitSlot(cActor* launcher) {
    jint slot = (actorPart(launcher, 0) + 1) % 8;
    if (slot >= paramCount(launcher) || getParam(launcher, slot) < 0) slot = 0;
    return slot;
}

jint floorMod360(jint v) {
    jint m = v % 360;
    return m < 0 ? m + 360 : m;
}

}  // namespace

jint heroState7(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        ca().struckBlockId = -1;
        limitsX(h, 0, 0);
        setVy(h, 7920);
        setAnimThen(h, 18, 19, 0);
        if (ca().heroMovingFlag) cameraDivY() = 16;
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        setVy(h, 0);
        cameraDivY() = 0;
        return 0;
    }
    if (landed()) {
        worldFlags(h) |= 1;
        if (cActor* m = mountActor()) setContactFlags(m, contactFlags(m) | 0x20000);
        if (cActor* t = tileOwner()) setContactFlags(t, contactFlags(t) | 0x20000);
        playAction(h, 20, HeroState::STAND);
        spawnChild(h, 8, 28, posX(h), posY(h), 2, 8192);
        // A sprite without animation 20 gives no quake.
        quakeFrames() = animDuration(h, 20);
        return 0;
    }
    if (ca().struckBlockId != -1 && !tileOwner()) setHeroState(h, HeroState::FALL);
    return 0;
}

jint heroState31(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        for (jint i = 0; i < 4; ++i) setHeroMode(i, 0);
        setAnim(h, getHeroIdleAnim(h));
        stopMotion(h);
        limitsX(h, -25600, 25600);
        limitsY(h, -25600, 25600);
        ca().orbitFlightTicks = -1;
        setAnim(h, 56);
        clearPhysicsBit(h, 1);
        cActor* l = ca().nextOrbitActor;
        ca().orbitActor = l;
        ca().nextOrbitActor = nullptr;
        if (!l) {
            logPrintf("hero: orbit entered without a launcher; falling");
            setVy(h, 4800);
            setHeroState(h, HeroState::FALL);
            return 0;
        }
        moveTo(h, posX(l) * 256, (posY(l) + 20) * 256);
        setActorPart(l, 1, getParam(l, actorPart(l, 0)));
        setCounter(l, 13);
        setMappedAnimThen(l, 1, 2, 0);
        jint rect = paramCount(l) > 8 ? getParam(l, 8) : 0;
        jint left, top, width, height;
        if (rect > 0 && levelRect(rect, &left, &top, &width, &height)) {
            jint fx = left + width / 2 - posX(l);
            jint fy = top + height / 2 - posY(l) + 30;
            if (fx != 30000) lookAheadForcedX() = fx;
            if (fy != 30000) lookAheadForcedY() = fy;
        } else {
            lookAheadForcedX() = 0;
            lookAheadForcedY() = 30;
        }
        setCameraTarget(nullptr);
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        ca().orbitLaunched = 0;
        return 0;
    }
    cActor* l = ca().orbitActor;
    if (ca().orbitFlightTicks == -1) {
        if (!l) return 0;
        if (!has(act::ACTION) || counter(l) < 14) {
            setCounter(l, counter(l) - 1);
            setScale(l, 100);
            if (counter(l) < 14) {
                jint a = actorPart(l, 1);
                jint slot = nextOrbitSlot(l);
                jint t = getParam(l, slot);
                setAnim(l, 2);
                if (counter(l) < 1) {
                    setCounter(l, 29);
                    setActorPart(l, 0, slot);
                    setActorPart(l, 1, t);
                    setAngle(l, t);
                } else {
                    setAngle(l, a + (t - a) * (13 - counter(l)) / 13);
                }
            }
            return 0;
        }
        playSound(14);
        attachEffect(l, 53 + floorMod360(22 - actorPart(l, 1)) / 45, 11, 57344);
        setMappedAnimThen(l, 3, 0, 0);
        lookAheadForcedX() = 30001;
        lookAheadForcedY() = 30001;
        setCameraTarget(nullptr);
        ca().orbitFlightTicks = 0;
        setAnim(h, 36);
        jint c = cos256(actorPart(l, 1) - 90);
        jint s = sin256(actorPart(l, 1) - 90);
        setVx(h, c * 6400 / 256);
        setVy(h, s * 6400 / 256);
        setAx(h, 0);
        setAy(h, 256);
        if (vx(h) >= 1)
            setFacing(h, 0);
        else if (vx(h) < 0)
            setFacing(h, 1);
        moveTo(h, posX(l) * 256 + c * 20, (posY(l) + 20) * 256 + s * 20);
        ca().orbitLaunched = 1;
        setAngle(l, 0);
        setScale(l, 100);
        return 0;
    }
    ca().orbitFlightTicks += 1;
    clearCameraLock();
    if (isHeroBlockedSideways()) {
        setVx(h, 0);
        setHeroState(h, HeroState::FALL);
        return 0;
    }
    if (ca().orbitFlightTicks >= 26) {
        setHeroState(h, HeroState::FALL);
        return 0;
    }
    if (landed()) {
        attachEffect(h, 12, 11, 57344);
        if (vx(h) > 480) {
            setVx(h, 480);
            setHeroState(h, HeroState::SKID);
            return 0;
        }
        setVx(h, clampi(vx(h), -480, 480));
        if (vx(h) == 0) limitsX(h, 0, 0);
        setHeroState(h, vx(h) != 0 ? HeroState::SKID : HeroState::STAND);
    }
    return 0;
}

void updateSwimEffect(cActor* h) {
    jint c = childAnim(h);
    if (c == 13 || c == 18) return;
    if (vx(h) == 0 && vy(h) == 0)
        attachEffect(h, 17, 11, 0);
    else
        spawnChild(h, 8, 18, posX(h), posY(h), 11, 0);
}

}  // namespace game::hero

// FLY: free flight in a section that scrolls right by itself. Speeds are
// base x f with f the run speed factor, a 64-bit product shifted right by 8
// (so negative speeds round toward minus infinity). The handler never
// changes state and never turns the hero.
#include "game/world/hero/util.h"

namespace game::hero {

namespace {

constexpr jint kScroll = 2112;
constexpr jint kAhead = 3456;
constexpr jint kBack = -384;
constexpr jint kVertical = 1728;

}  // namespace

jint flySpeed(jint base, jint f) { return static_cast<jint>((static_cast<int64_t>(base) * f) >> 8); }

jint heroState38(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        releaseChild(h);
        stopMotion(h);
        cameraFlags() = 137;
        limitsX(h, -10000, 10000);
        limitsY(h, -10000, 10000);
        clearPhysicsBit(h, 1);
        if (anim(h) != 70) setAnim(h, 70);
        setBoxByKind(h, 64, 26, 64, 26);
        runSpeedFactor() = 256;
        heroSpeedTimer() = 0;
        boostFrames() = 0;
        heroBumped() = 0;
        return 0;
    }
    if (phase == HeroPhase::EXIT) {
        releaseChild(h);
        return 0;
    }
    jint f = runSpeedFactor();
    jint d = posX(h) - cameraX();
    if (boostFrames() > 0) boostFrames() -= 1;
    setVx(h, flySpeed(kScroll, f));
    if (cActor* item = heldItem()) moveBy(item, vx(h), 0);
    jint up = boostFrames() > 0 ? flySpeed(kVertical, f) : flySpeed(-kVertical, f);
    jint down = boostFrames() > 0 ? flySpeed(-kVertical, f) : flySpeed(kVertical, f);
    if (!heroBumped()) {
        if (has(act::SWIM_RIGHT) && d < 332) {
            setVx(h, flySpeed(kAhead, f));
            if (anim(h) == 70 || anim(h) == 0) setAnimThen(h, 72, 70, 0);
        } else if (has(act::SWIM_LEFT) && d > -108) {
            setVx(h, flySpeed(kBack, f));
            if (anim(h) == 70 || anim(h) == 0) setAnimThen(h, 71, 70, 0);
        }
        if (has(act::SWIM_UP))
            setVy(h, up);
        else if (has(act::SWIM_DOWN))
            setVy(h, down);
        else
            setVy(h, 0);
        if (isHeroBlockedSideways()) {
            if (getSolidTile(h, 1, 0) == -1)
                setVy(h, up);
            else if (getSolidTile(h, 1, 2) == -1)
                setVy(h, down);
            else if (getSolidTile(h, 1, 3) == -1)
                setVy(h, up);
            else if (getSolidTile(h, 1, 4) == -1)
                setVy(h, down);
        }
    }
    if (heroSkipScroll() || isScriptTarget(uniqueId(h))) setVx(h, vx(h) - flySpeed(kScroll, f));
    if (heroBumped()) {
        setAnimThen(h, 84, 70, 0);
        heroBumped() = 0;
    }
    if (scriptHoldsHero()) {
        setVx(h, 0);
        setVy(h, 0);
    }
    if (has(act::ACTION)) {
        if (cActor* shot = spawnShot(posX(h) + 70, posY(h) - 24)) {
            setFlags(shot, flags(shot) | 0x80000);
            setShotCounters(shot);
            setPhysicsFlags(shot, physicsFlags(shot) | 0x200);
        }
        setAnimThen(h, 25, 70, 0);
        heroInputLock() |= 128;
        heroInputMode() = 2;
    }
    return 0;
}

}  // namespace game::hero

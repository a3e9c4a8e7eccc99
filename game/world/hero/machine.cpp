// The hero's state machine: handler table, the five-step change protocol
// shared by every change (plain and forced), the per-state table step,
// PLAY_ACTION and the let-go routines.
// Invariants: a number without a handler (24, below 0, above 40) is stored
// but runs nothing and indexes no table; ticks are 0 after every change.
#include "game/world/hero/machine.h"

#include "game/world/hero/util.h"
#include "runtime/log.h"

namespace game::hero {

namespace {

constexpr Handler kHandlers[kHeroStateCount] = {
    heroStateIdle, heroState1,  heroState2,  heroState3,  heroState4,  heroState5,  heroState6,
    heroState7,    heroState8,  heroState9,  heroState10, heroState11, heroState12, heroState13,
    heroState14,   heroState15, heroState16, heroState17, heroState18, heroState19, heroState20,
    heroState21,   heroState22, heroState23, nullptr,     heroState25, heroState26, heroState27,
    heroState28,   heroState29, heroState30, heroState31, heroState32, heroState33, heroState34,
    heroState35,   heroState36, heroState37, heroState38, heroState39, heroState40,
};

constexpr jint kFreshStateFlags = 0x1000203;
constexpr jint kCameraScripted = 74;
constexpr jint kCameraDefault = 9;

// Steps 1-4 of a change; the caller runs ENTER (step 5). `resetCamera`
// false keeps the camera flags whatever they are.
void leaveAndStore(cActor* hero, jint s) {
    heroStateDispatch(hero, heroState(), HeroPhase::EXIT);
    if (s != heroState()) {
        setPhysicsFlags(hero, kFreshStateFlags);
        applyHeroStateTables(hero, s);
    }
    jint camera = cameraFlags();
    heroState() = s;
    heroStateTicks() = 0;
    if (camera != kCameraScripted && s != HeroState::JUMP) cameraFlags() = kCameraDefault;
}

jint changeState(cActor* hero, jint s) {
    leaveAndStore(hero, s);
    return heroStateDispatch(hero, s, HeroPhase::ENTER);
}

}  // namespace

Handler handlerFor(jint state) { return isHeroState(state) ? kHandlers[state] : nullptr; }

jint heroStateDispatch(cActor* hero, jint state, jint phase) {
    Handler h = handlerFor(state);
    return h ? h(hero, phase) : 0;
}

jint setHeroState(cActor* hero, jint state) { return changeState(hero, state); }

void tickHeroState(cActor* hero) {
    heroStateDispatch(hero, heroState(), HeroPhase::UPDATE);
    heroStateTicks() += 1;
}

void resetHeroState(cActor* hero) {
    setCruiseAfterLanding(0);
    changeState(hero, HeroState::STAND);
    scrollDelay() = -1;
    scrollStepX() = 0;
    scrollStepY() = 0;
    cameraFlags() = kCameraDefault;
    setFlags(hero, flags(hero) & ~0x200);
    worldFlags(hero) |= 32;
}

void resetHero(cActor* actor, jint x, jint y) {
    moveTo(actor, x * 256, y * 256);
    if (actor != theHero()) return;
    heroDropCarried(actor);
    changeState(actor, HeroState::STAND);
}

void enterHeroState14(cActor* hero) {
    playSound(14);
    changeState(hero, HeroState::SWIM);
    setHeroMode(0, 1);
    jint surface = scanTileColumn(hero, posX(hero), boxEdge(hero, 1), 0x800000);
    spawnChild(hero, 8, 13, posX(hero), surface + 36, 11, 0xE000);
    setVy(hero, 1024);
}

void enterHeroState26(cActor* hero) {
    changeState(hero, HeroState::MIRE);
    setHeroMode(1, 1);
    setVy(hero, 1280);
}

void enterHeroState27(cActor* hero) {
    changeState(hero, HeroState::CLIMB);
    setHeroMode(2, 1);
}

void enterHeroState28(cActor* hero) {
    changeState(hero, HeroState::ICE);
    setHeroMode(3, 1);
}

void forceHeroFall(cActor* hero) { changeState(hero, HeroState::FALL); }

void applyHeroStateTables(cActor* hero, jint s) {
    if (s < 0 || s >= heroStateAnimCount()) return;
    jint a = heroStateAnim(s);
    if (a >= 0 && a != anim(hero)) setAnim(hero, a);
    if (!isChildFinished(hero)) return;
    jint effect = heroStateEffect(s);
    if (effect != -1) {
        spawnChild(hero, 8, effect, posX(hero), posY(hero), 2, heroStateEffectFlags(s));
    } else if (childAnim(hero) != -1 && (childFlags(hero) & 0x200000) != 0) {
        releaseChild(hero);
    }
}

void cancelHeroGrab() {
    cActor* g = grabbedActor();
    if (g) {
        if (grabMode() == 3)
            setBoxSize(g, 33, getTypeParam(g, 7));
        else if (grabMode() == 7)
            setAiState(g, 9);
    }
    grabMode() = 10;
    grabbedActor() = nullptr;
}

jint heroDropCarried(cActor* hero) {
    cancelHeroGrab();
    if (cActor* c = carried(hero)) {
        if (subtype(c) == 112) {
            throwCarried(c, 0, facing(hero) == 1 ? -1 : 1, 0, 0);
            setCarried(hero, nullptr);
            cancelHeroGrab();
        } else {
            setFlags(c, flags(c) | 0x20000);
            setAiState(c, 27);
            setCarried(hero, nullptr);
        }
    }
    if (heroState() == HeroState::STAND)
        setAnim(hero, getHeroIdleAnim(hero));
    else if (heroState() == HeroState::WALK)
        setAnim(hero, getHeroMoveAnim(hero, 0));
    return 0;
}

void playAction(cActor* hero, jint a, jint next) {
    actionAnim() = a;
    actionNextState() = next;
    setHeroState(hero, HeroState::PLAY_ACTION);
}

jint heroState23(cActor* h, jint phase) {
    if (phase == HeroPhase::ENTER) {
        if (actionAnim() != anim(h)) setAnim(h, actionAnim());
        return 0;
    }
    if (phase != HeroPhase::UPDATE || !isAnimDone(h)) return 0;
    jint next = actionNextState();
    if ((next & 0x1000000) == 0) {
        setHeroState(h, next & 0xFFFF);
        return 0;
    }
    requestGameState(next & 0xFFFF);
    if (isHeroDead()) {
        // Hold the last frame; an animation without frames stays at 0.
        jint frames = animFrameCount(h);
        setAnimFrame(h, frames > 0 ? frames - 1 : 0);
        return 0;
    }
    setHeroState(h, HeroState::STAND);
    return 0;
}

void setBoxByKind(cActor* h, jint heroW, jint heroH, jint smallW, jint smallH) {
    jint st = subtype(h);
    if (st == 0 || st == 242 || st == 50 || st == 215)
        setBoxSize(h, heroW, heroH);
    else if ((st == 113 || st == 237) && smallW >= 0)
        setBoxSize(h, smallW, smallH);
    else if (st == 3010)
        setBoxSize(h, getTypeParam(h, 6), getTypeParam(h, 7));
}

void setStandingBox(cActor* h) { setBoxByKind(h, 33, 85, 35, 50); }
void setLowBox(cActor* h) { setBoxByKind(h, 33, 50, 50, 33); }

}  // namespace game::hero

// Hero-side operations and carrying (see hero.h).
#include "game/actor/hero.h"

#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/routines.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/input.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"

#include <cstdlib>

using namespace game;

namespace {

cActor* theHero() { return cg().hero; }
jint* heroVars() { return ca().heroStateVars->data(); }
bool isHeroSubtypeValue(jint s) { return s == 0 || s == 242; }

void setMotionLimits(cActor* a, jint xlo, jint xhi, jint ylo, jint yhi) {
    a->setVelocityLimitsX(xlo, xhi);
    a->setVelocityLimitsY(ylo, yhi);
}

}  // namespace

// --- hero operations ----------------------------------------------------------

void game::setHeroMove(cActor* h, jint kind, jint param, jint mode, jint duration) {
    if (!h) return;
    jint d = duration == -1 ? 130 : duration;
    ca().heroFlagA = duration != 0;
    jint* v = heroVars();
    switch (kind) {
    case 0: v[0] = 0; break;
    case 1: v[0] = h->facing == 1 ? -1 : 1; break;
    case 2: cActor::setFacing(h, 1); v[0] = -1; break;
    case 3: cActor::setFacing(h, 0); v[0] = 1; break;
    default: break;
    }
    v[1] = v[2] = 4640;
    v[3] = v[4] = static_cast<jint>(static_cast<double>(d) / 74.0 * 256.0);
    if (mode == 185) v[5] = d < 1 ? 19 : isHeroSubtypeValue(h->subtype) ? 41 : -1;
    else v[5] = isHeroSubtypeValue(h->subtype) ? 36 : -1;
    v[6] = param;
    game::hero::setHeroState(h, h->subtype == 3010 ? 36 : 3);
    ca().heroLaunched = 1;
}

void game::applyHeroHit(cActor* h, jint kind, jint direction, bool enter) {
    jint* v = heroVars();
    v[0] = direction == 99 ? (h && h->facing == 1 ? -1 : 1) : direction;
    v[1] = v[2] = 5120;
    v[3] = v[4] = 320;
    v[5] = kind;
    v[6] = 0;
    playSound(19);
    if (enter) game::hero::setHeroState(h, 3);
}

jint game::scaleCurveValue(IntArray* curve, jint i, jint k) {
    jint c = curve && curve->inBounds(i) ? curve->data()[i] : 0;
    return java::imul(c, k) >> 8;
}

void game::applyHeroJumpVelocity(cActor* h, bool alt) {
    if (!h || !h->motion) return;
    jint k = alt || ca().jumpUseAlt ? heroVars()[4] : heroVars()[3];
    h->motion->data()[3] = scaleCurveValue(ca().jumpCurve, ca().jumpCurveIndex, k);
}

void game::heroState37(cActor* h, jint phase) {
    if (!h) return;
    if (phase == 0) {
        h->releaseChild();
        cActor::stopMotion(h);
        return;
    }
    if (phase == 2) {
        h->releaseChild();
        return;
    }
    if (ca().heroActionMask & 0x100000) {
        jint id = ca().ringRadius < 3840 ? ca().ringScriptLow : ca().ringScriptHigh;
        jint script = game::world::findScriptById(id);
        if (script >= 0) {
            game::world::resetScriptCounters(script);
            game::world::startScript(script);
            // The hero waits for the ring's script (none found: nothing to wait for).
            stopHeroForScript();
        }
    }
    ca().ringRadius -= 998;
    if (ca().ringRadius < 1) ca().ringRadius = 12800;
    cActor::spawnChild(h, getSpriteById(10, 18), ca().ringRadius < 3840 ? 43 : 42, 0, h->posX, h->posY, 11, 0x408000);
}

jint game::floorMod(jint a, jint b) {
    if (b == 0) return 0;
    jint m = java::irem(a, b);
    return m < 0 ? m + b : m;
}

jint game::mapAnimByAngle(cActor* a, jint base) { return base + 4 * (floorMod(22 - a->getPart(1), 360) / 45); }

jint game::getCarryAnim(cActor* h, jint dir) {
    bool disagree = h && ((dir > 0) != (h->facing == 0));
    if (ca().grabMode == 3) return disagree ? 74 : 72;
    return disagree ? 73 : 71;
}

bool game::updateFacingFromKeys(cActor* h) {
    if (h->facing == 0 && (ca().heroActionMask & 1024)) {
        cActor::setFacing(h, 1);
        return true;
    }
    if (h->facing == 1 && (ca().heroActionMask & 2048)) {
        cActor::setFacing(h, 0);
        return true;
    }
    return false;
}

bool game::isHeroBusy() {
    jint s = ca().heroState;
    return s != 0 && s != 14 && s != 38 && s != 40;
}

bool game::isStandingClear() {
    jint b = ca().collisionResult;
    return (b & 8) && !(b & 0x100000) && !(b & 192);
}

bool game::tryEnterHeroState2(cActor* h) {
    jint b = ca().collisionResult;
    if (!(b & 1) || (b & 192) || (b & 0x100000)) return false;
    if (h->motion) h->motion->data()[3] = 4800;
    game::hero::setHeroState(h, 2);
    return true;
}

bool game::tryEnterHeroState7(cActor* h) {
    if (!(ca().heroActionMask & 512) || h->subtype == 3010) return false;
    game::hero::setHeroState(h, 7);
    return true;
}

bool game::isFacingPartner(cActor* a) {
    cActor* p = ca().partnerActor;
    if (ca().partnerMode != 1 || !p || !a) return false;
    return a->facing == 1 ? p->posX < a->posX : p->posX > a->posX;
}

bool game::isHeroSubtype(cActor* a) { return a && isHeroSubtypeValue(a->subtype); }

// True while the hero attacks (states 5, 12, 15, 16, or 38 playing the shot
// animation 25): the contact code reads it so, and the dash rule needs it.
bool game::isHeroHittable() {
    jint s = ca().heroState;
    if (s == 5 || s == 12 || s == 15 || s == 16) return true;
    return s == 38 && theHero() && theHero()->anim == 25;
}

bool game::isHeroInputFree() { return !(cg().inputBlock & 1) && ca().heroInputLock != 0x7FFFFFFF; }

void game::faceHero(cActor* a) {
    if (!a || !theHero() || a->aiState == 38) return;
    cActor::setFacing(a, a->posX < theHero()->posX ? 1 : 0);
}

jint game::getDirectionToHero(cActor* a) {
    cActor* h = theHero();
    if (!a || !h) return 1;
    jint d = a->posX >= h->posX ? -1 : 1;
    IntArray* lim = cg().cameraLimits;
    if (lim && lim->length() >= 4) {
        if (d == -1 && h->posX - lim->data()[0] < 50) d = 1;
        else if (d == 1 && lim->data()[2] - h->posX < 50) d = -1;
    }
    return d;
}

void game::chaseHeroX(cActor* a) {
    if (!a || !theHero() || !a->motion) return;
    jint v = java::imul(theHero()->posX - a->posX, 256);
    a->motion->data()[2] = v < -2048 ? -2048 : v > 2048 ? 2048 : v;
    a->setAnim(2);
    cActor::setFacing(a, a->posX < theHero()->posX ? 1 : 0);
}

void game::launchUp(cActor* a) {
    if (!a->motion) a->allocMotionState();
    a->setVelocityLimitsY(-6656, 6656);
    a->motion->data()[3] = -6656;
    a->motion->data()[1] = 921;
    a->aiState = 1;
}

bool game::isSubtypeInHitGroup(cActor* a) {
    switch (a->subtype) {
    case 29: case 41: case 55: case 58: case 59: case 64: case 71: case 86: case 87: case 93: case 97: case 118:
    case 119: case 124: case 148: case 150: case 155: case 172: case 173: case 188: case 202: case 218: case 225:
    case 229: case 269: return true;
    default: return false;
    }
}

jint game::getSubtypeClass(jint subtype) {
    switch (subtype) {
    case 20: case 104: case 122: case 3003: return 12;
    case 238: return 8;
    case 255: return 10;
    case 241: return 4;
    case 246: return 18;
    default: return -1;
    }
}

void game::stunByScript(cActor* a, jint k) {
    if (a->aiState == 18) return;
    a->aiState = 9;
    a->flags |= 0x20000;
    a->setAnim(k == 1 ? 2 : 1);
}

void game::switchToType(cActor* a, jint type, jint anim) {
    a->flags |= 0x20000;
    a->setAnim(anim);
    a->type = type;
    a->physicsFlags = 0;
}

bool game::isAiState9Or13Or14(cActor* a) {
    jint s = a->aiState & 0xFFFFFF;
    return s == 9 || s == 13 || s == 14;
}

bool game::tryCatchHero(cActor* a) {
    cActor* h = theHero();
    if (!h || !a->attackBox || !cActor::rectsIntersect(a->attackBox, h->box)) return false;
    a->aiState = 6;
    ca().bossEventCount = 1;
    a->aux112 = -1;
    a->flags |= 2;
    h->flags |= 2;
    return true;
}

// --- the action mask ------------------------------------------------------------

jint game::heroActionBits(bool (*pressed)(jint), bool (*held)(jint)) {
    jint m = 0;
    if (ca().inputOptions & 2) m |= 2;
    if (pressed(4240)) m |= 0x400;
    else if (held(4240)) m |= 0x401;
    if (pressed(8768)) m |= 0x800;
    else if (held(8768)) m |= 0x802;
    if (held(16384)) m |= 0x80000;
    if (held(4)) {
        if (held(16)) m = (m & ~1) | 8;
        else if (held(64)) m = (m & ~2) | 16;
        else m |= 4;
    }
    if (held(2)) m |= ((ca().inputOptions & 1) ? 1 : 0) | 8;
    if (held(8)) m |= ((ca().inputOptions & 1) ? 2 : 0) | 16;
    if (held(33024)) m |= 32 | 0x200;
    if (held(0x10020)) m |= 128;
    if (held(1)) m |= 0x100000;
    if (held(13008)) m |= 0x100;
    if (held(16398)) m |= 64 | 0x1000;
    if (held(33664)) m |= 0x2000 | 0x10000;
    if (held(4242)) m |= 0x4000;
    if (held(8776)) m |= 0x8000;
    if (held(128)) m |= 0x20000;
    if (held(512)) m |= 0x40000;
    return m;
}

namespace {
game::HeroUpdateRoutine g_heroUpdate = nullptr;
}  // namespace

void game::setHeroUpdateRoutine(HeroUpdateRoutine routine) { g_heroUpdate = routine; }
game::HeroUpdateRoutine game::heroUpdateRoutine() { return g_heroUpdate; }

bool game::readHeroInput() {
    // The keys' bits join what the touch pad set at the end of the last
    // update (its pass clears the mask before it sets its own).
    ca().heroActionMask = (ca().heroActionMask | heroActionBits(&isKeyPressed, &isKeyHeld)) & ~ca().heroInputLock;
    // A script's input block, or the side panel out of its rest position.
    if ((cg().inputBlock & 1) || hasPanelOffset()) {
        ca().heroActionMask = 0;
        return true;
    }
    return false;
}

// --- grab, lift, throw ------------------------------------------------------------

bool game::tryDropCarried(cActor* h) {
    if (!h || !(ca().heroActionMask & 128) || h->subtype == 3010) return false;
    if (!isFacingPartner(h)) return false;
    ca().grabMode = ca().partnerMode;
    ca().grabbedActor = ca().partnerActor;
    dropCarried(h);
    return true;
}

void game::dropCarried(cActor* h) {
    ca().lastStrikeStep = -1;
    ca().strikeStep = 0;
    cActor* c = ca().grabbedActor;
    if (c && c->subtype != 46 && c->parts && c->parts->length() > 2) {
        jint w = c->parts->data()[2];
        if (w > 0 && w < 3) ca().strikeStep = 3 - w;
    }
    playSound(20);
    game::hero::setHeroState(h, 12);
}

void game::throwActor(cActor* a, jint kind, jint direction, jint tx, jint ty) {
    if (!a) return;
    a->flags &= ~0x200;
    playSound(24);
    a->releaseChild();
    if ((kind == 1 || kind == 2) && !a->motion) a->allocMotionState();
    if (kind == 1) {
        a->setVelocityLimitsX(-6400, 6400);
        jint* m = a->motion->data();
        m[2] = direction == -1 ? -6400 : 6400;
        cActor* t = cg().targetActor;
        if (t && t->subtype == 238) {
            jint dx = t->posX - a->posX;
            jint vy = dx == 0 ? 0 : java::idiv(java::imul(t->posY - a->posY - 10, m[2]), dx);
            vy = java::iabs(vy);
            m[3] = t->posY - 10 > a->posY ? vy : -vy;
            a->setVelocityLimitsY(-12800, 12800);
        }
        a->flags |= 0x20000;
        a->physicsFlags = 0x1000206;
        a->aiState = 5;
        a->originX = a->posX;
        if (a->subtype == 144) cg().cameraTarget = a;
    } else if (kind == 2) {
        setMotionLimits(a, -10000, 10000, -10000, 10000);
        const jint dx = java::isub(tx, a->posX), dy = java::isub(ty, a->posY);
        const jint t = java::iadd(java::iabs(dx) / 25, 1);
        a->motion->data()[2] = java::idiv(java::ishl(dx, 8), t);
        a->motion->data()[3] = java::idiv(java::ishl(dy, 8), t);
        a->physicsFlags = 0x1000206;
        a->flags |= 0x20000;
        a->aiState = 5;
        a->originX = a->posX;
    } else if (cActor* h = theHero()) {
        cActor::moveTo(a, java::ishl(h->posX, 8), java::ishl(h->posY, 8));
        if (IntArray* req = cg().type10Requests; req && req->length() >= 2) {
            req->data()[0] = a->posX;
            req->data()[1] = a->posY;
        }
    }
    a->physicsFlags |= 0x200;
    if (a->subtype == 14) a->setAnim(9);
    if (a->subtype == 144) a->setAnim(3);
    if (a->subtype == 32 || a->subtype == 33) cg().progressBits |= 4;
}

void game::startTumble(cActor* a, jint options) {
    if (!a->motion) a->allocMotionState();
    switch (a->subtype) {
    case 7:
    case 8: a->physicsFlags = 0x1000001; break;
    case 2:
        if (!(options & 8)) {
            a->physicsFlags = 0x1000040;
            a->setTimedState8(13, 7);
            setMotionLimits(a, -3072, 3072, -3072, 3072);
            a->flags |= 0xA0010;
            break;
        }
        [[fallthrough]];
    case 19:
        game::behaviour::launchRandomly(a);
        if (a->subtype == 19) a->setAnim(1);
        break;
    default: break;
    }
    a->setRespawnInfo(-1, -1, -1);
    a->flags &= ~(0x80 | 0x20);
    a->releaseChild();
    a->setRespawnCountdown(8);
    a->flags |= 0x80;
}

void game::carryRider(cActor* launcher, cActor* rider, jint endFrame) {
    if (!launcher || !rider) return;
    jint launchAnim = launcher->launchAnimBase + 1;
    IntArray* offs = ca().effectOffsets;
    jint riderX256 = rider->motion ? rider->motion->data()[4] : java::ishl(rider->posX, 8);
    if (launcher->anim == launchAnim) {
        if (endFrame == 0) return;
        if (launcher->frame != endFrame) {
            jint i = std::min(launcher->frame, offs->length() - 1);
            cActor::moveTo(rider, riderX256, java::ishl(launcher->posY + offs->data()[i], 8));
            return;
        }
    } else {
        launcher->setAnim(launchAnim);
        if (endFrame != 0) {
            cActor::moveTo(rider, riderX256, java::ishl(launcher->posY + offs->data()[0], 8));
            setHeroMove(rider, 0, 1, launcher->subtype, 0);
            return;
        }
    }
    jint a = launcher->getParam(0), b = launcher->getParam(1);
    cActor* h = theHero();
    if (!(h && h->subtype == 3010) && (rider->type == 2 || (rider->flags & 0x202))) {
        jint mid = (launcher->box->data()[1] + launcher->box->data()[3]) / 2;
        cActor::moveTo(rider, riderX256, java::ishl(mid, 8));
    }
    cActor::stopMotion(rider);
    if (rider == h) {
        setHeroMove(rider, a, b, launcher->subtype, launcher->getParam(2));
        playSound(15);
        return;
    }
    if (!rider->motion) rider->allocMotionState();
    jint* m = rider->motion->data();
    switch (a) {
    case 0:
        setMotionLimits(rider, 0, 0, -3200, 3200);
        m[3] = -3200;
        break;
    case 2:
    case 3:
        setMotionLimits(rider, -3200, 3200, -3200, 3200);
        m[2] = a == 2 ? -3200 : 3200;
        m[3] = -3200;
        break;
    default: break;
    }
}

void game::updateType59(cActor* a) {
    switch (a->aiState) {
    case 0: a->aiState = 2; break;
    case 2:
        if (theHero() && cActor::rectsIntersect(a->box, theHero()->box)) {
            ca().runSpeedFactor = 460;
            ca().speedBoostParam = 128;
            a->setAnim(1);
            a->aiState = 6;
            playSound(22);
        }
        break;
    case 6:
        if (a->isAnimDone()) removeActor(a, true);
        break;
    default: break;
    }
}

bool game::dropThroughFloor(cActor* h) {
    cActor::moveBy(h, 0, 1024);
    game::hero::setHeroState(h, 2);
    resetKeys();
    return true;
}

bool game::tryMountAction(cActor* h, bool setFacingArg, jint facing) {
    if (!h || h->subtype == 3010 || !(ca().heroActionMask & 0x10000)) return false;
    if (cActor* mount = ca().mountActor) {
        if (mount->flags & 0x4000) {
            bool allowed = mount->type != 8 || isAiState9Or13Or14(mount);
            if (mount->type == 8 && allowed) mount->clearRider();
            if (allowed) return dropThroughFloor(h);
        }
    } else if (game::world::isRowAllClass22(h)) {
        return dropThroughFloor(h);
    }
    if (!game::hero::canEnterState16(h) || (ca().heroActionMask & 32)) return false;
    if (setFacingArg) h->facing = facing != 0;
    heroVars()[0] = 4320;
    game::hero::setHeroState(h, 16);
    return true;
}

void game::setClimbDirection(cActor* h, jint d) {
    if (d == 0 && ca().climbDir == 1) game::world::stepTilesWhileClass(h, 0, -1, 0x200000);
    else if (d == 0 && ca().climbDir == -1) game::world::stepTilesUntilClass(h, 0, 1, 0x200000);
    ca().climbDir = d;
    if (d == 1) h->setAnim(94);
    else if (d == -1) h->setAnim(95);
    if (h->motion) {
        h->motion->data()[3] = 0;
        h->motion->data()[1] = 0;
    }
}

bool game::setAnimAndSkip(cActor* a, jint anim, jint n) {
    if (anim == a->anim) return false;
    a->setAnim(anim);
    for (jint i = 0; i < n; ++i) a->updateAnimation();
    return true;
}

void game::switchToNextHero() {
    cActor* h = theHero();
    ObjectArray* slots = cg().characterSlots;
    if (!h || !slots) return;
    jint scale = h->scale, flags = h->physicsFlags, timer = h->timer;
    jint x = h->posX, y = h->posY - java::idiv(java::imul(scale, 70), 100);
    jint at = 0;
    for (jint i = 0; i < 3 && i < slots->length(); ++i)
        if (slots->data()[i] == h) at = i;
    cActor* next = h;
    for (jint k = 1; k <= 3; ++k) {
        auto* c = static_cast<cActor*>(slots->data()[(at + k) % 3]);
        if (c) {
            next = c;
            break;
        }
    }
    h->setAnim(ca().grabMode == 3 ? 32 : ca().grabMode == 7 ? 108 : ca().heroStateAnims->data()[0]);
    cg().hero = next;
    cActor::moveTo(next, java::ishl(x, 8), java::ishl(y, 8));
    next->physicsFlags = flags;
    next->scale = scale;
    next->timer = timer;
    game::hero::setHeroState(next, 0);
    cg().variableChangedMask = -1;
}

void game::heroStartLevel(cActor* h) {
    if (!h) return;
    game::world::setBoxSize(h, 0, 0);
    h->timer = 0;
    game::behaviour::respawn(h);
    setVariable(3, getVariable(9), false);
    setVariable(5, java::isub(getVariable(5), 1), false);
    const jint slot = currentSaveSlot();
    ByteArray* progress = cg().progress;
    const jint at = (slot - 1) * kSlotBytes + 6;
    if (slot >= 1 && progress && progress->inBounds(at)) progress->data()[at] = java::i2b(getVariable(5));
    ca().heroInputLock &= static_cast<jint>(0x80000000u);
    const jint state = ca().startInState38 ? 38 : cg().stage == 7 ? 40 : 0;
    game::hero::setHeroState(h, state);
}

void game::stopHeroForScript() {
    cActor* h = theHero();
    if (!h) return;
    if (ca().heroAltMode) game::hero::setHeroState(h, 14);
    else if (ca().heroState != 38 && ca().heroState != 40) game::hero::setHeroState(h, 0);
    cActor::stopMotion(h);
    cActor::clearVelocityLimitsX(h);
    cg().scriptBlocked = 1;
    cg().scriptWaitMode = 6;
    h->releaseChild();
    cg().inputBlock |= 1;
}

namespace {

void pickupState(cActor* h, jint state, jint variable, jint v, jint& mark) {
    game::hero::setHeroState(h, state);
    setVariable(variable, java::idiv(java::iadd(java::imul(v, 16), 500), 1000), true);
    mark = getVariable(variable);
}

void bumpStat(jint i) {
    IntArray* s = cg().levelStats;
    if (s && s->inBounds(i)) s->data()[i] += 1;
}

}  // namespace

void game::pickupState13(cActor* h, jint v) { pickupState(h, 13, 2, v, ca().markA); }
void game::pickupState20(cActor* h, jint v) { pickupState(h, 20, 8, v, ca().markB); }

void game::resetHeroStateAfterLanding() {
    if (ca().landingMode) {
        heroVars()[0] = 2048;
        game::hero::setHeroState(theHero(), 17);
    } else {
        game::hero::setHeroState(theHero(), 0);
    }
}

void game::holdHeroState() { heroVars()[0] = std::max(heroVars()[0], ca().heroStateTicks + 5); }

void game::enterState23(cActor* h, jint anim, jint param) {
    ca().actionAnim = anim;
    ca().actionNextState = param;
    game::hero::setHeroState(h, 23);
}

jint game::getHitStrength() { return ca().strikeStep == 1 ? 2 : 1; }

void game::addPickupCount(jint kind, jint sub) {
    switch (kind) {
    case 1: bumpStat(9); break;
    case 5: {
        bumpStat(8);
        IntArray* s = cg().levelStats;
        IntArray* p = cg().pickupCounts;
        if (s && p && s->inBounds(8) && p->inBounds(8)) p->data()[8] = s->data()[8];
        break;
    }
    case 0:
        if (sub != 4 && sub != 8) bumpStat(7);
        break;
    default: break;
    }
}

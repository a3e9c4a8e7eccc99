// The scripted stand-in behind the hero seam (see fake.h).
#include "tests/game/world/hero/fake.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/data/statics.h"
#include "runtime/application.h"

namespace herotest {

namespace {
Fake* g_fake = nullptr;
}

Fake& fake() { return *g_fake; }
void installFake(Fake* f) { g_fake = f; }

namespace {
// cActor's statics as the only contribution of a small application made
// once for the test program; no reference field is a root, since the
// fake's actor handles are not objects.
game::cActorStatics& freshActorStatics() {
    static std::vector<const StaticsContribution*> list;
    if (!Application::instance()) {
        list = {&game::g_cActorStatics};
        Application::Config config;
        config.objectHeapSize = 1 << 20;
        config.dataHeapSize = 1 << 20;
        config.statics = &list;
        Application::init(config);
    }
    game::ca() = game::cActorStatics{};
    return game::ca();
}
}  // namespace

Fake::Fake() : statics(freshActorStatics()) {
    spawned.reserve(256);
    hero.m = {0, 0, 0, 0, 0, 0, -25600, 25600, -25600, 25600};
    statics.struckBlockId = -1;
    statics.lastStrikeStep = -1;
    statics.carryTicks = -1;
    installFake(this);
}

bool Fake::logged(const std::string& s) const { return std::find(log.begin(), log.end(), s) != log.end(); }

FakeActor& Fake::spawn() {
    if (spawned.size() == spawned.capacity()) return spawned.back();  // handles stay valid
    spawned.emplace_back();
    spawned.back().uniqueId = 10000 + static_cast<jint>(spawned.size());
    return spawned.back();
}

void Fake::accelerate(FakeActor& a) {
    a.m[2] = std::clamp(a.m[2] + a.m[0], std::min(a.m[6], a.m[7]), std::max(a.m[6], a.m[7]));
    if (a.m[6] > a.m[7]) a.m[2] = a.m[6];
    a.m[3] = std::clamp(a.m[3] + a.m[1], std::min(a.m[8], a.m[9]), std::max(a.m[8], a.m[9]));
    a.m[4] += a.m[2];
    a.m[5] += a.m[3];
    a.x = a.m[4] >> 8;
    a.y = a.m[5] >> 8;
}

void Fake::stepHandler() { game::hero::tickHeroState(h()); }

void Fake::enter(jint state) { game::hero::setHeroState(h(), state); }

}  // namespace herotest

using herotest::F;
using herotest::Fake;
using herotest::fake;
using herotest::FakeActor;

StaticsContribution game::g_cActorStatics =
    StaticsContribution::of<game::cActorStatics>("cActor", kClinitActor, nullptr);

namespace game::hero {


jint motion(cActor* a, jint i) { return F(a).m[i]; }
void setMotion(cActor* a, jint i, jint v) { F(a).m[i] = v; }
jint posX(cActor* a) { return F(a).x; }
jint posY(cActor* a) { return F(a).y; }
jint boxEdge(cActor* a, jint i) { return F(a).box(i); }
jint facing(cActor* a) { return F(a).facing; }
void setFacing(cActor* a, jint f) { F(a).facing = f; }
jint subtype(cActor* a) { return F(a).subtype; }
jint uniqueId(cActor* a) { return F(a).uniqueId; }
jint type(cActor* a) { return F(a).type; }
jint scale(cActor* a) { return F(a).scale; }
jint physicsFlags(cActor* a) { return F(a).physicsFlags; }
void setPhysicsFlags(cActor* a, jint v) { F(a).physicsFlags = v; }
jint flags(cActor* a) { return F(a).flags; }
void setFlags(cActor* a, jint v) { F(a).flags = v; }
jint contactFlags(cActor* a) { return F(a).contactFlags; }
void setContactFlags(cActor* a, jint v) { F(a).contactFlags = v; }
void setAiState(cActor* a, jint s) { F(a).aiState = s; }
jint aiState(cActor* a) { return F(a).aiState; }
jint anim(cActor* a) { return F(a).anim; }
jint animFrame(cActor* a) { return F(a).frame; }
jint animFrameCount(cActor* a) { return F(a).frameCount; }
void setAnimFrame(cActor* a, jint frame) { F(a).frame = frame; }
jint animTicks(cActor* a) { return F(a).frame; }
void setAnim(cActor* a, jint an) {
    FakeActor& f = F(a);
    if (f.anim == an) return;
    f.anim = an;
    f.frame = 0;
    f.ticks = 0;
    f.animDone = false;
}
bool setAnimThen(cActor* a, jint an, jint next, jint) {
    bool changed = F(a).anim != an;
    setAnim(a, an);
    fake().note("then " + std::to_string(an) + " " + std::to_string(next));
    return changed;
}
bool isAnimDone(cActor* a) { return F(a).animDone; }
jint animDuration(cActor*, jint an) { return an == 20 ? fake().stompAnimDuration : 0; }
void setBoxSize(cActor* a, jint w, jint h) {
    F(a).boxW = w;
    F(a).boxH = h;
}
jint getTypeParam(cActor* a, jint i) { return i >= 0 && i < 8 ? F(a).typeParams[i] : 0; }
jint getParam(cActor* a, jint i) {
    auto& p = F(a).params;
    return i >= 0 && i < static_cast<jint>(p.size()) ? p[i] : 0;
}
void setParam(cActor* a, jint i, jint v) {
    auto& p = F(a).params;
    if (i >= static_cast<jint>(p.size())) p.resize(i + 1);
    p[i] = v;
}
void stopMotion(cActor* a) { F(a).m[0] = F(a).m[1] = F(a).m[2] = F(a).m[3] = 0; }
void moveTo(cActor* a, jint x256, jint y256) {
    FakeActor& f = F(a);
    f.m[4] = x256;
    f.m[5] = y256;
    f.x = x256 >> 8;
    f.y = y256 >> 8;
}
void moveBy(cActor* a, jint dx, jint dy) { moveTo(a, F(a).m[4] + dx, F(a).m[5] + dy); }
bool isChildFinished(cActor* a) { return F(a).childFinished; }
jint childAnim(cActor* a) { return F(a).childAnim; }
jint childFlags(cActor* a) { return F(a).childFlags; }
void spawnChild(cActor* a, jint sprite, jint an, jint x, jint y, jint layer, jint fl) {
    F(a).childAnim = an;
    F(a).childFlags = fl;
    F(a).childFinished = false;
    fake().note("child " + std::to_string(sprite) + " " + std::to_string(an) + " " + std::to_string(x) + " " +
                std::to_string(y) + " " + std::to_string(layer) + " " + std::to_string(fl));
}
void releaseChild(cActor* a) {
    F(a).childAnim = -1;
    F(a).childFlags = 0;
    F(a).childFinished = true;
    fake().note("release child");
}
void attachEffect(cActor*, jint an, jint layer, jint fl) {
    fake().note("effect " + std::to_string(an) + " " + std::to_string(layer) + " " + std::to_string(fl));
}
cActor* spawnEffectPlain(jint sprite, jint an, jint x, jint y, jint layer) {
    if (fake().poolFull) return nullptr;
    FakeActor& e = fake().spawn();
    e.x = x;
    e.y = y;
    e.anim = an;
    fake().note("plain " + std::to_string(sprite) + " " + std::to_string(an) + " " + std::to_string(layer));
    return herotest::A(e);
}
cActor* spawnEffect(jint sprite, jint an, jint x, jint y, jint layer, jint fl) {
    FakeActor& e = fake().spawn();
    e.x = x;
    e.y = y;
    e.anim = an;
    fake().note("spawn " + std::to_string(sprite) + " " + std::to_string(an) + " " + std::to_string(layer) + " " +
                std::to_string(fl));
    return herotest::A(e);
}
void deactivate(cActor*) { fake().note("deactivate"); }
bool isOnLastFrame(cActor* a) { return F(a).frame == F(a).frameCount - 1; }
void updateBoxFromSprite(cActor*) {}
void offsetDrawAndBox(cActor* a, jint dx, jint dy) {
    F(a).drawDx += dx;
    F(a).drawDy += dy;
}
jint drawOffsetX(cActor* a) { return F(a).drawDx; }
jint drawOffsetY(cActor* a) { return F(a).drawDy; }
jint actorPart(cActor* a, jint i) {
    auto& p = F(a).parts;
    return i >= 0 && i < static_cast<jint>(p.size()) ? p[i] : 0;
}
void setActorPart(cActor* a, jint i, jint v) {
    auto& p = F(a).parts;
    if (i >= 0 && i < static_cast<jint>(p.size())) p[i] = v;
}
jint partCount(cActor* a) { return static_cast<jint>(F(a).parts.size()); }
jint paramCount(cActor* a) { return static_cast<jint>(F(a).params.size()); }
jint counter(cActor* a) { return F(a).counter; }
void setCounter(cActor* a, jint v) { F(a).counter = v; }
jint angle(cActor* a) { return F(a).angle; }
void setAngle(cActor* a, jint v) { F(a).angle = v; }
void setScale(cActor* a, jint v) { F(a).scale = v; }
jint chainMode(cActor* a) { return F(a).chainMode; }
jint swingSide(cActor* a) { return F(a).swingSide; }
jint swingBoost(cActor* a) { return F(a).swingBoost; }
void setSwingBoost(cActor* a, jint v) { F(a).swingBoost = v; }
void setMappedAnimThen(cActor* a, jint first, jint, jint) { setAnim(a, first); }

jint& heroState() { return fake().heroState; }
jint& heroStateTicks() { return fake().heroStateTicks; }
jint heroVar(jint i) { return fake().heroStateVars[i]; }
void setHeroVar(jint i, jint v) { fake().heroStateVars[i] = v; }
jint& heroActionMask() { return fake().actionMask; }
jint& actionAnim() { return fake().actionAnim; }
jint& actionNextState() { return fake().actionNextState; }
jint& heroInputLock() { return fake().inputLock; }
jint& heroInputMode() { return fake().inputMode; }
jint& inputOptions() { return fake().inputOptions; }
jint airControl() { return fake().airControl; }
void setAirControl(jint v) { fake().airControl = v; }
void setCruiseAfterLanding(jint v) { fake().cruise = v; }
jint heroMode(jint i) { return fake().modes[i]; }
void setHeroMode(jint i, jint v) { fake().modes[i] = v; }
cActor*& grabbedActor() { return fake().grabbed; }
jint& grabMode() { return fake().grabMode; }
cActor*& partnerActor() { return fake().partner; }
jint& partnerMode() { return fake().partnerMode; }
cActor*& mountActor() { return fake().mount; }
jint& jumpCurveIndex() { return fake().curveIndex; }
jint& jumpCurveLength() { return fake().curveLength; }
void loadJumpCurve() { fake().curveLength = static_cast<jint>(fake().curve.size()); }
jint& collisionResult() { return fake().collisionResult; }
jint& physicsDy() { return fake().physicsDy; }
cActor* carried(cActor* hero) { return reinterpret_cast<cActor*>(F(hero).carried); }
void setCarried(cActor* hero, cActor* a) { F(hero).carried = a ? &F(a) : nullptr; }
jint heroStateAnimCount() { return 23; }
jint heroStateAnim(jint s) { return s >= 0 && s < 23 ? fake().stateAnims[s] : -1; }
jint heroStateEffect(jint s) { return s == 5 ? 5 : -1; }
jint heroStateEffectFlags(jint s) { return s == 5 ? 0x202000 : (s == 8 ? 0x200000 : 0); }

// The framework's hero operations, as their own Parts give them.
bool tryEnterHeroState2(cActor* hero) {
    jint r = fake().collisionResult;
    if ((r & 1) && !(r & 192) && !(r & 0x100000)) {
        setMotion(hero, 3, 4800);
        setHeroState(hero, 2);
        return true;
    }
    return false;
}
void handleHeroControls(cActor*) { fake().note("controls"); }
void applyHeroJumpVelocity(cActor* hero, bool alt) {
    Fake& f = fake();
    jint k = alt ? f.heroStateVars[4] : f.heroStateVars[3];
    jint c = f.curveIndex < static_cast<jint>(f.curve.size()) ? f.curve[f.curveIndex] : 0;
    setMotion(hero, 3, (c * k) >> 8);
}
void applyHeroHit(cActor* hero, jint kind, jint dir, bool enter) {
    fake().note("hit " + std::to_string(kind) + " " + std::to_string(dir) + " " + std::to_string(enter));
    if (enter) setHeroState(hero, 3);
}
void resetHeroStateAfterLanding() {
    if (fake().cruise) {
        fake().heroStateVars[0] = 2048;
        setHeroState(fake().h(), 17);
    } else {
        setHeroState(fake().h(), 0);
    }
}
void holdHeroState() { fake().heroStateVars[0] = std::max(fake().heroStateVars[0], fake().heroStateTicks + 5); }
jint getCarryAnim(cActor* hero, jint dir) {
    bool against = (dir == 1) != (F(hero).facing == 1);
    return fake().grabMode == 3 ? (against ? 74 : 72) : (against ? 73 : 71);
}
bool updateFacingFromKeys(cActor* hero) {
    jint m = fake().actionMask;
    if (F(hero).facing == 0 && (m & 0x400)) {
        F(hero).facing = 1;
        return true;
    }
    if (F(hero).facing == 1 && (m & 0x800)) {
        F(hero).facing = 0;
        return true;
    }
    return false;
}
bool isHeroActionKeyPressed(cActor* hero) {
    return fake().physicsDy == 0 && (fake().actionMask & 0x8001C) && F(hero).subtype != 3010;
}
bool isHeroParamsNeutral() { return fake().heroStateVars[1] == 4128 && fake().heroStateVars[2] == 4128; }
bool isHeroDead() { return fake().heroDead; }
bool isFacingPartner(cActor* hero) {
    cActor* p = fake().partner;
    return p && fake().partnerMode == 1 && (F(hero).facing == 1 ? F(p).x < F(hero).x : F(p).x > F(hero).x);
}
bool tryMountAction(cActor*, jint, jint) { return false; }
void dropCarried(cActor* hero) {
    fake().note("dropCarried");
    setHeroState(hero, 12);
}
void throwCarried(cActor*, jint kind, jint dir, jint, jint) {
    fake().note("throw " + std::to_string(kind) + " " + std::to_string(dir));
}
void handThrow(cActor*, jint dir, jint kind, jint value, cActor* marker) {
    fake().note("hand " + std::to_string(dir) + " " + std::to_string(kind) + " " + std::to_string(value) +
                (marker ? " marker" : ""));
}
void interactHeroType45(cActor*, cActor*) { fake().note("interact45"); }
bool isNearLedge(cActor*) { return false; }
bool isAtLedgeToward(cActor*, jint) { return false; }
bool hasTileClassAtLeft(cActor*, jint) { return false; }
bool hasTileClassAtRight(cActor*, jint) { return false; }
jint getTileColumn(cActor* hero, jint edge) {
    FakeActor& f = F(hero);
    if (edge == 0) return f.x / 36;
    bool right = (edge == 1) == (f.facing == 0);
    return right ? (f.box(2) - 1) / 36 : f.box(0) / 36;
}
jint getTileFlagsAtFeet(cActor*, jint) { return fake().world.feetFlags; }
bool isProgressBitClear(jint) { return true; }
bool isTargetType94() { return false; }
void moveHeroBy(cActor* hero, jint dx, jint dy) { moveBy(hero, dx, dy); }
bool isHeroSubtype(cActor* a) { return F(a).subtype == 0 || F(a).subtype == 242; }
void setHeroMove(cActor*, jint kind, jint, jint mode, jint) {
    fake().note("setHeroMove " + std::to_string(kind) + " " + std::to_string(mode));
}
bool isHeroBlockedSideways() { return (fake().collisionResult & 4) != 0; }
bool isHeroOnMount() { return false; }
bool tryDropCarried(cActor*) { return false; }
bool approachLimit(cActor*, jint, jint, jint, jint) { return false; }
jint heroState37(cActor*, jint) { return 0; }
bool wayUpHitsType8(cActor*) { return fake().headroomBlockedByActor; }

jint getTileFlags(jint col, jint row) { return fake().world.cellFlags(col, row); }
jint scanTileColumn(cActor*, jint, jint y, jint) { return y; }
// Probe points: dx 0 centre, 1 front edge, -1 back edge; dy as the row modes.
jint getSolidTile(cActor* hero, jint dx, jint dy) {
    FakeActor& f = F(hero);
    jint col = f.x / 36;
    if (dx != 0) col = getTileColumn(hero, dx);
    return fake().world.cellClass(col, getTileRow(hero, dy));
}
jint tileMirrored() { return fake().world.mirrored; }
jint getTile(jint col, jint row, jint) { return fake().world.cellClass(col, row); }
jint getTileRow(cActor* a, jint mode) {
    FakeActor& f = F(a);
    switch (mode) {
    case 0: return (f.box(1) - 18) / 36;
    case 1: return (f.box(1) + f.box(3)) / 2 / 36;
    case 2: return f.box(3) / 36;
    case 3: return (f.box(1) - 54) / 36;
    case 4: return (f.box(3) + 36) / 36;
    default: return f.y / 36;
    }
}
void updateCamera(jint) {}
void stepTilesWhileClass(cActor*, jint, jint dy, jint) { fake().note("stepWhile " + std::to_string(dy)); }
void stepTilesUntilClass(cActor*, jint, jint dy, jint) { fake().note("stepUntil " + std::to_string(dy)); }
void setClimbDirection(cActor*, jint dir) { fake().note("climbDir " + std::to_string(dir)); }
jint climbExitDir() { return 0; }
jint probeSlopeGround(cActor*) { return fake().world.slope; }
bool isLevel7() { return fake().level7; }
bool isAnyScriptActive() { return fake().scriptActive; }
bool scriptHoldsHero() { return fake().scriptHolds; }
bool isScriptTarget(jint) { return fake().scriptTarget; }
jint& cameraFlags() { return fake().cameraFlags; }
jint& cameraDivX() { return fake().cameraDivX; }
jint& cameraDivY() { return fake().cameraDivY; }
jint& scrollDelay() { return fake().scrollDelay; }
jint& scrollStepX() { return fake().scrollStepX; }
jint& scrollStepY() { return fake().scrollStepY; }
jint& quakeFrames() { return fake().quake; }
jint& worldFlags(cActor*) { return fake().worldFlags; }
bool transitionFlag64Idle() { return true; }
jint cameraX() { return fake().cameraX; }
jint& runSpeedFactor() { return fake().runSpeedFactor; }
jint& lookAheadX() { return fake().lookAheadX; }
jint& lookAheadForcedX() { return fake().lookAheadForcedX; }
jint& lookAheadForcedY() { return fake().lookAheadForcedY; }
void clearCameraLock() { fake().cameraLocked = 0; }
void setCameraTarget(cActor*) {}
cActor* tileOwner() { return nullptr; }
bool levelRect(jint, jint*, jint*, jint*, jint*) { return false; }
jint fixedSin(jint degrees) {
    double r = degrees * 3.14159265358979323846 / 180.0;
    return static_cast<jint>(std::lround(std::sin(r) * 16384));
}
jint cos256(jint d) { return fixedSin(d + 90) >> 6; }
jint sin256(jint d) { return fixedSin(d) >> 6; }
jint frameTick() { return fake().frameTick; }
jint& heroSpeedTimer() { return fake().heroSpeedTimer; }
jint& boostFrames() { return fake().boostFrames; }
jint& heroBumped() { return fake().heroBumped; }
bool heroSkipScroll() { return fake().heroSkipScroll != 0; }
jint& autoRunHalt() { return fake().autoRunHalt; }
cActor* heldItem() { return fake().heldItem; }
void setHeldItem(cActor* a) { fake().heldItem = a; }
bool isRowAllClass22(cActor*) { return false; }
void resetKeys() { fake().note("resetKeys"); }
bool keyPressed(jint k) { return fake().keysPressed[k]; }
bool keyHeld(jint k) { return fake().keysHeld[k]; }
bool touchControls() { return fake().touch; }
bool anyKeyActive() { return false; }
bool touchZone(jint) { return false; }
bool touchInZones() { return false; }
cActor* targetActor() { return nullptr; }
cActor* theHero() { return fake().h(); }
cActor* spawnShot(jint x, jint y) {
    fake().note("shot " + std::to_string(x) + " " + std::to_string(y));
    if (fake().poolFull) return nullptr;
    return herotest::A(fake().spawn());
}
void setShotCounters(cActor* shot) { F(shot).counter = 0; }
void knockback(cActor*, jint dir, jint an, jint a, jint b, jint c, jint d) {
    fake().note("knockback " + std::to_string(dir) + " " + std::to_string(an) + " " + std::to_string(a) + " " +
                std::to_string(b) + " " + std::to_string(c) + " " + std::to_string(d));
}
void hurtHero(cActor*, jint, jint amount, jint force) {
    fake().note("hurt " + std::to_string(amount) + " " + std::to_string(force));
}
void kill(cActor*) { fake().note("kill"); }
void loseLife(cActor*) { fake().note("loseLife"); }
void collectHeldItem(cActor*) { fake().note("collect"); }
void checkPickup(cActor*, jint) { fake().note("checkPickup"); }
void summonSlotActors(cActor*) { fake().note("summon"); }
void notePickup() { fake().note("notice"); }
cActor* spawnFromTemplate(jint, jint x, jint y) {
    if (fake().poolFull) return nullptr;
    FakeActor& a = fake().spawn();
    a.x = x;
    a.y = y;
    return herotest::A(a);
}
void ensureMotionState(cActor*) {}
void setTimer(cActor* a, jint v) { F(a).timer = v; }
jint timer(cActor* a) { return F(a).timer; }
void countLevelItem() { fake().note("item"); }
void removeActor(cActor*) { fake().note("remove"); }
void switchToNextHero() { fake().note("switch"); }
bool inSegmentRange(cActor*) { return false; }
void decrementVariable6() {}
void setHeroAttackBox(cActor*, jint, jint, jint) {}
bool keyReleased(jint) { return false; }
void readHeroInput() {}
void setCameraLimitsToView() { fake().note("limitsToView"); }
jint levelNumber() { return fake().level; }
bool dialogHoldsHero() { return fake().dialog; }
void syncAttachedChain(cActor*) {}
void playSound(jint id) { fake().note("sound " + std::to_string(id)); }
void requestGameState(jint s) { fake().note("gameState " + std::to_string(s)); }
void setVariable(jint i, jint v) {
    if (i >= 0 && i < 10) fake().variables[i] = v;
}
jint getVariable(jint i) { return i == 3 ? fake().health : (i >= 0 && i < 10 ? fake().variables[i] : 0); }
jint random(jint lo, jint) { return lo; }

}  // namespace game::hero

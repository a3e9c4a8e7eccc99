// The actor object: initialisers, the animation step, accessors, cActor's
// static fields and class initialiser, and the run-time unique ids.
#include "game/actor/actor.h"
#include "game/actor/contact.h"
#include "game/actor/levels.h"
#include "game/actor/tables.h"
#include "game/behaviour/routines.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/flow/gmath.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "runtime/log.h"
#include "runtime/statics.h"

#include <algorithm>

using namespace game;


namespace {


IntArray* ints(std::initializer_list<jint> v) {
    IntArray* a = newIntArray(static_cast<jint>(v.size()));
    std::copy(v.begin(), v.end(), a->data());
    return a;
}

// One log line per subtype for reads and writes past an actor's arrays.
void logOutOfRangeOnce(jint subtype, const char* what, jint i) {
    BoolArray* marks = cg().subtypeLogged;
    jint row = subtypeRow(subtype);
    if (marks && row >= 0) {
        if (marks->data()[row]) return;
        marks->data()[row] = 1;
    }
    logPrintf("Actor subtype %d: %s index %d out of range", subtype, what, i);
}

constexpr jint kSparkCount = 5;
constexpr jint kType2QueueLength = 8;

void cActor_clinit() {
    cActorStatics& s = ca();
    s.idCounter = 9999;
    s.heroState = -1;
    s.heroInputMode = -1;
    s.levelMark = -1;
    s.grabMode = 10;
    s.markA = s.markB = -1;
    s.hurtMark = -1;
    s.farX = s.farY = -1000000;
    s.orbitScale = 19;
    s.turnStep = 3 * cg().angleSteps / 360;
    s.turnStepQuarter = s.turnStep / 4;
    s.behaviourMark = -1;
    s.speedParam = 287232;
    s.heroFlagA = 1;
    s.heroParam = 3;
    s.heroScriptMark = -1;
    // The run speed factor starts at 1.0; counters that mean "idle" at -1.
    s.runSpeedFactor = 256;
    s.struckBlockId = -1;
    s.powerRunTimer = -1;
    s.floatTimer = -1;
    s.carryTicks = -1;
    s.lastStrikeStep = -1;
    s.orbitFlightTicks = -1;
    // Each array goes into its field at once: the field is a root.
    ca().boxA = newShortArray(4);
    ca().boxB = newShortArray(4);
    ca().boxC = newShortArray(4);
    ca().heroStateVars = newIntArray(9);
    ca().spareBox = newShortArray(4);
    ca().physicsA = newIntArray(4);
    ca().physicsB = newIntArray(4);
    ca().physicsBox = newShortArray(4);
    ca().effectPool = newObjectArray(cid::cActor, 64);
    ca().frameRect = newIntArray(4);
    ca().partRectsA = newIntArray(128);
    ca().partRectsB = newIntArray(128);
    ca().partBoxA = newShortArray(4);
    ca().partBoxB = newShortArray(4);
    ca().flagQuad = ShortArray::fill(newShortArray(4), 4, 1, 1, 0, 0);
    ca().heroHistory = newObjectArray(cid::IntArray, 3);
    for (jint i = 0; i < 3; ++i) {
        IntArray* e = newIntArray(5);
        ca().heroHistory->data()[i] = e;
    }
    ca().itemCounts = newIntArray(5);
    ca().segmentScratch = newIntArray(9);
    ca().screenBoxScratch = newShortArray(4);
    ca().segments = newObjectArray(cid::IntArray, 3);
    for (jint i = 0; i < 3; ++i) {
        IntArray* e = newIntArray(9);
        ca().segments->data()[i] = e;
    }
    ca().rectIds = newIntArray(64);
    ca().rects = newShortArray(128);
    ca().rectRow = newShortArray(4);
    ca().items = newShortArray(576);
    ca().itemIds = newIntArray(64);
    ca().linkIds = newIntArray(256);
    ca().links = newIntArray(1280);
    ca().linkRow = newIntArray(5);
    ca().trackA = newIntArray(5);
    ca().trackB = newIntArray(5);
    ca().trackC = newIntArray(5);
    ca().heroStateAnims = ints({0, 2, 10, 6, 12, 5, 2, 19, 15, 82, 9, 16, -1, 22, -1, 37, 36, 2, 55, -1, 81, 77, 80});
    ca().heroStateEffects = newIntArray(24);
    for (jint i = 0; i < 24; ++i) ca().heroStateEffects->data()[i] = i == 5 ? 5 : -1;
    ca().heroStateFlags = newIntArray(18);
    ca().heroStateFlags->data()[5] = 0x202000;
    ca().heroStateFlags->data()[8] = 0x200000;
    ca().carryAnimsA = ints({25, 26, 27});
    ca().carryAnimsB = ints({-1, -1, 29});
    ca().carryModes = ints({2, 2, 1});
    ca().offsetPairsA = ints({-11, -85, -39, -74, -41, -63, -41, -63, -8, -80, 27, -75, 33, -18});
    ca().offsetPairsB = ints({35, -22, 35, -22, 3, -52, 3, -52, 36, -36, 36, -36});
    ca().effectOffsets = ints({-10, -2, -2});
    // The jump curve (vy per step, scaled by the jump power >> 8): twelve
    // steps slowing evenly, so that a held jump (power 480) rises about
    // three cells (108 px); a tapped one (256) is cut short by the air control.
    ca().jumpCurve = ints({-2835, -2599, -2363, -2126, -1890, -1654, -1418, -1181, -945, -709, -473, -236});
    // The behaviours' scratch boxes and small tables exist from start-up,
    // so routines index them without a null test.
    ca().scratchBox = newShortArray(4);
    ca().scratchBox2 = newShortArray(4);
    ca().sparkTimers = newIntArray(kSparkCount);
    ca().sparkParts = newIntArray(kSparkCount);
    ca().sparkAngles = newIntArray(kSparkCount);
    ca().type2Queue = newIntArray(kType2QueueLength);
    // Framework stores.
    cg().subtypeLogged = newBoolArray(276);
    loadActorTablesResource();
}

}  // namespace

// cActor runs eighth of the game's initialisers (after cGame, whose angle
// constant it uses).
StaticsContribution game::g_cActorStatics = game::contribution<cActorStatics>("cActor", kClinitActor, &cActor_clinit);

void game::registerActorStatics() {
    const auto& r = StaticClass::registered();
    if (std::find(r.begin(), r.end(), &g_cActorStatics) == r.end()) StaticClass::contribute(&g_cActorStatics);
}

jint game::nextUniqueId() {
    // Run-time ids stay in 10000..32767: past 32767 they start again at
    // 10000 rather than running into the level objects' ids.
    jint next = ca().idCounter + 1;
    if (next > 32767 || next < 10000) next = 10000;
    ca().idCounter = static_cast<jshort>(next);
    return next;
}

// --- construction -------------------------------------------------------------

cActor::cActor() : Object(cid::cActor) { initFields(); }

void cActor::resetFields() {
    // newObject zero-fills; the reference fields are registered once per class.
    poolSlot = 0;
    box = attackBox = savedBox = params = nullptr;
    motion = parts = respawnRecord = bobTable = stageReturns = stageFastThrows = nullptr;
    linked = tileBlock = nullptr;
    carried = child = nullptr;
    sprite = nullptr;
    StaticClass::setRefFieldOffsets(this, {&box, &attackBox, &motion, &params, &parts, &linked, &carried,
                                           &respawnRecord, &savedBox, &sprite, &child, &tileBlock, &bobTable,
                                           &stageReturns, &stageFastThrows});
}

void cActor::setInitialValues() {
    viewRating = 3;
    box = newShortArray(4);
    contactFlags = 1;
    savedBox = newShortArray(4);
    palette = -1;
    anim = -1;
    nextAnim = -1;
    fade = 255;
    scriptHold = 0;
    scriptValue = 0;
    work232 = 1;
    aux280 = 1;
    bobTable = IntArray::fill(newIntArray(16), 16, 0, 5, 10, 15, 20, 15, 10, 5, 0, -5, -10, -15, -20, -15, -10, -5);
    bobStep = 2;
    tune340 = 10;
    tune344 = 14;
    tune348 = 0;
    tune352 = 5;
    tune356 = 24;
    tune360 = 264;
    stageReturns = IntArray::fill(newIntArray(3), 3, 3, 4, 5);
    stageFastThrows = IntArray::fill(newIntArray(3), 3, 2, 4, 0);
}

void cActor::initFields() {
    resetFields();
    setInitialValues();
    scale = 100;
    angle = 0;
}

cActor* cActor::makeFromRecord(ShortArray* table, jint length, jint offset) {
    cActor* a = newObject<cActor>();
    game::behaviour::initFromLevelData(a, table, length, offset);
    return a;
}

void cActor::resetForReuse() {
    releaseChild();
    viewRating = 3;
    respawnRecord = nullptr;
    linkIndex = physicsFlags = posX = posY = 0;
    if (box)
        for (jint i = 0; i < 4 && i < box->length(); ++i) box->data()[i] = 0;
    attackBox = nullptr;
    motion = nullptr;
    flags = 0;
    params = nullptr;
    parts = nullptr;
    linked = nullptr;
    timer = counter = 0;
    carried = nullptr;
    contactFlags = aux116 = aiState = nextState = recordIndex = 0;
    palette = -1;
    anim = -1;
    frame = frameTick = animTicks = paintFlags = nextAnim = animPasses = 0;
    fade = 255;
    auxFlag4 = 1;
    sprite = nullptr;
}

// --- slots ------------------------------------------------------------------

void cActor::release() {
    releaseChild();
    sprite = nullptr;
    if (type == 4) game::behaviour::saveTrackedCells(this);
}

void cActor::freezeForScript() { game::behaviour::freezeForScript(this); }

// --- animation ----------------------------------------------------------------

jint cActor::setAnim(jint a) {
    if (a == anim) return 0;
    paintFlags &= ~32;
    flags &= ~0x40;
    stepsByTable = 0;
    anim = a;
    nextAnim = -1;
    frame = frameTick = animTicks = animPasses = 0;
    return 1;
}

jint cActor::setAnimThen(jint a, jint next, jboolean steps) {
    nextAnim = next;
    if (a == anim) return 0;
    paintFlags &= ~32;
    flags &= ~0x40;
    anim = a;
    frame = frameTick = animTicks = animPasses = 0;
    stepsByTable = steps != 0;
    return 1;
}

void cActor::resetAnim() {
    paintFlags &= ~32;
    flags &= ~0x40;
    anim = nextAnim = -1;
    frame = frameTick = animTicks = animPasses = 0;
}

void cActor::clearSprite() {
    sprite = nullptr;
    anim = -1;
}

bool cActor::isAnimDone() const { return animPasses > 0 && frame == 0 && frameTick == 0; }
jint cActor::getAnimBit() const { return anim >= 0 && anim < 32 ? 1 << anim : 0; }
jint cActor::getChildAnim() const { return child ? child->anim : -1; }
bool cActor::isOnLastFrame() const { return sprite && anim >= 0 && frame >= sprite->getAFrameCount(anim) - 1; }
void cActor::setStepTable(ShortArray* table) { ca().stepTable = table; }

void cActor::updateAnimation() {
    if ((flags & 0x40) || !sprite || subtype == 83 || subtype == 84) return;
    // An animation the sprite does not have can never run: it counts as one
    // finished pass, so whoever waits for its end is not held for good.
    if (anim >= 0 && sprite->getAFrameCount(anim) <= 0) {
        if (animPasses == 0) {
            animPasses = 1;
            frame = frameTick = animTicks = 0;
        }
        return;
    }
    jint duration = sprite->getAFrameTime(anim, frame);
    if (duration == 0) return;
    ++frameTick;
    ++animTicks;
    if (frameTick < duration) return;
    frameTick = 0;
    ++frame;
    if (frame >= sprite->getAFrameCount(anim)) {
        if (nextAnim >= 0 && nextAnim != anim) {
            setAnim(nextAnim);
        } else {
            frame = 0;
            animTicks = 0;
            ++animPasses;
            nextAnim = -1;
        }
    }
    ShortArray* steps = ca().stepTable;
    if (stepsByTable && steps && 2 * animTicks + 1 < steps->length() && 2 * animTicks + 1 >= 0) {
        jint dx = steps->data()[2 * animTicks];
        jint dy = steps->data()[2 * animTicks + 1];
        // The step turns round when the hero's facing differs from the
        // subtype's mirror group.
        cActor* hero = cg().hero;
        if (hero && (hero->facing != 0) != isSubtypeInHitGroupExt(this)) dx = -dx;
        moveBy(this, java::ishl(dx, 8), java::ishl(dy, 8));
    }
}

// --- accessors ----------------------------------------------------------------

void cActor::deactivateQuick() {
    flags |= 0x1040;
    scale = 100;
    angle = 0;
}

void cActor::setAiState(jint s, bool replace) { aiState = replace ? s : (aiState & 0xFF000000) | (s & 0xFFFFFF); }
void cActor::setRecordIndex(jint tag, jint index) {
    recordIndex = static_cast<jint>((static_cast<uint32_t>(tag) & 0xFF000000u) | (static_cast<uint32_t>(index) & 0xFFFFFFu));
}
void cActor::setAiState5For(jint t) {
    if (t > 0) {
        aiState = 5;
        timer = t;
    }
}
void cActor::setAiState42If2(jint t) {
    if (aiState == 2) {
        aiState = 42;
        timer = t;
    }
}
void cActor::setTimedState8(jint t, jint p) {
    aiState = 8;
    timer = t;
    nextState = p;
}
void cActor::setFacingRaw(jint f) {
    facing = f != 0;
    paintFlags = (paintFlags & ~1) | facing;
}
void cActor::startFlyAway(jint ax, jint t) {
    if (!motion) allocMotionState();
    motion->data()[0] = java::ishl(ax, 8);
    setVelocityLimitsX(-25600, 25600);
    timer = t;
    aiState = 31;
    anchorX = posX;
}
jint cActor::takeHitBits(jint m) {
    jint r = (contactFlags & m) != 0;
    contactFlags &= ~m;
    return r;
}
void cActor::clearRider() {
    if (!carried) return;
    carried = nullptr;
    if (cg().hero) cg().hero->flags &= ~0x10000000;
}

namespace {

// Index of parameter i of subtype in the table, or -1 (logged once per
// subtype) when there is no table, no row or i lies outside the row.
jint paramIndex(jint subtype, jint i) {
    IntArray* table = ca().subtypeParams;
    IntArray* starts = ca().subtypeParamStart;
    jint row = subtypeRow(subtype);
    if (table && starts && row >= 0) {
        jint start = starts->data()[row];
        jint end = row + 1 < starts->length() ? starts->data()[row + 1] : table->length();
        if (i >= 0 && start + i < end) return start + i;
    }
    logOutOfRangeOnce(subtype, "subtype parameter", i);
    return -1;
}

}  // namespace

jint cActor::getSubtypeParam(jint subtype, jint i) {
    jint k = paramIndex(subtype, i);
    return k < 0 ? 0 : ca().subtypeParams->data()[k];
}

void cActor::setTypeParam(jint i, jint v) {
    jint k = paramIndex(subtype, i);
    if (k >= 0) ca().subtypeParams->data()[k] = v;
}

jint cActor::getParam(jint i) {
    if (!params || i < 0 || i >= params->length()) {
        logOutOfRangeOnce(subtype, "parameter", i);
        return 0;
    }
    return params->data()[i];
}

void cActor::setParam(jint i, jint v) {
    if (!params || i < 0 || i >= params->length()) return logOutOfRangeOnce(subtype, "parameter", i);
    params->data()[i] = java::i2s(v);
}

void cActor::setParams1to4(jint a, jint b, jint c, jint d) {
    setParam(1, a);
    setParam(2, b);
    setParam(3, c);
    setParam(4, d);
}

jint cActor::getPart(jint i) {
    if (!parts || i < 0 || i >= parts->length()) {
        logOutOfRangeOnce(subtype, "part", i);
        return 0;
    }
    return parts->data()[i];
}

void cActor::setPart(jint i, jint v) {
    if (!parts || i < 0 || i >= parts->length()) return logOutOfRangeOnce(subtype, "part", i);
    parts->data()[i] = v;
}

void cActor::setRespawnInfo(jint x, jint y, jint p) {
    if (!respawnRecord) respawnRecord = newIntArray(7);
    jint* r = respawnRecord->data();
    r[0] = -1;
    r[1] = x;
    r[2] = y;
    r[3] = p;
    r[4] = type;
    r[5] = facing ? 1 : 0;
    r[6] = scale;
}

void cActor::setRespawnCountdown(jint v) {
    if (respawnRecord) respawnRecord->data()[0] = v;
}

void cActor::setBoxFromRect(IntArray* r) {
    const jint* v = r->data();
    setBox(box, posX + (v[0] >> 8), posY + (v[1] >> 8), posX + (v[2] >> 8), posY + (v[3] >> 8));
}

void cActor::getBounds(ShortArray* out) const { copyBox(box, out); }
void cActor::copyBox(ShortArray* src, ShortArray* dst) {
    if (!src || !dst) return rt::logNullPointer();
    for (jint i = 0; i < 4; ++i) dst->data()[i] = src->data()[i];
}

void cActor::setBoxAround() {
    jint l = posX - 40, t = posY - 5;
    setBox(box, l, t, l + 80, t + 10);
}

void cActor::boundsOfRecords(ShortArray* out, ObjectArray* recs, jint n) {
    jint l = java::kIntMax, t = java::kIntMax, r = java::kIntMin, b = java::kIntMin;
    if (n == 0) r = static_cast<jint>(0x80000000u);
    for (jint i = 0; i < n && recs && i < recs->length(); ++i) {
        auto* rec = static_cast<IntArray*>(recs->data()[i]);
        if (!rec) continue;
        l = std::min(l, rec->data()[0]);
        t = std::min(t, rec->data()[1]);
        r = std::max(r, rec->data()[2]);
        b = std::max(b, rec->data()[3]);
    }
    setBox(out, l, t, r, b);
}

bool cActor::prevBoxIntersects(ShortArray* r) {
    copyBox(box, savedBox);
    const jshort* a = savedBox->data();
    const jshort* o = r->data();
    return a[0] < o[2] && a[2] > o[0] && a[1] < o[3] && a[3] > o[1];
}

jint cActor::getTileRow(jint mode) const {
    const jshort* b = box->data();
    jint y;
    switch (mode) {
    case 0: y = b[1] - 18; break;
    case 1: y = b[1] + (b[3] - b[1]) / 2; break;
    case 2: y = b[3]; break;
    case 3: y = b[1] - 54; break;
    case 4: y = b[3] + 36; break;
    default: y = posY;
    }
    return y / 36;
}

jint cActor::getTileColumn(jint dir) const {
    const jshort* b = box->data();
    jint x = posX;
    if (dir == 1) x = facing == 1 ? b[0] : b[2];
    else if (dir == -1) x = facing == 1 ? b[2] : b[0];
    return x / 36;
}

jint cActor::getBoxYByMode(jint mode) const {
    const jshort* b = box->data();
    return mode == 0 ? b[1] : mode == 1 ? (b[1] + b[3]) / 2 : b[3];
}

bool cActor::isChildFinished() const {
    return !child || (child->isAnimDone() && (child->paintFlags & 0x8000) && !(child->paintFlags & 0x200000));
}

bool cActor::decrementPartsCounter(jint n) {
    if (!parts) return true;
    setPart(2, java::isub(getPart(2), n));
    return getPart(2) <= 0;
}

jint cActor::setAttackBox(jint dx, jint dy, jint w, jint h) {
    if (!attackBox) attackBox = newShortArray(4);
    jint f = flags & 1;
    if (facing != f) dx = -(dx + w);
    jint l = posX + dx, t = posY + dy - 3;
    setBox(attackBox, l, t, l + w, t + h);
    return f;
}

bool cActor::rectsIntersect(ShortArray* a, ShortArray* b) {
    const jshort* p = a->data();
    const jshort* q = b->data();
    return p[0] <= q[2] && p[2] >= q[0] && p[1] <= q[3] && p[3] >= q[1];
}

bool cActor::boxContains(ShortArray* box, jint x, jint y) {
    const jshort* b = box->data();
    return b[0] <= x && x <= b[2] && b[1] <= y && y <= b[3];
}

jint cActor::overlapX(cActor* a, cActor* b) {
    return (getWidth(a) >> 1) + (getWidth(b) >> 1) - std::abs(a->posX - b->posX);
}

jint cActor::overlapY(cActor* a, cActor* b) {
    jint d = a->posY - b->posY;
    if (d > 0) return getHeight(a) - d;
    if (d == 0) return 0;
    return -d - getHeight(b);
}

bool cActor::isBelowOverlapping(ShortArray* a, ShortArray* b) {
    const jshort* p = a->data();
    const jshort* q = b->data();
    if (p[1] < q[3]) return false;
    jint wa = p[2] - p[0], wb = q[2] - q[0];
    jint dist = std::max(std::abs(p[0] - q[0]), std::abs(p[2] - q[2]));
    return dist <= std::max(wa, wb);
}

void cActor::getRecordBox(ShortArray* table, jint offset, ShortArray* out, cActor* actor, jint subtype) {
    jint x, y;
    if (actor) {
        x = actor->posX;
        y = actor->posY;
    } else {
        x = ShortArray::at(table, offset + 2);
        y = ShortArray::at(table, offset + 3);
    }
    jint w = getSubtypeParam(subtype, 13), h = getSubtypeParam(subtype, 12);
    setBox(out, x - w / 2, y - h, x + w / 2, y);
}

void cActor::allocMotionState() {
    if (!motion) motion = newIntArray(10);
    motion->data()[4] = java::ishl(posX, 8);
    motion->data()[5] = java::ishl(posY, 8);
}

void cActor::setVelocityLimitsX(jint lo, jint hi) {
    if (!motion) return;
    motion->data()[6] = lo;
    motion->data()[7] = hi;
}

void cActor::setVelocityLimitsY(jint lo, jint hi) {
    if (!motion) return;
    motion->data()[8] = lo;
    motion->data()[9] = hi;
}


void game::initTrackedLists() {
    if (!ca().trackedIds) ca().trackedIds = newShortArray(64);
    if (!ca().trackedCellMasks) ca().trackedCellMasks = newIntArray(64);
    ca().trackedCount = 0;
}

void game::releaseCarriedActor() {
    ca().stateBits = 0;
    if (cActor* c = ca().grabbedActor) {
        if (ca().grabMode == 3) game::world::setBoxSize(c, 33, c->getTypeParam(7));
        else if (ca().grabMode == 7) c->aiState = 9;
    }
    ca().grabMode = 10;
    ca().grabbedActor = nullptr;
}

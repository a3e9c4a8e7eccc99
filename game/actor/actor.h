// cActor (class id 128): the one class behind every moving or interactive
// thing in play, its static fields, and the framework's operations on it.
// Behaviour is chosen by data: the type picks the per-frame routine, the
// subtype a row of the parameter table, the level record the parameters.
//
// Invariants: every reference field is registered with the collector by
// resetFields; a pooled level actor's poolSlot equals its index in the
// pool; an effect actor is never in the level pool and vice versa; actors
// are reused, never freed.
#pragma once

#include "game/behaviour/behaviour_fields.h"
#include "game/data/fields.h"
#include "game/world/hero/hero_fields.h"
#include "game/world/world_fields.h"
#include "runtime/array.h"
#include "runtime/jint.h"
#include "runtime/object.h"

class BSprite;

class cActor : public Object {
public:
    // The pooled constructor (initFields); the level constructor is
    // makeFromRecord below.
    cActor();

    // Slots 6-9.
    virtual void release();                                   // 6
    virtual void update();                                    // 7
    virtual void freezeForScript();                           // 8
    virtual void handleEvent(jint kind, jint a, jint b, jint count);  // 9

    // --- initialisers ---
    void resetFields();
    void initFields();
    void resetForReuse();
    // cActor.cActor(table, length, offset): a level actor made from a record.
    static cActor* makeFromRecord(ShortArray* table, jint length, jint offset);

    // --- animation ---
    jint setAnim(jint a);
    jint setAnimThen(jint a, jint next, jboolean steps);
    void resetAnim();
    void clearSprite();
    bool isAnimDone() const;
    jint getAnimBit() const;
    jint getChildAnim() const;
    bool isOnLastFrame() const;
    void updateAnimation();
    static void setStepTable(ShortArray* table);

    // --- accessors ---
    void setPosition(jint x, jint y) { posX = x; posY = y; }
    jint getX() const { return posX; }
    jint getYAbove() const { return posY - 160; }
    void deactivateQuick();
    void setStateTimer(jint v) { timer = v; }
    void setAiState(jint s, bool replace);
    void setRecordIndex(jint tag, jint index);
    void setAiState6() { aiState = 6; }
    void setAiState5For(jint t);
    void setAiState42If2(jint t);
    void setTimedState8(jint t, jint p);
    void setFacingRaw(jint f);
    void startFlyAway(jint ax, jint t);
    void setHitBits(jint m) { contactFlags |= m; }
    bool testHitBits(jint m) const { return (contactFlags & m) != 0; }
    jint takeHitBits(jint m);
    void clearRider();
    static jint getHitValue(jint kind) { return kind == 2 ? 2 : kind == 82 ? 7 : 0; }
    static jint getFixedValue() { return 1072; }
    jint getTypeParam(jint i) const { return getSubtypeParam(subtype, i); }
    void setTypeParam(jint i, jint v);
    static jint getSubtypeParam(jint subtype, jint i);
    jint getParam(jint i);
    // params[i], or 0 when absent, without a log line (painting asks freely).
    jint getParamOr(jint i) const { return params && i >= 0 && i < params->length() ? params->data()[i] : 0; }
    void setParam(jint i, jint v);
    void setParams1to4(jint a, jint b, jint c, jint d);
    void setRespawnInfo(jint x, jint y, jint p);
    void setRespawnCountdown(jint v);
    void setBoxFromRect(IntArray* r);
    void getBounds(ShortArray* out) const;
    static void copyBox(ShortArray* src, ShortArray* dst);
    void setBoxAround();
    static void boundsOfRecords(ShortArray* out, ObjectArray* recs, jint n);
    bool prevBoxIntersects(ShortArray* r);
    jint getTileRow(jint mode) const;
    jint getTileColumn(jint dir) const;
    jint getBoxYByMode(jint mode) const;
    bool isChildFinished() const;
    bool decrementPartsCounter(jint n);
    jint getPart(jint i);
    void setPart(jint i, jint v);
    jint setAttackBox(jint dx, jint dy, jint w, jint h);
    static bool rectsIntersect(ShortArray* a, ShortArray* b);
    static bool boxContains(ShortArray* box, jint x, jint y);
    static jint overlapX(cActor* a, cActor* b);
    static jint overlapY(cActor* a, cActor* b);
    static bool isBelowOverlapping(ShortArray* a, ShortArray* b);
    static void getRecordBox(ShortArray* table, jint offset, ShortArray* out, cActor* actor, jint subtype);
    jint box0() const { return ShortArray::at(box, 0); }

    // --- motion and boxes ---
    static void moveBy(cActor* a, jint dx, jint dy);
    static void moveTo(cActor* a, jint x256, jint y256);
    static void stopMotion(cActor* a);
    static void stopHeroMotion();
    static void clearVelocityLimitsX(cActor* a);
    static void clearVelocityLimitsY(cActor* a);
    static void applyAcceleration(cActor* a);
    static bool approachLimit(cActor* a, jint v, jint i, jint j, bool adjust);
    static bool clampMoveX(cActor* a, jint v, bool adjust) { return approachLimit(a, v, 2, 4, adjust); }
    static bool clampMoveY(cActor* a, jint v, bool adjust) { return approachLimit(a, v, 3, 5, adjust); }
    static bool isAnchorReachable(cActor* a, jint x256, jint y256);
    static void setBox(ShortArray* box, jint l, jint t, jint r, jint b);
    static void offsetBox(ShortArray* box, jint dx, jint dy);
    static jint getWidth(const cActor* a);
    static jint getHeight(const cActor* a);
    static void updateBoxFromFrameBounds(cActor* a);
    static void offsetDrawAndBox(cActor* a, jint dx, jint dy);
    static void setHeroAttackBox(cActor* a, jint w, jint h, jint c);
    static void setFacing(cActor* a, jint f);
    static jint toScreenX(jint x, jint layer);
    static jint toScreenY(jint y, jint layer);
    void allocMotionState();
    bool hasMotionState() const { return motion != nullptr; }
    void setVelocityLimitsX(jint lo, jint hi);
    void setVelocityLimitsY(jint lo, jint hi);

    // --- visibility, respawn, timed state ---
    static void updateScreenBox(cActor* a);
    static jint isRecordInView(jint subtype, ShortArray* box, jint flags, jint layer);
    static void updateRespawn(cActor* a);
    static void updateStateTimer(cActor* a);

    // --- effects and children ---
    static cActor* obtainEffect();
    static void updateEffect(cActor* a);
    static void updateEffectsFrom(jint layer);
    static cActor* spawnEffect(BSprite* sprite, jint anim, jint x, jint y, jint layer, jint paintFlags);
    static cActor* spawnEffectPlain(BSprite* sprite, jint anim, jint x, jint y, jint layer) {
        return spawnEffect(sprite, anim, x, y, layer, 0);
    }
    static void spawnChild(cActor* parent, BSprite* sprite, jint anim, jint palette, jint x, jint y, jint layer,
                           jint paintFlags);
    static void attachEffect(cActor* parent, jint anim, jint layer, jint paintFlags);
    static void attachEffectAt(cActor* parent, jint anim, jint x, jint y, jint layer, jint paintFlags);
    static cActor* attachEffectTo(cActor* parent, jint x, jint y, jint anim);
    static jint hitFlash(cActor* a, jint baseAnim, jint deathAnim, jint hurtAnim, jint heavyHurtAnim);
    static void setupSpriteAndBox(cActor* a);
    static void updateBoxFromSprite(cActor* a);
    static void setRowBox(cActor* a);
    // Scale to target over duration steps (a tween slot), or at once.
    static void startScaleTween(cActor* a, jint target, jint duration);
    void releaseChild();
    void deactivate();

    // --- fields, in declaration order ---
    jint poolSlot;
    jboolean auxFlag;
    jint viewRating;
    jint posX, posY;  // the position in pixels (also named x and y)
    ShortArray* box;
    ShortArray* attackBox;
    jint scale;
    jint angle;
    IntArray* motion;
    jint flags;
    jbyte facing;
    jint uniqueId;
    jint recordIndex;
    jint subtype;
    jint type;
    jint layer;
    ShortArray* params;
    jint linkIndex;
    IntArray* parts;
    Object* linked;  // also named auxRef
    jint aiState;
    jint nextState;  // also named nextAiState
    jint timer;  // also named stateTimer
    jboolean auxFlag2;
    jint counter, aux112, aux116;  // also named pathPoint
    jboolean hitImmune;  // also named auxFlag3
    cActor* carried;  // also named rider
    jint contactFlags;  // also named hitFlags
    jint originX;  // also named throwStartX
    jint anchorX;
    jint bossStage, hitCount;
    IntArray* respawnRecord;
    ShortArray* savedBox;  // also named prevBox
    jint physicsFlags;  // also named stateFlags
    jint palette;
    jint animBase;
    jint anim;
    jint frame;
    jint frameTick;
    jint animTicks;  // also named animTick
    jint paintFlags;
    jint nextAnim;
    jint animPasses;
    jint fade;  // also named alpha
    jboolean stepsByTable;
    BSprite* sprite;
    cActor* child;
    jboolean scriptHold;
    jint scriptValue;
    jint prevX, prevY;
    jboolean auxFlag4;
    jint work232;
    jint baseAnim, effectParam, counterLimit;
    Object* tileBlock;
    jint originY;
    jint launchAnimBase;
    jint drawOffsetX, drawOffsetY;
    jboolean flightSteer;
    jbyte swingSide;
    jint spanRight, step;
    jint aux280;
    jint stepB, stepTimer, cycleCount;
    IntArray* bobTable;
    jint bobStep;
    jint bouncePower;
    jint cycleCountB;
    jint aux312;
    jint cycleTicks;
    jbyte work320;
    jint lifeTicks, work328, chainMode, swingBoost;
    jint tune340, tune344, tune348, tune352, tune356, tune360;
    jint work364;
    IntArray* stageReturns;  // also named tuneA
    IntArray* stageFastThrows;  // also named tuneB

private:
    void setInitialValues();
};

namespace game {

// --- cActor's static fields -------------------------------------------------

// One block for the class: the framework's own list and the lists of the
// world, the hero and the behaviours (each name in one list only).
#define CACTOR_FIELDS(X) CACTOR_FRAMEWORK_FIELDS(X) WORLD_ACTOR_FIELDS(X) HERO_FIELDS(X) BEHAVIOUR_ACTOR_FIELDS(X)

// Fields also known by a second name: actionAnim (state23Anim),
// actionNextState (state23Param), bossEventCount (heroCaught), grabbedActor
// (carriedActor), heroAltMode (heroModeA), heroInputLock (heroLockMask),
// heroInputMode (heroLockValue), heroStateVars (heroVars), hitGuard
// (hitLatch), inputOptions (heroFlagWord), stateAnims (aiStateAnims),
// trackedCellMasks (trackedValues), rulesN (aiTable1-22, in their order:
// 27 41 55 173 86Immune 86 87 97 148 64 229 118 124 119 155 172 188 29 58
// 202 218 225), stepTable (rootMotionPath), heroAltMode the one swim flag.
#define CACTOR_FRAMEWORK_FIELDS(X)                                                              \
    X(jshort, idCounter) X(jint, heroState) X(jint, heroInputMode) X(jint, levelMark) \
    X(jint, grabMode) X(jint, markA) X(jint, markB) X(jint, hurtMark) \
    X(jint, farX) X(jint, farY) X(jint, orbitScale) X(jint, turnStep) X(jint, turnStepQuarter) \
    X(jint, behaviourMark) X(jint, speedParam) X(jboolean, heroFlagA) X(jint, heroParam) \
    X(jint, heroScriptMark)                                                           \
    X(ShortArray*, boxA) X(ShortArray*, boxB) X(ShortArray*, boxC) X(IntArray*, heroStateVars) \
    X(ShortArray*, spareBox) X(IntArray*, physicsA) X(IntArray*, physicsB) X(ShortArray*, physicsBox) \
    X(ObjectArray*, effectPool) X(IntArray*, frameRect) X(IntArray*, partRectsA) X(IntArray*, partRectsB) \
    X(ShortArray*, partBoxA) X(ShortArray*, partBoxB) X(ShortArray*, flagQuad) X(ObjectArray*, heroHistory) \
    X(IntArray*, itemCounts) X(ObjectArray*, segments) X(IntArray*, rectIds) X(ShortArray*, rects) \
    X(ShortArray*, rectRow) X(ShortArray*, items) X(IntArray*, itemIds) X(IntArray*, linkIds) \
    X(IntArray*, links) X(IntArray*, linkRow) X(IntArray*, trackA) X(IntArray*, trackB) X(IntArray*, trackC) \
    X(IntArray*, heroStateAnims) X(IntArray*, heroStateEffects) X(IntArray*, heroStateFlags) \
    X(IntArray*, carryAnimsA) X(IntArray*, carryAnimsB) X(IntArray*, carryModes) \
    X(IntArray*, offsetPairsA) X(IntArray*, offsetPairsB) X(IntArray*, effectOffsets) \
    X(ObjectArray*, rules27) X(ObjectArray*, rules41) X(ObjectArray*, rules55) X(ObjectArray*, rules173) \
    X(ObjectArray*, rules86Immune) X(ObjectArray*, rules86) X(ObjectArray*, rules87) X(ObjectArray*, rules97) \
    X(ObjectArray*, rules148) X(ObjectArray*, rules64) X(ObjectArray*, rules229) X(ObjectArray*, rules118) \
    X(ObjectArray*, rules124) X(ObjectArray*, rules119) X(ObjectArray*, rules155) X(ObjectArray*, rules172) \
    X(ObjectArray*, rules188) X(ObjectArray*, rules29) X(ObjectArray*, rules58) X(ObjectArray*, rules202) \
    X(ObjectArray*, rules218) X(ObjectArray*, rules225) X(ObjectArray*, stateAnims) \
    X(IntArray*, subtypeParams) X(IntArray*, subtypeParamStart)                       \
    X(ShortArray*, stepTable) X(jint, heroActionMask) X(jint, heroInputLock) X(jint, inputOptions) \
    X(jint, gameBits) X(jint, pendingBits) X(jint, effectCount)                       \
    X(jint, physicsDx) X(jint, physicsDy) X(jint, collisionResult) X(cActor*, mountActor) \
    X(jint, heroFrameBits) X(jbyte, hasRotatedContact) X(jbyte, liftZoneHit) X(jint, heroStateTicks) \
    X(jint, rectCount) X(jint, itemCount) X(jint, linkCount) X(jint, item4Id) X(jint, stateBits) \
    X(jint, hitGuard) X(jint, itemId) X(jbyte, heroLaunched) \
    X(cActor*, rotatedContactActor) X(ShortArray*, trackedIds) X(IntArray*, trackedCellMasks) X(jint, trackedCount) X(cActor*, partnerActor) X(jint, partnerMode) X(cActor*, grabbedActor) \
    X(jint, liftEnabled) X(jint, climbDir) X(jint, speedBoostParam) X(jbyte, runFlagA) \
    X(jbyte, runFlagB) X(IntArray*, jumpCurve) X(jint, jumpCurveIndex) X(jbyte, jumpUseAlt)                                                             \
    /* cruise after landing (also named cruiseAfterLanding) */                   \
    X(jbyte, landingMode)                                                            \
    /* the two ring scripts of state 37 (also named choiceScriptA, choiceScriptB) */ \
    X(jint, ringRadius) X(jint, ringScriptLow) X(jint, ringScriptHigh)             \
    X(jbyte, bossEventCount) X(IntArray*, segmentScratch) X(jint, stripValue) X(ShortArray*, screenBoxScratch) X(jbyte, heroAltMode) X(jint, actionAnim) X(jint, actionNextState) X(jbyte, startInState38) \
    X(jint, type2Countdown) X(jint, type2QueueCount) X(jint, type2Phase) X(cActor*, type2Actor) X(IntArray*, type2Queue)

BRAMBLE_STATICS(cActorStatics, CACTOR_FIELDS)

extern StaticsContribution g_cActorStatics;

inline cActorStatics& ca() { return *statics<cActorStatics>(g_cActorStatics); }

// Adds cActor's contributions (idempotent); call before Application::init.
void registerActorStatics();

// Program n (1..22) of the common enemy AI, or null.
ObjectArray* aiProgram(jint n);
// Row of a subtype in the parameter table: 0..272 themselves, 3003, 3010
// and 3013 rows 273..275; -1 for any other.
jint subtypeRow(jint subtype);
// Element 5 of the subtype's parameter row (the class the level loader
// sorts records by); -1 when the subtype has no row.
jint subtypeClassOf(jint subtype);

// The hero bounce of a type-74 actor.
void bounceHero(cActor* hero, jint kind, jint powerA, jint powerB);
// Subtypes the hero's target logic tracks; a type-2 pickup of kind 5.
bool isTargetSubtype(jint subtype);
bool isPickupKind5(cActor* a);

// cActor.initTrackedLists: the tracked-id and tracked-value lists made
// when missing, their count 0.
void initTrackedLists();
// Drops the carried actor (grab mode 3: box back to 33 x constant 7; grab
// mode 7: AI state 9); state bits 0, grab mode 10, nothing carried.
void releaseCarriedActor();

// cActor.nextUniqueId: ids made at run time, 10000..32767 and round again.
jint nextUniqueId();

}  // namespace game

// Motion and boxes, visibility ratings, respawn, the level tables and the
// item grid.
#include "tests/game/actor/support.h"

#include "game/world/streaming.h"

#include "game/actor/levels.h"

namespace {

using namespace game;
using actortest::LogCapture;

class MotionTest : public actortest::ActorTest {
protected:
    cActor* mover(jint x, jint y, bool withMotion) {
        cActor* a = newObject<cActor>();
        if (withMotion) a->allocMotionState();
        actortest::place(a, x, y, 20, 30);
        return a;
    }
};

TEST_F(MotionTest, MoveByKeepsFractionsAndClamps) {
    struct Case {
        const char* name;
        bool motion;
        jint flags, dx, dy;
        jint wantX, wantY, wantFrac, wantHit;
    };
    cg().cameraX = 400;
    cg().cameraY = 240;
    const Case cases[] = {
        {"fraction kept", true, 0, 384, 0, 101, 200, 128, 0},
        {"no motion: 255 does not move", false, 0, 255, 0, 100, 200, 0, 0},
        {"no motion: -1 moves left", false, 0, -1, 0, 99, 200, 0, 0},
        {"view clamp right", true, 0x200, (800 << 8) + 77, 0, 790, 200, 0, 16},
        {"view clamp top", true, 0x200, 0, -(400 << 8), 100, 30, 0, 32},
    };
    for (const Case& c : cases) {
        cActor* a = mover(100, 200, c.motion);
        a->flags = c.flags;
        a->contactFlags = 1;
        cActor::moveBy(a, c.dx, c.dy);
        EXPECT_EQ(a->posX, c.wantX) << c.name;
        EXPECT_EQ(a->posY, c.wantY) << c.name;
        if (c.motion) {
            EXPECT_EQ(a->motion->data()[4] & 255, c.wantFrac) << c.name;
            EXPECT_EQ(a->motion->data()[4] >> 8, a->posX) << c.name;
        }
        EXPECT_EQ(a->contactFlags & 48, c.wantHit) << c.name;
        EXPECT_EQ(a->box->data()[0], a->posX - 10) << c.name << ": box follows";
        EXPECT_EQ(a->box->data()[3], a->posY) << c.name;
    }
    // A position written directly takes effect, the fraction stays, the box
    // does not move.
    cActor* a = mover(100, 200, true);
    a->motion->data()[4] += 100;
    a->posX = 150;
    cActor::moveBy(a, 0, 0);
    EXPECT_EQ(a->motion->data()[4], (150 << 8) + 100);
    EXPECT_EQ(a->box->data()[0], 90);
    // Camera-limit clamp (flag 0x2).
    IntArray::fill(cg().cameraLimits, {0, 0, 300, 300});
    a = mover(100, 200, true);
    a->flags = 0x2;
    cActor::moveBy(a, 1000 << 8, 0);
    EXPECT_EQ(a->posX, 290);
}

TEST_F(MotionTest, AccelerationLimitsAndAnchors) {
    cActor* a = mover(100, 100, true);
    jint* m = a->motion->data();
    m[0] = 500;
    m[1] = 921;
    cActor::applyAcceleration(a);
    EXPECT_EQ(m[2], 0) << "limits 0 and 0 forbid speed";
    EXPECT_EQ(m[3], 0);
    a->setVelocityLimitsX(-1000, 1000);
    a->setVelocityLimitsY(-600, 600);
    cActor::applyAcceleration(a);
    cActor::applyAcceleration(a);
    cActor::applyAcceleration(a);
    EXPECT_EQ(m[2], 1000);
    EXPECT_EQ(m[3], 600);

    // approachLimit: velocity 0 is always there.
    cActor* b = mover(0, 0, true);
    EXPECT_TRUE(cActor::clampMoveX(b, 12345, true));
    b->motion->data()[2] = 256;
    b->motion->data()[4] = 0;
    EXPECT_FALSE(cActor::clampMoveX(b, 1000, true));
    b->motion->data()[4] = 900;
    EXPECT_TRUE(cActor::clampMoveX(b, 1000, false)) << "the step would pass the limit";
    EXPECT_FALSE(cActor::clampMoveX(b, 1000, true)) << "not there yet";
    EXPECT_EQ(b->motion->data()[2], 100) << "the next step lands on the limit";
    b->motion->data()[4] = 1000;
    EXPECT_TRUE(cActor::clampMoveX(b, 1000, true));

    // isAnchorReachable: overshoot on the deciding axis snaps both velocities.
    struct Case {
        jint vx, vy, tx, ty;
        bool want;
        jint wantVx, wantVy;
    };
    const Case cases[] = {
        {512, 0, 300, 0, true, 300, 0},      // would pass x = 300: lands on it
        {512, 0, 2000, 0, false, 512, 0},    // still short
        {0, -256, 0, -100, true, 0, -100},   // vertical axis decides
        {0, 0, 0, 0, true, 0, 0},            // already there
    };
    for (const Case& c : cases) {
        cActor* p = mover(0, 0, true);
        p->motion->data()[2] = c.vx;
        p->motion->data()[3] = c.vy;
        EXPECT_EQ(cActor::isAnchorReachable(p, c.tx, c.ty), c.want) << c.tx << "," << c.ty;
        EXPECT_EQ(p->motion->data()[2], c.wantVx);
        EXPECT_EQ(p->motion->data()[3], c.wantVy);
    }
}

TEST_F(MotionTest, BoxesFacingAndViewCoordinates) {
    cActor* a = mover(100, 200, false);
    cActor::setHeroAttackBox(a, 40, 20, 0);
    EXPECT_EQ(a->attackBox->data()[0], 100) << "c = 0, facing 0: left edge on x";
    EXPECT_EQ(a->attackBox->data()[1], 177);
    cActor::setFacing(a, 5);
    EXPECT_EQ(a->facing, 1);
    EXPECT_EQ(a->paintFlags & 1, 1);
    a->scale = 150;
    cActor::offsetDrawAndBox(a, 10, -3);
    EXPECT_EQ(a->drawOffsetX, 10);
    EXPECT_EQ(a->box->data()[0], 90 + 15);
    EXPECT_EQ(a->box->data()[1], 170 - 4);
    cg().cameraX = 1000;
    EXPECT_EQ(cActor::toScreenX(1000, 7), 400) << "other layers use the camera";
    EXPECT_EQ(cActor::toScreenX(1000, -1), 400);
    EXPECT_EQ(cActor::toScreenY(cg().cameraY + 10, 9), 250);
}

TEST_F(MotionTest, ViewRatings) {
    cg().cameraX = 400;
    cg().cameraY = 240;
    struct Case {
        jint left, top, flags;
        jint want;
    };
    // Box 20 x 20; layer 9 rates against the camera centre.
    const Case cases[] = {
        {1200, 200, 0, 3},        // edge exactly 400 px past the view's right edge
        {1199, 200, 0, 0},        // one pixel less
        {-820, 200, 0, 3},
        {400, 2000, 0, 3},        // far below
        {400, 2000, 0x40000, 0},  // far below, vertical distance ignored
    };
    for (const Case& c : cases) {
        cActor* a = newObject<cActor>();
        a->layer = 9;
        a->flags = c.flags;
        cActor::setBox(a->box, c.left, c.top, c.left + 20, c.top + 20);
        cActor::updateScreenBox(a);
        EXPECT_EQ(a->viewRating, c.want) << c.left << "," << c.top;
    }
    // Records without an actor, box 20 x 20 centred at (cx, 240); ranges
    // (rx, 240) patched into subtype 0's row.
    struct RecordCase {
        jint cx, rx;
        jint want;
    };
    const RecordCase records[] = {
        {400, 400, 0},     // in view
        {1150, 400, 0},    // 740 px from the centre to the near edge
        {1250, 400, 2},    // 840: beyond the view and the range
        {1650, 400, 3},    // 1240: beyond range + 800
        {1250, 1000, 1},   // beyond the view, within the range
        {1250, 0, 3},      // ranges 0: never 1
        {1000, 0, 0},
    };
    jint start = ca().subtypeParamStart->data()[0];
    for (const RecordCase& r : records) {
        ca().subtypeParams->data()[start] = r.rx;
        ShortArray* box = newShortArray(4);
        cActor::setBox(box, r.cx - 10, 230, r.cx + 10, 250);
        EXPECT_EQ(cActor::isRecordInView(0, box, 0, 9), r.want) << r.cx << " range " << r.rx;
    }
}

TEST_F(MotionTest, RespawnHoldsInSightAndSubtype208Respawns) {
    cg().cameraX = 400;
    cg().cameraY = 240;
    for (jint subtype : {6, 208}) {
        cActor* a = newObject<cActor>();
        a->subtype = subtype;
        actortest::place(a, 400, 240, 20, 20);
        a->setRespawnInfo(420, 240, 0);
        a->setRespawnCountdown(2);
        cActor::updateRespawn(a);
        EXPECT_EQ(a->respawnRecord->data()[0], 1);
        cActor::updateRespawn(a);
        if (subtype == 6) {
            EXPECT_EQ(a->respawnRecord->data()[0], 1) << "holds at 1 in sight";
            cg().cameraX = 2000;
            cActor::updateRespawn(a);
            // Respawned: at its respawn point, the countdown off.
            EXPECT_EQ(a->respawnRecord->data()[0], -1) << "out of sight";
            EXPECT_EQ(a->posX, 420);
            cg().cameraX = 400;
        } else {
            EXPECT_EQ(a->respawnRecord->data()[0], -1) << "208 respawns in sight";
            EXPECT_EQ(a->posX, 420);
        }
    }
    // Timed state.
    cActor* t = newObject<cActor>();
    t->setTimedState8(2, 14);
    cActor::updateStateTimer(t);
    EXPECT_EQ(t->aiState, 8);
    cActor::updateStateTimer(t);
    EXPECT_EQ(t->aiState, 14);
}

TEST_F(MotionTest, LevelTablesRefuseRowsPastTheirSize) {
    LogCapture log;
    for (int i = 0; i < 32; ++i) EXPECT_EQ(addLevelRect(i, 0, 1, 1, 100 + i), i);
    EXPECT_EQ(addLevelRect(0, 0, 1, 1, 999), -1);
    EXPECT_EQ(ca().rectCount, 32);
    jint item[9] = {0, 0, 0, 2, 8, 0, 0, 0, 0};
    for (int i = 0; i < 64; ++i) EXPECT_EQ(addLevelItem(item, 1 + i), i);
    EXPECT_EQ(addLevelItem(item, 500), -1);
    EXPECT_EQ(cg().itemsTotal, 640);
    jint link[5] = {0, 0, 0, 0, 0};
    for (int i = 0; i < 256; ++i) EXPECT_EQ(addLevelLink(link, 1 + i), i);
    EXPECT_EQ(addLevelLink(link, 999), -1);
    EXPECT_TRUE(log.contains("rectangle 999 refused"));
    EXPECT_TRUE(log.contains("item 500 refused"));
    EXPECT_TRUE(log.contains("link 999 refused"));
    EXPECT_EQ(findRectIndex(131), 31);
    for (jint id : {0, -5, 12345}) EXPECT_EQ(findItemIndex(id), -1) << id;
}

TEST_F(MotionTest, LinkChainAndItemCounting) {
    jint l1[5] = {50, 10, 2, 0, 0};
    jint l2[5] = {200, 300, 1, 0, 0};
    addLevelLink(l1, 1);
    addLevelLink(l2, 2);
    buildLinkChain(1, 100, 100);
    const jshort* b = cg().boxScratch->data();
    EXPECT_EQ(std::vector<jint>(b, b + 4), (std::vector<jint>{50, 10, 200, 300}));
    buildLinkChain(77, 100, 100);
    EXPECT_EQ(std::vector<jint>(b, b + 4), (std::vector<jint>{100, 100, 100, 100}));
    jint special[9] = {0, 0, 0, 2, 4, 55, 0, 0, 0};
    addLevelItem(special, 9);
    EXPECT_EQ(ca().item4Id, 55);
    jint secret[9] = {0, 0, 0, 19, 0, 0, 0, 0, 0};
    addLevelItem(secret, 10);
    EXPECT_EQ(cg().secretsTotal, 1);
}

TEST_F(MotionTest, ItemGridSkipsOutsideCellsAndEndsLoops) {
    LogCapture log;
    // Items 1 -> 2 -> 3 -> 1 (a loop), one left of the grid, one past it.
    jint i1[9] = {15, 15, 2, 0, 0, 0, 0, 0, 0};
    jint i2[9] = {5, 15, 3, 0, 0, 0, 0, 0, 0};
    jint i3[9] = {500, 15, 1, 0, 0, 0, 0, 0, 0};
    addLevelItem(i1, 1);
    addLevelItem(i2, 2);
    addLevelItem(i3, 3);
    cActor* a = actortest::spawn(6, 50, 0, 0, 0xA0, {0, 0, 0, 0, 0, 1});
    cActor::setBox(a->box, 10, 10, 100, 100);
    const jint counts[] = {2, 2};
    ObjectArray* grid = rt::newMultiArray("[[B", counts, 2);
    fillItemGrid(a, grid);
    auto cell = [&](int c, int r) { return static_cast<ByteArray*>(grid->data()[c])->data()[r]; };
    // Subtype 6's cells are 32 x 32: item 1 lands in (0, 0) as row 0.
    EXPECT_EQ(cell(0, 0), 0);
    EXPECT_EQ(cell(1, 0), 0);
    // A cell size of 0 fills nothing (subtype 11 row patched to 0).
    jint start = ca().subtypeParamStart->data()[6];
    ca().subtypeParams->data()[start + 6] = 0;
    fillItemGrid(a, grid);
    EXPECT_TRUE(log.contains("item grid cell 0x32"));
}

}  // namespace

namespace {

using namespace game;

class FrameListTest : public actortest::ActorTest {};

TEST_F(FrameListTest, ScaleTweenTakesASlotOrScalesAtOnce) {
    cActor* a = actortest::spawn(6, 1, 100, 100);
    EXPECT_EQ(cActor::getWidth(a), 32);
    for (jint i = 0; i < 5; ++i) cg().tweenSlots->data()[i] = -1;
    cActor::startScaleTween(a, 200, 10);
    EXPECT_EQ(cg().tweenActors->data()[0], a);
    EXPECT_EQ(cg().tweenTo->data()[0], 200);
    EXPECT_EQ(cg().tweenBoxW->data()[0], 32);
    EXPECT_EQ(a->scale, 100) << "the tween changes it step by step";
    for (jint i = 0; i < 5; ++i) cg().tweenSlots->data()[i] = 3;
    cActor::startScaleTween(a, 50, 10);
    EXPECT_EQ(a->scale, 50) << "every slot busy: at once";
    EXPECT_EQ(cActor::getWidth(a), 16);
    cActor::startScaleTween(nullptr, 50, 10);
}

TEST_F(FrameListTest, FrameListAndStructurePlacement) {
    actortest::centreCamera();
    cActor* near = actortest::spawn(6, 5, 400, 240);     // a level object in view
    cActor* far = actortest::spawn(6, 6, 5000, 240);     // a level object far away
    cActor* spawned = actortest::spawn(6, 12000, 420, 240);
    ca().idCounter = 9999;
    game::world::updateAllActors();
    ASSERT_EQ(cg().activeActorCount, 2);
    EXPECT_EQ(activeActor(0), near);
    EXPECT_EQ(activeActor(1), spawned);
    // On a structure (0x2000) at its fixed offset (0x4): rated where the
    // structure is.
    IntArray* slot = static_cast<IntArray*>(ca().segments->data()[0]);
    jint* d = slot->data();
    d[0] = 1;
    d[2] = 3000;
    d[3] = 0;
    d[4] = 0;
    d[6] = 1000;
    near->flags |= 0x2000 | 0x4;
    cActor::updateScreenBox(near);
    EXPECT_EQ(near->viewRating, 3);
    d[2] = 0;
    cActor::updateScreenBox(near);
    EXPECT_EQ(near->viewRating, 0);
    // 0x4 alone places nothing on a structure: the actor's own box is rated.
    d[2] = 3000;
    near->flags &= ~0x2000;
    cActor::updateScreenBox(near);
    EXPECT_EQ(near->viewRating, 0);
    far->flags |= 0x4;
    d[2] = 0;
    cActor::updateScreenBox(far);
    EXPECT_EQ(far->viewRating, 3);
}

}  // namespace

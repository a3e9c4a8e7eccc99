// Contact between actors: part rectangles against bounding boxes, the
// contact scan, response codes, the rotated platform, steering and scripts.
#include "tests/game/actor/support.h"

#include "game/actor/contact.h"
#include "game/sprite/sprite.h"

namespace {

using namespace game;

class ContactTest : public actortest::ActorTest {
protected:
    // Frame 0: two small part rectangles far apart (an L shape's corners).
    BSprite* partsSprite() {
        kit::SpriteModel m;
        m.flags = kit::kSpriteFrameRects;
        m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 40, 40));
        kit::SpriteFrame f;
        f.modules = {{0, -20, -40, 0, 0}};
        f.rects = {{-20, -40, 10, 10}, {10, -10, 10, 10}};
        m.frames = {f};
        kit::SpriteAnim a;
        a.frames = {{0, 1}};
        m.anims = {a};
        return spritetest::loadSprite(m);
    }
    cActor* actorAt(jint x, jint y, jint w, jint h) {
        cActor* a = newObject<cActor>();
        a->allocMotionState();
        actortest::place(a, x, y, w, h);
        return a;
    }
};

TEST_F(ContactTest, PartsAgainstBoundingBoxes) {
    BSprite* s = partsSprite();
    cActor* a = actorAt(100, 100, 40, 40);
    cActor* b = actorAt(100, 100, 40, 40);
    a->sprite = b->sprite = s;
    a->setAnim(0);
    b->setAnim(0);
    // b mirrored: its parts take the other two corners; the bounding boxes
    // still overlap.
    b->facing = 1;
    struct Case {
        bool useA, useB, want;
    };
    const Case cases[] = {{false, false, true}, {true, true, false}, {true, false, true}, {false, true, true}};
    for (const Case& c : cases)
        EXPECT_EQ(partsIntersect(a, b, c.useA, c.useB), c.want) << c.useA << c.useB;
    b->facing = 0;
    EXPECT_TRUE(partsIntersect(a, b, true, true));
    // Far apart: the bounding boxes decide.
    b->setPosition(300, 100);
    EXPECT_FALSE(partsIntersect(a, b, false, false));
}

// A frame without rectangles of its own collides by the modules it paints:
// two 10 x 10 blocks 40 px apart leave their gap free, a module under 2 px
// wide takes no part, and the sprite engine accepts modules of every size
// again afterwards.
TEST_F(ContactTest, FrameWithoutRectanglesCollidesByItsModules) {
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 10, 10));
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 1, 30));
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 4, 4));
    kit::SpriteFrame pair;
    pair.modules = {{0, 0, -10, 0, 0}, {0, 50, -10, 0, 0}, {1, 30, -30, 0, 0}};
    kit::SpriteFrame dot;
    dot.modules = {{2, 0, 0, 0, 0}};
    m.frames = {pair, dot};
    kit::SpriteAnim a0, a1;
    a0.frames = {{0, 1}};
    a1.frames = {{1, 1}};
    m.anims = {a0, a1};
    BSprite* s = spritetest::loadSprite(m);
    cActor* blocks = actorAt(100, 100, 60, 10);
    blocks->sprite = s;
    blocks->setAnim(0);
    ASSERT_EQ(collectFrameRects(blocks, ca().partRectsA), 3) << "every module of a plain collection";
    const jint* r = ca().partRectsA->data();
    EXPECT_EQ((std::vector<jint>{r[0], r[1], r[2], r[3]}), (std::vector<jint>{100, 90, 110, 100}));
    EXPECT_EQ((std::vector<jint>{r[4], r[5], r[6], r[7]}), (std::vector<jint>{150, 90, 160, 100}));
    struct Case {
        jint x, y;
        bool meets;
    };
    const Case cases[] = {
        {120, 94, false},  // in the gap
        {131, 90, false},  // on the 1-px module only
        {104, 96, true},   // on the left block
        {155, 96, true},   // on the right block
        {300, 96, false},  // far off
    };
    cActor* part = actorAt(0, 0, 4, 4);
    part->sprite = s;
    part->setAnim(1);
    for (const Case& c : cases) {
        part->setPosition(c.x, c.y);
        EXPECT_EQ(partsIntersect(blocks, part, true, true), c.meets) << c.x << "," << c.y;
    }
    // The whole frame as one box still covers the gap.
    part->setPosition(120, 94);
    EXPECT_TRUE(partsIntersect(blocks, part, false, true));
    // Mirrored, the blocks lie left of the position.
    blocks->facing = 1;
    part->setPosition(40, 94);
    EXPECT_TRUE(partsIntersect(blocks, part, true, true));
    part->setPosition(72, 94);
    EXPECT_FALSE(partsIntersect(blocks, part, true, true));
    EXPECT_EQ(collectFrameRects(blocks, ca().partRectsA), 3) << "the bounds were reset";
}

TEST_F(ContactTest, PartListsHoldAtMost32Records) {
    kit::SpriteModel m;
    m.flags = kit::kSpriteFrameRects;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFFFFFF, 4, 4));
    kit::SpriteFrame f;
    f.modules = {{0, 0, 0, 0, 0}};
    for (int i = 0; i < 40; ++i) f.rects.push_back({i, 0, 2, 2});
    m.frames = {f};
    kit::SpriteAnim a;
    a.frames = {{0, 1}};
    m.anims = {a};
    cActor* many = actorAt(0, 0, 4, 4);
    many->sprite = spritetest::loadSprite(m);
    many->setAnim(0);
    EXPECT_EQ(collectFrameRects(many, ca().partRectsA), kMaxPartRects);
    EXPECT_EQ(ca().partRectsA->data()[4 * 31], 31);
}

TEST_F(ContactTest, ScanFindsTheHeroFirstAndType41Always) {
    cActor* hero = actorAt(100, 100, 20, 20);
    cg().hero = hero;
    createActorPool();
    cActor* scanner = actortest::spawn(6, 1, 100, 100);
    scanner->physicsFlags = 256 | 512;
    cActor* touching = actortest::spawn(6, 2, 100, 100);
    touching->physicsFlags = 4;
    cActor* far41 = actortest::spawn(6, 3, 5000, 100);
    far41->type = 41;
    far41->flags |= 0x10;
    for (cActor* a : {scanner, touching, far41}) addActiveActor(a);
    ShortArray* box = newShortArray(4);
    cActor::setBox(box, 90, 80, 110, 100);
    EXPECT_EQ(nextContactActor(scanner, true, box), hero);
    scanner->physicsFlags = 512;
    EXPECT_EQ(nextContactActor(scanner, true, box), touching);
    EXPECT_EQ(nextContactActor(scanner, false, box), far41);
    EXPECT_EQ(nextContactActor(scanner, false, box), nullptr);
    // A hero scanning past a carrier it does not touch takes itself off.
    cActor* carrier = actortest::spawn(8, 4, 3000, 100);
    carrier->type = 8;
    carrier->carried = hero;
    carrier->flags |= 0x10;
    hero->flags |= 0x10000000;
    addActiveActor(carrier);
    hero->physicsFlags = 512;
    while (nextContactActor(hero, false, box)) {
    }
    EXPECT_EQ(carrier->carried, nullptr);
    EXPECT_EQ(hero->flags & 0x10000000, 0);
}

TEST_F(ContactTest, ResponseCodes) {
    cActor* hero = actorAt(100, 100, 20, 20);
    cg().hero = hero;
    cActor* other = actorAt(100, 130, 60, 20);
    other->carried = hero;
    // Jumping up through a still carrier: 0 and the rider dropped.
    hero->motion->data()[3] = -512;
    EXPECT_EQ(contactFromAbove(hero, other, other->box), 0);
    EXPECT_EQ(other->carried, nullptr);
    // Landing on it: the carrier refuses (the default behaviours carry
    // nobody), so 0 too.
    hero->motion->data()[3] = 256;
    EXPECT_EQ(contactFromAbove(hero, other, other->box), 0);
    // Side codes by horizontal overlap.
    EXPECT_EQ(contactSide(hero, other, other->box), kContactBoth);
    cActor* beside = actorAt(200, 100, 20, 20);
    EXPECT_EQ(contactSide(hero, beside, beside->box), kContactSide);
}

TEST_F(ContactTest, RotatedPlatformAtThreeAngles) {
    // Platform 80 x 20 (subtype 6 is 32 x 32 in the demo rows: patch it).
    jint start = ca().subtypeParamStart->data()[6];
    ca().subtypeParams->data()[start + 6] = 80;
    ca().subtypeParams->data()[start + 7] = 20;
    struct Case {
        jint angle, dx, dy, vx, vy;
        bool want;
    };
    const Case cases[] = {
        {0, 30, -5, 0, 256, true},     // falling onto a flat platform, inside its length
        {0, 50, -5, 0, 256, false},    // beyond its half length
        {0, 30, -5, 0, -256, false},   // moving away from the surface
        {90, -5, 30, 0, 256, false},   // upright: falling runs along the surface
        {90, -5, 30, -256, 0, true},   // upright: pushing into its face sideways
        {45, 10, 0, 0, 256, true},
    };
    for (const Case& c : cases) {
        cActor* platform = actortest::spawn(6, 1, 200, 200);
        platform->angle = c.angle;
        cActor* m = actorAt(200 + c.dx, 200 + c.dy, 10, 10);
        m->motion->data()[2] = c.vx;
        m->motion->data()[3] = c.vy;
        ca().hasRotatedContact = 0;
        EXPECT_EQ(contactPush(m, platform), 0);
        EXPECT_EQ(ca().hasRotatedContact != 0, c.want) << c.angle << " " << c.dx << "," << c.dy;
        removeAllActors(false);
    }
}

TEST_F(ContactTest, SteeringAndScripts) {
    actortest::LogCapture log;
    cActor* a = actorAt(100, 100, 10, 10);
    a->motion->data()[2] = 77;
    accelerateToward(a, 100, 100, 512, 1024);
    EXPECT_EQ(a->motion->data()[2], 0) << "stopped";
    EXPECT_EQ(a->motion->data()[0], 0) << "no acceleration to its own spot";
    accelerateToward(a, 130, 140, 512, 1024);  // distance 50: unit (153, 204)
    EXPECT_EQ(a->motion->data()[0], 153 * 512 >> 8);
    EXPECT_EQ(a->motion->data()[1], 204 * 512 >> 8);
    EXPECT_EQ(a->motion->data()[7], 153 * 1024 >> 8);
    // A distance whose square wraps to a negative number: nothing, one line.
    accelerateToward(a, 100 + 40000, 100 + 40000, 512, 1024);
    EXPECT_EQ(a->motion->data()[0], 0);
    EXPECT_TRUE(log.contains("no direction"));

    EXPECT_EQ(isqrt(2500), 50);
    EXPECT_EQ(isqrt(2499), 49);

    cg().scriptStates = newShortArray(4);
    for (jint i = 0; i < 4; ++i) cg().scriptStates->data()[i] = -1;
    cActor* s = actortest::spawn(6, 1, 0, 0, 0xA0, {-1, 2, 9});
    EXPECT_FALSE(startScriptFromParam(s, 0));
    EXPECT_TRUE(startScriptFromParam(s, 1));
    EXPECT_EQ(cg().scriptStates->data()[2], 0);
    EXPECT_FALSE(startScriptFromParam(s, 2)) << "outside the table: nothing";
    EXPECT_TRUE(log.contains("level script 9 outside"));
}

}  // namespace

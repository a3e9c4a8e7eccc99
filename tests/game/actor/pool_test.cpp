// The actor object's animation step, the level pool and active list,
// lookups, the effect life cycle (reuse, the inert effect), the factory and
// its templates, run-time ids and child release.
#include "tests/game/actor/support.h"

#include "game/actor/actor.h"

#include "game/actor/levels.h"
#include "game/sprite/sprite.h"

namespace {

using namespace game;
using actortest::LogCapture;

class PoolTest : public actortest::ActorTest {
protected:
    // Animation 0: two frames of 2 ticks; 1: one frame of 0 ticks; 2: three
    // frames of 1 tick.
    BSprite* animatedSprite() {
        kit::SpriteModel m;
        m.modules.push_back(kit::SpriteModule::fillRect(0xFFFF0000, 8, 8));
        kit::SpriteFrame f;
        f.modules = {{0, -4, -8, 0, 0}};
        m.frames = {f, f, f};
        kit::SpriteAnim a0, a1, a2;
        a0.frames = {{0, 2}, {1, 2}};
        a1.frames = {{0, 0}};
        a2.frames = {{0, 1}, {1, 1}, {2, 1}};
        m.anims = {a0, a1, a2};
        return spritetest::loadSprite(m);
    }
    static int logLines(const LogCapture& log, const std::string& text) {
        int n = 0;
        for (const std::string& l : log.lines()) n += l.find(text) != std::string::npos;
        return n;
    }
};

TEST_F(PoolTest, AnimationStep) {
    cActor* a = newObject<cActor>();
    a->sprite = animatedSprite();
    struct Case {
        const char* name;
        jint anim, next, ticks;
        jint wantAnim, wantFrame, wantTick, wantPasses, wantNext;
    };
    const Case cases[] = {
        {"duration 0 freezes", 1, -1, 5, 1, 0, 0, 0, -1},
        {"no next loops", 0, -1, 4, 0, 0, 0, 1, -1},
        {"next equal to itself loops and counts", 0, 0, 8, 0, 0, 0, 2, -1},
        {"next differs: switches", 0, 2, 4, 2, 0, 0, 0, -1},
        {"mid frame", 2, -1, 2, 2, 2, 0, 0, -1},
        // An animation the sprite lacks can never run: one finished pass,
        // and no more however long it is stepped.
        {"missing animation ends at once", 7, -1, 3, 7, 0, 0, 1, -1},
    };
    for (const Case& c : cases) {
        a->resetAnim();
        a->setAnimThen(c.anim, c.next, false);
        for (int i = 0; i < c.ticks; ++i) a->updateAnimation();
        EXPECT_EQ(a->anim, c.wantAnim) << c.name;
        EXPECT_EQ(a->frame, c.wantFrame) << c.name;
        EXPECT_EQ(a->frameTick, c.wantTick) << c.name;
        EXPECT_EQ(a->animPasses, c.wantPasses) << c.name;
        EXPECT_EQ(a->nextAnim, c.wantNext) << c.name;
        EXPECT_EQ(a->isAnimDone(), c.wantPasses > 0 && c.wantFrame == 0 && c.wantTick == 0) << c.name;
    }
    // setAnim with the current animation leaves the queued one; setAnimThen
    // stores it anyway.
    a->setAnimThen(0, 2, false);
    EXPECT_EQ(a->setAnim(0), 0);
    EXPECT_EQ(a->nextAnim, 2);
    EXPECT_EQ(a->setAnimThen(0, 1, false), 0);
    EXPECT_EQ(a->nextAnim, 1);
    // Flag 0x40 stops the step; setting a new animation clears it.
    a->flags |= 0x40;
    a->updateAnimation();
    EXPECT_EQ(a->frameTick, 0);
    a->setAnim(2);
    EXPECT_EQ(a->flags & 0x40, 0);
}

TEST_F(PoolTest, StepTableMovesTheActorOnFrameChanges) {
    cActor* hero = newObject<cActor>();
    cg().hero = hero;
    cActor* a = newObject<cActor>();
    a->sprite = animatedSprite();
    cActor::setStepTable(ShortArray::fill(newShortArray(6), 6, 0, 0, 5, 1, 7, 2));
    a->setAnimThen(2, -1, true);  // frames of one tick
    a->updateAnimation();         // animation tick 1: step (5, 1)
    EXPECT_EQ(a->posX, 5);
    EXPECT_EQ(a->posY, 1);
    hero->facing = 1;             // the hero faces the other way: x turns round
    a->updateAnimation();
    EXPECT_EQ(a->posX, -2);
    EXPECT_EQ(a->posY, 3);
    a->subtype = 27;              // a mirrored subtype with the hero facing 1: as given
    a->setAnimThen(0, -1, true);
    a->setAnimThen(2, -1, true);
    a->updateAnimation();
    EXPECT_EQ(a->posX, 3);
}

TEST_F(PoolTest, RemovingSlotZeroOfThreeMovesTheLastIntoIt) {
    cActor* a = actortest::spawn(6, 1, 100, 100);
    cActor* b = actortest::spawn(6, 2, 100, 100);
    cActor* c = actortest::spawn(6, 3, 100, 100);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(b->poolSlot, 1);
    removeActorAt(0);
    EXPECT_EQ(cg().actorCount, 2);
    EXPECT_EQ(poolActor(0), c);
    EXPECT_EQ(c->poolSlot, 0);
    EXPECT_EQ(poolActor(1), b);
    EXPECT_EQ(poolActor(2), a);
    // Removing the last live one leaves the others in place.
    removeActorAt(1);
    EXPECT_EQ(poolActor(0), c);
    EXPECT_EQ(poolActor(1), b);
    // Removing an actor that is not live does nothing.
    removeActor(a, true);
    EXPECT_EQ(cg().actorCount, 1);
    // The next spawn reuses the idle object above the count.
    cActor* d = actortest::spawn(6, 4, 0, 0);
    EXPECT_EQ(d, b);
    EXPECT_EQ(d->uniqueId, 4);
    // A second level keeps the same objects.
    ObjectArray* pool = cg().actorPool;
    createActorPool();
    EXPECT_EQ(cg().actorPool, pool);
    EXPECT_EQ(cg().actorCount, 0);
}

TEST_F(PoolTest, RemoveActorMarksTheRecordAndClearsTheTarget) {
    cActor* a = actortest::spawn(20, 7, 0, 0);
    cg().tileAttributesAlt = newByteArray(8);
    cg().tileAttributesAlt->data()[5] = 0x22;
    a->recordIndex = 0x1000005;
    cg().targetActor = a;
    removeActor(a, true);
    // Record 5's object state: its low nibble 1 (gone), the checkpoint copy kept.
    EXPECT_EQ(cg().tileAttributesAlt->data()[5], 0x21);
    EXPECT_EQ(cg().targetActor, nullptr);
    EXPECT_EQ(cg().actorCount, 0);
}

TEST_F(PoolTest, LookupFindsCharactersBeforePooledActors) {
    cActor* pooled = actortest::spawn(6, 42, 0, 0);
    EXPECT_EQ(getActorById(42), pooled);
    cg().characterSlots = newObjectArray(cid::cActor, 3);
    cActor* character = newObject<cActor>();
    character->uniqueId = 42;
    cg().characterSlots->data()[1] = character;
    EXPECT_EQ(getActorById(42), character);
    EXPECT_EQ(findActorById(42), 0);
    EXPECT_EQ(findActorById(43), -1);
    EXPECT_EQ(getActorById(43), nullptr);
}

TEST_F(PoolTest, ActiveListUpdatesAppendedActorsAndDropsPastTwoHundred) {
    createActorPool();
    for (int i = 0; i < 200; ++i) {
        cActor* a = actortest::spawn(6, 100 + i, 400, 240);
        addActiveActor(a);
    }
    EXPECT_EQ(cg().activeActorCount, 200);
    LogCapture log;
    cActor* extra = newObject<cActor>();
    extra->flags = 0x20;
    addActiveActor(extra);
    EXPECT_EQ(cg().activeActorCount, 200);
    EXPECT_TRUE(log.contains("Active list full"));
    // Far actors join only with 0x10 or 0x20000; inactive ones never.
    removeAllActors(false);
    cActor* far = actortest::spawn(6, 1, 5000, 240);
    addActiveActor(far);
    EXPECT_EQ(cg().activeActorCount, 0);
    far->flags |= 0x10;
    addActiveActor(far);
    EXPECT_EQ(cg().activeActorCount, 1);
}

TEST_F(PoolTest, EffectReusedOnlyAfterOneMoreUpdate) {
    cActor* e = cActor::spawnEffect(nullptr, 3, 10, 20, 11, 0);
    EXPECT_EQ(ca().effectCount, 1);
    EXPECT_EQ(e->timer, -1);
    e->deactivate();
    EXPECT_EQ(e->flags, 0x1040);
    cActor* f = cActor::obtainEffect();
    EXPECT_NE(f, e) << "deactivated this frame: not handed out";
    cActor::updateEffect(e);
    EXPECT_EQ(cActor::obtainEffect(), e);
    EXPECT_EQ(e->flags & 0x40, 0);
    // Bit 31 keeps an effect out of reuse for good.
    e->flags = static_cast<jint>(0x80000040u);
    EXPECT_NE(cActor::obtainEffect(), e);
    // A timed effect deactivates when its timer runs out.
    cActor* t = cActor::spawnEffect(nullptr, 1, 0, 0, 11, 0);
    t->timer = 2;
    cActor::updateEffect(t);
    EXPECT_EQ(t->flags & 0x40, 0);
    cActor::updateEffect(t);
    EXPECT_EQ(t->flags, 0x1040);
    EXPECT_EQ(t->timer, -1);
}

TEST_F(PoolTest, FullEffectPoolHandsOutOneInertEffect) {
    LogCapture log;
    for (int i = 0; i < 64; ++i) cActor::spawnEffect(nullptr, 1, i, 0, 11, 0);
    EXPECT_EQ(ca().effectCount, 64);
    cActor* parent = actortest::spawn(6, 9, 0, 0);
    cActor* inert = cActor::spawnEffect(nullptr, 5, 1, 2, 11, 0x2000);
    ASSERT_TRUE(isInertEffect(inert));
    for (jint i = 0; i < 64; ++i) EXPECT_NE(ca().effectPool->data()[i], inert);
    EXPECT_EQ(inert->anim, 5);
    EXPECT_NE(inert->flags & 0x40, 0) << "inert: never painted";
    cActor::updateEffect(inert);
    EXPECT_EQ(inert->animTicks, 0) << "inert: never updated";
    cActor* again = cActor::obtainEffect();
    EXPECT_EQ(again, inert);
    EXPECT_EQ(again->anim, -1) << "reset at each hand-out";
    cActor::spawnChild(parent, nullptr, 4, 0, 0, 0, 11, 0);
    EXPECT_EQ(parent->child, nullptr) << "the inert effect is never linked";
    EXPECT_EQ(logLines(log, "Effect pool full"), 1);
    resetLevelLogMarks();
    cActor::obtainEffect();
    EXPECT_EQ(logLines(log, "Effect pool full"), 2) << "once per level";
}

TEST_F(PoolTest, ChildrenFollowTheParentAndReleaseEnds) {
    cActor* p = actortest::spawn(6, 9, 50, 60);
    p->facing = 1;
    p->paintFlags = 1;
    p->flags |= 0x2000;
    cActor::spawnChild(p, nullptr, 3, 2, 50, 60, 11, 0);
    cActor* c = p->child;
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->facing, 1);
    EXPECT_EQ(c->paintFlags & 1, 1);
    EXPECT_NE(c->flags & 0x2000, 0);
    EXPECT_EQ(c->palette, 2);
    // A child still playing stays.
    cActor::spawnChild(p, nullptr, 4, 0, 0, 0, 11, 0);
    EXPECT_EQ(p->child, c);
    EXPECT_EQ(c->anim, 3);
    // A chain longer than 64 is cut; a loop ends.
    LogCapture log;
    cActor* head = newObject<cActor>();
    cActor* at = head;
    for (int i = 0; i < 100; ++i) {
        at->child = newObject<cActor>();
        at = at->child;
    }
    head->releaseChild();
    EXPECT_EQ(head->child, nullptr);
    EXPECT_TRUE(log.contains("child chain deeper than 64"));
    cActor* x = newObject<cActor>();
    cActor* y = newObject<cActor>();
    x->child = y;
    y->child = x;
    x->releaseChild();
    EXPECT_EQ(x->child, nullptr);
    EXPECT_EQ(y->child, nullptr);
}

TEST_F(PoolTest, TemplatesBuildTheirRecords) {
    struct Want {
        jint id, length, anim, flags;
        std::vector<jint> params;
    };
    ca().itemId = 77;
    const Want wants[] = {
        {2, 10, 0, 160, {1, 0, 77}}, {6, 10, 0, 160, {1, 0, 0}}, {7, 10, 0, 160, {3, 3, 10}},
        {8, 10, 0, 160, {1, 0, 0}}, {11, 7, 1, 160, {}}, {13, 10, 0, 160, {3, 0, 0}}, {14, 10, 6, 160, {3, 0, -1}},
        {19, 10, 0, 160, {1, 0, 0}}, {32, 10, 10, 160, {3, 0, 0}}, {38, 12, 12, 160, {16, 16, -8, -16, 0}},
        {44, 10, 0, 160, {-1, 0, 0}}, {46, 12, 5, 160, {13, 13, -6, -13, 0}}, {65, 12, 2, 160, {25, 12, -12, -12, 0}},
        {67, 7, 8, 176, {}}, {112, 10, 0, 160, {3, 0, 0}}, {120, 12, 5, 160, {87, 12, -43, -12, 0}},
        {123, 12, 7, 160, {16, 16, -8, -16, 0}}, {126, 7, 9, 176, {}}, {129, 10, 0, 160, {50, 5000, -1}},
        {131, 12, 7, 160, {16, 16, -8, -16, 0}}, {153, 7, 0, 176, {}}, {156, 12, 9, 160, {16, 16, -8, -16, 0}},
        {164, 10, 0, 160, {3, 1, 10}}, {190, 12, 9, 160, {16, 16, -8, -16, 0}}, {192, 12, 9, 160, {16, 16, -8, -16, 0}},
        {217, 7, 0, 176, {}}, {219, 12, 47, 160, {0, 0, 0, 0, 0}}, {230, 12, 6, 160, {25, 12, -12, -12, 0}},
        {248, 7, 131, 160, {}}, {251, 7, 94, 176, {}}, {271, 7, 111, 160, {}}, {3013, 12, 9, 160, {16, 16, -8, -16, 0}},
    };
    jint count = 0;
    templateIds(&count);
    EXPECT_EQ(count, 32);
    jint slot = 0;
    for (const Want& w : wants) {
        cActor* a = spawnFromTemplate(w.id, 300, 200);
        ASSERT_NE(a, nullptr) << w.id;
        EXPECT_EQ(a->poolSlot, slot++) << "consecutive slots";
        EXPECT_EQ(a->subtype, w.id);
        EXPECT_EQ(a->anim, w.anim) << w.id;
        EXPECT_EQ(a->flags & 0xFFFF, w.flags | 0) << w.id;
        EXPECT_NE(a->flags & 0x80000, 0) << "spawned at run time";
        EXPECT_GE(a->uniqueId, 10000);
        EXPECT_EQ(a->posX, 300);
        std::vector<jint> params;
        for (jint i = 0; a->params && i < a->params->length(); ++i) params.push_back(a->params->data()[i]);
        EXPECT_EQ(params, w.params) << w.id;
    }
    EXPECT_EQ(spawnFromTemplate(3, 0, 0), nullptr) << "not a template";
    // A full pool makes every spawner answer null.
    while (cg().actorCount < 200) actortest::spawn(6, 1, 0, 0);
    EXPECT_EQ(spawnFromTemplate(6, 0, 0), nullptr);
    EXPECT_EQ(spawnActorAt(6, 0, 0, 0, 160, false), nullptr);
}

TEST_F(PoolTest, RunTimeIdsWrapIntoTheirOwnRange) {
    EXPECT_EQ(nextUniqueId(), 10000);
    ca().idCounter = 32766;
    EXPECT_EQ(nextUniqueId(), 32767);
    EXPECT_EQ(nextUniqueId(), 10000);
    EXPECT_EQ(nextUniqueId(), 10001);
    ca().idCounter = -32768;  // a counter stored from elsewhere
    EXPECT_EQ(nextUniqueId(), 10000);
}

TEST_F(PoolTest, ParamsAndPartsOutsideTheirArraysAnswerZeroLoggedOnce) {
    LogCapture log;
    cActor* a = actortest::spawn(6, 1, 0, 0, 0xA0, {5, 6});
    EXPECT_EQ(a->getParam(1), 6);
    EXPECT_EQ(a->getParam(2), 0);
    a->setParam(9, 1);
    a->setParam(-1, 1);
    EXPECT_EQ(a->getParam(-1), 0);
    EXPECT_EQ(logLines(log, "Actor subtype 6"), 1);
    EXPECT_EQ(a->getPart(2), 0);
    EXPECT_TRUE(a->decrementPartsCounter(1)) << "no parts record: beaten";
    a->parts = newIntArray(3);
    a->parts->data()[2] = 3;
    EXPECT_FALSE(a->decrementPartsCounter(2));
    EXPECT_TRUE(a->decrementPartsCounter(1));
}

TEST_F(PoolTest, HitFlashCountsHitsAndBeatsTheActor) {
    cActor* hero = newObject<cActor>();
    hero->posX = 500;
    cg().hero = hero;
    cActor* a = actortest::spawn(6, 1, 100, 0);
    a->parts = newIntArray(3);
    a->parts->data()[2] = 3;
    a->setAnim(0);
    // The hits come from the held-hit flag (0x800) and the hero's strike:
    // none; the combo's second strike (two hits); a plain strike (one).
    EXPECT_EQ(cActor::hitFlash(a, 0, 9, 4, 5), 0);
    a->contactFlags |= 0x800;
    game::ca().strikeStep = 1;
    EXPECT_EQ(cActor::hitFlash(a, 0, 9, 4, 5), 0);
    EXPECT_EQ(a->anim, 5) << "two hits: the heavy hurt animation";
    EXPECT_EQ(a->nextAnim, 0);
    EXPECT_EQ(a->facing, 1);
    a->contactFlags |= 0x800;
    game::ca().strikeStep = 0;
    EXPECT_EQ(cActor::hitFlash(a, 0, 9, 4, 5), 1);
    EXPECT_EQ(a->anim, 9);
    EXPECT_EQ(a->aiState, 1);
    EXPECT_EQ(ca().hitGuard, 3);
    EXPECT_NE(a->child, nullptr);
    EXPECT_EQ(a->child->anim, 10);
}

}  // namespace

// Contact classification edges, the order of pending hits, and the hero's
// attacking test that messages use (true while the hero attacks).
#include "game/behaviour/contact.h"
#include "game/behaviour/fields.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

class CoreContact : public BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        hero = behaviourtest::makeHero(400, 300);
        ASSERT_NE(hero, nullptr);
        game::setVariable(3, 10, false);
        game::setVariable(6, 0, false);
        heroState() = 0;
        actor = behaviourtest::spawnRecord({1, 50, 420, 400, 0, 0, 0xA0});
        ASSERT_NE(actor, nullptr);
        cActor::setBox(actor->box, 380, 300, 460, 400);
        game::cg().targetActor = nullptr;
    }
    // Hero box with top t and bottom b, vertical speed vy; the class bits.
    jint classify(jint top, jint bottom, jint vy) {
        cActor::setBox(hero->box, 383, top, 417, bottom);
        hero->motion->data()[3] = vy;
        actor->contactFlags = 0;
        classifyHeroContact(actor);
        return actor->contactFlags;
    }
    cActor* hero = nullptr;
    cActor* actor = nullptr;
};

TEST_F(CoreContact, ClassificationEdges) {
    // Line L = (top + 2 * bottom) / 3; the actor's top is 300, bottom 400.
    struct Case {
        const char* name;
        jint top, bottom, vy, bits;
    };
    const Case cases[] = {
        {"standing level with the top", 300, 300, 0, 0x8},
        {"falling onto the top", 297, 301, 256, 0x8},
        {"just below the top", 300, 302, 0, 0x4},
        {"rising with the line at the bottom", 400, 400, -1, 0x10},
        {"falling at the bottom", 400, 400, 1, 0x4},
        {"rising inside", 320, 380, -256, 0x4},
    };
    for (const Case& c : cases) EXPECT_EQ(classify(c.top, c.bottom, c.vy), c.bits) << c.name;
    game::setVariable(6, 1, false);
    EXPECT_EQ(classify(300, 300, 0), 0x2000);
    EXPECT_EQ(classify(400, 400, -1), 0x2000);
}

TEST_F(CoreContact, PendingHitsOneCasePerCallInOrder) {
    actor->contactFlags = 0x20000 | 0x100000;
    EXPECT_EQ(applyPendingHits(actor, true), 1);
    EXPECT_EQ(actor->contactFlags & 0x20000, 0);
    EXPECT_NE(actor->contactFlags & 0x100000, 0);
    EXPECT_EQ(applyPendingHits(actor, true), 1);
    EXPECT_EQ(actor->contactFlags & 0x100000, 0);
    EXPECT_EQ(applyPendingHits(actor, true), 0);
}

TEST_F(CoreContact, PendingHitsWithoutPushDropTheStampsAndAnswerZero) {
    actor->contactFlags = 0x20000 | 0x200000 | 0x100000 | 0x400000 | 1;
    EXPECT_EQ(applyPendingHits(actor, false), 0);
    EXPECT_EQ(actor->contactFlags, 1);
}

TEST_F(CoreContact, HeldStrikeIsHandledAloneAndByStrength) {
    actor->contactFlags = 0x800 | 0x20000;
    strikeStep() = 1;
    EXPECT_EQ(applyPendingHits(actor, false), 2);
    EXPECT_EQ(actor->contactFlags, 0x20000);
    actor->contactFlags = 0x800;
    strikeStep() = 0;
    cActor* target = behaviourtest::spawnRecord({1, 51, 600, 300, 0, 0, 0xA0});
    target->subtype = 238;
    game::cg().targetActor = target;
    EXPECT_EQ(applyPendingHits(actor, false), 1);
    EXPECT_EQ(counterLimit(target), 2);
    actor->contactFlags = 0x200000;
    EXPECT_EQ(applyPendingHits(actor, true), 3);
}

TEST_F(CoreContact, HittableMeansAttacking) {
    for (jint s : {5, 12, 15, 16}) {
        heroState() = s;
        EXPECT_TRUE(isHeroHittable()) << s;
    }
    heroState() = 38;
    hero->anim = 25;
    EXPECT_TRUE(isHeroHittable());
    hero->anim = 24;
    EXPECT_FALSE(isHeroHittable());
    heroState() = 0;
    EXPECT_FALSE(isHeroHittable());
}

TEST_F(CoreContact, TypeTwoTouchMarks) {
    actor->type = 6;
    actor->subtype = 148;
    actor->contactFlags = 0;
    hero->facing = 1;
    EXPECT_EQ(markTouchedByType2(actor, hero), 1);
    EXPECT_EQ(actor->contactFlags, 0x2000);
    EXPECT_EQ(actor->facing, 1);
    actor->type = 7;
    actor->contactFlags = 0;
    markTouchedByType2(actor, hero);
    EXPECT_EQ(actor->contactFlags, 0x10000);
}

}  // namespace

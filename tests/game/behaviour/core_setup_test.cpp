// Set-up from level records: the common fields, the per-subtype arrays,
// refused records, and the padding of params, parts and linked to the
// type's needs row (logged once per subtype).
#include "game/behaviour/fields.h"
#include "game/behaviour/setup.h"
#include "game/behaviour/types.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;
using worldtest::LogCapture;

using CoreSetup = BehaviourTest;

ShortArray* record(const std::vector<int16_t>& v) {
    ShortArray* r = newShortArray(static_cast<jint>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) r->data()[i] = v[i];
    return r;
}

TEST_F(CoreSetup, CommonFieldsFromTheRecord) {
    cActor* a = cActor::obtainEffect();
    initFromLevelData(a, record({1, 77, 123, 456, 0, 5, 0x1 | 0xA0, 9, 8}), 9, 0);
    EXPECT_EQ(a->uniqueId, 77);
    // Subtype 1 is of type 10 in the fixture's tables: its set-up moves it
    // to the foot of its box (params 9 x 8).
    EXPECT_EQ(a->type, 10);
    EXPECT_EQ(a->posX, 123 + 4);
    EXPECT_EQ(a->posY, 456 + 8);
    EXPECT_EQ(a->anim, 5);
    EXPECT_EQ(a->facing, 1);
    EXPECT_EQ(a->aiState, 0);
    ASSERT_NE(a->params, nullptr);
    EXPECT_EQ(a->params->length(), 2);
    EXPECT_EQ(a->params->data()[1], 8);
    cActor* b = cActor::obtainEffect();
    initFromLevelData(b, record({1, 78, 0, 0, 0, 0, 0}), 7, 0);
    EXPECT_EQ(b->params, nullptr);
}

TEST_F(CoreSetup, PerSubtypeArrays) {
    struct Case {
        int16_t subtype;
        jint parts, hitPoints, linked;
    };
    const Case cases[] = {{41, 9, 3, 0}, {27, 9, 0, 1}, {241, 9, 4, 2}, {246, 11, 18, 1}, {132, 2, 0, 0}};
    for (const Case& c : cases) {
        cActor* a = cActor::obtainEffect();
        ASSERT_NE(a, nullptr);
        initFromLevelData(a, record({c.subtype, 1, 0, 0, 0, 0, 0}), 7, 0);
        ASSERT_NE(a->parts, nullptr) << c.subtype;
        EXPECT_EQ(a->parts->length(), c.parts) << c.subtype;
        if (c.parts > 2) { EXPECT_EQ(a->parts->data()[2], c.hitPoints) << c.subtype; }
        EXPECT_EQ(linked(a) ? linked(a)->length() : 0, c.linked) << c.subtype;
    }
}

TEST_F(CoreSetup, SubtypeEightySixStartsImmune) {
    cActor* a = cActor::obtainEffect();
    initFromLevelData(a, record({86, 1, 0, 0, 0, 0, 0}), 7, 0);
    EXPECT_EQ(hitImmune(a), 1);
}

TEST_F(CoreSetup, RecordsThatDoNotFitAreRefused) {
    LogCapture log;
    cActor* a = cActor::obtainEffect();
    a->subtype = 5;
    initFromLevelData(a, record({1, 2, 3, 4, 5, 6}), 6, 0);
    initFromLevelData(a, record({1, 2, 3, 4, 5, 6, 7}), 7, 1);
    initFromLevelData(a, nullptr, 7, 0);
    EXPECT_EQ(a->subtype, 5);
    EXPECT_EQ(log.count(), 3u);
}

TEST_F(CoreSetup, ArraysArePaddedToTheTypeNeedsOncePerSubtypeLogged) {
    int16_t subtype = 2;
    while (subtype < 19 && cActor::getSubtypeParam(subtype, 5) == 10) ++subtype;
    const jint type = cActor::getSubtypeParam(subtype, 5);
    setNeeds(type, {6, 12, 2});
    LogCapture log;
    cActor* a = cActor::obtainEffect();
    initFromLevelData(a, record({subtype, 80, 0, 0, 0, 0, 0, 7}), 8, 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->params->length(), 6);
    EXPECT_EQ(a->params->data()[0], 7);
    EXPECT_EQ(a->params->data()[5], 0);
    EXPECT_EQ(a->parts->length(), 12);
    EXPECT_EQ(linked(a)->length(), 2);
    const size_t lines = log.count();
    EXPECT_GE(lines, 1u);
    EXPECT_TRUE(log.contains("padded"));
    cActor* b = cActor::obtainEffect();
    initFromLevelData(b, record({subtype, 81, 0, 0, 0, 0, 0}), 7, 0);
    EXPECT_EQ(b->params->length(), 6);
    EXPECT_EQ(log.count(), lines);
    registerAllTypes();
}

TEST_F(CoreSetup, SubtypeTwoFortyNineBoxAndFoot) {
    cActor* a = cActor::obtainEffect();
    initFromLevelData(a, record({249, 1, 100, 200, 0, 0, 0, 40, 30}), 9, 0);
    EXPECT_EQ(a->box->data()[0], 100);
    EXPECT_EQ(a->box->data()[3], 230);
    EXPECT_EQ(a->posX, 120);
    EXPECT_EQ(a->posY, 230);
}

// The trigger zone's position is the bottom centre of its box, half the
// width taken by an arithmetic shift (an odd negative width rounds down).
TEST_F(CoreSetup, TypeTenStandsAtItsBoxsBottomCentreByShift) {
    struct Case {
        int16_t width;
        jint dx;
    };
    const Case cases[] = {{40, 20}, {3, 1}, {-3, -2}, {-40, -20}, {0, 0}};
    for (const Case& c : cases) {
        cActor* a = cActor::obtainEffect();
        a->params = record({c.width, 30, 0, -1});
        a->setPosition(100, 200);
        setUpType10(a);
        EXPECT_EQ(a->posX, 100 + c.dx) << c.width;
        EXPECT_EQ(a->posY, 230);
        EXPECT_EQ(a->aiState, 2);
    }
}

}  // namespace

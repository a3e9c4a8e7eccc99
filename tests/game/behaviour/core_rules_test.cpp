// Rule programs: first match then the unconditional chain with 63 falling
// through, a state outside the program without rules, short animation rows,
// and programs naming next states outside them refused.
#include "game/behaviour/fields.h"
#include "game/behaviour/messages.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

constexpr jint rule(jint mask, jint message, jint next) { return (mask << 12) | (message << 6) | next; }

class CoreRules : public BehaviourTest {
protected:
    // A program of `states` states; state 1 holds the given pairs.
    ObjectArray* program(jint states, const std::vector<jint>& state1) {
        ObjectArray* p = newObjectArray(cid::IntArray, states);
        game::ca().rules225 = p;  // keep it reachable
        for (jint s = 0; s < states; ++s) {
            IntArray* r = newIntArray(s == 1 ? static_cast<jint>(state1.size()) : 0);
            game::ca().rules225->data()[s] = r;
        }
        auto* r = static_cast<IntArray*>(game::ca().rules225->data()[1]);
        for (size_t i = 0; i < state1.size(); ++i) r->data()[i] = state1[i];
        return game::ca().rules225;
    }
    void SetUp() override {
        BehaviourTest::SetUp();
        hero = behaviourtest::makeHero(100, 300);
        actor = behaviourtest::spawnRecord({1, 60, 400, 300, 0, 0, 0xA0});
        actor->aiState = 1;
    }
    cActor* hero = nullptr;
    cActor* actor = nullptr;
};

TEST_F(CoreRules, RuleWordFields) {
    EXPECT_EQ(ruleMask(8199), 2);
    EXPECT_EQ(ruleMessage(8199), 0);
    EXPECT_EQ(ruleNext(8199), 7);
    EXPECT_EQ(ruleMask(134218051), 32768);
    EXPECT_EQ(ruleMessage(134218051), 5);  // 323 = 5 * 64 + 3
    EXPECT_EQ(ruleNext(134218051), 3);
}

TEST_F(CoreRules, FirstMatchThenChainWithFallThrough) {
    // mask 0x2 msg 13 (animation) -> 63, then msg 5 -> 63, then msg 0 -> 4.
    ObjectArray* p = program(6, {rule(0x4, 0, 2), 0, rule(0x2, 13, 63), 6, rule(0x100, 5, 63), 0, rule(0x100, 0, 4), 0});
    EXPECT_EQ(runRules(actor, p, 0x2), 4);
    EXPECT_EQ(actor->anim, 6);
    EXPECT_EQ(runRules(actor, p, 0x4), 2);
    EXPECT_EQ(runRules(actor, p, 0x8), -1);  // no match: the state stays
}

TEST_F(CoreRules, MessageResultOverridesTheNextState) {
    hitImmune(actor) = 1;
    actor->linkIndex = -1;
    ObjectArray* p = program(6, {rule(0x1, 55, 5), 0});
    EXPECT_EQ(runRules(actor, p, 0x1), 2);  // message 55 answers 2
}

TEST_F(CoreRules, StateOutsideTheProgramHasNoRules) {
    ObjectArray* p = program(3, {rule(0x1, 0, 2), 0});
    actor->aiState = 7;
    EXPECT_EQ(ruleRow(p, 7), nullptr);
    EXPECT_EQ(ruleRow(p, -1), nullptr);
    EXPECT_EQ(runRules(actor, p, -1), -1);
    EXPECT_EQ(runRules(actor, nullptr, -1), -1);  // a subtype without a program is inert
}

TEST_F(CoreRules, ShortAnimationRowsGiveMinusOne) {
    EXPECT_EQ(stateAnimFor(0, 0), 1);
    EXPECT_EQ(stateAnimFor(0, 11), 2);
    EXPECT_EQ(stateAnimFor(0, 12), -1);
    EXPECT_EQ(stateAnimFor(0, 13), -1);
    EXPECT_EQ(stateAnimFor(19, 0), -1);
    EXPECT_EQ(stateAnimFor(-1, 0), -1);
}

TEST_F(CoreRules, ProgramsWithNextStatesOutsideThemAreRefused) {
    EXPECT_TRUE(isRuleProgramValid(program(6, {rule(0x1, 0, 5), 0, rule(0x1, 0, 63), 0})));
    EXPECT_FALSE(isRuleProgramValid(program(6, {rule(0x1, 0, 6), 0})));
    EXPECT_FALSE(isRuleProgramValid(program(6, {rule(0x1, 0, 2)})));
    worldtest::LogCapture log;
    refuseBadRulePrograms();
    EXPECT_TRUE(log.contains("Rule program 22 refused"));
    for (jint s = 0; s < 6; ++s) EXPECT_EQ(ruleRow(game::ca().rules225, s)->length(), 0);
    for (jint n = 1; n <= 21; ++n) EXPECT_TRUE(isRuleProgramValid(game::aiProgram(n))) << n;
}

}  // namespace

// The kit's readable behaviour source: rules packed into their words, rows
// set by entry name, the game taking the result whole, sources the game
// would refuse refused by the kit, and the writer read back unchanged.
#include <vector>

#include "game/actor/tables.h"
#include "game/behaviour/messages.h"
#include "tests/game/behaviour/core_support.h"
#include "tools/kit/behaviour_source.h"

namespace {

using behaviourtest::BehaviourTest;

using CoreSource = BehaviourTest;

constexpr const char* kSource = R"(# a walker that hurts on touch and dies on a hit
row 41: type 6 width 40 height 48 flags 0xA0 layer 10
program 2 states 11
state 3: mask 0x2 msg 28 arg 0 -> 63
state 3: mask 0x2 msg 4 arg 0 -> 3
state 3: mask 0x20 msg 57 arg 0 -> 5   # shoot on the timer
anims 1: -1 -1 0 2 0 0 0 -1 -1 4 -1 -1
)";

TEST_F(CoreSource, RulesPackIntoTheirWords) {
    EXPECT_EQ(kit::packRule(2, 0, 7), 8199);
    EXPECT_EQ(kit::packRule(0x8000, 5, 3), 134218051);
    const kit::ActorTables t = kit::actorTablesFromSource(kSource);
    const auto& state3 = t.programs[1][3];
    ASSERT_EQ(state3.size(), 6u);
    EXPECT_EQ(state3[0], (2 << 12) | (28 << 6) | 63);
    EXPECT_EQ(state3[4], (0x20 << 12) | (57 << 6) | 5);
    EXPECT_EQ(t.rows[41].values[5], 6);
    EXPECT_EQ(t.rows[41].values[8], 0xA0);
}

TEST_F(CoreSource, TheGameTakesTheResultWhole) {
    const kit::Bytes bytes = kit::encodeActorTables(kit::actorTablesFromSource(kSource));
    ASSERT_TRUE(game::loadActorTables(bytes));
    game::behaviour::refuseBadRulePrograms();
    ObjectArray* program = game::aiProgram(2);
    ASSERT_NE(program, nullptr);
    IntArray* rules = game::behaviour::ruleRow(program, 3);
    ASSERT_NE(rules, nullptr);
    EXPECT_EQ(rules->length(), 6);
    EXPECT_EQ(game::behaviour::ruleMessage(rules->data()[0]), 28);
    EXPECT_EQ(cActor::getSubtypeParam(41, 5), 6);
}

TEST_F(CoreSource, RefusedSourcesNameTheirLine) {
    for (const std::string& bad : kit::damagedBehaviourSources()) {
        kit::ActorTables t = kit::demoActorTables();
        const kit::ActorTables before = t;
        EXPECT_THROW(kit::applyBehaviourSource(t, bad), kit::KitError) << bad;
        EXPECT_EQ(t.programs, before.programs) << bad;
    }
    try {
        kit::actorTablesFromSource("\nprogram 1 states 10\nstate 3: mask 0x2 msg 28 arg 0 -> 11\n");
        FAIL();
    } catch (const kit::KitError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
}

TEST_F(CoreSource, WrittenSourceReadsBackTheSamePrograms) {
    const kit::ActorTables t = kit::actorTablesFromSource(kSource);
    kit::ActorTables back = kit::demoActorTables();
    kit::applyBehaviourSource(back, kit::writeBehaviourSource(t));
    EXPECT_EQ(back.programs, t.programs);
    EXPECT_EQ(back.stateAnims, t.stateAnims);
}

}  // namespace

// Pickups: each kind's effect on the game variables (pieces, health,
// lives, the pickup event, plain counters, kinds with no variable), and
// the pickup test (amount 0, drawn and held items, carryable offers,
// respawning items, the ten-piece burst, removal and the thrown-off item).
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;

class Pickups : public BlocksTest {
protected:
    void SetUp() override {
        BlocksTest::SetUp();
        emptyLevel();
        game::initLevelVariables();
    }
    // An item of kind index k (0, 1, 3, 5) at x with {amount, flags, value}.
    cActor* item(int k, int id, int x, std::vector<int16_t> params) {
        return worldtest::spawnRecord(kit::levelActorRecord(kit::kDemoItemSubtypes[k], id, x, 432, 0, 160, params));
    }
};

TEST_F(Pickups, PiecesSetTheirBitOnceAndTheTenthStartsTheFireworks) {
    cActor* it = item(1, 20, 600, {1, 0, 0});
    game::setVariable(1, 1023 & ~(1 << 9), false);
    it->anim = 9;
    b::applyPickup(it, 1, 1);
    EXPECT_EQ(game::getVariable(1), 1023);
    EXPECT_EQ(b::fireworksTicks(), 96);
    EXPECT_EQ(b::fireworksPhase(), 0);
    b::fireworksTicks() = 40;
    b::applyPickup(it, 1, 1);  // the same piece again: nothing restarts
    EXPECT_EQ(game::getVariable(1), 1023);
    EXPECT_EQ(b::fireworksTicks(), 40);
    it->anim = 10;  // not a piece number
    game::setVariable(1, 0, false);
    b::applyPickup(it, 1, 1);
    EXPECT_EQ(game::getVariable(1), 0);
}

TEST_F(Pickups, EffectsByKind) {
    struct Case {
        int kind, amount, before, variable, after;
        const char* what;
    };
    const Case cases[] = {
        {3, 2, 0, 3, 0, "health at 0 takes nothing"},
        {3, 2, 3, 3, 3 + game::scaleByLevel(2, false), "health"},
        {5, 1, 2, 5, 3, "one life"},
        {5, 3, 2, 5, 5, "three lives"},
        {0, 4, 1, 0, 5, "a plain counter"},
        {2, 16, 0, 2, 16, "float time"},
    };
    cActor* it = item(0, 21, 600, {1, 0, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game::setVariable(9, 10, false);
        game::setVariable(c.variable, c.before, false);
        b::applyPickup(it, c.kind, c.amount);
        EXPECT_EQ(game::getVariable(c.variable), c.after);
    }
    b::applyPickup(it, 7, 1);
    EXPECT_EQ(b::pickupEvent(), 11);
}

TEST_F(Pickups, AKindBeyondTheVariableTableIsLoggedAndIgnored) {
    cActor* it = item(0, 22, 600, {1, 0, 0});
    LogCapture log;
    for (int v = 0; v < game::kVariables; ++v) game::setVariable(v, 0, false);
    b::applyPickup(it, 12, 5);
    b::applyPickup(it, -3, 5);
    for (int v = 0; v < game::kVariables; ++v) EXPECT_EQ(game::getVariable(v), 0) << v;
    EXPECT_TRUE(log.contains("kind 12 has no variable"));
}

TEST_F(Pickups, AnItemWithAmountZeroIsNeverTaken) {
    cActor* it = item(2, 23, hero->posX, {0, 0, 0});
    game::setVariable(3, 2, false);
    b::checkPickup(it, 1);
    b::checkPickup(it, 0);
    EXPECT_EQ(it->type, 2);
    EXPECT_EQ(game::getVariable(3), 2);
}

TEST_F(Pickups, DrawnItemsNeedTheHerosBoxHeldOnesDoNot) {
    game::setVariable(3, 2, false);
    game::setVariable(9, 10, false);
    cActor* far = item(2, 24, 600, {1, 0, 0});
    b::checkPickup(far, 1);
    EXPECT_EQ(game::getVariable(3), 2);
    b::checkPickup(far, 0);
    EXPECT_GT(game::getVariable(3), 2);
}

TEST_F(Pickups, HealthBecomesItsEffectAndAPieceIsRemoved) {
    game::setVariable(3, 2, false);
    game::setVariable(9, 10, false);
    cActor* health = item(2, 25, hero->posX, {1, 0, 0});
    b::checkPickup(health, 1);
    EXPECT_GT(game::getVariable(3), 2);
    EXPECT_EQ(b::physicsFlags(health), 0);  // turned into its effect, at rest
    cActor* piece = item(1, 26, hero->posX, {1, 0, 0});
    piece->anim = 3;
    const jint before = game::cg().actorCount;
    b::checkPickup(piece, 1);
    EXPECT_EQ(game::cg().actorCount, before - 1);
    EXPECT_EQ(game::getVariable(1) & 8, 8);
}

TEST_F(Pickups, RespawningItemsWaitAndPlainItemsAreThrownOff) {
    cActor* respawning = item(0, 27, hero->posX, {1, 1, 16});
    if (!respawning->respawnRecord) respawning->respawnRecord = newIntArray(7);
    b::checkPickup(respawning, 1);
    EXPECT_EQ(respawning->respawnRecord->data()[0], 16);
    EXPECT_EQ(respawning->flags & 0xA0, 0);
    EXPECT_EQ(b::physicsFlags(respawning), 0);
    EXPECT_EQ(b::lastRevealedItem(), 16);
    cActor* plain = item(0, 28, hero->posX, {1, 0, 5});
    b::checkPickup(plain, 1);
    EXPECT_EQ(plain->aiState, 25);
    EXPECT_TRUE(plain->flags & 0x20000);
    EXPECT_TRUE(b::physicsFlags(plain) & 64);
}

TEST_F(Pickups, FlagEightBurstsIntoTenPiecesInsteadOfTheEffect) {
    for (int v = 0; v < game::kVariables; ++v) game::setVariable(v, 0, false);
    cActor* burst = item(0, 29, hero->posX, {3, 8, 0});
    const jint before = game::cg().actorCount;
    b::checkPickup(burst, 1);
    ASSERT_EQ(game::cg().actorCount, before + 10);
    for (jint i = 0; i < 10; ++i) {
        cActor* p = game::poolActor(before + i);
        EXPECT_EQ(b::timer(p), i);
        EXPECT_EQ(p->aiState, 8);
        EXPECT_EQ(b::nextState(p), 7);
        EXPECT_EQ(b::physicsFlags(p), 0x1000040);
    }
    EXPECT_EQ(game::getVariable(0), 0);  // no applyPickup with flag 8
    EXPECT_EQ(burst->aiState, 25);
}

TEST_F(Pickups, CarryableOffersDoNotReplaceAStandingOffer) {
    cActor* carry = item(0, 30, hero->posX, {1, 0, 0});
    carry->setTypeParam(12, 4);
    carry->allocMotionState();
    b::partnerMode() = 2;
    b::partnerActor() = nullptr;
    b::checkPickup(carry, 1);
    EXPECT_EQ(b::partnerActor(), nullptr);
    b::partnerMode() = 5;
    b::checkPickup(carry, 1);
    EXPECT_EQ(b::partnerActor(), carry);
    EXPECT_EQ(b::partnerMode(), 3);
    // A moving carryable is not offered.
    b::partnerMode() = 5;
    b::partnerActor() = nullptr;
    carry->motion->data()[2] = 256;
    b::checkPickup(carry, 1);
    EXPECT_EQ(b::partnerActor(), nullptr);
    carry->setTypeParam(12, 0);
}

}  // namespace

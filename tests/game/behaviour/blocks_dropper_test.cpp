// The carrier and its path dropper: activation, the countdowns that stand
// still while no scripted scroll runs, the drop point of each pair, a
// delay of 0, the path's end, bad paths and level indices, and the struck
// subtype-49 carrier.
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;

class Dropper : public BlocksTest {
protected:
    void SetUp() override {
        BlocksTest::SetUp();
        emptyLevel();
        scrolling(true);
        game::cg().cameraX = 1000;
        game::cg().cameraY = 300;
    }
    // The scripted camera scroll runs (flag 64, no delay) or not.
    void scrolling(bool on) {
        if (on) game::cg().cameraFlags |= 64;
        else game::cg().cameraFlags &= ~64;
        game::cg().scrollDelay = -1;
    }
    cActor* carrier(int subtype, std::vector<int16_t> params) {
        cActor* c = worldtest::spawnRecord(kit::levelActorRecord(subtype, 60, 800, 200, 0, 160, params));
        c->type = 17;
        return c;
    }
    int steps(cActor* c, int n) {
        int drops = 0;
        for (int i = 0; i < n; ++i) {
            const jint before = b::counter(c);
            b::updateType17(c);
            drops += b::counter(c) - before;
        }
        return drops;
    }
};

TEST_F(Dropper, ANegativePathNeverDrops) {
    cActor* c = carrier(kit::kDemoCarrierSubtype, {512, 256, -1, 0, -1});
    b::activateDropper(c);
    EXPECT_EQ(c->aiState, 7);
    const jint before = game::cg().actorCount;
    EXPECT_EQ(steps(c, 100), 0);
    EXPECT_EQ(b::carried(c), nullptr);
    EXPECT_EQ(game::cg().actorCount, before);
}

TEST_F(Dropper, ItemsAreMadeAfterEachDelayAndDroppedEightFramesLater) {
    // Path 2: (2, 600), (8, 400), (0, 200), (32, 700), (8, 400), (8, 100).
    cActor* c = carrier(kit::kDemoCarrierSubtype, {512, 256, 2, 0, -1});
    b::activateDropper(c);
    EXPECT_EQ(b::timer(c), 2);
    steps(c, 2);  // the delay runs out: an item waits
    cActor* item = b::carried(c);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->type, 18);
    EXPECT_EQ(item->posX, 1000 - 400 + 600);
    EXPECT_EQ(steps(c, 6), 0);
    EXPECT_EQ(steps(c, 1), 1);  // its eighth frame: dropped from the view's top
    EXPECT_EQ(item->posX, 1000 - 400 + 600);
    EXPECT_EQ(item->posY, 300 - 240);
    EXPECT_EQ(item->aiState, 6);
    EXPECT_TRUE(item->flags & 0x800);
    EXPECT_EQ(b::carried(c), nullptr);
    // Pair 1: its delay set, 8 frames of it, 7 more waiting; pair 2's delay 0 counts as 1.
    EXPECT_EQ(steps(c, 1 + 8 + 6), 0);
    EXPECT_EQ(steps(c, 1), 1);
    steps(c, 1);
    EXPECT_EQ(b::timer(c), 1);
}

TEST_F(Dropper, CountdownsStandStillWithoutTheScriptedScroll) {
    cActor* c = carrier(kit::kDemoCarrierSubtype, {512, 256, 2, 0, -1});
    b::activateDropper(c);
    scrolling(false);
    steps(c, 50);
    EXPECT_EQ(b::carried(c), nullptr);
    EXPECT_EQ(b::timer(c), 2);
    scrolling(true);
    steps(c, 2);
    ASSERT_NE(b::carried(c), nullptr);
    scrolling(false);
    EXPECT_EQ(steps(c, 30), 0);
}

TEST_F(Dropper, NothingPastThePathsLastPairOrOnAMissingPath) {
    cActor* c = carrier(kit::kDemoCarrierSubtype, {512, 256, 2, 0, -1});
    b::activateDropper(c);
    b::counter(c) = 6;  // the end mark
    b::timer(c) = 0;
    EXPECT_EQ(steps(c, 60), 0);
    EXPECT_EQ(b::carried(c), nullptr);
    b::counter(c) = 1000;
    EXPECT_EQ(steps(c, 10), 0);
    cActor* lost = carrier(kit::kDemoCarrierSubtype, {512, 256, 77, 0, -1});
    b::activateDropper(lost);
    EXPECT_EQ(steps(lost, 60), 0);
    bool ok = true;
    EXPECT_EQ(b::getPathPointX(lost, 77, &ok), 0);
    EXPECT_FALSE(ok);
}

TEST_F(Dropper, Subtype49TakesItsLevelsPathOnlyWhenItsOwnIsZero) {
    cActor* own = carrier(49, {2, 0, 5, 0, -1});
    b::activateDropper(own);
    EXPECT_EQ(b::blk::param(own, 0), 512);  // pixels to 1/256 px
    EXPECT_EQ(b::blk::param(own, 2), -1);
    cActor* level = carrier(49, {2, 0, 0, 0, -1});
    game::cg().difficulty = 3;
    b::activateDropper(level);
    EXPECT_EQ(b::blk::param(level, 2), game::cg().dropFlags->data()[2]);
    LogCapture log;
    cActor* bad = carrier(49, {2, 0, 0, 0, -1});
    game::cg().difficulty = 9;
    b::activateDropper(bad);
    EXPECT_EQ(b::blk::param(bad, 2), -1);
    EXPECT_TRUE(log.contains("no drop path for level 9"));
    game::cg().difficulty = 1;
}

TEST_F(Dropper, AStruckSubtype49StopsFollowing) {
    cActor* c = carrier(49, {2, 0, 5, 0, -1});
    b::activateDropper(c);
    b::contactFlags(c) |= 64;
    b::updateType17(c);
    EXPECT_EQ(c->aiState, 36);
    EXPECT_EQ(c->anim, 12);
    EXPECT_EQ(b::contactFlags(c) & 64, 0);
}

}  // namespace

// The auto-run stage (7) of the demo played by keys alone: the game started
// headless over the kit's demo archive as it starts a stage (the loading
// table's records, then play), a fixed seed, a scripted key script and
// nothing else. Checked at every step: the hero lives and stays in the view
// (within 400 px of the camera across, 240 px up or down); after the start
// the hero is in the run (state 40); the run factor is 256 until the hero
// takes the run-speed pickup on its way, 460 from that step on, and the
// pickup is gone; the stage ends at its trigger (level complete).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/variables.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_game.h"
#include "tools/kit/demo_hazards.h"

namespace {

constexpr int kStage = 7;
constexpr jint kRunState = 40, kLevelComplete = 21;

// The pickup among the active actors (by its subtype), or null.
cActor* activePickup() {
    for (jint k = 0; k < game::cg().activeActorCount; ++k)
        if (cActor* a = game::activeActor(k); a && a->subtype == kit::hazard_subtypes::kRunBoost) return a;
    return nullptr;
}

bool playsSound(const std::vector<std::string>& lines, int id) {
    const std::string want = " sound id=" + std::to_string(id);
    for (const std::string& line : lines) {
        const size_t at = line.find(want);
        if (at != std::string::npos && at + want.size() == line.size()) return true;
    }
    return false;
}

TEST(AutoRunStage, IsTheRunCourseWithThePickupOnTheWay) {
    const kit::DemoStage* stage = nullptr;
    for (const kit::DemoStage& d : kit::demoStages())
        if (d.stage == kStage) stage = &d;
    ASSERT_NE(stage, nullptr);
    EXPECT_STREQ(stage->family, "pack_run");
    EXPECT_FALSE(stage->bossEnd);
    EXPECT_GT(stage->endX, kit::kRunBoostX);
}

TEST(AutoRunStage, PlaysThroughByKeysTakingTheRunSpeedPickup) {
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(kStage);
    o.seed = 11;
    // The hero reaches the pickup at step 80. The camera takes the faster
    // run at once; the hero's stride on the ground keeps its pace until it
    // next leaves the ground (the air states apply the run speed): a jump
    // five steps on takes the new pace up.
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("85 down up\n87 up up\n", o.input, error)) << error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    ASSERT_EQ(game::cg().stage, kStage);
    ASSERT_EQ(game::ca().runSpeedFactor, 256);
    const jint lives = game::getVariable(5);

    int firstRun = -1, taken = -1, gone = -1;
    bool sawPickup = false;
    for (int i = 0; i < 1500 && game::cg().gameState != kLevelComplete; ++i) {
        drv.step();
        const int n = drv.stepIndex();
        cActor* hero = game::cg().hero;
        ASSERT_NE(hero, nullptr) << "step " << n;
        if (game::cg().gameState == kLevelComplete) break;
        // Alive, and in the view.
        ASSERT_GT(game::getVariable(3), 0) << "the hero died at step " << n << ", x " << hero->posX;
        ASSERT_EQ(game::getVariable(5), lives) << "a life lost by step " << n;
        const jint dx = hero->posX - game::cg().cameraX, dy = hero->posY - game::cg().cameraY;
        ASSERT_LE(std::abs(dx), 400) << "step " << n << ": hero x " << hero->posX << ", camera x " << game::cg().cameraX;
        ASSERT_LE(std::abs(dy), 240) << "step " << n << ": hero y " << hero->posY << ", camera y " << game::cg().cameraY;
        if (firstRun < 0 && game::ca().heroState == kRunState) firstRun = n;
        // The run factor: 256 before the pickup, 460 from the step it is taken.
        cActor* pickup = activePickup();
        sawPickup = sawPickup || pickup;
        const jint factor = game::ca().runSpeedFactor;
        if (taken < 0) {
            if (factor == 256) continue;
            ASSERT_EQ(factor, 460) << "step " << n;
            taken = n;
            ASSERT_NE(pickup, nullptr) << "the run factor changed with no pickup in play";
            EXPECT_EQ(pickup->type, 59);
            EXPECT_EQ(pickup->anim, 1) << "the pickup does not play its taken animation";
            EXPECT_TRUE(playsSound(drv.lastLines(), 22)) << "no pickup sound at step " << n;
            EXPECT_LT(std::abs(hero->posX - kit::kRunBoostX), 48) << "taken away from its place";
        } else {
            ASSERT_EQ(factor, 460) << "step " << n;
            if (gone < 0 && !pickup) gone = n;
            if (gone >= 0) {
                EXPECT_EQ(pickup, nullptr) << "the pickup back in play at step " << n;
            }
        }
    }
    EXPECT_TRUE(sawPickup) << "the pickup never came into play";
    ASSERT_GE(firstRun, 0) << "the hero never ran";
    EXPECT_LE(firstRun, 2) << "the run started late";
    ASSERT_GE(taken, 0) << "the pickup was never taken";
    EXPECT_GE(gone, taken);
    EXPECT_EQ(game::cg().gameState, kLevelComplete)
        << "hero at x " << game::cg().hero->posX << " after " << drv.stepIndex() << " steps";
    EXPECT_NE(game::cg().levelFinished, 0);
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
}

}  // namespace

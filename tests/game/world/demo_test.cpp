// The demo stage: it compiles, holds the level-end script byte for byte,
// and plays headless through the in-game step order: the intro scene pans
// the camera and takes the checkpoint when it ends; played by keys through
// the step driver, it can be walked to its exit trigger, which requests the
// level's end.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "game/flow/flow_statics.h"
#include "tests/game/world/support.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_world.h"

namespace {

using namespace worldtest;
namespace w = game::world;

TEST_F(WorldTest, DemoStagePlaysItsIntro) {
    kit::LevelModel m = kit::parseLevelDescription(kit::kDemoStage);
    const kit::Bytes scripts = kit::encodeLevelScripts(*m.scripts);
    const kit::Bytes levelEnd = {0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x25, 0x00, 0x00};
    EXPECT_NE(std::search(scripts.begin(), scripts.end(), levelEnd.begin(), levelEnd.end()), scripts.end());
    ASSERT_TRUE(m.layers[4]);
    EXPECT_EQ(m.layers[4]->width, 120);

    loadLevel(kit::kDemoStage);
    // The hero's record (class 0) becomes the hero, as the level start does.
    cActor* hero = game::spawnActor(game::cg().recordValues, w::recordLength(0), 0);
    ASSERT_NE(hero, nullptr);
    game::cg().hero = hero;
    if (!hero->motion) hero->allocMotionState();
    hero->physicsFlags = 0x1000000 | 1;
    if (!hero->savedBox) hero->savedBox = newShortArray(4);
    w::resetCamera();
    w::initCheckpoint();
    EXPECT_EQ(game::cg().checkpointAtSceneEnd, 1);
    EXPECT_TRUE(w::isAnyScriptActive());
    jint furthest = 0;
    for (int frame = 0; frame < 100; ++frame) {
        w::updateLayerOffsets();
        w::updateLevelObjects();
        w::updateAllActors();
        if (w::isAnyScriptActive()) {
            w::runLevelScripts();
            w::resumeBlockedScript();
        }
        w::updateHeroFrame();
        w::updateCamera(1);
        furthest = std::max(furthest, game::cg().cameraX);
    }
    EXPECT_GE(furthest, 2000);  // the pan went far right
    EXPECT_FALSE(w::isAnyScriptActive());
    EXPECT_EQ(game::cg().checkpointAtSceneEnd, 0);
    EXPECT_EQ(game::cg().checkpointActor, hero);
    EXPECT_LT(game::cg().cameraX, 1000);  // back with the hero
    EXPECT_EQ(w::regionCount(), 1);
}

// The walking script of golden/demo_walk_to_end.input: the hero crosses
// the stage by keys alone and enters the exit trigger (x 3960-4140), whose
// script (id 1, the first in the table) requests the level's end.
TEST(DemoStageByKeys, WalkingRightAndJumpingReachesTheExitTrigger) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::ifstream in(std::string(root) + "/tests/game/world/golden/demo_walk_to_end.input");
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    stepdriver::Options o;
    o.level = "demo";
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(text.str(), o.input, error)) << error;
    stepdriver::StepDriver drv;
    ASSERT_TRUE(drv.load(o, error)) << error;
    int endStep = -1, starts = 0;
    bool checkpointSound = false;
    jint heroX = -1;
    for (int n = 0; n < 480 && endStep < 0; ++n) {
        drv.step();
        for (const std::string& l : drv.lastLines()) {
            if (l.find(" script start=0") != std::string::npos) ++starts;
            if (l.find(" sound id=13") != std::string::npos) checkpointSound = true;
        }
        if (game::cg().levelFinished) {
            endStep = n;
            if (cActor* h = game::cg().hero) heroX = h->posX;
        }
    }
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
    ASSERT_GE(endStep, 0) << "the level end was never requested";
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(checkpointSound);  // the marker past the pit was lit on the way
    EXPECT_GE(heroX, 3960);
    EXPECT_LE(heroX, 4140);
}


// The pit at columns 42-44 has pit cells at its bottom: a hero that walks
// in dies there and the game leaves play for the lost life, instead of the
// hero landing on nothing below the map and staying there.
TEST(DemoStageByKeys, WalkingIntoThePitLosesALife) {
    stepdriver::Options o;
    o.level = "demo";
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("0 down right\n", o.input, error)) << error;
    o.heroX = 42 * 36 - 60;
    o.heroY = 648;
    stepdriver::StepDriver drv;
    ASSERT_TRUE(drv.load(o, error)) << error;
    int left = -1;
    for (int n = 0; n < 120 && left < 0; ++n) {
        drv.step();
        if (game::cg().gameState != 14) left = n;
    }
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
    ASSERT_GE(left, 0) << "the hero never died in the pit";
    ASSERT_NE(game::cg().hero, nullptr);
    EXPECT_GT(game::cg().hero->posX, 42 * 36 - 36);
    EXPECT_LT(game::cg().hero->posX, 47 * 36);
    EXPECT_GT(game::cg().hero->posY, 648);  // below the floor: in the pit
}

}  // namespace

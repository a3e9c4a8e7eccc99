// The demo stage: it compiles, holds the level-end script byte for byte,
// and plays headless through the in-game step order: the intro scene pans
// the camera and takes the checkpoint when it ends.
#include <algorithm>

#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "tests/game/world/support.h"
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
    hero->stateFlags = 0x1000000 | 1;
    if (!hero->prevBox) hero->prevBox = newShortArray(4);
    w::resetCamera();
    w::initCheckpoint();
    EXPECT_EQ(game::wd().checkpointAtSceneEnd, 1);
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
    EXPECT_EQ(game::wd().checkpointAtSceneEnd, 0);
    EXPECT_EQ(game::cg().checkpointActor, hero);
    EXPECT_LT(game::cg().cameraX, 1000);  // back with the hero
    EXPECT_EQ(w::regionCount(), 1);
}

}  // namespace

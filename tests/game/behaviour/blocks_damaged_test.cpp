// The block family's routines on damaged levels (the kit's
// damagedBlockLevels): each level is set up and stepped 300 times through
// the in-game pass with cell hits, breaks and paints at random places
// (fixed seed). Nothing may crash, overrun or hang; refused content is
// logged; the pool stays within 200.
#include <random>

#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;
namespace w = game::world;


class DamagedBlocks : public BlocksTest {
protected:
    // The level in place with the hero of its record 0, as the level start leaves it.
    void start(const std::string& text) {
        worldtest::loadLevel(text);
        hero = game::spawnActor(game::cg().recordValues, w::recordLength(0), 0);
        ASSERT_NE(hero, nullptr);
        game::cg().hero = hero;
        if (!hero->motion) hero->allocMotionState();
        if (!hero->savedBox) hero->savedBox = newShortArray(4);
        w::resetCamera();
    }
};

TEST_F(DamagedBlocks, EveryLevelSteps300TimesWithRandomHits) {
    const std::vector<kit::NamedLevel> levels = kit::damagedBlockLevels();
    ASSERT_GE(levels.size(), 10u);
    std::mt19937 random(1234);
    for (const kit::NamedLevel& level : levels) {
        SCOPED_TRACE(level.name);
        TearDown();
        SetUp();
        LogCapture log;
        start(level.text);
        game::cg().cameraFlags |= 64;
        game::cg().scrollDelay = -1;
        w::startScript(w::findScriptById(3));
        int blockSteps = 0;
        for (int n = 0; n < 300; ++n) {
            w::updateLayerOffsets();
            w::updateLevelObjects();
            w::updateAllActors();
            if (w::isAnyScriptActive()) {
                w::runLevelScripts();
                w::resumeBlockedScript();
            }
            w::updateHeroFrame();
            for (jint i = 0; i < game::cg().actorCount; ++i) {
                cActor* a = game::poolActor(i);
                if (!a || a->type != 4) continue;
                ++blockSteps;
                const jint c = static_cast<jint>(random() % 40) - 5, r = static_cast<jint>(random() % 20) - 5;
                game::ca().heroState = static_cast<jint>(random() % 41);
                b::hitTileBlockCell(a, hero, c, r);
                b::breakNeighbourCell(a, c - 2, r - 2);
                if (n % 7 == 0) b::breakTileBlockCell(a, c % 4, r % 4, 15);
                game::cg().cameraX = 400 + static_cast<jint>(random() % 600);
                b::paintType4(a, 0, 0);
            }
            ASSERT_LE(game::cg().actorCount, game::kActorPoolSize) << "step " << n;
        }
        if (level.name.rfind("block", 0) == 0 || level.name.rfind("item", 0) == 0) { EXPECT_GT(blockSteps, 0); }
    }
}

TEST_F(DamagedBlocks, RefusedBlocksSayWhy) {
    for (const char* name : {"zero-cell-size", "block-too-big"}) {
        TearDown();
        SetUp();
        LogCapture log;
        for (const kit::NamedLevel& level : kit::damagedBlockLevels())
            if (level.name == name) start(level.text);
        cActor* block = nullptr;
        for (int k = 0; k < 3 && !block; ++k) {
            w::updateLevelObjects();
            block = game::getActorById(10);
        }
        ASSERT_NE(block, nullptr) << name;
        EXPECT_EQ(block->tileBlock, nullptr) << name;
        EXPECT_TRUE(log.contains("block refused")) << name;
    }
}

}  // namespace

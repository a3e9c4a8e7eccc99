// Damaged boss arenas (no anchors, no defeat script, no parameters, a
// script id naming none, no platform) and random pattern positions, each
// stepped with hits: the bosses neither crash nor read outside their
// tables, and no level end is asked for without a defeat script.
#include <gtest/gtest.h>

#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/bosses_support.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/level.h"

namespace {

using namespace bossestest;
namespace b = game::behaviour;

class DamagedArenaTest : public BossTest, public testing::WithParamInterface<kit::DamagedArena> {};

TEST_P(DamagedArenaTest, StepsWithoutFault) {
    const kit::DamagedArena& d = GetParam();
    game::setVariable(3, 1000, false);
    behaviourtest::loadLevel(d.level);
    hero = behaviourtest::makeHero(300, 431);
    game::world::setCameraLimits(36, 0, 836, 432);
    game::cg().cameraX = 436;
    cActor* boss = nullptr;
    for (const kit::LevelRecord& r : kit::parseLevelDescription(d.level).objects) {
        if (r.values.empty() || r.values[0] == 0 || (r.values[0] >= 2000 && r.values[0] <= 2002)) continue;
        cActor* a = spawn(r.values);
        if (a && r.values[1] == 100) boss = a;
    }
    ASSERT_NE(boss, nullptr) << d.name;
    uint32_t seed = 12345;
    for (int t = 0; t < 1500; ++t) {
        seed = seed * 1103515245u + 12345u;
        if (t % 5 == 0) hit(boss);
        // Pattern positions anywhere around and past both tables.
        if (t % 97 == 50) {
            b::bossStep() = static_cast<jint>(seed >> 16) % 80 - 5;
            b::bossEventCount() = static_cast<jbyte>(static_cast<jint>(seed >> 20) % 50);
        }
        hero->timer = 0;
        step();
        if (game::world::isAnyScriptActive()) game::world::runLevelScripts();
        ASSERT_LE(game::cg().actorCount, game::kActorPoolSize);
    }
    if (d.name.find("no-defeat-script") != std::string::npos || d.name.find("unknown-script") != std::string::npos ||
        d.name.find("no-params") != std::string::npos) {
        EXPECT_EQ(levelEnds(), 0) << d.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Bosses, DamagedArenaTest, testing::ValuesIn(kit::damagedBossArenas()),
                         [](const testing::TestParamInfo<kit::DamagedArena>& info) {
                             std::string n = info.param.name;
                             for (char& c : n)
                                 if (c == '-') c = '_';
                             return n;
                         });

}  // namespace

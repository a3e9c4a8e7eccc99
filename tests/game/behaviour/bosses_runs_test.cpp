// Whole arena runs, headless: each boss arena of the content kit stepped
// with a scripted hero (it stands, catches companions, and its hits are
// injected as pending contact bits every fifth step), its state and
// pattern sequence written as a trace and compared with a golden file;
// every run that ends in a defeat has started its level script exactly
// once and the level end was asked for once.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "game/actor/pool.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/bosses_support.h"
#include "tools/kit/demo_bosses.h"

namespace {

using namespace bossestest;
namespace b = game::behaviour;

struct ArenaRun {
    int type;
    jint heroX;
    int steps;
};

class ArenaRunsTest : public BossTest, public testing::WithParamInterface<ArenaRun> {};

jint patternIndex(int type) {
    if (type == 102) return b::bossStep();
    if (type == 92) return b::bossEventCount();
    return -1;
}

TEST_P(ArenaRunsTest, StateAndPatternSequence) {
    const ArenaRun run = GetParam();
    game::setVariable(3, 1000, false);
    cActor* boss = arena(run.type, run.heroX);
    ASSERT_NE(boss, nullptr);
    std::ostringstream trace;
    jint lastState = -2, lastIndex = -2, lastHp = -2;
    int scriptsStarted = 0;
    bool scriptWasActive = false;
    int t = 0;
    for (; t < run.steps; ++t) {
        if (t % 5 == 0) {
            hit(boss);
            // The minions of the pattern boss fall to the same hits.
            for (jint i = 0; i < game::cg().actorCount; ++i) {
                cActor* a = game::poolActor(i);
                if (a->type == 6) a->contactFlags |= 0x2000;
            }
        }
        // The hero catches a companion thrown within reach and throws it back.
        if (run.type == 94) {
            for (jint i = 0; i < game::cg().actorCount; ++i) {
                cActor* c = game::poolActor(i);
                if (c->type == 111 && c->aiState == 49 && c->posX < run.heroX + 200) {
                    cActor::stopMotion(c);
                    cActor::moveTo(c, hero->posX << 8, c->posY << 8);
                    cActor::setFacing(c, 0);
                    c->aiState = 48;
                }
            }
        }
        // A dropped pair (passive in these tables) counts as landed 16 steps
        // after it appears, as its own routine would report.
        if (run.type == 92) {
            for (jint i = 0; i < game::cg().actorCount; ++i) {
                cActor* a = game::poolActor(i);
                if (a->subtype != 252) continue;
                if (a->aiState == 0 && ++a->timer >= 16) a->aiState = 1;
            }
        }
        hero->timer = 0;  // never invulnerable: every touch counts
        step();
        const bool active = game::world::isAnyScriptActive();
        if (active && !scriptWasActive) ++scriptsStarted;
        scriptWasActive = active;
        if (active) game::world::runLevelScripts();
        const jint hp = boss->parts ? boss->parts->data()[2] : 0;
        const jint index = patternIndex(run.type);
        if (boss->aiState != lastState || index != lastIndex || hp != lastHp) {
            trace << t << " state " << boss->aiState;
            if (index >= 0) trace << " index " << index;
            trace << " hp " << hp << "\n";
            lastState = boss->aiState;
            lastIndex = index;
            lastHp = hp;
        }
        if (levelEnds() > 0 && !active) break;
    }
    trace << "end " << t << " level ends " << levelEnds() << " scripts " << scriptsStarted << "\n";
    expectGolden("bosses_arena" + std::to_string(run.type), trace.str());
    if (boss->aiState == 30) {
        EXPECT_EQ(levelEnds(), 1);
        EXPECT_EQ(scriptsStarted, 1);
    }
    EXPECT_LE(levelEnds(), 1);
}

INSTANTIATE_TEST_SUITE_P(Bosses, ArenaRunsTest,
                         testing::Values(ArenaRun{97, 560, 3000}, ArenaRun{94, 120, 4000}, ArenaRun{102, 300, 4000},
                                         ArenaRun{92, 300, 4000}, ArenaRun{24, 300, 4000}, ArenaRun{33, 300, 4000},
                                         ArenaRun{21, 300, 4000}),
                         [](const testing::TestParamInfo<ArenaRun>& info) { return std::to_string(info.param.type); });

}  // namespace

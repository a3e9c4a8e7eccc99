// The auto-run stage (7) of the demo played by keys alone: the game started
// headless over the kit's demo archive as it starts a stage (the loading
// table's records, then play), a fixed seed, a scripted key script and
// nothing else. Checked at every step: the hero lives and stays in the view
// (within 400 px of the camera across, 240 px up or down); after the start
// the hero is in the run (state 40). A hop under the run-speed pickup takes
// it (its sprite's taken animation and sound 22): the run factor is 256
// before, 460 from that step on, and the pickup is gone; a hero that never
// leaves the ground runs past it at 256. Either way the stage ends at its
// trigger (level complete), and every sound asked for is one the demo
// loads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_game.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/loading.h"

namespace {

constexpr int kStage = 7;
constexpr jint kRunState = 40, kLevelComplete = 21;

// The pickup among the active actors (by its subtype), or null.
cActor* activePickup() {
    for (jint k = 0; k < game::cg().activeActorCount; ++k)
        if (cActor* a = game::activeActor(k); a && a->subtype == kit::hazard_subtypes::kRunBoost) return a;
    return nullptr;
}

// Sound ids the demo's sound pack holds and its loading table loads (opcode
// 19, slot = sound id, from pack 3).
std::set<int> loadableSounds() {
    std::map<std::string, kit::Bytes> files;
    for (const kit::DemoEntry& e : kit::demoEntries())
        if (e.name == "pack3" || e.name == "loading.bin") files[e.name] = e.make();
    std::set<int> inPack;
    const kit::ParsedPack pack = kit::parsePackFile(files["pack3"]);
    for (size_t i = 0; i < pack.entries.size(); ++i)
        if (pack.entries[i].type >= 0 && pack.entries[i].length > 0) inPack.insert(static_cast<int>(i));
    std::set<int> out;
    for (const kit::LoadRecord& r : kit::parseLoadingTable(files["loading.bin"]))
        if (r.opcode == 19 && r.pack == 3 && r.slot == r.resource && inPack.count(r.slot)) out.insert(r.slot);
    return out;
}

int soundOf(const std::string& line) {
    const size_t at = line.find(" sound id=");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + 10);
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

// One run of the stage: the key script, and whether it takes the pickup.
struct KeyRun {
    const char* name;
    const char* keys;
    bool takesPickup;
};

// The pickup floats above the run line at hop height: a hop under it
// takes it, and the hero lands into the faster run (the air states apply
// the run speed); a hero that keeps to the ground runs past it at the
// normal pace.
const KeyRun kRuns[] = {
    {"HopUnderThePickup", "72 down up\n74 up up\n", true},
    {"NoKeys", "", false},
};

class AutoRunPlay : public ::testing::TestWithParam<KeyRun> {};

TEST_P(AutoRunPlay, PlaysThroughByKeys) {
    const KeyRun& run = GetParam();
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(kStage);
    o.seed = 11;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(run.keys, o.input, error)) << error;
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
            // Drawn with a sprite that has both its animations (standing, taken).
            ASSERT_NE(pickup->sprite, nullptr);
            EXPECT_GT(pickup->sprite->getAFrameCount(0), 0);
            EXPECT_GT(pickup->sprite->getAFrameCount(1), 0);
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
    if (run.takesPickup) {
        ASSERT_GE(taken, 0) << "the pickup was never taken";
        EXPECT_GE(gone, taken);
        // Gone from the pool, not only out of the active list.
        const std::string removal = " remove id=" + std::to_string(kit::kRunBoostId);
        bool removed = false;
        for (const std::string& line : drv.trace()) {
            const size_t at = line.find(removal);
            removed = removed || (at != std::string::npos && at + removal.size() == line.size());
        }
        EXPECT_TRUE(removed) << "the pickup was never removed from the pool";
    } else {
        EXPECT_LT(taken, 0) << "a hero on the ground took the pickup at step " << taken;
    }
    EXPECT_EQ(game::cg().gameState, kLevelComplete)
        << "hero at x " << game::cg().hero->posX << " after " << drv.stepIndex() << " steps";
    EXPECT_NE(game::cg().levelFinished, 0);
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
    // Every sound the run asked for is one the demo holds and loads.
    const std::set<int> sounds = loadableSounds();
    EXPECT_TRUE(sounds.count(22));
    for (const std::string& line : drv.trace())
        if (const int id = soundOf(line); id >= 0) {
            EXPECT_TRUE(sounds.count(id)) << "sound " << id << " asked for, not loadable: " << line;
        }
}

INSTANTIATE_TEST_SUITE_P(Runs, AutoRunPlay, ::testing::ValuesIn(kRuns),
                         [](const ::testing::TestParamInfo<KeyRun>& i) { return std::string(i.param.name); });

}  // namespace

// The boss stages of two arenas (stages 6, 8 and 9), loaded as the game
// loads them: the first arena's boss with its camera limits, a gate the
// hero cannot pass; the first boss's defeat script opens the gate (its
// collision and painted cells) and lets the camera follow on; entering the second
// arena hands the camera to it and brings its boss into play; the second
// boss's defeat script ends the level. The folded trigger stages (3 and 4)
// are played to their ends by keys alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/paint.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/variables.h"
#include "game/world/camera.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/demo_game.h"

namespace {

constexpr int kGateColumn = 23, kArenaWidth = 30 * 36;

cActor* activeOfType(jint type) {
    for (jint k = 0; k < game::cg().activeActorCount; ++k)
        if (cActor* a = game::activeActor(k); a && a->type == type) return a;
    return nullptr;
}

std::vector<jint> limits() {
    std::vector<jint> v;
    for (jint i = 0; i < 4; ++i) v.push_back(game::world::cameraLimit(i));
    return v;
}

struct Pair {
    int stage, first, second;
};

class TwoArenas : public testing::TestWithParam<Pair> {};

TEST_P(TwoArenas, TheFirstBossOpensTheWayToTheSecondWhoseDefeatEndsTheStage) {
    const Pair p = GetParam();
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(p.stage);
    o.input = {{0, stepdriver::InputEvent::Kind::Down, -4, 0, 0}};  // walk right
    std::string error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    for (int i = 0; i < 5; ++i) drv.step();

    // The first arena: its boss in play, the second's not; its limits; the
    // gate stops the hero (put just before it, walking right).
    cActor* first = activeOfType(p.first);
    ASSERT_NE(first, nullptr) << "the first arena's boss is not in play";
    EXPECT_EQ(activeOfType(p.second), nullptr) << "the second arena's boss plays already";
    EXPECT_EQ(limits(), (std::vector<jint>{36, 0, 836, 432}));
    cActor* hero = game::cg().hero;
    ASSERT_NE(hero, nullptr);
    cActor::moveTo(hero, (kGateColumn * 36 - 80) << 8, hero->posY << 8);
    for (int i = 0; i < 30; ++i) drv.step();
    ASSERT_NE(game::cg().hero, nullptr);
    EXPECT_LT(game::cg().hero->posX, kGateColumn * 36) << "the hero passed the gate";
    EXPECT_EQ(game::world::collisionCell(kGateColumn, 5) & 0x1FFF, game::world::kWall);
    // The first boss's defeat names the script that opens the way (type 21
    // keeps the script's index in params[5], the others its id in params[6]).
    const jint openWay = game::world::findScriptById(kit::kFirstBossDefeatScript);
    ASSERT_GE(openWay, 0);
    if (p.first == 21) EXPECT_EQ(first->getParamOr(5), openWay);
    else EXPECT_EQ(first->getParamOr(6), kit::kFirstBossDefeatScript);

    // The boss defeated (out of play) and its defeat script: the gate's cells
    // are gone from the collision and the painted layer, the camera may
    // follow the hero on (short of the second arena).
    game::removeActor(first, true);
    game::world::endAllLevelScripts();
    game::world::startScript(openWay);
    drv.step();
    EXPECT_LT(game::world::collisionCell(kGateColumn, 5), 0);
    ShortArray* painted = game::world::layerCells(2);
    ASSERT_NE(painted, nullptr);
    EXPECT_EQ(painted->data()[5 * game::cg().collisionWidth + kGateColumn], -1);
    EXPECT_EQ(limits(), (std::vector<jint>{36, 0, kArenaWidth - 36, 432}));

    // Walking on, the hero reaches the second arena, which takes the camera
    // and brings its boss into play.
    bool inSecond = false, secondEarly = false;
    for (int i = 0; i < 400 && !inSecond; ++i) {
        drv.step();
        inSecond = limits() == std::vector<jint>{kArenaWidth + 36, 0, kArenaWidth + 836, 432};
        secondEarly = secondEarly || (!inSecond && activeOfType(p.second));
    }
    EXPECT_FALSE(secondEarly) << "the second boss came into play before the camera turned to its arena";
    ASSERT_TRUE(inSecond) << "the second arena never took the camera; hero at " << game::cg().hero->posX;
    for (int i = 0; i < 60 && !activeOfType(p.second); ++i) drv.step();
    EXPECT_NE(activeOfType(p.second), nullptr) << "the second arena's boss never came into play";
    EXPECT_EQ(game::cg().levelFinished, 0);

    // The second boss's defeat script ends the level.
    const jint end = game::world::findScriptById(kit::kBossDefeatScript);
    ASSERT_GE(end, 0);
    game::world::endAllLevelScripts();
    game::world::startScript(end);
    for (int i = 0; i < 10 && !game::cg().levelFinished; ++i) drv.step();
    EXPECT_NE(game::cg().levelFinished, 0);
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
}

std::vector<Pair> pairs() {
    std::vector<Pair> v;
    const std::map<std::string, int> types = {{"arena102", 102}, {"arena92", 92}, {"arena21", 21},   {"arena24", 24},
                                              {"arena33", 33},   {"arena94", 94}, {"arena97", 97}};
    for (const kit::DemoStage& d : kit::demoStages())
        if (d.bossEnd && d.folded) v.push_back({d.stage, types.at(d.folded), types.at(d.family)});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Demo, TwoArenas, testing::ValuesIn(pairs()),
                         [](const testing::TestParamInfo<Pair>& info) { return "stage" + std::to_string(info.param.stage); });

// The trigger stages that play a second family after their own, by keys
// alone: the hero walks right, jumps where the way asks for it, and meets
// the second family's actors on the way to the end.
struct KeyRun {
    int stage;
    std::string keys;
    std::vector<int> types;  // the second family's types, met on the way
};

class FoldedStage : public testing::TestWithParam<KeyRun> {};

// Steps from the stage's start until the side panel is in: while it slides
// in the hero's keys are held back, so a key script counts from there.
int panelInSteps(int stage) {
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(stage);
    std::string error;
    EXPECT_TRUE(drv.load(o, error)) << error;
    int n = 0;
    while (game::hasPanelOffset() && n < 200) {
        drv.step();
        ++n;
    }
    EXPECT_LT(n, 200) << "the panel never came in";
    return n;
}

TEST_P(FoldedStage, PlaysToItsEndByKeys) {
    const KeyRun& k = GetParam();
    const int offset = panelInSteps(k.stage);
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(k.stage);
    o.seed = 11;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(k.keys, o.input, error)) << error;
    for (stepdriver::InputEvent& e : o.input) e.step += offset;
    ASSERT_TRUE(drv.load(o, error)) << error;
    std::set<int> met;
    int deaths = 0;
    for (int i = 0; i < 1200 && !game::cg().levelFinished; ++i) {
        drv.step();
        for (const std::string& line : drv.lastLines()) {
            if (line.find(" sound id=2") != std::string::npos && line.size() == line.find(" sound id=2") + 11) ++deaths;
            const size_t at = line.find(" type=");
            if (line.find(" actor ") != std::string::npos && at != std::string::npos) met.insert(std::atoi(line.c_str() + at + 6));
        }
    }
    EXPECT_NE(game::cg().levelFinished, 0) << "hero at x " << game::cg().hero->posX << " after " << drv.stepIndex();
    EXPECT_EQ(game::cg().gameState, 21);
    EXPECT_EQ(deaths, 0);
    for (int t : k.types) EXPECT_TRUE(met.count(t)) << "type " << t << " never in play";
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
}

// Stage 3: the items, then the platform items: the walk jumps every 20
// steps (over the pushers, the items and the container). Stage 4: the
// movers, then the carriers: onto the carrying platform, over the timed
// animation and the spinner, under the deadly zone, along the carriers,
// and off the bar the push zone lifts the hero to.
std::vector<KeyRun> keyRuns() {
    std::string walk = "0 down right\n";
    for (int k = 5; k < 600; k += 20)
        walk += std::to_string(k) + " down up\n" + std::to_string(k + 8) + " up up\n" + std::to_string(k + 9) +
                " down right\n";
    std::string movers = "0 down right\n";
    for (int k : {18, 57, 77, 277, 328})
        movers += std::to_string(k) + " down up\n" + std::to_string(k + 8) + " up up\n" + std::to_string(k + 9) +
                  " down right\n";
    return {{3, walk, {39, 44, 45, 58}}, {4, movers, {52, 53, 61, 64, 75}}};
}

INSTANTIATE_TEST_SUITE_P(Demo, FoldedStage, testing::ValuesIn(keyRuns()),
                         [](const testing::TestParamInfo<KeyRun>& info) { return "stage" + std::to_string(info.param.stage); });

// The mini-bosses (types 21, 24 and 33) of the two-arena stages mark their
// anchors and drops with the screen marks sprite (10, 18): a loaded stage
// has it, and a mark made over the second arena stands inside the view,
// 5 px below its frame's height under the view's top + 50.
TEST_P(TwoArenas, MiniBossStagesHoldTheScreenMarks) {
    const Pair p = GetParam();
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(p.stage);
    std::string error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    drv.step();
    BSprite* marks = game::getSpriteById(10, 18);
    ASSERT_NE(marks, nullptr) << "stage " << p.stage;
    cActor* mark = game::spawnScreenEffect(kArenaWidth + 436, 50, 32, false);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->sprite, marks);
    EXPECT_EQ(mark->layer, 12);
    const jint viewY = mark->posY - game::cg().cameraY + 240;
    EXPECT_GT(viewY, 55);
    EXPECT_LT(viewY, 480);
    EXPECT_EQ(mark->timer, 32);
}

TEST(TwoArenaStages, AreTheBossStagesSixEightAndNine) {
    std::vector<int> stages;
    for (const Pair& p : pairs()) stages.push_back(p.stage);
    EXPECT_EQ(stages, (std::vector<int>{6, 8, 9}));
}

}  // namespace

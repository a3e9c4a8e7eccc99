// The headless step driver: input scripts, the first-divergence report, a
// walk and skid on the flat fixture through the whole in-game step (values
// worked out by hand), replays that repeat exactly, invariants, and the
// golden traces of the demo stage (BRAMBLE_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "tests/support/stepdriver.h"
#include "tools/kit/bytes.h"
#include "tools/kit/hero_fixtures.h"

namespace {

using stepdriver::InputEvent;

// The value of field `name` in a trace line; "" when absent.
std::string field(const std::string& line, const std::string& name) {
    std::istringstream in(line);
    std::string w;
    while (in >> w)
        if (w.rfind(name + "=", 0) == 0) return w.substr(name.size() + 1);
    return {};
}

std::vector<std::string> heroLines(const std::vector<std::string>& trace) {
    std::vector<std::string> out;
    for (const std::string& l : trace)
        if (l.find(" hero ") != std::string::npos) out.push_back(l);
    return out;
}

TEST(StepInput, ScriptsParse) {
    std::vector<InputEvent> events;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("# walk\n5 up right\n2 down right  # go\n\n7 touch 10 20\n8 lift 10 20\n",
                                             events, error))
        << error;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].step, 2);  // sorted by step
    EXPECT_EQ(events[0].kind, InputEvent::Kind::Down);
    EXPECT_EQ(events[0].code, -4);
    EXPECT_EQ(events[1].kind, InputEvent::Kind::Up);
    EXPECT_EQ(events[2].kind, InputEvent::Kind::Touch);
    EXPECT_EQ(events[2].x, 10);
    EXPECT_EQ(events[3].kind, InputEvent::Kind::Lift);

    const char* bad[] = {"x down right", "3 down nokey", "3 hop", "3 touch 10", "3 down 5 extra", "-1 down 5"};
    for (const char* text : bad) {
        events.clear();
        EXPECT_FALSE(stepdriver::parseInputScript(text, events, error)) << text;
        EXPECT_NE(error.find("input line 1"), std::string::npos) << text;
    }
}

TEST(StepCompare, FirstDivergence) {
    const std::vector<std::string> a = {"0 hero game=14 state=0 x=10 vx=0", "0 sound id=3",
                                        "1 hero game=14 state=1 x=12 vx=1152"};
    EXPECT_FALSE(stepdriver::compareTraces(a, a));

    auto b = a;
    b[2] = "1 hero game=14 state=1 x=13 vx=1152";
    auto d = stepdriver::compareTraces(a, b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->step, 1);
    EXPECT_EQ(d->field, "hero.x");
    EXPECT_EQ(d->expected, "12");
    EXPECT_EQ(d->got, "13");
    EXPECT_EQ(stepdriver::describe(*d), "first divergence at step 1, hero.x: expected 12, got 13");

    b = a;
    b[1] = "0 remove id=4";  // another kind of record
    d = stepdriver::compareTraces(a, b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->step, 0);
    EXPECT_EQ(d->field, "record");

    b = a;
    b.pop_back();
    d = stepdriver::compareTraces(a, b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->field, "length");
    EXPECT_EQ(d->step, 1);
    EXPECT_EQ(d->got, "(end of trace)");
}

TEST(StepDriverRun, UnknownLevelIsRefused) {
    stepdriver::Options o;
    o.level = "nowhere";
    const stepdriver::Run run = stepdriver::runLevel(o);
    EXPECT_FALSE(run.ok);
    EXPECT_NE(run.error.find("unknown level"), std::string::npos);
}

// Standing on the flat map, then right held from step 2 to 11: the walk
// speeds up 1152, 3456, 4800 (the walking limit), and after the release
// the skid slows 4680, 3600, 1680; the step whose physics gives 960 ends in
// STAND, whose entry stops the hero (a line shows the step's end).
TEST(StepDriverRun, WalkAndSkidOnTheFlatMap) {
    stepdriver::Options o;
    o.level = "flat";
    o.heroX = 200;
    o.heroY = 360;
    o.steps = 22;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("2 down right\n12 up right\n", o.input, error)) << error;
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_TRUE(run.violations.empty()) << run.violations.front();
    const auto hero = heroLines(run.trace);
    ASSERT_EQ(hero.size(), 22u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(field(hero[i], "state"), "0") << hero[i];
        EXPECT_EQ(field(hero[i], "result"), "0x100008") << hero[i];
        EXPECT_EQ(field(hero[i], "vy"), "6912") << hero[i];
    }
    std::vector<std::string> walk, skid;
    for (int i = 3; i <= 5; ++i) walk.push_back(field(hero[i], "vx"));
    EXPECT_EQ(walk, (std::vector<std::string>{"1152", "3456", "4800"}));
    EXPECT_EQ(field(hero[12], "state"), "6") << "SKID";
    for (int i = 13; i <= 15; ++i) skid.push_back(field(hero[i], "vx"));
    EXPECT_EQ(skid, (std::vector<std::string>{"4680", "3600", "1680"}));
    EXPECT_EQ(field(hero[15], "state"), "6");
    EXPECT_EQ(field(hero[16], "state"), "0");
    EXPECT_EQ(field(hero[16], "vx"), "0");
    EXPECT_EQ(field(hero[21], "state"), "0");
}

// A map without a wall column at its left end: outside the map is wall, so
// the hero walking left stops with its box against x 0 and stays there (it
// slipped out up to 35 px and bounced between x -1 and 17 each step).
TEST(StepDriverRun, TheLeftMapEdgeStopsTheHeroWithoutAWallColumn) {
    std::string level = "# no edge walls\nlayer 4 20 10\n";
    for (int r = 0; r < 10; ++r) level += std::string(20, r >= 8 ? '6' : '.') + "\n";
    level += "object 0 1 200 288 7 0 160 2 -1 -1 -1 -1\nrect 10 0 0 720 360\n";
    const std::string path = "edge.lvl";
    kit::writeFile(path, kit::Bytes(level.begin(), level.end()));
    stepdriver::Options o;
    o.level = "file:" + path;
    o.steps = 40;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("2 down left\n", o.input, error)) << error;
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;
    const auto hero = heroLines(run.trace);
    ASSERT_EQ(hero.size(), 40u);
    for (const std::string& l : hero) EXPECT_GE(std::atoi(field(l, "x").c_str()), 16) << l;
    for (size_t i = 30; i < hero.size(); ++i) EXPECT_EQ(field(hero[i], "x"), field(hero[29], "x")) << hero[i];
}

TEST(StepDriverRun, OneScriptAndSeedGiveOneTrace) {
    stepdriver::Options o;
    o.level = "demo";
    o.steps = 60;
    o.seed = 1234;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("70 down right\n", o.input, error));
    const stepdriver::Run first = stepdriver::runLevel(o);
    const stepdriver::Run second = stepdriver::runLevel(o);
    ASSERT_TRUE(first.ok && second.ok);
    EXPECT_FALSE(stepdriver::compareTraces(first.trace, second.trace));
}

// Stage 0 of the kit's demo data started as the game starts a level (the
// loading table's level records over the data archive, then play) plays
// exactly as the demo stage put in place directly.
TEST(StepDriverRun, StageZeroThroughTheLoadingPathPlaysTheDemoStage) {
    stepdriver::Options o;
    o.steps = 110;
    o.seed = 5;
    o.level = "stage:0";
    const stepdriver::Run loaded = stepdriver::runLevel(o);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    for (const std::string& v : loaded.violations) ADD_FAILURE() << v;
    o.level = "demo";
    const stepdriver::Run direct = stepdriver::runLevel(o);
    ASSERT_TRUE(direct.ok) << direct.error;
    if (auto d = stepdriver::compareTraces(direct.trace, loaded.trace)) ADD_FAILURE() << stepdriver::describe(*d);
}

// A level from a description file: a walker record (subtype 10, type 6)
// beside the hero is streamed in on the first step and traced every step.
TEST(StepDriverRun, ActorLinesAndSpawnEvents) {
    const std::string path = "flat_walker.lvl";
    const std::string text = kit::heroFixtureLevel(kit::HeroFixture::Flat) + "object 10 20 300 360 7 0 160\n";
    kit::writeFile(path, kit::Bytes(text.begin(), text.end()));
    stepdriver::Options o;
    o.level = "file:" + path;
    o.heroX = 200;
    o.heroY = 360;
    o.steps = 3;
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    const std::vector<std::string> expected = {
        "0 actor id=20 type=6 sub=10 ai=0 x=300 y=360 anim=0 contact=0x0 hp=-1",
        "0 spawn id=20 type=6 sub=10",
        "1 actor id=20 type=6 sub=10 ai=0 x=300 y=360 anim=0 contact=0x0 hp=-1",
    };
    std::vector<std::string> got;
    for (const std::string& l : run.trace)
        if (l.find(" hero ") == std::string::npos) got.push_back(l);
    got.resize(std::min<size_t>(got.size(), 3));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(field(run.trace[0], "actors"), "1");
    o.level = "file:missing.lvl";
    EXPECT_FALSE(stepdriver::runLevel(o).ok);
}

// A seeded random-input soak on the demo stage: every invariant holds on
// every step, and the same seed gives the same trace twice.
TEST(StepDriverRun, RandomInputSoakKeepsTheInvariants) {
    const char* keys[] = {"left", "right", "up", "down", "fire", "1", "2", "3", "4", "6", "7", "8", "9"};
    std::mt19937 rng(20261211);
    std::string script;
    for (int step = 0; step < 900; ++step) {
        const unsigned r = rng() % 100;
        if (r < 12) script += std::to_string(step) + " down " + keys[rng() % std::size(keys)] + "\n";
        else if (r < 20) script += std::to_string(step) + " up " + keys[rng() % std::size(keys)] + "\n";
    }
    stepdriver::Options o;
    o.level = "demo";
    o.steps = 900;
    o.seed = 77;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(script, o.input, error)) << error;
    const stepdriver::Run first = stepdriver::runLevel(o);
    ASSERT_TRUE(first.ok) << first.error;
    for (const std::string& v : first.violations) ADD_FAILURE() << v;
    const stepdriver::Run second = stepdriver::runLevel(o);
    EXPECT_FALSE(stepdriver::compareTraces(first.trace, second.trace));
}

// Golden traces of the demo stage.
struct GoldenCase {
    const char* name;
    const char* input;  // null: golden/<name>.input
    int steps;
};

class DemoGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(DemoGolden, MatchesTheRecordedTrace) {
    const GoldenCase& c = GetParam();
    stepdriver::Options o;
    o.level = "demo";
    o.steps = c.steps;
    o.seed = 5;
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::string folder = std::string(root) + "/tests/game/world/golden/";
    std::string script = c.input ? c.input : "";
    if (!c.input) {
        std::vector<std::string> lines;
        ASSERT_TRUE(stepdriver::readLines(folder + c.name + ".input", lines)) << "missing input " << c.name;
        for (const std::string& l : lines) script += l + "\n";
    }
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(script, o.input, error)) << error;
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;
    const std::string path = folder + c.name + ".trace";
    if (std::getenv("BRAMBLE_UPDATE_GOLDEN")) { ASSERT_TRUE(stepdriver::writeLines(path, run.trace)); }
    std::vector<std::string> golden;
    ASSERT_TRUE(stepdriver::readLines(path, golden)) << "missing golden " << path;
    if (auto d = stepdriver::compareTraces(golden, run.trace)) ADD_FAILURE() << stepdriver::describe(*d);
}

INSTANTIATE_TEST_SUITE_P(
    Demo, DemoGolden,
    testing::Values(
        // The intro alone: the camera pans right and back, the checkpoint is taken.
        GoldenCase{"demo_intro", "", 110},
        // After the intro: walk right up the ramp, jump onto the block,
        // on to the step down, a standing jump, then a running jump over the
        // pit, along the conveyor and down, stopping before the far wall. The
        // script is golden/demo_walk.input, the file the step tool's
        // documented example runs.
        GoldenCase{"demo_walk", nullptr, 300}),
    [](const testing::TestParamInfo<GoldenCase>& i) { return std::string(i.param.name); });

}  // namespace

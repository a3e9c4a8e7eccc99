// The headless drivers' own guarantees: a whole-program run is the same
// run again in the same process, also after a step-driver run in between
// (no process-wide state leaks from one application to the next); frame
// hashes follow the painted screen; the step driver reports a state
// without a handler; a program over a damaged archive fails in order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/flow/states.h"
#include "tests/support/gamedriver.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo.h"

namespace {

constexpr int kSteps = 1200;

std::vector<std::string> programRun(uint32_t seed) {
    gamedriver::Options o;
    o.folder = std::filesystem::current_path().string() + "/driver-program";
    o.seed = seed;
    o.frames = {300, 700, 1100};
    gamedriver::GameDriver d;
    std::string error;
    EXPECT_TRUE(d.boot(o, error)) << error;
    // Fire answers the questions and takes the menus' first rows into a
    // level; then seeded random keys, touches and drags in play.
    constexpr int32_t kPlay = 14;
    EXPECT_TRUE(d.pressUntil(-5, kPlay, 1000)) << "play not reached by the confirm key";
    d.addInput(stepdriver::randomInput(seed, kSteps - d.stepIndex(), false), d.stepIndex());
    while (d.stepIndex() < kSteps && d.step()) {
    }
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
    { std::string last; for (const std::string& l : d.trace()) if (l.find(" game state=") != std::string::npos) { std::string s = l.substr(l.find("state=")); s = s.substr(0, s.find(' ')); if (s != last) { printf("DBG %s %s\n", l.substr(0, l.find(' ')).c_str(), s.c_str()); last = s; } } }
    return d.trace();
}

TEST(Drivers, AWholeProgramRunRepeatsExactlyAlsoAfterAStepDriverRun) {
    const std::vector<std::string> first = programRun(7);
    ASSERT_FALSE(first.empty());
    {
        stepdriver::Options o;
        o.level = "enemies";
        o.steps = 200;
        o.input = stepdriver::randomInput(3, 200, false);
        const stepdriver::Run run = stepdriver::runLevel(o);
        ASSERT_TRUE(run.ok) << run.error;
    }
    const std::vector<std::string> second = programRun(7);
    const auto d = stepdriver::compareTraces(first, second);
    EXPECT_FALSE(d) << stepdriver::describe(*d);
    // The run reached play, and the frames at the three steps differ.
    size_t frames = 0, play = 0;
    std::vector<std::string> hashes;
    for (const std::string& l : first) {
        if (l.find(" frame hash=") != std::string::npos) {
            ++frames;
            hashes.push_back(l.substr(l.find("hash=")));
        }
        if (l.find(" hero game=14") != std::string::npos) ++play;
    }
    EXPECT_EQ(frames, 3u);
    EXPECT_GT(play, 0u);
    ASSERT_EQ(hashes.size(), 3u);
    EXPECT_NE(hashes[0], hashes[1]);
    EXPECT_NE(hashes[1], hashes[2]);
}

TEST(Drivers, TheStepDriverReportsAStateWithoutAHandler) {
    stepdriver::Options o;
    o.level = "flat";
    o.heroX = 200;
    o.heroY = 360;
    stepdriver::StepDriver d;
    std::string error;
    ASSERT_TRUE(d.load(o, error)) << error;
    d.step();
    EXPECT_TRUE(d.violations().empty());
    const game::StateHandler play = game::stateHandler(14);
    game::setStateHandler(14, nullptr);
    d.step();
    game::setStateHandler(14, play);
    ASSERT_EQ(d.violations().size(), 1u);
    EXPECT_EQ(d.violations()[0], "step 1: game state 14 has no handler");
    EXPECT_TRUE(stepdriver::stateIsHandled(16)) << "the end state is the run loop's";
}

}  // namespace

namespace {

// A device whose archive is cut short or missing: the program starts,
// logs what it cannot read and keeps running its states without a crash
// or a Java exception left over.
TEST(Drivers, AProgramOverADamagedArchiveFailsInOrder) {
    for (const size_t keep : {size_t(0), size_t(64), size_t(5000), size_t(40000)}) {
        SCOPED_TRACE("archive cut to " + std::to_string(keep) + " bytes");
        const std::string folder = std::filesystem::current_path().string() + "/driver-damaged";
        std::filesystem::remove_all(folder);
        const std::string bar = kit::buildDemoRoot(folder);
        std::filesystem::resize_file(bar, keep);
        gamedriver::Options o;
        o.folder = folder;
        o.freshDevice = false;
        o.input = stepdriver::randomInput(5, 600, false);
        gamedriver::GameDriver d;
        std::string error;
        if (!d.boot(o, error)) continue;  // refused at start: orderly too
        while (d.stepIndex() < 600 && d.step()) {
        }
        for (const std::string& v : d.violations()) ADD_FAILURE() << v;
    }
}

}  // namespace

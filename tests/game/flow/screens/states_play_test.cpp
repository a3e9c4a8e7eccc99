// The in-game state's request bits, level timer and shake, and the state
// after a death.
#include "game/flow/screens/states_play.h"

#include <utility>
#include <vector>

#include "game/flow/variables.h"
#include "game/world/scripts.h"
#include "tools/kit/level.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/flowseams.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cg;
using game::cg;
using screenstest::ScreensTest;
using Requests = std::vector<std::pair<jint, jint>>;

class Play : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        cg().stage = 2;
        cg().nextStage = 2;
    }
};

TEST_F(Play, RequestBitsInTheirOrder) {
    struct Case {
        const char* what;
        jint flags;
        bool script;
        jint flagsAfter;
        bool ended;
        Requests requests;
    };
    const Case cases[] = {
        {"64 toggles and ends", 64 | 4, false, 4, true, {}},
        {"4 ends the level", 4 | 2, false, 2, true, {{0, 21}}},
        {"64 and 4 wait for the scripts", 64 | 4, true, 64 | 4, false, {}},
        {"2 acts during a script", 64 | 2, true, 64, false, {}},
        {"2 before 128", 2 | 128, false, 128, false, {}},
        {"128", 128 | 32, false, 32, false, {}},
        {"32 waits for the scripts", 32, true, 32, false, {}},
        {"32", 32, false, 0, false, {}},
    };
    for (const Case& c : cases) {
        game::requestFlags() = c.flags;
        screenstest::requests().clear();
        EXPECT_EQ(game::applyRequestBits(c.script), c.ended) << c.what;
        screenstest::drain();
        EXPECT_EQ(game::requestFlags(), c.flagsAfter) << c.what;
        EXPECT_EQ(screenstest::requests(), c.requests) << c.what;
    }
}

TEST_F(Play, LevelTimerKillsBelowZeroUnlessHeld) {
    // The kill takes the hero's health (game variable 3).
    game::setVariable(3, 5, true);
    cg().levelTimer = 2;
    for (int i = 0; i < 2; ++i) game::stepLevelTimer();
    EXPECT_EQ(cg().levelTimer, 0);
    EXPECT_EQ(game::getVariable(3), 5) << "not at 0";
    game::stepLevelTimer();
    EXPECT_EQ(game::getVariable(3), 0) << "killed";
    EXPECT_EQ(cg().levelTimer, -1);
    game::setVariable(3, 5, true);
    game::stepLevelTimer();
    EXPECT_EQ(game::getVariable(3), 5) << "stopped";
    cg().levelTimerHold = 1;
    cg().levelTimer = 0;
    game::stepLevelTimer();
    EXPECT_EQ(game::getVariable(3), 5) << "a held timer spares the hero";
    EXPECT_EQ(cg().levelTimer, -1);
    EXPECT_EQ(cg().levelStats->data()[10], 5) << "every step counts";
}

TEST_F(Play, ShakeRunsThePatternBackwards) {
    cg().shakeTimer = 9;
    std::vector<jint> seen;
    for (int i = 0; i < 10; ++i) {
        game::stepShake();
        seen.push_back(cg().shakeOffset);
    }
    // Pattern {-3, 3, -3, 3, -2, 2, 0} at 8, 7, ... 0 (mod 7), then 0.
    EXPECT_EQ(seen, (std::vector<jint>{3, -3, 0, 2, -2, 3, -3, 3, -3, 0}));
}

TEST_F(Play, UpdateRestartsWhenTheNextStageChanged) {
    cg().nextStage = 5;
    screenstest::run(game::stateGameplay, 0);
    EXPECT_EQ(cg().stage, 5);
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 11}}));
}

TEST_F(Play, AfterDeathWaitsForThePanel) {
    screenstest::run(game::stateAfterDeath, 2);
    EXPECT_EQ(cg().panelOffset, 240);
    cg().panelPosition = 0;
    int steps = 0;
    while (screenstest::requests().empty() && steps < 100) {
        screenstest::run(game::stateAfterDeath, 0);
        ++steps;
    }
    EXPECT_EQ(steps, 25) << "24 slide steps, then the choice";
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 19}})) << "no lives left: game over";
    screenstest::requests().clear();
    // Lives left: the level is set up again from the checkpoint (the hero
    // it holds, the level timer stopped, a life spent) and play resumes.
    cActor* hero = screenstest::makeHero();
    cg().checkpointActor = hero;
    cg().hero = nullptr;
    cg().levelTimer = 50;
    game::setVariable(5, 2, false);
    screenstest::run(game::stateAfterDeath, 0);
    EXPECT_EQ(screenstest::requests(), (Requests{{0, 14}}));
    EXPECT_EQ(cg().hero, hero) << "the hero of the checkpoint";
    EXPECT_EQ(cg().levelTimer, -1);
    EXPECT_EQ(game::getVariable(5), 1) << "a life spent";
}

}  // namespace

#include "game/flow/flow_statics.h"
#include "game/flow/screens/screens.h"

namespace {

using game::cg;

// The world's real level scripts, from a kit-made script table.
class Cutscene : public ScreensTest {
protected:
    void loadScripts(const std::string& description) {
        kit::LevelModel m = kit::parseLevelDescription(description);
        ASSERT_TRUE(m.scripts.has_value());
        const kit::Bytes bytes = kit::encodeLevelScripts(*m.scripts);
        ByteArray* table = newByteArray(static_cast<jint>(bytes.size()));
        for (size_t i = 0; i < bytes.size(); ++i) table->data()[i] = static_cast<jbyte>(bytes[i]);
        game::world::loadLevelRecords(table);
    }
};

// A scene that waits a minute (wait mode 3) at its first keyframe and moves
// the side panel at frame 40: about a thousand frames without a skip.
const char* const kLongScene = "script 1\n target none\n  key 0\n   op 116 3 60000\n  key 40\n   op 37 1\n";

TEST_F(Cutscene, RightSoftKeySkipsAndTheScriptsFastForward) {
    loadScripts(kLongScene);
    game::world::startScript(0);
    game::world::runLevelScripts();  // frame 0 sets the wait
    ASSERT_EQ(cg().scriptBlocked, 1);
    ASSERT_TRUE(game::world::isAnyScriptActive());
    cg().panelOffset = 0;
    cg().cutsceneSkippable = true;
    screenstest::setKeys(0x20000);
    EXPECT_FALSE(game::stepSkipAndPause());
    EXPECT_TRUE(cg().skipCutscene);
    EXPECT_EQ(cg().scriptWaitMode, 9) << "the skip ends the wait";
    EXPECT_EQ(cg().scriptBlocked, 0);
    EXPECT_EQ(IntArray::at(cg().displayValues, 0), 15);
    // The scene runs on to its end in the one step: the minute's wait is
    // cut short and the last keyframe reached.
    game::fastForwardScripts();
    EXPECT_FALSE(game::world::isAnyScriptActive()) << "the skipped scene ended";
    EXPECT_EQ(cg().panelOffset, 50) << "its last keyframe ran";
    EXPECT_FALSE(cg().skipCutscene);
    EXPECT_EQ(cg().dialogMode, -1);
}

TEST_F(Cutscene, TouchSkipWaitsForItsAcknowledgement) {
    cg().cutsceneSkippable = true;
    cg().touchActive = true;
    cg().skipHintPending = true;
    // The corner tapped with a hint pending: acknowledged, not skipped.
    IntArray* corner = cg().touchRect3;
    ASSERT_NE(corner, nullptr);
    auto tap = [&] {
        cg().tapX = corner->data()[0] + 5;
        cg().tapY = corner->data()[1] + 5;
    };
    tap();
    EXPECT_FALSE(game::stepSkipAndPause());
    EXPECT_FALSE(cg().skipCutscene);
    EXPECT_FALSE(cg().skipHintPending);
    EXPECT_TRUE(cg().skipArmed);
    // The next tap disarms and ends the update; the one after skips.
    tap();
    EXPECT_TRUE(game::stepSkipAndPause());
    EXPECT_FALSE(cg().skipArmed);
    EXPECT_FALSE(cg().skipCutscene);
    tap();
    EXPECT_FALSE(game::stepSkipAndPause());
    EXPECT_TRUE(cg().skipCutscene);
}

TEST_F(Cutscene, AScriptWithoutRecordsEndsByItsFrameCount) {
    // A damaged table whose script has no records never reaches a last
    // keyframe; its frame counter runs out (past 32767) and the skip ends,
    // well inside the fast-forward's bound.
    screenstest::LogCapture log;
    cg().scriptIds = newShortArray(1);
    cg().scriptStates = newShortArray(1);
    cg().scriptCommands = newObjectArray(cid::ObjectArray, 1);
    cg().scriptReadOffsets = newObjectArray(cid::IntArray, 1);
    cg().scriptTargets = newObjectArray(cid::IntArray, 1);
    ASSERT_TRUE(game::world::isAnyScriptActive());
    cg().skipCutscene = true;
    game::fastForwardScripts();
    EXPECT_FALSE(game::world::isAnyScriptActive());
    EXPECT_FALSE(log.contains("still running"));
    EXPECT_FALSE(cg().skipCutscene);
}

TEST_F(Cutscene, PauseNeedsAReleasedTouchAndAClosedPanel) {
    screenstest::setKeys(0x40000);
    cg().touchActive = false;
    EXPECT_FALSE(game::stepSkipAndPause());
    cg().touchActive = true;
    cg().panelOffset = 240;
    EXPECT_FALSE(game::stepSkipAndPause());
    cg().panelOffset = 0;
    EXPECT_TRUE(game::stepSkipAndPause());
    screenstest::drain();
    ASSERT_FALSE(screenstest::requests().empty());
    EXPECT_EQ(screenstest::requests().back().second, 20);
}

}  // namespace

// Level scripts: glides landing on their keyframe, late keyframes, wait
// modes, scene ends with a queued scene, events, global commands (what they
// change, the sounds they ask for, what the next paint shows, one on a demo
// stage the game loads) and the skipping rules, and tables refused whole.
#include <functional>
#include <optional>

#include "game/flow/flow_statics.h"
#include "game/flow/screens/screens.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/world/camera.h"
#include "game/world/map.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/firework.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/states_play.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"
#include "game/flow/sound.h"
#include "game/sprite/sprite.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/sprite.h"
#include "tests/game/sprite/support.h"
#include "tests/game/world/seeds.h"
#include "tests/game/world/support.h"

namespace {

using namespace worldtest;
namespace w = game::world;


const char* const kRoom = R"(
layer 4 60 20
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
666666666666666666666666666666666666666666666666666666666666
)";

class ScriptTest : public WorldTest {
protected:
    void load(const std::string& scripts) {
        loadLevel(std::string(kRoom) + scripts);
        hero = makeHero(300, 19 * 36);
        mover = spawnRecord(kit::levelActorRecord(6, 7, 100, 300, 0, 0xA0, {10, 10}));
        game::cg().cameraX = 1000;
        game::cg().cameraY = 400;
    }
    cActor* hero = nullptr;
    cActor* mover = nullptr;
};

TEST_F(ScriptTest, GlideLandsOnItsFrame) {
    load("script 1\n target actor 7\n  key 5\n   op 12 160 360\n  key 6\n   op 22 3\n");
    w::startScript(0);
    std::vector<jint> xs;
    for (int t = 0; t <= 5; ++t) {
        w::runLevelScripts();
        xs.push_back(mover->posX);
    }
    // 60 px over 6 frames: 1/6, 1/5, ... of what is left.
    EXPECT_EQ(xs, (std::vector<jint>{110, 120, 130, 140, 150, 160}));
    EXPECT_EQ(mover->posY, 360);
    EXPECT_NE(mover->anim, 3);
    w::runLevelScripts();  // frame 6 reads the next keyframe
    EXPECT_EQ(mover->anim, 3);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().scriptStates->data()[0], -2);
}

TEST_F(ScriptTest, LateKeyframeAppliesStateButNoGoalOrEvents) {
    // The first keyframe holds the record until frame 7; the late one at
    // frame 3 is read then.
    load("script 1\n target actor 7\n  key 7\n  key 3\n   op 22 4\n   op 23 1\n   op 12 500 500\n   op 37 0\n");
    w::startScript(0);
    for (int i = 0; i < 9; ++i) w::runLevelScripts();
    EXPECT_EQ(mover->anim, 4);
    EXPECT_EQ(mover->facing, 1);
    EXPECT_EQ(mover->posX, 100);
    EXPECT_EQ(game::cg().levelFinished, 0) << "no event of the late keyframe";
}

TEST_F(ScriptTest, CameraGoalKeepsACoordinateForMinusOne) {
    load("script 1\n target camera\n  key 0\n   op 11 -1 100\n  key 1\n   op 11 -1 -1\n");
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().cameraX, 1000);
    EXPECT_EQ(game::cg().cameraY, 340);
    EXPECT_EQ(game::cg().cameraLocked, 1);
    // The scene ends: the camera lets go and snaps back to the hero (x 300,
    // so the view's left limit).
    w::runLevelScripts();
    EXPECT_EQ(game::cg().cameraLocked, 0);
    EXPECT_EQ(game::cg().cameraX, 400);
}

TEST_F(ScriptTest, WaitOfOneSecondAndOfThirtyMs) {
    struct Case {
        jint ms, framesStill;
    } cases[] = {{1000, 15}, {30, 0}};
    for (const Case& c : cases) {
        load("script 1\n target none\n  key 0\n   op 116 3 " + std::to_string(c.ms) +
             "\n  key 1\n   op 37 1\n");
        w::startScript(0);
        w::runLevelScripts();  // frame 0 sets the wait
        EXPECT_EQ(game::cg().scriptWaitTicks, w::msToFrames(c.ms));
        jint still = 0;
        while (game::cg().panelOffset != 50 && still < 40) {
            w::runLevelScripts();
            if (game::cg().panelOffset != 50) ++still;
        }
        EXPECT_EQ(still, c.framesStill) << c.ms;
    }
    EXPECT_EQ(w::msToFrames(1000), 16);
    EXPECT_EQ(w::msToFrames(30), 0);
}

TEST_F(ScriptTest, WaitModes) {
    load("script 1\n target none\n  key 0\n   op 37 4\n");
    struct Case {
        jint mode;
        std::function<void()> hold, release;
    } cases[] = {
        {0, [] { game::cg().dialogText = String::fromUtf8("x"); }, [] { game::cg().dialogText = nullptr; }},
        {1, [] { game::cg().panelPosition = 240; }, [] { game::cg().panelPosition = game::cg().panelOffset; }},
        {2, [&] { game::cg().cameraStepX = 3; }, [&] { game::cg().cameraStepX = 0; }},
        {5, [&] { game::cg().fireworksAlive = 2; }, [&] { game::cg().fireworksAlive = 0; }},
        {6, [&] { game::ca().heroState = 3; }, [&] { game::ca().heroState = 14; }},
        {7, [&] { game::ca().heroActionMask = 0; }, [&] { game::ca().heroActionMask = 128; }},
        {8, [] {}, [] { w::endScriptWait(); }},
    };
    for (const Case& c : cases) {
        c.hold();
        w::lockCamera(c.mode, 0);
        w::runLevelScripts();
        w::runLevelScripts();
        EXPECT_EQ(game::cg().scriptBlocked, 1) << c.mode;
        c.release();
        w::runLevelScripts();
        EXPECT_EQ(game::cg().scriptBlocked, 0) << c.mode;
        EXPECT_EQ(game::cg().scriptWaitMode, 9) << c.mode;
    }
    w::lockCamera(4, 0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().scriptBlocked, 0);
}

TEST_F(ScriptTest, AWaitSetByOneScriptDoesNotStopTheOtherThisFrame) {
    load("script 1\n target none\n  key 0\n   op 116 3 1000\n  key 1\n"
         "script 2\n target none\n  key 0\n   op 37 1\n");
    w::startScript(0);
    w::startScript(1);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().panelOffset, 50);
    EXPECT_EQ(game::cg().scriptStates->data()[1], -2);
}

TEST_F(ScriptTest, SceneEndWithAQueuedScene) {
    load("script 1\n target camera\n  key 0\n   op 107 2\n   op 38 3 4\n"
         "script 2\n target none\n  key 0\n   op 37 1\n");
    game::cg().checkpointAtSceneEnd = 1;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().scriptStates->data()[0], -2);
    EXPECT_EQ(game::cg().cameraLocked, 1);  // untouched: the next scene follows
    EXPECT_EQ(game::cg().checkpointAtSceneEnd, 1);
    EXPECT_EQ(game::cg().riseScroll, 1);
    EXPECT_TRUE(w::resumeBlockedScript());
    EXPECT_EQ(game::cg().scriptStates->data()[1], 0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().panelOffset, 50);
    EXPECT_EQ(game::cg().checkpointAtSceneEnd, 0);  // taken at the end of the last scene
    EXPECT_EQ(game::cg().checkpointActor, hero);
}

TEST_F(ScriptTest, EventsByArgumentCount) {
    load("");
    struct Case {
        jint kind, a, b, count;
        std::function<bool()> check;
    } cases[] = {
        {0, -1, -1, 1, [] { return game::cg().levelFinished == 1; }},
        {4, -1, -1, 1, [] { return game::cg().cutsceneSkippable == 1; }},
        {6, -1, -1, 1, [] { return game::ca().heroInputLock == 0x7FFFFFFF; }},
        {7, -1, -1, 1, [] { return game::ca().heroInputLock == 0; }},
        {12, -1, -1, 1, [] { return game::cg().scriptFlagA == 1; }},
        {2, 5, -1, 2, [] { return game::cg().levelVariant == 5; }},
        {2, 11, -1, 2, [] { return game::cg().levelVariant == 5; }},
        {3, 7, -1, 2, [] { return game::cg().riseScroll == 1 && game::cg().riseScrollStep == 7; }},
        {0, 4, -2, 3, [] {
             return game::cg().cameraFlags == 74 && game::cg().scrollDelay == -1 && game::cg().scrollStepX == 4 &&
                    game::cg().scrollStepY == -2 && (game::cg().hero->flags & 0x200);
         }},
        // The camera's transition reset: scroll off, camera mode 9 and the
        // hero's bit 0x200 (set by the case before) cleared.
        {3, -1, -1, 1, [] {
             return game::cg().cameraFlags == 9 && game::cg().scrollDelay == -1 && game::cg().scrollStepX == 0 &&
                    !(game::cg().hero->flags & 0x200) && game::cg().scriptKeepsCamera == 1;
         }},
    };
    for (const Case& c : cases) {
        w::handleScriptEvent(c.kind, c.a, c.b, c.count);
        EXPECT_TRUE(c.check()) << c.kind << "/" << c.count;
    }
}

// While skipping, command 120 scales at once and sizes the box from its
// unscaled size: a second scaling does not multiply the first one in.
TEST_F(ScriptTest, ScalingWhileSkippingSizesTheBoxFromItsUnscaledSize) {
    load("script 1\n target none\n  key 0\n   op 120 7 150 500\n"
         "script 2\n target none\n  key 0\n   op 120 7 200 500\n"
         "script 3\n target none\n  key 0\n   op 120 7 100 500\n");
    ASSERT_EQ(cActor::getWidth(mover), 32);
    game::cg().skipCutscene = 1;
    std::vector<jint> slotsBefore;
    for (jint i = 0; game::cg().tweenSlots && i < game::cg().tweenSlots->length(); ++i)
        slotsBefore.push_back(game::cg().tweenSlots->data()[i]);
    struct Case {
        jint script, scale, width, height;
    } cases[] = {{0, 150, 48, 48}, {1, 200, 64, 64}, {2, 100, 32, 32}};
    for (const Case& c : cases) {
        w::startScript(c.script);
        w::runLevelScripts();
        EXPECT_EQ(mover->scale, c.scale);
        EXPECT_EQ(cActor::getWidth(mover), c.width) << c.scale;
        EXPECT_EQ(cActor::getHeight(mover), c.height) << c.scale;
    }
    std::vector<jint> slotsAfter;
    for (jint i = 0; game::cg().tweenSlots && i < game::cg().tweenSlots->length(); ++i)
        slotsAfter.push_back(game::cg().tweenSlots->data()[i]);
    EXPECT_EQ(slotsAfter, slotsBefore) << "no tween while skipping";
}

// Scripts against the game's own flow seam (the hero's state machine, the
// side panel, the camera), as the assembled game runs them.
class ScriptInGameTest : public WorldTest {
protected:
    cActor* load(const std::string& scripts, jint heroX = 300) {
        loadLevel(std::string(kRoom) + scripts);
        cActor* h = makeHero(heroX, 19 * 36);
        game::hero::setHeroState(h, game::HeroState::STAND);
        return h;
    }
    // A level whose script 1 runs the operations `ops` at key 0 and lasts to
    // key 5; with a second script, an empty script 2 follows.
    cActor* loadOps(const std::string& ops, bool secondScript = false) {
        return load("script 1\n target none\n  key 0\n   " + ops + "\n  key 5\n" +
                    (secondScript ? "script 2\n target none\n  key 0\n" : ""));
    }
};

// Event 1 with three arguments: the hero cruises after the landing (state
// 17 with speed 2048) and the view scrolls on by 8 px a step.
TEST_F(ScriptInGameTest, EventOneOfThreeArgumentsCruises) {
    cActor* h = load("script 1\n target none\n  key 0\n   op 39 1 0 0\n");
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::ca().landingMode, 1);
    EXPECT_EQ(game::ca().heroState, 17);
    EXPECT_EQ(game::ca().heroStateVars->data()[0], 2048);
    EXPECT_EQ(game::cg().scrollStepX, 8);
    EXPECT_EQ(game::cg().scrollStepY, 0);
    EXPECT_EQ(game::cg().cameraFlags, 74);
    EXPECT_TRUE(h->flags & 0x200);
}

// In the first level, command 115 with text 0x20001 opens no dialog: the
// side panel that an event sent out is shown out at once, not slid.
TEST_F(ScriptInGameTest, FirstLevelTextShowsThePanelAtOnce) {
    load("script 1\n target none\n  key 0\n   op 38 0 0\n   op 115 0 131073 0 0\n");
    game::cg().firstLevelMode = 1;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().panelOffset, 240);
    EXPECT_EQ(game::cg().panelPosition, 240);
    EXPECT_FALSE(game::isPanelSliding());
    EXPECT_FALSE(game::isDialogActive());
}

// A scene that locked the camera ends with the camera back on the hero at
// once, however far the hero is.
TEST_F(ScriptInGameTest, SceneEndSnapsTheCameraBackToTheHero) {
    cActor* h = load("script 1\n target camera\n  key 0\n   op 117 30000 30000\n", 1500);
    game::cg().cameraX = 400;
    game::cg().cameraY = 400;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_LT(game::cg().scriptStates->data()[0], 0) << "the scene did not end";
    EXPECT_EQ(game::cg().cameraLocked, 0);
    EXPECT_LE(std::abs(game::cg().cameraX - h->posX), 60) << "camera at " << game::cg().cameraX;
}

// Event 10 stops the hero for the scene: the runner waits in mode 6 until
// the hero stands, and the hero takes input again once the scene ends (the
// input block is the one the scene's end clears).
TEST_F(ScriptInGameTest, StoppingTheHeroHoldsTheRunnerAndTheSceneEndFreesTheInput) {
    cActor* h = load("script 1\n target none\n  key 0\n   op 37 10\n  key 3\n");
    ASSERT_TRUE(game::isHeroInputFree());
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().scriptBlocked, 1);
    EXPECT_EQ(game::cg().scriptWaitMode, 6);
    EXPECT_FALSE(game::isHeroInputFree()) << "input taken during the scene";
    EXPECT_EQ(game::ca().heroState, 0);
    EXPECT_EQ(h->motion ? h->motion->data()[2] : 0, 0);
    w::runLevelScripts();  // the hero stands: the wait ends
    EXPECT_EQ(game::cg().scriptBlocked, 0);
    for (int i = 0; i < 10 && game::cg().scriptStates->data()[0] >= 0; ++i) w::runLevelScripts();
    EXPECT_LT(game::cg().scriptStates->data()[0], 0) << "the scene did not end";
    EXPECT_EQ(game::cg().inputBlock & 1, 0);
    EXPECT_TRUE(game::isHeroInputFree()) << "the hero never takes input again";
}

// Command 129 starts a show that a following wait for its end holds on:
// the runner stays blocked while rockets and sparks live (the in-game paint
// advances the show once a frame) and goes on once the last one dies.
TEST_F(ScriptInGameTest, TheFireworksWaitHoldsUntilTheShowEnds) {
    load("script 1\n target none\n  key 0\n   op 129\n   op 116 5 0\n  key 1\n");
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().fireworksOn, 1);
    EXPECT_EQ(game::cg().fireworksAlive, 5) << "no rockets to wait on";
    EXPECT_EQ(game::cg().scriptWaitMode, 5);
    int frames = 0;
    while (frames < 3000 && game::cg().scriptWaitMode == 5) {
        if (game::cg().fireworksOn) game::spawnFireworks();  // the paint's step
        w::runLevelScripts();
        ++frames;
        if (game::cg().scriptWaitMode == 5) {
            EXPECT_GT(game::cg().fireworksAlive, 0);
        }
    }
    EXPECT_GT(frames, 30) << "the wait ended before the show";
    EXPECT_NE(game::cg().scriptWaitMode, 5) << "the wait never ended";
    EXPECT_EQ(game::cg().fireworksOn, 0);
    EXPECT_EQ(game::cg().fireworkCount, 0);
    EXPECT_EQ(game::cg().fireworks, nullptr);
}

// Command 103 starts the level timer; with its hold set the timer runs out
// and the hero lives, without it the hero dies on the step it passes 0.
TEST_F(ScriptInGameTest, AHeldLevelTimerSparesTheHero) {
    for (jint hold : {1, 0}) {
        load("script 1\n target none\n  key 0\n   op 103 " + std::to_string(hold) + " 1\n");
        game::setVariable(9, 6, false);
        game::setVariable(3, 6, false);
        ASSERT_GT(game::getVariable(3), 0);
        w::startScript(0);
        for (int i = 0; i < 10 && game::cg().scriptStates->data()[0] >= 0; ++i) w::runLevelScripts();
        ASSERT_EQ(game::cg().levelTimer, 16) << "hold " << hold;
        for (int i = 0; i < 16; ++i) game::stepLevelTimer();
        EXPECT_GT(game::getVariable(3), 0) << "died before the time ran out, hold " << hold;
        game::stepLevelTimer();  // the step that passes 0
        EXPECT_EQ(game::cg().levelTimer, -1);
        EXPECT_EQ(game::getVariable(3) > 0, hold != 0) << "hold " << hold;
    }
}

// Command 130 sets the one run speed factor that the hero's run and the
// level-7 camera both read: 460 while on, 256 again when off.
TEST_F(ScriptInGameTest, TheSpeedCommandSpeedsTheCameraByTheHerosFactor) {
    cActor* h = load("script 1\n target none\n  key 0\n   op 130 1\nscript 2\n target none\n  key 0\n   op 130 0\n", 1000);
    game::cg().stage = 7;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::ca().runSpeedFactor, 460);
    game::cg().cameraX = h->posX;
    jint x0 = game::cg().cameraX;
    w::updateCamera(1);
    EXPECT_EQ(game::cg().cameraX - x0, (2880 * 460) >> 16);
    w::startScript(1);
    w::runLevelScripts();
    EXPECT_EQ(game::ca().runSpeedFactor, 256);
    x0 = game::cg().cameraX;
    w::updateCamera(1);
    EXPECT_EQ(game::cg().cameraX - x0, (2880 * 256) >> 16);
}

// Command 122 asks the next paint for its white fill (the flag the screen
// clears once it has painted); command 123 keeps the two scripts of the
// ring and enters state 37, which starts one of them.
TEST_F(ScriptInGameTest, FlashAndRingCommandsSetWhatThePaintAndTheRingRead) {
    load("script 1\n target none\n  key 0\n   op 122\n   op 123 7 8\n");
    game::cg().clearPending = 0;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().clearPending, 1);
    EXPECT_EQ(game::ca().ringScriptLow, 7);
    EXPECT_EQ(game::ca().ringScriptHigh, 8);
    EXPECT_EQ(game::ca().heroState, 37);
}

// One row per global command: the first frame of a scene run by the game's
// runner in a kit-made level, then the state the command changes while the
// scene still runs.
TEST_F(ScriptInGameTest, GlobalCommandsChangeWhatTheyName) {
    struct Row {
        const char* ops;  // the keyframe's operations
        std::function<bool(cActor* hero)> check;
    };
    const Row rows[] = {
        // The hero's timer: 2 s in frames, held by mode 1.
        {"op 103 1 2", [](cActor*) { return game::cg().levelTimer == 32 && game::cg().levelTimerHold == 1; }},
        // The queued scene is the index of the script with that id.
        {"op 107 2", [](cActor*) { return game::cg().queuedScript == 1; }},
        {"op 109", [](cActor*) { return game::cg().scriptMusic == -1; }},
        {"op 110 12", [](cActor*) { return game::ca().heroState == 12; }},
        // Mode 3 for 1000 ms: sixteen frames of waiting.
        {"op 116 3 1000",
         [](cActor*) {
             return game::cg().scriptBlocked == 1 && game::cg().scriptWaitMode == 3 &&
                    game::cg().scriptWaitTicks == 16;
         }},
        // 30000 leaves a look-ahead as it was.
        {"op 117 30000 50",
         [](cActor*) { return game::cg().lookAheadForcedX == 777 && game::cg().lookAheadForcedY == 50; }},
        {"op 118 1", [](cActor*) { return (game::cg().inputBlock & 2) != 0; }},
        // Mode 2 also waits for the camera to rest.
        {"op 118 2",
         [](cActor*) {
             return (game::cg().inputBlock & 2) && game::cg().scriptBlocked == 1 && game::cg().scriptWaitMode == 2;
         }},
        // No rectangle with that id: the camera may see the whole map.
        {"op 111 99",
         [](cActor*) {
             return w::cameraLimit(0) == 0 && w::cameraLimit(1) == 0 &&
                    w::cameraLimit(2) == game::cg().mapPixelWidth && w::cameraLimit(3) == game::cg().mapPixelHeight;
         }},
        {"op 116 0 0",
         [](cActor*) { return game::cg().scriptBlocked == 1 && game::cg().scriptWaitMode == 0; }},
        // Dialogs: the text asked for and 500 ms as 8 frames (the level has
        // no texts, so no dialog is shown).
        {"op 102 1 65537 500",
         [](cActor*) { return game::cg().dialogTextId == 65537 && game::cg().dialogHold == 8; }},
        {"op 115 0 65538 1000 1",
         [](cActor*) { return game::cg().dialogTextId == 65538 && game::cg().dialogHold == 16; }},
        {"op 121 42", [](cActor*) { return game::cg().markedActorId == 42; }},
        // 114 does nothing, and the operation after its six bytes still runs.
        {"op 114 1 2 3\n   op 121 43", [](cActor*) { return game::cg().markedActorId == 43; }},
        {"op 122", [](cActor*) { return game::cg().clearPending == 1; }},
        {"op 123 7 8",
         [](cActor*) {
             return game::ca().ringScriptLow == 7 && game::ca().ringScriptHigh == 8 && game::ca().heroState == 37;
         }},
        {"op 125",
         [](cActor* h) { return game::cg().checkpointActor == h && game::cg().checkpointTimer == 64; }},
        {"op 126 20", [](cActor*) { return game::cg().shakeTimer == 20; }},
        {"op 127 5", [](cActor*) { return game::ca().heroState == 38; }},
        {"op 128", [](cActor*) { return game::cg().tileCacheDirty == 1; }},
        {"op 129", [](cActor*) { return game::cg().fireworksOn && game::cg().fireworksAlive > 0; }},
        {"op 130 1", [](cActor*) { return game::ca().runSpeedFactor == 460; }},
        {"op 130 0", [](cActor*) { return game::ca().runSpeedFactor == 256; }},
        {"op 131", [](cActor*) { return game::ca().heroState == 40; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ops);
        cActor* h = loadOps(r.ops, true);
        game::cg().scriptMusic = 5;
        game::cg().lookAheadForcedX = 777;
        game::cg().clearPending = 0;
        game::cg().fireworkPhase = 3;
        w::startScript(0);
        w::runLevelScripts();
        EXPECT_TRUE(r.check(h));
    }
}

// Commands 108 and 124 ask the sound front end for sounds: the play
// requests a frame of the scene leaves on a channel's ring, and the sound
// the channel plays once the run loop services the rings (the media
// manager's player for the loaded bytes). 124 hurts with sound 29 (its
// own and the damage routine's) and sounds 29 once more unless the scene
// is skipped; a skipped 108 asks for nothing.
TEST_F(ScriptInGameTest, SoundCommandsAskForTheirSounds) {
    struct Row {
        const char* ops;
        bool skipping, invulnerable;
        jint channel;   // 0 music (ids 0-9), 1 effects
        jint requests;  // play requests on the channel's ring after the frame
        jint plays;     // the channel's sound once serviced, -1 none
        bool hurt;
    };
    const Row rows[] = {
        {"op 108 12", false, false, 1, 1, 12, false},
        {"op 108 3", false, false, 0, 1, 3, false},
        {"op 108 12", true, false, 1, 0, -1, false},
        {"op 124 0", false, false, 1, 1, 29, false},
        {"op 124 2", false, false, 1, 3, 29, true},
        {"op 124 2", true, false, 1, 2, 29, true},
        {"op 124 2", false, true, 1, 1, 29, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.ops) + (r.skipping ? ", skipping" : "") + (r.invulnerable ? ", invulnerable" : ""));
        cActor* h = loadOps(r.ops);
        game::KTLibPlayer::allocateChannelTables(game::kSoundIds);
        for (jint id : {3, 12, 29}) {
            // Bytes of no known format: the manager's silent player.
            ByteArray* data = newByteArray(4);
            data->data()[0] = static_cast<jbyte>(id);
            game::KTLibPlayer::loadSound(data, 0, id, false);
        }
        game::cg().soundOn = 1;
        game::setVariable(3, 10, true);
        h->timer = r.invulnerable ? 20 : 0;
        game::cg().skipCutscene = r.skipping;
        w::startScript(0);
        w::runLevelScripts();
        EXPECT_EQ(game::ktl().requestCount->data()[r.channel], r.requests);
        EXPECT_EQ(game::ktl().requestCount->data()[1 - r.channel], 0);
        game::KTLibPlayer::update();
        EXPECT_EQ(game::KTLibPlayer::getChannelSound(r.channel), r.plays);
        EXPECT_EQ(game::KTLibPlayer::isChannelActive(r.channel), r.plays >= 0);
        EXPECT_EQ(game::getVariable(3) < 10, r.hurt);
        if (r.hurt) {
            EXPECT_GT(h->timer, 0) << "the hurt hero is not kept from the next hurt";
        }
    }
    game::cg().skipCutscene = 0;
}

// Command 128 turns the first level sprite (the map layer's tiles) to its
// palette 2 and has the tile cache redrawn: the next paint of the play
// view shows the map in palette 2's colour where palette 0's stood.
TEST_F(ScriptInGameTest, ThePaletteCommandRepaintsTheMapInPaletteTwo) {
    std::string layer = "layer 0 60 20\n";
    for (int row = 0; row < 20; ++row) {
        for (int c = 0; c < 60; ++c) layer += c ? " 0" : "0";
        layer += "\n";
    }
    load(layer + "script 1\n target none\n  key 0\n   op 128\n  key 5\n");
    // One 36 x 36 tile of colour index 0 in three palettes: red, green, blue.
    kit::SpriteModel model;
    kit::SpriteImages images;
    images.pixelFormat = kit::kPixels4;
    images.palettes = {{0xFFFF0000}, {0xFF00FF00}, {0xFF0000FF}};
    model.images = images;
    model.modules.push_back(kit::SpriteModule::image(36, 36, std::vector<uint8_t>(36 * 36, 0)));
    kit::SpriteFrame frame;
    frame.modules = {{0, 0, 0, 0, 0}};
    model.frames = {frame};
    BSprite* tiles = spritetest::loadSprite(model);
    ASSERT_NE(tiles, nullptr);
    ASSERT_EQ(tiles->paletteCount, 3);
    ObjectArray::set(game::cg().levelSprites, 0, tiles);
    spritetest::Screen screen;
    game::cg().graphics = screen.g;
    auto share = [&](uint16_t colour) {
        const std::vector<uint16_t> px = screen.pixels();
        size_t n = 0;
        for (uint16_t p : px) n += p == colour;
        return static_cast<double>(n) / static_cast<double>(px.size());
    };
    constexpr uint16_t kRed = 0xF800, kBlue = 0x001F;
    game::paintPlay();
    EXPECT_GT(share(kRed), 0.5) << "the map is not painted in palette 0";
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(tiles->currentPalette, 2);
    EXPECT_EQ(game::cg().tileCacheDirty, 1);
    screen.clear(0);
    game::paintPlay();
    EXPECT_GT(share(kBlue), 0.5) << "the map is not painted in palette 2";
    EXPECT_EQ(share(kRed), 0.0) << "cells of the old palette stay in the cache";
    game::cg().graphics = nullptr;
}

// Command 130 on a stage the game loads from the demo data (the loading
// table over the demo archive): the speed-up effect actor stands at the
// view's centre with the sprite (50, 20) that every level load brings,
// lives through a step of play, and 130 with 0 takes it away again.
TEST(ScriptOnADemoStage, TheSpeedCommandShowsItsEffectActor) {
    LogCapture log;
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:7";
    o.seed = 3;
    std::string error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    const kit::LevelModel m =
        kit::parseLevelDescription("script 1\n target none\n  key 0\n   op 130 1\n"
                                   "script 2\n target none\n  key 0\n   op 130 0\n");
    w::loadLevelRecords(javaBytes(kit::encodeLevelScripts(*m.scripts)));
    ASSERT_EQ(w::scriptCount(), 2);
    BSprite* sprite = game::getSpriteById(50, 20);
    ASSERT_NE(sprite, nullptr) << "the demo data lacks the speed-up sprite";
    w::startScript(0);
    w::runLevelScripts();
    cActor* effect = game::magician().attachedEffect;
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(game::ca().runSpeedFactor, 460);
    EXPECT_EQ(effect->sprite, sprite);
    EXPECT_EQ(effect->anim, 0);
    EXPECT_EQ(effect->layer, 2);
    EXPECT_EQ(effect->paintFlags, 8192);
    EXPECT_EQ(effect->posX, game::cg().cameraX);
    EXPECT_EQ(effect->posY, game::cg().cameraY);
    EXPECT_TRUE(game::isPooledEffect(effect));
    EXPECT_EQ(effect->flags & 0x40, 0) << "the effect is not active";
    drv.step();
    EXPECT_EQ(effect->flags & 0x40, 0) << "the effect did not last a step";
    EXPECT_EQ(game::magician().attachedEffect, effect);
    w::startScript(1);
    w::runLevelScripts();
    EXPECT_EQ(game::ca().runSpeedFactor, 256);
    EXPECT_EQ(game::magician().attachedEffect, nullptr);
    EXPECT_NE(effect->flags & 0x40, 0) << "the effect stays";
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
    EXPECT_FALSE(log.contains("no index entry")) << "the game asked for a sprite the demo lacks";
}

// The speed command's effect ends itself when its animation is done: the
// game forgets it then, so a later effect that takes its pool slot is not
// ended by the command's "off" (nor carried along by the running hero).
TEST(ScriptOnADemoStage, TheSpeedCommandForgetsAnEffectThatEnded) {
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:7";
    o.seed = 3;
    std::string error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    const kit::LevelModel m =
        kit::parseLevelDescription("script 1\n target none\n  key 0\n   op 130 1\n"
                                   "script 2\n target none\n  key 0\n   op 130 0\n");
    w::loadLevelRecords(javaBytes(kit::encodeLevelScripts(*m.scripts)));
    w::startScript(0);
    w::runLevelScripts();
    cActor* effect = game::magician().attachedEffect;
    ASSERT_NE(effect, nullptr);
    for (int i = 0; i < 200 && !(effect->flags & 0x40); ++i) drv.step();
    ASSERT_NE(effect->flags & 0x40, 0) << "the effect never ended";
    EXPECT_EQ(game::magician().attachedEffect, nullptr) << "an ended effect is still kept";
    // A step on the slot is free; later effects fill the pool until one
    // takes it, and that one outlives the command's "off".
    drv.step();
    cActor* other = nullptr;
    for (jint i = 0; i <= game::ca().effectCount && other != effect; ++i)
        other = cActor::spawnEffect(game::getSpriteById(50, 20), 0, 100, 100, 2, 0);
    ASSERT_EQ(other, effect) << "no later effect took the freed slot";
    w::startScript(1);
    w::runLevelScripts();
    EXPECT_EQ(game::ca().runSpeedFactor, 256);
    EXPECT_EQ(other->flags & 0x40, 0) << "the command ended a later effect";
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
}

// The commands that name an actor or hurt the hero, one row each, on a
// level with actor 7 in it.
TEST_F(ScriptInGameTest, ActorCommandsChangeTheActorTheyName) {
    struct Row {
        const char* ops;
        std::function<bool(cActor* actor)> check;
        bool marked = true;  // the actor starts with flag 0x20000
        jint startFlags = 0;  // and with these
    };
    const Row rows[] = {
        {"op 105 7", [](cActor* a) { return (a->flags & 0x20000) != 0; }, false},
        // Flag 16 goes out as 0x80010.
        {"op 101 7 16", [](cActor* a) { return (a->flags & 0x80010) == 0x80010; }},
        {"op 101 7 4", [](cActor* a) { return (a->flags & 4) && !(a->flags & 0x80000); }},
        {"op 104 7 16", [](cActor* a) { return (a->flags & 0x80010) == 0 && (a->flags & 4); }, true, 0x80014},
        {"op 104 7 4", [](cActor* a) { return (a->flags & 0x80014) == 0x80010; }, true, 0x80014},
        {"op 106 7", [](cActor* a) { return (a->flags & 0x20000) == 0 && a->aiState == 2; }},
        {"op 113 7 1", [](cActor* a) { return a->aiState == 9 && (a->flags & 0x20000) && a->anim == 2; }},
        {"op 113 7 0", [](cActor* a) { return a->aiState == 9 && a->anim == 1; }},
        // No actor 99: nothing changes.
        {"op 106 99", [](cActor* a) { return (a->flags & 0x20000) != 0 && a->aiState != 2; }},
        {"op 124 2", [](cActor*) { return game::getVariable(3) < 10; }},
        {"op 124 0", [](cActor*) { return game::getVariable(3) == 10; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ops);
        loadOps(r.ops);
        cActor* actor = spawnRecord(kit::levelActorRecord(6, 7, 100, 300, 0, 0xA0, {10, 10}));
        if (r.marked) actor->flags |= 0x20000;
        else actor->flags &= ~0x20000;
        actor->flags |= r.startFlags;
        actor->aiState = 0;
        game::setVariable(3, 10, true);
        w::startScript(0);
        w::runLevelScripts();
        EXPECT_TRUE(r.check(actor));
    }
}

// Command 122 through the game's own play paint: the next paint leaves the
// screen white, the one after it does not.
TEST_F(ScriptInGameTest, TheFlashPaintsOneFrameWhite) {
    load("script 1\n target none\n  key 0\n   op 122\n  key 5\n");
    spritetest::Screen screen;
    game::cg().graphics = screen.g;
    game::cg().clearPending = 0;
    w::startScript(0);
    w::runLevelScripts();
    auto whiteShare = [&] {
        const std::vector<uint16_t> px = screen.pixels();
        size_t white = 0;
        for (uint16_t p : px) white += p == 0xFFFF;
        return static_cast<double>(white) / static_cast<double>(px.size());
    };
    screen.clear(0);
    game::paintPlay();
    EXPECT_GT(whiteShare(), 0.5) << "no white frame";
    EXPECT_EQ(game::cg().clearPending, 0);
    screen.clear(0);
    game::paintPlay();
    EXPECT_LT(whiteShare(), 0.5) << "the white frame stays";
    game::cg().graphics = nullptr;
}

// Command 125 shows the checkpoint caption for 64 paints of the play screen.
TEST_F(ScriptInGameTest, TheCheckpointCaptionLastsSixtyFourPaints) {
    load("script 1\n target none\n  key 0\n   op 125\n  key 5\n");
    spritetest::Screen screen;
    game::cg().graphics = screen.g;
    w::startScript(0);
    w::runLevelScripts();
    ASSERT_EQ(game::cg().checkpointTimer, 64);
    game::cg().captionText = nullptr;
    game::paintPlay();
    EXPECT_NE(game::cg().captionText, nullptr) << "no caption painted";
    for (int i = 0; i < 62; ++i) game::paintPlay();
    EXPECT_EQ(game::cg().checkpointTimer, 1);
    game::paintPlay();
    EXPECT_EQ(game::cg().checkpointTimer, 0);
    game::paintPlay();
    EXPECT_EQ(game::cg().checkpointTimer, 0);
    game::cg().graphics = nullptr;
}

// Command 130 on the auto-run level: the hero's run and the camera's
// scroll take the one speed factor, so both go at one speed, fast or not.
TEST_F(ScriptInGameTest, TheSpeedCommandKeepsHeroAndCameraAtOneSpeed) {
    for (jint on : {1, 0}) {
        SCOPED_TRACE(on);
        cActor* h = load("script 1\n target none\n  key 0\n   op 130 " + std::to_string(on) + "\n", 1000);
        game::cg().stage = 7;
        w::startScript(0);
        for (int i = 0; i < 5 && w::isAnyScriptActive(); ++i) w::runLevelScripts();
        ASSERT_FALSE(w::isAnyScriptActive());
        EXPECT_EQ(game::ca().runSpeedFactor, on ? 460 : 256);
        game::hero::setHeroState(h, 40);
        game::cg().cameraX = h->posX;
        const jint x0 = game::cg().cameraX;
        w::updateCamera(1);
        const jint cameraStep = game::cg().cameraX - x0;
        EXPECT_EQ(cameraStep, on ? 20 : 11);
        ASSERT_NE(h->motion, nullptr);
        EXPECT_EQ(h->motion->data()[2] >> 8, cameraStep) << "hero vx " << h->motion->data()[2];
    }
}

// Event 4 makes the scene skippable; the skip key then runs the rest of it
// in one step of the game, waits and all, and its last keyframe applies.
TEST_F(ScriptInGameTest, ASkippableSceneIsSkippedInOneStep) {
    load("script 1\n target none\n  key 0\n   op 37 4\n  key 1\n   op 116 3 1000\n  key 40\n   op 110 12\n");
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().cutsceneSkippable, 1);
    w::runLevelScripts();
    ASSERT_EQ(game::cg().scriptBlocked, 1) << "the scene waits";
    game::cg().keysPressed = 0x20000;
    EXPECT_FALSE(game::stepSkipAndPause());
    game::cg().keysPressed = 0;
    ASSERT_TRUE(game::cg().skipCutscene);
    game::fastForwardScripts();
    EXPECT_FALSE(w::isAnyScriptActive()) << "the scene still runs";
    EXPECT_EQ(game::ca().heroState, 12) << "the last keyframe did not apply";
    EXPECT_FALSE(game::cg().skipCutscene);
}

// The game-level events as scripts send them (operations 37, 38 and 39 for
// one, two and three arguments), one row each with what it changes (event
// 10 and event 1 of three arguments have cases of their own above).
TEST_F(ScriptInGameTest, GameEventsChangeWhatTheyName) {
    struct Row {
        const char* ops;
        std::function<void()> before;
        std::function<bool(cActor* hero)> check;
    };
    auto nothing = [] {};
    const Row rows[] = {
        // The level ends: the state after this stage (the level end, 21) is
        // asked for.
        {"op 37 0", nothing,
         [](cActor*) {
             return game::cg().levelFinished == 1 && game::cg().statePending && game::cg().pendingOp == game::kOpSet &&
                    game::cg().pendingState == 21;
         }},
        {"op 37 1", nothing, [](cActor*) { return game::cg().panelOffset == 50; }},
        {"op 37 2", [] { game::cg().cutsceneSkippable = 1, game::cg().panelOffset = 50; },
         [](cActor*) { return game::cg().cutsceneSkippable == 0 && game::cg().panelOffset == 0; }},
        // The camera's transition reset; the scene keeps its camera.
        {"op 37 3",
         [] {
             game::cg().scrollStepX = 4, game::cg().cameraFlags = 74;
             game::cg().hero->flags |= 0x200;
         },
         [](cActor* h) {
             return game::cg().cameraFlags == 9 && game::cg().scrollDelay == -1 && game::cg().scrollStepX == 0 &&
                    !(h->flags & 0x200) && game::cg().scriptKeepsCamera == 1;
         }},
        {"op 37 4", nothing, [](cActor*) { return game::cg().cutsceneSkippable == 1; }},
        {"op 37 5", [] { game::cg().cutsceneSkippable = 1; },
         [](cActor*) { return game::cg().cutsceneSkippable == 0; }},
        {"op 37 6", [] { game::ca().heroInputLock = 0; },
         [](cActor*) { return game::ca().heroInputLock == 0x7FFFFFFF; }},
        {"op 37 7", [] { game::ca().heroInputLock = -1; },
         [](cActor*) { return game::ca().heroInputLock == static_cast<jint>(0x80000000u); }},
        // The hero back to standing: no cruise after the landing, the
        // forced scroll off and the hero's clamp bit cleared.
        {"op 37 8",
         [] {
             game::hero::setHeroState(game::cg().hero, 12);
             game::ca().landingMode = 1;
             game::cg().scrollStepX = 4, game::cg().cameraFlags = 74;
             game::cg().hero->flags |= 0x200;
         },
         [](cActor* h) {
             return game::ca().heroState == 0 && game::ca().landingMode == 0 && game::cg().scrollStepX == 0 &&
                    game::cg().cameraFlags == 9 && !(h->flags & 0x200) && (game::ca().worldFlags & 32);
         }},
        // The camera snaps to the hero (x 300: the view's left limit) and
        // stays locked as it was.
        {"op 37 9", [] { game::cg().cameraX = 1500, game::cg().cameraLocked = 1; },
         [](cActor*) { return game::cg().cameraX == 400 && game::cg().cameraLocked == 1; }},
        {"op 37 11", nothing,
         [](cActor*) {
             return game::cg().statePending && game::cg().pendingOp == game::kOpSet && game::cg().pendingState == 30;
         }},
        {"op 37 12", nothing, [](cActor*) { return game::cg().scriptFlagA == 1; }},
        {"op 37 13", [] { game::cg().scriptFlagA = 1; },
         [](cActor* h) {
             // The hero of that subtype keeps its state; any other enters 32.
             return game::cg().scriptFlagA == 0 &&
                    (game::isHeroSubtype(h) ? game::ca().heroState != 32 : game::ca().heroState == 32);
         }},
        {"op 37 14", nothing, [](cActor*) { return game::cg().scriptFlagB == 1; }},
        {"op 37 15", [] { game::cg().scriptFlagB = 1; }, [](cActor*) { return game::cg().scriptFlagB == 0; }},
        {"op 38 0 0", nothing, [](cActor*) { return game::cg().panelOffset == 240; }},
        // The open dialog closes and the panel goes.
        {"op 38 1 0",
         [] {
             game::cg().dialogText = String::fromUtf8("x");
             game::cg().dialogMode = 2, game::cg().panelOffset = 50;
         },
         [](cActor*) {
             return !game::isDialogActive() && game::cg().dialogMode == -1 && game::cg().panelOffset == 0;
         }},
        {"op 38 2 5", nothing, [](cActor*) { return game::cg().levelVariant == 5; }},
        // Variant 11 is out of range: the variant stays.
        {"op 38 2 11", [] { game::cg().levelVariant = 3; }, [](cActor*) { return game::cg().levelVariant == 3; }},
        {"op 38 3 4", nothing,
         [](cActor*) { return game::cg().riseScrollStep == 4 && game::cg().riseScroll == 1; }},
        {"op 38 4 0", [] { game::cg().riseScroll = 1; }, [](cActor*) { return game::cg().riseScroll == 0; }},
        {"op 39 0 3 2", nothing,
         [](cActor* h) {
             return game::cg().scrollDelay == -1 && game::cg().scrollStepX == 3 && game::cg().scrollStepY == 2 &&
                    game::cg().cameraFlags == 74 && (h->flags & 0x200);
         }},
        {"op 39 2 2 0", nothing, [](cActor*) { return game::cg().currentScriptId == 1; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ops);
        cActor* h = loadOps(r.ops, true);
        r.before();
        w::startScript(0);
        w::runLevelScripts();
        EXPECT_TRUE(r.check(h));
    }
}

// The commands that name a level rectangle, on a level whose rectangle 5
// covers the two leftmost cells of the floor.
TEST_F(ScriptInGameTest, RectangleCommandsActOnTheirRectangle) {
    struct Row {
        const char* ops;
        std::function<bool()> check;
    };
    const Row rows[] = {
        {"op 100 5 4",
         [] {
             return w::collisionCell(0, 19) != 6 && w::collisionCell(1, 19) != 6 && w::collisionCell(2, 19) == 6;
         }},
        // No rectangle 9: the map stays whole.
        {"op 100 9 4", [] { return w::collisionCell(0, 19) == 6 && w::collisionCell(1, 19) == 6; }},
        {"op 111 5",
         [] {
             return w::cameraLimit(0) == 0 && w::cameraLimit(1) == 684 && w::cameraLimit(2) == 72 &&
                    w::cameraLimit(3) == 720;
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ops);
        loadOps(r.ops);
        ASSERT_EQ(game::addLevelRect(0, 684, 72, 36, 5), 0);
        ASSERT_EQ(w::collisionCell(0, 19), 6);
        w::startScript(0);
        w::runLevelScripts();
        EXPECT_TRUE(r.check());
    }
}

// Command 120 outside a skip: the scale grows by the game's tween step and
// ends on the asked scale with the box sized by it.
TEST_F(ScriptInGameTest, TheScaleCommandTweensToItsScale) {
    load("script 1\n target none\n  key 0\n   op 120 7 200 8\n  key 5\n");
    cActor* actor = spawnRecord(kit::levelActorRecord(6, 7, 100, 300, 0, 0xA0, {10, 10}));
    ASSERT_EQ(cActor::getWidth(actor), 32);
    // The tween slots are free, as the level start leaves them.
    IntArray* slots = game::cg().tweenSlots;
    ASSERT_NE(slots, nullptr);
    for (jint i = 0; i < slots->length(); ++i) slots->data()[i] = -1;
    w::startScript(0);
    w::runLevelScripts();
    game::updateTweens();
    EXPECT_LT(actor->scale, 200) << "the scale jumped";
    for (int i = 0; i < 200 && actor->scale != 200; ++i) game::updateTweens();
    EXPECT_EQ(actor->scale, 200);
    EXPECT_EQ(cActor::getWidth(actor), 64);
    EXPECT_EQ(cActor::getHeight(actor), 64);
}

// Command 112 sets the state of the map regions its rectangle meets, and
// only those.
TEST_F(ScriptInGameTest, TheRegionCommandSetsTheRegionsItsRectangleMeets) {
    loadLevel(std::string(kRoom) + "regions\nregion 1 1 2 2 1 1\n  1\nregion 40 1 2 2 1 1\n  1\n" +
              "script 1\n target none\n  key 0\n   op 112 5 3\n  key 5\n");
    makeHero(300, 19 * 36);
    ASSERT_EQ(game::addLevelRect(0, 0, 100, 100, 5), 0);
    ASSERT_NE(game::cg().regionStates, nullptr);
    ASSERT_EQ(game::cg().regionStates->length(), 2);
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().regionStates->data()[0], 3);
    EXPECT_EQ(game::cg().regionStates->data()[1], 0) << "a region far from the rectangle changed";
}

// Command 103: the hero's timer runs out in the game's own timer step; a
// held timer (mode 1) spares the hero, mode 0 kills.
TEST_F(ScriptInGameTest, HeldTimerSparesTheHero) {
    for (jint mode : {1, 0}) {
        SCOPED_TRACE(mode);
        load("script 1\n target none\n  key 0\n   op 103 " + std::to_string(mode) + " 1\n");
        game::setVariable(3, 3, true);
        w::startScript(0);
        w::runLevelScripts();
        ASSERT_EQ(game::cg().levelTimer, 16);
        for (int i = 0; i < 16; ++i) game::stepLevelTimer();
        EXPECT_EQ(game::getVariable(3), 3) << "the hero died before the time ran out";
        game::stepLevelTimer();
        EXPECT_EQ(game::cg().levelTimer, -1);
        EXPECT_EQ(game::getVariable(3) > 0, mode == 1);
    }
}

// Command 123 puts the hero in the ring of state 37; the action key there
// starts the first script while the ring is small, the second once it has
// grown.
TEST_F(ScriptInGameTest, TheRingStartsOneOfItsTwoScripts) {
    struct Case {
        jint radius, started, notStarted;
    } cases[] = {{1000, 1, 2}, {9000, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radius);
        cActor* h = load("script 1\n target none\n  key 0\n   op 123 7 8\n"
                         "script 7\n target none\n  key 0\n  key 9\n"
                         "script 8\n target none\n  key 0\n  key 9\n");
        w::startScript(0);
        w::runLevelScripts();
        ASSERT_EQ(game::ca().heroState, 37);
        const jint scripts[] = {0, w::findScriptById(7), w::findScriptById(8)};
        ASSERT_GE(scripts[1], 0);
        ASSERT_GE(scripts[2], 0);
        EXPECT_LT(game::cg().scriptStates->data()[scripts[1]], 0);
        game::ca().ringRadius = c.radius + 998;
        game::ca().heroActionMask |= 0x100000;
        game::hero::tickHeroState(h);
        EXPECT_GE(game::cg().scriptStates->data()[scripts[c.started]], 0);
        EXPECT_LT(game::cg().scriptStates->data()[scripts[c.notStarted]], 0);
    }
}

TEST_F(ScriptTest, SkippingSilencesOnlyTheNoisyCommands) {
    load("script 1\n target none\n  key 0\n   op 102 1 65537 500\n   op 108 9\n   op 116 3 1000\n"
         "   op 110 12\n   op 125\n   op 117 30000 50\n");
    game::cg().skipCutscene = 1;
    game::cg().lookAheadForcedX = 30001;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::ca().heroState, 12);
    EXPECT_EQ(game::cg().dialogText, nullptr) << "no dialog while skipping";
    EXPECT_EQ(game::cg().scriptBlocked, 0);
    EXPECT_EQ(game::cg().checkpointActor, hero);
    EXPECT_EQ(game::cg().checkpointTimer, 64);
    EXPECT_EQ(game::cg().lookAheadForcedX, 30001);
    EXPECT_EQ(game::cg().lookAheadForcedY, 50);
}

TEST_F(ScriptTest, HeroSwitch) {
    load("script 1\n target none\n  key 0\n   op 119 40 0\nscript 2\n target none\n  key 0\n   op 119 99 1\n");
    cActor* other = spawnRecord(kit::levelActorRecord(0, 40, 900, 300, 0, 0xA0, {-1, -1, -1, -1, -1}));
    ObjectArray* slots = game::characterSlots();
    ObjectArray::set(slots, 1, reinterpret_cast<Object*>(other));
    game::ca().heroState = 6;
    w::startScript(0);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().hero, other);
    EXPECT_EQ(other->posX, 900);  // carry-over 0 keeps its own place
    EXPECT_EQ(game::ca().heroState, 6) << "the new hero takes the state over";
    LogCapture log;
    w::startScript(1);
    w::runLevelScripts();
    EXPECT_EQ(game::cg().hero, other);
    EXPECT_TRUE(log.contains("no character 99"));
}

TEST_F(ScriptTest, RefusedAndMissingTables) {
    struct Case {
        const char* what;
        std::optional<kit::Bytes> bytes;
    } cases[] = {
        {"missing entry", std::nullopt},
        {"count 0", kit::Bytes{0}},
        {"opcode 200", kit::Bytes{1, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 200}},
        {"record past the table", kit::Bytes{1, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        load("");
        LogCapture log;
        w::loadLevelRecords(c.bytes ? javaBytes(*c.bytes) : nullptr);
        EXPECT_EQ(w::scriptCount(), 0) << c.what;
        EXPECT_FALSE(w::isAnyScriptActive()) << c.what;
        w::runLevelScripts();
        EXPECT_EQ(w::findScriptById(1), -1);
    }
}

}  // namespace

namespace {

// Every damaged script table the kit makes: refused with one log line or
// loaded and run for 100 frames without reading outside its records (the
// sanitizer build checks that).
TEST_F(ScriptTest, KitDamagedTablesLoadAndRun) {
    load("object 1 8 500 300 1 0 160 4 4\n");
    size_t refused = 0;
    for (const SeedFile& s : tableSeeds(kit::FileKind::LevelScripts)) {
        SCOPED_TRACE(s.name);
        LogCapture log;
        w::loadLevelRecords(javaBytes(s.bytes));
        const bool wasRefused = log.contains("table refused");
        refused += wasRefused;
        if (s.valid) {
            EXPECT_FALSE(wasRefused);
        }
        for (jint i = 0; i < w::scriptCount(); ++i) w::startScript(i);
        for (int frame = 0; frame < 100; ++frame) {
            w::runLevelScripts();
            w::resumeBlockedScript();
            if (game::cg().scriptBlocked) w::endScriptWait();
        }
        w::endAllLevelScripts();
    }
    EXPECT_GT(refused, 10u);
}

}  // namespace
